// SET_EXPONENT(X, I) = SCALE(FRACTION(X), I) in the kind of X: zero gives
// +0.0 (REAL*16: frexpl's (+0, +0)), a NaN or infinite X a NaN. The _I8 forms
// take an INTEGER*8 I, saturated to the 32-bit range.
#include "mathlb/model.h"

using namespace f90::model;

namespace {

template <class T>
long double set_exponent_of(UIntOf<T> x, int32_t i) {
  return to_st0<T>(scale_bits<T>(fraction_bits<T>(x), i));
}

Real16Bits* set_exponent16(Real16Bits* res, Real16Bits x, int32_t i) {
  return store(res, scale16_bits(fraction16_bits(x), i));
}

}  // namespace

F90_API long double set_exponent_4(uint32_t x, int32_t i) F90_SYMBOL(_SET_EXPONENT_4);
F90_API long double set_exponent_4_i4(uint32_t x, int32_t i) F90_SYMBOL(_SET_EXPONENT_4_I4);
F90_API long double set_exponent_4_i8(uint32_t x, int64_t i) F90_SYMBOL(_SET_EXPONENT_4_I8);
F90_API long double set_exponent_8(uint64_t x, int32_t i) F90_SYMBOL(_SET_EXPONENT);
F90_API long double set_exponent_8_named(uint64_t x, int32_t i) F90_SYMBOL(_SET_EXPONENT_8);
F90_API long double set_exponent_8_i4(uint64_t x, int32_t i) F90_SYMBOL(_SET_EXPONENT_8_I4);
F90_API long double set_exponent_8_i8(uint64_t x, int64_t i) F90_SYMBOL(_SET_EXPONENT_8_I8);
F90_API Real16Bits* set_exponent_16(Real16Bits* res, Real16Bits x, int32_t i)
    F90_SYMBOL(_SET_EXPONENT_16);
F90_API Real16Bits* set_exponent_16_i4(Real16Bits* res, Real16Bits x, int32_t i)
    F90_SYMBOL(_SET_EXPONENT_16_I4);
F90_API Real16Bits* set_exponent_16_i8(Real16Bits* res, Real16Bits x, int64_t i)
    F90_SYMBOL(_SET_EXPONENT_16_I8);

long double set_exponent_4(uint32_t x, int32_t i) { return set_exponent_of<float>(x, i); }
long double set_exponent_4_i4(uint32_t x, int32_t i) { return set_exponent_of<float>(x, i); }
long double set_exponent_4_i8(uint32_t x, int64_t i) {
  return set_exponent_of<float>(x, saturate32(i));
}
long double set_exponent_8(uint64_t x, int32_t i) { return set_exponent_of<double>(x, i); }
long double set_exponent_8_named(uint64_t x, int32_t i) { return set_exponent_of<double>(x, i); }
long double set_exponent_8_i4(uint64_t x, int32_t i) { return set_exponent_of<double>(x, i); }
long double set_exponent_8_i8(uint64_t x, int64_t i) {
  return set_exponent_of<double>(x, saturate32(i));
}
Real16Bits* set_exponent_16(Real16Bits* res, Real16Bits x, int32_t i) {
  return set_exponent16(res, x, i);
}
Real16Bits* set_exponent_16_i4(Real16Bits* res, Real16Bits x, int32_t i) {
  return set_exponent16(res, x, i);
}
Real16Bits* set_exponent_16_i8(Real16Bits* res, Real16Bits x, int64_t i) {
  return set_exponent16(res, x, saturate32(i));
}
