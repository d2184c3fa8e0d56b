// FLOOR and CEILING of REAL*4, as reals (f90floorf, f90ceilf) and as
// INTEGER*4 (ifloor, iceil). Zeros and NaN give +0.0 (0); FLOOR(-1.5) =
// -2.0, CEILING(-0.5) = -0.0. The integer forms store the real result, which
// is integral, as an integer: out of range gives 0x80000000.
#include "real/rounding.h"
#include "real4/real4.h"

using morvex::real::ceil_of;
using morvex::real::floor_of;

long double _morvex_f90floorf(float x) { return floor_of(x); }
long double _morvex_f90ceilf(float x) { return ceil_of(x); }
int32_t _morvex_ifloor(float x) { return x87::store_int32(floor_of(x)); }
int32_t _morvex_iceil(float x) { return x87::store_int32(ceil_of(x)); }
