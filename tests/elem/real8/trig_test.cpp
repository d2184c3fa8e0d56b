// The trigonometric functions of REAL*8 and their inverses: argument
// limits, signed zeros, NaN routes, the degree forms, the eight cases of
// the arcsine/arccosine kernel and the quadrants of ATAN2.
#include <gtest/gtest.h>

#include <cmath>

#include "control_word.h"
#include "real8/real8.h"
#include "real8_test_util.h"

namespace {

using namespace real8test;

class Trig : public f90test::ControlWordTest {};

const double kPi = 3.141592653589793;
const double kHalfPi = 1.5707963267948966;
const double kQuarterPi = 0.7853981633974483;

TEST_F(Trig, SineAndCosineLimitsAndSignedZeros) {
  const UnaryCase cases[] = {
      {"dsin", _morvex_dsin, _morvex_I_dsin, 3.0e8, 0.0, 0},   // beyond 298156835.16
      {"dsin", _morvex_dsin, _morvex_I_dsin, -3.0e8, 0.0, 0},
      {"dsin", _morvex_dsin, _morvex_I_dsin, -0.0, 0.0, 0},    // the sign test is x < 0
      {"dsin", _morvex_dsin, _morvex_I_dsin, kInf, 0.0, 0},
      {"dsin", _morvex_dsin, _morvex_I_dsin, kNaN, 0.0, 0},
      {"dsin", _morvex_dsin, _morvex_I_dsin, 1e-9, 1e-9, 0},   // below eps: f itself
      {"dsin", _morvex_dsin, _morvex_I_dsin, -1e-300, -1e-300, 0},
      {"dsin", _morvex_dsin, _morvex_I_dsin, 1.0, 0.8414709848078965, 1},
      {"dsin", _morvex_dsin, _morvex_I_dsin, -2.5, -0.5984721441039565, 2},
      {"dcos", _morvex_dcos, _morvex_I_dcos, kNaN, 0.0, 0},
      {"dcos", _morvex_dcos, _morvex_I_dcos, -kInf, 0.0, 0},
      {"dcos", _morvex_dcos, _morvex_I_dcos, 3.0e8, 0.0, 0},
      {"dcos", _morvex_dcos, _morvex_I_dcos, 0.0, 1.0, 1},
      {"dcos", _morvex_dcos, _morvex_I_dcos, 1.0, 0.5403023058681398, 2},
      {"dcos", _morvex_dcos, _morvex_I_dcos, -2.5, -0.8011436155469337, 2},
      {"dsind", _morvex_dsind, _morvex_I_dsind, 30.0, 0.5, 1},
      {"dsind", _morvex_dsind, _morvex_I_dsind, -90.0, -1.0, 1},
      {"dsind", _morvex_dsind, _morvex_I_dsind, -0.0, 0.0, 0},
      {"dsind", _morvex_dsind, _morvex_I_dsind, kNaN, 0.0, 0},
      {"dcosd", _morvex_dcosd, _morvex_I_dcosd, 60.0, 0.5, 1},
      {"dcosd", _morvex_dcosd, _morvex_I_dcosd, 180.0, -1.0, 1},
      {"dcosd", _morvex_dcosd, _morvex_I_dcosd, 2e10, 0.0, 0},  // beyond the limit
  };
  for (const auto& c : cases) check(c);
  // Just inside the limit the result is the sine, to the reduction's
  // absolute accuracy.
  EXPECT_NEAR(stored(_morvex_dsin(2.9e8)), 0.021049331686771932, 1e-12);
  // The kernel's selector.
  for (const double x : {0.3, -2.0, 1e5}) {
    EXPECT_EQ(_morvex_sincos(x, 0), _morvex_dsin(x));
    EXPECT_EQ(_morvex_sincos(x, 1), _morvex_dcos(x));
  }
}

TEST_F(Trig, TangentAndCotangent) {
  const UnaryCase cases[] = {
      {"dtan", _morvex_dtan, _morvex_I_dtan, 2.0e8, 0.0, 0},   // beyond 149078417.58
      {"dtan", _morvex_dtan, _morvex_I_dtan, kNaN, 0.0, 0},
      {"dtan", _morvex_dtan, _morvex_I_dtan, -kInf, 0.0, 0},
      {"dtan", _morvex_dtan, _morvex_I_dtan, -0.0, 0.0, 0},   // (-0 - 0) - 0*C2 with C2 < 0
      {"dtan", _morvex_dtan, _morvex_I_dtan, -1e-300, -1e-300, 0},
      {"dtan", _morvex_dtan, _morvex_I_dtan, 1e-9, 1e-9, 0},
      {"dtan", _morvex_dtan, _morvex_I_dtan, 1.0, 1.5574077246549023, 2},   // odd n: -den/num
      {"dtan", _morvex_dtan, _morvex_I_dtan, -1.0, -1.5574077246549023, 2},
      {"dtan", _morvex_dtan, _morvex_I_dtan, 0.5, 0.5463024898437905, 2},
      {"dtand", _morvex_dtand, _morvex_I_dtand, 45.0, 1.0, 2},
      {"dtand", _morvex_dtand, _morvex_I_dtand, -45.0, -1.0, 2},
      {"dcot", _morvex_dcot, _morvex_I_dcot, 0.0, kInf, 0},    // 1/tan(0)
      {"dcot", _morvex_dcot, _morvex_I_dcot, -0.0, kInf, 0},
      {"dcot", _morvex_dcot, _morvex_I_dcot, 2.0e8, kInf, 0},
      {"dcot", _morvex_dcot, _morvex_I_dcot, 1.0, 0.6420926159343308, 3},
  };
  for (const auto& c : cases) check(c);
}

// Each of the eight cases combines r with pi/4 and pi/2 in its own way.
TEST_F(Trig, ArcsineAndArccosineCases) {
  struct Case {
    double x;
    double asin, acos;
  };
  const Case cases[] = {
      {0.25, 0.25268025514207865, 1.318116071652818},    // cases 0 and 1
      {-0.25, -0.25268025514207865, 1.8234765819369754}, // cases 2 and 3
      {0.75, 0.848062078981481, 0.7227342478134157},     // cases 4 and 5
      {-0.75, -0.848062078981481, 2.4188584057763776},   // cases 6 and 7
  };
  for (const auto& c : cases) {
    expect_near_ulps(_morvex_dasin(c.x), c.asin, 3, call_text("dasin", c.x));
    expect_near_ulps(_morvex_dacos(c.x), c.acos, 3, call_text("dacos", c.x));
    EXPECT_EQ(_morvex_asinacos(c.x, 0), _morvex_dasin(c.x));
    EXPECT_EQ(_morvex_asinacos(c.x, 1), _morvex_dacos(c.x));
  }
  const UnaryCase edges[] = {
      {"dasin", _morvex_dasin, _morvex_I_dasin, 1.5, kNaN, 0},
      {"dasin", _morvex_dasin, _morvex_I_dasin, 1.0000000000000002, kNaN, 0},
      {"dacos", _morvex_dacos, _morvex_I_dacos, -1.5, kNaN, 0},
      {"dasin", _morvex_dasin, _morvex_I_dasin, kNaN, kNaN, 0},
      {"dacos", _morvex_dacos, _morvex_I_dacos, kNaN, kNaN, 0},
      {"dasin", _morvex_dasin, _morvex_I_dasin, 1.0, kHalfPi, 0},
      {"dasin", _morvex_dasin, _morvex_I_dasin, -1.0, -kHalfPi, 0},
      {"dacos", _morvex_dacos, _morvex_I_dacos, -1.0, kPi, 0},
      {"dacos", _morvex_dacos, _morvex_I_dacos, 1.0, 0.0, 0},
      {"dasin", _morvex_dasin, _morvex_I_dasin, 1e-9, 1e-9, 0},
      {"dasin", _morvex_dasin, _morvex_I_dasin, -0.0, 0.0, 0},  // y = |x|
      {"dacos", _morvex_dacos, _morvex_I_dacos, 1e-9, 1.5707963257948967, 1},
      {"dacos", _morvex_dacos, _morvex_I_dacos, -1e-9, 1.5707963277948966, 1},
      {"dasind", _morvex_dasind, _morvex_I_dasind, 1.0, 90.0, 1},
      {"dasind", _morvex_dasind, _morvex_I_dasind, -0.5, -30.0, 2},
      {"dacosd", _morvex_dacosd, _morvex_I_dacosd, -1.0, 180.0, 1},
      {"dacosd", _morvex_dacosd, _morvex_I_dacosd, 0.5, 60.0, 2},
  };
  for (const auto& c : edges) check(c);
}

TEST_F(Trig, Arctangent) {
  const UnaryCase cases[] = {
      {"datan", _morvex_datan, _morvex_I_datan, -1.0, -kQuarterPi, 1},
      {"datan", _morvex_datan, _morvex_I_datan, kInf, kHalfPi, 0},
      {"datan", _morvex_datan, _morvex_I_datan, -kInf, -kHalfPi, 0},
      {"datan", _morvex_datan, _morvex_I_datan, -0.0, -0.0, 0},
      {"datan", _morvex_datan, _morvex_I_datan, 1e-10, 1e-10, 0},
      {"datan", _morvex_datan, _morvex_I_datan, kNaN, kNaN, 0},
      {"datan", _morvex_datan, _morvex_I_datan, 0.2, 0.19739555984988078, 2},  // n = 0
      {"datan", _morvex_datan, _morvex_I_datan, 0.5, 0.4636476090008061, 3},   // n = 1
      {"datan", _morvex_datan, _morvex_I_datan, 10.0, 1.4711276743037347, 2},  // n = 2
      {"datan", _morvex_datan, _morvex_I_datan, 2.0, 1.1071487177940904, 3},   // n = 3
      {"datand", _morvex_datand, _morvex_I_datand, 1.0, 45.0, 1},
      {"datand", _morvex_datand, _morvex_I_datand, -kInf, -90.0, 1},
  };
  for (const auto& c : cases) check(c);
}

TEST_F(Trig, Atan2QuadrantsAndSignedZeros) {
  struct Case {
    double y, x, want;
    double ulps;
  };
  const Case cases[] = {
      {1.0, 1.0, kQuarterPi, 1},
      {1.0, -1.0, 2.356194490192345, 1},
      {-1.0, -1.0, -2.356194490192345, 1},
      {-1.0, 1.0, -kQuarterPi, 1},
      {1.0, 0.0, kHalfPi, 0},
      {-1.0, 0.0, -kHalfPi, 0},
      {-1.0, -0.0, -kHalfPi, 0},
      {0.0, 0.0, 0.0, 0},            // x = 0 and y = 0: +0.0
      {-0.0, -0.0, 0.0, 0},
      {kNaN, 0.0, 0.0, 0},
      {1.0, kNaN, kHalfPi, 0},       // x NaN counts as x = 0
      {-1.0, kNaN, -kHalfPi, 0},
      {0.0, -1.0, kPi, 0},
      {-0.0, -1.0, -kPi, 0},         // the sign bit of y decides
      {-0.0, 1.0, -0.0, 0},
      {0.0, 1.0, 0.0, 0},
      {kNaN, 1.0, kNaN, 0},
      {1e300, 1e-300, kHalfPi, 0},   // the quotient keeps its exponent in st(0)
      {-1e-300, 1e300, -0.0, 0},
      {kInf, 1.0, kHalfPi, 0},
      {kInf, -kInf, kNaN, 0},
  };
  for (const auto& c : cases) {
    if (c.ulps == 0) {
      expect_bits(_morvex_datan2(c.y, c.x), c.want, call_text("datan2", c.y, c.x));
      expect_bits(_morvex_I_datan2(&c.y, &c.x), c.want, call_text("I_datan2", c.y, c.x));
    } else {
      expect_near_ulps(_morvex_datan2(c.y, c.x), c.want, c.ulps, call_text("datan2", c.y, c.x));
    }
  }
  expect_near_ulps(_morvex_datan2d(1.0, 1.0), 45.0, 1, "datan2d(1, 1)");
  expect_near_ulps(_morvex_datan2d(-0.0, -1.0), -180.0, 1, "datan2d(-0, -1)");
  expect_bits(_morvex_datan2d(0.0, 0.0), 0.0, "datan2d(0, 0)");
}

}  // namespace
