// EXP of COMPLEX*8 (method: complex/exp.h).
#include "complex/complex.h"
#include "complex/exp.h"

Complex8* _morvex_cexp(Complex8* res, Complex8 z) {
  return morvex::complex::exp_into<float>(res, z);
}

MORVEX_BY_REF_HIDDEN(Complex8, _morvex_I_cexp, _morvex_cexp, Complex8)
