// What the COMPLEX*8 and COMPLEX*16 functions share: the complex type of each
// component kind, the store of a result, and the steps both kinds take.
//
// Work is done in the x87 registers (long double) at the caller's precision
// and rounding; each part of a result is rounded to the component kind when
// it is stored into the caller's slot. The kinds differ in the constants
// here (the exported NaN, ln 2) and in the REAL*4 or REAL*8 functions they
// call, chosen by small traits beside the functions that call them
// (LogKind, PowerKind, Hyperbolic).
#pragma once

#include <cmath>
#include <cstdint>

#include "constants.h"
#include "entry.h"
#include "real/float_bits.h"
#include "x87.h"

namespace morvex::complex {

template <class T>
struct ComplexType;
template <>
struct ComplexType<float> {
  using type = Complex8;
};
template <>
struct ComplexType<double> {
  using type = Complex16;
};
template <class T>
using ComplexOf = typename ComplexType<T>::type;

// The NaN of the kind (the exported constant) and ln 2 rounded to the kind.
template <class T>
inline T nan_of();
template <>
inline float nan_of<float>() {
  return _morvex_FLOAT_NAN;
}
template <>
inline double nan_of<double>() {
  return _morvex_DOUBLE_NAN;
}
template <class T>
inline constexpr T kLn2 = T(0);  // only the two kinds below are used
template <>
inline constexpr float kLn2<float> = real::f32(0x3f317218);
template <>
inline constexpr double kLn2<double> = real::f64(0x3fe62e42fefa39ef);

// Writes both parts, each rounded to T by its store, and returns the slot.
template <class T>
inline ComplexOf<T>* store(ComplexOf<T>* res, long double re, long double im) {
  res->re = static_cast<T>(re);
  res->im = static_cast<T>(im);
  return res;
}

// Neither |v| > 0 nor |v| < 0: v compares equal to zero or is NaN.
inline bool zero_or_nan(long double v) { return !(v < 0) && !(v > 0); }

// e^v by the x87 exponential step under the round-to-nearest, 64-bit control
// word (the caller's word is back afterwards). The step itself turns an
// infinite v into NaN (Inf - Inf); e^+Inf is +Inf and e^-Inf is +0.0 here.
inline long double exp_step(long double v) {
  if (std::isinf(v)) return v > 0 ? v : 0.0L;
  return x87::exp_under(v, x87::CW_NEAREST_EXTENDED);
}

// ln|z| = ln 2 * log2(sqrt(a*a + b*b)) by the x87 scaled logarithm, with ln 2
// rounded to the kind. The sum of squares cannot overflow or underflow in the
// x87 registers; ln 0 is -Inf.
template <class T>
inline long double log_modulus(T a, T b) {
  const long double h = static_cast<long double>(a) * a + static_cast<long double>(b) * b;
  return x87::yl2x(x87::sqrt(h), kLn2<T>);
}

}  // namespace morvex::complex
