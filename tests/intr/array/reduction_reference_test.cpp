// MAXVAL, MINVAL, _ALL, ANY and COUNT of ranks 3 to 7 against a naive
// reference: random shapes (some empty), sections with negative strides,
// random DIM, MASK widths and results (laid out by the library or supplied
// as sections).
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "descriptor_builder.h"
#include "random_arrays.h"
#include "recording_runtime.h"
#include "reductions.h"

namespace {

using f90test::ElemType;
using f90test::Runtime;
using f90test::TestArray;
using namespace red;
using Index = std::vector<int64_t>;

std::mt19937 rng(20240611);
int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

Shape random_shape(int rank) { return red::random_shape(pick, rank); }

std::unique_ptr<TestArray> random_mask(const Shape& s, bool scalar) {
  return red::random_mask(pick, s, scalar);
}

// ---- MAXVAL / MINVAL ----------------------------------------------------

uint64_t random_element(const Kind& k) {
  if (k.code == R4 || k.code == R8) {
    const double v[] = {-2, -1, -0.0, 0, 1, 2, 3, INFINITY, -INFINITY, NAN};
    const double x = pick(0, 5) == 0 ? v[pick(0, 9)] : pick(-40, 40) * 0.25;
    return k.code == R4 ? bits_of(static_cast<float>(x)) : bits_of(x);
  }
  const int bits = static_cast<int>(k.type.bytes()) * 8;
  if (pick(0, 9) == 0) return pick(0, 1) ? 1ull << (bits - 1) : ~0ull >> (65 - bits);  // extremes
  return static_cast<uint64_t>(int64_t{pick(-6, 6)}) & (~0ull >> (64 - bits));
}

TEST(ReductionReference, MaxvalMinvalRanksThreeToSeven) {
  f90test::RuntimeScope scope;
  for (int trial = 0; trial < 600; ++trial) {
    const Kind& k = kKinds[trial % 6];
    const bool max = pick(0, 1);
    const int rank = pick(3, 7);
    const Shape s = random_shape(rank);
    TestArray src(k.type, s.ext, s.lower, s.step);
    for (int64_t e = 0; e < src.size(); ++e) {
      const uint64_t b = random_element(k);
      std::memcpy(src.at_linear(e), &b, k.type.bytes());
    }
    const int mk = pick(0, 3);  // none, scalar, array, array
    auto mask = mk == 0 ? nullptr : random_mask(s, mk == 1);
    const int32_t dim = pick(1, rank);
    const std::vector<int32_t> rext = without(s.ext, dim - 1);
    const bool laid_out = pick(0, 1);
    std::vector<int32_t> rstep;
    for (int i = 0; i < rank - 1; ++i) rstep.push_back(pick(0, 1) ? -1 : 2);
    TestArray supplied(k.type, rext, {}, rstep);
    auto fresh = f90test::unallocated_result(k.type, rank - 1);
    Desc* r = laid_out ? fresh.get() : supplied.desc();

    Runtime::reset();
    (max ? k.max : k.min)(r, src.desc(), &dim, mask ? mask->desc() : nullptr);
    ASSERT_TRUE(Runtime::reports().empty());
    const uint32_t unit = k.type.unit();
    int64_t pos = 0;
    f90test::for_each_index(rext, [&](const Index& j) {
      std::vector<uint64_t> v;
      for (int64_t i = 0; i < s.ext[dim - 1]; ++i) {
        const Index at = with(j, dim - 1, i);
        if (!truth(mask.get(), at)) continue;
        uint64_t b = 0;
        std::memcpy(&b, src.at(at), k.type.bytes());
        v.push_back(b);
      }
      const uint64_t got = laid_out ? result_elem(r, pos, k.type.bytes(), unit) : [&] {
        uint64_t b = 0;
        std::memcpy(&b, supplied.at(j), k.type.bytes());
        return b;
      }();
      ASSERT_EQ(got, model_value(k, max, v)) << k.name << (max ? " max" : " min") << " trial " << trial
                                           << " rank " << rank << " dim " << dim << " at " << pos;
      ++pos;
    });
    if (!laid_out) {
      EXPECT_TRUE(supplied.outside_untouched());
    }
  }
}

// The whole array (scalar entries, DIM ignored) in array element order.
TEST(ReductionReference, WholeArrayInElementOrder) {
  f90test::RuntimeScope scope;
  using Scalar = std::function<uint64_t(Desc*, const int32_t*, Desc*)>;
  const Scalar scalars[6][2] = {
      {[](Desc* s, const int32_t* d, Desc* m) { return uint64_t(uint8_t(_MINVAL0_I1(s, d, m))); },
       [](Desc* s, const int32_t* d, Desc* m) { return uint64_t(uint8_t(_MAXVAL0_I1(s, d, m))); }},
      {[](Desc* s, const int32_t* d, Desc* m) { return uint64_t(uint16_t(_MINVAL0_I2(s, d, m))); },
       [](Desc* s, const int32_t* d, Desc* m) { return uint64_t(uint16_t(_MAXVAL0_I2(s, d, m))); }},
      {[](Desc* s, const int32_t* d, Desc* m) { return uint64_t(uint32_t(_MINVAL0_I4(s, d, m))); },
       [](Desc* s, const int32_t* d, Desc* m) { return uint64_t(uint32_t(_MAXVAL0_I4(s, d, m))); }},
      {[](Desc* s, const int32_t* d, Desc* m) { return uint64_t(_MINVAL0_I(s, d, m)); },
       [](Desc* s, const int32_t* d, Desc* m) { return uint64_t(_MAXVAL0_I(s, d, m)); }},
      {[](Desc* s, const int32_t* d, Desc* m) { return bits_of(_MINVAL0_S4(s, d, m)); },
       [](Desc* s, const int32_t* d, Desc* m) { return bits_of(_MAXVAL0_S4(s, d, m)); }},
      {[](Desc* s, const int32_t* d, Desc* m) { return bits_of(_MINVAL0_S(s, d, m)); },
       [](Desc* s, const int32_t* d, Desc* m) { return bits_of(_MAXVAL0_S(s, d, m)); }},
  };
  for (int trial = 0; trial < 300; ++trial) {
    const Kind& k = kKinds[trial % 6];
    const bool max = pick(0, 1);
    const Shape s = random_shape(pick(3, 7));
    TestArray src(k.type, s.ext, s.lower, s.step);
    std::vector<uint64_t> all(static_cast<size_t>(src.size()));
    for (int64_t e = 0; e < src.size(); ++e) {
      all[e] = random_element(k);
      std::memcpy(src.at_linear(e), &all[e], k.type.bytes());
    }
    auto mask = pick(0, 1) ? random_mask(s, false) : nullptr;
    std::vector<uint64_t> v;
    for (int64_t e = 0; e < src.size(); ++e)
      if (mask == nullptr || truth(mask.get(), [&] {
            Index at(s.ext.size());
            int64_t q = e;
            for (size_t i = 0; i < at.size(); ++i) at[i] = q % s.ext[i], q /= s.ext[i];
            return at;
          }()))
        v.push_back(all[e]);
    const int32_t dim = pick(1, static_cast<int>(s.ext.size()));
    const uint64_t got = scalars[trial % 6][max](src.desc(), &dim, mask ? mask->desc() : nullptr);
    ASSERT_EQ(got, model_value(k, max, v)) << k.name << " trial " << trial;
  }
  EXPECT_TRUE(Runtime::reports().empty());
}

// ---- ALL / ANY / COUNT ----------------------------------------------------

TEST(ReductionReference, AllAnyCountRanksThreeToSeven) {
  f90test::RuntimeScope scope;
  const LogicalEntry entries[3] = {_ALL_4, _ANY_8, _COUNT};
  for (int trial = 0; trial < 400; ++trial) {
    const int op = trial % 3;
    const int rank = pick(3, 7);
    const Shape s = random_shape(rank);
    auto mask = random_mask(s, false);
    const int32_t dim = pick(1, rank);
    const std::vector<int32_t> rext = without(s.ext, dim - 1);
    const ElemType rt = op == 2 ? ElemType::integer(1 << pick(0, 3)) : ElemType::logical(1 << pick(0, 3));
    const bool laid_out = pick(0, 1);
    TestArray supplied(rt, rext, {}, {}, 0x5a);
    auto fresh = f90test::unallocated_result(rt, rank - 1);
    Desc* r = laid_out ? fresh.get() : supplied.desc();
    Runtime::reset();
    entries[op](r, mask->desc(), &dim);
    ASSERT_TRUE(Runtime::reports().empty());
    int64_t pos = 0;
    f90test::for_each_index(rext, [&](const Index& j) {
      uint64_t count = 0;
      for (int64_t i = 0; i < s.ext[dim - 1]; ++i) count += truth(mask.get(), with(j, dim - 1, i));
      const uint64_t n = static_cast<uint64_t>(s.ext[dim - 1]);
      uint64_t want = op == 0 ? count == n : op == 1 ? count > 0 : count;
      if (rt.bytes() < 8) want &= (1ull << (8 * rt.bytes())) - 1;
      const uint64_t got = laid_out ? result_elem(r, pos, rt.bytes(), rt.unit()) : [&] {
        uint64_t b = 0;
        std::memcpy(&b, supplied.at(j), rt.bytes());
        return b;
      }();
      ASSERT_EQ(got, want) << "op " << op << " trial " << trial << " dim " << dim << " at " << pos;
      ++pos;
    });
  }
}

}  // namespace
