// SINH of REAL*4 (method: real/hyperbolic.h), with the rational form
// x + x*g*(P0 + P1*g)/(Q0 + g) for eps < |x| <= 1.
#include <array>

#include "real4/constants4.h"
#include "entry.h"
#include "real/hyperbolic.h"
#include "real4/real4.h"

namespace morvex::real {

template <>
struct SinhConstants<float> {
  static constexpr float kEps = real4::kEps;
  static constexpr std::array<float, 2> kP = {f32(0xc0e469f0), f32(0xbe42e6c2)};
  static constexpr std::array<float, 1> kQ = {f32(0xc22b4f93)};
};

}  // namespace morvex::real

long double _morvex_sinh(float x) { return morvex::real::sinh_of(x); }

MORVEX_BY_REF(long double, _morvex_I_sinh, _morvex_sinh, float)
