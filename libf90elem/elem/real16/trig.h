// Shared pieces of the REAL*16 trigonometric functions: their double-double
// constants, the kernel, and the REAL*8 functions that give the inverse
// functions their starting values.
//
// Every constant is a (hi, lo) pair of doubles given by its bit patterns.
#pragma once

#include <cstdint>

#include "real16/real16_math.h"
#include "real8/real8.h"
#include "real16/trig_kernel.h"

namespace morvex::real16 {

// pi, pi/2, pi/4. (The reduction uses pi and pi/40 to three doubles:
// trig_table.inc.)
inline constexpr DD kPi = dd_bits(0x400921fb54442d18, 0x3ca1a62633145c02);
inline constexpr DD kPio2 = dd_bits(0x3ff921fb54442d18, 0x3c91a62633145c02);
inline constexpr DD kPio4 = dd_bits(0x3fe921fb54442d18, 0x3c81a62633145c04);
// pi/180 and 180/pi.
inline constexpr DD kDeg2Rad = dd_bits(0x3f91df46a2529d39, 0x3c15c1d8becdd28c);
inline constexpr DD kRad2Deg = dd_bits(0x404ca5dc1a63c1f8, 0xbce1e7ab456405fa);
// tan(pi/8) = sqrt 2 - 1 and tan(3 pi/8) = sqrt 2 + 1: the arctangent's folds.
inline constexpr DD kTanPi8 = dd_bits(0x3fda827999fcef32, 0x3c708b2fb1366ea5);
inline constexpr DD kTan3Pi8 = dd_bits(0x4003504f333f9de6, 0x3ca21165f626cdd4);
inline constexpr DD kOne = {1.0, 0.0};

// The arcsine and arccosine switch to the half-angle forms from here on.
inline constexpr double kAsinHalfAngle = 0.866;  // 0x3febb645a1cac083

// The REAL*8 two-argument arctangent, arcsine and arccosine as doubles (the
// long double they leave in st(0) stored once): the starting values of the
// inverse functions.
inline double datan2(double y, double x) { return static_cast<double>(_morvex_datan2(y, x)); }
inline double dasin(double x) { return static_cast<double>(_morvex_asinacos(x, 0)); }
inline double dacos(double x) { return static_cast<double>(_morvex_asinacos(x, 1)); }

// An inverse function's result in degrees: multiplied by 180/pi.
template <DoubleDouble* (*F)(DoubleDouble*, DoubleDouble)>
DoubleDouble* in_degrees(DoubleDouble* res, DoubleDouble x) {
  DD r;
  F(&r, x);
  return store(res, dd::mul(r, kRad2Deg));
}

// The kernel's result as a value.
[[gnu::always_inline]] inline DD sct(DD x, int32_t mode) {
  DD r;
  _morvex_sct(&r, x, mode);
  return r;
}

}  // namespace morvex::real16

using morvex::DoubleDouble;

// The entry points of this family (all by value; the _morvex_I_ twins are
// defined beside them).
F90_API DoubleDouble* _morvex_sinl(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_cosl(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_tanl(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_cotl(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_sindl(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_cosdl(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_tandl(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_asinl(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_acosl(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_atanl(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_atan2l(DoubleDouble* res, DoubleDouble y, DoubleDouble x);
F90_API DoubleDouble* _morvex_asindl(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_acosdl(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_atandl(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_atan2dl(DoubleDouble* res, DoubleDouble y, DoubleDouble x);
