// REAL*16 ASIN, ACOS, ATAN, ATAN2 and their degree forms: accuracy sweeps
// against MPFR over their domains, the branch edges, exact points, special
// values, entry forms and the control word.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "control_word.h"
#include "trig_oracle.h"

namespace {

using namespace r16test;

constexpr double kLimit = 1e-31;
// The library's π/2, π/4 and π pairs, which some results are exactly.
const DD pio2 = {M_PI_2, from_bits(0x3c91a62633145c02)};
const DD pio4 = {M_PI_4, from_bits(0x3c81a62633145c04)};
const DD pi = {M_PI, from_bits(0x3ca1a62633145c02)};

DD negated(DD x) { return {-x.hi, -x.lo}; }
template <class Draw>
auto either_sign(Draw draw) {
  return [=](std::mt19937_64& rng) mutable {
    const DD x = draw(rng);
    return rng() & 1 ? x : negated(x);
  };
}

// 1 - 10^-e for e log-uniform in [1, 30]: towards the ends of the domain.
DD near_one(std::mt19937_64& rng) {
  const double d = std::pow(10.0, -std::uniform_real_distribution<double>(1, 30)(rng));
  Mp v(1.0);
  mpfr_sub_d(v, v, d, MPFR_RNDN);
  return to_dd(v);
}

// Within 1e-6 (relative) of a branch edge, either side.
auto around(std::vector<double> edges) {
  return [=](std::mt19937_64& rng) {
    const double e = edges[rng() % edges.size()];
    return with_tail(e * (1 + std::uniform_real_distribution<double>(-1e-6, 1e-6)(rng)), rng);
  };
}

struct Inverse {
  const char* name;
  Unary f;
  MpfrUnary g;
};

// ASIN, ACOS and ATAN2 start from REAL*8 values computed at the caller's x87
// precision: their sweeps run under the library's 53-bit word and under the
// process default 64-bit word.
class Real16InverseSweep : public ::testing::TestWithParam<uint16_t> {
 protected:
  void SetUp() override {
    saved_ = f90test::get_cw();
    f90test::set_cw(GetParam());
  }
  void TearDown() override { f90test::set_cw(saved_); }

 private:
  uint16_t saved_ = f90test::kCwLinux;
};
INSTANTIATE_TEST_SUITE_P(ControlWords, Real16InverseSweep,
                         ::testing::Values(f90test::kCwLibrary, f90test::kCwLinux),
                         [](const ::testing::TestParamInfo<uint16_t>& i) {
                           return i.param == f90test::kCwLibrary ? "cw127f" : "cw037f";
                         });

TEST_P(Real16InverseSweep, ArcsineAndArccosine) {
  for (const Inverse& d : {Inverse{"asinl", _morvex_asinl, mpfr_asin},
                           Inverse{"acosl", _morvex_acosl, mpfr_acos}}) {
    sweep(d.name, d.f, d.g, sweep_count(2000), uniform(-1, 1), flat).check(kLimit);
    sweep(d.name, d.f, d.g, sweep_count(800), either_sign(near_one), flat, 2).check(kLimit);
    sweep(d.name, d.f, d.g, sweep_count(500), either_sign(log_uniform(-30, -1)), flat, 3)
        .check(kLimit);
    sweep(d.name, d.f, d.g, sweep_count(500), either_sign(around({0.866})), flat, 4)
        .check(kLimit);
  }
}

TEST(Real16InverseTrig, SweepArctangent) {
  sweep("atanl", _morvex_atanl, mpfr_atan, sweep_count(2000), either_sign(log_uniform(-30, 30)),
        flat)
      .check(kLimit);
  sweep("atanl", _morvex_atanl, mpfr_atan, sweep_count(1000), uniform(-3, 3), flat, 2)
      .check(kLimit);
  // The folds at tan(π/8), 1 and tan(3π/8).
  sweep("atanl", _morvex_atanl, mpfr_atan, sweep_count(800),
        either_sign(around({M_SQRT2 - 1, 1.0, M_SQRT2 + 1})), flat, 3)
      .check(kLimit);
}

// Points at angles uniform over the circle and radii over many decades.
void on_circle(std::mt19937_64& rng, DD& y, DD& x) {
  const double a = std::uniform_real_distribution<double>(-M_PI, M_PI)(rng);
  const double r = std::pow(10.0, std::uniform_real_distribution<double>(-100, 100)(rng));
  y = with_tail(r * std::sin(a), rng);
  x = with_tail(r * std::cos(a), rng);
}
// Close to the axes: one coordinate 1e-30 to 1e-3 of the other. Near ±π/2 a
// Newton step on tan a = y/x would multiply its start's squared error by
// tan a (and y/x overflows for a tiny x); the step on the cotangent does not.
void near_axes(std::mt19937_64& rng, DD& y, DD& x) {
  const DD big = either_sign(uniform(0.5, 2))(rng);
  const DD small = with_tail(
      (rng() & 1 ? 1 : -1) * std::pow(10.0, std::uniform_real_distribution<double>(-30, -3)(rng)),
      rng);
  if (rng() & 1) {
    y = big, x = small;
  } else {
    y = small, x = big;
  }
}

TEST_P(Real16InverseSweep, TwoArgumentArctangent) {
  sweep2("atan2l", _morvex_atan2l, mpfr_atan2, sweep_count(2000), on_circle).check(kLimit);
  sweep2("atan2l", _morvex_atan2l, mpfr_atan2, sweep_count(1000), near_axes, 2).check(kLimit);
  // Either side of the diagonals, where the two Newton forms meet.
  sweep2("atan2l", _morvex_atan2l, mpfr_atan2, sweep_count(500),
         [](std::mt19937_64& rng, DD& y, DD& x) {
           x = either_sign(uniform(0.1, 10))(rng);
           const double f = 1 + std::uniform_real_distribution<double>(-1e-9, 1e-9)(rng);
           y = with_tail((rng() & 1 ? f : -f) * x.hi, rng);
         },
         3)
      .check(kLimit);
}

TEST_P(Real16InverseSweep, DegreeForms) {
  sweep("asindl", _morvex_asindl, mpfr_asind, sweep_count(800), uniform(-1, 1), flat).check(kLimit);
  sweep("acosdl", _morvex_acosdl, mpfr_acosd, sweep_count(800), uniform(-1, 1), flat).check(kLimit);
  sweep("atandl", _morvex_atandl, mpfr_atand, sweep_count(800), either_sign(log_uniform(-20, 20)),
        flat)
      .check(kLimit);
  sweep2("atan2dl", _morvex_atan2dl,
         [](mpfr_ptr r, mpfr_srcptr y, mpfr_srcptr x, mpfr_rnd_t m) {
           return mpfr_atan2u(r, y, x, 360, m);
         },
         sweep_count(800), on_circle)
      .check(kLimit);
}

// Values against MPFR within the limit (π/2, π, π/4 to double-double
// precision), and results fixed bit for bit.
TEST(Real16InverseTrig, KnownValues) {
  struct Near {
    const char* what;
    DD got;
    long num;  // the exact value is π num / den
    unsigned long den;
  };
  const std::vector<Near> near = {
      {"asin(1)", call(_morvex_asinl, {1.0, 0.0}), 1, 2},
      {"asin(-1)", call(_morvex_asinl, {-1.0, 0.0}), -1, 2},
      {"acos(-1)", call(_morvex_acosl, {-1.0, 0.0}), 1, 1},
      {"acos(0)", call(_morvex_acosl, {0.0, 0.0}), 1, 2},
      {"acos(-0.5)", call(_morvex_acosl, {-0.5, 0.0}), 2, 3},
      {"atan(1)", call(_morvex_atanl, {1.0, 0.0}), 1, 4},
      {"atan(-1e300)", call(_morvex_atanl, {-1e300, 0.0}), -1, 2},
      {"atan2(0, -1)", call(_morvex_atan2l, {0.0, 0.0}, {-1.0, 0.0}), 1, 1},
      {"atan2(-1, -1)", call(_morvex_atan2l, {-1.0, 0.0}, {-1.0, 0.0}), -3, 4},
      {"atan2(Inf, -Inf)", call(_morvex_atan2l, {kInf, 0.0}, {-kInf, 0.0}), 3, 4},
  };
  for (const Near& c : near) {
    Mp w;
    pi_times(w, c.num, c.den);
    EXPECT_LE(relative_error(c.got, w), kLimit) << c.what << " gave " << show(c.got);
  }
  struct Fixed {
    const char* what;
    DD got, want;
  };
  const std::vector<Fixed> fixed = {
      {"asin(0)", call(_morvex_asinl, {0.0, 0.0}), {0.0, 0.0}},
      {"acos(1)", call(_morvex_acosl, {1.0, 0.0}), {0.0, 0.0}},
      {"atan(0)", call(_morvex_atanl, {0.0, 0.0}), {0.0, 0.0}},
      {"atan(1)", call(_morvex_atanl, {1.0, 0.0}), pio4},
      {"atan(1e300)", call(_morvex_atanl, {1e300, 0.0}), pio2},
      {"atan2(1, 0)", call(_morvex_atan2l, {1.0, 0.0}, {0.0, 0.0}), pio2},
      {"atan2(-1, 0)", call(_morvex_atan2l, {-1.0, 0.0}, {0.0, 0.0}), negated(pio2)},
      {"atan2(1, -0)", call(_morvex_atan2l, {1.0, 0.0}, {-0.0, 0.0}), pio2},
      {"atan2(0, 0)", call(_morvex_atan2l, {0.0, 0.0}, {0.0, 0.0}), {0.0, 0.0}},
      {"atan2(0, 2)", call(_morvex_atan2l, {0.0, 0.0}, {2.0, 0.0}), {0.0, 0.0}},
  };
  for (const Fixed& c : fixed)
    EXPECT_TRUE(c.got.hi == c.want.hi && c.got.lo == c.want.lo) << c.what << " gave " << show(c.got);
  EXPECT_EQ(call(_morvex_atan2dl, {1.0, 0.0}, {1.0, 0.0}).hi, 45.0);
  EXPECT_EQ(call(_morvex_atan2dl, {-2.0, 0.0}, {2.0, 0.0}).hi, -45.0);
  EXPECT_EQ(call(_morvex_asindl, {0.5, 0.0}).hi, 30.0);
  EXPECT_EQ(call(_morvex_acosdl, {-1.0, 0.0}).hi, 180.0);
  EXPECT_EQ(call(_morvex_atandl, {1.0, 0.0}).hi, 45.0);
}

// Odd functions: bit for bit.
TEST(Real16InverseTrig, OddSymmetryIsExact) {
  std::mt19937_64 rng(31);
  for (int i = 0; i < 300; ++i) {
    const DD x = uniform(0, 1)(rng), t = log_uniform(-5, 5)(rng);
    EXPECT_TRUE(same_result(call(_morvex_asinl, negated(x)), negated(call(_morvex_asinl, x))));
    EXPECT_TRUE(same_result(call(_morvex_atanl, negated(t)), negated(call(_morvex_atanl, t))));
  }
}

// Outside [-1, 1] (including 1 with a trailing part beyond it), NaN
// arguments, and the infinite ones.
TEST(Real16InverseTrig, SpecialArguments) {
  struct Case {
    const char* what;
    DD got, want;
  };
  const std::vector<Case> cases = {
      {"asin(1.5)", call(_morvex_asinl, {1.5, 0.0}), {kNaN, 0.0}},
      {"asin(-2)", call(_morvex_asinl, {-2.0, 0.0}), {kNaN, 0.0}},
      {"acos(1.5)", call(_morvex_acosl, {1.5, 0.0}), {kNaN, 0.0}},
      {"acos(-Inf)", call(_morvex_acosl, {-kInf, 0.0}), {kNaN, 0.0}},
      {"asind(3)", call(_morvex_asindl, {3.0, 0.0}), {kNaN, kNaN}},
      {"atan(+Inf)", call(_morvex_atanl, {kInf, 0.0}), pio2},
      {"atan(-Inf)", call(_morvex_atanl, {-kInf, 0.0}), negated(pio2)},
      {"atan2(Inf, 1)", call(_morvex_atan2l, {kInf, 0.0}, {1.0, 0.0}), pio2},
      {"atan2(-Inf, -1)", call(_morvex_atan2l, {-kInf, 0.0}, {-1.0, 0.0}), negated(pio2)},
      {"atan2(Inf, Inf)", call(_morvex_atan2l, {kInf, 0.0}, {kInf, 0.0}), pio4},
      {"atan2(1, Inf)", call(_morvex_atan2l, {1.0, 0.0}, {kInf, 0.0}), {0.0, 0.0}},
      {"atan2(1, -Inf)", call(_morvex_atan2l, {1.0, 0.0}, {-kInf, 0.0}), pi},
      {"atan2(-1, -Inf)", call(_morvex_atan2l, {-1.0, 0.0}, {-kInf, 0.0}), negated(pi)},
  };
  for (const Case& c : cases)
    EXPECT_TRUE(same_result(c.got.hi, c.want.hi) && (std::isnan(c.want.lo) ? std::isnan(c.got.lo)
                                                                          : c.got.lo == c.want.lo))
        << c.what << " gave " << show(c.got);
  // 1 + 2^-60: just beyond the domain through its trailing part.
  EXPECT_TRUE(std::isnan(call(_morvex_asinl, {1.0, 0x1p-60}).hi));
  EXPECT_TRUE(std::isnan(call(_morvex_acosl, {-1.0, -0x1p-60}).hi));
  for (Unary f : {_morvex_asinl, _morvex_acosl, _morvex_atanl, _morvex_atandl})
    EXPECT_TRUE(std::isnan(call(f, {kNaN, 0.0}).hi));
  EXPECT_TRUE(std::isnan(call(_morvex_atan2l, {kNaN, 0.0}, {1.0, 0.0}).hi));
  EXPECT_TRUE(std::isnan(call(_morvex_atan2l, {1.0, 0.0}, {kNaN, 0.0}).hi));
  EXPECT_TRUE(std::isnan(call(_morvex_atan2l, {kInf, 0.0}, {kNaN, 0.0}).hi));
}

TEST(Real16InverseTrig, ByReferenceTwinsMatchBitForBit) {
  const TwinPair pairs[] = {{_morvex_asinl, _morvex_I_asinl},   {_morvex_acosl, _morvex_I_acosl},
                            {_morvex_atanl, _morvex_I_atanl},   {_morvex_asindl, _morvex_I_asindl},
                            {_morvex_acosdl, _morvex_I_acosdl}, {_morvex_atandl, _morvex_I_atandl}};
  const DD args[] = {{0.7, 1e-18}, {-0.95, 2e-17}, {1.0, 0.0}, {-3.25, 0.0}, {kNaN, 0.0}};
  for (const TwinPair& p : pairs) expect_twin_matches(p, args);
  const std::pair<Binary, BinaryRef> binary[] = {{_morvex_atan2l, _morvex_I_atan2l},
                                                 {_morvex_atan2dl, _morvex_I_atan2dl}};
  const std::pair<DD, DD> points[] = {
      {{1.0, 0.0}, {-2.0, 1e-17}}, {{-3.0, 0.0}, {0.5, 0.0}}, {{2.0, 0.0}, {0.0, 0.0}}};
  for (const auto& [f, g] : binary) {
    for (const auto& [y, x] : points) {
      DD a, b;
      std::memset(&b, 0xcc, sizeof b);
      f(&a, y, x);
      EXPECT_EQ(g(&b, &y, &x), &b);
      EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << show(y) << show(x);
    }
  }
}

using Real16InverseTrigControlWord = f90test::ControlWordTest;

// The REAL*8 starting values follow the caller's precision, so the results
// may differ in their last bits between modes: within the limit under 53 and
// 64 bits; under 24 bits the start holds about 8 digits and one Newton step
// makes about 15 of them. The caller's word comes back in every mode. ATAN is
// all double-double: the same bits under every mode.
TEST_F(Real16InverseTrigControlWord, AccurateAndWordKeptUnderEveryMode) {
  const DD x = {0.3141592653589793, 1e-18}, y = {-0.9, 3e-17};
  Mp mx(x), my(y), asin_x, acos_y, atan2_yx;
  mpfr_asin(asin_x, mx, MPFR_RNDN);
  mpfr_acos(acos_y, my, MPFR_RNDN);
  mpfr_atan2(atan2_yx, my, mx, MPFR_RNDN);
  const DD atan_want = call(_morvex_atanl, y);
  for (uint16_t cw : {f90test::kCwLibrary, f90test::kCwLinux, f90test::kCwChopSingle}) {
    DD a, b, c, t;
    expect_cw_kept([&] { _morvex_asinl(&a, x); }, cw);
    expect_cw_kept([&] { _morvex_acosl(&b, y); }, cw);
    expect_cw_kept([&] { _morvex_atan2l(&c, y, x); }, cw);
    expect_cw_kept([&] { _morvex_atanl(&t, y); }, cw);
    const double limit = cw == f90test::kCwChopSingle ? 1e-14 : kLimit;
    EXPECT_LE(relative_error(a, asin_x), limit) << std::hex << cw;
    EXPECT_LE(relative_error(b, acos_y), limit) << std::hex << cw;
    EXPECT_LE(relative_error(c, atan2_yx), limit) << std::hex << cw;
    EXPECT_TRUE(same_result(t, atan_want)) << std::hex << cw;
  }
}

}  // namespace
