// Element copy kinds: how the array construction routines (CSHIFT, EOSHIFT,
// PACK, UNPACK, RESHAPE, SPREAD) address and move elements they never look
// at.
//
// A routine classifies its principal array once per call. The kind fixes the
// unit of address, how descriptor strides become byte strides, and whether
// an element moves whole or one word position at a time. The element's size
// picks the mover through the library's one dispatcher (with_width), so each
// routine's loops are instantiated once per width and no element goes
// through a switch on its type.
//
// Elements move as bytes (memcpy of a fixed 1, 2, 4, 8, 16 or 32 bytes,
// which compiles to plain loads and stores), never through a floating type:
// a signalling NaN keeps its bits.
#pragma once

#include <immintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "array/construct.h"
#include "array/descriptor.h"
#include "chars/bytes.h"
#include "common/dispatch.h"
#include "sse2_exact.h"

namespace f90 {

enum CopyKind : int32_t {
  COPY_WORD = 9,            // 32-bit elements
  COPY_2WORDS = 10,         // 64-bit elements
  COPY_NWORDS = 11,         // 128-bit elements (REAL*16, COMPLEX*16)
  COPY_8WORDS = 12,         // 256-bit elements (COMPLEX*32)
  COPY_BYTES = 13,          // CHARACTER, byte-laid derived types, 8- and 16-bit elements
  COPY_DERIVED_WORDS = 14,  // word-laid derived types
};

struct ElemClass {
  CopyKind kind;
  uint32_t units;      // storage units per element
  bool byte_address;   // strides count bytes (COPY_BYTES) rather than words
  bool scale_strides;  // strides are divided by `units` to give element strides

  // Bytes of one element as the routines allocate and move it.
  uint32_t elem_bytes() const { return byte_address ? units : 4 * units; }

  // Byte distance of one step along a dimension whose descriptor stride is
  // `stride`. For the scaled kinds the stride is first truncated to whole
  // elements (signed division), as the element-stride rule does.
  int64_t byte_stride(int32_t stride) const {
    if (byte_address) return stride;
    if (scale_strides && units >= 2) return int64_t{stride / static_cast<int32_t>(units)} * elem_bytes();
    return int64_t{stride} * 4;
  }
};

// Classifies an element by its type word and elem_len.
inline ElemClass classify(uint32_t type_word, uint32_t elem_len) {
  const int8_t code = static_cast<int8_t>(type_word & F90_TW_TYPE_CODE_MASK);
  const uint32_t int_len = (type_word & F90_TW_INT_LEN_MASK) >> F90_TW_INT_LEN_SHIFT;
  switch (code) {
    case TYPE_CHARACTER: return {COPY_BYTES, elem_len, true, false};
    case TYPE_DERIVED_BYTES: return {COPY_BYTES, elem_len / 8, true, false};
    case TYPE_DERIVED_WORDS: return {COPY_DERIVED_WORDS, elem_len / 32, false, false};
    default: break;
  }
  switch (int_len) {
    case 8:
    case 16: return {COPY_BYTES, int_len / 8, true, false};
    case 32: return {COPY_WORD, 1, false, true};
    case 64: return {COPY_2WORDS, 2, false, true};
    case 256: return {COPY_8WORDS, 8, false, true};
    default: return {COPY_NWORDS, int_len / 32, false, true};
  }
}

inline ElemClass classify(Desc d) { return classify(d.type_word(), d.elem_len()); }

// Moves elements of N bytes (N = 0: of `bytes` bytes, known at run time).
// `bytes` is used only when N is 0. Routines pick N with
// with_width<Widths::any> (common/dispatch.h), usually through with_moves.
template <uint32_t N>
struct Mover {
  static constexpr uint32_t kBytes = N;

  static void one(char* dst, const char* src, uint32_t bytes) {
    if constexpr (N != 0) {
      std::memcpy(dst, src, N);
    } else if (bytes != 0) {  // a 0-byte element (CHARACTER*0) may have no storage at all
      std::memcpy(dst, src, bytes);
    }
  }

  // n elements from src (byte stride ss) to dst (byte stride ds). A run that
  // is contiguous on both sides moves as one block. The element loop counts
  // and steps in the pointers' own width (64-bit counters and strides cost
  // short lines about a quarter of their time); a line that stores more
  // elements than that width counts does not fit the address space anyway.
  static void line(char* dst, int64_t ds, const char* src, int64_t ss, int64_t n, uint32_t bytes) {
    const int64_t size = N != 0 ? N : bytes;
    if (n <= 0 || size == 0) return;
    if (ds == size && ss == size) {
      std::memcpy(dst, src, static_cast<size_t>(n * size));
      return;
    }
    const ptrdiff_t dstep = static_cast<ptrdiff_t>(ds), sstep = static_cast<ptrdiff_t>(ss);
    for (size_t i = static_cast<size_t>(n); i > 0; --i, dst += dstep, src += sstep) one(dst, src, bytes);
  }

  // Stores the same element n times at dst with byte stride ds (a fixed
  // size is read once: src lies outside the elements stored).
  static void fill(char* dst, int64_t ds, const char* src, int64_t n, uint32_t bytes) {
    if constexpr (N != 0) {
      char value[N];
      std::memcpy(value, src, N);
      for (int64_t i = 0; i < n; ++i, dst += ds) std::memcpy(dst, value, N);
    } else {
      for (int64_t i = 0; i < n; ++i, dst += ds) one(dst, src, bytes);
    }
  }
};

// True for elements that move one word position at a time: word-laid
// derived types, whose word w of every element of a walk moves before word
// w + 1; and elements of the 128-bit kind whose length is not four words
// (no valid type word makes one), so that a move never runs past its own
// element.
inline bool moves_by_word_position(const ElemClass& c) {
  return c.kind == COPY_DERIVED_WORDS || (c.kind == COPY_NWORDS && c.units != 4);
}

// Moves whose destination is at least this large store past the caches
// where they can (SSE2 streaming stores): about an eighth of the shared
// last-level cache of the machines measured. Such a destination would
// mostly leave the caches again, and a streamed line need not be read
// first, which roughly halves the time of a move that cannot use memcpy.
inline constexpr int64_t kStreamBytes = int64_t{4} << 20;

// The widest instructions of this CPU for the strided moves, at most
// `limit`: each routine's hidden limit, which the tests lower to run the
// narrower paths on a CPU that has the wider ones.
inline PackIsa move_isa(PackIsa limit) {
  const PackIsa widest = !x87::have_sse2()              ? PackIsa::none
                         : morvex::chars::have_avx512() ? PackIsa::avx512
                         : morvex::chars::have_avx2()   ? PackIsa::avx2
                                                        : PackIsa::sse2;
  return widest < limit ? widest : limit;
}

// Stores 16 bytes at p: streamed past the caches (p 16-byte aligned) or
// plainly. The callers issue _mm_sfence() after a streamed move.
template <bool kStream>
__attribute__((target("sse2"), always_inline)) inline void store16(char* p, __m128i v) {
  if constexpr (kStream) {
    _mm_stream_si128(reinterpret_cast<__m128i*>(p), v);
  } else {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
  }
}

// The element at p (K = 4 or 8 bytes) in the low lanes of a register,
// read on its own: no byte past it is touched.
template <uint32_t K>
__attribute__((target("sse2"), always_inline)) inline __m128i load_low(const char* p) {
  static_assert(K == 4 || K == 8);
  if constexpr (K == 8) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
  } else {
    int32_t v;
    std::memcpy(&v, p, 4);
    return _mm_cvtsi32_si128(v);
  }
}

// The 16 / K elements at at(0), at(1), ... (K = 4 or 8 bytes, each read on
// its own) side by side in one register, in that order: integer loads and
// interleaves only, so every bit pattern passes.
template <uint32_t K, class At>
__attribute__((target("sse2"), always_inline)) inline __m128i gather16(At at) {
  if constexpr (K == 8) {
    return _mm_unpacklo_epi64(load_low<8>(at(0)), load_low<8>(at(1)));
  } else {
    const __m128i ab = _mm_unpacklo_epi32(load_low<4>(at(0)), load_low<4>(at(1)));
    const __m128i cd = _mm_unpacklo_epi32(load_low<4>(at(2)), load_low<4>(at(3)));
    return _mm_unpacklo_epi64(ab, cd);
  }
}

// Stores 32 bytes at p: streamed past the caches as two 16-byte halves (p
// need only be 16-byte aligned), or plainly. AVX2 callers only.
template <bool kStream>
__attribute__((target("avx2"), always_inline)) inline void store32(char* p, __m256i v) {
  if constexpr (kStream) {
    _mm_stream_si128(reinterpret_cast<__m128i*>(p), _mm256_castsi256_si128(v));
    _mm_stream_si128(reinterpret_cast<__m128i*>(p + 16), _mm256_extracti128_si256(v, 1));
  } else {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
  }
}

// Stores 64 bytes at p: streamed past the caches as one whole line (p
// 64-byte aligned), or plainly. AVX-512 callers only. A whole-line streamed
// store fills its write-combining buffer at once: the stride-2 gather into
// 256 MiB measured 0.69 of memcpy with it, 0.64 with four 16-byte halves.
template <bool kStream>
__attribute__((target("avx512f"), always_inline)) inline void store64(char* p, __m512i v) {
  if constexpr (kStream) {
    _mm512_stream_si512(reinterpret_cast<__m512i*>(p), v);
  } else {
    _mm512_storeu_si512(p, v);
  }
}

// Byte `off` of the element at `base`. A null base (an argument or result
// without storage: nothing is ever read or written through it) stays null,
// since adding an offset to a null pointer is undefined.
inline char* word_at(char* base, uint32_t off) { return base == nullptr ? base : base + off; }

// Runs one construction routine's moves for the classified element through
// the one width dispatcher: f(width, offset) with width an
// std::integral_constant<uint32_t, N> for Mover<N> and a byte offset into
// every element. Most elements make one call, N their size (0 for sizes the
// dispatcher has no constant for) and offset 0. Elements that move by word
// position make one call per word w = 0 .. units-1, in increasing order, as
// 4-byte moves at offset 4w (none for a 0-word element); the byte strides
// stay those of the element.
template <class F>
inline void with_moves(const ElemClass& c, F&& f) {
  const bool by_word = moves_by_word_position(c);
  with_width<Widths::any>(by_word ? 4 : c.elem_bytes(), [&](auto width) {
    const uint32_t passes = by_word ? c.units : 1;
    for (uint32_t w = 0; w < passes; ++w) f(width, 4 * w);
  });
}

}  // namespace f90
