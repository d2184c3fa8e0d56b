// Step 45: character expressions the way compiled code evaluates them:
// assignment into fixed-length variables, concatenation, INDEX, REPEAT,
// TRIM, ADJUSTR, the lexical comparisons and ICHAR, each result going into
// storage the program owns.
#include <cstdint>
#include <cstdio>

#include "f90/f90.h"
#include "demo.h"


DEMO_STEP(45, "character assignment, concatenation, INDEX, REPEAT, TRIM and comparisons") {
  // CHARACTER(LEN=10) :: name = 'Ada'   (filled out with blanks)
  char name[10];
  _morvex_casgn(name, "Ada", 10, 3);
  std::printf("name            = '%.10s'\n", name);

  // greeting(1:n) = 'Hello, ' // TRIM(name)
  char trimmed[10], greeting[16];
  const int32_t lt = _morvex_trim(name, trimmed, 10, 10);
  const int32_t n = _morvex_con("Hello, ", trimmed, greeting, 7, lt, 16);
  std::printf("greeting        = '%.*s' (%d bytes)\n", static_cast<int>(n), greeting, n);

  const int32_t back = 1;
  std::printf("INDEX('abcabc','bc')          = %d, with BACK %d\n",
              _morvex_f90_index("abcabc", "bc", nullptr, 6, 2),
              _morvex_f90_index("abcabc", "bc", &back, 6, 2));

  char rule[7];
  const int32_t r = _morvex_repeat("-=", 5, rule, 2, 7);  // whole copies only
  std::printf("REPEAT('-=',5) into 7 bytes   = '%.*s' (%d bytes)\n", static_cast<int>(r), rule, r);

  char right[6];
  _morvex_adjustr("ab    ", right, 6);
  std::printf("ADJUSTR('ab    ')             = '%.6s'\n", right);

  std::printf("LLT('ab','ab!') = %d   LGT('ab','ab<tab>') = %d\n", _morvex_llt("ab", "ab!", 2, 3),
              _morvex_lgt("ab", "ab\t", 2, 3));
  const char e_acute = static_cast<char>(0xe9);
  std::printf("ICHAR(byte 0xe9)              = %d\n", _morvex_ichar(&e_acute));
}
