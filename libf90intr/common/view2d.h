// A rank-1 or rank-2 array as a base address and element strides, for the
// matrix kernels.
//
// Element (i, j) (0-based) lies at base + (i*s1 + j*s2) * bytes, where the
// whole offset is computed in wrapping 32-bit arithmetic, as i386 addressing
// does: strides may be negative, and a descriptor whose offsets leave the
// 32-bit range wraps exactly as compiled code indexing it would.
//
//   View2D a = View2D::of(Desc(desc));   // strides from the descriptor
//   char* p = a.at(i, j);
//   View2D at = a.transposed();          // (i, j) of at is (j, i) of a
//   Line col = a.column(j);              // col.at(i) == a.at(i, j)
#pragma once

#include <cstdint>

#include "array/descriptor.h"

namespace f90 {

// One dimension: element k at base + k*stride*bytes (32-bit wrap).
struct Line {
  char* base;
  int32_t stride;  // in elements
  uint32_t bytes;  // per element

  char* at(int32_t k) const {
    const uint32_t off = static_cast<uint32_t>(k) * static_cast<uint32_t>(stride) * bytes;
    return reinterpret_cast<char*>(reinterpret_cast<uintptr_t>(base) + off);
  }
};

struct View2D {
  char* base;
  int32_t s1, s2;  // element strides of the first and second subscripts
  uint32_t bytes;  // per element

  char* at(int32_t i, int32_t j) const {
    const uint32_t off =
        (static_cast<uint32_t>(i) * static_cast<uint32_t>(s1) +
         static_cast<uint32_t>(j) * static_cast<uint32_t>(s2)) *
        bytes;
    return reinterpret_cast<char*>(reinterpret_cast<uintptr_t>(base) + off);
  }
  View2D transposed() const { return {base, s2, s1, bytes}; }
  Line column(int32_t j) const { return {at(0, j), s1, bytes}; }
  Line row(int32_t i) const { return {at(i, 0), s2, bytes}; }

  // The descriptor's base and element strides (Desc::elem_stride: the
  // stride divided by the storage units per element); a rank-1 array is a
  // single column (s2 = 0). `bytes` is the element size the caller works in.
  static View2D of(Desc d, uint32_t bytes) {
    const int32_t s1 = d.rank() >= 1 ? d.elem_stride(0) : 0;
    const int32_t s2 = d.rank() >= 2 ? d.elem_stride(1) : 0;
    return {d.base(), s1, s2, bytes};
  }
  static View2D of(Desc d) { return of(d, d.elem_bytes()); }
};

}  // namespace f90
