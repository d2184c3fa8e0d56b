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
#include "matrix/sse2_real.h"
#include "x87.h"

using namespace f90::matrix;

// REAL*8 by REAL*8 takes SSE2 lanes where they give the same bits.
void sgemmx(F90_GEMM_PARAMS) {
  const GemmCall g = F90_GEMM_READ;
  const uint16_t cw = x87::get_cw();
  if (sse2_real8_exact(g, cw))
    sse2_real8_gemm(g, cw);
  else
    gemm<RealKind<double, double>>(g);
}
// REAL*4 by REAL*4 likewise.
void s4gemmx(F90_GEMM_PARAMS) {
  const GemmCall g = F90_GEMM_READ;
  const uint16_t cw = x87::get_cw();
  if (sse2_real4_exact(g, cw))
    sse2_real4_gemm(g, cw);
  else
    gemm<RealKind<float, float>>(g);
}
void s4sgemmx(F90_GEMM_PARAMS) { gemm<RealKind<float, double>>(F90_GEMM_READ); }
void i4sgemmx(F90_GEMM_PARAMS) { gemm<RealKind<int32_t, double>>(F90_GEMM_READ); }
void i2sgemmx(F90_GEMM_PARAMS) { gemm<RealKind<int16_t, double>>(F90_GEMM_READ); }
void i1sgemmx(F90_GEMM_PARAMS) { gemm<RealKind<int8_t, double>>(F90_GEMM_READ); }
void i4s4gemmx(F90_GEMM_PARAMS) { gemm<RealKind<int32_t, float>>(F90_GEMM_READ); }
void i2s4gemmx(F90_GEMM_PARAMS) { gemm<RealKind<int16_t, float>>(F90_GEMM_READ); }
void i1s4gemmx(F90_GEMM_PARAMS) { gemm<RealKind<int8_t, float>>(F90_GEMM_READ); }
