// Shared pieces of the COMPLEX*32 arithmetic and functions: a COMPLEX*32 is
// a (real, imaginary) pair of double-doubles (morvex::Complex32), and every
// operation on it is the textbook complex formula carried out with the
// double-double operations of real16/.
//
// - A double-double counts as zero when its high part compares equal to 0;
//   every test here looks at high parts only.
// - The REAL*16 functions the complex ones are built from (sqrtl, expl,
//   logl, sinl, cosl, atan2l, sinhl, coshl) are called through their entry
//   points; the arithmetic uses the inline primitives of dd.h, which are the
//   same operations as the exported qadd, qmul, ...
// - |z|^2 overflows beyond about 1e154 and underflows below about 1e-162:
//   where the larger part lies outside [2^-450, 2^450] the modulus-based
//   steps work on z scaled by a power of two and undo the scaling exactly
//   (ScaledPair below).
#pragma once

#if !defined(__SSE2_MATH__)
#error "complex32.h needs SSE2 double arithmetic: keep its users in the complex32/ folder"
#endif

#include <cmath>
#include <cstdint>

#include "real16/real16_math.h"
#include "real16/trig.h"

namespace morvex::complex32 {

using DD = DoubleDouble;
using Cx = Complex32;
using dd::store;       // a REAL*16 result slot
using real16::abs_dd;  // fabsl
using real16::scale;   // ldexpl

// The NaN part of a failed operation: a quiet NaN high part, +0 low part.
inline constexpr DD kNaNPart = {__builtin_nan(""), 0.0};
inline constexpr DD kZero = {0.0, 0.0};
inline constexpr DD kOne = {1.0, 0.0};

inline bool is_zero(DD a) { return a.hi == 0.0; }
inline bool is_zero(const Cx& z) { return is_zero(z.re) && is_zero(z.im); }

// Writes all 32 bytes of an entry's result slot and returns its address.
inline Cx* store(Cx* res, DD re, DD im) {
  res->re = re;
  res->im = im;
  return res;
}

// z1 * z2: (x1 x2 - y1 y2, x1 y2 + x2 y1).
MORVEX_DD_INLINE Cx mul(const Cx& a, const Cx& b) {
  return {dd::sub(dd::mul(a.re, b.re), dd::mul(a.im, b.im)),
          dd::add(dd::mul(a.re, b.im), dd::mul(b.re, a.im))};
}

// A REAL*16 entry point f(result, x) as a value: f(x).
using Real16Fn = DoubleDouble* (*)(DoubleDouble*, DoubleDouble);
MORVEX_DD_INLINE DD value_of(Real16Fn f, DD x) {
  DD r;
  f(&r, x);
  return r;
}
MORVEX_DD_INLINE DD atan2_of(DD y, DD x) {
  DD r;
  _morvex_atan2l(&r, y, x);
  return r;
}

// a * b where a factor may be infinite: an exponential or hyperbolic value
// that overflowed to infinity stays infinite (or gives a signed zero against
// an exactly zero factor) instead of becoming the NaN the double-double
// product's error terms would leave. Finite factors use qmul unchanged.
MORVEX_DD_INLINE DD mul_overflowed(DD a, DD b) {
  if ((std::isinf(a.hi) || std::isinf(b.hi)) && !std::isnan(a.hi) && !std::isnan(b.hi)) {
    const bool negative = std::signbit(a.hi) != std::signbit(b.hi);
    const double magnitude = (a.hi == 0.0 || b.hi == 0.0) ? 0.0 : HUGE_VAL;
    return {negative ? -magnitude : magnitude, 0.0};
  }
  return dd::mul(a, b);
}

// e^r (cos angle, sin angle), by expl, cosl and sinl.
MORVEX_DD_INLINE Cx exp_polar(DD r, DD angle) {
  const DD e = value_of(_morvex_expl, r);
  return {mul_overflowed(e, value_of(_morvex_cosl, angle)),
          mul_overflowed(e, value_of(_morvex_sinl, angle))};
}

// Biased exponents of 2^-450 and 2^450: inside this range |z|^2 is formed as
// it stands.
inline constexpr int kSafeLow = 1023 - 450;
inline constexpr int kSafeHigh = 1023 + 450;

// z = 2^k (x, y), with the larger part of (x, y) in [1, 2) when z needed
// scaling, and k = 0 (the parts unchanged) when its larger part lies inside
// [2^-450, 2^450], is zero, or is infinite or NaN. Scaling a part by a power
// of two is exact; a much smaller part may underflow to zero, where its
// square no longer counts against the larger one's anyway.
struct ScaledPair {
  DD x, y;
  int32_t k;
};

// `even` asks for an even k (for square roots).
MORVEX_DD_INLINE ScaledPair scaled_pair(DD x, DD y, bool even = false) {
  const double larger = std::fmax(std::fabs(x.hi), std::fabs(y.hi));
  const int e = dd::biased_exponent(larger);
  if (larger == 0.0 || e == 2047 || (e >= kSafeLow && e < kSafeHigh)) return {x, y, 0};
  int32_t k;
  if (e == 0) {  // subnormal: its exponent from the leading bit
    k = -1074 + (63 - __builtin_clzll(dd::bits(larger)));
  } else {
    k = e - 1023;
  }
  if (even && (k & 1)) k -= 1;
  return {scale(x, -k), scale(y, -k), k};
}

// x^2 + y^2 as the Part forms it (no scaling).
MORVEX_DD_INLINE DD sum_of_squares(DD x, DD y) {
  return dd::add(dd::mul(x, x), dd::mul(y, y));
}

// ln z = (ln|z|, atan2(y, x)): ln|z| = ln sqrt(x^2 + y^2) and the angle of z
// in (-pi, pi]. When z had to be scaled by 2^-k, the logarithm of the scaled
// modulus gets k ln 2 added back, and the angle (which scaling leaves alone)
// is taken of the scaled parts too, whose quotient keeps its error terms out
// of the subnormal range. An infinite part gives ln|z| = (+Inf, +0) and a NaN
// part (and no infinite one) (NaN, +0), where the square root's NaN rule
// (sqrtl(NaN) = 0) would otherwise leave -Inf.
struct LogParts {
  DD modulus;  // ln|z|
  DD angle;
};

MORVEX_DD_INLINE LogParts log_parts(DD x, DD y) {
  const ScaledPair s = scaled_pair(x, y);
  const DD angle = atan2_of(s.y, s.x);
  if (std::isinf(x.hi) || std::isinf(y.hi)) return {{HUGE_VAL, 0.0}, angle};
  if (std::isnan(x.hi) || std::isnan(y.hi)) return {kNaNPart, angle};
  DD l = value_of(_morvex_logl, value_of(_morvex_sqrtl, sum_of_squares(s.x, s.y)));
  if (s.k != 0) l = dd::add(dd::mul_i(real16::kLn2, s.k), l);
  return {l, angle};
}

}  // namespace morvex::complex32

using morvex::Complex32;
using morvex::DoubleDouble;

// The entry points of this family. Results go through the hidden result
// pointer, which is returned; arguments are by value (a COMPLEX*32 takes
// eight stack slots: real hi, real lo, imaginary hi, imaginary lo).
F90_API Complex32* _morvex_cqmul(Complex32* res, Complex32 z1, Complex32 z2);
F90_API Complex32* _morvex_cqdiv(Complex32* res, Complex32 z1, Complex32 z2);
F90_API Complex32* _morvex_cqtoi(Complex32* res, Complex32 z, int32_t n);
F90_API Complex32* _morvex_cpowl(Complex32* res, Complex32 z, Complex32 w);
F90_API DoubleDouble* _morvex_cabsl(DoubleDouble* res, Complex32 z);
F90_API DoubleDouble* _morvex_I_cabsl(DoubleDouble* res, const Complex32* z);
F90_API Complex32* _morvex_csqrtl(Complex32* res, Complex32 z);
F90_API Complex32* _morvex_I_csqrtl(Complex32* res, const Complex32* z);
F90_API Complex32* _morvex_cexpl(Complex32* res, Complex32 z);
F90_API Complex32* _morvex_I_cexpl(Complex32* res, const Complex32* z);
F90_API Complex32* _morvex_clogl(Complex32* res, Complex32 z);
F90_API Complex32* _morvex_I_clogl(Complex32* res, const Complex32* z);
F90_API Complex32* _morvex_csinl(Complex32* res, Complex32 z);
F90_API Complex32* _morvex_I_csinl(Complex32* res, const Complex32* z);
F90_API Complex32* _morvex_ccosl(Complex32* res, Complex32 z);
F90_API Complex32* _morvex_I_ccosl(Complex32* res, const Complex32* z);
