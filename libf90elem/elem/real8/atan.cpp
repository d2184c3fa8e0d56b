// ATAN of REAL*8, in radians and degrees (method: real/atan.h). The degree
// form multiplies the unrounded result by 180/pi.
#include <array>

#include "real8/constants8.h"
#include "entry.h"
#include "real/atan.h"
#include "real8/real8.h"

namespace morvex::real {

template <>
struct AtanConstants<double> {
  static constexpr double kTwoMinusSqrt3 = f64(0x3fd126145e9ecd56);
  static constexpr double kSqrt3Minus1 = f64(0x3fe76cf5d0b09955);
  static constexpr double kSqrt3 = f64(0x3ffbb67ae8584caa);
  static constexpr double kEps = real8::kEps;
  static constexpr std::array<double, 4> kP = {f64(0xc02b60a651061ce2), f64(0xc034817fb9e2bccb),
                                               f64(0xc020fd3f5c8d6a63), f64(0xbfeacd7ad9b187bd)};
  static constexpr std::array<double, 4> kQ = {f64(0x4044887cbcc495a9), f64(0x40558a12040b6da5),
                                               f64(0x404dca0a320da3d7), f64(0x402e0c49e14ac710)};
  static constexpr std::array<double, 4> kAdd = {0.0, f64(0x3fe0c152382d7366),  // pi/6
                                                 real8::kHalfPi,
                                                 f64(0x3ff0c152382d7366)};  // pi/3
};

}  // namespace morvex::real

using morvex::real::atan_of;

long double _morvex_datan(double x) { return atan_of(x); }
long double _morvex_datand(double x) { return atan_of(x) * morvex::real8::kDegreesPerRadian; }

MORVEX_BY_REF(long double, _morvex_I_datan, _morvex_datan, double)
MORVEX_BY_REF(long double, _morvex_I_datand, _morvex_datand, double)
