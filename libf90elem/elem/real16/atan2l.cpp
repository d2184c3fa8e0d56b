// ATAN2 of REAL*16, in radians and degrees: the angle of the point (x, y) in
// (-pi, pi].
//
// Method: a0 = the REAL*8 ATAN2 of the high parts, refined by one step in
// double-double arithmetic that solves tan a = y/x around a0. With
// q = y/x and tan(a0 - a) = (tan a0 - q) / (1 + q tan a0):
//   |y| <= |x|:  a = a0 - (tan a0 - q) / (1 + q tan a0);
//   |y| >  |x|:  a = a0 + (cot a0 - p) / (1 + p cot a0),  p = x/y,
// the cotangent form keeping the quotient and the denominator bounded where
// tan a grows without bound (and y/x would overflow for a tiny x). The
// correction is the tangent of a0 - a, about 2^-53, which differs from the
// angle itself by a third of its cube: the step leaves no error of the order
// of the square of a0's. The denominators only need double precision.
// tan a0 comes from the kernel's tangent mode, cot a0 from its sine and
// cosine. The degree form multiplies the result by the double-double 180/pi.
//
// Special cases: x.hi = 0 gives (0, 0) when y.hi = 0 too, otherwise pi/2
// with y's sign. With an infinite argument (and no NaN) the result is the
// limit of the angle: +-pi/2 for an infinite y, +-pi/4 or +-3pi/4 for both
// infinite, 0 or pi for an infinite x (with y's sign). NaN gives NaN.
//
// Accuracy: about 1e-31 relative. The REAL*8 start follows the caller's x87
// precision: under a 24-bit precision word the result holds about 15 digits.
#include <cmath>

#include "real16/trig.h"

namespace dd = morvex::dd;
using namespace morvex::real16;

namespace {

// The angle where x or y is infinite (and neither is NaN).
DD angle_at_infinity(DD y, DD x) {
  DD a;
  if (std::isinf(y.hi)) {
    a = !std::isinf(x.hi) ? kPio2 : x.hi > 0.0 ? kPio4 : dd::sub(kPi, kPio4);
  } else {
    a = x.hi > 0.0 ? DD{0.0, 0.0} : kPi;
  }
  return y.hi < 0.0 ? dd::neg(a) : a;
}

}  // namespace

DoubleDouble* _morvex_atan2l(DoubleDouble* res, DoubleDouble y, DoubleDouble x) {
  if (x.hi == 0.0) {
    if (y.hi == 0.0) return store(res, {0.0, 0.0});
    return store(res, y.hi < 0.0 ? dd::neg(kPio2) : kPio2);
  }
  if ((std::isinf(x.hi) || std::isinf(y.hi)) && !std::isnan(x.hi) && !std::isnan(y.hi))
    return store(res, angle_at_infinity(y, x));
  const double a0 = datan2(y.hi, x.hi);
  if (std::fabs(y.hi) > std::fabs(x.hi)) {
    Reduced r;
    reduce({a0, 0.0}, &r);  // a0 is finite here
    DD sn, cs;
    sin_cos_reduced(&r, &sn, &cs);
    const DD cot = dd::div(cs, sn), p = dd::div(x, y);
    const DD d = dd::div_d(dd::sub(cot, p), 1.0 + p.hi * cot.hi);
    return store(res, dd::add({a0, 0.0}, d));
  }
  const DD tan = sct({a0, 0.0}, kTangent), q = dd::div(y, x);
  const DD d = dd::div_d(dd::sub(tan, q), 1.0 + q.hi * tan.hi);
  return store(res, dd::sub({a0, 0.0}, d));
}

DoubleDouble* _morvex_atan2dl(DoubleDouble* res, DoubleDouble y, DoubleDouble x) {
  DD r;
  _morvex_atan2l(&r, y, x);
  return store(res, dd::mul(r, kRad2Deg));
}

MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_atan2l, _morvex_atan2l, DoubleDouble, DoubleDouble)
MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_atan2dl, _morvex_atan2dl, DoubleDouble, DoubleDouble)
