// IEEE_COPY_SIGN: X's bits with the sign bit of Y (taken from Y's own
// width), in X's kind. No value is inspected, so NaNs, infinities and zeros
// are handled alike, and nothing is raised.
#include "ieee/arithmetic.h"

using namespace f90::ieee;

namespace {

template <class TX, class TY>
long double copy_sign(const TX* x, const TY* y) {
  const Bits<TX> sign = negative<TY>(bits_at(y)) ? fp::kSignBit<TX> : 0;
  return fp::x87_value<TX>((bits_at(x) & ~fp::kSignBit<TX>) | sign);
}

}  // namespace

F90_API long double sp_copy_sign(const float* x, const float* y) F90_SYMBOL(__SP_IEEE_COPY_SIGN_in_IEEE_ARITHMETIC);
F90_API long double dp_copy_sign(const double* x, const double* y) F90_SYMBOL(__DP_IEEE_COPY_SIGN_in_IEEE_ARITHMETIC);
F90_API long double sd_copy_sign(const float* x, const double* y) F90_SYMBOL(__SD_IEEE_COPY_SIGN_in_IEEE_ARITHMETIC);
F90_API long double ds_copy_sign(const double* x, const float* y) F90_SYMBOL(__DS_IEEE_COPY_SIGN_in_IEEE_ARITHMETIC);

long double sp_copy_sign(const float* x, const float* y) { return copy_sign(x, y); }
long double dp_copy_sign(const double* x, const double* y) { return copy_sign(x, y); }
long double sd_copy_sign(const float* x, const double* y) { return copy_sign(x, y); }
long double ds_copy_sign(const double* x, const float* y) { return copy_sign(x, y); }
