// IEEE_COPY_SIGN, IEEE_NEXT_AFTER, IEEE_SCALB, IEEE_REM and IEEE_RINT against
// references written from their definitions, over edge and random operands
// of both kinds, under the library's control word 0x127f and the process
// default 0x037f; the caller's control word on return; exactly the defined
// flags (seen through simulated accessors, and once on the real unit).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "control_word.h"
#include "f90/ieee.h"
#include "ieee/ieee_support.h"
#include "recording_runtime.h"
#include "x87.h"

namespace {

using f90test::Fpu;
using f90test::RuntimeScope;
using namespace ieeetest;

constexpr uint16_t kControlWords[] = {0x127f, 0x037f};

template <class T>
bool is_nan_bits(Bits<T> u) {
  return (u & ~fp::kSignBit<T>) > (Bits<T>{fp::FloatBits<T>::kExponentMax} << fp::FloatBits<T>::kFractionBits);
}

// ---- COPY_SIGN ----

TEST(IeeeCopySign, SignBitFromYInEveryKindPair) {
  for (uint32_t x : edge_patterns<float>())
    for (uint64_t y : edge_patterns<double>()) {
      const Pattern<float> x4(x), y4(static_cast<uint32_t>(y >> 32));
      const Pattern<double> x8(fp::widen(x) ^ 1), y8(y);
      const bool neg = (y >> 63) != 0;
      EXPECT_EQ(raw(st0(__SP_IEEE_COPY_SIGN_in_IEEE_ARITHMETIC, &x4, &y4)),
                raw_of<float>((x & 0x7fffffff) | (neg ? 0x80000000u : 0)));
      EXPECT_EQ(raw(st0(__SD_IEEE_COPY_SIGN_in_IEEE_ARITHMETIC, &x4, &y8)),
                raw_of<float>((x & 0x7fffffff) | (neg ? 0x80000000u : 0)));
      const uint64_t want8 = ((fp::widen(x) ^ 1) & ~fp::kSignBit<double>) | (neg ? fp::kSignBit<double> : 0);
      EXPECT_EQ(raw(st0(__DP_IEEE_COPY_SIGN_in_IEEE_ARITHMETIC, &x8, &y8)), raw_of<double>(want8));
      EXPECT_EQ(raw(st0(__DS_IEEE_COPY_SIGN_in_IEEE_ARITHMETIC, &x8, &y4)), raw_of<double>(want8));
    }
  const float three = 3.0f, mzero = -0.0f, mtwo = -2.0f, one = 1.0f;
  EXPECT_EQ(__SP_IEEE_COPY_SIGN_in_IEEE_ARITHMETIC(&three, &mzero), -3.0f);
  EXPECT_EQ(__SP_IEEE_COPY_SIGN_in_IEEE_ARITHMETIC(&mtwo, &one), 2.0f);
  f90test::clear_fp_exceptions();
}

// ---- NEXT_AFTER ----

// Reference: the values of a kind in order are the sign-magnitude encodings
// read as integers; a neighbour is one step along that order. A zero result
// keeps X's sign; the largest finite steps up to infinity (overflow); the
// least normal steps down to the largest subnormal (inexact).
template <class T>
int64_t order_of(Bits<T> u) {
  const int64_t m = static_cast<int64_t>(u & ~fp::kSignBit<T>);
  return (u & fp::kSignBit<T>) ? -m : m;
}
template <class T>
Bits<T> from_order(int64_t k) {
  return k < 0 ? (static_cast<Bits<T>>(-k) | fp::kSignBit<T>) : static_cast<Bits<T>>(k);
}

struct Expect {
  Raw value;
  int32_t flags;
};

// x of kind TX, y compared in the wider kind (yw is y as a long double).
template <class TX>
Expect next_after_reference(Bits<TX> x, long double yw, bool y_nan, Raw y_in_x_kind) {
  using B = fp::FloatBits<TX>;
  if (is_nan_bits<TX>(x)) return {raw_of<TX>(x), 0};
  if (y_nan) return {y_in_x_kind, 0};
  const long double xv = fp::x87_value<TX>(x);
  if (xv == yw) return {raw_of<TX>(x), 0};
  int64_t k = order_of<TX>(x);
  if ((x & ~fp::kSignBit<TX>) == 0) k = 0;
  k += yw > xv ? 1 : -1;
  Bits<TX> r = from_order<TX>(k);
  if ((r & ~fp::kSignBit<TX>) == 0) r = x & fp::kSignBit<TX>;
  if ((x & ~fp::kSignBit<TX>) == 0) r = from_order<TX>(yw > 0 ? 1 : -1);
  int32_t flags = 0;
  const Bits<TX> inf = Bits<TX>{B::kExponentMax} << B::kFractionBits;
  const Bits<TX> least_normal = Bits<TX>{1} << B::kFractionBits;
  if ((r & ~fp::kSignBit<TX>) == inf && (x & ~fp::kSignBit<TX>) != inf) flags = 0x08;
  if ((x & ~fp::kSignBit<TX>) == least_normal && (r & ~fp::kSignBit<TX>) < least_normal) flags = 0x20;
  return {raw_of<TX>(r), flags};
}

template <class F, class... A>
Expect run_simulated(F f, A... a) {
  RuntimeScope rt;
  Fpu::simulate(0x127f, 0);
  const Raw r = raw(st0(f, a...));
  return {r, Fpu::sw()};
}

void expect_same(const Expect& got, const Expect& want) {
  EXPECT_EQ(got.value, want.value);
  EXPECT_EQ(got.flags, want.flags);
}

TEST(IeeeNextAfter, AgainstTheOrderReferenceInAllKindPairs) {
  auto p4 = edge_patterns<float>();
  auto p8 = edge_patterns<double>();
  for (auto u : random_patterns<float>(300, 21)) p4.push_back(u);
  for (auto u : random_patterns<double>(300, 22)) p8.push_back(u);
  std::mt19937 rng(23);
  for (uint32_t x : p4) {
    for (int j = 0; j < 40; ++j) {
      const uint32_t y = p4[rng() % p4.size()];
      const uint64_t y8 = p8[rng() % p8.size()];
      SCOPED_TRACE(testing::Message() << std::hex << x << " " << y << " " << y8);
      const Pattern<float> px(x), py(y);
      const Pattern<double> py8(y8);
      expect_same(run_simulated(__SP_IEEE_NEXT_AFTER_in_IEEE_ARITHMETIC, &px, &py),
                  next_after_reference<float>(x, fp::x87_value<float>(y), is_nan_bits<float>(y),
                                              raw_of<float>(y)));
      // REAL*4 X, REAL*8 Y: compared as REAL*8; a NaN Y gives the quiet
      // REAL*4 NaN with Y's leading payload bits.
      const uint32_t narrowed = static_cast<uint32_t>((y8 >> 32) & 0x80000000u) | 0x7fc00000u |
                                static_cast<uint32_t>((y8 & fp::kFractionMask<double>) >> 29);
      expect_same(run_simulated(__SD_IEEE_NEXT_AFTER_in_IEEE_ARITHMETIC, &px, &py8),
                  next_after_reference<float>(x, fp::x87_value<double>(y8), is_nan_bits<double>(y8),
                                              raw_of<float>(narrowed)));
    }
  }
  for (uint64_t x : p8) {
    for (int j = 0; j < 40; ++j) {
      const uint64_t y = p8[rng() % p8.size()];
      const uint32_t y4 = p4[rng() % p4.size()];
      SCOPED_TRACE(testing::Message() << std::hex << x << " " << y << " " << y4);
      const Pattern<double> px(x), py(y);
      const Pattern<float> py4(y4);
      expect_same(run_simulated(__DP_IEEE_NEXT_AFTER_in_IEEE_ARITHMETIC, &px, &py),
                  next_after_reference<double>(x, fp::x87_value<double>(y), is_nan_bits<double>(y),
                                               raw_of<double>(y)));
      expect_same(run_simulated(__DS_IEEE_NEXT_AFTER_in_IEEE_ARITHMETIC, &px, &py4),
                  next_after_reference<double>(x, fp::x87_value<float>(y4), is_nan_bits<float>(y4),
                                               raw_of<double>(fp::widen(y4))));
    }
  }
}

TEST(IeeeNextAfter, LiteralCasesAndFlagsOnTheUnit) {
  RuntimeScope rt;
  const struct {
    uint32_t x, y, want;
    int32_t flags;
  } cases[] = {
      {0x3f800000, 0x40000000, 0x3f800001, 0},     {0x3f800000, 0x00000000, 0x3f7fffff, 0},
      {0x00000000, 0xbf800000, 0x80000001, 0},     {0x7f7fffff, 0x7f800000, 0x7f800000, 0x08},
      {0x7f800000, 0x00000000, 0x7f7fffff, 0},     {0x00800000, 0x00000000, 0x007fffff, 0x20},
      {0x80000001, 0x3f800000, 0x80000000, 0},     {0x007fffff, 0x3f800000, 0x00800000, 0},
      {0x40490fdb, 0x40490fdb, 0x40490fdb, 0},     {0x80000000, 0x00000000, 0x80000000, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.x << " " << c.y);
    f90test::clear_fp_exceptions();
    const Pattern<float> x(c.x), y(c.y);
    const Raw r = raw(st0(__SP_IEEE_NEXT_AFTER_in_IEEE_ARITHMETIC, &x, &y));
    EXPECT_EQ(f90test::get_sw() & 0x3f, c.flags);
    EXPECT_EQ(r, raw_of<float>(c.want));
  }
  // REAL*4 X, REAL*8 Y: the REAL*4 neighbour.
  const Pattern<float> one(0x3f800000);
  const Pattern<double> two(0x4000000000000000);
  EXPECT_EQ(raw(st0(__SD_IEEE_NEXT_AFTER_in_IEEE_ARITHMETIC, &one, &two)), raw_of<float>(0x3f800001));
  f90test::clear_fp_exceptions();
}

// ---- SCALB ----

// Reference: X × 2^I on the x87 (exact in the extended range); above the
// kind's largest finite: infinity and overflow; below its least normal: the
// least normal and underflow, except that a subnormal X whose scaled value
// is a subnormal of the kind, exactly, gets that value.
template <class T>
Expect scalb_reference(Bits<T> x, int32_t i) {
  const Bits<T> mag = x & ~fp::kSignBit<T>, sign = x & fp::kSignBit<T>;
  using B = fp::FloatBits<T>;
  const Bits<T> inf = Bits<T>{B::kExponentMax} << B::kFractionBits;
  const Bits<T> least_normal = Bits<T>{1} << B::kFractionBits;
  if (mag == 0 || mag >= inf) return {raw_of<T>(x), 0};
  const int32_t clamped = i > 20000 ? 20000 : i < -20000 ? -20000 : i;
  const long double r = x87::abs(x87::scale(fp::x87_value<T>(mag), clamped));
  if (r > std::numeric_limits<T>::max()) return {raw_of<T>(sign | inf), 0x08};
  if (r < std::numeric_limits<T>::min()) {
    if (mag < least_normal) {
      volatile T t = static_cast<T>(r);
      if (static_cast<long double>(t) == r && r != 0) return {raw(fp::x87_value<T>(std::bit_cast<Bits<T>>(static_cast<T>(t)) | sign)), 0};
    }
    return {raw_of<T>(sign | least_normal), 0x10};
  }
  volatile T t = static_cast<T>(r);
  return {raw_of<T>(std::bit_cast<Bits<T>>(static_cast<T>(t)) | sign), 0};
}

template <class T>
void check_scalb(const std::vector<Bits<T>>& xs) {
  const int32_t is[] = {0, 1, -1, 3, -3, 22, -22, 23, -23, 24, -24, 52, -52, 53, -53, 100, -100,
                        126, -126, 127, -127, 149, -149, 200, -200, 254, -254, 1023, -1023, 1074,
                        -1074, 2046, -2046, 2047, -2047, 100000, -100000, INT32_MAX, INT32_MIN};
  for (Bits<T> x : xs)
    for (int32_t i : is) {
      SCOPED_TRACE(testing::Message() << std::hex << uint64_t{x} << std::dec << " " << i);
      const Pattern<T> px(x);
      f90test::under_cw(0x037f, [&] {
        Expect got;
        if constexpr (sizeof(T) == 4) {
          got = run_simulated(__SP_IEEE_SCALB_in_IEEE_ARITHMETIC, &px, &i);
        } else {
          got = run_simulated(__DP_IEEE_SCALB_in_IEEE_ARITHMETIC, &px, &i);
        }
        expect_same(got, scalb_reference<T>(x, i));
      });
    }
}

TEST(IeeeScalb, AgainstScalingOnTheUnit) {
  auto p4 = edge_patterns<float>();
  for (auto u : random_patterns<float>(200, 31)) p4.push_back(u);
  auto p8 = edge_patterns<double>();
  for (auto u : random_patterns<double>(200, 32)) p8.push_back(u);
  check_scalb<float>(p4);
  check_scalb<double>(p8);
  f90test::clear_fp_exceptions();
}

TEST(IeeeScalb, LiteralCasesAndFlagsOnTheUnit) {
  RuntimeScope rt;
  const struct {
    uint32_t x;
    int32_t i;
    uint32_t want;
    int32_t flags;
  } cases[] = {
      {0x3f800000, 3, 0x41000000, 0},   {0x3f800000, 200, 0x7f800000, 0x08},
      {0x3f800000, -200, 0x00800000, 0x10}, {0x3f800000, 128, 0x7f800000, 0x08},  // field 255
      {0x3f800000, 127, 0x7f000000, 0},  {0x00000000, 5, 0x00000000, 0},
      {0xbf800000, -127, 0x80800000, 0x10},  // field 0
      {0x00000002, -1, 0x00000001, 0},   {0x00000001, -1, 0x00800000, 0x10},
      {0x00000001, 149, 0x3f800000, 0},  {0x00400000, 1, 0x00800000, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.x << " " << std::dec << c.i);
    f90test::clear_fp_exceptions();
    const Pattern<float> x(c.x);
    const Raw r = raw(st0(__SP_IEEE_SCALB_in_IEEE_ARITHMETIC, &x, &c.i));
    EXPECT_EQ(f90test::get_sw() & 0x3f, c.flags);
    EXPECT_EQ(r, raw_of<float>(c.want));
  }
  f90test::clear_fp_exceptions();
}

// ---- LOGB ----

// Reference: the unbiased exponent of |X| as the x87 extracts it (exact,
// subnormals measured from their leading bit); zero: negative infinity,
// infinity and NaN: the quiet NaN, all three with the divide-by-zero flag.
template <class T>
Expect logb_reference(Bits<T> x) {
  using B = fp::FloatBits<T>;
  const Bits<T> mag = x & ~fp::kSignBit<T>;
  const Bits<T> inf = Bits<T>{B::kExponentMax} << B::kFractionBits;
  if (mag == 0) return {raw_of<T>(fp::kSignBit<T> | inf), 0x04};
  if (mag >= inf) return {raw_of<T>(inf | (Bits<T>{1} << (B::kFractionBits - 1))), 0x04};
  long double e;
  x87::extract(fp::x87_value<T>(mag), e);
  return {raw(e), 0};
}

TEST(IeeeLogb, AgainstTheExtractedExponent) {
  auto p4 = edge_patterns<float>();
  for (auto u : random_patterns<float>(3000, 61)) p4.push_back(u);
  auto p8 = edge_patterns<double>();
  for (auto u : random_patterns<double>(3000, 62)) p8.push_back(u);
  for (uint32_t x : p4) {
    const Pattern<float> px(x);
    expect_same(run_simulated(__SP_IEEE_LOGB_in_IEEE_ARITHMETIC, &px), logb_reference<float>(x));
  }
  for (uint64_t x : p8) {
    const Pattern<double> px(x);
    expect_same(run_simulated(__DP_IEEE_LOGB_in_IEEE_ARITHMETIC, &px), logb_reference<double>(x));
  }
  f90test::clear_fp_exceptions();
}

TEST(IeeeLogb, LiteralCasesAndFlagsOnTheUnit) {
  RuntimeScope rt;
  const struct {
    uint64_t x;
    uint64_t want;
    int32_t flags;
  } cases[] = {
      {0x4020000000000000, 0x4008000000000000, 0},     // 8.0 -> 3.0
      {0x0000000000000001, 0xc090c80000000000, 0},     // least subnormal -> -1074
      {0x0000000000000000, 0xfff0000000000000, 0x04},  {0x8000000000000000, 0xfff0000000000000, 0x04},
      {0xfff0000000000000, 0x7ff8000000000000, 0x04},  {0x7ff0000000000001, 0x7ff8000000000000, 0x04},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.x);
    f90test::clear_fp_exceptions();
    const Pattern<double> x(c.x);
    const Raw r = raw(st0(__DP_IEEE_LOGB_in_IEEE_ARITHMETIC, &x));
    EXPECT_EQ(f90test::get_sw() & 0x3f, c.flags);
    EXPECT_EQ(r, raw_of<double>(c.want));
  }
  const float eight = 8.0f;
  EXPECT_EQ(__SP_IEEE_LOGB_in_IEEE_ARITHMETIC(&eight), 3.0f);
  f90test::clear_fp_exceptions();
}

// ---- REM ----

// Reference from the definition: q = X/Y rounded to the kind; n = q rounded
// to the nearest integer with ties to even; X - n*Y at the caller's
// precision. Where n is not a 32-bit integer, where Y is zero or infinite,
// X infinite or either a NaN: the exact IEEE remainder, which the x87
// partial remainder gives.
template <class T>
long double rem_reference(T x, T y) {
  if (std::isnan(x) || std::isnan(y) || std::isinf(x) || std::isinf(y) || y == 0)
    return x87::prem1(x, y);
  volatile T vq = x / y;
  const T q = vq;
  const long double a = x87::abs(q);
  if (a >= 2147483647.5L) return x87::prem1(x, y);
  int64_t n = static_cast<int64_t>(a);  // truncation
  const long double frac = a - static_cast<long double>(n);
  if (frac > 0.5L || (frac == 0.5L && (n & 1) != 0)) ++n;
  if (q < 0) n = -n;
  if (n == INT32_MIN) return x87::prem1(x, y);
  return static_cast<long double>(x) - static_cast<long double>(n) * static_cast<long double>(y);
}

template <class T>
std::vector<std::pair<T, T>> rem_operands(uint32_t seed) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::vector<std::pair<T, T>> v = {{5, 2}, {7, 2}, {-5, 2}, {-7, 2}, {100000, 3}, {1, 0},
                                    {0, 3}, {-0.0, 3}, {3, -0.0}, {2.5, 1}, {3.5, -1},
                                    {1e30, 3}, {-1e30, 7}, {1, 1e30}};
  const T inf = std::numeric_limits<T>::infinity(), nan = std::numeric_limits<T>::quiet_NaN();
  for (auto p : std::vector<std::pair<T, T>>{{inf, 2}, {2, inf}, {-2, -inf}, {nan, 2}, {2, nan}})
    v.push_back(p);
  for (int i = 0; i < 3000; ++i) {
    const T y = static_cast<T>(std::ldexp(unit(rng), static_cast<int>(rng() % 40) - 20));
    switch (i % 4) {
      case 0:  // ratios of every size, inside and outside the 32-bit range
        v.push_back({static_cast<T>(std::ldexp(unit(rng), static_cast<int>(rng() % 80) - 30)), y});
        break;
      case 1: {  // exact halves: ties
        const int64_t k = static_cast<int64_t>(rng() % 2000001) - 1000000;
        const T yi = static_cast<T>(static_cast<int>(rng() % 64) + 1);
        v.push_back({static_cast<T>((static_cast<double>(k) + 0.5) * yi), yi});
        break;
      }
      case 2: {  // quotients near the ends of the 32-bit range
        const double q = std::ldexp(1.0, 31) - static_cast<double>(rng() % 4) * 0.25;
        v.push_back({static_cast<T>(q * (i % 8 < 4 ? 1 : -1)), 1});
        break;
      }
      default:  // random patterns of the kind
        v.push_back({std::bit_cast<T>(static_cast<Bits<T>>(rng())), std::bit_cast<T>(static_cast<Bits<T>>(rng()))});
    }
  }
  return v;
}

template <class T>
bool same_value(long double a, long double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return raw(a) == raw(b);
}

TEST(IeeeRem, AgainstTheStepsUnderBothControlWords) {
  RuntimeScope rt;
  for (uint16_t cw : kControlWords) {
    for (auto [x, y] : rem_operands<float>(41)) {
      f90test::under_cw(cw, [&, x = x, y = y] {
        const long double got = __SP_IEEE_REM_in_IEEE_ARITHMETIC(&x, &y);
        EXPECT_EQ(f90test::get_cw(), cw);
        const long double want = rem_reference<float>(x, y);
        EXPECT_TRUE(same_value<float>(got, want)) << x << " " << y << " cw " << std::hex << cw;
      });
    }
    for (auto [x, y] : rem_operands<double>(42)) {
      f90test::under_cw(cw, [&, x = x, y = y] {
        const long double got = __DP_IEEE_REM_in_IEEE_ARITHMETIC(&x, &y);
        EXPECT_EQ(f90test::get_cw(), cw);
        const long double want = rem_reference<double>(x, y);
        EXPECT_TRUE(same_value<double>(got, want)) << x << " " << y << " cw " << std::hex << cw;
      });
    }
  }
  f90test::clear_fp_exceptions();
}

// At 64-bit precision the REAL*4 steps are exact: n*Y has at most 56 bits.
// So they agree with the exact IEEE remainder whenever the quotient needs no
// rounding to REAL*4 (a rounded quotient can cross a half) and n is a 32-bit
// integer.
TEST(IeeeRem, Real4StepsAreTheExactRemainderAtExtendedPrecision) {
  int checked = 0;
  f90test::under_cw(0x037f, [&] {
    for (auto [x, y] : rem_operands<float>(43)) {
      if (!std::isfinite(x) || !std::isfinite(y) || y == 0) continue;
      const long double q = static_cast<long double>(x) / y;
      volatile float qf = static_cast<float>(q);
      if (static_cast<long double>(qf) != q || x87::abs(q) >= 0x1p31L) continue;
      const long double got = __SP_IEEE_REM_in_IEEE_ARITHMETIC(&x, &y);
      EXPECT_TRUE(same_value<float>(got, x87::prem1(x, y))) << x << " " << y;
      ++checked;
    }
  });
  EXPECT_GT(checked, 300);
  f90test::clear_fp_exceptions();
}

TEST(IeeeRem, LiteralCasesAndMixedKinds) {
  f90test::under_cw(0x127f, [] {
    const struct {
      float x, y, want;
    } cases[] = {{5, 2, 1}, {7, 2, -1}, {-5, 2, -1}, {100000, 3, 1}, {3, 1e30f, 3}, {-6, 4, 2}};
    for (const auto& c : cases) {
      EXPECT_EQ(__SP_IEEE_REM_in_IEEE_ARITHMETIC(&c.x, &c.y), c.want) << c.x << " " << c.y;
      const double x8 = c.x, y8 = c.y;
      EXPECT_EQ(__DP_IEEE_REM_in_IEEE_ARITHMETIC(&x8, &y8), c.want);
      EXPECT_EQ(__SD_IEEE_REM_in_IEEE_ARITHMETIC(&c.x, &y8), c.want);
      EXPECT_EQ(__DS_IEEE_REM_in_IEEE_ARITHMETIC(&x8, &c.y), c.want);
    }
    const float zero = 0, one = 1, inf = INFINITY;
    EXPECT_TRUE(std::isnan(__SP_IEEE_REM_in_IEEE_ARITHMETIC(&one, &zero)));
    EXPECT_TRUE(std::isnan(__SP_IEEE_REM_in_IEEE_ARITHMETIC(&inf, &one)));
    // A ratio beyond 32 bits: the exact remainder, not X + 2^31 Y.
    const double big = 0x1p40 + 3, three = 4;
    EXPECT_EQ(__DP_IEEE_REM_in_IEEE_ARITHMETIC(&big, &three), -1);
  });
  f90test::clear_fp_exceptions();
}

// ---- RINT ----

// Reference: the integer part k of |X| and its fraction, exact at 64-bit
// precision; then the mode's rule; a zero result keeps X's sign.
template <class T>
long double rint_reference(T x, int32_t mode) {
  if (!std::isfinite(x) || x == 0 || x87::abs(x) >= std::ldexp(1.0L, std::numeric_limits<T>::digits - 1))
    return x;
  return f90test::under_cw(0x037f, [&] {
    const long double a = x87::abs(x);
    int64_t k = static_cast<int64_t>(a);
    const long double frac = a - static_cast<long double>(k);
    const bool neg = x < 0;
    switch (mode) {
      case 0: k += (frac > 0.5L || (frac == 0.5L && (k & 1) != 0)) ? 1 : 0; break;
      case 0x800: k += (!neg && frac > 0) ? 1 : 0; break;
      case 0x400: k += (neg && frac > 0) ? 1 : 0; break;
      default: break;
    }
    const long double r = static_cast<long double>(k);
    return neg ? -r : r;
  });
}

template <class T>
std::vector<T> rint_operands(uint32_t seed) {
  std::mt19937_64 rng(seed);
  std::vector<T> v = {2.5, 3.5, -2.5, -0.3, 2.1, -2.1, 0.5, -0.5, 1.5, 0.49999997f, -0.49999997f};
  if constexpr (sizeof(T) == 8) {
    v.push_back(0.49999999999999994);
    v.push_back(0x1p52 + 1);
    v.push_back(0x1p52 - 0.5);
    v.push_back(-(0x1p51 + 0.5));
    v.push_back(0x1p53 - 1);
  } else {
    v.push_back(0x1p23f + 1);
    v.push_back(0x1p23f - 0.5f);
    v.push_back(-(0x1p22f + 0.5f));
  }
  for (int i = 0; i < 4000; ++i) {
    const int e = static_cast<int>(rng() % (std::numeric_limits<T>::digits + 8)) - 6;
    const T m = static_cast<T>(std::ldexp(static_cast<double>(rng() % 1000000) / 1000000.0 + 0.5, e));
    const T half = static_cast<T>(static_cast<double>(static_cast<int64_t>(rng() % 100000)) + 0.5);
    const T x = i % 3 == 0 ? half : i % 3 == 1 ? m : std::bit_cast<T>(static_cast<Bits<T>>(rng()));
    v.push_back(rng() % 2 ? x : -x);
  }
  return v;
}

template <class T>
void check_rint() {
  RuntimeScope rt;
  for (uint16_t cw : kControlWords)
    for (int32_t mode : {0, 0xc00, 0x800, 0x400}) {
      const uint16_t word = static_cast<uint16_t>((cw & ~0xc00) | mode);
      for (T x : rint_operands<T>(51 + mode)) {
        f90test::under_cw(word, [&] {
          long double got;
          if constexpr (sizeof(T) == 4) {
            got = st0(__SP_IEEE_RINT_in_IEEE_ARITHMETIC, &x);
          } else {
            got = st0(__DP_IEEE_RINT_in_IEEE_ARITHMETIC, &x);
          }
          EXPECT_EQ(f90test::get_cw(), word);
          const long double want = rint_reference<T>(x, mode);
          EXPECT_TRUE(same_value<T>(got, want))
              << x << " mode " << std::hex << mode << " cw " << cw;
        });
      }
    }
  f90test::clear_fp_exceptions();
}

TEST(IeeeRint, Real4EveryModeBothControlWords) { check_rint<float>(); }
TEST(IeeeRint, Real8EveryModeBothControlWords) { check_rint<double>(); }

TEST(IeeeRint, LiteralCases) {
  const struct {
    double x;
    int32_t mode;
    double want;
  } cases[] = {{2.5, 0, 2}, {3.5, 0, 4}, {-2.5, 0, -2}, {-0.3, 0, -0.0}, {2.1, 0x800, 3},
               {-2.1, 0x400, -3}, {-2.1, 0x800, -2}, {-0.3, 0x800, -0.0}, {0.3, 0x400, 0},
               {0.49999999999999994, 0, 0}, {0x1p52 + 1, 0, 0x1p52 + 1}, {INFINITY, 0, INFINITY}};
  for (const auto& c : cases) {
    f90test::under_cw(static_cast<uint16_t>(0x127f | c.mode), [&] {
      const double r = __DP_IEEE_RINT_in_IEEE_ARITHMETIC(&c.x);
      EXPECT_EQ(std::bit_cast<uint64_t>(r), std::bit_cast<uint64_t>(c.want)) << c.x << " " << c.mode;
    });
  }
  f90test::clear_fp_exceptions();
}

}  // namespace
