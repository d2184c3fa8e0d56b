// qcmp status codes and qcompare signs: differences that live in the low
// part, signed zeros, infinities and NaN (unordered), and differences beyond
// the double range.
#include "oracle.h"

namespace {

using namespace r16test;

const double kMax = from_bits(0x7fefffffffffffffull);

TEST(Real16Compare, Table) {
  struct Case {
    DD a, b;
    int32_t cmp, compare;
  } cases[] = {
      {{1, 0}, {1, p2(-80)}, QCMP_LESS, -1},  // the difference is all in lo
      {{1, p2(-80)}, {1, 0}, QCMP_GREATER, 1},
      {{1, p2(-60)}, {1, p2(-60)}, QCMP_EQUAL, 0},
      {{p2(53), 1}, {p2(53), 0}, QCMP_GREATER, 1},
      {{0.0, 0}, {-0.0, 0}, QCMP_EQUAL, 0},
      {{-0.0, -0.0}, {0.0, 0}, QCMP_EQUAL, 0},
      {{2, 0}, {3, 0}, QCMP_LESS, -1},
      {{-2, 0}, {-3, 0}, QCMP_GREATER, 1},
      {{p2(-1074), 0}, {0, 0}, QCMP_GREATER, 1},
      // Differences beyond the double range keep their sign.
      {{1.5e308, 0}, {-1.5e308, 0}, QCMP_GREATER, 1},
      {{-1.5e308, 0}, {1.5e308, 0}, QCMP_LESS, -1},
      {{kMax, 0}, {-kMax, 0}, QCMP_GREATER, 1},
      // Infinities count as unordered like NaNs, equal ones too.
      {{kInf, 0}, {1, 0}, QCMP_UNORDERED, 0},
      {{1, 0}, {-kInf, 0}, QCMP_UNORDERED, 0},
      {{kInf, 0}, {kInf, 0}, QCMP_UNORDERED, 0},
      {{-kInf, 0}, {kInf, 0}, QCMP_UNORDERED, 0},
      {{kNaN, 0}, {1, 0}, QCMP_UNORDERED, 0},
      {{0, 0}, {-kNaN, 0}, QCMP_UNORDERED, 0},
      {{kNaN, 0}, {kNaN, 0}, QCMP_UNORDERED, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(show(c.a) + " vs " + show(c.b));
    EXPECT_EQ(_morvex_qcmp(c.a, c.b), c.cmp);
    EXPECT_EQ(_morvex_qcompare(c.a, c.b), c.compare);
  }
}

// On random finite pairs, close ones included, both comparisons follow the
// exact order of the values.
TEST(Real16Compare, FollowsTheExactOrder) {
  Rng rng(0x5eed0010);
  for (int i = 0; i < 50000; ++i) {
    const DD a = rng.dd(-600, 600);
    DD b = rng.dd(-600, 600);
    switch (i % 4) {
      case 0: b = a; break;
      case 1: b = DD{a.hi, from_bits(bits(a.lo) + static_cast<uint64_t>(rng.between(-2, 2)))}; break;
      case 2: b = dd_of(q(a) * (1 + q2(-100) * rng.between(-8, 8))); break;
      default: break;
    }
    // (a.hi - b.hi) + (a.lo - b.lo): each difference is exact or far larger
    // than the other, so the rounded sum has the sign of the exact one.
    const Q d = (q(a.hi) - q(b.hi)) + (q(a.lo) - q(b.lo));
    const int32_t want = d > 0 ? 1 : d < 0 ? -1 : 0;
    const int32_t want_cmp = want > 0 ? QCMP_GREATER : want < 0 ? QCMP_LESS : QCMP_EQUAL;
    ASSERT_EQ(_morvex_qcompare(a, b), want) << show(a) << " vs " << show(b);
    ASSERT_EQ(_morvex_qcmp(a, b), want_cmp) << show(a) << " vs " << show(b);
  }
}

}  // namespace
