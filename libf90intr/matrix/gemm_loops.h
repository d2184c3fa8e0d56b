// The loop nests of the GEMM and GEMV kernels, written once over the
// element arithmetic of a kernel (a "Terms" class, gemm_terms.h).
//
// A Terms class T gives:
//   kA, kB, kC             bytes of one element of A, B and C;
//   Sum, zero()            the running value of the inner-product order;
//   add(s, pa, pb)         s = s + A*B, every term, no test;
//   store(pc, s)           s brought to C's kind and stored;
//   store_zero(pc)         C's kind's zero stored;
//   Multiplier,
//   multiplier(pb, mu)     reads B(k,j) for the column order; false when the
//                          kind's nonzero test skips it;
//   update(pc, pa, mu)     C = mu*A + C, brought to C's kind and stored.
//
// Speed comes from the order of the loops only, never from the order of the
// arithmetic: every C(i,j) receives exactly the terms, in exactly the order,
// and with exactly the roundings of the plain loops.
//  - Inner-product order: register tiles of 2 x 2 elements of C (four
//    independent running sums, each its own chain over k), and blocks of
//    columns of B small enough to stay in the cache while the rows of A
//    pass by.
//  - Column order: C is zeroed first (C overlaps neither A nor B, so this
//    equals zeroing each column just before it is summed), then blocks of
//    rows of C and of k, the k blocks in increasing order: each C(i,j) is
//    a value in memory at its kind between terms, so splitting the k loop
//    changes nothing but where A's block is read from.
#pragma once

#include <algorithm>
#include <cstdint>

#include "matrix/kernel.h"

namespace f90::matmul {

// Zero into every C(i,j) of an M x N matrix (M, N > 0).
template <class T>
inline void zero_matrix(const GemmArgs& g) {
  const int32_t cs1 = byte_offset(1, g.cs1, T::kC);
  for (int32_t j = 0; j < g.n; ++j) {
    char* pc = element(g.c, 0, g.cs1, j, g.cs2, T::kC);
    for (int32_t i = 0; i < g.m; ++i, pc = advance(pc, cs1)) T::store_zero(pc);
  }
}

// An R x C tile of running sums over the whole k range, from zero.
template <class T, int R, int C>
inline void inner_tile(const GemmArgs& g, int32_t i, int32_t j) {
  const char* pa[R];
  const char* pb[C];
  for (int r = 0; r < R; ++r) pa[r] = element(g.a, i + r, g.as1, 0, g.as2, T::kA);
  for (int q = 0; q < C; ++q) pb[q] = element(g.b, 0, g.bs1, j + q, g.bs2, T::kB);
  const int32_t as2 = byte_offset(1, g.as2, T::kA);
  const int32_t bs1 = byte_offset(1, g.bs1, T::kB);
  typename T::Sum s[R][C];
  for (int r = 0; r < R; ++r)
    for (int q = 0; q < C; ++q) s[r][q] = T::zero();
  for (int32_t k = 0; k < g.k; ++k) {
    for (int r = 0; r < R; ++r)
      for (int q = 0; q < C; ++q) T::add(s[r][q], pa[r], pb[q]);
    for (int r = 0; r < R; ++r) pa[r] = advance(pa[r], as2);
    for (int q = 0; q < C; ++q) pb[q] = advance(pb[q], bs1);
  }
  for (int q = 0; q < C; ++q)
    for (int r = 0; r < R; ++r) T::store(element(g.c, i + r, g.cs1, j + q, g.cs2, T::kC), s[r][q]);
}

// Inner-product order (M, N, K > 0).
template <class T>
void inner_product_order(const GemmArgs& g) {
  // Columns of B per block: about 128 KiB of them.
  const int64_t col_bytes = int64_t{g.k} * T::kB;
  const int32_t jb = static_cast<int32_t>(std::max<int64_t>(2, (int64_t{128} << 10) / col_bytes));
  for (int32_t j0 = 0; j0 < g.n; j0 += jb) {
    const int32_t j1 = std::min(g.n, j0 + std::min(jb, g.n - j0));
    int32_t i = 0;
    for (; i + 2 <= g.m; i += 2) {
      int32_t j = j0;
      for (; j + 2 <= j1; j += 2) inner_tile<T, 2, 2>(g, i, j);
      if (j < j1) inner_tile<T, 2, 1>(g, i, j);
    }
    if (i < g.m) {
      int32_t j = j0;
      for (; j + 2 <= j1; j += 2) inner_tile<T, 1, 2>(g, i, j);
      if (j < j1) inner_tile<T, 1, 1>(g, i, j);
    }
  }
}

// C(i0 .. i0+len-1, j) = mu * A(i0 .., k) + C(..), one element after another.
template <class T>
inline void update_run(char* pc, int32_t cs1, const char* pa, int32_t as1, int32_t len,
                       const typename T::Multiplier& mu) {
  for (int32_t i = 0; i < len; ++i) {
    T::update(pc, pa, mu);
    pc = advance(pc, cs1);
    pa = advance(pa, as1);
  }
}

// Column order (M, N > 0): C zeroed, then the terms of every k whose B(k,j)
// passes the kind's test.
template <class T>
void column_order(const GemmArgs& g) {
  zero_matrix<T>(g);
  if (g.k <= 0) return;
  // Rows per block: 4 KiB of a column of C; k per block: 128 KiB of A.
  const int32_t mb = std::max<int32_t>(16, 4096 / T::kC);
  const int32_t kb = std::max<int32_t>(8, (128 << 10) / (mb * T::kA));
  const int32_t cs1 = byte_offset(1, g.cs1, T::kC);
  const int32_t as1 = byte_offset(1, g.as1, T::kA);
  for (int32_t i0 = 0; i0 < g.m; i0 += mb) {
    const int32_t len = std::min(mb, g.m - i0);
    for (int32_t k0 = 0; k0 < g.k; k0 += kb) {
      const int32_t k1 = k0 + std::min(kb, g.k - k0);
      for (int32_t j = 0; j < g.n; ++j) {
        char* pc = element(g.c, i0, g.cs1, j, g.cs2, T::kC);
        for (int32_t k = k0; k < k1; ++k) {
          typename T::Multiplier mu;
          if (!T::multiplier(element(g.b, k, g.bs1, j, g.bs2, T::kB), mu)) continue;
          update_run<T>(pc, cs1, element(g.a, i0, g.as1, k, g.as2, T::kA), as1, len, mu);
        }
      }
    }
  }
}

// A GEMM kernel with the two loop orders. M or N of 0 returns at once; a
// negative one makes every loop empty.
template <class T>
void run_gemm(const GemmArgs& g) {
  if (g.m <= 0 || g.n <= 0) return;
  if (loop_order(g, T::kA, T::kB) == LoopOrder::column) {
    column_order<T>(g);
  } else if (g.k <= 0) {
    zero_matrix<T>(g);
  } else {
    inner_product_order<T>(g);
  }
}

// A GEMM kernel with the column order only (the logical kernels).
template <class T>
void run_column_gemm(const GemmArgs& g) {
  if (g.m <= 0 || g.n <= 0) return;
  column_order<T>(g);
}

// A GEMV kernel: y zeroed when M > 0 (also for N < 0), then the column
// order with x as the single column of B; N = 0 leaves y untouched.
template <class T>
void run_gemv(const GemvArgs& v) {
  if (v.m == 0 || v.n == 0) return;
  if (v.m < 0) return;
  const GemmArgs g{v.m, 1, v.n, v.a, v.as1, v.as2, v.x, v.incx, 0, v.y, v.incy, 0};
  column_order<T>(g);
}

}  // namespace f90::matmul
