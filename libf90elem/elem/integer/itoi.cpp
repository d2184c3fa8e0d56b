// Integer powers base ** exponent of INTEGER*4 (_morvex_itoi) and INTEGER*8
// (_morvex_kitoki), all products wrapping.
//
//   exponent < 0: 1 for base 1, (-1)^exponent for base -1, 0 for every other
//                 base (0 included: no division by zero arises)
//   exponent = 0: 1, also for base 0
//   otherwise     square and multiply from the exponent's low bit; the last
//                 step returns base * accumulator, so no square is formed
//                 beyond the one that is used.
#include "integer/kind.h"

namespace {

template <class T>
T power(T base, T exponent) {
  if (exponent < 0) {
    if (base == 1) return 1;
    if (base == -1) return (exponent & 1) ? -1 : 1;
    return 0;
  }
  T acc = 1;
  if (exponent == 0) return acc;
  for (;;) {
    const bool odd = (exponent & 1) != 0;
    exponent >>= 1;
    if (exponent == 0) return morvex::wrapping_mul(base, acc);
    if (odd) acc = morvex::wrapping_mul(acc, base);
    base = morvex::wrapping_mul(base, base);
  }
}

}  // namespace

MORVEX_INT_VALUE(2, _morvex_itoi, int32_t, power)
MORVEX_INT_VALUE(2, _morvex_kitoki, int64_t, power)
