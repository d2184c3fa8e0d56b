// AINT, ANINT, NINT to every integer kind, FLOOR and CEILING of REAL*8:
// the exponent-field cases of AINT, exact halfway rounding, signed zeros,
// NaN and out-of-range results.
#include <gtest/gtest.h>

#include <cstdint>

#include "control_word.h"
#include "real8/real8.h"
#include "real8_test_util.h"

namespace {

using namespace real8test;

class Rounding : public f90test::ControlWordTest {};

struct RealCase {
  double x, want;
};

const double kHalfBelow = 0.49999999999999994;  // largest double below 0.5
const double k2p52 = 4503599627370496.0;

TEST_F(Rounding, AintClearsTheFractionBitsOfEachExponentCase) {
  const RealCase cases[] = {
      {-0.5, 0.0},                       // |x| < 1: +0.0 whatever the sign
      {-kMinSub, 0.0},                   // subnormal
      {0.9999999999999999, 0.0},
      {-2.5, -2.0},
      {1.5, 1.0},
      {524288.75, 524288.0},             // exponent 1042: high fraction word masked
      {1048576.75, 1048576.0},           // exponent 1043: low word cleared
      {2097152.5, 2097152.0},            // exponent 1044: low word masked
      {2251799813685248.5, 2251799813685248.0},  // exponent 1074: last fraction bit
      {k2p52 + 1, k2p52 + 1},            // exponent 1075: integral
      {0x1p60, 0x1p60},
      {-1e300, -1e300},
      {-kInf, -kInf},
      {kNaN, kNaN},
  };
  for (const auto& c : cases) {
    expect_bits(_morvex_dint(c.x), c.want, call_text("dint", c.x));
    expect_bits(_morvex_I_dint(&c.x), c.want, call_text("I_dint", c.x));
  }
}

TEST_F(Rounding, AnintRoundsHalvesAwayFromZeroExactly) {
  const RealCase cases[] = {
      {2.5, 3.0},
      {-2.5, -3.0},
      {0.5, 1.0},
      {-0.5, -1.0},
      {-0.3, -0.0},                      // x < 0 keeps the sign
      {-0.0, 0.0},                       // -0.0 is not < 0
      {kHalfBelow, 0.0},                 // adding 0.5 would round up to 1
      {-kHalfBelow, -0.0},
      {1.4999999999999998, 1.0},
      {0.5000000000000001, 1.0},
      {k2p52 - 0.5, k2p52},              // carry into the exponent
      {k2p52 + 1, k2p52 + 1},            // adding 0.5 would give 2^52 + 2
      {-(k2p52 + 1), -(k2p52 + 1)},
      {1e300, 1e300},
      {kInf, kInf},
      {kNaN, kNaN},
  };
  for (const auto& c : cases) {
    expect_bits(_morvex_dnint(c.x), c.want, call_text("dnint", c.x));
    expect_bits(_morvex_I_dnint(&c.x), c.want, call_text("I_dnint", c.x));
  }
}

TEST_F(Rounding, NintToInteger4And2) {
  struct Case {
    double x;
    int32_t i4, i2;
  };
  const Case cases[] = {
      {-2.5, -3, -3},
      {2.5, 3, 3},
      {kHalfBelow, 0, 0},
      {-kHalfBelow, 0, 0},
      {32767.5, 32768, -32768},          // wraps in 16 bits
      {32768.0, 32768, -32768},
      {-1.0, -1, -1},                    // sign-extended, not 0x0000ffff
      {65535.4, 65535, -1},
      {2147483646.5, 2147483647, -1},
      {2147483647.4, 2147483647, -1},
      {2147483647.5, INT32_MIN, 0},      // out of range: integer indefinite
      {-2147483648.4, INT32_MIN, 0},     // -2^31 itself
      {3.0e10, INT32_MIN, 0},
      {-3.0e10, INT32_MIN, 0},
      {k2p52 + 1, INT32_MIN, 0},
      {kNaN, INT32_MIN, 0},
      {kInf, INT32_MIN, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(_morvex_idnint(c.x), c.i4) << call_text("idnint", c.x);
    EXPECT_EQ(_morvex_jidnnt(c.x), c.i4) << call_text("jidnnt", c.x);
    EXPECT_EQ(_morvex_iidnnt(c.x), c.i2) << call_text("iidnnt", c.x);
    EXPECT_EQ(_morvex_I_idnint(&c.x), c.i4) << call_text("I_idnint", c.x);
    EXPECT_EQ(_morvex_I_jidnnt(&c.x), c.i4) << call_text("I_jidnnt", c.x);
    EXPECT_EQ(_morvex_I_iidnnt(&c.x), c.i2) << call_text("I_iidnnt", c.x);
  }
}

TEST_F(Rounding, NintToInteger8SaturatesAtTwoToThe63) {
  struct Case {
    double x;
    int64_t want;
  };
  const Case cases[] = {
      {3.0e10, 30000000000},
      {-2.5, -3},
      {kHalfBelow, 0},
      {k2p52 + 1, 4503599627370497},     // not 2^52 + 2
      {k2p52 - 0.5, 4503599627370496},
      {-(k2p52 - 0.5), -4503599627370496},
      {9007199254740994.0, 9007199254740994},
      {9223372036854774784.0, 9223372036854774784},  // largest double below 2^63
      {9223372036854775808.0, INT64_MAX},            // 2^63
      {-9223372036854775808.0, INT64_MIN},           // -2^63 itself
      {-1e19, INT64_MIN},
      {1e300, INT64_MAX},
      {kInf, INT64_MAX},
      {-kInf, INT64_MIN},
      {kNaN, INT64_MAX},
      {-kNaN, INT64_MAX},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(_morvex_kidnnt(c.x), c.want) << call_text("kidnnt", c.x);
    EXPECT_EQ(_morvex_I_kidnnt(&c.x), c.want) << call_text("I_kidnnt", c.x);
  }
}

TEST_F(Rounding, FloorAndCeilingAsReals) {
  struct Case {
    double x, floor, ceil;
  };
  const Case cases[] = {
      {-0.0, 0.0, 0.0},        // zeros and NaN give +0.0
      {0.0, 0.0, 0.0},
      {kNaN, 0.0, 0.0},
      {-1.5, -2.0, -1.0},
      {1.5, 1.0, 2.0},
      {-0.5, -1.0, -0.0},      // CEILING(-0.5) = -FLOOR(0.5) = -0.0
      {0.3, 0.0, 1.0},
      {-2.0, -2.0, -2.0},
      {2.0, 2.0, 2.0},
      {-kMinSub, -1.0, -0.0},
      {k2p52 - 0.5, k2p52 - 1, k2p52},
      {-(k2p52 - 0.5), -k2p52, -(k2p52 - 1)},
      {1e300, 1e300, 1e300},
      {-kInf, -kInf, -kInf},
      {kInf, kInf, kInf},
  };
  for (const auto& c : cases) {
    expect_bits(_morvex_f90floor(c.x), c.floor, call_text("f90floor", c.x));
    expect_bits(_morvex_f90ceil(c.x), c.ceil, call_text("f90ceil", c.x));
  }
}

TEST_F(Rounding, FloorAndCeilingAsInteger4) {
  struct Case {
    double x;
    int32_t floor, ceil;
  };
  const Case cases[] = {
      {-1.5, -2, -1},
      {-0.5, -1, 0},
      {1.0000001, 1, 2},
      {kNaN, 0, 0},
      {-0.0, 0, 0},
      {2147483646.5, 2147483646, 2147483647},
      {2147483647.5, 2147483647, INT32_MIN},   // ceiling out of range
      {-2147483648.5, INT32_MIN, -2147483648},  // floor out of range
      {3e9, INT32_MIN, INT32_MIN},
      {-kInf, INT32_MIN, INT32_MIN},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(_morvex_idfloor(c.x), c.floor) << call_text("idfloor", c.x);
    EXPECT_EQ(_morvex_idceil(c.x), c.ceil) << call_text("idceil", c.x);
  }
}

// The halfway decisions do not depend on the caller's precision or rounding.
TEST_F(Rounding, HalfwayCasesUnderEveryControlWord) {
  for (const uint16_t cw : {f90test::kCwLibrary, f90test::kCwLinux, f90test::kCwChopSingle,
                            uint16_t{0x067f} /* round down */}) {
    f90test::under_cw(cw, [&] {
      EXPECT_EQ(_morvex_idnint(kHalfBelow), 0) << std::hex << cw;
      EXPECT_EQ(_morvex_idnint(-2.5), -3) << std::hex << cw;
      EXPECT_EQ(_morvex_kidnnt(k2p52 + 1), 4503599627370497) << std::hex << cw;
      EXPECT_EQ(bits(stored(_morvex_dnint(16777216.5))), bits(16777217.0)) << std::hex << cw;
      EXPECT_EQ(bits(stored(_morvex_dint(-2.75))), bits(-2.0)) << std::hex << cw;
      return 0;
    });
  }
}

}  // namespace
