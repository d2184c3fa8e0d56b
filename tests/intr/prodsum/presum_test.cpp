// _PRESUM through its exported 21-argument form: geometry in elements, MASK
// views, DIM checks, result completion, rotation, and the failure paths.
#include <gtest/gtest.h>

#include <cstring>

#include "f90/f90.h"
#include "descriptor_builder.h"
#include "guard_page.h"
#include "prodsum/presum.h"
#include "recording_runtime.h"

namespace {

using f90::prodsum::ReductionSetup;
using f90test::ElemType;
using f90test::Runtime;
using f90test::TestArray;
using Desc = ArrayDescriptor;


constexpr int32_t kUnset = 0x5a5a5a5a;

// Calls _PRESUM with every field preset to kUnset bytes.
ReductionSetup presum(int32_t flag, Desc* res, Desc* src, const int32_t* dim, Desc* mask) {
  ReductionSetup s;
  std::memset(&s, 0x5a, sizeof s);
  _PRESUM(&flag, res, src, dim, mask, &s.src_rank, &s.dim_present, &s.dim_value,
               &s.mask_present, &s.scalar_result, &s.src_base, s.src_extent, s.src_stride,
               &s.res_base, s.res_extent, s.res_stride, &s.mask_base, s.mask_extent,
               s.mask_stride, &s.mask_bytes, &s.mask_base2);
  return s;
}
std::vector<int32_t> first(const int32_t* v, int n) { return {v, v + n}; }

class Presum : public ::testing::Test {
 protected:
  f90test::RuntimeScope scope;
};

TEST_F(Presum, StridesCountElements) {
  struct Case {
    ElemType type;
    int32_t step;      // element step of the section
    int32_t expected;  // stride in elements
  } cases[] = {
      {ElemType::integer(1), 1, 1}, {ElemType::integer(2), 1, 1}, {ElemType::real(4), 1, 1},
      {ElemType::real(8), 1, 1},    {ElemType::complex(16), 1, 1}, {ElemType::complex(32), 1, 1},
      {ElemType::real(8), -2, -2},  {ElemType::integer(2), 3, 3},
  };
  for (const auto& c : cases) {
    TestArray a(c.type, {4, 3}, {}, {c.step, 1});
    // The source descriptor against a guard page: nothing past rank 2 is read.
    f90test::GuardedDescriptor g(a.desc());
    const auto s = presum(0, nullptr, g.get(), nullptr, nullptr);
    EXPECT_EQ(s.src_rank, 2);
    EXPECT_EQ(s.src_base, static_cast<char*>(a.desc()->base));
    EXPECT_EQ(first(s.src_extent, 3), (std::vector<int32_t>{4, 3, kUnset}));
    EXPECT_EQ(s.src_stride[0], c.expected) << c.type.bytes() << " bytes, step " << c.step;
    EXPECT_EQ(s.src_stride[1], 3 * std::abs(c.step) + 1);  // the parent's column
    EXPECT_EQ(s.scalar_result, 1);
    EXPECT_EQ(s.dim_present, 0);
    EXPECT_EQ(s.dim_value, kUnset);
    EXPECT_EQ(s.mask_present, 0);
    EXPECT_EQ(s.mask_base, reinterpret_cast<char*>(uintptr_t{0x5a5a5a5a}));
    EXPECT_EQ(s.res_base, reinterpret_cast<char*>(uintptr_t{0x5a5a5a5a}));
  }
}

TEST_F(Presum, MaskViews) {
  TestArray src(ElemType::real(8), {3, 5, 2});
  struct Case {
    int bytes;
    std::vector<int32_t> ext;  // MASK shape ({} for a scalar MASK)
    std::vector<int32_t> step;
    std::vector<int32_t> extent, stride;  // expected over the source's rank
  } cases[] = {
      {1, {3, 5, 2}, {1, 1, 1}, {3, 5, 2}, {1, 3, 15}},
      {2, {3, 5, 2}, {1, 1, 1}, {3, 5, 2}, {1, 3, 15}},   // byte strides halved
      {4, {3, 5, 2}, {-1, 1, 1}, {3, 5, 2}, {-1, 3, 15}},
      {8, {3, 5, 2}, {2, 1, 1}, {3, 5, 2}, {2, 5, 25}},   // word strides halved
      {2, {}, {}, {1, 1, 1}, {0, 0, 0}},                 // scalar: one value for all
      {4, {3, 5}, {1, 1}, {1, 1, 1}, {0, 0, 0}},          // another rank acts as scalar
  };
  for (const auto& c : cases) {
    TestArray m(ElemType::logical(c.bytes), c.ext, {}, c.step);
    const auto s = presum(0, nullptr, src.desc(), nullptr, m.desc());
    EXPECT_EQ(s.mask_present, 1);
    EXPECT_EQ(s.mask_bytes, c.bytes);
    EXPECT_EQ(s.mask_base, static_cast<char*>(m.desc()->base));
    EXPECT_EQ(s.mask_base2, s.mask_base);
    EXPECT_EQ(first(s.mask_extent, 4), (std::vector<int32_t>{c.extent[0], c.extent[1], c.extent[2], kUnset}));
    EXPECT_EQ(first(s.mask_stride, 3), c.stride) << "LOGICAL*" << c.bytes;
  }
}

// A rank-4 source along DIM 3: result (e1, e2, e4), DIM's geometry first.
TEST_F(Presum, ArrayFormCompletesAndRotates) {
  TestArray src(ElemType::complex(16), {2, 3, 4, 5});
  TestArray m(ElemType::logical(2), {2, 3, 4, 5});
  auto r = f90test::unallocated_result(ElemType::complex(16), 3);
  const int32_t dim = 3;
  const auto s = presum(1, r.get(), src.desc(), &dim, m.desc());
  ASSERT_TRUE(Runtime::reports().empty());
  EXPECT_EQ(s.scalar_result, 0);
  EXPECT_EQ(s.dim_value, 1);
  EXPECT_EQ(first(s.src_extent, 4), (std::vector<int32_t>{4, 2, 3, 5}));
  EXPECT_EQ(first(s.src_stride, 4), (std::vector<int32_t>{6, 1, 2, 24}));
  EXPECT_EQ(first(s.mask_extent, 4), (std::vector<int32_t>{4, 2, 3, 5}));
  EXPECT_EQ(first(s.mask_stride, 4), (std::vector<int32_t>{6, 1, 2, 24}));
  EXPECT_EQ(first(s.res_extent, 4), (std::vector<int32_t>{2, 3, 5, kUnset}));
  EXPECT_EQ(first(s.res_stride, 4), (std::vector<int32_t>{1, 2, 6, kUnset}));
  ASSERT_EQ(Runtime::allocations().size(), 1u);
  EXPECT_EQ(Runtime::allocations()[0].bytes, 30u * 16);
  EXPECT_EQ(s.res_base, Runtime::allocations()[0].block);
  EXPECT_EQ(r->base, Runtime::allocations()[0].block);
  EXPECT_EQ(r->alloc_base, r->base);
  EXPECT_EQ(r->alloc_size, 30u * 128);
  EXPECT_EQ(r->flags, f90_flags(3, 1, OBJ_PLAIN));
  const int32_t strides[] = {4, 8, 24};  // words: 4 per element
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(r->dim[i].lower, 1);
    EXPECT_EQ(r->dim[i].extent, s.res_extent[i]);
    EXPECT_EQ(r->dim[i].stride, strides[i]);
  }
}

TEST_F(Presum, ArrayFormShapes) {
  struct Case {
    std::vector<int32_t> ext;
    int32_t dim;
    std::vector<int32_t> src_extent, res_extent;
    uint32_t bytes;  // allocated; 0: no allocation
  } cases[] = {
      {{3, 4}, 1, {3, 4}, {4}, 16},          // DIM 1: nothing rotates
      {{6}, 1, {6}, {}, 4},                  // rank 1: one element
      {{3, 0, 2}, 3, {2, 3, 0}, {3, 0}, 0},  // empty result: no storage
      {{3, -2, 2}, 1, {3, -2, 2}, {-2, 2}, 0},
  };
  for (const auto& c : cases) {
    Runtime::reset();
    TestArray src(ElemType::integer(4), {3, 0, 2});
    src.desc()->flags = f90_flags(static_cast<uint32_t>(c.ext.size()), 1, OBJ_PLAIN);
    for (size_t i = 0; i < c.ext.size(); ++i) src.desc()->dim[i].extent = c.ext[i];
    const int rr = static_cast<int>(c.ext.size()) - 1;
    auto r = f90test::unallocated_result(ElemType::integer(4), rr);
    const auto s = presum(1, r.get(), src.desc(), &c.dim, nullptr);
    const int n = static_cast<int>(c.ext.size());
    EXPECT_EQ(first(s.src_extent, n), c.src_extent);
    EXPECT_EQ(first(s.res_extent, rr), c.res_extent);
    EXPECT_EQ(s.res_stride[0], 1);
    EXPECT_EQ(r->flags & F90_FLAG_ASSOC, 1u);
    EXPECT_EQ(r->alloc_size, c.bytes * 8);
    EXPECT_EQ(Runtime::allocation_calls(), c.bytes ? 1 : 0);
    if (c.bytes == 0) {
      EXPECT_EQ(s.res_base, nullptr);
    }
    EXPECT_TRUE(Runtime::reports().empty());
  }
}

TEST_F(Presum, SuppliedResultIsOnlyRead) {
  TestArray src(ElemType::real(8), {3, 4, 5});
  TestArray res(ElemType::real(8), {6, 2}, {}, {-1, 3});  // shape not compared
  const Desc before = *res.desc();
  const int32_t dim = 2;
  for (const int32_t* d : {&dim, static_cast<const int32_t*>(nullptr)}) {
    const auto s = presum(1, res.desc(), src.desc(), d, nullptr);
    EXPECT_EQ(0, std::memcmp(&before, res.desc(), sizeof before));
    EXPECT_EQ(s.res_base, static_cast<char*>(res.desc()->base));
    EXPECT_EQ(first(s.res_extent, 3), (std::vector<int32_t>{6, 2, kUnset}));
    EXPECT_EQ(first(s.res_stride, 3), (std::vector<int32_t>{-1, 18, kUnset}));
    // Without DIM nothing rotates and dim_value is left alone.
    const std::vector<int32_t> rotated{4, 3, 5}, kept{3, 4, 5};
    EXPECT_EQ(first(s.src_extent, 3), d ? rotated : kept);
    EXPECT_EQ(s.dim_value, d ? 1 : kUnset);
  }
  EXPECT_EQ(Runtime::allocation_calls(), 0);
}

// Every failure: the report, no result base, no rotation, and a result
// descriptor that says "no storage".
TEST_F(Presum, Failures) {
  struct Case {
    const char* what;
    std::vector<int32_t> ext;
    int32_t dim;
    bool has_dim;
    int fail_nth;
    int32_t report;
    bool dims_written;
  } cases[] = {
      {"DIM 0", {3, 4}, 0, true, 0, 1405, false},
      {"DIM -1", {3, 4}, -1, true, 0, 1405, false},
      {"DIM rank+1", {3, 4}, 3, true, 0, 1405, false},
      {"no DIM, no storage", {3, 4}, 0, false, 0, 1405, false},
      {"allocator fails", {3, 4}, 2, true, 1, 1205, true},
      {"above 0x7FFFFFFF bytes", {2, 65536, 32768}, 1, true, 0, 1205, true},
  };
  for (const auto& c : cases) {
    Runtime::reset();
    Runtime::fail_allocation(c.fail_nth);
    TestArray src(ElemType::real(8), {3, 4});
    src.desc()->flags = f90_flags(static_cast<uint32_t>(c.ext.size()), 1, OBJ_PLAIN);
    for (size_t i = 0; i < c.ext.size(); ++i) src.desc()->dim[i] = {1, c.ext[i], 2};
    const int n = static_cast<int>(c.ext.size());
    auto r = f90test::unallocated_result(ElemType::real(8), n - 1);
    const int32_t* d = c.has_dim ? &c.dim : nullptr;
    const auto s = presum(1, r.get(), src.desc(), d, nullptr);
    EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{c.report}) << c.what;
    EXPECT_EQ(s.res_base, reinterpret_cast<char*>(uintptr_t{0x5a5a5a5a})) << c.what;
    EXPECT_EQ(s.src_extent[0], c.ext[0]) << c.what << ": rotated";
    EXPECT_EQ(r->flags & F90_FLAG_ASSOC, 0u) << c.what;
    EXPECT_EQ(r->dim[0].extent, c.dims_written ? c.ext[c.dim == 1 ? 1 : 0] : int32_t(0xDEADBEEF));
    EXPECT_EQ(Runtime::allocation_calls(), c.fail_nth) << c.what;
    // The scalar form goes on with all its fields written.
    Runtime::reset();
    const auto w = presum(0, nullptr, src.desc(), d, nullptr);
    EXPECT_EQ(w.src_rank, n);
    EXPECT_EQ(w.mask_present, 0);
  }
}

// A result element smaller than the source's still gets room for the
// elements its caller will store; an element under 8 bits divides nothing.
TEST_F(Presum, ForeignElementLengths) {
  TestArray src(ElemType::real(8), {3, 4});
  auto r = f90test::unallocated_result(ElemType::integer(1), 1);
  const int32_t dim = 1;
  presum(1, r.get(), src.desc(), &dim, nullptr);
  ASSERT_EQ(Runtime::allocations().size(), 1u);
  EXPECT_EQ(Runtime::allocations()[0].bytes, 4u * 8);
  EXPECT_EQ(r->dim[0].stride, 2);

  src.desc()->type_word = f90_type_word(TYPE_INTEGER, 4, 0, 0);
  const auto s = presum(0, nullptr, src.desc(), nullptr, nullptr);
  EXPECT_EQ(first(s.src_stride, 2), (std::vector<int32_t>{0, 0}));
}

}  // namespace
