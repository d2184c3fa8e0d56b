// SIN and COS of COMPLEX*16 (cdsin, cdcos) and COMPLEX*8 (csin, ccos).
//
// Method: sin(a + bi) = (sin a * cosh b, cos a * sinh b) and
// cos(a + bi) = (cos a * cosh b, -(sin a * sinh b)). sin a and cos a come
// from the x87 sine and cosine, rounded to the kind before they multiply;
// cosh b and sinh b from the exported hyperbolic functions of the kind
// (dcosh, dsinh; cosh, sinh), whose extended results keep a product finite
// when it fits the kind even though cosh b alone would not.
//
// The x87 sine and cosine leave |a| >= 2^63 unchanged: for such a both
// factors are a rounded to the kind, so SIN((a, b)) = (a * cosh b, a * sinh b).
//
// Accuracy (normwise): COMPLEX*16 within 2.1 ulps under the library's 53-bit
// mode and 1.65 ulps under 64-bit precision; COMPLEX*8 within 1.3 ulps.
#include "complex/complex.h"
#include "complex/kind.h"
#include "real4/real4.h"
#include "real8/real8.h"

namespace morvex::complex {
namespace {

template <class T>
struct Hyperbolic;

template <>
struct Hyperbolic<double> {
  static long double cosh(double b) { return _morvex_dcosh(b); }
  static long double sinh(double b) { return _morvex_dsinh(b); }
};

template <>
struct Hyperbolic<float> {
  static long double cosh(float b) { return _morvex_cosh(b); }
  static long double sinh(float b) { return _morvex_sinh(b); }
};

// sin a and cos a, each rounded to the kind.
template <class T>
struct SinCos {
  T s, c;
  explicit SinCos(T a) {
    long double cl;
    const long double sl = x87::sincos(a, cl);
    s = x87::round_to<T>(sl);
    c = x87::round_to<T>(cl);
  }
};

template <class T>
ComplexOf<T>* sin_into(ComplexOf<T>* res, ComplexOf<T> z) {
  using H = Hyperbolic<T>;
  const SinCos<T> t(z.re);
  return store<T>(res, t.s * H::cosh(z.im), t.c * H::sinh(z.im));
}

template <class T>
ComplexOf<T>* cos_into(ComplexOf<T>* res, ComplexOf<T> z) {
  using H = Hyperbolic<T>;
  const SinCos<T> t(z.re);
  return store<T>(res, t.c * H::cosh(z.im), -(t.s * H::sinh(z.im)));
}

}  // namespace
}  // namespace morvex::complex

using namespace morvex::complex;

Complex16* _morvex_cdsin(Complex16* res, Complex16 z) { return sin_into<double>(res, z); }
Complex16* _morvex_cdcos(Complex16* res, Complex16 z) { return cos_into<double>(res, z); }

Complex8* _morvex_csin(Complex8* res, Complex8 z) { return sin_into<float>(res, z); }
Complex8* _morvex_ccos(Complex8* res, Complex8 z) { return cos_into<float>(res, z); }

MORVEX_BY_REF_HIDDEN(Complex16, _morvex_I_cdsin, _morvex_cdsin, Complex16)
MORVEX_BY_REF_HIDDEN(Complex16, _morvex_I_cdcos, _morvex_cdcos, Complex16)
MORVEX_BY_REF_HIDDEN(Complex8, _morvex_I_csin, _morvex_csin, Complex8)
MORVEX_BY_REF_HIDDEN(Complex8, _morvex_I_ccos, _morvex_ccos, Complex8)
