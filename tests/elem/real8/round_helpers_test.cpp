// The helpers that round an x87 value to REAL*8 without a store where the
// control word allows give exactly what a store gives, in every rounding
// mode, at 53-bit and 64-bit precision, across the REAL*8 range and beyond.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "control_word.h"
#include "real/float_bits.h"
#include "real8_test_util.h"

namespace {

using morvex::real::round_op_result;
using morvex::real::round_value;

bool same(long double a, long double b) {
  return std::memcmp(&a, &b, 10) == 0 || (std::isnan(a) && std::isnan(b));
}

TEST(RoundHelpers, MatchAStoreUnderEveryRoundingMode) {
  const uint16_t modes[] = {0x127f, 0x167f, 0x1a7f, 0x1e7f,   // 53 bits, four roundings
                            0x137f, 0x177f, 0x1b7f, 0x1f7f};  // 64 bits
  std::mt19937_64 rng(77);
  std::uniform_real_distribution<long double> mant(1.0L, 2.0L);
  std::uniform_int_distribution<int> expo(-1080, 1030);
  for (const uint16_t cw : modes) {
    f90test::under_cw(cw, [&] {
      for (int i = 0; i < 20000; ++i) {
        const long double a = std::ldexp(mant(rng), expo(rng)) * ((i & 1) ? -1 : 1);
        const long double b = std::ldexp(mant(rng), expo(rng) / 64);
        // One operation's result, as the functions pass it.
        volatile long double sum_v = a + b;
        const long double sum = sum_v;
        const double stored_sum = real8test::stored(sum);
        if (std::fabs(sum) >= 0x1p-1022L && std::fabs(sum) <= 1.7976931348623157e308L) {
          EXPECT_TRUE(same(round_op_result<double>(sum, cw), stored_sum))
              << std::hex << cw << std::dec << " " << static_cast<double>(sum);
        }
        // Any value, including subnormal and out-of-range ones.
        EXPECT_TRUE(same(round_value<double>(a, cw), real8test::stored(a)))
            << std::hex << cw << std::dec << " " << static_cast<double>(a);
      }
      return 0;
    });
  }
}

}  // namespace
