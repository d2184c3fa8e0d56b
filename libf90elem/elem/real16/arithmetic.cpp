// REAL*16 arithmetic entry points: addition, subtraction, negation, the exact
// product of two doubles, multiplication and division, with their mixed
// REAL*8 and INTEGER*4 forms, and the two comparisons.
//
// The formulas are those of dd.h, evaluated in SSE2 double arithmetic: the
// results do not depend on the caller's x87 control word. Every result but
// qprod's and qneg's is renormalised (hi = fl(hi + lo)). No operand is tested:
// infinities and NaNs flow through the formulas (both parts NaN), a finite
// result beyond the double range is (+-Inf, +0), and x / 0 for a finite
// non-zero x is (+-Inf, +0).
#include "real16/dd.h"
#include "real16/real16.h"

namespace dd = morvex::dd;
using dd::store;

DoubleDouble* _morvex_qadd(DoubleDouble* res, DoubleDouble a, DoubleDouble b) {
  return store(res, dd::add(a, b));
}

DoubleDouble* _morvex_qaddd(DoubleDouble* res, DoubleDouble a, double d) {
  return store(res, dd::add_d(a, d));
}

DoubleDouble* _morvex_qsub(DoubleDouble* res, DoubleDouble a, DoubleDouble b) {
  return store(res, dd::sub(a, b));
}

DoubleDouble* _morvex_qsubd(DoubleDouble* res, DoubleDouble a, double d) {
  return store(res, dd::sub_d(a, d));
}

DoubleDouble* _morvex_dsubq(DoubleDouble* res, double d, DoubleDouble b) {
  return store(res, dd::d_sub(d, b));
}

// Both sign bits flip; NaN payloads and zeros keep everything else.
DoubleDouble* _morvex_qneg(DoubleDouble* res, DoubleDouble a) { return store(res, dd::neg(a)); }

DoubleDouble* _morvex_qprod(DoubleDouble* res, double x, double y) {
  return store(res, dd::prod(x, y));
}
MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_qprod, _morvex_qprod, double, double)

DoubleDouble* _morvex_qmul(DoubleDouble* res, DoubleDouble a, DoubleDouble b) {
  return store(res, dd::mul(a, b));
}

DoubleDouble* _morvex_qmuld(DoubleDouble* res, DoubleDouble a, double d) {
  return store(res, dd::mul_d(a, d));
}

DoubleDouble* _morvex_qmuli(DoubleDouble* res, DoubleDouble a, int32_t n) {
  return store(res, dd::mul_i(a, n));
}

DoubleDouble* _morvex_qdiv(DoubleDouble* res, DoubleDouble a, DoubleDouble b) {
  return store(res, dd::div(a, b));
}

DoubleDouble* _morvex_qdivd(DoubleDouble* res, DoubleDouble a, double d) {
  return store(res, dd::div_d(a, d));
}

DoubleDouble* _morvex_ddivq(DoubleDouble* res, double d, DoubleDouble b) {
  return store(res, dd::d_div(d, b));
}

// The sign of the exact difference decides, also beyond the double range
// (sub then gives +-Inf). Equal infinities are unordered too.
int32_t _morvex_qcmp(DoubleDouble a, DoubleDouble b) {
  if (dd::is_special(a.hi) || dd::is_special(b.hi)) return QCMP_UNORDERED;
  const double d = dd::sub(a, b).hi;
  if (d < 0.0) return QCMP_LESS;
  if (d == 0.0) return QCMP_EQUAL;
  return QCMP_GREATER;
}

// An infinite or NaN operand leaves a NaN difference, which counts as 0.
int32_t _morvex_qcompare(DoubleDouble a, DoubleDouble b) {
  const double d = dd::sub(a, b).hi;
  if (d > 0.0) return 1;
  if (d < 0.0) return -1;
  return 0;
}
