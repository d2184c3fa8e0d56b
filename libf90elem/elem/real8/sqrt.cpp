// SQRT of REAL*8 by Heron's iteration.
//
// Method: the first estimate halves the exponent (the high word shifted right
// by one, plus 0x1ff80000, low word zero), a linear fit of the significand
// within a few per cent; four Heron steps follow in the x87 registers at the
// caller's precision, written with doubled iterates so that each step is one
// division and one addition:
//   t1 = y0 + x/y0, t2 = t1/4 + x/t1, t3 = t2 + x/t2, result = t3/4 + x/t3.
// The error squares at each step, so the last step starts from about 2^-40
// and the result is within an ulp.
//
// Special cases: +-0 and NaN give x itself (so SQRT(-0.0) = -0.0); x < 0 gives
// NaN; +Inf gives +Inf. A subnormal x is scaled by 2^54 first and the root by
// 2^-27, so it gets a full-precision result too.
#include <cstdint>

#include "constants.h"
#include "entry.h"
#include "real/float_bits.h"
#include "real8/real8.h"
#include "x87.h"

using namespace morvex::real;

long double _morvex_dsqrt(double x) {
  if (!(x < 0) && !(x > 0)) return x;  // +-0 and NaN
  if (x < 0) return _morvex_DOUBLE_NAN;
  const int field = exponent_field(x);
  if (field == FloatBits<double>::kExponentMax) return x;  // +Inf
  long double unscale = 1.0L;
  if (field == 0) {
    x = x87::round_to<double>(x * 0x1p54L);  // exact
    unscale = 0x1p-27L;
  }
  const uint32_t high = static_cast<uint32_t>(bits_of(x) >> 32);
  const double y0 = from_bits<double>(static_cast<uint64_t>((high >> 1) + 0x1ff80000u) << 32);
  const long double v = x;
  const long double t1 = y0 + v / y0;
  const long double t2 = t1 * 0.25L + v / t1;
  const long double t3 = t2 + v / t2;
  const long double r = 0.25L * t3 + v / t3;
  return r * unscale;
}

MORVEX_BY_REF(long double, _morvex_I_dsqrt, _morvex_dsqrt, double)
