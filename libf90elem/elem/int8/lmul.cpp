// INTEGER*8 multiply: the low 64 bits of a * b, wrapping without report.
//
// _morvex_lmul takes one 32 x 32 -> 64-bit signed multiply when both
// operands lie in the 32-bit signed range (the high word of each is the sign
// extension of its low word), and the full product otherwise.
// _morvex_slow_lmul is the software form: the product of the magnitudes,
// negated when exactly one operand is negative. Both give the low 64 bits of
// the exact product for every pair, e.g. lmul(2^32, 2^32) = 0 and
// lmul(-1, -2^63) = -2^63.
#include "int8.h"

using namespace morvex::int8;

F90_API int64_t _morvex_lmul(int64_t a, int64_t b) { return lmul(a, b); }

F90_API int64_t _morvex_slow_lmul(int64_t a, int64_t b) {
  return negate_if(magnitude(a) * magnitude(b), (a < 0) != (b < 0));
}
