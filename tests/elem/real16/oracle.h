// Test helpers for the REAL*16 routines: __float128 as the oracle (113-bit
// significand, computed in software, so it is exact or correctly rounded
// whatever the x87 control word), bit-exact comparison of double-doubles, and
// random operands.
//
// The test programs run on the x87, where a double expression may be kept at
// extended precision: all arithmetic that must be exact here is done in
// __float128, and doubles are only built from bits or converted from it.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <type_traits>

#include "real16/real16.h"

namespace r16test {

using Q = __float128;
using DD = DoubleDouble;

inline constexpr double kInf = std::numeric_limits<double>::infinity();
inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

inline uint64_t bits(double x) { return std::bit_cast<uint64_t>(x); }
inline double from_bits(uint64_t b) { return std::bit_cast<double>(b); }

// 2^e as a double (normal or subnormal range) and as a __float128.
inline double p2(int e) {
  if (e >= -1022) return from_bits(static_cast<uint64_t>(e + 1023) << 52);
  return from_bits(uint64_t{1} << (e + 1074));
}
inline Q q2(int e) {  // normal __float128 range, |e| < 16383
  const uint64_t words[2] = {0, static_cast<uint64_t>(e + 16383) << 48};
  Q r;
  std::memcpy(&r, words, sizeof r);
  return r;
}

// Conversions between double and __float128 are kept out of line: g++ would
// otherwise narrow (double)((Q)x + (Q)y) to a double addition, which the x87
// evaluates at extended precision.
[[gnu::noinline]] inline Q q(double x) { return static_cast<Q>(x); }
[[gnu::noinline]] inline double to_double(Q v) { return static_cast<double>(v); }
inline Q q(DD a) { return q(a.hi) + q(a.lo); }
inline Q qabs(Q x) { return x < 0 ? -x : x; }

// The normalised double-double nearest to v (within 2^-106 relative).
inline DD dd_of(Q v) {
  const double hi = to_double(v);
  return {hi, to_double(v - q(hi))};
}

// The result of an entry with a hidden result slot, called with `args` (braced
// operands allowed); the entry must return the slot's address.
template <class... P>
DD call(DD* (*f)(DD*, P...), std::type_identity_t<P>... args) {
  DD r;
  EXPECT_EQ(f(&r, args...), &r);
  return r;
}

inline bool same_bits(double a, double b) { return bits(a) == bits(b); }
inline bool same_bits(DD a, DD b) { return same_bits(a.hi, b.hi) && same_bits(a.lo, b.lo); }
// The same bits, except that any NaN matches any NaN.
inline bool same_result(double a, double b) { return std::isnan(a) ? std::isnan(b) : same_bits(a, b); }
inline bool same_result(DD a, DD b) { return same_result(a.hi, b.hi) && same_result(a.lo, b.lo); }

// hi is hi + lo rounded to double.
inline bool normalised(DD r) { return to_double(q(r)) == r.hi; }

inline std::string show(double x) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%a", x);
  return buf;
}
inline std::string show(DD a) { return "(" + show(a.hi) + ", " + show(a.lo) + ")"; }

// Expects bit-identical double-doubles (signed zeros and NaN payloads count).
#define EXPECT_DD_BITS(actual, expected)                                              \
  do {                                                                                \
    const DD act_ = (actual), exp_ = (expected);                                      \
    EXPECT_TRUE(r16test::same_bits(act_, exp_))                                       \
        << #actual << " = " << r16test::show(act_) << ", expected " << r16test::show(exp_); \
  } while (0)

// Random operands from a fixed seed.
class Rng {
 public:
  explicit Rng(uint64_t seed) : gen_(seed) {}

  uint64_t bits64() { return gen_(); }
  int between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen_); }
  bool coin() { return (gen_() & 1) != 0; }

  // A double with a random 53-bit significand, random sign and binary
  // exponent in [emin, emax].
  double dbl(int emin, int emax) {
    const uint64_t frac = gen_() & 0xfffffffffffffull;
    const uint64_t exp = static_cast<uint64_t>(between(emin, emax) + 1023);
    const uint64_t sign = coin() ? 1ull << 63 : 0;
    return from_bits(sign | exp << 52 | frac);
  }

  // A random 113-bit value in [1, 2) scaled by 2^e, random sign.
  Q quad(int emin, int emax) {
    const Q top = static_cast<Q>(gen_() | 1ull << 63) * q2(-63);
    const Q rest = static_cast<Q>(gen_() >> 15) * q2(-112);
    const Q v = (top + rest) * q2(between(emin, emax));
    return coin() ? -v : v;
  }

  // A normalised double-double whose high part has exponent in [emin, emax]
  // and whose low part carries a full 53 further bits.
  DD dd(int emin, int emax) { return dd_of(quad(emin, emax)); }

 private:
  std::mt19937_64 gen_;
};

}  // namespace r16test
