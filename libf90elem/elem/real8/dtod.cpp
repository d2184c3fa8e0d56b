// REAL*8 ** REAL*8 (no control-word change).
//
// Method, in order:
//   1. y = +-0 or NaN: 1.0.      2. x = 1 or NaN: 1.0.
//   3. y integral with |y| < 2^31: square-and-multiply (dtoi).
//   4. x > 0: z = y*log2(x) (fyl2x, extended precision); n = z rounded to an
//      integral value in the caller's rounding mode; the result is
//      (2^(z-n) - 1 + 1) * 2^n by f2xm1 and fscale.
//   5. x < 0 and y integral: |x|**y by step 4, negated when y is odd (only
//      possible below 2^53; at or above 2^53, and for y = +-Inf, y counts as
//      even).
//   6. x = +-0: x itself for y > 0, +Inf for y < 0.
//   7. x < 0 and y not integral: NaN.
// There is no overflow or underflow test: an extended result beyond the
// REAL*8 range becomes an infinity or zero when the caller stores it.
// Accuracy: z carries a relative error of about 2^-64, which at |z| near
// 1024 is 2^-54.5 relative in the result, on top of the rounding of
// 2^(z-n) at the caller's precision.
//
// Infinite arguments follow the same steps: dtod(2, Inf) and dtod(Inf, 0.5)
// are NaN (step 4 forms Inf - Inf).
#include <cstdint>

#include "constants.h"
#include "real8/dtoi.h"
#include "real/float_bits.h"
#include "real8/real8.h"
#include "x87.h"

using namespace morvex::real;

namespace {

long double positive_power(long double x, long double y) {
  const long double z = x87::yl2x(x, y);
  const long double n = x87::rndint(z);
  const long double m = x87::f2xm1(z - n) + 1.0L;
  return x87::scale(m, n);
}

}  // namespace

long double _morvex_dtod(double x, double y) {
  if (!(y < 0) && !(y > 0)) return 1.0L;  // y = +-0 or NaN
  if (x == 1 || x != x) return 1.0L;
  const uint64_t ybits = bits_of(y);
  const int e = exponent_field(y) - FloatBits<double>::kBias;  // unbiased
  // y is integral when no significand bit lies below the radix point.
  const bool integral =
      e >= 52 || (e >= 0 && (ybits & ((uint64_t{1} << (52 - e)) - 1)) == 0);
  if (integral && e <= 30) {
    const uint64_t significand = (ybits & kFractionMask<double>) | (uint64_t{1} << 52);
    const int32_t magnitude = static_cast<int32_t>(significand >> (52 - e));
    return morvex::real8::int_power(x, (ybits >> 63) ? -magnitude : magnitude);
  }
  if (x > 0) return positive_power(x, y);
  if (x < 0) {
    if (!integral) return _morvex_DOUBLE_NAN;
    const bool odd = e <= 52 && ((((ybits & kFractionMask<double>) | (uint64_t{1} << 52)) >>
                                   (52 - e)) & 1u);
    const long double r = positive_power(-static_cast<long double>(x), y);
    return odd ? -r : r;
  }
  return y > 0 ? static_cast<long double>(x) : _morvex_DOUBLE_INF;  // x = +-0
}
