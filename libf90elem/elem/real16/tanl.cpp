// TAN and COTAN of REAL*16, and TAN in degrees.
//
// Method: the sine/cosine kernel (sinl.cpp) in its tangent mode, sin x /
// cos x from one reduction; COTAN is 1 / tan x; the degree form takes the
// tangent of x times the double-double pi/180.
//
// Special cases: where the cosine comes out with a zero high part the tangent
// is (0x7feffffffffffffb, 0), four units below the largest double. COTAN of
// zero divides 1 by a zero tangent: (+Inf, +0) from the double-double
// division. An infinite or NaN x gives NaN.
//
// Accuracy: as the kernel, about 1e-31 relative for |x| up to 1e6.
#include "real16/trig.h"

using namespace morvex::real16;

DoubleDouble* _morvex_tanl(DoubleDouble* res, DoubleDouble x) {
  return _morvex_sct(res, x, kTangent);
}

DoubleDouble* _morvex_cotl(DoubleDouble* res, DoubleDouble x) {
  return store(res, morvex::dd::d_div(1.0, sct(x, kTangent)));
}

DoubleDouble* _morvex_tandl(DoubleDouble* res, DoubleDouble x) {
  return _morvex_sct(res, morvex::dd::mul(x, kDeg2Rad), kTangent);
}

MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_tanl, _morvex_tanl, DoubleDouble)
MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_cotl, _morvex_cotl, DoubleDouble)
MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_tandl, _morvex_tandl, DoubleDouble)
