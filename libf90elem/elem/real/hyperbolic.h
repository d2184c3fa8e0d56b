// SINH, COSH and TANH, shared by the REAL*4 and REAL*8 elementals.
//
// The exponential step E(v) = e^v is the x87's own (x87::exp_under), run
// under the round-to-nearest, 64-bit control word, so E is right to the
// extended precision; the caller's word is back before the rest of the
// arithmetic, which runs at the caller's precision.
//
// SINH: |x| > 1: (E - 1/E)/2 with the sign of x; eps < |x| <= 1:
// x + x*g*P(g)/Q(g), g = x^2 (Cody and Waite); otherwise x.
// COSH: (1/E + E)/2 with E = E(|x|), no threshold.
// TANH: |x| beyond kLimit (or NaN): 1.0; |x| > ln 3 / 2: with u = E(2|x|),
// (0.5 - 1/(1 + u))*2; eps < |x|: |x| + |x|*g*P(g)/Q(g); otherwise |x|;
// negated for x < 0 (so TANH(-0.0) = +0.0 and TANH(NaN) = 1.0).
//
// SINH and COSH of large arguments return extended values beyond the kind's
// range; the caller's store makes them infinite. SINH and COSH of an
// infinity are NaN (the exponential step forms Inf - Inf).
//
// Constants, per kind, in SinhConstants<T> (kEps, kP, kQ monic) and
// TanhConstants<T> (kLimit, kExpBranch, kEps, kP, kQ monic).
#pragma once

#include "real/float_bits.h"
#include "x87.h"

namespace morvex::real {

template <class T>
struct SinhConstants;
template <class T>
struct TanhConstants;

inline long double exp_step(long double v) {
  return x87::exp_under(v, x87::CW_NEAREST_EXTENDED);
}

template <class T>
inline long double sinh_of(T x) {
  using K = SinhConstants<T>;
  const long double ax = x87::abs(x);
  if (ax > 1.0L) {
    const long double e = exp_step(ax);
    const long double r = (e - 1.0L / e) * 0.5L;
    return x < 0 ? -r : r;
  }
  if (ax > K::kEps) {
    const long double g = static_cast<long double>(x) * x;
    return x + x * (g * horner(g, K::kP)) / horner_monic(g, K::kQ);
  }
  return x;
}

template <class T>
inline long double cosh_of(T x) {
  const long double e = exp_step(x87::abs(x));
  return (1.0L / e + e) * 0.5L;
}

template <class T>
inline long double tanh_of(T x) {
  using K = TanhConstants<T>;
  const long double ax = x87::abs(x);
  long double r;
  if (!(ax <= K::kLimit)) {
    r = 1.0L;
  } else if (ax > K::kExpBranch) {
    const long double u = exp_step(2 * ax);
    r = (0.5L - 1.0L / (1.0L + u)) * 2;
  } else if (ax > K::kEps) {
    const long double g = ax * ax;
    r = ax + ax * g * horner(g, K::kP) / horner_monic(g, K::kQ);
  } else {
    r = ax;
  }
  return x < 0 ? -r : r;
}

}  // namespace morvex::real
