// The REAL*4 elemental entry points of libf90elem.
//
// A REAL*4 argument is one 32-bit stack slot; every REAL*4 result comes back
// in the x87 register st(0). Functions whose result is computed in the x87
// registers return long double, so the value is handed over at the
// precision it was formed at and the caller's store rounds it. Functions
// that round their result (ANINT, the exponential, the square root, the
// arctangents of ATAN2, the powers) store it as a REAL*4 first.
#pragma once

#include <cstdint>

#include "symbols.h"

// Rounding, sign, remainder, square root and powers.
F90_API long double _morvex_aint(float x);
F90_API long double _morvex_abs(float x);
F90_API long double _morvex_amod(float x, float y);
F90_API long double _morvex_sqrt(float x);
F90_API long double _morvex_dim(float x, float y);
F90_API long double _morvex_sign(float a, float b);
F90_API long double _morvex_anint(float x);
F90_API int32_t _morvex_nint(float x);
F90_API int32_t _morvex_jnint(float x);
F90_API int32_t _morvex_inint(float x);  // INTEGER*2, sign-extended
F90_API int64_t _morvex_knint(float x);
F90_API long double _morvex_f90floorf(float x);
F90_API long double _morvex_f90ceilf(float x);
F90_API int32_t _morvex_ifloor(float x);
F90_API int32_t _morvex_iceil(float x);
F90_API long double _morvex_ftof(float x, float y);
F90_API long double _morvex_ftoi(float x, int32_t n);

F90_API long double _morvex_I_aint(const float* x);
F90_API long double _morvex_I_abs(const float* x);
F90_API long double _morvex_I_amod(const float* x, const float* y);
F90_API long double _morvex_I_sqrt(const float* x);
F90_API long double _morvex_I_dim(const float* x, const float* y);
F90_API long double _morvex_I_sign(const float* a, const float* b);
F90_API long double _morvex_I_anint(const float* x);
F90_API int32_t _morvex_I_nint(const float* x);
F90_API int32_t _morvex_I_jnint(const float* x);
F90_API int32_t _morvex_I_inint(const float* x);
F90_API int64_t _morvex_I_knint(const float* x);

// Exponential, logarithm, trigonometric and hyperbolic functions.
F90_API long double _morvex_exp(float x);
F90_API long double _morvex_alog(float x);
F90_API long double _morvex_alog10(float x);
F90_API long double _morvex_sinfcosf(float x, int32_t selector);  // 0 sine, 1 cosine
F90_API long double _morvex_sin(float x);
F90_API long double _morvex_cos(float x);
F90_API long double _morvex_sind(float x);
F90_API long double _morvex_cosd(float x);
F90_API long double _morvex_tan(float x);
F90_API long double _morvex_tand(float x);
F90_API long double _morvex_cot(float x);
F90_API long double _morvex_asinfacosf(float x, int32_t selector);  // 0 arcsine, 1 arccosine
F90_API long double _morvex_asin(float x);
F90_API long double _morvex_acos(float x);
F90_API long double _morvex_asind(float x);
F90_API long double _morvex_acosd(float x);
F90_API long double _morvex_atan(float x);
F90_API long double _morvex_atand(float x);
F90_API long double _morvex_atan2(float y, float x);
F90_API long double _morvex_atan2d(float y, float x);
F90_API long double _morvex_sinh(float x);
F90_API long double _morvex_cosh(float x);
F90_API long double _morvex_tanh(float x);

F90_API long double _morvex_I_exp(const float* x);
F90_API long double _morvex_I_alog(const float* x);
F90_API long double _morvex_I_log(const float* x);  // generic name of alog
F90_API long double _morvex_I_alog10(const float* x);
F90_API long double _morvex_I_log10(const float* x);  // generic name of alog10
F90_API long double _morvex_I_sin(const float* x);
F90_API long double _morvex_I_cos(const float* x);
F90_API long double _morvex_I_sind(const float* x);
F90_API long double _morvex_I_cosd(const float* x);
F90_API long double _morvex_I_tan(const float* x);
F90_API long double _morvex_I_tand(const float* x);
F90_API long double _morvex_I_cot(const float* x);
F90_API long double _morvex_I_asin(const float* x);
F90_API long double _morvex_I_acos(const float* x);
F90_API long double _morvex_I_asind(const float* x);
F90_API long double _morvex_I_acosd(const float* x);
F90_API long double _morvex_I_atan(const float* x);
F90_API long double _morvex_I_atand(const float* x);
F90_API long double _morvex_I_atan2(const float* y, const float* x);
F90_API long double _morvex_I_atan2d(const float* y, const float* x);
F90_API long double _morvex_I_sinh(const float* x);
F90_API long double _morvex_I_cosh(const float* x);
F90_API long double _morvex_I_tanh(const float* x);
