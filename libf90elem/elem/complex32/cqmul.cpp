// COMPLEX*32 multiplication and division.
//
// Multiply: (x1 + i y1)(x2 + i y2) = (x1 x2 - y1 y2) + i (x1 y2 + x2 y1),
// each product and sum one double-double operation.
//
// Divide, Smith's method: with the divisor's parts compared by magnitude, the
// smaller over the larger gives t with |t| <= 1 and s = the larger part plus
// the smaller times t, so that no intermediate squares the divisor:
//   |x2| > |y2|: t = y2/x2, s = x2 + y2 t, re = (x1 + y1 t)/s, im = (y1 - x1 t)/s
//   otherwise:   t = x2/y2, s = y2 + x2 t, re = (x1 t + y1)/s, im = (y1 t - x1)/s
//
// Special cases: a zero divisor (both high parts zero) gives a quiet NaN high
// part with a +0 low part in both parts of the result. Infinities and NaNs
// otherwise flow through the double-double operations, which test nothing.
//
// Accuracy: a few units of 2^-106 relative to |z1 z2| (multiply) and
// |z1 / z2| (divide).
#include "complex32/complex32.h"

namespace dd = morvex::dd;
using namespace morvex::complex32;

Complex32* _morvex_cqmul(Complex32* res, Complex32 z1, Complex32 z2) {
  const Cx p = mul(z1, z2);
  return store(res, p.re, p.im);
}

Complex32* _morvex_cqdiv(Complex32* res, Complex32 z1, Complex32 z2) {
  const DD x1 = z1.re, y1 = z1.im, x2 = z2.re, y2 = z2.im;
  const DD ax = abs_dd(x2), ay = abs_dd(y2);
  if (is_zero(ax) && is_zero(ay)) return store(res, kNaNPart, kNaNPart);
  if (dd::sub(ax, ay).hi > 0.0) {
    const DD t = dd::div(y2, x2);
    const DD s = dd::add(x2, dd::mul(y2, t));
    return store(res, dd::div(dd::add(x1, dd::mul(y1, t)), s),
                 dd::div(dd::sub(y1, dd::mul(x1, t)), s));
  }
  const DD t = dd::div(x2, y2);
  const DD s = dd::add(y2, dd::mul(x2, t));
  return store(res, dd::div(dd::add(dd::mul(x1, t), y1), s),
               dd::div(dd::sub(dd::mul(y1, t), x1), s));
}
