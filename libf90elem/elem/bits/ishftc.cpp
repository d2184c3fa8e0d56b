// ISHFTC(I, SHIFT, SIZE): rotate the low SIZE bits of I left by SHIFT; the
// bits above SIZE keep their places.
//
// SHIFT is brought into 0..SIZE by whole turns of SIZE: a negative SHIFT to
// 0..SIZE-1, a SHIFT above SIZE to 1..SIZE (SHIFT = SIZE is a full turn),
// computed by a remainder so huge counts cost nothing. When SIZE is at least
// the bit size every bit rotates. The rotated field is
//   ((v << SHIFT) | (v >> (SIZE - SHIFT))) AND the field mask, v = I AND mask,
// with the shift counts modulo 32 for INTEGER*2 and *4 (so the shifts of a
// full turn of 32 bits are shifts by 0) and 64-bit shifts that give 0 above
// 63 for INTEGER*8. A SIZE of 0 or less has no field: I is returned unchanged.
//
// _morvex_iishftc works on 16 bits; _morvex_ishftc_k2 and _morvex_ishftc_k1
// sign-extend their arguments from 16 or 8 bits, rotate in 32 bits as
// _morvex_ishftc and return the low 16 or 8 bits, sign-extended.
#include "int8/int8.h"
#include "integer/kind.h"

namespace {

using morvex::Reg;

// Logical shift of the rotated field: INTEGER*2 and *4 in the 32-bit
// register with the count modulo 32, INTEGER*8 with counts above 63 giving 0.
template <bool kLeft, class T>
Reg<T> logical_shift(Reg<T> v, T n) {
  if constexpr (sizeof(T) == 8) {
    using namespace morvex::int8;
    const int64_t s = static_cast<int64_t>(v);
    return static_cast<uint64_t>(kLeft ? llshift(s, count64(n)) : rlshift(s, count64(n)));
  } else {
    const uint32_t count = static_cast<uint32_t>(n) & 31;
    return kLeft ? v << count : v >> count;
  }
}

template <class T>
T rotate(T i, T shift, T size) {
  using morvex::Bits;
  if (size <= 0) return i;
  T count = shift;  // brought into 0..size
  if (count < 0) {
    count = static_cast<T>(count % size);
    if (count < 0) count = static_cast<T>(count + size);
  } else if (count > size) {
    count = static_cast<T>((count - 1) % size + 1);
  }
  const Bits<T> kept = size >= morvex::kBitSize<T> ? 0 : static_cast<Bits<T>>(~Bits<T>{0} << size);
  const Bits<T> field = static_cast<Bits<T>>(~kept);
  const Reg<T> v = static_cast<Bits<T>>(i) & field;
  const Reg<T> turned =
      (logical_shift<true>(v, count) | logical_shift<false>(v, static_cast<T>(size - count))) & field;
  return morvex::wrap<T>(turned | (static_cast<Bits<T>>(i) & kept));
}

// The 32-bit rotation of the sign-extended arguments, cut back to kind T.
template <class T>
T rotate_as_int32(T i, T shift, T size) {
  return static_cast<T>(rotate<int32_t>(i, shift, size));
}

}  // namespace

MORVEX_INT_ENTRY(3, _morvex_ishftc, _morvex_I_ishftc, int32_t, rotate)
MORVEX_INT_ENTRY(3, _morvex_jishftc, _morvex_I_jishftc, int32_t, rotate)
MORVEX_INT_ENTRY(3, _morvex_iishftc, _morvex_I_iishftc, int16_t, rotate)
MORVEX_INT_ENTRY(3, _morvex_kishftc, _morvex_I_kishftc, int64_t, rotate)

MORVEX_INT_VALUE(3, _morvex_ishftc_k2, int16_t, rotate_as_int32)
MORVEX_INT_VALUE(3, _morvex_ishftc_k1, int8_t, rotate_as_int32)
MORVEX_BY_REF(int32_t, _morvex_I_shftc_k2, _morvex_ishftc_k2, int16_t, int16_t, int16_t)
MORVEX_BY_REF(int32_t, _morvex_I_shftc_k1, _morvex_ishftc_k1, int8_t, int8_t, int8_t)
