// REAL*8 constants shared by several families.
#pragma once

#include "real/float_bits.h"

namespace morvex::real8 {

using real::f64;

// 2^-26.5: below it sin x = x, tan x = x, asin x = x, atan x = x, sinh x = x
// and tanh x = x to double precision.
inline constexpr double kEps = f64(0x3e46a09e667f3bc8);
inline constexpr double kPi = f64(0x400921fb54442d18);
inline constexpr double kHalfPi = f64(0x3ff921fb54442d18);
inline constexpr double kQuarterPi = f64(0x3fe921fb54442d18);
inline constexpr double kRadiansPerDegree = f64(0x3f91df46a2529d39);  // pi/180
inline constexpr double kDegreesPerRadian = f64(0x404ca5dc1a63c1f8);  // 180/pi

}  // namespace morvex::real8
