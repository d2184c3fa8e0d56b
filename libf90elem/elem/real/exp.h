// EXP, shared by the REAL*4 and REAL*8 elementals (Cody and Waite).
//
// Method: n = x/ln 2 rounded half away from zero (the sum t +- 0.5 stored as
// an integer rounded toward zero: |t| stays far below 2^31 within the
// limits); g = (x - n*C1) - n*C2 with C1 + C2 = ln 2,
// C1 short so that n*C1 is exact; e^g = 2*r with
// r = 0.5 + g*P(g^2) / (Q(g^2) - g*P(g^2)), r rounded to the kind; the result
// is r * 2^(n+1), scaled in the x87 (fscale): for a normal result that is r
// with n + 1 added to its exponent field, and it stays right where the field
// would leave the normal range (the top of the range, subnormal results).
//
// Special cases: x above the upper limit, or NaN, gives +Inf; x below the
// lower limit gives +0.0.
//
// Constants, per kind, in ExpConstants<T>: kUpper, kLower, kInvLn2, kC1,
// kC2, kP (P0 + P1*z + ...), kQ (0.5 + Q1*z + ...), and overflow().
#pragma once

#include "real/float_bits.h"
#include "x87.h"
#include "x87_trunc.h"

namespace morvex::real {

template <class T>
struct ExpConstants;

template <class T>
inline long double exp_of(T x) {
  using K = ExpConstants<T>;
  if (!(x <= K::kUpper)) return K::overflow();
  if (x < K::kLower) return 0.0L;
  const long double t = x * static_cast<long double>(K::kInvLn2);
  int32_t n;
  const long double xn = x87::trunc_int32(x87::select(t < 0, t - 0.5L, t + 0.5L), n);
  const long double g = (x - xn * K::kC1) - xn * K::kC2;
  const long double z = g * g;
  const long double gp = g * horner(z, K::kP);
  const long double r = round_op_result<T>(0.5L + gp / (horner(z, K::kQ) - gp), x87::get_cw());
  return x87::scale(r, xn + 1);
}

}  // namespace morvex::real
