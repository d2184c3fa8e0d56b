// SHAPE(SOURCE): the extents of SOURCE as a rank-1 integer array. A scalar
// source gives an empty result and asks the allocator for nothing.
#include "array/inquiry.h"

void shape_of(ArrayDescriptor* result, ArrayDescriptor* source) {
  const f90::Desc a(source);
  f90::store_dimension_values(f90::Desc(result), a, f90::EmptyShape::kNoAllocation,
                              [&](int i) { return a.extent(i); });
}
