// The REAL*16 trigonometric entry points under test, MPFR references for the
// degree forms, and a sweep over two arguments for ATAN2.
#pragma once

#include "f90/f90.h"
#include "math_oracle.h"
#include "real16/trig_kernel.h"


namespace r16test {

// The functions in degrees (a full turn is 360).
inline int mpfr_sind(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t m) { return mpfr_sinu(r, x, 360, m); }
inline int mpfr_cosd(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t m) { return mpfr_cosu(r, x, 360, m); }
inline int mpfr_tand(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t m) { return mpfr_tanu(r, x, 360, m); }
inline int mpfr_asind(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t m) { return mpfr_asinu(r, x, 360, m); }
inline int mpfr_acosd(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t m) { return mpfr_acosu(r, x, 360, m); }
inline int mpfr_atand(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t m) { return mpfr_atanu(r, x, 360, m); }

using Binary = DoubleDouble* (*)(DoubleDouble*, DoubleDouble, DoubleDouble);
using BinaryRef = DoubleDouble* (*)(DoubleDouble*, const DoubleDouble*, const DoubleDouble*);

// Sweeps atan2-like f(y, x) against g on the points `draw` gives.
template <class Draw>
Worst sweep2(const char* name, Binary f,
             int (*g)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t), int count, Draw draw,
             uint64_t seed = 1) {
  std::mt19937_64 rng(seed);
  Worst w(name);
  for (int i = 0; i < count; ++i) {
    DD y, x;
    draw(rng, y, x);
    Mp my(y), mx(x), exact;
    g(exact, my, mx, MPFR_RNDN);
    w.add(relative_error(call(f, y, x), exact), 1.0, show(y) + ", " + show(x));
  }
  return w;
}

// v rounded to a double-double (the nearest double, then the nearest double
// to the rest).
inline DD to_dd(mpfr_ptr v) {
  Mp rest;
  const double hi = mpfr_get_d(v, MPFR_RNDN);
  mpfr_sub_d(rest, v, hi, MPFR_RNDN);
  return {hi, mpfr_get_d(rest, MPFR_RNDN)};
}

// out = pi * num / den.
inline void pi_times(mpfr_ptr out, long num, unsigned long den) {
  mpfr_const_pi(out, MPFR_RNDN);
  mpfr_mul_si(out, out, num, MPFR_RNDN);
  mpfr_div_ui(out, out, den, MPFR_RNDN);
}


}  // namespace r16test
