// SIN and COS of REAL*4, in radians and degrees (method: real/sin.h), with
// pi split as C1 = 3.140625 plus C2 and a sine polynomial of degree 9.
//
// The reduced argument is limited to 6746518528, the largest REAL*4 for
// which |x|/pi + 0.5 stays below 2^31, so the quotient still fits the
// integer store; beyond it, for infinities and for NaN the result is +0.0. The quotient is formed with 1/pi as a REAL*8, so
// it is the nearest integer up to the limit. C1 + C2 differs from pi by
// 5.3e-11, so the reduced argument carries an absolute error of about
// |x| * 1.7e-11 (0.1 at the limit): near a zero of the function the error
// in ulps is large for large arguments. The degree forms take the sine or
// cosine of x * (pi/180 as a REAL*4), the product rounded to REAL*4.
#include <array>

#include "real4/constants4.h"
#include "entry.h"
#include "real/sin.h"
#include "real4/real4.h"

namespace morvex::real {

template <>
struct SinConstants<float> {
  static constexpr float kHalfPi = real4::kHalfPi;
  static constexpr float kLimit = f32(0x4fc90fda);
  // 1/pi as a REAL*8: the REAL*4 value (0x3ea2f983) is 4e-8 too small,
  // which picks the wrong multiple of pi from about 1.2e7 on.
  static constexpr double kInvPi = f64(0x3fd45f306dc9c883);
  static constexpr float kC1 = f32(0x40490000);  // 3.140625
  static constexpr float kC2 = f32(0x3a7daa23);  // pi - C1
  static constexpr float kEps = real4::kEps;
  static constexpr std::array<float, 4> kR = {f32(0xbe2aaaa4), f32(0x3c08873e), f32(0xb94fb222),
                                              f32(0x362e9c5b)};
};

}  // namespace morvex::real

using morvex::real::sincos_of;
using morvex::real4::kRadiansPerDegree;

namespace {

float degrees_to_radians(float x) {
  return x87::round_to<float>(x * static_cast<long double>(kRadiansPerDegree));
}

}  // namespace

long double _morvex_sinfcosf(float x, int32_t selector) { return sincos_of(x, selector != 0); }
long double _morvex_sin(float x) { return sincos_of(x, false); }
long double _morvex_cos(float x) { return sincos_of(x, true); }
long double _morvex_sind(float x) { return sincos_of(degrees_to_radians(x), false); }
long double _morvex_cosd(float x) { return sincos_of(degrees_to_radians(x), true); }

MORVEX_BY_REF(long double, _morvex_I_sin, _morvex_sin, float)
MORVEX_BY_REF(long double, _morvex_I_cos, _morvex_cos, float)
MORVEX_BY_REF(long double, _morvex_I_sind, _morvex_sind, float)
MORVEX_BY_REF(long double, _morvex_I_cosd, _morvex_cosd, float)
