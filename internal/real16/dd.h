// Double-double primitives: a REAL*16 value is the unevaluated sum hi + lo of
// two IEEE doubles (morvex::DoubleDouble). Every REAL*16 and COMPLEX*32
// routine of libf90elem is built from the operations here; libf90intr's
// REAL*16 matrix kernels inline the same operations, so their products and
// sums have the bits of the exported _morvex_qmul and _morvex_qadd.
//
// Method: Knuth's two-sum for addition and subtraction, Dekker's splitting
// product (split constant 2^32 + 1) for multiplication, Dekker's long
// division with one correction step, and the renormalisation
// (s, e) -> (s + e, e + (s - (s + e))) at the end of each operation.
//
// Arithmetic: every step is one IEEE double operation rounded to nearest,
// evaluated in the order and grouping written, never fused or kept wider.
// This header is therefore only for translation units compiled for SSE2
// double arithmetic (-msse2 -mfpmath=sse -ffp-contract=off), which the build
// gives every source in a real16/ or complex32/ folder: the results are then
// the same whatever the caller's x87 control word.
//
// Special values: an infinite or NaN high part flows through the formulas and
// leaves NaN in both parts. An operation on finite operands whose exact
// result lies beyond the double range gives (+-Inf, +0) instead of letting the
// error terms turn into NaN. Operands are not tested for normalisation.
//
// Accuracy: add, sub and prod are error-free on double operands (hi + lo is
// the exact sum or product); on double-double operands the rounding errors of
// the formulas add up to at most 4 * 2^-106 (|a| + |b|) for add and sub,
// 8 * 2^-106 |a*b| for mul and 16 * 2^-106 |a/b| for div (about 2, 3.3 and 5.3
// units are seen on random operands). Results whose parts fall into the
// subnormal range are not exact.
#pragma once

#if !defined(__SSE2_MATH__)
#error "real16/dd.h needs SSE2 double arithmetic: keep its users in a real16/ or complex32/ folder"
#endif

#include <bit>
#include <cmath>
#include <cstdint>

#include "value/types.h"

// Every helper that returns a DoubleDouble is inlined into its caller: an
// out-of-line function returning a struct would pop its hidden result
// pointer (ret $4), which the libraries never do.
#define MORVEX_DD_INLINE [[gnu::always_inline]] inline

namespace morvex::dd {

using DD = DoubleDouble;

// Dekker's split: 2^32 + 1 cuts a double into a 21-bit head and a 32-bit tail.
inline constexpr double kSplit = 4294967297.0;
// Operands above this (the largest double below 2^960) are scaled by 2^-64
// before splitting, so that kSplit * x cannot overflow.
inline constexpr double kScaleGuard = 0x1.fffffffffffffp+959;
inline constexpr double kScaleDown = 0x1p-64;
inline constexpr double kScaleUp = 0x1p64;

inline uint64_t bits(double x) { return std::bit_cast<uint64_t>(x); }
inline double from_bits(uint64_t b) { return std::bit_cast<double>(b); }
// The 11-bit biased exponent field (2047: infinity or NaN).
inline int biased_exponent(double x) { return static_cast<int>((bits(x) >> 52) & 0x7ff); }
inline bool is_special(double x) { return biased_exponent(x) == 2047; }

// Writes all 16 bytes of an entry point's result slot and returns its address.
inline DD* store(DD* res, DD v) {
  *res = v;
  return res;
}

MORVEX_DD_INLINE DD neg(DD a) { return {-a.hi, -a.lo}; }

// Renormalisation: hi the rounded sum of s and e, lo its rounding error.
MORVEX_DD_INLINE DD renorm(double s, double e) {
  const double hi = s + e;
  return {hi, e + (s - hi)};
}

// The formulas' result r of an operation on the high parts x and y did not
// come out finite. For finite operands that means the exact result lies
// beyond the double range: its leading value s, or the renormalised sum, is
// the infinity of the result's sign, and the trailing part becomes +0.
MORVEX_DD_INLINE DD beyond_range(double s, DD r, double x, double y) {
  if (std::isfinite(x) && std::isfinite(y)) {
    if (std::isinf(s)) return {s, 0.0};
    if (std::isinf(r.hi)) return {r.hi, 0.0};
  }
  return r;
}

// Renormalises (s, e), the leading value and error term of an operation whose
// operands have the high parts x and y.
MORVEX_DD_INLINE DD finish(double s, double e, double x, double y) {
  const DD r = renorm(s, e);
  if (__builtin_expect(!std::isfinite(r.hi), 0)) return beyond_range(s, r, x, y);
  return r;
}

// a + b.
MORVEX_DD_INLINE DD add(DD a, DD b) {
  const double s = a.hi + b.hi;
  const double q = a.hi - s;
  double e = ((b.hi + q) + (a.hi - (q + s))) + a.lo;
  e = e + b.lo;
  return finish(s, e, a.hi, b.hi);
}

// a - b.
MORVEX_DD_INLINE DD sub(DD a, DD b) {
  const double s = a.hi - b.hi;
  const double q = a.hi - s;
  double e = ((q - b.hi) + (a.hi - (q + s))) + a.lo;
  e = e - b.lo;
  return finish(s, e, a.hi, b.hi);
}

// a + d, d a double (no trailing part to add).
MORVEX_DD_INLINE DD add_d(DD a, double d) {
  const double s = a.hi + d;
  const double q = a.hi - s;
  const double e = ((d + q) + (a.hi - (q + s))) + a.lo;
  return finish(s, e, a.hi, d);
}

// a - d.
MORVEX_DD_INLINE DD sub_d(DD a, double d) {
  const double s = a.hi - d;
  const double q = a.hi - s;
  const double e = ((q - d) + (a.hi - (q + s))) + a.lo;
  return finish(s, e, a.hi, d);
}

// d - b.
MORVEX_DD_INLINE DD d_sub(double d, DD b) {
  const double s = d - b.hi;
  const double q = d - s;
  const double e = ((q - b.hi) + (d - (q + s))) - b.lo;
  return finish(s, e, d, b.hi);
}

// Dekker's product of x and y, |x|, |y| <= kScaleGuard: x*y = p + e exactly
// while the product and the partial products stay in range.
MORVEX_DD_INLINE DD dekker_product(double x, double y) {
  const double cx = kSplit * x;
  const double hx = cx + (x - cx);
  const double tx = x - hx;
  const double cy = kSplit * y;
  const double hy = cy + (y - cy);
  const double ty = y - hy;
  // tx * ty would need 64 bits: split the tail once more.
  const double cty = kSplit * ty;
  const double hty = cty + (ty - cty);
  const double tty = ty - hty;
  const double p = x * y;
  const double e = ((((hx * hy - p) + hx * ty) + hy * tx) + tx * hty) + tx * tty;
  return {p, e};
}

// prod found a non-finite part. Infinite or NaN operands keep the formulas'
// result; a product beyond the double range gives (+-Inf, +0); a product that
// fits but whose partial products overflowed near the top of the range is
// formed again with the larger operand scaled down by 2^-64.
MORVEX_DD_INLINE DD prod_out_of_range(double x, double y, DD r) {
  if (!std::isfinite(x) || !std::isfinite(y)) return r;
  if (std::isinf(r.hi)) return {r.hi, 0.0};
  if (std::fabs(x) >= std::fabs(y)) {
    x *= kScaleDown;
  } else {
    y *= kScaleDown;
  }
  const DD s = dekker_product(x, y);
  return {s.hi * kScaleUp, s.lo * kScaleUp};
}

// The exact product of two doubles, not renormalised further. An operand
// above kScaleGuard is scaled down by 2^-64 (at most one of them) and both
// parts of the result are scaled back up; these scalings by powers of two are
// exact.
MORVEX_DD_INLINE DD prod(double x, double y) {
  const double x0 = x, y0 = y;
  bool scaled = false;
  if (std::fabs(x) > kScaleGuard) {
    x *= kScaleDown;
    scaled = true;
  } else if (std::fabs(y) > kScaleGuard) {
    y *= kScaleDown;
    scaled = true;
  }
  DD r = dekker_product(x, y);
  if (scaled) {
    r.hi *= kScaleUp;
    r.lo *= kScaleUp;
  }
  if (__builtin_expect(!(std::isfinite(r.hi) && std::isfinite(r.lo)), 0))
    return prod_out_of_range(x0, y0, r);
  return r;
}

// a * b.
MORVEX_DD_INLINE DD mul(DD a, DD b) {
  const DD p = prod(a.hi, b.hi);
  const double c = (((a.hi + a.lo) * b.lo) + (a.lo * b.hi)) + p.lo;
  return finish(p.hi, c, a.hi, b.hi);
}

// a * d.
MORVEX_DD_INLINE DD mul_d(DD a, double d) {
  const DD p = prod(a.hi, d);
  const double c = a.lo * d + p.lo;
  return finish(p.hi, c, a.hi, d);
}

// a * n for an INTEGER*4 n: the exact products of both parts, added. 0, 1
// and -1 are exact shortcuts (a zero n gives +0 even for an infinite or NaN
// a). A product of the high part beyond the double range is the result.
MORVEX_DD_INLINE DD mul_i(DD a, int32_t n) {
  if (n == 0) return {0.0, 0.0};
  if (n == 1) return a;
  if (n == -1) return neg(a);
  const double t = static_cast<double>(n);
  const DD p = prod(a.hi, t);
  if (__builtin_expect(std::isinf(p.hi), 0) && std::isfinite(a.hi)) return p;
  return add(p, prod(a.lo, t));
}

// a / b.
MORVEX_DD_INLINE DD div(DD a, DD b) {
  const double c = a.hi / b.hi;
  const DD p = prod(b.hi, c);
  const double r = ((a.hi - p.hi) - p.lo) + a.lo;
  const double cc = (r - c * b.lo) / (b.hi + b.lo);
  return finish(c, cc, a.hi, b.hi);
}

// a / d.
MORVEX_DD_INLINE DD div_d(DD a, double d) {
  const double c = a.hi / d;
  const DD p = prod(d, c);
  const double cc = (((a.hi - p.hi) - p.lo) + a.lo) / d;
  return finish(c, cc, a.hi, d);
}

// d / b.
MORVEX_DD_INLINE DD d_div(double d, DD b) {
  const double c = d / b.hi;
  const DD p = prod(b.hi, c);
  const double cc = (((d - p.hi) - p.lo) - c * b.lo) / (b.hi + b.lo);
  return finish(c, cc, d, b.hi);
}

}  // namespace morvex::dd
