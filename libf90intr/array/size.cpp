// SIZE(ARRAY [, DIM]).
//
// Without DIM the result is the product of all extents (1 for a scalar).
// _SIZE and _SIZE_4 keep the low 32 bits of that product; _SIZE_8 keeps the
// low 64 bits, multiplying with the INTEGER*8 multiply of libf90elem. With
// DIM it is the extent of that dimension. Other routines of the library call
// _SIZE without DIM to count an argument's elements.
#include "array/inquiry.h"
#include "common/elem_calls.h"

namespace {

int32_t size32(ArrayDescriptor* array, const int32_t* dim) {
  const f90::Desc a(array);
  f90::check_present(a);
  if (dim != nullptr) {
    const int d = f90::checked_dim(a, dim);
    return d < 0 ? 0 : a.extent(d);
  }
  uint32_t n = 1;  // wraps as the 32-bit product does
  for (int i = 0; i < a.rank(); ++i) n *= static_cast<uint32_t>(a.extent(i));
  return static_cast<int32_t>(n);
}

}  // namespace

int32_t size_of(ArrayDescriptor* array, const int32_t* dim) { return size32(array, dim); }
int32_t size_of_4(ArrayDescriptor* array, const int32_t* dim) { return size32(array, dim); }

int64_t size_of_8(ArrayDescriptor* array, const int32_t* dim) {
  const f90::Desc a(array);
  f90::check_present(a);
  if (dim != nullptr) {
    const int d = f90::checked_dim(a, dim);
    return d < 0 ? 0 : int64_t{a.extent(d)};
  }
  int64_t n = 1;
  for (int i = 0; i < a.rank(); ++i) n = _morvex_lmul(n, int64_t{a.extent(i)});
  return n;
}
