// The string passes of SCAN and VERIFY: byte by byte, and thirty-two bytes
// a step with SSSE3 (two 16-byte halves) or AVX2.
//
// Vector step, thirty-two bytes: pshufb of the two 16-byte rows by the low
// nibble gives the table byte of every input byte (each row answering for
// its half of the code range), and pshufb of the bit masks 1 << (hi & 7) by
// the high nibble gives the bit to test. A byte is in SET when the two share
// a bit; movemask turns the answers into a bit mask whose lowest (highest)
// stop is the first (last) position.
#include "char/set_search.h"

#include <immintrin.h>

namespace f90::chars {
namespace {


inline bool stops(const SetBits& set, Byte c, Stop stop) {
  return set.has(c) == (stop == Stop::in_set);
}

// Bit i set when byte i of the 16 at p is NOT in the set. A shuffle index
// with bit 7 set gives 0, so byte & 0x8F looks up row 0 for codes 0-127
// only, and the same index with bit 7 flipped row 1 for codes 128-255 only.
__attribute__((target("ssse3"))) inline uint32_t outside_mask(const Byte* p, __m128i row0,
                                                              __m128i row1, __m128i bit_of) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i index = _mm_and_si128(v, _mm_set1_epi8(static_cast<char>(0x8F)));
  const __m128i row = _mm_or_si128(
      _mm_shuffle_epi8(row0, index),
      _mm_shuffle_epi8(row1, _mm_xor_si128(index, _mm_set1_epi8(static_cast<char>(0x80)))));
  const __m128i hi = _mm_and_si128(_mm_srli_epi16(v, 4), _mm_set1_epi8(15));
  const __m128i hit = _mm_and_si128(row, _mm_shuffle_epi8(bit_of, hi));
  return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(hit, _mm_setzero_si128())));
}

struct Vectors {
  __m128i row0, row1, bit_of;
  uint32_t flip;  // XOR turning "outside" bits of 32 bytes into stop bits
};

__attribute__((target("ssse3"))) Vectors vectors(const SetBits& set, Stop stop) {
  return {_mm_load_si128(reinterpret_cast<const __m128i*>(set.row)),
          _mm_load_si128(reinterpret_cast<const __m128i*>(set.row + 16)),
          _mm_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64, -128),
          stop == Stop::in_set ? 0xFFFFFFFFu : 0u};
}

// Stop bits of the 32 bytes at p (bit i for byte i).
__attribute__((target("ssse3"))) inline uint32_t stop_mask_32(const Byte* p, const Vectors& k) {
  return (outside_mask(p, k.row0, k.row1, k.bit_of) |
          outside_mask(p + 16, k.row0, k.row1, k.bit_of) << 16) ^
         k.flip;
}

__attribute__((target("ssse3"))) uint32_t first_stop_ssse3(const Byte* s, uint32_t n,
                                                           const SetBits& set, Stop stop) {
  const Vectors k = vectors(set, stop);
  uint32_t i = 0;
  for (; n - i >= 32; i += 32) {
    const uint32_t m = stop_mask_32(s + i, k);
    if (m != 0) return i + static_cast<uint32_t>(__builtin_ctz(m)) + 1;
  }
  for (; i < n; ++i)
    if (stops(set, s[i], stop)) return i + 1;
  return 0;
}

__attribute__((target("ssse3"))) uint32_t last_stop_ssse3(const Byte* s, uint32_t n,
                                                          const SetBits& set, Stop stop) {
  const Vectors k = vectors(set, stop);
  for (; n >= 32; n -= 32) {
    const uint32_t m = stop_mask_32(s + n - 32, k);
    if (m != 0) return n - 32 + static_cast<uint32_t>(31 - __builtin_clz(m)) + 1;
  }
  for (; n > 0; --n)
    if (stops(set, s[n - 1], stop)) return n;
  return 0;
}

// The same step on 32 bytes with AVX2: vpshufb looks up within each 128-bit
// lane, so the rows and bit masks are repeated in both lanes.
__attribute__((target("avx2"))) inline uint32_t stop_mask_32_avx2(const Byte* p, __m256i row0,
                                                                  __m256i row1, __m256i bit_of,
                                                                  uint32_t flip) {
  const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  const __m256i index = _mm256_and_si256(v, _mm256_set1_epi8(static_cast<char>(0x8F)));
  const __m256i row = _mm256_or_si256(
      _mm256_shuffle_epi8(row0, index),
      _mm256_shuffle_epi8(row1, _mm256_xor_si256(index, _mm256_set1_epi8(static_cast<char>(0x80)))));
  const __m256i hi = _mm256_and_si256(_mm256_srli_epi16(v, 4), _mm256_set1_epi8(15));
  const __m256i hit = _mm256_and_si256(row, _mm256_shuffle_epi8(bit_of, hi));
  return static_cast<uint32_t>(
             _mm256_movemask_epi8(_mm256_cmpeq_epi8(hit, _mm256_setzero_si256()))) ^
         flip;
}

template <bool Back>
__attribute__((target("avx2"))) uint32_t stop_avx2(const Byte* s, uint32_t n, const SetBits& set,
                                                   Stop stop) {
  const __m256i row0 = _mm256_broadcastsi128_si256(
      _mm_load_si128(reinterpret_cast<const __m128i*>(set.row)));
  const __m256i row1 = _mm256_broadcastsi128_si256(
      _mm_load_si128(reinterpret_cast<const __m128i*>(set.row + 16)));
  const __m256i bit_of = _mm256_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32, 64,
                                          -128, 1, 2, 4, 8, 16, 32, 64, -128, 1, 2, 4, 8, 16, 32,
                                          64, -128);
  const uint32_t flip = stop == Stop::in_set ? 0xFFFFFFFFu : 0u;
  if constexpr (Back) {
    for (; n >= 32; n -= 32) {
      const uint32_t m = stop_mask_32_avx2(s + n - 32, row0, row1, bit_of, flip);
      if (m != 0) return n - 32 + static_cast<uint32_t>(31 - __builtin_clz(m)) + 1;
    }
    for (; n > 0; --n)
      if (stops(set, s[n - 1], stop)) return n;
    return 0;
  } else {
    uint32_t i = 0;
    for (; n - i >= 32; i += 32) {
      const uint32_t m = stop_mask_32_avx2(s + i, row0, row1, bit_of, flip);
      if (m != 0) return i + static_cast<uint32_t>(__builtin_ctz(m)) + 1;
    }
    for (; i < n; ++i)
      if (stops(set, s[i], stop)) return i + 1;
    return 0;
  }
}

}  // namespace

// Bit tests of the CPU model libgcc fills in at load time.
Isa best_isa() {
  if (__builtin_cpu_supports("avx2")) return Isa::avx2;
  if (__builtin_cpu_supports("ssse3")) return Isa::ssse3;
  return Isa::scalar;
}

uint32_t find_stop(Isa isa, bool back, const Byte* s, uint32_t n, const SetBits& set, Stop stop) {
  switch (isa) {
    case Isa::avx2: return back ? stop_avx2<true>(s, n, set, stop) : stop_avx2<false>(s, n, set, stop);
    case Isa::ssse3: return back ? last_stop_ssse3(s, n, set, stop) : first_stop_ssse3(s, n, set, stop);
    case Isa::scalar: break;
  }
  if (back) {
    for (; n > 0; --n)
      if (stops(set, s[n - 1], stop)) return n;
    return 0;
  }
  for (uint32_t i = 0; i < n; ++i)
    if (stops(set, s[i], stop)) return i + 1;
  return 0;
}

}  // namespace f90::chars
