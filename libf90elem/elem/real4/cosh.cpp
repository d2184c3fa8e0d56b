// COSH of REAL*4 (method: real/hyperbolic.h): (1/E + E)/2 with E = e^|x| by
// the x87 exponential step; no threshold.
#include "entry.h"
#include "real/hyperbolic.h"
#include "real4/real4.h"

long double _morvex_cosh(float x) { return morvex::real::cosh_of(x); }

MORVEX_BY_REF(long double, _morvex_I_cosh, _morvex_cosh, float)
