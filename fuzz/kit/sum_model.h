// Reference model of SUM and PRODUCT: whole-array (one value, terms in the
// walk's order, complex accumulators rounded at the end of every innermost
// run) and along DIM (one value per line, terms in increasing DIM index, the
// running value brought to the element's format after every term).
#pragma once

#include <cstdint>
#include <vector>

#include "layout.h"

namespace fz {

// Element kinds of the SUM and PRODUCT entries.
enum class SK : uint8_t { I1, I2, I4, J, S4, S, D, C4, C, Z };

uint32_t sk_bytes(SK k);
Elem sk_elem(SK k);

// Truth of a MASK element as SUM and PRODUCT read it: LOGICAL*8 by its
// low-order word only, the others by every byte.
bool sum_mask_true(const char* p, uint32_t bytes);

// The whole-array value as the caller sees it: INTEGER*1/2/4 as a 32-bit
// value sign-extended from the kind, INTEGER*8 as 8 bytes, REAL*4/8 as the
// 10 bytes of the unrounded x87 accumulator, the others as the bytes stored
// at the result address. `mask` is null, a scalar, or of the source's shape.
std::vector<uint8_t> model_sum_whole(SK k, bool product, const FArray& source, const FArray* mask);

// Along DIM (0-based): the bytes of every result element, in array element
// order of the source's dimensions without DIM.
std::vector<uint8_t> model_sum_dim(SK k, bool product, const FArray& source, const FArray* mask,
                                   int dim);

}  // namespace fz

namespace fz {

// The fields the SUM and PRODUCT set-up (_PRESUM) fills, in its argument
// order; strides in elements.
struct SetupFields {
  int32_t src_rank, dim_present, dim_value, mask_present, scalar_result;
  char* src_base;
  int32_t src_extent[7], src_stride[7];
  char* res_base;
  int32_t res_extent[7], res_stride[7];
  char* mask_base;
  int32_t mask_extent[7], mask_stride[7];
  int32_t mask_bytes;
  char* mask_base2;
};

// What the set-up writes, starting from `fields` as the caller left them:
// the source's base, rank, extents and strides (storage units of its
// int_len to elements, truncating); DIM's presence and value; the MASK's
// bases, element bytes and, per source dimension, its extent and stride
// (those of a MASK of another rank: 1 and 0; LOGICAL*2 and *8 strides
// halved to elements); the scalar-result flag. A DIM outside 1..rank is
// reported (1405) and ends it there; so does the scalar form. The array
// form then takes the result's geometry from a caller's result (as many
// entries as its rank) or, for a result the routine completes (only with
// DIM; without, 1405), the source's extents without DIM with contiguous
// strides (res_stride[0] = 1 always); `res_base` is left to the caller to
// fill in (the storage's address). Last, with DIM d != 1, entries 0..d-1
// of the source and MASK geometry rotate one place, entry d-1 first, and
// dim_value becomes 1. When the completed result has bytes and
// `allocation_fails`, the set-up reports 1205 after the result geometry and
// goes no further. Returns the report expected (0 for none).
int32_t model_presum(bool array_result, const ArrayDescriptor* result, const ArrayDescriptor* source,
                     const int32_t* dim, const ArrayDescriptor* mask, bool allocation_fails,
                     SetupFields& fields, bool& res_base_written);

}  // namespace fz
