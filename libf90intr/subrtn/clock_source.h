// Where the clock and date routines read the time, and the state they keep.
//
// Every routine reads the clock through one table of the C library calls it
// makes: the time of day with microseconds, the time in seconds, the
// broken-down local time, the processor time in ticks, and the seconds west
// of UTC. The library's own table calls the C library itself, resolved as
// the program's libc resolves it; tests install a table of their own to fix
// the time, and reset the state to repeat a first call. Nothing here is
// exported.
//
// State kept between calls, 0 meaning "not yet set": the base of the
// INTEGER*4 SYSTEM_CLOCK count (microseconds since the epoch) and the day of
// the month at the first SECNDS call.
#pragma once

#include <sys/time.h>
#include <sys/times.h>
#include <time.h>

#include <cstdint>

namespace f90::clock {

struct Source {
  // Seconds and microseconds since the epoch.
  void (*time_of_day)(timeval* now);
  // Seconds since the epoch.
  time_t (*seconds)();
  // The broken-down local time of t (a copy of the C library's record).
  void (*local_time)(time_t t, tm* out);
  // User time of the process in clock ticks.
  clock_t (*user_ticks)();
  // Seconds west of UTC without daylight saving; read after local_time.
  long (*seconds_west)();
};

// The table in use.
const Source& source();
// Installs a table (null restores the C library's). For tests.
void set_source(const Source* s);

struct State {
  int64_t sysclock_base;
  int32_t secnds_first_day;
};
State& state();
// Forgets both values, as before the first call. For tests.
void reset_state();

// Local time now, with microseconds, from one reading.
struct Reading {
  tm local;
  int32_t us;
};
inline Reading read_local() {
  timeval tv;
  source().time_of_day(&tv);
  Reading r;
  source().local_time(tv.tv_sec, &r.local);
  r.us = static_cast<int32_t>(tv.tv_usec);
  return r;
}

// Puts the n characters of text into a caller's buffer of len bytes: the
// first min(n, len), then blanks up to len. A null buffer or a length of 0
// or less gets nothing.
void put_text(char* buf, int32_t len, const char* text, uint32_t n);
// put_text() of what printf would print (at most 63 characters).
void put_format(char* buf, int32_t len, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

}  // namespace f90::clock
