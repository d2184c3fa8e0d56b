// INTEGER*8 shifts by a 32-bit signed count n.
//
// _morvex_llshift: left, zero fill; _morvex_rlshift: right, zero fill;
// _morvex_arlshift: right, sign fill. n = 0 returns a; a count above 63
// shifts every bit out (0, or -1 / 0 by a's sign for arlshift). A negative
// count is treated like a count above 63.
#include "int8/int8.h"

F90_API int64_t _morvex_llshift(int64_t a, int32_t n) { return morvex::int8::llshift(a, n); }
F90_API int64_t _morvex_rlshift(int64_t a, int32_t n) { return morvex::int8::rlshift(a, n); }
F90_API int64_t _morvex_arlshift(int64_t a, int32_t n) { return morvex::int8::arlshift(a, n); }
