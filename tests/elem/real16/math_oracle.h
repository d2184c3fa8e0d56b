// MPFR oracle for the REAL*16 mathematical functions: exact conversion of a
// double-double to a 320-bit MPFR value, the relative error of a result, and
// accumulation of the largest error of a sweep with the argument that gave it.
#pragma once

#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "f90/f90.h"
#include "float_results.h"
#include "mpfr_sweep.h"
#include "oracle.h"

namespace r16test {

inline constexpr mpfr_prec_t kPrec = 320;

// Sweeps run a few thousand points in CI; F90_LONG_TESTS=1 multiplies them.
inline int sweep_count(int ci) { return f90test::long_tests() ? ci * 100 : ci; }

struct Mp : f90test::Mpfr<kPrec> {
  Mp() = default;
  explicit Mp(DD x) { set(x); }
  explicit Mp(double x) : Mpfr(x) {}
  void set(DD x) {  // hi + lo, exact at this precision
    mpfr_set_d(v, x.hi, MPFR_RNDN);
    mpfr_add_d(v, v, x.lo, MPFR_RNDN);
  }
  mpfr_ptr get() { return v; }
  double to_double() const { return mpfr_get_d(v, MPFR_RNDN); }
};

// |got - exact| / |exact|; an exact zero demands a zero.
inline double relative_error(DD got, mpfr_ptr exact) {
  Mp g(got), d;
  mpfr_sub(d, g, exact, MPFR_RNDN);
  if (mpfr_zero_p(exact)) return mpfr_zero_p(d) ? 0.0 : INFINITY;
  mpfr_div(d, d, exact, MPFR_RNDN);
  return std::fabs(d.to_double());
}

// A normalised double-double near hi with a random trailing part below half
// a unit of hi's last place. A trailing part that would be subnormal (and no
// longer carry 53 bits) is left out.
inline DD with_tail(double hi, std::mt19937_64& rng) {
  std::uniform_real_distribution<double> u(-0.5, 0.5);
  volatile double lo = std::ldexp(u(rng), std::ilogb(hi) - 53);
  if (std::fabs(lo) < 0x1p-1022) return {hi, 0.0};
  return {hi, lo};
}

// Largest error of a sweep, scaled by an allowance per argument (1 for a plain
// relative error), with the argument that gave it.
struct Worst {
  explicit Worst(const char* n) : name(n) {}
  const char* name;
  double scaled = 0.0;
  double raw = 0.0;
  std::string where;
  void add(double err, double allowance, const std::string& arg) {
    if (std::isnan(err) || err / allowance > scaled) {
      scaled = std::isnan(err) ? INFINITY : err / allowance;
      raw = err;
      where = arg;
    }
  }
  // Prints the figure (it goes into the closing notes) and checks it.
  void check(double limit) const {
    std::printf("[ accuracy ] %-8s largest relative error %.3g (%.3g of the allowance) at %s\n",
                name, raw, scaled, where.c_str());
    EXPECT_LE(scaled, limit) << name << " at " << where;
  }
};

}  // namespace r16test


namespace r16test {

using Unary = DoubleDouble* (*)(DoubleDouble*, DoubleDouble);
using UnaryRef = DoubleDouble* (*)(DoubleDouble*, const DoubleDouble*);
using MpfrUnary = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

// Relative error of f(x) against MPFR's g.
inline double error_of(Unary f, MpfrUnary g, DD x) {
  Mp in(x), exact;
  g(exact, in, MPFR_RNDN);
  return relative_error(call(f, x), exact);
}

}  // namespace r16test

namespace r16test {

// Sweeps f against g on `count` arguments drawn by `draw`, each error divided
// by allowance(x): the function's own growth of error with the argument (1
// where the relative error itself is bounded).
template <class Draw, class Allow>
Worst sweep(const char* name, Unary f, MpfrUnary g, int count, Draw draw, Allow allowance,
            uint64_t seed = 1) {
  std::mt19937_64 rng(seed);
  Worst w(name);
  for (int i = 0; i < count; ++i) {
    const DD x = draw(rng);
    w.add(error_of(f, g, x), allowance(x), show(x));
  }
  return w;
}

// Arguments uniform in [a, b], or log-uniform over [10^a, 10^b].
inline auto uniform(double a, double b) {
  return [=](std::mt19937_64& rng) {
    return with_tail(std::uniform_real_distribution<double>(a, b)(rng), rng);
  };
}
inline auto log_uniform(double a, double b) {
  return [=](std::mt19937_64& rng) {
    return with_tail(std::pow(10.0, std::uniform_real_distribution<double>(a, b)(rng)), rng);
  };
}
inline double flat(DD) { return 1.0; }

// A by-value entry and its by-reference twin: the same bits in the caller's
// slot (every byte written), and the slot's address returned.
struct TwinPair {
  Unary value;
  UnaryRef ref;
};
template <size_t N>
void expect_twin_matches(const TwinPair& p, const DD (&args)[N]) {
  for (const DD& x : args) {
    DD a, b;
    std::memset(&b, 0xcc, sizeof b);
    p.value(&a, x);
    EXPECT_EQ(p.ref(&b, &x), &b);
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << show(x);
  }
}

}  // namespace r16test
