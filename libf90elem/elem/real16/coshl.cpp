// COSH of REAL*16.
//
// Method: (e + 1/e) / 2 with e = exp(|x|). Taking |x| makes cosh even bit for
// bit: exp(-x) is not exactly 1/exp(x), nor is the double-double sum
// commutative in its last bits.
//
// Special cases: x.hi = +-0 or NaN gives (1, 0). Where exp overflows the
// result is (+Inf, +0).
//
// Accuracy: as exp.
#include <cmath>

#include "real16/real16_math.h"

namespace dd = morvex::dd;
using namespace morvex::real16;

DoubleDouble* _morvex_coshl(DoubleDouble* res, DoubleDouble x) {
  if (x.hi == 0.0 || std::isnan(x.hi)) return store(res, {1.0, 0.0});
  const DD a = abs_dd(x);
  DD e;
  _morvex_expl(&e, a);
  const DD r = dd::mul_d(dd::add(e, dd::d_div(1.0, e)), 0.5);
  if (!std::isfinite(r.hi)) return store(res, {HUGE_VAL, 0.0});
  return store(res, r);
}

MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_coshl, _morvex_coshl, DoubleDouble)
