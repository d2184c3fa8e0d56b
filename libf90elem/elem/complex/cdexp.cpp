// EXP of COMPLEX*16 (method: complex/exp.h).
#include "complex/complex.h"
#include "complex/exp.h"

Complex16* _morvex_cdexp(Complex16* res, Complex16 z) {
  return morvex::complex::exp_into<double>(res, z);
}

MORVEX_BY_REF_HIDDEN(Complex16, _morvex_I_cdexp, _morvex_cdexp, Complex16)
