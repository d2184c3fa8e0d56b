// Shared helpers of the PACK, UNPACK, RESHAPE and SPREAD tests: filling
// arrays, reading any descriptor's elements in array element order, the raw
// words of a descriptor, and random sections for the reference comparisons.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "array/construct.h"
#include "descriptor_builder.h"
#include "guard_page.h"
#include "recording_runtime.h"

namespace construct_test {

using f90test::Descriptor;
using f90test::ElemType;
using f90test::Runtime;
using f90test::TestArray;

class ConstructTest : public ::testing::Test {
 protected:
  f90test::RuntimeScope scope;
};

inline uint32_t addr(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

// The first n words of a descriptor.
inline std::vector<uint32_t> words(const ArrayDescriptor* d, int n) {
  std::vector<uint32_t> w(n);
  std::memcpy(w.data(), d, 4 * static_cast<size_t>(n));
  return w;
}

inline void* block(int i = 0) { return Runtime::allocations().at(i).block; }

template <class T>
void set_values(TestArray& a, const std::vector<T>& v) {
  for (size_t k = 0; k < v.size(); ++k) a.set_linear<T>(static_cast<int64_t>(k), v[k]);
}

// A LOGICAL array from a pattern in array element order: '1' true, '0'
// false, 'H' true in the high word only (8-byte elements; else like '1').
inline void set_mask(TestArray& m, const char* pattern) {
  const uint32_t bytes = m.type().bytes();
  for (int64_t k = 0; pattern[k] != 0; ++k) {
    char* p = m.at_linear(k);
    std::memset(p, 0, bytes);
    if (pattern[k] == '1') p[0] = 1;
    if (pattern[k] == 'H') p[bytes - 1] = 1;
  }
}

// Every byte of element k set from k and a seed, so that elements differ.
inline void fill_unique(TestArray& a, uint32_t seed) {
  const uint32_t bytes = a.type().bytes();
  for (int64_t k = 0; k < a.size(); ++k) {
    const uint32_t h = (static_cast<uint32_t>(k) + 1) * 0x9E3779B1u ^ seed;
    for (uint32_t b = 0; b < bytes; ++b) a.at_linear(k)[b] = static_cast<char>((h >> (8 * (b % 4))) + b);
  }
}

// Address of element k, in array element order, of any descriptor.
inline char* element(const ArrayDescriptor* d, ElemType t, int64_t k) {
  char* p = static_cast<char*>(d->base);
  for (uint32_t i = 0; i < d->flags >> F90_FLAG_RANK_SHIFT; ++i) {
    const int64_t e = d->dim[i].extent;
    p += (k % e) * int64_t{d->dim[i].stride} * t.unit();
    k /= e;
  }
  return p;
}

inline std::string bytes_at(const char* p, ElemType t) { return std::string(p, t.bytes()); }

// Every element of a descriptor in array element order.
template <class T>
std::vector<T> values(const ArrayDescriptor* d, ElemType t) {
  int64_t n = 1;
  for (uint32_t i = 0; i < d->flags >> F90_FLAG_RANK_SHIFT; ++i) n *= d->dim[i].extent;
  std::vector<T> v(static_cast<size_t>(n));
  for (int64_t k = 0; k < n; ++k) std::memcpy(&v[k], element(d, t, k), sizeof(T));
  return v;
}

// A caller-supplied result (assoc set) over storage the test owns, with the
// given extents and strides in storage units.
inline Descriptor caller_result(ElemType t, void* base, std::vector<int32_t> ext,
                                std::vector<int32_t> stride) {
  Descriptor d(t, static_cast<int>(ext.size()), true);
  d->base = base;
  for (size_t i = 0; i < ext.size(); ++i) d->dim[i] = {1, ext[i], stride[i]};
  return d;
}

// The element types the random comparisons draw from.
inline std::vector<ElemType> random_types() {
  return {ElemType::integer(2), ElemType::real(8),          ElemType::character(3),
          ElemType::derived_words(3), ElemType::complex(32), ElemType::logical(1),
          ElemType::integer(4), ElemType::derived_bytes(5)};
}

// Random extents (1..max) and section steps (-2..2, not 0) for a rank.
struct RandomShape {
  std::vector<int32_t> extent, step;
  RandomShape(std::mt19937& rng, int rank, int max_extent) : extent(rank), step(rank) {
    for (int d = 0; d < rank; ++d) {
      extent[d] = 1 + static_cast<int32_t>(rng() % max_extent);
      step[d] = static_cast<int32_t>(rng() % 4) - 2;
      if (step[d] >= 0) ++step[d];
    }
  }
};

}  // namespace construct_test
