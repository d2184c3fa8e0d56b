// Step 54: REAL*16 (double-double) trigonometric functions, called the way
// compiled code calls them: the result slot's address first, arguments by
// value, or by address through the _morvex_I_ forms.
#include <cstdio>

#include "f90/f90.h"
#include "demo.h"

namespace {
}  // namespace


namespace {
void show(const char* what, DoubleDouble v) {
  std::printf("%-24s hi %-24.17g lo %.17g\n", what, v.hi, v.lo);
}
}  // namespace

DEMO_STEP(54, "REAL*16 trigonometric functions") {
  DoubleDouble r;
  const DoubleDouble one = {1.0, 0.0};
  show("SIN(1)", *_morvex_sinl(&r, one));
  show("COS(1) by reference", *_morvex_I_cosl(&r, &one));
  show("TAN(1)", *_morvex_tanl(&r, one));
  show("SIN(1e6)", *_morvex_sinl(&r, {1e6, 0.0}));
  show("SIND(30)", *_morvex_sindl(&r, {30.0, 0.0}));
  show("TAND(45)", *_morvex_tandl(&r, {45.0, 0.0}));
  show("ASIN(1) = pi/2", *_morvex_asinl(&r, one));
  show("ACOS(-1) = pi", *_morvex_acosl(&r, {-1.0, 0.0}));
  show("ATAN(1) = pi/4", *_morvex_atanl(&r, one));
  show("ATAN2(1, -1) = 3pi/4", *_morvex_atan2l(&r, one, {-1.0, 0.0}));
  show("ATAN2D(1, 1)", *_morvex_atan2dl(&r, one, one));
}
