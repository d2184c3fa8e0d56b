// REAL*16 EXP, LOG, LOG10 and SQRT: accuracy sweeps against MPFR, exact
// cases, special values, entry forms and the control word.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "control_word.h"
#include "math_oracle.h"

namespace {

using namespace r16test;

constexpr double kLimit = 1e-31;

// expl reduces x / ln 2 in double-double: its error grows with |x|, as the
// function's own condition number does.
double exp_allowance(DD x) { return std::fmax(1.0, std::fabs(x.hi)); }

TEST(Real16Exp, SweepSmallArguments) {
  sweep("expl", _morvex_expl, mpfr_exp, sweep_count(2000), uniform(-1, 1), flat).check(kLimit);
}

TEST(Real16Exp, SweepWholeRange) {
  // Down to -650: further down e^x's trailing part is subnormal and the
  // result cannot hold 106 bits.
  sweep("expl", _morvex_expl, mpfr_exp, sweep_count(2000), uniform(-650, 709.7), exp_allowance, 2)
      .check(kLimit);
}

TEST(Real16Log, SweepWholeRange) {
  sweep("logl", _morvex_logl, mpfr_log, sweep_count(3000), log_uniform(-300, 300), flat)
      .check(kLimit);
}

TEST(Real16Log, SweepNearOne) {
  sweep("logl", _morvex_logl, mpfr_log, sweep_count(2000), uniform(0.5, 2.0), flat, 3)
      .check(kLimit);
  // 1 + tiny: the result is all in the small-branch series.
  sweep("logl", _morvex_logl, mpfr_log, sweep_count(500), [](std::mt19937_64& rng) {
    const double d = std::pow(10.0, std::uniform_real_distribution<double>(-30, -1)(rng));
    return DD{1.0, 0.0 + (rng() & 1 ? d : -d) * 0.5};
  }, flat).check(kLimit);
}

TEST(Real16Log, SweepBranchEdges) {
  // Around 2^k and 2^k sqrt(1/2) for k = -4..4: where the exponent moves
  // between the two rational branches and where f is doubled.
  auto draw = [](std::mt19937_64& rng) {
    const int k = static_cast<int>(rng() % 9) - 4;
    const double base = (rng() & 1) ? std::ldexp(1.0, k) : std::ldexp(M_SQRT1_2, k);
    const double d = std::uniform_real_distribution<double>(-1e-3, 1e-3)(rng);
    return with_tail(base * (1.0 + d), rng);
  };
  sweep("logl", _morvex_logl, mpfr_log, sweep_count(2000), draw, flat, 4).check(kLimit);
}

TEST(Real16Log10, Sweep) {
  // log10 e's double-double constant is itself 4e-32 off, on top of LOG.
  sweep("log10l", _morvex_log10l, mpfr_log10, sweep_count(2000), log_uniform(-300, 300), flat)
      .check(1.2e-31);
}

TEST(Real16Sqrt, Sweep) {
  // From 2^-968 up: below it the exact square's error term is subnormal.
  sweep("sqrtl", _morvex_sqrtl, mpfr_sqrt, sweep_count(3000), log_uniform(-291, 307), flat)
      .check(kLimit);
}

struct Exact {
  const char* what;
  Unary f;
  DD x;
  DD want;  // compared bit for bit
};

// Results that are exact, and the special values, bit for bit.
TEST(Real16ExpLogSqrt, ExactAndSpecialResults) {
  const double nan = __builtin_nan("");
  const std::vector<Exact> cases = {
      {"exp(0)", _morvex_expl, {0.0, 0.0}, {1.0, 0.0}},
      {"exp(-0)", _morvex_expl, {-0.0, 0.0}, {1.0, 0.0}},
      {"exp(1000)", _morvex_expl, {1000.0, 0.0}, {kInf, 0.0}},
      {"exp(-1000)", _morvex_expl, {-1000.0, 0.0}, {0.0, 0.0}},
      {"exp(1.5e9)", _morvex_expl, {1.5e9, 0.0}, {kInf, 0.0}},
      {"exp(-1.5e9)", _morvex_expl, {-1.5e9, 0.0}, {0.0, 0.0}},
      {"exp(+Inf)", _morvex_expl, {kInf, 0.0}, {kInf, 0.0}},
      {"exp(-Inf)", _morvex_expl, {-kInf, 0.0}, {0.0, 0.0}},
      {"log(1)", _morvex_logl, {1.0, 0.0}, {0.0, 0.0}},
      {"log(+0)", _morvex_logl, {0.0, 0.0}, {-kInf, 0.0}},
      {"log(-0)", _morvex_logl, {-0.0, 0.0}, {-kInf, 0.0}},
      {"log(-1)", _morvex_logl, {-1.0, 0.0}, {nan, 0.0}},
      {"log(NaN)", _morvex_logl, {nan, 0.0}, {nan, 0.0}},
      {"log(+Inf)", _morvex_logl, {kInf, 0.0}, {kInf, 0.0}},
      {"log10(1)", _morvex_log10l, {1.0, 0.0}, {0.0, 0.0}},
      {"log10(0)", _morvex_log10l, {0.0, 0.0}, {-kInf, 0.0}},
      {"log10(+Inf)", _morvex_log10l, {kInf, 0.0}, {kInf, 0.0}},
      {"log10(-2)", _morvex_log10l, {-2.0, 0.0}, {nan, nan}},
      {"sqrt(4)", _morvex_sqrtl, {4.0, 0.0}, {2.0, 0.0}},
      {"sqrt(2^-100 + 0)", _morvex_sqrtl, {0x1p-100, 0.0}, {0x1p-50, 0.0}},
      {"sqrt(-1)", _morvex_sqrtl, {-1.0, 0.0}, {nan, 0.0}},
      {"sqrt(-0)", _morvex_sqrtl, {-0.0, 0.0}, {0.0, 0.0}},
      {"sqrt(NaN)", _morvex_sqrtl, {nan, 0.0}, {0.0, 0.0}},
      {"sqrt(+Inf)", _morvex_sqrtl, {kInf, 0.0}, {kInf, 0.0}},
  };
  for (const Exact& c : cases) {
    const DD got = call(c.f, c.x);
    EXPECT_TRUE(same_result(got, c.want)) << c.what << " gave " << show(got);
  }
}

TEST(Real16ExpLogSqrt, HighPartsOfKnownValues) {
  EXPECT_EQ(call(_morvex_expl, {1.0, 0.0}).hi, M_E);
  EXPECT_EQ(bits(call(_morvex_sqrtl, {2.0, 0.0}).hi), 0x3ff6a09e667f3bcdull);
  EXPECT_EQ(call(_morvex_log10l, {1000.0, 0.0}).hi, 3.0);
  // log 2 is ln 2's pair to within the last bit of lo (2^-108).
  const DD l2 = call(_morvex_logl, {2.0, 0.0});
  EXPECT_EQ(bits(l2.hi), 0x3fe62e42fefa39efull);
  EXPECT_LE(std::fabs(l2.lo - from_bits(0x3c7abc9e3b39803cull)), 0x1p-108);
}

TEST(Real16ExpLogSqrt, ExpOfLogRoundTrips) {
  std::mt19937_64 rng(7);
  for (int i = 0; i < 200; ++i) {
    const DD x = log_uniform(-5, 5)(rng);
    const DD y = call(_morvex_expl, call(_morvex_logl, x));
    Mp want(x);
    EXPECT_LE(relative_error(y, want), 1e-30) << show(x);
  }
}

TEST(Real16ExpLogSqrt, ByReferenceTwinsMatchBitForBit) {
  const TwinPair pairs[] = {{_morvex_expl, _morvex_I_expl},
                            {_morvex_logl, _morvex_I_logl},
                            {_morvex_log10l, _morvex_I_log10l},
                            {_morvex_sqrtl, _morvex_I_sqrtl}};
  const DD args[] = {{0.7, 1e-18}, {-3.25, 0.0}, {1e10, -3e-7}, {__builtin_nan(""), 0.0}};
  for (const TwinPair& p : pairs) expect_twin_matches(p, args);
}

using Real16ExpControlWord = f90test::ControlWordTest;

// The functions switch modes only around their integer stores, and their
// double-double steps do not depend on the x87 mode: the same bits under
// the process default word, and the caller's word back on return.
TEST_F(Real16ExpControlWord, SameResultsAndWordKeptUnderEveryMode) {
  const DD x = {12.345, 1.5e-16};
  const DD want_exp = call(_morvex_expl, x), want_log = call(_morvex_logl, x);
  for (uint16_t cw : {f90test::kCwLibrary, f90test::kCwLinux, f90test::kCwChopSingle}) {
    DD e, l;
    expect_cw_kept([&] { _morvex_expl(&e, x); }, cw);
    expect_cw_kept([&] { _morvex_logl(&l, x); }, cw);
    EXPECT_EQ(std::memcmp(&e, &want_exp, sizeof e), 0) << std::hex << cw;
    EXPECT_EQ(std::memcmp(&l, &want_log, sizeof l), 0) << std::hex << cw;
  }
  DD big;
  expect_cw_kept([&] { _morvex_expl(&big, {2e9, 0.0}); }, f90test::kCwLinux);
}

}  // namespace
