// Step 75: RESHAPE, PACK, SPREAD and UNPACK on small INTEGER*4 arrays, with
// results the library allocates (the program frees them), the way compiled
// code calls them.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "demo.h"
#include "f90/f90.h"


namespace {

const uint32_t kInt4 = f90_type_word(TYPE_INTEGER, 32, 0, 0);
const uint32_t kLogical4 = f90_type_word(TYPE_LOGICAL, 32, 0, 0);

// A contiguous descriptor of 32-bit elements over `data`, or an empty result
// of the given rank when data is null.
ArrayDescriptor describe(int32_t* data, uint32_t type_word, int rank, const int32_t* extents) {
  ArrayDescriptor d;
  std::memset(&d, 0, sizeof d);
  d.base = data;
  d.elem_len = 32;
  d.type_word = type_word;
  d.flags = f90_flags(static_cast<uint32_t>(rank), data != nullptr, OBJ_PLAIN);
  int32_t stride = 1;
  for (int i = 0; data != nullptr && i < rank; ++i) {
    d.dim[i] = {1, extents[i], stride};
    stride *= extents[i];
  }
  return d;
}

// Prints a rank-1 or rank-2 result row by row and frees its storage.
void show(const char* what, ArrayDescriptor& r) {
  const int rank = static_cast<int>(r.flags >> F90_FLAG_RANK_SHIFT);
  const int32_t rows = r.dim[0].extent, cols = rank > 1 ? r.dim[1].extent : 1;
  std::printf("%-34s", what);
  for (int i = 0; i < rows; ++i) {
    std::printf(rank > 1 ? " [" : " ");
    for (int j = 0; j < cols; ++j) {
      const int32_t* p = static_cast<int32_t*>(r.base) + i * r.dim[0].stride + (rank > 1 ? j * r.dim[1].stride : 0);
      std::printf(j ? " %d" : "%d", *p);
    }
    std::printf(rank > 1 ? "]" : "");
  }
  std::printf("\n");
  std::free(r.alloc_base);
}

}  // namespace

DEMO_STEP(75, "RESHAPE, PACK, SPREAD and UNPACK") {
  int32_t numbers[] = {1, 2, 3, 4, 5, 6};
  const int32_t six = 6, two_three[] = {2, 3}, two = 2;
  int32_t shape_values[] = {2, 3}, order_values[] = {2, 1};
  ArrayDescriptor source = describe(numbers, kInt4, 1, &six);
  ArrayDescriptor shape = describe(shape_values, kInt4, 1, &two);
  ArrayDescriptor order = describe(order_values, kInt4, 1, &two);

  ArrayDescriptor matrix = describe(nullptr, kInt4, 0, nullptr);
  _RESHAPE(&matrix, &source, &shape, nullptr, nullptr);
  std::printf("RESHAPE((1..6), (2, 3)) has rank %u\n", matrix.flags >> F90_FLAG_RANK_SHIFT);
  show("  rows:", matrix);

  ArrayDescriptor ordered = describe(nullptr, kInt4, 0, nullptr);
  _RESHAPE(&ordered, &source, &shape, nullptr, &order);
  show("RESHAPE(..., ORDER=(2, 1)) rows:", ordered);

  // PACK(numbers, MASK = numbers > 2): the library sized the result by the
  // array and corrected its extent afterwards.
  int32_t above_two[6];
  for (int i = 0; i < 6; ++i) above_two[i] = numbers[i] > 2;
  ArrayDescriptor mask = describe(above_two, kLogical4, 1, &six);
  ArrayDescriptor packed = describe(nullptr, kInt4, 1, nullptr);
  _PACK(&packed, &source, &mask, nullptr);
  std::printf("PACK(numbers, numbers > 2) has extent %d in storage of %u bits\n", packed.dim[0].extent,
              packed.alloc_size);
  show("  elements:", packed);

  ArrayDescriptor first_three = describe(numbers, kInt4, 1, two_three + 1);
  ArrayDescriptor spread = describe(nullptr, kInt4, 2, nullptr);
  const int32_t dim2 = 2;
  _SPREAD(&spread, &first_three, &dim2, &two);
  show("SPREAD((1, 2, 3), 2, 2) rows:", spread);

  // UNPACK((10, 20, 30), MASK = numbers > 2, FIELD = 0).
  int32_t vector_values[] = {10, 20, 30, 40}, zero = 0;
  const int32_t four = 4;
  ArrayDescriptor vector = describe(vector_values, kInt4, 1, &four);
  ArrayDescriptor field = describe(&zero, kInt4, 0, nullptr);
  ArrayDescriptor unpacked = describe(nullptr, kInt4, 1, nullptr);
  _UNPACK(&unpacked, &vector, &mask, &field);
  show("UNPACK((10, 20, 30, 40), mask, 0):", unpacked);
}
