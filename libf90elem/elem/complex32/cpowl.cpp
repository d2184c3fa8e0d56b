// COMPLEX*32 to a COMPLEX*32 power.
//
// Method: z^w = e^(w ln z). With L = ln|z| (as LOG forms it, scaled at the
// ends of the range) and T = atan2(y, x), w = c + id:
//   d != 0: r = cL - dT, angle = dL + Tc;
//   d = 0:  r = cL, angle = cT;
// and the result is e^r (cos angle, sin angle) by expl, cosl and sinl. An
// exponent with d = 0 whose real part is an integer n in [1, 2^31) in
// magnitude, with a zero low part, goes to the integer power cqtoi(z, n)
// instead (n stored under truncation), so (2, 0)^(3, 0) is (8, 0) exactly.
//
// Special cases: z = 0 (both high parts zero) gives NaN in both parts for
// w = 0 and zero in all four parts for any other w. An e^r that overflows
// stays infinite in the products.
//
// Accuracy: that of e^r with r carrying the rounding of w ln z: within a few
// units of 2^-106 relative for |w ln z| <= 1, growing in proportion to
// |w| (1 + |ln z|).
#include "complex32/complex32.h"
#include "x87.h"

namespace dd = morvex::dd;
using namespace morvex::complex32;

namespace {

// Whether c is an integer of magnitude 1 to 2^31 - 1 with a zero low part:
// unbiased exponent of the high part 0 to 30, no fraction bits below the
// binary point.
bool small_integer(DD c) {
  if (c.lo != 0.0) return false;
  const int e = dd::biased_exponent(c.hi) - 1023;
  if (e < 0 || e > 30) return false;
  const uint64_t fraction = (uint64_t{1} << (52 - e)) - 1;
  return (dd::bits(c.hi) & fraction) == 0;
}

}  // namespace

Complex32* _morvex_cpowl(Complex32* res, Complex32 z, Complex32 w) {
  const DD x = z.re, y = z.im, c = w.re, d = w.im;
  if (is_zero(z)) return is_zero(w) ? store(res, kNaNPart, kNaNPart) : store(res, kZero, kZero);
  if (is_zero(d) && small_integer(c)) {
    return _morvex_cqtoi(res, z, x87::store_int32(c.hi));
  }
  const LogParts lp = log_parts(x, y);
  const DD l = lp.modulus, t = lp.angle;
  DD r, angle;
  if (!is_zero(d)) {
    r = dd::sub(dd::mul(c, l), dd::mul(d, t));
    angle = dd::add(dd::mul(d, l), dd::mul(t, c));
  } else {
    r = dd::mul(c, l);
    angle = dd::mul(c, t);
  }
  const Cx p = exp_polar(r, angle);
  return store(res, p.re, p.im);
}
