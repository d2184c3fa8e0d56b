// ASIN and ACOS, shared by the REAL*4 and REAL*8 elementals (Cody and Waite).
//
// Method: y = |x|. For y <= 0.5, asin y = r + r*g*P(g)/Q(g) with r = y and
// g = y^2 (just y when y <= eps). For 0.5 < y <= 1 the identity
// asin y = pi/2 - 2*asin(sqrt((1 - y)/2)) is used: g = ((0.5 - y) + 0.5)*0.5
// is exact, r = 2*sqrt(g) (x87 square root), and the same rational form
// gives r = 2*asin(sqrt g). Eight cases (arcsine or arccosine, x < 0,
// y > 0.5) then combine r with pi/4 and pi/2 so that no cancellation occurs:
//
//   case  function  x < 0  y > 0.5  result
//   0     asin      no     no       r
//   1     acos      no     no       pi/4 + (pi/4 - r)
//   2     asin      yes    no       -r
//   3     acos      yes    no       pi/4 + (pi/4 + r)
//   4     asin      no     yes      pi/4 + (pi/4 - r)
//   5     acos      no     yes      r
//   6     asin      yes    yes      (-pi/4 + r) - pi/4
//   7     acos      yes    yes      pi/2 + (pi/2 - r)
//
// Special cases: |x| > 1 gives NaN; NaN gives NaN; ASIN(-0.0) is +0.0.
//
// Constants, per kind, in AsinConstants<T>: kEps, kP (p1 + p2*g + ...),
// kQ (monic: q0 + q1*g + ... + g^N), kPio4, kPio2, nan().
#pragma once

#include "real/float_bits.h"
#include "x87.h"

namespace morvex::real {

template <class T>
struct AsinConstants;

template <class T>
inline long double asinacos_of(T x, bool arccosine) {
  using K = AsinConstants<T>;
  int kase = arccosine ? 1 : 0;
  if (x < 0) kase += 2;
  const long double y = x87::abs(x);
  long double r = y;
  if (!(y <= K::kEps)) {
    long double g;
    if (y <= 0.5L) {
      g = y * y;
    } else if (1.0L < y) {
      return K::nan();
    } else {  // 0.5 < y <= 1, and NaN
      kase += 4;
      g = ((0.5L - y) + 0.5L) * 0.5L;
      r = 2 * x87::sqrt(g);
    }
    r = r + r * (g * horner(g, K::kP)) / horner_monic(g, K::kQ);
  }
  const long double pio4 = K::kPio4, pio2 = K::kPio2;
  switch (kase) {
    case 0: return r;
    case 1: return pio4 + (pio4 - r);
    case 2: return -r;
    case 3: return pio4 + (pio4 + r);
    case 4: return pio4 + (pio4 - r);
    case 5: return r;
    case 6: return (-pio4 + r) - pio4;
    default: return pio2 + (pio2 - r);
  }
}

}  // namespace morvex::real
