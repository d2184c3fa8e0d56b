// AINT and ANINT of REAL*8: dint truncates on the bit pattern (|x| < 1
// gives +0.0), dnint rounds halves away from zero exactly (-0.3 gives -0.0,
// -0.0 gives +0.0). Both results are REAL*8 values.
#include "entry.h"
#include "real/rounding.h"
#include "real8/real8.h"

using morvex::real::aint_bits;
using morvex::real::round_half_away;

long double _morvex_dint(double x) { return aint_bits(x); }
long double _morvex_dnint(double x) { return round_half_away(x); }

MORVEX_BY_REF(long double, _morvex_I_dint, _morvex_dint, double)
MORVEX_BY_REF(long double, _morvex_I_dnint, _morvex_dnint, double)
