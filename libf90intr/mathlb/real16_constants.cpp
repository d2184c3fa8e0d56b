// Exported REAL*16 model constants, 16 bytes each, high double first; every
// low double is +0.0. They hold exactly these patterns (programs may copy
// them by copy relocation). The MAXVAL/MINVAL and MAXLOC/MINLOC workers read
// huge_real16_f90_y_ieee at each use as their REAL*16 start value; the
// others have no reader inside the library.
#include <cstdint>

#include "symbols.h"

namespace {

struct Real16Pattern {
  uint64_t hi;
  uint64_t lo;
};
static_assert(sizeof(Real16Pattern) == 16);

}  // namespace

// 2^63 - 2^52
F90_API const Real16Pattern huge_real16_f90_y = {0x43dffc0000000000ull, 0};
F90_API const Real16Pattern huge_real16_f90_y_ieee = {0x43dffc0000000000ull, 0};
// 2^52
F90_API const Real16Pattern tiny_real16_f90_y = {0x4330000000000000ull, 0};
F90_API const Real16Pattern tiny_real16_f90_ieee = {0x4330000000000000ull, 0};
F90_API const Real16Pattern QUAD_ZERO = {0, 0};
// 2^63 - 2^47
F90_API const Real16Pattern Qnan = {0x43dfffe000000000ull, 0};
