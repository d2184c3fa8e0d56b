// REAL*16 arithmetic against __float128: exact two-sum and two-product,
// error bounds of multiplication and division, normalised results, the
// range and special-value rules, and the agreement of the mixed forms.
#include <cmath>

#include "oracle.h"

namespace {

using namespace r16test;

using BinOp = DD* (*)(DD*, DD, DD);

const double kMax = from_bits(0x7fefffffffffffffull);

struct BinCase {
  const char* what;
  BinOp f;
  DD a, b, expected;
};

TEST(Real16Arithmetic, ExactResultsOfTheTable) {
  const BinCase cases[] = {
      {"1 + 2^-60", _morvex_qadd, {1, 0}, {p2(-60), 0}, {1, p2(-60)}},
      {"(1 + 2^-60) - 1", _morvex_qsub, {1, p2(-60)}, {1, 0}, {p2(-60), 0}},
      {"2^53 + 1: the unit lands in lo", _morvex_qadd, {p2(53), 0}, {1, 0}, {p2(53), 1}},
      {"2^53 - -1", _morvex_qsub, {p2(53), 0}, {-1, 0}, {p2(53), 1}},
      {"lo parts only", _morvex_qadd, {1, p2(-60)}, {-1, p2(-61)}, {3 * p2(-61), 0}},
      {"cancellation to zero", _morvex_qsub, {1, p2(-60)}, {1, p2(-60)}, {0, 0}},
      {"1 + 2^-1000 is kept", _morvex_qadd, {1, 0}, {p2(-1000), 0}, {1, p2(-1000)}},
      {"sum beyond range", _morvex_qadd, {1.5e308, 0}, {1.5e308, 0}, {kInf, 0}},
      {"negative sum beyond range", _morvex_qadd, {-1.5e308, 0}, {-1.5e308, 0}, {-kInf, 0}},
      {"difference beyond range", _morvex_qsub, {1.5e308, 0}, {-1.5e308, 0}, {kInf, 0}},
      // The leading sum is DBL_MAX; the trailing parts carry it to the
      // overflow threshold.
      {"renormalisation overflows", _morvex_qadd, {kMax, p2(969)}, {p2(969), 0}, {kInf, 0}},
      {"3 * 7", _morvex_qmul, {3, 0}, {7, 0}, {21, 0}},
      {"(1 + 2^-60)^2", _morvex_qmul, {1, p2(-60)}, {1, p2(-60)}, {1, p2(-59)}},
      {"product beyond range", _morvex_qmul, {1e200, 0}, {-1e200, 0}, {-kInf, 0}},
      {"21 / 7", _morvex_qdiv, {21, 0}, {7, 0}, {3, 0}},
      {"1 / 0", _morvex_qdiv, {1, 0}, {0, 0}, {kInf, 0}},
      {"-1 / 0", _morvex_qdiv, {-1, 0}, {0, 0}, {-kInf, 0}},
      {"1 / -0", _morvex_qdiv, {1, 0}, {-0.0, 0}, {-kInf, 0}},
      {"quotient beyond range", _morvex_qdiv, {1e300, 0}, {1e-300, 0}, {kInf, 0}},
  };
  for (const BinCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_DD_BITS(call(c.f, c.a, c.b), c.expected);
  }
}

TEST(Real16Arithmetic, SpecialOperandsGiveNaNInBothParts) {
  const DD special[] = {{kInf, 0}, {-kInf, 0}, {kNaN, 0}};
  const BinOp ops[] = {_morvex_qadd, _morvex_qsub, _morvex_qmul, _morvex_qdiv};
  for (const DD& s : special) {
    for (BinOp f : ops) {
      for (const DD r : {call(f, s, DD{2, 0}), call(f, DD{2, 0}, s)}) {
        EXPECT_TRUE(std::isnan(r.hi) && std::isnan(r.lo)) << show(s) << " gave " << show(r);
      }
    }
  }
  const DD zero_by_zero = call(_morvex_qdiv, {0, 0}, {0, 0});
  EXPECT_TRUE(std::isnan(zero_by_zero.hi) && std::isnan(zero_by_zero.lo));
}

TEST(Real16Arithmetic, ProductTable) {
  struct Case {
    const char* what;
    double x, y;
    DD expected;
  } cases[] = {
      {"(2^27+1)^2", p2(27) + 1, p2(27) + 1, {p2(54) + p2(28), 1}},
      {"scaled operand, exact", -p2(1000), p2(-100), {-p2(900), 0}},
      {"scaled second operand", p2(-100), p2(1000), {p2(900), 0}},
      {"scaled, beyond range", p2(1000), p2(30), {kInf, 0}},
      {"beyond range without scaling", 1e200, -1e200, {-kInf, 0}},
      // (2^512 - 2^460)^2 fits, but its rounded head is 2^512, whose square
      // overflows: the product is formed again scaled down.
      {"partial products overflow", from_bits(0x5fefffffffffffffull),
       from_bits(0x5fefffffffffffffull), {from_bits(0x7feffffffffffffeull), p2(918)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_DD_BITS(call(_morvex_qprod, c.x, c.y), c.expected);
  }
  DD by_ref;
  const double x = 3.0, y = p2(-70) + 1;
  EXPECT_EQ(_morvex_I_qprod(&by_ref, &x, &y), &by_ref);
  EXPECT_DD_BITS(by_ref, call(_morvex_qprod, x, y));
}

TEST(Real16Arithmetic, NegationAndIntegerMultiple) {
  EXPECT_DD_BITS(call(_morvex_qneg, {0.0, -0.0}), (DD{-0.0, 0.0}));
  const DD nan_payload{from_bits(0x7ff8000000001234ull), 1};
  EXPECT_EQ(bits(call(_morvex_qneg, nan_payload).hi), 0xfff8000000001234ull);

  const DD a{1, p2(-60)};
  for (const DD x : {a, DD{kNaN, 0}, DD{kInf, 0}, DD{-0.0, -0.0}}) {
    EXPECT_DD_BITS(call(_morvex_qmuli, x, 0), (DD{0, 0}));
    EXPECT_DD_BITS(call(_morvex_qmuli, x, 1), x);
    EXPECT_DD_BITS(call(_morvex_qmuli, x, -1), call(_morvex_qneg, x));
  }
  EXPECT_DD_BITS(call(_morvex_qmuli, a, 3), (DD{3, 3 * p2(-60)}));
  EXPECT_DD_BITS(call(_morvex_qmuli, a, -2147483647 - 1), (DD{-p2(31), -p2(-29)}));
  EXPECT_DD_BITS(call(_morvex_qmuli, {1e308, 0}, 10), (DD{kInf, 0}));
}

TEST(Real16Arithmetic, OneThird) {
  DD r;
  _morvex_qdiv(&r, {1, 0}, {3, 0});
  EXPECT_EQ(bits(r.hi), 0x3fd5555555555555ull);
  EXPECT_LE(std::fabs(r.lo), p2(-55));
  EXPECT_LE(qabs(q(r) * 3 - 1), q2(-104));
}

// Two-sum and two-product on double operands are error-free: hi + lo is the
// exact sum or product. Exponent gaps stay within 55 so that __float128
// holds the exact sums; the gaps beyond are in the table above.
TEST(Real16Arithmetic, TwoSumAndTwoProductAreExact) {
  Rng rng(0x5eed0001);
  for (int i = 0; i < 100000; ++i) {
    const int e = rng.between(-900, 900);
    const double a = rng.dbl(e, e);
    double b = rng.dbl(e - 55, e + 2);
    if (i % 4 == 0) {  // cancellation: b close to -a
      b = from_bits(bits(-a) + static_cast<uint64_t>(rng.between(-1000, 1000)));
    }
    const DD sum = call(_morvex_qadd, {a, 0}, {b, 0});
    const DD diff = call(_morvex_qsub, {a, 0}, {b, 0});
    ASSERT_TRUE(q(sum) == q(a) + q(b) && normalised(sum)) << show(a) << " + " << show(b);
    ASSERT_TRUE(q(diff) == q(a) - q(b) && normalised(diff)) << show(a) << " - " << show(b);
  }
  for (int i = 0; i < 100000; ++i) {
    double x = rng.dbl(-450, 450), y = rng.dbl(-450, 450);
    if (i % 4 == 0) {  // an operand above the scaling guard
      x = rng.dbl(960, 1023);
      y = rng.dbl(-1000, -2);
      if (rng.coin()) std::swap(x, y);
    }
    const DD p = call(_morvex_qprod, x, y);
    ASSERT_TRUE(q(p) == q(x) * q(y) && normalised(p)) << show(x) << " * " << show(y);
  }
}

// Relative error of r against the exact value v, in units of 2^-106 of `scale`.
double err_units(DD r, Q v, Q scale) {
  return to_double(qabs(q(r) - v) / (scale * q2(-106)));
}

struct Worst {
  double units = 0;
  void note(double u) { units = u > units ? u : units; }
};

// Double-double operands: addition within 4 * 2^-106 of |a| + |b|,
// multiplication within 8 * 2^-106 of |a * b|, division within 16 * 2^-106 of
// |a / b|, the bounds that the formulas' rounding errors add up to.
TEST(Real16Arithmetic, DoubleDoubleErrorBounds) {
  Rng rng(0x5eed0002);
  Worst add, mul, div;
  for (int i = 0; i < 100000; ++i) {
    const DD a = rng.dd(-400, 400);
    DD b = rng.dd(-400, 400);
    if (i % 3 == 0) b = DD{-a.hi, to_double(q(a.hi) * rng.quad(-62, -55))};  // cancellation
    if (i % 3 == 1) b = rng.dd(std::ilogb(a.hi) - 60, std::ilogb(a.hi) + 60);
    const Q A = q(a), B = q(b);
    const DD s = call(_morvex_qadd, a, b), d = call(_morvex_qsub, a, b);
    const DD m = call(_morvex_qmul, a, b), v = call(_morvex_qdiv, a, b);
    ASSERT_TRUE(normalised(s) && normalised(d) && normalised(m) && normalised(v))
        << show(a) << ", " << show(b);
    const double us = err_units(s, A + B, qabs(A) + qabs(B));
    const double ud = err_units(d, A - B, qabs(A) + qabs(B));
    const double um = err_units(m, A * B, qabs(A * B));
    const double uv = err_units(v, A / B, qabs(A / B));
    add.note(us > ud ? us : ud);
    mul.note(um);
    div.note(uv);
    ASSERT_LE(us, 4.0) << show(a) << " + " << show(b);
    ASSERT_LE(ud, 4.0) << show(a) << " - " << show(b);
    ASSERT_LE(um, 8.0) << show(a) << " * " << show(b);
    ASSERT_LE(uv, 16.0) << show(a) << " / " << show(b);
  }
  std::printf("largest error in 2^-106 units: add/sub %.2f, mul %.2f, div %.2f\n", add.units,
              mul.units, div.units);
}

// The REAL*8 and INTEGER*4 forms are the general formulas with the missing
// trailing part left out: on (d, 0) they agree with the general entry.
TEST(Real16Arithmetic, MixedFormsAgreeWithTheGeneralOnes) {
  Rng rng(0x5eed0003);
  for (int i = 0; i < 20000; ++i) {
    const DD a = rng.dd(-300, 300);
    const double d = rng.dbl(-300, 300);
    const DD dd{d, 0};
    auto same_value = [&](DD x, DD y, const char* what) {
      EXPECT_TRUE(same_bits(x.hi, y.hi) && x.lo == y.lo)
          << what << ": " << show(x) << " vs " << show(y) << " for " << show(a) << ", " << show(d);
    };
    same_value(call(_morvex_qaddd, a, d), call(_morvex_qadd, a, dd), "qaddd");
    same_value(call(_morvex_qsubd, a, d), call(_morvex_qsub, a, dd), "qsubd");
    same_value(call(_morvex_dsubq, d, a), call(_morvex_qsub, dd, a), "dsubq");
    same_value(call(_morvex_qmuld, a, d), call(_morvex_qmul, a, dd), "qmuld");
    same_value(call(_morvex_qdivd, a, d), call(_morvex_qdiv, a, dd), "qdivd");
    same_value(call(_morvex_ddivq, d, a), call(_morvex_qdiv, dd, a), "ddivq");
    const int32_t n = static_cast<int32_t>(rng.bits64());
    const DD m = call(_morvex_qmuli, a, n);
    ASSERT_TRUE(normalised(m));
    ASSERT_LE(err_units(m, q(a) * n, qabs(q(a) * n)), 4.0) << show(a) << " * " << n;
  }
  // Division by a zero REAL*8, and of a REAL*8 by a zero double-double.
  EXPECT_DD_BITS(call(_morvex_qdivd, DD{-2, 0}, 0.0), (DD{-kInf, 0}));
  EXPECT_DD_BITS(call(_morvex_ddivq, 2.0, DD{0, 0}), (DD{kInf, 0}));
  const DD nan = call(_morvex_ddivq, 0.0, DD{0, 0});
  EXPECT_TRUE(std::isnan(nan.hi) && std::isnan(nan.lo));
}

}  // namespace
