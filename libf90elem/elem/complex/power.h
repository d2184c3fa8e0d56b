// Complex powers, shared by cdtoi and ctoi (integer exponent) and by cdtocd
// and ctoc (complex exponent).
//
// Integer power z ** n:
//   z = (0, 0) (both parts compare equal to zero): (1, 0) for n = 0, else
//   (0, 0), negative n included.
//   n < 0: z becomes 1/z = (a/h, -b/h), h = a*a + b*b, each part rounded to
//   the kind, and |n| is used (taken unsigned, so n = -2^31 works).
//   Square-and-multiply over the bits of |n| from the lowest, accumulator
//   (1, 0): a set bit multiplies the accumulator by the base, and the base
//   is squared, (p*p - q*q, 2*p*q). All in the x87 registers at the caller's
//   precision; the accumulator's parts are rounded when stored. Each product
//   adds its rounding error, so the error grows with the number of bits.
//
// Complex power z ** w, w = c + di:
//   z = (0, 0): w = (0, 0) gives (NaN, NaN); any other w gives (0, 0).
//   d = 0 and c a small integer (see PowerKind::integral): z ** c by the
//   integer power, c stored as an integer under the chopping control word.
//   Otherwise, with L = ln|z| and T the angle of z:
//     r = L*c - d*T, angle = d*L + T*c (for d = 0: r = c*L, angle = T*c);
//     E = e^r by the x87 exponential step under the round-to-nearest,
//     64-bit control word; the result is (E*cos(angle), E*sin(angle)) with
//     the x87 cosine and sine (for |angle| >= 2^63 both are the angle).
//
// Per kind, PowerKind<T>: angle(b, a) and integral(c).
#pragma once

#include <cstdint>

#include "complex/kind.h"

namespace morvex::complex {

template <class T>
struct PowerKind;

template <class T>
inline ComplexOf<T>* int_power_into(ComplexOf<T>* res, T a, T b, int32_t n) {
  if (a == 0 && b == 0) return store<T>(res, n == 0 ? 1.0L : 0.0L, 0.0L);
  long double p = a, q = b;
  uint32_t k = static_cast<uint32_t>(n);
  if (n < 0) {
    const long double h = p * p + q * q;
    p = x87::round_to<T>(p / h);
    q = x87::round_to<T>(-q / h);
    k = 0u - k;
  }
  long double re = 1.0L, im = 0.0L;
  for (;;) {
    if (k & 1u) {
      const long double t = p * re - q * im;
      im = re * q + p * im;
      re = t;
    }
    k >>= 1;
    if (k == 0) break;
    const long double t = p * p - q * q;
    q = 2.0L * p * q;
    p = t;
  }
  return store<T>(res, re, im);
}

template <class T>
inline ComplexOf<T>* power_into(ComplexOf<T>* res, ComplexOf<T> z, ComplexOf<T> w) {
  using K = PowerKind<T>;
  const T a = z.re, b = z.im, c = w.re, d = w.im;
  if (a == 0 && b == 0) {
    const T v = c == 0 && d == 0 ? nan_of<T>() : T(0);
    return store<T>(res, v, v);
  }
  const bool real_exponent = d == 0;
  if (real_exponent && K::integral(c))
    return int_power_into<T>(res, a, b, x87::store_int32(c));
  const long double L = log_modulus<T>(a, b);
  const long double t = K::angle(b, a);
  long double r, angle;
  if (real_exponent) {
    angle = t * c;
    r = c * L;
  } else {
    r = L * c - d * t;
    angle = d * L + t * c;
  }
  const long double e = exp_step(r);
  long double cs;
  const long double sn = x87::sincos(angle, cs);
  return store<T>(res, e * cs, e * sn);
}

// Whether c (unbiased exponent e, fraction f) is integral with an exponent
// in 0..30, as far as the kind's test goes: f = 0, or e < any_below with the
// fraction bits below the radix point zero; COMPLEX*16 also wants the low
// word of c to be zero.
template <class T>
inline bool small_integral(T c, int any_below, bool low_word_zero) {
  using B = real::FloatBits<T>;
  const auto bits = real::bits_of(c);
  const int e = real::exponent_field(c) - B::kBias;
  if (e < 0 || e > 30) return false;
  if (low_word_zero && static_cast<uint32_t>(bits) != 0) return false;
  const auto frac = bits & real::kFractionMask<T>;
  if (frac == 0) return true;
  if (e >= any_below) return false;
  const auto below = (decltype(frac){1} << (B::kFractionBits - e)) - 1;
  return (frac & below) == 0;
}

}  // namespace morvex::complex
