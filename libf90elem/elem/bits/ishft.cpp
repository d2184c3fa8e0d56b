// ISHFT(I, SHIFT): logical shift, left for SHIFT >= 0 and right for SHIFT < 0,
// zero fill both ways.
//
// A |SHIFT| of at least the kind's bit size (8, 16, 32, 64) gives 0; that
// includes the most negative SHIFT of every kind (ishft(i, -2^31) = 0).
// Narrow kinds read SHIFT as an 8- or 16-bit value and shift I's own bits
// zero-extended, so iishft(-1, -12) = 15 and hishft(1, 7) = -128.
#include "integer/kind.h"

namespace {

template <class T>
T shift_of(T i, T shift) {
  using namespace morvex;
  const uint64_t wide = static_cast<uint64_t>(static_cast<int64_t>(shift));
  const uint64_t magnitude = shift < 0 ? 0 - wide : wide;
  if (magnitude >= static_cast<uint64_t>(kBitSize<T>)) return 0;
  const Reg<T> v = static_cast<Bits<T>>(i);
  return wrap<T>(shift < 0 ? v >> magnitude : v << magnitude);
}

}  // namespace

MORVEX_INT_ENTRY(2, _morvex_ishft, _morvex_I_ishft, int32_t, shift_of)
MORVEX_INT_ENTRY(2, _morvex_jishft, _morvex_I_jishft, int32_t, shift_of)
MORVEX_INT_ENTRY(2, _morvex_shift, _morvex_I_shift, int32_t, shift_of)
MORVEX_INT_ENTRY(2, _morvex_iishft, _morvex_I_iishft, int16_t, shift_of)
MORVEX_INT_ENTRY(2, _morvex_hishft, _morvex_I_hishft, int8_t, shift_of)
MORVEX_INT_ENTRY(2, _morvex_kishft, _morvex_I_kishft, int64_t, shift_of)
