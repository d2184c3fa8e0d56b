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
