// REAL*16 SINH, COSH and TANH: accuracy sweeps against MPFR, branch edges,
// special values and entry forms.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "math_oracle.h"

namespace {

using namespace r16test;

constexpr double kLimit = 1e-31;

// Beyond the series, sinh is (e - 1/e)/2: exp's error, which grows with |x|,
// comes back relative to cosh, i.e. multiplied by coth |x| (large near 0.05).
double sinh_allowance(DD x) {
  const double a = std::fabs(x.hi);
  return a <= 0.05 ? 1.0 : std::fmax(1.0, a) / std::tanh(a);
}
double cosh_allowance(DD x) { return std::fmax(1.0, std::fabs(x.hi)); }

TEST(Real16Sinh, Sweeps) {
  sweep("sinhl", _morvex_sinhl, mpfr_sinh, sweep_count(1500), uniform(-0.05, 0.05), flat)
      .check(kLimit);
  sweep("sinhl", _morvex_sinhl, mpfr_sinh, sweep_count(1500), uniform(-3, 3), sinh_allowance, 2)
      .check(kLimit);
  sweep("sinhl", _morvex_sinhl, mpfr_sinh, sweep_count(1500), uniform(-650, 650), sinh_allowance,
        3)
      .check(kLimit);
}

TEST(Real16Cosh, Sweeps) {
  sweep("coshl", _morvex_coshl, mpfr_cosh, sweep_count(1500), uniform(-3, 3), cosh_allowance)
      .check(kLimit);
  sweep("coshl", _morvex_coshl, mpfr_cosh, sweep_count(1500), uniform(-650, 650), cosh_allowance,
        2)
      .check(kLimit);
}

TEST(Real16Tanh, Sweeps) {
  sweep("tanhl", _morvex_tanhl, mpfr_tanh, sweep_count(1500), uniform(-0.625, 0.625), flat)
      .check(kLimit);
  sweep("tanhl", _morvex_tanhl, mpfr_tanh, sweep_count(1500), uniform(-40, 40), flat, 2)
      .check(kLimit);
  // Both sides of the rational branch's edge, and of 512 ln 2.
  sweep("tanhl", _morvex_tanhl, mpfr_tanh, sweep_count(500), [](std::mt19937_64& rng) {
    const double edge = (rng() & 1) ? 0.625 : 354.891356446692;
    const double s = (rng() & 1) ? 1.0 : -1.0;
    return with_tail(s * edge * (1 + std::uniform_real_distribution<double>(-1e-6, 1e-6)(rng)),
                     rng);
  }, flat, 3).check(kLimit);
  // Tiny arguments: tanh x = x to double-double precision.
  sweep("tanhl", _morvex_tanhl, mpfr_tanh, sweep_count(300), log_uniform(-300, -2), flat, 4)
      .check(kLimit);
}

TEST(Real16Hyperbolic, BranchEdgesAreAccurateOnBothSides) {
  const DD args[] = {{0.05, 0}, {0.0500001, 0}, {-0.05, 0}, {0.5, 0}, {0.625, 0}, {-0.625, 0}};
  for (const DD& x : args) {
    EXPECT_LE(error_of(_morvex_sinhl, mpfr_sinh, x), kLimit * sinh_allowance(x)) << show(x);
    EXPECT_LE(error_of(_morvex_tanhl, mpfr_tanh, x), kLimit) << show(x);
    EXPECT_LE(error_of(_morvex_coshl, mpfr_cosh, x), kLimit) << show(x);
  }
}

struct Exact {
  const char* what;
  Unary f;
  DD x;
  DD want;  // bit for bit
};

TEST(Real16Hyperbolic, ExactAndSpecialResults) {
  const double nan = __builtin_nan("");
  const std::vector<Exact> cases = {
      {"sinh(0)", _morvex_sinhl, {0, 0}, {0, 0}},
      {"sinh(-0)", _morvex_sinhl, {-0.0, 0}, {0, 0}},
      {"sinh(NaN)", _morvex_sinhl, {nan, 0}, {0, 0}},
      {"sinh(1000)", _morvex_sinhl, {1000, 0}, {kInf, 0}},
      {"sinh(-1000)", _morvex_sinhl, {-1000, 0}, {-kInf, 0}},
      {"sinh(+Inf)", _morvex_sinhl, {kInf, 0}, {kInf, 0}},
      {"sinh(-Inf)", _morvex_sinhl, {-kInf, 0}, {-kInf, 0}},
      {"sinh(2^-1074)", _morvex_sinhl, {0x1p-1074, 0}, {0x1p-1074, 0}},
      {"cosh(0)", _morvex_coshl, {0, 0}, {1, 0}},
      {"cosh(NaN)", _morvex_coshl, {nan, 0}, {1, 0}},
      {"cosh(1000)", _morvex_coshl, {1000, 0}, {kInf, 0}},
      {"cosh(-1000)", _morvex_coshl, {-1000, 0}, {kInf, 0}},
      {"cosh(-Inf)", _morvex_coshl, {-kInf, 0}, {kInf, 0}},
      {"tanh(0)", _morvex_tanhl, {0, 0}, {0, 0}},
      {"tanh(400)", _morvex_tanhl, {400, 0}, {1, 0}},
      {"tanh(-400)", _morvex_tanhl, {-400, 0}, {-1, 0}},
      {"tanh(+Inf)", _morvex_tanhl, {kInf, 0}, {1, 0}},
      {"tanh(-Inf)", _morvex_tanhl, {-kInf, 0}, {-1, 0}},
      {"tanh(NaN)", _morvex_tanhl, {nan, 0}, {nan, nan}},
  };
  for (const Exact& c : cases) {
    const DD got = call(c.f, c.x);
    auto eq = [](double a, double b) { return std::isnan(b) ? std::isnan(a) : bits(a) == bits(b); };
    EXPECT_TRUE(eq(got.hi, c.want.hi) && eq(got.lo, c.want.lo)) << c.what << " gave " << show(got);
  }
}

TEST(Real16Hyperbolic, SymmetryAndKnownHighParts) {
  Mp one(-1.0), s;
  mpfr_sinh(s, one, MPFR_RNDN);
  EXPECT_EQ(call(_morvex_sinhl, {-1, 0}).hi, s.to_double());  // the double nearest -sinh 1
  const DD cp = call(_morvex_coshl, {1, 0}), cm = call(_morvex_coshl, {-1, 0});
  EXPECT_EQ(std::memcmp(&cp, &cm, sizeof cp), 0);
  const DD tp = call(_morvex_tanhl, {0.3, 1e-18}), tm = call(_morvex_tanhl, {-0.3, -1e-18});
  EXPECT_EQ(tp.hi, -tm.hi);
  EXPECT_EQ(tp.lo, -tm.lo);
}

TEST(Real16Hyperbolic, ByReferenceTwinsMatchBitForBit) {
  const TwinPair pairs[] = {{_morvex_sinhl, _morvex_I_sinhl},
                            {_morvex_coshl, _morvex_I_coshl},
                            {_morvex_tanhl, _morvex_I_tanhl}};
  const DD args[] = {{0.01, 1e-19}, {-2.5, 0.0}, {700, 0}, {__builtin_nan(""), 0.0}};
  for (const TwinPair& p : pairs) expect_twin_matches(p, args);
}

}  // namespace
