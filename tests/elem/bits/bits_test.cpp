// Bit elementals of every kind, by value and by reference: the per-kind
// reading rules (narrow kinds on their sign-extended or zero-extended bits,
// counts modulo 32, INTEGER*8 counts read as 64-bit values).
#include <gtest/gtest.h>

#include "integer/entry_check.h"

using inttest::p2;

#define DECLARE_KINDS(N, i4, j4, i2, k8) \
  INTTEST_DECLARE(N, i4, int32_t)        \
  INTTEST_DECLARE(N, j4, int32_t)        \
  INTTEST_DECLARE(N, i2, int16_t)        \
  INTTEST_DECLARE(N, k8, int64_t)

DECLARE_KINDS(2, iand, jiand, iiand, kiand)
DECLARE_KINDS(2, ior, jior, iior, kior)
DECLARE_KINDS(2, ieor, jieor, iieor, kieor)
DECLARE_KINDS(1, not, jnot, inot, knot)
DECLARE_KINDS(2, ibset, jibset, iibset, kibset)
DECLARE_KINDS(2, ibclr, jibclr, iibclr, kibclr)
DECLARE_KINDS(2, btest, bjtest, bitest, bktest)
DECLARE_KINDS(3, ibits, jibits, iibits, kibits)
INTTEST_DECLARE_VALUE(3, hibits, int8_t)
DECLARE_KINDS(2, ishft, jishft, iishft, kishft)
INTTEST_DECLARE(2, shift, int32_t)
INTTEST_DECLARE(2, hishft, int8_t)
DECLARE_KINDS(3, ishftc, jishftc, iishftc, kishftc)
INTTEST_DECLARE_VALUE(3, ishftc_k2, int16_t)
INTTEST_DECLARE_VALUE(3, ishftc_k1, int8_t)
extern "C" uint32_t _morvex_I_shftc_k2(const int16_t*, const int16_t*, const int16_t*);
extern "C" uint32_t _morvex_I_shftc_k1(const int8_t*, const int8_t*, const int8_t*);

namespace {

TEST(BitLogic, WholeValueOfEveryKind) {
  const inttest::Table<int32_t, 2> and4 = {{{0xf0f0, 0xff00}, 0xf000}, {{-1, INT32_MIN}, INT32_MIN}};
  const inttest::Table<int32_t, 2> or4 = {{{0xf0f0, 0xff00}, 0xfff0}, {{INT32_MIN, 1}, INT32_MIN + 1}};
  const inttest::Table<int32_t, 2> eor4 = {{{-1, 5}, -6}, {{0xf0f0, 0xff00}, 0x0ff0}};
  const inttest::Table<int32_t, 1> not4 = {{{0}, -1}, {{INT32_MAX}, INT32_MIN}};
  INTTEST_CHECK_TABLE(2, iand, int32_t, and4);
  INTTEST_CHECK_TABLE(2, jiand, int32_t, and4);
  INTTEST_CHECK_TABLE(2, ior, int32_t, or4);
  INTTEST_CHECK_TABLE(2, jior, int32_t, or4);
  INTTEST_CHECK_TABLE(2, ieor, int32_t, eor4);
  INTTEST_CHECK_TABLE(2, jieor, int32_t, eor4);
  INTTEST_CHECK_TABLE(1, not, int32_t, not4);
  INTTEST_CHECK_TABLE(1, jnot, int32_t, not4);

  INTTEST_CHECK(2, iiand, int16_t, {{-1, 0x1234}, 0x1234}, {{-32768, -1}, -32768});
  INTTEST_CHECK(2, iior, int16_t, {{-32768, 1}, -32767}, {{0x00ff, 0x7f00}, 0x7fff});
  INTTEST_CHECK(2, iieor, int16_t, {{0x7fff, -1}, -32768}, {{0x5555, 0x5555}, 0});
  INTTEST_CHECK(1, inot, int16_t, {{0x7fff}, -32768}, {{-1}, 0}, {{0}, -1});

  INTTEST_CHECK(2, kiand, int64_t, {{-4294967296, 4294967296}, 4294967296}, {{-1, p2(40) + 3}, p2(40) + 3});
  INTTEST_CHECK(2, kior, int64_t, {{p2(40), 1}, p2(40) + 1}, {{p2(63), p2(31)}, INT64_MIN + p2(31)});
  INTTEST_CHECK(2, kieor, int64_t, {{-1, p2(32)}, ~p2(32)}, {{p2(40) + 1, p2(40)}, 1});
  INTTEST_CHECK(1, knot, int64_t, {{0}, -1}, {{p2(32)}, -p2(32) - 1}, {{INT64_MIN}, INT64_MAX});
}

TEST(BitSetClear, PositionRulesPerKind) {
  const inttest::Table<int32_t, 2> set4 = {{{0, 31}, INT32_MIN}, {{0, 32}, 1},  // modulo 32
                                           {{0, -1}, INT32_MIN}, {{4, 2}, 4},  {{4, 0}, 5}};
  const inttest::Table<int32_t, 2> clr4 = {{{-1, 0}, -2}, {{-1, 31}, INT32_MAX}, {{-1, 63}, INT32_MAX},
                                           {{1, 33}, 1}};
  INTTEST_CHECK_TABLE(2, ibset, int32_t, set4);
  INTTEST_CHECK_TABLE(2, jibset, int32_t, set4);
  INTTEST_CHECK_TABLE(2, ibclr, int32_t, clr4);
  INTTEST_CHECK_TABLE(2, jibclr, int32_t, clr4);
  // INTEGER*2 works on the sign-extended value: positions 16..31 change nothing.
  INTTEST_CHECK(2, iibset, int16_t, {{0, 20}, 0}, {{0, 15}, -32768}, {{1, 3}, 9}, {{0, 32}, 1});
  INTTEST_CHECK(2, iibclr, int16_t, {{-1, 15}, 32767}, {{-1, 20}, -1}, {{-1, 0}, -2});
  // INTEGER*8: bit POS for 0..63, I unchanged for any other 64-bit POS.
  INTTEST_CHECK(2, kibset, int64_t, {{0, 40}, p2(40)}, {{0, 63}, INT64_MIN}, {{5, 64}, 5}, {{5, -1}, 5},
                {{0, p2(32)}, 0}, {{0, p2(32) + 1}, 0}, {{0, 31}, p2(31)});
  INTTEST_CHECK(2, kibclr, int64_t, {{-1, 31}, -2147483649}, {{-1, 63}, INT64_MAX}, {{-1, 64}, -1},
                {{-1, p2(32) + 1}, -1}, {{-1, INT64_MIN}, -1});
}

TEST(BitTest, HighPositions) {
  const inttest::Table<int32_t, 2> test4 = {{{INT32_MIN, 31}, 1}, {{1, 32}, 1}, {{2, 1}, 1},
                                            {{2, 0}, 0}, {{INT32_MAX, 31}, 0}, {{INT32_MIN, -1}, 1}};
  INTTEST_CHECK_TABLE(2, btest, int32_t, test4);
  INTTEST_CHECK_TABLE(2, bjtest, int32_t, test4);
  INTTEST_CHECK(2, bitest, int16_t, {{-1, 20}, 1}, {{0x7fff, 20}, 0}, {{0x4000, 14}, 1},
                {{-32768, 15}, 1}, {{-32768, 31}, 1}, {{1, 32}, 1});
  // The result is a 64-bit 1 or 0; positions outside 0..63 read the sign bit.
  INTTEST_CHECK(2, bktest, int64_t, {{p2(40), 40}, 1}, {{p2(40), 39}, 0}, {{-1, 100}, 1}, {{1, 100}, 0},
                {{INT64_MIN, 63}, 1}, {{INT64_MIN, -1}, 1}, {{1, p2(32)}, 0}, {{p2(32), 32}, 1});
}

TEST(BitField, MasksAndShiftsPerKind) {
  const inttest::Table<int32_t, 3> bits4 = {
      {{-1, 0, 32}, -1},          {{12345, 5, 0}, 0},      {{0x12345678, 4, 8}, 0x67},
      {{INT32_MIN, 28, 4}, 8},    {{-1, 0, 31}, INT32_MAX}, {{INT32_MIN, 31, 32}, -1},
      {{0x12345678, 32, 8}, 0x78}};  // POS modulo 32
  INTTEST_CHECK_TABLE(3, ibits, int32_t, bits4);
  INTTEST_CHECK_TABLE(3, jibits, int32_t, bits4);
  INTTEST_CHECK(3, iibits, int16_t, {{-1, 0, 16}, -1}, {{0x1234, 4, 8}, 0x23}, {{-32768, 15, 1}, 1},
                {{-1, 0, 15}, 32767}, {{-32768, 12, 4}, 8}, {{0x1234, 0, 0}, 0});
  INTTEST_CHECK_VALUE(3, hibits, int8_t, {{-1, 0, 8}, -1}, {{0x5a, 1, 4}, 0xd}, {{-128, 7, 1}, 1},
                      {{-1, 0, 7}, 127}, {{-128, 4, 4}, 8});
  INTTEST_CHECK(3, kibits, int64_t, {{-1, 0, 64}, -1}, {{p2(40) + 0x30, 4, 40}, p2(36) + 3},
                {{INT64_MIN, 60, 4}, 8}, {{-1, 0, 63}, INT64_MAX}, {{0x0123456789abcdef, 32, 16}, 0x4567},
                {{INT64_MIN, 63, 64}, -1}, {{12345, 3, 0}, 0}, {{-1, 100, 8}, 0xff});
}

TEST(BitShift, MagnitudeAtLeastTheBitSizeGivesZero) {
  const inttest::Table<int32_t, 2> shift4 = {
      {{1, 32}, 0},       {{1, -32}, 0},          {{-1, -28}, 15}, {{1, 31}, INT32_MIN},
      {{INT32_MIN, -31}, 1}, {{5, INT32_MIN}, 0}, {{5, 0}, 5},     {{-1, -1}, INT32_MAX}};
  INTTEST_CHECK_TABLE(2, ishft, int32_t, shift4);
  INTTEST_CHECK_TABLE(2, jishft, int32_t, shift4);
  INTTEST_CHECK_TABLE(2, shift, int32_t, shift4);
  // Narrow kinds shift their own bits, zero-extended.
  INTTEST_CHECK(2, iishft, int16_t, {{-1, -12}, 15}, {{1, 15}, -32768}, {{1, 16}, 0}, {{-1, -16}, 0},
                {{-32768, -15}, 1}, {{-1, -1}, 32767}, {{3, -32768}, 0});
  INTTEST_CHECK(2, hishft, int8_t, {{1, 7}, -128}, {{-1, -4}, 15}, {{1, 8}, 0}, {{-128, -7}, 1},
                {{3, -128}, 0}, {{-1, 1}, -2});
  INTTEST_CHECK(2, kishft, int64_t, {{1, 63}, INT64_MIN}, {{7, 64}, 0}, {{-1, -64}, 0},
                {{-1, -1}, INT64_MAX}, {{1, 32}, p2(32)}, {{-1, -32}, 0xffffffff}, {{5, INT64_MIN}, 0},
                {{5, p2(32)}, 0}, {{5, -p2(32)}, 0}, {{p2(40), -8}, p2(32)});
}

TEST(BitRotate, CircularShiftOfTheLowSizeBits) {
  const inttest::Table<int32_t, 3> rot4 = {
      {{1, -1, 3}, 4},
      {{0x12345678, 3, 3}, 0x12345678},  // full turn
      {{-2147483647, 1, 32}, 3},
      {{0x12345678, 4, 32}, 0x23456781},
      {{0x12345678, -4, 32}, (int32_t)0x81234567},
      {{0x12345678, 36, 32}, 0x23456781},
      {{0x12345678, INT32_MAX, 8}, 0x1234563c},  // huge counts reduce by whole turns
      {{0x12345678, INT32_MIN, 8}, 0x12345678},
      {{0xfa, 1, 4}, 0xf5},
      {{0x12345678, 5, 0}, 0x12345678},  // no field: I unchanged
      {{0x12345678, 1, -3}, 0x12345678}};
  INTTEST_CHECK_TABLE(3, ishftc, int32_t, rot4);
  INTTEST_CHECK_TABLE(3, jishftc, int32_t, rot4);
  INTTEST_CHECK(3, iishftc, int16_t, {{1, -1, 5}, 16}, {{0x1234, 4, 16}, 0x2341}, {{-32768, 1, 16}, 1},
                {{0x00f1, -1, 8}, 0x00f8}, {{0x4000, 1, 16}, -32768}, {{-32768, 1, 17}, 0},
                {{0x1234, 3, 0}, 0x1234});
  INTTEST_CHECK(3, kishftc, int64_t, {{1, -1, 64}, INT64_MIN},
                {{0x0123456789abcdef, 32, 64}, (int64_t)0x89abcdef01234567},
                {{0x0123456789abcdef, 64, 64}, 0x0123456789abcdef},
                {{0x0123456789abcdef, 4, 8}, 0x0123456789abcdfe}, {{77, 1, 0}, 77},
                {{3, p2(40) + 1, 40}, 393216}, {{p2(39), 1, 40}, 1});
  // The _k2 and _k1 forms rotate the sign-extended arguments in 32 bits.
  inttest::check<int16_t, 3>("ishftc_k2", _morvex_ishftc_k2, _morvex_I_shftc_k2,
                             {{{-1, 1, 16}, -1}, {{0x4000, 1, 16}, -32768}, {{-32768, 1, 17}, 1},
                              {{1, -1, 3}, 4}, {{0x1234, 4, 16}, 0x2341}});
  inttest::check<int8_t, 3>("ishftc_k1", _morvex_ishftc_k1, _morvex_I_shftc_k1,
                            {{{1, -1, 3}, 4}, {{0x40, 1, 8}, -128}, {{-128, 1, 8}, 1}, {{-128, 1, 9}, 1}});
}

}  // namespace
