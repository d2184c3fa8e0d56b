// Checks of REAL*4 and REAL*8 results as compiled code sees them: the x87
// value a routine leaves in st(0), stored to the kind.
//
//   f90test::expect_bits<float>(got, want, "alog(2)");        // exact bits
//   f90test::expect_near_ulps<double>(got, want, 1, "dexp(1)");
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <type_traits>

namespace f90test {

template <class T>
using FloatBitsOf = std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>;

// The value a caller gets when it stores the st(0) result as a T.
template <class T>
inline T stored(long double r) {
  volatile T v = static_cast<T>(r);
  return v;
}

// Long sweeps run when F90_LONG_TESTS=1.
inline bool long_tests() {
  const char* v = std::getenv("F90_LONG_TESTS");
  return v && v[0] == '1';
}

// F90_LONG_SHARD=k/n splits a long sweep over n processes: this one takes
// every n-th case from case k. Unset or malformed: the whole sweep.
struct Shard {
  uint64_t first = 0, step = 1;
};
inline Shard long_shard() {
  const char* v = std::getenv("F90_LONG_SHARD");
  unsigned k = 0, n = 0;
  if (v == nullptr || std::sscanf(v, "%u/%u", &k, &n) != 2 || n == 0 || k >= n) return {};
  return {k, n};
}

// A value in hexadecimal and decimal, for failure messages.
template <class T>
inline std::string show(T x) {
  std::ostringstream s;
  s << std::hexfloat << x << " (" << std::defaultfloat;
  s.precision(sizeof(T) == 4 ? 9 : 17);
  s << x << ")";
  return s.str();
}

// Distance in ulps between two finite values (ordered by their bits).
template <class T>
inline double ulps_apart(T a, T b) {
  using U = FloatBitsOf<T>;
  using S = std::make_signed_t<U>;
  // Sign-magnitude bits onto one increasing unsigned scale.
  auto key = [](T v) {
    const U u = std::bit_cast<U>(v);
    const U sign = U{1} << (8 * sizeof(U) - 1);
    return (u & sign) != 0 ? sign - (u & ~sign) : sign + u;
  };
  const U ka = key(a), kb = key(b);
  static_assert(sizeof(S) == sizeof(U));
  return static_cast<double>(ka > kb ? ka - kb : kb - ka);
}

// The stored result has exactly the bits of `want` (any NaN for a NaN, the
// sign of zeros included).
template <class T>
inline void expect_bits(long double got, T want, const std::string& what) {
  const T g = stored<T>(got);
  if (std::isnan(want)) {
    EXPECT_TRUE(std::isnan(g)) << what << " gave " << show(g);
  } else {
    EXPECT_EQ(std::bit_cast<FloatBitsOf<T>>(g), std::bit_cast<FloatBitsOf<T>>(want))
        << what << " gave " << show(g) << ", want " << show(want);
  }
}

// The stored result lies within `ulps` of `want` and has its sign.
template <class T>
inline void expect_near_ulps(long double got, T want, double ulps, const std::string& what) {
  const T g = stored<T>(got);
  EXPECT_EQ(std::signbit(g), std::signbit(want)) << what << " gave " << show(g);
  EXPECT_LE(ulps_apart(g, want), ulps) << what << " gave " << show(g) << ", want " << show(want);
}

}  // namespace f90test
