// Result completion and the character-descriptor constructor.
#include "array/result.h"

namespace f90 {

extern "C" CharDescriptor* cptofcd(CharDescriptor* slot, char* addr, uint32_t len) {
  slot->addr = addr;
  slot->len = len;
  return slot;
}

int64_t result_bytes(uint32_t elem_bytes, int rank, const int64_t* extents) {
  int64_t n = elem_bytes;
  for (int i = 0; i < rank; ++i) {
    const int64_t e = extents[i] > 0 ? extents[i] : 0;
    if (__builtin_mul_overflow(n, e, &n)) return INT64_MAX;
  }
  return n;
}

int64_t result_bytes(Desc result, int rank, const int64_t* extents) {
  return result_bytes(result.elem_bytes(), rank, extents);
}

void layout_result_dims(Desc result, int rank, const int64_t* extents, uint32_t units) {
  // For a non-empty result every partial product fits in 31 bits; for an
  // empty one the strides after the zero extent are never used, and wrap.
  uint64_t stride = units;
  for (int i = 0; i < rank; ++i) {
    const uint64_t e = extents[i] > 0 ? static_cast<uint64_t>(extents[i]) : 0;
    result.set_dim(i, 1, static_cast<int32_t>(extents[i]), static_cast<int32_t>(stride));
    stride *= e;
  }
}

void* allocate_result(int64_t bytes) {
  void* storage = bytes > kMaxResultBytes ? nullptr : _F90ALLOC(static_cast<uint32_t>(bytes), 0);
  if (storage == nullptr) report(ERR_ALLOC_FAILED);
  return storage;
}

void attach_result_storage(Desc result, void* storage, uint32_t alloc_bits, bool character,
                           uint32_t char_len) {
  if (character) {
    CharDescriptor slot;
    cptofcd(&slot, static_cast<char*>(storage), char_len);
    std::memcpy(result.raw(), &slot, sizeof slot);
  } else {
    result.set_base(storage);
  }
  result.set_alloc(storage, alloc_bits);
}

bool complete_result_descriptor(Desc result, int rank, const int64_t* extents) {
  return complete_result_descriptor(result, rank, extents, result.elem_units(),
                                    result.unit_bytes());
}

bool complete_result_descriptor(Desc result, int rank, const int64_t* extents, uint32_t units,
                                uint32_t unit_bytes) {
  result.set_base(nullptr);
  result.set_alloc(nullptr, 0);

  const int64_t bytes = result_bytes(units * unit_bytes, rank, extents);
  if (bytes > kMaxResultBytes) {
    report(ERR_ALLOC_FAILED);
    return false;
  }
  layout_result_dims(result, rank, extents, units);

  void* storage = nullptr;
  if (bytes > 0) {
    storage = allocate_result(bytes);
    if (storage == nullptr) return false;
  }

  result.set_assoc(true);
  // alloc_size counts bits in one 32-bit word (it wraps above 512 MiB).
  attach_result_storage(result, storage, static_cast<uint32_t>(bytes) * 8u, result.is_character(),
                        result.elem_len());
  return true;
}

bool complete_result(Desc result, int rank, const int64_t* extents, const ResultElement& elem,
                     bool request, ResultAssoc assoc_rule) {
  result.set_base(nullptr);
  result.set_alloc(nullptr, 0);
  layout_result_dims(result, rank, extents, elem.units);

  const int64_t bytes = result_bytes(elem.bytes, rank, extents);
  const bool requested = request && bytes > 0;
  void* storage = requested ? allocate_result(bytes) : nullptr;
  const bool failed = requested && storage == nullptr;

  if (assoc_rule == ResultAssoc::always || requested) result.set_assoc(true);
  result.set_elem_len(elem.elem_len);
  const uint32_t bits = bytes > kMaxResultBytes ? 0u : static_cast<uint32_t>(bytes) * 8u;
  attach_result_storage(result, storage, bits, elem.character, elem.units);
  return !failed;
}

}  // namespace f90
