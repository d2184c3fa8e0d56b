// The numeric model of REAL*4 and REAL*8 on bit patterns, shared by
// EXPONENT, FRACTION, NEAREST, RRSPACING, SCALE, SET_EXPONENT and SPACING.
//
// A nonzero finite x is f * 2^e with 0.5 <= |f| < 1: for a normal x with
// biased exponent field E, e = E - (bias - 1). Every function here works on
// the pattern with integer operations: an argument is never loaded into the
// x87 unit (a load would quiet a signalling NaN, raising invalid, and flag a
// subnormal operand as denormal). Only the result goes to st(0), through
// to_st0, which loads it without raising anything.
//
// The REAL*4 and REAL*8 entry points take their REAL arguments as the
// integer type of the same size: the stack slots are the same, and the
// compiler has no floating value to load.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#include "common/elem_calls.h"
#include "value/float_bits.h"

namespace f90::model {

using fp::FloatBits;
using fp::UIntOf;
using morvex::DoubleDouble;

template <class T>
struct Model {
  using UInt = UIntOf<T>;
  static constexpr int kWidth = 8 * sizeof(T);
  static constexpr int kFractionBits = FloatBits<T>::kFractionBits;  // 23, 52
  static constexpr int kDigits = kFractionBits + 1;                  // 24, 53
  static constexpr int kMaxField = FloatBits<T>::kExponentMax;       // 255, 2047
  static constexpr int kBias = FloatBits<T>::kBias;                  // 127, 1023
  static constexpr UInt kSign = fp::kSignBit<T>;
  static constexpr UInt kFraction = fp::kFractionMask<T>;
  static constexpr UInt kHidden = kFraction + 1;                     // also the smallest normal
  static constexpr UInt kInf = static_cast<UInt>(kMaxField) << kFractionBits;
  static constexpr UInt kQuietNaN = kInf | (kHidden >> 1);           // 0x7fc00000, 0x7ff8...
  static constexpr UInt kOne = static_cast<UInt>(kBias) << kFractionBits;
  // Leading zeros of the significand field's own width: a field whose top
  // bit is set has countl_zero == kLeadPad.
  static constexpr int kLeadPad = kWidth - kFractionBits;            // 9, 12

  static constexpr int field(UInt u) { return static_cast<int>((u & ~kSign) >> kFractionBits); }
  static constexpr UInt magnitude(UInt u) { return u & ~kSign; }
  static constexpr bool is_zero(UInt u) { return magnitude(u) == 0; }
  static constexpr bool is_nan(UInt u) { return magnitude(u) > kInf; }
  static constexpr bool is_normal(UInt u) { return field(u) != 0 && field(u) != kMaxField; }
  static constexpr UInt with_field(UInt sign, int64_t e, UInt fraction) {
    return sign | (static_cast<UInt>(e) << kFractionBits) | (fraction & kFraction);
  }
};

// The value of pattern u in st(0), a signalling NaN quieted, no flag raised
// (the 80-bit image of fp::x87_value: no denormal-operand flag for a
// subnormal).
template <class T>
inline long double to_st0(UIntOf<T> u) {
  using M = Model<T>;
  if (M::is_nan(u)) u |= M::kHidden >> 1;
  return fp::x87_value<T>(u);
}

// EXPONENT: zero and NaN give 0; an infinity the exponent of its field
// (129, 1025); a subnormal is measured from its top set bit, so the smallest
// gives -148 (REAL*4) and -1073 (REAL*8).
template <class T>
constexpr int32_t exponent_bits(UIntOf<T> x) {
  using M = Model<T>;
  if (M::is_zero(x) || M::is_nan(x)) return 0;
  const int e = M::field(x);
  if (e != 0) return e - (M::kBias - 1);
  // x = 1.f * 2^(top - (bias + F - 1)), top the place of the top set bit
  const int top = M::kWidth - 1 - std::countl_zero(x & M::kFraction);
  return top - (M::kBias + M::kFractionBits - 2);
}

// FRACTION: zero gives +0.0; an infinity of either sign a quiet NaN; a NaN
// stays; otherwise the exponent field of 0.5 with X's sign and significand,
// a subnormal's significand first shifted up to the hidden position.
template <class T>
constexpr UIntOf<T> fraction_bits(UIntOf<T> x) {
  using M = Model<T>;
  using UInt = typename M::UInt;
  if (M::is_zero(x)) return 0;
  const int e = M::field(x);
  if (e == M::kMaxField) return M::is_nan(x) ? x : M::kQuietNaN;
  const UInt sign = x & M::kSign;
  UInt fraction = x & M::kFraction;
  if (e == 0) fraction <<= std::countl_zero(fraction) - (M::kLeadPad - 1);
  return M::with_field(sign, M::kBias - 1, fraction);
}

// SCALE(X, I) on the pattern, without a floating multiplication. E + I is
// formed in 64 bits, so no I wraps the exponent. An overflow gives the
// infinity with X's sign (for subnormal X too); a normal X scaled below the
// normal range is truncated to a subnormal; a subnormal X scaled down is
// rounded half up on the magnitude. Zero gives +0.0, an infinity or NaN X is
// returned as it is.
template <class T>
constexpr UIntOf<T> scale_bits(UIntOf<T> x, int32_t i) {
  using M = Model<T>;
  using UInt = typename M::UInt;
  if (i == 0) return x;
  if (M::is_zero(x)) return 0;
  const int e = M::field(x);
  if (e == M::kMaxField) return x;
  const UInt sign = x & M::kSign;
  const UInt fraction = x & M::kFraction;
  if (e != 0) {
    const int64_t n = int64_t{e} + i;
    if (n >= M::kMaxField) return sign | M::kInf;
    if (n > 0) return M::with_field(sign, n, fraction);
    const int64_t shift = 1 - n;  // >= 1
    return sign | (shift >= M::kWidth ? UInt{0} : (fraction | M::kHidden) >> shift);
  }
  if (i < 0) {
    // Right by -I, adding the last bit shifted out.
    const int64_t shift = -int64_t{i};
    if (shift > M::kFractionBits) return sign;
    const UInt kept = fraction >> shift;
    const UInt round = (fraction >> (shift - 1)) & 1;
    return sign | (kept + round);
  }
  // The zeros above the significand's top bit within its field.
  const int z = std::countl_zero(fraction) - M::kLeadPad;
  if (i <= z) return sign | (fraction << i);  // stays subnormal
  const int64_t n = int64_t{i} - z;           // the top bit reaches the hidden place
  if (n >= M::kMaxField) return sign | M::kInf;
  return M::with_field(sign, n, fraction << (z + 1));
}

// An INTEGER*8 I saturated to the 32-bit range: a scale beyond it
// overflows or underflows every kind anyway.
constexpr int32_t saturate32(int64_t i) {
  return i > INT32_MAX ? INT32_MAX : i < INT32_MIN ? INT32_MIN : static_cast<int32_t>(i);
}

// REAL*16 values as the entry points receive them: the two REAL*8
// patterns, high part first, kept as integers so that no part passes
// through the x87.
using Real16Bits = fp::Real16Parts;
static_assert(sizeof(Real16Bits) == sizeof(DoubleDouble));

inline DoubleDouble as_dd(Real16Bits x) { return fp::from_parts(x); }
inline Real16Bits as_bits(DoubleDouble x) { return fp::parts_of(x); }
inline Real16Bits* store(Real16Bits* res, Real16Bits v) {
  std::memcpy(res, &v, sizeof v);
  return res;
}

using M8 = Model<double>;
inline constexpr Real16Bits kReal16NaN = {M8::kQuietNaN, 0};

// FRACTION and SCALE of REAL*16: frexpl and ldexpl, a NaN X kept and an
// infinite one giving the NaN.
inline Real16Bits fraction16_bits(Real16Bits x) {
  if (M8::field(x.hi) == M8::kMaxField) return M8::is_nan(x.hi) ? x : kReal16NaN;
  DoubleDouble f;
  int32_t e;
  _morvex_frexpl(&f, as_dd(x), &e);
  return as_bits(f);
}

inline Real16Bits scale16_bits(Real16Bits x, int32_t i) {
  DoubleDouble r;
  _morvex_ldexpl(&r, as_dd(x), i);
  return as_bits(r);
}

}  // namespace f90::model
