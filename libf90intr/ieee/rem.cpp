// IEEE_REM: X - n × Y, n the integer nearest to X/Y (ties to even), left in
// st(0) at extended precision.
//
// The quotient is X/Y on the x87 rounded to the kind; n is that quotient
// rounded to the nearest 32-bit integer with halves away from zero
// (_morvex_nint / _morvex_idnint), then moved to the even neighbour when the
// quotient lies exactly halfway (tested on its bits); X - n × Y runs in the
// caller's precision.
//
// Where n cannot stand for the quotient the result is the exact IEEE
// remainder from the x87 partial remainder (fprem1): a quotient outside the
// 32-bit range, a NaN operand, a zero Y or an infinite X (both give a NaN and
// raise invalid) and an infinite Y (the remainder is X). The steps would give
// X + 2^31 × Y, X itself, or a NaN there.
//
// The mixed-kind forms widen their REAL*4 argument to REAL*8 exactly and
// use the REAL*8 form.
#include "common/elem_calls.h"
#include "ieee/arithmetic.h"
#include "x87.h"

using namespace f90::ieee;

namespace {

inline int32_t nearest(float q) { return _morvex_nint(q); }
inline int32_t nearest(double q) { return _morvex_idnint(q); }

template <class T>
long double rem(Bits<T> ux, Bits<T> uy) {
  const long double x = fp::x87_value<T>(ux);
  const long double y = fp::x87_value<T>(uy);
  if (is_nan<T>(ux) || is_nan<T>(uy) || is_inf<T>(ux) || is_inf<T>(uy) || is_zero<T>(uy))
    return x87::prem1(x, y);
  const T q = x87::round_to<T>(x / y);
  int32_t n = nearest(q);
  if (n == INT32_MIN) return x87::prem1(x, y);
  Bits<T> uq;
  std::memcpy(&uq, &q, sizeof uq);
  if (fraction_part<T>(uq).vs_half == 0 && (n & 1) != 0) n += q > n ? 1 : -1;
  return x - static_cast<long double>(n) * y;
}

}  // namespace

F90_API long double sp_rem(const float* x, const float* y) F90_SYMBOL(__SP_IEEE_REM_in_IEEE_ARITHMETIC);
F90_API long double dp_rem(const double* x, const double* y) F90_SYMBOL(__DP_IEEE_REM_in_IEEE_ARITHMETIC);
F90_API long double sd_rem(const float* x, const double* y) F90_SYMBOL(__SD_IEEE_REM_in_IEEE_ARITHMETIC);
F90_API long double ds_rem(const double* x, const float* y) F90_SYMBOL(__DS_IEEE_REM_in_IEEE_ARITHMETIC);

long double sp_rem(const float* x, const float* y) { return rem<float>(bits_at(x), bits_at(y)); }
long double dp_rem(const double* x, const double* y) { return rem<double>(bits_at(x), bits_at(y)); }
long double sd_rem(const float* x, const double* y) { return rem<double>(fp::widen(bits_at(x)), bits_at(y)); }
long double ds_rem(const double* x, const float* y) { return rem<double>(bits_at(x), fp::widen(bits_at(y))); }
