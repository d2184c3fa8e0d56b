// SIN and COS, shared by the REAL*4 and REAL*8 elementals (Cody and Waite).
//
// Method: COS(x) is SIN(|x| + pi/2), the shifted argument rounded to the
// kind. n = y/pi + 0.5 stored as an integer rounded toward zero (so n is
// y/pi rounded to nearest); xn = n (n - 0.5 for the cosine, which
// keeps the reduction on |x| itself); f = (|x| - xn*C1) - xn*C2 with
// C1 + C2 = pi and C1 short so that xn*C1 and the first difference are
// exact; sin f = f + f*g*R(g) with g = f^2 (just f when |f| < eps); an odd n
// flips the sign, and so does x < 0 for the sine.
//
// Special cases: a reduced argument y beyond kLimit, infinities and NaN give
// +0.0; SIN(-0.0) is +0.0 (the sign test is x < 0). Beyond a few thousand the
// two-part pi loses digits of f: near a multiple of pi the result is right
// to an absolute error of about |x| * 1e-22, not to an ulp.
//
// Constants, per kind, in SinConstants<T>: kHalfPi, kLimit, kInvPi, kC1,
// kC2, kEps, kR (r1 + r2*g + ...).
#pragma once

#include <cstdint>

#include "real/float_bits.h"
#include "x87.h"
#include "x87_trunc.h"

namespace morvex::real {

template <class T>
struct SinConstants;

template <class T>
inline long double sincos_of(T x, bool cosine) {
  using K = SinConstants<T>;
  const long double ax = x87::abs(x);
  bool negative = !cosine && x < 0;
  const long double y = cosine ? round_op_result<T>(ax + K::kHalfPi, x87::get_cw()) : ax;
  if (!(y <= K::kLimit)) return 0.0L;
  int32_t n;
  long double xn = x87::trunc_int32(y * K::kInvPi + 0.5L, n);  // below 2^31: y <= kLimit
  if (n & 1) negative = !negative;
  if (cosine) xn -= 0.5L;
  long double f = (ax - xn * K::kC1) - xn * K::kC2;
  if (f >= K::kEps || f <= -K::kEps) {
    const long double g = f * f;
    f = f + f * g * horner(g, K::kR);
  }
  return x87::select(negative, -f, f);
}

}  // namespace morvex::real
