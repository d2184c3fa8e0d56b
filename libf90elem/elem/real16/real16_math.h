// Shared pieces of the REAL*16 exponential, logarithm, power, square-root and
// hyperbolic functions: the double-double constants they use, the Horner
// evaluators of their rational approximations, and the entry points they
// call one another through.
//
// Every constant is a (hi, lo) pair of doubles given by its bit patterns.
#pragma once

#include <bit>
#include <cstdint>

#include "real16/dd.h"
#include "entry.h"
#include "real16/parts.h"
#include "real16/real16.h"

namespace morvex::real16 {

using DD = DoubleDouble;

constexpr DD dd_bits(uint64_t hi, uint64_t lo) {
  return {std::bit_cast<double>(hi), std::bit_cast<double>(lo)};
}

// ln 2.
inline constexpr DD kLn2 = dd_bits(0x3fe62e42fefa39ef, 0x3c7abc9e3b39803c);
// ln 2 split for the logarithm: kLogC2 has a short mantissa, so e * kLogC2
// is exact for every exponent e; kLogC1 = ln 2 - kLogC2.
inline constexpr DD kLogC1 = dd_bits(0x3eb7f7d1cf79abca, 0xbb3c4c67fc0d0968);
inline constexpr DD kLogC2 = dd_bits(0x3fe62e4000000000, 0xb950000000000000);
// log10 e.
inline constexpr DD kLog10e = dd_bits(0x3fdbcb7b1526e50e, 0x3c695355baaafac8);
// sqrt(1/2).
inline constexpr DD kSqrtHalf = dd_bits(0x3fe6a09e667f3bcd, 0xbc8bdd3413b26458);
// 512 ln 2: tanh is +-1 to double-double precision beyond it.
inline constexpr DD kTanhLimit = dd_bits(0x40762e42fefa39ef, 0x3d0a9c9e3b398036);

#include "real16/coefficients.inc"

// Horner evaluation, one double-double operation per step:
// sum c[i] x^(n-i), i = 0..n (n + 1 coefficients, leading first).
[[gnu::always_inline]] inline DD poly(DD x, const DD* c, int32_t n) {
  DD y = c[0];
  for (int32_t i = 1; i <= n; ++i) y = dd::add(dd::mul(y, x), c[i]);
  return y;
}

// x^n + sum c[i] x^(n-1-i), i = 0..n-1 (monic, n >= 1 coefficients).
[[gnu::always_inline]] inline DD poly_monic(DD x, const DD* c, int32_t n) {
  DD y = dd::add(x, c[0]);
  for (int32_t i = 1; i < n; ++i) y = dd::add(dd::mul(y, x), c[i]);
  return y;
}

using dd::store;

// ldexpl: each part scaled by 2^n on its own.
[[gnu::always_inline]] inline DD scale(DD x, int32_t n) {
  return {dd::scale_pow2(x.hi, n), dd::scale_pow2(x.lo, n)};
}

// fabsl: both parts negated when hi is negative (-0 and NaN kept).
[[gnu::always_inline]] inline DD abs_dd(DD x) { return x.hi < 0.0 ? dd::neg(x) : x; }

}  // namespace morvex::real16

using morvex::DoubleDouble;

// The entry points of this family (all by value; the _morvex_I_ twins are
// defined beside them).
F90_API DoubleDouble* _morvex_expl(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_logl(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_log10l(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_sqrtl(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_powli(DoubleDouble* res, DoubleDouble x, int32_t n);
F90_API DoubleDouble* _morvex_powlk(DoubleDouble* res, DoubleDouble x, int64_t n);
F90_API DoubleDouble* _morvex_powl(DoubleDouble* res, DoubleDouble x, DoubleDouble y);
F90_API DoubleDouble* _morvex_powld(DoubleDouble* res, DoubleDouble x, double d);
F90_API DoubleDouble* _morvex_polyN(DoubleDouble* res, DoubleDouble x, const DoubleDouble* c,
                                    int32_t n);
F90_API DoubleDouble* _morvex_polyD(DoubleDouble* res, DoubleDouble x, const DoubleDouble* c,
                                    int32_t n);
F90_API void _morvex_qmodr(DoubleDouble x, DoubleDouble p, int32_t* k, DoubleDouble* r);
F90_API DoubleDouble* _morvex_sinhl(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_coshl(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_tanhl(DoubleDouble* res, DoubleDouble x);
