// CEILING of REAL*8, as a real (f90ceil) and as an INTEGER*4 (idceil).
// Zeros and NaN give +0.0 (0); CEILING(-0.5) = -0.0, CEILING(1.5) = 2.0. The
// integer form stores the real result, which is integral: out of range gives
// 0x80000000.
#include "real/rounding.h"
#include "real8/real8.h"

long double _morvex_f90ceil(double x) { return morvex::real::ceil_of(x); }
int32_t _morvex_idceil(double x) {
  return x87::store_int32(morvex::real::ceil_of(x));
}
