// AIMAG, CONJG, CCOS, CEXP and CSIN of COMPLEX*16, z = x + iy.
//
// The functions take the REAL*8 sine, cosine, hyperbolic sine and cosine and
// exponential of libf90elem, as they come back in st(0), and form each part
// as one x87 product, rounded to REAL*8 when it is stored:
//   CCOS: (cosh y * cos x, -(sinh y * sin x)), calls cos x, cosh y, sin x, sinh y;
//   CEXP: (exp x * cos y, exp x * sin y), exp x evaluated for each part;
//   CSIN: (sin x * cosh y, cos x * sinh y).
// So CCOS(0) = (1, -0.0). The by-value entries take the two parts as REAL*8
// arguments; the _ forms read a COMPLEX*16 through a pointer. CONJG flips
// the sign bit of the imaginary part and AIMAG returns it, both as bits (a
// signalling NaN part is not loaded: AIMAG returns it quieted, raising
// nothing).
#include <cstdint>
#include <cstring>

#include "common/elem_calls.h"
#include "mathlb/model.h"
#include "value/float_bits.h"

using morvex::Complex16;

namespace {

Complex16* store(Complex16* res, long double re, long double im) {
  res->re = static_cast<double>(re);
  res->im = static_cast<double>(im);
  return res;
}

Complex16* cos_of(Complex16* res, double x, double y) {
  const long double c = _morvex_dcos(x);
  const long double ch = _morvex_dcosh(y);
  const long double s = _morvex_dsin(x);
  const long double sh = _morvex_dsinh(y);
  return store(res, ch * c, -(sh * s));
}

Complex16* exp_of(Complex16* res, double x, double y) {
  const long double re = _morvex_dexp(x) * _morvex_dcos(y);
  const long double im = _morvex_dexp(x) * _morvex_dsin(y);
  return store(res, re, im);
}

Complex16* sin_of(Complex16* res, double x, double y) {
  const long double re = _morvex_dsin(x) * _morvex_dcosh(y);
  const long double im = _morvex_dcos(x) * _morvex_dsinh(y);
  return store(res, re, im);
}

}  // namespace

F90_API Complex16* ccos_value(Complex16* res, double x, double y) F90_SYMBOL(_CCOS);
F90_API Complex16* cexp_value(Complex16* res, double x, double y) F90_SYMBOL(_CEXP);
F90_API Complex16* csin_value(Complex16* res, double x, double y) F90_SYMBOL(_CSIN);
F90_API Complex16* ccos_ref(Complex16* res, const Complex16* z) F90_SYMBOL(_CCOS_);
F90_API Complex16* cexp_ref(Complex16* res, const Complex16* z) F90_SYMBOL(_CEXP_);
F90_API Complex16* csin_ref(Complex16* res, const Complex16* z) F90_SYMBOL(_CSIN_);
F90_API long double aimag_(const Complex16* z) F90_SYMBOL(_AIMAG_);
F90_API Complex16* conjg_(Complex16* res, const Complex16* z) F90_SYMBOL(_CONJG_);

Complex16* ccos_value(Complex16* res, double x, double y) { return cos_of(res, x, y); }
Complex16* cexp_value(Complex16* res, double x, double y) { return exp_of(res, x, y); }
Complex16* csin_value(Complex16* res, double x, double y) { return sin_of(res, x, y); }
Complex16* ccos_ref(Complex16* res, const Complex16* z) { return cos_of(res, z->re, z->im); }
Complex16* cexp_ref(Complex16* res, const Complex16* z) { return exp_of(res, z->re, z->im); }
Complex16* csin_ref(Complex16* res, const Complex16* z) { return sin_of(res, z->re, z->im); }

long double aimag_(const Complex16* z) {
  uint64_t parts[2];
  std::memcpy(parts, z, sizeof parts);
  return f90::model::to_st0<double>(parts[1]);
}

Complex16* conjg_(Complex16* res, const Complex16* z) {
  uint64_t parts[2];
  std::memcpy(parts, z, sizeof parts);
  parts[1] ^= fp::kSignBit<double>;
  std::memcpy(res, parts, sizeof parts);
  return res;
}
