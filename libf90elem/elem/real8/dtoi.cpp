// REAL*8 ** INTEGER*4 by square-and-multiply, in the x87 registers at the
// caller's precision (no control-word change).
//
// n = 0 gives 1.0 for every x (zeros and NaN included); a zero base gives
// itself for n > 0 and +Inf for n < 0; otherwise the accumulator multiplies
// in x^(2^k) for each set bit k of |n| (taken unsigned, so n = -2^31 works),
// and n < 0 takes the reciprocal at the end. The extended result is handed
// back as it is: beyond the REAL*8 range it becomes an infinity or zero when
// the caller stores it.
#include <cstdint>

#include "constants.h"
#include "real8/dtoi.h"
#include "real8/real8.h"

namespace morvex::real8 {

long double int_power(double x, int32_t n) {
  if (n == 0) return 1.0L;
  if (x == 0) return n > 0 ? static_cast<long double>(x) : _morvex_DOUBLE_INF;
  uint32_t k = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
  long double acc = 1.0L, base = x;
  for (;;) {
    if (k & 1u) acc *= base;
    k >>= 1;
    if (k == 0) break;
    base *= base;
  }
  return n < 0 ? 1.0L / acc : acc;
}

}  // namespace morvex::real8

long double _morvex_dtoi(double x, int32_t n) { return morvex::real8::int_power(x, n); }
