// Step 90: the date, time and zone from DATE_AND_TIME, and an elapsed
// SYSTEM_CLOCK count around a little work.
#include <cstdint>
#include <cstdio>

#include "demo.h"
#include "f90/clock.h"

DEMO_STEP(90, "DATE_AND_TIME and SYSTEM_CLOCK") {
  // CALL SYSTEM_CLOCK(start, rate)
  int32_t start = 0, finish = 0, rate = 0;
  _SYSTEM_CLOCK(&start, &rate, nullptr);

  // CHARACTER(8) :: d; CHARACTER(10) :: t; CHARACTER(5) :: z
  // CALL DATE_AND_TIME(d, t, z)
  char d[8], t[10], z[5];
  _DATE_AND_TIME(d, 8, t, 10, z, 5, nullptr);

  volatile double sink = 0;
  for (int i = 1; i <= 200000; ++i) sink = sink + 1.0 / i;

  _SYSTEM_CLOCK(&finish, nullptr, nullptr);
  std::printf("date %.8s  time %.10s  zone %.5s\n", d, t, z);
  std::printf("SYSTEM_CLOCK elapsed %d counts at %d per second\n",
              static_cast<int>(finish - start), static_cast<int>(rate));
}
