// ABS, SQRT, EXP, LOG, SIN and COS for both kinds at the edges: NaN and
// infinite parts, zeros of either sign, the four sign cases of SQRT, huge
// and tiny parts that must not overflow or underflow on the way, and results
// whose factors lie beyond the kind's range while the product fits.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "complex_test_util.h"
#include "control_word.h"
#include "real4/real4.h"
#include "real8/real8.h"
#include "x87.h"

namespace {

using namespace ctest;

template <class K>
class ComplexFunctions : public f90test::ControlWordTest {
 protected:
  using T = typename K::T;
  using C = typename K::C;
  // One unit in the last place of the kind, relative.
  static constexpr double kUlp = K::kDigits == 53 ? 0x1p-52 : 0x1p-23;
  // The kind's "huge" and "tiny" scales for the overflow cases.
  static constexpr double kBig = K::kDigits == 53 ? 1e300 : 1e36;
  static constexpr double kHuge = K::kDigits == 53 ? 1e308 : 3e38;
  static constexpr int kMinExp = K::kDigits == 53 ? -1074 : -149;
};
using Kinds = ::testing::Types<Kind16, Kind8>;
TYPED_TEST_SUITE(ComplexFunctions, Kinds);

struct Case {
  double a, b;
  double re, im;
};

TYPED_TEST(ComplexFunctions, AbsExactAndNaNParts) {
  using K = TypeParam;
  using T = typename K::T;
  const double sub3 = std::ldexp(3.0, this->kMinExp + 4), sub4 = std::ldexp(4.0, this->kMinExp + 4);
  const struct {
    double a, b, want;
  } cases[] = {
      {3, 4, 5},           {-3, 4, 5},          {4, -3, 5},
      {0, -2, 2},          {-2, 0, 2},          {0, 0, 0},
      {-0.0, -0.0, 0},     {1, kNaN, 1},        {kNaN, -1, 1},
      {kNaN, 0, kNaN},     {0, kNaN, 0},        {kNaN, kNaN, kNaN},
      {kInf, 1, kInf},     {1, -kInf, kInf},    {kInf, kInf, kInf},
      {-kInf, kNaN, kInf}, {kNaN, -kInf, kInf}, {sub3, sub4, std::ldexp(5.0, this->kMinExp + 4)},
      {1.5, 2, 2.5},
  };
  for (const auto& t : cases) {
    const auto z = cx<K>(t.a, t.b);
    const T got = stored<T>(K::abs(z));
    EXPECT_TRUE(same_value(got, T(t.want))) << "abs(" << t.a << ", " << t.b << ") gave " << got;
  }
}

// The larger part scales the smaller: no overflow for parts near the top of
// the range, no underflow for parts near the bottom.
TYPED_TEST(ComplexFunctions, AbsOfHugeAndTinyParts) {
  using K = TypeParam;
  using T = typename K::T;
  const long double r2 = std::numbers::sqrt2_v<long double>;
  const double h = this->kHuge / 2, t = std::ldexp(1.0, this->kMinExp + 2);
  const struct {
    double a, b;
    long double want;
  } cases[] = {
      {h, h, h * r2},
      {-h, h / 2, h * std::sqrt(1.25L)},
      {t, t, t * r2},
      {t, -3 * t, t * std::sqrt(10.0L)},
      {this->kBig, 1 / this->kBig, this->kBig},
      {-5, 12, 13},
  };
  for (const auto& c : cases) {
    const T got = stored<T>(K::abs(cx<K>(c.a, c.b)));
    const T want = stored<T>(c.want);
    EXPECT_TRUE(std::isfinite(got)) << c.a << ", " << c.b;
    // The smallest subnormals carry few digits: allow one unit of them.
    EXPECT_LE(std::fabs(got - want), 2 * this->kUlp * want + std::ldexp(1.0, this->kMinExp))
        << "abs(" << c.a << ", " << c.b << ") gave " << got << ", want " << want;
  }
}

TYPED_TEST(ComplexFunctions, SqrtSignCasesAndZeros) {
  using K = TypeParam;
  const Case cases[] = {
      {-4, 0, 0, 2},      {0, 0, 0, 0},        {3, -4, 2, -1},        {-3, 4, 1, 2},
      {3, 4, 2, 1},       {-3, -4, 1, -2},     {4, 0, 2, 0},          {0, 2, 1, 1},
      {0, -2, 1, -1},     {-4, -0.0, 0, 2},    {-0.0, 0, 0, 0},       {0, -0.0, 0, 0},
      {-0.0, -0.0, 0, 0}, {5, 12, 3, 2},       {-5, 12, 2, 3},        {-5, -12, 2, -3},
      {0.25, 0, 0.5, 0},  {-0.25, 0, 0, 0.5},  {kNaN, 1, kNaN, 0},    {1, kNaN, kNaN, 0},
      {kInf, 1, kInf, 0}, {-kInf, 1, 0, kInf}, {-kInf, -1, 0, -kInf},
  };
  for (const auto& t : cases) {
    const auto got = call<typename K::C>(K::sqrt, cx<K>(t.a, t.b));
    expect_complex(got, cx<K>(t.re, t.im),
                   "sqrt(" + std::to_string(t.a) + ", " + std::to_string(t.b) + ")");
  }
}

// Parts across the whole range, against sqrt((|z| + |x|)/2) formed in long
// double from the exact modulus.
TYPED_TEST(ComplexFunctions, SqrtOfHugeTinyAndLopsidedParts) {
  using K = TypeParam;
  const double h = this->kHuge, t = std::ldexp(1.0, this->kMinExp), b = this->kBig;
  const double cases[][2] = {{h, h},         {-h, h},      {h, -h / 3}, {-h, -h},    {t, 0},
                             {0, t},         {-t, t},      {1 / b, -b}, {-b, 1 / b}, {b, 1 / b},
                             {1 / b, 1 / b}, {-2.5, 1e-3}, {0.1, -7}};
  for (const auto& c : cases) {
    const long double x = static_cast<typename K::T>(c[0]), y = static_cast<typename K::T>(c[1]);
    const long double mod = std::hypot(x, y);
    const long double m = std::sqrt((mod + std::fabs(x)) / 2), n = std::fabs(y) / (2 * m);
    const typename K::C want = {stored<typename K::T>(x >= 0 ? m : n),
                                stored<typename K::T>((x >= 0 ? n : m) * (y < 0 ? -1 : 1))};
    expect_near(call<typename K::C>(K::sqrt, cx<K>(c[0], c[1])), want, 3 * this->kUlp,
                "sqrt(" + std::to_string(c[0]) + ", " + std::to_string(c[1]) + ")",
                std::ldexp(1.0, this->kMinExp) / (3 * this->kUlp));
  }
}

TYPED_TEST(ComplexFunctions, ExpEdges) {
  using K = TypeParam;
  const bool d = K::kDigits == 53;
  // Beyond the kind's range for e^a, inside it for e^a * tiny.
  const double over = d ? 710 : 89, tiny = d ? 1e-300 : 1e-30;
  const Case exact[] = {
      {0, 0, 1, 0},
      {-0.0, -0.0, 1, -0.0},
      {-kInf, 0, 0, 0},
      {-kInf, -2, -0.0, -0.0},
      {d ? -746 : -104, 1, 0, 0},
      {-1e30, 3, -0.0, 0},
      {over, 0, kInf, 0},
      {d ? 1000 : 200, 0, kInf, 0},
      {kInf, 1, kInf, kInf},
      {kNaN, 0, kNaN, kNaN},
      {0, kNaN, kNaN, kNaN},
      {0, kInf, kNaN, kNaN},
  };
  for (const auto& t : exact) {
    expect_complex(call<typename K::C>(K::exp, cx<K>(t.a, t.b)), cx<K>(t.re, t.im),
                   "exp(" + std::to_string(t.a) + ", " + std::to_string(t.b) + ")");
  }
  // e^over overflows the kind, e^over * tiny does not.
  const auto got = call<typename K::C>(K::exp, cx<K>(over, tiny));
  EXPECT_EQ(got.re, kInf);
  const long double want_im =
      std::exp(static_cast<long double>(over)) * static_cast<typename K::T>(tiny);
  EXPECT_NEAR(got.im, want_im, 4 * this->kUlp * want_im);
  // Ordinary values.
  const long double a = 0.75, b = -2.5;
  const long double e = std::exp(a);
  expect_near(
      call<typename K::C>(K::exp, cx<K>(0.75, -2.5)),
      typename K::C{stored<typename K::T>(e * std::cos(b)), stored<typename K::T>(e * std::sin(b))},
      2 * this->kUlp, "exp(0.75, -2.5)");
}

// The x87 sine and cosine leave |b| >= 2^63 unchanged: both parts are then
// e^a * b. Pinned here because it is what callers get.
TYPED_TEST(ComplexFunctions, ExpOfHugeImaginaryPart) {
  using K = TypeParam;
  expect_complex(call<typename K::C>(K::exp, cx<K>(0, 0x1p63)), cx<K>(0x1p63, 0x1p63),
                 "exp(0, 2^63)");
  expect_complex(call<typename K::C>(K::exp, cx<K>(0, -1e19)), cx<K>(-1e19, -1e19),
                 "exp(0, -1e19)");
  // Just inside the range the reduction works.
  const auto got = call<typename K::C>(K::exp, cx<K>(0, 0x1p62));
  EXPECT_LE(std::fabs(got.re), 1.0);
  EXPECT_LE(std::fabs(got.im), 1.0);
}

TYPED_TEST(ComplexFunctions, LogEdges) {
  using K = TypeParam;
  using T = typename K::T;
  const double pi = static_cast<T>(std::numbers::pi),
               half_pi = static_cast<T>(std::numbers::pi / 2);
  // The angle of COMPLEX*16 is the x87's, which follows the signs of zeros
  // and propagates NaN; COMPLEX*8 takes the REAL*4 ATAN2, which gives +0.0
  // for a zero or NaN real part with a zero imaginary part.
  const bool x87_angle = K::kDigits == 53;
  const Case exact[] = {
      {-0.0, 0, -kInf, x87_angle ? pi : 0},
      {0, -0.0, -kInf, x87_angle ? -0.0 : 0},
      {kNaN, 0, kNaN, x87_angle ? kNaN : 0},
      {0, 0, -kInf, 0},
      {1, 0, 0, 0},
      {-1, 0, 0, pi},
      {-1, -0.0, 0, -pi},
      {0, 1, 0, half_pi},
      {0, -1, 0, -half_pi},
      {kInf, 0, kInf, 0},
      {-kInf, 0, kInf, pi},
      {0, kInf, kInf, half_pi},
      {1, kNaN, kNaN, kNaN},
  };
  for (const auto& t : exact) {
    expect_complex(call<typename K::C>(K::log, cx<K>(t.a, t.b)), cx<K>(t.re, t.im),
                   "log(" + std::to_string(t.a) + ", " + std::to_string(t.b) + ")");
  }
  const double h = this->kHuge, s = std::ldexp(1.0, this->kMinExp + 10);
  const struct {
    double a, b;
    long double re, im;
  } near[] = {
      {3, 4, std::log(5.0L), std::atan2(4.0L, 3.0L)},
      {0, -2, std::log(2.0L), -std::numbers::pi_v<long double> / 2},
      {h, h, std::log(static_cast<T>(h)) + std::log(std::numbers::sqrt2_v<long double>),
       std::numbers::pi_v<long double> / 4},
      {-s, 0, std::log(static_cast<long double>(s)), std::numbers::pi_v<long double>},
  };
  for (const auto& t : near) {
    expect_near(call<typename K::C>(K::log, cx<K>(t.a, t.b)),
                typename K::C{stored<T>(t.re), stored<T>(t.im)}, 2 * this->kUlp,
                "log(" + std::to_string(t.a) + ", " + std::to_string(t.b) + ")");
  }
}

TYPED_TEST(ComplexFunctions, SinAndCosEdges) {
  using K = TypeParam;
  using T = typename K::T;
  const Case sin_exact[] = {
      {0, 0, 0, 0},           {-0.0, -0.0, -0.0, -0.0},
      {0x1p63, 0, 0x1p63, 0}, {-1e19, 0, -1e19, -0.0},
      {kNaN, 0, kNaN, kNaN},  {0, kNaN, kNaN, kNaN},
      {kInf, 0, kNaN, kNaN},
  };
  const Case cos_exact[] = {
      {0, 0, 1, -0.0},      {-0.0, -0.0, 1, -0.0}, {0x1p63, 0, 0x1p63, -0.0},
      {-1e19, 0, -1e19, 0}, {kNaN, 0, kNaN, kNaN}, {0, kNaN, kNaN, kNaN},
  };
  for (const auto& t : sin_exact)
    expect_complex(call<typename K::C>(K::sin, cx<K>(t.a, t.b)), cx<K>(t.re, t.im),
                   "sin(" + std::to_string(t.a) + ", " + std::to_string(t.b) + ")");
  for (const auto& t : cos_exact)
    expect_complex(call<typename K::C>(K::cos, cx<K>(t.a, t.b)), cx<K>(t.re, t.im),
                   "cos(" + std::to_string(t.a) + ", " + std::to_string(t.b) + ")");

  // cosh b and sinh b beyond the kind's range, the products inside it.
  const long double a = static_cast<T>(std::numbers::pi / 6), b = K::kDigits == 53 ? 710.55 : 89.5;
  const long double ch = std::cosh(b), sh = std::sinh(b);
  const long double sa = stored<T>(std::sin(a)), ca = stored<T>(std::cos(a));
  EXPECT_GT(ch, static_cast<long double>(std::numeric_limits<T>::max()));
  expect_near(call<typename K::C>(K::sin, cx<K>(a, b)),
              typename K::C{stored<T>(sa * ch), stored<T>(ca * sh)}, 3 * this->kUlp,
              "sin(pi/6, big)");
  expect_near(call<typename K::C>(K::cos, cx<K>(a, -b)),
              typename K::C{stored<T>(ca * ch), stored<T>(sa * sh)}, 3 * this->kUlp,
              "cos(pi/6, -big)");
  // Ordinary values.
  const long double x = 1.25, y = -0.75;
  expect_near(
      call<typename K::C>(K::sin, cx<K>(1.25, -0.75)),
      typename K::C{stored<T>(std::sin(x) * std::cosh(y)), stored<T>(std::cos(x) * std::sinh(y))},
      3 * this->kUlp, "sin(1.25, -0.75)");
  expect_near(
      call<typename K::C>(K::cos, cx<K>(1.25, -0.75)),
      typename K::C{stored<T>(std::cos(x) * std::cosh(y)), stored<T>(-std::sin(x) * std::sinh(y))},
      3 * this->kUlp, "cos(1.25, -0.75)");
}

// sin a and cos a are rounded to the kind before they multiply cosh b and
// sinh b (the kind's own hyperbolic functions): under 64-bit precision the
// products differ from those of the unrounded sine and cosine.
template <class K>
struct Hyperbolic;
template <>
struct Hyperbolic<Kind16> {
  static long double cosh(double b) { return _morvex_dcosh(b); }
  static long double sinh(double b) { return _morvex_dsinh(b); }
};
template <>
struct Hyperbolic<Kind8> {
  static long double cosh(float b) { return _morvex_cosh(b); }
  static long double sinh(float b) { return _morvex_sinh(b); }
};

TYPED_TEST(ComplexFunctions, SinAndCosRoundTheRealPartsSineAndCosine) {
  using K = TypeParam;
  using T = typename K::T;
  using H = Hyperbolic<K>;
  f90test::under_cw(f90test::kCwLinux, [] {
    int sine_differs = 0, cosine_differs = 0;
    for (int i = 1; i <= 24; ++i) {
      // A stored value: g++ may keep a double expression at 64 bits.
      const T a = stored<T>(0.37L * i - 4), b = 0.625;
      const double da = a;
      const long double s = x87::sin(a), c = x87::cos(a);
      const long double sr = stored<T>(s), cr = stored<T>(c);
      const auto sn = call<typename K::C>(K::sin, typename K::C{a, b});
      const auto cs = call<typename K::C>(K::cos, typename K::C{a, b});
      EXPECT_EQ(bits(sn.re), bits(stored<T>(sr * H::cosh(b)))) << "sin re at " << da;
      EXPECT_EQ(bits(sn.im), bits(stored<T>(cr * H::sinh(b)))) << "sin im at " << da;
      EXPECT_EQ(bits(cs.re), bits(stored<T>(cr * H::cosh(b)))) << "cos re at " << da;
      EXPECT_EQ(bits(cs.im), bits(stored<T>(-(sr * H::sinh(b))))) << "cos im at " << da;
      sine_differs += stored<T>(s * H::cosh(b)) != sn.re;
      cosine_differs += stored<T>(c * H::sinh(b)) != sn.im;
    }
    EXPECT_GT(sine_differs, 0) << "no case tells the rounded sine apart";
    EXPECT_GT(cosine_differs, 0) << "no case tells the rounded cosine apart";
    return 0;
  });
}

}  // namespace
