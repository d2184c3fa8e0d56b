// Helpers shared by the REAL*4 elemental tests.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <sstream>
#include <string>

namespace real4test {

inline uint32_t bits(float x) { return std::bit_cast<uint32_t>(x); }
inline float from_bits(uint32_t u) { return std::bit_cast<float>(u); }

// The value a caller gets when it stores the st(0) result as a REAL*4.
inline float stored(long double r) {
  volatile float f = static_cast<float>(r);
  return f;
}

inline constexpr float kInf = std::numeric_limits<float>::infinity();
inline const float kNaN = from_bits(0x7fc00000u);
inline const float kMinSub = from_bits(1);           // 2^-149
inline const float kMinNormal = from_bits(0x00800000u);
inline const float kMax = from_bits(0x7f7fffffu);

// Long sweeps run when F90_LONG_TESTS=1.
inline bool long_tests() {
  const char* v = std::getenv("F90_LONG_TESTS");
  return v && v[0] == '1';
}

inline std::string show(float x) {
  std::ostringstream s;
  s << std::hexfloat << x << " (" << std::defaultfloat << x << ")";
  return s.str();
}

// The stored result has exactly the bits of `want` (any NaN for a NaN, the
// sign of zeros included).
inline void expect_bits(long double got, float want, const std::string& what) {
  const float g = stored(got);
  if (std::isnan(want)) {
    EXPECT_TRUE(std::isnan(g)) << what << " gave " << show(g);
  } else {
    EXPECT_EQ(bits(g), bits(want)) << what << " gave " << show(g) << ", want " << show(want);
  }
}

// Distance in ulps between two finite floats (ordered by their bits).
inline int64_t ulps_apart(float a, float b) {
  auto key = [](float f) {
    const int32_t i = static_cast<int32_t>(bits(f));
    return i < 0 ? int64_t{INT32_MIN} - i : int64_t{i};
  };
  return std::llabs(key(a) - key(b));
}

// The stored result lies within `ulps` of `want` and has its sign.
inline void expect_near_ulps(long double got, float want, int64_t ulps, const std::string& what) {
  const float g = stored(got);
  EXPECT_EQ(std::signbit(g), std::signbit(want)) << what << " gave " << show(g);
  EXPECT_LE(ulps_apart(g, want), ulps) << what << " gave " << show(g) << ", want " << show(want);
}

// Exactly the bits of `want` when ulps is 0, else within `ulps` of it.
inline void expect_result(long double got, float want, int ulps, const std::string& what) {
  if (ulps)
    expect_near_ulps(got, want, ulps, what);
  else
    expect_bits(got, want, what);
}

// One- and two-argument cases of a table.
struct Case1 {
  const char* name;
  long double (*fn)(float);
  float x, want;
  int ulps = 0;  // 0: exactly these bits
};
struct Case2 {
  const char* name;
  long double (*fn)(float, float);
  float x, y, want;
  int ulps = 0;
};

inline void check(const Case1& c) {
  expect_result(c.fn(c.x), c.want, c.ulps, std::string(c.name) + "(" + show(c.x) + ")");
}
inline void check(const Case2& c) {
  expect_result(c.fn(c.x, c.y), c.want, c.ulps,
                std::string(c.name) + "(" + show(c.x) + ", " + show(c.y) + ")");
}

}  // namespace real4test
