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

void set_character_datum(Desc result, char* addr, uint32_t len) {
  CharDescriptor slot;
  cptofcd(&slot, addr, len);
  std::memcpy(result.raw(), &slot, sizeof slot);
}

void attach_result_storage(Desc result, void* storage, uint32_t alloc_bits, bool character,
                           uint32_t char_len) {
  if (character) {
    set_character_datum(result, static_cast<char*>(storage), char_len);
  } else {
    result.set_base(storage);
  }
  result.set_alloc(storage, alloc_bits);
}

char* attach_character_result(Desc result, int64_t bytes, AllocSizeUnit unit) {
  char* storage = static_cast<char*>(allocate_result(bytes));
  if (storage == nullptr) {
    result.set_assoc(false);
    attach_result_storage(result, nullptr, 0, true, 0);
    return nullptr;
  }
  const uint32_t n = static_cast<uint32_t>(bytes);
  attach_result_storage(result, storage, unit == AllocSizeUnit::bits ? n * 8u : n, true, n);
  result.set_assoc(true);
  return storage;
}

bool complete_result(Desc result, int rank, const int64_t* extents, const ResultElement& elem,
                     const ResultRules& rules) {
  result.set_base(nullptr);
  result.set_alloc(nullptr, 0);

  const int64_t bytes = result_bytes(elem.bytes, rank, extents);
  if (!rules.layout_first && bytes > kMaxResultBytes) {
    report(ERR_ALLOC_FAILED);
    return false;
  }
  layout_result_dims(result, rank, extents, elem.units);

  const bool requested = rules.request && bytes > 0;
  void* storage = requested ? allocate_result(bytes) : nullptr;
  const bool failed = requested && storage == nullptr;
  if (failed && rules.assoc == ResultAssoc::on_success) return false;

  if (rules.assoc != ResultAssoc::storage_requested || requested) result.set_assoc(true);
  if (rules.write_elem_len) result.set_elem_len(elem.elem_len);
  // alloc_size counts bits in one 32-bit word (it wraps above 512 MiB).
  const uint32_t bits = bytes > kMaxResultBytes ? 0u : static_cast<uint32_t>(bytes) * 8u;
  attach_result_storage(result, storage, bits, elem.character, elem.units);
  return !failed;
}

}  // namespace f90
