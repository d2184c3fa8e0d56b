// Helpers shared by the REAL*8 elemental tests.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "float_results.h"

namespace real8test {

inline uint64_t bits(double x) { return std::bit_cast<uint64_t>(x); }
inline double from_bits(uint64_t u) { return std::bit_cast<double>(u); }

// The value a caller gets when it stores the st(0) result as a REAL*8.
inline double stored(long double r) { return f90test::stored<double>(r); }

inline constexpr double kInf = std::numeric_limits<double>::infinity();
inline const double kNaN = from_bits(0x7ff8000000000000ull);
inline const double kMinSub = from_bits(1);  // 2^-1074

using f90test::long_tests;

// The checks of tests/kit/float_results.h, for REAL*8 results.
inline double ulps_apart(double a, double b) { return f90test::ulps_apart<double>(a, b); }
inline void expect_bits(long double got, double want, const std::string& what) {
  f90test::expect_bits<double>(got, want, what);
}
inline void expect_near_ulps(long double got, double want, double ulps, const std::string& what) {
  f90test::expect_near_ulps<double>(got, want, ulps, what);
}

// "name(x)" and "name(x, y)" with every digit, for failure messages.
inline std::string call_text(const char* name, double x) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "%s(%.17g)", name, x);
  return buf;
}
inline std::string call_text(const char* name, double x, double y) {
  char buf[128];
  std::snprintf(buf, sizeof buf, "%s(%.17g, %.17g)", name, x, y);
  return buf;
}

// A one-argument case: the result has exactly the bits of `want` (ulps = 0;
// the by-reference twin is checked too when given) or lies within `ulps`.
struct UnaryCase {
  const char* name;
  long double (*f)(double);
  long double (*f_ref)(const double*);
  double x, want;
  double ulps;
};

inline void check(const UnaryCase& c) {
  const std::string what = call_text(c.name, c.x);
  if (c.ulps == 0) {
    expect_bits(c.f(c.x), c.want, what);
    if (c.f_ref) expect_bits(c.f_ref(&c.x), c.want, "by reference " + what);
  } else {
    expect_near_ulps(c.f(c.x), c.want, c.ulps, what);
  }
}

}  // namespace real8test
