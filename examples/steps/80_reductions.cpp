// Step 80: statistics over a 2-D field with MAXVAL, MINVAL, COUNT, ANY and
// ALL, as compiled code calls them: the field and its MASK described by
// hand, one result laid out and allocated by the library, another supplied.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "f90/f90.h"
#include "demo.h"
#include "f90/descriptor.h"


namespace {

constexpr int32_t kRows = 6, kCols = 8;

ArrayDescriptor field_descriptor(void* base, uint32_t type_code, uint32_t bytes) {
  return demo::field_descriptor(base, type_code, bytes, kRows, kCols);
}

}  // namespace

DEMO_STEP(80, "reductions: statistics over a 2-D field") {
  // T(i, j): a temperature field with a warm spot and a cold corner.
  double t[kCols][kRows];
  int32_t warm[kCols][kRows];  // LOGICAL*4 MASK: T > 15
  for (int j = 0; j < kCols; ++j)
    for (int i = 0; i < kRows; ++i) {
      t[j][i] = 12.0 + 8.0 * std::exp(-((i - 2) * (i - 2) + (j - 5) * (j - 5)) / 4.0) -
                3.0 * (i + j < 3 ? 3 - (i + j) : 0);
      warm[j][i] = t[j][i] > 15.0;
    }
  ArrayDescriptor field = field_descriptor(t, TYPE_REAL, 8);
  ArrayDescriptor mask = field_descriptor(warm, TYPE_LOGICAL, 4);

  std::printf("MAXVAL(T) = %.3f   MINVAL(T) = %.3f\n", _MAXVAL0_S(&field, nullptr, nullptr),
              _MINVAL0_S(&field, nullptr, nullptr));
  std::printf("cells warmer than 15: COUNT = %d, coldest of them %.3f\n", _COUNT0(&mask, nullptr),
              _MINVAL0_S(&field, nullptr, &mask));
  std::printf("ANY(T > 15) = %d   ALL(T > 15) = %d\n", _ANY0(&mask, nullptr), _ALL0(&mask, nullptr));

  // Warmest cell of each column: the library lays out and allocates a
  // rank-1 result (the program frees it).
  ArrayDescriptor col_max{};
  col_max.elem_len = 64;
  col_max.flags = f90_flags(1, 0, OBJ_PLAIN);
  col_max.type_word = f90_type_word(TYPE_REAL, 64, 0, 0);
  const int32_t down = 1, across = 2;
  _MAXVAL_S(&col_max, &field, &down, nullptr);
  std::printf("MAXVAL(T, DIM=1):");
  for (int j = 0; j < col_max.dim[0].extent; ++j)
    std::printf(" %.2f", static_cast<double*>(col_max.base)[j]);
  std::printf("\n");
  std::free(col_max.alloc_base);

  // Coldest cell and number of warm cells of each row, into supplied arrays.
  double row_min[kRows];
  int32_t row_warm[kRows];
  ArrayDescriptor rmin{row_min, 64, f90_flags(1, 1, OBJ_PLAIN), f90_type_word(TYPE_REAL, 64, 0, 0),
                       nullptr, 0, {{1, kRows, 2}}};
  ArrayDescriptor rwarm{row_warm, 32, f90_flags(1, 1, OBJ_PLAIN),
                        f90_type_word(TYPE_INTEGER, 32, 0, 0), nullptr, 0, {{1, kRows, 1}}};
  _MINVAL_S(&rmin, &field, &across, nullptr);
  _COUNT_4(&rwarm, &mask, &across);
  for (int i = 0; i < kRows; ++i)
    std::printf("row %d: MINVAL %.2f, warm cells %d\n", i + 1, row_min[i], row_warm[i]);
}
