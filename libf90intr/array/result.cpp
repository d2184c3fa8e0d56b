// Result completion and the character-descriptor constructor.
#include "result.h"

namespace f90 {

extern "C" CharDescriptor* cptofcd(CharDescriptor* slot, char* addr, uint32_t len) {
  slot->addr = addr;
  slot->len = len;
  return slot;
}

// Bytes of `rank` extents of elements of `n` bytes (64 bits, saturating).
static int64_t extent_bytes(int64_t n, int rank, const int64_t* extents) {
  for (int i = 0; i < rank; ++i) {
    const int64_t e = extents[i] > 0 ? extents[i] : 0;
    if (__builtin_mul_overflow(n, e, &n)) return INT64_MAX;
  }
  return n;
}

int64_t result_bytes(Desc result, int rank, const int64_t* extents) {
  return extent_bytes(result.elem_bytes(), rank, extents);
}

bool complete_result_descriptor(Desc result, int rank, const int64_t* extents) {
  return complete_result_descriptor(result, rank, extents, result.elem_units(),
                                    result.unit_bytes());
}

bool complete_result_descriptor(Desc result, int rank, const int64_t* extents, uint32_t units,
                                uint32_t unit_bytes) {
  result.set_base(nullptr);
  result.set_alloc(nullptr, 0);

  const int64_t bytes = extent_bytes(int64_t{units} * unit_bytes, rank, extents);
  if (bytes > kMaxResultBytes) {
    report(ERR_ALLOC_FAILED);
    return false;
  }

  // For a non-empty result every partial product fits in 31 bits; for an
  // empty one the strides after the zero extent are never used, and wrap.
  uint64_t stride = units;
  for (int i = 0; i < rank; ++i) {
    const uint64_t e = extents[i] > 0 ? static_cast<uint64_t>(extents[i]) : 0;
    result.set_dim(i, 1, static_cast<int32_t>(extents[i]), static_cast<int32_t>(stride));
    stride *= e;
  }

  void* storage = nullptr;
  if (bytes > 0) {
    storage = _F90ALLOC(static_cast<uint32_t>(bytes), 0);
    if (storage == nullptr) {
      report(ERR_ALLOC_FAILED);
      return false;
    }
  }

  result.set_assoc(true);
  if (result.is_character()) {
    CharDescriptor slot;
    cptofcd(&slot, static_cast<char*>(storage), result.elem_len());
    std::memcpy(result.raw(), &slot, sizeof slot);
  } else {
    result.set_base(storage);
  }
  // alloc_size counts bits in one 32-bit word (it wraps above 512 MiB).
  result.set_alloc(storage, static_cast<uint32_t>(bytes) * 8u);
  return true;
}

}  // namespace f90
