// BTEST: bit POS of I as 1 or 0 (in the result kind's width).
//
// INTEGER*4: bit POS modulo 32. INTEGER*2: bit POS modulo 32 of the
// sign-extended value, so a POS from 16 to 31 returns the sign bit.
// INTEGER*8: bit POS of the 64-bit value, and the sign bit for any POS
// outside 0..63 (the sign-filling shift by an over-large count).
#include "int8/int8.h"
#include "integer/kind.h"

namespace {

template <class T>
T test_bit(T i, T pos) {
  if constexpr (sizeof(T) == 8) {
    using namespace morvex::int8;
    return arlshift(i, count64(pos)) & 1;
  } else {
    return static_cast<T>((static_cast<uint32_t>(i) >> (static_cast<uint32_t>(pos) & 31)) & 1);
  }
}

}  // namespace

MORVEX_INT_ENTRY(2, _morvex_btest, _morvex_I_btest, int32_t, test_bit)
MORVEX_INT_ENTRY(2, _morvex_bjtest, _morvex_I_bjtest, int32_t, test_bit)
MORVEX_INT_ENTRY(2, _morvex_bitest, _morvex_I_bitest, int16_t, test_bit)
MORVEX_INT_ENTRY(2, _morvex_bktest, _morvex_I_bktest, int64_t, test_bit)
