// Exported REAL*16 model constants, 16 bytes each, high double first; every
// low double is +0.0. They hold exactly these patterns (programs may copy
// them by copy relocation). The MAXVAL/MINVAL and MAXLOC/MINLOC workers read
// huge_real16_f90_y_ieee at each use as their REAL*16 start value; the
// others have no reader inside the library.
#include <bit>
#include <cstdint>

#include "symbols.h"
#include "value/types.h"

namespace {

constexpr morvex::DoubleDouble high_part(uint64_t hi) { return {std::bit_cast<double>(hi), 0.0}; }

}  // namespace

// 2^63 - 2^52
F90_API const morvex::DoubleDouble huge_real16_f90_y = high_part(0x43dffc0000000000ull);
F90_API const morvex::DoubleDouble huge_real16_f90_y_ieee = high_part(0x43dffc0000000000ull);
// 2^52
F90_API const morvex::DoubleDouble tiny_real16_f90_y = high_part(0x4330000000000000ull);
F90_API const morvex::DoubleDouble tiny_real16_f90_ieee = high_part(0x4330000000000000ull);
F90_API const morvex::DoubleDouble QUAD_ZERO = high_part(0);
// 2^63 - 2^47
F90_API const morvex::DoubleDouble Qnan = high_part(0x43dfffe000000000ull);
