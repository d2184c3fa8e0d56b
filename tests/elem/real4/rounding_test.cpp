// REAL*4 AINT, ANINT, NINT to every integer kind, FLOOR and CEILING, ABS,
// SIGN, DIM, MOD and SQRT: the edge cases as tables of exact results, and a
// sweep over float bit patterns against exact references (every pattern
// with F90_LONG_TESTS=1).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "control_word.h"
#include "real4/real4.h"
#include "real4_test_util.h"

namespace {

using namespace real4test;

class Real4Rounding : public f90test::ControlWordTest {};

TEST_F(Real4Rounding, RealResults) {
  const std::vector<Case1> cases = {
      {"aint", _morvex_aint, -0.75f, 0.0f},  // +0.0 whatever the sign
      {"aint", _morvex_aint, -2.5f, -2.0f},
      {"aint", _morvex_aint, 8388607.5f, 8388607.0f},  // last fraction bit
      {"aint", _morvex_aint, 16777216.0f, 16777216.0f},
      {"aint", _morvex_aint, 1e30f, 1e30f},
      {"aint", _morvex_aint, 1.0f, 1.0f},
      {"aint", _morvex_aint, from_bits(0x3f7fffff), 0.0f},
      {"aint", _morvex_aint, -0.0f, 0.0f},
      {"aint", _morvex_aint, -kMinSub, 0.0f},
      {"aint", _morvex_aint, -kInf, -kInf},
      {"aint", _morvex_aint, kNaN, kNaN},
      {"anint", _morvex_anint, 2.5f, 3.0f},
      {"anint", _morvex_anint, -2.5f, -3.0f},
      {"anint", _morvex_anint, -0.3f, -0.0f},
      {"anint", _morvex_anint, -0.0f, 0.0f},
      {"anint", _morvex_anint, 0.5f, 1.0f},
      {"anint", _morvex_anint, from_bits(0x3effffff), 0.0f},  // 0.49999997: adding 0.5 rounds up
      {"anint", _morvex_anint, 8388607.5f, 8388608.0f},
      {"anint", _morvex_anint, 8388609.0f, 8388609.0f},
      {"anint", _morvex_anint, -kInf, -kInf},
      {"anint", _morvex_anint, kNaN, kNaN},
      {"f90floorf", _morvex_f90floorf, -0.0f, 0.0f},
      {"f90floorf", _morvex_f90floorf, kNaN, 0.0f},
      {"f90floorf", _morvex_f90floorf, -1.5f, -2.0f},
      {"f90floorf", _morvex_f90floorf, -0.5f, -1.0f},
      {"f90floorf", _morvex_f90floorf, 1.5f, 1.0f},
      {"f90floorf", _morvex_f90floorf, -16777218.0f, -16777218.0f},
      {"f90floorf", _morvex_f90floorf, -kInf, -kInf},
      {"f90ceilf", _morvex_f90ceilf, 1.5f, 2.0f},
      {"f90ceilf", _morvex_f90ceilf, -0.5f, -0.0f},
      {"f90ceilf", _morvex_f90ceilf, -1.5f, -1.0f},
      {"f90ceilf", _morvex_f90ceilf, kMinSub, 1.0f},
      {"f90ceilf", _morvex_f90ceilf, -0.0f, 0.0f},
      {"f90ceilf", _morvex_f90ceilf, kNaN, 0.0f},
      {"f90ceilf", _morvex_f90ceilf, kInf, kInf},
      {"sqrt", _morvex_sqrt, 0.25f, 0.5f},
      {"sqrt", _morvex_sqrt, 4.0f, 2.0f},
      {"sqrt", _morvex_sqrt, 1.0f, 1.0f},
      {"sqrt", _morvex_sqrt, 2.0f, from_bits(0x3fb504f3)},  // 1.4142135
      {"sqrt", _morvex_sqrt, -4.0f, kNaN},
      {"sqrt", _morvex_sqrt, -kMinSub, kNaN},
      {"sqrt", _morvex_sqrt, -0.0f, -0.0f},
      {"sqrt", _morvex_sqrt, kInf, kInf},
      {"sqrt", _morvex_sqrt, -kInf, kNaN},
      {"sqrt", _morvex_sqrt, kNaN, kNaN},
      {"sqrt", _morvex_sqrt, kMax, from_bits(0x5f7fffff), 1},
      {"sqrt", _morvex_sqrt, kMinSub, from_bits(0x1a3504f3)},  // 2^-74.5, prescaled
      {"sqrt", _morvex_sqrt, from_bits(0x00400000), from_bits(0x1fb504f3)},  // 2^-63.5
  };
  for (const auto& c : cases) expect_cw_kept([&] { check(c); });
}

TEST_F(Real4Rounding, TwoArgumentResults) {
  const std::vector<Case2> cases = {
      {"sign", _morvex_sign, 2.0f, -0.0f, 2.0f},  // a zero b keeps |a|
      {"sign", _morvex_sign, -2.0f, 1.0f, 2.0f},
      {"sign", _morvex_sign, 2.0f, -1.0f, -2.0f},
      {"sign", _morvex_sign, -2.0f, kNaN, 2.0f},
      {"sign", _morvex_sign, 0.0f, -1.0f, -0.0f},
      {"sign", _morvex_sign, kInf, -kMinSub, -kInf},
      {"dim", _morvex_dim, 1.0f, 3.0f, 0.0f},
      {"dim", _morvex_dim, 3.0f, 1.0f, 2.0f},
      {"dim", _morvex_dim, -1.0f, -3.0f, 2.0f},
      {"dim", _morvex_dim, kNaN, 1.0f, 0.0f},
      {"dim", _morvex_dim, kInf, kInf, 0.0f},
      {"dim", _morvex_dim, kMax, -kMax, kInf},  // the caller's store overflows
      {"amod", _morvex_amod, 5.5f, 2.0f, 1.5f},
      {"amod", _morvex_amod, -5.5f, 2.0f, -1.5f},
      {"amod", _morvex_amod, 5.5f, -2.0f, 1.5f},
      {"amod", _morvex_amod, -4.0f, 2.0f, 0.0f},
      {"amod", _morvex_amod, 1.0f, 0.0f, kNaN},
      {"amod", _morvex_amod, 1.0f, -0.0f, kNaN},
      {"amod", _morvex_amod, 1.0f, kNaN, kNaN},
      {"amod", _morvex_amod, kInf, 2.0f, kNaN},
      {"amod", _morvex_amod, 1.0f, kInf, kNaN},
      // 2^127 mod 3 = 2: exact, where a rounded quotient loses every digit.
      {"amod", _morvex_amod, from_bits(0x7f000000), 3.0f, 2.0f},
      {"amod", _morvex_amod, 1e10f, 3.0f, 1.0f},
      {"amod", _morvex_amod, kMinSub * 7, kMinSub * 2, kMinSub},
  };
  for (const auto& c : cases) expect_cw_kept([&] { check(c); });
}

// ABS keeps a NaN's payload and clears only the sign bit.
TEST_F(Real4Rounding, AbsKeepsNaNPayload) {
  const float neg_nan = from_bits(0xffc01234u);
  EXPECT_EQ(bits(stored(_morvex_abs(neg_nan))), 0x7fc01234u);
  EXPECT_EQ(bits(stored(_morvex_abs(-0.0f))), 0u);
  EXPECT_EQ(bits(stored(_morvex_sign(neg_nan, 1.0f))), 0x7fc01234u);
}

struct IntCase {
  const char* name;
  int32_t (*fn)(float);
  float x;
  int32_t want;
};

TEST_F(Real4Rounding, IntegerResults) {
  const std::vector<IntCase> cases = {
      {"nint", _morvex_nint, -2.5f, -3},
      {"nint", _morvex_nint, 2.5f, 3},
      {"nint", _morvex_nint, -0.5f, -1},
      {"nint", _morvex_nint, from_bits(0x3effffff), 0},
      {"nint", _morvex_nint, 2147483520.0f, 2147483520},  // largest REAL*4 below 2^31
      {"nint", _morvex_nint, -2147483648.0f, INT32_MIN},
      {"nint", _morvex_nint, 2147483648.0f, INT32_MIN},  // out of range: indefinite
      {"nint", _morvex_nint, 3.0e9f, INT32_MIN},
      {"nint", _morvex_nint, kNaN, INT32_MIN},
      {"nint", _morvex_nint, -kInf, INT32_MIN},
      {"jnint", _morvex_jnint, -2.5f, -3},
      {"jnint", _morvex_jnint, 3.0e9f, INT32_MIN},
      {"inint", _morvex_inint, 32767.5f, -32768},  // 32768 wrapped to 16 bits
      {"inint", _morvex_inint, -1.2f, -1},        // sign-extended: 0xffffffff
      {"inint", _morvex_inint, 65535.6f, 0},
      {"inint", _morvex_inint, 98303.0f, 32767},   // 0x17fff
      {"inint", _morvex_inint, -98304.0f, -32768},  // 0xfffe8000
      {"inint", _morvex_inint, 3.0e9f, 0},  // low half of 0x80000000
      {"ifloor", _morvex_ifloor, -1.5f, -2},
      {"ifloor", _morvex_ifloor, -0.0f, 0},
      {"ifloor", _morvex_ifloor, kNaN, 0},
      {"ifloor", _morvex_ifloor, -kInf, INT32_MIN},
      {"ifloor", _morvex_ifloor, 1e10f, INT32_MIN},
      {"iceil", _morvex_iceil, 1.5f, 2},
      {"iceil", _morvex_iceil, -1.5f, -1},
      {"iceil", _morvex_iceil, kMinSub, 1},
      {"iceil", _morvex_iceil, 1e10f, INT32_MIN},
  };
  for (const auto& c : cases) {
    expect_cw_kept([&] { EXPECT_EQ(c.fn(c.x), c.want) << c.name << "(" << show(c.x) << ")"; });
  }
}

TEST_F(Real4Rounding, NintToInteger8Saturates) {
  struct Case {
    float x;
    int64_t want;
  };
  const Case cases[] = {
      {3.0e9f, 3000000000LL},  // beyond INTEGER*4: the true value
      {-3.0e9f, -3000000000LL},
      {2.5f, 3},
      {-2.5f, -3},
      {-0.3f, 0},
      {1e18f, 999999984306749440LL},
      {from_bits(0x5effffff), 9223371487098961920LL},  // largest REAL*4 below 2^63
      {9223372036854775808.0f, INT64_MAX},             // 2^63
      {-9223372036854775808.0f, INT64_MIN},            // -2^63 itself
      {-1e19f, INT64_MIN},
      {kInf, INT64_MAX},
      {-kInf, INT64_MIN},
      {kNaN, INT64_MAX},
      {from_bits(0xffc00000u), INT64_MAX},  // every NaN, whatever its sign
  };
  for (const auto& c : cases) {
    expect_cw_kept([&] { EXPECT_EQ(_morvex_knint(c.x), c.want) << show(c.x); });
  }
}

// Every pattern (or every 4099th) against exact references: truncation,
// rounding half away from zero, floor and ceiling, and the INTEGER*4 store.
TEST_F(Real4Rounding, SweepAgainstExactRounding) {
  const uint64_t step = long_tests() ? 1 : 4099;
  int64_t failures = 0;
  for (uint64_t u = 0; u < (uint64_t{1} << 32) && failures < 10; u += step) {
    const float x = from_bits(static_cast<uint32_t>(u));
    if (std::isnan(x)) continue;
    const float t = std::trunc(x), r = std::round(x);
    const float fl = x == 0 ? 0.0f : std::floor(x), ce = x == 0 ? 0.0f : std::ceil(x);
    const float ai = std::fabs(x) < 1 ? 0.0f : t;
    const float an = r == 0 ? (x < 0 ? -0.0f : 0.0f) : r;
    const int32_t n = (r >= -2147483648.0f && r < 2147483648.0f) ? static_cast<int32_t>(r)
                                                                   : INT32_MIN;
    const bool ok = bits(stored(_morvex_aint(x))) == bits(ai) &&
                    bits(stored(_morvex_anint(x))) == bits(an) &&
                    bits(stored(_morvex_f90floorf(x))) == bits(fl) &&
                    bits(stored(_morvex_f90ceilf(x))) == bits(ce) && _morvex_nint(x) == n;
    if (!ok) {
      ++failures;
      ADD_FAILURE() << "rounding of " << show(x);
    }
  }
}

}  // namespace
