// Rounding to integral values, shared by the REAL*4 and REAL*8 elementals.
//
// Truncation works on the bit pattern: the fraction bits below the unit are
// cleared. trunc_bits keeps the sign of a zero result, as the x87's
// rounding toward zero does (-0.5 gives -0.0); AINT gives +0.0 for |x| < 1
// whatever the sign.
//
// ANINT and NINT round halves away from zero, exactly: the half bit is added
// to the pattern and the bits below the unit are cleared (a carry out of the
// fraction steps the exponent, which is the right result). Adding 0.5 in
// floating point and truncating would round 2^52 + 1 up to 2^52 + 2 and
// 0.49999999999999994 up to 1. |x| < 0.5 gives -0.0 for x < 0 and +0.0
// otherwise (-0.0 included); NaN and infinities pass through.
//
// FLOOR and CEILING as reals truncate on the bit pattern, which is exact and
// needs no switch of the control word: zeros and NaN give +0.0; FLOOR(x < 0) is -CEILING(-x) and CEILING(x < 0) is
// -FLOOR(-x), so CEILING(-0.5) is -0.0. The "+ 1" of CEILING runs at the
// caller's precision.
#pragma once

#include <cstdint>

#include "real/float_bits.h"
#include "x87.h"

namespace morvex::real {

// x rounded toward zero; for |x| < 1 the zero `small` (+0.0 or x's sign).
template <class T>
inline T truncate_bits(T x, UIntOf<T> small) {
  using B = FloatBits<T>;
  const int e = exponent_field(x);
  if (e >= B::kBias + B::kFractionBits) return x;  // integral, infinite or NaN
  if (e < B::kBias) return from_bits<T>(small);    // |x| < 1
  const int below = B::kBias + B::kFractionBits - e;  // fraction bits below the unit
  return from_bits<T>(bits_of(x) & ~((UIntOf<T>{1} << below) - 1));
}

template <class T>
inline T aint_bits(T x) {
  return truncate_bits(x, UIntOf<T>{0});
}

template <class T>
inline T trunc_bits(T x) {
  return truncate_bits(x, bits_of(x) & kSignBit<T>);
}

template <class T>
inline T round_half_away(T x) {
  using B = FloatBits<T>;
  const UIntOf<T> u = bits_of(x);
  const UIntOf<T> sign = u & kSignBit<T>;
  const int e = exponent_field(x);
  if (e >= B::kBias + B::kFractionBits) return x;   // integral, infinite or NaN
  if (e < B::kBias - 1) return x < 0 ? -T(0) : T(0);  // |x| < 0.5
  if (e == B::kBias - 1) return from_bits<T>(sign | bits_of(T(1)));  // [0.5, 1)
  const int below = B::kBias + B::kFractionBits - e;  // 1 .. kFractionBits
  UIntOf<T> m = (u & ~kSignBit<T>) + (UIntOf<T>{1} << (below - 1));
  m &= ~((UIntOf<T>{1} << below) - 1);
  return from_bits<T>(sign | m);
}

// NINT to INTEGER*4: the rounded value stored as an integer (integral, so
// the store needs no rounding mode); out of range or NaN gives 0x80000000.
template <class T>
inline int32_t nint32(T x) {
  return x87::store_int32(round_half_away(x));
}

// CEILING of a positive value: t, or t + 1 when x had a fraction.
template <class T>
inline long double ceil_positive(T x) {
  const long double t = aint_bits(x);
  return t == x ? t : t + 1.0L;
}

template <class T>
inline long double floor_of(T x) {
  if (x > 0) return aint_bits(x);
  if (x < 0) return -ceil_positive(-x);
  return 0.0L;  // zeros and NaN
}

template <class T>
inline long double ceil_of(T x) {
  if (x > 0) return ceil_positive(x);
  if (x < 0) return -static_cast<long double>(aint_bits(-x));
  return 0.0L;
}

}  // namespace morvex::real
