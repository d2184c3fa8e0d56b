// DOT_PRODUCT kernels for an INTEGER operand with a REAL or COMPLEX one.
//
// - INTEGER*1/2/4 with REAL: the integer loaded exactly, each term one x87
//   product, the running sum one x87 register for the whole loop, returned
//   in st(0) unrounded.
// - INTEGER*8 with REAL: the INTEGER*8 converted by _morvex_cvtlld (REAL*8
//   work) or _morvex_cvtllf (REAL*4 work); the running sum is stored, and so
//   rounded to the result kind, after every term.
// - COMPLEX with INTEGER*1/2/4: two x87 registers, each rounded once to the
//   complex kind at the end. A complex A is conjugated.
// - COMPLEX with INTEGER*8: as above, but both sums rounded to the complex
//   kind after every term.
#include "dotprod/dot.h"
#include "f90/dotprod.h"

using namespace f90::dot;
using AD = ArrayDescriptor;
using R = Register<X87>;
using R4 = Stored<X87, float>;
using R8 = Stored<X87, double>;

F90_API long double MX_DOT_I4S(const AD* a, const AD* b) { return real_dot<X87, I4, S, R>(a, b).s; }
F90_API long double MX_DOT_I2S(const AD* a, const AD* b) { return real_dot<X87, I2, S, R>(a, b).s; }
F90_API long double MX_DOT_I1S(const AD* a, const AD* b) { return real_dot<X87, I1, S, R>(a, b).s; }
F90_API long double MX_DOT_SI4(const AD* a, const AD* b) { return real_dot<X87, S, I4, R>(a, b).s; }
F90_API long double MX_DOT_SI2(const AD* a, const AD* b) { return real_dot<X87, S, I2, R>(a, b).s; }
F90_API long double MX_DOT_SI1(const AD* a, const AD* b) { return real_dot<X87, S, I1, R>(a, b).s; }
F90_API long double MX_DOT_I4S4(const AD* a, const AD* b) { return real_dot<X87, I4, S4, R>(a, b).s; }
F90_API long double MX_DOT_I2S4(const AD* a, const AD* b) { return real_dot<X87, I2, S4, R>(a, b).s; }
F90_API long double MX_DOT_I1S4(const AD* a, const AD* b) { return real_dot<X87, I1, S4, R>(a, b).s; }
F90_API long double MX_DOT_S4I4(const AD* a, const AD* b) { return real_dot<X87, S4, I4, R>(a, b).s; }
F90_API long double MX_DOT_S4I2(const AD* a, const AD* b) { return real_dot<X87, S4, I2, R>(a, b).s; }
F90_API long double MX_DOT_S4I1(const AD* a, const AD* b) { return real_dot<X87, S4, I1, R>(a, b).s; }

F90_API double MX_DOT_JS(const AD* a, const AD* b) { return real_dot<X87, J, S, R8>(a, b).s; }
F90_API double MX_DOT_SJ(const AD* a, const AD* b) { return real_dot<X87, S, J, R8>(a, b).s; }
F90_API float MX_DOT_JS4(const AD* a, const AD* b) { return real_dot<X87, J4, S4, R4>(a, b).s; }
F90_API float MX_DOT_S4J(const AD* a, const AD* b) { return real_dot<X87, S4, J4, R4>(a, b).s; }

F90_API Complex8* MX_DOT_C4I4(Complex8* r, const AD* a, const AD* b) { return complex_kernel<float, X87, C4, I4, R>(r, a, b); }
F90_API Complex8* MX_DOT_C4I2(Complex8* r, const AD* a, const AD* b) { return complex_kernel<float, X87, C4, I2, R>(r, a, b); }
F90_API Complex8* MX_DOT_C4I1(Complex8* r, const AD* a, const AD* b) { return complex_kernel<float, X87, C4, I1, R>(r, a, b); }
F90_API Complex16* MX_DOT_CI4(Complex16* r, const AD* a, const AD* b) { return complex_kernel<double, X87, C, I4, R>(r, a, b); }
F90_API Complex16* MX_DOT_CI2(Complex16* r, const AD* a, const AD* b) { return complex_kernel<double, X87, C, I2, R>(r, a, b); }
F90_API Complex16* MX_DOT_CI1(Complex16* r, const AD* a, const AD* b) { return complex_kernel<double, X87, C, I1, R>(r, a, b); }
F90_API Complex16* MX_DOT_I4C(Complex16* r, const AD* a, const AD* b) { return complex_kernel<double, X87, I4, C, R>(r, a, b); }
F90_API Complex16* MX_DOT_I2C(Complex16* r, const AD* a, const AD* b) { return complex_kernel<double, X87, I2, C, R>(r, a, b); }
F90_API Complex16* MX_DOT_I1C(Complex16* r, const AD* a, const AD* b) { return complex_kernel<double, X87, I1, C, R>(r, a, b); }
F90_API Complex8* MX_DOT_I4C4(Complex8* r, const AD* a, const AD* b) { return complex_kernel<float, X87, I4, C4, R>(r, a, b); }
F90_API Complex8* MX_DOT_I2C4(Complex8* r, const AD* a, const AD* b) { return complex_kernel<float, X87, I2, C4, R>(r, a, b); }
F90_API Complex8* MX_DOT_I1C4(Complex8* r, const AD* a, const AD* b) { return complex_kernel<float, X87, I1, C4, R>(r, a, b); }

F90_API Complex8* MX_DOT_C4J(Complex8* r, const AD* a, const AD* b) { return complex_kernel<float, X87, C4, J4, R4>(r, a, b); }
F90_API Complex16* MX_DOT_CJ(Complex16* r, const AD* a, const AD* b) { return complex_kernel<double, X87, C, J, R8>(r, a, b); }
F90_API Complex16* MX_DOT_JC(Complex16* r, const AD* a, const AD* b) { return complex_kernel<double, X87, J, C, R8>(r, a, b); }
F90_API Complex8* MX_DOT_JC4(Complex8* r, const AD* a, const AD* b) { return complex_kernel<float, X87, J4, C4, R4>(r, a, b); }
