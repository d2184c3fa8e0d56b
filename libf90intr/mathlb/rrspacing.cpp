// RRSPACING(X) = |FRACTION(X)| * 2^digits: SCALE of the fraction with its
// sign cleared by 24 (REAL*4) or 53 (REAL*8). REAL*16 discards the low part
// of the fraction and scales by 53, so it equals the REAL*8 RRSPACING of the
// high part. Zero gives +0.0; a NaN or infinite X a NaN.
#include "mathlb/model.h"

using namespace f90::model;

namespace {

template <class T>
long double rrspacing_of(UIntOf<T> x) {
  using M = Model<T>;
  return to_st0<T>(scale_bits<T>(fraction_bits<T>(x) & ~M::kSign, M::kDigits));
}

}  // namespace

F90_API long double rrspacing_4(uint32_t x) F90_SYMBOL(_RRSPACING_4);
F90_API long double rrspacing_8(uint64_t x) F90_SYMBOL(_RRSPACING);
F90_API long double rrspacing_8_named(uint64_t x) F90_SYMBOL(_RRSPACING_8);
F90_API Real16Bits* rrspacing_16(Real16Bits* res, Real16Bits x) F90_SYMBOL(_RRSPACING_16);

long double rrspacing_4(uint32_t x) { return rrspacing_of<float>(x); }
long double rrspacing_8(uint64_t x) { return rrspacing_of<double>(x); }
long double rrspacing_8_named(uint64_t x) { return rrspacing_of<double>(x); }
Real16Bits* rrspacing_16(Real16Bits* res, Real16Bits x) {
  const Real16Bits f = fraction16_bits(x);
  return store(res, scale16_bits({f.hi & ~M8::kSign, 0}, M8::kDigits));
}
