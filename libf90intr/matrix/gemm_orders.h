// The two loop orders of a GEMM kernel and the choice between them.
//
// A kernel computes C = A.B on strided storage: A is M x K, B is K x N, C is
// M x N; element (i, k) of A lies (i-1)*As1 + (k-1)*As2 elements past A's
// base (likewise B and C). Every argument comes by reference. Index and
// address arithmetic is 32-bit and wraps, as the caller's does: it is done on
// unsigned words and addresses, never on signed values.
//
// Inner-product order: every C(i, j) is set to zero, then, when K >= 1, a
// running sum starts from that zero, takes the terms A(i,k).B(k,j) for
// k = 1..K in order with no test of either factor, and is stored at the end.
// Column order: column j of C is set to zero, then for k = 1..K the element
// b = B(k, j) is read and, when it passes the kind's nonzero test, every
// C(i, j) takes the term A(i,k).b, stored at once.
//
// Choice: inner-product order when As1 > As2 (A stored row-wise) or when the
// working-set estimate K*As2*sa + max(N*Bs2, K*Bs1)*sb (32-bit wrapping,
// signed comparison) is below 8192 bytes; column order otherwise.
//
// A kind K supplies the element types and its arithmetic:
//   using A, B, C, Acc, Factor;
//   static constexpr int32_t kSa, kSb;     element sizes for the estimate
//   Acc zero();                             the running value of an empty sum
//   Acc load(const C&);  C store(const Acc&)
//   bool passes(const B&);                  the column order's nonzero test
//   Factor factor(const B&);                b prepared once for its uses
//   void term(Acc&, const A&, const Factor&)  acc = acc + a.b, in K's order
#pragma once

#include <cstdint>
#include <cstring>

namespace f90::matrix {

// Element strides, counts and bases of one kernel call, read once.
struct GemmCall {
  int32_t m, n, k;
  uintptr_t a;
  int32_t as1, as2;
  uintptr_t b;
  int32_t bs1, bs2;
  uintptr_t c;
  int32_t cs1, cs2;
};

// Byte step of `count` elements of `size` bytes, wrapping like the caller's
// 32-bit address arithmetic.
inline uintptr_t step(int32_t count, uint32_t size) {
  return static_cast<uintptr_t>(static_cast<uint32_t>(count) * size);
}

template <class T>
inline T load_elem(uintptr_t p) {
  T v;
  std::memcpy(&v, reinterpret_cast<const void*>(p), sizeof v);
  return v;
}

template <class T>
inline void store_elem(uintptr_t p, const T& v) {
  std::memcpy(reinterpret_cast<void*>(p), &v, sizeof v);
}

// True when the inner-product order runs.
inline bool inner_product_order(const GemmCall& g, int32_t sa, int32_t sb) {
  if (g.as1 > g.as2) return true;
  const uint32_t k = static_cast<uint32_t>(g.k);
  const uint32_t by_a = k * static_cast<uint32_t>(g.as2) * static_cast<uint32_t>(sa);
  const int32_t nb = static_cast<int32_t>(static_cast<uint32_t>(g.n) * static_cast<uint32_t>(g.bs2));
  const int32_t kb = static_cast<int32_t>(k * static_cast<uint32_t>(g.bs1));
  const uint32_t by_b = static_cast<uint32_t>(nb > kb ? nb : kb) * static_cast<uint32_t>(sb);
  return static_cast<int32_t>(by_a + by_b) < 8192;
}

template <class K>
void gemm_inner_product(const GemmCall& g) {
  using A = typename K::A;
  using B = typename K::B;
  using C = typename K::C;
  const uintptr_t ai = step(g.as1, sizeof(A)), ak = step(g.as2, sizeof(A));
  const uintptr_t bk = step(g.bs1, sizeof(B)), bj = step(g.bs2, sizeof(B));
  const uintptr_t ci = step(g.cs1, sizeof(C)), cj = step(g.cs2, sizeof(C));
  uintptr_t bcol = g.b, ccol = g.c;
  for (int32_t j = 0; j < g.n; ++j, bcol += bj, ccol += cj) {
    uintptr_t arow = g.a, cp = ccol;
    for (int32_t i = 0; i < g.m; ++i, arow += ai, cp += ci) {
      const typename K::Acc zero = K::zero();
      store_elem<C>(cp, K::store(zero));
      if (g.k < 1) continue;
      typename K::Acc s = K::load(load_elem<C>(cp));
      uintptr_t ap = arow, bp = bcol;
      for (int32_t l = 0; l < g.k; ++l, ap += ak, bp += bk)
        K::term(s, load_elem<A>(ap), K::factor(load_elem<B>(bp)));
      store_elem<C>(cp, K::store(s));
    }
  }
}

template <class K>
void gemm_column(const GemmCall& g) {
  using A = typename K::A;
  using B = typename K::B;
  using C = typename K::C;
  const uintptr_t ai = step(g.as1, sizeof(A)), ak = step(g.as2, sizeof(A));
  const uintptr_t bk = step(g.bs1, sizeof(B)), bj = step(g.bs2, sizeof(B));
  const uintptr_t ci = step(g.cs1, sizeof(C)), cj = step(g.cs2, sizeof(C));
  const C zero = K::store(K::zero());
  uintptr_t bcol = g.b, ccol = g.c;
  for (int32_t j = 0; j < g.n; ++j, bcol += bj, ccol += cj) {
    uintptr_t cp = ccol;
    for (int32_t i = 0; i < g.m; ++i, cp += ci) store_elem<C>(cp, zero);
    uintptr_t acol = g.a, bp = bcol;
    for (int32_t l = 0; l < g.k; ++l, acol += ak, bp += bk) {
      const B b = load_elem<B>(bp);
      if (!K::passes(b)) continue;
      const typename K::Factor f = K::factor(b);
      uintptr_t ap = acol;
      cp = ccol;
      for (int32_t i = 0; i < g.m; ++i, ap += ai, cp += ci) {
        typename K::Acc s = K::load(load_elem<C>(cp));
        K::term(s, load_elem<A>(ap), f);
        store_elem<C>(cp, K::store(s));
      }
    }
  }
}

// The whole kernel: entry test, choice of order, the loops.
template <class K>
void gemm(const GemmCall& g) {
  if (g.m == 0 || g.n == 0) return;
  if (inner_product_order(g, K::kSa, K::kSb))
    gemm_inner_product<K>(g);
  else
    gemm_column<K>(g);
}

// Reads the twelve by-reference arguments of a GEMM kernel.
inline GemmCall read_gemm_args(const int32_t* m, const int32_t* n, const int32_t* k,
                               const void* a, const int32_t* as1, const int32_t* as2,
                               const void* b, const int32_t* bs1, const int32_t* bs2, void* c,
                               const int32_t* cs1, const int32_t* cs2) {
  return {*m,
          *n,
          *k,
          reinterpret_cast<uintptr_t>(a),
          *as1,
          *as2,
          reinterpret_cast<uintptr_t>(b),
          *bs1,
          *bs2,
          reinterpret_cast<uintptr_t>(c),
          *cs1,
          *cs2};
}

}  // namespace f90::matrix
