// Failure reporting for the fuzz targets: print what differs, then trap, so
// libFuzzer records the input as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace fz {

[[noreturn]] void fail(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Prints when the environment variable FZ_TRACE is set (reproducing a
// failing input: FZ_TRACE=1 build-fuzz/<target>_fuzz <file>).
void trace(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
bool tracing();

}  // namespace fz

#define FZ_CHECK(cond, ...)     \
  do {                          \
    if (!(cond)) fz::fail(__VA_ARGS__); \
  } while (0)
