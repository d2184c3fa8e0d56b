// Random operands for the reference tests of the reductions: shapes of any
// rank (some empty) with lower bounds and section steps, and LOGICAL masks
// of every width. Each test file passes its own pick(lo, hi), so that its
// sequence of draws stays its own.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "descriptor_builder.h"

namespace red {

using Index = std::vector<int64_t>;

struct Shape {
  std::vector<int32_t> ext, lower, step;
};

// Extents 1..4 (0 about one time in thirteen), lower bounds -3..3, steps
// -2, -1, 1 or 2.
template <class Pick>
Shape random_shape(Pick&& pick, int rank) {
  Shape s;
  for (int i = 0; i < rank; ++i) {
    s.ext.push_back(pick(0, 12) == 0 ? 0 : pick(1, 4));
    s.lower.push_back(pick(-3, 3));
    const int st[] = {-2, -1, 1, 1, 2};
    s.step.push_back(st[pick(0, 4)]);
  }
  return s;
}

// A random LOGICAL mask conforming to the shape (true elements sometimes
// with only their high word set), or a scalar one.
template <class Pick>
std::unique_ptr<f90test::TestArray> random_mask(Pick&& pick, const Shape& s, bool scalar) {
  const int bytes = 1 << pick(0, 3);
  const f90test::ElemType t = f90test::ElemType::logical(bytes);
  auto m = scalar ? std::make_unique<f90test::TestArray>(t, std::vector<int32_t>{})
                  : std::make_unique<f90test::TestArray>(t, s.ext, s.lower, s.step);
  const int percent = pick(0, 4) * 25;
  for (int64_t k = 0; k < m->size(); ++k) {
    const uint64_t v = pick(1, 100) <= percent ? (pick(0, 1) ? 1ull : 1ull << (8 * bytes - 1)) : 0;
    std::memcpy(m->at_linear(k), &v, bytes);
  }
  return m;
}

// The mask element at `at` (the one element of a scalar mask); true with no mask.
inline bool truth(f90test::TestArray* m, const Index& at) {
  if (m == nullptr) return true;
  uint64_t v = 0;
  std::memcpy(&v, m->rank() == 0 ? m->at_linear(0) : m->at(at), m->type().bytes());
  return v != 0;
}

// The extents of a result along DIM d (0-based): the source's without d; and
// the source index of element i along d of the line at result index j.
inline std::vector<int32_t> without(std::vector<int32_t> v, int d) {
  v.erase(v.begin() + d);
  return v;
}
inline Index with(Index j, int d, int64_t i) {
  j.insert(j.begin() + d, i);
  return j;
}

}  // namespace red
