// SCALE(X, I) = X * 2^I (method: scale_bits in model.h; REAL*16: ldexpl,
// which scales both parts). The _I8 forms take an INTEGER*8 I, saturated
// to the 32-bit range; every other form takes an INTEGER*4.
#include "mathlb/model.h"

using namespace f90::model;

F90_API long double scale_4(uint32_t x, int32_t i) F90_SYMBOL(_SCALE_4);
F90_API long double scale_4_i4(uint32_t x, int32_t i) F90_SYMBOL(_SCALE_4_I4);
F90_API long double scale_4_i8(uint32_t x, int64_t i) F90_SYMBOL(_SCALE_4_I8);
F90_API long double scale_8(uint64_t x, int32_t i) F90_SYMBOL(_SCALE);
F90_API long double scale_8_named(uint64_t x, int32_t i) F90_SYMBOL(_SCALE_8);
F90_API long double scale_8_i4(uint64_t x, int32_t i) F90_SYMBOL(_SCALE_8_I4);
F90_API long double scale_8_i8(uint64_t x, int64_t i) F90_SYMBOL(_SCALE_8_I8);
F90_API Real16Bits* scale_16(Real16Bits* res, Real16Bits x, int32_t i) F90_SYMBOL(_SCALE_16);
F90_API Real16Bits* scale_16_i4(Real16Bits* res, Real16Bits x, int32_t i)
    F90_SYMBOL(_SCALE_16_I4);
F90_API Real16Bits* scale_16_i8(Real16Bits* res, Real16Bits x, int64_t i)
    F90_SYMBOL(_SCALE_16_I8);

long double scale_4(uint32_t x, int32_t i) { return to_st0<float>(scale_bits<float>(x, i)); }
long double scale_4_i4(uint32_t x, int32_t i) { return to_st0<float>(scale_bits<float>(x, i)); }
long double scale_4_i8(uint32_t x, int64_t i) {
  return to_st0<float>(scale_bits<float>(x, saturate32(i)));
}

long double scale_8(uint64_t x, int32_t i) { return to_st0<double>(scale_bits<double>(x, i)); }
long double scale_8_named(uint64_t x, int32_t i) {
  return to_st0<double>(scale_bits<double>(x, i));
}
long double scale_8_i4(uint64_t x, int32_t i) { return to_st0<double>(scale_bits<double>(x, i)); }
long double scale_8_i8(uint64_t x, int64_t i) {
  return to_st0<double>(scale_bits<double>(x, saturate32(i)));
}

Real16Bits* scale_16(Real16Bits* res, Real16Bits x, int32_t i) {
  return store(res, scale16_bits(x, i));
}
Real16Bits* scale_16_i4(Real16Bits* res, Real16Bits x, int32_t i) {
  return store(res, scale16_bits(x, i));
}
Real16Bits* scale_16_i8(Real16Bits* res, Real16Bits x, int64_t i) {
  return store(res, scale16_bits(x, saturate32(i)));
}
