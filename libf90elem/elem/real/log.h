// LOG, shared by the REAL*4 and REAL*8 elementals (table driven).
//
// Near 1 (e^(-1/16) < x < e^(1/16)): with f = x - 1 and u = 2f/(f + 2),
// ln x = u + u^3*B(u^2); u is split into u1 (its high bits) and a correction
// u2 = (2(f - u1) - u1*f1 - u1*(f - f1)) / (f + 2), formed exactly from the
// high part f1 of f, so the leading term carries no rounding error.
//
// Elsewhere: x = 2^m * y with y in [1, 2) (fxtract); F = 1 + j/128 is y cut
// to seven fraction bits, moved to the nearer of the two neighbours so that
// |y - F| <= 1/256; u = (y - F) * (1/F) from a table; then
//   ln x = (m*LN2_LEAD + LEAD[j]) + (u + (m*LN2_TRAIL + TRAIL[j] + u^2*A(u)))
// where LEAD[j] + TRAIL[j] = ln F and LEAD[j] and LN2_LEAD are short enough
// that the first sum is exact. A subnormal x is first scaled by 2^(F+2).
//
// Special cases: +-0 gives -Inf, x < 0 and NaN give NaN, +Inf gives +Inf.
//
// Constants, per kind, in LogConstants<T>: kNearLow, kNearHigh, kSplitBits
// (low bits cleared in u1 and f1), kB, kA, kLn2Lead, kLn2Trail, the tables
// kTrail, kLead, kRecip (129 entries each), inf() and nan().
#pragma once

#include <array>
#include <cstdint>

#include "real/float_bits.h"
#include "x87.h"

namespace morvex::real {

template <class T>
struct LogConstants;

template <class T>
inline T clear_low_bits(T x, int n) {
  return from_bits<T>(bits_of(x) & ~((UIntOf<T>{1} << n) - 1));
}

template <class T>
inline long double log_near_one(T x) {
  using K = LogConstants<T>;
  const long double f = x - 1.0L;  // exact
  const long double e = 1.0L / (f + 2);
  const long double u = 2 * f * e;
  const long double v = u * u;
  const T u1 = clear_low_bits(x87::round_to<T>(u), K::kSplitBits);
  const T f1 = clear_low_bits(static_cast<T>(f), K::kSplitBits);
  const long double u2 = e * (2 * (f - u1) - u1 * f1 - u1 * (f - f1));
  return u1 + (u * v * horner(v, K::kB) + u2);
}

// F_j = 1 + j/128, the points the table path splits y at (exact).
template <class T>
inline constexpr std::array<T, 128> kLogSplitPoints = [] {
  std::array<T, 128> f{};
  for (int j = 0; j < 128; ++j) f[j] = T(1) + T(j) / 128;
  return f;
}();

template <class T>
inline long double log_of(T x) {
  using K = LogConstants<T>;
  using B = FloatBits<T>;
  if (!(x > 0)) return x == 0 ? -K::inf() : K::nan();
  if (x > K::kNearLow && x < K::kNearHigh) return log_near_one(x);
  const int field = exponent_field(x);
  if (field == B::kExponentMax) return K::inf();  // +Inf
  long double shift = 0;
  if (field == 0) {  // subnormal: scale into the normal range
    constexpr int kShift = B::kFractionBits + 2;
    x = x87::round_to<T>(x * static_cast<long double>(
                                 from_bits<T>(UIntOf<T>(B::kBias + kShift) << B::kFractionBits)));
    shift = kShift;
  }
  // x = 2^m * y, y in [1, 2), split exactly by the x87.
  long double m;
  const long double y = x87::extract(x, m);
  m -= shift;
  constexpr int kLowBits = B::kFractionBits - 7;  // fraction bits below j
  int j = static_cast<int>((bits_of(x) >> kLowBits) & 127);
  long double h = y - kLogSplitPoints<T>[j];  // exact
  // The upper half of an interval belongs to the next split point; as
  // likely as not for a random x, so no branch.
  const bool upper = h > 1.0L / 256;
  j += upper;
  h = x87::select(upper, h - 1.0L / 128, h);
  const long double u = h * K::kRecip[j];
  return (m * K::kLn2Lead + K::kLead[j]) +
         (u + (m * K::kLn2Trail + K::kTrail[j] + u * u * horner(u, K::kA)));
}

}  // namespace morvex::real
