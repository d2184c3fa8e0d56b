// REAL*4 powers: ftoi (every product rounded to REAL*4) and the table-driven
// ftof. Edge cases as tables; sweeps against MPFR that reach every entry of
// the A1/A2 tables, every interval of the binary search and every
// sixteenth of the result's exponent.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "control_word.h"
#include "real4/real4.h"
#include "real4_test_util.h"

namespace {

using namespace real4test;

class Real4Power : public f90test::ControlWordTest {};

TEST_F(Real4Power, IntegerExponent) {
  struct Case {
    float x;
    int32_t n;
    float want;
  };
  const Case cases[] = {
      {2.0f, -3, 0.125f},
      {-2.0f, 3, -8.0f},
      {kNaN, 0, 1.0f},  // n = 0: 1.0 for every x
      {0.0f, 0, 1.0f},
      {-kInf, 0, 1.0f},
      {0.0f, -1, kInf},  // no zero test: the division gives the infinity
      {-0.0f, -1, -kInf},
      {-0.0f, 3, -0.0f},
      {-0.0f, 2, 0.0f},
      {2.0f, INT32_MIN, 0.0f},  // |n| taken unsigned
      {-1.0f, INT32_MIN, 1.0f},
      {-1.0f, INT32_MAX, -1.0f},
      {0.5f, 149, kMinSub},
      {2.0f, 128, kInf},
      {2.0f, -140, 0.0f},  // 2^140 overflows as a REAL*4 product
      // Every product rounded to REAL*4: 1.23^25 is 0x4330dbfc correctly
      // rounded, and the reciprocal is taken of the rounded power.
      {from_bits(0x3f9d70a4), 25, from_bits(0x4330dbf3)},
      {from_bits(0x3f9d70a4), -25, from_bits(0x3bb94701)},
      {from_bits(0x3fb504f3), 25, from_bits(0x45b504ea)},
      {from_bits(0x40490fdb), 5, from_bits(0x43990287)},
  };
  for (const auto& c : cases) {
    expect_cw_kept([&] {
      expect_bits(_morvex_ftoi(c.x, c.n), c.want,
                  "ftoi(" + show(c.x) + ", " + std::to_string(c.n) + ")");
    });
  }
}

TEST_F(Real4Power, RealExponent) {
  struct Case {
    float x, y, want;
    int ulps;  // 0: exactly these bits
  };
  const float kTwo30 = 1073741824.0f, kTwo31 = 2147483648.0f;
  const Case cases[] = {
      {2.0f, 0.5f, from_bits(0x3fb504f3), 1},
      {10.0f, 0.3f, from_bits(0x3fff64c2), 1},
      {0.3f, -7.7f, from_bits(0x4625f411), 1},
      {2.0f, 1.0f / 3.0f, from_bits(0x3fa14518), 1},
      {-8.0f, 1.0f / 3.0f, kNaN, 0},  // negative base, non-integral exponent
      {-8.0f, 3.0f, -512.0f, 0},      // integral exponent: ftoi
      {2.0f, 200.0f, kInf, 0},
      {2.0f, -0.0f, 1.0f, 0},
      {kNaN, 0.0f, 1.0f, 0},
      {2.0f, kNaN, 1.0f, 0},
      {1.0f, kNaN, 1.0f, 0},
      {kNaN, 2.0f, kNaN, 0},
      {1.0f, kInf, 1.0f, 0},
      {0.0f, -1.0f, kInf, 0},
      {0.0f, 0.5f, 0.0f, 0},
      {-0.0f, 0.5f, 0.0f, 0},
      {0.0f, -0.5f, kInf, 0},
      {-0.0f, 1e30f, 0.0f, 0},
      // Integral exponents: up to 2^24 any integer, up to 2^30 powers of two
      // go to ftoi; beyond, a negative base counts as |x| (y is even).
      {2.0f, kTwo30, kInf, 0},
      {2.0f, -kTwo30, 0.0f, 0},
      {-2.0f, kTwo31, kInf, 0},
      {-2.0f, -kTwo31, 0.0f, 0},
      {-1.5f, 16777218.0f, kInf, 0},
      {-0.75f, 16777218.0f, 0.0f, 0},
      {-1.0f, 16777218.0f, 1.0f, 0},
      {-1.0f, 1e30f, 1.0f, 0},
      // Infinite arguments.
      {kInf, 0.5f, kInf, 0},
      {kInf, -0.5f, 0.0f, 0},
      {-kInf, 0.5f, kNaN, 0},
      {-kInf, 3.0f, -kInf, 0},
      {-kInf, 33554432.0f, kInf, 0},
      {2.0f, kInf, kInf, 0},
      {2.0f, -kInf, 0.0f, 0},
      {0.5f, kInf, 0.0f, 0},
      {0.5f, -kInf, kInf, 0},
      {-2.0f, kInf, kInf, 0},
      {-0.5f, -kInf, kInf, 0},
      {-1.0f, -kInf, 1.0f, 0},
      // The top and bottom of the range: finite up to the largest REAL*4,
      // subnormal results below the normal range (within |y| times the
      // error of log2 x).
      {2.0f, 127.95f, from_bits(0x7f774778), 4},
      {2.0f, 127.99f, from_bits(0x7f7e3b37), 4},
      {2.0f, 128.5f, kInf, 0},
      {2.0f, -125.9f, from_bits(0x00892fd6), 4},
      {2.0f, -126.05f, from_bits(0x007ba3bc), 4},
      {2.0f, -140.5f, from_bits(0x0000016a), 1},
      {2.0f, -149.2f, kMinSub, 0},
      {2.0f, -150.5f, 0.0f, 0},
      {1e-30f, 1.5f, kMinSub, 0},
      {from_bits(0x1ffffff0), 1e30f, 0.0f, 0},
      {from_bits(0x3f800001), 1e30f, kInf, 0},  // far beyond the range
      {from_bits(0x3f7fffff), 1e30f, 0.0f, 0},
      // Subnormal bases.
      {from_bits(1u << 9), 0.5f, from_bits(0x1c800000), 1},
      {kMinSub, 0.25f, from_bits(0x2cd744fd), 1},
  };
  for (const auto& c : cases)
    expect_cw_kept([&] { check(Case2{"ftof", _morvex_ftof, c.x, c.y, c.want, c.ulps}); });
}

// x^y for REAL*4 x and y, exactly to 128 bits, and the error of `got` in
// REAL*4 ulps (subnormal quantum 2^-149); -1 when x^y is beyond the range.
double power_error_ulps(float x, float y, float got) {
  mpfr_t e, g;
  mpfr_inits2(128, e, g, static_cast<mpfr_ptr>(nullptr));
  mpfr_set_flt(e, x, MPFR_RNDN);
  mpfr_set_flt(g, y, MPFR_RNDN);
  mpfr_pow(e, e, g, MPFR_RNDN);
  double err = -1;
  if (mpfr_cmp_d(e, 3.4028234663852886e38) < 0) {
    const long q = std::max<long>(mpfr_get_exp(e) - 24, -149);
    mpfr_set_flt(g, got, MPFR_RNDN);
    mpfr_sub(g, g, e, MPFR_RNDN);
    mpfr_mul_2si(g, g, -q, MPFR_RNDN);
    err = std::fabs(mpfr_get_d(g, MPFR_RNDN));
  }
  mpfr_clears(e, g, static_cast<mpfr_ptr>(nullptr));
  return err;
}

// The error the scheme allows: the final roundings, plus |y| times the error
// of log2 x, about 2.4e-9 (the denominator g + A1[p+1] leaves out A2, and
// the cubic in z and the REAL*4 log2(e) - 1 add their own), which amplifies
// into kPerY ulps per unit of |y|.
constexpr double kPerY = 0.03;
double allowed(float y) { return 1.0 + kPerY * std::fabs(y); }

struct Worst {
  double excess = 0;  // error / allowed
  float x = 0, y = 0;
  double err = 0;
  double largest = 0;  // largest error in ulps
};

void measure(Worst& w, float x, float y) {
  const float got = stored(_morvex_ftof(x, y));
  const double err = power_error_ulps(x, y, got);
  if (err < 0) return;
  w.largest = std::max(w.largest, err);
  const double excess = err / allowed(y);
  if (excess > w.excess) {
    w.excess = excess;
    w.x = x;
    w.y = y;
    w.err = err;
  }
}

void expect_within(const Worst& w, const char* sweep) {
  std::printf("[ accuracy ] ftof %-16s largest %.3f ulp; %.2f of the allowed error at (%a, %a)\n",
              sweep, w.largest, w.excess, w.x, w.y);
  EXPECT_LE(w.excess, 1.0) << sweep << ": " << w.err << " ulp at (" << show(w.x) << ", "
                           << show(w.y) << ")";
}

// y = k/16 + 1/64 with x = 2: every sixteenth of the result's exponent, so
// every entry A1[p'+1] of the final step, at every exponent m'.
TEST_F(Real4Power, EverySixteenthOfTheExponent) {
  Worst w;
  for (int k = -2400; k <= 2048; ++k) measure(w, 2.0f, k / 16.0f + 1 / 64.0f);
  for (int k = -2400; k <= 2048; ++k) measure(w, 0.5f, -(k / 16.0f) - 1 / 64.0f);
  expect_within(w, "sixteenths");
}

// g = the significand of x in [0.5, 1) on a grid across each interval of
// the binary search, with the exponent m = 0 or 1 (x in [0.5, 2)); y gives
// |y * log2 x| near 120 or a few units, so a slip in A1[p+1], in A2 or in
// the index (p + 1)/2 shows as a multiple of the allowed error.
TEST_F(Real4Power, EveryIntervalOfTheTable) {
  Worst w;
  for (uint32_t frac = 0; frac < (1u << 23); frac += 2053) {
    for (const uint32_t field : {126u, 127u}) {
      const float x = from_bits((field << 23) | frac);
      const double lx = std::log2(static_cast<double>(x));
      if (std::fabs(lx) < 1.0 / 64) continue;  // near 1: the cancellation sweep below
      for (const double target : {120.0, -120.0, 3.3}) {
        const float y = static_cast<float>(target / lx);
        if (y == std::trunc(y)) continue;
        measure(w, x, y);
      }
    }
  }
  expect_within(w, "table intervals");
}

// |y| >= 2^27: 16y no longer fits the integer store of the first split (it
// gives 0x80000000), yet y1 + y2 stays y and the result keeps the scheme's
// accuracy; beyond the REAL*4 range the result saturates.
TEST_F(Real4Power, ExponentsBeyondTheFirstSplit) {
  Worst w;
  for (const uint32_t xb : {0x3f7ffffdu, 0x3f7fffffu, 0x3f800001u, 0x3f800003u}) {
    for (const float y : {134217744.0f, 536871040.0f, -1073741952.0f, 3e9f, -3e9f}) {
      measure(w, from_bits(xb), y);
      const float r = stored(_morvex_ftof(from_bits(xb), y));
      EXPECT_TRUE(r >= 0 && !std::isnan(r)) << show(from_bits(xb)) << " ** " << show(y);
    }
  }
  expect_within(w, "huge exponents");
  EXPECT_EQ(stored(_morvex_ftof(from_bits(0x3f800001u), 3e9f)), kInf);
  EXPECT_EQ(stored(_morvex_ftof(from_bits(0x3f7fffffu), 3e9f)), 0.0f);
}

// Random bases over the whole range and non-integral exponents with
// |y * log2 x| up to 150 (subnormal results included), and bases near 1
// where u1 and u2 cancel.
TEST_F(Real4Power, RandomArguments) {
  std::mt19937 rng(20240501);
  std::uniform_real_distribution<double> u(0, 1);
  const int n = long_tests() ? 2000000 : 20000;
  Worst wide, near_one;
  for (int i = 0; i < n; ++i) {
    const float x = static_cast<float>(std::exp2(-149 + 277 * u(rng)));
    const double lx = std::log2(static_cast<double>(x));
    const float y = static_cast<float>((2 * u(rng) - 1) * 150 / std::fabs(lx));
    if (y != std::trunc(y) && lx != 0) measure(wide, x, y);
    const float x1 = static_cast<float>(1 + (2 * u(rng) - 1) * std::exp2(-23 + 20 * u(rng)));
    const double l1 = std::log2(static_cast<double>(x1));
    const float y1 = static_cast<float>((2 * u(rng) - 1) * 20 / std::fabs(l1));
    if (y1 != std::trunc(y1) && l1 != 0) measure(near_one, x1, y1);
  }
  expect_within(wide, "random");
  expect_within(near_one, "random near 1");
}

}  // namespace
