// Complex multiply and divide, AIMAG and CONJG, for both kinds: results that
// are exact in the kind compared bit for bit, the Smith branches, division
// by zero and NaN divisors, products whose parts would overflow a plain
// REAL*8 intermediate, and CONJG moving NaN payloads and signed zeros as
// bits.
#include <gtest/gtest.h>

#include <cstring>

#include "complex_test_util.h"
#include "control_word.h"

namespace {

using namespace ctest;

template <class K>
class ComplexArithmetic : public f90test::ControlWordTest {};
using Kinds = ::testing::Types<Kind16, Kind8>;
TYPED_TEST_SUITE(ComplexArithmetic, Kinds);

struct Case {
  double a, b, c, d;  // (a + bi) op (c + di)
  double re, im;      // exact result (NaN: any NaN)
};

TYPED_TEST(ComplexArithmetic, MultiplyExactResults) {
  using K = TypeParam;
  const Case cases[] = {
      {1, 2, 3, 4, -5, 10},        {0.5, -0.25, 4, 8, 4, 3},
      {0, 1, 0, 1, -1, 0},         {-3, 0, 0, -2, 0, 6},
      {0, 0, -1, 0, -0.0, 0},      {kInf, 0, 2, 0, kInf, kNaN},  // Inf * 0 in the imaginary part
      {kNaN, 0, 1, 1, kNaN, kNaN},
  };
  for (const auto& t : cases) {
    const auto got = call<typename K::C>(K::mul, cx<K>(t.a, t.b), cx<K>(t.c, t.d));
    expect_complex(got, cx<K>(t.re, t.im), "mul");
  }
}

// The parts are formed in the x87 registers: the two terms of a part may
// exceed the kind's range and still cancel.
TYPED_TEST(ComplexArithmetic, MultiplyTermsBeyondTheKindCancel) {
  using K = TypeParam;
  const double big = K::kDigits == 53 ? 1e300 : 1e30;
  const auto got = call<typename K::C>(K::mul, cx<K>(big, big), cx<K>(1e10, -1e10));
  expect_complex(got, cx<K>(kInf, 0), "mul(huge, huge)");
}

TYPED_TEST(ComplexArithmetic, DivideExactResultsAndSmithBranches) {
  using K = TypeParam;
  const Case cases[] = {
      {1, 0, 0, 2, 0, -0.5},    {4, 2, 2, 0, 2, 1},        {-2, 11, 1, 2, 4, 3},  // |c| < |d|
      {11, -2, 2, 1, 4, -3},                                                      // |c| > |d|
      {2, 0, 1, 1, 1, -1},                                                        // |c| = |d|
      {-2, 11, -1, -2, -4, -3}, {6, 0, -3, 0, -2, -0.0},  // (b - a*t)/s = (0 - 0)/-3
      {1, 1, kInf, 0, 0, 0},    {1, 1, 0, -kInf, -0.0, 0}, {kNaN, 1, 1, 1, kNaN, kNaN},
  };
  for (const auto& t : cases) {
    const auto got = call<typename K::C>(K::div, cx<K>(t.a, t.b), cx<K>(t.c, t.d));
    expect_complex(got, cx<K>(t.re, t.im), "div");
  }
}

// Division by (0, 0), or by a divisor whose parts are each zero or NaN,
// gives the kind's NaN constant in both parts; a NaN part next to a
// non-zero part gives NaN through the formulas.
TYPED_TEST(ComplexArithmetic, DivideByZeroOrNaNGivesNaN) {
  using K = TypeParam;
  using T = typename K::T;
  const T nan_bits = K::kDigits == 53 ? T(kNaN) : T(kNaNF);
  const double divisors[][2] = {{0, 0},       {-0.0, 0},  {0, -0.0}, {kNaN, 0}, {0, kNaN},
                                {kNaN, kNaN}, {-kNaN, 0}, {kNaN, 1}, {1, kNaN}};
  const double dividends[][2] = {{1, 1}, {0, 0}, {-3, 2}, {kInf, 0}};
  for (const auto& y : divisors) {
    for (const auto& x : dividends) {
      const auto got = call<typename K::C>(K::div, cx<K>(x[0], x[1]), cx<K>(y[0], y[1]));
      EXPECT_TRUE(std::isnan(got.re) && std::isnan(got.im))
          << "(" << x[0] << ", " << x[1] << ") / (" << y[0] << ", " << y[1] << ") gave " << got;
    }
  }
  // A divisor whose parts are each zero or NaN gives the exported quiet NaN
  // itself, not a NaN propagated from the divisor (here with its sign set).
  const double zero_or_nan[][2] = {{0, 0}, {-kNaN, 0}, {0, -kNaN}, {-kNaN, -0.0}};
  for (const auto& y : zero_or_nan) {
    const auto got = call<typename K::C>(K::div, cx<K>(5, 7), cx<K>(y[0], y[1]));
    EXPECT_EQ(bits(got.re), bits(nan_bits)) << y[0] << ", " << y[1];
    EXPECT_EQ(bits(got.im), bits(nan_bits)) << y[0] << ", " << y[1];
  }
}

// Smith's scaling: a divisor whose squared modulus is far outside the
// kind's range still divides to the right quotient.
TYPED_TEST(ComplexArithmetic, DivideByHugeAndTinyDivisors) {
  using K = TypeParam;
  const double big = K::kDigits == 53 ? 1e300 : 1e36;
  const double tiny = K::kDigits == 53 ? 1e-300 : 1e-36;
  const double tol = K::kDigits == 53 ? 4e-16 : 2e-7;
  expect_near(call<typename K::C>(K::div, cx<K>(big, big), cx<K>(big, -big)), cx<K>(0, 1), tol,
              "huge / huge", 1);
  expect_near(call<typename K::C>(K::div, cx<K>(1, 0), cx<K>(tiny, tiny)),
              cx<K>(0.5 / tiny, -0.5 / tiny), tol, "1 / tiny");
  expect_near(call<typename K::C>(K::div, cx<K>(1, 0), cx<K>(big, 2 * big)),
              cx<K>(0.2 / big, -0.4 / big), tol, "1 / huge");
}

// AIMAG hands back the imaginary part; CONJG moves bits, flipping only the
// sign of the imaginary part (NaNs, signalling NaNs and zeros included).
TYPED_TEST(ComplexArithmetic, ConjgFlipsTheImaginarySignBitOnly) {
  using K = TypeParam;
  using T = typename K::T;
  using U = decltype(bits(T{}));
  constexpr int shift = sizeof(T) * 8 - 1;
  constexpr U sign = U{1} << shift;
  const U exp_all = K::kDigits == 53 ? U(0x7ff0000000000000ull) : U(0x7f800000u);
  const U patterns[] = {
      0,                                                // +0
      sign,                                             // -0
      exp_all | (U{1} << (K::kDigits - 2)),             // quiet NaN
      sign | exp_all | (U{1} << (K::kDigits - 2)) | 5,  // negative NaN with a payload
      exp_all | 1,                                      // signalling NaN
      exp_all,                                          // +Inf
      bits(T(1.5)),
      bits(T(-2.25)),
      1,  // the smallest subnormal
  };
  for (const U re : patterns) {
    for (const U im : patterns) {
      typename K::C z;
      std::memcpy(&z.re, &re, sizeof re);
      std::memcpy(&z.im, &im, sizeof im);
      // Read back as integers: a double passed by value may go through an
      // x87 load, which quiets a signalling NaN.
      typename K::C byval, byref;
      K::conjg(&byval, z);
      K::I_conjg(&byref, &z);
      U got[2];
      std::memcpy(got, &byval, sizeof got);
      EXPECT_EQ(got[0], re) << std::hex << re;
      EXPECT_EQ(got[1], im ^ sign) << std::hex << im;
      EXPECT_EQ(std::memcmp(&byval, &byref, sizeof byval), 0) << std::hex << re << " " << im;
    }
  }
}

TYPED_TEST(ComplexArithmetic, AimagReturnsTheImaginaryPart) {
  using K = TypeParam;
  using T = typename K::T;
  const double values[] = {0.0, -0.0, 1.5, -3.0, 1e-40, kInf, -kInf};
  for (const double v : values) {
    const auto z = cx<K>(7, v);
    EXPECT_EQ(bits(stored<T>(K::imag(z))), bits(T(v))) << v;
    EXPECT_EQ(bits(stored<T>(K::I_imag(&z))), bits(T(v))) << v;
  }
  // A quiet NaN keeps its sign and payload.
  T nan;
  const auto pattern = K::kDigits == 53 ? uint64_t(0xfff8000000000123ull) : uint64_t(0xffc00123u);
  std::memcpy(&nan, &pattern, sizeof nan);
  const auto z = typename K::C{1, nan};
  EXPECT_EQ(bits(stored<T>(K::imag(z))), bits(nan));
}

}  // namespace
