// Conversions between INTEGER*8 and REAL: saturation of the fast and the
// software forms (which differ on negative NaNs), exact st(0) results, the
// software forms' truncation, and the caller's control word on every path.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include "control_word.h"
#include "int8_entries.h"

using namespace int8test;

namespace {

const double kNaN = std::bit_cast<double>(0x7ff8000000000001ull);
const double kNegNaN = std::bit_cast<double>(0xfff8000000000000ull);
const double kInf = std::numeric_limits<double>::infinity();
const float kNaNf = std::bit_cast<float>(0x7fc00001u);
const float kNegNaNf = std::bit_cast<float>(0xffc00000u);
const float kInff = std::numeric_limits<float>::infinity();

struct ToInt8 {
  double x;
  int64_t fast, slow;
};

// Every case is also a float case when x is a single (checked below).
const ToInt8 kToInt8[] = {
    {1e19, kMax, kMax},
    {-1e19, kMin, kMin},
    {0x1p63, kMax, kMax},
    {-0x1p63, kMin, kMin},
    {0x1p63 - 1024, 0x7ffffffffffffc00, 0x7ffffffffffffc00},  // largest double below 2^63
    {-0x1p63 + 1024, -0x7ffffffffffffc00, -0x7ffffffffffffc00},
    {kInf, kMax, kMax},
    {-kInf, kMin, kMin},
    {kNaN, kMax, kMax},
    {kNegNaN, kMax, kMin},  // the fast form reads NaN; the software form the sign bit
    {-2.9, -2, -2},
    {2.9, 2, 2},
    {0.999999, 0, 0},
    {-0.5, 0, 0},
    {-0.0, 0, 0},
    {0x1p-1074, 0, 0},
    {0x1p52 + 1, 0x10000000000001, 0x10000000000001},
    {0x1p53, p2(53), p2(53)},
    {-0x1p62 - 0x1p10, -p2(62) - p2(10), -p2(62) - p2(10)},
    {4503599627370495.5, 4503599627370495, 4503599627370495},
    {-123456789.75, -123456789, -123456789},
};

TEST(Int8Convert, RealToInteger8SaturatesAndTruncates) {
  for (const auto& c : kToInt8) {
    EXPECT_EQ(_morvex_cvtdll(c.x), c.fast) << "cvtdll " << c.x;
    EXPECT_EQ(_morvex_slow_cvtdll(c.x), c.slow) << "slow_cvtdll " << c.x;
    const float f = static_cast<float>(c.x);
    if (static_cast<double>(f) != c.x && !std::isnan(c.x)) continue;
    EXPECT_EQ(_morvex_cvtfll(f), c.fast) << "cvtfll " << c.x;
    EXPECT_EQ(_morvex_slow_cvtfll(f), c.slow) << "slow_cvtfll " << c.x;
  }
  // Singles whose doubles are not in the table.
  EXPECT_EQ(_morvex_cvtfll(kNaNf), kMax);
  EXPECT_EQ(_morvex_slow_cvtfll(kNaNf), kMax);
  EXPECT_EQ(_morvex_cvtfll(kNegNaNf), kMax);
  EXPECT_EQ(_morvex_slow_cvtfll(kNegNaNf), kMin);
  EXPECT_EQ(_morvex_cvtfll(-kInff), kMin);
  EXPECT_EQ(_morvex_cvtfll(0x1.fffffep62f), 0x7fffff8000000000);  // largest single below 2^63
  EXPECT_EQ(_morvex_slow_cvtfll(-0x1.fffffep62f), -0x7fffff8000000000);
  EXPECT_EQ(_morvex_slow_cvtfll(0x1.fffffep23f), 16777215);  // 2^24 - 1 exactly (e = 150)
  EXPECT_EQ(_morvex_slow_cvtfll(8388607.5f), 8388607);
  EXPECT_EQ(_morvex_slow_cvtfll(0x1p39f), p2(39));
}

TEST(Int8Convert, Integer8ToRealIsExactInSt0) {
  const int64_t signed_values[] = {kMax, kMin, -1, 0, p2(53) + 1, -(p2(53) + 1), p2(62) + 1,
                                   0x123456789abcdef};
  for (int64_t a : signed_values) {
    const long double want = static_cast<long double>(a);  // exact: 64-bit significand
    EXPECT_EQ(_morvex_cvtlld(a), want) << a;
    EXPECT_EQ(_morvex_cvtllf(a), want) << a;
    if (a >= 0) {
      EXPECT_EQ(_morvex_cvtulld(static_cast<uint64_t>(a)), want) << a;
      EXPECT_EQ(_morvex_cvtullf(static_cast<uint64_t>(a)), want) << a;
    }
  }
  EXPECT_EQ(_morvex_cvtlld(kMax), 9223372036854775807.0L);
  EXPECT_EQ(_morvex_cvtlld(-1), -1.0L);
  // Bit 63 set: the unsigned forms truncate to the format's significand.
  const uint64_t all = ~uint64_t{0};
  EXPECT_EQ(_morvex_cvtulld(all), 0x1p64L - 2048);
  EXPECT_EQ(_morvex_cvtullf(all), 0x1p64L - 0x1p40L);
  EXPECT_EQ(_morvex_cvtulld(0x8000000000000401), 0x1p63L);
  EXPECT_EQ(_morvex_cvtulld(0x8000000000000800), 0x1p63L + 2048);
  EXPECT_EQ(_morvex_cvtullf(0x8000010000000000), 0x1p63L + 0x1p40L);
  EXPECT_EQ(_morvex_cvtullf(0x80000100ffffffff), 0x1p63L + 0x1p40L);
}

// The caller's store rounds the exact value in the caller's mode.
TEST(Int8Convert, CallerStoreRoundsInCallersMode) {
  const int64_t a = p2(53) + 1;
  const double nearest = f90test::under_cw(f90test::kCwLibrary, [&] {
    volatile double d = static_cast<double>(_morvex_cvtulld(static_cast<uint64_t>(a)));
    return static_cast<double>(d);
  });
  const double up = f90test::under_cw(0x1a7f, [&] {  // up, 53 bits
    volatile double d = static_cast<double>(_morvex_cvtulld(static_cast<uint64_t>(a)));
    return static_cast<double>(d);
  });
  EXPECT_EQ(nearest, 0x1p53);
  EXPECT_EQ(up, 0x1p53 + 2);
}

struct ToReal {
  int64_t a;
  long double d, f;  // software REAL*8 and REAL*4 results
};

TEST(Int8Convert, SoftwareFormsTruncate) {
  const ToReal table[] = {
      {0, 0.0L, 0.0L},
      {1, 1.0L, 1.0L},
      {-1, -1.0L, -1.0L},
      {p2(24) + 1, 0x1p24L + 1, 0x1p24L},
      {-(p2(24) + 1), -0x1p24L - 1, -0x1p24L},
      {p2(53) + 1, 0x1p53L, 0x1p53L},
      {-(p2(53) + 3), -0x1p53L - 2, -0x1p53L},
      {kMax, 0x1p63L - 1024, 0x1p63L - 0x1p39L},
      {kMin, -0x1p63L, -0x1p63L},
      {0x00000000ffffffff, 4294967295.0L, 0x1p32L - 256},
      {0x0000000100000001, 4294967297.0L, 0x1p32L},
      {0x123456789abcdef, 0x123456789abcde0, 0x123456600000000},
  };
  for (const auto& c : table) {
    EXPECT_EQ(_morvex_slow_cvtlld(c.a), c.d) << "slow_cvtlld " << c.a;
    EXPECT_EQ(_morvex_slow_cvtllf(c.a), c.f) << "slow_cvtllf " << c.a;
    if (c.a >= 0) {
      EXPECT_EQ(_morvex_slow_cvtulld(static_cast<uint64_t>(c.a)), c.d) << c.a;
      EXPECT_EQ(_morvex_slow_cvtullf(static_cast<uint64_t>(c.a)), c.f) << c.a;
    }
  }
  EXPECT_FALSE(std::signbit(_morvex_slow_cvtlld(0)));
  EXPECT_FALSE(std::signbit(_morvex_slow_cvtllf(0)));
  EXPECT_EQ(_morvex_slow_cvtulld(~uint64_t{0}), 0x1p64L - 2048);
  EXPECT_EQ(_morvex_slow_cvtullf(~uint64_t{0}), 0x1p64L - 0x1p40L);
  EXPECT_EQ(_morvex_slow_cvtulld(uint64_t{1} << 63), 0x1p63L);
}

// The software forms agree with a store of the exact value under rounding
// toward zero (an independent truncation by the x87 unit).
TEST(Int8Convert, SoftwareFormsMatchChoppedStores) {
  std::mt19937_64 g(7);
  for (int i = 0; i < 20000; ++i) {
    const int64_t a = static_cast<int64_t>(g()) >> (g() % 64);
    const long double exact = static_cast<long double>(a);
    const auto chopped = [&](auto as) {
      return f90test::under_cw(0x0f7f /* toward zero, 64 bits */, [&] {
        volatile decltype(as) v = static_cast<decltype(as)>(exact);
        return static_cast<long double>(v);
      });
    };
    ASSERT_EQ(_morvex_slow_cvtlld(a), chopped(0.0)) << a;
    ASSERT_EQ(_morvex_slow_cvtllf(a), chopped(0.0f)) << a;
    ASSERT_EQ(_morvex_cvtdll(static_cast<double>(chopped(0.0))), static_cast<int64_t>(chopped(0.0)));
  }
}

// Random encodings around the interesting exponents (|x| < 1 up to beyond
// 2^63, NaNs and infinities), against the x87 unit's own truncating store.
template <class F, class Bits>
void check_random_reals(int exponent_bits, int fraction_bits, int bias) {
  std::mt19937_64 g(fraction_bits);
  for (int i = 0; i < 100000; ++i) {
    const Bits sign = static_cast<Bits>(g() & 1) << (exponent_bits + fraction_bits);
    Bits e = static_cast<Bits>(bias - 3 + static_cast<int>(g() % 70));
    if (g() % 50 == 0) e = (Bits{1} << exponent_bits) - 1;  // Inf and NaN
    const Bits fraction = static_cast<Bits>(g() >> (g() % 64)) & ((Bits{1} << fraction_bits) - 1);
    const F x = std::bit_cast<F>(static_cast<Bits>(sign | (e << fraction_bits) | fraction));
    int64_t want;
    if (std::isnan(x) || x >= 0x1p63) {
      want = kMax;
    } else if (x <= -0x1p63) {
      want = kMin;
    } else {
      want = static_cast<int64_t>(x);  // fistp under round toward zero
    }
    const int64_t slow_want = std::isnan(x) && std::signbit(x) ? kMin : want;
    if constexpr (sizeof(F) == 8) {
      ASSERT_EQ(_morvex_cvtdll(x), want) << x;
      ASSERT_EQ(_morvex_slow_cvtdll(x), slow_want) << x;
    } else {
      ASSERT_EQ(_morvex_cvtfll(x), want) << x;
      ASSERT_EQ(_morvex_slow_cvtfll(x), slow_want) << x;
    }
  }
}

TEST(Int8Convert, RandomRealsAgreeWithTheX87TruncatingStore) {
  check_random_reals<double, uint64_t>(11, 52, 1023);
  check_random_reals<float, uint32_t>(8, 23, 127);
}

class Int8ConvertCw : public f90test::ControlWordTest {};

TEST_F(Int8ConvertCw, CallersControlWordKeptOnEveryPath) {
  const uint16_t modes[] = {f90test::kCwLibrary, f90test::kCwLinux, f90test::kCwChopSingle,
                            0x087f, 0x1e7f};
  for (uint16_t cw : modes) {
    for (const auto& c : kToInt8) {
      int64_t got = 0;
      expect_cw_kept([&] { got = _morvex_cvtdll(c.x); }, cw);
      EXPECT_EQ(got, c.fast) << "cvtdll " << c.x << " under cw " << std::hex << cw;
      expect_cw_kept([&] { got = _morvex_cvtfll(static_cast<float>(c.x)); }, cw);
    }
    // Truncation even when the caller rounds up or to nearest.
    int64_t got = 0;
    expect_cw_kept([&] { got = _morvex_cvtdll(-2.9); }, cw);
    EXPECT_EQ(got, -2);
    expect_cw_kept([&] { got = _morvex_cvtfll(2.75f); }, cw);
    EXPECT_EQ(got, 2);
    long double r = 0;
    expect_cw_kept([&] { r = _morvex_cvtulld(~uint64_t{0}); }, cw);
    EXPECT_EQ(r, 0x1p64L - 2048);
    expect_cw_kept([&] { r = _morvex_cvtlld(kMax); }, cw);
    EXPECT_EQ(r, 9223372036854775807.0L);
    // Every other conversion, on both sides of bit 63 and at 0.
    for (uint64_t a : {uint64_t{0}, uint64_t{12345}, ~uint64_t{0}, uint64_t{1} << 63}) {
      const int64_t s = static_cast<int64_t>(a);
      expect_cw_kept([&] { _morvex_cvtllf(s); }, cw);
      expect_cw_kept([&] { _morvex_cvtullf(a); }, cw);
      expect_cw_kept([&] { _morvex_slow_cvtlld(s); }, cw);
      expect_cw_kept([&] { _morvex_slow_cvtllf(s); }, cw);
      expect_cw_kept([&] { _morvex_slow_cvtulld(a); }, cw);
      expect_cw_kept([&] { _morvex_slow_cvtullf(a); }, cw);
      expect_cw_kept([&] { _morvex_slow_cvtdll(std::bit_cast<double>(a)); }, cw);
      expect_cw_kept([&] { _morvex_slow_cvtfll(std::bit_cast<float>(static_cast<uint32_t>(a >> 32))); }, cw);
    }
  }
}

}  // namespace
