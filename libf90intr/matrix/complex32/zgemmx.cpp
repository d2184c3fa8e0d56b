// COMPLEX*32 matrix product and matrix-vector product.
//
// _ZGEMMX: both loop orders of matrix/gemm_loops.h; _ZGEMVX: y = A.x by
// columns of A. Each term a.b (a from A, b from B or x) is added to the
// running value in eight double-double operations (matrix/real16/dd_kinds.h),
// no conjugation. A multiplier of the column order or of GEMV is used when
// its real or its imaginary part is nonzero with a finite high part.
#include "matrix/gemm_loops.h"
#include "matrix/real16/dd_kinds.h"
#include "matrix/wide_kernels.h"

namespace {

using f90::matrix::real16::Complex32Gemm;

}  // namespace

void zgemmx(F90_GEMM_PARAMS) {
  f90::matrix::gemm<Complex32Gemm>(f90::matrix::read_gemm_args(F90_GEMM_ARGS));
}

// y = A.x: the column order of the GEMM skeleton with x as the one column.
void zgemvx(F90_GEMV_PARAMS) { f90::matrix::gemv<Complex32Gemm>(F90_GEMV_READ); }
