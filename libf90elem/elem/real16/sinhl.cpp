// SINH of REAL*16.
//
// Method: for |x| <= 0.05 the Taylor series x + x^3/3! + x^5/5! + ...,
// summed until a term falls below 2^-106 |x| (at most kMaxTerms terms; a
// handful suffice); beyond, (e - 1/e) / 2 with e = exp(x).
//
// Special cases: x.hi = +-0 or NaN gives (+0, +0). Where exp overflows (or,
// for negative x, underflows so that 1/e does) the result is (+-Inf, +0)
// with x's sign.
//
// Accuracy: about 2^-104 relative on the series; as exp beyond it.
#include <cmath>

#include "real16/real16_math.h"

namespace dd = morvex::dd;
using namespace morvex::real16;

namespace {

constexpr double kSeriesLimit = 0.05;
constexpr double kTolerance = 0x1.ffffffffffff9p-107;  // just below 2^-106
constexpr int kMaxTerms = 40;

DD series(DD x) {
  DD sum = x, term = x;
  const DD v = dd::mul(x, x);
  const double tol = std::fabs(x.hi * kTolerance);
  double k = 1.0;
  for (int i = 0; i < kMaxTerms; ++i) {
    k += 2.0;
    term = dd::div_d(dd::mul(term, v), (k - 1.0) * k);
    sum = dd::add(sum, term);
    const DD a = abs_dd(term);
    if (dd::sub_d(a, tol).hi <= 0.0) break;
  }
  return sum;
}

}  // namespace

DoubleDouble* _morvex_sinhl(DoubleDouble* res, DoubleDouble x) {
  if (x.hi == 0.0 || std::isnan(x.hi)) return store(res, {0.0, 0.0});
  const DD a = abs_dd(x);
  if (dd::sub_d(a, kSeriesLimit).hi <= 0.0) return store(res, series(x));
  DD e;
  _morvex_expl(&e, x);
  const DD r = dd::mul_d(dd::sub(e, dd::d_div(1.0, e)), 0.5);
  if (!std::isfinite(r.hi)) return store(res, {std::copysign(HUGE_VAL, x.hi), 0.0});
  return store(res, r);
}

MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_sinhl, _morvex_sinhl, DoubleDouble)
