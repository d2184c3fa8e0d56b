// REAL*16 powers, the Horner evaluators and the argument reduction qmodr.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "control_word.h"
#include "math_oracle.h"

namespace {

using namespace r16test;

constexpr double kLimit = 1e-31;

DD powli(DD x, int32_t n) { return call(_morvex_powli, x, n); }
DD powlk(DD x, int64_t n) { return call(_morvex_powlk, x, n); }
DD powl(DD x, DD y) { return call(_morvex_powl, x, y); }

// Relative error of x**n, allowing for the power's condition number |n|.
double integer_power_error(DD got, DD x, int64_t n) {
  Mp mx(x), mn(static_cast<double>(n)), exact;  // |n| < 2^53 here: exact
  mpfr_pow(exact, mx, mn, MPFR_RNDN);
  return relative_error(got, exact);
}

TEST(Real16Power, IntegerSweeps) {
  std::mt19937_64 rng(11);
  Worst wi("powli"), wk("powlk");
  for (int i = 0; i < sweep_count(1500); ++i) {
    const DD x = uniform(0.25, 4.0)(rng);
    const int32_t n = static_cast<int32_t>(rng() % 601) - 300;
    const double allow = std::fmax(1.0, std::fabs(static_cast<double>(n)));
    wi.add(integer_power_error(powli(x, n), x, n), allow, show(x) + "**" + std::to_string(n));
    // Close to 1, so that huge INTEGER*8 exponents stay in range.
    const DD y =
        with_tail(1.0 + std::ldexp(std::uniform_real_distribution<double>(-1, 1)(rng), -45), rng);
    const int64_t m = static_cast<int64_t>(rng() % (1ull << 44)) - (1ll << 43);
    wk.add(integer_power_error(powlk(y, m), y, m),
           std::fmax(1.0, std::fabs(static_cast<double>(m))), show(y) + "**" + std::to_string(m));
  }
  wi.check(kLimit);
  wk.check(kLimit);
}

TEST(Real16Power, RealExponentSweep) {
  std::mt19937_64 rng(12);
  Worst w("powl"), wd("powld");
  for (int i = 0; i < sweep_count(1500); ++i) {
    const DD x = log_uniform(-3, 3)(rng);
    const DD y = uniform(-40, 40)(rng);
    Mp mx(x), my(y), exact;
    mpfr_pow(exact, mx, my, MPFR_RNDN);
    // exp(y log x): the error grows with |y log x|, as the power's own does.
    const double allow = std::fmax(1.0, std::fabs(y.hi * std::log(x.hi)));
    w.add(relative_error(powl(x, y), exact), allow, show(x) + "**" + show(y));
    DD rd;
    _morvex_powld(&rd, x, y.hi);
    Mp myd(y.hi), exact_d;
    mpfr_pow(exact_d, mx, myd, MPFR_RNDN);
    wd.add(relative_error(rd, exact_d), allow, show(x) + "**" + show({y.hi, 0.0}));
  }
  w.check(kLimit);
  wd.check(kLimit);
}

struct PowCase {
  const char* what;
  DD x, y;
  DD want;
};

TEST(Real16Power, ExactAndSpecialResults) {
  const double nan = __builtin_nan("");
  EXPECT_TRUE(same_result(powli({2, 0}, 10), {1024, 0}));
  EXPECT_TRUE(same_result(powli({2, 0}, -2), {0.25, 0}));
  EXPECT_TRUE(same_result(powli({-3, 0}, 3), {-27, 0}));
  EXPECT_TRUE(same_result(powli({7.5, 1e-20}, 0), {1, 0}));
  EXPECT_TRUE(same_result(powli({0, 0}, -1), {0, 0}));       // a zero base comes back as it is
  EXPECT_TRUE(same_result(powli({-0.0, 0}, 3), {-0.0, 0}));
  EXPECT_TRUE(same_result(powli({nan, 0}, 5), {nan, 0}));  // a NaN part counts as zero here
  EXPECT_TRUE(same_result(powli({0, nan}, -5), {0, nan}));
  EXPECT_TRUE(same_result(powlk({2, 0}, 62), {0x1p62, 0}));
  EXPECT_TRUE(same_result(powlk({2, 0}, -3), {0.125, 0}));

  const std::vector<PowCase> cases = {
      {"(-2)**3", {-2, 0}, {3, 0}, {-8, 0}},
      {"(-2)**0.5", {-2, 0}, {0.5, 0}, {nan, 0}},
      {"0**-1.5", {0, 0}, {-1.5, 0}, {kInf, 0}},
      {"0**1.5", {0, 0}, {1.5, 0}, {0, 0}},
      {"x**0", {3.5, 1e-17}, {0, 0}, {1, 0}},
      {"x**NaN", {3.5, 0}, {nan, 0}, {1, 0}},
      {"1**y", {1, 0}, {12345.678, 1e-13}, {1, 0}},
      {"1**Inf", {1, 0}, {kInf, 0}, {1, 0}},
      {"(-1)**2^70", {-1, 0}, {0x1p70, 0}, {1, 0}},
      {"(-0.5)**2^40", {-0.5, 0}, {0x1p40, 0}, {0, 0}},
      {"2**(1 + 2^-60) overflow route", {2, 0}, {4096, 0}, {kInf, 0}},
      {"2**-4096", {2, 0}, {-4096, 0}, {0, 0}},
  };
  for (const PowCase& c : cases) {
    const DD got = powl(c.x, c.y);
    EXPECT_TRUE(same_result(got, c.want)) << c.what << " gave " << show(got);
  }
}

// Exponents at the ends of the integer ranges terminate, with the limit or
// the exact value of the power.
TEST(Real16Power, ExtremeIntegerExponents) {
  EXPECT_TRUE(same_result(powli({-1, 0}, INT_MIN), {1, 0}));
  EXPECT_TRUE(same_result(powli({-1, 0}, INT_MAX), {-1, 0}));
  EXPECT_TRUE(same_result(powli({2, 0}, INT_MIN), {0, 0}));
  EXPECT_TRUE(same_result(powli({0.5, 0}, INT_MIN), {kInf, 0}));
  EXPECT_TRUE(same_result(powlk({-1, 0}, INT64_MIN), {1, 0}));
  EXPECT_TRUE(same_result(powlk({2, 0}, INT64_MIN), {0, 0}));
  EXPECT_TRUE(same_result(powlk({-2, 0}, INT64_MAX), {-kInf, 0}));
  // Overflow and underflow on the way give the limits, not NaN.
  EXPECT_TRUE(same_result(powli({2, 0}, 2000), {kInf, 0}));
  EXPECT_TRUE(same_result(powli({-2, 0}, 2001), {-kInf, 0}));
  EXPECT_TRUE(same_result(powli({-2, 0}, -2001), {-0.0, 0}));
  EXPECT_TRUE(same_result(powli({1e-200, 0}, -3), {kInf, 0}));
  // (1 + 2^-53)**(2^62) is e^512: in range although every square drifts.
  const DD near1 = powlk({1, 0x1p-53}, 1ll << 62);
  EXPECT_NEAR(near1.hi / std::exp(512.0), 1.0, 1e-10);
}

// A negative base: an even integer exponent drops the sign, an odd one keeps
// it, also when only the low part decides the parity or the exponent is
// beyond the INTEGER*8 range.
TEST(Real16Power, NegativeBaseParity) {
  const DD x = {-1.0, 0x1p-70};  // -(1 - 2^-70)
  struct Case {
    DD y;
    bool negative;
  };
  const Case cases[] = {
      {{0x1p60, 1.0}, true},     // odd only through lo
      {{0x1p60, 2.0}, false},    // even
      {{0x1p60, -3.0}, true},
      {{0x1p63, 0.0}, false},    // 2^63: even, beyond INTEGER*8
      {{0x1.8p63, 0.0}, false},
      {{-0x1p63, 0.0}, false},   // INT64_MIN through the integer power
      {{0x1p110, 0x1p56}, false},
  };
  for (const Case& c : cases) {
    const DD got = powl(x, c.y);
    Mp ax(DD{1.0, -0x1p-70}), my(c.y), exact;
    mpfr_pow(exact, ax, my, MPFR_RNDN);
    if (c.negative) mpfr_neg(exact, exact, MPFR_RNDN);
    EXPECT_EQ(std::signbit(got.hi), c.negative) << show(c.y);
    // INT64_MIN squares 63 times: the error grows with the exponent.
    const double allow = c.y.hi == -0x1p63 ? 1e-12 : 1e-28;
    EXPECT_LE(relative_error(got, exact), allow) << show(c.y) << " gave " << show(got);
  }
  // A non-integral exponent of a negative base: NaN.
  EXPECT_TRUE(std::isnan(powl(x, {0x1p40, 0.5}).hi));
}

TEST(Real16Power, ControlWordKept) {
  for (uint16_t cw : {f90test::kCwLibrary, f90test::kCwLinux}) {
    const uint16_t saved = f90test::get_cw();
    f90test::set_cw(cw);
    DD r;
    _morvex_powl(&r, {-3, 0}, {5, 0});
    _morvex_powl(&r, {3, 0}, {0x1p40, 0});
    _morvex_powl(&r, {3, 0}, {0x1p20, 1.0});
    const uint16_t after = f90test::get_cw();
    f90test::set_cw(saved);
    EXPECT_EQ(after, cw);
    EXPECT_TRUE(same_result(r, powl({3, 0}, {0x1p20, 1.0})));
  }
}

TEST(Real16Poly, HornerAndDegenerateDegrees) {
  const DD c[] = {{2, 0}, {-1, 0}, {5, 0}};
  DD r;
  EXPECT_EQ(_morvex_polyN(&r, {3, 0}, c, 2), &r);
  EXPECT_TRUE(same_result(r, {20, 0}));  // 2*9 - 3 + 5
  _morvex_polyD(&r, {2, 0}, c, 3);
  EXPECT_TRUE(same_result(r, {8 + 2 * 4 - 2 + 5, 0}));
  _morvex_polyD(&r, {0.5, 1e-20}, c, 1);  // x + c[0]
  EXPECT_TRUE(same_result(r, {2.5, 1e-20}));
  _morvex_polyN(&r, {0.5, 0}, c, 0);  // c[0]
  EXPECT_TRUE(same_result(r, {2, 0}));
  // Degenerate degrees read no coefficient at all.
  _morvex_polyN(&r, {0.5, 0}, nullptr, -1);
  EXPECT_TRUE(same_result(r, {0, 0}));
  _morvex_polyD(&r, {0.5, 0}, nullptr, 0);
  EXPECT_TRUE(same_result(r, {1, 0}));
  _morvex_polyD(&r, {0.5, 0}, nullptr, INT_MIN);
  EXPECT_TRUE(same_result(r, {1, 0}));
}

TEST(Real16Poly, DoubleDoublePrecision) {
  // (1 + 2^-60) x^2 + 2^-70 x + 1 at x = 1 + 2^-30 + 2^-80: every term matters.
  const DD c[] = {{1, 0x1p-60}, {0x1p-70, 0}, {1, 0}};
  const DD x = {1 + 0x1p-30, 0x1p-80};
  DD r;
  _morvex_polyN(&r, x, c, 2);
  Mp mx(x), a(c[0]), b(c[1]), exact;
  mpfr_mul(exact, a, mx, MPFR_RNDN);
  mpfr_add(exact, exact, b, MPFR_RNDN);
  mpfr_mul(exact, exact, mx, MPFR_RNDN);
  mpfr_add_d(exact, exact, 1.0, MPFR_RNDN);
  EXPECT_LE(relative_error(r, exact), 1e-31);
}

const DD kHalfPi = {0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};

TEST(Real16Qmodr, Reductions) {
  struct Case {
    DD x, p;
    int32_t k;
  };
  const Case cases[] = {
      {{10, 0}, kHalfPi, 6},     {{-10, 0}, kHalfPi, -6}, {{2.5, 0}, {1, 0}, 3},
      {{-2.5, 0}, {1, 0}, -3},   {{0.7, 0}, {1, 0}, 1},   {{1e6, 3e-11}, kHalfPi, 636620},
      {{0.25, 0}, kHalfPi, 0},
  };
  for (const Case& c : cases) {
    int32_t k = 12345;
    DD r;
    _morvex_qmodr(c.x, c.p, &k, &r);
    EXPECT_EQ(k, c.k) << show(c.x);
    Mp mx(c.x), mp_(c.p), exact;
    mpfr_mul_si(exact, mp_, c.k, MPFR_RNDN);
    mpfr_sub(exact, mx, exact, MPFR_RNDN);
    EXPECT_LE(relative_error(r, exact), 1e-30) << show(c.x) << " gave " << show(r);
  }
}

TEST(Real16Qmodr, ZeroPeriodAndFailedReduction) {
  int32_t k = 777;
  DD r = {1, 1};
  _morvex_qmodr({5, 0}, {0, 0}, &k, &r);
  EXPECT_EQ(k, 777);  // not written
  EXPECT_TRUE(same_result(r, {__builtin_nan(""), 0}));
  _morvex_qmodr({5, 0}, {__builtin_nan(""), 0}, &k, &r);
  EXPECT_EQ(k, 777);
  // A quotient far too large for the parts of p to cancel.
  _morvex_qmodr({1e300, 0}, kHalfPi, &k, &r);
  EXPECT_EQ(k, INT32_MIN);
  EXPECT_TRUE(same_result(r, {0, 0}));
}

}  // namespace
