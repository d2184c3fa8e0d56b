// ATAN2, shared by the REAL*4 and REAL*8 elementals.
//
// Method: for x /= 0, a = atan(|y/x|) by the x87 partial arctangent (divisor
// 1.0), rounded to the kind; for x < 0, a = pi - a, rounded again; a takes
// the sign bit of y. For x = +-0 or NaN: pi/2 for y > 0, -pi/2 for y < 0,
// +0.0 otherwise (zero or NaN y).
//
// So ATAN2(-0.0, -1.0) = -pi and ATAN2(0.0, 0.0) = +0.0; y/x is formed in
// the x87 registers, whose wide exponent range keeps huge and tiny
// quotients.
//
// Constants, per kind, in Atan2Constants<T>: kPi, kHalfPi.
#pragma once

#include "real/float_bits.h"
#include "x87.h"

namespace morvex::real {

template <class T>
struct Atan2Constants;

template <class T>
inline long double atan2_of(T y, T x) {
  using K = Atan2Constants<T>;
  if (x < 0 || x > 0) {
    const uint16_t cw = x87::get_cw();
    const long double q = x87::abs(static_cast<long double>(y) / x);
    long double a = round_value<T>(x87::atan2(q, 1.0L), cw);
    // The quadrant from the signs, without branches: random signs would
    // make both mispredicted half the time.
    a = x87::select(x < 0, round_op_result<T>(K::kPi - a, cw), a);
    return x87::select((bits_of(y) & kSignBit<T>) != 0, -a, a);
  }
  if (y > 0) return K::kHalfPi;
  if (y < 0) return -K::kHalfPi;
  return 0.0L;
}

}  // namespace morvex::real
