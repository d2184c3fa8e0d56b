// ABS of INTEGER*2, *4 and *8: a when a >= 0, else -a, wrapping, so the most
// negative value of each kind is its own absolute value (iabs(-2^31) = -2^31,
// iiabs(-32768) = -32768 whatever the slot's upper 16 bits hold).
#include "integer/kind.h"

namespace {

template <class T>
T abs_of(T a) {
  return a < 0 ? morvex::wrapping_neg(a) : a;
}

}  // namespace

MORVEX_INT_ENTRY(1, iabs, int32_t, abs_of)
MORVEX_INT_ENTRY(1, jiabs, int32_t, abs_of)
MORVEX_INT_ENTRY(1, iiabs, int16_t, abs_of)
MORVEX_INT_ENTRY(1, kiabs, int64_t, abs_of)
