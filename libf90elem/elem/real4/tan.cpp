// TAN and COTAN of REAL*4, in radians, and TAN in degrees.
//
// TAN (method: real/tan.h) with pi/2 split as C1 = 1.5703125 plus C2 and the
// rational form (f + f*g*p1) / (1 + q1*g + q2*g^2); |x| beyond
// 12867.9638671875 (4096 pi) and NaN give +0.0. tand takes the tangent of
// x * (pi/180 as a REAL*4), the product rounded to REAL*4.
//
// COTAN is 1/tan x with the tangent from the x87 partial-tangent
// instruction, which does its own reduction: cot(+-0.0) = +-Inf. Beyond that
// instruction's range (|x| >= 2^63) the tangent counts as +0.0, as TAN's
// does beyond its limit, so the result is +Inf; NaN gives NaN and an
// infinity gives NaN.
#include <array>

#include "constants.h"
#include "real4/constants4.h"
#include "entry.h"
#include "real/tan.h"
#include "real4/real4.h"

namespace morvex::real {

template <>
struct TanConstants<float> {
  static constexpr float kLimit = f32(0x46490fdb);
  static constexpr float kTwoOverPi = f32(0x3f22f983);
  static constexpr float kC1 = f32(0x3fc90000);  // 1.5703125
  static constexpr float kC2 = f32(0x39fdaa22);  // pi/2 - C1
  static constexpr float kEps = real4::kEps;
  static constexpr std::array<float, 1> kP = {f32(0xbdc433b8)};
  static constexpr std::array<float, 3> kQ = {1.0f, f32(0xbedbb7af), f32(0x3c1f3375)};
};

}  // namespace morvex::real

using morvex::real::tan_of;

long double _morvex_tan(float x) { return tan_of(x); }
long double _morvex_tand(float x) {
  return tan_of(x87::round_to<float>(x * static_cast<long double>(morvex::real4::kRadiansPerDegree)));
}
long double _morvex_cot(float x) {
  if (x != x) return 1.0L / x;
  if (morvex::real::exponent_field(x) == morvex::real::FloatBits<float>::kExponentMax)
    return _morvex_FLOAT_NAN;
  long double t = x;
  if (!x87::tan_in_range(t)) return _morvex_FLOAT_INF;
  return 1.0L / t;
}

MORVEX_BY_REF(long double, _morvex_I_tan, _morvex_tan, float)
MORVEX_BY_REF(long double, _morvex_I_tand, _morvex_tand, float)
MORVEX_BY_REF(long double, _morvex_I_cot, _morvex_cot, float)
