// COMPLEX*32 to an INTEGER*4 power.
//
// Method: binary square-and-multiply over |n| taken as an unsigned magnitude
// (so n = INT_MIN terminates), from the lowest bit, with the accumulator
// starting at (1, 0): a set bit multiplies the accumulator by the base (the
// complex product of cqmul), then the base is squared as
// (p^2 - q^2, pq + pq), until the highest set bit is used. A negative n
// first replaces the base by its reciprocal (x/h, -(y/h)), h = x^2 + y^2.
//
// Range: h is formed from z scaled by 2^-k when z's larger part lies outside
// [2^-450, 2^450], and the reciprocal scaled back by 2^-k (both exact), so a
// reciprocal is found wherever it is representable.
//
// Special cases: z = 0 (both high parts zero) gives (1, 0) for n = 0 and
// zero in all four parts for any other n, negative ones included. Otherwise
// n = 0 gives (1, 0). Overflow follows the double-double operations.
//
// Accuracy: each squaring or product adds a few units of 2^-106, and z^n
// has condition number |n|: the relative error grows like |n| 2^-106.
#include "complex32/complex32.h"

namespace dd = morvex::dd;
using namespace morvex::complex32;

Complex32* _morvex_cqtoi(Complex32* res, Complex32 z, int32_t n) {
  if (is_zero(z)) return n == 0 ? store(res, kOne, kZero) : store(res, kZero, kZero);
  Cx base = z;
  if (n < 0) {
    const ScaledPair s = scaled_pair(z.re, z.im);
    const DD h = sum_of_squares(s.x, s.y);
    base = {scale(dd::div(s.x, h), -s.k), scale(dd::neg(dd::div(s.y, h)), -s.k)};
  }
  uint32_t m = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
  Cx acc = {kOne, kZero};
  for (;;) {
    if (m & 1) acc = mul(acc, base);
    m >>= 1;
    if (m == 0) break;
    const DD p = base.re, q = base.im;
    base = {dd::sub(dd::mul(p, p), dd::mul(q, q)), dd::add(dd::mul(p, q), dd::mul(p, q))};
  }
  return store(res, acc.re, acc.im);
}
