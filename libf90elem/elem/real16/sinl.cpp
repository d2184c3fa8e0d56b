// SIN and COS of REAL*16, in radians and degrees, and the sine/cosine kernel
// that TAN, COTAN and the inverse functions share.
//
// Method: x = t pi + k pi/40 + u with t the integer nearest x/pi, |k| <= 20
// and |u| <= pi/80. The Taylor series of cos u - 1 and sin u - u are summed
// until a term falls below 1e-30 (full double-double terms while they exceed
// 1e-15 of the sum they join, 1 for the cosine and |u| for the sine, then
// terms kept in a double added to the trailing part), and
//   sin(k pi/40 + u) = cos u sin(k pi/40) + sin u cos(k pi/40)
//   cos(k pi/40 + u) = cos u cos(k pi/40) - sin u sin(k pi/40)
// with sin(k pi/40) and cos(k pi/40) = sin((20 - k) pi/40) from a table of 21
// entries; both change sign with t's parity.
//
// The reduction subtracts t pi and k pi/40 with pi and pi/40 held to three
// doubles (about 160 bits) and every product exact: x.hi - t pi.hi and the
// result minus k (pi/40).hi cancel exactly, and only the small terms left
// are rounded. The remainder is then good to about 2^-106 of |u| (or of an
// ulp of x, which is smaller for |x| up to 1e6) instead of carrying
// |t| times the error of a double-double pi; this keeps the results accurate
// near the zeros of the cosine as well. t's parity is read from t itself, so
// it stays right beyond the INTEGER*4 range.
//
// Special cases: an infinite or NaN x gives (NaN, +0). For huge x (|x/pi|
// near 2^52 and beyond) the remainder is of no significance; where it comes
// out above pi in magnitude it is replaced by zero, and the functions return
// their values at zero with t's sign.
//
// Accuracy: within about 1e-31 relative for |x| up to 1e6 (sweeps in
// tests/elem/real16/trig_test.cpp). The degree forms multiply by the
// double-double pi/180 first: their relative error grows with |x|, as that
// product's rounding does.
#include <cmath>

#include "real16/trig.h"

namespace dd = morvex::dd;

namespace morvex::real16 {
namespace {

#include "real16/trig_table.inc"

constexpr double kSeriesEnd = 1e-30;  // 0x39b4484bfeebc2a0
constexpr double kFullTerm = 1e-15;   // 0x3cd203af9ee75616
// The tangent where the cosine's high part is zero: four units below the
// largest double.
constexpr uint64_t kTangentAtPole = 0x7feffffffffffffb;

// a rounded to the nearest integer, halfway cases away from zero (from 2^52
// on every double is already integral).
double nearest_integer(double a) {
  if (!(std::fabs(a) < 0x1p52)) return a;
  return dd::trunc_part(a >= 0.0 ? a + 0.5 : a - 0.5);
}

bool is_odd(double t) {
  if (!(std::fabs(t) < 0x1p53)) return false;  // from 2^53 on every double is even
  const double half = t * 0.5;
  return dd::trunc_part(half) != half;
}

// One step of the series: the next term u^n/n! from the previous one, added
// to (positive) or subtracted from (negative) the partial sum. While the
// previous term exceeds `full` the term is a full double-double value;
// after that it is formed in a double (its trailing part cleared) and goes
// into the sum's trailing part.
template <bool kExactHalving>
void series_step(DD& term, DD u, double n, bool positive, double full, DD& sum) {
  if (std::fabs(term.hi) > full) {
    term = dd::mul(term, u);
    if (kExactHalving && (n == 2.0 || n == 4.0 || n == 8.0)) {
      term = {term.hi / n, term.lo / n};  // exact
    } else {
      term = dd::div_d(term, n);
    }
    sum = positive ? dd::add(sum, term) : dd::sub(sum, term);
  } else {
    term = {(term.hi * u.hi) / n, 0.0};
    sum.lo = positive ? sum.lo + term.hi : sum.lo - term.hi;
  }
}

}  // namespace

bool reduce(DoubleDouble x, Reduced* r) {
  if (!std::isfinite(x.hi)) return false;
  const double* pi = kPiParts;
  const double* c = kPio40Parts;
  const double t = nearest_integer(dd::div(x, kPi).hi);
  const DD t0 = dd::prod(t, pi[0]);
  const DD t1 = dd::prod(t, pi[1]);
  const double t2 = t * pi[2];
  // x.hi and t pi.hi are within a factor of two of each other once t is not
  // zero, so their difference is exact.
  const double s0 = x.hi - t0.hi;
  // x - t pi to double precision: it picks k.
  const double r1 = s0 + (((x.lo - t0.lo) - t1.hi) - t2);
  int32_t k = 0;
  DD u = {0.0, 0.0};
  if (std::fabs(r1) <= pi[0]) {
    k = static_cast<int32_t>(nearest_integer(r1 / c[0]));  // |k| <= 40
    const double kd = static_cast<double>(k);
    const DD k0 = dd::prod(kd, c[0]);
    const DD k1 = dd::prod(kd, c[1]);
    // s0 and k (pi/40).hi cancel exactly as well; the terms left are of the
    // order of an ulp of x or of 2^-53 pi/2, largest first.
    u = dd::sub({s0, 0.0}, {k0.hi, 0.0});
    u = dd::add_d(u, x.lo);
    u = dd::sub_d(u, t0.lo);
    u = dd::sub_d(u, k0.lo);
    u = dd::sub(u, t1);
    u = dd::sub(u, k1);
    u = dd::sub_d(u, t2 + kd * c[2]);
  }
  // Otherwise the reduction has failed (the remainder is beyond pi): u = 0.
  bool negate = is_odd(t);
  // |k| up to 40 where x - t pi lies beyond pi/2: one more pi folds it back.
  if (k > 20) {
    k -= 40;
    negate = !negate;
  } else if (k < -20) {
    k += 40;
    negate = !negate;
  }
  *r = {u, k, negate};
  return true;
}

void sin_cos_reduced(const Reduced* r, DoubleDouble* sn, DoubleDouble* cs) {
  const DD u = r->u;
  DD c = {0.0, 0.0}, s = {0.0, 0.0};  // cos u - 1 and sin u - u
  DD term = u;
  double n = 2.0;
  bool positive = false;
  // cos u is about 1 and sin u about u: a term kept in a double (about 3
  // roundings of 2^-53 off) must stay below 1e-15 of the sum it joins.
  const double full_sine = kFullTerm * std::fabs(u.hi);
  while (std::fabs(term.hi) > kSeriesEnd) {
    series_step<true>(term, u, n, positive, kFullTerm, c);
    n += 1.0;
    series_step<false>(term, u, n, positive, full_sine, s);
    n += 1.0;
    positive = !positive;
  }
  const DD cu = dd::add_d(c, 1.0);
  const DD su = dd::add(s, u);
  const int32_t m = r->k < 0 ? -r->k : r->k;
  const DD sk = r->k < 0 ? dd::neg(kSinTable[m]) : kSinTable[m];
  const DD ck = kSinTable[20 - m];
  if (sn) {
    const DD v = dd::add(dd::mul(cu, sk), dd::mul(su, ck));
    *sn = r->negate ? dd::neg(v) : v;
  }
  if (cs) {
    const DD v = dd::sub(dd::mul(cu, ck), dd::mul(su, sk));
    *cs = r->negate ? dd::neg(v) : v;
  }
}

DoubleDouble* sct_reduced(DoubleDouble* res, const Reduced* r, int32_t mode) {
  DD sn, cs;
  sin_cos_reduced(r, mode != kCosine ? &sn : nullptr, mode != kSine ? &cs : nullptr);
  if (mode == kSine) return store(res, sn);
  if (mode == kCosine) return store(res, cs);
  if (cs.hi == 0.0) return store(res, {dd::from_bits(kTangentAtPole), 0.0});
  return store(res, dd::div(sn, cs));
}

}  // namespace morvex::real16

using namespace morvex::real16;

DoubleDouble* _morvex_sct(DoubleDouble* res, DoubleDouble x, int32_t mode) {
  Reduced r;
  if (!reduce(x, &r)) return store(res, {__builtin_nan(""), 0.0});
  return sct_reduced(res, &r, mode);
}

DoubleDouble* _morvex_sinl(DoubleDouble* res, DoubleDouble x) { return _morvex_sct(res, x, kSine); }
DoubleDouble* _morvex_cosl(DoubleDouble* res, DoubleDouble x) {
  return _morvex_sct(res, x, kCosine);
}
DoubleDouble* _morvex_sindl(DoubleDouble* res, DoubleDouble x) {
  return _morvex_sct(res, morvex::dd::mul(x, kDeg2Rad), kSine);
}
DoubleDouble* _morvex_cosdl(DoubleDouble* res, DoubleDouble x) {
  return _morvex_sct(res, morvex::dd::mul(x, kDeg2Rad), kCosine);
}

MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_sinl, _morvex_sinl, DoubleDouble)
MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_cosl, _morvex_cosl, DoubleDouble)
MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_sindl, _morvex_sindl, DoubleDouble)
MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_cosdl, _morvex_cosdl, DoubleDouble)
