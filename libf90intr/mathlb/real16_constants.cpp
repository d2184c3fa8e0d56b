// REAL*16 model constants read by the reductions. The MAXVAL/MINVAL and
// MAXLOC/MINLOC workers read this one at each use as their REAL*16 start
// value: high part 2^63 - 2^52, low part +0.0.
#include <bit>
#include <cstdint>

#include "symbols.h"
#include "value/types.h"

F90_API const morvex::DoubleDouble huge_real16_f90_y_ieee = {std::bit_cast<double>(0x43dffc0000000000ull), 0.0};
