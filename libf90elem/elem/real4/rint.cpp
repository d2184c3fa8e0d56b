// AINT and ANINT of REAL*4: aint truncates on the bit pattern (|x| < 1
// gives +0.0), anint rounds halves away from zero exactly (-0.3 gives -0.0,
// -0.0 gives +0.0). Both results are REAL*4 values.
#include "entry.h"
#include "real/rounding.h"
#include "real4/real4.h"

using morvex::real::aint_bits;
using morvex::real::round_half_away;

long double _morvex_aint(float x) { return aint_bits(x); }
long double _morvex_anint(float x) { return round_half_away(x); }

MORVEX_BY_REF(long double, _morvex_I_aint, _morvex_aint, float)
MORVEX_BY_REF(long double, _morvex_I_anint, _morvex_anint, float)
