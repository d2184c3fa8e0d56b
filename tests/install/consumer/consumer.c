/* A program built against an installed prefix, as a compiler's user builds
 * one: it includes only the installed headers and links the whole runtime.
 * It installs its own error handler by defining _lerror (the program's
 * definition comes first in the load order, so every library calls it), and
 * exits 0 only when every check holds. Compiled as C99 and as C++. */
#include <f90/f90.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int32_t last_level = -1, last_number = -1, reports = 0;

void _lerror(int32_t level, int32_t number) {
  last_level = level;
  last_number = number;
  ++reports;
}

static int failures = 0;

static void check(int ok, const char *what) {
  if (!ok) {
    printf("FAILED: %s\n", what);
    ++failures;
  }
}

int main(void) {
  /* libf90rt: the allocator and the x87 control word. */
  void *block = _F90ALLOC(24, 0);
  int32_t cw = _morvex_getCW();
  check(block != NULL && ((uintptr_t)block & 7u) == 0, "_F90ALLOC returns 8-aligned storage");
  free(block);
  check((cw & 0x3f) == 0x3f, "exceptions masked in the initial control word");

  {
    char version[32];
    snprintf(version, sizeof version, "%d.%d.%d", F90_VERSION_MAJOR, F90_VERSION_MINOR,
             F90_VERSION_PATCH);
    check(strcmp(version, F90_VERSION_STRING) == 0, "F90_VERSION_STRING matches the numbers");
    check(F90_VERSION == F90_VERSION_MAJOR * 10000 + F90_VERSION_MINOR * 100 + F90_VERSION_PATCH,
          "F90_VERSION");
  }
  if (failures == 0) printf("consumer: all checks passed (version %s)\n", F90_VERSION_STRING);
  return failures == 0 ? 0 : 1;
}
