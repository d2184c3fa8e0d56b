// SIGN and MOD of INTEGER*2, *4 and *8.
//
// SIGN(a, b): -a (wrapping) when exactly one of a and b is negative, else a.
// A zero b counts as positive: isign(-5, 0) = 5, isign(5, -3) = -5.
//
// MOD(a, p): a - trunc(a / p) * p, with the sign of a (mod(-7, 2) = -1,
// mod(7, -2) = 1). Nothing traps: MOD(a, 0) returns a in every kind, and
// MOD(most negative, -1) returns 0.
#include "integer/kind.h"

namespace {

template <class T>
T sign_of(T a, T b) {
  return (a < 0) != (b < 0) ? morvex::wrapping_neg(a) : a;
}

template <class T>
T mod_of(T a, T p) {
  if (p == 0) return a;
  if (p == -1) return 0;  // also the quotient that would overflow
  return static_cast<T>(a % p);
}

}  // namespace

MORVEX_INT_ENTRY(2, _morvex_isign, _morvex_I_isign, int32_t, sign_of)
MORVEX_INT_ENTRY(2, _morvex_jisign, _morvex_I_jisign, int32_t, sign_of)
MORVEX_INT_ENTRY(2, _morvex_iisign, _morvex_I_iisign, int16_t, sign_of)
MORVEX_INT_ENTRY(2, _morvex_kisign, _morvex_I_kisign, int64_t, sign_of)

MORVEX_INT_ENTRY(2, _morvex_mod, _morvex_I_mod, int32_t, mod_of)
MORVEX_INT_ENTRY(2, _morvex_jmod, _morvex_I_jmod, int32_t, mod_of)
MORVEX_INT_ENTRY(2, _morvex_imod, _morvex_I_imod, int16_t, mod_of)
MORVEX_INT_ENTRY(2, _morvex_kmod, _morvex_I_kmod, int64_t, mod_of)
