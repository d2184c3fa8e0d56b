// Argument reduction of REAL*16 by a period p: r = x - k p with k the
// integer nearest x / p (halfway cases away from zero), for the
// trigonometric functions.
//
// Method: t = x.hi / p.hi's double-double quotient rounded to an integral
// double; r = ((x.hi - t p.hi) + x.lo) - t p.lo, where each product of t with
// a part of p is exact, so only the roundings of the three double-double
// additions enter. k is t as an INTEGER*4 (0x80000000 when t is out of range).
//
// Special cases: p.hi = 0 or NaN gives r = (NaN, +0) and leaves k unwritten.
// When the parts of p cannot cancel a quotient that large, |r| comes out
// above |p|: the reduction has failed and r is (+0, +0).
#include <cmath>

#include "real/rounding.h"
#include "real16/real16_math.h"
#include "x87.h"

namespace dd = morvex::dd;
using namespace morvex::real16;

void _morvex_qmodr(DoubleDouble x, DoubleDouble p, int32_t* k, DoubleDouble* r) {
  if (p.hi == 0.0 || std::isnan(p.hi)) {
    *r = {__builtin_nan(""), 0.0};
    return;
  }
  const DD q = dd::div(x, p);
  // The nearest integer, as REAL*8 AINT of q.hi +- 0.5 (truncation).
  const double biased = q.hi >= 0.0 || std::isnan(q.hi) ? q.hi + 0.5 : q.hi - 0.5;
  const double t = morvex::real::trunc_bits(biased);
  *k = x87::store_int32(t);
  DD v = dd::sub({x.hi, 0.0}, dd::prod(t, p.hi));
  v = dd::add({x.lo, 0.0}, v);
  v = dd::sub(v, dd::prod(t, p.lo));
  if (std::fabs(v.hi) >= std::fabs(p.hi)) {
    if (_morvex_qcompare(abs_dd(v), abs_dd(p)) == 1) v = {0.0, 0.0};
  }
  *r = v;
}
