// STOP and PAUSE with a character operand: the address and byte length go to
// the companion runtime unchanged.
#include "char/character.h"

void f90_stop(const char* code, int32_t len) { _STOP(code, len); }
void f90_pause(const char* message, int32_t len) { _PAUSE(message, len); }
