// Complex multiply and divide, COMPLEX*16 and COMPLEX*8.
//
// Multiply: (a + bi)(c + di) = (c*a - d*b, a*d + c*b), each part formed in
// the x87 registers and rounded when stored.
//
// Divide by Smith's method, which scales by the larger part of the divisor
// so that nothing overflows needlessly:
//   |c| and |d| both zero or NaN: both parts the exported quiet NaN (so
//   division by (0, 0), or by a divisor whose parts are NaN and zero);
//   |c| > |d|: t = d/c, s = c + d*t, ((a + b*t)/s, (b - a*t)/s);
//   otherwise: t = c/d, s = d + c*t, ((b + a*t)/s, (b*t - a)/s).
// A NaN in either operand otherwise propagates through the formulas.
#include "complex/complex.h"
#include "complex/kind.h"

namespace morvex::complex {
namespace {

template <class T>
ComplexOf<T>* multiply(ComplexOf<T>* res, ComplexOf<T> x, ComplexOf<T> y) {
  const long double a = x.re, b = x.im, c = y.re, d = y.im;
  return store<T>(res, c * a - d * b, a * d + c * b);
}

template <class T>
ComplexOf<T>* divide(ComplexOf<T>* res, ComplexOf<T> x, ComplexOf<T> y) {
  const long double a = x.re, b = x.im, c = y.re, d = y.im;
  const long double ac = x87::abs(c), ad = x87::abs(d);
  if (zero_or_nan(ac) && zero_or_nan(ad)) return store<T>(res, nan_of<T>(), nan_of<T>());
  if (ac > ad) {
    const long double t = d / c, s = c + d * t;
    return store<T>(res, (a + b * t) / s, (b - a * t) / s);
  }
  const long double t = c / d, s = d + c * t;
  return store<T>(res, (b + a * t) / s, (b * t - a) / s);
}

}  // namespace
}  // namespace morvex::complex

using namespace morvex::complex;

Complex16* _morvex_cdmul(Complex16* res, Complex16 x, Complex16 y) {
  return multiply<double>(res, x, y);
}
Complex16* _morvex_cddiv(Complex16* res, Complex16 x, Complex16 y) {
  return divide<double>(res, x, y);
}
Complex8* _morvex_cmul(Complex8* res, Complex8 x, Complex8 y) { return multiply<float>(res, x, y); }
Complex8* _morvex_cdiv(Complex8* res, Complex8 x, Complex8 y) { return divide<float>(res, x, y); }
