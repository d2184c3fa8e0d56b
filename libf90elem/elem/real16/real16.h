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

// Conversions between REAL*16 and 64-bit integers, and the mixed arithmetic
// with an INTEGER*8 operand (the operand converted exactly with ll2q).
F90_API DoubleDouble* _morvex_ll2q(DoubleDouble* res, int64_t n);
F90_API DoubleDouble* _morvex_ull2q(DoubleDouble* res, uint64_t n);
F90_API int64_t _morvex_q2ll(DoubleDouble x);
F90_API uint64_t _morvex_q2ull(DoubleDouble x);
F90_API DoubleDouble* _morvex_qaddk(DoubleDouble* res, DoubleDouble a, int64_t k);
F90_API DoubleDouble* _morvex_qsubk(DoubleDouble* res, DoubleDouble a, int64_t k);
F90_API DoubleDouble* _morvex_ksubq(DoubleDouble* res, int64_t k, DoubleDouble b);
F90_API DoubleDouble* _morvex_qmulk(DoubleDouble* res, DoubleDouble a, int64_t k);
F90_API DoubleDouble* _morvex_qdivk(DoubleDouble* res, DoubleDouble a, int64_t k);
F90_API DoubleDouble* _morvex_kdivq(DoubleDouble* res, int64_t k, DoubleDouble b);

// AINT, ANINT, FLOOR and CEILING as REAL*16; FLOOR, CEILING and NINT as
// integers (INTEGER*2 results sign-extended to 32 bits).
F90_API DoubleDouble* _morvex_qint(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_I_qint(DoubleDouble* res, const DoubleDouble* x);
F90_API DoubleDouble* _morvex_qnint(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_I_qnint(DoubleDouble* res, const DoubleDouble* x);
F90_API DoubleDouble* _morvex_floorl(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_ceill(DoubleDouble* res, DoubleDouble x);
F90_API int32_t _morvex_ifloorl(DoubleDouble x);
F90_API int32_t _morvex_iceill(DoubleDouble x);
F90_API int32_t _morvex_iqnint(DoubleDouble x);
F90_API int32_t _morvex_I_iqnint(const DoubleDouble* x);
F90_API int32_t _morvex_jiqnnt(DoubleDouble x);
F90_API int32_t _morvex_I_jiqnnt(const DoubleDouble* x);
F90_API int32_t _morvex_iiqnnt(DoubleDouble x);
F90_API int32_t _morvex_I_iiqnnt(const DoubleDouble* x);
F90_API int64_t _morvex_kiqnnt(DoubleDouble x);
F90_API int64_t _morvex_I_kiqnnt(const DoubleDouble* x);

// MOD, DIM, ABS and SIGN.
F90_API DoubleDouble* _morvex_fmodl(DoubleDouble* res, DoubleDouble a, DoubleDouble b);
F90_API DoubleDouble* _morvex_I_fmodl(DoubleDouble* res, const DoubleDouble* a,
                                      const DoubleDouble* b);
F90_API DoubleDouble* _morvex_fdiml(DoubleDouble* res, DoubleDouble a, DoubleDouble b);
F90_API DoubleDouble* _morvex_I_fdiml(DoubleDouble* res, const DoubleDouble* a,
                                      const DoubleDouble* b);
F90_API DoubleDouble* _morvex_fabsl(DoubleDouble* res, DoubleDouble x);
F90_API DoubleDouble* _morvex_I_fabsl(DoubleDouble* res, const DoubleDouble* x);
F90_API DoubleDouble* _morvex_copysignl(DoubleDouble* res, DoubleDouble a, DoubleDouble b);
F90_API DoubleDouble* _morvex_I_copysignl(DoubleDouble* res, const DoubleDouble* a,
                                          const DoubleDouble* b);

// Decomposition into a fraction in [0.5, 1) and an exponent, and scaling by
// a power of two.
F90_API DoubleDouble* _morvex_frexpl(DoubleDouble* res, DoubleDouble x, int32_t* e);
F90_API DoubleDouble* _morvex_ldexpl(DoubleDouble* res, DoubleDouble x, int32_t n);
