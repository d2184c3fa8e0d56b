/* The IEEE intrinsic modules: IEEE_EXCEPTIONS, IEEE_FEATURES and
 * IEEE_ARITHMETIC, and the x87 glue they share. Every argument is passed by
 * reference; an absent optional argument is a null pointer. Logical values
 * are default LOGICAL (int32_t: nonzero is true; results are 1 or 0). */
#ifndef F90_IEEE_H
#define F90_IEEE_H

#include <stdint.h>

#include "f90/descriptor.h"

#ifdef __cplusplus
extern "C" {
#endif

/* IEEE_FLAG_TYPE: the exception's mask bit in the x87 control word, then its
 * flag bit in the status word. IEEE_STATUS_TYPE is one opaque int32_t. */
typedef struct F90IeeeFlag {
  int32_t cw_bit;
  int32_t sw_bit;
} F90IeeeFlag;

/* ---- IEEE_EXCEPTIONS and IEEE_FEATURES ---- */

/* IEEE_INVALID, IEEE_DIVIDE_BY_ZERO, IEEE_OVERFLOW, IEEE_UNDERFLOW,
 * IEEE_INEXACT, IEEE_USUAL(3), IEEE_ALL(5). */
extern const F90IeeeFlag _D_in_IEEE_EXCEPTIONS[13];
/* The IEEE_FEATURES_TYPE values 1 to 11. */
extern const int32_t _D_in_IEEE_FEATURES[11];

/* Module entries: do nothing. */
void IEEE_EXCEPTIONS(void);
void IEEE_FEATURES(void);

/* IEEE_SUPPORT_FLAG(FLAG, X): REAL*4 form true only when X is present. */
int32_t __SP_IEEE_SUPPORT_FLAG_in_IEEE_EXCEPTIONS(const F90IeeeFlag *flag, const float *x);
/* IEEE_SUPPORT_FLAG(FLAG, X) for REAL*8: true. */
int32_t __DP_IEEE_SUPPORT_FLAG_in_IEEE_EXCEPTIONS(const F90IeeeFlag *flag, const double *x);
/* IEEE_SUPPORT_HALTING(FLAG): true. */
int32_t __IEEE_SUPPORT_HALTING_in_IEEE_EXCEPTIONS(const F90IeeeFlag *flag);
/* FLAG_VALUE := the flag is raised. */
void __IEEE_GET_FLAG_in_IEEE_EXCEPTIONS(const F90IeeeFlag *flag, int32_t *flag_value);
/* HALTING := the exception is unmasked. */
void __IEEE_GET_HALTING_MODE_in_IEEE_EXCEPTIONS(const F90IeeeFlag *flag, int32_t *halting);
/* STATUS_VALUE := the floating-point state (_morvex_getCSW). */
void __IEEE_GET_STATUS_in_IEEE_EXCEPTIONS(int32_t *status_value);
/* Restores a state saved by IEEE_GET_STATUS. */
void __IEEE_SET_STATUS_in_IEEE_EXCEPTIONS(const int32_t *status_value);
/* Raises (true) or clears (false) one flag. */
void __S_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS(const F90IeeeFlag *flag, const int32_t *flag_value);
/* Array FLAG and FLAG_VALUE descriptors of equal size; 5000 on a conflict. */
void __A_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS(ArrayDescriptor *flag, ArrayDescriptor *flag_value);
/* Array FLAG descriptor, one FLAG_VALUE for all. */
void __AS_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS(ArrayDescriptor *flag, const int32_t *flag_value);
/* Unmasks (true) or masks (false) one exception. */
void __S_IEEE_SET_HALTING_MODE_in_IEEE_EXCEPTIONS(const F90IeeeFlag *flag, const int32_t *halting);
/* Array FLAG and HALTING descriptors; 5000 on a repeated flag or sizes that differ. */
void __A_IEEE_SET_HALTING_MODE_in_IEEE_EXCEPTIONS(ArrayDescriptor *flag, ArrayDescriptor *halting);

/* x87 glue: raises the status-word flags in *bits. */
void _morvex_signal(const int32_t *bits);
/* Reports *number at level 0 through _lerror and returns. */
void _morvex_error(const int32_t *number);
/* Reports *number; returns 0 (gradual underflow not in effect). */
int32_t _morvex_get_underflow(const int32_t *number);
/* Reports *number; the mode is not looked at. */
void _morvex_set_underflow(const int32_t *mode, const int32_t *number);
/* Returns 0: underflow mode control is not supported. */
int32_t _morvex_support_underflow(void);

/* ---- IEEE_ARITHMETIC ---- */
/* IEEE_CLASS_TYPE and IEEE_ROUND_TYPE are one int32_t each. Real results
 * come back in st(0); those declared float or double hold a value of that
 * kind, returned without a load of the kind (a signalling NaN stays
 * signalling until the caller stores it). */

/* The eleven class values, then IEEE_NEAREST, IEEE_TO_ZERO, IEEE_UP,
 * IEEE_DOWN, IEEE_OTHER. */
extern const int32_t _D_in_IEEE_ARITHMETIC[16];

/* Module entry: does nothing. */
void IEEE_ARITHMETIC(void);

/* == and /= on IEEE_CLASS_TYPE and IEEE_ROUND_TYPE. */
int32_t __CLASSTYPEEQV_in_IEEE_ARITHMETIC(const int32_t *a, const int32_t *b);
int32_t __CLASSTYPENEQV_in_IEEE_ARITHMETIC(const int32_t *a, const int32_t *b);
int32_t __ROUNDTYPEEQV_in_IEEE_ARITHMETIC(const int32_t *a, const int32_t *b);
int32_t __ROUNDTYPENEQV_in_IEEE_ARITHMETIC(const int32_t *a, const int32_t *b);

/* IEEE_CLASS(X) into *result (1..10, from the stored bits); returns result. */
int32_t *__SP_IEEE_CLASS_in_IEEE_ARITHMETIC(int32_t *result, const float *x);
int32_t *__DP_IEEE_CLASS_in_IEEE_ARITHMETIC(int32_t *result, const double *x);
/* IS_FINITE, IS_NAN, IS_NEGATIVE, IS_NORMAL (zeros count as normal). */
int32_t __SP_IEEE_IS_FINITE_in_IEEE_ARITHMETIC(const float *x);
int32_t __DP_IEEE_IS_FINITE_in_IEEE_ARITHMETIC(const double *x);
int32_t __SP_IEEE_IS_NAN_in_IEEE_ARITHMETIC(const float *x);
int32_t __DP_IEEE_IS_NAN_in_IEEE_ARITHMETIC(const double *x);
int32_t __SP_IEEE_IS_NEGATIVE_in_IEEE_ARITHMETIC(const float *x);
int32_t __DP_IEEE_IS_NEGATIVE_in_IEEE_ARITHMETIC(const double *x);
int32_t __SP_IEEE_IS_NORMAL_in_IEEE_ARITHMETIC(const float *x);
int32_t __DP_IEEE_IS_NORMAL_in_IEEE_ARITHMETIC(const double *x);
/* UNORDERED(X, Y): either is a NaN, each tested in its own kind. */
int32_t __SP_IEEE_UNORDERED_in_IEEE_ARITHMETIC(const float *x, const float *y);
int32_t __DP_IEEE_UNORDERED_in_IEEE_ARITHMETIC(const double *x, const double *y);
int32_t __SD_IEEE_UNORDERED_in_IEEE_ARITHMETIC(const float *x, const double *y);
int32_t __DS_IEEE_UNORDERED_in_IEEE_ARITHMETIC(const double *x, const float *y);

/* IEEE_VALUE(X, CLASS): X gives the kind only; an unknown CLASS gives the quiet NaN. */
float __SP_IEEE_VALUE_in_IEEE_ARITHMETIC(const float *x, const int32_t *class_value);
double __DP_IEEE_VALUE_in_IEEE_ARITHMETIC(const double *x, const int32_t *class_value);
/* Constant functions (X not read): infinities, signalling and quiet NaN. */
float __SP_POSITIVE_INF_in_IEEE_ARITHMETIC(const float *x);
float __SP_NEGATIVE_INF_in_IEEE_ARITHMETIC(const float *x);
float __SP_SIGNALING_NAN_in_IEEE_ARITHMETIC(const float *x);
float __SP_QUIET_NAN_in_IEEE_ARITHMETIC(const float *x);
double __DP_POSITIVE_INF_in_IEEE_ARITHMETIC(const double *x);
double __DP_NEGATIVE_INF_in_IEEE_ARITHMETIC(const double *x);
double __DP_SIGNALING_NAN_in_IEEE_ARITHMETIC(const double *x);
double __DP_QUIET_NAN_in_IEEE_ARITHMETIC(const double *x);

/* ROUND_VALUE := the control word's rounding field. */
void __IEEE_GET_ROUNDING_MODE_in_IEEE_ARITHMETIC(int32_t *round_value);
/* Sets the rounding field; a value other than the four modes is ignored. */
void __IEEE_SET_ROUNDING_MODE_in_IEEE_ARITHMETIC(const int32_t *round_value);
/* GRADUAL := false, after reporting 5001 at level 0. */
void __IEEE_GET_UNDERFLOW_MODE_in_IEEE_ARITHMETIC(int32_t *gradual);
/* Reports 5001 at level 0; changes nothing. */
void __IEEE_SET_UNDERFLOW_MODE_in_IEEE_ARITHMETIC(const int32_t *gradual);

/* IEEE_SELECTED_REAL_KIND(P, R): 4 or 8, or -1/-2/-3; both absent give 4. */
int32_t __IEEE_SELECTED_REAL_KIND_in_IEEE_ARITHMETIC(const int32_t *p, const int32_t *r);

/* SUPPORT inquiries: REAL*4 forms true when X is present, REAL*8 forms true;
 * both UNDERFLOW forms false. */
int32_t __SP_IEEE_SUPPORT_DATATYPE_in_IEEE_ARITHMETIC(const float *x);
int32_t __SP_IEEE_SUPPORT_DENORMAL_in_IEEE_ARITHMETIC(const float *x);
int32_t __SP_IEEE_SUPPORT_DIVIDE_in_IEEE_ARITHMETIC(const float *x);
int32_t __SP_IEEE_SUPPORT_INF_in_IEEE_ARITHMETIC(const float *x);
int32_t __SP_IEEE_SUPPORT_IO_in_IEEE_ARITHMETIC(const float *x);
int32_t __SP_IEEE_SUPPORT_NAN_in_IEEE_ARITHMETIC(const float *x);
int32_t __SP_IEEE_SUPPORT_ROUNDING_in_IEEE_ARITHMETIC(const int32_t *round_value, const float *x);
int32_t __SP_IEEE_SUPPORT_SQRT_in_IEEE_ARITHMETIC(const float *x);
int32_t __SP_IEEE_SUPPORT_STANDARD_in_IEEE_ARITHMETIC(const float *x);
int32_t __SP_IEEE_SUPPORT_UNDERFLOW_in_IEEE_ARITHMETIC(const float *x);
int32_t __DP_IEEE_SUPPORT_DATATYPE_in_IEEE_ARITHMETIC(const double *x);
int32_t __DP_IEEE_SUPPORT_DENORMAL_in_IEEE_ARITHMETIC(const double *x);
int32_t __DP_IEEE_SUPPORT_DIVIDE_in_IEEE_ARITHMETIC(const double *x);
int32_t __DP_IEEE_SUPPORT_INF_in_IEEE_ARITHMETIC(const double *x);
int32_t __DP_IEEE_SUPPORT_IO_in_IEEE_ARITHMETIC(const double *x);
int32_t __DP_IEEE_SUPPORT_NAN_in_IEEE_ARITHMETIC(const double *x);
int32_t __DP_IEEE_SUPPORT_ROUNDING_in_IEEE_ARITHMETIC(const int32_t *round_value, const double *x);
int32_t __DP_IEEE_SUPPORT_SQRT_in_IEEE_ARITHMETIC(const double *x);
int32_t __DP_IEEE_SUPPORT_STANDARD_in_IEEE_ARITHMETIC(const double *x);
int32_t __DP_IEEE_SUPPORT_UNDERFLOW_in_IEEE_ARITHMETIC(const double *x);

/* COPY_SIGN(X, Y): X with Y's sign bit, in X's kind. */
float __SP_IEEE_COPY_SIGN_in_IEEE_ARITHMETIC(const float *x, const float *y);
double __DP_IEEE_COPY_SIGN_in_IEEE_ARITHMETIC(const double *x, const double *y);
float __SD_IEEE_COPY_SIGN_in_IEEE_ARITHMETIC(const float *x, const double *y);
double __DS_IEEE_COPY_SIGN_in_IEEE_ARITHMETIC(const double *x, const float *y);
/* REM(X, Y): X - n*Y, n nearest to X/Y (ties to even), left at extended precision. */
long double __SP_IEEE_REM_in_IEEE_ARITHMETIC(const float *x, const float *y);
long double __DP_IEEE_REM_in_IEEE_ARITHMETIC(const double *x, const double *y);
long double __SD_IEEE_REM_in_IEEE_ARITHMETIC(const float *x, const double *y);
long double __DS_IEEE_REM_in_IEEE_ARITHMETIC(const double *x, const float *y);
/* LOGB(X): EXPONENT(X) - 1; zero, infinity, NaN raise divide-by-zero. */
float __SP_IEEE_LOGB_in_IEEE_ARITHMETIC(const float *x);
double __DP_IEEE_LOGB_in_IEEE_ARITHMETIC(const double *x);
/* NEXT_AFTER(X, Y): the neighbour of X toward Y, in X's kind. */
float __SP_IEEE_NEXT_AFTER_in_IEEE_ARITHMETIC(const float *x, const float *y);
double __DP_IEEE_NEXT_AFTER_in_IEEE_ARITHMETIC(const double *x, const double *y);
float __SD_IEEE_NEXT_AFTER_in_IEEE_ARITHMETIC(const float *x, const double *y);
double __DS_IEEE_NEXT_AFTER_in_IEEE_ARITHMETIC(const double *x, const float *y);
/* RINT(X): X rounded to an integral value in the current rounding mode. */
float __SP_IEEE_RINT_in_IEEE_ARITHMETIC(const float *x);
double __DP_IEEE_RINT_in_IEEE_ARITHMETIC(const double *x);
/* SCALB(X, I): X * 2^I on the exponent field. */
float __SP_IEEE_SCALB_in_IEEE_ARITHMETIC(const float *x, const int32_t *i);
double __DP_IEEE_SCALB_in_IEEE_ARITHMETIC(const double *x, const int32_t *i);

#ifdef __cplusplus
}
#endif
#endif
