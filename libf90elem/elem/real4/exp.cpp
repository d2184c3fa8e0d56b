// EXP of REAL*4 (method: real/exp.h), with a rational form of lower degree:
// gP = g*(P0 + P1*z), Q = 0.5 + Q1*z, z = g^2.
//
// Upper limit 88.72283172607422, the largest REAL*4 whose exponential is
// finite; above it, and for NaN, +Inf. Between -87.96910095214844 and
// -87.33654 (where e^x leaves the normal range) the result is the correctly
// scaled subnormal; below -87.96910095214844 +0.0.
#include <array>

#include "constants.h"
#include "entry.h"
#include "real/exp.h"
#include "real4/real4.h"

namespace morvex::real {

template <>
struct ExpConstants<float> {
  static constexpr float kUpper = f32(0x42b17217);
  static constexpr float kLower = f32(0xc2aff02e);
  static constexpr float kInvLn2 = f32(0x3fb8aa3b);
  static constexpr float kC1 = f32(0x3f318000);  // 0.693359375
  static constexpr float kC2 = f32(0xb95e8083);  // ln 2 - C1
  static constexpr std::array<float, 2> kP = {0.25f, f32(0x3b885308)};
  static constexpr std::array<float, 2> kQ = {0.5f, f32(0x3d4cbf5b)};
  static float overflow() { return _morvex_FLOAT_INF; }
};

}  // namespace morvex::real

long double _morvex_exp(float x) { return morvex::real::exp_of(x); }

MORVEX_BY_REF(long double, _morvex_I_exp, _morvex_exp, float)
