// REAL*16 MOD, DIM, ABS and SIGN, and the by-reference twins of every
// REAL*16 function that has one.
#include <cmath>

#include "oracle.h"

namespace {

using namespace r16test;

using Binary = DD* (*)(DD*, DD, DD);

TEST(Real16ModSign, Table) {
  const DD qnan{from_bits(0x7ff8000000000000ull), 0.0};
  const struct {
    const char* what;
    Binary f;
    DD a, b, expected;
  } cases[] = {
      {"mod 7, 2", _morvex_fmodl, {7, 0}, {2, 0}, {1, 0}},
      {"mod -7, 2", _morvex_fmodl, {-7, 0}, {2, 0}, {-1, 0}},
      {"mod 7, -2", _morvex_fmodl, {7, 0}, {-2, 0}, {1, 0}},
      {"mod 1 + 2^-60, 1", _morvex_fmodl, {1, p2(-60)}, {1, 0}, {p2(-60), 0}},
      {"mod 2^60 + 1, 3", _morvex_fmodl, {p2(60), 1}, {3, 0}, {2, 0}},
      {"mod by zero", _morvex_fmodl, {7, 0}, {0, 0}, qnan},
      {"mod by -0", _morvex_fmodl, {7, 0}, {-0.0, 1}, qnan},
      {"mod by NaN", _morvex_fmodl, {7, 0}, {-kNaN, 0}, qnan},
      {"dim 5, 3", _morvex_fdiml, {5, 0}, {3, 0}, {2, 0}},
      {"dim 3, 5", _morvex_fdiml, {3, 0}, {5, 0}, {0, 0}},
      {"dim in lo", _morvex_fdiml, {1, p2(-60)}, {1, 0}, {p2(-60), 0}},
      {"dim in lo, negative", _morvex_fdiml, {1, 0}, {1, p2(-60)}, {0, 0}},
      {"dim NaN", _morvex_fdiml, {kNaN, 0}, {1, 0}, {0, 0}},
      {"dim beyond range", _morvex_fdiml, {1.5e308, 0}, {-1.5e308, 0}, {kInf, 0}},
      {"sign to negative", _morvex_copysignl, {1, -p2(-60)}, {-2, 0}, {-1, p2(-60)}},
      {"-0 counts as positive", _morvex_copysignl, {-1, p2(-60)}, {-0.0, 0}, {1, -p2(-60)}},
      {"negative NaN counts as positive",
       _morvex_copysignl,
       {-1, p2(-60)},
       {-kNaN, 0},
       {1, -p2(-60)}},
      {"same sign kept", _morvex_copysignl, {-1, p2(-60)}, {-3, 0}, {-1, p2(-60)}},
      {"sign of a's zero", _morvex_copysignl, {-0.0, 0.0}, {3, 0}, {0.0, -0.0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_DD_BITS(call(c.f, c.a, c.b), c.expected);
  }
  const struct {
    DD x, expected;
  } abs_cases[] = {
      {{-1, p2(-60)}, {1, -p2(-60)}},
      {{1, -p2(-60)}, {1, -p2(-60)}},
      {{-0.0, 0.0}, {-0.0, 0.0}},  // unchanged: -0 is not below 0
      {{-kInf, 0}, {kInf, -0.0}},
      {{from_bits(0xfff8000000000001ull), 1}, {from_bits(0xfff8000000000001ull), 1}},
  };
  for (const auto& c : abs_cases) {
    DD r;
    EXPECT_EQ(_morvex_fabsl(&r, c.x), &r);
    EXPECT_DD_BITS(r, c.expected);
  }
}

// MOD(a, b) = a - AINT(a/b)*b with the exact quotient's integer part while
// the quotient is below 2^50: sign of a, magnitude below |b|, and within a
// 16 units of 2^-106 |a| of the exact remainder (the error bounds of the
// multiplication and the subtraction).
TEST(Real16ModSign, RemainderMatchesTheExactOne) {
  Rng rng(0x5eed0050);
  for (int i = 0; i < 20000; ++i) {
    const DD b = rng.dd(-40, 40);
    const DD a = dd_of(q(b) * rng.quad(0, 49));
    const Q A = q(a), B = q(b);
    const Q ratio = A / B;
    const Q t = static_cast<Q>(static_cast<int64_t>(ratio));
    const Q frac = qabs(ratio - t);
    if (frac < q2(-40) || frac > 1 - q2(-40)) continue;  // integer part not settled by 106 bits
    const Q exact = A - t * B;
    const DD r = call(_morvex_fmodl, a, b);
    ASSERT_TRUE(q(r) == 0 || ((q(r) < 0) == (A < 0))) << show(a) << " mod " << show(b);
    ASSERT_LT(qabs(q(r)), qabs(B)) << show(a) << " mod " << show(b);
    ASSERT_LE(qabs(q(r) - exact), 16 * q2(-106) * qabs(A)) << show(a) << " mod " << show(b);
  }
}

// A by-reference twin returns exactly what its by-value entry returns,
// NaN payloads and signed zeros included.
TEST(Real16ModSign, ByReferenceTwinsAgree) {
  const DD values[] = {
      {2.5, -p2(-60)}, {-7, p2(-55)}, {-0.0, 0.0}, {3, 0}, {from_bits(0xfff8000000000abcull), 0},
      {kInf, 0},       {p2(60), -0.5}};
  auto same_dd = [](auto by_value, auto by_ref, DD a, DD b) {
    DD v, r;
    by_value(&v, a, b);
    EXPECT_EQ(by_ref(&r, &a, &b), &r);
    EXPECT_DD_BITS(r, v);
  };
  auto same_dd1 = [](auto by_value, auto by_ref, DD a) {
    DD v, r;
    by_value(&v, a);
    EXPECT_EQ(by_ref(&r, &a), &r);
    EXPECT_DD_BITS(r, v);
  };
  for (const DD& a : values) {
    SCOPED_TRACE(show(a));
    for (const DD& b : values) {
      same_dd(_morvex_fmodl, _morvex_I_fmodl, a, b);
      same_dd(_morvex_fdiml, _morvex_I_fdiml, a, b);
      same_dd(_morvex_copysignl, _morvex_I_copysignl, a, b);
    }
    same_dd1(_morvex_fabsl, _morvex_I_fabsl, a);
    same_dd1(_morvex_qint, _morvex_I_qint, a);
    same_dd1(_morvex_qnint, _morvex_I_qnint, a);
    EXPECT_EQ(_morvex_I_iqnint(&a), _morvex_iqnint(a));
    EXPECT_EQ(_morvex_I_jiqnnt(&a), _morvex_jiqnnt(a));
    EXPECT_EQ(_morvex_I_iiqnnt(&a), _morvex_iiqnnt(a));
    EXPECT_EQ(_morvex_I_kiqnnt(&a), _morvex_kiqnnt(a));
    DD v, r;
    _morvex_qprod(&v, a.hi, a.lo);
    EXPECT_EQ(_morvex_I_qprod(&r, &a.hi, &a.lo), &r);
    EXPECT_DD_BITS(r, v);
  }
}

}  // namespace
