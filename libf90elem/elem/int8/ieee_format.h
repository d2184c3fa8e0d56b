// Bit layout of the IEEE single and double formats, for the conversions
// between INTEGER*8 and REAL that work on the encoding.
#pragma once

#include <cstdint>

namespace morvex::int8 {

template <class F>
struct IeeeFormat;

template <>
struct IeeeFormat<double> {
  using Bits = uint64_t;
  static constexpr int kFractionBits = 52;
  static constexpr int kBias = 1023;
  static constexpr int kExponentMask = 0x7ff;
};

template <>
struct IeeeFormat<float> {
  using Bits = uint32_t;
  static constexpr int kFractionBits = 23;
  static constexpr int kBias = 127;
  static constexpr int kExponentMask = 0xff;
};

template <class F>
inline constexpr typename IeeeFormat<F>::Bits kSignBit = typename IeeeFormat<F>::Bits{1}
                                                        << (8 * sizeof(F) - 1);

// Biased exponent of |x| >= 2^63: where the conversions to INTEGER*8 saturate.
template <class F>
inline constexpr int kSaturatingExponent = IeeeFormat<F>::kBias + 63;

}  // namespace morvex::int8
