// The rounding and underflow modes of IEEE_ARITHMETIC.
//
// The rounding mode is the x87 control word's rounding field (bits 10-11);
// setting it is one read, one change, one write, leaving precision control
// and the exception masks as they were. A value other than the four modes
// (IEEE_OTHER, or any other word) is ignored: ORed into the word it would
// change exception masks. Gradual underflow control is not supported: both
// underflow procedures report 5001 at level 0.
#include "ieee/arithmetic.h"

using namespace f90::ieee;

F90_API void set_rounding_mode(const int32_t* round_value)
    F90_SYMBOL(__IEEE_SET_ROUNDING_MODE_in_IEEE_ARITHMETIC);
F90_API void get_underflow_mode(int32_t* gradual)
    F90_SYMBOL(__IEEE_GET_UNDERFLOW_MODE_in_IEEE_ARITHMETIC);
F90_API void set_underflow_mode(const int32_t* gradual)
    F90_SYMBOL(__IEEE_SET_UNDERFLOW_MODE_in_IEEE_ARITHMETIC);

void get_rounding_mode(int32_t* round_value) { *round_value = _morvex_getCW() & kRoundingField; }

void set_rounding_mode(const int32_t* round_value) {
  const int32_t mode = *round_value;
  if (mode != kNearest && mode != kToZero && mode != kUp && mode != kDown) return;
  int32_t w = _morvex_getCW();
  w = (w & ~kRoundingField) | mode;
  _morvex_setCW(&w);
}

void get_underflow_mode(int32_t* gradual) {
  const int32_t number = kUnderflowMode;
  *gradual = logical(_morvex_get_underflow(&number) != 0);
}

void set_underflow_mode(const int32_t* gradual) {
  const int32_t number = kUnderflowMode;
  _morvex_set_underflow(gradual, &number);
}
