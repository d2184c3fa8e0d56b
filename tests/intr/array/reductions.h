// The MAXVAL, MINVAL, _ALL, ANY and COUNT entry points as compiled code
// calls them, and small helpers shared by their tests.
#pragma once

#include <cstdint>
#include <cmath>
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

// ---- A naive model of MAXVAL and MINVAL ----------------------------------

using f90test::ElemType;

struct Kind {
  const char* name;
  ElemType type;
  int32_t code;
  ArrayEntry max, min;
  uint64_t max_start, min_start;
};
inline const Kind kKinds[] = {
    {"I1", ElemType::integer(1), I1, _MAXVAL_I1, _MINVAL_I1, 0x81, 0x7f},
    {"I2", ElemType::integer(2), I2, _MAXVAL_I2, _MINVAL_I2, 0x8001, 0x7fff},
    {"I4", ElemType::integer(4), I4, _MAXVAL_I4, _MINVAL_I4, 0x80000001u, 0x7fffffffu},
    {"J", ElemType::integer(8), I8, _MAXVAL_J, _MINVAL_J, 0x8000000000000001ull, 0x7fffffffffffffffull},
    {"S4", ElemType::real(4), R4, _MAXVAL_S4, _MINVAL_S4, 0xff7fffffu, 0x7f7fffffu},
    {"S", ElemType::real(8), R8, _MAXVAL_S, _MINVAL_S, 0xffefffffffffffffull, 0x7fefffffffffffffull},
};

inline double value_of(const Kind& k, uint64_t b) {
  if (k.code == R4) return bits_as<float>(b);
  if (k.code == R8) return bits_as<double>(b);
  const int sh = 64 - static_cast<int>(k.type.bytes()) * 8;
  return static_cast<double>(static_cast<int64_t>(b << sh) >> sh);  // exact below 2^53
}
inline int64_t int_of(const Kind& k, uint64_t b) {
  const int sh = 64 - static_cast<int>(k.type.bytes()) * 8;
  return static_cast<int64_t>(b << sh) >> sh;
}

// MAXVAL (max) or MINVAL of the considered elements' bits, in visiting
// order: the naive model of the element loops.
inline uint64_t model_value(const Kind& k, bool max, const std::vector<uint64_t>& v) {
  const uint64_t start = max ? k.max_start : k.min_start;
  if (k.code != R4 && k.code != R8) {  // the extreme value; the start when none
    if (v.empty()) return start;
    uint64_t best = v[0];
    for (uint64_t x : v)
      if (max ? int_of(k, x) > int_of(k, best) : int_of(k, x) < int_of(k, best)) best = x;
    return best;
  }
  if (!max) {  // NaNs never taken; the first of equal values kept
    uint64_t best = start;
    for (uint64_t x : v)
      if (value_of(k, x) < value_of(k, best)) best = x;
    return best;
  }
  // MAXVAL: a trailing NaN is the result; otherwise the greatest of the
  // elements after the last NaN, the first of these taken unconditionally.
  size_t from = 0;
  for (size_t i = 0; i < v.size(); ++i)
    if (std::isnan(value_of(k, v[i]))) from = i + 1;
  if (from == v.size() && from > 0) return v.back();
  uint64_t best = from > 0 ? v[from] : start;
  for (size_t i = from; i < v.size(); ++i)
    if (value_of(k, v[i]) > value_of(k, best)) best = v[i];
  return best;
}

}  // namespace red
