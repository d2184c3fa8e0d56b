// SECNDS(X): seconds since local midnight less X, in st(0) at extended
// precision.
//
// One reading: gettimeofday() gives the seconds and microseconds, and
// localtime() of those seconds the time of day, so the two cannot disagree
// by a second. cs = ((hour * 60 + minute) * 60 + second) * 100 +
// microseconds / 10000 counts centiseconds. The day of the month of the
// first call is kept (both kinds share it); on any other day of the month
// one day (8640000 cs) is added, so a call just after midnight still runs on
// from the day before. Only one day is ever added.
//
// The result is cs / 100.0 - X on the x87 in the caller's precision and
// rounding (cs converts exactly).
#include "subrtn/clock.h"
#include "subrtn/clock_source.h"

namespace {

long double centiseconds() {
  const f90::clock::Reading now = f90::clock::read_local();
  const tm& t = now.local;
  int64_t cs = ((int64_t{t.tm_hour} * 60 + t.tm_min) * 60 + t.tm_sec) * 100 + now.us / 10000;
  int32_t& first_day = f90::clock::state().secnds_first_day;
  if (first_day != 0 && first_day != t.tm_mday)
    cs += 8640000;
  else
    first_day = t.tm_mday;
  return static_cast<long double>(cs);
}

}  // namespace

long double secnds_s4(const float* x) { return centiseconds() / 100.0L - *x; }
long double secnds_s(const double* x) { return centiseconds() / 100.0L - *x; }
