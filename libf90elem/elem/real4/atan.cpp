// ATAN of REAL*4, in radians and degrees (method: real/atan.h), with the
// rational form v + v*g*(P0 + P1*g)/(Q0 + g). The degree form multiplies
// the unrounded result by 180/pi as a REAL*4.
#include <array>

#include "real4/constants4.h"
#include "entry.h"
#include "real/atan.h"
#include "real4/real4.h"

namespace morvex::real {

template <>
struct AtanConstants<float> {
  static constexpr float kTwoMinusSqrt3 = f32(0x3e8930a3);
  static constexpr float kSqrt3Minus1 = f32(0x3f3b67af);
  static constexpr float kSqrt3 = f32(0x3fddb3d7);
  static constexpr float kEps = real4::kEps;
  static constexpr std::array<float, 2> kP = {f32(0xbef110f6), f32(0xbd508691)};
  static constexpr std::array<float, 1> kQ = {f32(0x3fb4ccd3)};
  static constexpr std::array<float, 4> kAdd = {0.0f, f32(0x3f060a92),  // pi/6
                                                real4::kHalfPi,
                                                f32(0x3f860a92)};  // pi/3
};

}  // namespace morvex::real

using morvex::real::atan_of;

long double _morvex_atan(float x) { return atan_of(x); }
long double _morvex_atand(float x) { return atan_of(x) * morvex::real4::kDegreesPerRadian; }

MORVEX_BY_REF(long double, _morvex_I_atan, _morvex_atan, float)
MORVEX_BY_REF(long double, _morvex_I_atand, _morvex_atand, float)
