// EXP and LOG of COMPLEX*32.
//
// EXP: e^(x + iy) = e^x (cos y, sin y), with expl, cosl and sinl.
// LOG: ln(x + iy) = (ln|z|, atan2(y, x)), the real part ln sqrt(x^2 + y^2)
// with logl and sqrtl, the imaginary part the angle of z in (-pi, pi] by
// atan2l.
//
// Range: x^2 + y^2 is formed from z scaled by 2^-k when z's larger part lies
// outside [2^-450, 2^450], and k ln 2 added back to the logarithm, so LOG is
// finite for every finite non-zero z; the angle is taken of the scaled parts
// as well. An exponential that overflows stays
// infinite in the products (a zero sine or cosine giving a signed zero),
// where the double-double product would leave NaN.
//
// Special cases: LOG(0) = (-Inf, 0); LOG of a value with an infinite part has
// the real part +Inf, with a NaN part (and no infinite one) NaN. EXP of a
// NaN or infinite part gives what expl, sinl and cosl give there.
//
// Accuracy: EXP within a few units of 2^-106 relative for |z| <= 1, the
// error growing in proportion to |x| and |y| (expl's and the reductions'
// growth). LOG within a few units of 2^-106 of |ln z| + 1 in absolute terms:
// ln|z| near |z| = 1 cancels in x^2 + y^2 - 1 as the formula stands.
#include "complex32/complex32.h"

using namespace morvex::complex32;

Complex32* _morvex_cexpl(Complex32* res, Complex32 z) {
  const Cx w = exp_polar(z.re, z.im);
  return store(res, w.re, w.im);
}
MORVEX_BY_REF_HIDDEN(Complex32, _morvex_I_cexpl, _morvex_cexpl, Complex32)

Complex32* _morvex_clogl(Complex32* res, Complex32 z) {
  const LogParts l = log_parts(z.re, z.im);
  return store(res, l.modulus, l.angle);
}
MORVEX_BY_REF_HIDDEN(Complex32, _morvex_I_clogl, _morvex_clogl, Complex32)
