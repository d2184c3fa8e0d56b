// ABS, SIGN and DIM of REAL*4. abs and sign work on the bit pattern of
// their first argument; sign(a, b) gives |a| when b is +-0 or NaN. dim
// gives x - y when that is >= 0, else +0.0.
#include "entry.h"
#include "real/sign.h"
#include "real4/real4.h"

long double _morvex_abs(float x) { return morvex::real::abs_bits(x); }
long double _morvex_sign(float a, float b) { return morvex::real::sign_bits(a, b); }
long double _morvex_dim(float x, float y) { return morvex::real::positive_difference(x, y); }

MORVEX_BY_REF(long double, _morvex_I_abs, _morvex_abs, float)
MORVEX_BY_REF(long double, _morvex_I_sign, _morvex_sign, float, float)
MORVEX_BY_REF(long double, _morvex_I_dim, _morvex_dim, float, float)
