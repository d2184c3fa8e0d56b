// ALLOCATED(ARRAY): true only for an allocatable whose storage is present.
#include "array/inquiry.h"

namespace {

bool is_allocated(ArrayDescriptor* array) {
  const f90::Desc a(array);
  return a.is_allocatable() && a.assoc();
}

}  // namespace

int32_t allocated(ArrayDescriptor* array) { return is_allocated(array) ? 1 : 0; }
int32_t allocated_4(ArrayDescriptor* array) { return is_allocated(array) ? 1 : 0; }
int64_t allocated_8(ArrayDescriptor* array) { return is_allocated(array) ? 1 : 0; }
