// C = alpha.A.B + beta.C with REAL*4 A, REAL*8 B, C, alpha and beta.
//
// The loops are matrix/gemmx2.h's, the arithmetic the x87 unit's under the
// caller's control word: temp = b.alpha rounded to REAL*8; each update
// A(i,l).temp + C(i,j) rounded to REAL*8 at its store; the beta scaling
// beta.C(i,j) rounded to REAL*8. Scalars equal a constant when the x87
// comparison finds them equal or unordered (a NaN equals everything).
#include "matrix/gemm_terms.h"
#include "matrix/gemmx2.h"

namespace f90::matmul {
namespace {

struct Real4ByReal8Gemm2 {
  static constexpr uint32_t kA = 4, kB = 8, kC = 8;
  using Scalar = double;
  using Temp = double;
  static bool equals_zero(double x) { return !__builtin_islessgreater(x, 0.0); }
  static bool equals_one(double x) { return !__builtin_islessgreater(x, 1.0); }
  static bool temp(double alpha, const char* pb, double& t) {
    const double b = load<double>(pb);
    if (!x87_nonzero(b)) return false;
    t = x87::round_to<double>(static_cast<long double>(b) * alpha);
    return true;
  }
  static void zero(char* pc) { store_bits(pc, 0.0); }
  static void scale(char* pc, double beta) {
    store_rounded<double>(pc, static_cast<long double>(beta) * load<double>(pc));
  }
  static void update(char* pc, const char* pa, double t) {
    store_rounded<double>(pc, x87_value<float>(pa) * t + load<double>(pc));
  }
};

}  // namespace

F90_API void s4sgemmx2(F90_GEMM2_ARGUMENTS) F90_SYMBOL(_S4SGEMMX2);

void s4sgemmx2(F90_GEMM2_ARGUMENTS) { run_gemm2<Real4ByReal8Gemm2>(F90_GEMM2_READ); }

}  // namespace f90::matmul
