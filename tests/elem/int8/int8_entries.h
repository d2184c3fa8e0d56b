// The INTEGER*8 routines as compiled code declares them. Conversions to REAL
// are read as long double: the value st(0) holds, before any rounding store.
#pragma once

#include <cstdint>

#include "f90/f90.h"


namespace int8test {

inline constexpr int64_t kMax = INT64_MAX;
inline constexpr int64_t kMin = INT64_MIN;
inline constexpr int64_t p2(int n) { return static_cast<int64_t>(uint64_t{1} << n); }

}  // namespace int8test
