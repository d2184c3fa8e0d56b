// Byte-string primitives of the character routines of both libraries.
//
// Copies, blank fills, comparisons and searches over ranges of bytes. They
// work four bytes at a time (one 32-bit word, loaded and stored unaligned)
// and finish byte by byte, so they touch no byte outside the range they are
// given, and they call no library function: a constant-size memcpy is a
// single load or store. The trailing-blank scan of long strings takes 32
// bytes a step where the CPU has AVX2.
//
// Little-endian words: the byte at the lowest address is the lowest 8 bits,
// so the first differing byte of two words is the lowest set byte of their
// exclusive or.
#pragma once

#include <immintrin.h>

#include <cstdint>
#include <cstring>

namespace morvex::chars {

using Byte = unsigned char;
using Word = uint32_t;

inline constexpr Byte kBlank = 0x20;
inline constexpr Word kOnes = 0x01010101u;
inline constexpr Word kHighs = 0x80808080u;
inline constexpr Word kBlankWord = kBlank * kOnes;
inline constexpr uint32_t kNone = UINT32_MAX;  // "not found" of the backward searches

// A length as the library uses it: a negative length counts as 0.
inline uint32_t span(int32_t len) { return len > 0 ? static_cast<uint32_t>(len) : 0u; }

inline Word load(const Byte* p) {
  Word w;
  std::memcpy(&w, p, sizeof w);
  return w;
}
inline void store(Byte* p, Word w) { std::memcpy(p, &w, sizeof w); }

// Non-zero exactly when w has a zero byte; its lowest set bit marks the
// lowest zero byte (bits above it may be set by the borrow, so only the
// lowest one is exact).
inline Word zero_bytes(Word w) { return (w - kOnes) & ~w & kHighs; }
inline uint32_t lowest_byte(Word nonzero) { return static_cast<uint32_t>(__builtin_ctz(nonzero)) >> 3; }
inline uint32_t highest_byte(Word nonzero) {
  return static_cast<uint32_t>(31 - __builtin_clz(nonzero)) >> 3;
}

// Copies n bytes from the first to the last. Correct for overlapping ranges
// when dst <= src: every word is loaded before the store that can reach it.
inline void copy_up(Byte* dst, const Byte* src, uint32_t n) {
  uint32_t i = 0;
  for (; n - i >= 4; i += 4) store(dst + i, load(src + i));
  for (; i < n; ++i) dst[i] = src[i];
}

// Copies n bytes from the last to the first. Correct for overlapping ranges
// when dst >= src.
inline void copy_down(Byte* dst, const Byte* src, uint32_t n) {
  for (; n >= 4; n -= 4) store(dst + n - 4, load(src + n - 4));
  for (; n > 0; --n) dst[n - 1] = src[n - 1];
}

// Stores n copies of value. The compiler is kept from turning the fill into
// a call of the C library: it does not see that the word is one byte four
// times over, and the tail is written out rather than looped.
inline void fill(Byte* dst, uint32_t n, Byte value) {
  Word w = value * kOnes;
  __asm__("" : "+r"(w));
  uint32_t i = 0;
  for (; n - i >= 4; i += 4) store(dst + i, w);
  switch (n - i) {
    case 3: dst[i + 2] = value; [[fallthrough]];
    case 2: dst[i + 1] = value; [[fallthrough]];
    case 1: dst[i] = value; [[fallthrough]];
    default: break;
  }
}

// Index of the first byte where a and b differ, n when the n bytes agree.
// Each byte is read once; the scan stops in the word of the first difference.
inline uint32_t first_difference(const Byte* a, const Byte* b, uint32_t n) {
  const Byte* const start = a;
  const Byte* const end = a + n;
  // Two words a step, walking pointers: the loop then fits the i386
  // registers without spilling.
  for (; end - a >= 8; a += 8, b += 8) {
    const Word d0 = load(a) ^ load(b), d1 = load(a + 4) ^ load(b + 4);
    if ((d0 | d1) != 0) {
      const uint32_t at = static_cast<uint32_t>(a - start);
      return d0 != 0 ? at + lowest_byte(d0) : at + 4 + lowest_byte(d1);
    }
  }
  for (; a != end; ++a, ++b)
    if (*a != *b) break;
  return static_cast<uint32_t>(a - start);
}

// Index of the first byte of p[0..n) that is not a blank, n when all are.
inline uint32_t leading_blanks(const Byte* p, uint32_t n) {
  uint32_t i = 0;
  for (; n - i >= 4; i += 4) {
    const Word d = load(p + i) ^ kBlankWord;
    if (d != 0) return i + lowest_byte(d);
  }
  while (i < n && p[i] == kBlank) ++i;
  return i;
}

// Whether the CPU has AVX2: a bit test of the CPU model libgcc fills in at
// load time (no guarded static).
inline bool have_avx2() { return __builtin_cpu_supports("avx2") != 0; }

// Whether the CPU has SSSE3 (PSHUFB), by the same test.
inline bool have_ssse3() { return __builtin_cpu_supports("ssse3") != 0; }

// Whether the CPU has the AVX-512 foundation with its byte/word and
// 128/256-bit forms (F, BW, VL), by the same test.
inline bool have_avx512() {
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
         __builtin_cpu_supports("avx512vl");
}

// n less the whole 32-byte blocks of blanks at the end of p[0..n), taken
// from the end while a block is all blanks; AVX2 only.
__attribute__((target("avx2"))) inline uint32_t drop_blank_blocks(const Byte* p, uint32_t n) {
  const __m256i blanks = _mm256_set1_epi8(static_cast<char>(kBlank));
  for (; n >= 64; n -= 64) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + n - 64));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + n - 32));
    const __m256i same = _mm256_and_si256(_mm256_cmpeq_epi8(a, blanks), _mm256_cmpeq_epi8(b, blanks));
    if (_mm256_movemask_epi8(same) != -1) break;
  }
  for (; n >= 32; n -= 32) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + n - 32));
    if (_mm256_movemask_epi8(_mm256_cmpeq_epi8(a, blanks)) != -1) break;
  }
  return n;
}

// Length of p[0..n) without its trailing blanks (0 when all are blanks).
// Long strings first drop whole blank blocks 32 bytes at a time (AVX2).
inline uint32_t trimmed_length(const Byte* p, uint32_t n) {
  if (n >= 64 && have_avx2()) n = drop_blank_blocks(p, n);
  for (; n >= 4; n -= 4) {
    const Word d = load(p + n - 4) ^ kBlankWord;
    if (d != 0) return n - 4 + highest_byte(d) + 1;
  }
  while (n > 0 && p[n - 1] == kBlank) --n;
  return n;
}

// The first start i < count with p[i] == first and p[i + gap] == last, or
// count. The caller makes sure that p[count - 1 + gap] is inside the string.
inline uint32_t find_pair(const Byte* p, uint32_t count, Byte first, Byte last, uint32_t gap) {
  const Word f = first * kOnes, l = last * kOnes;
  // A zero byte of the OR is a start where both ends match.
  auto hits_at = [&](uint32_t i) { return zero_bytes((load(p + i) ^ f) | (load(p + i + gap) ^ l)); };
  uint32_t i = 0;
  for (; count - i >= 8; i += 8) {
    const Word h0 = hits_at(i), h1 = hits_at(i + 4);
    if ((h0 | h1) != 0) return h0 != 0 ? i + lowest_byte(h0) : i + 4 + lowest_byte(h1);
  }
  for (; count - i >= 4; i += 4) {
    const Word hits = hits_at(i);
    if (hits != 0) return i + lowest_byte(hits);
  }
  for (; i < count; ++i)
    if (p[i] == first && p[i + gap] == last) return i;
  return count;
}

// The last start i < count with p[i] == first and p[i + gap] == last, or kNone.
inline uint32_t rfind_pair(const Byte* p, uint32_t count, Byte first, Byte last, uint32_t gap) {
  const Word f = first * kOnes, l = last * kOnes;
  for (; count >= 4; count -= 4) {
    const uint32_t base = count - 4;
    // Only the lowest flagged byte is exact: on a hit, look at the four bytes.
    if (zero_bytes((load(p + base) ^ f) | (load(p + base + gap) ^ l)) != 0) {
      for (uint32_t k = 4; k-- > 0;)
        if (p[base + k] == first && p[base + k + gap] == last) return base + k;
    }
  }
  while (count-- > 0)
    if (p[count] == first && p[count + gap] == last) return count;
  return kNone;
}

}  // namespace morvex::chars
