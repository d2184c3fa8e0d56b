// Failure reporting for the fuzz targets: print what differs, then trap, so
// libFuzzer records the input as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace fz {

[[noreturn]] void fail(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace fz

#define FZ_CHECK(cond, ...)     \
  do {                          \
    if (!(cond)) fz::fail(__VA_ARGS__); \
  } while (0)
