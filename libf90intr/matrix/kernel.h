// The argument convention every GEMM, GEMV and GEMMX2 kernel shares, the
// kind-policy concept the loop skeletons run on, and the rule that picks a
// GEMM kernel's loop order.
//
// Exported kernels take every argument by reference, in these orders:
//
//   GEMM   (M, N, K, A, As1, As2, B, Bs1, Bs2, C, Cs1, Cs2)      C = A.B
//   GEMMX2 (M, N, K, alpha, A, As1, As2, B, Bs1, Bs2, beta, C, Cs1, Cs2)
//   GEMV   (M, N, A, As1, As2, x, incx, y, incy)                 y = A.x
//
// A is M x K, B is K x N, C is M x N (for GEMV A is M x N, x has N elements,
// y has M). Counts and strides are 32-bit signed INTEGERs; strides count
// elements of the array's own kind and may be zero or negative. Element
// (i, k) of A (0-based here) lies i*As1 + k*As2 elements past A, the index
// and the byte offset formed in 32-bit arithmetic that wraps, as the
// caller's own address arithmetic does: addresses are handled as unsigned
// words (uintptr_t), never through signed or pointer arithmetic.
//
// An exported kernel is a one-line thunk: it reads its arguments into a
// GemmCall and hands it to a loop skeleton (matrix/gemm_loops.h, or
// matrix/gemmx2.h) instantiated for its element kind:
//
//   F90_API void sgemmx(F90_GEMM_PARAMS) F90_SYMBOL(_SGEMMX);      // a header
//   void sgemmx(F90_GEMM_PARAMS) { gemm<RealKind<double, double>>(F90_GEMM_READ); }
//
// A kind K (matrix/gemm_terms.h, matrix/real16/dd_kinds.h ...) gives:
//   using A, B, C;            the element types as they lie in memory
//   using Acc;                the running value of one C element
//   using Factor;             a B element prepared once for its uses
//   static constexpr int32_t kSa, kSb;    element sizes for the estimate
//   Acc zero();               the running value of an empty sum
//   Acc load(const C&);       a stored C element taken up again (column order)
//   C store(const Acc&);      the running value brought to C's kind
//   bool passes(const B&);    the column order's nonzero test of a B element
//   Factor factor(const B&);
//   void term(Acc&, const A&, const Factor&);   acc = acc + a.b, in K's order
// The inner-product order keeps one Acc per C element over the whole k loop
// and stores it once; the column order loads, takes one term and stores
// after every term (so a kind whose running value must be rounded after
// every term in both orders does that in term()).
#pragma once

#include <cstdint>
#include <cstring>

#include "common/view2d.h"
#include "f90/matmul.h"
#include "symbols.h"

// Parameter lists of the exported kernels (the public header's), the
// argument names, and the calls that read them.
#define F90_GEMM_PARAMS F90_GEMM_ARGUMENTS
#define F90_GEMV_PARAMS F90_GEMV_ARGUMENTS
#define F90_GEMM2_PARAMS F90_GEMM2_ARGUMENTS
#define F90_GEMM_ARGS m, n, k, a, as1, as2, b, bs1, bs2, c, cs1, cs2
#define F90_GEMM2_ARGS m, n, k, alpha, a, as1, as2, b, bs1, bs2, beta, c, cs1, cs2
#define F90_GEMM_READ ::f90::matrix::read_gemm_args(F90_GEMM_ARGS)
#define F90_GEMV_READ ::f90::matrix::read_gemv_args(m, n, a, as1, as2, x, incx, y, incy)

namespace f90::matrix {

// Counts, element strides and base addresses of one kernel call, read once.
struct GemmCall {
  int32_t m, n, k;
  uintptr_t a;
  int32_t as1, as2;
  uintptr_t b;
  int32_t bs1, bs2;
  uintptr_t c;
  int32_t cs1, cs2;
};

inline GemmCall read_gemm_args(const int32_t* m, const int32_t* n, const int32_t* k,
                               const void* a, const int32_t* as1, const int32_t* as2,
                               const void* b, const int32_t* bs1, const int32_t* bs2, void* c,
                               const int32_t* cs1, const int32_t* cs2) {
  return {*m, *n, *k, reinterpret_cast<uintptr_t>(a), *as1, *as2,
          reinterpret_cast<uintptr_t>(b), *bs1, *bs2, reinterpret_cast<uintptr_t>(c), *cs1, *cs2};
}

// A GEMV call as the GEMM of one column: K is the GEMV's N, x is B
// (Bs1 = incx), y is C (Cs1 = incy), N is 1.
inline GemmCall read_gemv_args(const int32_t* m, const int32_t* n, const void* a,
                               const int32_t* as1, const int32_t* as2, const void* x,
                               const int32_t* incx, void* y, const int32_t* incy) {
  return {*m, 1, *n, reinterpret_cast<uintptr_t>(a), *as1, *as2,
          reinterpret_cast<uintptr_t>(x), *incx, 0, reinterpret_cast<uintptr_t>(y), *incy, 0};
}

// Byte distance of `count` elements of `size` bytes, wrapping like the
// caller's 32-bit address arithmetic.
inline uintptr_t step(int32_t count, uint32_t size) {
  return static_cast<uintptr_t>(static_cast<uint32_t>(count) * size);
}

// Address of element (i, j) (0-based) of a strided matrix: the library's
// strided 2-D view, as an address word.
inline uintptr_t element(uintptr_t base, int32_t i, int32_t s1, int32_t j, int32_t s2,
                         uint32_t size) {
  return reinterpret_cast<uintptr_t>(View2D{reinterpret_cast<char*>(base), s1, s2, size}.at(i, j));
}

// Elements move as bits (never through an x87 load, which would quiet a
// signalling NaN).
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

// The two loop orders of a GEMM kernel.
//
// inner_product: every C(i,j) is a running sum over k = 1..K, started from
//   zero, every term added with no test, stored once (K < 1 stores zero).
// column: C(:,j) is zeroed, then for k in increasing order every B(k,j)
//   that passes the kind's nonzero test adds its terms into C(:,j), each
//   C(i,j) stored at its own kind after every term.
enum class LoopOrder { inner_product, column };

// The loop-order rule, `sa` and `sb` the byte sizes of one element of A and
// of B: a row-wise A (As1 > As2) takes the inner-product order; otherwise
// the working-set estimate K*As2*sa + max(N*Bs2, K*Bs1)*sb, every product,
// the maximum and the sum in wrapping 32-bit signed arithmetic, picks the
// inner-product order below 8192 and the column order from there on.
// As1 = As2 (a rank-1 A, or one row whose two strides coincide) counts as
// row-wise: such an A is read along k whatever its extent, and the
// inner-product order keeps its one row's sums in registers rather than
// storing and reloading the same element after every term.
inline LoopOrder loop_order(const GemmCall& g, int32_t sa, int32_t sb) {
  if (g.as1 >= g.as2) return LoopOrder::inner_product;
  const auto mul = [](int32_t x, int32_t y) {
    return static_cast<int32_t>(static_cast<uint32_t>(x) * static_cast<uint32_t>(y));
  };
  const int32_t n_b = mul(g.n, g.bs2);
  const int32_t k_b = mul(g.k, g.bs1);
  const int32_t est = static_cast<int32_t>(static_cast<uint32_t>(mul(mul(g.k, g.as2), sa)) +
                                           static_cast<uint32_t>(mul(n_b > k_b ? n_b : k_b, sb)));
  return est < 8192 ? LoopOrder::inner_product : LoopOrder::column;
}

}  // namespace f90::matrix
