// The result-descriptor protocol shared by every array-valued intrinsic.
#pragma once

#include <cstdint>

#include "array/descriptor.h"

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
int64_t result_bytes(uint32_t elem_bytes, int rank, const int64_t* extents);

// The pieces of completion, for routines whose completion differs from the
// plain protocol above (element taken from an argument, `assoc` set even when
// nothing could be allocated, no storage for some calls).
//
// Writes lower bound 1, the extents and contiguous strides in storage units
// (the first stride is `units`) for dimensions 0 .. rank-1.
void layout_result_dims(Desc result, int rank, const int64_t* extents, uint32_t units);
// Obtains `bytes` (> 0) from _F90ALLOC. Reports 1205 and returns null when
// the count exceeds 0x7FFFFFFF (the allocator is not asked) or the
// allocator returns null.
void* allocate_result(int64_t bytes);
// Writes the storage into `base` (for a CHARACTER result, words 0-1 become
// {storage, char_len}) and into `alloc_base`, with `alloc_size` in bits.
void attach_result_storage(Desc result, void* storage, uint32_t alloc_bits, bool character,
                           uint32_t char_len);

// The element of a result whose layout a routine takes from an argument
// (PACK's ARRAY, UNPACK's FIELD, RESHAPE's and SPREAD's SOURCE).
struct ResultElement {
  uint32_t units;     // storage units per element: the first stride
  uint32_t bytes;     // bytes per element
  uint32_t elem_len;  // copied into word 1 (bits, or bytes for CHARACTER)
  bool character;     // words 0-1 become {storage, units}
};

// When `assoc` is set by complete_result().
enum class ResultAssoc {
  always,            // also when nothing was allocated or the allocator failed
  storage_requested  // only when storage was asked for (even if none came)
};

// Completes a result descriptor that arrived with `assoc` clear, laying it
// out for `elem`: base and alloc words cleared, dimensions written, storage
// asked for when the byte count is above 0 and `request` holds, `assoc` as
// `assoc_rule` says, elem_len and base (CharDescriptor for CHARACTER)
// written, alloc_base = base and alloc_size = bytes x 8 (0 when the count
// was too large to ask for). rank and type_word are not written.
// Returns false when 1205 was reported: nothing may be stored.
bool complete_result(Desc result, int rank, const int64_t* extents, const ResultElement& elem,
                     bool request = true, ResultAssoc assoc_rule = ResultAssoc::always);

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
