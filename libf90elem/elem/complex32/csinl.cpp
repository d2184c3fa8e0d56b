// SIN and COS of COMPLEX*32.
//
// SIN(x + iy) = (sin x cosh y, cos x sinh y)
// COS(x + iy) = (cos x cosh y, -sin x sinh y)
// with sinl, cosl, sinhl and coshl; -sin x is formed by negating sinl's
// result (both parts).
//
// Special cases: a hyperbolic factor that overflows stays infinite in the
// products (against an exactly zero sine or cosine, a signed zero), where the
// double-double product would leave NaN. A NaN imaginary part gives NaN in
// both parts: sinhl and coshl treat NaN as zero, which would otherwise leave
// the finite values at y = 0. A NaN or infinite real part gives what sinl and
// cosl give there (NaN).
//
// Accuracy: within a few units of 2^-106 relative (normwise) for |z| <= 1;
// the absolute error of the reduction grows with |x| and the hyperbolic
// functions' relative error with |y|, and near a zero of the function (sin x
// or cos x near 0 with y small) the relative error grows as the function's
// condition number |z f'(z) / f(z)| does.
#include "complex32/complex32.h"

namespace dd = morvex::dd;
using namespace morvex::complex32;

namespace {

struct Factors {
  DD s, c, sh, ch;
};

MORVEX_DD_INLINE Factors factors(const Cx& z) {
  return {value_of(_morvex_sinl, z.re), value_of(_morvex_cosl, z.re),
          value_of(_morvex_sinhl, z.im), value_of(_morvex_coshl, z.im)};
}

}  // namespace

Complex32* _morvex_csinl(Complex32* res, Complex32 z) {
  if (std::isnan(z.im.hi)) return store(res, kNaNPart, kNaNPart);
  const Factors f = factors(z);
  return store(res, mul_overflowed(f.s, f.ch), mul_overflowed(f.c, f.sh));
}
MORVEX_BY_REF_HIDDEN(Complex32, _morvex_I_csinl, _morvex_csinl, Complex32)

Complex32* _morvex_ccosl(Complex32* res, Complex32 z) {
  if (std::isnan(z.im.hi)) return store(res, kNaNPart, kNaNPart);
  const Factors f = factors(z);
  return store(res, mul_overflowed(f.c, f.ch), mul_overflowed(dd::neg(f.s), f.sh));
}
MORVEX_BY_REF_HIDDEN(Complex32, _morvex_I_ccosl, _morvex_ccosl, Complex32)
