// The exported error-value constants hold their exact bits.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "f90/f90.h"

namespace {

// The object's bytes, copied without a floating-point load (which would
// quiet a signalling NaN).
template <class T, class Object>
T bits(const Object& obj) {
  static_assert(sizeof(T) == sizeof(Object));
  T v;
  std::memcpy(&v, &obj, sizeof v);
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
