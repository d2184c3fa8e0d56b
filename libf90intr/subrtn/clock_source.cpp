// The C library's clock table, the state of SYSTEM_CLOCK and SECNDS, and the
// blank-filled copy every character output of the clock routines makes.
#include "subrtn/clock_source.h"

#include <cstdarg>
#include <cstdio>

#include "chars/bytes.h"

namespace f90::clock {
namespace {

void libc_time_of_day(timeval* now) { gettimeofday(now, nullptr); }
time_t libc_seconds() { return time(nullptr); }
// A time localtime cannot represent reads as the zero record rather than
// a null dereference.
void libc_local_time(time_t t, tm* out) {
  const tm* r = localtime(&t);
  *out = r != nullptr ? *r : tm{};
}
clock_t libc_user_ticks() {
  tms t;
  times(&t);
  return t.tms_utime;
}
long libc_seconds_west() { return timezone; }

constexpr Source kLibc = {libc_time_of_day, libc_seconds, libc_local_time, libc_user_ticks,
                          libc_seconds_west};
const Source* current = &kLibc;
State the_state = {0, 0};

}  // namespace

const Source& source() { return *current; }
void set_source(const Source* s) { current = s != nullptr ? s : &kLibc; }

State& state() { return the_state; }
void reset_state() { the_state = {0, 0}; }

void put_text(char* buf, int32_t len, const char* text, uint32_t n) {
  if (buf == nullptr || len <= 0) return;
  using morvex::chars::Byte;
  const uint32_t room = static_cast<uint32_t>(len);
  const uint32_t k = n < room ? n : room;
  morvex::chars::copy_up(reinterpret_cast<Byte*>(buf), reinterpret_cast<const Byte*>(text), k);
  morvex::chars::fill(reinterpret_cast<Byte*>(buf) + k, room - k, morvex::chars::kBlank);
}

void put_format(char* buf, int32_t len, const char* format, ...) {
  if (buf == nullptr || len <= 0) return;
  char text[64];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  const uint32_t k = n < 0 ? 0u : n >= int{sizeof text} ? sizeof text - 1 : static_cast<uint32_t>(n);
  put_text(buf, len, text, k);
}

}  // namespace f90::clock
