// Reference model of MAXLOC and MINLOC: a plain scan in array element order.
#pragma once

#include <cstdint>
#include <vector>

#include "layout.h"

namespace fz {

// The bytes of one element of the worker's element code (7 INTEGER*1,
// 8 INTEGER*2, 15 INTEGER*4, 17 INTEGER*8, 18 REAL*8, 19 REAL*16, 20 REAL*4).
uint32_t location_elem_bytes(int code);

// Locations of the first greatest (max) or least element of `source`, among
// the elements whose `mask` element is true (mask null: every element).
// Without DIM (dim < 0): one 1-based subscript per source dimension. Along
// dimension `dim` (0-based): one position per line, the lines in array
// element order of the remaining dimensions. The first element considered
// is taken, every value of the kind included (the most negative integer,
// -Inf); a later one replaces it only when strictly greater (less). REAL*4/8
// greatest: also when the two are unordered (a NaN is taken and passed on);
// least: a NaN is never taken. REAL*16: an element whose high part is not
// finite is never taken; order by the library's double-double comparison.
// When nothing is taken: 1 unmasked, 0 masked.
std::vector<int32_t> model_locations(int code, bool max, const FArray& source, const FArray* mask,
                                     int dim);

}  // namespace fz
