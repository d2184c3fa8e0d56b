// PACK: results against literal values with every descriptor word, MASK
// widths and sections, VECTOR shorter and longer than the selection, and
// random sections of rank 1 to 7 against a naive reference.
#include "construct_support.h"

namespace construct_test {
namespace {

const ElemType I4 = ElemType::integer(4);
const uint32_t kRank1Result = f90_flags(1, 1, OBJ_PLAIN);

// ARRAY 1..6 of extents (2, 3); MASK true at (1,1), (2,2), (1,3).
struct Example {
  TestArray array{I4, {2, 3}};
  TestArray mask{ElemType::logical(4), {2, 3}};
  Example() {
    set_values<int32_t>(array, {1, 2, 3, 4, 5, 6});
    set_mask(mask, "100110");
  }
};

using PackTest = ConstructTest;

TEST_F(PackTest, AllocatedResultsWithAndWithoutVector) {
  struct Case {
    const char* what;
    std::vector<int32_t> vector;  // empty: VECTOR absent
    std::vector<int32_t> want;
    uint32_t bytes;
  } cases[] = {
      {"no VECTOR: room for size(ARRAY)", {}, {1, 4, 5}, 24},
      {"VECTOR longer: its tail follows", {10, 20, 30, 40, 50}, {1, 4, 5, 40, 50}, 20},
      {"VECTOR as long as the selection", {10, 20, 30}, {1, 4, 5}, 12},
      {"VECTOR shorter: nothing past it", {10, 20}, {1, 4}, 8},
  };
  for (const auto& c : cases) {
    Runtime::reset();
    Example ex;
    TestArray vector(I4, {static_cast<int32_t>(c.vector.size())});
    set_values(vector, c.vector);
    auto r = f90test::unallocated_result(I4, 1);
    f90::pack(r.get(), ex.array.desc(), ex.mask.desc(), c.vector.empty() ? nullptr : vector.desc());
    ASSERT_EQ(Runtime::allocations().size(), 1u) << c.what;
    EXPECT_EQ(Runtime::allocations()[0].bytes, c.bytes) << c.what;
    const uint32_t n = static_cast<uint32_t>(c.want.size());
    EXPECT_EQ(words(r.get(), 10), (std::vector<uint32_t>{addr(block()), 32, kRank1Result, I4.type_word,
                                                          addr(block()), c.bytes * 8, 1, n, 1,
                                                          0xDEADBEEF}))
        << c.what;
    EXPECT_EQ(values<int32_t>(r.get(), I4), c.want) << c.what;
    EXPECT_TRUE(Runtime::reports().empty()) << c.what;
  }
}

TEST_F(PackTest, ShortVectorNeverStoresPastItsExtent) {
  Example ex;
  set_mask(ex.mask, "111111");
  TestArray vector(I4, {2});
  f90test::GuardedBuffer out(8);  // two elements, then an inaccessible page
  auto r = caller_result(I4, out.data(), {2}, {1});
  f90::pack(r.get(), ex.array.desc(), ex.mask.desc(), vector.desc());
  EXPECT_EQ(values<int32_t>(r.get(), I4), (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(r->dim[0].extent, 2);
  EXPECT_TRUE(Runtime::reports().empty());
}

TEST_F(PackTest, ScalarMask) {
  struct Case {
    const char* what;
    uint32_t mask_value;
    bool with_vector;
    std::vector<int32_t> want;
  } cases[] = {
      {"false, no VECTOR: empty", 0, false, {}},
      {"false with VECTOR: VECTOR", 0, true, {10, 20, 30, 40, 50, 60, 70}},
      {"true: every element", 0x100, false, {6, 5, 4, 3, 2, 1}},
      {"true with VECTOR: ARRAY then VECTOR's tail", 1, true, {6, 5, 4, 3, 2, 1, 70}},
  };
  for (const auto& c : cases) {
    Runtime::reset();
    // ARRAY is walked backwards along both dimensions.
    TestArray array(I4, {2, 3}, {}, {-1, -1});
    set_values<int32_t>(array, {6, 5, 4, 3, 2, 1});
    TestArray mask(ElemType::logical(4), {});
    mask.set_linear<uint32_t>(0, c.mask_value);
    TestArray vector(I4, {7});
    set_values<int32_t>(vector, {10, 20, 30, 40, 50, 60, 70});
    auto r = f90test::unallocated_result(I4, 1);
    f90::pack(r.get(), array.desc(), mask.desc(), c.with_vector ? vector.desc() : nullptr);
    EXPECT_EQ(r->dim[0].extent, static_cast<int32_t>(c.want.size())) << c.what;
    EXPECT_EQ(r->alloc_size, (c.with_vector ? 7u : 6u) * 32) << c.what;
    EXPECT_EQ(values<int32_t>(r.get(), I4), c.want) << c.what;
  }
}

TEST_F(PackTest, MaskWidthsAndSections) {
  struct Case {
    const char* what;
    int bytes;
    std::vector<int32_t> step;
    const char* pattern;
  } cases[] = {
      {"LOGICAL*8 true on its high word", 8, {1, 1}, "H00H10"},
      {"LOGICAL*8 section", 8, {-2, 1}, "10H010"},
      {"LOGICAL*2 section: byte strides halved", 2, {2, -1}, "100110"},
      {"LOGICAL*1 section: byte strides", 1, {-1, 2}, "011001"},
  };
  for (const auto& c : cases) {
    Runtime::reset();
    TestArray array(I4, {2, 3});
    set_values<int32_t>(array, {1, 2, 3, 4, 5, 6});
    TestArray mask(ElemType::logical(c.bytes), {2, 3}, {}, c.step);
    set_mask(mask, c.pattern);
    std::vector<int32_t> want;
    for (int k = 0; k < 6; ++k)
      if (c.pattern[k] != '0') want.push_back(k + 1);
    auto r = f90test::unallocated_result(I4, 1);
    f90::pack(r.get(), array.desc(), mask.desc(), nullptr);
    EXPECT_EQ(values<int32_t>(r.get(), I4), want) << c.what;
  }
}

TEST_F(PackTest, CharacterAndDerivedElements) {
  // CHARACTER*5: words 0-1 are {storage, 5}, strides in bytes.
  TestArray chars(ElemType::character(5), {3});
  std::memcpy(chars.at_linear(0), "alphabravocharl", 15);
  TestArray mask(ElemType::logical(1), {3});
  set_mask(mask, "101");
  auto r = f90test::unallocated_result(ElemType::character(5), 1);
  f90::pack(r.get(), chars.desc(), mask.desc(), nullptr);
  EXPECT_EQ(words(r.get(), 9), (std::vector<uint32_t>{addr(block()), 5, kRank1Result,
                                                       ElemType::character(5).type_word, addr(block()),
                                                       120, 1, 2, 5}));
  EXPECT_EQ(std::string(static_cast<char*>(r->base), 10), "alphacharl");

  // A word-laid derived type of three words arrives whole.
  Runtime::reset();
  const ElemType dt = ElemType::derived_words(3);
  TestArray items(dt, {4});
  fill_unique(items, 7);
  TestArray mask4(ElemType::logical(4), {4});
  set_mask(mask4, "0110");
  auto rd = f90test::unallocated_result(dt, 1);
  f90::pack(rd.get(), items.desc(), mask4.desc(), nullptr);
  EXPECT_EQ(rd->dim[0].extent, 2);
  EXPECT_EQ(rd->dim[0].stride, 3);
  EXPECT_EQ(bytes_at(element(rd.get(), dt, 0), dt), bytes_at(items.at_linear(1), dt));
  EXPECT_EQ(bytes_at(element(rd.get(), dt, 1), dt), bytes_at(items.at_linear(2), dt));
}

TEST_F(PackTest, EmptyCalls) {
  struct Case {
    const char* what;
    std::vector<int32_t> array_ext, mask_ext;
    int vector_len;  // -1: absent
    std::vector<int32_t> want;
  } cases[] = {
      {"ARRAY empty, no VECTOR", {2, 0}, {2, 0}, -1, {}},
      {"ARRAY empty, VECTOR [7, 8]", {0, 3}, {0, 3}, 2, {7, 8}},
      {"VECTOR of extent 0", {2, 3}, {2, 3}, 0, {}},
      {"MASK empty though ARRAY is not", {2, 3}, {2, 0}, -1, {}},
  };
  for (const auto& c : cases) {
    Runtime::reset();
    TestArray array(I4, c.array_ext), mask(ElemType::logical(4), c.mask_ext);
    TestArray vector(I4, {std::max(c.vector_len, 0)});
    if (c.vector_len == 2) set_values<int32_t>(vector, {7, 8});
    auto r = f90test::unallocated_result(I4, 1);
    f90::pack(r.get(), array.desc(), mask.desc(), c.vector_len < 0 ? nullptr : vector.desc());
    EXPECT_EQ(r->flags, kRank1Result) << c.what;
    EXPECT_EQ(r->dim[0].extent, static_cast<int32_t>(c.want.size())) << c.what;
    EXPECT_EQ(values<int32_t>(r.get(), I4), c.want) << c.what;
    if (c.want.empty() && array.size() == 0) {
      EXPECT_EQ(r->base, nullptr) << c.what;
      EXPECT_EQ(Runtime::allocation_calls(), 0) << c.what;
    }
  }
}

TEST_F(PackTest, CallerResultGetsTheTrueCountAndKeepsItsStrides) {
  Example ex;
  TestArray out(I4, {6}, {5}, {2});  // every other element of a parent
  auto before = words(out.desc(), 9);
  f90::pack(out.desc(), ex.array.desc(), ex.mask.desc(), nullptr);
  before[7] = 3;  // only the extent changes
  EXPECT_EQ(words(out.desc(), 9), before);
  EXPECT_EQ(out.get_linear<int32_t>(0), 1);
  EXPECT_EQ(out.get_linear<int32_t>(1), 4);
  EXPECT_EQ(out.get_linear<int32_t>(2), 5);
  EXPECT_TRUE(out.outside_untouched());
}

TEST_F(PackTest, RankThreeInArrayElementOrder) {
  TestArray array(ElemType::real(8), {2, 2, 2}, {}, {1, -1, 2});
  for (int k = 0; k < 8; ++k) array.set_linear<double>(k, k + 0.5);
  TestArray mask(ElemType::logical(2), {});
  mask.set_linear<int16_t>(0, -1);
  auto r = f90test::unallocated_result(ElemType::real(8), 1);
  f90::pack(r.get(), array.desc(), mask.desc(), nullptr);
  EXPECT_EQ(values<double>(r.get(), ElemType::real(8)),
            (std::vector<double>{0.5, 1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5}));
}

TEST_F(PackTest, AllocationFailures) {
  // The allocator's null: completed all the same, nothing stored.
  Example ex;
  Runtime::fail_allocation(1);
  auto r = f90test::unallocated_result(I4, 1);
  f90::pack(r.get(), ex.array.desc(), ex.mask.desc(), nullptr);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1205});
  EXPECT_EQ(words(r.get(), 9), (std::vector<uint32_t>{0, 32, kRank1Result, I4.type_word, 0, 192, 1, 6, 1}));

  // 2^29 REAL*8 elements (a broadcast ARRAY) would need 4 GiB: 1205 without
  // asking the allocator.
  Runtime::reset();
  double one = 1;
  Descriptor big(ElemType::real(8), 2, true);
  big->base = &one;
  big->dim[0] = {1, 1 << 16, 0};
  big->dim[1] = {1, 1 << 13, 0};
  TestArray yes(ElemType::logical(4), {});
  yes.set_linear<int32_t>(0, 1);
  auto rb = f90test::unallocated_result(ElemType::real(8), 1);
  f90::pack(rb.get(), big.get(), yes.desc(), nullptr);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1205});
  EXPECT_EQ(Runtime::allocation_calls(), 0);
  EXPECT_EQ(rb->base, nullptr);
}

// Random ARRAY and MASK sections of rank 1 to 7 (mostly 3 to 7), every MASK
// width, VECTOR absent, short, exact or long, results allocated or given as
// sections, against the selection made by hand.
TEST_F(PackTest, RandomSectionsMatchNaiveReference) {
  std::mt19937 rng(2111);
  const auto types = random_types();
  const int widths[] = {1, 2, 4, 8};
  for (int trial = 0; trial < 400; ++trial) {
    Runtime::reset();
    // Long lines first (chunks of the gathering loop), then ranks 3 to 7.
    const int rank = trial < 60 ? 1 + trial % 2 : 3 + static_cast<int>(rng() % 5);
    const RandomShape a(rng, rank, trial < 60 ? 100 : rank > 5 ? 3 : 4), m(rng, rank, 1);
    const ElemType t = types[rng() % types.size()];
    TestArray array(t, a.extent, {}, a.step);
    fill_unique(array, trial);
    TestArray mask(ElemType::logical(widths[rng() % 4]), a.extent, {}, m.step);
    const int density = static_cast<int>(rng() % 5);  // 0: none .. 4: all
    std::string pattern;
    for (int64_t k = 0; k < array.size(); ++k)
      pattern += static_cast<int>(rng() % 4) < density ? (rng() % 2 ? '1' : 'H') : '0';
    set_mask(mask, pattern.c_str());

    std::vector<std::string> want;
    for (int64_t k = 0; k < array.size(); ++k)
      if (pattern[k] != '0') want.push_back(bytes_at(array.at_linear(k), t));
    // Bit 0: VECTOR present; bit 1: the result is a caller's section.
    const int mode = static_cast<int>(rng() % 4);
    const bool with_vector = mode & 1;
    int32_t n = static_cast<int32_t>(want.size()) + static_cast<int32_t>(rng() % 7) - 3;
    if (n < 0) n = 0;
    TestArray vector(t, {n}, {}, {rng() % 2 ? 1 : -2});
    fill_unique(vector, ~trial);
    if (with_vector) {
      want.resize(std::min<size_t>(want.size(), n));
      for (int32_t k = static_cast<int32_t>(want.size()); k < n; ++k) want.push_back(bytes_at(vector.at_linear(k), t));
    }
    // A caller's result has room for VECTOR, or for every element of ARRAY.
    TestArray out(t, {with_vector ? n : static_cast<int32_t>(array.size())}, {}, {2});
    auto alloc = f90test::unallocated_result(t, 1);
    ArrayDescriptor* r = (mode & 2) ? out.desc() : alloc.get();
    f90::pack(r, array.desc(), mask.desc(), with_vector ? vector.desc() : nullptr);
    ASSERT_EQ(r->dim[0].extent, static_cast<int32_t>(want.size())) << "trial " << trial;
    for (size_t k = 0; k < want.size(); ++k)
      ASSERT_EQ(bytes_at(element(r, t, static_cast<int64_t>(k)), t), want[k]) << "trial " << trial << " k " << k;
    EXPECT_TRUE(out.outside_untouched()) << "trial " << trial;
    EXPECT_TRUE(Runtime::reports().empty()) << "trial " << trial;
  }
}

}  // namespace
}  // namespace construct_test
