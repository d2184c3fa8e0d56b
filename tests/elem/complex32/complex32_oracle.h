// Test helpers for the COMPLEX*32 functions: the entry points, a complex
// value at MPFR precision with the per-part formulas of the functions, the
// normwise relative error |w - exact| / |exact| of a result, random
// arguments, and bit-exact comparison.
#pragma once

#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "f90/f90.h"
#include "real16/math_oracle.h"

using morvex::Complex32;


namespace c32test {

using namespace r16test;
using Cx = Complex32;

using CxUnary = Cx* (*)(Cx*, Cx);
using CxBinary = Cx* (*)(Cx*, Cx, Cx);

// Bits of the NaN part the functions produce (r16test's kNaN).
inline constexpr uint64_t kQuietNaN = 0x7ff8000000000000ull;
// The accuracy every function is held to, and a low part's scale.
inline constexpr double kLimit = 1e-30;
inline const double k2m60 = p2(-60);

inline Cx cx(double re, double im) { return {{re, 0.0}, {im, 0.0}}; }

inline std::string show(const Cx& z) {
  return "(" + r16test::show(z.re) + ", " + r16test::show(z.im) + ")";
}

// Calls an entry with a result slot filled with 0xcc first; the entry must
// return the slot's address.
template <class R, class F, class... Args>
R call_into(F f, Args... args) {
  R r;
  std::memset(&r, 0xcc, sizeof r);
  EXPECT_EQ(f(&r, args...), &r);
  return r;
}
template <class... Args>
Cx c_call(Cx* (*f)(Cx*, Args...), Args... args) {
  return call_into<Cx>(f, args...);
}

inline bool same_bits(const Cx& a, const Cx& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
using r16test::same_bits;

// An exact result: every part equal in value (+0 and -0 both pass), an
// expected NaN matched by its bits. Where the sign of a zero matters the
// tests compare bits with EXPECT_CX_EQ.
inline bool exact(double got, double want) {
  return std::isnan(want) ? bits(got) == bits(want) : got == want;
}
inline bool exact(const Cx& got, const Cx& want) {
  return exact(got.re.hi, want.re.hi) && exact(got.re.lo, want.re.lo) &&
         exact(got.im.hi, want.im.hi) && exact(got.im.lo, want.im.lo);
}

#define EXPECT_CX_EQ(actual, expected)                                                    \
  do {                                                                                    \
    const c32test::Cx act_ = (actual), exp_ = (expected);                                 \
    EXPECT_TRUE(c32test::same_bits(act_, exp_))                                           \
        << #actual << " = " << c32test::show(act_) << ", expected " << c32test::show(exp_); \
  } while (0)

// A complex value at MPFR precision.
struct MpCx {
  Mp re, im;
  MpCx() = default;
  explicit MpCx(const Cx& z) {
    re.set(z.re);
    im.set(z.im);
  }
};

// |got - exact| / |exact|, normwise; an exact zero demands a zero.
inline double relative_error(const Cx& got, MpCx& exact) {
  MpCx g(got);
  Mp dre, dim, num, den;
  mpfr_sub(dre, g.re, exact.re, MPFR_RNDN);
  mpfr_sub(dim, g.im, exact.im, MPFR_RNDN);
  mpfr_hypot(num, dre, dim, MPFR_RNDN);
  mpfr_hypot(den, exact.re, exact.im, MPFR_RNDN);
  if (mpfr_zero_p(den)) return mpfr_zero_p(num) ? 0.0 : INFINITY;
  if (!mpfr_number_p(num)) return INFINITY;
  mpfr_div(num, num, den, MPFR_RNDN);
  return std::fabs(num.to_double());
}

// Per-part formulas of the exact results.
inline void mp_mul(MpCx& r, MpCx& a, MpCx& b) {
  Mp t;
  mpfr_mul(r.re, a.re, b.re, MPFR_RNDN);
  mpfr_mul(t, a.im, b.im, MPFR_RNDN);
  mpfr_sub(r.re, r.re, t, MPFR_RNDN);
  mpfr_mul(r.im, a.re, b.im, MPFR_RNDN);
  mpfr_mul(t, a.im, b.re, MPFR_RNDN);
  mpfr_add(r.im, r.im, t, MPFR_RNDN);
}
inline void mp_div(MpCx& r, MpCx& a, MpCx& b) {
  Mp h, t, u;
  mpfr_sqr(h, b.re, MPFR_RNDN);
  mpfr_sqr(t, b.im, MPFR_RNDN);
  mpfr_add(h, h, t, MPFR_RNDN);
  mpfr_mul(t, a.re, b.re, MPFR_RNDN);
  mpfr_mul(u, a.im, b.im, MPFR_RNDN);
  mpfr_add(t, t, u, MPFR_RNDN);
  mpfr_mul(u, a.im, b.re, MPFR_RNDN);
  mpfr_mul(r.im, a.re, b.im, MPFR_RNDN);
  mpfr_sub(r.im, u, r.im, MPFR_RNDN);
  mpfr_div(r.re, t, h, MPFR_RNDN);
  mpfr_div(r.im, r.im, h, MPFR_RNDN);
}
// z^n by binary powering at MPFR precision (reciprocal first for n < 0).
inline void mp_pown(MpCx& r, MpCx& z, int32_t n) {
  MpCx base, t;
  mpfr_set(base.re, z.re, MPFR_RNDN);
  mpfr_set(base.im, z.im, MPFR_RNDN);
  if (n < 0) {
    MpCx one;
    mpfr_set_d(one.re, 1.0, MPFR_RNDN);
    mpfr_set_d(one.im, 0.0, MPFR_RNDN);
    mp_div(base, one, z);
  }
  uint32_t m = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
  mpfr_set_d(r.re, 1.0, MPFR_RNDN);
  mpfr_set_d(r.im, 0.0, MPFR_RNDN);
  while (m) {
    if (m & 1) {
      mp_mul(t, r, base);
      mpfr_set(r.re, t.re, MPFR_RNDN);
      mpfr_set(r.im, t.im, MPFR_RNDN);
    }
    m >>= 1;
    if (m) {
      mp_mul(t, base, base);
      mpfr_set(base.re, t.re, MPFR_RNDN);
      mpfr_set(base.im, t.im, MPFR_RNDN);
    }
  }
}
inline void mp_abs(Mp& r, MpCx& z) { mpfr_hypot(r, z.re, z.im, MPFR_RNDN); }
// The principal square root: m = sqrt((|z| + |x|)/2), n = |y| / (2m).
inline void mp_sqrt(MpCx& r, MpCx& z) {
  Mp a, m, n;
  mp_abs(a, z);
  mpfr_abs(m, z.re, MPFR_RNDN);
  mpfr_add(m, m, a, MPFR_RNDN);
  mpfr_div_2ui(m, m, 1, MPFR_RNDN);
  mpfr_sqrt(m, m, MPFR_RNDN);
  mpfr_abs(n, z.im, MPFR_RNDN);
  mpfr_div(n, n, m, MPFR_RNDN);
  mpfr_div_2ui(n, n, 1, MPFR_RNDN);
  const bool swap = mpfr_sgn(z.re.get()) < 0;
  mpfr_set(r.re, swap ? n.get() : m.get(), MPFR_RNDN);
  mpfr_set(r.im, swap ? m.get() : n.get(), MPFR_RNDN);
  if (mpfr_sgn(z.im.get()) < 0) mpfr_neg(r.im, r.im, MPFR_RNDN);
}
// e^x (cos y, sin y).
inline void mp_exp(MpCx& r, MpCx& z) {
  Mp e, s, c;
  mpfr_exp(e, z.re, MPFR_RNDN);
  mpfr_sin_cos(s, c, z.im, MPFR_RNDN);
  mpfr_mul(r.re, e, c, MPFR_RNDN);
  mpfr_mul(r.im, e, s, MPFR_RNDN);
}
// (ln|z|, atan2(y, x)).
inline void mp_log(MpCx& r, MpCx& z) {
  Mp a;
  mp_abs(a, z);
  mpfr_log(r.re, a, MPFR_RNDN);
  mpfr_atan2(r.im, z.im, z.re, MPFR_RNDN);
}
// (sin x cosh y, cos x sinh y) and (cos x cosh y, -sin x sinh y).
inline void mp_sin_cos(MpCx& r, MpCx& z, bool cosine) {
  Mp s, c, sh, ch;
  mpfr_sin_cos(s, c, z.re, MPFR_RNDN);
  mpfr_sinh_cosh(sh, ch, z.im, MPFR_RNDN);
  if (cosine) {
    mpfr_mul(r.re, c, ch, MPFR_RNDN);
    mpfr_mul(r.im, s, sh, MPFR_RNDN);
    mpfr_neg(r.im, r.im, MPFR_RNDN);
  } else {
    mpfr_mul(r.re, s, ch, MPFR_RNDN);
    mpfr_mul(r.im, c, sh, MPFR_RNDN);
  }
}
inline void mp_sin(MpCx& r, MpCx& z) { mp_sin_cos(r, z, false); }
inline void mp_cos(MpCx& r, MpCx& z) { mp_sin_cos(r, z, true); }
// z^w = e^(w ln z) with the principal logarithm.
inline void mp_pow(MpCx& r, MpCx& z, MpCx& w) {
  MpCx l, e;
  mp_log(l, z);
  mp_mul(e, w, l);
  mp_exp(r, e);
}

// Random arguments: a part with random sign and a magnitude log-uniform in
// [10^a, 10^b] (with a random trailing part), or uniform in [a, b].
inline DD log_part(std::mt19937_64& rng, double a, double b) {
  const double m = std::pow(10.0, std::uniform_real_distribution<double>(a, b)(rng));
  return with_tail((rng() & 1) ? -m : m, rng);
}
inline DD uniform_part(std::mt19937_64& rng, double a, double b) {
  return with_tail(std::uniform_real_distribution<double>(a, b)(rng), rng);
}
// z with |z| near 10^e: both parts log-uniform within a few decades below
// 10^e (so either may dominate).
inline Cx near_magnitude(std::mt19937_64& rng, double e, double spread = 3.0) {
  return {log_part(rng, e - spread, e), log_part(rng, e - spread, e)};
}

// z = r e^(i theta), r uniform in [r0, r1], theta uniform.
inline Cx polar(std::mt19937_64& rng, double r0, double r1) {
  const double r = std::uniform_real_distribution<double>(r0, r1)(rng);
  const double t = std::uniform_real_distribution<double>(-M_PI, M_PI)(rng);
  return {with_tail(r * std::cos(t), rng), with_tail(r * std::sin(t), rng)};
}

// Draws: both parts log-uniform below 10^e (near_magnitude), one part far
// below the other, z on an annulus, or parts uniform in a box.
inline auto near_draw(double e, double spread = 3.0) {
  return [=](std::mt19937_64& rng) { return near_magnitude(rng, e, spread); };
}
inline auto lopsided_draw(double e) {
  return [=](std::mt19937_64& rng) {
    Cx z = {log_part(rng, e - 1, e), log_part(rng, e - 40, e - 20)};
    if (rng() & 1) std::swap(z.re, z.im);
    return z;
  };
}
inline auto polar_draw(double r0, double r1) {
  return [=](std::mt19937_64& rng) { return polar(rng, r0, r1); };
}
inline auto box_draw(double x0, double x1, double y0, double y1) {
  return [=](std::mt19937_64& rng) {
    return Cx{uniform_part(rng, x0, x1), uniform_part(rng, y0, y1)};
  };
}

// Normwise error of f(z) against MPFR's formula exact_of.
inline double error_of(CxUnary f, void (*exact_of)(MpCx&, MpCx&), const Cx& z) {
  MpCx mz(z), want;
  exact_of(want, mz);
  return relative_error(c_call(f, z), want);
}

// Sweeps f over `count` arguments drawn by `draw`, each error divided by
// allowance(z), the function's own growth of error (no_growth: none), and checks
// the largest against 1e-30.
inline double no_growth(const Cx&) { return 1.0; }
template <class Draw, class Allow>
void sweep(const char* name, CxUnary f, void (*exact_of)(MpCx&, MpCx&), int count, Draw draw,
           Allow allowance, uint64_t seed) {
  std::mt19937_64 rng(seed);
  Worst w(name);
  for (int i = 0; i < count; ++i) {
    const Cx z = draw(rng);
    w.add(error_of(f, exact_of, z), allowance(z), show(z));
  }
  w.check(1e-30);
}

// |z| in double, for allowances.
inline double mag(const Cx& z) { return std::hypot(z.re.hi, z.im.hi); }

}  // namespace c32test
