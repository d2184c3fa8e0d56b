// ATAN2 of REAL*8, in radians and degrees (method: real/atan2.h). The
// radian result is rounded to REAL*8; the degree form multiplies it by
// 180/pi at the caller's precision.
#include "real8/constants8.h"
#include "entry.h"
#include "real/atan2.h"
#include "real8/real8.h"

namespace morvex::real {

template <>
struct Atan2Constants<double> {
  static constexpr double kPi = real8::kPi;
  static constexpr double kHalfPi = real8::kHalfPi;
};

}  // namespace morvex::real

using morvex::real::atan2_of;

long double _morvex_datan2(double y, double x) { return atan2_of(y, x); }
long double _morvex_datan2d(double y, double x) {
  return atan2_of(y, x) * morvex::real8::kDegreesPerRadian;
}

MORVEX_BY_REF(long double, _morvex_I_datan2, _morvex_datan2, double, double)
MORVEX_BY_REF(long double, _morvex_I_datan2d, _morvex_datan2d, double, double)
