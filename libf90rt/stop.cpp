// STOP and PAUSE statements. Both print their character message (when it is
// not empty) on stderr. STOP ends the program with status 0. PAUSE waits for
// one line on standard input and returns; at end of input, or when standard
// input is not readable, it returns at once.
#include <cstdio>
#include <cstdlib>

#include "f90/runtime.h"
#include "symbols.h"

namespace {

void print_message(const char* prefix, const char* msg, int32_t len) {
  if (msg != nullptr && len > 0) {
    std::fprintf(stderr, "%s %.*s\n", prefix, static_cast<int>(len), msg);
  } else {
    std::fprintf(stderr, "%s\n", prefix);
  }
  std::fflush(stderr);
}

}  // namespace

F90_API void _STOP(const char* msg, int32_t len) {
  if (msg != nullptr && len > 0) print_message("STOP", msg, len);
  std::fflush(stdout);
  std::exit(0);
}

F90_API void _PAUSE(const char* msg, int32_t len) {
  print_message("PAUSE", msg, len);
  int c;
  do {
    c = std::getchar();
  } while (c != '\n' && c != EOF);
}
