// COMPLEX*32 ABS and SQRT: exact and special results, the ends of the double
// range, and accuracy sweeps against MPFR.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "complex32_oracle.h"

namespace {

using namespace c32test;

DD cabs_of(const Cx& z) { return call_into<DD>(_morvex_cabsl, z); }

struct AbsCase {
  const char* what;
  Cx z;
  DD want;  // by value; a NaN by its bits
};

TEST(Complex32Abs, ExactAndSpecialResults) {
  const double p900 = std::ldexp(1.0, 900), m1000 = std::ldexp(1.0, -1000);
  const std::vector<AbsCase> cases = {
      {"(3, 4)", cx(3, 4), {5, 0}},
      {"(4, 3)", cx(4, 3), {5, 0}},
      {"(-3, -4)", cx(-3, -4), {5, 0}},
      {"(0, -2)", cx(0, -2), {2, 0}},
      {"(-7, 0)", cx(-7, 0), {7, 0}},
      {"(0, 0)", cx(0, 0), {0, 0}},
      {"(3, 4) 2^900", cx(3 * p900, 4 * p900), {5 * p900, 0}},
      {"(3, 4) 2^-1000", cx(3 * m1000, 4 * m1000), {5 * m1000, 0}},
      {"low parts", {{3, 3 * k2m60}, {4, 4 * k2m60}}, {5, 5 * k2m60}},
      // An infinite part gives +Inf, a NaN part (and no infinite one) NaN.
      {"(Inf, 1)", cx(kInf, 1), {kInf, 0}},
      {"(1, -Inf)", cx(1, -kInf), {kInf, 0}},
      {"(NaN, -Inf)", cx(kNaN, -kInf), {kInf, 0}},
      {"(NaN, 2)", cx(kNaN, 2), {kNaN, 0}},
      {"(2, NaN)", cx(2, kNaN), {kNaN, 0}},
  };
  for (const AbsCase& c : cases) {
    const DD got = cabs_of(c.z);
    EXPECT_TRUE(exact(got.hi, c.want.hi) && exact(got.lo, c.want.lo))
        << c.what << " gave " << r16test::show(got);
  }
}

struct SqrtCase {
  const char* what;
  Cx z, want;
};

TEST(Complex32Sqrt, ExactAndSpecialResults) {
  const double p500 = std::ldexp(1.0, 500), m500 = std::ldexp(1.0, -500);
  const double p1000 = std::ldexp(1.0, 1000), m1000 = std::ldexp(1.0, -1000);
  const std::vector<SqrtCase> cases = {
      {"(3, -4)", cx(3, -4), cx(2, -1)},
      {"(-3, 4)", cx(-3, 4), cx(1, 2)},
      {"(-3, -4)", cx(-3, -4), cx(1, -2)},
      {"(-4, 0)", cx(-4, 0), cx(0, 2)},
      {"(-9, -0)", cx(-9, -0.0), cx(0, 3)},
      {"(4, 0)", cx(4, 0), cx(2, 0)},
      {"(0, 2)", cx(0, 2), cx(1, 1)},
      {"(0, -8)", cx(0, -8), cx(2, -2)},
      // Parts beyond the range of |z|^2, and a subnormal one.
      {"(3, -4) 2^1000", cx(3 * p1000, -4 * p1000), cx(2 * p500, -p500)},
      {"(-3, 4) 2^-1000", cx(-3 * m1000, 4 * m1000), cx(m500, 2 * m500)},
      {"(2^-1074, 0)", cx(0x1p-1074, 0), cx(0x1p-537, 0)},
      {"(0, 2^1023)", cx(0, 0x1p1023), cx(0x1p511, 0x1p511)},
      // |z| = 1125 2^1014 lies beyond the largest double.
      {"(-3, 4) 225 2^1014", cx(-675 * 0x1p1014, 900 * 0x1p1014), cx(15 * 0x1p507, 30 * 0x1p507)},
      {"(3, -4) 2^-1074: halves below the doubles", cx(3 * 0x1p-1074, -4 * 0x1p-1074),
       cx(0x1p-536, -0x1p-537)},
  };
  for (const SqrtCase& c : cases) {
    const Cx got = c_call(_morvex_csqrtl, c.z);
    EXPECT_TRUE(exact(got, c.want)) << c.what << " gave " << show(got);
  }
  // Zero, and a NaN part: (NaN, +0) real part and all-zero imaginary part.
  const Cx nan_root = {{kNaN, 0.0}, {0.0, 0.0}};
  EXPECT_CX_EQ(c_call(_morvex_csqrtl, cx(0, 0)), cx(0, 0));
  EXPECT_CX_EQ(c_call(_morvex_csqrtl, cx(-0.0, 0)), cx(0, 0));
  EXPECT_CX_EQ(c_call(_morvex_csqrtl, cx(kNaN, 1)), nan_root);
  EXPECT_CX_EQ(c_call(_morvex_csqrtl, cx(-1, kNaN)), nan_root);
}

// f(z) for z drawn by `draw`, error against MPFR's formula.
template <class Draw>
void abs_sweep(int count, Draw draw, uint64_t seed) {
  std::mt19937_64 rng(seed);
  Worst w("cabsl");
  for (int i = 0; i < count; ++i) {
    const Cx z = draw(rng);
    MpCx mz(z);
    Mp want;
    mp_abs(want, mz);
    w.add(r16test::relative_error(cabs_of(z), want), 1.0, show(z));
  }
  w.check(kLimit);
}
TEST(Complex32Abs, Sweeps) {
  const int n = sweep_count(2000);
  abs_sweep(n, near_draw(0), 1);
  abs_sweep(n / 2, polar_draw(0.5, 2.0), 2);
  abs_sweep(n / 2, lopsided_draw(0), 3);
  abs_sweep(n / 4, near_draw(200), 4);
  abs_sweep(n / 4, near_draw(-200), 5);
  abs_sweep(n / 4, near_draw(308, 1.0), 6);
  abs_sweep(n / 4, near_draw(-290, 1.0), 7);
}

TEST(Complex32Sqrt, Sweeps) {
  const int n = sweep_count(2000);
  auto sqrt_sweep = [](int count, auto draw, uint64_t seed) {
    sweep("csqrtl", _morvex_csqrtl, mp_sqrt, count, draw, no_growth, seed);
  };
  sqrt_sweep(n, near_draw(0), 1);
  sqrt_sweep(n / 2, lopsided_draw(0), 2);
  sqrt_sweep(n / 2, polar_draw(0.5, 2.0), 3);
  sqrt_sweep(n / 4, near_draw(200), 4);
  sqrt_sweep(n / 4, near_draw(-200), 5);
  sqrt_sweep(n / 4, near_draw(308, 1.0), 6);
  sqrt_sweep(n / 4, near_draw(-290, 1.0), 7);
  sqrt_sweep(n / 4, lopsided_draw(200), 8);
  sqrt_sweep(n / 4, lopsided_draw(-200), 9);
  sqrt_sweep(n / 4, near_draw(308.25, 0.25), 10);  // |z| beyond the largest double
}

}  // namespace
