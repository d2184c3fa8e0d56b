// SYSTEM_CLOCK(COUNT, COUNT_RATE, COUNT_MAX) in microseconds.
//
// RATE is 1000000 and MAX 2147483647 in both kinds. The time is
// now = seconds * 1000000 + microseconds of gettimeofday(), in 64 bits.
//
// INTEGER*4 count (_sysclock): measured from a base kept between calls. The
// first call sets the base to now and counts 0. Later, d = now - base; when d
// passes 2147483647 it is brought back by steps of 2147483647 into
// 1..2147483647 (one remainder, not a loop) and the base moves to now, so the
// count restarts from the call at which it passed. A clock stepped back
// (now < base) moves the base to now and counts 0 rather than going
// negative.
//
// INTEGER*8 count (_sysclock_8): no base; now modulo 2^31 (0..2147483647),
// by the arithmetic shift pair now - ((now >> 31) << 31). The scratch word
// gets the low word of now >> 31, sign-extended.
//
// Absent (null) arguments are skipped. _sysclock and SECNDS share unlocked
// state: they are not reentrant.
#include "subrtn/clock.h"
#include "subrtn/clock_source.h"

namespace {

constexpr int32_t kRate = 1000000;
constexpr int32_t kMax = 2147483647;

int64_t microseconds_now() {
  timeval tv;
  f90::clock::source().time_of_day(&tv);
  return int64_t{tv.tv_sec} * 1000000 + int64_t{tv.tv_usec};
}

int32_t count_since_base() {
  const int64_t now = microseconds_now();
  int64_t& base = f90::clock::state().sysclock_base;
  if (base == 0 || now < base) {
    base = now;
    return 0;
  }
  int64_t d = now - base;
  if (d > kMax) {
    d = (d - 1) % kMax + 1;
    base = now;
  }
  return static_cast<int32_t>(d);
}

// now modulo 2^31; the scratch word gets the low word of now >> 31.
int64_t count_modulo_2_31(int64_t* scratch) {
  const int64_t now = microseconds_now();
  const int64_t q = now >> 31;
  if (scratch != nullptr) *scratch = static_cast<int32_t>(static_cast<uint32_t>(q));
  return now - static_cast<int64_t>(static_cast<uint64_t>(q) << 31);
}

}  // namespace

int32_t sysclock(int32_t* count) {
  const int32_t c = count_since_base();
  if (count != nullptr) *count = c;
  return c;
}

void system_clock(int32_t* count, int32_t* rate, int32_t* max) {
  if (count != nullptr) *count = count_since_base();
  if (rate != nullptr) *rate = kRate;
  if (max != nullptr) *max = kMax;
}

int64_t sysclock_8(int64_t* count, int64_t* scratch) {
  const int64_t c = count_modulo_2_31(scratch);
  if (count != nullptr) *count = c;
  return c;
}

void system_clock_8(int64_t* count, int64_t* rate, int64_t* max) {
  if (count != nullptr) *count = count_modulo_2_31(nullptr);
  if (rate != nullptr) *rate = kRate;
  if (max != nullptr) *max = kMax;
}
