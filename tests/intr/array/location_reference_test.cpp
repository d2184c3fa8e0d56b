// MAXLOC and MINLOC of ranks 1 to 7 against a naive reference: random
// shapes (some empty), sections with negative strides, every element type,
// DIM absent or random, MASKs of every width (array or scalar), locations of
// every width, results laid out by the library or supplied as sections.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <random>

#include "locations.h"
#include "random_arrays.h"
#include "recording_runtime.h"

namespace {

using f90test::ElemType;
using f90test::Runtime;
using f90test::TestArray;
using loc::Entries;
using loc::Seq;
using red::bits_as;
using red::Desc;
using red::Real16;
using red::Index;
using red::truth;

std::mt19937 rng(20240917);
int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

// A random element of the type, drawn from few values so that ties are
// common, with the kind's extremes, infinities and NaNs among them.
void random_element(const Entries& e, char* p) {
  const double specials[] = {INFINITY, -INFINITY, NAN, 0.0, -0.0};
  const bool special = pick(0, 7) == 0;
  const double x = special ? specials[pick(0, 4)] : pick(-12, 12) * 0.5;
  switch (e.code) {
    case red::R4: {
      const float f = static_cast<float>(x);
      std::memcpy(p, &f, 4);
      return;
    }
    case red::R8: std::memcpy(p, &x, 8); return;
    case red::R16: {
      // Renormalised pairs: a low part well below half an ulp of the high.
      const Real16 v{x, x == 0 || !std::isfinite(x) ? 0.0 : pick(-1, 1) * std::ldexp(x, -60)};
      std::memcpy(p, &v, 16);
      return;
    }
    default: {
      const int bits = static_cast<int>(e.type.bytes()) * 8;
      // The most negative and the largest value of the kind.
      uint64_t v = static_cast<uint64_t>(int64_t{pick(-6, 6)});
      if (special) v = pick(0, 1) ? ~0ull << (bits - 1) : ~0ull >> (65 - bits);
      std::memcpy(p, &v, e.type.bytes());
      return;
    }
  }
}

std::unique_ptr<TestArray> random_mask(const red::Shape& s, int kind) {
  if (kind == 0) return nullptr;
  return red::random_mask(pick, s, kind == 1);
}

// Location k of a result at `width` bytes, as the unsigned bits stored.
uint64_t stored(Desc* r, TestArray* supplied, const Index& j, int64_t k, int width) {
  uint64_t v = 0;
  if (supplied != nullptr)
    std::memcpy(&v, supplied->at(j), width);
  else
    v = red::result_elem(r, k, width, width < 4 ? 1 : 4);
  return v;
}
uint64_t expected(int64_t position, int width) {
  const uint64_t v = static_cast<uint64_t>(position + 1);
  return width == 8 ? v : v & (~0ull >> (64 - 8 * width));
}

TEST(LocationReference, RanksOneToSeven) {
  f90test::RuntimeScope scope;
  for (int trial = 0; trial < 1200; ++trial) {
    const Entries& e = loc::kEntries[trial % 8];
    const bool max = pick(0, 1);
    const int rank = pick(1, 7);
    const red::Shape s = red::random_shape(pick, rank);
    TestArray src(e.type, s.ext, s.lower, s.step);
    for (int64_t k = 0; k < src.size(); ++k) random_element(e, src.at_linear(k));
    const int mask_kind = pick(0, 3);  // none, scalar, array, array
    auto mask = random_mask(s, mask_kind);
    const bool scalar_false = mask_kind == 1 && !truth(mask.get(), {});
    const int64_t none = mask_kind >= 2 ? -1 : 0;
    const int width = 1 << pick(0, 3);
    const bool with_dim = pick(0, 2) != 0;
    const int32_t dim = pick(1, rank);
    loc::DimArg dim_arg(dim, 1 << pick(0, 3));
    std::vector<int32_t> rext;
    if (with_dim) {
      rext = s.ext;
      rext.erase(rext.begin() + (dim - 1));
    } else {
      rext = {rank};
    }
    const bool supply = pick(0, 1);
    std::vector<int32_t> rstep;
    for (size_t i = 0; i < rext.size(); ++i) rstep.push_back(pick(0, 1) ? -1 : 2);
    TestArray supplied(ElemType::integer(width), rext, {}, rstep);
    auto fresh = f90test::unallocated_result(ElemType::integer(width), with_dim ? rank - 1 : 1);
    Desc* r = supply ? supplied.desc() : fresh.get();

    Runtime::reset();
    Desc* m = mask ? mask->desc() : nullptr;
    if (with_dim)
      (max ? e.max_dim : e.min_dim)(r, src.desc(), dim_arg.desc(), m);
    else
      (max ? e.max : e.min)(r, src.desc(), m);
    ASSERT_TRUE(Runtime::reports().empty()) << trial;

    const bool empty = src.size() == 0 || scalar_false;
    std::string what = std::string(e.name) + (max ? " MAXLOC" : " MINLOC") + " trial " +
                       std::to_string(trial) + " rank " + std::to_string(rank);
    if (!with_dim) {
      // The subscripts of the position found in array element order.
      Seq seq;
      int64_t k = 0;
      std::vector<Index> at;
      f90test::for_each_index(s.ext, [&](const Index& i) {
        if (truth(mask.get(), i)) seq.push_back({k, src.at(i)});
        at.push_back(i);
        ++k;
      });
      const int64_t p = empty ? -1 : loc::model_position(e, max, seq, none);
      for (int d = 0; d < rank; ++d) {
        const int64_t sub = p < 0 ? -1 : at[p][d];
        ASSERT_EQ(stored(r, supply ? &supplied : nullptr, {d}, d, width), expected(sub, width))
            << what << " subscript " << d;
      }
    } else {
      int64_t k = 0;
      f90test::for_each_index(rext, [&](const Index& j) {
        Seq seq;
        for (int64_t i = 0; i < s.ext[dim - 1]; ++i) {
          Index at = j;
          at.insert(at.begin() + (dim - 1), i);
          if (truth(mask.get(), at)) seq.push_back({i, src.at(at)});
        }
        const int64_t p = empty ? -1 : loc::model_position(e, max, seq, none);
        ASSERT_EQ(stored(r, supply ? &supplied : nullptr, j, k, width), expected(p, width))
            << what << " dim " << dim << " line " << k;
        ++k;
      });
    }
    if (supply) {
      EXPECT_TRUE(supplied.outside_untouched()) << what;
    }
  }
}

}  // namespace
