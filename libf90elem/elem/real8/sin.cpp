// SIN and COS of REAL*8, in radians and degrees (method: real/sin.h).
// The reduced argument is limited to 298156835.16176 (about pi * 2^26.5);
// beyond it, for infinities and for NaN the result is +0.0. The degree forms
// take the sine or cosine of x * (pi/180), the product rounded to REAL*8 as
// the argument of sincos.
#include <array>

#include "real8/constants8.h"
#include "entry.h"
#include "real/sin.h"
#include "real8/real8.h"

namespace morvex::real {

template <>
struct SinConstants<double> {
  static constexpr double kHalfPi = real8::kHalfPi;
  static constexpr double kLimit = f64(0x41b1c5832329691a);
  static constexpr double kInvPi = f64(0x3fd45f306dc9c883);
  static constexpr double kC1 = f64(0x4009220000000000);  // 3.1416015625
  static constexpr double kC2 = f64(0xbee2aeef4b9ee59e);  // pi - C1
  static constexpr double kEps = real8::kEps;
  static constexpr std::array<double, 8> kR = {
      f64(0xbfc5555555555555), f64(0x3f811111111110b0), f64(0xbf2a01a01a013e1a),
      f64(0x3ec71de3a524f063), f64(0xbe5ae6454b5dc0ab), f64(0x3de6123c686ad430),
      f64(0xbd6ae420dc08499c), f64(0x3ce880ff6993df95)};
};

}  // namespace morvex::real

using morvex::real::sincos_of;
using morvex::real8::kRadiansPerDegree;

long double _morvex_sincos(double x, int32_t selector) { return sincos_of(x, selector != 0); }
long double _morvex_dsin(double x) { return sincos_of(x, false); }
long double _morvex_dcos(double x) { return sincos_of(x, true); }
long double _morvex_dsind(double x) {
  return sincos_of(x87::round_to<double>(x * static_cast<long double>(kRadiansPerDegree)), false);
}
long double _morvex_dcosd(double x) {
  return sincos_of(x87::round_to<double>(x * static_cast<long double>(kRadiansPerDegree)), true);
}

MORVEX_BY_REF(long double, _morvex_I_dsin, _morvex_dsin, double)
MORVEX_BY_REF(long double, _morvex_I_dcos, _morvex_dcos, double)
MORVEX_BY_REF(long double, _morvex_I_dsind, _morvex_dsind, double)
MORVEX_BY_REF(long double, _morvex_I_dcosd, _morvex_dcosd, double)
