// INTEGER*8 multiply, divide, remainder and shifts: the fixed cases of each
// routine (division by zero, INT64_MIN / -1, the 32-bit and software paths),
// then randomised agreement with 64-bit C++ arithmetic.
#include <gtest/gtest.h>

#include <random>
#include <span>
#include <vector>

#include "control_word.h"
#include "int8_entries.h"

using namespace int8test;

namespace {

struct Binary {
  int64_t a, b, want;
};

using Fn = int64_t (*)(int64_t, int64_t);

void check_table(const char* name, Fn fn, const std::vector<Binary>& table) {
  for (const auto& c : table) {
    EXPECT_EQ(fn(c.a, c.b), c.want) << name << "(" << c.a << ", " << c.b << ")";
  }
}

TEST(Int8Multiply, FastAndSoftwareForms) {
  const std::vector<Binary> table = {
      {3, -5, -15},                          // 32-bit path
      {-1, -1, 1},
      {INT32_MIN, INT32_MIN, p2(62)},        // largest 32 x 32 product
      {INT32_MIN, -1, p2(31)},
      {p2(31), 2, p2(32)},                   // 2^31 is outside the 32-bit range
      {p2(32), p2(32), 0},                   // wraps to 0
      {-1, kMin, kMin},
      {kMin, kMin, 0},
      {kMax, kMax, 1},
      {kMax, 2, -2},
      {0x100000001, 0x100000001, 0x200000001},
      {-0x100000001, 0x100000001, -0x200000001},
      {0x123456789, -0x987654321, 0x28828bd331e7cc57},  // wraps past 2^64
      {0, kMin, 0},
  };
  check_table("lmul", _morvex_lmul, table);
  check_table("slow_lmul", _morvex_slow_lmul, table);
}

TEST(Int8Divide, SignedFormsAgreeOnEveryPath) {
  const std::vector<Binary> quotients = {
      {7, -2, -3},          {-7, 2, -3},         {-7, -2, 3},
      {5, 0, kMax},         {-5, 0, kMax},       {0, 0, kMax},   {kMin, 0, kMax},
      {3, p2(40), 0},       {-3, p2(40), 0},     {p2(40), p2(41), 0},
      {kMin, -1, kMin},     {kMin, 1, kMin},     {kMin, kMin, 1}, {kMax, kMin, 0},
      {INT32_MIN, -1, p2(31)},                   // not a 32-bit division
      {p2(62) + 1, 3, 0x1555555555555555},       // exact beyond 53 bits
      {kMax, 3, 0x2aaaaaaaaaaaaaaa},
      {kMax, -7, -0x1249249249249249},
      {-kMax, 2, -0x3fffffffffffffff},
      {0x7ffffffffffffffe, 0x7fffffffffffffff, 0},
      {0x7fffffffffffffff, 0x7ffffffffffffffe, 1},
      {p2(32) * 10 + 9, p2(32), 10},
  };
  check_table("ldiv", _morvex_ldiv, quotients);
  check_table("slow_ldiv", _morvex_slow_ldiv, quotients);

  const std::vector<Binary> remainders = {
      {-7, 2, -1},          {7, -2, 1},          {-7, -2, -1},
      {5, 0, kMax},         {-5, 0, kMax},       {0, 0, kMax},
      {3, p2(40), 3},       {-3, p2(40), -3},
      {kMin, -1, 0},        {kMin, kMin, 0},     {kMax, kMin, kMax},
      {INT32_MIN, -1, 0},
      {p2(62) + 1, 3, 2},
      {kMax, 10, 7},        {kMin, 10, -8},
      {-(p2(32) * 10 + 9), p2(32), -9},
  };
  check_table("lmod", _morvex_lmod, remainders);
  check_table("slow_lmod", _morvex_slow_lmod, remainders);
}

struct UBinary {
  uint64_t a, b, want;
};

TEST(Int8Divide, UnsignedFormsAndTheirDifferentZeroDivisors) {
  const uint64_t top = uint64_t{1} << 63, all = ~uint64_t{0};
  const std::vector<UBinary> q = {
      {all, 2, top - 1},  {top, top + 1, 0},  {all, top, 1},  {all, 1, all},
      {all, all, 1},      {top, 3, 0x2aaaaaaaaaaaaaaa},      {100, 7, 14},
  };
  const std::vector<UBinary> r = {
      {all, top, top - 1}, {top, top + 1, top}, {all, 2, 1},  {all, all, 0},
      {top, 3, 2},         {100, 7, 2},
  };
  for (const auto& c : q) {
    EXPECT_EQ(_morvex_uldiv(c.a, c.b), c.want) << c.a << " / " << c.b;
    EXPECT_EQ(_morvex_slow_uldiv(c.a, c.b), c.want) << c.a << " / " << c.b;
  }
  for (const auto& c : r) {
    EXPECT_EQ(_morvex_ulmod(c.a, c.b), c.want) << c.a << " mod " << c.b;
    EXPECT_EQ(_morvex_slow_ulmod(c.a, c.b), c.want) << c.a << " mod " << c.b;
  }
  // Division by zero: the signed routines answer below 2^63, the software
  // form above, and the software form always.
  const uint64_t smax = static_cast<uint64_t>(kMax);
  EXPECT_EQ(_morvex_uldiv(5, 0), smax);
  EXPECT_EQ(_morvex_ulmod(5, 0), smax);
  EXPECT_EQ(_morvex_uldiv(top, 0), all);
  EXPECT_EQ(_morvex_ulmod(all, 0), all);
  EXPECT_EQ(_morvex_slow_uldiv(5, 0), all);
  EXPECT_EQ(_morvex_slow_ulmod(5, 0), all);
  EXPECT_EQ(_morvex_slow_uldiv(0, 0), all);
}

// Shifts of a value with both words and both halves distinguishable.
TEST(Int8Shift, CountTable) {
  const int64_t a = static_cast<int64_t>(0x8123456789abcdef);
  struct Row {
    int32_t n;
    uint64_t left, right, arith;
  };
  const Row rows[] = {
      {0, 0x8123456789abcdef, 0x8123456789abcdef, 0x8123456789abcdef},
      {1, 0x02468acf13579bde, 0x4091a2b3c4d5e6f7, 0xc091a2b3c4d5e6f7},
      {4, 0x123456789abcdef0, 0x08123456789abcde, 0xf8123456789abcde},
      {31, 0xc4d5e6f780000000, 0x0000000102468acf, 0xffffffff02468acf},
      {32, 0x89abcdef00000000, 0x0000000081234567, 0xffffffff81234567},
      {33, 0x13579bde00000000, 0x000000004091a2b3, 0xffffffffc091a2b3},
      {36, 0x9abcdef000000000, 0x0000000008123456, 0xfffffffff8123456},
      {63, 0x8000000000000000, 0x0000000000000001, 0xffffffffffffffff},
      {64, 0, 0, 0xffffffffffffffff},
      {100, 0, 0, 0xffffffffffffffff},
      {INT32_MAX, 0, 0, 0xffffffffffffffff},
      {-1, 0, 0, 0xffffffffffffffff},  // negative counts act like counts above 63
      {INT32_MIN, 0, 0, 0xffffffffffffffff},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(static_cast<uint64_t>(_morvex_llshift(a, r.n)), r.left) << "llshift " << r.n;
    EXPECT_EQ(static_cast<uint64_t>(_morvex_rlshift(a, r.n)), r.right) << "rlshift " << r.n;
    EXPECT_EQ(static_cast<uint64_t>(_morvex_arlshift(a, r.n)), r.arith) << "arlshift " << r.n;
  }
  // Sign fill of a non-negative value is zero fill.
  const int64_t b = 0x4123456789abcdef;
  const std::pair<int32_t, int64_t> positive[] = {
      {1, 0x2091a2b3c4d5e6f7}, {32, 0x41234567}, {33, 0x2091a2b3}, {62, 1}, {63, 0}, {100, 0}};
  for (const auto& [n, want] : positive) EXPECT_EQ(_morvex_arlshift(b, n), want) << n;
  EXPECT_EQ(_morvex_llshift(1, 63), kMin);
  EXPECT_EQ(_morvex_rlshift(-1, 32), 0xffffffff);
  EXPECT_EQ(_morvex_arlshift(-8, 1), -4);
  EXPECT_EQ(_morvex_arlshift(-1, 100), -1);
}

// The x87 paths must be exact whatever the caller's precision and rounding,
// and hand the caller's control word back.
class Int8ControlWord : public f90test::ControlWordTest {};

TEST_F(Int8ControlWord, DivideAndRemainderExactUnderEveryCallerMode) {
  const uint16_t modes[] = {f90test::kCwLibrary, f90test::kCwLinux, f90test::kCwChopSingle,
                            0x087f /* up, 24 bits */, 0x047f /* down, 24 bits */};
  const Binary divs[] = {{p2(62) + 1, 3, 0x1555555555555555},
                         {kMax, 3, 0x2aaaaaaaaaaaaaaa},
                         {-kMax, 7, -0x1249249249249249},
                         {kMin, -1, kMin},
                         {7, -2, -3},
                         {5, 0, kMax},
                         {3, p2(40), 0}};
  const Binary mods[] = {{p2(62) + 1, 3, 2}, {kMax, 10, 7}, {kMin, 10, -8}, {kMin, -1, 0},
                         {-7, 2, -1},        {5, 0, kMax},  {3, p2(40), 3}};
  const Binary muls[] = {{3, -5, -15}, {p2(32), p2(32), 0}, {kMax, kMax, 1}};
  const struct {
    const char* name;
    int64_t (*fn)(int64_t, int64_t);
    std::span<const Binary> rows;
  } ops[] = {{"ldiv", _morvex_ldiv, divs}, {"lmod", _morvex_lmod, mods}, {"lmul", _morvex_lmul, muls}};
  for (uint16_t cw : modes) {
    for (const auto& op : ops) {
      for (const auto& c : op.rows) {
        int64_t got = 0;
        expect_cw_kept([&] { got = op.fn(c.a, c.b); }, cw);
        EXPECT_EQ(got, c.want) << op.name << "(" << c.a << ", " << c.b << ") under cw " << std::hex
                               << cw;
      }
    }
  }
}

// Operands from every class the routines branch on.
int64_t operand(std::mt19937_64& g) {
  const uint64_t r = g();
  switch (r % 8) {
    case 0: return static_cast<int32_t>(g());                       // 32-bit range
    case 1: return static_cast<int8_t>(g());                        // tiny, often 0 / ±1
    case 2: return static_cast<int64_t>(g());                       // anything
    case 3: return static_cast<int64_t>(g() >> (g() % 64));         // any magnitude
    case 4: return -static_cast<int64_t>(g() >> (1 + g() % 63));
    case 5: return static_cast<int64_t>((uint64_t{1} << (g() % 64)) + (g() % 3) - 1);
    case 6: {
      const int64_t edges[] = {kMin, kMax, INT32_MIN, INT32_MAX, -1, 0, 1, p2(32), -p2(32)};
      return edges[g() % 9];
    }
    default: return -static_cast<int64_t>(static_cast<uint32_t>(g()));
  }
}

TEST(Int8Random, AgreesWith64BitArithmetic) {
  std::mt19937_64 g(20240611);
  for (int i = 0; i < 200000; ++i) {
    const int64_t a = operand(g), b = operand(g);
    const uint64_t ua = static_cast<uint64_t>(a), ub = static_cast<uint64_t>(b);
    const int64_t prod = static_cast<int64_t>(ua * ub);
    const int64_t quot = b == 0 ? kMax : (a == kMin && b == -1) ? kMin : a / b;
    const int64_t rem = b == 0 ? kMax : b == -1 ? 0 : a % b;
    ASSERT_EQ(_morvex_lmul(a, b), prod) << a << " * " << b;
    ASSERT_EQ(_morvex_slow_lmul(a, b), prod) << a << " * " << b;
    ASSERT_EQ(_morvex_ldiv(a, b), quot) << a << " / " << b;
    ASSERT_EQ(_morvex_slow_ldiv(a, b), quot) << a << " / " << b;
    ASSERT_EQ(_morvex_lmod(a, b), rem) << a << " mod " << b;
    ASSERT_EQ(_morvex_slow_lmod(a, b), rem) << a << " mod " << b;

    const bool high = ((ua | ub) >> 63) != 0;
    const uint64_t by_zero = high ? ~uint64_t{0} : static_cast<uint64_t>(kMax);
    ASSERT_EQ(_morvex_uldiv(ua, ub), ub == 0 ? by_zero : ua / ub) << ua << " / " << ub;
    ASSERT_EQ(_morvex_ulmod(ua, ub), ub == 0 ? by_zero : ua % ub) << ua << " mod " << ub;
    ASSERT_EQ(_morvex_slow_uldiv(ua, ub), ub == 0 ? ~uint64_t{0} : ua / ub);
    ASSERT_EQ(_morvex_slow_ulmod(ua, ub), ub == 0 ? ~uint64_t{0} : ua % ub);
  }
}

}  // namespace
