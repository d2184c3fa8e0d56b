// NEAREST(X, S): the neighbour of X in the direction of the sign of S.
//
// REAL*4 and REAL*8 step the pattern of X, read as a signed integer, by one
// unit: up in magnitude when X and S have the same sign (S > 0 counting as
// positive), down otherwise. A normal outcome is the result. Otherwise:
// - from |X| > 1 the step reaches the largest finite number or stays an
//   infinity (a step up from an infinity keeps it; the pattern step would
//   give a NaN);
// - from a subnormal X up in magnitude the stepped value is the result;
// - every other step (down from the smallest normal number, down from a
//   subnormal) gives +0.0.
// X zero gives the smallest normal number with the sign of S (negative for
// S <= 0). A zero S is reported (1415) and taken as negative; a NaN X or S
// gives a NaN and reports nothing.
//
// The REAL*16 S of _NEAREST_4_16 and _NEAREST_8_16 counts by the sign of the
// sum of its parts, worked out on the patterns.
//
// REAL*16 X = (hi, lo) with the double s (S, or the high part of a REAL*16
// S; _NEAREST_16 and _NEAREST_16_8 are one routine): hi zero gives
// (+-2^-1022, 0) by s > 0. Otherwise a zero lo (either sign) is replaced by
// 2^(e_hi - 106) with the sign that moves X toward s (the smallest subnormal
// when that power is below the subnormal range), and then lo's pattern is
// stepped by one unit toward s: up in magnitude when lo and s have the same
// sign. hi is not changed. No error is reported; a NaN X or s gives a NaN.
#include "array/descriptor.h"
#include "mathlb/model.h"

using namespace f90::model;

namespace {

enum class Toward { up, down, nan };

template <class T>
Toward direction(UIntOf<T> s) {
  using M = Model<T>;
  if (M::is_nan(s)) return Toward::nan;
  if (M::is_zero(s)) {
    f90::report(ERR_NEAREST_ZERO);
    return Toward::down;
  }
  return (s & M::kSign) ? Toward::down : Toward::up;
}

// The pattern of the REAL*8 nearest hi + lo in sign and class: NaN, zero, or
// a value with the sign of the larger part (the sum of two doubles is zero
// only when they cancel exactly).
uint64_t sum_sign(Real16Bits s) {
  using M = M8;
  if (M::is_nan(s.hi) || M::is_nan(s.lo)) return M::kQuietNaN;
  const uint64_t a = M::magnitude(s.hi), b = M::magnitude(s.lo);
  if (a == M::kInf && b == M::kInf && ((s.hi ^ s.lo) & M::kSign)) return M::kQuietNaN;
  if (a == b && ((s.hi ^ s.lo) & M::kSign)) return 0;
  if (a == 0 && b == 0) return 0;
  return a >= b ? s.hi : s.lo;
}

template <class T>
UIntOf<T> nearest_bits(UIntOf<T> x, Toward to) {
  using M = Model<T>;
  using UInt = typename M::UInt;
  if (to == Toward::nan || M::is_nan(x)) return M::kQuietNaN;
  const bool up = to == Toward::up;
  if (M::is_zero(x)) return up ? M::kHidden : M::kSign | M::kHidden;
  const bool negative = (x & M::kSign) != 0;
  const bool away = up != negative;  // magnitude grows
  const UInt y = away ? x + 1 : x - 1;
  if (M::is_normal(y)) return y;
  if (M::magnitude(x) > M::kOne) return M::is_nan(y) ? x : y;
  if (away && M::field(x) == 0) return y;
  return 0;
}

template <class T>
long double nearest_of(UIntOf<T> x, Toward to) {
  return to_st0<T>(nearest_bits<T>(x, to));
}

// 2^(e_hi - 106) for a nonzero finite hi, with the given sign bit.
uint64_t low_unit(uint64_t hi, uint64_t sign) {
  const int e = M8::field(hi);
  if (e > 106) return sign | M8::with_field(0, e - 106, 0);
  // Below the normal range: the power of two as a subnormal while it has one.
  const int place = e - 106 + M8::kFractionBits - 1;  // bit of 2^(e-1023-106) in a subnormal
  return sign | (place >= 0 ? uint64_t{1} << place : uint64_t{1});
}

Real16Bits nearest16(Real16Bits x, uint64_t s) {
  using M = M8;
  if (M::is_nan(s) || M::is_nan(x.hi)) return kReal16NaN;
  const bool s_positive = !(s & M::kSign) && !M::is_zero(s);
  if (M::is_zero(x.hi)) return {(s_positive ? 0 : M::kSign) | M::kHidden, 0};
  const uint64_t s_sign = s_positive ? 0 : M::kSign;
  uint64_t lo = x.lo;
  if (M::is_zero(lo)) lo = low_unit(x.hi, s_sign);
  lo = ((lo & M::kSign) == s_sign) ? lo + 1 : lo - 1;
  return {x.hi, lo};
}

}  // namespace

F90_API long double nearest_4(uint32_t x, uint32_t s) F90_SYMBOL(_NEAREST_4);
F90_API long double nearest_4_8(uint32_t x, uint64_t s) F90_SYMBOL(_NEAREST_4_8);
F90_API long double nearest_4_16(uint32_t x, Real16Bits s) F90_SYMBOL(_NEAREST_4_16);
F90_API long double nearest_8(uint64_t x, uint64_t s) F90_SYMBOL(_NEAREST);
F90_API long double nearest_8_16(uint64_t x, Real16Bits s) F90_SYMBOL(_NEAREST_8_16);
F90_API Real16Bits* nearest_16(Real16Bits* res, Real16Bits x, uint64_t s) F90_SYMBOL(_NEAREST_16);
// Reads the same stack words as _NEAREST_16: only the high part of a REAL*16 S.
F90_API Real16Bits* nearest_16_8(Real16Bits* res, Real16Bits x, uint64_t s)
    F90_SYMBOL(_NEAREST_16_8) __attribute__((alias("_NEAREST_16")));

long double nearest_4(uint32_t x, uint32_t s) { return nearest_of<float>(x, direction<float>(s)); }
long double nearest_4_8(uint32_t x, uint64_t s) {
  return nearest_of<float>(x, direction<double>(s));
}
long double nearest_4_16(uint32_t x, Real16Bits s) {
  return nearest_of<float>(x, direction<double>(sum_sign(s)));
}
long double nearest_8(uint64_t x, uint64_t s) { return nearest_of<double>(x, direction<double>(s)); }
long double nearest_8_16(uint64_t x, Real16Bits s) {
  return nearest_of<double>(x, direction<double>(sum_sign(s)));
}
Real16Bits* nearest_16(Real16Bits* res, Real16Bits x, uint64_t s) {
  return store(res, nearest16(x, s));
}
