// MOD of two reals, shared by the REAL*4 and REAL*8 elementals.
//
// MOD(x, y) = x - y*AINT(x/y). Written with a rounded quotient that formula
// loses the remainder as soon as x/y needs more digits than the precision
// holds (MOD(1e17, 3) would give 0), or when x/y rounds up to an integer
// (the result then takes the wrong sign). The x87 partial remainder computes
// the exact remainder instead, whatever the control word:
//   - y = 0 or NaN: NaN;
//   - x and y finite: the exact remainder, with the sign of x; a zero
//     remainder is x - x in the caller's rounding (+0.0 but under rounding
//     down), which is what x - y*q gives when y*q equals x;
//   - x or y infinite (or x NaN): x - y*AINT(x/y) formed in the x87
//     registers, as before: MOD(x, Inf) and MOD(Inf, y) are NaN.
#pragma once

#include "real/float_bits.h"
#include "x87.h"

namespace morvex::real {

template <class T>
inline long double mod_of(T x, T y, T nan) {
  if (!(y < 0) && !(y > 0)) return nan;  // y = 0 or NaN
  using B = FloatBits<T>;
  if (exponent_field(x) == B::kExponentMax || exponent_field(y) == B::kExponentMax) {
    // x/y is then an infinity, a zero or NaN: AINT leaves each as it is.
    const long double q = static_cast<long double>(x) / y;
    return x - y * q;
  }
  const long double r = x87::prem(x, y);
  if (r == 0) return static_cast<long double>(x) - x;
  return r;
}

}  // namespace morvex::real
