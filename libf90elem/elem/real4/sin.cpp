// SIN and COS of REAL*4, in radians and degrees (method: real/sin.h), with
// pi split as C1 = 3.140625 plus C2 and a sine polynomial of degree 9.
//
// The reduced argument is limited to 6746519040 (2^31 times pi as a REAL*4,
// the largest value for which |x|/pi + 0.5 stays below 2^31, so the
// quotient still fits the integer store); beyond it, for infinities and for
// NaN the result is +0.0. The reduction with a two-part pi is right to an
// absolute error of about |x| * 2^-33, so for large arguments the error near
// a zero of the function is large in ulps. The degree forms take the sine or
// cosine of x * (pi/180 as a REAL*4), the product rounded to REAL*4.
#include <array>

#include "constants4.h"
#include "entry.h"
#include "real/sin.h"
#include "real4.h"

namespace morvex::real {

template <>
struct SinConstants<float> {
  static constexpr float kHalfPi = real4::kHalfPi;
  static constexpr float kLimit = f32(0x4fc90fdb);
  static constexpr float kInvPi = f32(0x3ea2f983);
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

MORVEX_BY_REF(long double, sin, float)
MORVEX_BY_REF(long double, cos, float)
MORVEX_BY_REF(long double, sind, float)
MORVEX_BY_REF(long double, cosd, float)
