// UNPACK: literal results with every descriptor word, the 1420 report per
// position and per word pass, MASK widths, caller results with strides, and
// random sections of rank 1 to 7 against a naive reference.
#include "construct_support.h"

namespace construct_test {
namespace {

const ElemType I4 = ElemType::integer(4);
using UnpackTest = ConstructTest;

TEST_F(UnpackTest, VectorLengthsAgainstTrueCount) {
  struct Case {
    const char* what;
    std::vector<int32_t> vector;
    bool field_array;  // FIELD 1..6, else the scalar 0
    std::vector<int32_t> want;
    int reports;  // 1420s
  } cases[] = {
      {"scalar FIELD", {10, 20, 30}, false, {10, 0, 0, 20, 30, 0}, 0},
      {"FIELD array", {10, 20, 30}, true, {10, 2, 3, 20, 30, 6}, 0},
      {"VECTOR longer: the rest unused", {10, 20, 30, 40}, true, {10, 2, 3, 20, 30, 6}, 0},
      // The third true position is left as the allocator filled it.
      {"VECTOR one short", {10, 20}, true, {10, 2, 3, 20, int32_t(0xCCCCCCCC), 6}, 1},
      {"VECTOR empty", {}, false, {int32_t(0xCCCCCCCC), 0, 0, int32_t(0xCCCCCCCC), int32_t(0xCCCCCCCC), 0}, 3},
  };
  for (const auto& c : cases) {
    Runtime::reset();
    TestArray mask(ElemType::logical(4), {2, 3});
    set_mask(mask, "100110");
    TestArray vector(I4, {static_cast<int32_t>(c.vector.size())});
    set_values(vector, c.vector);
    TestArray field_array(I4, {2, 3}), field_scalar(I4, {});
    set_values<int32_t>(field_array, {1, 2, 3, 4, 5, 6});
    field_scalar.set_linear<int32_t>(0, 0);
    auto r = f90test::unallocated_result(I4, 2);
    f90::unpack(r.get(), vector.desc(), mask.desc(), c.field_array ? field_array.desc() : field_scalar.desc());
    ASSERT_EQ(Runtime::allocations().size(), 1u) << c.what;
    EXPECT_EQ(words(r.get(), 13), (std::vector<uint32_t>{addr(block()), 32, f90_flags(2, 1, 0), I4.type_word,
                                                          addr(block()), 192, 1, 2, 1, 1, 3, 2, 0xDEADBEEF}))
        << c.what;
    EXPECT_EQ(values<int32_t>(r.get(), I4), c.want) << c.what;
    EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>(c.reports, 1420)) << c.what;
  }
}

TEST_F(UnpackTest, MaskWidthsAndSections) {
  struct Case {
    const char* what;
    int bytes;
    std::vector<int32_t> step;
  } cases[] = {
      {"LOGICAL*8 true on its high word", 8, {1, 1}},
      {"LOGICAL*2 section", 2, {-2, 1}},
      {"LOGICAL*1 section", 1, {2, -1}},
  };
  for (const auto& c : cases) {
    Runtime::reset();
    TestArray mask(ElemType::logical(c.bytes), {3, 2}, {}, c.step);
    set_mask(mask, "0H1001");
    TestArray vector(I4, {3});
    set_values<int32_t>(vector, {10, 20, 30});
    TestArray field(I4, {3, 2});
    set_values<int32_t>(field, {1, 2, 3, 4, 5, 6});
    auto r = f90test::unallocated_result(I4, 2);
    f90::unpack(r.get(), vector.desc(), mask.desc(), field.desc());
    EXPECT_EQ(values<int32_t>(r.get(), I4), (std::vector<int32_t>{1, 10, 20, 4, 5, 30})) << c.what;
  }
}

TEST_F(UnpackTest, EmptyMaskAllocatesNothing) {
  TestArray mask(ElemType::logical(4), {3, 0});
  TestArray vector(I4, {2}), field(I4, {});
  auto r = f90test::unallocated_result(I4, 2);
  f90::unpack(r.get(), vector.desc(), mask.desc(), field.desc());
  EXPECT_EQ(words(r.get(), 12), (std::vector<uint32_t>{0, 32, f90_flags(2, 1, 0), I4.type_word, 0, 0, 1, 3, 1,
                                                         1, 0, 3}));
  EXPECT_EQ(Runtime::allocation_calls(), 0);
}

TEST_F(UnpackTest, CharacterAndDerivedElements) {
  TestArray mask(ElemType::logical(4), {3});
  set_mask(mask, "101");
  TestArray vector(ElemType::character(4), {2}), field(ElemType::character(4), {});
  std::memcpy(vector.at_linear(0), "one.two.", 8);
  std::memcpy(field.at_linear(0), "----", 4);
  auto r = f90test::unallocated_result(ElemType::character(4), 1);
  f90::unpack(r.get(), vector.desc(), mask.desc(), field.desc());
  EXPECT_EQ(words(r.get(), 9), (std::vector<uint32_t>{addr(block()), 4, f90_flags(1, 1, 0),
                                                       ElemType::character(4).type_word, addr(block()), 96, 1,
                                                       3, 4}));
  EXPECT_EQ(std::string(static_cast<char*>(r->base), 12), "one.----two.");

  // Three words by word pass, VECTOR one short: 1420 in each pass.
  Runtime::reset();
  const ElemType dt = ElemType::derived_words(3);
  TestArray dv(dt, {1}), df(dt, {3});
  fill_unique(dv, 1);
  fill_unique(df, 2);
  set_mask(mask, "011");
  auto rd = f90test::unallocated_result(dt, 1);
  f90::unpack(rd.get(), dv.desc(), mask.desc(), df.desc());
  EXPECT_EQ(Runtime::numbers(), (std::vector<int32_t>{1420, 1420, 1420}));
  EXPECT_EQ(bytes_at(element(rd.get(), dt, 0), dt), bytes_at(df.at_linear(0), dt));
  EXPECT_EQ(bytes_at(element(rd.get(), dt, 1), dt), bytes_at(dv.at_linear(0), dt));
  EXPECT_EQ(bytes_at(element(rd.get(), dt, 2), dt), std::string(12, '\xCC'));
}

TEST_F(UnpackTest, CallerResultWithDoubleStrides) {
  TestArray mask(ElemType::logical(4), {2, 2});
  set_mask(mask, "1001");
  TestArray vector(I4, {2}), field(I4, {});
  set_values<int32_t>(vector, {7, 9});
  field.set_linear<int32_t>(0, -1);
  TestArray out(I4, {2, 2}, {0, 3}, {2, 2});
  const auto before = words(out.desc(), 12);
  f90::unpack(out.desc(), vector.desc(), mask.desc(), field.desc());
  EXPECT_EQ(words(out.desc(), 12), before);
  EXPECT_EQ(values<int32_t>(out.desc(), I4), (std::vector<int32_t>{7, -1, -1, 9}));
  EXPECT_TRUE(out.outside_untouched());
}

TEST_F(UnpackTest, AllocatorNullStoresNothing) {
  TestArray mask(ElemType::logical(4), {2});
  set_mask(mask, "11");
  TestArray vector(I4, {0}), field(I4, {});
  Runtime::fail_allocation(1);
  auto r = f90test::unallocated_result(I4, 1);
  f90::unpack(r.get(), vector.desc(), mask.desc(), field.desc());
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1205});
  EXPECT_EQ(words(r.get(), 9), (std::vector<uint32_t>{0, 32, f90_flags(1, 1, 0), I4.type_word, 0, 64, 1, 2, 1}));
}

// Random MASK sections of rank 1 to 7 (mostly 3 to 7), FIELD scalar or a
// section, VECTOR short or long, results allocated or given as sections.
TEST_F(UnpackTest, RandomSectionsMatchNaiveReference) {
  std::mt19937 rng(2112);
  const auto types = random_types();
  const int widths[] = {1, 2, 4, 8};
  for (int trial = 0; trial < 300; ++trial) {
    Runtime::reset();
    const int rank = trial < 20 ? 1 + trial % 2 : 3 + static_cast<int>(rng() % 5);
    const RandomShape m(rng, rank, trial < 20 ? 50 : rank > 5 ? 3 : 4), f(rng, rank, 1), o(rng, rank, 1);
    const ElemType t = types[rng() % types.size()];
    TestArray mask(ElemType::logical(widths[rng() % 4]), m.extent, {}, m.step);
    std::string pattern;
    for (int64_t k = 0; k < mask.size(); ++k) pattern += "01H1"[rng() % 4];
    set_mask(mask, pattern.c_str());
    const bool scalar_field = rng() % 3 == 0;
    TestArray field(t, scalar_field ? std::vector<int32_t>{} : m.extent, {}, f.step);
    fill_unique(field, trial);
    const int64_t trues = static_cast<int64_t>(std::count_if(pattern.begin(), pattern.end(),
                                                             [](char ch) { return ch != '0'; }));
    const int32_t n = std::max<int32_t>(0, static_cast<int32_t>(trues) + static_cast<int32_t>(rng() % 5) - 2);
    TestArray vector(t, {n}, {}, {rng() % 2 ? 1 : -1});
    fill_unique(vector, ~trial);

    const bool caller = rng() % 2;
    TestArray out(t, m.extent, {}, o.step, 0xCC);
    auto alloc = f90test::unallocated_result(t, rank);
    ArrayDescriptor* r = caller ? out.desc() : alloc.get();
    f90::unpack(r, vector.desc(), mask.desc(), field.desc());

    int64_t used = 0, missing = 0;
    for (int64_t k = 0; k < mask.size(); ++k) {
      std::string want;
      if (pattern[k] == '0') {
        want = bytes_at(field.at_linear(scalar_field ? 0 : k), t);
      } else if (used < n) {
        want = bytes_at(vector.at_linear(used++), t);
      } else {
        want = std::string(t.bytes(), '\xCC');
        ++missing;
      }
      ASSERT_EQ(bytes_at(element(r, t, k), t), want) << "trial " << trial << " k " << k;
    }
    const int64_t passes = t.code() == TYPE_DERIVED_WORDS ? t.elem_len / 32 : 1;
    EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>(missing * passes, 1420)) << "trial " << trial;
    EXPECT_TRUE(out.outside_untouched()) << "trial " << trial;
  }
}

}  // namespace
}  // namespace construct_test
