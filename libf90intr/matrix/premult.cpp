// _premult: the set-up behind every MATMUL entry point.
//
// Reads A and B (base, rank, extents and strides of their first two
// dimensions), applies the transposition flags (a transposed operand counts
// as rank 2; a transposed rank-1 operand is a 1 x n row), checks the rank
// pair, completes a result that arrived without storage, reads the result,
// checks that the shapes conform and, when the inner extent is 0, clears
// every element of the result. Strides become element strides by an
// arithmetic shift, exact for negative strides. A rank-1 operand or result
// is a matrix with a second extent of 1 and a second stride equal to its
// first.
//
// Reports (level 4), after which it returns at once with the context
// incomplete and the number as its status: 1406 for a rank pair other than
// (1,2), (2,1), (2,2); 1205 when the result cannot be allocated; 1407 when
// the shapes do not conform.
//
// Sound handling where the plain steps would go wrong:
//  - sizes are 64-bit; a result above 0x7FFFFFFF bytes is reported as 1205
//    before any dimension is written or anything allocated (alloc_size
//    keeps its 32-bit bit count);
//  - completion writes a dimension only when the result descriptor has it:
//    dimension 2 when its rank is at least 2, dimension 1 when at least 1;
//    the shape check then reports a rank-1 result of a matrix product
//    whose second extent is not 1;
//  - no dimension triple beyond a descriptor's rank is read: a rank-0
//    operand has no extents, so it is reported as 1406 even when a flag
//    would make it count as rank 2, and a rank-0 result is reported as 1407
//    before any completion.
#include "matrix/premult.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "array/descriptor.h"
#include "array/result.h"

namespace f90::matrix {
namespace {

// One operand as used: extents and element strides of its two dimensions.
struct Operand {
  void* base;
  int32_t rank, ext1, ext2, s1, s2;
};

// False for a rank-0 descriptor (nothing to read).
bool read_operand(Desc d, bool transposed, Operand& o) {
  o.base = d.base();
  o.rank = d.rank();
  if (o.rank == 0) return false;
  o.ext1 = d.extent(0);
  o.s1 = d.shifted_elem_stride(0);
  if (o.rank == 1) {
    o.ext2 = 1;
    o.s2 = o.s1;
  } else {
    o.ext2 = d.extent(1);
    o.s2 = d.shifted_elem_stride(1);
  }
  if (transposed) {
    std::swap(o.ext1, o.ext2);
    std::swap(o.s1, o.s2);
    o.rank = 2;
  }
  return true;
}

int32_t fail(int32_t number) {
  report(number);
  return number;
}

// Storage units and bytes of one result element, from its int_len.
struct ResultUnits {
  uint32_t units, unit_bytes;
};
ResultUnits result_units(Desc r) {
  const uint32_t bits = r.int_len();
  const uint32_t units = bits >= 32 ? bits / 32 : bits / 8;
  return {units == 0 ? 1 : units, bits >= 32 ? 4u : 1u};
}

// Completes a result without storage for the product of A and B by the
// library's one completion policy: false (after 1205) when it cannot be
// allocated. A dimension is written only when the descriptor has it; the
// storage is that of the dimensions written (a rank-1 result of a matrix
// product is reported by the shape check unless B has one column, and then
// the sizes agree).
bool complete(Desc r, const Operand& a, const Operand& b) {
  const bool matrix = a.rank == 2 && b.rank == 2;
  const int64_t extents[2] = {a.rank == 1 ? b.ext2 : a.ext1, b.ext2};
  const ResultUnits u = result_units(r);
  const ResultElement elem{u.units, u.units * u.unit_bytes, r.elem_len(), false};
  return complete_result(r, std::min(r.rank(), matrix ? 2 : 1), extents, elem);
}

// Every byte of every element of the result cleared, through its strides.
void clear_result(const MatmulContext& ctx, uint32_t elem_bytes) {
  for (int32_t j = 0; j < ctx.c_ext2; ++j)
    for (int32_t i = 0; i < ctx.c_ext1; ++i) {
      const uint32_t e = static_cast<uint32_t>(i) * static_cast<uint32_t>(ctx.c_stride1) +
                         static_cast<uint32_t>(j) * static_cast<uint32_t>(ctx.c_stride2);
      std::memset(reinterpret_cast<void*>(reinterpret_cast<uintptr_t>(ctx.c_base) +
                                          uintptr_t{e * elem_bytes}),
                  0, elem_bytes);
    }
}

}  // namespace

int32_t premult(ArrayDescriptor* result, const ArrayDescriptor* a_desc,
                const ArrayDescriptor* b_desc, MatmulContext* ctx, int32_t flags) {
  Operand a{}, b{};
  const bool a_read = read_operand(Desc(const_cast<ArrayDescriptor*>(a_desc)),
                                   (flags & MATMUL_TRANSPOSE_A) != 0, a);
  const bool b_read = read_operand(Desc(const_cast<ArrayDescriptor*>(b_desc)),
                                   (flags & MATMUL_TRANSPOSE_B) != 0, b);
  ctx->a_base = a.base;
  ctx->a_rank = a.rank;
  ctx->b_base = b.base;
  ctx->b_rank = b.rank;
  if (a_read) {
    ctx->a_ext1 = a.ext1;
    ctx->a_ext2 = a.ext2;
    ctx->a_stride1 = a.s1;
    ctx->a_stride2 = a.s2;
  }
  if (b_read) {
    ctx->b_ext1 = b.ext1;
    ctx->b_ext2 = b.ext2;
    ctx->b_stride1 = b.s1;
    ctx->b_stride2 = b.s2;
  }
  const bool ranks_ok = a_read && b_read && a.rank <= 2 && b.rank <= 2 && a.rank + b.rank >= 3;
  if (!ranks_ok) return fail(ERR_MATMUL_RANK);

  const Desc r(result);
  if (r.rank() == 0) return fail(ERR_MATMUL_SHAPE);
  if (!r.assoc() && !complete(r, a, b)) return ERR_ALLOC_FAILED;

  ctx->c_base = r.base();
  ctx->c_rank = r.rank();
  ctx->c_ext1 = r.extent(0);
  ctx->c_stride1 = r.shifted_elem_stride(0);
  if (ctx->c_rank == 1) {
    ctx->c_ext2 = 1;
    ctx->c_stride2 = ctx->c_stride1;
  } else {
    ctx->c_ext2 = r.extent(1);
    ctx->c_stride2 = r.shifted_elem_stride(1);
  }

  if (a.rank == 2 && b.rank == 2) {
    if (b.ext1 != a.ext2 || ctx->c_ext1 != a.ext1 || ctx->c_ext2 != b.ext2)
      return fail(ERR_MATMUL_SHAPE);
    ctx->m = a.ext1;
    ctx->n = b.ext2;
    ctx->k = a.ext2;
  } else if (a.rank == 2) {
    if (b.ext1 != a.ext2 || ctx->c_ext1 != a.ext1) return fail(ERR_MATMUL_SHAPE);
    ctx->m = a.ext1;
    ctx->n = 1;
    ctx->k = a.ext2;
  } else {
    if (a.ext1 != b.ext1 || ctx->c_ext1 != b.ext2) return fail(ERR_MATMUL_SHAPE);
    ctx->m = 1;
    ctx->n = b.ext2;
    ctx->k = b.ext1;
  }

  if (b.ext1 == 0 && ctx->c_base != nullptr) {
    const ResultUnits u = result_units(r);
    clear_result(*ctx, u.units * u.unit_bytes);
  }
  return 0;
}

}  // namespace f90::matrix
