// GEMM kernels with a REAL*16 result: REAL*16 by REAL*16 (_DDGEMMX and its
// twin _DGEMMX, which the COMPLEX*32-by-REAL*16 drivers call), REAL*16 by
// REAL*8 and REAL*4, and REAL*8, REAL*4, INTEGER*4/2/1 and INTEGER*8 by
// REAL*16.
//
// Both loop orders of matrix/gemm_loops.h. Every term is
// C = C + A.B in double-double arithmetic, each operand widened exactly
// (matrix/real16/dd_kinds.h). Column order skips a B element that is zero
// and, for a REAL*16 B, one whose high part is infinite or NaN; a REAL*8 or
// REAL*4 infinity is used.
#include "matrix/gemm_loops.h"
#include "matrix/real16/dd_kinds.h"
#include "matrix/wide_kernels.h"

namespace {

using f90::matrix::gemm;
using f90::matrix::read_gemm_args;
using f90::matrix::real16::DD;
using f90::matrix::real16::Real16Gemm;

template <class A, class B>
void run(F90_GEMM_PARAMS) {
  gemm<Real16Gemm<A, B>>(read_gemm_args(F90_GEMM_ARGS));
}

}  // namespace

void ddgemmx(F90_GEMM_PARAMS) { run<DD, DD>(F90_GEMM_ARGS); }
void dgemmx(F90_GEMM_PARAMS) { run<DD, DD>(F90_GEMM_ARGS); }
void dsgemmx(F90_GEMM_PARAMS) { run<DD, double>(F90_GEMM_ARGS); }
void ds4gemmx(F90_GEMM_PARAMS) { run<DD, float>(F90_GEMM_ARGS); }
void sdgemmx(F90_GEMM_PARAMS) { run<double, DD>(F90_GEMM_ARGS); }
void s4dgemmx(F90_GEMM_PARAMS) { run<float, DD>(F90_GEMM_ARGS); }
void i4dgemmx(F90_GEMM_PARAMS) { run<int32_t, DD>(F90_GEMM_ARGS); }
void i2dgemmx(F90_GEMM_PARAMS) { run<int16_t, DD>(F90_GEMM_ARGS); }
void i1dgemmx(F90_GEMM_PARAMS) { run<int8_t, DD>(F90_GEMM_ARGS); }
void jdgemmx(F90_GEMM_PARAMS) { run<int64_t, DD>(F90_GEMM_ARGS); }
