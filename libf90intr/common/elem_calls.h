// The libf90elem entry points that libf90intr calls, in their exact i386
// forms. The libraries are linked separately; these symbols are bound when
// the program is loaded. Code in libf90intr declares a libf90elem entry
// nowhere else.
//
// Results through a hidden pointer (REAL*16, COMPLEX*32) take the result
// slot as an explicit first parameter and return it. A REAL*16 argument
// takes four stack slots (hi first), a COMPLEX*32 eight. long double results
// are left in st(0) at extended precision.
#pragma once

#include <cstdint>

#include "symbols.h"
#include "value/types.h"

// ---- REAL*8 elementals (results in st(0), left at extended precision) -----
F90_API long double _morvex_f90floor(double x);
F90_API long double _morvex_dsin(double x);
F90_API long double _morvex_dcos(double x);
F90_API long double _morvex_dsinh(double x);
F90_API long double _morvex_dcosh(double x);
F90_API long double _morvex_dexp(double x);

// ---- INTEGER*8 arithmetic and conversions ----------------------------------
F90_API int64_t _morvex_lmul(int64_t a, int64_t b);
F90_API int64_t _morvex_ldiv(int64_t a, int64_t b);
F90_API int64_t _morvex_lmod(int64_t a, int64_t b);
F90_API uint64_t _morvex_uldiv(uint64_t a, uint64_t b);
F90_API uint64_t _morvex_ulmod(uint64_t a, uint64_t b);
F90_API int64_t _morvex_llshift(int64_t a, int32_t n);
F90_API int64_t _morvex_rlshift(int64_t a, int32_t n);
F90_API int64_t _morvex_arlshift(int64_t a, int32_t n);
F90_API int64_t _morvex_cvtdll(double x);
F90_API int64_t _morvex_cvtfll(float x);
F90_API long double _morvex_cvtlld(int64_t a);
F90_API long double _morvex_cvtllf(int64_t a);
F90_API long double _morvex_cvtulld(uint64_t a);
F90_API long double _morvex_cvtullf(uint64_t a);

// ---- REAL*4 and REAL*8 nearest integer (halves away from zero) -----------
// A NaN or a value outside the 32-bit range gives 0x80000000.
F90_API int32_t _morvex_nint(float x);
F90_API int32_t _morvex_idnint(double x);

// ---- REAL*16 arithmetic ----------------------------------------------------
F90_API morvex::DoubleDouble* _morvex_qadd(morvex::DoubleDouble* res, morvex::DoubleDouble a,
                                           morvex::DoubleDouble b);
F90_API morvex::DoubleDouble* _morvex_qaddd(morvex::DoubleDouble* res, morvex::DoubleDouble a,
                                            double d);
F90_API morvex::DoubleDouble* _morvex_qsub(morvex::DoubleDouble* res, morvex::DoubleDouble a,
                                           morvex::DoubleDouble b);
F90_API morvex::DoubleDouble* _morvex_qneg(morvex::DoubleDouble* res, morvex::DoubleDouble a);
F90_API morvex::DoubleDouble* _morvex_qprod(morvex::DoubleDouble* res, double x, double y);
F90_API morvex::DoubleDouble* _morvex_qmul(morvex::DoubleDouble* res, morvex::DoubleDouble a,
                                           morvex::DoubleDouble b);
F90_API morvex::DoubleDouble* _morvex_qmuld(morvex::DoubleDouble* res, morvex::DoubleDouble a,
                                            double d);
F90_API morvex::DoubleDouble* _morvex_qmuli(morvex::DoubleDouble* res, morvex::DoubleDouble a,
                                            int32_t n);
F90_API morvex::DoubleDouble* _morvex_qdiv(morvex::DoubleDouble* res, morvex::DoubleDouble a,
                                           morvex::DoubleDouble b);
F90_API morvex::DoubleDouble* _morvex_qdivd(morvex::DoubleDouble* res, morvex::DoubleDouble a,
                                            double d);
// x87 compare status word: 0 (a > b), 0x0100 (a < b), 0x4000 (a = b),
// 0x4500 (either high part infinite or NaN).
F90_API int32_t _morvex_qcmp(morvex::DoubleDouble a, morvex::DoubleDouble b);
// 1, 0 or -1 by the sign of a - b; 0 when either operand is infinite or NaN.
F90_API int32_t _morvex_qcompare(morvex::DoubleDouble a, morvex::DoubleDouble b);
F90_API morvex::DoubleDouble* _morvex_ll2q(morvex::DoubleDouble* res, int64_t n);
F90_API morvex::DoubleDouble* _morvex_ull2q(morvex::DoubleDouble* res, uint64_t n);
F90_API int64_t _morvex_q2ll(morvex::DoubleDouble x);
F90_API morvex::DoubleDouble* _morvex_qint(morvex::DoubleDouble* res, morvex::DoubleDouble x);
F90_API morvex::DoubleDouble* _morvex_qnint(morvex::DoubleDouble* res, morvex::DoubleDouble x);
F90_API morvex::DoubleDouble* _morvex_floorl(morvex::DoubleDouble* res, morvex::DoubleDouble x);
F90_API morvex::DoubleDouble* _morvex_ceill(morvex::DoubleDouble* res, morvex::DoubleDouble x);
F90_API morvex::DoubleDouble* _morvex_fmodl(morvex::DoubleDouble* res, morvex::DoubleDouble a,
                                            morvex::DoubleDouble b);
F90_API morvex::DoubleDouble* _morvex_fabsl(morvex::DoubleDouble* res, morvex::DoubleDouble x);
F90_API morvex::DoubleDouble* _morvex_copysignl(morvex::DoubleDouble* res,
                                                morvex::DoubleDouble a, morvex::DoubleDouble b);
// Fraction in [0.5, 1) and exponent; x * 2^n.
F90_API morvex::DoubleDouble* _morvex_frexpl(morvex::DoubleDouble* res, morvex::DoubleDouble x,
                                             int32_t* e);
F90_API morvex::DoubleDouble* _morvex_ldexpl(morvex::DoubleDouble* res, morvex::DoubleDouble x,
                                             int32_t n);
F90_API morvex::DoubleDouble* _morvex_sqrtl(morvex::DoubleDouble* res, morvex::DoubleDouble x);

// ---- COMPLEX*32 arithmetic -------------------------------------------------
F90_API morvex::Complex32* _morvex_cqmul(morvex::Complex32* res, morvex::Complex32 z1,
                                         morvex::Complex32 z2);
F90_API morvex::Complex32* _morvex_cqdiv(morvex::Complex32* res, morvex::Complex32 z1,
                                         morvex::Complex32 z2);
F90_API morvex::Complex32* _morvex_cqtoi(morvex::Complex32* res, morvex::Complex32 z, int32_t n);
F90_API morvex::DoubleDouble* _morvex_cabsl(morvex::DoubleDouble* res, morvex::Complex32 z);
