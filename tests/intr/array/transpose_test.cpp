// TRANSPOSE of every element layout, into new and caller-supplied results.
#include "array/transpose.h"

#include <gtest/gtest.h>

#include "descriptor_builder.h"
#include "recording_runtime.h"
#include "result_words.h"

namespace {

using f90test::Descriptor;
using f90test::ElemType;
using f90test::kUnset;
using f90test::Runtime;
using f90test::TestArray;
using TransposeTest = f90test::RecordingTest;

uint32_t w(const void* p) { return f90test::addr_word(p); }

// Fills every byte of every element from its position, so that any
// misplaced or half-moved element shows.
void fill_distinct(TestArray& a) {
  const uint32_t eb = a.type().bytes();
  for (int64_t k = 0; k < a.size(); ++k)
    for (uint32_t b = 0; b < eb; ++b)
      a.at_linear(k)[b] = static_cast<char>(k * 7 + b * 31 + 1);
}

// result(j, i) == source(i, j), byte for byte.
void expect_transposed(TestArray& src, char* rbase, int64_t rb1, int64_t rb2, const char* what) {
  const uint32_t eb = src.type().bytes();
  const int64_t m = src.extents()[0], n = src.extents()[1];
  for (int64_t i = 0; i < m; ++i)
    for (int64_t j = 0; j < n; ++j)
      ASSERT_EQ(std::memcmp(rbase + j * rb1 + i * rb2, src.at({i, j}), eb), 0)
          << what << " (" << i << ", " << j << ")";
}

TEST_F(TransposeTest, TwoByThreeIntegers) {
  TestArray src(ElemType::integer(4), {2, 3});
  src.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(k + 1); });
  auto r = f90test::unallocated_result(ElemType::integer(4), 2);
  transpose(r.get(), src.desc());
  ASSERT_EQ(Runtime::allocations().size(), 1u);
  void* b = Runtime::allocations()[0].block;
  EXPECT_EQ(Runtime::allocations()[0].bytes, 24u);
  f90test::expect_words(r, {w(b), 32, f90_flags(2, 1, 0), ElemType::integer(4).type_word,
                           w(b), 192, 1, 3, 1, 1, 2, 3, kUnset});
  // source (1 3 5 / 2 4 6) in column order 1..6; result rows are its columns
  const int32_t want_values[] = {1, 3, 5, 2, 4, 6};
  EXPECT_EQ(std::memcmp(b, want_values, 24), 0);
}

TEST_F(TransposeTest, EmptySourceCompletesWithoutStorage) {
  TestArray src(ElemType::real(8), {3, 0});
  auto r = f90test::unallocated_result(ElemType::real(8), 2);
  transpose(r.get(), src.desc());
  f90test::expect_words(r, {0, 64, f90_flags(2, 1, 0), ElemType::real(8).type_word, 0, 0,
                           1, 0, 2, 1, 3, 0, kUnset});
  EXPECT_EQ(Runtime::allocation_calls(), 0);
}

TEST_F(TransposeTest, CharacterResultHoldsItsLength) {
  TestArray src(ElemType::character(5), {2, 2});
  fill_distinct(src);
  auto r = f90test::unallocated_result(ElemType::character(5), 2);
  transpose(r.get(), src.desc());
  ASSERT_EQ(Runtime::allocations().size(), 1u);
  char* b = static_cast<char*>(Runtime::allocations()[0].block);
  EXPECT_EQ(Runtime::allocations()[0].bytes, 20u);
  f90test::expect_words(r, {w(b), 5, f90_flags(2, 1, 0), ElemType::character(5).type_word,
                           w(b), 160, 1, 2, 5, 1, 2, 10, kUnset});
  expect_transposed(src, b, 5, 10, "CHARACTER*5");
}

// Every element layout, from sources with negative and non-unit strides,
// into allocated results and into strided sections the caller supplies.
TEST_F(TransposeTest, EveryLayoutFromAndIntoSections) {
  struct Case {
    const char* what;
    ElemType type;
    int32_t unit_stride;  // dimension 0 stride of the allocated result
  } cases[] = {
      {"INTEGER*1", ElemType::integer(1), 1},     {"LOGICAL*1", ElemType::logical(1), 1},
      {"INTEGER*2", ElemType::integer(2), 2},     {"REAL*4", ElemType::real(4), 1},
      {"REAL*8", ElemType::real(8), 2},           {"REAL*16", ElemType::real(16), 4},
      {"COMPLEX*32", ElemType::complex(32), 8},   {"CHARACTER*3", ElemType::character(3), 3},
      {"CHARACTER*0", ElemType::character(0), 0}, {"derived, 5 bytes", ElemType::derived_bytes(5), 5},
      {"derived, 3 words", ElemType::derived_words(3), 3},
      {"derived, 9 words", ElemType::derived_words(9), 9},
  };
  const std::vector<std::vector<int32_t>> shapes = {{1, 1}, {3, 5}, {4, 8}, {37, 70}, {65, 33}};
  const std::vector<std::vector<int32_t>> steps = {{1, 1}, {-2, 3}};
  for (const auto& c : cases) {
    for (size_t t = 0; t < shapes.size() * steps.size(); ++t) {
      const auto& shape = shapes[t % shapes.size()];
      Runtime::reset();
      TestArray src(c.type, shape, {4, -2}, steps[t / shapes.size()]);
      fill_distinct(src);
      auto r = f90test::unallocated_result(c.type, 2);
      transpose(r.get(), src.desc());
      const int64_t eb = c.type.bytes(), m = shape[0], n = shape[1];
      EXPECT_EQ(r->dim[0].stride, c.unit_stride) << c.what;
      EXPECT_EQ(r->dim[1].stride, c.unit_stride * n) << c.what;
      EXPECT_EQ(r->alloc_size, static_cast<uint32_t>(eb * m * n * 8)) << c.what;
      if (eb > 0) {
        ASSERT_EQ(Runtime::allocations().size(), 1u) << c.what;
        expect_transposed(src, static_cast<char*>(r->base), eb, eb * n, c.what);
      } else {
        EXPECT_EQ(Runtime::allocation_calls(), 0) << c.what;
        EXPECT_EQ(r->base, nullptr) << c.what;
      }

      // A caller's section: every other row, columns backwards.
      TestArray given(c.type, {static_cast<int32_t>(n), static_cast<int32_t>(m)}, {}, {2, -1}, 0x3C);
      const Descriptor before = given.descriptor();
      transpose(given.desc(), src.desc());
      for (int i = 0; i < 12; ++i) EXPECT_EQ(given.descriptor().word(i), before.word(i)) << c.what;
      for (int64_t i = 0; i < m; ++i)
        for (int64_t j = 0; j < n; ++j)
          ASSERT_EQ(std::memcmp(given.at({j, i}), src.at({i, j}), eb), 0)
              << c.what << " section (" << i << ", " << j << ")";
      EXPECT_TRUE(given.outside_untouched()) << c.what;
      EXPECT_TRUE(src.outside_untouched()) << c.what;
    }
  }
}

TEST_F(TransposeTest, CallerStridesOneAndTen) {
  TestArray src(ElemType::integer(4), {3, 4});
  src.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(k + 1); });
  int32_t out[40];
  for (int32_t& v : out) v = -1;
  Descriptor r(ElemType::integer(4), 2, true);
  r->base = out;
  r->dim[0] = {1, 4, 1};
  r->dim[1] = {1, 3, 10};
  transpose(r.get(), src.desc());
  for (int k = 0; k < 40; ++k) {
    const int j = k % 10, i = k / 10;
    const int32_t want = (j < 4 && i < 3) ? i + 3 * j + 1 : -1;
    EXPECT_EQ(out[k], want) << k;
  }
}

TEST_F(TransposeTest, NothingStoredWhenStorageIsRefused) {
  TestArray src(ElemType::integer(2), {4, 5});
  Runtime::fail_allocation(1);
  auto r = f90test::unallocated_result(ElemType::integer(2), 2);
  transpose(r.get(), src.desc());
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1205});
  EXPECT_EQ(r->flags & F90_FLAG_ASSOC, 0u);
  EXPECT_EQ(r->base, nullptr);

  // 65536 x 65536 bytes is past what i386 can hold: refused before asking.
  Runtime::reset();
  Descriptor huge(ElemType::integer(1), 2, true);
  huge->base = reinterpret_cast<void*>(0x1000);  // never read
  huge->dim[0] = {1, 65536, 1};
  huge->dim[1] = {1, 65536, 65536};
  auto r2 = f90test::unallocated_result(ElemType::integer(1), 2);
  transpose(r2.get(), huge.get());
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1205});
  EXPECT_EQ(Runtime::allocation_calls(), 0);
  EXPECT_EQ(r2->flags & F90_FLAG_ASSOC, 0u);
}

}  // namespace
