// REAL*16 MOD, DIM, ABS and SIGN.
//
// MOD(a, b) = a - AINT(a / b) * b with the double-double operations; it has
// the sign of a. A zero or NaN b.hi gives (quiet NaN, +0). The quotient is
// rounded to about 106 bits before AINT, so for quotients near 2^106 and
// beyond the result is not the exact remainder.
// DIM(a, b) = a - b when that is >= 0, else (+0, +0) (also for NaN).
// ABS negates both parts when hi < 0: -0 and NaN come back unchanged.
// SIGN gives a the sign of b.hi, a zero or NaN b.hi counting as positive;
// both parts of a are negated when the signs differ.
#include <cmath>

#include "constants.h"
#include "real16/real16.h"
#include "real16/rounding.h"

namespace dd = morvex::dd;
using dd::DD;
using dd::store;

DoubleDouble* _morvex_fmodl(DoubleDouble* res, DoubleDouble a, DoubleDouble b) {
  if (b.hi == 0.0 || std::isnan(b.hi)) return store(res, {_morvex_DOUBLE_NAN, 0.0});
  const DD t = dd::aint_dd(dd::div(a, b));
  return store(res, dd::sub(a, dd::mul(t, b)));
}
MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_fmodl, _morvex_fmodl, DoubleDouble, DoubleDouble)

DoubleDouble* _morvex_fdiml(DoubleDouble* res, DoubleDouble a, DoubleDouble b) {
  const DD d = dd::sub(a, b);
  return store(res, d.hi >= 0.0 ? d : DD{0.0, 0.0});
}
MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_fdiml, _morvex_fdiml, DoubleDouble, DoubleDouble)

DoubleDouble* _morvex_fabsl(DoubleDouble* res, DoubleDouble x) {
  return store(res, x.hi < 0.0 ? dd::neg(x) : x);
}
MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_fabsl, _morvex_fabsl, DoubleDouble)

DoubleDouble* _morvex_copysignl(DoubleDouble* res, DoubleDouble a, DoubleDouble b) {
  const bool b_negative = std::signbit(b.hi) && b.hi != 0.0 && !std::isnan(b.hi);
  return store(res, std::signbit(a.hi) != b_negative ? dd::neg(a) : a);
}
MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_copysignl, _morvex_copysignl, DoubleDouble, DoubleDouble)
