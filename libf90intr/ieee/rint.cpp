// IEEE_RINT: X rounded to an integral value in the rounding mode of
// IEEE_GET_ROUNDING_MODE.
//
// NaNs, infinities, zeros and every |X| at or above 2^23 (REAL*4) / 2^52
// (REAL*8) are integral already and come back unchanged. Otherwise t is X
// rounded toward zero under CW_CHOP_DOUBLE (the caller's control word saved
// and restored around it), stored as an integer; then
//   nearest: t, or t + 1 in magnitude when the fraction is above one half,
//            or exactly one half and t is odd (ties to even);
//   to zero: t;
//   up:      t + 1 when X > 0 has a fraction;
//   down:    t - 1 when X < 0 has a fraction.
// The fraction is classified on X's bits and the adjustment is integer
// arithmetic, so every result is exact whatever the caller's precision: the
// nearest mode's "|X| + 0.5" in the caller's precision would round
// 0.49999999999999994 up to 1 and odd integers above 2^52 to even ones. A
// zero result has X's sign (RINT(-0.3) is -0.0).
#include "ieee/arithmetic.h"
#include "x87.h"

using namespace f90::ieee;

namespace {

template <class T>
long double rint(const T* px) {
  using B = fp::FloatBits<T>;
  const Bits<T> x = bits_at(px);
  if (is_nan<T>(x) || is_inf<T>(x) || is_zero<T>(x) ||
      exponent_of<T>(x) >= B::kBias + B::kFractionBits)
    return fp::x87_value<T>(x);
  int32_t mode;
  get_rounding_mode(&mode);
  const bool neg = negative<T>(x);
  const FractionPart frac = fraction_part<T>(x);
  int64_t t = x87::fist64_under(fp::x87_value<T>(x), x87::CW_CHOP_DOUBLE);
  if (mode == kNearest) {
    const int64_t magnitude = neg ? -t : t;
    if (frac.vs_half > 0 || (frac.vs_half == 0 && (magnitude & 1) != 0)) t += neg ? -1 : 1;
  } else if (mode == kUp) {
    if (!neg && frac.inexact) ++t;
  } else if (mode == kDown) {
    if (neg && frac.inexact) --t;
  }
  if (t == 0) return fp::x87_value<T>(x & fp::kSignBit<T>);
  return static_cast<long double>(t);
}

}  // namespace

F90_API long double sp_rint(const float* x) F90_SYMBOL(__SP_IEEE_RINT_in_IEEE_ARITHMETIC);
F90_API long double dp_rint(const double* x) F90_SYMBOL(__DP_IEEE_RINT_in_IEEE_ARITHMETIC);

long double sp_rint(const float* x) { return rint(x); }
long double dp_rint(const double* x) { return rint(x); }
