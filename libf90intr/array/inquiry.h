// SIZE, SHAPE, LBOUND, UBOUND and ALLOCATED: the exported entry points and
// the steps they share.
//
// None of them looks at an element. Each starts with the presence check (a
// pointer or allocatable without storage is reported as 1410, and the
// routine goes on with the words as they stand); the DIM forms then check
// DIM against the rank (1405) and, after that report, return 0 without
// reading any dimension.
#pragma once

#include <cstdint>

#include "array/descriptor.h"

F90_API int32_t size_of(ArrayDescriptor* array, const int32_t* dim) F90_SYMBOL(_SIZE);
F90_API int32_t size_of_4(ArrayDescriptor* array, const int32_t* dim) F90_SYMBOL(_SIZE_4);
F90_API int64_t size_of_8(ArrayDescriptor* array, const int32_t* dim) F90_SYMBOL(_SIZE_8);

F90_API void shape_of(ArrayDescriptor* result, ArrayDescriptor* source) F90_SYMBOL(_SHAPE);

F90_API void lbound_of(ArrayDescriptor* result, ArrayDescriptor* array) F90_SYMBOL(_LBOUND);
F90_API int32_t lbound_dim(ArrayDescriptor* array, const int32_t* dim) F90_SYMBOL(_LBOUND0);
F90_API int32_t lbound_dim_4(ArrayDescriptor* array, const int32_t* dim) F90_SYMBOL(_LBOUND0_4);
F90_API int64_t lbound_dim_8(ArrayDescriptor* array, const int32_t* dim) F90_SYMBOL(_LBOUND0_8);

F90_API void ubound_of(ArrayDescriptor* result, ArrayDescriptor* array) F90_SYMBOL(_UBOUND);
F90_API int32_t ubound_dim(ArrayDescriptor* array, const int32_t* dim) F90_SYMBOL(_UBOUND0);
F90_API int32_t ubound_dim_4(ArrayDescriptor* array, const int32_t* dim) F90_SYMBOL(_UBOUND0_4);
F90_API int64_t ubound_dim_8(ArrayDescriptor* array, const int32_t* dim) F90_SYMBOL(_UBOUND0_8);

F90_API int32_t allocated(ArrayDescriptor* array) F90_SYMBOL(_ALLOCATED);
F90_API int32_t allocated_4(ArrayDescriptor* array) F90_SYMBOL(_ALLOCATED_4);
F90_API int64_t allocated_8(ArrayDescriptor* array) F90_SYMBOL(_ALLOCATED_8);

namespace f90 {

// Reports 1410 when the argument is a pointer or allocatable without storage.
inline void check_present(Desc a) {
  if (a.absent()) report(ERR_NOT_PRESENT);
}

// The 0-based dimension DIM names, or -1 after reporting 1405.
inline int checked_dim(Desc a, const int32_t* dim) {
  const int32_t d = *dim;
  if (d < 1 || d > a.rank()) {
    report(ERR_DIM_RANGE);
    return -1;
  }
  return d - 1;
}

// Per-dimension bound values: an empty dimension has bounds 1 and 0.
inline int32_t lower_bound(Desc a, int i) { return a.extent(i) != 0 ? a.lower(i) : 1; }

// The upper bound wraps in 32 bits, as compiled code computes it.
inline int32_t upper_bound(Desc a, int i) {
  if (a.extent(i) == 0) return 0;
  return static_cast<int32_t>(static_cast<uint32_t>(a.lower(i)) +
                              static_cast<uint32_t>(a.extent(i)) - 1u);
}

// The 64-bit upper bound is exact: lower + extent - 1 in 64 bits.
inline int64_t upper_bound_64(Desc a, int i) {
  if (a.extent(i) == 0) return 0;
  return int64_t{a.lower(i)} + a.extent(i) - 1;
}

enum class EmptyShape {
  kNoAllocation,   // a rank-0 source asks the allocator for nothing
  kAllocateZero,   // the allocator is asked for 0 bytes as well
};

// The rank-1 integer result of SHAPE, LBOUND and UBOUND: completes the result
// when it arrives without storage, then stores value(i) for every dimension
// of `a` contiguously from `base` (the result's stride is not applied), in
// the width the result's type word gives.
template <class Value>
void store_dimension_values(Desc result, Desc a, EmptyShape empty, Value&& value) {
  check_present(a);
  const int n = a.rank();
  const uint32_t width = int_result_width(result.type_word());
  if (!result.assoc()) {
    const uint32_t bytes = static_cast<uint32_t>(n) * (width == 8 ? 8u : 4u);
    result.set_base(nullptr);
    result.set_dim(0, 1, n, static_cast<int32_t>(result.int_len() / 32));
    void* storage = nullptr;
    if (n != 0 || empty == EmptyShape::kAllocateZero) {
      storage = _F90ALLOC(bytes, 0);
      if (storage == nullptr) {
        report(ERR_ALLOC_FAILED);
        result.set_alloc(nullptr, 0);
        return;
      }
    }
    result.set_base(storage);
    result.set_alloc(storage, bytes * 8u);
    result.set_assoc(true);
  }
  if (width == 0) return;
  char* p = result.base();
  for (int i = 0; i < n; ++i, p += width) store_int_result(p, width, value(i));
}

}  // namespace f90
