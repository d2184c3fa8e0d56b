// LBOUND(ARRAY [, DIM]): lower bounds, 1 for an empty dimension.
#include "array/inquiry.h"

namespace {

int32_t lbound32(ArrayDescriptor* array, const int32_t* dim) {
  const f90::Desc a(array);
  f90::check_present(a);
  const int d = f90::checked_dim(a, dim);
  return d < 0 ? 0 : f90::lower_bound(a, d);
}

}  // namespace

void lbound_of(ArrayDescriptor* result, ArrayDescriptor* array) {
  const f90::Desc a(array);
  f90::store_dimension_values(f90::Desc(result), a, f90::EmptyShape::kAllocateZero,
                              [&](int i) { return f90::lower_bound(a, i); });
}

int32_t lbound_dim(ArrayDescriptor* array, const int32_t* dim) { return lbound32(array, dim); }
int32_t lbound_dim_4(ArrayDescriptor* array, const int32_t* dim) { return lbound32(array, dim); }
int64_t lbound_dim_8(ArrayDescriptor* array, const int32_t* dim) { return lbound32(array, dim); }
