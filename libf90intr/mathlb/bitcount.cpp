// POPCNT, POPPAR and LEADZ of 32- and 64-bit integers.
//
// POPCNT sums adjacent bit fields in five rounds (1, 2, 4, 8 and 16 bits);
// the INTEGER*8 form adds the counts of its two words. POPPAR is the count's
// lowest bit. LEADZ counts the zero bits above the highest set bit: 32 (64)
// for 0; the INTEGER*8 form counts in the high word, or 32 plus the count of
// the low word when the high word is zero. The _4 forms are the _I4 ones.
#include <bit>
#include <cstdint>

#include "symbols.h"

namespace {

constexpr int32_t popcount32(uint32_t x) {
  x = (x & 0x55555555u) + ((x >> 1) & 0x55555555u);
  x = (x & 0x33333333u) + ((x >> 2) & 0x33333333u);
  x = (x & 0x0f0f0f0fu) + ((x >> 4) & 0x0f0f0f0fu);
  x = (x & 0x00ff00ffu) + ((x >> 8) & 0x00ff00ffu);
  return static_cast<int32_t>((x & 0xffffu) + (x >> 16));
}

constexpr int32_t popcount64(uint64_t x) {
  return popcount32(static_cast<uint32_t>(x)) + popcount32(static_cast<uint32_t>(x >> 32));
}

constexpr int32_t leadz32(uint32_t x) { return std::countl_zero(x); }

constexpr int32_t leadz64(uint64_t x) {
  const uint32_t high = static_cast<uint32_t>(x >> 32);
  return high != 0 ? leadz32(high) : 32 + leadz32(static_cast<uint32_t>(x));
}

}  // namespace

F90_API int32_t popcnt_i4(uint32_t x) F90_SYMBOL(_POPCNT_I4);
F90_API int32_t popcnt_4(uint32_t x) F90_SYMBOL(_POPCNT_4);
F90_API int32_t popcnt_8(uint64_t x) F90_SYMBOL(_POPCNT);
F90_API int32_t poppar_i4(uint32_t x) F90_SYMBOL(_POPPAR_I4);
F90_API int32_t poppar_4(uint32_t x) F90_SYMBOL(_POPPAR_4);
F90_API int32_t poppar_8(uint64_t x) F90_SYMBOL(_POPPAR);
F90_API int32_t leadz_i4(uint32_t x) F90_SYMBOL(_LEADZ_I4);
F90_API int32_t leadz_4(uint32_t x) F90_SYMBOL(_LEADZ_4);
F90_API int32_t leadz_8(uint64_t x) F90_SYMBOL(_LEADZ);

int32_t popcnt_i4(uint32_t x) { return popcount32(x); }
int32_t popcnt_4(uint32_t x) { return popcount32(x); }
int32_t popcnt_8(uint64_t x) { return popcount64(x); }
int32_t poppar_i4(uint32_t x) { return popcount32(x) & 1; }
int32_t poppar_4(uint32_t x) { return popcount32(x) & 1; }
int32_t poppar_8(uint64_t x) { return popcount64(x) & 1; }
int32_t leadz_i4(uint32_t x) { return leadz32(x); }
int32_t leadz_4(uint32_t x) { return leadz32(x); }
int32_t leadz_8(uint64_t x) { return leadz64(x); }
