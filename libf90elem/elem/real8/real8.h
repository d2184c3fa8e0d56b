// The REAL*8 elemental entry points of libf90elem.
//
// Every REAL*8 result comes back in the x87 register st(0). The functions
// whose result is computed in the x87 registers return long double, so the
// value is handed over at the precision it was formed at; the caller's store
// rounds it. Functions that round their result (ANINT, the exponential, the
// arctangents of ATAN2) store it as a REAL*8 first.
#pragma once

#include <cstdint>

#include "symbols.h"

// Rounding, sign, remainder and powers.
F90_API long double _morvex_dint(double x);
F90_API long double _morvex_dabs(double x);
F90_API long double _morvex_dmod(double x, double y);
F90_API long double _morvex_dsqrt(double x);
F90_API long double _morvex_dprod(float a, float b);
F90_API long double _morvex_ddim(double x, double y);
F90_API long double _morvex_dsign(double a, double b);
F90_API long double _morvex_dnint(double x);
F90_API int32_t _morvex_idnint(double x);
F90_API int32_t _morvex_jidnnt(double x);
F90_API int32_t _morvex_iidnnt(double x);  // INTEGER*2, sign-extended
F90_API int64_t _morvex_kidnnt(double x);
F90_API long double _morvex_f90floor(double x);
F90_API long double _morvex_f90ceil(double x);
F90_API int32_t _morvex_idfloor(double x);
F90_API int32_t _morvex_idceil(double x);
F90_API long double _morvex_dtod(double x, double y);
F90_API long double _morvex_dtoi(double x, int32_t n);

F90_API long double _morvex_I_dint(const double* x);
F90_API long double _morvex_I_dabs(const double* x);
F90_API long double _morvex_I_dmod(const double* x, const double* y);
F90_API long double _morvex_I_dsqrt(const double* x);
F90_API long double _morvex_I_dprod(const float* a, const float* b);
F90_API long double _morvex_I_ddim(const double* x, const double* y);
F90_API long double _morvex_I_dsign(const double* a, const double* b);
F90_API long double _morvex_I_dnint(const double* x);
F90_API int32_t _morvex_I_idnint(const double* x);
F90_API int32_t _morvex_I_jidnnt(const double* x);
F90_API int32_t _morvex_I_iidnnt(const double* x);
F90_API int64_t _morvex_I_kidnnt(const double* x);

// Exponential, logarithm, trigonometric and hyperbolic functions.
F90_API long double _morvex_dexp(double x);
F90_API long double _morvex_dlog(double x);
F90_API long double _morvex_dlog10(double x);
F90_API long double _morvex_sincos(double x, int32_t selector);  // 0 sine, 1 cosine
F90_API long double _morvex_dsin(double x);
F90_API long double _morvex_dcos(double x);
F90_API long double _morvex_dsind(double x);
F90_API long double _morvex_dcosd(double x);
F90_API long double _morvex_dtan(double x);
F90_API long double _morvex_dtand(double x);
F90_API long double _morvex_dcot(double x);
F90_API long double _morvex_asinacos(double x, int32_t selector);  // 0 arcsine, 1 arccosine
F90_API long double _morvex_dasin(double x);
F90_API long double _morvex_dacos(double x);
F90_API long double _morvex_dasind(double x);
F90_API long double _morvex_dacosd(double x);
F90_API long double _morvex_datan(double x);
F90_API long double _morvex_datand(double x);
F90_API long double _morvex_datan2(double y, double x);
F90_API long double _morvex_datan2d(double y, double x);
F90_API long double _morvex_dsinh(double x);
F90_API long double _morvex_dcosh(double x);
F90_API long double _morvex_dtanh(double x);

F90_API long double _morvex_I_dexp(const double* x);
F90_API long double _morvex_I_dlog(const double* x);
F90_API long double _morvex_I_dlog10(const double* x);
F90_API long double _morvex_I_dsin(const double* x);
F90_API long double _morvex_I_dcos(const double* x);
F90_API long double _morvex_I_dsind(const double* x);
F90_API long double _morvex_I_dcosd(const double* x);
F90_API long double _morvex_I_dtan(const double* x);
F90_API long double _morvex_I_dtand(const double* x);
F90_API long double _morvex_I_dcot(const double* x);
F90_API long double _morvex_I_dasin(const double* x);
F90_API long double _morvex_I_dacos(const double* x);
F90_API long double _morvex_I_dasind(const double* x);
F90_API long double _morvex_I_dacosd(const double* x);
F90_API long double _morvex_I_datan(const double* x);
F90_API long double _morvex_I_datand(const double* x);
F90_API long double _morvex_I_datan2(const double* y, const double* x);
F90_API long double _morvex_I_datan2d(const double* y, const double* x);
F90_API long double _morvex_I_dsinh(const double* x);
F90_API long double _morvex_I_dcosh(const double* x);
F90_API long double _morvex_I_dtanh(const double* x);
