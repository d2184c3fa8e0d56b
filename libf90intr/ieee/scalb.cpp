// IEEE_SCALB: X × 2^I on the bit pattern.
//
// Zeros, infinities and NaNs are returned as they are. Otherwise the new
// exponent field is X's plus I, formed in 64 bits so that no I wraps it. A
// field at or above the infinities' gives infinity with X's sign and raises
// overflow; a field at or below 0 gives the normal of least magnitude with
// X's sign and raises underflow (a field of exactly 0 too: composing X's
// fraction under it would not be X × 2^I); every other result is exact and
// raises nothing.
//
// A subnormal X has no exponent field to add to: it gets its exact scaled
// value wherever one exists (a normal, or a subnormal that loses no bit, so
// SCALB(X, 0) is X), and otherwise the normal of least magnitude with the
// underflow flag as above.
#include "ieee/arithmetic.h"

using namespace f90::ieee;

namespace {

template <class T>
long double scalb(const T* px, const int32_t* pi) {
  using B = fp::FloatBits<T>;
  const Bits<T> x = bits_at(px);
  const int e = exponent_of<T>(x);
  if (is_zero<T>(x) || e == B::kExponentMax) return fp::x87_value<T>(x);
  const Bits<T> sign = x & fp::kSignBit<T>;
  Bits<T> f = x & fp::kFractionMask<T>;
  const int64_t i = *pi;
  int64_t field = e;
  if (e == 0) {
    if (i <= 0) {  // stays subnormal: exact unless a bit shifts out
      if (i > -(B::kFractionBits + 1) && (f & ((Bits<T>{1} << -i) - 1)) == 0)
        return fp::x87_value<T>(sign | (f >> -i));
      field = 0;
    } else {  // normalise: the leading bit moves up to the implicit position
      const Bits<T> subnormal = f;
      while ((f & (Bits<T>{1} << B::kFractionBits)) == 0) {
        f <<= 1;
        --field;
      }
      f &= fp::kFractionMask<T>;
      field += 1 + i;
      if (field <= 0) return fp::x87_value<T>(sign | (subnormal << i));
    }
  } else {
    field += i;
  }
  int32_t raised = 0;
  Bits<T> r;
  if (field >= B::kExponentMax) {
    raised = kOverflow;
    r = sign | (Bits<T>{B::kExponentMax} << B::kFractionBits);
  } else if (field <= 0) {
    raised = kUnderflow;
    r = sign | (Bits<T>{1} << B::kFractionBits);
  } else {
    r = sign | (static_cast<Bits<T>>(field) << B::kFractionBits) | f;
  }
  if (raised != 0) _morvex_signal(&raised);
  return fp::x87_value<T>(r);
}

}  // namespace

F90_API long double sp_scalb(const float* x, const int32_t* i) F90_SYMBOL(__SP_IEEE_SCALB_in_IEEE_ARITHMETIC);
F90_API long double dp_scalb(const double* x, const int32_t* i) F90_SYMBOL(__DP_IEEE_SCALB_in_IEEE_ARITHMETIC);

long double sp_scalb(const float* x, const int32_t* i) { return scalb(x, i); }
long double dp_scalb(const double* x, const int32_t* i) { return scalb(x, i); }
