// MOD of REAL*8: the exact remainder x - y*AINT(x/y), with the sign of x.
// MOD(x, 0) and MOD(x, NaN) give NaN; an infinite argument gives NaN.
#include "constants.h"
#include "entry.h"
#include "real/remainder.h"
#include "real8/real8.h"

long double _morvex_dmod(double x, double y) {
  return morvex::real::mod_of(x, y, _morvex_DOUBLE_NAN);
}

MORVEX_BY_REF(long double, _morvex_I_dmod, _morvex_dmod, double, double)
