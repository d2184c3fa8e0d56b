// TAN and COTAN of REAL*8, in radians, and TAN in degrees (method:
// real/tan.h). |x| beyond 149078417.58088 and NaN give +0.0. dcot is
// 1/tan(x) formed from the unrounded tangent: dcot(+-0.0) = +Inf, and beyond
// the limit +Inf. dtand takes the tangent of
// x * (pi/180) rounded to REAL*8.
#include <array>

#include "real8/constants8.h"
#include "entry.h"
#include "real/tan.h"
#include "real8/real8.h"

namespace morvex::real {

template <>
struct TanConstants<double> {
  static constexpr double kLimit = f64(0x41a1c5832329691a);
  static constexpr double kTwoOverPi = f64(0x3fe45f306dc9c883);
  static constexpr double kC1 = f64(0x3ff9220000000000);  // 1.57080078125
  static constexpr double kC2 = f64(0xbed2aeef4b9ee59e);  // pi/2 - C1
  static constexpr double kEps = real8::kEps;
  static constexpr std::array<double, 3> kP = {f64(0xbfc112b5e54d0900), f64(0x3f6c0e82a63baadf),
                                               f64(0xbef2bab72ea2c724)};
  static constexpr std::array<double, 5> kQ = {f64(0x3ff0000000000000), f64(0xbfdddeb047fbd9d5),
                                               f64(0x3f9a479ea17e2159), f64(0xbf346f6499094841),
                                               f64(0x3ea0b774f07678e9)};
};

}  // namespace morvex::real

using morvex::real::tan_of;

long double _morvex_dtan(double x) { return tan_of(x); }
long double _morvex_dtand(double x) {
  return tan_of(
      x87::round_to<double>(x * static_cast<long double>(morvex::real8::kRadiansPerDegree)));
}
long double _morvex_dcot(double x) { return 1.0L / tan_of(x); }

MORVEX_BY_REF(long double, _morvex_I_dtan, _morvex_dtan, double)
MORVEX_BY_REF(long double, _morvex_I_dtand, _morvex_dtand, double)
MORVEX_BY_REF(long double, _morvex_I_dcot, _morvex_dcot, double)
