// REAL*4 ** INTEGER*4 by square-and-multiply, every product rounded to
// REAL*4 (no control-word change).
//
// n = 0 gives 1.0 for every x (zeros and NaN included); otherwise the
// accumulator multiplies in x^(2^k) for each set bit k of |n| (taken
// unsigned, so n = -2^31 works), stopping after the highest set bit, and
// n < 0 takes the reciprocal of the REAL*4 result, rounded again. A zero
// base is not treated apart: 0 ** -n is the division's infinity (-Inf for
// -0.0 and an odd n). As every product is a REAL*4, an intermediate power
// beyond the REAL*4 range overflows: 2.0 ** -140 gives +0.0.
#include <cstdint>

#include "real4/ftoi.h"
#include "real4/real4.h"
#include "x87.h"

namespace morvex::real4 {

float int_power(float x, int32_t n) {
  if (n == 0) return 1.0f;
  uint32_t k = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
  float acc = 1.0f, base = x;
  for (;;) {
    if (k & 1u) acc = x87::round_to<float>(static_cast<long double>(acc) * base);
    k >>= 1;
    if (k == 0) break;
    base = x87::round_to<float>(static_cast<long double>(base) * base);
  }
  return n < 0 ? x87::round_to<float>(1.0L / acc) : acc;
}

}  // namespace morvex::real4

long double _morvex_ftoi(float x, int32_t n) { return morvex::real4::int_power(x, n); }
