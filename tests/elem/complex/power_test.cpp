// Integer and complex powers for both kinds: zero bases with zero, negative
// and other exponents, square-and-multiply results that are exact, which
// real exponents count as small integers (those take the integer power and
// are exact), and complex exponents against values formed in long double.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

#include "complex_test_util.h"
#include "control_word.h"

namespace {

using namespace ctest;

template <class K>
class ComplexPower : public f90test::ControlWordTest {
 protected:
  static constexpr double kUlp = K::kDigits == 53 ? 0x1p-52 : 0x1p-23;
};
using Kinds = ::testing::Types<Kind16, Kind8>;
TYPED_TEST_SUITE(ComplexPower, Kinds);

std::string show(double a, double b, double n) {
  return "(" + std::to_string(a) + ", " + std::to_string(b) + ") ** " + std::to_string(n);
}

TYPED_TEST(ComplexPower, IntegerPowerExactResults) {
  using K = TypeParam;
  const struct {
    double a, b;
    int32_t n;
    double re, im;
  } cases[] = {
      {0, 0, 0, 1, 0},          {-0.0, -0.0, 0, 1, 0},    {0, 0, -2, 0, 0},
      {0, 0, 5, 0, 0},          {0, -0.0, INT_MIN, 0, 0}, {0, 1, 2, -1, 0},
      {0, 1, 3, 0, -1},         {0, 1, 4, 1, 0},          {2, 0, -1, 0.5, 0},
      {0, 2, -2, -0.25, 0},     {1, 1, 8, 16, 0},         {1, 1, -4, -0.25, 0},
      {1, -1, 5, -4, 4},        {3, 4, 2, -7, 24},        {3, 4, 3, -117, 44},
      {-1, 0, INT_MIN, 1, 0},   {1, 0, INT_MAX, 1, 0},    {-1, 0, INT_MAX, -1, 0},
      {0.5, 0, -30, 0x1p30, 0}, {kNaN, 1, 0, 1, 0},       {kNaN, 0, 2, kNaN, kNaN},
  };
  for (const auto& t : cases) {
    const auto got = call<typename K::C>(K::toi, cx<K>(t.a, t.b), t.n);
    // Zero parts: any sign.
    expect_near(got, cx<K>(t.re, t.im), 0, show(t.a, t.b, t.n));
  }
}

// Inexact bases: against a long double power by repeated squaring of the
// exact value; the error grows with the number of products.
TYPED_TEST(ComplexPower, IntegerPowerNearTheExactPower) {
  using K = TypeParam;
  using T = typename K::T;
  const struct {
    double a, b;
    int32_t n;
  } cases[] = {{3, 4, -1}, {0.6, 0.8, 25}, {1.1, -0.2, 17}, {-0.3, 1.7, -9}, {1e-3, 2e-3, -5}};
  for (const auto& t : cases) {
    const std::complex<long double> z(static_cast<T>(t.a), static_cast<T>(t.b));
    const std::complex<long double> w = std::pow(z, static_cast<long double>(t.n));
    expect_near(call<typename K::C>(K::toi, cx<K>(t.a, t.b), t.n),
                typename K::C{stored<T>(w.real()), stored<T>(w.imag())}, 20 * this->kUlp,
                show(t.a, t.b, t.n), std::abs(w));
  }
}

// For n < 0 the reciprocal's parts are rounded to the kind before the
// squaring: under 64-bit precision (3, 0) ** -3 is p*p*p for p = 1/3 rounded
// to the kind, which is not 1/27 rounded.
TYPED_TEST(ComplexPower, IntegerPowerRoundsTheReciprocal) {
  using K = TypeParam;
  using T = typename K::T;
  f90test::under_cw(f90test::kCwLinux, [] {
    const long double p = stored<T>(1.0L / 3);
    const T want = stored<T>(p * p * p);
    EXPECT_NE(want, stored<T>(1.0L / 27));
    const auto got = call<typename K::C>(K::toi, cx<K>(3, 0), -3);
    EXPECT_EQ(bits(got.re), bits(want)) << got;
    EXPECT_EQ(got.im, 0);
    return 0;
  });
}

// The x87 registers' exponent range carries the powers past the kind's
// range; each part is rounded (to an infinity if need be) only when stored.
TYPED_TEST(ComplexPower, IntegerPowerBeyondTheKindsRange) {
  using K = TypeParam;
  const double big = K::kDigits == 53 ? 1e200 : 1e30;
  expect_complex(call<typename K::C>(K::toi, cx<K>(big, 0), 2), cx<K>(kInf, 0), "big ** 2");
  expect_complex(call<typename K::C>(K::toi, cx<K>(0, big), 3), cx<K>(-0.0, -kInf), "(i big) ** 3");
  expect_complex(call<typename K::C>(K::toi, cx<K>(1 / big, 0), -2), cx<K>(kInf, 0),
                 "(1/big) ** -2");
}

struct PowCase {
  double a, b, c, d;
  double re, im;
};

TYPED_TEST(ComplexPower, ZeroBaseAndIntegralExponents) {
  using K = TypeParam;
  const PowCase cases[] = {
      // Zero base: 0 ** 0 is NaN, any other exponent gives 0.
      {0, 0, 0, 0, kNaN, kNaN},
      {-0.0, 0, 0, -0.0, kNaN, kNaN},
      {0, 0, -1, 0, 0, 0},
      {0, 0, 1, 1, 0, 0},
      {0, -0.0, kNaN, 0, 0, 0},
      // Small integral real exponents take the integer power: exact.
      {1, 1, 2, 0, 0, 2},
      {1, 1, 3, 0, -2, 2},
      {1, 1, -2, 0, 0, -0.5},
      {1, 1, 8, -0.0, 16, 0},
      {0, 1, 4, 0, 1, 0},
      {3, 4, 3, 0, -117, 44},
      {-1, 0, 0x1p20 + 1, 0, -1, 0},  // exponent 20: any integer
      {-1, 0, 0x1p21, 0, 1, 0},       // exponents 21 to 30: powers of two
      {-1, 0, 0x1p30, 0, 1, 0},
      {2, 0, -8, 0, 1.0 / 256, 0},
  };
  for (const auto& t : cases) {
    const auto got = call<typename K::C>(K::tocd, cx<K>(t.a, t.b), cx<K>(t.c, t.d));
    expect_near(got, cx<K>(t.re, t.im), 0, show(t.a, t.b, t.c) + " + " + std::to_string(t.d) + "i");
  }
}

// Other real exponents go through the logarithm and the exponential. The
// angle of -1 is the kind's pi, so for an even c, (-1) ** c comes out as
// (cos(c*e), sin(c*e)) with e the kind's pi minus pi, where the integer power
// would give exactly (1, 0). The exponents are chosen so that c times the
// kind's pi is exact.
TYPED_TEST(ComplexPower, OtherRealExponentsTakeTheLogarithm) {
  using K = TypeParam;
  using T = typename K::T;
  const long double pi_error = static_cast<T>(std::numbers::pi) - std::numbers::pi_v<long double>;
  const std::vector<double> exponents =
      K::kDigits == 53 ? std::vector<double>{3 * 0x1p20, 5 * 0x1p19, 7 * 0x1p25, 0x1p31}
                       : std::vector<double>{3 * 0x1p23, 5 * 0x1p24, 0x1p31};
  for (const double c : exponents) {
    const auto got = call<typename K::C>(K::tocd, cx<K>(-1, 0), cx<K>(c, 0));
    const long double want_re = std::cos(c * pi_error), want_im = std::sin(c * pi_error);
    EXPECT_NEAR(got.im, want_im, std::fabs(want_im) * 0.01) << "(-1) ** " << c;
    EXPECT_NEAR(got.re, want_re, 1e-6) << "(-1) ** " << c;
  }
  // (-1) ** 0.5 = (cos(pi/2), 1) within rounding.
  const auto got = call<typename K::C>(K::tocd, cx<K>(-1, 0), cx<K>(0.5, 0));
  EXPECT_LE(std::fabs(got.re), 4 * this->kUlp);
  EXPECT_NEAR(got.im, 1.0, 2 * this->kUlp);
  expect_near(call<typename K::C>(K::tocd, cx<K>(4, 0), cx<K>(0.5, 0)), cx<K>(2, 0), 2 * this->kUlp,
              "4 ** 0.5");
}

TYPED_TEST(ComplexPower, ComplexExponents) {
  using K = TypeParam;
  using T = typename K::T;
  using CL = std::complex<long double>;
  const double cases[][4] = {
      {1, 1, 0, 1}, {2, -3, 0.5, -0.25}, {-0.5, 0.1, -2.5, 1.5}, {10, 0, 0.3, 2}, {0, -1, 1.5, 0}};
  for (const auto& t : cases) {
    const CL z(static_cast<T>(t[0]), static_cast<T>(t[1]));
    const CL w(static_cast<T>(t[2]), static_cast<T>(t[3]));
    const CL want = std::exp(w * std::log(z));
    expect_near(call<typename K::C>(K::tocd, cx<K>(t[0], t[1]), cx<K>(t[2], t[3])),
                typename K::C{stored<T>(want.real()), stored<T>(want.imag())}, 8 * this->kUlp,
                show(t[0], t[1], t[2]) + " + " + std::to_string(t[3]) + "i", std::abs(want));
  }
  // A NaN anywhere in the exponent (but not a zero base) gives NaN.
  const auto got = call<typename K::C>(K::tocd, cx<K>(2, 0), cx<K>(1, kNaN));
  EXPECT_TRUE(std::isnan(got.re) && std::isnan(got.im));
}

}  // namespace
