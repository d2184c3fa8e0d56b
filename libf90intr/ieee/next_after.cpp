// IEEE_NEXT_AFTER: the neighbour of X in the direction of Y, on the bit
// pattern.
//
// A NaN X is the result, else a NaN Y (in X's kind); X equal to Y (the zeros
// equal) gives X; a zero X gives the subnormal of least magnitude with the
// sign of the direction. Otherwise the fraction steps by one in magnitude:
// stepping down out of a binade gives the largest fraction of the binade
// below (from the normal of least magnitude that is the largest subnormal,
// and the inexact flag is raised); stepping up out of the largest binade
// gives infinity and raises overflow. So an infinity steps to the largest
// finite value of its sign, and the subnormal of least magnitude steps down
// to the zero of its sign. No other flag is raised.
//
// The mixed-kind forms compare X and Y in the wider kind: a REAL*8 X with a
// REAL*4 Y is the REAL*8 form with Y widened; a REAL*4 X with a REAL*8 Y
// gives X's REAL*4 neighbour.
#include "ieee/arithmetic.h"

using namespace f90::ieee;

namespace {

// The neighbour of the non-NaN pattern x that is above it (direction +1) or
// below it (-1) in value.
template <class T>
long double neighbour(Bits<T> x, int direction) {
  using B = fp::FloatBits<T>;
  const Bits<T> sign = x & fp::kSignBit<T>;
  if (is_zero<T>(x)) return fp::x87_value<T>((direction > 0 ? 0 : fp::kSignBit<T>) | 1);
  const bool up = (direction > 0) != (sign != 0);  // away from zero
  int e = exponent_of<T>(x);
  Bits<T> f = x & fp::kFractionMask<T>;
  int32_t raised = 0;
  if (up) {
    if (f == fp::kFractionMask<T>) {
      f = 0;
      if (++e == B::kExponentMax) raised = kOverflow;
    } else {
      ++f;
    }
  } else {
    if (f == 0) {
      f = fp::kFractionMask<T>;
      if (--e == 0) raised = kInexact;
    } else {
      --f;
    }
  }
  if (raised != 0) _morvex_signal(&raised);
  return fp::x87_value<T>(sign | (static_cast<Bits<T>>(e) << B::kFractionBits) | f);
}

template <class TX, class TY>
long double next_after(const TX* px, const TY* py) {
  const Bits<TX> x = bits_at(px);
  const Bits<TY> y = bits_at(py);
  if (is_nan<TX>(x)) return fp::x87_value<TX>(x);
  if (is_nan<TY>(y)) return fp::x87_value<TX>(as_kind<TX, TY>(y));
  using W = Wider<TX, TY>;
  const int c = compare<W>(as_kind<W, TY>(y), as_kind<W, TX>(x));
  if (c == 0) return fp::x87_value<TX>(x);
  return neighbour<TX>(x, c);
}

}  // namespace

F90_API long double sp_next_after(const float* x, const float* y) F90_SYMBOL(__SP_IEEE_NEXT_AFTER_in_IEEE_ARITHMETIC);
F90_API long double dp_next_after(const double* x, const double* y) F90_SYMBOL(__DP_IEEE_NEXT_AFTER_in_IEEE_ARITHMETIC);
F90_API long double sd_next_after(const float* x, const double* y) F90_SYMBOL(__SD_IEEE_NEXT_AFTER_in_IEEE_ARITHMETIC);
F90_API long double ds_next_after(const double* x, const float* y) F90_SYMBOL(__DS_IEEE_NEXT_AFTER_in_IEEE_ARITHMETIC);

long double sp_next_after(const float* x, const float* y) { return next_after(x, y); }
long double dp_next_after(const double* x, const double* y) { return next_after(x, y); }
long double sd_next_after(const float* x, const double* y) { return next_after(x, y); }
long double ds_next_after(const double* x, const float* y) { return next_after(x, y); }
