// SQRT of REAL*16.
//
// Method: s = the correctly rounded square root of x.hi; one Newton step
// corrects it with the exact residual x - s^2 (s^2 formed exactly as a
// double-double product): c = ((x - s^2) / 2) / s, result s + c renormalised.
//
// Special cases: x.hi < 0 gives (NaN, +0); x.hi = +-0 or NaN gives (+0, +0);
// x.hi = +Inf gives (+Inf, +0).
//
// Accuracy: within about 2^-104 relative.
#include <cmath>

#include "real16/real16_math.h"

namespace dd = morvex::dd;
using namespace morvex::real16;

namespace {

// The processor's square root of a double (correctly rounded).
inline double hardware_sqrt(double x) {
  double r;
  __asm__("sqrtsd %1, %0" : "=x"(r) : "x"(x));
  return r;
}

}  // namespace

DoubleDouble* _morvex_sqrtl(DoubleDouble* res, DoubleDouble x) {
  if (x.hi < 0.0) return store(res, {__builtin_nan(""), 0.0});
  if (x.hi == 0.0 || std::isnan(x.hi)) return store(res, {0.0, 0.0});
  // The exact square of an infinite root has a NaN error term.
  if (std::isinf(x.hi)) return store(res, {x.hi, 0.0});
  const double s = hardware_sqrt(x.hi);
  const DD p = dd::prod(s, s);
  const double c = ((((x.hi - p.hi) - p.lo) + x.lo) * 0.5) / s;
  return store(res, dd::renorm(s, c));
}

MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_sqrtl, _morvex_sqrtl, DoubleDouble)
