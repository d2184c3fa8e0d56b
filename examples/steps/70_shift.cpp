// Step 70: CSHIFT and EOSHIFT of a vector and of a matrix along its rows,
// with a SHIFT array giving each row its own shift and a BOUNDARY array
// giving each row its own fill value.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "f90/f90.h"
#include "demo.h"
#include "f90/descriptor.h"


namespace {

const uint32_t kInt4 = f90_type_word(TYPE_INTEGER, 32, 0, 0);

ArrayDescriptor int_array(int32_t* base, int rank, int32_t rows, int32_t cols = 1) {
  ArrayDescriptor d;
  std::memset(&d, 0, sizeof d);
  d.base = base;
  d.elem_len = 32;
  d.type_word = kInt4;
  d.flags = f90_flags(static_cast<uint32_t>(rank), base != nullptr ? 1 : 0, OBJ_PLAIN);
  d.dim[0] = {1, rows, 1};
  if (rank == 2) d.dim[1] = {1, cols, rows};
  return d;
}

void print_vector(const char* what, const ArrayDescriptor& r) {
  std::printf("%-34s [", what);
  const int32_t* v = static_cast<const int32_t*>(r.base);
  for (int i = 0; i < r.dim[0].extent; ++i) std::printf(i ? ", %d" : "%d", v[i]);
  std::printf("]\n");
  std::free(r.alloc_base);
}

void print_matrix(const char* what, const ArrayDescriptor& r) {
  std::printf("%s\n", what);
  const int32_t* v = static_cast<const int32_t*>(r.base);
  for (int i = 0; i < r.dim[0].extent; ++i) {
    std::printf("   ");
    for (int j = 0; j < r.dim[1].extent; ++j) std::printf(" %3d", v[i + j * r.dim[0].extent]);
    std::printf("\n");
  }
  std::free(r.alloc_base);
}

}  // namespace

DEMO_STEP(70, "CSHIFT and EOSHIFT") {
  int32_t v[] = {1, 2, 3, 4, 5};
  ArrayDescriptor vec = int_array(v, 1, 5);
  int32_t two = 2, minus_one = -1, nine = 9;
  ArrayDescriptor s2 = int_array(&two, 0, 0), sm1 = int_array(&minus_one, 0, 0),
                  b9 = int_array(&nine, 0, 0);

  ArrayDescriptor r = int_array(nullptr, 1, 0);
  _CSHIFT(&r, &vec, &s2, nullptr);
  print_vector("CSHIFT([1,2,3,4,5], 2)", r);
  r = int_array(nullptr, 1, 0);
  _CSHIFT(&r, &vec, &sm1, nullptr);
  print_vector("CSHIFT([1,2,3,4,5], -1)", r);
  r = int_array(nullptr, 1, 0);
  _EOSHIFT(&r, &vec, &s2, nullptr, nullptr);
  print_vector("EOSHIFT([1,2,3,4,5], 2)", r);
  r = int_array(nullptr, 1, 0);
  _EOSHIFT(&r, &vec, &sm1, &b9, nullptr);
  print_vector("EOSHIFT([1,2,3,4,5], -1, 9)", r);

  // m(i, j) = 10 i + j, 3 x 4; rows shifted by [1, 0, -1] along DIM 2
  int32_t m[12];
  for (int j = 0; j < 4; ++j)
    for (int i = 0; i < 3; ++i) m[i + 3 * j] = 10 * (i + 1) + j + 1;
  ArrayDescriptor mat = int_array(m, 2, 3, 4);
  int32_t shifts[] = {1, 0, -1}, fills[] = {-7, -8, -9};
  ArrayDescriptor sh = int_array(shifts, 1, 3), bd = int_array(fills, 1, 3);
  const int32_t dim2 = 2;
  print_matrix("m", mat);
  ArrayDescriptor rm = int_array(nullptr, 2, 0, 0);
  _CSHIFT(&rm, &mat, &sh, &dim2);
  print_matrix("CSHIFT(m, [1, 0, -1], DIM=2)", rm);
  rm = int_array(nullptr, 2, 0, 0);
  _EOSHIFT(&rm, &mat, &sh, &bd, &dim2);
  print_matrix("EOSHIFT(m, [1, 0, -1], [-7, -8, -9], DIM=2)", rm);
}
