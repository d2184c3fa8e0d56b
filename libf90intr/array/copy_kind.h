// Element copy kinds: how the array construction routines (CSHIFT, EOSHIFT,
// PACK, UNPACK, RESHAPE, SPREAD) address and move elements they never look
// at.
//
// A routine classifies its principal array once per call. The kind fixes the
// unit of address, how descriptor strides become byte strides, and how one
// element moves. dispatch() turns the run-time kind into a compile-time one,
// so each routine's loops are instantiated once per kind and no element goes
// through a switch on its type.
//
// Elements move as bytes (memcpy of a fixed 4, 8, 16 or 32 bytes for the word
// kinds, which compiles to plain loads and stores), never through a floating
// type: a signalling NaN keeps its bits.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "array/descriptor.h"

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

// Fixed element size of a kind, or 0 when the size is known only at run time.
template <CopyKind K>
inline constexpr uint32_t kFixedBytes = K == COPY_WORD     ? 4
                                        : K == COPY_2WORDS ? 8
                                        : K == COPY_NWORDS ? 16
                                        : K == COPY_8WORDS ? 32
                                                           : 0;

// Moves elements of one kind. `bytes` is the element size (used only by the
// kinds whose size is not fixed).
template <CopyKind K>
struct Mover {
  static constexpr uint32_t kBytes = kFixedBytes<K>;

  static void one(char* dst, const char* src, uint32_t bytes) {
    if constexpr (kBytes != 0) {
      std::memcpy(dst, src, kBytes);
    } else if (bytes != 0) {  // a 0-byte element (CHARACTER*0) may have no storage at all
      std::memcpy(dst, src, bytes);
    }
  }

  // n elements from src (byte stride ss) to dst (byte stride ds). A run that
  // is contiguous on both sides moves as one block.
  static void line(char* dst, int64_t ds, const char* src, int64_t ss, int64_t n, uint32_t bytes) {
    const int64_t size = kBytes != 0 ? kBytes : bytes;
    if (n <= 0 || size == 0) return;
    if (ds == size && ss == size) {
      std::memcpy(dst, src, static_cast<size_t>(n * size));
      return;
    }
    for (int64_t i = 0; i < n; ++i, dst += ds, src += ss) one(dst, src, bytes);
  }

  // Stores the same element n times at dst with byte stride ds.
  static void fill(char* dst, int64_t ds, const char* src, int64_t n, uint32_t bytes) {
    for (int64_t i = 0; i < n; ++i, dst += ds) one(dst, src, bytes);
  }
};

// Calls f(std::integral_constant<CopyKind, K>{}) for the run-time kind k.
// A kind outside the table reports 1223 and calls nothing; returns whether f
// was called.
template <class F>
inline bool dispatch(CopyKind k, F&& f) {
  switch (k) {
    case COPY_WORD: f(std::integral_constant<CopyKind, COPY_WORD>{}); return true;
    case COPY_2WORDS: f(std::integral_constant<CopyKind, COPY_2WORDS>{}); return true;
    case COPY_NWORDS: f(std::integral_constant<CopyKind, COPY_NWORDS>{}); return true;
    case COPY_8WORDS: f(std::integral_constant<CopyKind, COPY_8WORDS>{}); return true;
    case COPY_BYTES: f(std::integral_constant<CopyKind, COPY_BYTES>{}); return true;
    case COPY_DERIVED_WORDS: f(std::integral_constant<CopyKind, COPY_DERIVED_WORDS>{}); return true;
  }
  report(ERR_UNSUPPORTED_TYPE);
  return false;
}

}  // namespace f90

namespace f90 {

// True for elements that move one word position at a time: word-laid
// derived types, whose word w of every element of a walk moves before word
// w + 1; and elements of the 128-bit kind whose length is not four words
// (no valid type word makes one), so that a move never runs past its own
// element.
inline bool moves_by_word_position(const ElemClass& c) {
  return c.kind == COPY_DERIVED_WORDS || (c.kind == COPY_NWORDS && c.units != 4);
}

// Runs one routine's moves for the classified element: f(kind, offset) is
// called with std::integral_constant<CopyKind, K> and a byte offset into
// every element. Most kinds make one call with offset 0. Elements that move
// by word position make one call per word w = 0 .. units-1, in increasing
// order, as COPY_WORD moves at offset 4w (none for a 0-word element); the
// byte strides stay those of the element. A kind outside the table reports
// 1223 and calls nothing; returns whether the kind was known.
// Byte `off` of the element at `base`. A null base (an argument or result
// without storage: nothing is ever read or written through it) stays null,
// since adding an offset to a null pointer is undefined.
inline char* word_at(char* base, uint32_t off) { return base == nullptr ? base : base + off; }

template <class F>
inline bool dispatch_moves(const ElemClass& c, F&& f) {
  if (moves_by_word_position(c)) {
    for (uint32_t w = 0; w < c.units; ++w) f(std::integral_constant<CopyKind, COPY_WORD>{}, 4 * w);
    return true;
  }
  return dispatch(c.kind, [&](auto k) {
    if constexpr (decltype(k)::value != COPY_DERIVED_WORDS) f(k, uint32_t{0});
  });
}

}  // namespace f90
