// Runs the plan of a MATMUL entry point (matrix/matmul.h): _premult, the
// kernel choice, then one to four kernel calls on fields of the context.
#include "matrix/matmul.h"

#include "array/descriptor.h"
#include "value/types.h"

namespace f90::matrix {
namespace {

// 0, 1 or 2 for a 4-, 2- or 1-byte default-length integer or logical.
int size_index(const ArrayDescriptor* d) {
  const uint32_t bits = Desc(const_cast<ArrayDescriptor*>(d)).int_len();
  return bits == 32 ? 0 : bits == 16 ? 1 : 2;
}

// Doubles an element stride in place: complex elements counted in parts.
void twice(int32_t& s) { s = static_cast<int32_t>(static_cast<uint32_t>(s) * 2u); }

// The part of complex data at `offset` bytes; an empty array may have no
// storage, and no offset is added to its null base.
char* part(void* base, uint32_t offset) {
  return base != nullptr ? static_cast<char*>(base) + offset : nullptr;
}

// The kernel's view of the product, C = X.Y: the driver's (A, B), or (B, A)
// with M and N and every stride pair exchanged.
struct Roles {
  const int32_t *m, *n, *k;
  void* x;
  const int32_t *xs1, *xs2;
  uint32_t x_part;
  void* y;
  const int32_t *ys1, *ys2;
  uint32_t y_part;
  void* c;
  const int32_t *cs1, *cs2;
  uint32_t c_part;

  Roles(const MatmulContext& t, bool transposed, uint32_t a_part, uint32_t b_part,
        uint32_t c_part_)
      : k(&t.k), c(t.c_base), c_part(c_part_) {
    if (!transposed) {
      m = &t.m, n = &t.n;
      x = t.a_base, xs1 = &t.a_stride1, xs2 = &t.a_stride2, x_part = a_part;
      y = t.b_base, ys1 = &t.b_stride1, ys2 = &t.b_stride2, y_part = b_part;
      cs1 = &t.c_stride1, cs2 = &t.c_stride2;
    } else {
      m = &t.n, n = &t.m;
      x = t.b_base, xs1 = &t.b_stride2, xs2 = &t.b_stride1, x_part = b_part;
      y = t.a_base, ys1 = &t.a_stride2, ys2 = &t.a_stride1, y_part = a_part;
      cs1 = &t.c_stride2, cs2 = &t.c_stride1;
    }
  }
  // C (at offset co) = X (at xo) . Y (at yo).
  void gemm(F90GemmKernel* f, uint32_t xo, uint32_t yo, uint32_t co) const {
    f(m, n, k, part(x, xo), xs1, xs2, part(y, yo), ys1, ys2, part(c, co), cs1, cs2);
  }
  // C = alpha.X.Y + beta.C.
  void gemm2(F90Gemm2Kernel* f, const void* alpha, uint32_t xo, uint32_t yo, const void* beta,
             uint32_t co) const {
    f(m, n, k, alpha, part(x, xo), xs1, xs2, part(y, yo), ys1, ys2, beta, part(c, co), cs1, cs2);
  }
};

void same_kind(const Plan& p, MatmulContext& t) {
  if (t.b_rank == 1) {
    p.gemv(&t.a_ext1, &t.a_ext2, t.a_base, &t.a_stride1, &t.a_stride2, t.b_base, &t.b_stride1,
           t.c_base, &t.c_stride1);
  } else if (t.a_rank == 1) {
    p.gemv(&t.b_ext2, &t.b_ext1, t.b_base, &t.b_stride2, &t.b_stride1, t.a_base, &t.a_stride1,
           t.c_base, &t.c_stride1);
  } else {
    p.gemm[0][0](&t.a_ext1, &t.b_ext2, &t.a_ext2, t.a_base, &t.a_stride1, &t.a_stride2, t.b_base,
                 &t.b_stride1, &t.b_stride2, t.c_base, &t.c_stride1, &t.c_stride2);
  }
}

// The four calls: Re(C) = Re(X).Re(Y) - Im(X).Im(Y), then
// Im(C) = Re(X).Im(Y) + Im(X).Re(Y), with -1 and 1 of C's part kind.
template <class Part>
void four_calls(F90GemmKernel* gemm, F90Gemm2Kernel* gemm2, const Roles& r, Part minus_one,
                Part one) {
  r.gemm(gemm, 0, 0, 0);
  r.gemm2(gemm2, &minus_one, r.x_part, r.y_part, &one, 0);
  r.gemm(gemm, 0, r.y_part, r.c_part);
  r.gemm2(gemm2, &one, r.x_part, 0, &one, r.c_part);
}

}  // namespace

void run_matmul(const Plan& p, ArrayDescriptor* result, const ArrayDescriptor* a,
                const ArrayDescriptor* b, const int32_t* flags) {
  MatmulContext t;
  if (_premult(result, a, b, &t, flags != nullptr ? *flags : 0) != 0) return;
  if (p.strategy == Strategy::same_kind) return same_kind(p, t);

  // The kernel, and whether it takes B first.
  int ia = 0, ib = 0;
  if (p.sized == SizedBy::a || p.sized == SizedBy::both) ia = size_index(a);
  if (p.sized == SizedBy::b || p.sized == SizedBy::both) ib = size_index(b);
  F90GemmKernel* const kernel = p.gemm[ia][ib];
  const bool transposed = p.sized == SizedBy::both ? ia > ib : p.transposed;

  if (p.strategy != Strategy::one) {
    if (p.a_part != 0) twice(t.a_stride1), twice(t.a_stride2);
    if (p.b_part != 0) twice(t.b_stride1), twice(t.b_stride2);
    twice(t.c_stride1), twice(t.c_stride2);
  }
  const Roles r(t, transposed, p.a_part, p.b_part, p.c_part);
  switch (p.strategy) {
    case Strategy::one:
      r.gemm(kernel, 0, 0, 0);
      break;
    case Strategy::parts:
      r.gemm(kernel, 0, 0, 0);
      r.gemm(kernel, r.x_part, r.y_part, r.c_part);
      break;
    case Strategy::four:
      if (p.c_part == 16)
        four_calls(kernel, p.gemm2, r, DoubleDouble{-1.0, 0.0}, DoubleDouble{1.0, 0.0});
      else
        four_calls(kernel, p.gemm2, r, -1.0, 1.0);
      break;
    case Strategy::same_kind:
      break;
  }
}

}  // namespace f90::matrix
