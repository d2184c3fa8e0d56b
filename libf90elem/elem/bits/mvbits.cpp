// MVBITS(FROM, FROMPOS, LEN, TO, TOPOS): copy LEN bits of FROM starting at
// FROMPOS into TO starting at TOPOS; TO's other bits are kept. Default
// integers, every argument by reference, shift counts modulo 32; the mask
// holds the low LEN bits (all 32 for LEN = 32, none for LEN = 0).
// Every argument is read before TO is written, so FROM (or a position) may
// be the same variable as TO.
//
// Four link names behave alike: mvbits, MVBITS, mvbits_ and MVBITS_.
#include <cstdint>

#include "symbols.h"

namespace {

void move_bits(const int32_t* from, const int32_t* frompos, const int32_t* len, int32_t* to,
               const int32_t* topos) {
  const int32_t f = *from, t = *to;
  const uint32_t n = static_cast<uint32_t>(*len);
  const uint32_t mask = n == 32 ? ~uint32_t{0} : ~(~uint32_t{0} << (n & 31));
  const uint32_t field = static_cast<uint32_t>(f >> (static_cast<uint32_t>(*frompos) & 31)) & mask;
  const uint32_t at = static_cast<uint32_t>(*topos) & 31;
  *to = static_cast<int32_t>((field << at) | (static_cast<uint32_t>(t) & ~(mask << at)));
}

}  // namespace

#define MORVEX_MVBITS_NAME(sym)                                                          \
  F90_API void sym(const int32_t* from, const int32_t* frompos, const int32_t* len,     \
                   int32_t* to, const int32_t* topos) {                                  \
    move_bits(from, frompos, len, to, topos);                                            \
  }

MORVEX_MVBITS_NAME(mvbits)
MORVEX_MVBITS_NAME(MVBITS)
MORVEX_MVBITS_NAME(mvbits_)
MORVEX_MVBITS_NAME(MVBITS_)
