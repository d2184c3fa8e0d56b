// NINT of REAL*4 to every integer kind, halves rounded away from zero.
//
// INTEGER*4 (nint, jnint): the rounded value stored as an integer; out of
// range or NaN gives the x87 integer indefinite 0x80000000.
// INTEGER*2 (inint): the low 16 bits of the INTEGER*4 result, sign-extended
// (so 32767.5 gives -32768).
// INTEGER*8 (knint): the rounded value converted with saturation, as every
// REAL to INTEGER*8 conversion: NaN and values at or above 2^63 give
// 0x7fffffffffffffff, values at or below -2^63 give 0x8000000000000000.
// (Every REAL*4 of 2^31 or more is an integer, so knint(3.0e9) is
// 3000000000, not the sign extension of the INTEGER*4 indefinite.)
#include <cstdint>

#include "entry.h"
#include "real/rounding.h"
#include "real4/real4.h"

using morvex::real::nint32;

int32_t _morvex_nint(float x) { return nint32(x); }
int32_t _morvex_jnint(float x) { return nint32(x); }
int32_t _morvex_inint(float x) {
  return static_cast<int16_t>(static_cast<uint32_t>(nint32(x)) & 0xffffu);
}
int64_t _morvex_knint(float x) {
  const float r = morvex::real::round_half_away(x);
  if (!(r < 0x1p63f)) return INT64_MAX;  // NaN too
  if (r <= -0x1p63f) return INT64_MIN;
  return x87::store_int64(r);  // integral
}

MORVEX_BY_REF(int32_t, _morvex_I_nint, _morvex_nint, float)
MORVEX_BY_REF(int32_t, _morvex_I_jnint, _morvex_jnint, float)
MORVEX_BY_REF(int32_t, _morvex_I_inint, _morvex_inint, float)
MORVEX_BY_REF(int64_t, _morvex_I_knint, _morvex_knint, float)
