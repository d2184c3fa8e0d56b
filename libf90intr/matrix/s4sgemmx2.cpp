// C = alpha.A.B + beta.C with REAL*4 A, REAL*8 B, C, alpha and beta.
//
// The skeleton is matrix/gemmx2.h, the arithmetic the x87 unit's under the
// caller's control word: temp = b.alpha rounded to REAL*8; each update
// A(i,l).temp + C(i,j) rounded to REAL*8 at its store; the beta scaling
// beta.C(i,j) rounded to REAL*8. Scalars equal a constant when the x87
// comparison finds them equal or unordered (a NaN equals everything).
#include <cstdint>

#include "matrix/gemmx2.h"
#include "matrix/wide_kernels.h"
#include "x87.h"

namespace {

struct Real4ByReal8Gemm2 {
  using A = float;
  using B = double;
  using C = double;
  using Temp = double;
  static bool equals_zero(double x) { return !__builtin_islessgreater(x, 0.0); }
  static bool equals_one(double x) { return !__builtin_islessgreater(x, 1.0); }
  static bool passes(double b) { return __builtin_islessgreater(b, 0.0); }
  static double zero() { return 0.0; }
  static double scale(double beta, double c) {
    return x87::round_to<double>(static_cast<long double>(beta) * c);
  }
  static double temp(double alpha, double b) {
    return x87::round_to<double>(static_cast<long double>(b) * alpha);
  }
  static double update(double c, double t, float a) {
    return x87::round_to<double>(static_cast<long double>(a) * t + c);
  }
};

}  // namespace

void s4sgemmx2(F90_GEMM2_PARAMS) {
  f90::matrix::gemm2<Real4ByReal8Gemm2>(f90::matrix::read_gemm2_args(F90_GEMM2_ARGS));
}
