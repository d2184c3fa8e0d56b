// ZEXT: zero extension. The name's prefix is the result kind and its digit
// suffix the argument kind (none: INTEGER*1 for izext/jzext).
//   zext, izext2, jzext2: low 16 bits (0..65535)
//   izext, jzext:         low 8 bits (0..255)
//   jzext4:               the argument itself
//   kzext:                a 32-bit value zero-extended to INTEGER*8; its
//                         by-reference twin reads an INTEGER*8 and uses the
//                         low word.
#include "integer/kind.h"

namespace {

template <class T>
int32_t zero_extend(int32_t a) {
  return static_cast<morvex::Bits<T>>(a);
}

}  // namespace

F90_API int32_t _morvex_zext(int32_t a) { return zero_extend<int16_t>(a); }
F90_API int32_t _morvex_izext(int32_t a) { return zero_extend<int8_t>(a); }
F90_API int32_t _morvex_izext2(int32_t a) { return zero_extend<int16_t>(a); }
F90_API int32_t _morvex_jzext(int32_t a) { return zero_extend<int8_t>(a); }
F90_API int32_t _morvex_jzext2(int32_t a) { return zero_extend<int16_t>(a); }
F90_API int32_t _morvex_jzext4(int32_t a) { return a; }
F90_API int64_t _morvex_kzext(uint32_t a) { return a; }

MORVEX_BY_REF(int32_t, _morvex_I_zext, _morvex_zext, int32_t)
MORVEX_BY_REF(int32_t, _morvex_I_izext, _morvex_izext, int8_t)
MORVEX_BY_REF(int32_t, _morvex_I_izext2, _morvex_jzext2, int16_t)
MORVEX_BY_REF(int32_t, _morvex_I_jzext, _morvex_jzext, int8_t)
MORVEX_BY_REF(int32_t, _morvex_I_jzext2, _morvex_jzext2, int16_t)
MORVEX_BY_REF(int32_t, _morvex_I_jzext4, _morvex_jzext4, int32_t)
MORVEX_BY_REF(int64_t, _morvex_I_kzext, _morvex_kzext, int64_t)
