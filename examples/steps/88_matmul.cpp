// Step 88: MATMUL: a rotation applied to a set of points (REAL*8, the result
// shaped and allocated by the library), the residual of a small linear
// system (matrix times vector) and the same product with one factor given
// transposed, and a COMPLEX*16 matrix times a REAL*8 one (real and imaginary
// parts computed separately).
#include <cmath>
#include <cstdint>

#include "demo.h"
#include "f90/descriptor.h"
#include "f90/matmul.h"

namespace {

// A contiguous REAL*8 or COMPLEX*16 array of rank 1 (cols < 0) or 2.
ArrayDescriptor array_of(void* base, uint32_t code, uint32_t bits, int32_t rows, int32_t cols,
                         bool assoc = true) {
  const int32_t unit = static_cast<int32_t>(bits / 32);
  const uint32_t rank = cols >= 0 ? 2 : 1;
  return {base, bits, f90_flags(rank, assoc, OBJ_PLAIN), f90_type_word(code, bits, 0, 0),
          nullptr, 0, {{1, rows, unit}, {1, cols, unit * rows}}};
}

}  // namespace

DEMO_STEP(88, "MATMUL") {
  // Four corners of a unit square (2 x 4, one point per column), rotated by
  // 30 degrees about the origin.
  const double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6);
  double rot[4] = {c, s, -s, c};
  double square[8] = {0, 0, 1, 0, 1, 1, 0, 1};
  ArrayDescriptor r = array_of(rot, TYPE_REAL, 64, 2, 2);
  ArrayDescriptor p = array_of(square, TYPE_REAL, 64, 2, 4);
  ArrayDescriptor moved = array_of(nullptr, TYPE_REAL, 64, 0, 0, false);
  _MATMUL_SS(&moved, &r, &p, nullptr);
  const double* q = static_cast<const double*>(moved.base);
  std::printf("rotated square:");
  for (int k = 0; k < 4; ++k) std::printf(" (%.4f, %.4f)", q[2 * k], q[2 * k + 1]);
  std::printf("\n");

  // A x = b with x = (1, 2, 3): the residual A x - b through the
  // matrix-vector path, then x^T A^T through the transposition flag.
  double a[9] = {4, 1, 0, 1, 3, 1, 0, 1, 2};  // symmetric tridiagonal
  double x[3] = {1, 2, 3}, b[3] = {6, 10, 8}, ax[3], xat[3];
  ArrayDescriptor da = array_of(a, TYPE_REAL, 64, 3, 3);
  ArrayDescriptor dx = array_of(x, TYPE_REAL, 64, 3, -1);
  ArrayDescriptor dax = array_of(ax, TYPE_REAL, 64, 3, -1);
  _MATMUL_SS(&dax, &da, &dx, nullptr);
  std::printf("A x - b = (%g, %g, %g)\n", ax[0] - b[0], ax[1] - b[1], ax[2] - b[2]);
  ArrayDescriptor dxat = array_of(xat, TYPE_REAL, 64, 3, -1);
  const int32_t transpose_b = MATMUL_TRANSPOSE_B;
  _MATMUL_SS(&dxat, &dx, &da, &transpose_b);
  std::printf("x^T A^T = (%g, %g, %g)\n", xat[0], xat[1], xat[2]);

  // (1+i, 2-i) as a 2 x 1 COMPLEX*16 matrix times the 1 x 2 REAL*8 (3, 4).
  double z[4] = {1, 1, 2, -1}, w[2] = {3, 4}, zw[8];
  ArrayDescriptor dz = array_of(z, TYPE_COMPLEX, 128, 2, 1);
  ArrayDescriptor dw = array_of(w, TYPE_REAL, 64, 1, 2);
  ArrayDescriptor dzw = array_of(zw, TYPE_COMPLEX, 128, 2, 2);
  _MATMUL_CS(&dzw, &dz, &dw, nullptr);
  std::printf("(1+i, 2-i) x (3, 4) =");
  for (int k = 0; k < 4; ++k) std::printf(" %g%+gi", zw[2 * k], zw[2 * k + 1]);
  std::printf("\n");
}
