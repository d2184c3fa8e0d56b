// Conversions between REAL*16 and 64-bit integers, and the mixed INTEGER*8
// arithmetic, against exact integer and __float128 results.
#include <cmath>

#include "oracle.h"

namespace {

using namespace r16test;

DD ll2q(int64_t n) { return call(_morvex_ll2q, n); }
DD ull2q(uint64_t n) { return call(_morvex_ull2q, n); }

constexpr int64_t kMin64 = INT64_MIN;

TEST(Real16Convert, IntegerToReal16Table) {
  const struct {
    int64_t n;
    DD expected;
  } signed_cases[] = {
      {0, {0.0, 0.0}},
      {1, {1, 0.0}},
      {-1, {-1, -0.0}},  // the negated (1, +0)
      {(1ll << 53) - 1, {p2(53) - 1, 0.0}},
      {(1ll << 53) + 1, {p2(53), 1}},  // through the split
      {-(1ll << 53) - 1, {-p2(53), -1}},
      {INT64_MAX, {p2(63), -1}},
      {kMin64, {-p2(63), -0.0}},
      {(1ll << 62) + 12345, {p2(62) + 12288, 57}},  // ulp of 2^62 is 1024
  };
  for (const auto& c : signed_cases) {
    SCOPED_TRACE(c.n);
    EXPECT_DD_BITS(ll2q(c.n), c.expected);
  }
  const struct {
    uint64_t n;
    DD expected;
  } unsigned_cases[] = {
      {0, {0.0, 0.0}},
      {UINT64_MAX, {p2(64), -1}},
      {1ull << 63, {p2(63), 0.0}},
      {(1ull << 63) + 1, {p2(63), 1}},
      {(1ull << 53) + 1, {p2(53), 1}},
  };
  for (const auto& c : unsigned_cases) {
    SCOPED_TRACE(c.n);
    EXPECT_DD_BITS(ull2q(c.n), c.expected);
  }
}

// Every 64-bit integer converts exactly, to a normalised double-double, and
// converts back.
TEST(Real16Convert, IntegerToReal16IsExact) {
  Rng rng(0x5eed0030);
  for (int i = 0; i < 50000; ++i) {
    const uint64_t u = rng.bits64() >> rng.between(0, 63);
    const int64_t n = rng.coin() ? static_cast<int64_t>(u) : static_cast<int64_t>(0 - u);
    const DD s = ll2q(n), us = ull2q(u);
    ASSERT_TRUE(q(s) == static_cast<Q>(n) && normalised(s)) << n;
    ASSERT_TRUE(q(us) == static_cast<Q>(u) && normalised(us)) << u;
    ASSERT_EQ(_morvex_q2ll(s), n) << "round trip";
    if (u < 1ull << 63) {
      ASSERT_EQ(_morvex_q2ull(us), u) << "round trip";
    }
  }
}

TEST(Real16Convert, Real16ToIntegerTable) {
  const struct {
    DD x;
    int64_t to_signed;
    uint64_t to_unsigned;
  } cases[] = {
      {{3.5, 0}, 3, 3},
      {{-3.5, 0}, -3, static_cast<uint64_t>(-3)},
      {{2.999999999999999556, 0}, 2, 2},
      {{p2(60), -0.5}, (1ll << 60) - 1, (1ull << 60) - 1},
      {{p2(60), 0.5}, 1ll << 60, 1ull << 60},
      {{-p2(60), 0.5}, -(1ll << 60) + 1, static_cast<uint64_t>(-(1ll << 60) + 1)},
      // The value is just below 3: it truncates to 2, like AINT.
      {{3, -p2(-60)}, 2, 2},
      {{-3, p2(-60)}, -2, static_cast<uint64_t>(-2)},
      {{3, p2(-60)}, 3, 3},
      {{p2(63) - 1024, 511}, INT64_MAX - 1023 + 511, (1ull << 63) - 1024 + 511},
      {{-0.0, -0.0}, 0, 0},
      {{0.75, 0}, 0, 0},
      {{-1, 0}, -1, UINT64_MAX},
      // High part 2^63 or beyond, infinite or NaN.
      {{p2(63), 0}, kMin64, UINT64_MAX},
      {{p2(63), 1}, kMin64, UINT64_MAX},
      {{p2(63) + 2048, -1024}, kMin64, UINT64_MAX},
      // 2^63 with a low part toward zero is in range (ll2q(INT64_MAX) is
      // (2^63, -1)); the unsigned conversion saturates at 2^63 all the same.
      {{p2(63), -1}, INT64_MAX, UINT64_MAX},
      {{p2(63), -0.5}, INT64_MAX, UINT64_MAX},
      {{-p2(63), 0.5}, kMin64 + 1, UINT64_MAX},
      {{-p2(63), 512}, kMin64 + 512, UINT64_MAX},
      {{-p2(63), 0}, kMin64, UINT64_MAX},
      {{1e300, 0}, kMin64, UINT64_MAX},
      {{kInf, 0}, kMin64, UINT64_MAX},
      {{-kInf, 0}, kMin64, UINT64_MAX},
      {{kNaN, 0}, kMin64, UINT64_MAX},
      {{-kNaN, 0}, kMin64, UINT64_MAX},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(show(c.x));
    EXPECT_EQ(_morvex_q2ll(c.x), c.to_signed);
    EXPECT_EQ(_morvex_q2ull(c.x), c.to_unsigned);
  }
}

// Truncation toward zero of the exact value, below 2^63: a high part that is
// an integer or has a fraction, a low part of either sign, exact in
// __float128 so that the oracle's own conversion truncates the same value.
TEST(Real16Convert, Real16ToIntegerTruncatesTheExactValue) {
  Rng rng(0x5eed0031);
  for (int i = 0; i < 50000; ++i) {
    const int e = rng.between(0, 61);
    double hi = rng.dbl(e, e);
    if (rng.coin()) hi = to_double(static_cast<Q>(static_cast<int64_t>(q(hi))));  // integral
    const double lo = (rng.coin() ? 1 : -1) * p2(e - 53 - rng.between(0, 40)) * rng.between(1, 7);
    const DD x = dd_of(q(hi) + q(lo));
    const Q v = q(x);
    ASSERT_EQ(_morvex_q2ll(x), static_cast<int64_t>(v)) << show(x);
    ASSERT_EQ(_morvex_q2ull(x), static_cast<uint64_t>(static_cast<int64_t>(v))) << show(x);
  }
}

// The INTEGER*8 forms are the double-double operations on the exact ll2q(k).
TEST(Real16Convert, MixedInteger8Arithmetic) {
  Rng rng(0x5eed0032);
  for (int i = 0; i < 20000; ++i) {
    const DD a = rng.dd(-70, 70);
    const uint64_t u = rng.bits64() >> rng.between(0, 63);
    const int64_t k = static_cast<int64_t>(rng.coin() ? u : 0 - u);
    const DD kq = ll2q(k);
    EXPECT_DD_BITS(call(_morvex_qaddk, a, k), call(_morvex_qadd, a, kq));
    EXPECT_DD_BITS(call(_morvex_qsubk, a, k), call(_morvex_qsub, a, kq));
    EXPECT_DD_BITS(call(_morvex_qmulk, a, k), call(_morvex_qmul, a, kq));
    EXPECT_DD_BITS(call(_morvex_qdivk, a, k), call(_morvex_qdiv, a, kq));
    EXPECT_DD_BITS(call(_morvex_ksubq, k, a), call(_morvex_qsub, kq, a));
    EXPECT_DD_BITS(call(_morvex_kdivq, k, a), call(_morvex_qdiv, kq, a));
    if (HasFailure()) break;
  }
  // 2^53 + 1 is not a double; the sums keep its unit.
  EXPECT_DD_BITS(call(_morvex_qaddk, DD{1, 0}, (1ll << 53) + 1), (DD{p2(53) + 2, 0}));
  // 2^53 + 1 + 2^-50 spans 104 bits, which a double-double holds.
  EXPECT_DD_BITS(call(_morvex_qaddk, DD{p2(-50), 0}, (1ll << 53) + 1),
                 dd_of(q2(53) + 1 + q2(-50)));
  EXPECT_DD_BITS(call(_morvex_ksubq, (1ll << 53) + 1, DD{1, 0}), (DD{p2(53), 0}));
  EXPECT_DD_BITS(call(_morvex_qdivk, DD{1, 0}, 0), (DD{kInf, 0}));
  EXPECT_DD_BITS(call(_morvex_kdivq, -6, DD{3, 0}), (DD{-2, 0}));
}

}  // namespace
