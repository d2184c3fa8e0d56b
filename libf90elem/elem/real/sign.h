// ABS, SIGN and DIM, shared by the REAL*4 and REAL*8 elementals. ABS and
// SIGN work on the bit pattern of the first argument (NaN payloads kept);
// DIM subtracts at the caller's precision.
#pragma once

#include "real/float_bits.h"

namespace morvex::real {

template <class T>
inline T abs_bits(T x) {
  return from_bits<T>(bits_of(x) & ~kSignBit<T>);
}

// |a| with the sign bit of b; b = +-0 or NaN gives |a|.
template <class T>
inline T sign_bits(T a, T b) {
  const UIntOf<T> mag = bits_of(a) & ~kSignBit<T>;
  if (!(b < 0) && !(b > 0)) return from_bits<T>(mag);
  return from_bits<T>(mag | (bits_of(b) & kSignBit<T>));
}

// x - y when that is >= 0, else +0.0 (a NaN difference gives +0.0).
template <class T>
inline long double positive_difference(T x, T y) {
  const long double d = static_cast<long double>(x) - y;
  return d >= 0 ? d : 0.0L;
}

}  // namespace morvex::real
