// ASIN and ACOS of REAL*16, in radians and degrees.
//
// Method: a double-precision start a0 from the REAL*8 arcsine/arccosine
// kernel, refined by one Newton step in double-double arithmetic with the
// sine or cosine of a0 from the REAL*16 kernel (the derivative only needs
// double precision):
//   |x| < 0.866:  asin x = a0 + (x - sin a0) / cos a0,  a0 = asin x.hi
//                 acos x = a0 + (cos a0 - x) / sin a0,  a0 = acos x.hi
//   |x| >= 0.866: asin |x| = acos s with s = sqrt(1 - x^2),
//                 a = a0 + (cos a0 - s) / sin a0,        a0 = acos s.hi;
//                 acos |x| = 2 asin s with s = sqrt((1 - |x|)/2),
//                 b = a0 - (sin a0 - s) / cos a0,        a0 = asin s.hi,
//                 and acos x = pi - 2b for negative x.
// 1 - x^2 is formed as (1 - |x|)(1 + |x|): near |x| = 1 the difference is
// exact, where 1 - x*x would keep only the rounding of the square (2^-107)
// and lose up to half the digits of s.
// The degree forms multiply the result by the double-double 180/pi.
//
// Special cases: |x| > 1 (high part beyond 1, or 1 with a trailing part
// beyond it) gives NaN; NaN gives NaN.
//
// Accuracy: about 1e-31 relative (one Newton step squares the start's
// error of about 2^-53). The REAL*8 start runs at the caller's x87
// precision: under a 24-bit precision word it holds about 8 digits and the
// result about 15.
#include <cmath>

#include "trig.h"

namespace dd = morvex::dd;
using namespace morvex::real16;

namespace {

constexpr double kNaN = __builtin_nan("");

}  // namespace

DoubleDouble* _morvex_asinl(DoubleDouble* res, DoubleDouble x) {
  if (x.hi < -1.0 || x.hi > 1.0) return store(res, {kNaN, 0.0});
  const DD a = abs_dd(x);
  if (a.hi >= kAsinHalfAngle) {
    DD s;
    _morvex_sqrtl(&s, dd::mul(dd::d_sub(1.0, a), dd::add_d(a, 1.0)));
    const double a0 = dacos(s.hi);
    const DD r = dd::add({a0, 0.0}, dd::div_d(dd::sub(sct({a0, 0.0}, kCosine), s), dsin(a0)));
    return store(res, x.hi < 0.0 ? dd::neg(r) : r);
  }
  const double a0 = dasin(x.hi);
  return store(res, dd::add({a0, 0.0}, dd::div_d(dd::sub(x, sct({a0, 0.0}, kSine)), dcos(a0))));
}

DoubleDouble* _morvex_acosl(DoubleDouble* res, DoubleDouble x) {
  if (x.hi < -1.0 || x.hi > 1.0) return store(res, {kNaN, 0.0});
  const DD a = abs_dd(x);
  if (a.hi >= kAsinHalfAngle) {
    DD s;
    _morvex_sqrtl(&s, dd::div_d(dd::sub(kOne, a), 2.0));
    const double a0 = dasin(s.hi);
    const DD b = dd::sub({a0, 0.0}, dd::div_d(dd::sub(sct({a0, 0.0}, kSine), s), dcos(a0)));
    const DD r = dd::mul_d(b, 2.0);
    return store(res, x.hi < 0.0 ? dd::sub(kPi, r) : r);
  }
  const double a0 = dacos(x.hi);
  return store(res, dd::add({a0, 0.0}, dd::div_d(dd::sub(sct({a0, 0.0}, kCosine), x), dsin(a0))));
}

DoubleDouble* _morvex_asindl(DoubleDouble* res, DoubleDouble x) {
  return in_degrees<_morvex_asinl>(res, x);
}

DoubleDouble* _morvex_acosdl(DoubleDouble* res, DoubleDouble x) {
  return in_degrees<_morvex_acosl>(res, x);
}

MORVEX_BY_REF_HIDDEN(DoubleDouble, asinl, DoubleDouble)
MORVEX_BY_REF_HIDDEN(DoubleDouble, acosl, DoubleDouble)
MORVEX_BY_REF_HIDDEN(DoubleDouble, asindl, DoubleDouble)
MORVEX_BY_REF_HIDDEN(DoubleDouble, acosdl, DoubleDouble)
