// Step 35: REAL*4 elementals as compiled code calls them: each argument one
// 32-bit slot (or its address for the _morvex_I_ forms), the result in the
// x87 register, stored as a REAL*4 by the caller. Exponential, logarithm
// (through its generic by-reference name), square root, a degree-form sine,
// ATAN2 in the second quadrant, the table-driven power, the integer power
// with its REAL*4 products, and NINT to INTEGER*4, INTEGER*2 and INTEGER*8.
#include <cstdint>
#include <cstdio>

#include "f90/f90.h"
#include "demo.h"

namespace {


// What a REAL*4 assignment does with the register result.
float stored(long double r) {
  volatile float f = static_cast<float>(r);
  return f;
}

}  // namespace

DEMO_STEP(35, "REAL*4 elementals") {
  const float ten = 10.0f;
  std::printf("EXP(1.0)                    %.9g\n", stored(_morvex_exp(1.0f)));
  std::printf("LOG(10.0), by reference     %.9g\n", stored(_morvex_I_log(&ten)));
  std::printf("SQRT(2.0)                   %.9g\n", stored(_morvex_sqrt(2.0f)));
  std::printf("SIND(30.0)                  %.9g\n", stored(_morvex_sind(30.0f)));
  std::printf("ATAN2(1.0, -1.0)            %.9g (3pi/4)\n", stored(_morvex_atan2(1.0f, -1.0f)));
  std::printf("2.0 ** 0.5                  %.9g\n", stored(_morvex_ftof(2.0f, 0.5f)));
  std::printf("2.0 ** 127.9                %.9g (near the top of the range)\n",
              stored(_morvex_ftof(2.0f, 127.9f)));
  std::printf("1.23 ** 25                  %.9g (every product a REAL*4)\n",
              stored(_morvex_ftoi(1.23f, 25)));
  std::printf("NINT(-2.5)                  %d\n", _morvex_nint(-2.5f));
  std::printf("NINT(32767.5) as INTEGER*2  %d\n", _morvex_inint(32767.5f));
  std::printf("NINT(3.0E9) as INTEGER*8    %lld\n", static_cast<long long>(_morvex_knint(3.0e9f)));
  std::printf("NINT(3.0E9) as INTEGER*4    %d (out of range)\n", _morvex_nint(3.0e9f));
}
