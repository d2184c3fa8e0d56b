// ABS of COMPLEX*16 (cdabs) and COMPLEX*8 (cabs), returned in st(0).
//
// Method: with x = |a| and y = |b|, the larger part scales the smaller one,
// so the square never overflows or underflows needlessly:
//   y zero or NaN: x;  else x zero or NaN: y;
//   y < x: x * sqrt(1 + (y/x)^2);  otherwise y * sqrt(1 + (x/y)^2),
// with the x87 square root, at the caller's precision.
//
// A NaN part gives the magnitude of the other part: ABS((1, NaN)) = 1. Both
// parts infinite give +Inf (the ratio Inf/Inf would make it NaN).
// Accuracy: COMPLEX*16 within 2 ulps under the library's 53-bit mode (five
// roundings at 53 bits), within half an ulp after the store under 64-bit
// precision; COMPLEX*8 within half an ulp after the store.
#include <cmath>

#include "complex/complex.h"
#include "complex/kind.h"

namespace morvex::complex {
namespace {

template <class T>
long double modulus(ComplexOf<T> z) {
  const long double x = x87::abs(z.re), y = x87::abs(z.im);
  if (zero_or_nan(y)) return x;
  if (zero_or_nan(x)) return y;
  if (y < x) {
    const long double q = y / x;
    return x * x87::sqrt(1.0L + q * q);
  }
  if (std::isinf(y)) return y;
  const long double q = x / y;
  return y * x87::sqrt(1.0L + q * q);
}

}  // namespace
}  // namespace morvex::complex

using namespace morvex::complex;

long double _morvex_cdabs(Complex16 z) { return modulus<double>(z); }
long double _morvex_cabs(Complex8 z) { return modulus<float>(z); }

MORVEX_BY_REF(long double, _morvex_I_cdabs, _morvex_cdabs, Complex16)
MORVEX_BY_REF(long double, _morvex_I_cabs, _morvex_cabs, Complex8)
