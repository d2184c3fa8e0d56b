// C = alpha.A.B + beta.C: the skeleton of the GEMMX2 kernels, which combine
// the real and imaginary parts of mixed complex kinds.
//
// One loop order, no estimate:
//   M = 0 or N = 0: return.
//   (alpha equals 0 or K = 0) and beta equals 1: return, C untouched.
//   alpha equals 0: C = 0 when beta equals 0, else C = beta.C; return.
//   Otherwise, column by column: C(:,j) = 0 when beta equals 0, else
//   beta.C(:,j) when beta does not equal 1; then for l = 1..K, when
//   b = B(l,j) passes the nonzero test of B's kind, temp = alpha.b and
//   C(i,j) = C(i,j) + temp.A(i,l) for every i, stored at once.
// "Equals" is the kind's comparison in which unordered counts as equal, so a
// NaN scalar (or a REAL*16 one with an infinite or NaN high part) equals
// every constant: such an alpha acts as zero, such a beta as zero.
//
// A kind K supplies:
//   using A, B, C (also the type of alpha and beta), Temp;
//   bool equals_zero(const C&), equals_one(const C&), passes(const B&);
//   C zero();  C scale(const C& beta, const C& c);
//   Temp temp(const C& alpha, const B& b);
//   C update(const C& c, const Temp& t, const A& a)    c + t.a
#pragma once

#include <cstdint>

#include "matrix/kernel.h"

namespace f90::matrix {

// Twelve by-reference GEMM arguments plus the two scalars.
struct Gemm2Call {
  GemmCall g;
  uintptr_t alpha, beta;
};

template <class K>
void gemm2(const Gemm2Call& call) {
  using A = typename K::A;
  using B = typename K::B;
  using C = typename K::C;
  const GemmCall& g = call.g;
  if (g.m == 0 || g.n == 0) return;
  const C alpha = load_elem<C>(call.alpha);
  const C beta = load_elem<C>(call.beta);
  const bool alpha_zero = K::equals_zero(alpha);
  const bool beta_zero = K::equals_zero(beta);
  const bool beta_one = K::equals_one(beta);
  if ((alpha_zero || g.k == 0) && beta_one) return;

  const uintptr_t ai = step(g.as1, sizeof(A)), ak = step(g.as2, sizeof(A));
  const uintptr_t bk = step(g.bs1, sizeof(B)), bj = step(g.bs2, sizeof(B));
  const uintptr_t ci = step(g.cs1, sizeof(C)), cj = step(g.cs2, sizeof(C));
  // Column j of C set to zero or scaled by beta, as beta says.
  auto prepare_column = [&](uintptr_t ccol) {
    uintptr_t cp = ccol;
    if (beta_zero) {
      const C zero = K::zero();
      for (int32_t i = 0; i < g.m; ++i, cp += ci) store_elem<C>(cp, zero);
    } else if (!beta_one) {
      for (int32_t i = 0; i < g.m; ++i, cp += ci)
        store_elem<C>(cp, K::scale(beta, load_elem<C>(cp)));
    }
  };

  uintptr_t bcol = g.b, ccol = g.c;
  if (alpha_zero) {
    for (int32_t j = 0; j < g.n; ++j, ccol += cj) prepare_column(ccol);
    return;
  }
  for (int32_t j = 0; j < g.n; ++j, bcol += bj, ccol += cj) {
    prepare_column(ccol);
    uintptr_t acol = g.a, bp = bcol;
    for (int32_t l = 0; l < g.k; ++l, acol += ak, bp += bk) {
      const B b = load_elem<B>(bp);
      if (!K::passes(b)) continue;
      const typename K::Temp t = K::temp(alpha, b);
      uintptr_t ap = acol, cp = ccol;
      for (int32_t i = 0; i < g.m; ++i, ap += ai, cp += ci)
        store_elem<C>(cp, K::update(load_elem<C>(cp), t, load_elem<A>(ap)));
    }
  }
}

// Reads the fourteen by-reference arguments of a GEMMX2 kernel.
inline Gemm2Call read_gemm2_args(const int32_t* m, const int32_t* n, const int32_t* k,
                                 const void* alpha, const void* a, const int32_t* as1,
                                 const int32_t* as2, const void* b, const int32_t* bs1,
                                 const int32_t* bs2, const void* beta, void* c,
                                 const int32_t* cs1, const int32_t* cs2) {
  return {read_gemm_args(m, n, k, a, as1, as2, b, bs1, bs2, c, cs1, cs2),
          reinterpret_cast<uintptr_t>(alpha), reinterpret_cast<uintptr_t>(beta)};
}

}  // namespace f90::matrix
