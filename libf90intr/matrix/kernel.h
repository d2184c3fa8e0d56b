// The argument convention every GEMM and GEMV kernel shares, and the rule
// that picks a GEMM kernel's loop order.
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
// hardware's own address arithmetic does.
//
// An exported kernel is a one-line thunk: it reads its arguments into a
// GemmArgs (GemvArgs) with read_gemm_args (read_gemv_args) and hands them to
// a template (gemm_loops.h) instantiated for its element arithmetic:
//
//   F90_API void sgemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_SGEMMX);
//   void sgemmx(F90_GEMM_ARGUMENTS) { run_gemm<RealTerms<double, double>>(F90_GEMM_READ); }
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "f90/matmul.h"
#include "symbols.h"

// The parameter lists are the public header's (F90_GEMM_ARGUMENTS,
// F90_GEMV_ARGUMENTS); these read them into a GemmArgs / GemvArgs.
#define F90_GEMM_READ ::f90::matmul::read_gemm_args(m, n, k, a, as1, as2, b, bs1, bs2, c, cs1, cs2)
#define F90_GEMV_READ ::f90::matmul::read_gemv_args(m, n, a, as1, as2, x, incx, y, incy)

namespace f90::matmul {

// One GEMM call with its arguments read.
struct GemmArgs {
  int32_t m, n, k;
  const char* a;
  int32_t as1, as2;
  const char* b;
  int32_t bs1, bs2;
  char* c;
  int32_t cs1, cs2;
};

// One GEMV call, as a GEMM with one column: x is B (Bs1 = incx), y is C
// (Cs1 = incy), K is the GEMV's N; N is 1.
struct GemvArgs {
  int32_t m, n;
  const char* a;
  int32_t as1, as2;
  const char* x;
  int32_t incx;
  char* y;
  int32_t incy;
};

inline GemmArgs read_gemm_args(const int32_t* m, const int32_t* n, const int32_t* k,
                               const void* a, const int32_t* as1, const int32_t* as2,
                               const void* b, const int32_t* bs1, const int32_t* bs2, void* c,
                               const int32_t* cs1, const int32_t* cs2) {
  return {*m, *n, *k, static_cast<const char*>(a), *as1, *as2, static_cast<const char*>(b),
          *bs1, *bs2, static_cast<char*>(c), *cs1, *cs2};
}

inline GemvArgs read_gemv_args(const int32_t* m, const int32_t* n, const void* a,
                               const int32_t* as1, const int32_t* as2, const void* x,
                               const int32_t* incx, void* y, const int32_t* incy) {
  return {*m, *n, static_cast<const char*>(a), *as1, *as2, static_cast<const char*>(x), *incx,
          static_cast<char*>(y), *incy};
}

// 32-bit wrapping products and sums (signed overflow is undefined in C++).
inline int32_t wrap_mul(int32_t x, int32_t y) {
  return static_cast<int32_t>(static_cast<uint32_t>(x) * static_cast<uint32_t>(y));
}
inline int32_t wrap_add(int32_t x, int32_t y) {
  return static_cast<int32_t>(static_cast<uint32_t>(x) + static_cast<uint32_t>(y));
}

// Byte distance of `count` element strides `stride` of `size`-byte
// elements, in 32-bit wrapping arithmetic.
inline int32_t byte_offset(int32_t count, int32_t stride, uint32_t size) {
  return static_cast<int32_t>(static_cast<uint32_t>(count) * static_cast<uint32_t>(stride) * size);
}

// p advanced by a signed byte distance. The sum is formed on the address as
// an integer: a hostile stride wraps around the address space as the
// hardware would, without pointer arithmetic the language leaves undefined.
template <class P>
inline P advance(P p, int32_t bytes) {
  return reinterpret_cast<P>(reinterpret_cast<uintptr_t>(p) + static_cast<uintptr_t>(bytes));
}

// Element (i, j) (0-based) of a strided matrix.
template <class P>
inline P element(P base, int32_t i, int32_t s1, int32_t j, int32_t s2, uint32_t size) {
  return advance(base, wrap_add(byte_offset(i, s1, size), byte_offset(j, s2, size)));
}

// The two loop orders of a GEMM kernel.
//
// inner_product: each C(i,j) is one running sum over k, started from zero,
//   kept at the kernel's working precision (an x87 register for the real
//   and complex kinds) and stored once; every term is added.
// column: C(:,j) is zeroed, then for k in increasing order every B(k,j)
//   that passes the kind's nonzero test adds B(k,j)*A(:,k) into C(:,j),
//   each C(i,j) stored at its own kind after every term.
enum class LoopOrder { inner_product, column };

// The loop-order rule, `sa` and `sb` the byte sizes of one element of A and
// of B: a row-wise A (As1 > As2) takes the inner-product order; otherwise
// the working-set estimate K*As2*sa + max(N*Bs2, K*Bs1)*sb, every product,
// the maximum and the sum in wrapping 32-bit signed arithmetic, picks the
// inner-product order below 8192 and the column order from there on.
// As1 = As2 (a rank-1 A, or one row whose two strides coincide) counts as
// row-wise: such an A is read along k whatever its extent, and the
// inner-product order stores each C element once.
inline LoopOrder loop_order(const GemmArgs& g, int32_t sa, int32_t sb) {
  if (g.as1 >= g.as2) return LoopOrder::inner_product;
  const int32_t n_b = wrap_mul(g.n, g.bs2);
  const int32_t k_b = wrap_mul(g.k, g.bs1);
  const int32_t est =
      wrap_add(wrap_mul(wrap_mul(g.k, g.as2), sa), wrap_mul(n_b > k_b ? n_b : k_b, sb));
  return est < 8192 ? LoopOrder::inner_product : LoopOrder::column;
}

}  // namespace f90::matmul
