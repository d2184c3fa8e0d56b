// ABS, DIM, SIGN, MOD and integer powers of every kind, by value and by
// reference, with narrow results checked as sign-extended registers.
#include <gtest/gtest.h>

#include "entry_check.h"

using inttest::p2;

INTTEST_DECLARE(1, iabs, int32_t)
INTTEST_DECLARE(1, jiabs, int32_t)
INTTEST_DECLARE(1, iiabs, int16_t)
INTTEST_DECLARE(1, kiabs, int64_t)
INTTEST_DECLARE(2, idim, int32_t)
INTTEST_DECLARE(2, jidim, int32_t)
INTTEST_DECLARE(2, iidim, int16_t)
INTTEST_DECLARE(2, kidim, int64_t)
INTTEST_DECLARE(2, isign, int32_t)
INTTEST_DECLARE(2, jisign, int32_t)
INTTEST_DECLARE(2, iisign, int16_t)
INTTEST_DECLARE(2, kisign, int64_t)
INTTEST_DECLARE(2, mod, int32_t)
INTTEST_DECLARE(2, jmod, int32_t)
INTTEST_DECLARE(2, imod, int16_t)
INTTEST_DECLARE(2, kmod, int64_t)
INTTEST_DECLARE_VALUE(2, itoi, int32_t)
INTTEST_DECLARE_VALUE(2, kitoki, int64_t)

namespace {

TEST(IntegerAbs, EveryKind) {
  const inttest::Table<int32_t, 1> table = {{{INT32_MIN}, INT32_MIN}, {{-5}, 5}, {{7}, 7}, {{0}, 0},
                                            {{-INT32_MAX}, INT32_MAX}};
  INTTEST_CHECK_TABLE(1, iabs, int32_t, table);
  INTTEST_CHECK_TABLE(1, jiabs, int32_t, table);
  INTTEST_CHECK(1, iiabs, int16_t, {{-32768}, -32768}, {{-1}, 1}, {{32767}, 32767}, {{-300}, 300});
  INTTEST_CHECK(1, kiabs, int64_t, {{INT64_MIN}, INT64_MIN}, {{-p2(40)}, p2(40)}, {{-1}, 1},
                {{-p2(32)}, p2(32)}, {{-(p2(32) - 1)}, p2(32) - 1}, {{INT64_MAX}, INT64_MAX});
}

TEST(IntegerDim, NarrowKindTakesTheSignOfTheWrappedDifference) {
  const inttest::Table<int32_t, 2> table = {{{3, 5}, 0}, {{5, 3}, 2}, {{-1, INT32_MAX}, 0},
                                            {{INT32_MAX, -1}, INT32_MIN}, {{-3, -5}, 2}};
  INTTEST_CHECK_TABLE(2, idim, int32_t, table);
  INTTEST_CHECK_TABLE(2, jidim, int32_t, table);
  INTTEST_CHECK(2, iidim, int16_t, {{32767, -1}, 0}, {{5, 3}, 2}, {{3, 5}, 0},
                {{-32768, 32767}, 1},  // a < b, but the 16-bit difference wraps to 1
                {{100, -100}, 200});
  INTTEST_CHECK(2, kidim, int64_t, {{3, 5}, 0}, {{p2(40), 1}, p2(40) - 1}, {{INT64_MAX, -1}, INT64_MIN},
                {{-p2(32), 1}, 0}, {{p2(32), -1}, p2(32) + 1}, {{-1, -p2(33)}, p2(33) - 1});
}

TEST(IntegerSign, ZeroCountsAsPositive) {
  const inttest::Table<int32_t, 2> table = {{{-5, 0}, 5}, {{5, -3}, -5}, {{-5, -1}, -5}, {{5, 9}, 5},
                                            {{INT32_MIN, 1}, INT32_MIN}, {{0, -1}, 0}};
  INTTEST_CHECK_TABLE(2, isign, int32_t, table);
  INTTEST_CHECK_TABLE(2, jisign, int32_t, table);
  INTTEST_CHECK(2, iisign, int16_t, {{-32768, 1}, -32768}, {{5, -1}, -5}, {{-5, 0}, 5},
                {{7, -32768}, -7}, {{-7, 32767}, 7});
  INTTEST_CHECK(2, kisign, int64_t, {{-5, -1}, -5}, {{5, -p2(40)}, -5}, {{p2(40), -1}, -p2(40)},
                {{5, 0}, 5}, {{-p2(40), p2(32)}, p2(40)}, {{INT64_MIN, 1}, INT64_MIN});
}

TEST(IntegerMod, RemainderHasTheSignOfTheDividendAndNeverTraps) {
  const inttest::Table<int32_t, 2> table = {{{-7, 2}, -1}, {{7, -2}, 1}, {{INT32_MIN, -1}, 0},
                                            {{9, 0}, 9}, {{INT32_MIN, 0}, INT32_MIN},
                                            {{INT32_MIN, INT32_MAX}, -1}, {{3, 5}, 3}};
  INTTEST_CHECK_TABLE(2, mod, int32_t, table);
  INTTEST_CHECK_TABLE(2, jmod, int32_t, table);
  INTTEST_CHECK(2, imod, int16_t, {{-7, 2}, -1}, {{-32768, -1}, 0}, {{9, 0}, 9},
                {{32767, -32768}, 32767}, {{-32768, 1000}, -768});
  // The by-reference INTEGER*8 values differ from their low words.
  INTTEST_CHECK(2, kmod, int64_t, {{9, 0}, 9}, {{INT64_MIN, -1}, 0}, {{-7, 2}, -1},
                {{p2(62) + 1, 3}, 2}, {{INT64_MIN, 10}, -8}, {{p2(40) + 7, p2(33)}, 7},
                {{-p2(40) - 7, p2(33)}, -7}, {{INT64_MIN, 0}, INT64_MIN});
}

TEST(IntegerPower, SpecialExponentsAndWrapping) {
  INTTEST_CHECK_VALUE(2, itoi, int32_t, {{0, 0}, 1}, {{0, -1}, 0}, {{2, -1}, 0}, {{-1, -3}, -1},
                      {{-1, -4}, 1}, {{1, -5}, 1}, {{3, 4}, 81}, {{2, 32}, 0}, {{2, 31}, INT32_MIN},
                      {{-2, 31}, INT32_MIN}, {{-3, 3}, -27}, {{0, 5}, 0}, {{7, 1}, 7},
                      {{3, 21}, 1870418611}, {{-1, INT32_MAX}, -1}, {{1, INT32_MIN}, 1});
  INTTEST_CHECK_VALUE(2, kitoki, int64_t, {{2, 40}, 1099511627776}, {{-1, -3}, -1}, {{-1, -4}, 1},
                      {{1, -7}, 1}, {{0, 0}, 1}, {{5, -1}, 0}, {{2, 63}, INT64_MIN}, {{2, 64}, 0},
                      {{-2, 63}, INT64_MIN}, {{3, 40}, -6289078614652622815},
                      {{-3, 41}, 420491770248316829}, {{p2(32), 2}, 0}, {{-1, p2(40) + 1}, -1});
}

}  // namespace
