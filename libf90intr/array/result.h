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

// The element a result is laid out for.
struct ResultElement {
  uint32_t units;     // storage units per element: the first stride
  uint32_t bytes;     // bytes per element (allocation size)
  uint32_t elem_len;  // word 1 when the rules write it (bits, or bytes for CHARACTER)
  bool character;     // words 0-1 become {storage, units}
};

// The element of the result's own type word and elem_len (inline: a struct
// returned from an out-of-line function would pop its hidden pointer).
inline ResultElement element_of(Desc result) {
  return {result.elem_units(), result.elem_bytes(), result.elem_len(), result.is_character()};
}

// When `assoc` is set.
enum class ResultAssoc {
  on_success,        // only when the result is ready for its elements
  always,            // also when nothing was allocated or the allocator failed
  storage_requested  // only when storage was asked for (even if none came)
};

// How a routine's completion departs from the plain protocol.
struct ResultRules {
  bool layout_first = false;   // dimensions written before the size is checked
  bool request = true;         // storage asked for (when the byte count is above 0)
  ResultAssoc assoc = ResultAssoc::on_success;
  bool write_elem_len = false;

  // The array-construction routines (PACK, UNPACK, RESHAPE, SPREAD, MAXLOC,
  // MINLOC): dimensions first, elem_len written, assoc as given.
  static ResultRules construction(ResultAssoc assoc = ResultAssoc::always, bool request = true) {
    return {true, request, assoc, true};
  }
};

// Completes a result descriptor that arrived with `assoc` clear: base and
// alloc words cleared, lower bounds 1, the given extents, contiguous strides
// in storage units (the first stride elem.units), storage from _F90ALLOC
// (none for 0 bytes), then `assoc`, `alloc_base` = base and `alloc_size` =
// bytes x 8 (in one 32-bit word). A CHARACTER result gets {storage, units}
// in words 0-1. rank and type_word are not written.
//
// All sizes are computed in 64 bits. When the byte count exceeds
// 0x7FFFFFFF, or the allocator returns null, 1205 is reported at level 4 and
// false is returned: the caller must store nothing. Under the plain rules
// nothing else is written then (assoc clear, base 0; dimensions unwritten
// when the count was too large). Returns true when the result is ready.
bool complete_result(Desc result, int rank, const int64_t* extents, const ResultElement& elem,
                     const ResultRules& rules = {});

// The plain protocol for the result's own element: what a new routine calls.
inline bool complete_result_descriptor(Desc result, int rank, const int64_t* extents) {
  return complete_result(result, rank, extents, element_of(result));
}

// Byte count of a contiguous result of the given extents (64 bits;
// INT64_MAX when the product overflows).
int64_t result_bytes(uint32_t elem_bytes, int rank, const int64_t* extents);

// Writes lower bound 1, the extents and contiguous strides in storage units
// (the first stride is `units`) for dimensions 0 .. rank-1.
void layout_result_dims(Desc result, int rank, const int64_t* extents, uint32_t units);
// Obtains `bytes` (> 0) from _F90ALLOC. Reports 1205 and returns null when
// the count exceeds 0x7FFFFFFF (the allocator is not asked) or the
// allocator returns null.
void* allocate_result(int64_t bytes);
// Writes words 0-1 of a CHARACTER result: the datum {addr, len}.
void set_character_datum(Desc result, char* addr, uint32_t len);
// Writes the storage into `base` (for a CHARACTER result, words 0-1 become
// {storage, char_len}) and into `alloc_base`, with `alloc_size` in bits.
void attach_result_storage(Desc result, void* storage, uint32_t alloc_bits, bool character,
                           uint32_t char_len);

// How a scalar CHARACTER result counts its storage in `alloc_size`.
enum class AllocSizeUnit { bytes, bits };

// Storage for a scalar CHARACTER result of `bytes` (> 0) bytes (REPEAT, TRIM,
// the character-argument converter): from _F90ALLOC, words 0-1 = {storage,
// bytes}, `alloc_base` = storage, `alloc_size` = bytes or bits as `unit`
// says, then `assoc` set. When the count exceeds 0x7FFFFFFF or the
// allocator returns null, 1205 is reported, `assoc` is cleared and base,
// length, `alloc_base` and `alloc_size` are 0; null is returned and nothing
// may be stored.
char* attach_character_result(Desc result, int64_t bytes, AllocSizeUnit unit);


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
