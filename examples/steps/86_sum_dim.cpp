// Step 86: SUM and PRODUCT along a dimension: column and row totals of a
// REAL*8 table (the result completed and allocated by the library), a masked
// INTEGER*4 row count into the caller's own result, and the REAL*4 running
// value rounded after every term.
#include <cstdint>

#include "f90/f90.h"
#include "demo.h"
#include "f90/descriptor.h"


namespace {

// A contiguous descriptor of rank 1 or 2; strides in bytes below 32 bits, else words.
ArrayDescriptor table_of(void* base, uint32_t code, uint32_t bits, int32_t rows, int32_t cols,
                         bool assoc = true) {
  const int32_t unit = bits < 32 ? static_cast<int32_t>(bits / 8) : static_cast<int32_t>(bits / 32);
  const uint32_t rank = cols > 0 ? 2 : 1;
  ArrayDescriptor d{base, bits, f90_flags(rank, assoc, OBJ_PLAIN), f90_type_word(code, bits, 0, 0),
                    nullptr, 0, {{1, rows, unit}, {1, cols, unit * rows}}};
  return d;
}

}  // namespace

DEMO_STEP(86, "SUM and PRODUCT along a dimension") {
  // Sales of three shops (rows) over four quarters (columns), column-major.
  double sales[12] = {120, 80, 45, 130, 95, 50, 110, 70, 65, 150, 105, 40};
  ArrayDescriptor table = table_of(sales, TYPE_REAL, 64, 3, 4);
  for (int32_t dim = 1; dim <= 2; ++dim) {
    // No storage yet: the library shapes and allocates the result.
    ArrayDescriptor totals = table_of(nullptr, TYPE_REAL, 64, 0, -1, false);
    _SUM_S(&totals, &table, &dim, nullptr);
    std::printf("SUM(sales, DIM=%d) =", dim);
    for (int32_t k = 0; k < totals.dim[0].extent; ++k)
      std::printf(" %.0f", static_cast<const double*>(totals.base)[k]);
    std::printf("\n");
  }

  // PRODUCT along DIM 2 under a MASK, into the caller's own result.
  int32_t factor[6] = {2, 3, 5, 7, 11, 13};  // 2 x 3
  int32_t keep[6] = {1, 1, 0, 1, 1, 0};
  int32_t prod[2];
  ArrayDescriptor f = table_of(factor, TYPE_INTEGER, 32, 2, 3);
  ArrayDescriptor m = table_of(keep, TYPE_LOGICAL, 32, 2, 3);
  ArrayDescriptor p = table_of(prod, TYPE_INTEGER, 32, 2, -1);
  const int32_t two = 2;
  _PROD_I4(&p, &f, &two, &m);
  std::printf("PRODUCT(((2,5,11),(3,7,13)), DIM=2, MASK) = %d %d\n", prod[0], prod[1]);

  // The running value is the REAL*4 result element: rounded after each term,
  // so the order of the terms along DIM decides what survives.
  float col[6] = {1.0f, 0x1p-24f, 0x1p-24f, 0x1p-24f, 0x1p-24f, 1.0f};  // 3 x 2
  float out[2];
  ArrayDescriptor c = table_of(col, TYPE_REAL, 32, 3, 2);
  ArrayDescriptor o = table_of(out, TYPE_REAL, 32, 2, -1);
  const int32_t one = 1;
  _SUM_S4(&o, &c, &one, nullptr);
  std::printf("SUM((1, 2^-24, 2^-24)) = %.9f   SUM((2^-24, 2^-24, 1)) = %.9f\n",
              static_cast<double>(out[0]), static_cast<double>(out[1]));
}
