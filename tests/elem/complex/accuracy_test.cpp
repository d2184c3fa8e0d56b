// Accuracy of the complex functions against MPFR (128-bit reference values),
// for both kinds. Random arguments from fixed seeds; the largest error is
// printed per function and checked against a bound. F90_LONG_TESTS=1 runs
// fifty times as many arguments.
//
// The error is normwise: |got - exact| (the distance in the complex plane)
// in ulps of |exact| for the kind, measured on the stored result (for ABS,
// st(0) stored in the kind). For LOG with 0.5 < |z| < 2 the unit is the
// ulp of 1.0 instead (an absolute error): its real part ln|z| comes from
// a*a + b*b rounded at the working precision, so near z = 1 its relative
// error grows without bound while its absolute error stays about an ulp.
//
// Under 0x127f (53-bit working precision) COMPLEX*16 results carry a few
// roundings each: EXP forms e^a at 64 bits and rounds the products; LOG
// rounds a*a + b*b; SQRT rounds m and then n = |y|/(2m) from it; SIN and COS
// multiply sin a and cos a rounded to REAL*8 by the hyperbolic functions'
// results. The x87 sine and cosine reduce their argument with a 66-bit pi,
// so EXP's error grows with |b| (the "|b|<1e5" sweep). COMPLEX*8 works at 53
// or 64 bits and rounds once more when it stores.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <random>
#include <type_traits>
#include <utility>
#include <vector>

#include "complex_test_util.h"
#include "control_word.h"
#include "mpfr_sweep.h"

namespace {

using namespace ctest;

constexpr mpfr_prec_t kPrec = 128;

using Mpfr = f90test::Mpfr<kPrec>;

// Argument ranges: a log range takes either sign.
using f90test::Range;

// The exact f(a + bi) as (re, im).
using Oracle = std::function<void(mpfr_t re, mpfr_t im, double a, double b)>;

void exact_exp(mpfr_t re, mpfr_t im, double a, double b) {
  Mpfr x(a), y(b), e;
  mpfr_exp(e.v, x.v, MPFR_RNDN);
  mpfr_sin_cos(im, re, y.v, MPFR_RNDN);
  mpfr_mul(re, re, e.v, MPFR_RNDN);
  mpfr_mul(im, im, e.v, MPFR_RNDN);
}

void exact_log(mpfr_t re, mpfr_t im, double a, double b) {
  Mpfr x(a), y(b);
  mpfr_hypot(re, x.v, y.v, MPFR_RNDN);
  mpfr_log(re, re, MPFR_RNDN);
  mpfr_atan2(im, y.v, x.v, MPFR_RNDN);
}

// m = sqrt((|z| + |a|)/2), n = |b|/(2m): (m, +-n) for a >= 0, else (n, +-m).
void exact_sqrt(mpfr_t re, mpfr_t im, double a, double b) {
  Mpfr x(a), y(b), m, n;
  mpfr_hypot(m.v, x.v, y.v, MPFR_RNDN);
  mpfr_abs(x.v, x.v, MPFR_RNDN);
  mpfr_add(m.v, m.v, x.v, MPFR_RNDN);
  mpfr_div_2ui(m.v, m.v, 1, MPFR_RNDN);
  mpfr_sqrt(m.v, m.v, MPFR_RNDN);
  mpfr_abs(y.v, y.v, MPFR_RNDN);
  mpfr_div(n.v, y.v, m.v, MPFR_RNDN);
  mpfr_div_2ui(n.v, n.v, 1, MPFR_RNDN);
  mpfr_set(re, a >= 0 ? m.v : n.v, MPFR_RNDN);
  mpfr_set(im, a >= 0 ? n.v : m.v, MPFR_RNDN);
  if (b < 0) mpfr_neg(im, im, MPFR_RNDN);
}

// sin: (sin a cosh b, cos a sinh b); cos: (cos a cosh b, -sin a sinh b).
void exact_sin_cos(mpfr_t re, mpfr_t im, double a, double b, bool cosine) {
  Mpfr x(a), y(b), s, c, sh, ch;
  mpfr_sin_cos(s.v, c.v, x.v, MPFR_RNDN);
  mpfr_sinh_cosh(sh.v, ch.v, y.v, MPFR_RNDN);
  mpfr_mul(re, cosine ? c.v : s.v, ch.v, MPFR_RNDN);
  mpfr_mul(im, cosine ? s.v : c.v, sh.v, MPFR_RNDN);
  if (cosine) mpfr_neg(im, im, MPFR_RNDN);
}

void exact_abs(mpfr_t re, mpfr_t im, double a, double b) {
  Mpfr x(a), y(b);
  mpfr_hypot(re, x.v, y.v, MPFR_RNDN);
  mpfr_set_zero(im, 1);
}

enum class Metric { kRelative, kAbsolute };

// Draws the i-th argument (a, b).
using Draw = std::function<std::pair<double, double>(std::mt19937_64&, int i)>;

// a and b from their own ranges, every pairing of the ranges in turn.
Draw grid(std::vector<Range> as, std::vector<Range> bs) {
  return [as, bs](std::mt19937_64& rng, int i) {
    const double a = draw(rng, as[i % as.size()]);
    return std::pair{a, draw(rng, bs[(i / as.size()) % bs.size()])};
  };
}

// |z| from one of the ranges (log-uniform magnitudes are taken positive),
// the angle uniform in [-pi, pi].
Draw polar(std::vector<Range> moduli) {
  return [moduli](std::mt19937_64& rng, int i) {
    const double r = std::fabs(draw(rng, moduli[i % moduli.size()]));
    const double t = draw(rng, Range{-3.141592653589793, 3.141592653589793});
    return std::pair{r * std::cos(t), r * std::sin(t)};
  };
}

struct Sweep {
  const char* name;
  Oracle oracle;
  Draw args;
  double bound127f, bound037f;
  Metric metric = Metric::kRelative;
};

// Normwise error of (gr, gi) against the exact value, in ulps of |exact| for
// a kind of `digits` bits (or of 1.0); negative when not measurable (the
// exact value or a part of it lies outside the kind's range).
double error_of(long double gr, long double gi, const mpfr_t er, const mpfr_t ei, int digits,
                int min_exp, double max, Metric metric) {
  if (!mpfr_number_p(er) || !mpfr_number_p(ei)) return -1;
  if (std::fabs(mpfr_get_d(er, MPFR_RNDN)) > max) return -1;
  if (std::fabs(mpfr_get_d(ei, MPFR_RNDN)) > max) return -1;
  if (!std::isfinite(gr) || !std::isfinite(gi)) return 1e300;
  Mpfr dr, di, mod;
  mpfr_set_ld(dr.v, gr, MPFR_RNDN);
  mpfr_sub(dr.v, dr.v, er, MPFR_RNDN);
  mpfr_set_ld(di.v, gi, MPFR_RNDN);
  mpfr_sub(di.v, di.v, ei, MPFR_RNDN);
  mpfr_hypot(dr.v, dr.v, di.v, MPFR_RNDN);
  long e = 1;  // the exponent of 1.0 in MPFR's convention
  if (metric == Metric::kRelative) {
    mpfr_hypot(mod.v, er, ei, MPFR_RNDN);
    if (mpfr_zero_p(mod.v)) return mpfr_zero_p(dr.v) ? 0 : 1e300;
    e = mpfr_get_exp(mod.v);
  }
  mpfr_mul_2si(dr.v, dr.v, -std::max<long>(e - digits, min_exp), MPFR_RNDN);
  return mpfr_get_d(dr.v, MPFR_RNDN);
}

int samples(uint16_t cw) {
  const int n = cw == f90test::kCwLibrary ? 6000 : 2000;
  return long_tests() ? 50 * n : n;
}

// Runs the sweeps of kind K with `fn` giving the stored result of each.
template <class K>
void run(uint16_t cw, const char* fname,
         const std::function<typename K::C(typename K::T, typename K::T)>& fn, const Sweep& s) {
  using T = typename K::T;
  const int digits = K::kDigits, min_exp = K::kDigits == 53 ? -1074 : -149;
  const double max = std::numeric_limits<T>::max();
  std::mt19937_64 rng(0xc0ffee06);
  Mpfr er, ei;
  double worst = 0, wa = 0, wb = 0;
  int measured = 0;
  const int n = samples(cw);
  for (int i = 0; i < n; ++i) {
    const auto [da, db] = s.args(rng, i);
    const T a = static_cast<T>(da), b = static_cast<T>(db);
    const auto got = f90test::under_cw(cw, [&] { return fn(a, b); });
    s.oracle(er.v, ei.v, a, b);
    const double e = error_of(got.re, got.im, er.v, ei.v, digits, min_exp, max, s.metric);
    if (e < 0) continue;
    ++measured;
    if (e > worst) worst = e, wa = a, wb = b;
  }
  std::printf("[ accuracy ] 0x%04x %-8s %-14s max %.3f %s at (%.9g, %.9g), %d arguments\n", cw,
              fname, s.name, worst, s.metric == Metric::kRelative ? "ulp" : "ulp(1)", wa, wb,
              measured);
  EXPECT_GT(measured, n / 2) << fname << " " << s.name;
  EXPECT_LE(worst, cw == f90test::kCwLibrary ? s.bound127f : s.bound037f)
      << fname << " " << s.name << " at (" << wa << ", " << wb << ")";
}

template <class K, class F>
std::function<typename K::C(typename K::T, typename K::T)> complex_result(F f) {
  return [f](typename K::T a, typename K::T b) {
    typename K::C r;
    f(&r, typename K::C{a, b});
    return r;
  };
}

template <class K>
std::function<typename K::C(typename K::T, typename K::T)> abs_result() {
  return [](typename K::T a, typename K::T b) {
    return typename K::C{stored<typename K::T>(K::abs(typename K::C{a, b})), 0};
  };
}

// Ranges, and bounds per kind: under 0x127f, under 0x037f.
template <class K>
void run_all(uint16_t cw) {
  const bool d = K::kDigits == 53;
  auto bound = [d](double d127f, double d037f, double c127f, double c037f) {
    return d ? std::pair{d127f, d037f} : std::pair{c127f, c037f};
  };
  const double exp_hi = d ? 700 : 87, sinh_hi = d ? 700 : 87;
  const double wide = d ? 1e300 : 1e36, tiny = d ? 1e-300 : 1e-36;
  const Range moderate{-10, 10}, small{1e-12, 1, true, true}, everywhere{tiny, wide, true, true};
  const auto sweep = [](const char* name, Oracle o, Draw args, std::pair<double, double> b,
                        Metric m = Metric::kRelative) {
    return Sweep{name, std::move(o), std::move(args), b.first, b.second, m};
  };
  const auto sin_of = [](mpfr_t r, mpfr_t i, double a, double b) {
    exact_sin_cos(r, i, a, b, false);
  };
  const auto cos_of = [](mpfr_t r, mpfr_t i, double a, double b) {
    exact_sin_cos(r, i, a, b, true);
  };
  const std::vector<std::pair<const char*, std::vector<Sweep>>> all = {
      {d ? "cdexp" : "cexp",
       {sweep("", exact_exp,
              grid({{-exp_hi, exp_hi}, moderate, small}, {moderate, small, {-100, 100}}),
              bound(0.9, 0.9, 0.71, 0.71)),
        sweep("|b|<1e5", exact_exp, grid({moderate}, {{1e2, 1e5, true, true}}),
              bound(1.75, 1.75, 0.71, 0.71))}},
      // Away from z = 1 the error is relative; near it the real part ln|z|
      // is small and its error absolute.
      {d ? "cdlog" : "clog",
       {sweep("", exact_log, polar({{tiny, 0.5, true, true}, {2, wide, true, true}}),
              bound(1.3, 0.85, 1.35, 1.35)),
        sweep("0.5<|z|<2", exact_log, polar({{0.5, 2}}), bound(1.15, 0.8, 2.3, 2.3),
              Metric::kAbsolute)}},
      {d ? "cdsqrt" : "csqrt",
       {sweep("", exact_sqrt, grid({everywhere, moderate}, {everywhere, moderate}),
              bound(1.85, 1.1, 1.15, 1.15))}},
      {d ? "cdsin" : "csin",
       {sweep("", sin_of, grid({moderate, small}, {moderate, small, {-sinh_hi, sinh_hi}}),
              bound(2.1, 1.65, 1.3, 1.3))}},
      {d ? "cdcos" : "ccos",
       {sweep("", cos_of, grid({moderate, small}, {moderate, small, {-sinh_hi, sinh_hi}}),
              bound(2.1, 1.3, 1.3, 1.3))}},
  };
  const typename std::remove_const<decltype(K::exp)>::type fns[] = {K::exp, K::log, K::sqrt, K::sin,
                                                                    K::cos};
  for (size_t f = 0; f < all.size(); ++f)
    for (const auto& s : all[f].second) run<K>(cw, all[f].first, complex_result<K>(fns[f]), s);
  run<K>(cw, d ? "cdabs" : "cabs", abs_result<K>(),
         sweep("", exact_abs, grid({everywhere, moderate}, {everywhere, moderate}),
               bound(1.95, 0.501, 0.501, 0.501)));
}

TEST(ComplexAccuracy, Complex16UnderTheLibraryMode) { run_all<Kind16>(f90test::kCwLibrary); }
TEST(ComplexAccuracy, Complex16UnderExtendedPrecision) { run_all<Kind16>(f90test::kCwLinux); }
TEST(ComplexAccuracy, Complex8UnderTheLibraryMode) { run_all<Kind8>(f90test::kCwLibrary); }
TEST(ComplexAccuracy, Complex8UnderExtendedPrecision) { run_all<Kind8>(f90test::kCwLinux); }

}  // namespace
