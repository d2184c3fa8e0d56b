// The result-descriptor protocol shared by every array-valued intrinsic.
#pragma once

#include <cstdint>

#include "descriptor.h"

namespace f90 {

// Largest result the library allocates on i386.
inline constexpr int64_t kMaxResultBytes = 0x7FFFFFFF;

// Builds the CharDescriptor {addr, len} in the caller's two-word slot and
// returns the slot (an explicit pointer: a struct return would make the
// callee pop the hidden pointer).
extern "C" F90_HIDDEN CharDescriptor* cptofcd(CharDescriptor* slot, char* addr, uint32_t len)
    F90_SYMBOL(__cptofcd);

// Completes a result descriptor that arrived with `assoc` clear: lower
// bounds 1, the given extents, contiguous strides in storage units, storage
// from _F90ALLOC (none for 0 bytes), then `assoc`, `alloc_base` and
// `alloc_size`. A CHARACTER result gets {storage, elem_len} in words 0-1.
//
// All sizes are computed in 64 bits. When the byte count exceeds
// 0x7FFFFFFF, or the allocator returns null, 1205 is reported and false is
// returned with `assoc` still clear and `base` 0: the caller must store
// nothing. Returns true when the result is ready for its elements.
bool complete_result_descriptor(Desc result, int rank, const int64_t* extents);

// The same, for a result whose element storage is given rather than read
// from its own type word (MAXVAL and MINVAL lay their result out with the
// source's element): `units` storage units of `unit_bytes` bytes each.
bool complete_result_descriptor(Desc result, int rank, const int64_t* extents, uint32_t units,
                                uint32_t unit_bytes);

// Byte count of a contiguous result of the given extents (64 bits).
int64_t result_bytes(Desc result, int rank, const int64_t* extents);

// Builds a rank-0 descriptor around a local slot, as the scalar-result entry
// points do: base = slot, assoc set, spare flag, obj_kind and rank 0.
inline void scalar_result_descriptor(ArrayDescriptor& d, void* slot, uint32_t elem_len,
                                     uint32_t type_word) {
  d.base = slot;
  d.elem_len = elem_len;
  d.flags = F90_FLAG_ASSOC;
  d.type_word = type_word;
  d.alloc_base = nullptr;
  d.alloc_size = 0;
}

}  // namespace f90
