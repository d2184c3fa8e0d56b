// IBITS(I, POS, LEN): LEN bits of I starting at bit POS, right-justified.
//
// The mask is all ones when LEN is the kind's bit size (8, 16, 32 or 64),
// otherwise the low LEN bits; the result is I shifted right arithmetically
// by POS, AND the mask. INTEGER*1/2/4 take POS and LEN modulo 32 in the
// 32-bit register (narrow kinds read them as 8- or 16-bit values first) and
// return the low bits of the kind, sign-extended. INTEGER*8 reads POS and
// LEN as 64-bit counts: a POS outside 0..63 shifts in sign bits only, a LEN
// outside 0..63 other than 64 keeps every bit. LEN = 0 gives 0.
#include "int8/int8.h"
#include "integer/kind.h"

namespace {

template <class T>
T bit_field(T i, T pos, T len) {
  if constexpr (sizeof(T) == 8) {
    using namespace morvex::int8;
    const int64_t shifted = arlshift(i, count64(pos));
    if (len == 64) return shifted;
    return shifted & ~llshift(-1, count64(len));
  } else {
    const uint32_t mask =
        len == morvex::kBitSize<T> ? ~uint32_t{0} : ~(~uint32_t{0} << (static_cast<uint32_t>(len) & 31));
    const int32_t shifted = static_cast<int32_t>(i) >> (static_cast<uint32_t>(pos) & 31);
    return morvex::wrap<T>(static_cast<uint32_t>(shifted) & mask);
  }
}

}  // namespace

MORVEX_INT_ENTRY(3, _morvex_ibits, _morvex_I_ibits, int32_t, bit_field)
MORVEX_INT_ENTRY(3, _morvex_jibits, _morvex_I_jibits, int32_t, bit_field)
MORVEX_INT_ENTRY(3, _morvex_iibits, _morvex_I_iibits, int16_t, bit_field)
MORVEX_INT_VALUE(3, _morvex_hibits, int8_t, bit_field)
MORVEX_INT_ENTRY(3, _morvex_kibits, _morvex_I_kibits, int64_t, bit_field)
