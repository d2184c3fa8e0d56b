// ATAN, shared by the REAL*4 and REAL*8 elementals (Cody and Waite).
//
// Method: on |x|: beyond 1 the reciprocal is taken (atan x = pi/2 -
// atan(1/x)); beyond 2 - sqrt 3 the argument is moved by pi/6 with
// (((v*(sqrt3 - 1) - 0.5) - 0.5) + v) / (v + sqrt3), which keeps the
// numerator free of cancellation; then atan v = v + v*g*P(g)/Q(g), g = v^2
// (v itself when |v| <= eps). With n the number of transformations
// (0 to 3), the result is v, pi/6 + v, pi/2 - v or pi/3 - v, and takes the
// sign of x.
//
// Special cases: ATAN(+-Inf) = +-pi/2, ATAN(-0.0) = -0.0, NaN gives NaN.
//
// Constants, per kind, in AtanConstants<T>: kTwoMinusSqrt3, kSqrt3Minus1,
// kSqrt3, kEps, kP (P0 + P1*g + ...), kQ (monic), kAdd[4] (0, pi/6, pi/2,
// pi/3).
#pragma once

#include "real/float_bits.h"
#include "x87.h"

namespace morvex::real {

template <class T>
struct AtanConstants;

template <class T>
inline long double atan_of(T x) {
  using K = AtanConstants<T>;
  const bool negative = x < 0;
  long double v = negative ? -static_cast<long double>(x) : x;
  int n = 0;
  if (v > 1) {
    n = 2;
    v = 1.0L / v;
  }
  if (v > K::kTwoMinusSqrt3) {
    ++n;
    v = (((v * K::kSqrt3Minus1 - 0.5L) - 0.5L) + v) / (v + K::kSqrt3);
  }
  if (v > K::kEps || v < -K::kEps) {
    const long double g = v * v;
    v = v + v * (g * horner(g, K::kP)) / horner_monic(g, K::kQ);
  }
  if (n > 1) v = -v;
  if (n > 0) v = v + K::kAdd[n];
  return negative ? -v : v;
}

}  // namespace morvex::real
