// IBSET and IBCLR: set or clear bit POS of I.
//
// INTEGER*4 and INTEGER*2 take POS modulo 32 and work on the 32-bit
// sign-extended value; INTEGER*2 then keeps the low 16 bits, sign-extended,
// so a POS from 16 to 31 leaves I unchanged (iibset(0, 20) = 0).
// INTEGER*8 takes POS as a 64-bit value: bit POS for 0..63; any other POS
// leaves I unchanged.
#include "integer/kind.h"

namespace {

using morvex::Reg;

// The single-bit mask for POS in the kind's register, or 0.
template <class T>
Reg<T> bit_mask(T pos) {
  if constexpr (sizeof(T) == 8) {
    return static_cast<uint64_t>(pos) > 63 ? 0 : uint64_t{1} << pos;
  } else {
    return uint32_t{1} << (static_cast<uint32_t>(pos) & 31);
  }
}

template <class T>
T set_bit(T i, T pos) {
  return morvex::wrap<T>(static_cast<Reg<T>>(i) | bit_mask(pos));
}
template <class T>
T clear_bit(T i, T pos) {
  return morvex::wrap<T>(static_cast<Reg<T>>(i) & ~bit_mask(pos));
}

}  // namespace

MORVEX_INT_ENTRY(2, _morvex_ibset, _morvex_I_ibset, int32_t, set_bit)
MORVEX_INT_ENTRY(2, _morvex_jibset, _morvex_I_jibset, int32_t, set_bit)
MORVEX_INT_ENTRY(2, _morvex_iibset, _morvex_I_iibset, int16_t, set_bit)
MORVEX_INT_ENTRY(2, _morvex_kibset, _morvex_I_kibset, int64_t, set_bit)

MORVEX_INT_ENTRY(2, _morvex_ibclr, _morvex_I_ibclr, int32_t, clear_bit)
MORVEX_INT_ENTRY(2, _morvex_jibclr, _morvex_I_jibclr, int32_t, clear_bit)
MORVEX_INT_ENTRY(2, _morvex_iibclr, _morvex_I_iibclr, int16_t, clear_bit)
MORVEX_INT_ENTRY(2, _morvex_kibclr, _morvex_I_kibclr, int64_t, clear_bit)
