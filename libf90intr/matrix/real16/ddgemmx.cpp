// GEMM kernels with a REAL*16 result: REAL*16 by REAL*16 (_DDGEMMX and its
// twin _DGEMMX, which the COMPLEX*32-by-REAL*16 drivers call), REAL*16 by
// REAL*8 and by REAL*4, and REAL*8, REAL*4, INTEGER*4/2/1 and INTEGER*8 by
// REAL*16.
//
// The two loop orders and the rule between them are the shared ones
// (matrix/gemm_loops.h); every term is C + A.B in double-double arithmetic
// with both operands widened exactly (matrix/real16/dd_terms.h). The column
// order skips a B element that is zero and, for a REAL*16 B, one whose high
// part is infinite or NaN; a REAL*8 or REAL*4 infinity is used.
#include "matrix/gemm_loops.h"
#include "matrix/real16/dd_terms.h"

namespace f90::matmul {

F90_API void ddgemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_DDGEMMX);
F90_API void dgemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_DGEMMX);
F90_API void dsgemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_DSGEMMX);
F90_API void ds4gemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_DS4GEMMX);
F90_API void sdgemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_SDGEMMX);
F90_API void s4dgemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_S4DGEMMX);
F90_API void i4dgemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_I4DGEMMX);
F90_API void i2dgemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_I2DGEMMX);
F90_API void i1dgemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_I1DGEMMX);
F90_API void jdgemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_JDGEMMX);

using real16::DD;
using real16::WideTerms;

void ddgemmx(F90_GEMM_ARGUMENTS) { run_gemm<WideTerms<DD, DD>>(F90_GEMM_READ); }
void dgemmx(F90_GEMM_ARGUMENTS) { run_gemm<WideTerms<DD, DD>>(F90_GEMM_READ); }
void dsgemmx(F90_GEMM_ARGUMENTS) { run_gemm<WideTerms<DD, double>>(F90_GEMM_READ); }
void ds4gemmx(F90_GEMM_ARGUMENTS) { run_gemm<WideTerms<DD, float>>(F90_GEMM_READ); }
void sdgemmx(F90_GEMM_ARGUMENTS) { run_gemm<WideTerms<double, DD>>(F90_GEMM_READ); }
void s4dgemmx(F90_GEMM_ARGUMENTS) { run_gemm<WideTerms<float, DD>>(F90_GEMM_READ); }
void i4dgemmx(F90_GEMM_ARGUMENTS) { run_gemm<WideTerms<int32_t, DD>>(F90_GEMM_READ); }
void i2dgemmx(F90_GEMM_ARGUMENTS) { run_gemm<WideTerms<int16_t, DD>>(F90_GEMM_READ); }
void i1dgemmx(F90_GEMM_ARGUMENTS) { run_gemm<WideTerms<int8_t, DD>>(F90_GEMM_READ); }
void jdgemmx(F90_GEMM_ARGUMENTS) { run_gemm<WideTerms<int64_t, DD>>(F90_GEMM_READ); }

}  // namespace f90::matmul
