// IAND, IOR, IEOR and NOT of INTEGER*2, *4 and *8: bitwise on the whole value
// of the kind (both words for INTEGER*8); INTEGER*2 results sign-extended.
#include "integer/kind.h"

namespace {

template <class T>
T and_of(T i, T j) {
  return static_cast<T>(i & j);
}
template <class T>
T or_of(T i, T j) {
  return static_cast<T>(i | j);
}
template <class T>
T xor_of(T i, T j) {
  return static_cast<T>(i ^ j);
}
template <class T>
T not_of(T i) {
  return static_cast<T>(~i);
}

}  // namespace

MORVEX_INT_ENTRY(2, _morvex_iand, _morvex_I_iand, int32_t, and_of)
MORVEX_INT_ENTRY(2, _morvex_jiand, _morvex_I_jiand, int32_t, and_of)
MORVEX_INT_ENTRY(2, _morvex_iiand, _morvex_I_iiand, int16_t, and_of)
MORVEX_INT_ENTRY(2, _morvex_kiand, _morvex_I_kiand, int64_t, and_of)

MORVEX_INT_ENTRY(2, _morvex_ior, _morvex_I_ior, int32_t, or_of)
MORVEX_INT_ENTRY(2, _morvex_jior, _morvex_I_jior, int32_t, or_of)
MORVEX_INT_ENTRY(2, _morvex_iior, _morvex_I_iior, int16_t, or_of)
MORVEX_INT_ENTRY(2, _morvex_kior, _morvex_I_kior, int64_t, or_of)

MORVEX_INT_ENTRY(2, _morvex_ieor, _morvex_I_ieor, int32_t, xor_of)
MORVEX_INT_ENTRY(2, _morvex_jieor, _morvex_I_jieor, int32_t, xor_of)
MORVEX_INT_ENTRY(2, _morvex_iieor, _morvex_I_iieor, int16_t, xor_of)
MORVEX_INT_ENTRY(2, _morvex_kieor, _morvex_I_kieor, int64_t, xor_of)

MORVEX_INT_ENTRY(1, _morvex_not, _morvex_I_not, int32_t, not_of)
MORVEX_INT_ENTRY(1, _morvex_jnot, _morvex_I_jnot, int32_t, not_of)
MORVEX_INT_ENTRY(1, _morvex_inot, _morvex_I_inot, int16_t, not_of)
MORVEX_INT_ENTRY(1, _morvex_knot, _morvex_I_knot, int64_t, not_of)
