// SQRT of REAL*4 by a linear first estimate and two Heron steps.
//
// Method: x = f * 2^(e-126) with f in [0.5, 1) (the significand with
// exponent field 126) and e the exponent field of x. The estimate
// y0 = 0.59016*f + 0.41731 (a linear fit of sqrt f on [0.5, 1)) is good to
// about 2^-7.5; two Heron steps h = (y0 + f/y0)/2, y = (h + f/h)/2 at the
// caller's precision take it below 2^-28, and y is rounded to REAL*4. For an
// even e the root is y * 2^((e-126)/2); for an odd e, y * sqrt(1/2) is
// rounded to REAL*4 first and the exponent grows by (e-125)/2. The power of
// two multiplies the REAL*4 in the x87, which is exact: the same as adding to
// its exponent field, without a trip through memory. Accuracy: within 0.5
// ulp plus a little for even e, within about 0.9 ulp for odd e (two
// roundings).
//
// Special cases: +-0 and NaN give x itself (so SQRT(-0.0) = -0.0); x < 0
// gives NaN; +Inf gives +Inf. A subnormal x is scaled by 2^24 first (its
// exponent field would not describe it) and its root by 2^-12.
#include <cstdint>

#include "constants.h"
#include "entry.h"
#include "real/float_bits.h"
#include "real4/real4.h"
#include "x87.h"

using namespace morvex::real;

namespace {

constexpr float kSlope = f32(0x3f1714ba);       // 0.5901600122451782
constexpr float kIntercept = f32(0x3ed5a9a8);   // 0.4173099994659424
// The factor for an even and for an odd exponent field: y * 1.0 rounded to
// REAL*4 is y itself, so both cases take one path (the parity of a random
// argument would make a branch that is mispredicted half the time).
constexpr double kFactor[2] = {1.0, f64(0x3fe6a09e667f3bcd)};  // 1, sqrt(1/2)

}  // namespace

long double _morvex_sqrt(float x) {
  if (!(x < 0) && !(x > 0)) return x;  // +-0 and NaN
  if (x < 0) return _morvex_FLOAT_NAN;
  int e = exponent_field(x);
  if (e == FloatBits<float>::kExponentMax) return _morvex_FLOAT_INF;
  int unscale = 0;
  if (e == 0) {
    x = x87::round_to<float>(x * 0x1p24L);  // exact
    e = exponent_field(x);
    unscale = -12;
  }
  const float f = from_bits<float>((bits_of(x) & kFractionMask<float>) | (126u << 23));
  const long double y0 = f * static_cast<long double>(kSlope) + kIntercept;
  const long double h = (y0 + f / y0) * 0.5L;
  const float y = x87::round_to<float>(0.5L * (h + f / h));
  const int odd = e & 1;
  const float r = x87::round_to<float>(y * static_cast<long double>(kFactor[odd]));
  // r * 2^k, 2^k a normal REAL*4 (k in -74 .. 64) built while the steps run:
  // the product is exact, and it is r with k added to its exponent field.
  const int k = ((e - 126 + odd) >> 1) + unscale;
  return r * static_cast<long double>(from_bits<float>(static_cast<uint32_t>(k + 127) << 23));
}

MORVEX_BY_REF(long double, _morvex_I_sqrt, _morvex_sqrt, float)
