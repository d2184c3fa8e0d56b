// FLOOR of REAL*8, as a real (f90floor) and as an INTEGER*4 (idfloor).
// Zeros and NaN give +0.0 (0); FLOOR(-1.5) = -2.0. The integer form stores
// the real result, which is integral: out of range gives 0x80000000.
#include "real/rounding.h"
#include "real8/real8.h"

long double _morvex_f90floor(double x) { return morvex::real::floor_of(x); }
int32_t _morvex_idfloor(double x) {
  return x87::store_int32(morvex::real::floor_of(x));
}
