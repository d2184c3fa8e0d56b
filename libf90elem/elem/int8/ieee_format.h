// REAL arguments taken as their encoding, for the conversions between
// INTEGER*8 and REAL that work on the bits.
#pragma once

#include <bit>
#include <cstdint>

#include "real/float_bits.h"

namespace morvex::int8 {

// The IEEE layout itself (fraction bits, bias, exponent field, sign bit) is
// the one the REAL elementals use.
using real::FloatBits;
using real::kSignBit;

// A REAL*8 or REAL*4 argument taken as its encoding: these structs occupy the
// same stack slots as the double or float a caller pushes. Reading the bits
// of a `double` parameter makes g++ copy it through the x87 unit, and an
// 8-byte load of an argument the caller pushed as two 4-byte words cannot be
// forwarded from those stores: on current processors that stall costs more
// than the whole conversion.
struct Real8Arg {
  uint32_t lo, hi;
  uint64_t bits() const { return std::bit_cast<uint64_t>(*this); }
};
struct Real4Arg {
  uint32_t word;
  uint32_t bits() const { return word; }
};
static_assert(sizeof(Real8Arg) == sizeof(double) && sizeof(Real4Arg) == sizeof(float));

// Biased exponent of |x| >= 2^63: where the conversions to INTEGER*8 saturate.
template <class F>
inline constexpr int kSaturatingExponent = FloatBits<F>::kBias + 63;

}  // namespace morvex::int8
