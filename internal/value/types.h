// Value types of the multi-word kinds as they travel by value and lie in
// memory: REAL*16 (a double-double, hi + lo), COMPLEX*8, COMPLEX*16 and
// COMPLEX*32 (a pair of double-doubles). Their one definition is the public
// header's (plain C structs, no alignment attributes: a REAL*16 argument
// takes four 4-byte stack slots, hi first, a COMPLEX*32 eight); both
// libraries name them through these namespaces.
#pragma once

#include <type_traits>

#include "f90/values.h"

namespace morvex {

using ::Complex16;
using ::Complex32;
using ::Complex8;
using ::DoubleDouble;

static_assert(sizeof(DoubleDouble) == 16 && alignof(DoubleDouble) <= 8);
static_assert(sizeof(Complex8) == 8 && sizeof(Complex16) == 16 && sizeof(Complex32) == 32);
static_assert(std::is_trivially_copyable_v<DoubleDouble> &&
              std::is_trivially_copyable_v<Complex32>);

}  // namespace morvex

namespace f90 {
using morvex::Complex16;
using morvex::Complex32;
using morvex::Complex8;
using morvex::DoubleDouble;
}  // namespace f90
