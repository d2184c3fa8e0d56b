// COMPLEX*32 matrix product (_ZGEMMX, the two loop orders of
// matrix/gemm_loops.h) and matrix-vector product (_ZGEMVX: y zeroed, then
// the column order with x as the single column). Each term a.b, a from A and
// b from B or x, is added to the running value in eight double-double
// operations, no conjugation (matrix/real16/dd_terms.h). A multiplier is used
// when its real or its imaginary part is nonzero with a finite high part.
#include "matrix/gemm_loops.h"
#include "matrix/real16/dd_terms.h"

namespace f90::matmul {

F90_API void zgemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_ZGEMMX);
F90_API void zgemvx(F90_GEMV_ARGUMENTS) F90_SYMBOL(_ZGEMVX);

void zgemmx(F90_GEMM_ARGUMENTS) { run_gemm<real16::Complex32Terms>(F90_GEMM_READ); }
void zgemvx(F90_GEMV_ARGUMENTS) { run_gemv<real16::Complex32Terms>(F90_GEMV_READ); }

}  // namespace f90::matmul
