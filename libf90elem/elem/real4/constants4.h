// REAL*4 constants shared by several families.
#pragma once

#include "real/float_bits.h"

namespace morvex::real4 {

using real::f32;
using real::f64;

// 2^-12: below it sin x = x, tan x = x, asin x = x, atan x = x, sinh x = x
// and tanh x = x to single precision.
inline constexpr float kEps = f32(0x39800000);
inline constexpr float kPi = f32(0x40490fdb);
inline constexpr float kHalfPi = f32(0x3fc90fdb);
inline constexpr float kQuarterPi = f32(0x3f490fdb);
// Degree factors: pi/180 and 180/pi as REAL*4 (SIND, COSD, TAND, ATAND,
// ATAN2D); ASIND and ACOSD use 180/pi as a REAL*8.
inline constexpr float kRadiansPerDegree = f32(0x3c8efa35);
inline constexpr float kDegreesPerRadian = f32(0x42652ee1);
inline constexpr double kDegreesPerRadianDouble = f64(0x404ca5dc1a63c1f8);

}  // namespace morvex::real4
