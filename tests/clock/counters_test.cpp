// SYSTEM_CLOCK, CPU_TIME and SECNDS on a fixed clock, against naive models of
// their rules; first-call state reset before each test.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "control_word.h"
#include "f90/clock.h"
#include "fake_clock.h"

namespace {

using f90test::FakeClock;
using f90test::FakeClockTest;

constexpr int64_t kMax = 2147483647;

void set_micros(int64_t t) {
  FakeClock::seconds = t / 1000000;
  FakeClock::micros = static_cast<int32_t>(t % 1000000);
}

TEST_F(FakeClockTest, SystemClockRateMaxAndFirstCount) {
  int32_t count = -1, rate = 0, max = 0;
  _SYSTEM_CLOCK(&count, &rate, &max);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(rate, 1000000);
  EXPECT_EQ(max, 2147483647);
  int64_t count8 = -1, rate8 = 0, max8 = 0;
  _SYSTEM_CLOCK_8(&count8, &rate8, &max8);
  EXPECT_EQ(rate8, 1000000);
  EXPECT_EQ(max8, 2147483647);
  // Absent arguments are skipped.
  _SYSTEM_CLOCK(nullptr, nullptr, nullptr);
  _SYSTEM_CLOCK_8(nullptr, nullptr, nullptr);
  _SYSTEM_CLOCK(nullptr, &rate, nullptr);
  EXPECT_EQ(rate, 1000000);
}

TEST_F(FakeClockTest, SystemClockWrapAndRebase) {
  const int64_t t0 = int64_t{1107248703} * 1000000;
  // Each row: the time, in microseconds after t0's base, and the count.
  struct Step {
    int64_t at;  // microseconds since the current base's origin t0
    int32_t count;
  } steps[] = {
      {0, 0},                    // first call: base = now
      {1500000, 1500000},
      {kMax, 2147483647},        // exactly MAX: no wrap
      {kMax + 1, 1},             // passed: one step back, base moves here
      {kMax + 11, 10},           // counted from the new base
      {kMax + 1 + 3 * kMax, 2147483647},  // three steps exactly: MAX again
      {kMax + 1 + 3 * kMax + 5, 5},       // base had moved to the previous call
      {1000, 0},                 // stepped back: rebase, count 0
      {1001, 1},
  };
  for (const Step& s : steps) {
    set_micros(t0 + s.at);
    int32_t count = -7;
    const int32_t returned = _sysclock(&count);
    EXPECT_EQ(count, s.count) << "at " << s.at;
    EXPECT_EQ(returned, s.count);
  }
}

// The count rule written out: repeated subtraction of MAX, base moving on a
// wrap and on a backward step.
struct ReferenceCount {
  int64_t base = 0;
  int32_t next(int64_t now) {
    if (base == 0 || now < base) {
      base = now;
      return 0;
    }
    int64_t d = now - base;
    if (d > kMax) {
      while (d > kMax) d -= kMax;
      base = now;
    }
    return static_cast<int32_t>(d);
  }
};

TEST_F(FakeClockTest, SystemClockAgreesWithReference) {
  std::mt19937_64 rng(26);
  ReferenceCount ref;
  int64_t now = int64_t{1700000000} * 1000000;
  for (int i = 0; i < 2000; ++i) {
    switch (rng() % 4) {
      case 0: now += static_cast<int64_t>(rng() % 1000); break;
      case 1: now += static_cast<int64_t>(rng() % (4 * kMax)); break;
      case 2: now += kMax - 2 + static_cast<int64_t>(rng() % 5); break;
      default: now -= static_cast<int64_t>(rng() % 3000); break;
    }
    set_micros(now);
    int32_t count;
    if (i % 2 == 0)
      _sysclock(&count);
    else
      _SYSTEM_CLOCK(&count, nullptr, nullptr);
    ASSERT_EQ(count, ref.next(now)) << "call " << i;
  }
}

TEST_F(FakeClockTest, SystemClock8IsTimeOfDayModulo2To31) {
  struct Case {
    int64_t seconds;
    int32_t micros;
  } cases[] = {{0, 0},          {0, 999999},      {2147, 483647}, {2147, 483648},
               {1107248703, 7}, {2147483647, 999999}, {-1, 0}, {-2148, 516352}};
  for (const Case& c : cases) {
    FakeClock::seconds = c.seconds;
    FakeClock::micros = c.micros;
    const int64_t now = c.seconds * 1000000 + c.micros;
    // floor(now / 2^31) and the non-negative remainder.
    int64_t q = now / 2147483648LL, r = now % 2147483648LL;
    if (r < 0) {
      r += 2147483648LL;
      q -= 1;
    }
    int64_t count = -1, scratch = 0;
    EXPECT_EQ(_sysclock_8(&count, &scratch), r) << c.seconds;
    EXPECT_EQ(count, r) << c.seconds;
    EXPECT_EQ(scratch, int64_t{static_cast<int32_t>(static_cast<uint32_t>(q))}) << c.seconds;
    int64_t count8 = -1;
    _SYSTEM_CLOCK_8(&count8, nullptr, nullptr);
    EXPECT_EQ(count8, r);
  }
  // No base: the INTEGER*8 count does not start the INTEGER*4 one.
  int32_t count = -1;
  FakeClock::seconds = 1000;
  _sysclock(&count);
  EXPECT_EQ(count, 0);
}

class CpuTimeTest : public FakeClockTest {};

TEST_F(CpuTimeTest, ProductsByKindAndPrecision) {
  // Reference: the exact product of the reduced tick count and 0.01 of the
  // kind (__float128 holds it), rounded to the x87 precision in force and
  // then to the result's kind.
  const int32_t ticks[] = {0, 1, 7, 100, 12345, 99999999, 0x7fffffff, -1, INT32_MIN, -100};
  for (int32_t t : ticks) {
    FakeClock::ticks = t;
    const int64_t r31 = static_cast<int64_t>(static_cast<uint32_t>(t) & 0x7fffffffu);
    const int64_t r52 = int64_t{t} < 0 ? int64_t{t} + (int64_t{1} << 52) : t;
    const __float128 p4 = static_cast<__float128>(r31) * static_cast<__float128>(0.01f);
    const __float128 p8 = static_cast<__float128>(r52) * static_cast<__float128>(0.01);
    struct Mode {
      uint16_t cw;
      float want4;
      double want8;
    } modes[] = {
        {f90test::kCwLinux, static_cast<float>(static_cast<long double>(p4)),
         static_cast<double>(static_cast<long double>(p8))},
        {f90test::kCwLibrary, static_cast<float>(static_cast<double>(p4)), static_cast<double>(p8)},
    };
    for (const Mode& m : modes) {
      float s4 = -1;
      double s8 = -1;
      f90test::under_cw(m.cw, [&] {
        _CPU_TIME(&s4);
        _CPU_TIME_S(&s8);
        return 0;
      });
      EXPECT_EQ(s4, m.want4) << "ticks " << t << " cw " << std::hex << m.cw;
      EXPECT_EQ(s8, m.want8) << "ticks " << t << " cw " << std::hex << m.cw;
    }
  }
  FakeClock::ticks = 12345;
  float s4;
  _CPU_TIME(&s4);
  EXPECT_FLOAT_EQ(s4, 123.45f);
}

// Seconds since midnight, from the local time, as SECNDS counts them.
long double reference_secnds(int h, int m, int s, int32_t us, bool next_day, long double x) {
  const int64_t cs = ((int64_t{h} * 60 + m) * 60 + s) * 100 + us / 10000 + (next_day ? 8640000 : 0);
  return static_cast<long double>(cs) / 100.0L - x;
}

TEST_F(FakeClockTest, SecndsWithinADay) {
  FakeClock::set_local(2005, 2, 1, 9, 5, 3, 7000);
  const float x4 = 0.1f;
  const double x8 = 0.1;
  // At extended precision: 32703 - 0.1f is exact there and not as a REAL*4.
  EXPECT_EQ(_SECNDS_S4(&x4), 32703.0L - static_cast<long double>(0.1f));
  EXPECT_EQ(_SECNDS_S(&x8), 32703.0L - static_cast<long double>(0.1));
  struct Case {
    int h, m, s;
    int32_t us;
  } cases[] = {{0, 0, 0, 0}, {0, 0, 0, 9999}, {0, 0, 0, 10000}, {12, 0, 0, 990000},
               {23, 59, 59, 999999}, {9, 5, 3, 7000}};
  for (const Case& c : cases) {
    FakeClock::set_local(2005, 2, 1, c.h, c.m, c.s, c.us);
    const float z4 = 0;
    const double z8 = 2.5;
    EXPECT_EQ(_SECNDS_S4(&z4), reference_secnds(c.h, c.m, c.s, c.us, false, 0)) << c.h << ":" << c.m;
    EXPECT_EQ(_SECNDS_S(&z8), reference_secnds(c.h, c.m, c.s, c.us, false, 2.5)) << c.h << ":" << c.m;
  }
}

TEST_F(FakeClockTest, SecndsAcrossMidnights) {
  const float zero = 0;
  const double zero8 = 0;
  // The first call fixes the day (the 31st); each row is a later reading.
  FakeClock::set_local(2005, 1, 31, 23, 59, 59, 500000);
  EXPECT_EQ(_SECNDS_S4(&zero), 86399.5L);
  struct Case {
    int month, day, h, m, s;
    long double want;
  } cases[] = {
      {2, 1, 0, 0, 0, 86400.0L},   // one midnight: one day added
      {2, 1, 0, 0, 1, 86401.0L},
      {1, 31, 12, 0, 0, 43200.0L}, // back on the first day: none
      {2, 2, 0, 0, 1, 86401.0L},   // two midnights: still one day
      {3, 1, 6, 0, 0, 108000.0L},
  };
  for (const Case& c : cases) {
    FakeClock::set_local(2005, c.month, c.day, c.h, c.m, c.s, 0);
    EXPECT_EQ(_SECNDS_S4(&zero), c.want) << c.month << "/" << c.day;
    EXPECT_EQ(_SECNDS_S(&zero8), c.want) << c.month << "/" << c.day;
  }
  // Reset: the next call is a first call again.
  f90::clock::reset_state();
  FakeClock::set_local(2005, 2, 2, 0, 0, 1, 0);
  EXPECT_EQ(_SECNDS_S(&zero8), 1.0L);
}

TEST_F(FakeClockTest, SecndsTakesOneReading) {
  // time() a second ahead of gettimeofday(): SECNDS follows gettimeofday's
  // seconds with its own microseconds.
  FakeClock::set_local(2005, 2, 1, 9, 5, 3, 999999);
  FakeClock::time_seconds = FakeClock::seconds + 1;
  const double zero = 0;
  EXPECT_EQ(_SECNDS_S(&zero), reference_secnds(9, 5, 3, 999999, false, 0));
}

TEST_F(FakeClockTest, ControlWordKept) {
  const float x4 = 1;
  const double x8 = 1;
  float s4;
  double s8;
  for (uint16_t cw : {f90test::kCwLibrary, f90test::kCwLinux, f90test::kCwChopSingle}) {
    f90test::under_cw(cw, [&] {
      _CPU_TIME(&s4);
      _CPU_TIME_S(&s8);
      (void)_SECNDS_S4(&x4);
      (void)_SECNDS_S(&x8);
      EXPECT_EQ(f90test::get_cw(), cw);
      return 0;
    });
  }
}

}  // namespace
