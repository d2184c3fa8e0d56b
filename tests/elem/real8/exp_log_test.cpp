// EXP, LOG and LOG10 of REAL*8: the limits on both sides, the scaling near
// the ends of the range, the NaN and infinity routes, subnormal logarithms.
#include <gtest/gtest.h>

#include <initializer_list>

#include "control_word.h"
#include "real8/real8.h"
#include "real8_test_util.h"

namespace {

using namespace real8test;

class ExpLog : public f90test::ControlWordTest {};

struct Case {
  double x, want;
  double ulps;  // 0: exact bits
};

void check_all(const char* name, long double (*f)(double), long double (*f_ref)(const double*),
               std::initializer_list<Case> cases) {
  for (const auto& c : cases) check(UnaryCase{name, f, f_ref, c.x, c.want, c.ulps});
}

const double kExpUpper = 709.782712893384;       // largest x with a finite e^x
const double kExpLower = -708.396418532264;      // smallest x with a normal e^x

TEST_F(ExpLog, ExpLimitsAndSpecialValues) {
  check_all("dexp", _morvex_dexp, _morvex_I_dexp, {
      {0.0, 1.0, 0},
      {-0.0, 1.0, 0},
      {1.0, 2.718281828459045, 1},
      {709.0, 8.218407461554972e307, 2},
      {709.1, 9.082744919406668e307, 2},          // finite, below the true limit
      {kExpUpper, 1.7976931348622732e308, 2},     // exponent field 2046 after scaling
      {std::nextafter(kExpUpper, 1e9), kInf, 0},  // beyond: +Inf
      {710.0, kInf, 0},
      {kInf, kInf, 0},
      {kNaN, kInf, 0},                            // NaN gives +Inf
      {kExpLower, 2.2250738585075156e-308, 2},    // still normal
      {-708.4, 0.0, 0},                           // below the lower limit: +0.0
      {-745.2, 0.0, 0},
      {-kInf, 0.0, 0},
      {1e-300, 1.0, 0},
      {-1e-17, 1.0, 1},
  });
}

TEST_F(ExpLog, LogSpecialValuesAndBothPaths) {
  const double kNearLow = from_bits(0x3fee0fabfbc702a6);   // e^(-1/16)
  const double kNearHigh = from_bits(0x3ff1082b577d34f0);  // e^(1/16)
  check_all("dlog", _morvex_dlog, _morvex_I_dlog, {
      {0.0, -kInf, 0},
      {-0.0, -kInf, 0},
      {-1.0, kNaN, 0},
      {-kMinSub, kNaN, 0},
      {-kInf, kNaN, 0},
      {kNaN, kNaN, 0},
      {kInf, kInf, 0},
      {1.0, 0.0, 0},
      {2.0, 0.6931471805599453, 0},               // LN2_LEAD + LN2_TRAIL
      {0.5, -0.6931471805599453, 0},
      {1.0000000000000002, 2.2204460492503128e-16, 1},  // near-1 path
      {0.9999999999999999, -1.1102230246251565e-16, 1},
      {kNearLow, -0.06249999999999974, 1},                     // table path at the edges
      {kNearHigh, 0.06250000000000053, 1},
      {std::nextafter(kNearHigh, 0.0), 0.06250000000000032, 1},  // near-1 path
      {kMinSub, -744.4400719213812, 1},           // subnormal, prescaled
      {2.2250738585072014e-308, -708.3964185322641, 1},
      {1.7976931348623157e308, 709.782712893384, 1},
      {10.0, 2.302585092994046, 1},
  });
}

TEST_F(ExpLog, Log10) {
  check_all("dlog10", _morvex_dlog10, _morvex_I_dlog10, {
      {100.0, 2.0, 1},
      {1e-300, -300.0, 2},
      {0.0, -kInf, 0},
      {-2.0, kNaN, 0},
      {kInf, kInf, 0},
      {1.0, 0.0, 0},
  });
}

}  // namespace
