// NINT of REAL*8 to every integer kind, halves rounded away from zero.
//
// INTEGER*4 (idnint, jidnnt): the rounded value stored as an integer; out of
// range or NaN gives the x87 integer indefinite 0x80000000.
// INTEGER*2 (iidnnt): the low 16 bits of the INTEGER*4 result, sign-extended
// (so 32768.0 gives -32768).
// INTEGER*8 (kidnnt): the rounded value converted with saturation: NaN and
// values at or above 2^63 give 0x7fffffffffffffff, values at or below -2^63
// give 0x8000000000000000.
#include <cstdint>

#include "entry.h"
#include "real/rounding.h"
#include "real8/real8.h"

namespace {

// An integral x to INTEGER*8, saturating (the INTEGER*8 conversion rules:
// the comparison against 2^63 catches NaN as well).
int64_t to_int64_saturating(long double x) {
  if (!(x < 0x1p63L)) return INT64_MAX;
  if (x <= -0x1p63L) return INT64_MIN;
  return x87::store_int64(x);
}

}  // namespace

int32_t _morvex_idnint(double x) { return morvex::real::nint32(x); }
int32_t _morvex_jidnnt(double x) { return morvex::real::nint32(x); }
int32_t _morvex_iidnnt(double x) {
  return static_cast<int16_t>(static_cast<uint32_t>(morvex::real::nint32(x)) & 0xffffu);
}
int64_t _morvex_kidnnt(double x) {
  return to_int64_saturating(morvex::real::round_half_away(x));
}

MORVEX_BY_REF(int32_t, _morvex_I_idnint, _morvex_idnint, double)
MORVEX_BY_REF(int32_t, _morvex_I_jidnnt, _morvex_jidnnt, double)
MORVEX_BY_REF(int32_t, _morvex_I_iidnnt, _morvex_iidnnt, double)
MORVEX_BY_REF(int64_t, _morvex_I_kidnnt, _morvex_kidnnt, double)
