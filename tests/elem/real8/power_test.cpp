// REAL*8 ** INTEGER*4 and REAL*8 ** REAL*8: zero and NaN routes, the integral
// exponent path, negative bases, and extended results handed back unrounded.
#include <gtest/gtest.h>

#include <cstdint>

#include "control_word.h"
#include "real8/real8.h"
#include "real8_test_util.h"

namespace {

using namespace real8test;

class Powers : public f90test::ControlWordTest {};

TEST_F(Powers, IntegerExponent) {
  struct Case {
    double x;
    int32_t n;
    double want;
  };
  const Case cases[] = {
      {2.0, -2, 0.25},
      {-2.0, 3, -8.0},
      {-2.0, -3, -0.125},
      {1.5, 1, 1.5},
      {3.0, 13, 1594323.0},
      {0.0, -1, kInf},
      {-0.0, -1, kInf},              // +Inf for both zeros
      {-0.0, 3, -0.0},               // a zero base gives itself for n > 0
      {0.0, 0, 1.0},                 // n = 0: 1.0 for every x
      {kNaN, 0, 1.0},
      {kInf, 0, 1.0},
      {-1.0, INT32_MIN, 1.0},        // |n| taken unsigned
      {-1.0, INT32_MAX, -1.0},
      {2.0, INT32_MIN, 0.0},
      {-kInf, 3, -kInf},
      {-kInf, -3, -0.0},
      {kNaN, 2, kNaN},
  };
  for (const auto& c : cases)
    expect_bits(_morvex_dtoi(c.x, c.n), c.want, call_text("dtoi", c.x, c.n));
  // Beyond the REAL*8 range the extended result comes back as it is.
  const long double big = _morvex_dtoi(10.0, 400);
  EXPECT_GT(big, 1e399L);
  EXPECT_LT(big, 1e401L);
  EXPECT_EQ(stored(big), kInf);
}

TEST_F(Powers, RealExponentRoutes) {
  struct Case {
    double x, y, want;
  };
  const Case cases[] = {
      {-2.0, 3.0, -8.0},             // integral y: square-and-multiply
      {-2.0, -2.0, 0.25},
      {4.0, 0.5, 2.0},
      {2.0, 10.5, 1448.1546878700494},
      {-2.0, 0.5, kNaN},             // negative base, y not integral
      {-8.0, 1.0 / 3.0, kNaN},
      {0.0, -1.0, kInf},             // through the integer path
      {0.0, -0.5, kInf},
      {-0.0, 0.5, -0.0},             // a zero base gives itself for y > 0
      {-0.0, 3.0, -0.0},
      {2.0, 0.0, 1.0},
      {2.0, -0.0, 1.0},
      {2.0, kNaN, 1.0},              // y NaN: 1.0
      {kNaN, 2.0, 1.0},              // x NaN: 1.0
      {kNaN, 0.5, 1.0},
      {1.0, kNaN, 1.0},
      {1.0, kInf, 1.0},
      {-1.0, 0x1p60, 1.0},           // |y| >= 2^53 counts as even
      {-2.0, 0x1p53, kInf},          // ... and gives |x|**y
      {-0.5, 0x1p53, 0.0},
      {0.0, kInf, 0.0},
      {2.0, kInf, kNaN},             // Inf - Inf in the exponential step
      {kInf, 0.5, kNaN},
      {-kInf, 3.0, -kInf},
  };
  for (const auto& c : cases)
    expect_bits(_morvex_dtod(c.x, c.y), c.want, call_text("dtod", c.x, c.y));
}

// x < 0 with an integral y between 2^31 and 2^53: |x|**y, negative for odd y.
TEST_F(Powers, NegativeBaseWithLargeIntegralExponent) {
  const double x = -1.0000000001;
  expect_near_ulps(_morvex_dtod(x, 2147483649.0), -1.239549965455966, 2, "odd 2^31 + 1");
  expect_near_ulps(_morvex_dtod(x, 2147483648.0), 1.239549965332011, 2, "even 2^31");
  expect_near_ulps(_morvex_dtod(-1.0, 4503599627370495.0), -1.0, 0, "odd 2^52 - 1");
  expect_near_ulps(_morvex_dtod(-1.0, 4503599627370496.0), 1.0, 0, "even 2^52");
  expect_near_ulps(_morvex_dtod(-1.0, 9007199254740991.0), -1.0, 0, "odd 2^53 - 1");
  expect_bits(_morvex_dtod(x, 2147483649.5), kNaN, "not integral");
}

TEST_F(Powers, ExtendedResultsAreNotRoundedByTheLibrary) {
  // 2^1100 is finite in st(0); storing it as a REAL*8 overflows.
  const long double big = _morvex_dtod(2.0, 1100.5);
  EXPECT_GT(big, 0x1p1100L);
  EXPECT_EQ(stored(big), kInf);
  const long double tiny = _morvex_dtod(2.0, -1100.5);
  EXPECT_GT(tiny, 0.0L);
  EXPECT_EQ(stored(tiny), 0.0);
}

}  // namespace
