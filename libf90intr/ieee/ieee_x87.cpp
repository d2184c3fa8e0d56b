// The x87 glue of the IEEE procedures: raising flags, level-0 reports and the
// underflow-mode stubs.
//
// Gradual underflow control is not supported on the x87: the underflow-mode
// routines report the message number their caller passes (5001) and change
// nothing.
#include "ieee/ieee.h"

// status word := status word OR bits: raises those flags and leaves the
// others. A raised flag whose exception is unmasked traps at the next x87
// operation, as the exception itself would.
void _morvex_signal(const int32_t* bits) {
  int32_t w = _morvex_getSW();
  w |= *bits;
  _morvex_setSW(&w);
}

void _morvex_error(const int32_t* number) { _lerror(0, *number); }

int32_t _morvex_get_underflow(const int32_t* number) {
  _morvex_error(number);
  return 0;  // gradual underflow is not in effect
}

void _morvex_set_underflow(const int32_t* /*mode*/, const int32_t* number) {
  _morvex_error(number);
}

int32_t _morvex_support_underflow(void) { return 0; }
