// EXP of REAL*8 (method: real/exp.h). Upper limit 709.782712893384, the
// largest double whose exponential is finite; above it, and for NaN, +Inf.
// Below -708.396418532264 (where e^x leaves the normal range) +0.0.
#include <array>

#include "constants.h"
#include "entry.h"
#include "real/exp.h"
#include "real8/real8.h"

namespace morvex::real {

template <>
struct ExpConstants<double> {
  static constexpr double kUpper = f64(0x40862e42fefa39ef);
  static constexpr double kLower = f64(0xc086232bdd7abcd1);
  static constexpr double kInvLn2 = f64(0x3ff71547652b82fe);
  static constexpr double kC1 = f64(0x3fe6300000000000);  // 0.693359375
  static constexpr double kC2 = f64(0xbf2bd0105c610ca8);  // ln 2 - C1
  static constexpr std::array<double, 3> kP = {f64(0x3fd0000000000000), f64(0x3f7c70e46fb3f6e0),
                                               f64(0x3ef152a46f58dc1c)};
  static constexpr std::array<double, 3> kQ = {f64(0x3fe0000000000000), f64(0x3fac718e714251b3),
                                               f64(0x3f403f996fde3809)};
  static double overflow() { return _morvex_DOUBLE_INF; }
};

}  // namespace morvex::real

long double _morvex_dexp(double x) { return morvex::real::exp_of(x); }

MORVEX_BY_REF(long double, _morvex_I_dexp, _morvex_dexp, double)
