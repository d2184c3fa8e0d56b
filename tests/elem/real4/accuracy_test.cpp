// Accuracy of the REAL*4 functions.
//
// CI: a dense sweep over the float bit patterns (every 65521st pattern, so
// every exponent and many significands) of each one-argument function's
// domain against MPFR, under 0x127f (the library's mode) and, sparser,
// under 0x037f (the process default); random pairs for the two-argument
// functions. The error is measured on the value the caller stores as a
// REAL*4, in ulps of the exact result (subnormal quantum 2^-149).
//
// F90_LONG_TESTS=1 adds the exhaustive run, Real4Exhaustive/*: all 2^32
// patterns of each function under 0x127f, four threads, against the C
// library's double-precision functions (within 1e-8 REAL*4 ulp of the exact
// value); the worst argument found is measured again against MPFR.
//
// Where the argument reduction uses a two-part pi (sine, cosine, tangent and
// their degree forms) the error near a zero of the function grows with |x|
// without bound in ulps: beyond a small range the error is measured as an
// absolute error in units of 2^-23 (ulp of 1.0), and for the tangent and
// cotangent as the argument error that explains it, |got - exact| /
// (1 + exact^2), in the same unit.
//
// The bounds above one ulp are the algorithms' own: REAL*4 constants whose
// rounding shows in the result (pi/4 and pi/2 in ASIN, ACOS and ATAN, pi in
// ATAN2, log10(e), the degree factors) and the two roundings of the square
// root of an odd exponent.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "control_word.h"
#include "mpfr_sweep.h"
#include "real4/real4.h"
#include "real4_test_util.h"

namespace {

using namespace real4test;

constexpr mpfr_prec_t kPrec = 96;
const float kRadPerDeg = from_bits(0x3c8efa35);

// How the error is measured beyond the ulp range.
enum class Metric { kUlp, kAbsolute, kArgument };

using Mp = f90test::Mpfr<kPrec>;

using MpfrFn = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

// The exact function of an argument: f(x), f(x) * 180/pi, or f of the
// degree argument x * (pi/180 as a REAL*4) rounded to REAL*4.
enum class Form { kPlain, kToDegrees, kFromDegrees };

struct Function {
  const char* name;
  long double (*fn)(float);
  MpfrFn mpfr;
  double (*libm)(double);
  Form form;
  float lo, hi;      // domain swept (inclusive)
  float ulp_range;   // |x| up to which the error is in ulps
  Metric beyond;     // the metric beyond it
  double bound_ulp;  // largest error allowed (0x127f and 0x037f)
  double bound_beyond;
};

double cot_d(double x) { return 1.0 / std::tan(x); }

const float kBig = from_bits(0x7f7fffff);
const float kSinLimit = from_bits(0x4fc90fda);
const float kTanLimit = from_bits(0x46490fdb);
// The partial-tangent instruction reduces with its own 66-bit pi, whose
// error shows in the argument beyond about 2^24.
const float kCotRange = 16777216.0f;

const std::vector<Function>& functions() {
  static const std::vector<Function> all = {
      {"exp", _morvex_exp, mpfr_exp, std::exp, Form::kPlain, from_bits(0xc2aff02e), 88.72f, kBig,
       Metric::kUlp, 1.0, 0},
      {"alog", _morvex_alog, mpfr_log, std::log, Form::kPlain, kMinSub, kBig, kBig, Metric::kUlp,
       1.0, 0},
      {"alog10", _morvex_alog10, mpfr_log10, std::log10, Form::kPlain, kMinSub, kBig, kBig,
       Metric::kUlp, 1.0, 0},
      {"sqrt", _morvex_sqrt, mpfr_sqrt, std::sqrt, Form::kPlain, kMinSub, kBig, kBig, Metric::kUlp,
       1.0, 0},
      {"sin", _morvex_sin, mpfr_sin, std::sin, Form::kPlain, -kSinLimit, kSinLimit, 1.5f,
       Metric::kAbsolute, 1.0, 1.2e6},
      {"cos", _morvex_cos, mpfr_cos, std::cos, Form::kPlain, -kSinLimit, kSinLimit, 1.5f,
       Metric::kAbsolute, 1.0, 1.2e6},
      {"tan", _morvex_tan, mpfr_tan, std::tan, Form::kPlain, -kTanLimit, kTanLimit, 0.78f,
       Metric::kArgument, 1.0, 1.0},
      {"cot", _morvex_cot, mpfr_cot, cot_d, Form::kPlain, -kCotRange, kCotRange, 3.0f,
       Metric::kArgument, 1.0, 1.0},
      {"sind", _morvex_sind, mpfr_sin, std::sin, Form::kFromDegrees, -3e11f, 3e11f, 89.0f,
       Metric::kAbsolute, 1.0, 1.2e6},
      {"cosd", _morvex_cosd, mpfr_cos, std::cos, Form::kFromDegrees, -3e11f, 3e11f, 85.0f,
       Metric::kAbsolute, 1.0, 1.2e6},
      {"tand", _morvex_tand, mpfr_tan, std::tan, Form::kFromDegrees, -7e5f, 7e5f, 44.0f,
       Metric::kArgument, 1.0, 1.0},
      {"asin", _morvex_asin, mpfr_asin, std::asin, Form::kPlain, -1, 1, kBig, Metric::kUlp, 1.5, 0},
      {"acos", _morvex_acos, mpfr_acos, std::acos, Form::kPlain, -1, 1, kBig, Metric::kUlp, 1.0, 0},
      {"asind", _morvex_asind, mpfr_asin, std::asin, Form::kToDegrees, -1, 1, kBig, Metric::kUlp,
       2.0, 0},
      {"acosd", _morvex_acosd, mpfr_acos, std::acos, Form::kToDegrees, -1, 1, kBig, Metric::kUlp,
       1.5, 0},
      {"atan", _morvex_atan, mpfr_atan, std::atan, Form::kPlain, -kBig, kBig, kBig, Metric::kUlp,
       1.5, 0},
      {"atand", _morvex_atand, mpfr_atan, std::atan, Form::kToDegrees, -kBig, kBig, kBig,
       Metric::kUlp, 1.5, 0},
      {"sinh", _morvex_sinh, mpfr_sinh, std::sinh, Form::kPlain, -89.4f, 89.4f, kBig, Metric::kUlp,
       1.0, 0},
      {"cosh", _morvex_cosh, mpfr_cosh, std::cosh, Form::kPlain, -89.4f, 89.4f, kBig, Metric::kUlp,
       1.0, 0},
      {"tanh", _morvex_tanh, mpfr_tanh, std::tanh, Form::kPlain, -kBig, kBig, kBig, Metric::kUlp,
       1.0, 0},
  };
  return all;
}

// The REAL*4 argument the degree forms reduce: x * (pi/180) rounded once
// (the product of two REAL*4 values is exact in a double).
float degree_argument(float x) {
  volatile float a = static_cast<float>(static_cast<double>(x) * kRadPerDeg);
  return a;
}

void exact_value(const Function& f, float x, mpfr_ptr out) {
  Mp a;
  mpfr_set_flt(a.v, f.form == Form::kFromDegrees ? degree_argument(x) : x, MPFR_RNDN);
  f.mpfr(out, a.v, MPFR_RNDN);
  if (f.form == Form::kToDegrees) {
    Mp pi;
    mpfr_const_pi(pi.v, MPFR_RNDN);
    mpfr_mul_ui(out, out, 180, MPFR_RNDN);
    mpfr_div(out, out, pi.v, MPFR_RNDN);
  }
}

// Error of the stored result `got` against `exact`: in REAL*4 ulps of the
// exact value (subnormal quantum 2^-149), or in units of 2^-23 for the other
// metrics. Negative when the exact value is beyond the REAL*4 range (the
// result is checked to be infinite instead). The exact value as a double
// is within 2^-29 REAL*4 ulp of itself.
double error_of(float got, double exact, Metric metric) {
  if (exact > kBig) return std::isinf(got) && got > 0 ? -1 : 1e30;
  if (exact < -kBig) return std::isinf(got) && got < 0 ? -1 : 1e30;
  if (!std::isfinite(got)) return 1e30;
  const double d = static_cast<double>(got) - exact;
  if (metric == Metric::kUlp) {
    int e = -148;
    if (exact != 0) std::frexp(exact, &e);
    return std::fabs(std::ldexp(d, -std::max(e - 24, -149)));
  }
  const double abs = std::fabs(std::ldexp(d, 23));
  return metric == Metric::kArgument ? abs / (1 + exact * exact) : abs;
}

double error_of(float got, mpfr_srcptr exact, Metric metric) {
  return error_of(got, mpfr_get_d(exact, MPFR_RNDN), metric);
}

struct Worst {
  double err = 0;
  float x = 0;
  void take(double e, float at) {
    if (e > err) {
      err = e;
      x = at;
    }
  }
};

struct Result {
  Worst ulp, beyond;
  uint64_t count = 0;
};

bool in_domain(const Function& f, float x) { return x >= f.lo && x <= f.hi; }
bool in_ulp_range(const Function& f, float x) { return std::fabs(x) <= f.ulp_range; }

Result sweep_mpfr(const Function& f, uint32_t step, uint16_t cw) {
  Result r;
  Mp exact;
  f90test::under_cw(cw, [&] {
    for (uint64_t u = 0; u < (uint64_t{1} << 32); u += step) {
      const float x = from_bits(static_cast<uint32_t>(u));
      if (!in_domain(f, x)) continue;
      const float got = stored(f.fn(x));
      exact_value(f, x, exact.v);
      const bool ulp = in_ulp_range(f, x);
      const double e = error_of(got, exact.v, ulp ? Metric::kUlp : f.beyond);
      (ulp ? r.ulp : r.beyond).take(e, x);
      ++r.count;
    }
    return 0;
  });
  return r;
}

void report(const char* how, uint16_t cw, const Function& f, const Result& r) {
  std::printf("[ accuracy ] %s 0x%04x %-7s max %.3f ulp at %a", how, cw, f.name, r.ulp.err,
              r.ulp.x);
  if (f.beyond != Metric::kUlp)
    std::printf("; beyond |x| = %g: %.3g %s at %a", f.ulp_range, r.beyond.err,
                f.beyond == Metric::kAbsolute ? "ulp(1)" : "ulp(1) of argument", r.beyond.x);
  std::printf(" (%llu arguments)\n", static_cast<unsigned long long>(r.count));
}

void expect_bounds(const Function& f, const Result& r) {
  EXPECT_LE(r.ulp.err, f.bound_ulp) << f.name << " at " << show(r.ulp.x);
  if (f.beyond != Metric::kUlp) {
    EXPECT_LE(r.beyond.err, f.bound_beyond) << f.name << " at " << show(r.beyond.x);
  }
}

TEST(Real4Accuracy, OneArgumentSweeps) {
  for (const auto& f : functions()) {
    for (const auto& [cw, step] : {std::pair<uint16_t, uint32_t>{0x127f, 65521},
                                   std::pair<uint16_t, uint32_t>{0x037f, 524287}}) {
      const Result r = sweep_mpfr(f, step, cw);
      report("sweep", cw, f, r);
      expect_bounds(f, r);
    }
  }
}

// ATAN2 and ATAN2D over random pairs of every magnitude and sign, and MOD,
// which is exact. ATAN2 rounds its result to REAL*4 once or twice (the REAL*4
// pi of the second quadrant); ATAN2D multiplies that by 180/pi as a REAL*4
// and the caller rounds again: 1.34 REAL*4 ulps of relative error, up to 2.7
// ulps of a result in the lower half of its binade, plus the last rounding.
TEST(Real4Accuracy, TwoArgumentSweeps) {
  std::mt19937 rng(1234);
  std::uniform_real_distribution<double> u(0, 1);
  const int n = long_tests() ? 1000000 : 20000;
  auto draw = [&] {
    const double m = std::exp2(-60 + 120 * u(rng));
    return static_cast<float>(u(rng) < 0.5 ? -m : m);
  };
  Worst atan2_err, atan2d_err, mod_err;
  Mp e, a, b, pi;
  mpfr_const_pi(pi.v, MPFR_RNDN);
  f90test::under_cw(f90test::kCwLibrary, [&] {
    for (int i = 0; i < n; ++i) {
      const float y = draw(), x = draw();
      mpfr_set_flt(a.v, y, MPFR_RNDN);
      mpfr_set_flt(b.v, x, MPFR_RNDN);
      mpfr_atan2(e.v, a.v, b.v, MPFR_RNDN);
      atan2_err.take(error_of(stored(_morvex_atan2(y, x)), e.v, Metric::kUlp), y);
      mpfr_mul_ui(e.v, e.v, 180, MPFR_RNDN);
      mpfr_div(e.v, e.v, pi.v, MPFR_RNDN);
      atan2d_err.take(error_of(stored(_morvex_atan2d(y, x)), e.v, Metric::kUlp), y);
      mpfr_fmod(e.v, a.v, b.v, MPFR_RNDN);
      mod_err.take(error_of(stored(_morvex_amod(y, x)), e.v, Metric::kUlp), y);
    }
    return 0;
  });
  std::printf("[ accuracy ] pairs 0x127f atan2 max %.3f ulp, atan2d max %.3f ulp, amod max %.3f ulp"
              " (%d pairs)\n", atan2_err.err, atan2d_err.err, mod_err.err, n);
  EXPECT_LE(atan2_err.err, 1.5);
  EXPECT_LE(atan2d_err.err, 3.2);
  EXPECT_EQ(mod_err.err, 0.0);
}

// The exhaustive run's oracle: the C library's double function (its error,
// below a double ulp, is 2^-29 REAL*4 ulp).
double exact_double(const Function& f, float x) {
  const double a = f.form == Form::kFromDegrees ? degree_argument(x) : x;
  const double v = f.libm(a);
  return f.form == Form::kToDegrees ? v * (180 / 3.14159265358979323846) : v;
}

class Real4Exhaustive : public ::testing::TestWithParam<size_t> {};

TEST_P(Real4Exhaustive, AllArguments) {
  if (!long_tests()) GTEST_SKIP() << "F90_LONG_TESTS=1 runs all 2^32 arguments";
  const Function& f = functions()[GetParam()];
  constexpr int kThreads = 4;
  std::vector<Result> parts(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&f, &part = parts[t], t] {
      x87::set_cw(f90test::kCwLibrary);  // a new thread starts with the default word
      for (uint64_t u = t; u < (uint64_t{1} << 32); u += kThreads) {
        const float x = from_bits(static_cast<uint32_t>(u));
        if (!in_domain(f, x)) continue;
        const float got = stored(f.fn(x));
        const bool ulp = in_ulp_range(f, x);
        const double e = error_of(got, exact_double(f, x), ulp ? Metric::kUlp : f.beyond);
        (ulp ? part.ulp : part.beyond).take(e, x);
        ++part.count;
      }
    });
  }
  for (auto& t : threads) t.join();
  Result all;
  for (const auto& p : parts) {
    all.ulp.take(p.ulp.err, p.ulp.x);
    all.beyond.take(p.beyond.err, p.beyond.x);
    all.count += p.count;
  }
  // The worst arguments measured again against MPFR.
  Mp exact;
  f90test::under_cw(f90test::kCwLibrary, [&] {
    for (Worst* w : {&all.ulp, &all.beyond}) {
      if (w->err == 0) continue;
      exact_value(f, w->x, exact.v);
      w->err = error_of(stored(f.fn(w->x)), exact.v, w == &all.ulp ? Metric::kUlp : f.beyond);
    }
    return 0;
  });
  report("all", f90test::kCwLibrary, f, all);
  expect_bounds(f, all);
}

INSTANTIATE_TEST_SUITE_P(Functions, Real4Exhaustive,
                         ::testing::Range<size_t>(0, functions().size()),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                           return std::string(functions()[info.param].name);
                         });

}  // namespace
