// INTEGER*8 signed divide and remainder.
//
// _morvex_ldiv: quotient truncated toward zero. _morvex_lmod: remainder
// a - b * trunc(a / b), with the sign of a. Neither traps:
//   b = 0              -> INT64_MAX (0x7fffffffffffffff), whatever a is
//   (-2^63) / (-1)     -> 0x8000000000000000; (-2^63) mod (-1) -> 0
// The fast forms use one 32-bit division when both operands lie in the
// 32-bit range, return 0 (or a) when |a| < |b|, and otherwise divide the
// magnitudes as 64-bit integers: the exact quotient, which is what the x87
// gives under the control word 0x0f3f (toward zero, 64-bit precision), without
// switching the control word (a switch costs a few cycles in one code layout
// and 100-200 in another) and faster than the x87 divide.
//
// _morvex_slow_ldiv and _morvex_slow_lmod are the software forms: they go
// straight to the magnitudes, with the same results, including the special
// ones.
#include "int8/int8.h"

using namespace morvex::int8;

F90_API int64_t _morvex_ldiv(int64_t a, int64_t b) { return ldiv(a, b); }
F90_API int64_t _morvex_lmod(int64_t a, int64_t b) { return lmod(a, b); }

F90_API int64_t _morvex_slow_ldiv(int64_t a, int64_t b) {
  if (b == 0) return kMaxInt;
  if (magnitude(a) < magnitude(b)) return 0;
  return wide_quotient(a, b);
}

F90_API int64_t _morvex_slow_lmod(int64_t a, int64_t b) {
  if (b == 0) return kMaxInt;
  if (magnitude(a) < magnitude(b)) return a;
  return wide_remainder(a, b);
}
