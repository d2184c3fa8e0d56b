// The matrix kernels with a REAL*16, COMPLEX*32 or INTEGER*8-by-real side and
// the GEMMX2 forms, under the readable names the drivers call them by.
//
// GEMM: (M, N, K, A, As1, As2, B, Bs1, Bs2, C, Cs1, Cs2), C = A.B.
// GEMV: (M, N, A, As1, As2, x, incx, y, incy), y = A.x.
// GEMMX2: (M, N, K, alpha, A, As1, As2, B, Bs1, Bs2, beta, C, Cs1, Cs2),
// C = alpha.A.B + beta.C. Every argument by reference, strides in elements of
// the array's own kind; the kernel named _<a><b>... takes A of kind a and B of
// kind b. Nothing is checked, reported or allocated.
#pragma once

#include <cstdint>

#include "matrix/kernel.h"
#include "symbols.h"

// REAL*16 results.
F90_API void ddgemmx(F90_GEMM_PARAMS) F90_SYMBOL(_DDGEMMX);
F90_API void dgemmx(F90_GEMM_PARAMS) F90_SYMBOL(_DGEMMX);
F90_API void dsgemmx(F90_GEMM_PARAMS) F90_SYMBOL(_DSGEMMX);
F90_API void ds4gemmx(F90_GEMM_PARAMS) F90_SYMBOL(_DS4GEMMX);
F90_API void sdgemmx(F90_GEMM_PARAMS) F90_SYMBOL(_SDGEMMX);
F90_API void s4dgemmx(F90_GEMM_PARAMS) F90_SYMBOL(_S4DGEMMX);
F90_API void i4dgemmx(F90_GEMM_PARAMS) F90_SYMBOL(_I4DGEMMX);
F90_API void i2dgemmx(F90_GEMM_PARAMS) F90_SYMBOL(_I2DGEMMX);
F90_API void i1dgemmx(F90_GEMM_PARAMS) F90_SYMBOL(_I1DGEMMX);
F90_API void jdgemmx(F90_GEMM_PARAMS) F90_SYMBOL(_JDGEMMX);
// COMPLEX*32.
F90_API void zgemmx(F90_GEMM_PARAMS) F90_SYMBOL(_ZGEMMX);
F90_API void zgemvx(F90_GEMV_PARAMS) F90_SYMBOL(_ZGEMVX);
// INTEGER*8 by REAL*8 and by REAL*4.
F90_API void jsgemmx(F90_GEMM_PARAMS) F90_SYMBOL(_JSGEMMX);
F90_API void js4gemmx(F90_GEMM_PARAMS) F90_SYMBOL(_JS4GEMMX);
// C = alpha.A.B + beta.C.
F90_API void s4sgemmx2(F90_GEMM2_PARAMS) F90_SYMBOL(_S4SGEMMX2);
F90_API void s4dgemmx2(F90_GEMM2_PARAMS) F90_SYMBOL(_S4DGEMMX2);
F90_API void dsgemmx2(F90_GEMM2_PARAMS) F90_SYMBOL(_DSGEMMX2);
F90_API void ds4gemmx2(F90_GEMM2_PARAMS) F90_SYMBOL(_DS4GEMMX2);
