// CSHIFT and EOSHIFT: the entry points, the default boundaries, and the
// set-up and block moves the two routines share.
//
// Both shift every line of ARRAY along DIM. They classify ARRAY's element
// once (copy_kind.h), complete an unassociated result, return early for
// empty operands, check DIM and convert every stride to bytes before any
// element moves. When every line has the same shift (and, for EOSHIFT, the
// same boundary value), the lines move together: the result is a few
// rectangular blocks of ARRAY (and of boundary values), each moved in runs
// along dimension 0, so that contiguous arrays move as whole blocks whatever
// DIM is. Otherwise the lines are visited one at a time (walk.h).
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "array/copy_kind.h"
#include "array/descriptor.h"
#include "common/walk.h"

F90_API void cshift(ArrayDescriptor* result, ArrayDescriptor* array, ArrayDescriptor* shift,
                    const int32_t* dim) F90_SYMBOL(_CSHIFT);
F90_API void eoshift(ArrayDescriptor* result, ArrayDescriptor* array, ArrayDescriptor* shift,
                     ArrayDescriptor* boundary, const int32_t* dim) F90_SYMBOL(_EOSHIFT);

// EOSHIFT's boundary values when BOUNDARY is absent: zero bytes, by element
// kind (defaultr16's 16 bytes serve twice for a 32-byte COMPLEX*32).
F90_API const unsigned char defaulti1[1];
F90_API const unsigned char defaultl1[1];
F90_API const unsigned char defaulti2[2];
F90_API const unsigned char defaultl2[2];
F90_API const unsigned char defaulti4[4];
F90_API const unsigned char defaultr4[4];
F90_API const unsigned char defaultl4[4];
F90_API const unsigned char defaulti8[8];
F90_API const unsigned char defaultr8[8];
F90_API const unsigned char defaultc4[8];
F90_API const unsigned char defaultl8[8];
F90_API const unsigned char defaultc8[16];
F90_API const unsigned char defaultr16[16];

namespace f90 {

// A SHIFT argument: where its elements are and how they are read.
struct ShiftArg {
  const char* base;
  uint32_t width;  // bits read: 64, 16, 8 or 32

  // The element at p: 64-bit elements by their low 32 bits, 8- and 16-bit
  // ones sign-extended.
  int32_t read(const char* p) const {
    switch (width) {
      case 8: return static_cast<int8_t>(*p);
      case 16: { int16_t v; std::memcpy(&v, p, 2); return v; }
      default: { int32_t v; std::memcpy(&v, p, 4); return v; }  // 64-bit: low word first
    }
  }
  int32_t first() const { return read(base); }
};

// Everything the two routines know after their common set-up.
struct ShiftSetup {
  ElemClass elem;
  int rank;
  int dim;                           // 0-based
  int32_t extent[F90_MAX_RANK];      // ARRAY's
  WalkArray array, result;           // byte strides per dimension
  WalkArray shift;                   // byte strides of SHIFT's elements, 0 along DIM
  ShiftArg shift_arg;

  int64_t n() const { return extent[dim]; }
  // ARRAY's extents with DIM's set to 1: the dimensions a walk of the lines
  // along DIM steps through.
  void walk_extents(int32_t* out) const {
    for (int d = 0; d < rank; ++d) out[d] = d == dim ? 1 : extent[d];
  }
  uint32_t bytes() const { return elem.elem_bytes(); }
  // A per-line SHIFT or BOUNDARY has dimensions when its rank is 1 on a
  // rank-2 ARRAY (any other rank: read as a scalar), or any rank but 0 on
  // ranks 3 to 7.
  bool per_line(int arg_rank) const {
    return rank == 2 ? arg_rank == 1 : rank > 2 && arg_rank != 0;
  }
};

// Steps common to CSHIFT and EOSHIFT: classify ARRAY's element, complete
// the result, return false for empty operands (ARRAY, the result, SHIFT or
// BOUNDARY of rank 2 or more with a zero extent, each read only within its
// own rank), after reporting a bad DIM, or for elements of no bytes, and
// form the byte strides.
// `shift_bits` is the width of SHIFT's elements; `boundary` may be null.
bool shift_setup(Desc result, Desc array, Desc shift, const ArrayDescriptor* boundary,
                 const int32_t* dim, uint32_t shift_bits, ShiftSetup& out);

// A rectangular block of elements of two arrays (result and ARRAY): extents
// and byte strides per dimension.
struct Block {
  int rank;
  int32_t extent[F90_MAX_RANK];
  WalkArray dst, src;

  bool empty() const {
    for (int d = 0; d < rank; ++d)
      if (extent[d] <= 0) return true;
    return false;
  }
  // The block's first N arrays (dst, then src) as runs, dimensions that are
  // contiguous in each merged, so that contiguous arrays move in long runs.
  template <size_t N>
  void runs(Runs<N>& r) const {
    const WalkArray* w[2] = {&dst, &src};
    for (size_t a = 0; a < N; ++a) r.arrays[a].base = w[a]->base;
    for (int d = 0; d < rank; ++d) {
      std::array<int64_t, N> s;
      for (size_t a = 0; a < N; ++a) s[a] = w[a]->stride[d];
      r.add(extent[d], s);
    }
  }
};

// The block that spans `count` indices along DIM, from index `r_at` of the
// result and `a_at` of ARRAY, and every index of the other dimensions.
inline Block block_along_dim(const ShiftSetup& st, int64_t r_at, int64_t a_at, int64_t count) {
  Block b{st.rank, {}, st.result, st.array};
  for (int d = 0; d < st.rank; ++d) b.extent[d] = st.extent[d];
  b.extent[st.dim] = static_cast<int32_t>(count);
  b.dst.base += r_at * st.result.stride[st.dim];
  b.src.base += a_at * st.array.stride[st.dim];
  return b;
}

// Lines along a DIM other than the first are visited in batches of up to
// kLineBatch neighbours along dimension 0 (walk_blocks over the extents of
// walk_extents(), which gives DIM extent 1): a routine takes element k of
// every line of the batch before element k + 1.
inline constexpr int64_t kLineBatch = 512;

// Moves a block, run by run along dimension 0.
template <uint32_t K>
void move_block(const Block& b, uint32_t bytes) {
  if (b.empty() || bytes == 0) return;
  Runs<2> runs;
  b.runs(runs);
  const int64_t ds = runs.arrays[0].stride[0], ss = runs.arrays[1].stride[0];
  runs.walk([&](const std::array<char*, 2>& o, int64_t n) {
    Mover<K>::line(o[0], ds, o[1], ss, n, bytes);
  });
}

}  // namespace f90
