// ATAN of REAL*16, in radians and degrees.
//
// Method: with x >= 0 (the sign restored at the end), two folds bring the
// argument within tan(pi/8):
//   x > tan(3pi/8):           atan x = pi/2 + atan(-1/x)
//   tan(pi/8) < x <= tan(3pi/8): atan x = pi/4 + atan((x - 1)/(x + 1))
// and then atan x = x + x z P(z)/Q(z), z = x^2, with P of degree 8 and Q
// monic of degree 8 (tools/gen_real16_coefficients.py, within 7e-36 of the
// function on the reduced range). The degree form multiplies the result by
// the double-double 180/pi.
//
// Special cases: +-Inf gives +-pi/2; NaN gives NaN.
//
// Accuracy: about 1e-31 relative; the pi/2 and pi/4 constants are within
// 4e-32 of their values.
#include <cmath>

#include "real16/trig.h"

namespace dd = morvex::dd;
using namespace morvex::real16;

DoubleDouble* _morvex_atanl(DoubleDouble* res, DoubleDouble x) {
  const bool negative = x.hi < 0.0;
  // The fold at tan(3pi/8) would give -1/Inf = NaN in double-double division.
  if (std::isinf(x.hi)) return store(res, negative ? dd::neg(kPio2) : kPio2);
  if (negative) x = dd::neg(x);
  DD y0 = {0.0, 0.0};
  if (dd::sub(x, kTan3Pi8).hi > 0.0) {
    y0 = kPio2;
    x = dd::d_div(-1.0, x);
  } else if (dd::sub(x, kTanPi8).hi > 0.0) {
    y0 = kPio4;
    x = dd::div(dd::sub_d(x, 1.0), dd::add_d(x, 1.0));
  }
  const DD z = dd::mul(x, x);
  DD t = dd::div(poly(z, kAtanP, 8), poly_monic(z, kAtanQ, 8));
  t = dd::mul(dd::mul(t, z), x);
  const DD r = dd::add(y0, dd::add(t, x));
  return store(res, negative ? dd::neg(r) : r);
}

DoubleDouble* _morvex_atandl(DoubleDouble* res, DoubleDouble x) {
  return in_degrees<_morvex_atanl>(res, x);
}

MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_atanl, _morvex_atanl, DoubleDouble)
MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_atandl, _morvex_atandl, DoubleDouble)
