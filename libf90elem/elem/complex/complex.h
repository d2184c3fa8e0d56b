// The COMPLEX*8 and COMPLEX*16 entry points of libf90elem.
//
// A complex argument travels by value as its real part followed by its
// imaginary part, which is how a Complex8 / Complex16 struct is passed on
// i386. A complex result goes through the hidden result pointer, an explicit
// first parameter that the function returns; every byte of the slot is
// written. AIMAG and ABS return a real in st(0).
//
// The arithmetic operators and the powers have by-value entries only; the
// elemental functions from AIMAG down also have by-reference twins
// `_morvex_I_<name>`.
#pragma once

#include <cstdint>

#include "entry.h"
#include "symbols.h"

using morvex::Complex16;
using morvex::Complex8;

// Arithmetic and powers (by value only).
F90_API Complex16* _morvex_cdmul(Complex16* res, Complex16 x, Complex16 y);
F90_API Complex16* _morvex_cddiv(Complex16* res, Complex16 x, Complex16 y);
F90_API Complex16* _morvex_cdtocd(Complex16* res, Complex16 base, Complex16 exponent);
F90_API Complex16* _morvex_cdtoi(Complex16* res, Complex16 base, int32_t n);
F90_API Complex8* _morvex_cmul(Complex8* res, Complex8 x, Complex8 y);
F90_API Complex8* _morvex_cdiv(Complex8* res, Complex8 x, Complex8 y);
F90_API Complex8* _morvex_ctoc(Complex8* res, Complex8 base, Complex8 exponent);
F90_API Complex8* _morvex_ctoi(Complex8* res, Complex8 base, int32_t n);

// Elemental functions, COMPLEX*16.
F90_API long double _morvex_dimag(Complex16 z);
F90_API Complex16* _morvex_dconjg(Complex16* res, Complex16 z);
F90_API long double _morvex_cdabs(Complex16 z);
F90_API Complex16* _morvex_cdexp(Complex16* res, Complex16 z);
F90_API Complex16* _morvex_cdlog(Complex16* res, Complex16 z);
F90_API Complex16* _morvex_cdsqrt(Complex16* res, Complex16 z);
F90_API Complex16* _morvex_cdsin(Complex16* res, Complex16 z);
F90_API Complex16* _morvex_cdcos(Complex16* res, Complex16 z);

F90_API long double _morvex_I_dimag(const Complex16* z);
F90_API Complex16* _morvex_I_dconjg(Complex16* res, const Complex16* z);
F90_API long double _morvex_I_cdabs(const Complex16* z);
F90_API Complex16* _morvex_I_cdexp(Complex16* res, const Complex16* z);
F90_API Complex16* _morvex_I_cdlog(Complex16* res, const Complex16* z);
F90_API Complex16* _morvex_I_cdsqrt(Complex16* res, const Complex16* z);
F90_API Complex16* _morvex_I_cdsin(Complex16* res, const Complex16* z);
F90_API Complex16* _morvex_I_cdcos(Complex16* res, const Complex16* z);

// Elemental functions, COMPLEX*8.
F90_API long double _morvex_aimag(Complex8 z);
F90_API Complex8* _morvex_conjg(Complex8* res, Complex8 z);
F90_API long double _morvex_cabs(Complex8 z);
F90_API Complex8* _morvex_cexp(Complex8* res, Complex8 z);
F90_API Complex8* _morvex_clog(Complex8* res, Complex8 z);
F90_API Complex8* _morvex_csqrt(Complex8* res, Complex8 z);
F90_API Complex8* _morvex_csin(Complex8* res, Complex8 z);
F90_API Complex8* _morvex_ccos(Complex8* res, Complex8 z);

F90_API long double _morvex_I_aimag(const Complex8* z);
F90_API Complex8* _morvex_I_conjg(Complex8* res, const Complex8* z);
F90_API long double _morvex_I_cabs(const Complex8* z);
F90_API Complex8* _morvex_I_cexp(Complex8* res, const Complex8* z);
F90_API Complex8* _morvex_I_clog(Complex8* res, const Complex8* z);
F90_API Complex8* _morvex_I_csqrt(Complex8* res, const Complex8* z);
F90_API Complex8* _morvex_I_csin(Complex8* res, const Complex8* z);
F90_API Complex8* _morvex_I_ccos(Complex8* res, const Complex8* z);
