// Helpers shared by the COMPLEX*8 and COMPLEX*16 tests: typed access to both
// kinds, bit-exact comparison of result slots, and the value a caller stores.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <ostream>
#include <string>

#include "complex/complex.h"
#include "float_results.h"

// Printing for failure messages (found by argument-dependent lookup: the
// types are the public header's, in the global namespace).
inline std::ostream& operator<<(std::ostream& os, const Complex16& z) {
  return os << "(" << z.re << ", " << z.im << ")";
}
inline std::ostream& operator<<(std::ostream& os, const Complex8& z) {
  return os << "(" << z.re << ", " << z.im << ")";
}

namespace ctest {

inline uint64_t bits(double x) { return std::bit_cast<uint64_t>(x); }
inline uint32_t bits(float x) { return std::bit_cast<uint32_t>(x); }
inline double f64(uint64_t u) { return std::bit_cast<double>(u); }
inline float f32(uint32_t u) { return std::bit_cast<float>(u); }

inline constexpr double kInf = std::numeric_limits<double>::infinity();
inline const double kNaN = f64(0x7ff8000000000000ull);
inline const float kInfF = std::numeric_limits<float>::infinity();
inline const float kNaNF = f32(0x7fc00000u);

// The value a caller stores, and the switch of the long sweeps.
using f90test::long_tests;
using f90test::stored;

// Exactly the bits of `want` (any NaN for a NaN; zeros with their sign).
template <class T>
inline bool same_value(T got, T want) {
  if (std::isnan(want)) return std::isnan(got);
  return bits(got) == bits(want);
}

template <class C>
inline void expect_complex(const C& got, const C& want, const std::string& what) {
  EXPECT_TRUE(same_value(got.re, want.re) && same_value(got.im, want.im))
      << what << " gave " << got << ", want " << want;
}

// Within `tol` (relative to the larger of |want| and `floor`) in each part,
// with the sign of each non-zero wanted part.
template <class C>
inline void expect_near(const C& got, const C& want, double tol, const std::string& what,
                        double floor = 0) {
  auto near = [&](double g, double w) {
    if (std::isnan(w)) return std::isnan(g);
    if (std::isinf(w)) return g == w;
    return std::fabs(g - w) <= tol * std::max(std::fabs(w), floor) &&
           (w == 0 || std::signbit(g) == std::signbit(w));
  };
  EXPECT_TRUE(near(got.re, want.re) && near(got.im, want.im))
      << what << " gave " << got << ", want " << want;
}

}  // namespace ctest

namespace ctest {

// The entry points of one kind, for tests written once for both.
struct Kind16 {
  using T = double;
  using C = Complex16;
  static constexpr const char* kName = "COMPLEX*16";
  static constexpr int kDigits = 53;
  static constexpr auto mul = _morvex_cdmul;
  static constexpr auto div = _morvex_cddiv;
  static constexpr auto toi = _morvex_cdtoi;
  static constexpr auto imag = _morvex_dimag;
  static constexpr auto conjg = _morvex_dconjg;
  static constexpr auto abs = _morvex_cdabs;
  static constexpr auto exp = _morvex_cdexp;
  static constexpr auto sqrt = _morvex_cdsqrt;
  static constexpr auto log = _morvex_cdlog;
  static constexpr auto sin = _morvex_cdsin;
  static constexpr auto cos = _morvex_cdcos;
  static constexpr auto tocd = _morvex_cdtocd;
  static constexpr auto I_imag = _morvex_I_dimag;
  static constexpr auto I_conjg = _morvex_I_dconjg;
  static constexpr auto I_abs = _morvex_I_cdabs;
  static constexpr auto I_exp = _morvex_I_cdexp;
  static constexpr auto I_sqrt = _morvex_I_cdsqrt;
  static constexpr auto I_log = _morvex_I_cdlog;
  static constexpr auto I_sin = _morvex_I_cdsin;
  static constexpr auto I_cos = _morvex_I_cdcos;
};

struct Kind8 {
  using T = float;
  using C = Complex8;
  static constexpr const char* kName = "COMPLEX*8";
  static constexpr int kDigits = 24;
  static constexpr auto mul = _morvex_cmul;
  static constexpr auto div = _morvex_cdiv;
  static constexpr auto toi = _morvex_ctoi;
  static constexpr auto imag = _morvex_aimag;
  static constexpr auto conjg = _morvex_conjg;
  static constexpr auto abs = _morvex_cabs;
  static constexpr auto exp = _morvex_cexp;
  static constexpr auto sqrt = _morvex_csqrt;
  static constexpr auto log = _morvex_clog;
  static constexpr auto sin = _morvex_csin;
  static constexpr auto cos = _morvex_ccos;
  static constexpr auto tocd = _morvex_ctoc;
  static constexpr auto I_imag = _morvex_I_aimag;
  static constexpr auto I_conjg = _morvex_I_conjg;
  static constexpr auto I_abs = _morvex_I_cabs;
  static constexpr auto I_exp = _morvex_I_cexp;
  static constexpr auto I_sqrt = _morvex_I_csqrt;
  static constexpr auto I_log = _morvex_I_clog;
  static constexpr auto I_sin = _morvex_I_csin;
  static constexpr auto I_cos = _morvex_I_ccos;
};

// A complex value of kind K from two doubles (exact for the tables' values).
template <class K>
inline typename K::C cx(double re, double im) {
  return {static_cast<typename K::T>(re), static_cast<typename K::T>(im)};
}

// Calls an entry with a hidden result slot and returns the slot, after
// checking that the entry returned the slot's address.
template <class C, class F, class... A>
inline C call(F f, A... args) {
  C slot;
  std::memset(&slot, 0xCC, sizeof slot);
  C* const p = f(&slot, args...);
  EXPECT_EQ(p, &slot) << "the result pointer was not returned";
  return slot;
}

}  // namespace ctest
