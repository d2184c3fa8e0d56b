// TANH of REAL*16.
//
// Method: beyond 512 ln 2 the result is +-1 to double-double precision; from
// 0.625 on, 1 - 2/(e^(2|x|) + 1) with x's sign; below, the rational
// approximation tanh x = x + x z P(z)/Q(z), z = x^2 (degrees 5 and 5, from
// tools/gen_real16_coefficients.py).
//
// Special cases: NaN gives NaN; +-Inf gives (+-1, +0).
//
// Accuracy: about 2^-104 relative.
#include <cmath>

#include "real16/real16_math.h"

namespace dd = morvex::dd;
using namespace morvex::real16;

namespace {

constexpr double kRationalLimit = 0.625;

}  // namespace

DoubleDouble* _morvex_tanhl(DoubleDouble* res, DoubleDouble x) {
  const DD a = abs_dd(x);
  // (An infinite |x| would make the difference NaN: test it by itself.)
  if (std::isinf(x.hi) || dd::sub(a, kTanhLimit).hi > 0.0)
    return store(res, {x.hi < 0.0 ? -1.0 : 1.0, 0.0});
  if (a.hi >= kRationalLimit) {
    DD e;
    _morvex_expl(&e, dd::mul_d(a, 2.0));
    const DD r = dd::d_sub(1.0, dd::d_div(2.0, dd::add_d(e, 1.0)));
    return store(res, x.hi < 0.0 ? dd::neg(r) : r);
  }
  const DD z = dd::mul(x, x);
  const DD r = dd::div(poly(z, kTanhP, 5), poly_monic(z, kTanhQ, 5));
  return store(res, dd::add(x, dd::mul(x, dd::mul(z, r))));
}

MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_tanhl, _morvex_tanhl, DoubleDouble)
