// LOG of COMPLEX*16 (cdlog) and COMPLEX*8 (clog).
//
// Method: re = ln|z| = ln 2 * log2(sqrt(a*a + b*b)) by the x87 scaled
// logarithm, with ln 2 as a constant of the kind; im = the full-range angle
// of a + bi: the x87 partial arctangent of (b, a) for COMPLEX*16, the REAL*4
// ATAN2(b, a) for COMPLEX*8. There is no zero test: LOG((0, 0)) has the real
// part -Inf (and the angle of the zeros' signs).
//
// Accuracy (normwise): COMPLEX*16 within 1.3 ulps under the library's 53-bit
// mode and 0.85 ulp under 64-bit precision for |z| outside (0.5, 2); inside
// it ln|z| keeps an absolute error of about an ulp of 1.0 from rounding
// a*a + b*b, large relative to ln|z| near z = 1. COMPLEX*8 within 1.35 ulps
// (the REAL*4 ATAN2 rounds twice for a < 0).
#include "complex/complex.h"
#include "complex/kind.h"
#include "real4/real4.h"

namespace morvex::complex {
namespace {

template <class T>
struct LogKind;

template <>
struct LogKind<double> {
  static long double angle(double b, double a) { return x87::atan2(b, a); }
};

template <>
struct LogKind<float> {
  static long double angle(float b, float a) { return _morvex_atan2(b, a); }
};

template <class T>
ComplexOf<T>* log_into(ComplexOf<T>* res, ComplexOf<T> z) {
  using K = LogKind<T>;
  return store<T>(res, log_modulus<T>(z.re, z.im), K::angle(z.im, z.re));
}

}  // namespace
}  // namespace morvex::complex

using namespace morvex::complex;

Complex16* _morvex_cdlog(Complex16* res, Complex16 z) { return log_into<double>(res, z); }
Complex8* _morvex_clog(Complex8* res, Complex8 z) { return log_into<float>(res, z); }

MORVEX_BY_REF_HIDDEN(Complex16, _morvex_I_cdlog, _morvex_cdlog, Complex16)
MORVEX_BY_REF_HIDDEN(Complex8, _morvex_I_clog, _morvex_clog, Complex8)
