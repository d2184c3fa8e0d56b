// Exported REAL*16 (double-double) arithmetic, conversions, rounding and
// decomposition of libf90elem.
//
// Every function with a REAL*16 result takes the address of a 16-byte result
// slot as its first argument, writes all of it and returns that address;
// arguments are passed by value (a DoubleDouble takes four stack slots, hi
// first). The _morvex_I_ twins take every argument by address.
#pragma once

#include <cstdint>

#include "entry.h"

using morvex::DoubleDouble;

// Arithmetic.
F90_API DoubleDouble* _morvex_qadd(DoubleDouble* res, DoubleDouble a, DoubleDouble b);
F90_API DoubleDouble* _morvex_qaddd(DoubleDouble* res, DoubleDouble a, double d);
F90_API DoubleDouble* _morvex_qsub(DoubleDouble* res, DoubleDouble a, DoubleDouble b);
F90_API DoubleDouble* _morvex_qsubd(DoubleDouble* res, DoubleDouble a, double d);
F90_API DoubleDouble* _morvex_dsubq(DoubleDouble* res, double d, DoubleDouble b);
F90_API DoubleDouble* _morvex_qneg(DoubleDouble* res, DoubleDouble a);
F90_API DoubleDouble* _morvex_qprod(DoubleDouble* res, double x, double y);
F90_API DoubleDouble* _morvex_I_qprod(DoubleDouble* res, const double* x, const double* y);
F90_API DoubleDouble* _morvex_qmul(DoubleDouble* res, DoubleDouble a, DoubleDouble b);
F90_API DoubleDouble* _morvex_qmuld(DoubleDouble* res, DoubleDouble a, double d);
F90_API DoubleDouble* _morvex_qmuli(DoubleDouble* res, DoubleDouble a, int32_t n);
F90_API DoubleDouble* _morvex_qdiv(DoubleDouble* res, DoubleDouble a, DoubleDouble b);
F90_API DoubleDouble* _morvex_qdivd(DoubleDouble* res, DoubleDouble a, double d);
F90_API DoubleDouble* _morvex_ddivq(DoubleDouble* res, double d, DoubleDouble b);

// Comparisons. qcmp returns an x87 compare status word: 0 (a > b), 0x0100
// (a < b), 0x4000 (a = b), 0x4500 (either high part infinite or NaN).
inline constexpr int32_t QCMP_GREATER = 0;
inline constexpr int32_t QCMP_LESS = 0x0100;
inline constexpr int32_t QCMP_EQUAL = 0x4000;
inline constexpr int32_t QCMP_UNORDERED = 0x4500;
F90_API int32_t _morvex_qcmp(DoubleDouble a, DoubleDouble b);
// 1, 0 or -1 by the sign of a - b; 0 when either operand is infinite or NaN.
F90_API int32_t _morvex_qcompare(DoubleDouble a, DoubleDouble b);
