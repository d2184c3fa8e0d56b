// TAN, shared by the REAL*4 and REAL*8 elementals (Cody and Waite).
//
// Method: n = |x|*2/pi + 0.5 stored as an integer rounded toward zero,
// negated for x < 0 (x/(pi/2) rounded to nearest); f = (x - n*C1) - n*C2
// with C1 + C2 = pi/2; tan f = num/den with num = f + f*g*P(g) and
// den = Q(g), g = f^2 (num = f and den = 1 when |f| < eps); an odd n gives
// -den/num, the cotangent of f negated.
//
// Special cases: |x| beyond kLimit and NaN give +0.0; TAN(-0.0) is +0.0 (the
// reduction's (-0 - 0) - 0*C2, C2 negative), like SIN(-0.0).
//
// Constants, per kind, in TanConstants<T>: kLimit, kTwoOverPi, kC1, kC2,
// kEps, kP (p1 + p2*g + ...), kQ (1 + q1*g + ...).
#pragma once

#include <cstdint>

#include "real/float_bits.h"
#include "x87.h"
#include "x87_trunc.h"

namespace morvex::real {

template <class T>
struct TanConstants;

template <class T>
inline long double tan_of(T x) {
  using K = TanConstants<T>;
  const long double ax = x87::abs(x);
  if (!(ax <= K::kLimit)) return 0.0L;
  int32_t n;
  long double xn = x87::trunc_int32(ax * K::kTwoOverPi + 0.5L, n);  // below 2^31: ax <= kLimit
  xn = x87::select(x < 0, -xn, xn);
  const long double f = (x - xn * K::kC1) - xn * K::kC2;
  long double num = f, den = 1.0L;
  if (f >= K::kEps || f <= -K::kEps) {
    const long double g = f * f;
    num = f + f * g * horner(g, K::kP);
    den = horner(g, K::kQ);
  }
  const bool odd = n & 1;
  return x87::select(odd, -den, num) / x87::select(odd, num, den);
}

}  // namespace morvex::real
