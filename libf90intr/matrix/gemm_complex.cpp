// GEMM kernels of COMPLEX*16 and COMPLEX*8, x87 arithmetic, no conjugation.
//
// Inner-product order: the real sum gains ar*br - ai*bi and the imaginary
// sum ar*bi + ai*br, both in x87 registers, stored (real part first) once.
// Column order: re = (ar*br - ai*bi) + C.re and im = (ai*br + ar*bi) + C.im,
// each rounded at its store; a B element is skipped when neither part
// compares ordered and unequal with zero.
#include "matrix/gemm_loops.h"
#include "matrix/gemm_terms.h"
#include "matrix/kernels.h"

using namespace f90::matrix;

void cgemmx(F90_GEMM_PARAMS) { gemm<ComplexKind<double>>(F90_GEMM_READ); }
void c4gemmx(F90_GEMM_PARAMS) { gemm<ComplexKind<float>>(F90_GEMM_READ); }
