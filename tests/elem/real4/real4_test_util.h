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

#include "float_results.h"

namespace real4test {

inline uint32_t bits(float x) { return std::bit_cast<uint32_t>(x); }
inline float from_bits(uint32_t u) { return std::bit_cast<float>(u); }

// The value a caller gets when it stores the st(0) result as a REAL*4.
inline float stored(long double r) { return f90test::stored<float>(r); }

inline constexpr float kInf = std::numeric_limits<float>::infinity();
inline const float kNaN = from_bits(0x7fc00000u);
inline const float kMinSub = from_bits(1);           // 2^-149
inline const float kMinNormal = from_bits(0x00800000u);
inline const float kMax = from_bits(0x7f7fffffu);

using f90test::long_tests;

inline std::string show(float x) { return f90test::show(x); }

// The checks of tests/kit/float_results.h, for REAL*4 results.
inline void expect_bits(long double got, float want, const std::string& what) {
  f90test::expect_bits<float>(got, want, what);
}
inline double ulps_apart(float a, float b) { return f90test::ulps_apart<float>(a, b); }
inline void expect_near_ulps(long double got, float want, int64_t ulps, const std::string& what) {
  f90test::expect_near_ulps<float>(got, want, static_cast<double>(ulps), what);
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
