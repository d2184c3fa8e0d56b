// REAL*8 and REAL*4 to INTEGER*8, truncating toward zero.
//
// Fast forms _morvex_cvtdll, _morvex_cvtfll:
//   x >= 2^63 (the first value not below 2^63 - 1), +Inf, any NaN -> 0x7fffffffffffffff
//   x <= -2^63, -Inf                                               -> 0x8000000000000000
//   otherwise the x87 store to a 64-bit integer under the control word
//   0x0f3f (toward zero, 64-bit precision), the caller's word saved in this
//   frame and loaded back in the same asm block.
// The range test reads the encoding: for a single or a double, "not less
// than 2^63 - 1" is "biased exponent at least bias + 63", NaNs included.
//
// Software forms _morvex_slow_cvtdll, _morvex_slow_cvtfll: decode the
// exponent e and the significand with its implicit bit; |x| >= 2^63
// (infinities and NaNs included) saturates by the sign bit alone, so a NaN
// with its sign bit set gives 0x8000000000000000 here; otherwise the
// significand is shifted into place (bits below the binary point dropped)
// and negated for a negative x.
#include <bit>

#include "ieee_format.h"
#include "int8.h"
#include "x87.h"

using namespace morvex::int8;

namespace {

template <class F>
int64_t convert_fast(F x) {
  using Fmt = IeeeFormat<F>;
  using Bits = typename Fmt::Bits;
  const Bits bits = std::bit_cast<Bits>(x);
  const Bits mag = bits & ~kSignBit<F>;
  if (mag >= Bits{kSaturatingExponent<F>} << Fmt::kFractionBits) {
    const Bits inf = Bits{Fmt::kExponentMask} << Fmt::kFractionBits;
    const bool nan = mag > inf;
    return (nan || !(bits & kSignBit<F>)) ? kMaxInt : kMinInt;
  }
  return x87::fist64_under(x, x87::CW_EP);
}

template <class F>
int64_t convert_slow(F x) {
  using Fmt = IeeeFormat<F>;
  using Bits = typename Fmt::Bits;
  const Bits bits = std::bit_cast<Bits>(x);
  const bool negative = (bits & kSignBit<F>) != 0;
  const int e = static_cast<int>(bits >> Fmt::kFractionBits) & Fmt::kExponentMask;
  if (e >= kSaturatingExponent<F>) return negative ? kMinInt : kMaxInt;
  const uint64_t fraction_mask = (uint64_t{1} << Fmt::kFractionBits) - 1;
  const uint64_t significand =
      (static_cast<uint64_t>(bits) & fraction_mask) | (uint64_t{1} << Fmt::kFractionBits);
  // Value = significand * 2^(e - bias - fraction bits).
  const int shift = e - Fmt::kBias - Fmt::kFractionBits;
  uint64_t m;
  if (shift >= 0) {
    m = significand << shift;  // shift <= 62 - fraction bits: no bit lost
  } else {
    m = -shift >= 64 ? 0 : significand >> -shift;
  }
  return negate_if(m, negative);
}

}  // namespace

F90_API int64_t _morvex_cvtdll(double x) { return convert_fast(x); }
F90_API int64_t _morvex_cvtfll(float x) { return convert_fast(x); }
F90_API int64_t _morvex_slow_cvtdll(double x) { return convert_slow(x); }
F90_API int64_t _morvex_slow_cvtfll(float x) { return convert_slow(x); }
