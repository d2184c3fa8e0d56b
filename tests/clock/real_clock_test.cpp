// The clock routines on the real clock: DATE_AND_TIME against the C
// library's own reading of the same second, and counters that move forward.
#include <gtest/gtest.h>

#include <sys/time.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "descriptor_builder.h"
#include "f90/clock.h"

namespace {

// The seconds of gettimeofday(), the clock DATE_AND_TIME reads: time() may
// come from a coarser clock that turns over a few milliseconds later.
time_t precise_seconds() {
  timeval now;
  gettimeofday(&now, nullptr);
  return now.tv_sec;
}

// Read the clock before and after; retry when a second boundary falls
// between them.
void expect_matches_c_library() {
  for (int attempt = 0; attempt < 5; ++attempt) {
    const time_t before = precise_seconds();
    char date[8], tim[10], zone[5];
    int32_t values[8] = {};
    f90test::Descriptor v(f90test::ElemType::integer(4), 1, true);
    v->base = values;
    v->dim[0] = {1, 8, 1};
    _DATE_AND_TIME(date, 8, tim, 10, zone, 5, v.get());
    const time_t after = precise_seconds();
    if (before != after) continue;

    tm t;
    localtime_r(&before, &t);
    char want[48];
    std::snprintf(want, sizeof want, "%04d%02d%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    EXPECT_EQ(std::string(date, 8), want);
    std::snprintf(want, sizeof want, "%02d%02d%02d", t.tm_hour, t.tm_min, t.tm_sec);
    EXPECT_EQ(std::string(tim, 6), want);
    EXPECT_EQ(tim[6], '.');
    // The C library's difference from UTC in minutes, as VALUES(4) and ZONE.
    const int32_t minutes = static_cast<int32_t>(-(timezone / 60)) + (t.tm_isdst ? 60 : 0);
    const int32_t m = minutes < 0 ? -minutes : minutes;
    std::snprintf(want, sizeof want, "%c%02d%02d", minutes < 0 ? '-' : '+', m / 60, m % 60);
    EXPECT_EQ(std::string(zone, 5), want);
    const int32_t fields[7] = {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, minutes,
                               t.tm_hour,        t.tm_min,     t.tm_sec};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(values[i], fields[i]) << "VALUES(" << i + 1 << ")";
    EXPECT_GE(values[7], 0);
    EXPECT_LE(values[7], 999);
    return;
  }
  FAIL() << "no stable second in five attempts";
}

// Zones given as POSIX TZ rules (no zone files needed), daylight saving
// both ways of the year.
TEST(RealClock, DateAndTimeMatchesTheCLibrary) {
  const char* saved = getenv("TZ");
  const std::string keep = saved != nullptr ? saved : "";
  for (const char* tz : {"UTC0", "IST-5:30", "NPT-5:45", "EST5EDT,M3.2.0,M11.1.0",
                         "AEST-10AEDT,M10.1.0,M4.1.0/3", "XXX+0:30YYY,J1/0,J365/25"}) {
    setenv("TZ", tz, 1);
    tzset();
    SCOPED_TRACE(tz);
    expect_matches_c_library();
  }
  if (saved != nullptr)
    setenv("TZ", keep.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

TEST(RealClock, CountersMoveForward) {
  int32_t c0 = -1, c1 = -1;
  _SYSTEM_CLOCK(&c0, nullptr, nullptr);
  // Spin for at least 2 ms of wall time.
  timeval start, now;
  gettimeofday(&start, nullptr);
  do gettimeofday(&now, nullptr);
  while ((now.tv_sec - start.tv_sec) * 1000000 + (now.tv_usec - start.tv_usec) < 2000);
  _SYSTEM_CLOCK(&c1, nullptr, nullptr);
  EXPECT_GE(c0, 0);
  EXPECT_GE(c1 - c0, 2000);
  double cpu0 = -1, cpu1 = -1;
  _CPU_TIME_S(&cpu0);
  _CPU_TIME_S(&cpu1);
  EXPECT_GE(cpu0, 0.0);
  EXPECT_GE(cpu1, cpu0);
  const double zero = 0;
  const long double s = _SECNDS_S(&zero);
  EXPECT_GE(s, 0.0L);
  EXPECT_LT(s, 2 * 86400.0L);
}

}  // namespace
