// Step 10: the floating-point environment a Fortran program starts from, the
// library's error-value constants, and an IEEE-style flag round trip through
// the companion runtime's accessors.
#include <cstdint>
#include <cstring>

#include "demo.h"
#include "f90/f90.h"

DEMO_STEP(10, "floating-point state and library constants") {
  const int32_t nearest_double = 0x127f;  // the mode compiled code runs in
  _morvex_setCW(&nearest_double);
  std::printf("control word            0x%04x\n", static_cast<unsigned>(_morvex_getCW() & 0xffff));
  std::printf("FLOAT_MAX               %.8g\n", static_cast<double>(_morvex_FLOAT_MAX));
  std::printf("DOUBLE_MAX              %.17g\n", _morvex_DOUBLE_MAX);
  std::printf("DOUBLE_INF              %g\n", _morvex_DOUBLE_INF);

  const int32_t none = 0;
  _morvex_setSW(&none);
  volatile double third = 1.0;
  third = third / 3.0;
  const int32_t after = _morvex_getSW() & 0x3f;
  std::printf("1/3 = %.17g raised flags 0x%02x (inexact 0x20)\n", static_cast<double>(third),
              static_cast<unsigned>(after));
  const int32_t state = _morvex_getCSW();
  _morvex_setSW(&none);
  _morvex_setCSW(&state);
  std::printf("flags after restoring the saved state 0x%02x\n",
              static_cast<unsigned>(_morvex_getSW() & 0x3f));
}
