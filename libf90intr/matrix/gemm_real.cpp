// GEMM kernels with x87 arithmetic and a real result: REAL*8, REAL*4, their
// mixed pair, and the integer-by-real kernels.
//
// C = A.B with the loop order of the shared rule (kernel.h): the
// inner-product order keeps one x87 running sum per C element and rounds
// it once at the store; the column order rounds at every store and skips a
// B element that is +-0 or NaN. C has B's kind. An INTEGER*1/2/4 A element
// is sign-extended and loaded exactly.
#include "matrix/gemm_loops.h"
#include "matrix/gemm_terms.h"

namespace f90::matmul {

F90_API void sgemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_SGEMMX);
F90_API void s4gemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_S4GEMMX);
F90_API void s4sgemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_S4SGEMMX);
F90_API void i4sgemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_I4SGEMMX);
F90_API void i2sgemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_I2SGEMMX);
F90_API void i1sgemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_I1SGEMMX);
F90_API void i4s4gemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_I4S4GEMMX);
F90_API void i2s4gemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_I2S4GEMMX);
F90_API void i1s4gemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_I1S4GEMMX);

void sgemmx(F90_GEMM_ARGUMENTS) { run_gemm<RealTerms<double, double>>(F90_GEMM_READ); }
void s4gemmx(F90_GEMM_ARGUMENTS) { run_gemm<RealTerms<float, float>>(F90_GEMM_READ); }
void s4sgemmx(F90_GEMM_ARGUMENTS) { run_gemm<RealTerms<float, double>>(F90_GEMM_READ); }
void i4sgemmx(F90_GEMM_ARGUMENTS) { run_gemm<RealTerms<int32_t, double>>(F90_GEMM_READ); }
void i2sgemmx(F90_GEMM_ARGUMENTS) { run_gemm<RealTerms<int16_t, double>>(F90_GEMM_READ); }
void i1sgemmx(F90_GEMM_ARGUMENTS) { run_gemm<RealTerms<int8_t, double>>(F90_GEMM_READ); }
void i4s4gemmx(F90_GEMM_ARGUMENTS) { run_gemm<RealTerms<int32_t, float>>(F90_GEMM_READ); }
void i2s4gemmx(F90_GEMM_ARGUMENTS) { run_gemm<RealTerms<int16_t, float>>(F90_GEMM_READ); }
void i1s4gemmx(F90_GEMM_ARGUMENTS) { run_gemm<RealTerms<int8_t, float>>(F90_GEMM_READ); }

}  // namespace f90::matmul
