// SINH of REAL*8 (method: real/hyperbolic.h).
#include <array>

#include "real8/constants8.h"
#include "entry.h"
#include "real/hyperbolic.h"
#include "real8/real8.h"

namespace morvex::real {

template <>
struct SinhConstants<double> {
  static constexpr double kEps = real8::kEps;
  static constexpr std::array<double, 4> kP = {f64(0xc115791356533419), f64(0xc0c695c2b6941490),
                                               f64(0xc06478416385be4a), f64(0xbfe944e7b86fc81b)};
  static constexpr std::array<double, 3> kQ = {f64(0xc1401ace80be6713), f64(0x40e1a85723b65ec7),
                                               f64(0xc0715bc381c97ff2)};
};

}  // namespace morvex::real

long double _morvex_dsinh(double x) { return morvex::real::sinh_of(x); }

MORVEX_BY_REF(long double, _morvex_I_dsinh, _morvex_dsinh, double)
