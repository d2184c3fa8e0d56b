// AINT, ANINT, FLOOR, CEILING and NINT of REAL*16: the low part counts
// wherever it moves the exact value across an integer or a half, halfway
// cases go away from zero, NaN and out-of-range results take their fixed
// values, and the by-reference twins return what the by-value entries do.
#include <cmath>

#include "control_word.h"
#include "oracle.h"

namespace {

using namespace r16test;

using Unary = DD* (*)(DD*, DD);

constexpr int32_t kIndefinite = INT32_MIN;  // 0x80000000

TEST(Real16Rounding, IntegralValuedTable) {
  const struct {
    const char* what;
    Unary f;
    DD x, expected;
  } cases[] = {
      {"floor 2.5", _morvex_floorl, {2.5, 0}, {2, 0}},
      {"floor -2.5", _morvex_floorl, {-2.5, 0}, {-3, 0}},
      {"floor just below 3", _morvex_floorl, {3, -p2(-60)}, {2, 0}},
      {"floor 2^60 - 0.5", _morvex_floorl, {p2(60), -0.5}, {p2(60), -1}},
      {"floor -2^60 + 0.5", _morvex_floorl, {-p2(60), 0.5}, {-p2(60), 0}},
      {"floor -0", _morvex_floorl, {-0.0, 0}, {0.0, 0.0}},
      {"floor NaN", _morvex_floorl, {kNaN, 5}, {0.0, 0.0}},
      {"ceiling just above 3", _morvex_ceill, {3, p2(-60)}, {4, 0}},
      {"ceiling just above -3", _morvex_ceill, {-3, p2(-60)}, {-2, 0}},
      {"ceiling -0.5", _morvex_ceill, {-0.5, 0}, {-0.0, 0.0}},
      {"ceiling 2^60 + 0.5", _morvex_ceill, {p2(60), 0.5}, {p2(60), 1}},
      {"ceiling NaN", _morvex_ceill, {-kNaN, 0}, {0.0, 0.0}},
      {"aint -2.5", _morvex_qint, {-2.5, 0}, {-2, 0}},
      {"aint just below 3", _morvex_qint, {3, -p2(-60)}, {2, 0}},
      {"aint just above -3", _morvex_qint, {-3, p2(-60)}, {-2, 0}},
      {"aint -0.5", _morvex_qint, {-0.5, 0}, {-0.0, 0.0}},
      {"aint NaN", _morvex_qint, {kNaN, 0}, {0.0, 0.0}},
      {"anint 2.25", _morvex_qnint, {2.25, 0}, {2, 0}},
      {"anint 4 + 2^-60", _morvex_qnint, {4, p2(-60)}, {4, 0}},
      {"anint 4 - 2^-60", _morvex_qnint, {4, -p2(-60)}, {4, 0}},
      // Halves in the high part: away from zero unless lo says otherwise.
      {"anint 2.5", _morvex_qnint, {2.5, 0}, {3, 0}},
      {"anint 3.5", _morvex_qnint, {3.5, 0}, {4, 0}},
      {"anint -2.5", _morvex_qnint, {-2.5, 0}, {-3, 0}},
      {"anint 2.5 - 2^-60", _morvex_qnint, {2.5, -p2(-60)}, {2, 0}},
      {"anint 2.5 + 2^-60", _morvex_qnint, {2.5, p2(-60)}, {3, 0}},
      {"anint -2.5 + 2^-60", _morvex_qnint, {-2.5, p2(-60)}, {-2, 0}},
      {"anint 0.5", _morvex_qnint, {0.5, 0}, {1, 0}},
      {"anint -0.5", _morvex_qnint, {-0.5, 0}, {-1, 0}},
      {"anint -0.25", _morvex_qnint, {-0.25, 0}, {-0.0, 0}},
      // Halves in the low part: away from zero, in the value's direction.
      {"anint 2^60 + 0.5", _morvex_qnint, {p2(60), 0.5}, {p2(60), 1}},
      {"anint 2^60 - 0.5", _morvex_qnint, {p2(60), -0.5}, {p2(60), 0}},
      {"anint -2^60 - 0.5", _morvex_qnint, {-p2(60), -0.5}, {-p2(60), -1}},
      {"anint -2^60 + 0.5", _morvex_qnint, {-p2(60), 0.5}, {-p2(60), 0}},
      {"anint 2^60 + 2.5", _morvex_qnint, {p2(60), 2.5}, {p2(60), 3}},
      {"anint 2^60 + 1.25", _morvex_qnint, {p2(60), 1.25}, {p2(60), 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_DD_BITS(call(c.f, c.x), c.expected);
  }
}

// The exact value of x below 2^61, rounded by the oracle: FLOOR, CEILING,
// AINT and ANINT (halves away from zero) of values that sit on or next to an
// integer or a half, the difference often in the low part alone.
TEST(Real16Rounding, MatchesTheExactValue) {
  Rng rng(0x5eed0040);
  auto floor_q = [](Q v) {
    const Q t = static_cast<Q>(static_cast<int64_t>(v));
    return t > v ? t - 1 : t;
  };
  for (int i = 0; i < 50000; ++i) {
    const int e = rng.between(-3, 60);
    double hi = rng.dbl(e, e);
    if (i % 3 == 0) hi = to_double(floor_q(q(hi)));
    if (i % 3 == 1) hi = to_double(floor_q(q(hi)) + Q(0.5));
    const double lo = (i % 5 == 0) ? 0.0 : (rng.coin() ? 1 : -1) * p2(e - 54 - rng.between(0, 40));
    const DD x = dd_of(q(hi) + q(lo));
    const Q v = q(x);
    const Q fl = floor_q(v), ce = -floor_q(-v);
    const Q tr = v < 0 ? ce : fl;
    const Q half_away = v < 0 ? -floor_q(-v + Q(0.5)) : floor_q(v + Q(0.5));
    const DD f = call(_morvex_floorl, x), c = call(_morvex_ceill, x);
    const DD t = call(_morvex_qint, x), n = call(_morvex_qnint, x);
    ASSERT_TRUE(q(f) == fl && normalised(f)) << "floor " << show(x) << " = " << show(f);
    ASSERT_TRUE(q(c) == ce && normalised(c)) << "ceiling " << show(x) << " = " << show(c);
    ASSERT_TRUE(q(t) == tr && normalised(t)) << "aint " << show(x) << " = " << show(t);
    ASSERT_TRUE(q(n) == half_away && normalised(n)) << "anint " << show(x) << " = " << show(n);
    if (v < Q(2147483647) && v > Q(-2147483647)) {
      ASSERT_EQ(_morvex_ifloorl(x), static_cast<int32_t>(fl)) << show(x);
      ASSERT_EQ(_morvex_iceill(x), static_cast<int32_t>(ce)) << show(x);
      ASSERT_EQ(_morvex_iqnint(x), static_cast<int32_t>(half_away)) << show(x);
    }
    ASSERT_EQ(_morvex_kiqnnt(x), static_cast<int64_t>(half_away)) << show(x);
  }
}

TEST(Real16Rounding, IntegerResultsTable) {
  const struct {
    DD x;
    int32_t floor, ceiling, nint;
  } cases[] = {
      {{2.5, 0}, 2, 3, 3},
      {{-2.5, 0}, -3, -2, -3},
      {{3, -p2(-60)}, 2, 3, 3},
      {{-3, p2(-60)}, -3, -2, -3},
      {{2.5, -p2(-60)}, 2, 3, 2},
      {{-2.5, p2(-60)}, -3, -2, -2},
      {{0.5, -p2(-60)}, 0, 1, 0},
      {{-0.0, 0}, 0, 0, 0},
      {{2147483647.5, -p2(-40)}, 2147483647, kIndefinite, 2147483647},
      {{2147483647.5, 0}, 2147483647, kIndefinite, kIndefinite},
      {{-p2(31), 0}, kIndefinite, kIndefinite, kIndefinite},
      {{-p2(31), p2(-40)}, kIndefinite, -2147483647, kIndefinite},
      {{p2(40), 0}, kIndefinite, kIndefinite, kIndefinite},
      {{kInf, 0}, kIndefinite, kIndefinite, kIndefinite},
      {{-kInf, 0}, kIndefinite, kIndefinite, kIndefinite},
      // FLOOR and CEILING of NaN are +0; NINT of NaN is out of range.
      {{kNaN, 0}, 0, 0, kIndefinite},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(show(c.x));
    EXPECT_EQ(_morvex_ifloorl(c.x), c.floor);
    EXPECT_EQ(_morvex_iceill(c.x), c.ceiling);
    EXPECT_EQ(_morvex_iqnint(c.x), c.nint);
    EXPECT_EQ(_morvex_jiqnnt(c.x), c.nint);
  }

  // INTEGER*2: the low 16 bits of the INTEGER*4 result, sign-extended.
  const struct {
    DD x;
    int32_t nint2;
  } short_cases[] = {
      {{32768, 0}, -32768}, {{-1, 0}, -1},   {{40000, 0}, -25536},
      {{65535.6, 0}, 0},    {{-2.5, 0}, -3}, {{p2(40), 0}, 0},
  };
  for (const auto& c : short_cases) EXPECT_EQ(_morvex_iiqnnt(c.x), c.nint2) << show(c.x);

  // INTEGER*8.
  const struct {
    DD x;
    int64_t nint8;
  } long_cases[] = {
      {{2.5, 0}, 3},
      {{2.5, -p2(-60)}, 2},
      {{p2(60), 0.5}, (1ll << 60) + 1},
      {{p2(60), -0.5}, 1ll << 60},
      {{-p2(60), -0.5}, -(1ll << 60) - 1},
      {{p2(62), 0}, 1ll << 62},
      {{p2(63), 0}, INT64_MIN},
      {{p2(63) - 1024, 511.5}, INT64_MAX - 511},
      {{kNaN, 0}, INT64_MIN},
      {{-kInf, 0}, INT64_MIN},
  };
  for (const auto& c : long_cases) EXPECT_EQ(_morvex_kiqnnt(c.x), c.nint8) << show(c.x);
}

// The INTEGER*4 forms store under their own control word and hand the
// caller's back.
class Real16RoundingControlWord : public f90test::ControlWordTest {};

TEST_F(Real16RoundingControlWord, CallersWordKept) {
  for (uint16_t cw : {f90test::kCwLibrary, f90test::kCwLinux, f90test::kCwChopSingle}) {
    for (const DD x : {DD{2.5, 0}, DD{-2.5, 0}, DD{kNaN, 0}, DD{p2(40), 0}}) {
      expect_cw_kept([&] { (void)_morvex_ifloorl(x); }, cw);
      expect_cw_kept([&] { (void)_morvex_iceill(x); }, cw);
      expect_cw_kept([&] { (void)_morvex_iqnint(x); }, cw);
      expect_cw_kept([&] { (void)_morvex_iiqnnt(x); }, cw);
    }
    // Rounding to nearest in the caller's word would make these 3 and -2.
    EXPECT_EQ(f90test::under_cw(cw, [] { return _morvex_ifloorl({2.5, 0}); }), 2);
    EXPECT_EQ(f90test::under_cw(cw, [] { return _morvex_iceill({-2.5, 0}); }), -2);
  }
}

}  // namespace
