// The byte scans of bytes.h a vector at a time: the first difference of two
// ranges, the first byte that is not a blank, and the substring screen of
// INDEX (first and last matching start), 32 bytes a step where the CPU has
// AVX2 and 16 where it has SSE2, with the word-at-a-time scans of bytes.h
// for short ranges and for CPUs without either.
//
// They give the answers of the scans of bytes.h, byte for byte: comparisons
// of bytes for equality are exact in any width. No load reaches outside the
// range given. A range whose length is not a whole number of vectors ends
// with one vector that overlaps the one before it: the bytes it reads twice
// are already known to agree, so the first difference it finds is the first
// of the range.
//
// One algorithm per scan, over an instruction-set policy (Sse2, Avx2: the
// bit mask of the bytes of a vector that agree with another range, with
// blanks, or with the two screened bytes of INDEX). Each policy's functions
// carry their target; each entry point below is compiled whole (flatten)
// for one target, so that the policy's functions are inlined into it.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "chars/bytes.h"
#include "sse2_exact.h"

namespace morvex::chars::wide {

struct Sse2 {
  static constexpr uint32_t kWidth = 16;
  static constexpr uint32_t kAll = 0xffffu;
  [[gnu::target("sse2")]] static __m128i load(const Byte* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  }
  [[gnu::target("sse2")]] static uint32_t equal_mask(__m128i a, __m128i b) {
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(a, b)));
  }
  // Bit k set where a[k] == b[k].
  [[gnu::target("sse2")]] static uint32_t same(const Byte* a, const Byte* b) {
    return equal_mask(load(a), load(b));
  }
  // Bit k set where p[k] is a blank.
  [[gnu::target("sse2")]] static uint32_t blank(const Byte* p) {
    return equal_mask(load(p), _mm_set1_epi8(static_cast<char>(kBlank)));
  }
  // Bit k set where p[k] == first and p[k + gap] == last.
  [[gnu::target("sse2")]] static uint32_t pair(const Byte* p, uint32_t gap, Byte first, Byte last) {
    return equal_mask(load(p), _mm_set1_epi8(static_cast<char>(first))) &
           equal_mask(load(p + gap), _mm_set1_epi8(static_cast<char>(last)));
  }
};

struct Avx2 {
  static constexpr uint32_t kWidth = 32;
  static constexpr uint32_t kAll = 0xffffffffu;
  [[gnu::target("avx2")]] static __m256i load(const Byte* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  }
  [[gnu::target("avx2")]] static uint32_t equal_mask(__m256i a, __m256i b) {
    return static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(a, b)));
  }
  [[gnu::target("avx2")]] static uint32_t same(const Byte* a, const Byte* b) {
    return equal_mask(load(a), load(b));
  }
  [[gnu::target("avx2")]] static uint32_t blank(const Byte* p) {
    return equal_mask(load(p), _mm256_set1_epi8(static_cast<char>(kBlank)));
  }
  [[gnu::target("avx2")]] static uint32_t pair(const Byte* p, uint32_t gap, Byte first, Byte last) {
    return equal_mask(load(p), _mm256_set1_epi8(static_cast<char>(first))) &
           equal_mask(load(p + gap), _mm256_set1_epi8(static_cast<char>(last)));
  }
};

// Index of the first byte of a range of n >= kWidth bytes whose bit in
// agree(i) (the kWidth bytes from offset i) is clear, n when there is none.
// Four vectors a step, then one, then the overlapping last.
template <class S, class Agree>
inline uint32_t first_disagreement(uint32_t n, Agree agree) {
  constexpr uint32_t W = S::kWidth;
  uint32_t i = 0;
  for (; n - i >= 4 * W; i += 4 * W) {
    const uint32_t m0 = agree(i), m1 = agree(i + W), m2 = agree(i + 2 * W), m3 = agree(i + 3 * W);
    if ((m0 & m1 & m2 & m3) != S::kAll) {
      const uint32_t m = m0 != S::kAll ? m0 : m1 != S::kAll ? m1 : m2 != S::kAll ? m2 : m3;
      const uint32_t k = m0 != S::kAll ? 0 : m1 != S::kAll ? W : m2 != S::kAll ? 2 * W : 3 * W;
      return i + k + static_cast<uint32_t>(__builtin_ctz(~m));
    }
  }
  for (; n - i >= W; i += W) {
    const uint32_t m = agree(i);
    if (m != S::kAll) return i + static_cast<uint32_t>(__builtin_ctz(~m));
  }
  if (i == n) return n;
  const uint32_t m = agree(n - W);
  return m == S::kAll ? n : n - W + static_cast<uint32_t>(__builtin_ctz(~m));
}

// The first start i < count with p[i] == first and p[i + gap] == last, or
// count, as find_pair of bytes.h.
template <class S>
inline uint32_t first_pair(const Byte* p, uint32_t count, Byte first, Byte last, uint32_t gap) {
  constexpr uint32_t W = S::kWidth;
  uint32_t i = 0;
  for (; count - i >= 2 * W; i += 2 * W) {
    const uint32_t m0 = S::pair(p + i, gap, first, last), m1 = S::pair(p + i + W, gap, first, last);
    if ((m0 | m1) != 0) {
      return m0 != 0 ? i + static_cast<uint32_t>(__builtin_ctz(m0))
                     : i + W + static_cast<uint32_t>(__builtin_ctz(m1));
    }
  }
  for (; count - i >= W; i += W) {
    const uint32_t m = S::pair(p + i, gap, first, last);
    if (m != 0) return i + static_cast<uint32_t>(__builtin_ctz(m));
  }
  return i + chars::find_pair(p + i, count - i, first, last, gap);
}

// The last such start, or kNone, as rfind_pair of bytes.h.
template <class S>
inline uint32_t last_pair(const Byte* p, uint32_t count, Byte first, Byte last, uint32_t gap) {
  constexpr uint32_t W = S::kWidth;
  for (; count >= W; count -= W) {
    const uint32_t m = S::pair(p + count - W, gap, first, last);
    if (m != 0) return count - W + static_cast<uint32_t>(31 - __builtin_clz(m));
  }
  return chars::rfind_pair(p, count, first, last, gap);
}

// The entries for each target, each compiled whole for it.
[[gnu::target("sse2"), gnu::flatten]] inline uint32_t first_difference_sse2(const Byte* a,
                                                                            const Byte* b,
                                                                            uint32_t n) {
  if (n < Sse2::kWidth) return chars::first_difference(a, b, n);
  return first_disagreement<Sse2>(n, [=](uint32_t i) { return Sse2::same(a + i, b + i); });
}
[[gnu::target("avx2"), gnu::flatten]] inline uint32_t first_difference_avx2(const Byte* a,
                                                                            const Byte* b,
                                                                            uint32_t n) {
  if (n < Avx2::kWidth) return chars::first_difference(a, b, n);
  return first_disagreement<Avx2>(n, [=](uint32_t i) { return Avx2::same(a + i, b + i); });
}
[[gnu::target("sse2"), gnu::flatten]] inline uint32_t leading_blanks_sse2(const Byte* p,
                                                                          uint32_t n) {
  if (n < Sse2::kWidth) return chars::leading_blanks(p, n);
  return first_disagreement<Sse2>(n, [=](uint32_t i) { return Sse2::blank(p + i); });
}
[[gnu::target("avx2"), gnu::flatten]] inline uint32_t leading_blanks_avx2(const Byte* p,
                                                                          uint32_t n) {
  if (n < Avx2::kWidth) return chars::leading_blanks(p, n);
  return first_disagreement<Avx2>(n, [=](uint32_t i) { return Avx2::blank(p + i); });
}
[[gnu::target("sse2"), gnu::flatten]] inline uint32_t find_pair_sse2(const Byte* p, uint32_t count,
                                                                     Byte first, Byte last,
                                                                     uint32_t gap) {
  return first_pair<Sse2>(p, count, first, last, gap);
}
[[gnu::target("avx2"), gnu::flatten]] inline uint32_t find_pair_avx2(const Byte* p, uint32_t count,
                                                                     Byte first, Byte last,
                                                                     uint32_t gap) {
  return first_pair<Avx2>(p, count, first, last, gap);
}
[[gnu::target("sse2"), gnu::flatten]] inline uint32_t rfind_pair_sse2(const Byte* p, uint32_t count,
                                                                      Byte first, Byte last,
                                                                      uint32_t gap) {
  return last_pair<Sse2>(p, count, first, last, gap);
}
[[gnu::target("avx2"), gnu::flatten]] inline uint32_t rfind_pair_avx2(const Byte* p, uint32_t count,
                                                                      Byte first, Byte last,
                                                                      uint32_t gap) {
  return last_pair<Avx2>(p, count, first, last, gap);
}

// The scan for a range of n bytes: the widest the CPU has. Ranges under 32
// bytes stay with the word scans, where the vector set-up would cost more.
template <class Fn>
inline Fn* widest(uint32_t n, Fn* avx2, Fn* sse2, Fn* words) {
  if (n < 32 || !x87::have_sse2()) return words;
  return have_avx2() ? avx2 : sse2;
}

inline uint32_t first_difference(const Byte* a, const Byte* b, uint32_t n) {
  return widest(n, first_difference_avx2, first_difference_sse2, chars::first_difference)(a, b, n);
}

inline uint32_t leading_blanks(const Byte* p, uint32_t n) {
  return widest(n, leading_blanks_avx2, leading_blanks_sse2, chars::leading_blanks)(p, n);
}

inline uint32_t find_pair(const Byte* p, uint32_t count, Byte first, Byte last, uint32_t gap) {
  return widest(count, find_pair_avx2, find_pair_sse2, chars::find_pair)(p, count, first, last,
                                                                         gap);
}

inline uint32_t rfind_pair(const Byte* p, uint32_t count, Byte first, Byte last, uint32_t gap) {
  return widest(count, rfind_pair_avx2, rfind_pair_sse2, chars::rfind_pair)(p, count, first, last,
                                                                            gap);
}

}  // namespace morvex::chars::wide
