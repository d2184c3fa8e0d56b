// GEMV kernels y = A.x of REAL*8, REAL*4, COMPLEX*16 and COMPLEX*8.
//
// M = 0 or N = 0 returns with y untouched; otherwise, for M > 0, y is zeroed
// (also for N < 0), then for every x(j) that passes the nonzero test (real:
// ordered and unequal to zero; complex: either part so) y(i) = x(j)*A(i,j) +
// y(i), rounded to y's kind at every store: the column order of the GEMM
// kernels with x as the single column.
#include "matrix/gemm_loops.h"
#include "matrix/gemm_terms.h"
#include "matrix/kernels.h"

using namespace f90::matrix;

void sgemvx(F90_GEMV_PARAMS) { gemv<RealKind<double, double>>(F90_GEMV_READ); }
void s4gemvx(F90_GEMV_PARAMS) { gemv<RealKind<float, float>>(F90_GEMV_READ); }
void cgemvx(F90_GEMV_PARAMS) { gemv<ComplexKind<double>>(F90_GEMV_READ); }
void c4gemvx(F90_GEMV_PARAMS) { gemv<ComplexKind<float>>(F90_GEMV_READ); }
