// Operations on the single doubles that make up a double-double: truncation,
// FLOOR and CEILING of a part, exact conversions between a part and a 64-bit
// integer, and scaling by a power of two.
//
// All of them work on the bits or with exact SSE2 operations, so they give the
// same results under any x87 control word:
// - floor_part and ceil_part are the REAL*8 FLOOR and CEILING of the library
//   (a zero or NaN argument gives +0; ceil_part of a value in (-1, 0) gives -0);
// - trunc_to_int64 truncates toward zero and saturates like the REAL*8 to
//   INTEGER*8 conversion (2^63 and above and NaN: INT64_MAX; -2^63 and below:
//   INT64_MIN);
// - scale_pow2 is ldexp: x * 2^n rounded once, to nearest, only where the
//   result is subnormal; it overflows to infinity and underflows to zero.
#pragma once

#if !defined(__SSE2_MATH__)
#error \
    "real16/parts.h needs SSE2 double arithmetic: keep its users in a real16/ or complex32/ folder"
#endif

#include <cmath>
#include <cstdint>
#include <limits>

#include "real16/dd.h"

namespace morvex::dd {

inline constexpr uint64_t kSignBit = 1ull << 63;
inline constexpr uint64_t kFractionBits = (1ull << 52) - 1;
inline constexpr uint64_t kImplicitBit = 1ull << 52;

// x truncated toward zero, keeping the sign of a zero result; integral
// values, infinities and NaNs come back unchanged.
inline double trunc_part(double x) {
  const int e = biased_exponent(x);
  if (e >= 1075) return x;                             // no fraction bits
  if (e < 1023) return from_bits(bits(x) & kSignBit);  // |x| < 1
  const uint64_t fraction = (1ull << (1075 - e)) - 1;
  return from_bits(bits(x) & ~fraction);
}

inline double floor_part(double x) {
  if (x > 0.0) return trunc_part(x);
  if (x < 0.0) {
    const double t = trunc_part(x);
    return t == x ? t : t - 1.0;
  }
  return 0.0;  // either zero, or NaN
}

inline double ceil_part(double x) {
  if (x > 0.0) {
    const double t = trunc_part(x);
    return t == x ? t : t + 1.0;
  }
  if (x < 0.0) return trunc_part(x);
  return 0.0;
}

// |x| truncated toward zero, for |x| < 2^64.
inline uint64_t trunc_magnitude(double x) {
  const int e = biased_exponent(x);
  if (e < 1023) return 0;
  const uint64_t m = (bits(x) & kFractionBits) | kImplicitBit;
  return e >= 1075 ? m << (e - 1075) : m >> (1075 - e);
}

inline int64_t trunc_to_int64(double x) {
  if (!(x < 0x1p63)) return std::numeric_limits<int64_t>::max();
  if (x <= -0x1p63) return std::numeric_limits<int64_t>::min();
  const uint64_t magnitude = trunc_magnitude(x);
  return static_cast<int64_t>(x < 0.0 ? 0 - magnitude : magnitude);
}

// m as a double, exactly: m must be representable (below 2^53, or with its
// significant bits within 53 places).
inline double exact_double(uint64_t m) {
  const double high = static_cast<double>(static_cast<uint32_t>(m >> 32));
  const double low = static_cast<double>(static_cast<uint32_t>(m));
  return high * 0x1p32 + low;
}

inline double scale_pow2(double x, int32_t n) {
  constexpr double kUp = 0x1p1023;
  // 2^-1022 * 2^53: the intermediate stays normal, so only the last
  // multiplication rounds.
  constexpr double kDown = 0x1p-969;
  if (n > 1023) {
    x *= kUp;
    n -= 1023;
    if (n > 1023) {
      x *= kUp;
      n = n - 1023 > 1023 ? 1023 : n - 1023;
    }
  } else if (n < -1022) {
    x *= kDown;
    n += 969;
    if (n < -1022) {
      x *= kDown;
      n = n + 969 < -1022 ? -1022 : n + 969;
    }
  }
  return x * from_bits(static_cast<uint64_t>(n + 1023) << 52);
}

}  // namespace morvex::dd
