// C = alpha.A.B + beta.C: the loops of the GEMMX2 kernels, which combine the
// real and imaginary parts for the MATMUL drivers of mixed complex kinds.
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
// A kind K gives:
//   kA, kB, kC (bytes); Scalar (C's kind, also alpha's and beta's); Temp;
//   bool equals_zero(Scalar), equals_one(Scalar);
//   bool temp(alpha, pb, Temp&)   false when B(l,j) fails the test, else
//                                 temp = alpha.b
//   void zero(pc); void scale(pc, beta)           C = 0, C = beta.C
//   void update(pc, pa, temp)                     C = C + temp.A
#pragma once

#include <cstdint>

#include "matrix/gemm_terms.h"
#include "matrix/kernel.h"

// The GEMMX2 parameter list (F90_GEMM2_ARGUMENTS) read into a call.
#define F90_GEMM2_READ \
  ::f90::matmul::read_gemm2_args(m, n, k, alpha, a, as1, as2, b, bs1, bs2, beta, c, cs1, cs2)

namespace f90::matmul {

struct Gemm2Args {
  GemmArgs g;
  const char* alpha;
  const char* beta;
};

inline Gemm2Args read_gemm2_args(const int32_t* m, const int32_t* n, const int32_t* k,
                                 const void* alpha, const void* a, const int32_t* as1,
                                 const int32_t* as2, const void* b, const int32_t* bs1,
                                 const int32_t* bs2, const void* beta, void* c,
                                 const int32_t* cs1, const int32_t* cs2) {
  return {read_gemm_args(m, n, k, a, as1, as2, b, bs1, bs2, c, cs1, cs2),
          static_cast<const char*>(alpha), static_cast<const char*>(beta)};
}

template <class K>
void run_gemm2(const Gemm2Args& call) {
  const GemmArgs& g = call.g;
  if (g.m == 0 || g.n == 0) return;
  const auto alpha = load<typename K::Scalar>(call.alpha);
  const auto beta = load<typename K::Scalar>(call.beta);
  const bool alpha_zero = K::equals_zero(alpha);
  const bool beta_zero = K::equals_zero(beta), beta_one = K::equals_one(beta);
  if ((alpha_zero || g.k == 0) && beta_one) return;
  const int32_t cs1 = byte_offset(1, g.cs1, K::kC), as1 = byte_offset(1, g.as1, K::kA);
  for (int32_t j = 0; j < g.n; ++j) {
    char* const col = element(g.c, 0, g.cs1, j, g.cs2, K::kC);
    if (beta_zero) {
      char* pc = col;
      for (int32_t i = 0; i < g.m; ++i, pc = advance(pc, cs1)) K::zero(pc);
    } else if (!beta_one) {
      char* pc = col;
      for (int32_t i = 0; i < g.m; ++i, pc = advance(pc, cs1)) K::scale(pc, beta);
    }
    if (alpha_zero) continue;
    for (int32_t l = 0; l < g.k; ++l) {
      typename K::Temp t;
      if (!K::temp(alpha, element(g.b, l, g.bs1, j, g.bs2, K::kB), t)) continue;
      char* pc = col;
      const char* pa = element(g.a, 0, g.as1, l, g.as2, K::kA);
      for (int32_t i = 0; i < g.m; ++i, pc = advance(pc, cs1), pa = advance(pa, as1))
        K::update(pc, pa, t);
    }
  }
}

}  // namespace f90::matmul
