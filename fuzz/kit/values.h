// Numeric element values for the targets that compare, add or multiply:
// many ties and small values, the extremes of every integer kind, and for
// reals NaN, infinities, signed zeros, denormals and values near HUGE;
// REAL*16 values are normalized (high, low) pairs.
#pragma once

#include <cstdint>

#include "layout.h"

namespace fz {

// The numeric families an element (or each part of a complex element) can
// belong to.
enum class Num : uint8_t { kInt, kReal };

// Writes one value of `bytes` bytes (integers 1, 2, 4, 8; reals 4, 8, 16).
// mode 0: small values (-3..3), many ties; mode 1: values over the whole
// range. `special` (0..255) is the chance out of 256 of an extreme value.
void numeric_value(uint8_t* out, Num family, uint32_t bytes, Rng& rng, uint32_t mode,
                   uint32_t special = 112);

// Fills every element of the array: `parts` values of `part_bytes` bytes
// each (2 for complex elements).
void fill_numeric(const FArray& a, Num family, uint32_t part_bytes, uint32_t parts, Rng& rng,
                  uint32_t mode, uint32_t special = 112);

}  // namespace fz
