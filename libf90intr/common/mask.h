// Reading LOGICAL elements (MASK arguments, LOGICAL operands).
//
// A LOGICAL element is true when it is non-zero. The one rule that varies
// between routines is how a LOGICAL*8 is tested: either of its 32-bit words
// non-zero, or its low-order word alone. The rule is a template parameter.
//
//   Logical<4>::truth(p)                         // LOGICAL*4 at p
//   Logical<8, Logical8::low_word>::truth(p)     // only the low word counts
//   with_logical(mask.elem_bytes(), [&](auto m) { ... decltype(m)::truth(p) ... });
//   NoMask::truth(p)                             // true: every element counts
//   logical_true(p, logical_bytes(d.elem_len())) // one element, width known at run time
//   truth_bits_32<Mask>(p)                       // 32 contiguous elements as bits (SSE2)
#pragma once

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

namespace f90 {

enum class Logical8 { either_word, low_word };

template <uint32_t Bytes, Logical8 Rule = Logical8::either_word>
struct Logical {
  static_assert(Bytes == 1 || Bytes == 2 || Bytes == 4 || Bytes == 8);
  static constexpr uint32_t kBytes = Bytes;

  static bool truth(const char* p) {
    if constexpr (Bytes == 1) {
      return static_cast<uint8_t>(*p) != 0;
    } else if constexpr (Bytes == 2) {
      uint16_t v;
      std::memcpy(&v, p, 2);
      return v != 0;
    } else if constexpr (Bytes == 8 && Rule == Logical8::either_word) {
      uint64_t v;
      std::memcpy(&v, p, 8);
      return v != 0;
    } else {  // 4 bytes, or the low word of 8
      uint32_t v;
      std::memcpy(&v, p, 4);
      return v != 0;
    }
  }
};

// Every element is considered.
struct NoMask {
  static bool truth(const char*) { return true; }
};

// Bytes read for a LOGICAL element whose elem_len is `bits`: 1, 2 or 8 for
// 8, 16 or 64 bits, 4 (a 32-bit word) for any other length.
inline uint32_t logical_bytes(uint32_t bits) {
  return bits == 8 ? 1 : bits == 16 ? 2 : bits == 64 ? 8 : 4;
}

// Calls f(Logical<B, Rule>{}) for a LOGICAL element of `bytes` bytes: B is
// 1, 2 or 8 for those sizes, and 4 for any other (read as a 32-bit word).
template <Logical8 Rule = Logical8::either_word, class F>
inline void with_logical(uint32_t bytes, F&& f) {
  switch (bytes) {
    case 1: f(Logical<1, Rule>{}); return;
    case 2: f(Logical<2, Rule>{}); return;
    case 8: f(Logical<8, Rule>{}); return;
    default: f(Logical<4, Rule>{}); return;
  }
}

// The truth of one LOGICAL element of `bytes` bytes (read as with_logical).
template <Logical8 Rule = Logical8::either_word>
inline bool logical_true(const char* p, uint32_t bytes) {
  bool t = false;
  with_logical<Rule>(bytes, [&](auto m) { t = decltype(m)::truth(p); });
  return t;
}

// Truth bits of 32 LOGICALs of the width of Mask, contiguous from p: bit i
// set when element i is true. The 1- and 4-byte widths compare 16 bytes at
// a time through SSE2 (the caller has checked the CPU: x87::have_sse2());
// the others test element by element.
__attribute__((target("sse2"))) inline uint32_t truth_bits_1x32(const char* p) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
  const uint32_t lo = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(a, zero)));
  const uint32_t hi = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(b, zero)));
  return ~(lo | hi << 16);
}

__attribute__((target("sse2"))) inline uint32_t truth_bits_4x32(const char* p) {
  const __m128i zero = _mm_setzero_si128();
  uint32_t zeros = 0;
#pragma GCC unroll 8
  for (int q = 0; q < 8; ++q) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * q));
    zeros |= static_cast<uint32_t>(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(v, zero)))) << (4 * q);
  }
  return ~zeros;
}

template <class Mask>
inline uint32_t truth_bits_32(const char* p) {
  if constexpr (Mask::kBytes == 1) {
    return truth_bits_1x32(p);
  } else if constexpr (Mask::kBytes == 4) {
    return truth_bits_4x32(p);
  } else {
    uint32_t bits = 0;
    for (int i = 0; i < 32; ++i) bits |= uint32_t{Mask::truth(p + i * Mask::kBytes)} << i;
    return bits;
  }
}

}  // namespace f90
