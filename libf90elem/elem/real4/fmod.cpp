// MOD of REAL*4: the exact remainder x - y*AINT(x/y), with the sign of x.
// MOD(x, 0) and MOD(x, NaN) give NaN; an infinite argument gives NaN.
#include "constants.h"
#include "entry.h"
#include "real/remainder.h"
#include "real4/real4.h"

long double _morvex_amod(float x, float y) {
  return morvex::real::mod_of(x, y, _morvex_FLOAT_NAN);
}

MORVEX_BY_REF(long double, _morvex_I_amod, _morvex_amod, float, float)
