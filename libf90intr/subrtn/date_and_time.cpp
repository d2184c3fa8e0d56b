// DATE_AND_TIME(DATE, TIME, ZONE, VALUES): the local date and time from one
// reading of gettimeofday() and localtime() of its seconds.
//
//   DATE   CCYYMMDD
//   TIME   hhmmss.sss (milliseconds truncated from the microseconds)
//   ZONE   +hhmm or -hhmm, the difference from UTC
//   VALUES year, month, day, difference from UTC in minutes, hour, minute,
//          second, milliseconds
//
// The difference from UTC is -timezone / 60 minutes (truncating), plus 60
// while daylight saving is in force; ZONE prints the same minutes, so the two
// always agree ('+' for zero and east of UTC).
//
// Each character output is optional (null address) and gets the first
// min(n, length) characters and blanks after them; a length of 0 or less
// gets nothing. VALUES is optional (null descriptor or null base): its
// elements are INTEGER*8 or INTEGER*4 as the type word says (with the kind
// given, declared length 8 or 4; without it, 64- or 32-bit elements), and
// min(8, extent) of them are stored along dimension 1 with its stride (in
// 32-bit words, as for every element of 32 bits or more), so a section or a
// short array is written only where it lies. Elements of any other width are
// left alone.
//
// The _F90_ form takes the lengths last.
#include <cstdlib>

#include "subrtn/clock.h"
#include "subrtn/clock_source.h"

namespace {

// Bytes of one VALUES element: 8, 4, or 0 for a width not written.
uint32_t values_width(const f90::Desc& v) {
  if (v.kind_sel() == 0 && v.int_len() != 32 && v.int_len() != 64) return 0;
  return f90::int_result_width(v.type_word());
}

void put_values(ArrayDescriptor* values, const tm& t, int32_t minutes, int32_t ms) {
  if (values == nullptr) return;
  const f90::Desc v(values);
  const uint32_t width = values_width(v);
  if (v.base() == nullptr || width == 0 || v.rank() < 1) return;
  const int32_t items[8] = {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, minutes,
                            t.tm_hour,        t.tm_min,     t.tm_sec,  ms};
  const int32_t n = v.extent(0) < 8 ? v.extent(0) : 8;
  const int64_t step = int64_t{v.stride(0)} * 4;
  for (int32_t i = 0; i < n; ++i) f90::store_int_result(v.base() + i * step, width, items[i]);
}

}  // namespace

void date_and_time(char* date, int32_t datelen, char* time, int32_t timelen, char* zone,
                   int32_t zonelen, ArrayDescriptor* values) {
  using f90::clock::put_format;
  const f90::clock::Reading now = f90::clock::read_local();
  const tm& t = now.local;
  const int32_t ms = now.us / 1000;
  // Read after localtime(), which sets it.
  const long west = f90::clock::source().seconds_west();
  const int32_t minutes = static_cast<int32_t>(-(west / 60)) + (t.tm_isdst != 0 ? 60 : 0);

  if (date != nullptr)
    put_format(date, datelen, "%04d%02d%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
  if (time != nullptr)
    put_format(time, timelen, "%02d%02d%02d.%03d", t.tm_hour, t.tm_min, t.tm_sec, ms);
  if (zone != nullptr) {
    const int32_t m = std::abs(minutes);
    put_format(zone, zonelen, "%c%02d%02d", minutes < 0 ? '-' : '+', m / 60, m % 60);
  }
  put_values(values, t, minutes, ms);
}

void f90_date_and_time(char* date, char* time, char* zone, ArrayDescriptor* values,
                       int32_t datelen, int32_t timelen, int32_t zonelen) {
  date_and_time(date, datelen, time, timelen, zone, zonelen, values);
}
