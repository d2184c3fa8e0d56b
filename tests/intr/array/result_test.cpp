// Completion of unassociated results and the scalar-result descriptor.
#include "array/result.h"

#include <gtest/gtest.h>

#include "descriptor_builder.h"
#include "recording_runtime.h"

namespace {

using f90test::ElemType;
using f90test::Runtime;

class ResultTest : public ::testing::Test {
 protected:
  f90test::RuntimeScope scope;
};

TEST_F(ResultTest, Integer8ThreeByFour) {
  auto r = f90test::unallocated_result(ElemType::integer(8), 2);
  const int64_t ext[] = {3, 4};
  ASSERT_TRUE(f90::complete_result_descriptor(f90::Desc(r.get()), 2, ext));
  ASSERT_EQ(Runtime::allocations().size(), 1u);
  const auto& a = Runtime::allocations()[0];
  EXPECT_EQ(a.bytes, 96u);
  EXPECT_EQ(r->base, a.block);
  EXPECT_EQ(r->alloc_base, a.block);
  EXPECT_EQ(r->alloc_size, 768u);
  EXPECT_EQ(r->flags & F90_FLAG_ASSOC, 1u);
  EXPECT_EQ(r->flags >> 29, 2u);
  EXPECT_EQ(r->elem_len, 64u);  // caller's words kept
  const int32_t want[] = {1, 3, 2, 1, 4, 6};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(static_cast<int32_t>(r.word(6 + i)), want[i]) << i;
  EXPECT_EQ(r.word(12), 0xDEADBEEFu);  // nothing past the rank
  EXPECT_TRUE(Runtime::reports().empty());
}

TEST_F(ResultTest, SizeZeroAllocatesNothing) {
  auto r = f90test::unallocated_result(ElemType::real(4), 3);
  const int64_t ext[] = {4, 0, 2};
  ASSERT_TRUE(f90::complete_result_descriptor(f90::Desc(r.get()), 3, ext));
  EXPECT_EQ(Runtime::allocation_calls(), 0);
  EXPECT_EQ(r->base, nullptr);
  EXPECT_EQ(r->alloc_base, nullptr);
  EXPECT_EQ(r->alloc_size, 0u);
  EXPECT_EQ(r->flags & F90_FLAG_ASSOC, 1u);
  EXPECT_EQ(r->dim[0].lower, 1);
  EXPECT_EQ(r->dim[0].extent, 4);
  EXPECT_EQ(r->dim[0].stride, 1);
  EXPECT_EQ(r->dim[1].extent, 0);
  EXPECT_EQ(r->dim[1].stride, 4);
  EXPECT_EQ(r->dim[2].lower, 1);
  EXPECT_EQ(r->dim[2].stride, 0);
}

TEST_F(ResultTest, CharacterResultHoldsStorageAndLength) {
  auto r = f90test::unallocated_result(ElemType::character(5), 1);
  const int64_t ext[] = {3};
  ASSERT_TRUE(f90::complete_result_descriptor(f90::Desc(r.get()), 1, ext));
  ASSERT_EQ(Runtime::allocations().size(), 1u);
  EXPECT_EQ(Runtime::allocations()[0].bytes, 15u);
  EXPECT_EQ(r->base, Runtime::allocations()[0].block);
  EXPECT_EQ(r->elem_len, 5u);
  EXPECT_EQ(r->dim[0].stride, 5);  // bytes
  EXPECT_EQ(r->alloc_size, 120u);
}

TEST_F(ResultTest, RankZeroResultIsOneElement) {
  auto r = f90test::unallocated_result(ElemType::complex(16), 0);
  ASSERT_TRUE(f90::complete_result_descriptor(f90::Desc(r.get()), 0, nullptr));
  ASSERT_EQ(Runtime::allocations().size(), 1u);
  EXPECT_EQ(Runtime::allocations()[0].bytes, 16u);
}

TEST_F(ResultTest, AllocatorNullIsReportedOnceAndNothingStored) {
  Runtime::fail_allocation(1);
  auto r = f90test::unallocated_result(ElemType::integer(4), 1);
  const int64_t ext[] = {10};
  EXPECT_FALSE(f90::complete_result_descriptor(f90::Desc(r.get()), 1, ext));
  EXPECT_EQ(Runtime::reports(), (std::vector<f90test::Report>{{4, 1205}}));
  EXPECT_EQ(r->base, nullptr);
  EXPECT_EQ(r->flags & F90_FLAG_ASSOC, 0u);
}

TEST_F(ResultTest, MoreThanTwoGigabytesIsRefusedBeforeAllocating) {
  struct Case {
    ElemType type;
    std::vector<int64_t> ext;
  } cases[] = {
      {ElemType::integer(8), {65536, 65536}},        // 2^35 bytes
      {ElemType::integer(1), {0x80000000LL}},        // one byte past the limit
      {ElemType::real(8), {1 << 20, 1 << 20, 1 << 20}},  // wraps to 0 in 32 bits
  };
  for (auto& c : cases) {
    Runtime::reset();
    auto r = f90test::unallocated_result(c.type, static_cast<int>(c.ext.size()));
    EXPECT_FALSE(f90::complete_result_descriptor(f90::Desc(r.get()),
                                                 static_cast<int>(c.ext.size()), c.ext.data()));
    EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1205});
    EXPECT_EQ(Runtime::allocation_calls(), 0);
    EXPECT_EQ(r->flags & F90_FLAG_ASSOC, 0u);
  }
}

TEST_F(ResultTest, JustUnderTheLimitIsAllocated) {
  auto r = f90test::unallocated_result(ElemType::integer(1), 1);
  const int64_t ext[] = {0x7fffffff};
  Runtime::fail_allocation(1);  // do not really ask for 2 GiB
  EXPECT_FALSE(f90::complete_result_descriptor(f90::Desc(r.get()), 1, ext));
  EXPECT_EQ(Runtime::allocation_calls(), 1);  // it was asked for
}

TEST(CharDescriptor, BuiltInTheCallersSlot) {
  CharDescriptor slot{nullptr, 99};
  char text[] = "abc";
  EXPECT_EQ(f90::cptofcd(&slot, text, 3), &slot);
  EXPECT_EQ(slot.addr, text);
  EXPECT_EQ(slot.len, 3u);
}

TEST(ScalarResult, RankZeroAroundSlot) {
  int64_t slot = 0;
  ArrayDescriptor d;
  std::memset(&d, 0xFF, sizeof d);
  f90::scalar_result_descriptor(d, &slot, 64, f90_type_word(TYPE_INTEGER, 64, 0, 0));
  f90::Desc v(&d);
  EXPECT_EQ(d.base, &slot);
  EXPECT_TRUE(v.assoc());
  EXPECT_EQ(v.rank(), 0);
  EXPECT_EQ(v.obj_kind(), 0u);
  EXPECT_EQ(d.flags & F90_FLAG_SPARE, 0u);
  EXPECT_EQ(v.elem_units(), 2u);
}

}  // namespace

namespace {

// The completion rules against their table: what is written, for each way a
// completion can end. 'dims' is whether the extents reached the descriptor.
TEST_F(ResultTest, RulesDecideWhatAFailedCompletionWrites) {
  using f90::ResultAssoc;
  using f90::ResultRules;
  enum class Outcome { fits, too_large, allocator_null };
  ResultRules plain;
  ResultRules layout_first;
  layout_first.layout_first = true;
  const ResultRules construction = ResultRules::construction();
  const ResultRules not_requested = ResultRules::construction(ResultAssoc::storage_requested, false);
  struct Row {
    const char* name;
    ResultRules rules;
    Outcome outcome;
    bool ok, assoc, dims, elem_len;
    uint32_t alloc_bits;
    int calls;
    size_t reports;
  };
  const Row rows[] = {
      {"plain", plain, Outcome::fits, true, true, true, false, 40 * 8, 1, 0},
      {"plain", plain, Outcome::too_large, false, false, false, false, 0, 0, 1},
      {"plain", plain, Outcome::allocator_null, false, false, true, false, 0, 1, 1},
      {"layout first", layout_first, Outcome::too_large, false, false, true, false, 0, 0, 1},
      {"layout first", layout_first, Outcome::allocator_null, false, false, true, false, 0, 1, 1},
      {"construction", construction, Outcome::fits, true, true, true, true, 40 * 8, 1, 0},
      {"construction", construction, Outcome::too_large, false, true, true, true, 0, 0, 1},
      {"construction", construction, Outcome::allocator_null, false, true, true, true, 40 * 8, 1, 1},
      {"not requested", not_requested, Outcome::fits, true, false, true, true, 40 * 8, 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Runtime::reset();
    if (row.outcome == Outcome::allocator_null) Runtime::fail_allocation(1);
    auto r = f90test::unallocated_result(ElemType::integer(4), 2);
    const int64_t fits[] = {5, 2}, huge[] = {1 << 16, 1 << 15};
    const int64_t* ext = row.outcome == Outcome::too_large ? huge : fits;
    const f90::ResultElement elem{1, 4, 77, false};
    EXPECT_EQ(f90::complete_result(f90::Desc(r.get()), 2, ext, elem, row.rules), row.ok);
    EXPECT_EQ((r->flags & F90_FLAG_ASSOC) != 0, row.assoc);
    EXPECT_EQ(r->dim[0].extent == static_cast<int32_t>(ext[0]), row.dims);
    EXPECT_EQ(r->elem_len == 77u, row.elem_len);
    EXPECT_EQ(r->alloc_size, row.alloc_bits);
    EXPECT_EQ(Runtime::allocation_calls(), row.calls);
    EXPECT_EQ(Runtime::reports().size(), row.reports);
    if (row.reports != 0) {
      EXPECT_EQ(Runtime::numbers()[0], 1205);
    }
    // Storage, when there is any, is where base and alloc_base say.
    EXPECT_EQ(r->base, r->alloc_base);
    EXPECT_EQ(r->base != nullptr, row.ok && row.calls == 1);
  }
}

}  // namespace
