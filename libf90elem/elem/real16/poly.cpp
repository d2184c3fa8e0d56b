// Horner evaluation of a polynomial with double-double coefficients, leading
// coefficient first; every step is one double-double multiply and add.
//
//   polyN(x, c, n) = sum c[i] x^(n-i), i = 0..n     (n + 1 coefficients)
//   polyD(x, c, n) = x^n + sum c[i] x^(n-1-i)       (n coefficients, monic)
//
// Degenerate degrees read no coefficient: polyN with n < 0 is (0, 0), polyD
// with n <= 0 is (1, 0).
#include "real16/real16_math.h"

using namespace morvex::real16;

DoubleDouble* _morvex_polyN(DoubleDouble* res, DoubleDouble x, const DoubleDouble* c,
                            int32_t n) {
  if (n < 0) return store(res, {0.0, 0.0});
  return store(res, poly(x, c, n));
}

DoubleDouble* _morvex_polyD(DoubleDouble* res, DoubleDouble x, const DoubleDouble* c,
                            int32_t n) {
  if (n <= 0) return store(res, {1.0, 0.0});
  return store(res, poly_monic(x, c, n));
}
