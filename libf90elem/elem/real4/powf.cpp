// REAL*4 ** REAL*4 (ftof), table driven.
//
// Method: with x = g * 2^m, g in [0.5, 1), log2 x = u1 + u2 where
// u1 = m - p/16 is exact and u2 = log2(g / 2^(-p/16)) is small: a binary
// search over A1[k] = 2^((1-k)/16) picks the odd p with g between A1[p+2]
// and A1[p], whose midpoint A1[p+1] (corrected by its rounding error A2)
// is T = 2^(-p/16). Then z = 2((g - A1[p+1]) - A2)/(g + A1[p+1]), close to
// 2(g - T)/(g + T), ln(g/T) = z + z^3/12 + ..., and u2 = (z + R)*log2(e)
// with R ~ z^3/12 and log2(e) = 1 + K.
// w = y * log2 x is carried as a whole number of sixteenths iw1 plus a
// remainder w2 in [-1/16, 0): y and the partial products are split into
// sixteenths (REDUCE, an integer store of 16v rounded toward zero) so
// that the leading parts add exactly. The result is
// 2^w = 2^m' * 2^(-p'/16) * 2^w2 with iw1 = 16m' - p', 2^w2 - 1 = Z a cubic
// in w2, and 2^(-p'/16) = A1[p'+1]: A1[p'+1]*(1 + Z) is rounded to REAL*4
// and scaled by 2^m' (m' added to its exponent; fscale, exact in the x87
// registers).
//
// Special cases, in order:
//   y = +-0 or NaN: 1.0.  x = 1 or NaN: x.
//   y an integer with |y| < 2^24, or y = +-2^k with k <= 30: ftoi(x, y).
//   x < 0 and |y| >= 2^24 (an even integer, or infinite): |x| ** y
//   (1.0 for x = -1).
//   x = +-0: +0.0 for y > 0, +Inf for y < 0.  x < 0 otherwise: NaN.
//   x = +Inf: +Inf for y > 0, +0.0 for y < 0.
//   y = +-Inf: +Inf or +0.0 as |x| ** y tends (1.0 for x = -1).
// A subnormal x is scaled by 2^24 first. When |w| > 160 the result lies far
// outside the REAL*4 range: +Inf or +0.0 at once (the sixteenths of such w
// would not fit the integer store). Otherwise results up to the largest
// REAL*4 are finite, and results below the normal range are the correctly
// scaled subnormals.
//
// Accuracy: log2 x carries an absolute error of up to about 2.4e-9 (the
// denominator leaves out A2, and the cubic in z and the REAL*4 K add their
// own), which y multiplies: the result is within 1 + 0.03*|y| ulps. That is
// a few ulps for bases away from 1, but for x near 1 and large |y| (say
// 1.0000017 ** -4.2e6) the error reaches 1e5 ulps and more: u1 and u2 then
// nearly cancel.
#include <cstdint>

#include "constants.h"
#include "real4/ftoi.h"
#include "real/float_bits.h"
#include "real4/real4.h"
#include "x87.h"
#include "x87_trunc.h"

using namespace morvex::real;

namespace morvex::real4 {

// A2[1..8], then A1[1..17].
F90_HIDDEN extern const float kPowTable[25];
const float kPowTable[25] = {
#include "real4/pow_table.inc"
};

}  // namespace morvex::real4

namespace {

using morvex::real4::kPowTable;

inline float a1(int k) { return kPowTable[7 + k]; }  // k = 1..17
inline float a2(int k) { return kPowTable[k - 1]; }  // k = 1..8

constexpr float kR = f32(0x3daab75c);   // ~1/12
constexpr float kK = f32(0x3ee2a8ed);   // log2(e) - 1
constexpr float kQ0 = f32(0x3f317211);  // ~ln 2
constexpr float kQ1 = f32(0x3e75f315);
constexpr float kQ2 = f32(0x3d5ea8fe);

// v cut to whole sixteenths toward zero (an integer store of 16v rounded
// toward zero).
inline long double reduce(long double v) {
  int32_t n;
  return x87::trunc_int32(16 * v, n) * 0.0625L;
}

// u1 + u2 = log2 x for a positive, finite x.
struct Log2Split {
  long double u1, u2;
};

Log2Split log2_split(float x) {
  int field = exponent_field(x);
  int m = -126;
  if (field == 0) {  // subnormal
    x = x87::round_to<float>(x * 0x1p24L);
    field = exponent_field(x);
    m -= 24;
  }
  m += field;
  const long double g = from_bits<float>((bits_of(x) & kFractionMask<float>) | (126u << 23));
  // The search without branches: g is random, so each step would be
  // mispredicted half the time.
  int p = 1 + 8 * (g <= a1(9));
  p += 4 * (g <= a1(p + 4));
  p += 2 * (g <= a1(p + 2));
  const long double t = a1(p + 1);
  const long double z = ((g - t) - a2((p + 1) / 2)) / (g + t) * 2;
  const long double r = z * (z * z * kR);
  const long double u2 = z + ((r + r * kK) + z * kK);
  const long double u1 = (16 * m - p) * 0.0625L;
  return {u1, u2};
}

// 2^(y * (u1 + u2)) for |y * (u1 + u2)| <= 160.
long double power_of_two(long double u1, long double u2, float y) {
  const long double y1 = reduce(y);
  const long double y2 = y - y1;
  long double w = u2 * y + u1 * y2;
  long double w1 = reduce(w);
  long double w2 = w - w1;
  w = w1 + u1 * y1;
  w1 = reduce(w);
  w2 = w2 + (w - w1);
  w = reduce(w2);
  int32_t iw1 = x87::trunc32(16 * (w1 + w));
  w2 = w2 - w;
  // Here y * log2 x = iw1/16 + w2 with |w2| < 1/16.
  if (iw1 > 16 * 128) return _morvex_FLOAT_INF;
  if (iw1 < -16 * 151) return 0.0L;
  const bool up = w2 >= 0;  // as likely as not: no branch
  iw1 += up;
  w2 = x87::select(up, w2 - 0.0625L, w2);
  const int m = iw1 / 16 + (iw1 > 0 ? 1 : 0);
  const int p = 16 * m - iw1;  // 0..16
  const long double z = w2 * ((kQ2 * w2 + kQ1) * w2 + kQ0);
  const float a = a1(p + 1);
  const float r = x87::round_to<float>(a + a * z);
  return x87::scale(r, m);  // exact in the x87; the caller's store rounds a subnormal
}

}  // namespace

long double _morvex_ftof(float x, float y) {
  if (!(y < 0) && !(y > 0)) return 1.0L;  // y = +-0 or NaN
  if (x == 1 || x != x) return x;
  const uint32_t ybits = bits_of(y);
  const uint32_t frac = ybits & kFractionMask<float>;
  const int e = exponent_field(y) - FloatBits<float>::kBias;  // unbiased
  if (e >= 0 && ((e < 31 && frac == 0) || (e < 24 && (frac & ((1u << (23 - e)) - 1)) == 0)))
    return morvex::real4::int_power(x, x87::store_int32(y));  // y integral
  if (x < 0 && e >= 24) {  // y even (or infinite)
    x = -x;
    if (x == 1) return 1.0L;
  }
  if (!(x > 0)) {
    if (x == 0) return y > 0 ? 0.0L : static_cast<long double>(_morvex_FLOAT_INF);
    return _morvex_FLOAT_NAN;
  }
  const bool y_positive = y > 0;
  if (e == 128)  // y = +-Inf
    return (x > 1) == y_positive ? static_cast<long double>(_morvex_FLOAT_INF) : 0.0L;
  if (exponent_field(x) == FloatBits<float>::kExponentMax)  // x = +Inf
    return y_positive ? static_cast<long double>(_morvex_FLOAT_INF) : 0.0L;
  const Log2Split s = log2_split(x);
  const long double estimate = (s.u1 + s.u2) * y;
  if (estimate > 160) return _morvex_FLOAT_INF;
  if (estimate < -160) return 0.0L;
  return power_of_two(s.u1, s.u2, y);
}
