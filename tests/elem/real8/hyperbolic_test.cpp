// SINH, COSH and TANH of REAL*8: the branch thresholds, the NaN and
// infinity routes, signed zeros and extended results beyond the REAL*8
// range.
#include <gtest/gtest.h>

#include <cmath>

#include "control_word.h"
#include "real8/real8.h"
#include "real8_test_util.h"

namespace {

using namespace real8test;

class Hyperbolic : public f90test::ControlWordTest {};

TEST_F(Hyperbolic, ThresholdsAndSpecialValues) {
  const double kTanhLimit = from_bits(0x40330fc1931f09cb);   // 19.0615474653985
  const double kTanhBranch = from_bits(0x3fe193ea7aad030b);  // ln 3 / 2
  const UnaryCase cases[] = {
      {"dsinh", _morvex_dsinh, _morvex_I_dsinh, 1e-9, 1e-9, 0},   // below eps: x
      {"dsinh", _morvex_dsinh, _morvex_I_dsinh, -0.0, -0.0, 0},
      {"dsinh", _morvex_dsinh, _morvex_I_dsinh, kNaN, kNaN, 0},
      {"dsinh", _morvex_dsinh, _morvex_I_dsinh, 0.5, 0.5210953054937474, 1},  // rational
      {"dsinh", _morvex_dsinh, _morvex_I_dsinh, 1.0, 1.1752011936438014, 1},
      {"dsinh", _morvex_dsinh, _morvex_I_dsinh, 1.0000000000000002, 1.1752011936438018, 1},
      {"dsinh", _morvex_dsinh, _morvex_I_dsinh, -3.0, -10.017874927409903, 1},  // exponential
      {"dsinh", _morvex_dsinh, _morvex_I_dsinh, kInf, kNaN, 0},  // Inf - Inf in the step
      {"dcosh", _morvex_dcosh, _morvex_I_dcosh, 0.0, 1.0, 0},
      {"dcosh", _morvex_dcosh, _morvex_I_dcosh, -0.0, 1.0, 0},
      {"dcosh", _morvex_dcosh, _morvex_I_dcosh, 1.0, 1.5430806348152437, 1},
      {"dcosh", _morvex_dcosh, _morvex_I_dcosh, -3.0, 10.067661995777765, 1},
      {"dcosh", _morvex_dcosh, _morvex_I_dcosh, kNaN, kNaN, 0},
      {"dcosh", _morvex_dcosh, _morvex_I_dcosh, 1e5, kInf, 0},   // beyond the extended range
      {"dtanh", _morvex_dtanh, _morvex_I_dtanh, kNaN, 1.0, 0},   // NaN fails the limit test
      {"dtanh", _morvex_dtanh, _morvex_I_dtanh, -20.0, -1.0, 0},
      {"dtanh", _morvex_dtanh, _morvex_I_dtanh, kInf, 1.0, 0},
      {"dtanh", _morvex_dtanh, _morvex_I_dtanh, -kInf, -1.0, 0},
      {"dtanh", _morvex_dtanh, _morvex_I_dtanh, kTanhLimit, 1.0, 1},
      {"dtanh", _morvex_dtanh, _morvex_I_dtanh, -0.0, 0.0, 0},   // |x|, negated only for x < 0
      {"dtanh", _morvex_dtanh, _morvex_I_dtanh, 1e-9, 1e-9, 0},
      {"dtanh", _morvex_dtanh, _morvex_I_dtanh, 0.1, 0.09966799462495582, 1},
      {"dtanh", _morvex_dtanh, _morvex_I_dtanh, kTanhBranch, 0.5, 2},
      {"dtanh", _morvex_dtanh, _morvex_I_dtanh, std::nextafter(kTanhBranch, 1.0),
       0.5000000000000001, 2},
      {"dtanh", _morvex_dtanh, _morvex_I_dtanh, -3.0, -0.9950547536867305, 1},
  };
  for (const auto& c : cases) check(c);
}

// Beyond ln(DBL_MAX) the result is an extended value; the caller's store
// makes it infinite.
TEST_F(Hyperbolic, LargeArgumentsComeBackExtended) {
  const long double s = _morvex_dsinh(1000.0);
  EXPECT_GT(s, 9.85e433L);
  EXPECT_LT(s, 9.86e433L);
  EXPECT_EQ(stored(s), kInf);
  EXPECT_LT(_morvex_dsinh(-1000.0), -9.85e433L);
  EXPECT_GT(_morvex_dcosh(-1000.0), 9.85e433L);
  EXPECT_EQ(stored(_morvex_dcosh(-1000.0)), kInf);
}

}  // namespace
