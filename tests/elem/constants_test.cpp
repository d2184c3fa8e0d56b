// The exported error-value constants hold their exact bits.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

extern "C" const unsigned char _morvex_FLOAT_NAN[4], _morvex_FLOAT_INF[4], _morvex_FLOAT_MAX[4];
extern "C" const unsigned char _morvex_DOUBLE_NAN[8], _morvex_DOUBLE_INF[8], _morvex_DOUBLE_MAX[8];

namespace {

template <class T, size_t N>
T bits(const unsigned char (&obj)[N]) {
  static_assert(sizeof(T) == N);
  T v;
  std::memcpy(&v, obj, N);
  return v;
}

TEST(Constants, ExactBitPatterns) {
  EXPECT_EQ(bits<uint32_t>(_morvex_FLOAT_NAN), 0x7fc00000u);
  EXPECT_EQ(bits<uint32_t>(_morvex_FLOAT_INF), 0x7f800000u);
  // Half the largest finite single, not FLT_MAX.
  EXPECT_EQ(bits<uint32_t>(_morvex_FLOAT_MAX), 0x7effffffu);
  EXPECT_EQ(bits<uint64_t>(_morvex_DOUBLE_NAN), 0x7ff8000000000000ull);
  EXPECT_EQ(bits<uint64_t>(_morvex_DOUBLE_INF), 0x7ff0000000000000ull);
  EXPECT_EQ(bits<uint64_t>(_morvex_DOUBLE_MAX), 0x7fefffffffffffffull);
}

}  // namespace
