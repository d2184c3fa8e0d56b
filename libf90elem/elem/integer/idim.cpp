// DIM of INTEGER*2, *4 and *8: the positive difference a - b, else 0.
//
// INTEGER*4 and INTEGER*8 compare a and b and return the wrapped difference
// when a >= b, so idim(2^31 - 1, -1) = -2^31. INTEGER*2 forms the difference
// of the 16-bit values, cuts it to 16 bits and returns 0 when that is
// negative: iidim(32767, -1) = 0, because 32768 wraps to -32768.
#include "integer/kind.h"

namespace {

template <class T>
T dim(T a, T b) {
  const T d = morvex::wrapping_sub(a, b);
  if constexpr (sizeof(T) == 2) {
    return d < 0 ? T{0} : d;
  } else {
    return a < b ? T{0} : d;
  }
}

}  // namespace

MORVEX_INT_ENTRY(2, _morvex_idim, _morvex_I_idim, int32_t, dim)
MORVEX_INT_ENTRY(2, _morvex_jidim, _morvex_I_jidim, int32_t, dim)
MORVEX_INT_ENTRY(2, _morvex_iidim, _morvex_I_iidim, int16_t, dim)
MORVEX_INT_ENTRY(2, _morvex_kidim, _morvex_I_kidim, int64_t, dim)
