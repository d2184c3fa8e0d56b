// Step 30: REAL*8 elementals, called the way compiled code calls them: by
// value with the result in st(0), and by reference for intrinsics passed as
// actual arguments; under the control word compiled code runs with.
#include <cstdint>
#include <cstdio>

#include "f90/f90.h"
#include "demo.h"
#include "f90/runtime.h"


namespace {

// What a REAL*8 variable receives from the st(0) result.
double stored(long double r) {
  volatile double d = static_cast<double>(r);
  return d;
}

}  // namespace

DEMO_STEP(30, "REAL*8 elementals") {
  const int32_t nearest_double = 0x127f;
  _morvex_setCW(&nearest_double);

  std::printf("ANINT(2.5) = %g   NINT(-2.5) = %d   NINT(0.49999999999999994) = %d\n",
              stored(_morvex_dnint(2.5)), _morvex_idnint(-2.5),
              _morvex_idnint(0.49999999999999994));
  std::printf("NINT(3.0D10, KIND=8) = %lld   FLOOR(-1.5) = %g\n",
              static_cast<long long>(_morvex_kidnnt(3.0e10)), stored(_morvex_f90floor(-1.5)));
  std::printf("MOD(1.0D17, 3.0D0) = %g   SQRT(2) = %.17g\n", stored(_morvex_dmod(1e17, 3.0)),
              stored(_morvex_dsqrt(2.0)));
  std::printf("(-2)**3 = %g   2**0.5 = %.17g   1.1**10 = %.17g\n", stored(_morvex_dtod(-2.0, 3.0)),
              stored(_morvex_dtod(2.0, 0.5)), stored(_morvex_dtoi(1.1, 10)));
  std::printf("EXP(1) = %.17g   LOG(10) = %.17g\n", stored(_morvex_dexp(1.0)),
              stored(_morvex_dlog(10.0)));
  const double hundred = 100.0, half = 0.5;
  std::printf("LOG10(100) = %.17g   ASIN(0.5) = %.17g (by reference)\n",
              stored(_morvex_I_dlog10(&hundred)), stored(_morvex_I_dasin(&half)));
  std::printf("SIND(30) = %.17g   COS(1) = %.17g   ATAN2D(1, -1) = %.17g\n",
              stored(_morvex_dsind(30.0)), stored(_morvex_dcos(1.0)),
              stored(_morvex_datan2d(1.0, -1.0)));
  std::printf("TANH(0.5) = %.17g   EXP(710) = %g   LOG(-1) = %g\n", stored(_morvex_dtanh(0.5)),
              stored(_morvex_dexp(710.0)), stored(_morvex_dlog(-1.0)));
  std::printf("control word after the calls 0x%04x\n",
              static_cast<unsigned>(_morvex_getCW() & 0xffff));
}
