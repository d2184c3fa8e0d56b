// Value types of the multi-word kinds as they travel by value and lie in
// memory: REAL*16 (a double-double, hi + lo), COMPLEX*8, COMPLEX*16 and
// COMPLEX*32 (a pair of double-doubles). Plain, trivially copyable structs
// without alignment attributes: a REAL*16 argument takes four 4-byte stack
// slots (hi first), a COMPLEX*32 eight. Both libraries use these types.
#pragma once

#include <type_traits>

namespace morvex {

struct DoubleDouble {
  double hi;
  double lo;
};
struct Complex8 {
  float re;
  float im;
};
struct Complex16 {
  double re;
  double im;
};
struct Complex32 {
  DoubleDouble re;
  DoubleDouble im;
};

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
