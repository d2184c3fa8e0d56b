// Shared pieces of the IEEE_ARITHMETIC procedures: the class and rounding
// values of the module data, classification on bit patterns, and the entry
// points that other procedures of the module call.
//
// Arguments are read as bit patterns (memcpy), never loaded into the x87
// unit, wherever the routine only classifies or rearranges bits: a load would
// quiet a signalling NaN, raise invalid for it and raise denormal-operand for
// a subnormal. Results that are bit patterns come back in st(0) through
// fp::x87_value, which raises nothing either.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "ieee/ieee.h"
#include "value/float_bits.h"

namespace f90::ieee {

// IEEE_CLASS_TYPE values (words 0-10 of the module data).
enum Class : int32_t {
  kSignalingNan = 1,
  kQuietNan = 2,
  kNegativeInf = 3,
  kNegativeNormal = 4,
  kNegativeDenormal = 5,
  kNegativeZero = 6,
  kPositiveZero = 7,
  kPositiveDenormal = 8,
  kPositiveNormal = 9,
  kPositiveInf = 10,
  kOtherValue = 11,
};

// IEEE_ROUND_TYPE values (words 11-15): the x87 rounding field, or 5.
inline constexpr int32_t kNearest = 0;
inline constexpr int32_t kToZero = 0xc00;
inline constexpr int32_t kUp = 0x800;
inline constexpr int32_t kDown = 0x400;
inline constexpr int32_t kOtherRounding = 5;
inline constexpr int32_t kRoundingField = 0xc00;

template <class T>
using Bits = fp::UIntOf<T>;

template <class T>
inline Bits<T> bits_at(const T* x) {
  Bits<T> u;
  std::memcpy(&u, x, sizeof u);
  return u;
}

template <class T>
constexpr int exponent_of(Bits<T> u) {
  return static_cast<int>((u & ~fp::kSignBit<T>) >> fp::FloatBits<T>::kFractionBits);
}
template <class T>
constexpr bool negative(Bits<T> u) {
  return (u & fp::kSignBit<T>) != 0;
}
template <class T>
constexpr bool is_nan(Bits<T> u) {
  return (u & ~fp::kSignBit<T>) > (Bits<T>{fp::FloatBits<T>::kExponentMax} << fp::FloatBits<T>::kFractionBits);
}
template <class T>
constexpr bool is_zero(Bits<T> u) {
  return (u & ~fp::kSignBit<T>) == 0;
}
template <class T>
constexpr bool is_inf(Bits<T> u) {
  return (u & ~fp::kSignBit<T>) == (Bits<T>{fp::FloatBits<T>::kExponentMax} << fp::FloatBits<T>::kFractionBits);
}

// IEEE_CLASS of a bit pattern. The sign of a NaN is not looked at;
// kOtherValue is never produced.
template <class T>
constexpr Class class_of(Bits<T> u) {
  using B = fp::FloatBits<T>;
  constexpr Bits<T> kQuietBit = Bits<T>{1} << (B::kFractionBits - 1);
  const bool neg = negative<T>(u);
  const int e = exponent_of<T>(u);
  const Bits<T> f = u & fp::kFractionMask<T>;
  if (e == 0 && f == 0) return neg ? kNegativeZero : kPositiveZero;
  if (e == B::kExponentMax) {
    if (f == 0) return neg ? kNegativeInf : kPositiveInf;
    return (f & kQuietBit) != 0 ? kQuietNan : kSignalingNan;
  }
  if (e == 0) return neg ? kNegativeDenormal : kPositiveDenormal;
  return neg ? kNegativeNormal : kPositiveNormal;
}

// Where the fraction of a finite |x| lies against one half: -1 below, 0
// exactly one half, +1 above; `inexact` tells whether it is nonzero at all.
// Exact for every pattern (no arithmetic).
struct FractionPart {
  int vs_half;
  bool inexact;
};
template <class T>
constexpr FractionPart fraction_part(Bits<T> u) {
  using B = fp::FloatBits<T>;
  const int e = exponent_of<T>(u) - B::kBias;  // unbiased; subnormals below -1
  if (is_zero<T>(u) || e >= B::kFractionBits) return {-1, false};  // integral
  if (e < -1) return {-1, true};
  const Bits<T> m = (u & fp::kFractionMask<T>) | (Bits<T>{1} << B::kFractionBits);
  const int below = B::kFractionBits - e;  // bits under the unit, 1 .. kFractionBits + 1
  const Bits<T> frac = below > B::kFractionBits ? m : (m & ((Bits<T>{1} << below) - 1));
  const Bits<T> half = Bits<T>{1} << (below - 1);
  return {frac < half ? -1 : frac == half ? 0 : 1, frac != 0};
}

// The REAL*4 pattern of a REAL*8 NaN: the quiet NaN with the leading payload
// bits, as the x87 unit narrows one.
constexpr uint32_t narrow_nan(uint64_t u) {
  return static_cast<uint32_t>((u >> 32) & 0x80000000u) | 0x7fc00000u |
         static_cast<uint32_t>((u & fp::kFractionMask<double>) >> 29);
}

}  // namespace f90::ieee

// Module data of IEEE_ARITHMETIC: the eleven class values, then IEEE_NEAREST,
// IEEE_TO_ZERO, IEEE_UP, IEEE_DOWN and IEEE_OTHER.
F90_API const int32_t ieee_arithmetic_data[16] F90_SYMBOL(_D_in_IEEE_ARITHMETIC);

// IEEE_GET_ROUNDING_MODE, which RINT calls for the mode.
F90_API void get_rounding_mode(int32_t* round_value)
    F90_SYMBOL(__IEEE_GET_ROUNDING_MODE_in_IEEE_ARITHMETIC);

namespace f90::ieee {

// A pattern of kind From as a pattern of kind To: REAL*4 widens exactly,
// a REAL*8 NaN narrows to the REAL*4 quiet NaN with its payload (the only
// narrowing the mixed-kind forms need).
template <class To, class From>
constexpr Bits<To> as_kind(Bits<From> u) {
  if constexpr (sizeof(To) == sizeof(From)) {
    return u;
  } else if constexpr (sizeof(To) > sizeof(From)) {
    return fp::widen(u);
  } else {
    return narrow_nan(u);
  }
}

// The wider of two kinds, in which the mixed-kind forms compare.
template <class A, class B>
using Wider = std::conditional_t<(sizeof(A) >= sizeof(B)), A, B>;

// Order of two patterns of one kind that are not NaNs, as values (the two
// zeros are equal): -1, 0 or +1 for a < b, a == b, a > b.
template <class T>
constexpr int compare(Bits<T> a, Bits<T> b) {
  if (is_zero<T>(a) && is_zero<T>(b)) return 0;
  const int64_t ka = negative<T>(a) ? -static_cast<int64_t>(a & ~fp::kSignBit<T>)
                                    : static_cast<int64_t>(a);
  const int64_t kb = negative<T>(b) ? -static_cast<int64_t>(b & ~fp::kSignBit<T>)
                                    : static_cast<int64_t>(b);
  return ka < kb ? -1 : ka > kb ? 1 : 0;
}

template <class T>
struct Constants;

template <>
struct Constants<float> {
  static constexpr uint32_t kPositiveInf = 0x7f800000u, kNegativeInf = 0xff800000u,
                            kSignalingNan = 0x7f800001u, kQuietNan = 0x7fc00000u,
                            kPositiveDenormal = 0x00000001u, kNegativeDenormal = 0x80000001u,
                            kPositiveNormal = 0x3f800000u, kNegativeNormal = 0xbf800000u,
                            kPositiveZero = 0u, kNegativeZero = 0x80000000u;
};

template <>
struct Constants<double> {
  static constexpr uint64_t kPositiveInf = 0x7ff0000000000000ull,
                            kNegativeInf = 0xfff0000000000000ull,
                            kSignalingNan = 0x7ff0000000000001ull,
                            kQuietNan = 0x7ff8000000000000ull,
                            kPositiveDenormal = 0x0000000000000001ull,
                            kNegativeDenormal = 0x8000000000000001ull,
                            kPositiveNormal = 0x3ff0000000000000ull,
                            kNegativeNormal = 0xbff0000000000000ull, kPositiveZero = 0ull,
                            kNegativeZero = 0x8000000000000000ull;
};

// IEEE_VALUE's pattern for each class, the classes in the order they are
// tested. A CLASS that is none of the ten (IEEE_OTHER_VALUE or a word that is
// no class value) gives the quiet NaN.
template <class T>
constexpr Bits<T> class_value_bits(int32_t c) {
  using K = Constants<T>;
  switch (c) {
    case kSignalingNan: return K::kSignalingNan;
    case kQuietNan: return K::kQuietNan;
    case kNegativeInf: return K::kNegativeInf;
    case kPositiveInf: return K::kPositiveInf;
    case kNegativeDenormal: return K::kNegativeDenormal;
    case kPositiveDenormal: return K::kPositiveDenormal;
    case kNegativeNormal: return K::kNegativeNormal;
    case kPositiveNormal: return K::kPositiveNormal;
    case kNegativeZero: return K::kNegativeZero;
    case kPositiveZero: return K::kPositiveZero;
    default: return K::kQuietNan;
  }
}

}  // namespace f90::ieee
