// A clock the tests set by hand, installed in place of the C library's:
// the time of day with microseconds, a separate answer for time(), the
// zone (seconds west of UTC), the daylight-saving flag and the user ticks.
// Local time is UTC shifted by the zone (and an hour while daylight saving
// is in force), flagged as the zone says.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>

#include "subrtn/clock_source.h"

namespace f90test {

struct FakeClock {
  static inline int64_t seconds = 0;       // gettimeofday seconds
  static inline int32_t micros = 0;        // gettimeofday microseconds
  static inline int64_t time_seconds = 0;  // what time() answers
  static inline long west = 0;
  static inline int dst = 0;
  static inline int32_t ticks = 0;

  // Sets every reading to the local date and time given (month 1-12).
  static void set_local(int year, int month, int day, int hour, int minute, int second,
                        int32_t us) {
    tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    seconds = static_cast<int64_t>(timegm(&t)) + west - (dst != 0 ? 3600 : 0);
    time_seconds = seconds;
    micros = us;
  }

  static void time_of_day(timeval* tv) {
    tv->tv_sec = static_cast<time_t>(seconds);
    tv->tv_usec = micros;
  }
  static time_t time_now() { return static_cast<time_t>(time_seconds); }
  static void local_time(time_t t, tm* r) {
    const time_t shifted = t - west + (dst != 0 ? 3600 : 0);
    *r = tm{};
    gmtime_r(&shifted, r);
    r->tm_isdst = dst;
  }
  static clock_t user_ticks() { return static_cast<clock_t>(ticks); }
  static long seconds_west() { return west; }

  static constexpr f90::clock::Source kSource = {time_of_day, time_now, local_time, user_ticks,
                                                 seconds_west};
};

// Each test runs on the fake clock with fresh first-call state.
class FakeClockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeClock::west = 0;
    FakeClock::dst = 0;
    FakeClock::ticks = 0;
    FakeClock::set_local(2005, 2, 1, 9, 5, 3, 7000);
    f90::clock::set_source(&FakeClock::kSource);
    f90::clock::reset_state();
  }
  void TearDown() override {
    f90::clock::set_source(nullptr);
    f90::clock::reset_state();
  }
};

}  // namespace f90test
