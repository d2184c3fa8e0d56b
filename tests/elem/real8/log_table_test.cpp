// The logarithm's table (tools/gen_log_tables.py) obeys its rules, checked
// against MPFR: RECIP[j] is 1/F_j rounded to nearest, LEAD[j] + TRAIL[j] is
// ln F_j to far beyond double precision, LEAD[j] is a multiple of 2^-39 (so
// m*LN2_LEAD + LEAD[j] is exact for every exponent m), and the last entries
// are the two halves of ln 2 the exponent term uses.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>

#include "real8_test_util.h"

namespace morvex::real8 {
extern const double kLogTable[387];
}

namespace {

using morvex::real8::kLogTable;
using real8test::bits;

TEST(LogTable, EntriesFollowTheirRules) {
  mpfr_t f, ln, sum, recip;
  mpfr_inits2(300, f, ln, sum, recip, static_cast<mpfr_ptr>(nullptr));
  for (int j = 0; j <= 128; ++j) {
    const double trail = kLogTable[j], lead = kLogTable[129 + j], rcp = kLogTable[258 + j];
    mpfr_set_ui(f, 128 + j, MPFR_RNDN);
    mpfr_div_ui(f, f, 128, MPFR_RNDN);
    mpfr_log(ln, f, MPFR_RNDN);
    mpfr_ui_div(recip, 1, f, MPFR_RNDN);
    EXPECT_EQ(rcp, mpfr_get_d(recip, MPFR_RNDN)) << "RECIP[" << j << "]";
    EXPECT_EQ(std::ldexp(lead, 39), std::trunc(std::ldexp(lead, 39))) << "LEAD[" << j << "]";
    mpfr_set_d(sum, lead, MPFR_RNDN);
    mpfr_add_d(sum, sum, trail, MPFR_RNDN);
    mpfr_sub(sum, sum, ln, MPFR_RNDN);
    if (j > 0) {
      mpfr_div(sum, sum, ln, MPFR_RNDN);
      EXPECT_LT(std::fabs(mpfr_get_d(sum, MPFR_RNDN)), 0x1p-85) << "LEAD+TRAIL[" << j << "]";
      // LEAD carries ln F to within half its quantum.
      EXPECT_LE(std::fabs(trail), 0x1p-40) << "TRAIL[" << j << "]";
    } else {
      EXPECT_EQ(lead, 0.0);
      EXPECT_EQ(trail, 0.0);
    }
  }
  EXPECT_EQ(bits(kLogTable[129 + 128]), 0x3fe62e42fefa4000ull);  // LN2_LEAD
  EXPECT_EQ(bits(kLogTable[128]), 0xbd48432a1b0e2634ull);        // LN2_TRAIL
  EXPECT_EQ(kLogTable[258], 1.0);
  EXPECT_EQ(kLogTable[258 + 128], 0.5);
  mpfr_clears(f, ln, sum, recip, static_cast<mpfr_ptr>(nullptr));
}

}  // namespace
