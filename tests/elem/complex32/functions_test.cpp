// COMPLEX*32 EXP, LOG, SIN, COS and the complex power: exact and special
// results, the ends of the range, and accuracy sweeps against MPFR
// (normwise relative error, divided by the function's own growth of error
// where it has one).
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "complex32_oracle.h"

namespace {

using namespace c32test;

const DD kPio2 = {from_bits(0x3ff921fb54442d18), from_bits(0x3c91a62633145c02)};

struct UnaryCase {
  const char* what;
  CxUnary f;
  Cx z, want;
};

TEST(Complex32Functions, ExactAndSpecialResults) {
  const Cx nan_parts = {{kNaN, 0}, {kNaN, 0}};
  const std::vector<UnaryCase> cases = {
      {"exp(0)", _morvex_cexpl, cx(0, 0), cx(1, 0)},
      {"exp(-1000 + i)", _morvex_cexpl, cx(-1000, 1), cx(0, 0)},
      {"log(1)", _morvex_clogl, cx(1, 0), cx(0, 0)},
      {"log(i)", _morvex_clogl, cx(0, 1), {{0, 0}, kPio2}},
      {"log(0)", _morvex_clogl, cx(0, 0), cx(-kInf, 0)},
      {"sin(0)", _morvex_csinl, cx(0, 0), cx(0, 0)},
      {"cos(0)", _morvex_ccosl, cx(0, 0), cx(1, 0)},
      // Overflowing factors stay infinite; an exactly zero one gives zero.
      {"exp(1000)", _morvex_cexpl, cx(1000, 0), cx(kInf, 0)},
      {"exp(1000 + pi i)", _morvex_cexpl, {{1000, 0}, {2 * kPio2.hi, 2 * kPio2.lo}},
       cx(-kInf, kInf)},
      {"sin(1000 i)", _morvex_csinl, cx(0, 1000), cx(0, kInf)},
      {"sin(-1000 i)", _morvex_csinl, cx(0, -1000), cx(0, -kInf)},
      {"cos(1000 i)", _morvex_ccosl, cx(0, 1000), cx(kInf, 0)},
      {"cos(1 - 1000 i)", _morvex_ccosl, cx(1, -1000), cx(kInf, kInf)},
      // SIN and COS of a NaN imaginary part, LOG of a NaN part.
      {"sin(1 + NaN i)", _morvex_csinl, cx(1, kNaN), nan_parts},
      {"cos(1 + NaN i)", _morvex_ccosl, cx(1, kNaN), nan_parts},
  };
  for (const UnaryCase& c : cases) {
    const Cx got = c_call(c.f, c.z);
    EXPECT_TRUE(exact(got, c.want)) << c.what << " gave " << show(got);
  }
  EXPECT_TRUE(std::isnan(c_call(_morvex_clogl, cx(1, kNaN)).re.hi));
  EXPECT_TRUE(std::isnan(c_call(_morvex_clogl, cx(kNaN, 0)).re.hi));
  const Cx inf_log = c_call(_morvex_clogl, cx(kInf, 1));
  EXPECT_TRUE(exact(inf_log.re.hi, kInf) && exact(inf_log.re.lo, 0.0)) << show(inf_log);
}

TEST(Complex32Functions, KnownValues) {
  // e^(i pi/2) = (~0, 1), log(-1) = (0, pi), log(-2i) = (ln 2, -pi/2).
  const Cx e = c_call(_morvex_cexpl, Cx{{0, 0}, kPio2});
  EXPECT_EQ(e.im.hi, 1.0);
  EXPECT_LT(std::fabs(e.re.hi), 1e-30);
  for (const Cx& z : {cx(-1, 0), cx(0, -2), cx(-0.5, -0.5), cx(3, 4)}) {
    EXPECT_LE(error_of(_morvex_clogl, mp_log, z), kLimit) << show(z);
  }
  const Cx l = c_call(_morvex_clogl, cx(-1, 0));
  EXPECT_EQ(l.re.hi, 0.0);
  EXPECT_EQ(l.im.hi, 2 * kPio2.hi);
}

struct PowCase {
  const char* what;
  Cx z, w, want;
};

TEST(Complex32Pow, ExactAndSpecialResults) {
  const std::vector<PowCase> cases = {
      {"0^0", cx(0, 0), cx(0, 0), {{kNaN, 0}, {kNaN, 0}}},
      {"2^3 by the integer power", cx(2, 0), cx(3, 0), cx(8, 0)},
      {"2^-2 by the integer power", cx(2, 0), cx(-2, 0), cx(0.25, 0)},
      {"i^2 by the integer power", cx(0, 1), cx(2, 0), cx(-1, 0)},
      {"(1+i)^8 by the integer power", cx(1, 1), cx(8, 0), cx(16, 0)},
      {"z^0", cx(3, -4), cx(0, 0), cx(1, 0)},
  };
  for (const PowCase& c : cases) {
    const Cx got = c_call(_morvex_cpowl, c.z, c.w);
    EXPECT_TRUE(exact(got, c.want)) << c.what << " gave " << show(got);
  }
  // Zero to any other power: all four parts +0, negative powers included.
  for (const Cx& w : {cx(2, 0), cx(-1, 0), cx(0, 1), cx(0.5, -3), cx(-0.0, 1e-300)}) {
    EXPECT_CX_EQ(c_call(_morvex_cpowl, cx(0, 0), w), cx(0, 0));
  }
  // 0^0: the NaN parts exactly (0x7ff8000000000000, +0).
  const Cx n = c_call(_morvex_cpowl, cx(0, 0), cx(-0.0, 0));
  EXPECT_EQ(bits(n.re.hi), kQuietNaN);
  EXPECT_EQ(bits(n.re.lo), 0u);
  EXPECT_EQ(bits(n.im.hi), kQuietNaN);
  EXPECT_EQ(bits(n.im.lo), 0u);
}

double pow_error(const Cx& z, const Cx& w) {
  MpCx mz(z), mw(w), want;
  mp_pow(want, mz, mw);
  return relative_error(c_call(_morvex_cpowl, z, w), want);
}

using C = std::complex<double>;
C approx(const Cx& z) { return {z.re.hi, z.im.hi}; }

// The functions' own growth of error: the argument reductions and expl lose
// in proportion to the size of the argument, and near a zero of the result
// (or |z| = 1 for LOG) the relative error grows as the condition number.
double exp_allowance(const Cx& z) {
  return std::max({1.0, std::fabs(z.re.hi), std::fabs(z.im.hi)});
}
double log_allowance(const Cx& z) { return std::max(1.0, 1.0 / std::abs(std::log(approx(z)))); }
double sin_allowance(const Cx& z) {
  const C s = approx(z);
  return exp_allowance(z) * std::max(1.0, std::abs(std::cos(s)) / std::abs(std::sin(s)));
}
double cos_allowance(const Cx& z) {
  const C s = approx(z);
  return exp_allowance(z) * std::max(1.0, std::abs(std::sin(s)) / std::abs(std::cos(s)));
}

TEST(Complex32Exp, Sweeps) {
  const int n = sweep_count(1500);
  sweep("cexpl", _morvex_cexpl, mp_exp, n, box_draw(-1, 1, -1, 1), exp_allowance, 1);
  sweep("cexpl", _morvex_cexpl, mp_exp, n, box_draw(-650, 700, -50, 50), exp_allowance, 2);
  sweep("cexpl", _morvex_cexpl, mp_exp, n / 3, box_draw(-5, 5, -1e4, 1e4), exp_allowance, 3);
  sweep("cexpl", _morvex_cexpl, mp_exp, n / 3, near_draw(-200), exp_allowance, 4);
}

TEST(Complex32Log, Sweeps) {
  const int n = sweep_count(1500);
  sweep("clogl", _morvex_clogl, mp_log, n, near_draw(0), log_allowance, 1);
  sweep("clogl", _morvex_clogl, mp_log, n / 2,
        polar_draw(0.5, 2.0), log_allowance, 2);
  sweep("clogl", _morvex_clogl, mp_log, n / 2, near_draw(10, 20), log_allowance, 3);
  // |z|^2 beyond the double range on both sides.
  sweep("clogl", _morvex_clogl, mp_log, n / 3, near_draw(200), log_allowance, 4);
  sweep("clogl", _morvex_clogl, mp_log, n / 3, near_draw(-200), log_allowance, 5);
  sweep("clogl", _morvex_clogl, mp_log, n / 3, near_draw(308, 1.0), log_allowance, 6);
  sweep("clogl", _morvex_clogl, mp_log, n / 3, near_draw(-305, 1.0), log_allowance, 7);
}

TEST(Complex32Log, EndsOfTheRange) {
  // Finite, and accurate, where x^2 + y^2 overflows or underflows.
  for (const Cx& z : {cx(0x1p1000, 0), cx(-0x1p1023, 0x1p1023), cx(0x1p-1074, 0),
                      cx(0x1p-600, -0x1p-600), cx(1e-320, 3e-320)}) {
    EXPECT_LE(error_of(_morvex_clogl, mp_log, z), kLimit) << show(z);
  }
}

TEST(Complex32SinCos, Sweeps) {
  const int n = sweep_count(1500);
  sweep("csinl", _morvex_csinl, mp_sin, n, box_draw(-1, 1, -1, 1), sin_allowance, 1);
  sweep("csinl", _morvex_csinl, mp_sin, n, box_draw(-20, 20, -40, 40), sin_allowance, 2);
  sweep("csinl", _morvex_csinl, mp_sin, n / 3, box_draw(-1e3, 1e3, -650, 650), sin_allowance, 3);
  sweep("csinl", _morvex_csinl, mp_sin, n / 3, near_draw(-200), sin_allowance, 4);
  sweep("ccosl", _morvex_ccosl, mp_cos, n, box_draw(-1, 1, -1, 1), cos_allowance, 1);
  sweep("ccosl", _morvex_ccosl, mp_cos, n, box_draw(-20, 20, -40, 40), cos_allowance, 2);
  sweep("ccosl", _morvex_ccosl, mp_cos, n / 3, box_draw(-1e3, 1e3, -650, 650), cos_allowance, 3);
  sweep("ccosl", _morvex_ccosl, mp_cos, n / 3, near_draw(-200), cos_allowance, 4);
}

// z^w for z and w drawn by the two functions; the error grows with the
// size of w ln z.
template <class DrawZ, class DrawW>
void pow_sweep(int count, DrawZ draw_z, DrawW draw_w, uint64_t seed) {
  std::mt19937_64 rng(seed);
  Worst worst("cpowl");
  for (int i = 0; i < count; ++i) {
    const Cx z = draw_z(rng), w = draw_w(rng);
    const double allowance =
        std::max(1.0, std::abs(approx(w)) * std::max(1.0, std::abs(std::log(approx(z)))));
    worst.add(pow_error(z, w), allowance, show(z) + " ** " + show(w));
  }
  worst.check(kLimit);
}

TEST(Complex32Pow, Sweeps) {
  const int n = sweep_count(1500);
  pow_sweep(n, near_draw(0.5, 2.0), box_draw(-3, 3, -3, 3), 1);
  pow_sweep(n / 2, near_draw(0.5, 2.0), [](std::mt19937_64& rng) {
    return Cx{uniform_part(rng, -3, 3), {0, 0}};
  }, 2);
  // Integral exponents with a low part: not the integer power.
  pow_sweep(n / 3, near_draw(0.5, 2.0), [](std::mt19937_64& rng) {
    const double k = static_cast<double>(static_cast<int>(rng() % 11) - 5);
    return Cx{{k == 0 ? 1.0 : k, std::ldexp((rng() & 1) ? 1.0 : -1.0, -60)}, {0, 0}};
  }, 3);
  // |z|^2 beyond the double range.
  pow_sweep(n / 3, near_draw(200), box_draw(-1.2, 1.2, -1, 1), 4);
  pow_sweep(n / 3, near_draw(-200), box_draw(-1.2, 1.2, -1, 1), 5);
}

TEST(Complex32Pow, IntegralExponentNeedsAZeroLowPart) {
  // 2^(3 + 2^-60) = 8 e^(2^-60 ln 2), not 8.
  const Cx w = {{3, 0x1p-60}, {0, 0}};
  const Cx got = c_call(_morvex_cpowl, cx(2, 0), w);
  EXPECT_EQ(got.re.hi, 8.0);
  EXPECT_GT(got.re.lo, 0.0);
  EXPECT_LE(pow_error(cx(2, 0), w), kLimit);
  // A root through the general path: (-1)^(1/2) = (~0, 1).
  const Cx r = c_call(_morvex_cpowl, cx(-1, 0), cx(0.5, 0));
  EXPECT_EQ(r.im.hi, 1.0);
  EXPECT_LT(std::fabs(r.re.hi), 1e-30);
  // The square root of 2^1000 where |z|^2 overflows.
  EXPECT_LE(pow_error(cx(0x1p1000, 0), cx(0.5, 0)), kLimit);
}

}  // namespace
