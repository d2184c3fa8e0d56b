// The IEEE encodings of REAL*4 and REAL*8 as bit fields, and the parts of a
// REAL*16 (double-double), for code that works on the encoding rather than
// on the value: the conversions, the numeric-model and IEEE inquiries.
//
//   fp::sign_bit(x), fp::exponent_field(x), fp::fraction_field(x)
//   fp::make<double>(sign, exponent_field, fraction_field)
//
// Everything goes through std::bit_cast, so no value passes through the x87
// unit (a signalling NaN keeps its bits).
#pragma once

#include <bit>
#include <cstdint>

#include "value/types.h"

namespace fp {

template <class T>
struct FloatBits;

template <>
struct FloatBits<double> {
  using UInt = uint64_t;
  static constexpr int kFractionBits = 52;
  static constexpr int kExponentMax = 2047;  // field of infinities and NaNs
  static constexpr int kBias = 1023;
};

template <>
struct FloatBits<float> {
  using UInt = uint32_t;
  static constexpr int kFractionBits = 23;
  static constexpr int kExponentMax = 255;
  static constexpr int kBias = 127;
};

template <class T>
using UIntOf = typename FloatBits<T>::UInt;

template <class T>
inline constexpr UIntOf<T> kSignBit = UIntOf<T>{1} << (sizeof(T) * 8 - 1);
template <class T>
inline constexpr UIntOf<T> kFractionMask = (UIntOf<T>{1} << FloatBits<T>::kFractionBits) - 1;

template <class T>
constexpr UIntOf<T> bits_of(T x) {
  return std::bit_cast<UIntOf<T>>(x);
}
template <class T>
constexpr T from_bits(UIntOf<T> u) {
  return std::bit_cast<T>(u);
}
constexpr double f64(uint64_t u) { return std::bit_cast<double>(u); }
constexpr float f32(uint32_t u) { return std::bit_cast<float>(u); }

// The sign bit as 0 or 1.
template <class T>
constexpr int sign_bit(T x) {
  return (bits_of(x) & kSignBit<T>) != 0 ? 1 : 0;
}

// The biased exponent field (sign excluded): 0 for zeros and subnormals,
// FloatBits<T>::kExponentMax for infinities and NaNs.
template <class T>
constexpr int exponent_field(T x) {
  return static_cast<int>((bits_of(x) & ~kSignBit<T>) >> FloatBits<T>::kFractionBits);
}

// The stored fraction bits (no implicit bit).
template <class T>
constexpr UIntOf<T> fraction_field(T x) {
  return bits_of(x) & kFractionMask<T>;
}

// The value with the given sign (0 or 1), biased exponent field and
// fraction field; out-of-range fields are masked to their width.
template <class T>
constexpr T make(int sign, int exponent, UIntOf<T> fraction) {
  using U = UIntOf<T>;
  const U e = static_cast<U>(static_cast<U>(exponent) & FloatBits<T>::kExponentMax);
  return from_bits<T>((sign != 0 ? kSignBit<T> : U{0}) | (e << FloatBits<T>::kFractionBits) |
                      (fraction & kFractionMask<T>));
}

// REAL*16: the sign, class and exponent of a double-double are those of its
// high part; the low part only refines the value.
struct Real16Parts {
  uint64_t hi;
  uint64_t lo;
};
constexpr Real16Parts parts_of(morvex::DoubleDouble x) {
  return {bits_of(x.hi), bits_of(x.lo)};
}
constexpr morvex::DoubleDouble from_parts(Real16Parts p) {
  return {from_bits<double>(p.hi), from_bits<double>(p.lo)};
}

}  // namespace fp
