// INTEGER*8 by REAL*8 (_JSGEMMX) and by REAL*4 (_JS4GEMMX) matrix products.
//
// Both loop orders of matrix/gemm_loops.h with the x87 arithmetic of the
// caller's control word: each A element is loaded into the x87 unit exactly
// (a 64-bit integer load, as _morvex_cvtlld and _morvex_cvtllf do), multiplied
// by the B element, added to C(i,j), and the result stored rounded to C's
// kind after every term in both orders: the running sum of the inner-product
// order is the stored element itself. So the two orders differ only in the
// column order's skipping of zero and NaN B elements.
#include <cstdint>

#include "matrix/gemm_loops.h"
#include "matrix/wide_kernels.h"
#include "x87.h"

namespace {

template <class T>
struct Integer8ByReal {
  using A = int64_t;
  using B = T;
  using C = T;
  using Acc = T;
  using Factor = T;
  static constexpr int32_t kSa = 8;
  static constexpr int32_t kSb = sizeof(T);
  static Acc zero() { return T{0}; }
  static Acc load(const C& c) { return c; }
  static C store(const Acc& s) { return s; }
  // Ordered and nonzero: zero and NaN are skipped, infinities used.
  static bool passes(const B& b) { return __builtin_islessgreater(b, T{0}); }
  static Factor factor(const B& b) { return b; }
  static void term(Acc& s, const A& a, const Factor& b) {
    s = x87::round_to<T>(static_cast<long double>(a) * b + s);
  }
};

}  // namespace

void jsgemmx(F90_GEMM_PARAMS) {
  f90::matrix::gemm<Integer8ByReal<double>>(f90::matrix::read_gemm_args(F90_GEMM_ARGS));
}

void js4gemmx(F90_GEMM_PARAMS) {
  f90::matrix::gemm<Integer8ByReal<float>>(f90::matrix::read_gemm_args(F90_GEMM_ARGS));
}
