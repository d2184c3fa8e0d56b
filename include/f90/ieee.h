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

#ifdef __cplusplus
}
#endif
#endif
