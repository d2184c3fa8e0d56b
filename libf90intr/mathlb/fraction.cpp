// FRACTION(X): the f of X = f * 2^e, 0.5 <= |f| < 1 (method: fraction_bits
// in model.h). REAL*16 takes the fraction that frexpl gives; a NaN X is
// returned as it is and an infinity of either sign gives the REAL*16 NaN,
// as in the other kinds (frexpl alone would give +0 and +-0.5).
#include "mathlb/model.h"

using namespace f90::model;

F90_API long double fraction_4(uint32_t x) F90_SYMBOL(_FRACTION_4);
F90_API long double fraction_8(uint64_t x) F90_SYMBOL(_FRACTION);
F90_API long double fraction_8_named(uint64_t x) F90_SYMBOL(_FRACTION_8);
F90_API Real16Bits* fraction_16(Real16Bits* res, Real16Bits x) F90_SYMBOL(_FRACTION_16);

long double fraction_4(uint32_t x) { return to_st0<float>(fraction_bits<float>(x)); }
long double fraction_8(uint64_t x) { return to_st0<double>(fraction_bits<double>(x)); }
long double fraction_8_named(uint64_t x) { return to_st0<double>(fraction_bits<double>(x)); }
Real16Bits* fraction_16(Real16Bits* res, Real16Bits x) { return store(res, fraction16_bits(x)); }
