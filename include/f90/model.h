/* Numeric model functions, REAL*16 model constants, MODULO,
 * SELECTED_REAL_KIND, bit counts, the random-number generator and the
 * COMPLEX*16 and INTEGER*8 generic elementals of libf90intr.
 *
 * Arguments by value unless a pointer is shown. REAL*4 and REAL*8 results
 * come back in st(0) (long double where they are left at extended
 * precision); REAL*16 and COMPLEX*16 results are written through the hidden
 * result pointer, the first parameter, which is also returned. */
#ifndef F90_MODEL_H
#define F90_MODEL_H

#include <stdint.h>

#include "f90/values.h"

#ifdef __cplusplus
extern "C" {
#endif

/* REAL*16: the value is hi + lo, the DoubleDouble of f90/values.h. */
typedef DoubleDouble F90Real16;

/* COMPLEX*16: (real, imaginary), the Complex16 of f90/values.h. */
typedef Complex16 F90Complex16;

/* REAL*16 model constants (16 bytes each, low part +0.0). */
extern const F90Real16 huge_real16_f90_y;      /* 2^63 - 2^52 */
extern const F90Real16 huge_real16_f90_y_ieee; /* 2^63 - 2^52 */
extern const F90Real16 tiny_real16_f90_y;      /* 2^52 */
extern const F90Real16 tiny_real16_f90_ieee;   /* 2^52 */
extern const F90Real16 QUAD_ZERO;              /* 0 */
extern const F90Real16 Qnan;                   /* 2^63 - 2^47 */

/* EXPONENT(X): e of X = f * 2^e, 0.5 <= |f| < 1; 0 for zero and NaN. */
int32_t _EXPONENT_4(float x);
int32_t _EXPONENT(double x);
int32_t _EXPONENT_8(double x);
int32_t _EXPONENT_16(F90Real16 x);

/* FRACTION(X): f of X = f * 2^e; +0.0 for zero, NaN for an infinity. */
float _FRACTION_4(float x);
double _FRACTION(double x);
double _FRACTION_8(double x);
F90Real16 *_FRACTION_16(F90Real16 *res, F90Real16 x);

/* NEAREST(X, S): neighbour of X toward the sign of S; a zero S reports 1415. */
float _NEAREST_4(float x, float s);
float _NEAREST_4_8(float x, double s);
float _NEAREST_4_16(float x, F90Real16 s);
double _NEAREST(double x, double s);
double _NEAREST_8_16(double x, F90Real16 s);
/* REAL*16 NEAREST: only the high part of S is read. */
F90Real16 *_NEAREST_16(F90Real16 *res, F90Real16 x, F90Real16 s);
/* REAL*16 NEAREST with a REAL*8 S: the same routine as _NEAREST_16. */
F90Real16 *_NEAREST_16_8(F90Real16 *res, F90Real16 x, double s);

/* RRSPACING(X): |FRACTION(X)| * 2^digits. */
float _RRSPACING_4(float x);
double _RRSPACING(double x);
double _RRSPACING_8(double x);
F90Real16 *_RRSPACING_16(F90Real16 *res, F90Real16 x);

/* SCALE(X, I) = X * 2^I; _I8 forms saturate I to the 32-bit range. */
float _SCALE_4(float x, int32_t i);
float _SCALE_4_I4(float x, int32_t i);
float _SCALE_4_I8(float x, int64_t i);
double _SCALE(double x, int32_t i);
double _SCALE_8(double x, int32_t i);
double _SCALE_8_I4(double x, int32_t i);
double _SCALE_8_I8(double x, int64_t i);
F90Real16 *_SCALE_16(F90Real16 *res, F90Real16 x, int32_t i);
F90Real16 *_SCALE_16_I4(F90Real16 *res, F90Real16 x, int32_t i);
F90Real16 *_SCALE_16_I8(F90Real16 *res, F90Real16 x, int64_t i);

/* SET_EXPONENT(X, I) = SCALE(FRACTION(X), I). */
float _SET_EXPONENT_4(float x, int32_t i);
float _SET_EXPONENT_4_I4(float x, int32_t i);
float _SET_EXPONENT_4_I8(float x, int64_t i);
double _SET_EXPONENT(double x, int32_t i);
double _SET_EXPONENT_8(double x, int32_t i);
double _SET_EXPONENT_8_I4(double x, int32_t i);
double _SET_EXPONENT_8_I8(double x, int64_t i);
F90Real16 *_SET_EXPONENT_16(F90Real16 *res, F90Real16 x, int32_t i);
F90Real16 *_SET_EXPONENT_16_I4(F90Real16 *res, F90Real16 x, int32_t i);
F90Real16 *_SET_EXPONENT_16_I8(F90Real16 *res, F90Real16 x, int64_t i);

/* SPACING(X): 2^(e - digits); the smallest normal number for tiny X. */
float _SPACING_4(float x);
double _SPACING(double x);
double _SPACING_8(double x);
F90Real16 *_SPACING_16(F90Real16 *res, F90Real16 x);

/* MODULO(A, P) with the sign of P; integer P = 0 gives 0, real P = 0 a NaN. */
int32_t _MODULO_I4(const int32_t *a, const int32_t *p);
int64_t _MODULO_J(const int64_t *a, const int64_t *p);
/* REAL*4 MODULO, left in st(0) for the caller to round. */
long double _MODULO_S4(const float *a, const float *p);
/* REAL*8 MODULO, left in st(0) at extended precision. */
long double _MODULO_S(const double *a, const double *p);
F90Real16 *_MODULO_D(F90Real16 *res, const F90Real16 *a, const F90Real16 *p);

/* SELECTED_REAL_KIND([P] [, R]), null for an absent argument; -1, -2, -3 on failure. */
int32_t _SELECTED_REAL_KIND_(const int32_t *p, const int32_t *r);
int32_t _SELECTED_REAL_KIND_4_(const int32_t *p, const int32_t *r);
int64_t _SELECTED_REAL_KIND_8_(const int32_t *p, const int32_t *r);
int32_t _SELECTED_REAL_KIND(const int32_t *p, const int32_t *r);
int32_t _SELECTED_REAL_KIND_4(const int32_t *p, const int32_t *r);
int64_t _SELECTED_REAL_KIND_8(const int32_t *p, const int32_t *r);

/* POPCNT, POPPAR, LEADZ of an INTEGER*4 (_I4, _4) or INTEGER*8 (no suffix). */
int32_t _POPCNT_I4(int32_t x);
int32_t _POPCNT_4(int32_t x);
int32_t _POPCNT(int64_t x);
int32_t _POPPAR_I4(int32_t x);
int32_t _POPPAR_4(int32_t x);
int32_t _POPPAR(int64_t x);
int32_t _LEADZ_I4(int32_t x);
int32_t _LEADZ_4(int32_t x);
int32_t _LEADZ(int64_t x);

/* Random numbers: the whole state, read and written directly by programs. */
extern uint32_t _RANFI;
/* Next number of the sequence, a multiple of 2^-24 in [0, 1). */
double _RANF(void);
/* Sets the state to seed (0 selects the initial state); returns it. */
int32_t _RANSET(int32_t seed);
/* Sets the state to *seed (null selects the initial state); returns it. */
int32_t _RANSET_ADR(const int32_t *seed);
/* Returns the state, also stored in *state when state is not null. */
int32_t _RANGET(int32_t *state);
/* The same as _RANGET. */
int32_t ranget_(int32_t *state);

/* COMPLEX*16 generic elementals. */
double _AIMAG_(const F90Complex16 *z);
F90Complex16 *_CONJG_(F90Complex16 *res, const F90Complex16 *z);
F90Complex16 *_CCOS(F90Complex16 *res, double re, double im);
F90Complex16 *_CEXP(F90Complex16 *res, double re, double im);
F90Complex16 *_CSIN(F90Complex16 *res, double re, double im);
F90Complex16 *_CCOS_(F90Complex16 *res, const F90Complex16 *z);
F90Complex16 *_CEXP_(F90Complex16 *res, const F90Complex16 *z);
F90Complex16 *_CSIN_(F90Complex16 *res, const F90Complex16 *z);

/* INTEGER*8 DIM and SIGN. */
int64_t _IDIM_(const int64_t *a, const int64_t *b);
int64_t _ISIGN_(const int64_t *a, const int64_t *b);

#ifdef __cplusplus
}
#endif
#endif
