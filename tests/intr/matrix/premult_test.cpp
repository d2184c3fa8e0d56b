// _premult: completion for every element kind, rank pairs, transposition
// flags, stride conversion, the reports with exactly what is and is not
// written after each, and the zero fill of an empty inner extent.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "descriptor_builder.h"
#include "f90/matmul.h"
#include "f90/messages.h"
#include "recording_runtime.h"

namespace {

using f90test::Descriptor;
using f90test::ElemType;
using f90test::Runtime;
using f90test::RuntimeScope;
using f90test::TestArray;

constexpr int32_t kUnset = 0x5A5A5A5A;

MatmulContext fresh_context() {
  MatmulContext ctx;
  std::memset(&ctx, 0x5A, sizeof ctx);
  return ctx;
}

struct CompletionCase {
  const char* what;
  ElemType type;
  int32_t stride1, stride2;  // storage units
  uint32_t bytes;            // of the whole 3 x 2 result
};

TEST(Premult, CompletesAResultWithoutStorageForEveryElementKind) {
  const CompletionCase cases[] = {
      {"REAL*8", ElemType::real(8), 2, 6, 48},
      {"INTEGER*2", ElemType::integer(2), 2, 6, 12},
      {"INTEGER*1", ElemType::integer(1), 1, 3, 6},
      {"INTEGER*4", ElemType::integer(4), 1, 3, 24},
      {"REAL*4", ElemType::real(4), 1, 3, 24},
      {"REAL*16", ElemType::real(16), 4, 12, 96},
      {"COMPLEX*8", ElemType::complex(8), 2, 6, 48},
      {"COMPLEX*16", ElemType::complex(16), 4, 12, 96},
      {"COMPLEX*32", ElemType::complex(32), 8, 24, 192},
      {"LOGICAL*8", ElemType::logical(8), 2, 6, 48},
      {"LOGICAL*2", ElemType::logical(2), 2, 6, 12},
  };
  for (const CompletionCase& c : cases) {
    RuntimeScope rt;
    TestArray a(c.type, {3, 4}), b(c.type, {4, 2});
    Descriptor r = f90test::unallocated_result(c.type, 2);
    MatmulContext ctx = fresh_context();
    ASSERT_EQ(_premult(r.get(), a.desc(), b.desc(), &ctx, 0), 0) << c.what;
    EXPECT_TRUE(Runtime::reports().empty()) << c.what;
    ASSERT_EQ(Runtime::allocations().size(), 1u) << c.what;
    EXPECT_EQ(Runtime::allocations()[0].bytes, c.bytes) << c.what;
    const ArrayDescriptor* d = r.get();
    EXPECT_EQ(d->dim[0].lower, 1);
    EXPECT_EQ(d->dim[1].lower, 1);
    EXPECT_EQ(d->dim[0].extent, 3);
    EXPECT_EQ(d->dim[1].extent, 2);
    EXPECT_EQ(d->dim[0].stride, c.stride1) << c.what;
    EXPECT_EQ(d->dim[1].stride, c.stride2) << c.what;
    EXPECT_EQ(d->flags & F90_FLAG_ASSOC, 1u);
    EXPECT_EQ(d->base, Runtime::allocations()[0].block);
    EXPECT_EQ(d->alloc_base, d->base);
    EXPECT_EQ(d->alloc_size, c.bytes * 8) << c.what;
    EXPECT_EQ(d->type_word, c.type.type_word);  // not written
    EXPECT_EQ(ctx.m, 3);
    EXPECT_EQ(ctx.n, 2);
    EXPECT_EQ(ctx.k, 4);
    EXPECT_EQ(ctx.c_base, d->base);
    EXPECT_EQ(ctx.c_rank, 2);
    EXPECT_EQ(ctx.c_stride1, 1) << c.what;
    EXPECT_EQ(ctx.c_stride2, 3) << c.what;
    EXPECT_EQ(ctx.a_stride2, 3) << c.what;
    EXPECT_EQ(ctx.b_stride2, 4) << c.what;
  }
}

struct ShapeCase {
  const char* what;
  std::vector<int32_t> a, b;  // operand extents (their ranks)
  int flags, result_rank;
  int32_t status;  // 0 or the report
  int32_t m = 0, n = 0, k = 0, c_ext1 = 0, c_ext2 = 0;
};

TEST(Premult, RankPairsTranspositionFlagsAndConformance) {
  const ShapeCase cases[] = {
      {"vector times matrix", {4}, {4, 5}, 0, 1, 0, 1, 5, 4, 5, 1},
      {"matrix times vector", {3, 4}, {4}, 0, 1, 0, 3, 1, 4, 3, 1},
      {"two vectors", {4}, {4}, 0, 1, ERR_MATMUL_RANK},
      {"rank 3 operand", {2, 2, 2}, {2, 2}, 0, 2, ERR_MATMUL_RANK},
      {"rank 0 operand", {}, {2, 2}, 0, 2, ERR_MATMUL_RANK},
      {"rank 0 operand with a flag", {}, {2, 2}, MATMUL_TRANSPOSE_A, 2, ERR_MATMUL_RANK},
      {"rank 3 with a flag counts as 2", {2, 3, 9}, {2, 4}, MATMUL_TRANSPOSE_A, 2, 0, 3, 4, 2, 3, 4},
      {"transposed A", {4, 3}, {4, 2}, MATMUL_TRANSPOSE_A, 2, 0, 3, 2, 4, 3, 2},
      {"transposed B", {3, 4}, {2, 4}, MATMUL_TRANSPOSE_B, 2, 0, 3, 2, 4, 3, 2},
      {"other flag bits ignored", {3, 4}, {4, 2}, ~3, 2, 0, 3, 2, 4, 3, 2},
      {"transposed rank-1 A is a row", {3}, {3, 2}, MATMUL_TRANSPOSE_A, 2, 0, 1, 2, 3, 1, 2},
      {"... and needs a rank-2 result", {3}, {3, 2}, MATMUL_TRANSPOSE_A, 1, ERR_MATMUL_SHAPE},
      {"outer product", {2, 1}, {3}, MATMUL_TRANSPOSE_B, 2, 0, 2, 3, 1, 2, 3},
      {"inner extents differ", {3, 4}, {5, 2}, 0, 2, ERR_MATMUL_SHAPE},
      {"vector inner extent differs", {4}, {3, 5}, 0, 1, ERR_MATMUL_SHAPE},
      {"rank-0 result", {3, 4}, {4, 2}, 0, 0, ERR_MATMUL_SHAPE},
      {"rank-1 result of an n = 1 matrix product", {3, 4}, {4, 1}, 0, 1, 0, 3, 1, 4, 3, 1},
  };
  for (const ShapeCase& c : cases) {
    RuntimeScope rt;
    const ElemType t = ElemType::real(8);
    TestArray a(t, c.a), b(t, c.b);
    Descriptor r = f90test::unallocated_result(t, c.result_rank);
    MatmulContext ctx = fresh_context();
    const int32_t status = _premult(r.get(), a.desc(), b.desc(), &ctx, c.flags);
    EXPECT_EQ(status, c.status) << c.what;
    if (c.status != 0) {
      EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{c.status}) << c.what;
      EXPECT_EQ(ctx.m, kUnset) << c.what;
      if (c.status == ERR_MATMUL_RANK || c.result_rank == 0) {
        EXPECT_EQ(r.word(2) & F90_FLAG_ASSOC, 0u) << c.what;  // result untouched
        EXPECT_TRUE(Runtime::allocations().empty()) << c.what;
      }
      continue;
    }
    EXPECT_TRUE(Runtime::reports().empty()) << c.what;
    EXPECT_EQ(ctx.m, c.m) << c.what;
    EXPECT_EQ(ctx.n, c.n) << c.what;
    EXPECT_EQ(ctx.k, c.k) << c.what;
    EXPECT_EQ(ctx.c_ext1, c.c_ext1) << c.what;
    EXPECT_EQ(ctx.c_ext2, c.c_ext2) << c.what;
    EXPECT_EQ(r->dim[0].extent, c.c_ext1) << c.what;
    if (c.result_rank == 2) {
      EXPECT_EQ(r->dim[1].extent, c.c_ext2) << c.what;
    } else {
      EXPECT_EQ(r.word(9), 0xDEADBEEFu) << c.what << ": no dimension 2 written";
    }
  }
}

TEST(Premult, TransposedOperandHasItsExtentsAndStridesExchanged) {
  RuntimeScope rt;
  const ElemType t = ElemType::real(8);
  TestArray a(t, {4, 3}, {}, {2, 1}), b(t, {4, 2});  // A's rows every other element
  Descriptor r = f90test::unallocated_result(t, 2);
  MatmulContext ctx = fresh_context();
  ASSERT_EQ(_premult(r.get(), a.desc(), b.desc(), &ctx, MATMUL_TRANSPOSE_A), 0);
  EXPECT_EQ(ctx.a_rank, 2);
  EXPECT_EQ(ctx.a_ext1, 3);
  EXPECT_EQ(ctx.a_ext2, 4);
  EXPECT_EQ(ctx.a_stride1, 7);  // the parent's column: 7 elements
  EXPECT_EQ(ctx.a_stride2, 2);
  EXPECT_EQ(ctx.a_base, a.desc()->base);
}

TEST(Premult, ElementStridesByArithmeticShift) {
  // Raw descriptor strides in storage units; the shift rounds toward minus
  // infinity where a division would round toward zero.
  struct Case {
    ElemType t;
    int32_t stride, want;
  } cases[] = {
      {ElemType::integer(2), 2, 1},    {ElemType::integer(2), -2, -1},
      {ElemType::integer(2), 3, 1},    {ElemType::integer(2), -3, -2},
      {ElemType::real(8), 4, 2},       {ElemType::real(8), -3, -2},
      {ElemType::complex(32), 16, 2},  {ElemType::complex(32), -9, -2},
      {ElemType::real(16), -4, -1},    {ElemType::complex(16), 6, 1},
      {ElemType::integer(1), -5, -5},  {ElemType::real(4), -3, -3},
      {ElemType::logical(8), 6, 3},    {ElemType::complex(8), -2, -1},
  };
  for (const Case& c : cases) {
    RuntimeScope rt;
    // The set-up reads only the descriptors; the operands still have storage.
    static char storage[32];
    Descriptor a(c.t, 2, true), b(c.t, 1, true), r(c.t, 1, true);
    a->base = storage;
    b->base = storage;
    a->dim[0] = {1, 3, c.stride};
    a->dim[1] = {1, 4, 1000};
    b->dim[0] = {1, 4, c.stride};
    r->dim[0] = {1, 3, c.stride};
    MatmulContext ctx = fresh_context();
    ASSERT_EQ(_premult(r.get(), a.get(), b.get(), &ctx, 0), 0);
    EXPECT_EQ(ctx.a_stride1, c.want) << c.t.bytes() << " bytes, stride " << c.stride;
    EXPECT_EQ(ctx.b_stride1, c.want);
    EXPECT_EQ(ctx.b_stride2, c.want);  // a rank-1 operand's second stride is its first
    EXPECT_EQ(ctx.c_stride1, c.want);
    EXPECT_EQ(ctx.c_stride2, c.want);
  }
}

TEST(Premult, EmptyInnerExtentZeroesEveryResultElementThroughItsStrides) {
  RuntimeScope rt;
  const ElemType t = ElemType::complex(16);
  TestArray a(t, {3, 0}), b(t, {0, 3});
  TestArray c(t, {3, 3}, {}, {-2, 2}, 0xEE);  // a section of a caller's result
  MatmulContext ctx = fresh_context();
  ASSERT_EQ(_premult(c.desc(), a.desc(), b.desc(), &ctx, 0), 0);
  EXPECT_EQ(ctx.k, 0);
  for (int64_t k = 0; k < 9; ++k)
    for (int byte = 0; byte < 16; ++byte) EXPECT_EQ(c.at_linear(k)[byte], 0) << k;
  EXPECT_TRUE(c.outside_untouched());

  // A completed result: its freshly allocated block is cleared too.
  Descriptor r = f90test::unallocated_result(t, 2);
  ASSERT_EQ(_premult(r.get(), a.desc(), b.desc(), &ctx, 0), 0);
  const auto* block = static_cast<const unsigned char*>(r->base);
  EXPECT_EQ(std::vector<unsigned char>(block, block + 144), std::vector<unsigned char>(144, 0));
}

TEST(Premult, EmptyResultAllocatesNothing) {
  RuntimeScope rt;
  const ElemType t = ElemType::real(8);
  TestArray a(t, {0, 4}), b(t, {4, 5});
  Descriptor r = f90test::unallocated_result(t, 2);
  MatmulContext ctx = fresh_context();
  ASSERT_EQ(_premult(r.get(), a.desc(), b.desc(), &ctx, 0), 0);
  EXPECT_TRUE(Runtime::allocations().empty());
  EXPECT_EQ(r->base, nullptr);
  EXPECT_EQ(r->alloc_base, nullptr);
  EXPECT_EQ(r->alloc_size, 0u);
  EXPECT_EQ(r->flags & F90_FLAG_ASSOC, 1u);
  EXPECT_EQ(ctx.m, 0);
  EXPECT_EQ(ctx.n, 5);
}

TEST(Premult, SuppliedResultOfTheWrongShapeIsReportedAndNotWritten) {
  RuntimeScope rt;
  const ElemType t = ElemType::integer(4);
  TestArray a(t, {3, 0}), b(t, {0, 2}), c(t, {3, 3}, {}, {}, 0x77);
  MatmulContext ctx = fresh_context();
  EXPECT_EQ(_premult(c.desc(), a.desc(), b.desc(), &ctx, 0), ERR_MATMUL_SHAPE);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{ERR_MATMUL_SHAPE});
  EXPECT_EQ(c.storage(), std::vector<unsigned char>(c.storage().size(), 0x77));
  EXPECT_EQ(ctx.c_ext2, 3);  // every field but m, n, k is filled
  EXPECT_EQ(ctx.k, kUnset);
}

TEST(Premult, FailedAllocationLeavesTheDimensionsWrittenAndAssocClear) {
  RuntimeScope rt;
  Runtime::fail_allocation(1);
  const ElemType t = ElemType::real(4);
  TestArray a(t, {3, 4}), b(t, {4, 2});
  Descriptor r = f90test::unallocated_result(t, 2);
  MatmulContext ctx = fresh_context();
  EXPECT_EQ(_premult(r.get(), a.desc(), b.desc(), &ctx, 0), ERR_ALLOC_FAILED);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{ERR_ALLOC_FAILED});
  EXPECT_EQ(r->flags & F90_FLAG_ASSOC, 0u);
  EXPECT_EQ(r->dim[1].extent, 2);
  EXPECT_EQ(r->dim[1].stride, 3);
  EXPECT_EQ(ctx.c_rank, kUnset);
  EXPECT_EQ(ctx.m, kUnset);
  EXPECT_EQ(ctx.a_ext2, 4);
}

TEST(Premult, ResultAbove2GiBIsRefusedBeforeAnyDimensionIsWritten) {
  RuntimeScope rt;
  const ElemType t = ElemType::real(8);
  // 20000 x 20000 REAL*8 is 3.2e9 bytes. Both operands are one element
  // repeated (strides 0); no element is read.
  static double one = 1.0;
  Descriptor a(t, 2, true), b(t, 2, true);
  a->base = &one;
  b->base = &one;
  a->dim[0] = {1, 20000, 0};
  a->dim[1] = {1, 3, 0};
  b->dim[0] = {1, 3, 0};
  b->dim[1] = {1, 20000, 0};
  Descriptor r = f90test::unallocated_result(t, 2);
  MatmulContext ctx = fresh_context();
  EXPECT_EQ(_premult(r.get(), a.get(), b.get(), &ctx, 0), ERR_ALLOC_FAILED);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{ERR_ALLOC_FAILED});
  EXPECT_EQ(Runtime::allocation_calls(), 0);
  EXPECT_EQ(r->flags & F90_FLAG_ASSOC, 0u);
  for (int w = 6; w < 12; ++w) EXPECT_EQ(r.word(w), 0xDEADBEEFu) << "dimension word " << w;
  EXPECT_EQ(ctx.c_rank, kUnset);
}

}  // namespace
