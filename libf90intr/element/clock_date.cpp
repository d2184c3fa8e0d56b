// CLOCK, DATE and JDATE: the local time of day or date as 8 characters in a
// caller's buffer.
//
//   CLOCK  HH:MM:SS
//   DATE   MM/DD/YY
//   JDATE  YYDDD and three blanks (DDD the day of the year, 001-366)
//
// One reading of time() and localtime(). The buffer gets the first
// min(8, length) characters and blanks after the eighth; a null buffer or a
// length of 0 or less gets nothing (the clock is not read), and no NUL is
// ever stored. The _F90_ forms take the same arguments.
#include "subrtn/clock.h"
#include "subrtn/clock_source.h"

namespace {

using f90::clock::put_format;
using f90::clock::source;

tm local_now() {
  tm t;
  source().local_time(source().seconds(), &t);
  return t;
}

// The last two digits of the year, 00-99 for any year.
int year_of_century(const tm& t) { return ((t.tm_year % 100) + 100) % 100; }

void put_clock(char* buf, int32_t len) {
  if (buf == nullptr || len <= 0) return;
  const tm t = local_now();
  put_format(buf, len, "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
}

void put_date(char* buf, int32_t len) {
  if (buf == nullptr || len <= 0) return;
  const tm t = local_now();
  put_format(buf, len, "%02d/%02d/%02d", t.tm_mon + 1, t.tm_mday, year_of_century(t));
}

void put_jdate(char* buf, int32_t len) {
  if (buf == nullptr || len <= 0) return;
  const tm t = local_now();
  put_format(buf, len, "%02d%03d   ", year_of_century(t), t.tm_yday + 1);
}

}  // namespace

void clock_text(char* buf, int32_t len) { put_clock(buf, len); }
void f90_clock_text(char* buf, int32_t len) { put_clock(buf, len); }
void date_text(char* buf, int32_t len) { put_date(buf, len); }
void f90_date_text(char* buf, int32_t len) { put_date(buf, len); }
void jdate_text(char* buf, int32_t len) { put_jdate(buf, len); }
void f90_jdate_text(char* buf, int32_t len) { put_jdate(buf, len); }
