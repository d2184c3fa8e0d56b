// ICHAR and CHAR for default CHARACTER (one byte).
//
// ICHAR reads the byte as a signed 8-bit value: 0x80..0xff give -128..-1,
// sign-extended to 32 bits. CHAR stores the low 8 bits of i and returns 1,
// the length of its result.
#include <cstdint>

#include "char/character.h"

int32_t _morvex_ichar(const char* c) { return static_cast<signed char>(*c); }

// The by-reference name takes the same argument: the same code.
int32_t _morvex_I_ichar(const char* c) __attribute__((alias("_morvex_ichar")));

int32_t _morvex_char(int32_t i, char* dst) {
  *dst = static_cast<char>(static_cast<uint32_t>(i) & 0xffu);
  return 1;
}
