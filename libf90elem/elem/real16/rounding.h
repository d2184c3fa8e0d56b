// Rounding of double-doubles to integral values and to 64-bit integers.
//
// FLOOR and CEILING round the high part; when it is already integral (or
// infinite), the low part is rounded too and the two renormalised, so
// floor((3, -2^-60)) is 2. A NaN high part gives (+0, +0). AINT is FLOOR for a
// high part >= 0 and CEILING otherwise.
//
// ANINT rounds the exact value to the nearest integral value, halfway cases
// away from zero, whether the half lies in the high part or in the low part.
//
// Truncation to a 64-bit integer is exact: the low part counts whenever the
// high part is integral, so (3, -2^-60) truncates to 2, as AINT does, and
// (2^63, -1) to 2^63 - 1.
#pragma once

#include <cmath>
#include <cstdint>

#include "real16/dd.h"
#include "real16/parts.h"

namespace morvex::dd {

MORVEX_DD_INLINE DD floor_dd(DD x) {
  if (std::isnan(x.hi)) return {0.0, 0.0};
  const double f = floor_part(x.hi);
  if (f != x.hi) return {f, 0.0};
  return renorm(f, floor_part(x.lo));
}

MORVEX_DD_INLINE DD ceil_dd(DD x) {
  if (std::isnan(x.hi)) return {0.0, 0.0};
  const double c = ceil_part(x.hi);
  if (c != x.hi) return {c, 0.0};
  return renorm(c, ceil_part(x.lo));
}

MORVEX_DD_INLINE DD aint_dd(DD x) { return x.hi >= 0.0 ? floor_dd(x) : ceil_dd(x); }

// x rounded to the nearest integral value; a tie (x exactly halfway between
// two integers, |x - trunc(x)| = 0.5) goes up when `up`, down otherwise.
inline double nearest_part(double x, bool up) {
  const double t = trunc_part(x);
  const double f = x - t;  // exact: the fraction bits of x, sign of x
  if (f > 0.5 || (f == 0.5 && up)) return t + 1.0;
  if (f < -0.5 || (f == -0.5 && !up)) return t - 1.0;
  return t;
}

MORVEX_DD_INLINE DD anint_dd(DD x) {
  if (trunc_part(x.hi) == x.hi || std::isnan(x.hi)) {
    // The fraction lies in lo: a half there goes away from zero, which is the
    // direction of the value's sign (the sign of hi).
    return renorm(x.hi, nearest_part(x.lo, x.hi > 0.0));
  }
  // hi has a fraction and |lo| is below half an ulp of hi, so lo only
  // decides the case where hi is exactly halfway: lo's sign picks the
  // neighbour, and a zero lo (or NaN) goes away from zero.
  const bool up = x.lo > 0.0 || (!(x.lo < 0.0) && x.hi > 0.0);
  return {nearest_part(x.hi, up), 0.0};
}

// The exact value of x truncated toward zero, for |x.hi| <= 2^63, as the
// bits of a 64-bit integer (two's complement for a negative x).
inline uint64_t trunc_to_bits64(DD x) {
  const bool negative = x.hi < 0.0;
  const DD y = negative ? neg(x) : x;
  uint64_t r = trunc_magnitude(y.hi);
  if (y.hi > 0.0 && trunc_part(y.hi) == y.hi) {
    r += static_cast<uint64_t>(trunc_to_int64(floor_part(y.lo)));
  }
  return negative ? 0 - r : r;
}

// Biased exponent of 2^63: a high part with this exponent or above (or
// infinite or NaN) is beyond the 64-bit integers, except +-2^63 itself with
// a low part toward zero ((2^63, -1) is INT64_MAX, as ll2q gives it).
inline constexpr int kBiased2To63 = 1086;

// x truncated toward zero as INTEGER*8; 0x8000000000000000 when that is out
// of range or x.hi is infinite or NaN.
inline int64_t to_int64(DD x) {
  const int e = biased_exponent(x.hi);
  if (e >= kBiased2To63) {
    const bool inward = std::fabs(x.hi) == 0x1p63 && x.lo != 0.0 && (x.lo < 0.0) != (x.hi < 0.0);
    if (!inward) return INT64_MIN;
  }
  return static_cast<int64_t>(trunc_to_bits64(x));
}

}  // namespace morvex::dd
