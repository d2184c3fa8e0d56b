// ASIN and ACOS of REAL*4, in radians and degrees (method: real/asin.h),
// with P(g) = p1 + p2*g and Q(g) = q0 + q1*g + g^2. |x| > 1 gives NaN. The
// degree forms multiply the unrounded result by 180/pi as a REAL*8, at the
// caller's precision.
#include <array>

#include "constants.h"
#include "real4/constants4.h"
#include "entry.h"
#include "real/asin.h"
#include "real4/real4.h"

namespace morvex::real {

template <>
struct AsinConstants<float> {
  static constexpr float kEps = real4::kEps;
  static constexpr std::array<float, 2> kP = {f32(0x3f6f166b), f32(0xbf012065)};
  static constexpr std::array<float, 2> kQ = {f32(0x40b350f0), f32(0xc0b18d0b)};
  static constexpr float kPio4 = real4::kQuarterPi;
  static constexpr float kPio2 = real4::kHalfPi;
  static float nan() { return _morvex_FLOAT_NAN; }
};

}  // namespace morvex::real

using morvex::real::asinacos_of;
using morvex::real4::kDegreesPerRadianDouble;

long double _morvex_asinfacosf(float x, int32_t selector) {
  return asinacos_of(x, selector != 0);
}
long double _morvex_asin(float x) { return asinacos_of(x, false); }
long double _morvex_acos(float x) { return asinacos_of(x, true); }
long double _morvex_asind(float x) { return asinacos_of(x, false) * kDegreesPerRadianDouble; }
long double _morvex_acosd(float x) { return asinacos_of(x, true) * kDegreesPerRadianDouble; }

MORVEX_BY_REF(long double, _morvex_I_asin, _morvex_asin, float)
MORVEX_BY_REF(long double, _morvex_I_acos, _morvex_acos, float)
MORVEX_BY_REF(long double, _morvex_I_asind, _morvex_asind, float)
MORVEX_BY_REF(long double, _morvex_I_acosd, _morvex_acosd, float)
