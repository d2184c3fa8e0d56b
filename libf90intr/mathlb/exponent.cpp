// EXPONENT(X) as an INTEGER*4 (method: exponent_bits in model.h). REAL*16
// takes the exponent that frexpl gives for X: 0 for a zero or NaN high part.
#include "mathlb/model.h"

using namespace f90::model;

F90_API int32_t exponent_4(uint32_t x) F90_SYMBOL(_EXPONENT_4);
F90_API int32_t exponent_8(uint64_t x) F90_SYMBOL(_EXPONENT);
F90_API int32_t exponent_8_named(uint64_t x) F90_SYMBOL(_EXPONENT_8);
F90_API int32_t exponent_16(Real16Bits x) F90_SYMBOL(_EXPONENT_16);

int32_t exponent_4(uint32_t x) { return exponent_bits<float>(x); }
int32_t exponent_8(uint64_t x) { return exponent_bits<double>(x); }
int32_t exponent_8_named(uint64_t x) { return exponent_bits<double>(x); }
int32_t exponent_16(Real16Bits x) {
  DoubleDouble f;
  int32_t e;
  _morvex_frexpl(&f, as_dd(x), &e);
  return e;
}
