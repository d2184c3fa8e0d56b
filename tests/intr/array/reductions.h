// The MAXVAL, MINVAL, _ALL, ANY and COUNT entry points as compiled code
// calls them, and small helpers shared by their tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "f90/f90.h"
#include "descriptor_builder.h"
#include "f90/descriptor.h"
#include "value/types.h"

namespace red {

using Desc = ArrayDescriptor;
using Real16 = ::DoubleDouble;

enum Code : int32_t { I1 = 7, I2 = 8, I4 = 15, I8 = 17, R8 = 18, R16 = 19, R4 = 20 };

using ArrayEntry = void (*)(Desc*, Desc*, const int32_t*, Desc*);
using Worker = void (*)(Desc*, Desc*, const int32_t*, Desc*, int32_t, int32_t, int32_t);
using LogicalEntry = void (*)(Desc*, Desc*, const int32_t*);


template <class T>
T bits_as(uint64_t bits) {
  T v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}
template <class T>
uint64_t bits_of(T v) {
  uint64_t b = 0;
  std::memcpy(&b, &v, sizeof v);
  return b;
}

// Element k (array element order) of a completed or caller-supplied result,
// through its strides; `bytes` per element, `unit` bytes per stride unit.
inline uint64_t result_elem(const Desc* r, int64_t k, uint32_t bytes, uint32_t unit) {
  const int rank = static_cast<int>(r->flags >> F90_FLAG_RANK_SHIFT);
  int64_t off = 0;
  for (int i = 0; i < rank; ++i) {
    off += (k % r->dim[i].extent) * r->dim[i].stride * unit;
    k /= r->dim[i].extent;
  }
  uint64_t v = 0;
  std::memcpy(&v, static_cast<const char*>(r->base) + off, bytes);
  return v;
}

// A rank-1 array of values of type T.
template <class T>
void fill_values(f90test::TestArray& a, const std::vector<T>& v) {
  for (size_t k = 0; k < v.size(); ++k) a.set_linear<T>(static_cast<int64_t>(k), v[k]);
}

}  // namespace red
