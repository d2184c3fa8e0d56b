// Step 82: where the extremes of a 2-D field lie, with MAXLOC and MINLOC as
// compiled code calls them: the whole field, under a MASK, and along each
// dimension; one result laid out and allocated by the library, others
// supplied by the program in INTEGER*2 and INTEGER*8.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "f90/f90.h"
#include "demo.h"
#include "f90/descriptor.h"


namespace {

constexpr int32_t kRows = 5, kCols = 7;

ArrayDescriptor field_descriptor(void* base, uint32_t type_code, uint32_t bytes) {
  return demo::field_descriptor(base, type_code, bytes, kRows, kCols);
}

// A rank-1 INTEGER result of n locations of `bytes` bytes in the program's
// storage; its stride counts bytes below 4 bytes, 32-bit words from 4 on.
ArrayDescriptor locations(void* base, uint32_t bytes, int32_t n) {
  const int32_t units = bytes < 4 ? static_cast<int32_t>(bytes) : static_cast<int32_t>(bytes / 4);
  return {base, bytes * 8, f90_flags(1, 1, OBJ_PLAIN), f90_type_word(TYPE_INTEGER, bytes * 8, 0, 0),
          nullptr, 0, {{1, n, units}}};
}

}  // namespace

DEMO_STEP(82, "location reductions: where the extremes lie") {
  // H(i, j): a height field with a hill and a hollow.
  double h[kCols][kRows];
  int32_t low_ground[kCols][kRows];  // LOGICAL*4 MASK: H < 0
  for (int j = 0; j < kCols; ++j)
    for (int i = 0; i < kRows; ++i) {
      h[j][i] = 3.0 * std::exp(-((i - 1) * (i - 1) + (j - 4) * (j - 4)) / 3.0) -
                2.0 * std::exp(-((i - 3) * (i - 3) + (j - 1) * (j - 1)) / 2.0);
      low_ground[j][i] = h[j][i] < 0.0;
    }
  ArrayDescriptor field = field_descriptor(h, TYPE_REAL, 8);
  ArrayDescriptor mask = field_descriptor(low_ground, TYPE_LOGICAL, 4);

  // The whole field: one subscript per dimension, in a library-made result
  // (the program frees it).
  ArrayDescriptor peak{};
  peak.elem_len = 32;
  peak.flags = f90_flags(1, 0, OBJ_PLAIN);
  peak.type_word = f90_type_word(TYPE_INTEGER, 32, 0, 0);
  _MAXLOC_S(&peak, &field, nullptr);
  const int32_t* p = static_cast<const int32_t*>(peak.base);
  std::printf("MAXLOC(H) = (%d, %d), height %.3f\n", p[0], p[1], h[p[1] - 1][p[0] - 1]);
  std::free(peak.alloc_base);

  int16_t hollow[2];
  ArrayDescriptor hollow_d = locations(hollow, 2, 2);
  _MINLOC_S(&hollow_d, &field, nullptr);
  std::printf("MINLOC(H) = (%d, %d), height %.3f\n", hollow[0], hollow[1],
              h[hollow[1] - 1][hollow[0] - 1]);
  _MAXLOC_S(&hollow_d, &field, &mask);
  std::printf("MAXLOC(H, MASK=H<0) = (%d, %d): the highest point of the low ground\n", hollow[0],
              hollow[1]);

  // Along each dimension: the row of each column's peak, and the column of
  // each row's lowest point, as INTEGER*8.
  int32_t down = 1, across = 2;
  ArrayDescriptor dim1{&down, 32, f90_flags(0, 1, OBJ_PLAIN), f90_type_word(TYPE_INTEGER, 32, 0, 0),
                       nullptr, 0, {}};
  ArrayDescriptor dim2 = dim1;
  dim2.base = &across;
  int64_t col_peak[kCols], row_low[kRows];
  ArrayDescriptor col_d = locations(col_peak, 8, kCols), row_d = locations(row_low, 8, kRows);
  _MAXLOC__S(&col_d, &field, &dim1, nullptr);
  _MINLOC__S(&row_d, &field, &dim2, nullptr);
  std::printf("MAXLOC(H, DIM=1):");
  for (int j = 0; j < kCols; ++j) std::printf(" %lld", static_cast<long long>(col_peak[j]));
  std::printf("\nMINLOC(H, DIM=2):");
  for (int i = 0; i < kRows; ++i) std::printf(" %lld", static_cast<long long>(row_low[i]));
  std::printf("\n");
}
