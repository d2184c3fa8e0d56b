// COMPLEX*32 matrix product and matrix-vector product.
//
// _ZGEMMX: both loop orders of matrix/gemm_orders.h; _ZGEMVX: y = A.x by
// columns of A. Each term a.b (a from A, b from B or x) is added to the
// running value in eight double-double operations (matrix/real16/dd_kinds.h),
// no conjugation. A multiplier of the column order or of GEMV is used when
// its real or its imaginary part is nonzero with a finite high part.
#include "matrix/gemm_orders.h"
#include "matrix/real16/dd_kinds.h"
#include "matrix/wide_kernels.h"

namespace {

using f90::matrix::load_elem;
using f90::matrix::step;
using f90::matrix::store_elem;
using f90::matrix::real16::Complex32;
using f90::matrix::real16::Complex32Gemm;

}  // namespace

void zgemmx(F90_GEMM_PARAMS) {
  f90::matrix::gemm<Complex32Gemm>(f90::matrix::read_gemm_args(F90_GEMM_ARGS));
}

// y(i) = 0 for i = 1..M; then for every x(j) that passes the nonzero test,
// y(i) = y(i) + A(i,j).x(j), stored at once. N < 1 leaves y zero.
void zgemvx(F90_GEMV_PARAMS) {
  using K = Complex32Gemm;
  const int32_t rows = *m, cols = *n;
  if (rows == 0 || cols == 0) return;
  const uintptr_t ai = step(*as1, sizeof(Complex32)), aj = step(*as2, sizeof(Complex32));
  const uintptr_t xj = step(*incx, sizeof(Complex32)), yi = step(*incy, sizeof(Complex32));
  const uintptr_t y0 = reinterpret_cast<uintptr_t>(y);
  uintptr_t yp = y0;
  for (int32_t i = 0; i < rows; ++i, yp += yi) store_elem(yp, K::zero());
  uintptr_t acol = reinterpret_cast<uintptr_t>(a), xp = reinterpret_cast<uintptr_t>(x);
  for (int32_t j = 0; j < cols; ++j, acol += aj, xp += xj) {
    const Complex32 v = load_elem<Complex32>(xp);
    if (!K::passes(v)) continue;
    uintptr_t ap = acol;
    yp = y0;
    for (int32_t i = 0; i < rows; ++i, ap += ai, yp += yi) {
      Complex32 s = load_elem<Complex32>(yp);
      K::term(s, load_elem<Complex32>(ap), v);
      store_elem(yp, s);
    }
  }
}
