// INTEGER*8 and unsigned 64-bit values to REAL*8 and REAL*4.
//
// _morvex_cvtlld and _morvex_cvtllf are one operation under two names: the
// 64-bit integer is loaded into the x87 unit, where it is exact, and left in
// st(0); the caller's store rounds it to REAL*8 or REAL*4 in the caller's
// rounding mode.
//
// _morvex_cvtulld / _morvex_cvtullf: a value below 2^63 goes the same way;
// one with bit 63 set goes to the software form.
//
// Software forms (_morvex_slow_cvt{ll,ull}{d,f}): normalise the magnitude so
// its top bit is the implicit bit, dropping the bits below the format's
// significand (truncation toward zero to 53 or 24 significant bits), and
// assemble sign, exponent and fraction. 0 gives +0.0 and -2^63 gives exactly
// -2^63. So cvtulld(2^64 - 1) = 2^64 - 2048, where rounding to nearest would
// give 2^64.
#include <bit>

#include "int8/ieee_format.h"
#include "int8/int8.h"

using namespace morvex::int8;

namespace {

template <class F>
F from_magnitude(uint64_t m, bool negative) {
  using Fmt = FloatBits<F>;
  using Bits = typename Fmt::UInt;
  if (m == 0) return F(0);
  const int top = 63 - std::countl_zero(m);  // index of the leading one
  const uint64_t significand =
      top <= Fmt::kFractionBits ? m << (Fmt::kFractionBits - top) : m >> (top - Fmt::kFractionBits);
  const Bits fraction = static_cast<Bits>(significand) & ((Bits{1} << Fmt::kFractionBits) - 1);
  const Bits exponent = static_cast<Bits>(Fmt::kBias + top) << Fmt::kFractionBits;
  return std::bit_cast<F>(static_cast<Bits>((negative ? kSignBit<F> : 0) | exponent | fraction));
}

constexpr uint64_t kBit63 = uint64_t{1} << 63;

}  // namespace

F90_API long double _morvex_cvtlld(int64_t a) { return static_cast<long double>(a); }
F90_API long double _morvex_cvtllf(int64_t a) { return static_cast<long double>(a); }

F90_API double _morvex_slow_cvtlld(int64_t a) { return from_magnitude<double>(magnitude(a), a < 0); }
F90_API float _morvex_slow_cvtllf(int64_t a) { return from_magnitude<float>(magnitude(a), a < 0); }
F90_API double _morvex_slow_cvtulld(uint64_t a) { return from_magnitude<double>(a, false); }
F90_API float _morvex_slow_cvtullf(uint64_t a) { return from_magnitude<float>(a, false); }

F90_API long double _morvex_cvtulld(uint64_t a) {
  if (a & kBit63) return from_magnitude<double>(a, false);
  return static_cast<long double>(static_cast<int64_t>(a));
}
F90_API long double _morvex_cvtullf(uint64_t a) {
  if (a & kBit63) return from_magnitude<float>(a, false);
  return static_cast<long double>(static_cast<int64_t>(a));
}
