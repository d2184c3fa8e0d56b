// SQRT of COMPLEX*16 (cdsqrt) and COMPLEX*8 (csqrt): the root with a
// non-negative real part.
//
// Method, for z = x + yi: m = sqrt((|z| + |x|)/2) is the larger part of the
// root, n = |y|/(2m) the smaller. |z| is formed scaled by whichever part the
// signed comparison x > y picks, so its square cannot overflow:
//   x > y,  x /= 0: m = sqrt(0.5*(|x|*sqrt(1 + (y/x)^2)) + 0.5*|x|)
//   x > y,  x = 0:  m = sqrt(0.5*sqrt(y*y))
//   x <= y, y /= 0: m = sqrt(0.5*(|y|*sqrt((x/y)^2 + 1)) + 0.5*|x|)
//   x <= y, y = 0:  m = sqrt(0.5*sqrt(x*x) + 0.5*|x|)
// (for COMPLEX*16, when the square y*y or x*x is infinite, sqrt(|y|*0.5) and
// sqrt(|x|*0.5*2) instead); m is rounded to the kind. The comparison is
// signed, so x <= y holds for every NaN part: the same magnitude either way,
// scaled differently.
// Then: m zero or NaN gives (m, +0.0); otherwise n = |y|/(2m) rounded, the
// result is (m, n) for x >= 0 and (n, m) for x < 0, and its imaginary part is
// negated when y < 0. So SQRT((-4, 0)) = (0, 2), SQRT((3, -4)) = (2, -1).
// Accuracy (normwise): COMPLEX*16 within 1.85 ulps under the library's 53-bit
// mode and 1.1 ulps under 64-bit precision; COMPLEX*8 within 1.15 ulps.
#include <cmath>

#include "complex/complex.h"
#include "complex/kind.h"

namespace morvex::complex {
namespace {

template <class T>
ComplexOf<T>* sqrt_into(ComplexOf<T>* res, ComplexOf<T> z) {
  // The x87 registers hold the square of any REAL*4, so only COMPLEX*16
  // tests it for overflow.
  constexpr bool kSquareMayOverflow = sizeof(T) == 8;
  const T x = z.re, y = z.im;
  const long double ax = x87::abs(x), ay = x87::abs(y);
  long double v;  // m^2
  if (x > y) {
    if (x < 0 || x > 0) {
      const long double q = static_cast<long double>(y) / x;
      v = 0.5L * (ax * x87::sqrt(1.0L + q * q)) + 0.5L * ax;
    } else {
      const long double yy = static_cast<long double>(y) * y;
      v = kSquareMayOverflow && std::isinf(yy) ? ay * 0.5L : 0.5L * x87::sqrt(yy);
    }
  } else if (y < 0 || y > 0 || std::isnan(y)) {
    const long double q = static_cast<long double>(x) / y;
    v = 0.5L * (ay * x87::sqrt(q * q + 1.0L)) + 0.5L * ax;
  } else {
    const long double xx = static_cast<long double>(x) * x;
    v = kSquareMayOverflow && std::isinf(xx) ? ax * 0.5L * 2.0L : 0.5L * x87::sqrt(xx) + 0.5L * ax;
  }
  const T m = x87::round_to<T>(x87::sqrt(v));
  if (zero_or_nan(m)) return store<T>(res, m, 0.0L);
  const T n = x87::round_to<T>(ay / (2.0L * m));
  const bool swap = !(x >= 0);
  const T re = swap ? n : m;
  const T im = swap ? m : n;
  return store<T>(res, re, y < 0 ? -im : im);
}

}  // namespace
}  // namespace morvex::complex

using namespace morvex::complex;

Complex16* _morvex_cdsqrt(Complex16* res, Complex16 z) { return sqrt_into<double>(res, z); }
Complex8* _morvex_csqrt(Complex8* res, Complex8 z) { return sqrt_into<float>(res, z); }

MORVEX_BY_REF_HIDDEN(Complex16, _morvex_I_cdsqrt, _morvex_cdsqrt, Complex16)
MORVEX_BY_REF_HIDDEN(Complex8, _morvex_I_csqrt, _morvex_csqrt, Complex8)
