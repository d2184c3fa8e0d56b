// UBOUND(ARRAY [, DIM]): upper bounds, 0 for an empty dimension. The 32-bit
// forms wrap as lower + extent - 1 does in 32 bits; the 64-bit form is exact.
#include "array/inquiry.h"

namespace {

int32_t ubound32(ArrayDescriptor* array, const int32_t* dim) {
  const f90::Desc a(array);
  f90::check_present(a);
  const int d = f90::checked_dim(a, dim);
  return d < 0 ? 0 : f90::upper_bound(a, d);
}

}  // namespace

void ubound_of(ArrayDescriptor* result, ArrayDescriptor* array) {
  const f90::Desc a(array);
  f90::store_dimension_values(f90::Desc(result), a, f90::EmptyShape::kAllocateZero,
                              [&](int i) { return f90::upper_bound(a, i); });
}

int32_t ubound_dim(ArrayDescriptor* array, const int32_t* dim) { return ubound32(array, dim); }
int32_t ubound_dim_4(ArrayDescriptor* array, const int32_t* dim) { return ubound32(array, dim); }

int64_t ubound_dim_8(ArrayDescriptor* array, const int32_t* dim) {
  const f90::Desc a(array);
  f90::check_present(a);
  const int d = f90::checked_dim(a, dim);
  return d < 0 ? 0 : f90::upper_bound_64(a, d);
}
