// x87::trunc32, the round-toward-zero integer store the REAL*4 power uses
// without loading a control word, agrees with the store under the chopping
// word in every rounding mode and precision of the caller, and leaves the
// caller's word alone.
#include <gtest/gtest.h>

#include <cstdint>

#include "control_word.h"
#include "real4_test_util.h"
#include "x87.h"

namespace {

using namespace real4test;

TEST(Real4Truncation, MatchesTheChoppingStoreInEveryMode) {
  const long double values[] = {0.0L,          -0.0L,         0.5L,          -0.5L,
                                1.5L,          -1.5L,         2.5L,          -2.5L,
                                0.99999999L,   -0.99999999L,  1e-30L,        -1e-30L,
                                123456.75L,    -123456.75L,   8388607.5L,    -8388607.5L,
                                2147483646.5L, -2147483646.5L, 2147483647.0L, -2147483647.0L,
                                2147483647.5L, -2147483647.5L, 2147483648.0L, -2147483648.0L,
                                -2147483648.5L, -2147483649.0L, 3e9L,         -1e30L,
                                kInf,          -kInf,         kNaN};
  // Nearest, down, up and toward zero, at 24, 53 and 64 bits.
  for (const uint16_t rc : {0x0000, 0x0400, 0x0800, 0x0c00}) {
    for (const uint16_t pc : {0x0000, 0x0200, 0x0300}) {
      const uint16_t cw = static_cast<uint16_t>(0x107f | rc | pc);
      for (const long double v : values) {
        const int32_t want = f90test::under_cw(cw, [&] {
          return x87::fist32_under(v, x87::CW_CHOP_DOUBLE);
        });
        const int32_t got = f90test::under_cw(cw, [&] {
          const int32_t n = x87::trunc32(v);
          EXPECT_EQ(x87::get_cw(), cw);
          return n;
        });
        EXPECT_EQ(got, want) << "cw " << std::hex << cw << std::dec << ", value "
                             << static_cast<double>(v);
      }
    }
  }
}

}  // namespace
