// Bit-level view of the IEEE kinds the REAL*4 and REAL*8 elementals work on,
// and the small pieces every family shares: Horner evaluation of constant
// tables in the x87 registers, and scaling by a power of two through the
// exponent field.
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

namespace morvex::real {

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

// The biased exponent field (sign excluded).
template <class T>
constexpr int exponent_field(T x) {
  return static_cast<int>((bits_of(x) & ~kSignBit<T>) >> FloatBits<T>::kFractionBits);
}

// Evaluates ((c[N-1]*x + c[N-2])*x + ... )*x + c[0] at the caller's precision.
template <class T, size_t N>
inline long double horner(long double x, const std::array<T, N>& c) {
  long double r = c[N - 1];
  for (size_t i = N - 1; i-- > 0;) r = r * x + c[i];
  return r;
}

// The monic form ((x + c[N-1])*x + c[N-2])*x + ... + c[0].
template <class T, size_t N>
inline long double horner_monic(long double x, const std::array<T, N>& c) {
  long double r = x + c[N - 1];
  for (size_t i = N - 1; i-- > 0;) r = r * x + c[i];
  return r;
}

// r * 2^k for a normal r, by adding k to r's exponent field. When the new
// field would leave the normal range (a subnormal or overflowing result),
// the product is formed by two exact multiplications by powers of two
// instead, so the result is the correctly rounded r * 2^k.
template <class T>
inline T scale_by_exponent(T r, int k) {
  using B = FloatBits<T>;
  const int field = exponent_field(r) + k;
  if (field > 0 && field < B::kExponentMax)
    return from_bits<T>(bits_of(r) + (static_cast<UIntOf<T>>(static_cast<uint32_t>(k))
                                      << B::kFractionBits));
  // k lies within a few units of the exponent range: split it in two halves
  // whose powers of two are normal.
  const int k1 = k / 2, k2 = k - k1;
  const T p1 = from_bits<T>(static_cast<UIntOf<T>>(k1 + B::kBias) << B::kFractionBits);
  const T p2 = from_bits<T>(static_cast<UIntOf<T>>(k2 + B::kBias) << B::kFractionBits);
  volatile T step = r * p1;  // exact: r*2^k1 stays normal
  volatile T out = step * p2;
  return out;
}

}  // namespace morvex::real
