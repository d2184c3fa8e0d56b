// The library's previous forms of the steps that no longer depend on the
// path flag: rounding toward zero by frndint under the chopping word, integer
// stores under it, and the INTEGER*8 divide in the x87. The comparisons check
// the new forms against these.
#pragma once

#include <cstdint>

#include "int8/int8.h"
#include "real/float_bits.h"
#include "real/rounding.h"
#include "x87.h"

namespace paths::old {

inline long double trunc_chop(long double x) {
  int32_t n;
  return x87::rndint_fist32_under(x, x87::CW_CHOP_DOUBLE, n);
}

inline long double ceil_positive(long double x) {
  const long double t = trunc_chop(x);
  return t == x ? t : t + 1.0L;
}

template <class T>
long double floor_of(T x) {
  if (x > 0) return trunc_chop(x);
  if (x < 0) return -ceil_positive(-static_cast<long double>(x));
  return 0.0L;
}

template <class T>
long double ceil_of(T x) {
  if (x > 0) return ceil_positive(x);
  if (x < 0) return -trunc_chop(-static_cast<long double>(x));
  return 0.0L;
}

inline int32_t chop32(long double x) { return x87::fist32_under(x, x87::CW_CHOP_DOUBLE); }

template <class T>
int32_t nint32(T x) {
  return chop32(morvex::real::round_half_away(x));
}

// NINT to INTEGER*8 with saturation.
template <class T>
int64_t nint64(T x) {
  const long double r = morvex::real::round_half_away(x);
  if (!(r < 0x1p63L)) return INT64_MAX;
  if (r <= -0x1p63L) return INT64_MIN;
  return x87::fist64_under(r, x87::CW_CHOP_DOUBLE);
}

// MOD where x or y is infinite (the finite case is the partial remainder).
template <class T>
long double mod_of(T x, T y, T nan) {
  if (!(y < 0) && !(y > 0)) return nan;
  using B = morvex::real::FloatBits<T>;
  if (morvex::real::exponent_field(x) == B::kExponentMax ||
      morvex::real::exponent_field(y) == B::kExponentMax) {
    const long double q = trunc_chop(static_cast<long double>(x) / y);
    return x - y * q;
  }
  const long double r = x87::prem(x, y);
  if (r == 0) return static_cast<long double>(x) - x;
  return r;
}

// ATAN2 with the quadrant by branches.
template <class T>
long double atan2_of(T y, T x, T pi, T half_pi) {
  using namespace morvex::real;
  if (x < 0 || x > 0) {
    const uint16_t cw = x87::get_cw();
    const long double q = x87::abs(static_cast<long double>(y) / x);
    long double a = round_value<T>(x87::atan2(q, 1.0L), cw);
    if (x < 0) a = round_op_result<T>(pi - a, cw);
    return (bits_of(y) & kSignBit<T>) ? -a : a;
  }
  if (y > 0) return half_pi;
  if (y < 0) return -half_pi;
  return 0.0L;
}

// INTEGER*8 divide and remainder through the x87 under a chopping,
// 64-bit-precision word, for the operands the 32-bit forms do not take.
// The quotient a / b of two 64-bit integers, loaded exactly (fildll),
// divided and stored (fistpll) under `mode`; an out-of-range quotient gives
// INT64_MIN. The caller's word is saved in this frame and loaded back in the
// same asm block.
inline int64_t quotient64_under(int64_t a, int64_t b, uint16_t mode) {
  uint16_t saved;
  int64_t q;
  __asm__ volatile(
      "fnstcw %[saved]\n\t"
      "fldcw %[mode]\n\t"
      "fildll %[b]\n\t"
      "fildll %[a]\n\t"
      "fdiv %%st(1), %%st\n\t"
      "fistpll %[q]\n\t"
      "fstp %%st(0)\n\t"
      "fldcw %[saved]"
      : [q] "=m"(q), [saved] "=m"(saved)
      : [a] "m"(a), [b] "m"(b), [mode] "m"(mode)
      : "st", "st(1)");
  return q;
}

// The exact remainder of a by b (fprem until complete), sign of a, stored
// under `mode`.
inline int64_t remainder64_under(int64_t a, int64_t b, uint16_t mode) {
  uint16_t saved;
  int64_t r;
  __asm__ volatile(
      "fnstcw %[saved]\n\t"
      "fldcw %[mode]\n\t"
      "fildll %[b]\n\t"
      "fildll %[a]\n\t"
      "1:\n\t"
      "fprem\n\t"
      "fnstsw %%ax\n\t"
      "testw $0x400, %%ax\n\t"
      "jnz 1b\n\t"
      "fistpll %[r]\n\t"
      "fstp %%st(0)\n\t"
      "fldcw %[saved]"
      : [r] "=m"(r), [saved] "=m"(saved)
      : [a] "m"(a), [b] "m"(b), [mode] "m"(mode)
      : "eax", "cc", "st", "st(1)");
  return r;
}

inline int64_t ldiv(int64_t a, int64_t b) {
  using namespace morvex::int8;
  if (b == 0) return kMaxInt;
  if (fits32(a) && fits32(b) && !(a == INT32_MIN && b == -1))
    return static_cast<int32_t>(a) / static_cast<int32_t>(b);
  if (magnitude(a) < magnitude(b)) return 0;
  return quotient64_under(a, b, x87::CW_EP);
}

inline int64_t lmod(int64_t a, int64_t b) {
  using namespace morvex::int8;
  if (b == 0) return kMaxInt;
  if (fits32(a) && fits32(b) && !(a == INT32_MIN && b == -1))
    return static_cast<int32_t>(a) % static_cast<int32_t>(b);
  if (magnitude(a) < magnitude(b)) return a;
  return remainder64_under(a, b, x87::CW_EP);
}

}  // namespace paths::old
