// ATAN2 of REAL*4, in radians and degrees (method: real/atan2.h). The
// radian result is rounded to REAL*4; the degree form multiplies it by
// 180/pi as a REAL*4, at the caller's precision.
#include "real4/constants4.h"
#include "entry.h"
#include "real/atan2.h"
#include "real4/real4.h"

namespace morvex::real {

template <>
struct Atan2Constants<float> {
  static constexpr float kPi = real4::kPi;
  static constexpr float kHalfPi = real4::kHalfPi;
};

}  // namespace morvex::real

using morvex::real::atan2_of;

long double _morvex_atan2(float y, float x) { return atan2_of(y, x); }
long double _morvex_atan2d(float y, float x) {
  return atan2_of(y, x) * morvex::real4::kDegreesPerRadian;
}

MORVEX_BY_REF(long double, _morvex_I_atan2, _morvex_atan2, float, float)
MORVEX_BY_REF(long double, _morvex_I_atan2d, _morvex_atan2d, float, float)
