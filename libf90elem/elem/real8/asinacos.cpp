// ASIN and ACOS of REAL*8, in radians and degrees (method: real/asin.h).
// |x| > 1 gives NaN. The degree forms multiply the unrounded result by
// 180/pi at the caller's precision.
#include <array>

#include "constants.h"
#include "real8/constants8.h"
#include "entry.h"
#include "real/asin.h"
#include "real8/real8.h"

namespace morvex::real {

template <>
struct AsinConstants<double> {
  static constexpr double kEps = real8::kEps;
  static constexpr std::array<double, 5> kP = {f64(0xc03b5e55a83a0a62), f64(0x404c9aa7360ad48a),
                                               f64(0xc043d82ca9a6da9f), f64(0x40244e1764ec3927),
                                               f64(0xbfe64bbdb5e61e65)};
  static constexpr std::array<double, 5> kQ = {f64(0xc06486c03e2b87cc), f64(0x407a124f101eb843),
                                               f64(0xc077ddcefc56a848), f64(0x4062de7c96591c70),
                                               f64(0xc037d2e86ef9861f)};
  static constexpr double kPio4 = real8::kQuarterPi;
  static constexpr double kPio2 = real8::kHalfPi;
  static double nan() { return _morvex_DOUBLE_NAN; }
};

}  // namespace morvex::real

using morvex::real::asinacos_of;
using morvex::real8::kDegreesPerRadian;

long double _morvex_asinacos(double x, int32_t selector) { return asinacos_of(x, selector != 0); }
long double _morvex_dasin(double x) { return asinacos_of(x, false); }
long double _morvex_dacos(double x) { return asinacos_of(x, true); }
long double _morvex_dasind(double x) { return asinacos_of(x, false) * kDegreesPerRadian; }
long double _morvex_dacosd(double x) { return asinacos_of(x, true) * kDegreesPerRadian; }

MORVEX_BY_REF(long double, _morvex_I_dasin, _morvex_dasin, double)
MORVEX_BY_REF(long double, _morvex_I_dacos, _morvex_dacos, double)
MORVEX_BY_REF(long double, _morvex_I_dasind, _morvex_dasind, double)
MORVEX_BY_REF(long double, _morvex_I_dacosd, _morvex_dacosd, double)
