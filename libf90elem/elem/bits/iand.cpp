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

MORVEX_INT_ENTRY(2, iand, int32_t, and_of)
MORVEX_INT_ENTRY(2, jiand, int32_t, and_of)
MORVEX_INT_ENTRY(2, iiand, int16_t, and_of)
MORVEX_INT_ENTRY(2, kiand, int64_t, and_of)

MORVEX_INT_ENTRY(2, ior, int32_t, or_of)
MORVEX_INT_ENTRY(2, jior, int32_t, or_of)
MORVEX_INT_ENTRY(2, iior, int16_t, or_of)
MORVEX_INT_ENTRY(2, kior, int64_t, or_of)

MORVEX_INT_ENTRY(2, ieor, int32_t, xor_of)
MORVEX_INT_ENTRY(2, jieor, int32_t, xor_of)
MORVEX_INT_ENTRY(2, iieor, int16_t, xor_of)
MORVEX_INT_ENTRY(2, kieor, int64_t, xor_of)

MORVEX_INT_ENTRY(1, not, int32_t, not_of)
MORVEX_INT_ENTRY(1, jnot, int32_t, not_of)
MORVEX_INT_ENTRY(1, inot, int16_t, not_of)
MORVEX_INT_ENTRY(1, knot, int64_t, not_of)
