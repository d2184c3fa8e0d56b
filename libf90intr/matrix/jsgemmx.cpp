// INTEGER*8 by REAL*8 (_JSGEMMX) and by REAL*4 (_JS4GEMMX) matrix products.
//
// The loop orders of matrix/gemm_loops.h with the x87 arithmetic of the
// caller's control word: each A element is loaded into the x87 unit exactly
// (a 64-bit integer load, as _morvex_cvtlld and _morvex_cvtllf do),
// multiplied by the B element, added to C(i,j), and the result rounded to
// C's kind after every term in both orders: the running sum of the
// inner-product order is the stored element itself. So the two orders
// differ only in the column order's skipping of zero and NaN B elements.
#include <cstdint>

#include "matrix/gemm_loops.h"
#include "matrix/gemm_terms.h"

namespace f90::matmul {
namespace {

template <class T>
struct Integer8ByRealTerms {
  static constexpr uint32_t kA = 8, kB = sizeof(T), kC = sizeof(T);
  using Sum = T;
  using Multiplier = T;
  static T term(T c, const char* pa, T b) {
    return x87::round_to<T>(static_cast<long double>(load<int64_t>(pa)) * b + c);
  }
  static Sum zero() { return T{0}; }
  static void add(Sum& s, const char* pa, const char* pb) { s = term(s, pa, load<T>(pb)); }
  static void store(char* pc, const Sum& s) { store_bits(pc, s); }
  static void store_zero(char* pc) { store_bits(pc, T{0}); }
  static bool multiplier(const char* pb, Multiplier& mu) {
    mu = load<T>(pb);
    return x87_nonzero(mu);
  }
  static void update(char* pc, const char* pa, const Multiplier& mu) {
    store_bits(pc, term(load<T>(pc), pa, mu));
  }
};

}  // namespace

F90_API void jsgemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_JSGEMMX);
F90_API void js4gemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_JS4GEMMX);

void jsgemmx(F90_GEMM_ARGUMENTS) { run_gemm<Integer8ByRealTerms<double>>(F90_GEMM_READ); }
void js4gemmx(F90_GEMM_ARGUMENTS) { run_gemm<Integer8ByRealTerms<float>>(F90_GEMM_READ); }

}  // namespace f90::matmul
