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
#include "matrix/kernels.h"

using namespace f90::matrix;

void sgemmx(F90_GEMM_PARAMS) { gemm<RealKind<double, double>>(F90_GEMM_READ); }
void s4gemmx(F90_GEMM_PARAMS) { gemm<RealKind<float, float>>(F90_GEMM_READ); }
void s4sgemmx(F90_GEMM_PARAMS) { gemm<RealKind<float, double>>(F90_GEMM_READ); }
void i4sgemmx(F90_GEMM_PARAMS) { gemm<RealKind<int32_t, double>>(F90_GEMM_READ); }
void i2sgemmx(F90_GEMM_PARAMS) { gemm<RealKind<int16_t, double>>(F90_GEMM_READ); }
void i1sgemmx(F90_GEMM_PARAMS) { gemm<RealKind<int8_t, double>>(F90_GEMM_READ); }
void i4s4gemmx(F90_GEMM_PARAMS) { gemm<RealKind<int32_t, float>>(F90_GEMM_READ); }
void i2s4gemmx(F90_GEMM_PARAMS) { gemm<RealKind<int16_t, float>>(F90_GEMM_READ); }
void i1s4gemmx(F90_GEMM_PARAMS) { gemm<RealKind<int8_t, float>>(F90_GEMM_READ); }
