// LOG and LOG10 of REAL*16.
//
// Method: x = f 2^e with |f| in [0.5, 1) (frexpl); f below sqrt(1/2) is
// doubled and e lowered by one, so the reduced argument lies in
// [sqrt(1/2), sqrt(2)).
//   * Exponents beyond +-2: s = 2(f - 1)/(f + 1), |s| < 0.3432, v = s^2, and
//     ln f = s + s v R(v)/S(v) (degrees 5 and 6).
//   * Exponents -2..2: m = f - 1 in [sqrt(1/2) - 1, sqrt(2) - 1) and
//     ln(1 + m) = m - m^2/2 + m^3 P(m)/Q(m) (degrees 12 and 12).
// e ln 2 is added as e * C1 + e * C2, C2 a short-mantissa leading part of
// ln 2 (so e * C2 is exact) and C1 = ln 2 - C2, smallest terms first. The
// coefficients come from tools/gen_real16_coefficients.py.
//
// Special cases: x.hi = +-0 gives (-Inf, +0); x.hi negative or NaN gives
// (NaN, +0); x.hi = +Inf gives (+Inf, +0). LOG10 is LOG times log10 e, and
// keeps LOG's infinities.
//
// Accuracy: within about 2^-103 relative on the whole positive range.
#include <cmath>

#include "real16/real16_math.h"

namespace dd = morvex::dd;
using namespace morvex::real16;

namespace {

constexpr double kNaN = __builtin_nan("");

DD ratio(DD x, const DD* num, int32_t n, const DD* den, int32_t m) {
  return dd::div(poly(x, num, n), poly_monic(x, den, m));
}

}  // namespace

DoubleDouble* _morvex_logl(DoubleDouble* res, DoubleDouble x) {
  if (!(x.hi > 0.0)) return store(res, {x.hi == 0.0 ? -HUGE_VAL : kNaN, 0.0});
  if (std::isinf(x.hi)) return store(res, {HUGE_VAL, 0.0});
  int32_t e;
  DD f;
  _morvex_frexpl(&f, x, &e);
  const bool upper = dd::sub(f, kSqrtHalf).hi >= 0.0;  // f in [sqrt(1/2), 1)
  if (e > 2 || e < -2) {
    DD z, w;  // z = f - 1, w = (f + 1) / 2, for the reduced f
    if (upper) {
      z = dd::sub_d(dd::sub_d(f, 0.5), 0.5);
      w = dd::add_d(dd::mul_d(f, 0.5), 0.5);
    } else {
      e -= 1;
      z = dd::sub_d(f, 0.5);
      w = dd::add_d(dd::mul_d(z, 0.5), 0.5);
    }
    const DD s = dd::div(z, w);
    const DD v = dd::mul(s, s);
    const DD t = dd::mul(s, dd::mul(v, ratio(v, kLogR, 5, kLogS, 6)));
    const DD y = dd::add(dd::add(dd::add(t, dd::mul_i(kLogC1, e)), s), dd::mul_i(kLogC2, e));
    return store(res, y);
  }
  DD m;
  if (upper) {
    m = dd::sub_d(f, 1.0);
  } else {
    e -= 1;
    m = dd::sub_d(scale(f, 1), 1.0);
  }
  const DD v = dd::mul(m, m);
  DD t = dd::mul(m, dd::mul(v, ratio(m, kLogP, 12, kLogQ, 12)));
  t = dd::add(t, dd::mul_i(kLogC1, e));
  t = dd::sub(t, scale(v, -1));
  return store(res, dd::add(dd::add(t, m), dd::mul_i(kLogC2, e)));
}

DoubleDouble* _morvex_log10l(DoubleDouble* res, DoubleDouble x) {
  DD l;
  _morvex_logl(&l, x);
  // An infinite logarithm stays infinite (the product's error term would
  // turn it into NaN).
  if (std::isinf(l.hi)) return store(res, l);
  return store(res, dd::mul(l, kLog10e));
}

MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_logl, _morvex_logl, DoubleDouble)
MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_log10l, _morvex_log10l, DoubleDouble)
