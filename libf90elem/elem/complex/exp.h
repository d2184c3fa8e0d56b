// EXP of a complex value, shared by cdexp (COMPLEX*16) and cexp (COMPLEX*8).
//
// Method: r = e^a by the x87 exponential step under the round-to-nearest,
// 64-bit control word, with no limit test: r is formed in the x87's
// extended range, which holds it for |a| up to about 11355, and beyond that
// the step gives +Inf or +0.0. Then re = r * cos(b), im = r * sin(b), with the
// x87 sine and cosine applied to b directly, each part rounded when stored.
// A part that overflows the kind becomes an infinity when stored. e^+Inf is
// +Inf and e^-Inf is +0.0 (the exponential step alone would form Inf - Inf).
//
// Accuracy (normwise): COMPLEX*16 within 0.9 ulp for |b| <= 100; the x87
// reduces b with a 66-bit pi, which adds about |b| * 2^-66 (1.7 ulps at
// |b| = 1e5). COMPLEX*8 within 0.71 ulp.
//
// The x87 sine and cosine leave an argument with |b| >= 2^63 unchanged, so
// for such b both factors are b itself: EXP((a, b)) = (e^a * b, e^a * b).
#pragma once

#include "complex/kind.h"

namespace morvex::complex {

template <class T>
inline ComplexOf<T>* exp_into(ComplexOf<T>* res, ComplexOf<T> z) {
  const long double r = exp_step(z.re);
  long double c;
  const long double s = x87::sincos(z.im, c);
  return store<T>(res, r * c, r * s);
}

}  // namespace morvex::complex
