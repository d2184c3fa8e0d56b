// Step 52: REAL*16 (double-double) mathematics, called the way compiled code
// calls it: the result slot's address first, arguments by value, or by
// address through the _morvex_I_ forms.
#include <cstdint>
#include <cstdio>

#include "f90/f90.h"
#include "demo.h"

namespace {
}  // namespace


namespace {
void show(const char* what, DoubleDouble v) {
  std::printf("%-22s hi %-24.17g lo %.17g\n", what, v.hi, v.lo);
}
}  // namespace

DEMO_STEP(52, "REAL*16 exponential, logarithm, powers and hyperbolic functions") {
  DoubleDouble r;
  show("EXP(1)", *_morvex_expl(&r, {1.0, 0.0}));
  const DoubleDouble two = {2.0, 0.0};
  show("LOG(2) by reference", *_morvex_I_logl(&r, &two));
  show("LOG10(1000)", *_morvex_log10l(&r, {1000.0, 0.0}));
  show("SQRT(2)", *_morvex_sqrtl(&r, two));
  show("2**100", *_morvex_powli(&r, two, 100));
  show("2**0.5", *_morvex_powl(&r, two, {0.5, 0.0}));
  show("SINH(0.01)", *_morvex_sinhl(&r, {0.01, 0.0}));
  show("COSH(1)", *_morvex_coshl(&r, {1.0, 0.0}));
  show("TANH(0.5)", *_morvex_tanhl(&r, {0.5, 0.0}));
  int32_t k = 0;
  const DoubleDouble half_pi = {1.5707963267948966, 6.123233995736766e-17};
  _morvex_qmodr({10.0, 0.0}, half_pi, &k, &r);
  std::printf("10 = %d * pi/2 + r:   ", static_cast<int>(k));
  show("r", r);
}
