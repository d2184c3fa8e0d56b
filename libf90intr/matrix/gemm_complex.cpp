// GEMM kernels of COMPLEX*16 and COMPLEX*8, x87 arithmetic, no conjugation.
//
// Inner-product order: the real sum gains ar*br - ai*bi and the imaginary
// sum ar*bi + ai*br, both in x87 registers, stored (real part first) once.
// Column order: re = (ar*br - ai*bi) + C.re and im = (ai*br + ar*bi) + C.im,
// each rounded at its store; a B element is skipped when neither part
// compares ordered and unequal with zero.
#include "matrix/gemm_loops.h"
#include "matrix/gemm_terms.h"

namespace f90::matmul {

F90_API void cgemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_CGEMMX);
F90_API void c4gemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_C4GEMMX);

void cgemmx(F90_GEMM_ARGUMENTS) { run_gemm<ComplexTerms<double>>(F90_GEMM_READ); }
void c4gemmx(F90_GEMM_ARGUMENTS) { run_gemm<ComplexTerms<float>>(F90_GEMM_READ); }

}  // namespace f90::matmul
