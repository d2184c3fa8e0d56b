// EXP of REAL*16.
//
// Method: r = x / ln 2 is split into the nearest integer n (halfway cases
// away from zero) and the fraction f = r - n; t = f ln 2 / 2, so |t| <= ln2/4.
// The order-9 Pade approximant of e^t, split into its odd part t P(t^2) and
// its even part Q(t^2), gives e = T / (Q - T) with T = t P(t^2) and
// e^t = 1 + 2e; squaring, e^(2t) = 1 + 4e(1 + e), and the result is
// 2^n e^(2t) = e^x. Every step is one double-double operation.
//
// Special cases: x NaN gives NaN. When x / ln 2 lies beyond the INTEGER*4
// range (|x| >= 1.4885e9, infinities included) the result is (+Inf, +0) for
// positive x and (+0, +0) for negative x. Otherwise the final scaling by 2^n
// overflows to (+Inf, +0) or underflows towards zero by itself.
//
// Accuracy: about 2^-104 relative for |x| <= 1; the reduction carries the
// rounding of x / ln 2 and of the ln 2 constant, so the relative error grows
// in proportion to |x| (as the function's own condition number does).
#include <climits>
#include <cmath>

#include "real16/real16_math.h"
#include "x87_trunc.h"

namespace dd = morvex::dd;
using namespace morvex::real16;

namespace {

// Numerator t P(t^2) and denominator Q(t^2) of the order-9 Pade approximant
// of e^t, exact integers.
constexpr double kPadeP[] = {3960.0, 2162160.0, 302702400.0, 8821612800.0};
constexpr double kPadeQ0 = 90.0;
constexpr double kPadeQ[] = {110880.0, 30270240.0, 2075673600.0, 17643225600.0};

// x 2^k for the small fixed k of the reduction: the product by a power of two
// is exact here (no part can overflow or become subnormal), so it gives
// ldexpl's result in one multiplication per part.
DD times(DD x, double pow2) { return {x.hi * pow2, x.lo * pow2}; }

}  // namespace

DoubleDouble* _morvex_expl(DoubleDouble* res, DoubleDouble x) {
  if (std::isnan(x.hi)) return store(res, {x.hi + x.hi, x.hi + x.hi});
  const DD r = dd::div(x, kLn2);
  const double half = r.hi >= 0.0 ? r.hi + 0.5 : r.hi - 0.5;
  const int32_t n = x87::trunc32(half);
  if (n == INT32_MIN) {
    // Beyond the INTEGER*4 range (or at its negative end, which underflows
    // just the same): the limit of the function on that side.
    return store(res, x.hi > 0.0 ? DD{HUGE_VAL, 0.0} : DD{0.0, 0.0});
  }
  const DD f = dd::sub_d(r, static_cast<double>(n));
  const DD t = times(dd::mul(f, kLn2), 0.5);
  const DD u = dd::mul(t, t);

  DD p = dd::add_d(u, kPadeP[0]);
  for (int i = 1; i < 4; ++i) p = dd::add_d(dd::mul(p, u), kPadeP[i]);
  const DD odd = dd::mul(t, p);
  DD q = dd::mul_d(u, kPadeQ0);
  q = dd::add_d(q, kPadeQ[0]);
  for (int i = 1; i < 4; ++i) q = dd::add_d(dd::mul(q, u), kPadeQ[i]);

  const DD e = dd::div(odd, dd::sub(q, odd));  // e^t = 1 + 2e
  DD y = dd::add_d(times(dd::mul(e, dd::add_d(e, 1.0)), 4.0), 1.0);
  y = scale(y, n);
  if (std::isinf(y.hi)) y.lo = 0.0;  // beyond the double range
  return store(res, y);
}

MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_expl, _morvex_expl, DoubleDouble)
