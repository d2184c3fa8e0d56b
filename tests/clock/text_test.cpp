// CLOCK, DATE, JDATE and DATE_AND_TIME on a fixed clock: formats, cuts and
// blank fill for every length, the zone rule, VALUES by kind and layout.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "descriptor_builder.h"
#include "f90/clock.h"
#include "fake_clock.h"
#include "guard_page.h"

namespace {

using f90test::FakeClock;
using f90test::FakeClockTest;

// What a buffer of len bytes must hold after receiving `text`.
std::string padded(const std::string& text, int32_t len) {
  if (len <= 0) return "";
  std::string s = text.substr(0, static_cast<size_t>(len));
  s.resize(static_cast<size_t>(len), ' ');
  return s;
}

constexpr int32_t kLengths[] = {-5, 0, 1, 2, 5, 7, 8, 9, 10, 12, 40};
constexpr char kGuard = '#';

// Runs write(buf, len) on a buffer with 8 guard bytes on both sides and
// checks the len bytes and the guards.
template <class Write>
void expect_written(const char* what, const std::string& text, int32_t len, Write write) {
  std::vector<char> area(64 + 16, kGuard);
  char* buf = area.data() + 8;
  write(buf, len);
  const std::string want = padded(text, len);
  EXPECT_EQ(std::string(buf, want.size()), want) << what << " len " << len;
  for (size_t i = 0; i < area.size(); ++i) {
    if (i >= 8 && i < 8 + want.size()) continue;
    ASSERT_EQ(area[i], kGuard) << what << " len " << len << ": stray byte at " << i;
  }
}

TEST_F(FakeClockTest, ClockDateJdateEveryLength) {
  FakeClock::set_local(2005, 2, 1, 9, 5, 3, 7000);
  struct Entry {
    const char* name;
    void (*fn)(char*, int32_t);
    const char* text;
  } entries[] = {
      {"CLOCK", _CLOCK_, "09:05:03"},   {"F90_CLOCK", _F90_CLOCK_, "09:05:03"},
      {"DATE", _DATE_, "02/01/05"},     {"F90_DATE", _F90_DATE_, "02/01/05"},
      {"JDATE", _JDATE_, "05032   "},   {"F90_JDATE", _F90_JDATE_, "05032   "},
  };
  for (const Entry& e : entries) {
    for (int32_t len : kLengths) expect_written(e.name, e.text, len, e.fn);
    e.fn(nullptr, 8);  // a null buffer is skipped, whatever the length
    // Exactly 8 bytes before a guard page: nothing past the end.
    f90test::GuardedBuffer g(8);
    e.fn(static_cast<char*>(g.data()), 8);
    EXPECT_EQ(std::string(static_cast<char*>(g.data()), 8), e.text) << e.name;
  }
}

TEST_F(FakeClockTest, ClockDateJdateFields) {
  // Each row: a local time and the three texts. Day of the year 1-366,
  // two-digit years from the whole year.
  struct Case {
    int y, mo, d, h, mi, s;
    const char *clock, *date, *jdate;
  } cases[] = {
      {2005, 2, 1, 9, 5, 3, "09:05:03", "02/01/05", "05032   "},
      {2000, 12, 31, 23, 59, 59, "23:59:59", "12/31/00", "00366   "},
      {2023, 12, 31, 0, 0, 0, "00:00:00", "12/31/23", "23365   "},
      {1999, 1, 1, 12, 30, 7, "12:30:07", "01/01/99", "99001   "},
      {2037, 7, 4, 18, 0, 45, "18:00:45", "07/04/37", "37185   "},
  };
  for (const Case& c : cases) {
    FakeClock::set_local(c.y, c.mo, c.d, c.h, c.mi, c.s, 0);
    char out[8];
    _CLOCK_(out, 8);
    EXPECT_EQ(std::string(out, 8), c.clock);
    _DATE_(out, 8);
    EXPECT_EQ(std::string(out, 8), c.date);
    _JDATE_(out, 8);
    EXPECT_EQ(std::string(out, 8), c.jdate);
  }
}

TEST_F(FakeClockTest, ClockDateJdateReadTimeNotTimeOfDay) {
  // CLOCK, DATE and JDATE read time(): a different gettimeofday second is
  // not theirs to use.
  FakeClock::set_local(2005, 2, 1, 9, 5, 3, 0);
  FakeClock::seconds += 3600;
  char out[8];
  _CLOCK_(out, 8);
  EXPECT_EQ(std::string(out, 8), "09:05:03");
}

// DATE_AND_TIME's outputs.
struct DateTime {
  std::string date, time, zone;
};

DateTime date_and_time_texts(bool wrapper) {
  char date[8], time[10], zone[5];
  if (wrapper)
    _F90_DATE_AND_TIME(date, time, zone, nullptr, 8, 10, 5);
  else
    _DATE_AND_TIME(date, 8, time, 10, zone, 5, nullptr);
  return {std::string(date, 8), std::string(time, 10), std::string(zone, 5)};
}

TEST_F(FakeClockTest, DateAndTimeZones) {
  // VALUES(4) and ZONE give the same minutes; '+' for UTC and east of it.
  struct Case {
    long west;
    int dst;
    const char* zone;
    int32_t minutes;
  } cases[] = {
      {-19800, 0, "+0530", 330}, {18000, 1, "-0400", -240}, {0, 0, "+0000", 0},
      {18000, 0, "-0500", -300}, {-3600, 1, "+0200", 120},  {3600, 1, "+0000", 0},
      {1800, 1, "+0030", 30},    {-20700, 0, "+0545", 345}, {36000, 0, "-1000", -600},
      {-50400, 0, "+1400", 840}, {12600, 0, "-0330", -210}, {0, 1, "+0100", 60},
  };
  for (const Case& c : cases) {
    FakeClock::west = c.west;
    FakeClock::dst = c.dst;
    FakeClock::set_local(2005, 2, 1, 9, 5, 3, 7000);
    for (bool wrapper : {false, true}) {
      const DateTime got = date_and_time_texts(wrapper);
      EXPECT_EQ(got.date, "20050201") << c.west;
      EXPECT_EQ(got.time, "090503.007") << c.west;
      EXPECT_EQ(got.zone, c.zone) << c.west << " dst " << c.dst;
    }
    int32_t values[8] = {};
    f90test::Descriptor v(f90test::ElemType::integer(4), 1, true);
    v->base = values;
    v->dim[0] = {1, 8, 1};
    _DATE_AND_TIME(nullptr, 0, nullptr, 0, nullptr, 0, v.get());
    const int32_t want[8] = {2005, 2, 1, c.minutes, 9, 5, 3, 7};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(values[i], want[i]) << c.west << " VALUES(" << i + 1 << ")";
  }
}

TEST_F(FakeClockTest, DateAndTimeMilliseconds) {
  struct Case {
    int32_t us;
    const char* time;
  } cases[] = {{0, "090503.000"}, {999, "090503.000"}, {1000, "090503.001"},
               {7000, "090503.007"}, {999999, "090503.999"}, {500500, "090503.500"}};
  for (const Case& c : cases) {
    FakeClock::set_local(2005, 2, 1, 9, 5, 3, c.us);
    EXPECT_EQ(date_and_time_texts(false).time, c.time);
  }
}

TEST_F(FakeClockTest, DateAndTimeEveryLength) {
  FakeClock::west = -19800;
  FakeClock::set_local(2005, 2, 1, 9, 5, 3, 7000);
  for (int32_t len : kLengths) {
    expect_written("DATE", "20050201", len,
                   [](char* b, int32_t n) { _DATE_AND_TIME(b, n, nullptr, 0, nullptr, 0, nullptr); });
    expect_written("TIME", "090503.007", len,
                   [](char* b, int32_t n) { _DATE_AND_TIME(nullptr, 0, b, n, nullptr, 0, nullptr); });
    expect_written("ZONE", "+0530", len,
                   [](char* b, int32_t n) { _DATE_AND_TIME(nullptr, 0, nullptr, 0, b, n, nullptr); });
    expect_written("F90 TIME", "090503.007", len, [](char* b, int32_t n) {
      _F90_DATE_AND_TIME(nullptr, b, nullptr, nullptr, 0, n, 0);
    });
  }
  // Each output exactly as long as its text, against a guard page.
  f90test::GuardedBuffer d(8), t(10), z(5);
  _DATE_AND_TIME(static_cast<char*>(d.data()), 8, static_cast<char*>(t.data()), 10,
                 static_cast<char*>(z.data()), 5, nullptr);
  EXPECT_EQ(std::string(static_cast<char*>(t.data()), 10), "090503.007");
}

// VALUES: a rank-1 INTEGER array of `bytes`-byte elements over `storage`,
// with the given extent and stride (in 32-bit words) and type word.
struct Values {
  ArrayDescriptor d{};
  Values(void* base, uint32_t type_word, uint32_t bits, int32_t extent, int32_t stride) {
    d.base = base;
    d.elem_len = bits;
    d.flags = f90_flags(1, 1, OBJ_PLAIN);
    d.type_word = type_word;
    d.dim[0] = {1, extent, stride};
  }
};

TEST_F(FakeClockTest, DateAndTimeValuesLayouts) {
  FakeClock::west = 18000;
  FakeClock::dst = 1;
  FakeClock::set_local(2005, 2, 1, 9, 5, 3, 7000);
  const int64_t want[8] = {2005, 2, 1, -240, 9, 5, 3, 7};
  const uint32_t i4 = f90_type_word(TYPE_INTEGER, 32, 0, 0);
  const uint32_t i8 = f90_type_word(TYPE_INTEGER, 64, 0, 0);
  // Each row: the type word, the width it selects (0: nothing stored), the
  // extent and the stride in 32-bit words.
  struct Case {
    const char* what;
    uint32_t type_word;
    int width;
    int32_t extent, stride;
  } cases[] = {
      {"INTEGER*4", i4, 4, 8, 1},
      {"INTEGER*8", i8, 8, 8, 2},
      {"INTEGER*4, extent 10", i4, 4, 10, 1},
      {"INTEGER*4, extent 5", i4, 4, 5, 1},
      {"INTEGER*4, extent 0", i4, 4, 0, 1},
      {"INTEGER*4, every other", i4, 4, 8, 2},
      {"INTEGER*8, every third", i8, 8, 8, 6},
      {"INTEGER*4, backwards", i4, 4, 8, -1},
      {"INTEGER*8, backwards", i8, 8, 8, -2},
      {"kind given, declared 8", f90_type_word(TYPE_INTEGER, 32, 1, 8), 8, 8, 2},
      {"kind given, declared 4", f90_type_word(TYPE_INTEGER, 64, 1, 4), 4, 8, 1},
      {"kind given, declared 2", f90_type_word(TYPE_INTEGER, 16, 1, 2), 0, 8, 1},
      {"kind given, declared 1", f90_type_word(TYPE_INTEGER, 8, 1, 1), 0, 8, 1},
      {"no kind, 16-bit", f90_type_word(TYPE_INTEGER, 16, 0, 0), 0, 8, 1},
      {"no kind, 8-bit", f90_type_word(TYPE_INTEGER, 8, 0, 0), 0, 8, 1},
      {"kind given, declared 8, 64-bit", f90_type_word(TYPE_INTEGER, 64, 1, 8), 8, 3, 2},
  };
  for (const Case& c : cases) {
    // Storage of 96 words filled with a marker; the array starts at word 40.
    uint32_t storage[96];
    std::fill(std::begin(storage), std::end(storage), 0xA5A5A5A5u);
    Values v(storage + 40, c.type_word, c.width == 8 ? 64 : 32, c.extent, c.stride);
    _DATE_AND_TIME(nullptr, 0, nullptr, 0, nullptr, 0, &v.d);
    // Naive expectation: element i at word 40 + i * stride, min(8, extent)
    // of them; every other word keeps the marker.
    uint32_t expect[96];
    std::fill(std::begin(expect), std::end(expect), 0xA5A5A5A5u);
    const int n = c.width == 0 ? 0 : std::min(8, std::max(0, c.extent));
    for (int i = 0; i < n; ++i) {
      const int w = 40 + i * c.stride;
      expect[w] = static_cast<uint32_t>(want[i]);
      if (c.width == 8) expect[w + 1] = static_cast<uint32_t>(want[i] >> 32);
    }
    for (int w = 0; w < 96; ++w)
      EXPECT_EQ(storage[w], expect[w]) << c.what << ": word " << w - 40;
  }
}

TEST_F(FakeClockTest, DateAndTimeValuesAbsentOrEmpty) {
  // A null VALUES, a null base and a rank-0 descriptor store nothing.
  _DATE_AND_TIME(nullptr, 0, nullptr, 0, nullptr, 0, nullptr);
  Values nobase(nullptr, f90_type_word(TYPE_INTEGER, 32, 0, 0), 32, 8, 1);
  _DATE_AND_TIME(nullptr, 0, nullptr, 0, nullptr, 0, &nobase.d);
  int32_t word = 77;
  Values scalar(&word, f90_type_word(TYPE_INTEGER, 32, 0, 0), 32, 8, 1);
  scalar.d.flags = f90_flags(0, 1, OBJ_PLAIN);
  _DATE_AND_TIME(nullptr, 0, nullptr, 0, nullptr, 0, &scalar.d);
  EXPECT_EQ(word, 77);
  // Eight INTEGER*8 elements ending at a guard page, descriptor of rank 1
  // against one too.
  f90test::GuardedBuffer g(64);
  Values v(g.data(), f90_type_word(TYPE_INTEGER, 64, 0, 0), 64, 8, 2);
  f90test::GuardedDescriptor gd(&v.d);
  _DATE_AND_TIME(nullptr, 0, nullptr, 0, nullptr, 0, gd.get());
  int64_t got[8];
  std::memcpy(got, g.data(), 64);
  EXPECT_EQ(got[0], 2005);
  EXPECT_EQ(got[7], 7);
}

}  // namespace
