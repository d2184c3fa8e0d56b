// TANH of REAL*4 (method: real/hyperbolic.h). Beyond |x| = 9.010917663574219
// tanh x is +-1 to single precision; the exponential branch starts above
// ln 3 / 2, the rational form |x| + |x|*g*(P0 + P1*g)/(Q0 + g) serves below.
#include <array>

#include "real4/constants4.h"
#include "entry.h"
#include "real/hyperbolic.h"
#include "real4/real4.h"

namespace morvex::real {

template <>
struct TanhConstants<float> {
  static constexpr float kLimit = f32(0x41102cb8);
  static constexpr float kExpBranch = f32(0x3f0c9f54);  // ln 3 / 2
  static constexpr float kEps = real4::kEps;
  static constexpr std::array<float, 2> kP = {f32(0xbf52e2c6), f32(0xbb7b11b2)};
  static constexpr std::array<float, 1> kQ = {f32(0x401e2a1a)};
};

}  // namespace morvex::real

long double _morvex_tanh(float x) { return morvex::real::tanh_of(x); }

MORVEX_BY_REF(long double, _morvex_I_tanh, _morvex_tanh, float)
