// The IEEE encodings of REAL*4 and REAL*8 as bit fields, and the parts of a
// REAL*16 (double-double), for code that works on the encoding rather than
// on the value: the conversions, the numeric-model and IEEE inquiries.
//
//   fp::sign_bit(x), fp::exponent_field(x), fp::fraction_field(x)
//   fp::make<double>(sign, exponent_field, fraction_field)
//   fp::x87_value<float>(bits)   the pattern in st(0), no flag raised
//   fp::widen(bits32)            REAL*4 pattern as REAL*8 pattern, exactly
//
// Everything goes through std::bit_cast, so no value passes through the x87
// unit (a signalling NaN keeps its bits).
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

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

// The x87 extended (80-bit) form of a REAL*4 or REAL*8 bit pattern, exact for
// every pattern: subnormals normalised, infinities, and NaNs with their
// payload and quiet bit. Loading it (fldt) raises nothing: an extended
// operand raises no denormal-operand flag, and a signalling NaN stays
// signalling. So a routine whose result is a bit pattern returns it in
// st(0) as x87_value<T>(bits) without touching the status word.
struct Extended {
  uint64_t mantissa;       // explicit integer bit in bit 63
  uint16_t sign_exponent;  // sign in bit 15, biased exponent (16383) below
};

template <class T>
constexpr Extended extended_of(UIntOf<T> u) {
  using B = FloatBits<T>;
  constexpr int kShift = 63 - B::kFractionBits;
  const uint16_t sign = (u & kSignBit<T>) != 0 ? 0x8000 : 0;
  const int e = static_cast<int>((u & ~kSignBit<T>) >> B::kFractionBits);
  const uint64_t f = static_cast<uint64_t>(u & kFractionMask<T>);
  if (e == B::kExponentMax)  // infinity or NaN
    return {(uint64_t{1} << 63) | (f << kShift), static_cast<uint16_t>(sign | 0x7fff)};
  if (e != 0)
    return {(uint64_t{1} << 63) | (f << kShift),
            static_cast<uint16_t>(sign | (e - B::kBias + 16383))};
  if (f == 0) return {0, sign};
  const int top = 63 - std::countl_zero(f);  // highest set fraction bit
  return {f << (63 - top),
          static_cast<uint16_t>(sign | (1 - B::kBias - B::kFractionBits + top + 16383))};
}

template <class T>
inline long double x87_value(UIntOf<T> u) {
  const Extended e = extended_of<T>(u);
  long double v = 0;
  std::memcpy(&v, &e.mantissa, 8);
  std::memcpy(reinterpret_cast<char*>(&v) + 8, &e.sign_exponent, 2);
  return v;
}

// A REAL*4 pattern widened to REAL*8 exactly (NaN payload and quiet bit kept,
// subnormals normalised), as bits: no value passes through the x87 unit.
constexpr uint64_t widen(uint32_t u) {
  const Extended x = extended_of<float>(u);
  const uint64_t sign = (x.sign_exponent & 0x8000) != 0 ? kSignBit<double> : 0;
  const int e = x.sign_exponent & 0x7fff;
  const uint64_t f = (x.mantissa << 1) >> 12;  // drop the integer bit, keep 52 bits
  if (e == 0x7fff) return sign | (uint64_t{2047} << 52) | f;
  if (e == 0 && x.mantissa == 0) return sign;
  return sign | (static_cast<uint64_t>(e - 16383 + 1023) << 52) | f;
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
