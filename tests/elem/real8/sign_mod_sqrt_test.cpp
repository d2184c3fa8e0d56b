// ABS, SIGN, DIM, DPROD, MOD and SQRT of REAL*8: sign bits, NaN routes, the
// exact remainder and the square root's special cases.
#include <gtest/gtest.h>


#include "control_word.h"
#include "real8/real8.h"
#include "real8_test_util.h"

namespace {

using namespace real8test;

class SignModSqrt : public f90test::ControlWordTest {};

// A quiet NaN with a payload and the sign bit set.
const double kNegNaNPayload = from_bits(0xfff8000000001234ull);

TEST_F(SignModSqrt, AbsAndSignWorkOnTheBitPattern) {
  expect_bits(_morvex_dabs(-0.0), 0.0, "dabs(-0)");
  expect_bits(_morvex_dabs(-kInf), kInf, "dabs(-Inf)");
  EXPECT_EQ(bits(stored(_morvex_dabs(kNegNaNPayload))), 0x7ff8000000001234ull);
  EXPECT_EQ(bits(stored(_morvex_I_dabs(&kNegNaNPayload))), 0x7ff8000000001234ull);

  struct Case {
    double a, b, want;
  };
  const Case cases[] = {
      {2.0, -0.0, 2.0},     // b = -0 compares equal to 0: |a|
      {-2.0, 0.0, 2.0},
      {-2.0, 1.0, 2.0},
      {2.0, -1.0, -2.0},
      {-3.0, kNaN, 3.0},    // b NaN: |a|
      {-3.0, -kNaN, 3.0},
      {0.0, -1.0, -0.0},
      {-kInf, 2.0, kInf},
      {1.0, -kMinSub, -1.0},
  };
  for (const auto& c : cases) {
    expect_bits(_morvex_dsign(c.a, c.b), c.want, call_text("dsign", c.a, c.b));
    expect_bits(_morvex_I_dsign(&c.a, &c.b), c.want, call_text("I_dsign", c.a, c.b));
  }
  EXPECT_EQ(bits(stored(_morvex_dsign(from_bits(0x7ff8000000001234ull), -1.0))),
            0xfff8000000001234ull);
}

TEST_F(SignModSqrt, DimAndDprod) {
  struct Case {
    double x, y, want;
  };
  const Case cases[] = {
      {1.0, 3.0, 0.0},
      {3.0, 1.0, 2.0},
      {kNaN, 1.0, 0.0},   // a NaN difference gives +0.0
      {1.0, kNaN, 0.0},
      {kInf, kInf, 0.0},
      {-0.0, 0.0, -0.0},  // -0 - 0 = -0, which is >= 0
      {1e308, -1e308, kInf},  // extended in st(0); infinite when stored
  };
  for (const auto& c : cases) {
    expect_bits(_morvex_ddim(c.x, c.y), c.want, call_text("ddim", c.x, c.y));
    expect_bits(_morvex_I_ddim(&c.x, &c.y), c.want, call_text("I_ddim", c.x, c.y));
  }
  EXPECT_EQ(_morvex_ddim(1e308, -1e308), static_cast<long double>(1e308) * 2);

  const float a = 0.1f, b = 3.0e38f, m0 = -0.0f, one = 1.0f;
  expect_bits(_morvex_dprod(a, a), static_cast<double>(a) * static_cast<double>(a), "dprod(.1,.1)");
  expect_bits(_morvex_dprod(b, b), static_cast<double>(b) * static_cast<double>(b), "dprod(big)");
  expect_bits(_morvex_I_dprod(&m0, &one), -0.0, "I_dprod(-0,1)");
}

TEST_F(SignModSqrt, ModIsTheExactRemainderWithTheSignOfX) {
  struct Case {
    double x, y, want;
  };
  const Case cases[] = {
      {5.5, 2.0, 1.5},
      {-5.5, 2.0, -1.5},
      {5.5, -2.0, 1.5},
      {-4.0, 2.0, 0.0},           // a zero remainder is x - x
      {-0.0, 2.0, 0.0},
      {1.0, 3.0, 1.0},
      {0.3, 0.1, 0.09999999999999998},
      {1e17, 3.0, 1.0},           // the quotient needs more than 53 bits
      {-1e17, 3.0, -1.0},
      {0x1p60, 10.0, 6.0},
      {1e300, 7.0, 1.0},
      {kMinSub * 7, kMinSub * 2, kMinSub},
      {1.0, 0.0, kNaN},
      {1.0, -0.0, kNaN},
      {1.0, kNaN, kNaN},
      {kNaN, 1.0, kNaN},
      {1.0, kInf, kNaN},          // x - Inf*0
      {kInf, 2.0, kNaN},
  };
  for (const auto& c : cases) {
    expect_bits(_morvex_dmod(c.x, c.y), c.want, call_text("dmod", c.x, c.y));
    expect_bits(_morvex_I_dmod(&c.x, &c.y), c.want, call_text("I_dmod", c.x, c.y));
  }
  // Under rounding down x - x is -0.0.
  f90test::under_cw(0x167f, [] {
    expect_bits(_morvex_dmod(-4.0, 2.0), -0.0, "dmod(-4,2) rounding down");
    return 0;
  });
}

TEST_F(SignModSqrt, SqrtSpecialCasesAndSubnormals) {
  struct Case {
    double x, want;
  };
  const Case exact[] = {
      {-1.0, kNaN},
      {-kInf, kNaN},
      {-kMinSub, kNaN},
      {-0.0, -0.0},               // x itself
      {0.0, 0.0},
      {kNaN, kNaN},
      {kInf, kInf},               // not Inf*0 - NaN
      {4.0, 2.0},
      {0.25, 0.5},
      {kMinSub, 0x1p-537},        // subnormal, scaled before the iteration
      {0x1p-1060, 0x1p-530},
  };
  for (const auto& c : exact) {
    char what[48];
    std::snprintf(what, sizeof what, "dsqrt(%.17g)", c.x);
    expect_bits(_morvex_dsqrt(c.x), c.want, what);
    expect_bits(_morvex_I_dsqrt(&c.x), c.want, std::string("I_") + what);
  }
  const Case close[] = {
      {2.0, 1.4142135623730951},
      {from_bits(2), 3.1434555694052576e-162},
      {1.7976931348623157e308, 1.3407807929942596e154},
      {2.2250738585072009e-308, 1.4916681462400412e-154},  // largest subnormal
  };
  for (const auto& c : close) expect_near_ulps(_morvex_dsqrt(c.x), c.want, 1, "dsqrt");
}

}  // namespace
