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

MORVEX_INT_ENTRY(1, _morvex_iabs, _morvex_I_iabs, int32_t, abs_of)
MORVEX_INT_ENTRY(1, _morvex_jiabs, _morvex_I_jiabs, int32_t, abs_of)
MORVEX_INT_ENTRY(1, _morvex_iiabs, _morvex_I_iiabs, int16_t, abs_of)
MORVEX_INT_ENTRY(1, _morvex_kiabs, _morvex_I_kiabs, int64_t, abs_of)
