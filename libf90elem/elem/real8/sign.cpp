// ABS, SIGN and DIM of REAL*8. dabs and dsign work on the bit pattern of
// their first argument; dsign(a, b) gives |a| when b is +-0 or NaN. ddim
// gives x - y when that is >= 0, else +0.0.
#include "entry.h"
#include "real/sign.h"
#include "real8/real8.h"

long double _morvex_dabs(double x) { return morvex::real::abs_bits(x); }
long double _morvex_dsign(double a, double b) { return morvex::real::sign_bits(a, b); }
long double _morvex_ddim(double x, double y) { return morvex::real::positive_difference(x, y); }

MORVEX_BY_REF(long double, _morvex_I_dabs, _morvex_dabs, double)
MORVEX_BY_REF(long double, _morvex_I_dsign, _morvex_dsign, double, double)
MORVEX_BY_REF(long double, _morvex_I_ddim, _morvex_ddim, double, double)
