// Accuracy of the REAL*8 functions against MPFR (160-bit reference values).
// Random arguments from fixed seeds over each function's domain; the largest
// error is printed per function and checked against a bound.
// F90_LONG_TESTS=1 runs fifty times as many arguments.
//
// Under 0x127f (the library's mode) the error is measured on the value
// returned in st(0); under 0x037f (64-bit precision, the process default)
// on the value the caller stores. The unit is the REAL*8 ulp of the exact
// result; results outside the REAL*8 range are left out. For the wide
// ranges of the trigonometric functions the unit is the ulp of 1.0 (an
// absolute error): the two-part pi of the reduction leaves an absolute
// error that grows with |x|, unbounded in ulps near the zeros.
//
// The bounds above one ulp under 0x127f are the algorithms' own, not slips:
// every intermediate is rounded to 53 bits (the same formulas in IEEE
// double give the same bits), and some constants carry their own rounding
// (pi/6 in ATAN, pi in ATAN2, log10(e), 180/pi, pi/180). Under 0x037f the
// exponential, logarithm, hyperbolic functions, square root and power stay
// within 0.65 ulp after the store.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "control_word.h"
#include "mpfr_sweep.h"
#include "real8/real8.h"
#include "real8_test_util.h"

namespace {

using namespace real8test;

constexpr mpfr_prec_t kPrec = 160;

using f90test::Range;
using Mpfr = f90test::Mpfr<kPrec>;

// Error of `got` in REAL*8 ulps of `exact`; negative when not measurable
// (exact value outside the REAL*8 range, or not finite).
double ulp_error(long double got, const mpfr_t exact) {
  if (!mpfr_number_p(exact)) return -1;
  if (mpfr_zero_p(exact)) return got == 0 ? 0 : 1e300;
  if (mpfr_cmpabs_ui(exact, 0) > 0) {
    Mpfr maxd;
    mpfr_set_d(maxd.v, std::numeric_limits<double>::max(), MPFR_RNDN);
    if (mpfr_cmpabs(exact, maxd.v) > 0) return -1;
  }
  if (std::isnan(got) || std::isinf(got)) return 1e300;
  Mpfr diff;
  mpfr_set_ld(diff.v, got, MPFR_RNDN);
  mpfr_sub(diff.v, diff.v, exact, MPFR_RNDN);
  const long e = std::max<long>(mpfr_get_exp(exact) - 53, -1074);
  mpfr_mul_2si(diff.v, diff.v, -e, MPFR_RNDN);
  return std::fabs(mpfr_get_d(diff.v, MPFR_RNDN));
}

const double kPi = 3.141592653589793;
const double kDeg = from_bits(0x3f91df46a2529d39);

using Oracle1 = std::function<void(mpfr_t, double)>;
using Oracle2 = std::function<void(mpfr_t, double, double)>;

// The exact rounding functions of MPFR take no rounding mode.
template <int (*F)(mpfr_ptr, mpfr_srcptr)>
int exact_op(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t) {
  return F(r, x);
}

Oracle1 mpfr1(int (*f)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t)) {
  return [f](mpfr_t out, double x) {
    Mpfr a;
    mpfr_set_d(a.v, x, MPFR_RNDN);
    f(out, a.v, MPFR_RNDN);
  };
}

// The degree forms take the function of x * (pi/180) rounded to REAL*8 as
// the x87 rounds it: once under 53-bit precision, through 64 bits under
// extended precision.
bool g_extended_argument = false;

Oracle1 degree_argument(int (*f)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t)) {
  return [f](mpfr_t out, double x) {
    Mpfr a;
    mpfr_set_d(a.v, x, MPFR_RNDN);
    mpfr_mul_d(a.v, a.v, kDeg, MPFR_RNDN);
    if (g_extended_argument) mpfr_prec_round(a.v, 64, MPFR_RNDN);
    mpfr_prec_round(a.v, 53, MPFR_RNDN);
    f(out, a.v, MPFR_RNDN);
  };
}

// f(x) * 180/pi, exactly.
void to_degrees(mpfr_t v) {
  Mpfr pi;
  mpfr_const_pi(pi.v, MPFR_RNDN);
  mpfr_mul_ui(v, v, 180, MPFR_RNDN);
  mpfr_div(v, v, pi.v, MPFR_RNDN);
}

Oracle1 in_degrees(int (*f)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t)) {
  return [f](mpfr_t out, double x) {
    mpfr1(f)(out, x);
    to_degrees(out);
  };
}

// How an error is measured: in REAL*8 ulps of the exact result; as an
// absolute error in ulps of 1.0; or, for the tangent near its poles, as the
// argument error that explains it, |got - exact| / (1 + exact^2), in ulps of
// 1.0.
enum class Metric { kUlp, kAbsolute, kArgument };

// Largest errors allowed under the library's mode (0x127f) and under the
// process default (0x037f, stored result).
struct Bounds {
  double cw127f, cw037f;
};

struct Sweep1 {
  const char* name;
  long double (*fn)(double);
  Oracle1 oracle;
  std::vector<Range> ranges;
  Bounds bound;
  Metric metric = Metric::kUlp;
};

struct Sweep2 {
  const char* name;
  long double (*fn)(double, double);
  Oracle2 oracle;
  std::vector<Range> xs, ys;
  Bounds bound;
};

int samples() { return long_tests() ? 1000000 : 20000; }

// |got - exact| in ulps of 1.0 (2^-52), divided by 1 + exact^2 for kArgument.
double absolute_error(long double got, const mpfr_t exact, Metric metric) {
  if (!mpfr_number_p(exact)) return -1;
  if (std::isnan(got) || std::isinf(got)) return 1e300;
  Mpfr diff;
  mpfr_set_ld(diff.v, got, MPFR_RNDN);
  mpfr_sub(diff.v, diff.v, exact, MPFR_RNDN);
  mpfr_mul_2si(diff.v, diff.v, 52, MPFR_RNDN);
  if (metric == Metric::kArgument) {
    Mpfr scale;
    mpfr_sqr(scale.v, exact, MPFR_RNDN);
    mpfr_add_ui(scale.v, scale.v, 1, MPFR_RNDN);
    mpfr_div(diff.v, diff.v, scale.v, MPFR_RNDN);
  }
  return std::fabs(mpfr_get_d(diff.v, MPFR_RNDN));
}

double error_of(long double got, const mpfr_t exact, Metric metric) {
  return metric == Metric::kUlp ? ulp_error(got, exact) : absolute_error(got, exact, metric);
}

struct Worst {
  double err = 0, x = 0, y = 0;
};

void report(uint16_t cw, const char* name, const Worst& w, int n, bool two, Metric metric) {
  const char* unit = metric == Metric::kUlp ? "ulp" : "ulp(1)";
  if (two)
    std::printf("[ accuracy ] 0x%04x %-14s max %.3f %s at (%.17g, %.17g), %d arguments\n", cw,
                name, w.err, unit, w.x, w.y, n);
  else
    std::printf("[ accuracy ] 0x%04x %-14s max %.3f %s at %.17g, %d arguments\n", cw, name, w.err,
                unit, w.x, n);
}


const std::vector<Sweep1>& sweeps1() {
  const Range kSmall{1e-20, 1.0, true, true};  // tiny to moderate, both signs
  const Range kAll{1e-307, 1e308, true, true};
  const auto kAbs = Metric::kAbsolute;
  static const std::vector<Sweep1> s = {
      {"dexp", _morvex_dexp, mpfr1(mpfr_exp), {{-708.39, 709.78}, kSmall, {-20, 20}}, {1.75, 0.7}},
      {"dlog", _morvex_dlog, mpfr1(mpfr_log),
       {{1e-307, 1e308, true}, {0.9, 1.1}, {0.5, 2.0}, {kMinSub, 2e-308, true}}, {0.6, 0.55}},
      {"dlog10", _morvex_dlog10, mpfr1(mpfr_log10), {{1e-307, 1e308, true}, {0.9, 1.1}},
       {1.7, 0.8}},
      {"dsin", _morvex_dsin, mpfr1(mpfr_sin), {{-kPi, kPi}, kSmall}, {1.9, 1.2}},
      {"dcos", _morvex_dcos, mpfr1(mpfr_cos), {{-kPi, kPi}, kSmall}, {2.05, 0.8}},
      {"dsin |x|<1e4", _morvex_dsin, mpfr1(mpfr_sin), {{-1e4, 1e4}}, {1.1, 0.45}, kAbs},
      {"dcos |x|<1e4", _morvex_dcos, mpfr1(mpfr_cos), {{-1e4, 1e4}}, {1.1, 0.45}, kAbs},
      {"dsin |x|<3e8", _morvex_dsin, mpfr1(mpfr_sin), {{-2.9e8, 2.9e8}}, {600, 320}, kAbs},
      {"dsind", _morvex_dsind, degree_argument(mpfr_sin), {{-90, 90}}, {2.1, 0.8}},
      {"dcosd", _morvex_dcosd, degree_argument(mpfr_cos), {{-60, 60}}, {2.1, 0.8}},
      {"dsind wide", _morvex_dsind, degree_argument(mpfr_sin), {{-1e6, 1e6}}, {1.0, 0.45}, kAbs},
      {"dcosd wide", _morvex_dcosd, degree_argument(mpfr_cos), {{-1e6, 1e6}}, {1.0, 0.45}, kAbs},
      {"dtan", _morvex_dtan, mpfr1(mpfr_tan), {{-kPi / 2, kPi / 2}, kSmall}, {2.75, 1.15}},
      {"dtan |x|<1e4", _morvex_dtan, mpfr1(mpfr_tan), {{-1e4, 1e4}}, {1.0, 0.35},
       Metric::kArgument},
      {"dtand", _morvex_dtand, degree_argument(mpfr_tan), {{-89, 89}}, {2.75, 0.7}},
      {"dcot", _morvex_dcot, mpfr1(mpfr_cot), {{-kPi / 2, kPi / 2}}, {3.9, 1.8}},
      {"dasin", _morvex_dasin, mpfr1(mpfr_asin), {{-1, 1}, kSmall}, {2.2, 1.1}},
      {"dacos", _morvex_dacos, mpfr1(mpfr_acos), {{-1, 1}, kSmall}, {1.2, 0.85}},
      {"dasind", _morvex_dasind, in_degrees(mpfr_asin), {{-1, 1}}, {4.0, 1.3}},
      {"dacosd", _morvex_dacosd, in_degrees(mpfr_acos), {{-1, 1}}, {2.6, 0.85}},
      {"datan", _morvex_datan, mpfr1(mpfr_atan), {{1e-20, 1e20, true, true}, {-4, 4}},
       {2.8, 1.55}},
      {"datand", _morvex_datand, in_degrees(mpfr_atan), {{1e-20, 1e20, true, true}}, {5.4, 2.3}},
      {"dsinh", _morvex_dsinh, mpfr1(mpfr_sinh), {{-710, 710}, kSmall, {-3, 3}}, {0.9, 0.8}},
      {"dcosh", _morvex_dcosh, mpfr1(mpfr_cosh), {{-710, 710}, {-3, 3}}, {0.8, 0.8}},
      {"dtanh", _morvex_dtanh, mpfr1(mpfr_tanh), {{-20, 20}, kSmall, {-1, 1}}, {1.25, 0.6}},
      {"dsqrt", _morvex_dsqrt, mpfr1(mpfr_sqrt),
       {{1e-307, 1e308, true}, {kMinSub, 2e-308, true}, {0.25, 4}}, {0.75, 0.501}},
      // Rounding functions: exact.
      {"dint", _morvex_dint, mpfr1(exact_op<mpfr_trunc>), {kAll, {-1e6, 1e6}, {-4, 4}}, {0, 0}},
      {"dnint", _morvex_dnint, mpfr1(exact_op<mpfr_round>), {kAll, {-1e6, 1e6}, {-4, 4}}, {0, 0}},
      {"f90floor", _morvex_f90floor, mpfr1(exact_op<mpfr_floor>), {kAll, {-1e6, 1e6}, {-4, 4}}, {0, 0}},
      {"f90ceil", _morvex_f90ceil, mpfr1(exact_op<mpfr_ceil>), {kAll, {-1e6, 1e6}, {-4, 4}}, {0, 0}},
  };
  return s;
}

Oracle2 mpfr2(int (*f)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t), bool degrees = false) {
  return [f, degrees](mpfr_t out, double x, double y) {
    Mpfr a, b;
    mpfr_set_d(a.v, x, MPFR_RNDN);
    mpfr_set_d(b.v, y, MPFR_RNDN);
    f(out, a.v, b.v, MPFR_RNDN);
    if (degrees) to_degrees(out);
  };
}

const std::vector<Sweep2>& sweeps2() {
  const Range kWide{1e-10, 1e10, true, true};
  static const std::vector<Sweep2> s = {
      {"datan2", _morvex_datan2, mpfr2(mpfr_atan2), {kWide}, {kWide}, {1.4, 1.1}},
      {"datan2d", _morvex_datan2d, mpfr2(mpfr_atan2, true), {kWide}, {kWide}, {2.5, 2.1}},
      {"dtod", _morvex_dtod, mpfr2(mpfr_pow), {{1e-5, 1e5, true}, {0.5, 2.0}}, {{-60, 60}},
       {0.75, 0.7}},
      {"dtoi", [](double x, double n) { return _morvex_dtoi(x, static_cast<int32_t>(n)); },
       [](mpfr_t out, double x, double n) {
         Mpfr a;
         mpfr_set_d(a.v, x, MPFR_RNDN);
         mpfr_pow_si(out, a.v, static_cast<long>(n), MPFR_RNDN);
       },
       // Square-and-multiply at 53 bits: about |n|/2 ulps.
       {{0.5, 2.0}, {1e-3, 1e3, true, true}}, {{-64, 64}}, {56, 0.6}},
      {"dmod", _morvex_dmod, mpfr2(mpfr_fmod), {{1e-300, 1e300, true, true}},
       {{1e-300, 1e300, true, true}}, {0, 0}},
  };
  return s;
}

// Runs one sweep under `cw`: `next(rng)` draws an argument pair, `fn(x, y)`
// calls the function and `oracle(exact, x, y)` gives the exact value. Under
// 0x127f the st(0) value is measured, otherwise the stored REAL*8.
template <class Next, class Fn, class Oracle>
void sweep(uint16_t cw, const char* name, uint64_t seed, Next next, Fn fn, Oracle oracle,
           Metric metric, Bounds bound, bool two) {
  const bool returned = cw == f90test::kCwLibrary;
  g_extended_argument = !returned;
  std::mt19937_64 rng(seed);
  Worst w;
  Mpfr exact;
  int measured = 0;
  for (int i = 0, n = samples(); i < n; ++i) {
    const auto [x, y] = next(rng, i);
    const long double r = f90test::under_cw(cw, [&] { return fn(x, y); });
    const long double got = returned ? r : static_cast<long double>(stored(r));
    oracle(exact.v, x, y);
    const double e = error_of(got, exact.v, metric);
    if (e < 0) continue;
    ++measured;
    if (e > w.err) w = {e, x, y};
  }
  report(cw, name, w, measured, two, metric);
  EXPECT_LE(w.err, returned ? bound.cw127f : bound.cw037f)
      << name << " at (" << w.x << ", " << w.y << ")";
}

void run_sweeps(uint16_t cw) {
  for (const auto& s : sweeps1()) {
    sweep(
        cw, s.name, 0x5eed0001,
        [&](std::mt19937_64& rng, int i) {
          return std::pair{draw(rng, s.ranges[i % s.ranges.size()]), 0.0};
        },
        [&](double x, double) { return s.fn(x); },
        [&](mpfr_t out, double x, double) { s.oracle(out, x); }, s.metric, s.bound, false);
  }
  for (const auto& s : sweeps2()) {
    sweep(
        cw, s.name, 0x5eed0002,
        [&](std::mt19937_64& rng, int i) {
          const double x = draw(rng, s.xs[i % s.xs.size()]);
          return std::pair{x, draw(rng, s.ys[i % s.ys.size()])};
        },
        s.fn, s.oracle, Metric::kUlp, s.bound, true);
  }
}

TEST(Accuracy, WithinBoundsUnderTheLibraryMode) { run_sweeps(f90test::kCwLibrary); }

TEST(Accuracy, WithinBoundsUnderExtendedPrecision) { run_sweeps(f90test::kCwLinux); }

}  // namespace
