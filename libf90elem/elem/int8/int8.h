// INTEGER*8 arithmetic shared by the library's own INTEGER*8 elementals.
//
// The exported divide, remainder and shift routines of this folder are thin
// entries over these inline helpers, and the INTEGER*8 integer and bit
// elementals use the same helpers directly, so the whole library agrees on
// one definition of each operation without calling through the PLT.
// (_morvex_lmul and the fast REAL -> INTEGER*8 conversions are written in
// i386 instructions in their own files.)
//
// All arithmetic that may wrap is done on uint64_t: signed overflow is
// undefined in C++, and every INTEGER*8 operation here is defined to wrap.
#pragma once

#include <cstdint>

#include "symbols.h"

namespace morvex::int8 {

inline constexpr int64_t kMaxInt = INT64_MAX;  // division by zero, positive saturation
inline constexpr int64_t kMinInt = INT64_MIN;  // negative saturation

// True when v is the sign extension of its low word.
inline bool fits32(int64_t v) { return v == static_cast<int32_t>(v); }

// |v| as an unsigned value (|INT64_MIN| = 2^63).
inline uint64_t magnitude(int64_t v) {
  return v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
}

inline int64_t negate_if(uint64_t m, bool negative) {
  return static_cast<int64_t>(negative ? 0 - m : m);
}

// Shifts of a 64-bit value. A count outside 0..63 (negative counts
// included) shifts every bit out: 0, or the sign fill for arlshift.
inline int64_t llshift(int64_t a, int32_t n) {
  return static_cast<uint32_t>(n) > 63 ? 0 : static_cast<int64_t>(static_cast<uint64_t>(a) << n);
}
inline int64_t rlshift(int64_t a, int32_t n) {
  return static_cast<uint32_t>(n) > 63 ? 0 : static_cast<int64_t>(static_cast<uint64_t>(a) >> n);
}
inline int64_t arlshift(int64_t a, int32_t n) {
  return a >> (static_cast<uint32_t>(n) > 63 ? 63 : n);  // arithmetic on signed values (C++20)
}

// A shift count given as INTEGER*8: counts that do not fit 0..63 map to 64,
// which the shifts above treat as "too large".
inline int32_t count64(int64_t n) {
  return static_cast<uint64_t>(n) > 63 ? 64 : static_cast<int32_t>(n);
}

// Quotient and remainder of the magnitudes, signed afterwards: the exact
// integer results, as the x87 gives them when it divides the two 64-bit
// values under a chopping, 64-bit-precision control word, without that mode
// switch. (-2^63) / (-1) gives 2^63, which reads as 0x8000000000000000 (the
// x87's overflowing store); the remainder has the sign of a.
inline int64_t wide_quotient(int64_t a, int64_t b) {
  return negate_if(magnitude(a) / magnitude(b), (a < 0) != (b < 0));
}
inline int64_t wide_remainder(int64_t a, int64_t b) {
  return negate_if(magnitude(a) % magnitude(b), a < 0);
}

// Quotient truncated toward zero; b = 0 gives INT64_MAX.
inline int64_t ldiv(int64_t a, int64_t b) {
  if (b == 0) return kMaxInt;
  if (fits32(a) && fits32(b) && !(a == INT32_MIN && b == -1)) {
    return static_cast<int32_t>(a) / static_cast<int32_t>(b);
  }
  if (magnitude(a) < magnitude(b)) return 0;
  return wide_quotient(a, b);
}

// Remainder a - b * trunc(a / b), with the sign of a; b = 0 gives INT64_MAX.
inline int64_t lmod(int64_t a, int64_t b) {
  if (b == 0) return kMaxInt;
  if (fits32(a) && fits32(b) && !(a == INT32_MIN && b == -1)) {
    return static_cast<int32_t>(a) % static_cast<int32_t>(b);
  }
  if (magnitude(a) < magnitude(b)) return a;
  return wide_remainder(a, b);
}

}  // namespace morvex::int8
