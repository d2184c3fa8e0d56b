// COSH of REAL*8 (method: real/hyperbolic.h): (1/E + E)/2 with E = e^|x| by
// the x87 exponential step; no threshold.
#include "entry.h"
#include "real/hyperbolic.h"
#include "real8/real8.h"

long double _morvex_dcosh(double x) { return morvex::real::cosh_of(x); }

MORVEX_BY_REF(long double, _morvex_I_dcosh, _morvex_dcosh, double)
