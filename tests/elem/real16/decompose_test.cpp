// frexpl and ldexpl at the exponent extremes: subnormal and infinite high
// parts, low parts that drop out or become subnormal, and ldexp's rounding
// of each part by itself.
#include <cmath>

#include "oracle.h"

namespace {

using namespace r16test;

DD frexpl(DD x, int32_t& e) {
  e = 12345;
  return call(_morvex_frexpl, x, &e);
}
DD ldexpl(DD x, int32_t n) { return call(_morvex_ldexpl, x, n); }

const double kMax = from_bits(0x7fefffffffffffffull);

TEST(Real16Decompose, FrexplTable) {
  const struct {
    DD x, fraction;
    int32_t e;
  } cases[] = {
      {{8, p2(-50)}, {0.5, p2(-54)}, 4},
      {{1.5, -p2(-54)}, {0.75, -p2(-55)}, 1},
      {{-3, p2(-60)}, {-0.75, p2(-62)}, 2},
      {{-0.0, 0}, {0.0, 0.0}, 0},
      {{0.0, -0.0}, {0.0, 0.0}, 0},
      {{kNaN, 1}, {0.0, 0.0}, 0},
      // The low part's exponent 993 is not above 1001: dropped.
      {{p2(1000), p2(-30)}, {0.5, 0.0}, 1001},
      {{kMax, p2(970)}, {from_bits(0x3fefffffffffffffull), p2(-54)}, 1024},
      {{kInf, 0}, {0.5, 0.0}, 1025},
      {{-kInf, 0}, {-0.5, 0.0}, 1025},
      // Subnormal high parts are normalised first.
      {{p2(-1074), 0}, {0.5, 0.0}, -1073},
      {{3 * p2(-1074), 0}, {0.75, 0.0}, -1072},
      {{-p2(-1030), 0}, {-0.5, 0.0}, -1029},
      // Low parts: one that would be subnormal is dropped, a subnormal one
      // is scaled exactly.
      {{1, p2(-1074)}, {0.5, 0.0}, 1},
      {{p2(-1000), p2(-1074)}, {0.5, p2(-75)}, -999},
      {{-1.5 * p2(-1000), p2(-1060)}, {-0.75, p2(-61)}, -999},
      {{p2(-1020), -p2(-1074)}, {0.5, -p2(-55)}, -1019},
      {{1, -0.0}, {0.5, -0.0}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(show(c.x));
    int32_t e;
    EXPECT_DD_BITS(frexpl(c.x, e), c.fraction);
    EXPECT_EQ(e, c.e);
  }
}

// For values well inside the range, the fraction times 2^e is x again and
// |fraction.hi| lies in [0.5, 1).
TEST(Real16Decompose, FrexplRoundTrip) {
  Rng rng(0x5eed0060);
  for (int i = 0; i < 20000; ++i) {
    const DD x = rng.dd(-900, 900);
    int32_t e;
    const DD f = frexpl(x, e);
    ASSERT_TRUE(std::fabs(f.hi) >= 0.5 && std::fabs(f.hi) < 1) << show(x);
    ASSERT_TRUE(same_bits(ldexpl(f, e), x)) << show(x) << " -> " << show(f) << ", " << e;
  }
}

TEST(Real16Decompose, LdexplTable) {
  const struct {
    DD x;
    int32_t n;
    DD expected;
  } cases[] = {
      {{1, p2(-60)}, -1074, {p2(-1074), 0.0}},  // the low part underflows by itself
      {{1, p2(-60)}, 10, {1024, p2(-50)}},
      {{1, p2(-60)}, 1024, {kInf, p2(964)}},  // no renormalisation
      {{3, 0}, -1075, {p2(-1073), 0.0}},      // 1.5 * 2^-1074: tie to even
      {{1, 0}, -1075, {0.0, 0.0}},            // 0.5 * 2^-1074: tie to even
      {{-1, 0}, -1075, {-0.0, 0.0}},
      {{p2(-1074), p2(-1074)}, 2000, {p2(926), p2(926)}},
      {{kMax, 0}, -2098, {p2(-1074), 0.0}},
      {{1, 0}, INT32_MAX, {kInf, 0.0}},
      {{1, 0}, INT32_MIN, {0.0, 0.0}},
      {{-0.0, 0.0}, 5, {-0.0, 0.0}},
      {{-kInf, 0}, -3000, {-kInf, 0.0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(show(c.x) + " * 2^" + std::to_string(c.n));
    EXPECT_DD_BITS(ldexpl(c.x, c.n), c.expected);
  }
  const DD nan = ldexpl({kNaN, 0}, 3);
  EXPECT_TRUE(std::isnan(nan.hi));
}

// Each part is x * 2^n rounded once to nearest, as the C library's ldexp
// gives it: __float128 holds the exact product, and its conversion to double
// rounds correctly, into the subnormal range too.
TEST(Real16Decompose, LdexplRoundsEachPartOnce) {
  Rng rng(0x5eed0061);
  for (int i = 0; i < 50000; ++i) {
    const double hi = rng.dbl(-1022, 1023), lo = rng.dbl(-1022, 1023);
    const int32_t n = rng.between(-2200, 2200);
    const DD r = ldexpl({hi, lo}, n);
    ASSERT_TRUE(same_bits(r.hi, to_double(q(hi) * q2(n)))) << show(hi) << " * 2^" << n;
    ASSERT_TRUE(same_bits(r.lo, to_double(q(lo) * q2(n)))) << show(lo) << " * 2^" << n;
    ASSERT_TRUE(same_bits(r.hi, std::ldexp(hi, n))) << show(hi) << " * 2^" << n;
  }
}

}  // namespace
