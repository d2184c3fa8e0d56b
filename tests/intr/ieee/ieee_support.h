// Helpers of the IEEE tests: bit patterns in and out of the x87 unit.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "value/float_bits.h"

namespace ieeetest {

template <class T>
using Bits = fp::UIntOf<T>;

// The value of a pattern that is not a NaN (returned through st(0)).
template <class T>
T of_bits(Bits<T> u) {
  T x;
  std::memcpy(&x, &u, sizeof x);
  return x;
}

// A variable of kind T holding the pattern u, written without the x87 unit
// (of_bits returns through st(0): a load that raises denormal-operand for a
// subnormal and invalid for a signalling NaN).
template <class T>
struct Pattern {
  T value;
  explicit Pattern(Bits<T> u) { std::memcpy(&value, &u, sizeof value); }
  const T* operator&() const { return &value; }
};

// The 80 bits of an x87 value.
struct Raw {
  uint64_t mantissa;
  uint16_t sign_exponent;
  bool operator==(const Raw&) const = default;
};
inline Raw raw(long double v) {
  Raw r;
  std::memcpy(&r.mantissa, &v, 8);
  std::memcpy(&r.sign_exponent, reinterpret_cast<const char*>(&v) + 8, 2);
  return r;
}
// The exact st(0) form of a pattern of kind T.
template <class T>
Raw raw_of(Bits<T> u) {
  const fp::Extended e = fp::extended_of<T>(u);
  return {e.mantissa, e.sign_exponent};
}
inline std::ostream& operator<<(std::ostream& o, const Raw& r) {
  return o << std::hex << r.sign_exponent << ":" << r.mantissa << std::dec;
}

// Calls an entry declared to return float or double as what it is on i386,
// a value in st(0), and hands it back unconverted (a store to float would
// quiet a signalling NaN and raise invalid).
template <class R, class... A, class... B>
long double st0(R (*f)(A...), B... b) {
  // Through void (*)(): the declared types differ only in how the caller
  // treats st(0).
  return reinterpret_cast<long double (*)(A...)>(reinterpret_cast<void (*)()>(f))(b...);
}

// Patterns every IEEE test covers for kind T: zeros, subnormals at both
// ends, normals at both ends and around 1, the largest finite, infinities,
// signalling and quiet NaNs, each with both signs.
template <class T>
std::vector<Bits<T>> edge_patterns() {
  using B = fp::FloatBits<T>;
  const Bits<T> one = Bits<T>{B::kBias} << B::kFractionBits;
  const Bits<T> inf = Bits<T>{B::kExponentMax} << B::kFractionBits;
  const Bits<T> quiet = Bits<T>{1} << (B::kFractionBits - 1);
  const Bits<T> mag[] = {0, 1, 2, fp::kFractionMask<T>, fp::kFractionMask<T> + 1,
                         fp::kFractionMask<T> + 2, one - 1, one, one + 1, one + quiet,
                         inf - 1, inf, inf + 1, inf + quiet - 1, inf + quiet, inf + quiet + 1,
                         inf + fp::kFractionMask<T>};
  std::vector<Bits<T>> v;
  for (Bits<T> m : mag) {
    v.push_back(m);
    v.push_back(m | fp::kSignBit<T>);
  }
  return v;
}

// Random patterns spread over every exponent field.
template <class T>
std::vector<Bits<T>> random_patterns(int n, uint32_t seed) {
  std::mt19937_64 rng(seed);
  std::vector<Bits<T>> v;
  for (int i = 0; i < n; ++i) v.push_back(static_cast<Bits<T>>(rng()));
  return v;
}

}  // namespace ieeetest
