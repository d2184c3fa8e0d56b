// SPREAD: literal results with every descriptor word, DIM and rank limits,
// empty and oversized results, caller results with strides, and random
// SOURCE sections of rank 0 to 6 against a naive reference.
#include "construct_support.h"

namespace construct_test {
namespace {

const ElemType I4 = ElemType::integer(4);
using SpreadTest = ConstructTest;

TEST_F(SpreadTest, LiteralResults) {
  struct Case {
    const char* what;
    std::vector<int32_t> source_ext;  // SOURCE holds 1, 2, ... in array element order
    int32_t dim, ncopies;
    std::vector<uint32_t> dims;  // lower, extent, stride per result dimension
    std::vector<int32_t> want;
  } cases[] = {
      {"(1, 2, 3) along DIM 1", {3}, 1, 2, {1, 2, 1, 1, 3, 2}, {1, 1, 2, 2, 3, 3}},
      {"(1, 2, 3) along DIM 2", {3}, 2, 2, {1, 3, 1, 1, 2, 3}, {1, 2, 3, 1, 2, 3}},
      {"scalar 1 along DIM 1", {}, 1, 3, {1, 3, 1}, {1, 1, 1}},
      {"2 x 2 along DIM 2", {2, 2}, 2, 3, {1, 2, 1, 1, 3, 2, 1, 2, 6}, {1, 2, 1, 2, 1, 2, 3, 4, 3, 4, 3, 4}},
      {"2 x 2 along DIM 3", {2, 2}, 3, 2, {1, 2, 1, 1, 2, 2, 1, 2, 4}, {1, 2, 3, 4, 1, 2, 3, 4}},
  };
  for (const auto& c : cases) {
    Runtime::reset();
    TestArray source(I4, c.source_ext);
    for (int64_t k = 0; k < source.size(); ++k) source.set_linear<int32_t>(k, static_cast<int32_t>(k + 1));
    const int rank = static_cast<int>(c.source_ext.size()) + 1;
    auto r = f90test::unallocated_result(I4, rank);
    f90::spread(r.get(), source.desc(), &c.dim, &c.ncopies);
    std::vector<uint32_t> want{addr(block()), 32, f90_flags(rank, 1, 0), I4.type_word, addr(block()),
                               static_cast<uint32_t>(c.want.size() * 32)};
    want.insert(want.end(), c.dims.begin(), c.dims.end());
    want.push_back(0xDEADBEEF);
    EXPECT_EQ(words(r.get(), static_cast<int>(want.size())), want) << c.what;
    EXPECT_EQ(values<int32_t>(r.get(), I4), c.want) << c.what;
    EXPECT_TRUE(Runtime::reports().empty()) << c.what;
  }
}

TEST_F(SpreadTest, BadDimAndRankSevenChangeNothing) {
  struct Case {
    const char* what;
    int rank;
    int32_t dim;
  } cases[] = {{"DIM 0", 1, 0}, {"DIM r + 2", 1, 3}, {"rank-7 SOURCE", 7, 8}, {"scalar, DIM 2", 0, 2}};
  for (const auto& c : cases) {
    Runtime::reset();
    TestArray source(I4, std::vector<int32_t>(c.rank, 1));
    auto r = f90test::unallocated_result(I4, c.rank < 7 ? c.rank + 1 : 7);
    const auto before = words(r.get(), 27);
    const int32_t nc = 2;
    f90::spread(r.get(), source.desc(), &c.dim, &nc);
    EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1405}) << c.what;
    EXPECT_EQ(words(r.get(), 27), before) << c.what;
    EXPECT_EQ(Runtime::allocation_calls(), 0) << c.what;
  }
}

TEST_F(SpreadTest, EmptyResults) {
  struct Case {
    const char* what;
    std::vector<int32_t> source_ext;
    int32_t ncopies;
    std::vector<uint32_t> dims;
  } cases[] = {
      {"NCOPIES 0", {2}, 0, {1, 0, 1, 1, 2, 0}},
      {"NCOPIES -4", {2}, -4, {1, 0, 1, 1, 2, 0}},
      {"empty SOURCE", {0}, 3, {1, 3, 1, 1, 0, 3}},
  };
  for (const auto& c : cases) {
    Runtime::reset();
    TestArray source(I4, c.source_ext);
    auto r = f90test::unallocated_result(I4, 2);
    const int32_t dim = 1;
    f90::spread(r.get(), source.desc(), &dim, &c.ncopies);
    std::vector<uint32_t> want{0, 32, f90_flags(2, 1, 0), I4.type_word, 0, 0};
    want.insert(want.end(), c.dims.begin(), c.dims.end());
    EXPECT_EQ(words(r.get(), 12), want) << c.what;
    EXPECT_EQ(Runtime::allocation_calls(), 0) << c.what;
    EXPECT_TRUE(Runtime::reports().empty()) << c.what;
  }

  // A caller's result with a zero extent: nothing moved, no word changed.
  TestArray source(I4, {2}), out(I4, {0, 2});
  const auto before = words(out.desc(), 12);
  const int32_t dim = 1, nc = 2;
  f90::spread(out.desc(), source.desc(), &dim, &nc);
  EXPECT_EQ(words(out.desc(), 12), before);
  EXPECT_TRUE(out.outside_untouched());
}

TEST_F(SpreadTest, ElementKinds) {
  // INTEGER*2 of rank 2: byte strides, 2 along the first dimension.
  TestArray i2(ElemType::integer(2), {2, 2});
  set_values<int16_t>(i2, {1, 2, 3, 4});
  auto r = f90test::unallocated_result(ElemType::integer(2), 3);
  const int32_t dim1 = 1, dim2 = 2, nc2 = 2;
  f90::spread(r.get(), i2.desc(), &dim1, &nc2);
  EXPECT_EQ(words(r.get(), 15), (std::vector<uint32_t>{addr(block()), 16, f90_flags(3, 1, 0),
                                                        ElemType::integer(2).type_word, addr(block()), 128, 1, 2,
                                                        2, 1, 2, 4, 1, 2, 8}));
  EXPECT_EQ(values<int16_t>(r.get(), ElemType::integer(2)), (std::vector<int16_t>{1, 1, 2, 2, 3, 3, 4, 4}));

  // CHARACTER*3: words 0-1 {storage, 3}, one 3-byte move per copy.
  Runtime::reset();
  TestArray chars(ElemType::character(3), {2});
  std::memcpy(chars.at_linear(0), "abcxyz", 6);
  auto rc = f90test::unallocated_result(ElemType::character(3), 2);
  f90::spread(rc.get(), chars.desc(), &dim2, &nc2);
  EXPECT_EQ(words(rc.get(), 12), (std::vector<uint32_t>{addr(block()), 3, f90_flags(2, 1, 0),
                                                         ElemType::character(3).type_word, addr(block()), 96, 1,
                                                         2, 3, 1, 2, 6}));
  EXPECT_EQ(std::string(static_cast<char*>(rc->base), 12), "abcxyzabcxyz");

  // A word-laid derived type of two words arrives whole.
  Runtime::reset();
  const ElemType dt = ElemType::derived_words(2);
  TestArray items(dt, {3}, {}, {-1});
  fill_unique(items, 3);
  auto rd = f90test::unallocated_result(dt, 2);
  f90::spread(rd.get(), items.desc(), &dim1, &nc2);
  for (int k = 0; k < 6; ++k)
    EXPECT_EQ(bytes_at(element(rd.get(), dt, k), dt), bytes_at(items.at_linear(k / 2), dt)) << k;
}

TEST_F(SpreadTest, SizeLimitsAndAllocatorNull) {
  // NCOPIES 2^30 of two REAL*8 elements: 16 GiB, 1205 without asking.
  TestArray source(ElemType::real(8), {2});
  auto r = f90test::unallocated_result(ElemType::real(8), 2);
  const int32_t dim = 2, huge = 1 << 30, nc = 3;
  f90::spread(r.get(), source.desc(), &dim, &huge);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1205});
  EXPECT_EQ(Runtime::allocation_calls(), 0);
  EXPECT_EQ(r->base, nullptr);

  Runtime::reset();
  Runtime::fail_allocation(1);
  auto rn = f90test::unallocated_result(ElemType::real(8), 2);
  f90::spread(rn.get(), source.desc(), &dim, &nc);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1205});
  EXPECT_EQ(words(rn.get(), 12), (std::vector<uint32_t>{0, 64, f90_flags(2, 1, 0), ElemType::real(8).type_word,
                                                          0, 384, 1, 2, 2, 1, 3, 4}));
}

// Random SOURCE sections of rank 0 to 6, every DIM, NCOPIES 0 to 3, results
// allocated or given as sections (stored through their own strides).
TEST_F(SpreadTest, RandomSectionsMatchNaiveReference) {
  std::mt19937 rng(2114);
  const auto types = random_types();
  for (int trial = 0; trial < 300; ++trial) {
    Runtime::reset();
    const ElemType t = types[rng() % types.size()];
    const int rank = trial < 20 ? trial % 3 : 2 + static_cast<int>(rng() % 5);
    const RandomShape s(rng, rank, rank > 4 ? 3 : 4);
    TestArray source(t, s.extent, {}, s.step);
    fill_unique(source, trial);
    const int32_t dim = 1 + static_cast<int32_t>(rng() % (rank + 1));
    const int32_t nc = static_cast<int32_t>(rng() % 4);
    std::vector<int32_t> ext = s.extent;
    ext.insert(ext.begin() + (dim - 1), nc);
    const RandomShape o(rng, rank + 1, 1);
    const bool caller = rng() % 2;
    TestArray out(t, ext, {}, o.step, 0xCC);
    auto alloc = f90test::unallocated_result(t, rank + 1);
    ArrayDescriptor* r = caller ? out.desc() : alloc.get();
    f90::spread(r, source.desc(), &dim, &nc);
    ASSERT_TRUE(Runtime::reports().empty()) << "trial " << trial;
    for (int i = 0; i <= rank; ++i) ASSERT_EQ(r->dim[i].extent, ext[i]) << "trial " << trial;
    f90test::for_each_index(ext, [&](const std::vector<int64_t>& idx) {
      std::vector<int64_t> from = idx;
      from.erase(from.begin() + (dim - 1));
      int64_t k = 0;
      for (int i = static_cast<int>(ext.size()) - 1; i >= 0; --i) k = k * ext[i] + idx[i];
      ASSERT_EQ(bytes_at(element(r, t, k), t), bytes_at(source.at(from), t)) << "trial " << trial;
    });
    EXPECT_TRUE(out.outside_untouched()) << "trial " << trial;
  }
}

}  // namespace
}  // namespace construct_test
