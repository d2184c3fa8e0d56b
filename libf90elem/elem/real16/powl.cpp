// Powers of REAL*16: x**n for an INTEGER*4 or INTEGER*8 n (powli, powlk),
// x**y for a REAL*16 or REAL*8 y (powl, powld).
//
// Integer exponents: binary square-and-multiply over |n| taken as an
// unsigned magnitude (so INT_MIN and INT64_MIN terminate), one reciprocal at
// the end for a negative n. A zero x (a NaN part counting as zero) comes back
// unchanged whatever n is; n = 0 gives 1.
//
// General exponent: y = 0 (or NaN) gives 1 and x = 1 (or NaN) gives x. An exponent
// that is an integer goes to the integer powers when it fits; otherwise the
// result is exp(y log x) for x > 0, with x's sign dropped first when y is an
// even integer, and the result's sign set when y is an odd integer only
// through its low part. A zero x gives +0 for y > 0 and +Inf for y < 0; a
// negative x with a non-integral y (or a NaN x) gives NaN.
//
// Overflow: where the exact power lies beyond the double range the result is
// (+-Inf, +0), and where it underflows, (+-0, +0), instead of the NaN the
// error terms of the double-double operations would leave.
//
// Accuracy: square-and-multiply loses about one bit per squaring (the power
// has condition number |n|), exp(y log x) the same as exp of y log x.
#include <cmath>
#include <cstdint>

#include "real16/real16_math.h"
#include "x87_trunc.h"

namespace dd = morvex::dd;
using namespace morvex::real16;

namespace {

constexpr double kNaN = __builtin_nan("");

bool is_zero_or_nan(double v) { return v == 0.0 || std::isnan(v); }

// Unbiased exponent of a double (the biased field less 1023).
int unbiased_exponent(double v) { return dd::biased_exponent(v) - 1023; }

// The exact power of a finite non-zero x by a non-zero integer overflowed
// or underflowed on the way, leaving NaN: its limit, with the sign of an
// odd power of a negative x.
DD power_limit(DD x, bool negative_exponent, bool odd) {
  const DD ax = abs_dd(x);
  const bool grows = (dd::sub_d(ax, 1.0).hi > 0.0) != negative_exponent;
  const double sign = (x.hi < 0.0 && odd) ? -1.0 : 1.0;
  return {sign * (grows ? HUGE_VAL : 0.0), 0.0};
}

// x**m by square-and-multiply for an unsigned magnitude m >= 1. The
// INTEGER*4 form multiplies the accumulator as y * x, the INTEGER*8 form as
// x * y.
template <class U, bool kXFirst>
DD raise(DD x, U m) {
  DD y = {1.0, 0.0};
  for (;;) {
    const U b = m & 1;
    m >>= 1;
    if (m == 0) break;
    if (b) y = kXFirst ? dd::mul(x, y) : dd::mul(y, x);
    x = dd::mul(x, x);
  }
  return dd::mul(x, y);
}

template <class I, class U, bool kXFirst>
DD integer_power(DD x, I n) {
  if (is_zero_or_nan(x.hi) && is_zero_or_nan(x.lo)) return x;
  if (n == 0) return {1.0, 0.0};
  const U m = n < 0 ? U(0) - static_cast<U>(n) : static_cast<U>(n);
  DD r = raise<U, kXFirst>(x, m);
  if (n < 0) r = dd::d_div(1.0, r);
  if (std::isnan(r.hi) && std::isfinite(x.hi) && std::isfinite(x.lo))
    return power_limit(x, n < 0, m & 1);
  if (std::isinf(r.hi)) r.lo = 0.0;
  return r;
}

// y.hi (or a part of y) stored to an INTEGER*4 under truncation.
int32_t to_int32(double v) { return x87::trunc32(v); }

// Whether v is an integer, for |v| < 2^53, and if so whether it is odd.
bool integral(double v, bool& odd) {
  if (unbiased_exponent(v) < 31) {
    const int32_t n = to_int32(v);
    odd = n & 1;
    return static_cast<double>(n) == v;
  }
  const int64_t n = x87::trunc64(v);
  odd = n & 1;
  return static_cast<long double>(n) == static_cast<long double>(v);
}

}  // namespace

DoubleDouble* _morvex_powli(DoubleDouble* res, DoubleDouble x, int32_t n) {
  return store(res, integer_power<int32_t, uint32_t, false>(x, n));
}

DoubleDouble* _morvex_powlk(DoubleDouble* res, DoubleDouble x, int64_t n) {
  return store(res, integer_power<int64_t, uint64_t, true>(x, n));
}

DoubleDouble* _morvex_powl(DoubleDouble* res, DoubleDouble x, DoubleDouble y) {
  if (is_zero_or_nan(y.hi)) return store(res, {1.0, 0.0});
  if ((x.hi == 1.0 || std::isnan(x.hi)) && is_zero_or_nan(x.lo)) return store(res, x);
  bool negate_result = false;
  if (is_zero_or_nan(y.lo)) {
    const int k = unbiased_exponent(y.hi);
    if (k < 31) {
      const int32_t n = to_int32(y.hi);
      if (static_cast<double>(n) == y.hi) return _morvex_powli(res, x, n);
    } else if (k < 63 || (k == 63 && y.hi == -0x1p63)) {
      const int64_t n = x87::trunc64(y.hi);
      if (static_cast<long double>(n) == static_cast<long double>(y.hi))
        return _morvex_powlk(res, x, n);
    }
    // From 2^53 on every double is an even integer.
    if (k >= 53 && x.hi < 0.0) x = dd::neg(x);
  } else {
    const int k = unbiased_exponent(y.lo);
    bool odd = false;
    if (k > 52 || integral(y.lo, odd)) {
      // y.hi is then an even integer: y's parity is y.lo's.
      if (x.hi < 0.0) {
        x = dd::neg(x);
        negate_result = odd;
      }
    }
  }
  if (x.hi > 0.0) {
    DD l, r;
    _morvex_logl(&l, x);
    _morvex_expl(&r, dd::mul(y, l));
    return store(res, negate_result ? dd::neg(r) : r);
  }
  if (x.hi == 0.0) return store(res, {y.hi > 0.0 ? 0.0 : HUGE_VAL, 0.0});
  return store(res, {kNaN, 0.0});
}

DoubleDouble* _morvex_powld(DoubleDouble* res, DoubleDouble x, double d) {
  return _morvex_powl(res, x, {d, 0.0});
}
