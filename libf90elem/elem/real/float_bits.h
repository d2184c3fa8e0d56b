// The IEEE encodings the REAL*4 and REAL*8 elementals work on (from
// value/float_bits.h), Horner evaluation of constant tables in the x87
// registers, and rounding of x87 values to the kind.
//
// Values the algorithms keep "in an x87 register" are long double: every
// operation on them runs at the caller's precision and rounding, with the
// x87's wide exponent range. Constants are tables of the kind's own type, so
// they load exactly (fldl / flds).
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>

#include "value/float_bits.h"
#include "x87.h"

namespace morvex::real {

using fp::bits_of;
using fp::exponent_field;
using fp::f32;
using fp::f64;
using fp::FloatBits;
using fp::from_bits;
using fp::kFractionMask;
using fp::kSignBit;
using fp::UIntOf;

// Horner steps r = r*x + c[i] for i = N-2 down to 0, unrolled.
template <class T, size_t N, size_t... I>
inline long double horner_steps(long double r, long double x, const std::array<T, N>& c,
                                std::index_sequence<I...>) {
  ((r = r * x + c[N - 2 - I]), ...);
  return r;
}

// Evaluates ((c[N-1]*x + c[N-2])*x + ... )*x + c[0] at the caller's precision.
template <class T, size_t N>
inline long double horner(long double x, const std::array<T, N>& c) {
  return horner_steps(static_cast<long double>(c[N - 1]), x, c, std::make_index_sequence<N - 1>());
}

// The monic form ((x + c[N-1])*x + c[N-2])*x + ... + c[0].
template <class T, size_t N>
inline long double horner_monic(long double x, const std::array<T, N>& c) {
  return horner_steps(x + c[N - 1], x, c, std::make_index_sequence<N - 1>());
}

// Rounding an x87 value to T, as a store would (in the caller's rounding
// mode). A store and reload costs a trip through memory; it is left out
// where it cannot change the value: when the caller's control word `cw`
// already rounds the results of +, -, *, / to T's precision, the result of
// such an operation that lies in T's normal range is a T value already, and
// any other value in that range is rounded the same way by a multiplication
// by 1.0.

// `v` is the result of one x87 +, -, * or / and lies in T's normal range.
template <class T>
inline long double round_op_result(long double v, uint16_t cw) {
  if (x87::precision_bits(cw) == std::numeric_limits<T>::digits) return v;
  return x87::round_to<T>(v);
}

// Any finite or infinite x87 value.
template <class T>
inline long double round_value(long double v, uint16_t cw) {
  if (x87::precision_bits(cw) == std::numeric_limits<T>::digits &&
      x87::abs(v) >= std::numeric_limits<T>::min() &&
      x87::abs(v) <= std::numeric_limits<T>::max())
    return x87::times_one(v);
  return x87::round_to<T>(v);
}

}  // namespace morvex::real
