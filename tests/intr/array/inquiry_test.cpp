// SIZE, SHAPE, LBOUND, UBOUND and ALLOCATED.
#include "array/inquiry.h"

#include <gtest/gtest.h>

#include "descriptor_builder.h"
#include "guard_page.h"
#include "recording_runtime.h"
#include "result_words.h"

namespace {

using f90test::ElemType;
using f90test::kUnset;
using f90test::Runtime;
using InquiryTest = f90test::RecordingTest;

const int32_t kDim1 = 1, kDim2 = 2, kDim3 = 3, kDim0 = 0;

uint32_t w(const void* p) { return f90test::addr_word(p); }

// A rank-2 REAL*8 array: dimension 1 has bounds 0:-1 (empty), dimension 2
// has lower bound -3 and extent 5.
struct EmptyFirstDim : f90test::TestArray {
  EmptyFirstDim() : TestArray(ElemType::real(8), {0, 5}, {0, -3}) {}
};

TEST_F(InquiryTest, ScalarAnswersForAnEmptyDimensionAndOddBounds) {
  EmptyFirstDim a;
  struct Case {
    const char* what;
    int64_t got, want;
  } cases[] = {
      {"SIZE", size_of(a.desc(), nullptr), 0},
      {"SIZE_4", size_of_4(a.desc(), nullptr), 0},
      {"SIZE DIM 1", size_of(a.desc(), &kDim1), 0},
      {"SIZE DIM 2", size_of(a.desc(), &kDim2), 5},
      {"SIZE_8 DIM 2", size_of_8(a.desc(), &kDim2), 5},
      {"LBOUND DIM 1", lbound_dim(a.desc(), &kDim1), 1},
      {"LBOUND DIM 2", lbound_dim(a.desc(), &kDim2), -3},
      {"LBOUND_4 DIM 2", lbound_dim_4(a.desc(), &kDim2), -3},
      {"LBOUND_8 DIM 2", lbound_dim_8(a.desc(), &kDim2), -3},
      {"UBOUND DIM 1", ubound_dim(a.desc(), &kDim1), 0},
      {"UBOUND DIM 2", ubound_dim(a.desc(), &kDim2), 1},
      {"UBOUND_4 DIM 2", ubound_dim_4(a.desc(), &kDim2), 1},
      {"UBOUND_8 DIM 1", ubound_dim_8(a.desc(), &kDim1), 0},
      {"UBOUND_8 DIM 2", ubound_dim_8(a.desc(), &kDim2), 1},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
  EXPECT_TRUE(Runtime::reports().empty());
}

// The array-valued forms, with every word of the completed result.
TEST_F(InquiryTest, ArrayResultsForAnEmptyDimensionAndOddBounds) {
  struct Case {
    const char* what;
    void (*entry)(ArrayDescriptor*, ArrayDescriptor*);
    int32_t first, second;
  } cases[] = {
      {"SHAPE", shape_of, 0, 5},
      {"LBOUND", lbound_of, 1, -3},
      {"UBOUND", ubound_of, 0, 1},
  };
  for (const auto& c : cases) {
    Runtime::reset();
    EmptyFirstDim a;
    auto r = f90test::unallocated_result(ElemType::integer(4), 1);
    c.entry(r.get(), a.desc());
    ASSERT_EQ(Runtime::allocations().size(), 1u) << c.what;
    void* block = Runtime::allocations()[0].block;
    EXPECT_EQ(Runtime::allocations()[0].bytes, 8u) << c.what;
    f90test::expect_words(r, {w(block), 32, f90_flags(1, 1, 0), ElemType::integer(4).type_word,
                             w(block), 64, 1, 2, 1, kUnset}, c.what);
    const int32_t* v = static_cast<int32_t*>(block);
    EXPECT_EQ(v[0], c.first) << c.what;
    EXPECT_EQ(v[1], c.second) << c.what;
    EXPECT_TRUE(Runtime::reports().empty()) << c.what;
  }
}

TEST_F(InquiryTest, RankZero) {
  f90test::Descriptor scalar(ElemType::integer(4), 0, true);
  f90test::GuardedDescriptor g(scalar.get());  // no dimension word may be read
  EXPECT_EQ(size_of(g.get(), nullptr), 1);
  EXPECT_EQ(size_of_4(g.get(), nullptr), 1);

  // SHAPE of a scalar: an empty, completed result; nothing asked for.
  auto r = f90test::unallocated_result(ElemType::integer(4), 1);
  shape_of(r.get(), g.get());
  f90test::expect_words(r, {0, 32, f90_flags(1, 1, 0), ElemType::integer(4).type_word, 0, 0,
                           1, 0, 1, kUnset});
  EXPECT_EQ(Runtime::allocation_calls(), 0);

  // LBOUND and UBOUND ask the allocator for 0 bytes.
  auto lb = f90test::unallocated_result(ElemType::integer(4), 1);
  lbound_of(lb.get(), g.get());
  ASSERT_EQ(Runtime::allocations().size(), 1u);
  EXPECT_EQ(Runtime::allocations()[0].bytes, 0u);
  EXPECT_EQ(lb->base, Runtime::allocations()[0].block);
  EXPECT_EQ(lb->dim[0].extent, 0);
  EXPECT_EQ(lb->alloc_size, 0u);
  EXPECT_TRUE(Runtime::reports().empty());
}

// The width of the stored values follows the result's type word.
TEST_F(InquiryTest, ResultWidthRule) {
  struct Case {
    const char* what;
    uint32_t type_word;
    uint32_t bytes;   // allocated
    int32_t stride;   // dimension 0 stride: int_len / 32
    int width;        // 8, 4 or 0 (nothing stored)
  } cases[] = {
      {"int_len 64", f90_type_word(TYPE_INTEGER, 64, 0, 0), 24, 2, 8},
      {"int_len 32", f90_type_word(TYPE_INTEGER, 32, 0, 0), 12, 1, 4},
      {"kind_sel, decl_len 8", f90_type_word(TYPE_INTEGER, 32, 1, 8), 24, 1, 8},
      {"kind_sel, decl_len 4", f90_type_word(TYPE_INTEGER, 64, 1, 4), 12, 2, 4},
      {"kind_sel, decl_len 2", f90_type_word(TYPE_INTEGER, 16, 1, 2), 12, 0, 0},
  };
  f90test::TestArray a(ElemType::integer(2), {7, 1, 3}, {-1, 0, 4});
  for (const auto& c : cases) {
    Runtime::reset();
    auto r = f90test::unallocated_result({c.type_word, 32}, 1);
    shape_of(r.get(), a.desc());
    ASSERT_EQ(Runtime::allocations().size(), 1u) << c.what;
    const auto& blk = Runtime::allocations()[0];
    EXPECT_EQ(blk.bytes, c.bytes) << c.what;
    EXPECT_EQ(r->dim[0].stride, c.stride) << c.what;
    EXPECT_EQ(r->dim[0].extent, 3) << c.what;
    EXPECT_EQ(r->alloc_size, c.bytes * 8) << c.what;
    const unsigned char* p = static_cast<unsigned char*>(blk.block);
    if (c.width == 8) {
      const int64_t want[] = {7, 1, 3};
      EXPECT_EQ(std::memcmp(p, want, 24), 0) << c.what;
    } else if (c.width == 4) {
      const int32_t want[] = {7, 1, 3};
      EXPECT_EQ(std::memcmp(p, want, 12), 0) << c.what;
    } else {
      for (uint32_t i = 0; i < blk.bytes; ++i) ASSERT_EQ(p[i], 0xCC) << c.what;
    }
  }
}

TEST_F(InquiryTest, SixtyFourBitBoundsAreSignExtended) {
  f90test::TestArray a(ElemType::integer(4), {2, 3}, {-5, 2147483647});
  auto r = f90test::unallocated_result(ElemType::integer(8), 1);
  ubound_of(r.get(), a.desc());
  ASSERT_EQ(Runtime::allocations().size(), 1u);
  const int64_t* v = static_cast<int64_t*>(Runtime::allocations()[0].block);
  EXPECT_EQ(v[0], -4);
  EXPECT_EQ(v[1], INT32_MIN + 1);  // 32-bit wrap of 2147483647 + 2
  auto l = f90test::unallocated_result(ElemType::integer(8), 1);
  lbound_of(l.get(), a.desc());
  const int64_t* lv = static_cast<int64_t*>(Runtime::allocations()[1].block);
  EXPECT_EQ(lv[0], -5);
  EXPECT_EQ(lv[1], 2147483647);
}

// A caller's result is filled contiguously from base, whatever its stride,
// and its descriptor words stay as they were.
TEST_F(InquiryTest, CallerResultIsFilledContiguously) {
  f90test::TestArray a(ElemType::integer(1), {4, 6, 2}, {3, 1, -1});
  f90test::TestArray r(ElemType::integer(4), {3}, {}, {2}, 0x00);
  const f90test::Descriptor before = r.descriptor();
  lbound_of(r.desc(), a.desc());
  for (int i = 0; i < 15; ++i) EXPECT_EQ(r.descriptor().word(i), before.word(i)) << i;
  const int32_t* p = reinterpret_cast<int32_t*>(r.desc()->base);
  EXPECT_EQ(p[0], 3);
  EXPECT_EQ(p[1], 1);
  EXPECT_EQ(p[2], -1);
  EXPECT_EQ(Runtime::allocation_calls(), 0);
}

TEST_F(InquiryTest, UpperBounds) {
  struct Case {
    int32_t lower, extent;
    int32_t want32;
    int64_t want64;
  } cases[] = {
      {-5, 3, -3, -3},
      {-5, 0, 0, 0},
      {123456, 0, 0, 0},
      {2147483647, 1, 2147483647, 2147483647},
      {2147483647, 2, INT32_MIN, 2147483648LL},
      {INT32_MIN, 1, INT32_MIN, INT32_MIN},
  };
  for (const auto& c : cases) {
    f90test::Descriptor d(ElemType::integer(4), 1, true);
    d->dim[0] = {c.lower, c.extent, 1};
    EXPECT_EQ(ubound_dim(d.get(), &kDim1), c.want32) << c.lower << " " << c.extent;
    EXPECT_EQ(ubound_dim_8(d.get(), &kDim1), c.want64) << c.lower << " " << c.extent;
  }
}

// DIM outside 1..rank: 1405, result 0, and no dimension read (the descriptor
// sits against an inaccessible page).
TEST_F(InquiryTest, DimOutOfRange) {
  f90test::TestArray a(ElemType::real(4), {4, 5}, {7, 8});
  f90test::GuardedDescriptor g(a.desc());
  for (const int32_t* dim : {&kDim0, &kDim3}) {
    Runtime::reset();
    const int64_t got[] = {size_of(g.get(), dim),     size_of_4(g.get(), dim),
                           size_of_8(g.get(), dim),   lbound_dim(g.get(), dim),
                           lbound_dim_4(g.get(), dim), lbound_dim_8(g.get(), dim),
                           ubound_dim(g.get(), dim),  ubound_dim_4(g.get(), dim),
                           ubound_dim_8(g.get(), dim)};
    for (int64_t v : got) EXPECT_EQ(v, 0);
    EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>(9, 1405)) << *dim;
  }
}

// A pointer or allocatable without storage is reported, and the answer is
// read from the words as they stand.
TEST_F(InquiryTest, AbsentArgumentIsReportedAndReadAnyway) {
  for (uint32_t kind : {OBJ_POINTER, OBJ_ALLOCATABLE}) {
    Runtime::reset();
    f90test::Descriptor d(ElemType::integer(4), 2, false);
    d->flags = f90_flags(2, 0, kind);
    d->dim[0] = {1, 3, 1};
    d->dim[1] = {4, 2, 3};
    EXPECT_EQ(size_of(d.get(), nullptr), 6);
    EXPECT_EQ(lbound_dim(d.get(), &kDim2), 4);
    EXPECT_EQ(ubound_dim_8(d.get(), &kDim2), 5);
    auto r = f90test::unallocated_result(ElemType::integer(4), 1);
    shape_of(r.get(), d.get());
    EXPECT_EQ(static_cast<int32_t*>(r->base)[1], 2);
    EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>(4, 1410));
  }
  // A plain array is never absent, whatever its assoc bit.
  Runtime::reset();
  f90test::Descriptor plain(ElemType::integer(4), 1, false);
  plain->dim[0] = {1, 3, 1};
  EXPECT_EQ(size_of(plain.get(), nullptr), 3);
  EXPECT_TRUE(Runtime::reports().empty());
}

TEST_F(InquiryTest, AllocatorFailureStoresNothing) {
  f90test::TestArray a(ElemType::integer(4), {2, 3});
  for (auto entry : {shape_of, lbound_of, ubound_of}) {
    Runtime::reset();
    Runtime::fail_allocation(1);
    auto r = f90test::unallocated_result(ElemType::integer(4), 1);
    entry(r.get(), a.desc());
    EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1205});
    EXPECT_EQ(r->base, nullptr);
    EXPECT_EQ(r->flags & F90_FLAG_ASSOC, 0u);
  }
}

// The product of the extents wraps in 32 bits and is exact in 64.
TEST_F(InquiryTest, SizeOfSixtyFourKBySixtyFourK) {
  f90test::Descriptor d(ElemType::integer(1), 2, true);
  d->dim[0] = {1, 65536, 1};
  d->dim[1] = {1, 65536, 65536};
  EXPECT_EQ(size_of_8(d.get(), nullptr), 4294967296LL);
  EXPECT_EQ(size_of(d.get(), nullptr), 0);
  EXPECT_EQ(size_of_4(d.get(), nullptr), 0);
  d->dim[1].extent = 65537;
  EXPECT_EQ(size_of_8(d.get(), nullptr), 4295032832LL);
  EXPECT_EQ(size_of(d.get(), nullptr), 65536);
  f90test::Descriptor scalar(ElemType::integer(1), 0, true);
  EXPECT_EQ(size_of_8(scalar.get(), nullptr), 1);
}

TEST_F(InquiryTest, Allocated) {
  struct Case {
    uint32_t obj_kind, assoc;
    int want;
  } cases[] = {
      {OBJ_ALLOCATABLE, 1, 1}, {OBJ_ALLOCATABLE, 0, 0}, {OBJ_PLAIN, 1, 0},
      {OBJ_POINTER, 1, 0},     {OBJ_POINTER, 0, 0},     {3, 1, 0},
  };
  for (const auto& c : cases) {
    f90test::Descriptor d(ElemType::real(8), 1, false);
    d->flags = f90_flags(1, c.assoc, c.obj_kind) | 0x0FFFFFF0u;  // bits 4-28 ignored
    EXPECT_EQ(allocated(d.get()), c.want) << c.obj_kind << c.assoc;
    EXPECT_EQ(allocated_4(d.get()), c.want) << c.obj_kind << c.assoc;
    EXPECT_EQ(allocated_8(d.get()), int64_t{c.want}) << c.obj_kind << c.assoc;
  }
}

}  // namespace
