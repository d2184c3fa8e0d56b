// The loop nests of the GEMM and GEMV kernels, written once over a kind
// (the concept of matrix/kernel.h).
//
// Speed comes from the order of the loops only, never from the order of the
// arithmetic: every C(i,j) receives exactly the terms, in exactly the order,
// and with exactly the roundings of the plain loops.
//  - Inner-product order: register tiles of 2 x 2 elements of C (four
//    independent running values, each its own chain over k), in blocks of
//    columns of B small enough to stay in the cache while the rows of A
//    pass by.
//  - Column order: C is zeroed first (C overlaps neither A nor B, so this
//    equals zeroing each column just before its terms), then blocks of rows
//    of C and of k, the k blocks in increasing order: a C element is a
//    value in memory at its kind between terms, so splitting the k loop
//    changes only where the block of A is read from.
#pragma once

#include <algorithm>
#include <cstdint>

#include "matrix/kernel.h"

namespace f90::matrix {

template <class K>
struct Sizes {
  static constexpr uint32_t a = sizeof(typename K::A), b = sizeof(typename K::B),
                            c = sizeof(typename K::C);
};

// Stores a running value into C at p: by the kind's own put() where it has
// one (an x87 kind stores with the rounding store instruction), else as the
// element store() makes of it.
template <class K>
inline void put(uintptr_t p, const typename K::Acc& s) {
  if constexpr (requires { K::put(p, s); })
    K::put(p, s);
  else
    store_elem(p, K::store(s));
}

// Zero into every C(i,j) of an M x N matrix (M, N > 0).
template <class K>
inline void zero_matrix(const GemmCall& g) {
  const typename K::C zero = K::store(K::zero());
  const uintptr_t ci = step(g.cs1, Sizes<K>::c), cj = step(g.cs2, Sizes<K>::c);
  uintptr_t col = g.c;
  for (int32_t j = 0; j < g.n; ++j, col += cj) {
    uintptr_t p = col;
    for (int32_t i = 0; i < g.m; ++i, p += ci) store_elem(p, zero);
  }
}

// An R x Q tile of running values over the whole k range, from zero; a
// kind with a 2 x 2 register loop of its own (tile22) runs that one.
template <class K, int R, int Q>
inline void inner_tile(const GemmCall& g, int32_t i, int32_t j) {
  using S = Sizes<K>;
  if constexpr (R == 2 && Q == 2 && requires(typename K::Acc* o) { K::tile22(0, 0, 0, 0, 0, 0, 1, o); }) {
    typename K::Acc s[4];
    const uintptr_t pa = element(g.a, i, g.as1, 0, g.as2, S::a);
    const uintptr_t pb = element(g.b, 0, g.bs1, j, g.bs2, S::b);
    K::tile22(pa, step(g.as1, S::a), step(g.as2, S::a), pb, step(g.bs2, S::b),
              step(g.bs1, S::b), g.k, s);
    put<K>(element(g.c, i, g.cs1, j, g.cs2, S::c), s[0]);
    put<K>(element(g.c, i + 1, g.cs1, j, g.cs2, S::c), s[1]);
    put<K>(element(g.c, i, g.cs1, j + 1, g.cs2, S::c), s[2]);
    put<K>(element(g.c, i + 1, g.cs1, j + 1, g.cs2, S::c), s[3]);
    return;
  }
  uintptr_t pa[R], pb[Q];
  for (int r = 0; r < R; ++r) pa[r] = element(g.a, i + r, g.as1, 0, g.as2, S::a);
  for (int q = 0; q < Q; ++q) pb[q] = element(g.b, 0, g.bs1, j + q, g.bs2, S::b);
  const uintptr_t ak = step(g.as2, S::a), bk = step(g.bs1, S::b);
  typename K::Acc s[R][Q];
  for (int r = 0; r < R; ++r)
    for (int q = 0; q < Q; ++q) s[r][q] = K::zero();
  for (int32_t l = 0; l < g.k; ++l) {
    for (int q = 0; q < Q; ++q) {
      const typename K::Factor f = K::factor(load_elem<typename K::B>(pb[q]));
      for (int r = 0; r < R; ++r) K::term(s[r][q], load_elem<typename K::A>(pa[r]), f);
    }
    for (int r = 0; r < R; ++r) pa[r] += ak;
    for (int q = 0; q < Q; ++q) pb[q] += bk;
  }
  for (int q = 0; q < Q; ++q)
    for (int r = 0; r < R; ++r)
      put<K>(element(g.c, i + r, g.cs1, j + q, g.cs2, S::c), s[r][q]);
}

// A 2 x 4 tile by the kind's own register loop (a kind with more registers
// than the x87's eight).
template <class K>
inline void inner_tile24(const GemmCall& g, int32_t i, int32_t j) {
  using S = Sizes<K>;
  typename K::Acc s[8];
  K::tile24(element(g.a, i, g.as1, 0, g.as2, S::a), step(g.as1, S::a), step(g.as2, S::a),
            element(g.b, 0, g.bs1, j, g.bs2, S::b), step(g.bs2, S::b), step(g.bs1, S::b), g.k, s);
  for (int q = 0; q < 4; ++q)
    for (int r = 0; r < 2; ++r)
      put<K>(element(g.c, i + r, g.cs1, j + q, g.cs2, S::c), s[2 * q + r]);
}

// Inner-product order (M, N, K > 0).
template <class K>
void inner_product_order(const GemmCall& g) {
  // Columns of B per block: about 128 KiB of them.
  const int64_t col_bytes = int64_t{g.k} * Sizes<K>::b;
  const int32_t jb = static_cast<int32_t>(std::max<int64_t>(2, (int64_t{128} << 10) / col_bytes));
  for (int32_t j0 = 0; j0 < g.n; j0 += std::min(jb, g.n - j0)) {
    const int32_t j1 = j0 + std::min(jb, g.n - j0);
    int32_t i = 0;
    for (; i + 2 <= g.m; i += 2) {
      int32_t j = j0;
      if constexpr (requires(typename K::Acc* o) { K::tile24(0, 0, 0, 0, 0, 0, 1, o); }) {
        for (; j + 4 <= j1; j += 4) inner_tile24<K>(g, i, j);
      }
      for (; j + 2 <= j1; j += 2) inner_tile<K, 2, 2>(g, i, j);
      if (j < j1) inner_tile<K, 2, 1>(g, i, j);
    }
    if (i < g.m) {
      int32_t j = j0;
      for (; j + 2 <= j1; j += 2) inner_tile<K, 1, 2>(g, i, j);
      if (j < j1) inner_tile<K, 1, 1>(g, i, j);
    }
  }
}

// C(i0 .. i0+len-1, j) takes the term A(i, k).f, one element after another.
template <class K>
inline void column_run(uintptr_t pc, uintptr_t ci, uintptr_t pa, uintptr_t ai, int32_t len,
                       const typename K::Factor& f) {
  for (int32_t i = 0; i < len; ++i, pc += ci, pa += ai) {
    typename K::Acc s = K::load(load_elem<typename K::C>(pc));
    K::term(s, load_elem<typename K::A>(pa), f);
    put<K>(pc, s);
  }
}

// Column order (M, N > 0): C zeroed, then the terms of every B(k,j) that
// passes the kind's test.
template <class K>
void column_order(const GemmCall& g) {
  using S = Sizes<K>;
  zero_matrix<K>(g);
  if (g.k <= 0) return;
  // Rows per block: 4 KiB of a column of C; k per block: 128 KiB of A.
  const int32_t mb = std::max<int32_t>(16, 4096 / S::c);
  const int32_t kb = std::max<int32_t>(8, (128 << 10) / (mb * S::a));
  const uintptr_t ci = step(g.cs1, S::c), ai = step(g.as1, S::a);
  for (int32_t i0 = 0; i0 < g.m; i0 += std::min(mb, g.m - i0)) {
    const int32_t len = std::min(mb, g.m - i0);
    for (int32_t k0 = 0; k0 < g.k; k0 += std::min(kb, g.k - k0)) {
      const int32_t k1 = k0 + std::min(kb, g.k - k0);
      for (int32_t j = 0; j < g.n; ++j) {
        const uintptr_t pc = element(g.c, i0, g.cs1, j, g.cs2, S::c);
        if constexpr (requires { K::kRunTerms; }) {
          // The kind takes up to kRunTerms passing terms per element at once,
          // in increasing k, its running value exactly at C's kind between them.
          uintptr_t pa[K::kRunTerms];
          typename K::Factor f[K::kRunTerms];
          int n = 0;
          for (int32_t l = k0; l < k1; ++l) {
            const typename K::B b =
                load_elem<typename K::B>(element(g.b, l, g.bs1, j, g.bs2, S::b));
            if (!K::passes(b)) continue;
            pa[n] = element(g.a, i0, g.as1, l, g.as2, S::a);
            f[n] = K::factor(b);
            if (++n == K::kRunTerms) {
              K::run_terms(pc, ci, pa, ai, len, f, n);
              n = 0;
            }
          }
          if (n > 0) K::run_terms(pc, ci, pa, ai, len, f, n);
        } else {
          for (int32_t l = k0; l < k1; ++l) {
            const typename K::B b =
                load_elem<typename K::B>(element(g.b, l, g.bs1, j, g.bs2, S::b));
            if (!K::passes(b)) continue;
            column_run<K>(pc, ci, element(g.a, i0, g.as1, l, g.as2, S::a), ai, len, K::factor(b));
          }
        }
      }
    }
  }
}

// A GEMM kernel with the two loop orders. M or N of 0 returns at once; a
// negative one makes every loop empty.
template <class K>
void gemm(const GemmCall& g) {
  if (g.m <= 0 || g.n <= 0) return;
  if (loop_order(g, K::kSa, K::kSb) == LoopOrder::column) {
    column_order<K>(g);
  } else if (g.k <= 0) {
    zero_matrix<K>(g);
  } else {
    inner_product_order<K>(g);
  }
}

// A GEMM kernel with the column order only (the logical kernels).
template <class K>
void gemm_by_columns(const GemmCall& g) {
  if (g.m <= 0 || g.n <= 0) return;
  column_order<K>(g);
}

// A GEMV kernel (a GemmCall from read_gemv_args): N = 0 (the GEMV's, here
// K) or M = 0 leaves y untouched; otherwise y is zeroed when M > 0 (also for
// N < 0), and every x(j) that passes the kind's test adds its terms: the
// column order with x as the single column.
template <class K>
void gemv(const GemmCall& g) {
  if (g.m <= 0 || g.k == 0) return;
  column_order<K>(g);
}

}  // namespace f90::matrix
