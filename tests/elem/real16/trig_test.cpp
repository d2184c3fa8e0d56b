// REAL*16 SIN, COS, TAN, COTAN and their degree forms: accuracy sweeps
// against MPFR, exact points, the reduction of large and huge arguments,
// special values, the kernel's tangent at a zero cosine, entry forms and the
// control word.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "control_word.h"
#include "trig_oracle.h"

namespace {

using namespace r16test;
using morvex::real16::Reduced;

constexpr double kLimit = 1e-31;

// Arguments kπ/2 + d, d log-uniform in [1e-12, 1e-2] with either sign: the
// zeros of the sine (k even) and of the cosine (k odd), where only an
// accurate remainder keeps the relative error small. (Closer still, a
// double-double argument can agree with kπ/2 to more digits than any fixed
// value of π carries.)
DD near_half_pi_multiple(std::mt19937_64& rng) {
  const int k = static_cast<int>(rng() % 2001) - 1000;
  const double d = std::pow(10.0, std::uniform_real_distribution<double>(-12, -2)(rng));
  Mp v;
  pi_times(v, k, 2);
  mpfr_add_d(v, v, rng() & 1 ? d : -d, MPFR_RNDN);
  return to_dd(v);
}

struct Direct {
  const char* name;
  Unary f;
  MpfrUnary g;
};
const Direct kDirect[] = {{"sinl", _morvex_sinl, mpfr_sin},
                          {"cosl", _morvex_cosl, mpfr_cos},
                          {"tanl", _morvex_tanl, mpfr_tan},
                          {"cotl", _morvex_cotl, mpfr_cot}};

TEST(Real16Trig, SweepUpToAMillion) {
  for (const Direct& d : kDirect) {
    sweep(d.name, d.f, d.g, sweep_count(1500), uniform(-1e6, 1e6), flat).check(kLimit);
    sweep(d.name, d.f, d.g, sweep_count(1000), uniform(-8, 8), flat, 2).check(kLimit);
  }
}

TEST(Real16Trig, SweepSmallArguments) {
  auto tiny = [](std::mt19937_64& rng) {
    const DD x = log_uniform(-30, -1)(rng);
    return rng() & 1 ? x : DD{-x.hi, -x.lo};
  };
  for (const Direct& d : kDirect) sweep(d.name, d.f, d.g, sweep_count(500), tiny, flat, 3).check(kLimit);
}

TEST(Real16Trig, SweepNearZerosOfSineAndCosine) {
  for (const Direct& d : kDirect)
    sweep(d.name, d.f, d.g, sweep_count(1000), near_half_pi_multiple, flat, 4).check(kLimit);
}

// x/π beyond the INTEGER*4 range: the parity of the multiple of π decides the
// sign; a multiple clamped to 0x80000000 would flip half of these results.
// The remainder's absolute error there is a few 2^-106 of an ulp of x.hi, so
// the error is measured against 1e-31 |f(x)| + 2^-98 ulp(x.hi).
TEST(Real16Trig, SweepBeyondTheInteger4Range) {
  for (const Direct& d : kDirect) {
    std::mt19937_64 rng(5);
    Worst w(d.name);
    for (int i = 0; i < sweep_count(800); ++i) {
      DD x = log_uniform(9.9, 14)(rng);
      if (rng() & 1) x = {-x.hi, -x.lo};
      Mp in(x), exact, diff;
      d.g(exact, in, MPFR_RNDN);
      Mp got(call(d.f, x));
      mpfr_sub(diff, got, exact, MPFR_RNDN);
      const double floor = std::ldexp(1.0, std::ilogb(x.hi) - 52 - 98);
      w.add(std::fabs(diff.to_double()) / (1e-31 * std::fabs(exact.to_double()) + floor), 1.0,
            show(x));
    }
    w.check(1.0);
  }
}

// The degree forms multiply by the double-double π/180 first; that product's
// rounding (about 2.5e-32 of the argument) comes back multiplied by the
// function's condition number |x f'(x) / f(x)| (in radians).
double sind_allowance(DD x) {
  const double r = x.hi * M_PI / 180;
  return 1.0 + std::fabs(r / std::tan(r));
}
double cosd_allowance(DD x) {
  const double r = x.hi * M_PI / 180;
  return 1.0 + std::fabs(r * std::tan(r));
}
double tand_allowance(DD x) {
  const double r = x.hi * M_PI / 180;
  return 1.0 + std::fabs(2 * r / std::sin(2 * r));
}

TEST(Real16TrigDegrees, Sweep) {
  sweep("sindl", _morvex_sindl, mpfr_sind, sweep_count(1500), uniform(-720, 720), sind_allowance)
      .check(kLimit);
  sweep("cosdl", _morvex_cosdl, mpfr_cosd, sweep_count(1500), uniform(-720, 720), cosd_allowance)
      .check(kLimit);
  sweep("tandl", _morvex_tandl, mpfr_tand, sweep_count(1500), uniform(-720, 720), tand_allowance)
      .check(kLimit);
}

// The high part is the double nearest to the exact value.
void expect_hi_nearest(const char* what, DD got, mpfr_ptr exact) {
  EXPECT_EQ(got.hi, mpfr_get_d(exact, MPFR_RNDN)) << what << " gave " << show(got);
  EXPECT_LE(relative_error(got, exact), kLimit) << what;
}

TEST(Real16Trig, KnownValues) {
  const DD pi = {M_PI, 1.2246467991473532e-16}, half_pi = {M_PI_2, 6.123233995736766e-17};
  EXPECT_TRUE(same_result(call(_morvex_sinl, {0.0, 0.0}), DD{0.0, 0.0}));
  EXPECT_TRUE(same_result(call(_morvex_cosl, {0.0, 0.0}), DD{1.0, 0.0}));
  EXPECT_TRUE(same_result(call(_morvex_tanl, {0.0, 0.0}), DD{0.0, 0.0}));
  EXPECT_EQ(call(_morvex_sinl, half_pi).hi, 1.0);
  EXPECT_EQ(call(_morvex_cosl, pi).hi, -1.0);
  EXPECT_EQ(call(_morvex_cosl, {-3 * M_PI, -3 * 1.2246467991473532e-16}).hi, -1.0);
  EXPECT_EQ(call(_morvex_tandl, {45.0, 0.0}).hi, 1.0);
  EXPECT_EQ(call(_morvex_tandl, {-45.0, 0.0}).hi, -1.0);
  for (const auto& [what, f, x, g] : std::vector<std::tuple<const char*, Unary, double, MpfrUnary>>{
           {"sinl(1)", _morvex_sinl, 1.0, mpfr_sin},
           {"cosl(1)", _morvex_cosl, 1.0, mpfr_cos},
           {"tanl(1)", _morvex_tanl, 1.0, mpfr_tan},
           {"sinl(-2.5)", _morvex_sinl, -2.5, mpfr_sin},
           {"cosl(100)", _morvex_cosl, 100.0, mpfr_cos},
           {"tandl(30)", _morvex_tandl, 30.0, mpfr_tand},
           {"sindl(1)", _morvex_sindl, 1.0, mpfr_sind}}) {
    Mp in(x), exact;
    g(exact, in, MPFR_RNDN);
    expect_hi_nearest(what, call(f, {x, 0.0}), exact);
  }
  // sin 30° and cos 60° are 1/2 to within the last bits of the trailing part.
  for (const DD r : {call(_morvex_sindl, {30.0, 0.0}), call(_morvex_cosdl, {60.0, 0.0}),
                     call(_morvex_cosdl, {-60.0, 0.0})}) {
    EXPECT_EQ(r.hi, 0.5) << show(r);
    EXPECT_LE(std::fabs(r.lo), 0x1p-104) << show(r);
  }
}

// Odd and even symmetry hold bit for bit: the reduction and the table are
// symmetric in the sign of x.
TEST(Real16Trig, SymmetryIsExact) {
  std::mt19937_64 rng(11);
  for (int i = 0; i < 300; ++i) {
    const DD x = uniform(0, 1e4)(rng), m = {-x.hi, -x.lo};
    const DD s = call(_morvex_sinl, x), sm = call(_morvex_sinl, m);
    EXPECT_TRUE(same_result(sm, DD{-s.hi, -s.lo})) << show(x);
    EXPECT_TRUE(same_result(call(_morvex_cosl, m), call(_morvex_cosl, x))) << show(x);
  }
}

struct Special {
  const char* what;
  Unary f;
  DD x;
};

// Infinite and NaN arguments give (NaN, +0); huge finite ones a value of
// magnitude at most 1 (their remainder is of no significance), and none
// reads outside the table (the sanitizer build checks the reads).
TEST(Real16Trig, SpecialAndHugeArguments) {
  const double nan = __builtin_nan("");
  const std::vector<Special> not_finite = {
      {"sin(+Inf)", _morvex_sinl, {kInf, 0.0}},    {"sin(-Inf)", _morvex_sinl, {-kInf, 0.0}},
      {"cos(+Inf)", _morvex_cosl, {kInf, 0.0}},    {"tan(-Inf)", _morvex_tanl, {-kInf, 0.0}},
      {"sin(NaN)", _morvex_sinl, {nan, 0.0}},      {"cos(NaN)", _morvex_cosl, {nan, 0.0}},
      {"tan(NaN)", _morvex_tanl, {nan, 0.0}},      {"sind(Inf)", _morvex_sindl, {kInf, 0.0}},
      {"cosd(NaN)", _morvex_cosdl, {nan, 0.0}},    {"tand(-Inf)", _morvex_tandl, {-kInf, 0.0}},
  };
  for (const Special& c : not_finite) {
    const DD r = call(c.f, c.x);
    EXPECT_TRUE(std::isnan(r.hi) && bits(r.lo) == 0) << c.what << " gave " << show(r);
  }
  EXPECT_TRUE(std::isnan(call(_morvex_cotl, {kInf, 0.0}).hi));
  const std::vector<DD> huge = {{1e300, 0.0},       {-1e300, 0.0},      {0x1.fffffffffffffp+1023, 0.0},
                                {0x1p60, 0.375},    {-0x1p55, -1.25},   {3e15, 0.25},
                                {0x1p52 * M_PI, 0}, {1e20, 1e3}};
  for (const DD x : huge) {
    for (Unary f : {_morvex_sinl, _morvex_cosl, _morvex_sindl, _morvex_cosdl}) {
      const DD r = call(f, x);
      EXPECT_LE(std::fabs(r.hi), 1.0) << show(x) << " gave " << show(r);
    }
    EXPECT_FALSE(std::isnan(call(_morvex_tanl, x).hi)) << show(x);
  }
}

// Up to about 2^47 π the remainder is exact enough that even there the
// results hold 31 digits; the parity comes from the multiple itself.
TEST(Real16Trig, LargeMultiplesKeepTheirSign) {
  // Odd multiples of π from 2^31 + 1 to 2^47 - 1, to double-double precision.
  for (const long m : {2147483649L, 1099511627777L, 140737488355327L}) {
    Mp v, exact;
    pi_times(v, m, 1);
    const DD x = to_dd(v);
    const DD c = call(_morvex_cosl, x);
    EXPECT_EQ(c.hi, -1.0) << m;
    // sin x is the tiny difference x - mπ, negated: its sign and size.
    Mp in(x), got(call(_morvex_sinl, x)), diff;
    mpfr_sin(exact, in, MPFR_RNDN);
    mpfr_sub(diff, got, exact, MPFR_RNDN);
    EXPECT_LE(std::fabs(diff.to_double()), std::ldexp(1.0, std::ilogb(x.hi) - 52 - 98)) << m;
  }
}

// The kernel for reduced arguments: the table's ends, the sign of the
// multiple of π, and the tangent where the cosine's high part is zero.
TEST(Real16TrigKernel, ReducedArguments) {
  struct Case {
    Reduced r;
    int32_t mode;
    DD want;
  };
  const double pole = from_bits(0x7feffffffffffffbull);
  const std::vector<Case> cases = {
      {{{0.0, 0.0}, 20, 0}, morvex::real16::kSine, {1.0, 0.0}},
      {{{0.0, 0.0}, -20, 0}, morvex::real16::kSine, {-1.0, 0.0}},
      {{{0.0, 0.0}, 20, 1}, morvex::real16::kSine, {-1.0, -0.0}},
      {{{0.0, 0.0}, 0, 1}, morvex::real16::kCosine, {-1.0, -0.0}},
      {{{0.0, 0.0}, 20, 0}, morvex::real16::kTangent, {pole, 0.0}},
      {{{0.0, 0.0}, -20, 1}, morvex::real16::kTangent, {pole, 0.0}},
      {{{0.0, 0.0}, 0, 0}, morvex::real16::kTangent, {0.0, 0.0}},
  };
  for (const Case& c : cases) {
    DD got;
    EXPECT_EQ(morvex::real16::sct_reduced(&got, &c.r, c.mode), &got);
    EXPECT_TRUE(got.hi == c.want.hi && got.lo == c.want.lo)
        << c.r.k << "/" << c.mode << " gave " << show(got);
  }
}

// The reduction's pieces: k within the table, |u| within π/80 (and a bit),
// and x = tπ + kπ/40 + u recomputed in MPFR.
TEST(Real16TrigKernel, ReductionStaysInTheTable) {
  std::mt19937_64 rng(21);
  Mp pi, v, w;
  mpfr_const_pi(pi, MPFR_RNDN);
  for (int i = 0; i < sweep_count(2000); ++i) {
    const DD x = i % 2 ? uniform(-1e6, 1e6)(rng) : near_half_pi_multiple(rng);
    Reduced r;
    ASSERT_TRUE(morvex::real16::reduce(x, &r));
    ASSERT_LE(std::abs(r.k), 20);
    EXPECT_LE(std::fabs(r.u.hi), M_PI / 80 * 1.0001) << show(x);
    // x - kπ/40 - u is a multiple of π whose parity is r.negate.
    Mp xs(x), us(r.u);
    mpfr_mul_si(v, pi, r.k, MPFR_RNDN);
    mpfr_div_ui(v, v, 40, MPFR_RNDN);
    mpfr_sub(w, xs, v, MPFR_RNDN);
    mpfr_sub(w, w, us, MPFR_RNDN);
    mpfr_div(w, w, pi, MPFR_RNDN);
    const double t = mpfr_get_d(w, MPFR_RNDN);
    EXPECT_NEAR(t, std::nearbyint(t), 1e-20) << show(x);
    EXPECT_EQ(r.negate != 0, std::fmod(std::fabs(std::nearbyint(t)), 2.0) == 1.0) << show(x);
  }
  Reduced r;
  EXPECT_FALSE(morvex::real16::reduce({kInf, 0.0}, &r));
  EXPECT_FALSE(morvex::real16::reduce({__builtin_nan(""), 0.0}, &r));
}

// COTAN of zero is 1 divided by a zero tangent, which the double-double
// division gives as (+Inf, +0).
TEST(Real16Trig, CotangentOfZero) {
  for (const double z : {0.0, -0.0}) {
    const DD r = call(_morvex_cotl, {z, 0.0});
    EXPECT_TRUE(r.hi == kInf && bits(r.lo) == 0) << show(r);
  }
}

TEST(Real16Trig, ByReferenceTwinsMatchBitForBit) {
  const TwinPair pairs[] = {{_morvex_sinl, _morvex_I_sinl},   {_morvex_cosl, _morvex_I_cosl},
                            {_morvex_tanl, _morvex_I_tanl},   {_morvex_cotl, _morvex_I_cotl},
                            {_morvex_sindl, _morvex_I_sindl}, {_morvex_cosdl, _morvex_I_cosdl},
                            {_morvex_tandl, _morvex_I_tandl}};
  const DD args[] = {{0.7, 1e-18}, {-3.25, 0.0}, {1e10, -3e-7}, {kInf, 0.0}, {__builtin_nan(""), 0.0}};
  for (const TwinPair& p : pairs) expect_twin_matches(p, args);
}

using Real16TrigControlWord = f90test::ControlWordTest;

// The kernel is all double-double arithmetic: the same bits under every x87
// mode, and the caller's word back.
TEST_F(Real16TrigControlWord, SameResultsAndWordKeptUnderEveryMode) {
  const DD x = {12345.678, 1.5e-13};
  for (Unary f : {_morvex_sinl, _morvex_cosl, _morvex_tanl, _morvex_cotl, _morvex_sindl}) {
    const DD want = call(f, x);
    for (uint16_t cw : {f90test::kCwLibrary, f90test::kCwLinux, f90test::kCwChopSingle}) {
      DD got;
      expect_cw_kept([&] { f(&got, x); }, cw);
      EXPECT_TRUE(same_result(got, want)) << std::hex << cw;
    }
  }
}

}  // namespace
