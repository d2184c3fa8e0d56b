// CPU_TIME(TIME): the user time of the process in seconds, from the tick
// count of times(), one tick taken as 1/100 second (system time not
// counted).
//
// The 32-bit tick count u, sign-extended, is reduced by a 64-bit shift pair
// (u - ((u >> k) << k)) modulo 2^31 for REAL*4 and 2^52 for REAL*8, converted
// exactly to extended precision and multiplied on the x87 by 0.01 of the
// result's kind (REAL*4 0x3c23d70a, REAL*8 0x3f847ae147ae147b) in the
// caller's precision and rounding; the product is stored rounded to the
// result's kind.
#include "subrtn/clock.h"
#include "subrtn/clock_source.h"
#include "x87.h"

namespace {

template <int K>
int64_t ticks_modulo() {
  const int64_t u = static_cast<int32_t>(f90::clock::source().user_ticks());
  return u - static_cast<int64_t>(static_cast<uint64_t>(u >> K) << K);
}

}  // namespace

void cpu_time(float* seconds) {
  const long double ticks = static_cast<long double>(ticks_modulo<31>());
  *seconds = x87::round_to<float>(ticks * static_cast<long double>(0.01f));
}

void cpu_time_s(double* seconds) {
  const long double ticks = static_cast<long double>(ticks_modulo<52>());
  *seconds = x87::round_to<double>(ticks * static_cast<long double>(0.01));
}
