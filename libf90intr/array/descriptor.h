// A view over a caller's ArrayDescriptor with named accessors.
//
// The view holds only the address: it never copies the caller's words and
// never reads a dimension triple at or beyond the descriptor's rank (callers
// may pass only the 6 + 3r words their rank needs). Fields are read and
// written with masks and shifts over the raw 32-bit words.
#pragma once

#include <cstdint>
#include <cstring>

#include "f90/descriptor.h"
#include "f90/messages.h"
#include "f90/runtime.h"
#include "symbols.h"

namespace f90 {

// Storage units in one element (the stride multiplier's unit count):
// CHARACTER counts bytes of elem_len; byte-laid derived types elem_len/8;
// word-laid derived types elem_len/32; other types int_len/8 for 8- and
// 16-bit elements (byte units), else int_len/32 (word units).
inline uint32_t elem_units(uint32_t type_word, uint32_t elem_len) {
  const int8_t code = static_cast<int8_t>(type_word & F90_TW_TYPE_CODE_MASK);
  const uint32_t int_len = (type_word & F90_TW_INT_LEN_MASK) >> F90_TW_INT_LEN_SHIFT;
  switch (code) {
    case TYPE_CHARACTER: return elem_len;
    case TYPE_DERIVED_BYTES: return elem_len / 8;
    case TYPE_DERIVED_WORDS: return elem_len / 32;
    default: return (int_len == 8 || int_len == 16) ? int_len / 8 : int_len / 32;
  }
}

// Bytes in one storage unit: 1 for byte-unit elements, 4 for word-unit ones.
inline uint32_t unit_bytes(uint32_t type_word) {
  const int8_t code = static_cast<int8_t>(type_word & F90_TW_TYPE_CODE_MASK);
  const uint32_t int_len = (type_word & F90_TW_INT_LEN_MASK) >> F90_TW_INT_LEN_SHIFT;
  switch (code) {
    case TYPE_CHARACTER:
    case TYPE_DERIVED_BYTES: return 1;
    case TYPE_DERIVED_WORDS: return 4;
    default: return (int_len == 8 || int_len == 16) ? 1 : 4;
  }
}

// Width in bytes of each value stored into a caller-typed integer result
// (SHAPE, LBOUND, UBOUND ...): 8, 4, or 0 for "store nothing".
inline uint32_t int_result_width(uint32_t type_word) {
  const uint32_t kind_sel = (type_word & F90_TW_KIND_SEL_MASK) >> F90_TW_KIND_SEL_SHIFT;
  const uint32_t int_len = (type_word & F90_TW_INT_LEN_MASK) >> F90_TW_INT_LEN_SHIFT;
  const uint32_t decl_len = type_word >> F90_TW_DECL_LEN_SHIFT;
  if (kind_sel != 0) return decl_len == 8 ? 8 : decl_len == 4 ? 4 : 0;
  return int_len == 64 ? 8 : 4;
}

// Stores a 32-bit value at `p` in the given result width (sign-extended to
// 64 bits, low word first, when the width is 8).
inline void store_int_result(void* p, uint32_t width, int32_t value) {
  if (width == 8) {
    const int64_t v = value;
    std::memcpy(p, &v, 8);
  } else if (width == 4) {
    std::memcpy(p, &value, 4);
  }
}

// Byte distance of one step of a LOGICAL array (a MASK) along a dimension
// whose descriptor stride is `stride`, by the element width in bits: the
// stride counts bytes for 8-bit elements, bytes rounded down to whole 16-bit
// units for 16-bit ones, and 32-bit words for wider ones.
inline int64_t logical_byte_stride(int32_t stride, uint32_t bits) {
  if (bits == 8) return stride;
  if (bits == 16) return int64_t{stride >> 1} * 2;
  return int64_t{stride} * 4;
}

class Desc {
 public:
  explicit Desc(ArrayDescriptor* d) : d_(d) {}
  ArrayDescriptor* raw() const { return d_; }

  // Header words.
  char* base() const { return static_cast<char*>(d_->base); }
  void set_base(void* p) const { d_->base = p; }
  uint32_t elem_len() const { return d_->elem_len; }
  void set_elem_len(uint32_t v) const { d_->elem_len = v; }
  uint32_t flags() const { return d_->flags; }
  uint32_t type_word() const { return d_->type_word; }
  void set_type_word(uint32_t v) const { d_->type_word = v; }
  void* alloc_base() const { return d_->alloc_base; }
  uint32_t alloc_size() const { return d_->alloc_size; }
  void set_alloc(void* p, uint32_t size_bits) const {
    d_->alloc_base = p;
    d_->alloc_size = size_bits;
  }

  // flags fields
  int rank() const { return static_cast<int>(d_->flags >> F90_FLAG_RANK_SHIFT); }
  void set_rank(int r) const {
    d_->flags = (d_->flags & ~(7u << F90_FLAG_RANK_SHIFT)) |
                (static_cast<uint32_t>(r) << F90_FLAG_RANK_SHIFT);
  }
  bool assoc() const { return (d_->flags & F90_FLAG_ASSOC) != 0; }
  void set_assoc(bool on) const {
    d_->flags = on ? (d_->flags | F90_FLAG_ASSOC) : (d_->flags & ~F90_FLAG_ASSOC);
  }
  uint32_t obj_kind() const {
    return (d_->flags & F90_FLAG_OBJ_KIND_MASK) >> F90_FLAG_OBJ_KIND_SHIFT;
  }
  bool is_pointer() const { return obj_kind() == OBJ_POINTER; }
  bool is_allocatable() const { return obj_kind() == OBJ_ALLOCATABLE; }
  // A pointer or allocatable without storage counts as absent.
  bool absent() const { return obj_kind() != 0 && !assoc(); }

  // type word fields
  int8_t type_code() const { return static_cast<int8_t>(d_->type_word & F90_TW_TYPE_CODE_MASK); }
  uint32_t int_len() const { return (d_->type_word & F90_TW_INT_LEN_MASK) >> F90_TW_INT_LEN_SHIFT; }
  uint32_t kind_sel() const { return (d_->type_word & F90_TW_KIND_SEL_MASK) >> F90_TW_KIND_SEL_SHIFT; }
  uint32_t decl_len() const { return d_->type_word >> F90_TW_DECL_LEN_SHIFT; }
  bool is_character() const { return type_code() == TYPE_CHARACTER; }

  // Storage-unit rule.
  uint32_t elem_units() const { return f90::elem_units(d_->type_word, d_->elem_len); }
  uint32_t unit_bytes() const { return f90::unit_bytes(d_->type_word); }
  uint32_t elem_bytes() const { return elem_units() * unit_bytes(); }

  // Dimension i (0-based, i < rank()).
  int32_t lower(int i) const { return d_->dim[i].lower; }
  int32_t extent(int i) const { return d_->dim[i].extent; }
  int32_t stride(int i) const { return d_->dim[i].stride; }
  void set_dim(int i, int32_t lower, int32_t extent, int32_t stride) const {
    d_->dim[i].lower = lower;
    d_->dim[i].extent = extent;
    d_->dim[i].stride = stride;
  }
  void set_extent(int i, int32_t e) const { d_->dim[i].extent = e; }
  void set_stride(int i, int32_t s) const { d_->dim[i].stride = s; }

  // Stride of dimension i in elements (signed division by elem_units).
  int32_t elem_stride(int i) const {
    const int32_t u = static_cast<int32_t>(elem_units());
    return u > 0 ? stride(i) / u : 0;
  }
  // Stride of dimension i in elements by the arithmetic shift of the matrix
  // routines (MATMUL, DOT_PRODUCT), exact for negative strides: by int_len,
  // 1 place for 9..31 and 64 bits, 2 for 128, 3 for 256, none otherwise.
  int32_t shifted_elem_stride(int i) const { return stride(i) >> stride_shift(int_len()); }
  static int stride_shift(uint32_t int_len) {
    if (int_len == 64 || (int_len >= 9 && int_len <= 31)) return 1;
    return int_len == 128 ? 2 : int_len == 256 ? 3 : 0;
  }
  // Stride of dimension i in bytes.
  int64_t byte_stride(int i) const { return int64_t{stride(i)} * unit_bytes(); }

  // Number of elements in 64 bits; a negative extent counts as 0, and a
  // product beyond INT64_MAX saturates there.
  int64_t element_count() const {
    int64_t n = 1;
    bool saturated = false;
    for (int i = 0; i < rank(); ++i) {
      const int32_t e = extent(i);
      if (e <= 0) return 0;
      if (__builtin_mul_overflow(n, int64_t{e}, &n)) saturated = true;
    }
    return saturated ? INT64_MAX : n;
  }

 private:
  ArrayDescriptor* d_;
};

// Reports a message at the intrinsics' level.
inline void report(int32_t number) { _lerror(ERR_LEVEL_INTRINSIC, number); }

}  // namespace f90
