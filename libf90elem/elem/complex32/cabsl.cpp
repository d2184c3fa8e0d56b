// ABS and SQRT of COMPLEX*32.
//
// ABS, |z| = hypot(x, y): with a = |x| and b = |y|, a zero b gives a and a
// zero a gives b; otherwise the larger of the two times sqrt(1 + q^2), q the
// smaller over the larger, so nothing is squared beyond |q| <= 1 and the
// result overflows only when |z| itself does. (3, 4) gives 5 exactly.
//
// SQRT: m = sqrt((|z| + |x|) / 2) is the part of larger magnitude and
// n = |y| / (2m) the other; x >= 0 gives (m, n), x < 0 gives (n, m), and the
// imaginary part is negated when y < 0. m comes by cases: y = 0 gives
// sqrt(|x|), x = 0 gives sqrt(|y| / 2), otherwise |z| by ABS's scaled form.
// A zero m (z = 0) gives (m, +0). (3, -4) gives (2, -1) exactly. Where z's
// larger part lies outside [2^-450, 2^450], m is found from z scaled by an
// even power of two 2^2j and multiplied by 2^j afterwards (exact), so the
// halved sum cannot overflow near the top of the double range and keeps its
// precision near the bottom; n always uses the unscaled y.
//
// Special cases: ABS of a value with an infinite part is (+Inf, +0), and with
// a NaN part (and no infinite one) (NaN, +0). SQRT of a value with a NaN part
// is ((NaN, +0), (+0, +0)), as the COMPLEX*16 square root gives a NaN real
// part there.
//
// Accuracy: ABS within a few units of 2^-106 relative; SQRT likewise (no
// step cancels: |z| + |x| adds two non-negative values).
#include "complex32/complex32.h"

namespace dd = morvex::dd;
using namespace morvex::complex32;

namespace {

// |a + ib| for a, b >= 0 and finite.
MORVEX_DD_INLINE DD modulus(DD a, DD b) {
  if (is_zero(b)) return a;
  if (is_zero(a)) return b;
  if (dd::sub(a, b).hi > 0.0) {
    const DD q = dd::div(b, a);
    return dd::mul(a, value_of(_morvex_sqrtl, dd::add_d(dd::mul(q, q), 1.0)));
  }
  const DD q = dd::div(a, b);
  return dd::mul(b, value_of(_morvex_sqrtl, dd::add_d(dd::mul(q, q), 1.0)));
}

}  // namespace

DoubleDouble* _morvex_cabsl(DoubleDouble* res, Complex32 z) {
  const DD a = abs_dd(z.re), b = abs_dd(z.im);
  if (std::isinf(a.hi) || std::isinf(b.hi)) return store(res, {HUGE_VAL, 0.0});
  if (std::isnan(a.hi) || std::isnan(b.hi)) return store(res, kNaNPart);
  return store(res, modulus(a, b));
}
MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_cabsl, _morvex_cabsl, Complex32)

Complex32* _morvex_csqrtl(Complex32* res, Complex32 z) {
  if (std::isnan(z.re.hi) || std::isnan(z.im.hi)) return store(res, kNaNPart, kZero);
  const ScaledPair s = scaled_pair(z.re, z.im, true);
  const DD ax = abs_dd(s.x), ay = abs_dd(s.y);
  DD m;
  if (is_zero(ay)) {
    m = value_of(_morvex_sqrtl, ax);
  } else if (is_zero(ax)) {
    m = value_of(_morvex_sqrtl, dd::mul_d(ay, 0.5));
  } else {
    m = value_of(_morvex_sqrtl, dd::add(dd::mul_d(modulus(ax, ay), 0.5), dd::mul_d(ax, 0.5)));
  }
  if (is_zero(m)) return store(res, m, kZero);
  m = scale(m, s.k / 2);
  const DD n = dd::div(abs_dd(z.im), dd::mul_d(m, 2.0));
  DD re = m, im = n;
  if (z.re.hi < 0.0) {
    re = n;
    im = m;
  }
  if (z.im.hi < 0.0) im = dd::neg(im);
  return store(res, re, im);
}
MORVEX_BY_REF_HIDDEN(Complex32, _morvex_I_csqrtl, _morvex_csqrtl, Complex32)
