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
std::vector<int32_t> without(std::vector<int32_t> v, int d) {
  v.erase(v.begin() + d);
  return v;
}
Index with(Index j, int d, int64_t i) {
  j.insert(j.begin() + d, i);
  return j;
}

std::unique_ptr<TestArray> random_mask(const Shape& s, bool scalar) {
  return red::random_mask(pick, s, scalar);
}

// ---- MAXVAL / MINVAL ----------------------------------------------------

struct Kind {
  const char* name;
  ElemType type;
  int32_t code;
  ArrayEntry max, min;
  uint64_t max_start, min_start;
};
const Kind kKinds[] = {
    {"I1", ElemType::integer(1), I1, _MAXVAL_I1, _MINVAL_I1, 0x81, 0x7f},
    {"I2", ElemType::integer(2), I2, _MAXVAL_I2, _MINVAL_I2, 0x8001, 0x7fff},
    {"I4", ElemType::integer(4), I4, _MAXVAL_I4, _MINVAL_I4, 0x80000001u, 0x7fffffffu},
    {"J", ElemType::integer(8), I8, _MAXVAL_J, _MINVAL_J, 0x8000000000000001ull, 0x7fffffffffffffffull},
    {"S4", ElemType::real(4), R4, _MAXVAL_S4, _MINVAL_S4, 0xff7fffffu, 0x7f7fffffu},
    {"S", ElemType::real(8), R8, _MAXVAL_S, _MINVAL_S, 0xffefffffffffffffull, 0x7fefffffffffffffull},
};

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

double value_of(const Kind& k, uint64_t b) {
  if (k.code == R4) return bits_as<float>(b);
  if (k.code == R8) return bits_as<double>(b);
  const int sh = 64 - static_cast<int>(k.type.bytes()) * 8;
  return static_cast<double>(static_cast<int64_t>(b << sh) >> sh);  // exact below 2^53
}
int64_t int_of(const Kind& k, uint64_t b) {
  const int sh = 64 - static_cast<int>(k.type.bytes()) * 8;
  return static_cast<int64_t>(b << sh) >> sh;
}

// The reduction of the considered elements' bits, in visiting order.
uint64_t reference(const Kind& k, bool max, const std::vector<uint64_t>& v) {
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
      ASSERT_EQ(got, reference(k, max, v)) << k.name << (max ? " max" : " min") << " trial " << trial
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
    ASSERT_EQ(got, reference(k, max, v)) << k.name << " trial " << trial;
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
