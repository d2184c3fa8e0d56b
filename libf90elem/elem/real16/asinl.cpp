// ASIN and ACOS of REAL*16, in radians and degrees.
//
// Method: a double-precision start a0 from the REAL*8 arcsine/arccosine
// kernel, refined by one step in double-double arithmetic with the sine and
// cosine of a0 from the REAL*16 kernel:
//   |x| < 0.866:  asin x solves sin a = x,  a0 = asin x.hi;
//                 acos x solves cos a = x,  a0 = acos x.hi;
//   |x| >= 0.866: asin |x| = acos s, s = sqrt(1 - x^2): cos a = s, a0 = acos s.hi;
//                 acos |x| = 2 asin s, s = sqrt((1 - |x|)/2): sin b = s,
//                 a0 = asin s.hi, and acos x = pi - 2b for negative x.
// The step for sin a = v is the Newton step d = (v - sin a0)/cos a0 plus its
// second-order term, h = d + (d^2/2) tan a0; for cos a = v,
// d = (cos a0 - v)/sin a0 and h = d - (d^2/2) cot a0. The Newton step alone
// leaves half tan a0 (or cot a0) times the square of a0's error, which with a
// start one or two units off (the REAL*8 kernel under a 53-bit precision
// word) reaches 1e-31 of the result; the second-order term, formed in double
// precision, leaves the cube.
// 1 - x^2 is formed as (1 - |x|)(1 + |x|): near |x| = 1 the difference is
// exact, where 1 - x*x would keep only the rounding of the square (2^-107)
// and lose up to half the digits of s.
// The degree forms multiply the result by the double-double 180/pi.
//
// Special cases: |x| > 1 (high part beyond 1, or 1 with a trailing part
// beyond it) gives NaN; NaN gives NaN.
//
// Accuracy: within 1e-31 relative. The REAL*8 start runs at the caller's x87
// precision: under a 24-bit precision word it holds about 8 digits and the
// result about 15.
#include <cmath>

#include "real16/trig.h"

namespace dd = morvex::dd;
using namespace morvex::real16;

namespace {

constexpr double kNaN = __builtin_nan("");

// a0 + h with h the step above towards sin a = v (or cos a = v).
DD refine(double a0, DD v, bool cosine) {
  Reduced r;
  if (!reduce({a0, 0.0}, &r)) return {kNaN, 0.0};
  DD sn, cs;
  sin_cos_reduced(&r, &sn, &cs);
  DD d;
  double second;
  if (cosine) {
    d = dd::div(dd::sub(cs, v), sn);
    second = -0.5 * d.hi * d.hi * (cs.hi / sn.hi);
  } else {
    d = dd::div(dd::sub(v, sn), cs);
    second = 0.5 * d.hi * d.hi * (sn.hi / cs.hi);
  }
  return dd::add({a0, 0.0}, dd::add_d(d, second));
}

}  // namespace

DoubleDouble* _morvex_asinl(DoubleDouble* res, DoubleDouble x) {
  if (x.hi < -1.0 || x.hi > 1.0) return store(res, {kNaN, 0.0});
  const DD a = abs_dd(x);
  if (a.hi >= kAsinHalfAngle) {
    DD s;
    _morvex_sqrtl(&s, dd::mul(dd::d_sub(1.0, a), dd::add_d(a, 1.0)));
    const DD r = refine(dacos(s.hi), s, true);
    return store(res, x.hi < 0.0 ? dd::neg(r) : r);
  }
  return store(res, refine(dasin(x.hi), x, false));
}

DoubleDouble* _morvex_acosl(DoubleDouble* res, DoubleDouble x) {
  if (x.hi < -1.0 || x.hi > 1.0) return store(res, {kNaN, 0.0});
  const DD a = abs_dd(x);
  if (a.hi >= kAsinHalfAngle) {
    DD s;
    _morvex_sqrtl(&s, dd::div_d(dd::sub(kOne, a), 2.0));
    const DD r = dd::mul_d(refine(dasin(s.hi), s, false), 2.0);
    return store(res, x.hi < 0.0 ? dd::sub(kPi, r) : r);
  }
  return store(res, refine(dacos(x.hi), x, true));
}

DoubleDouble* _morvex_asindl(DoubleDouble* res, DoubleDouble x) {
  return in_degrees<_morvex_asinl>(res, x);
}
DoubleDouble* _morvex_acosdl(DoubleDouble* res, DoubleDouble x) {
  return in_degrees<_morvex_acosl>(res, x);
}

MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_asinl, _morvex_asinl, DoubleDouble)
MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_acosl, _morvex_acosl, DoubleDouble)
MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_asindl, _morvex_asindl, DoubleDouble)
MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_acosdl, _morvex_acosdl, DoubleDouble)
