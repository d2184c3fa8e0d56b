// IEEE_LOGB: the unbiased exponent of X as a real of X's kind.
//
// A zero gives negative infinity, an infinity or a NaN the quiet NaN, and
// each of those raises the divide-by-zero flag. Otherwise the result is
// EXPONENT(X) - 1 (EXPONENT on the bit pattern, so a subnormal gives the
// exponent of its leading bit), an integer, exact in either kind; nothing is
// raised.
#include "ieee/arithmetic.h"
#include "mathlb/model.h"

using namespace f90::ieee;

namespace {

template <class T>
long double logb(const T* px) {
  const Bits<T> x = bits_at(px);
  if (is_zero<T>(x) || is_inf<T>(x) || is_nan<T>(x)) {
    const int32_t raised = kDivideByZero;
    _morvex_signal(&raised);
    return fp::x87_value<T>(class_value_bits<T>(is_zero<T>(x) ? kNegativeInf : kQuietNan));
  }
  return static_cast<long double>(f90::model::exponent_bits<T>(x) - 1);
}

}  // namespace

F90_API long double sp_logb(const float* x) F90_SYMBOL(__SP_IEEE_LOGB_in_IEEE_ARITHMETIC);
F90_API long double dp_logb(const double* x) F90_SYMBOL(__DP_IEEE_LOGB_in_IEEE_ARITHMETIC);

long double sp_logb(const float* x) { return logb(x); }
long double dp_logb(const double* x) { return logb(x); }
