// REAL*4 trigonometric, inverse and hyperbolic functions: special values,
// thresholds, signed zeros, the eight arcsine/arccosine cases, the ATAN2
// quadrants and the degree forms, as tables (expected values from MPFR,
// rounded to REAL*4).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "control_word.h"
#include "real4/real4.h"
#include "real4_test_util.h"

namespace {

using namespace real4test;

class Real4Trig : public f90test::ControlWordTest {};

const float kPiF = from_bits(0x40490fdb);
const float kHalfPiF = from_bits(0x3fc90fdb);

TEST_F(Real4Trig, OneArgument) {
  const std::vector<Case1> cases = {
      // Sine and cosine: small arguments, reduction, limit, NaN routes.
      {"sin", _morvex_sin, 0.5f, from_bits(0x3ef57744), 1},
      {"sin", _morvex_sin, -3.0f, from_bits(0xbe1081c3), 1},
      {"sin", _morvex_sin, 100.0f, from_bits(0xbf01a12e), 1},
      {"sin", _morvex_sin, 1e-5f, 1e-5f, 0},  // below eps: x itself
      {"sin", _morvex_sin, -1e-5f, -1e-5f, 0},
      {"sin", _morvex_sin, -0.0f, 0.0f, 0},  // the sign test is x < 0
      {"sin", _morvex_sin, from_bits(0x4fc90fdb), 0.0f, 0},  // |x|/pi + 0.5 >= 2^31
      {"sin", _morvex_sin, 1e30f, 0.0f, 0},
      {"sin", _morvex_sin, kInf, 0.0f, 0},
      {"sin", _morvex_sin, -kInf, 0.0f, 0},
      {"sin", _morvex_sin, kNaN, 0.0f, 0},
      {"cos", _morvex_cos, 0.0f, 1.0f, 0},
      {"cos", _morvex_cos, 0.5f, from_bits(0x3f60a940), 1},
      {"cos", _morvex_cos, -2.0f, from_bits(0xbed51133), 1},
      {"cos", _morvex_cos, 1000.0f, from_bits(0x3f0ff813), 1},
      {"cos", _morvex_cos, kNaN, 0.0f, 0},
      {"cos", _morvex_cos, -kInf, 0.0f, 0},
      {"cos", _morvex_cos, -1e30f, 0.0f, 0},
      // Degree forms: the function of x * (pi/180) rounded to REAL*4.
      {"sind", _morvex_sind, 30.0f, 0.5f, 1},
      {"sind", _morvex_sind, 90.0f, 1.0f, 0},
      {"sind", _morvex_sind, -45.0f, from_bits(0xbf3504f3), 1},
      {"sind", _morvex_sind, kNaN, 0.0f, 0},
      {"cosd", _morvex_cosd, 60.0f, from_bits(0x3effffff), 1},
      {"cosd", _morvex_cosd, 0.0f, 1.0f, 0},
      {"tand", _morvex_tand, 45.0f, 1.0f, 1},
      {"tand", _morvex_tand, -0.0f, -0.0f, 0},
      // Tangent: reduction, the limit 4096 pi, signed zeros, NaN.
      {"tan", _morvex_tan, 0.5f, from_bits(0x3f0bda7b), 1},
      {"tan", _morvex_tan, 1.5f, from_bits(0x41619f6b), 1},  // odd quadrant: -den/num
      {"tan", _morvex_tan, -1.0f, from_bits(0xbfc75923), 1},
      {"tan", _morvex_tan, 0.7854f, from_bits(0x3f80001e), 1},
      {"tan", _morvex_tan, 1e-5f, 1e-5f, 0},
      {"tan", _morvex_tan, 0.0f, 0.0f, 0},
      {"tan", _morvex_tan, -0.0f, -0.0f, 0},
      {"tan", _morvex_tan, 20000.0f, 0.0f, 0},
      {"tan", _morvex_tan, -from_bits(0x46490fdc), 0.0f, 0},
      {"tan", _morvex_tan, kNaN, 0.0f, 0},
      {"tan", _morvex_tan, kInf, 0.0f, 0},
      // Cotangent by the x87 partial tangent.
      {"cot", _morvex_cot, 0.5f, from_bits(0x3fea4d6c), 1},
      {"cot", _morvex_cot, -2.0f, from_bits(0x3eea5217), 1},
      {"cot", _morvex_cot, 100.0f, from_bits(0xbfd9fa7e), 1},
      {"cot", _morvex_cot, 1e-30f, from_bits(0x7149f2ca), 1},
      {"cot", _morvex_cot, 0.0f, kInf, 0},
      {"cot", _morvex_cot, -0.0f, -kInf, 0},
      {"cot", _morvex_cot, 1e19f, kInf, 0},  // beyond the instruction's range
      {"cot", _morvex_cot, -3e38f, kInf, 0},
      {"cot", _morvex_cot, kNaN, kNaN, 0},
      {"cot", _morvex_cot, kInf, kNaN, 0},
      // Arcsine and arccosine: the eight cases, ends and domain.
      {"asin", _morvex_asin, 0.25f, from_bits(0x3e815f4e), 1},
      {"acos", _morvex_acos, 0.25f, from_bits(0x3fa8b807), 1},
      {"asin", _morvex_asin, -0.25f, from_bits(0xbe815f4e), 1},
      {"acos", _morvex_acos, -0.25f, from_bits(0x3fe967ae), 1},
      {"asin", _morvex_asin, 0.75f, from_bits(0x3f591a99), 1},
      {"acos", _morvex_acos, 0.75f, from_bits(0x3f39051d), 1},
      {"asin", _morvex_asin, -0.75f, from_bits(0xbf591a99), 1},
      {"acos", _morvex_acos, -0.75f, from_bits(0x401ace93), 1},
      {"asin", _morvex_asin, 0.5f, from_bits(0x3f060a92), 1},
      {"acos", _morvex_acos, 0.5f, from_bits(0x3f860a92), 1},
      {"asin", _morvex_asin, 1.0f, kHalfPiF, 0},
      {"asin", _morvex_asin, -1.0f, -kHalfPiF, 0},
      {"acos", _morvex_acos, -1.0f, kPiF, 0},
      {"acos", _morvex_acos, 1.0f, 0.0f, 0},
      {"asin", _morvex_asin, 1e-5f, 1e-5f, 0},
      {"asin", _morvex_asin, -0.0f, 0.0f, 0},
      {"acos", _morvex_acos, 1e-9f, kHalfPiF, 0},
      {"asin", _morvex_asin, 1.5f, kNaN, 0},
      {"acos", _morvex_acos, from_bits(0xbf800001), kNaN, 0},
      {"asin", _morvex_asin, kNaN, kNaN, 0},
      {"asin", _morvex_asin, -kInf, kNaN, 0},
      {"asind", _morvex_asind, 0.5f, 30.0f, 1},
      {"asind", _morvex_asind, 1.0f, 90.0f, 1},
      {"acosd", _morvex_acosd, -1.0f, 180.0f, 1},
      {"acosd", _morvex_acosd, 0.3f, from_bits(0x429115b5), 2},
      {"acosd", _morvex_acosd, 2.0f, kNaN, 0},
      // Arctangent: each of the four transformations.
      {"atan", _morvex_atan, -1.0f, from_bits(0xbf490fdb), 1},
      {"atan", _morvex_atan, 0.27f, from_bits(0x3e87053d), 1},
      {"atan", _morvex_atan, 0.5f, from_bits(0x3eed6338), 1},
      {"atan", _morvex_atan, 2.0f, from_bits(0x3f8db70d), 1},
      {"atan", _morvex_atan, 5.0f, from_bits(0x3fafcb99), 1},
      {"atan", _morvex_atan, -1e10f, -kHalfPiF, 0},
      {"atan", _morvex_atan, kInf, kHalfPiF, 0},
      {"atan", _morvex_atan, -kInf, -kHalfPiF, 0},
      {"atan", _morvex_atan, 1e-5f, 1e-5f, 0},
      {"atan", _morvex_atan, -0.0f, -0.0f, 0},
      {"atan", _morvex_atan, kNaN, kNaN, 0},
      {"atand", _morvex_atand, 1.0f, 45.0f, 1},
      {"atand", _morvex_atand, -3.0f, from_bits(0xc28f214e), 2},
      // Hyperbolic functions.
      {"sinh", _morvex_sinh, 0.5f, from_bits(0x3f056680), 1},
      {"sinh", _morvex_sinh, -1.0f, from_bits(0xbf966cfe), 1},
      {"sinh", _morvex_sinh, 1.5f, from_bits(0x4008461d), 1},
      {"sinh", _morvex_sinh, 88.0f, from_bits(0x7e7882b7), 1},
      {"sinh", _morvex_sinh, 0.001f, from_bits(0x3a831270), 1},
      {"sinh", _morvex_sinh, 1e-5f, 1e-5f, 0},
      {"sinh", _morvex_sinh, -0.0f, -0.0f, 0},
      {"sinh", _morvex_sinh, 90.0f, kInf, 0},  // overflows in the caller's store
      {"sinh", _morvex_sinh, -90.0f, -kInf, 0},
      {"cosh", _morvex_cosh, 0.0f, 1.0f, 0},
      {"cosh", _morvex_cosh, 0.5f, from_bits(0x3f90560c), 1},
      {"cosh", _morvex_cosh, -3.0f, from_bits(0x41211525), 1},
      {"cosh", _morvex_cosh, 89.0f, from_bits(0x7f28e166), 1},
      {"cosh", _morvex_cosh, -90.0f, kInf, 0},
      {"tanh", _morvex_tanh, 0.3f, from_bits(0x3e9526ee), 1},
      {"tanh", _morvex_tanh, -0.54f, from_bits(0xbefc68ec), 1},  // rational form
      {"tanh", _morvex_tanh, 0.55f, from_bits(0x3f002218), 1},   // exponential branch
      {"tanh", _morvex_tanh, 9.0f, from_bits(0x3f7fffff), 1},
      {"tanh", _morvex_tanh, from_bits(0x41102cb8), 1.0f, 1},
      {"tanh", _morvex_tanh, from_bits(0x41102cb9), 1.0f, 0},
      {"tanh", _morvex_tanh, -20.0f, -1.0f, 0},
      {"tanh", _morvex_tanh, 1e-5f, 1e-5f, 0},
      {"tanh", _morvex_tanh, -0.0f, 0.0f, 0},
      {"tanh", _morvex_tanh, kNaN, 1.0f, 0},
  };
  for (const auto& c : cases) expect_cw_kept([&] { check(c); });
}

TEST_F(Real4Trig, Atan2Quadrants) {
  const std::vector<Case2> cases = {
      {"atan2", _morvex_atan2, 1.0f, 1.0f, from_bits(0x3f490fdb), 1},
      {"atan2", _morvex_atan2, 1.0f, -1.0f, from_bits(0x4016cbe4), 1},
      {"atan2", _morvex_atan2, -1.0f, -1.0f, from_bits(0xc016cbe4), 1},
      {"atan2", _morvex_atan2, -2.0f, 1.0f, from_bits(0xbf8db70d), 1},
      {"atan2", _morvex_atan2, 1e-30f, -1.0f, kPiF, 0},
      {"atan2", _morvex_atan2, 0.0f, -1.0f, kPiF, 0},
      {"atan2", _morvex_atan2, -0.0f, -1.0f, -kPiF, 0},  // the sign bit of y
      {"atan2", _morvex_atan2, -0.0f, 1.0f, -0.0f, 0},
      {"atan2", _morvex_atan2, 1.0f, 0.0f, kHalfPiF, 0},
      {"atan2", _morvex_atan2, -1.0f, -0.0f, -kHalfPiF, 0},
      {"atan2", _morvex_atan2, 0.0f, 0.0f, 0.0f, 0},
      {"atan2", _morvex_atan2, -0.0f, -0.0f, 0.0f, 0},
      {"atan2", _morvex_atan2, 1.0f, kNaN, kHalfPiF, 0},  // x NaN counts as zero
      {"atan2", _morvex_atan2, kNaN, 0.0f, 0.0f, 0},
      {"atan2", _morvex_atan2, kNaN, 1.0f, kNaN, 0},
      {"atan2", _morvex_atan2, 1e30f, 1e-30f, kHalfPiF, 0},  // quotient beyond REAL*4
      {"atan2", _morvex_atan2, kInf, -kInf, kNaN, 0},  // Inf/Inf
      {"atan2d", _morvex_atan2d, 1.0f, 1.0f, 45.0f, 1},
      {"atan2d", _morvex_atan2d, 1.0f, -1.0f, 135.0f, 1},
      {"atan2d", _morvex_atan2d, -1.0f, 0.0f, -90.0f, 1},
  };
  for (const auto& c : cases) expect_cw_kept([&] { check(c); });
}

// The shared kernels: selector 0 is the sine (arcsine), 1 the cosine
// (arccosine), with the same bits as the named entries.
TEST_F(Real4Trig, Kernels) {
  for (const float x : {0.3f, -2.0f, 1e3f, -0.75f, 1.0f, kNaN, 0.0f}) {
    EXPECT_EQ(bits(stored(_morvex_sinfcosf(x, 0))), bits(stored(_morvex_sin(x)))) << show(x);
    EXPECT_EQ(bits(stored(_morvex_sinfcosf(x, 1))), bits(stored(_morvex_cos(x)))) << show(x);
    EXPECT_EQ(bits(stored(_morvex_asinfacosf(x, 0))), bits(stored(_morvex_asin(x)))) << show(x);
    EXPECT_EQ(bits(stored(_morvex_asinfacosf(x, 1))), bits(stored(_morvex_acos(x)))) << show(x);
  }
}

// Up to the limits the quotient is the nearest multiple of pi (a REAL*4
// 1/pi would be 4e-8 off, enough to pick the wrong multiple from 1.2e7 on),
// and the reduction stays within its two-part pi's error, an absolute error
// of about 1.7e-11 * |x|.
TEST_F(Real4Trig, LargeArgumentsNearTheLimits) {
  struct Big {
    const char* name;
    long double (*fn)(float);
    double (*ref)(double);
    float x;
  };
  const Big cases[] = {
      {"sin", _morvex_sin, std::sin, from_bits(0x4fc90fda)},  // the last one reduced
      {"sin", _morvex_sin, std::sin, -1e9f},
      {"sin", _morvex_sin, std::sin, 3e7f},
      {"cos", _morvex_cos, std::cos, 6.0e9f},
      {"tan", _morvex_tan, std::tan, from_bits(0x46490fdb)},  // 4096 pi
      {"tan", _morvex_tan, std::tan, -12345.6f},
  };
  for (const auto& c : cases) {
    const double got = stored(c.fn(c.x)), want = c.ref(c.x);
    const double bound = std::fabs(c.x) * 4e-11 + 1e-7 * (1 + want * want);
    EXPECT_NEAR(got, want, bound) << c.name << "(" << show(c.x) << ")";
  }
  // Within the partial tangent's range the cotangent is a reduced value.
  const float c18 = stored(_morvex_cot(1e18f));
  EXPECT_TRUE(std::isfinite(c18)) << c18;
}

}  // namespace
