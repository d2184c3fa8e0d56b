// TANH of REAL*8 (method: real/hyperbolic.h). Beyond |x| = 19.0615474653985
// tanh x is +-1 to double precision.
#include <array>

#include "real8/constants8.h"
#include "entry.h"
#include "real/hyperbolic.h"
#include "real8/real8.h"

namespace morvex::real {

template <>
struct TanhConstants<double> {
  static constexpr double kLimit = f64(0x40330fc1931f09cb);
  static constexpr double kExpBranch = f64(0x3fe193ea7aad030b);  // ln 3 / 2
  static constexpr double kEps = real8::kEps;
  static constexpr std::array<double, 3> kP = {f64(0xc09935a5c9be1e18), f64(0xc058ce75a1ba5ccc),
                                               f64(0xbfeedc28cefba77f)};
  static constexpr std::array<double, 3> kQ = {f64(0x40b2e83c574e9693), f64(0x40a1738b4d01f0f3),
                                               f64(0x405c2fa9e1ebf7fa)};
};

}  // namespace morvex::real

long double _morvex_dtanh(double x) { return morvex::real::tanh_of(x); }

MORVEX_BY_REF(long double, _morvex_I_dtanh, _morvex_dtanh, double)
