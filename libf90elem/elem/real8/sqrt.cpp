// SQRT of REAL*8 by Heron's iteration.
//
// Method: the first estimate halves the exponent (the high word shifted right
// by one, plus 0x1ff80000, low word zero), a linear fit of the significand
// within a few per cent. That double is not stored as two words and read
// back as one (a load that cannot be forwarded from the two stores waits
// for them to reach the cache, and serialises the calls): its 20 fraction
// bits and an exponent cut to 0..63 make a REAL*4 (one 32-bit store and
// load), which a power-of-two REAL*8 from a table, 2^(64j - 512), scales
// exactly to the same value. Four Heron steps follow in the x87 registers at the
// caller's precision, written with doubled iterates so that each step is one
// division and one addition:
//   t1 = y0 + x/y0, t2 = t1/4 + x/t1, t3 = t2 + x/t2, result = t3/4 + x/t3.
// The error squares at each step, so the last step starts from about 2^-40
// and the result is within an ulp.
//
// Special cases: +-0 and NaN give x itself (so SQRT(-0.0) = -0.0); x < 0 gives
// NaN; +Inf gives +Inf. A subnormal x is scaled by 2^54 first and the root by
// 2^-27, so it gets a full-precision result too.
#include <array>
#include <cstdint>

#include "constants.h"
#include "entry.h"
#include "real/float_bits.h"
#include "real8/real8.h"
#include "x87.h"

using namespace morvex::real;

namespace {

// 2^(64j - 512), j = 0..16: the estimate's exponent is within +-512.
constexpr std::array<double, 17> kScale = {
    0x1p-512, 0x1p-448, 0x1p-384, 0x1p-320, 0x1p-256, 0x1p-192, 0x1p-128, 0x1p-64, 0x1p0,
    0x1p64,   0x1p128,  0x1p192,  0x1p256,  0x1p320,  0x1p384,  0x1p448,  0x1p512};

// The double with high word h (exponent field 511..1535) and low word zero.
inline long double estimate(uint32_t h) {
  const uint32_t u = (h >> 20) - (1023 - 512);  // unbiased exponent + 512: 0..1024
  const float f = from_bits<float>((((u & 63) + 127) << 23) | ((h & 0xfffffu) << 3));
  return f * static_cast<long double>(kScale[u >> 6]);  // 21 bits: exact at any precision
}

}  // namespace

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
  const long double y0 = estimate((high >> 1) + 0x1ff80000u);
  const long double v = x;
  const long double t1 = y0 + v / y0;
  const long double t2 = t1 * 0.25L + v / t1;
  const long double t3 = t2 + v / t2;
  const long double r = 0.25L * t3 + v / t3;
  return r * unscale;
}

MORVEX_BY_REF(long double, _morvex_I_dsqrt, _morvex_dsqrt, double)
