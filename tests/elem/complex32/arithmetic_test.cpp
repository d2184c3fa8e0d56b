// COMPLEX*32 multiplication, division and integer powers: exact and special
// results, the range of the negative powers, and accuracy sweeps against
// MPFR (normwise relative error).
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "complex32_oracle.h"

namespace {

using namespace c32test;

struct BinaryCase {
  const char* what;
  Cx a, b, want;
};

TEST(Complex32Arithmetic, ExactProductsAndQuotients) {
  const Cx nan_part = {{kNaN, 0.0}, {kNaN, 0.0}};
  const std::vector<BinaryCase> mul = {
      {"i * i", cx(0, 1), cx(0, 1), cx(-1, 0)},
      {"(1+2i)(3+4i)", cx(1, 2), cx(3, 4), cx(-5, 10)},
      {"low part kept", {{1, k2m60}, {0, 0}}, cx(3, 0), {{3, 3 * k2m60}, {0, 0}}},
      {"imaginary low parts", cx(0, 2), {{0, 0}, {1, k2m60}}, {{-2, -2 * k2m60}, {0, 0}}},
  };
  for (const BinaryCase& c : mul) {
    const Cx got = c_call(_morvex_cqmul, c.a, c.b);
    EXPECT_TRUE(exact(got, c.want)) << c.what << " gave " << show(got);
  }
  const std::vector<BinaryCase> div = {
      {"by zero", cx(1, 1), cx(0, 0), nan_part},
      {"zero by zero", cx(0, 0), cx(-0.0, 0), nan_part},
      {"by i-part larger", cx(1, 0), cx(0, 2), cx(0, -0.5)},
      {"by a real", cx(4, 2), cx(2, 0), cx(2, 1)},
      {"|y2| > |x2|", cx(-5, 10), cx(3, 4), cx(1, 2)},
      {"|x2| > |y2|", cx(11, 2), cx(4, 3), cx(2, -1)},
      {"low part kept", {{3, 3 * k2m60}, {0, 0}}, cx(3, 0), {{1, k2m60}, {0, 0}}},
  };
  for (const BinaryCase& c : div) {
    const Cx got = c_call(_morvex_cqdiv, c.a, c.b);
    EXPECT_TRUE(exact(got, c.want)) << c.what << " gave " << show(got);
  }
  // The NaN parts of a zero divisor are exactly (0x7ff8000000000000, +0).
  const Cx z = c_call(_morvex_cqdiv, cx(1, 1), cx(0, 0));
  EXPECT_EQ(bits(z.re.hi), kQuietNaN);
  EXPECT_EQ(bits(z.re.lo), 0u);
  EXPECT_EQ(bits(z.im.hi), kQuietNaN);
  EXPECT_EQ(bits(z.im.lo), 0u);
}

struct PowerCase {
  const char* what;
  Cx z;
  int32_t n;
  Cx want;
};

TEST(Complex32Power, ExactIntegerPowers) {
  const double p599 = std::ldexp(1.0, 599);
  const std::vector<PowerCase> cases = {
      {"0^0", cx(0, 0), 0, cx(1, 0)},
      {"0^-3", cx(0, 0), -3, cx(0, 0)},
      {"0^5", cx(-0.0, 0), 5, cx(0, 0)},
      {"i^4", cx(0, 1), 4, cx(1, 0)},
      {"i^2", cx(0, 1), 2, cx(-1, 0)},
      {"i^3", cx(0, 1), 3, cx(0, -1)},
      {"2^-1", cx(2, 0), -1, cx(0.5, 0)},
      {"(1+i)^8", cx(1, 1), 8, cx(16, 0)},
      {"(1+i)^-2", cx(1, 1), -2, cx(0, -0.5)},
      {"z^0", cx(3, -7), 0, cx(1, 0)},
      {"z^1", {{3, k2m60}, {-7, 0}}, 1, {{3, k2m60}, {-7, 0}}},
      {"1^INT_MIN", cx(1, 0), INT_MIN, cx(1, 0)},
      {"(-1)^INT_MAX", cx(-1, 0), INT_MAX, cx(-1, 0)},
      // |z|^2 beyond the double range: formed from z scaled by a power of two.
      {"(2^1000)^-1", cx(std::ldexp(1.0, 1000), 0), -1, cx(std::ldexp(1.0, -1000), 0)},
      {"(2^500 i)^-2", cx(0, std::ldexp(1.0, 500)), -2, cx(-std::ldexp(1.0, -1000), 0)},
      {"(2^-600 (1+i))^-1", cx(std::ldexp(1.0, -600), std::ldexp(1.0, -600)), -1,
       cx(p599, -p599)},
  };
  for (const PowerCase& c : cases) {
    const Cx got = c_call(_morvex_cqtoi, c.z, c.n);
    EXPECT_TRUE(exact(got, c.want)) << c.what << " gave " << show(got);
  }
  // Zero base: all four parts +0 for any non-zero power.
  for (int32_t n : {-3, -1, 1, 2, INT_MIN, INT_MAX}) {
    EXPECT_CX_EQ(c_call(_morvex_cqtoi, cx(0, 0), n), cx(0, 0));
  }
}

// Runs `count` draws of (args, exact) and checks the largest normwise
// relative error divided by the allowance.
template <class Step>
void sweep_cx(const char* name, int count, uint64_t seed, Step step) {
  std::mt19937_64 rng(seed);
  Worst w(name);
  for (int i = 0; i < count; ++i) step(rng, w);
  w.check(kLimit);
}

// z1 op z2 for z1 near 10^e1 and z2 near 10^e2.
void binary_sweep(const char* name, CxBinary f, void (*exact_of)(MpCx&, MpCx&, MpCx&), int count,
                  double e1, double e2, uint64_t seed) {
  sweep_cx(name, count, seed, [&](std::mt19937_64& rng, Worst& w) {
    const Cx a = near_magnitude(rng, e1), b = near_magnitude(rng, e2);
    MpCx ma(a), mb(b), want;
    exact_of(want, ma, mb);
    w.add(relative_error(c_call(f, a, b), want), 1.0, show(a) + " " + show(b));
  });
}

TEST(Complex32Arithmetic, ProductSweeps) {
  const int n = sweep_count(1500);
  binary_sweep("cqmul", _morvex_cqmul, mp_mul, n, 0, 0, 1);
  binary_sweep("cqmul", _morvex_cqmul, mp_mul, n, 3, -2, 2);
  binary_sweep("cqmul", _morvex_cqmul, mp_mul, n / 3, 200, 0, 3);
  binary_sweep("cqmul", _morvex_cqmul, mp_mul, n / 3, -200, 0, 4);
  binary_sweep("cqmul", _morvex_cqmul, mp_mul, n / 3, -200, 200, 5);
}

TEST(Complex32Arithmetic, QuotientSweeps) {
  const int n = sweep_count(1500);
  binary_sweep("cqdiv", _morvex_cqdiv, mp_div, n, 0, 0, 1);
  binary_sweep("cqdiv", _morvex_cqdiv, mp_div, n, 3, -2, 2);
  binary_sweep("cqdiv", _morvex_cqdiv, mp_div, n / 3, 200, 0, 3);
  binary_sweep("cqdiv", _morvex_cqdiv, mp_div, n / 3, -200, 0, 4);
  binary_sweep("cqdiv", _morvex_cqdiv, mp_div, n / 3, 0, 200, 5);
  binary_sweep("cqdiv", _morvex_cqdiv, mp_div, n / 3, 0, -200, 6);
  binary_sweep("cqdiv", _morvex_cqdiv, mp_div, n / 3, 200, 200, 7);
  binary_sweep("cqdiv", _morvex_cqdiv, mp_div, n / 3, -200, -200, 8);
  // One part of the divisor far below the other (t tiny in Smith's method).
  sweep_cx("cqdiv", n / 3, 9, [](std::mt19937_64& rng, Worst& w) {
    const Cx a = near_magnitude(rng, 0);
    Cx b = {log_part(rng, -1, 1), log_part(rng, -40, -20)};
    if (rng() & 1) std::swap(b.re, b.im);
    MpCx ma(a), mb(b), want;
    mp_div(want, ma, mb);
    w.add(relative_error(c_call(_morvex_cqdiv, a, b), want), 1.0, show(a) + " " + show(b));
  });
}

// z^n for z drawn by `draw` and n from `ns`; the error grows with |n|.
template <class Draw>
void power_sweep(int count, Draw draw, const std::vector<int32_t>& ns, uint64_t seed) {
  sweep_cx("cqtoi", count, seed, [&](std::mt19937_64& rng, Worst& w) {
    const Cx z = draw(rng);
    const int32_t n = ns[rng() % ns.size()];
    MpCx mz(z), want;
    mp_pown(want, mz, n);
    w.add(relative_error(c_call(_morvex_cqtoi, z, n), want), std::max(1, std::abs(n)),
          show(z) + " ** " + std::to_string(n));
  });
}

TEST(Complex32Power, IntegerPowerSweeps) {
  const int n = sweep_count(1500);
  std::vector<int32_t> small;
  for (int32_t k = -40; k <= 40; ++k) small.push_back(k);
  auto near = [](double e) { return near_draw(e, 1.0); };
  power_sweep(n, near(0.1), small, 1);
  power_sweep(n / 3, polar_draw(0.7, 1.4), {-1000, -777, 999, 1024}, 2);
  // Near the ends of the range: |z|^2 is out of range, the reciprocal is not.
  power_sweep(n / 3, near(200), {-1, 1}, 3);
  power_sweep(n / 3, near(-200), {-1, 1}, 4);
  power_sweep(n / 3, near(90), {-3, -2, -1, 1, 2, 3}, 5);
  power_sweep(n / 3, near(-90), {-3, -2, -1, 1, 2, 3}, 6);
  power_sweep(n / 3, near(250), {-1}, 7);
  power_sweep(n / 3, near(-250), {-1}, 8);
}

}  // namespace
