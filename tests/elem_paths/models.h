// The library's previous forms of the rounding steps that no longer depend
// on the path flag: rounding toward zero by frndint under the chopping word,
// and integer stores under it. The REAL*4 and REAL*8 comparisons check the
// bit-pattern forms against these.
#pragma once

#include <cstdint>

#include "real/rounding.h"
#include "x87.h"

namespace paths::old {

inline long double trunc_chop(long double x) {
  int32_t n;
  return x87::rndint_fist32_under(x, x87::CW_CHOP_DOUBLE, n);
}

inline long double ceil_positive(long double x) {
  const long double t = trunc_chop(x);
  return t == x ? t : t + 1.0L;
}

template <class T>
long double floor_of(T x) {
  if (x > 0) return trunc_chop(x);
  if (x < 0) return -ceil_positive(-static_cast<long double>(x));
  return 0.0L;
}

template <class T>
long double ceil_of(T x) {
  if (x > 0) return ceil_positive(x);
  if (x < 0) return -trunc_chop(-static_cast<long double>(x));
  return 0.0L;
}

inline int32_t chop32(long double x) { return x87::fist32_under(x, x87::CW_CHOP_DOUBLE); }

template <class T>
int32_t nint32(T x) {
  return chop32(morvex::real::round_half_away(x));
}

// NINT to INTEGER*8 with saturation.
template <class T>
int64_t nint64(T x) {
  const long double r = morvex::real::round_half_away(x);
  if (!(r < 0x1p63L)) return INT64_MAX;
  if (r <= -0x1p63L) return INT64_MIN;
  return x87::fist64_under(r, x87::CW_CHOP_DOUBLE);
}

// MOD where x or y is infinite (the finite case is the partial remainder).
template <class T>
long double mod_of(T x, T y, T nan) {
  if (!(y < 0) && !(y > 0)) return nan;
  using B = morvex::real::FloatBits<T>;
  if (morvex::real::exponent_field(x) == B::kExponentMax ||
      morvex::real::exponent_field(y) == B::kExponentMax) {
    const long double q = trunc_chop(static_cast<long double>(x) / y);
    return x - y * q;
  }
  const long double r = x87::prem(x, y);
  if (r == 0) return static_cast<long double>(x) - x;
  return r;
}

}  // namespace paths::old
