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

#ifdef __cplusplus
}
#endif
#endif
