// REAL*4 EXP, LOG and LOG10: limits, special values, the near-1 interval's
// edges and the subnormal ranges, as tables; the logarithm and power tables
// checked entry by entry against MPFR.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "control_word.h"
#include "mpfr_sweep.h"
#include "real4/real4.h"
#include "real4_test_util.h"

// The tables, from the static archive of the library's objects.
namespace morvex::real4 {
extern const float kLogTable[401];
extern const float kPowTable[25];
}  // namespace morvex::real4

namespace {

using namespace real4test;

class Real4ExpLog : public f90test::ControlWordTest {};

TEST_F(Real4ExpLog, EdgeCases) {
  const std::vector<Case1> cases = {
      {"exp", _morvex_exp, 0.0f, 1.0f, 0},
      {"exp", _morvex_exp, -0.0f, 1.0f, 0},
      {"exp", _morvex_exp, 1.0f, from_bits(0x402df854), 1},
      // The largest argument with a finite result, and the next one.
      {"exp", _morvex_exp, from_bits(0x42b17217), from_bits(0x7f7fff84), 1},
      {"exp", _morvex_exp, from_bits(0x42b17218), kInf, 0},
      {"exp", _morvex_exp, 88.1f, from_bits(0x7f0952b9), 1},  // finite, below the top
      {"exp", _morvex_exp, kInf, kInf, 0},
      {"exp", _morvex_exp, kNaN, kInf, 0},
      {"exp", _morvex_exp, -kInf, 0.0f, 0},
      // Below the normal range: scaled subnormals down to the lower limit.
      {"exp", _morvex_exp, -87.5f, from_bits(0x006cb2bc), 1},
      {"exp", _morvex_exp, from_bits(0xc2aff02e), from_bits(0x0043ff6a), 1},
      {"exp", _morvex_exp, from_bits(0xc2aff02f), 0.0f, 0},
      {"exp", _morvex_exp, -88.0f, 0.0f, 0},
      {"alog", _morvex_alog, 0.0f, -kInf, 0},
      {"alog", _morvex_alog, -0.0f, -kInf, 0},
      {"alog", _morvex_alog, -1.0f, kNaN, 0},
      {"alog", _morvex_alog, -kInf, kNaN, 0},
      {"alog", _morvex_alog, kNaN, kNaN, 0},
      {"alog", _morvex_alog, kInf, kInf, 0},
      {"alog", _morvex_alog, 1.0f, 0.0f, 0},
      {"alog", _morvex_alog, 2.0f, from_bits(0x3f317218), 0},
      {"alog", _morvex_alog, 0.5f, from_bits(0xbf317218), 0},
      {"alog", _morvex_alog, kMax, from_bits(0x42b17218), 1},
      {"alog", _morvex_alog, kMinSub, from_bits(0xc2ce8ed0), 1},  // subnormal, prescaled
      // Either side of the near-1 interval's two ends.
      {"alog", _morvex_alog, from_bits(0x3f707d60), from_bits(0xbd7ffffe), 1},
      {"alog", _morvex_alog, from_bits(0x3f707d61), from_bits(0xbd7fffed), 1},
      {"alog", _morvex_alog, from_bits(0x3f88415b), from_bits(0x3d800004), 1},
      {"alog", _morvex_alog, from_bits(0x3f88415a), from_bits(0x3d7fffea), 1},
      {"alog10", _morvex_alog10, 1000.0f, 3.0f, 1},
      {"alog10", _morvex_alog10, kMinNormal, from_bits(0xc217b818), 1},
      {"alog10", _morvex_alog10, 0.0f, -kInf, 0},
      {"alog10", _morvex_alog10, -2.0f, kNaN, 0},
      {"alog10", _morvex_alog10, 1.0f, 0.0f, 0},
  };
  for (const auto& c : cases) expect_cw_kept([&] { check(c); });
}

// EXP is monotonic across the subnormal band, where the result is formed by
// scaling rather than through the exponent field.
TEST_F(Real4ExpLog, ExpMonotonicThroughSubnormals) {
  float prev = 0;
  for (uint32_t u = 0xc2aff02e; u >= 0xc2ae0000; --u) {  // -87.97 .. -87
    const float r = stored(_morvex_exp(from_bits(u)));
    ASSERT_GE(r, prev) << show(from_bits(u));
    ASSERT_GT(r, 0.0f) << show(from_bits(u));
    prev = r;
  }
}

using Mp = f90test::Mpfr<128>;

// |value - exact| in units of 2^(exponent of exact - 23).
double error_in_ulps(float value, mpfr_ptr exact) {
  Mp d;
  mpfr_set_flt(d, value, MPFR_RNDN);
  mpfr_sub(d, d, exact, MPFR_RNDN);
  mpfr_mul_2si(d, d, 24 - mpfr_get_exp(exact), MPFR_RNDN);
  return std::fabs(mpfr_get_d(d, MPFR_RNDN));
}

// LEAD[j] + TRAIL[j] = ln(1 + j/128) far beyond single precision, LEAD[j]
// a multiple of 2^-15 (so m*LN2_LEAD + LEAD[j] is exact), RECIP[j] the
// nearest REAL*4 to 1/(1 + j/128); the words between the blocks are zero.
TEST(Real4Tables, Logarithm) {
  const float* trail = morvex::real4::kLogTable;
  const float* lead = trail + 136;
  const float* recip = trail + 272;
  for (int j = 0; j <= 128; ++j) {
    Mp f, ln, sum, inv;
    mpfr_set_ui(f, 128 + j, MPFR_RNDN);
    mpfr_div_ui(f, f, 128, MPFR_RNDN);
    mpfr_log(ln, f, MPFR_RNDN);
    mpfr_set_flt(sum, lead[j], MPFR_RNDN);
    mpfr_add_d(sum, sum, trail[j], MPFR_RNDN);
    mpfr_sub(sum, sum, ln, MPFR_RNDN);
    EXPECT_LE(std::fabs(mpfr_get_d(sum, MPFR_RNDN)), 0x1p-40) << "LEAD + TRAIL, j = " << j;
    EXPECT_EQ(std::ldexp(lead[j], 15), std::trunc(std::ldexp(lead[j], 15))) << "LEAD, j = " << j;
    mpfr_ui_div(inv, 1, f, MPFR_RNDN);
    EXPECT_LE(error_in_ulps(recip[j], inv), 0.5) << "RECIP, j = " << j;
  }
  EXPECT_EQ(bits(lead[128]), 0x3f317200u);
  EXPECT_EQ(bits(trail[128]), 0x35bfbe8eu);
  for (int k = 129; k < 136; ++k) {
    EXPECT_EQ(bits(trail[k]), 0u) << k;
    EXPECT_EQ(bits(lead[k]), 0u) << k + 136;
  }
}

// A1[k] = 2^((1-k)/16) to nearest; A2[k] = 2^((1-2k)/16) - A1[2k].
TEST(Real4Tables, Power) {
  const float* a2 = morvex::real4::kPowTable;
  const float* a1 = a2 + 8;
  for (int k = 1; k <= 17; ++k) {
    Mp v;
    mpfr_set_si(v, 1 - k, MPFR_RNDN);
    mpfr_div_ui(v, v, 16, MPFR_RNDN);
    mpfr_exp2(v, v, MPFR_RNDN);
    EXPECT_LE(error_in_ulps(a1[k - 1], v), 0.5) << "A1[" << k << "]";
    if (k % 2 == 0) {
      Mp want;
      mpfr_set_si(want, 1 - k, MPFR_RNDN);
      mpfr_div_ui(want, want, 16, MPFR_RNDN);
      mpfr_exp2(want, want, MPFR_RNDN);
      mpfr_sub_d(want, want, a1[k - 1], MPFR_RNDN);  // exact at 128 bits
      EXPECT_LE(error_in_ulps(a2[k / 2 - 1], want), 0.5) << "A2[" << k / 2 << "]";
    }
  }
  EXPECT_EQ(bits(a1[8]), 0x3f3504f3u);
  EXPECT_EQ(a1[16], 0.5f);
}

}  // namespace
