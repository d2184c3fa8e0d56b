/* DOT_PRODUCT entry points, kernels and set-up (libf90intr).
 *
 * Every routine takes the two operands' rank-1 descriptors (A first); the
 * number of terms is A's extent, and B is read for exactly that many
 * elements. Results: INTEGER*1/2 sign-extended in eax (int32_t), LOGICAL*1/2
 * zero-extended (uint32_t), INTEGER*8 and LOGICAL*8 in edx:eax; REAL in
 * st(0), as long double where the running sum is returned unrounded and as
 * float/double where it was rounded to that kind after every term; COMPLEX
 * and REAL*16 results through the explicit result pointer, which is returned
 * (nothing is popped by the callee).
 *
 * The _DOT_ entries whose names hold I4 or L4 pick the 4-, 2- or 1-byte
 * kernel MX_DOT_ by the operand's int_len (32, 16, any other value). */
#ifndef F90_DOTPROD_H
#define F90_DOTPROD_H

#include <stdint.h>

#include "f90/descriptor.h"
#include "f90/values.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Set-up: n = A's extent, both bases, both element strides. */
void _PREDOT(const ArrayDescriptor *a, const ArrayDescriptor *b, int32_t *count,
             const void **a_first, int32_t *a_step, const void **b_first, int32_t *b_step);

/* ---- dispatching entry points ---- */
/* INTEGER*8 by INTEGER*8: one kernel */
int64_t _DOT_JJ(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*8 by INTEGER*4/2/1: kernel by int_len */
int64_t _DOT_JI4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*4/2/1 by INTEGER*8: kernel by int_len */
int64_t _DOT_I4J(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*4/2/1 by INTEGER*4/2/1: kernel by int_len */
int32_t _DOT_I4I4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*8 by INTEGER*8: one kernel */
Complex8 *_DOT_C4J(Complex8 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*8 by INTEGER*4/2/1: kernel by int_len */
Complex8 *_DOT_C4I4(Complex8 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*16 by INTEGER*8: one kernel */
Complex16 *_DOT_CJ(Complex16 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*16 by INTEGER*4/2/1: kernel by int_len */
Complex16 *_DOT_CI4(Complex16 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*8 by COMPLEX*16: one kernel */
Complex16 *_DOT_JC(Complex16 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*4/2/1 by COMPLEX*16: kernel by int_len */
Complex16 *_DOT_I4C(Complex16 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*8 by COMPLEX*8: one kernel */
Complex8 *_DOT_JC4(Complex8 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*4/2/1 by COMPLEX*8: kernel by int_len */
Complex8 *_DOT_I4C4(Complex8 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*8 by REAL*8: one kernel */
double _DOT_JS(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*4/2/1 by REAL*8: kernel by int_len */
long double _DOT_I4S(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*8 by REAL*4: one kernel */
float _DOT_JS4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*4/2/1 by REAL*4: kernel by int_len */
long double _DOT_I4S4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*4 by INTEGER*8: one kernel */
float _DOT_S4J(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*4 by INTEGER*4/2/1: kernel by int_len */
long double _DOT_S4I4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*8 by INTEGER*8: one kernel */
double _DOT_SJ(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*8 by INTEGER*4/2/1: kernel by int_len */
long double _DOT_SI4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* LOGICAL*4/2/1 by LOGICAL*4/2/1: kernel by int_len */
uint32_t _DOT_L4L4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* LOGICAL*8 by LOGICAL*4/2/1: kernel by int_len */
uint64_t _DOT_LL4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* LOGICAL*4/2/1 by LOGICAL*8: kernel by int_len */
uint64_t _DOT_L4L(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* LOGICAL*8 by LOGICAL*8: its own kernel */
uint64_t _DOT_LL(const ArrayDescriptor *a, const ArrayDescriptor *b);

/* ---- integer and logical kernels ---- */
/* INTEGER*4 by INTEGER*4: 32-bit wrap, INTEGER*4 result */
int32_t MX_DOT_I4I4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*4 by INTEGER*2: 32-bit wrap, INTEGER*4 result */
int32_t MX_DOT_I4I2(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*4 by INTEGER*1: 32-bit wrap, INTEGER*4 result */
int32_t MX_DOT_I4I1(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*2 by INTEGER*4: 32-bit wrap, INTEGER*4 result */
int32_t MX_DOT_I2I4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*2 by INTEGER*2: 32-bit wrap, INTEGER*2 result */
int32_t MX_DOT_I2I2(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*2 by INTEGER*1: 32-bit wrap, INTEGER*2 result */
int32_t MX_DOT_I2I1(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*1 by INTEGER*4: 32-bit wrap, INTEGER*4 result */
int32_t MX_DOT_I1I4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*1 by INTEGER*2: 32-bit wrap, INTEGER*2 result */
int32_t MX_DOT_I1I2(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*1 by INTEGER*1: 32-bit wrap, INTEGER*1 result */
int32_t MX_DOT_I1I1(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*8 by INTEGER*8: 64-bit wrap */
int64_t MX_DOT_JJ(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*8 by INTEGER*4: 64-bit wrap */
int64_t MX_DOT_JI4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*8 by INTEGER*2: 64-bit wrap */
int64_t MX_DOT_JI2(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*8 by INTEGER*1: 64-bit wrap */
int64_t MX_DOT_JI1(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*4 by INTEGER*8: 64-bit wrap */
int64_t MX_DOT_I4J(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*2 by INTEGER*8: 64-bit wrap */
int64_t MX_DOT_I2J(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*1 by INTEGER*8: 64-bit wrap */
int64_t MX_DOT_I1J(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*4 by REAL*8: x87 sum, unrounded */
long double MX_DOT_I4S(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*2 by REAL*8: x87 sum, unrounded */
long double MX_DOT_I2S(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*1 by REAL*8: x87 sum, unrounded */
long double MX_DOT_I1S(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*8 by INTEGER*4: x87 sum, unrounded */
long double MX_DOT_SI4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*8 by INTEGER*2: x87 sum, unrounded */
long double MX_DOT_SI2(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*8 by INTEGER*1: x87 sum, unrounded */
long double MX_DOT_SI1(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*4 by REAL*4: x87 sum, unrounded */
long double MX_DOT_I4S4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*2 by REAL*4: x87 sum, unrounded */
long double MX_DOT_I2S4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*1 by REAL*4: x87 sum, unrounded */
long double MX_DOT_I1S4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*4 by INTEGER*4: x87 sum, unrounded */
long double MX_DOT_S4I4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*4 by INTEGER*2: x87 sum, unrounded */
long double MX_DOT_S4I2(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*4 by INTEGER*1: x87 sum, unrounded */
long double MX_DOT_S4I1(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*8 by REAL*8: sum rounded to REAL*8 every term */
double MX_DOT_JS(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*8 by INTEGER*8: sum rounded to REAL*8 every term */
double MX_DOT_SJ(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*8 by REAL*4: sum rounded to REAL*4 every term */
float MX_DOT_JS4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*4 by INTEGER*8: sum rounded to REAL*4 every term */
float MX_DOT_S4J(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*8 by INTEGER*4: A conjugated */
Complex8 *MX_DOT_C4I4(Complex8 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*8 by INTEGER*2: A conjugated */
Complex8 *MX_DOT_C4I2(Complex8 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*8 by INTEGER*1: A conjugated */
Complex8 *MX_DOT_C4I1(Complex8 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*16 by INTEGER*4: A conjugated */
Complex16 *MX_DOT_CI4(Complex16 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*16 by INTEGER*2: A conjugated */
Complex16 *MX_DOT_CI2(Complex16 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*16 by INTEGER*1: A conjugated */
Complex16 *MX_DOT_CI1(Complex16 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*4 by COMPLEX*16: x87 sums */
Complex16 *MX_DOT_I4C(Complex16 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*2 by COMPLEX*16: x87 sums */
Complex16 *MX_DOT_I2C(Complex16 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*1 by COMPLEX*16: x87 sums */
Complex16 *MX_DOT_I1C(Complex16 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*4 by COMPLEX*8: x87 sums */
Complex8 *MX_DOT_I4C4(Complex8 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*2 by COMPLEX*8: x87 sums */
Complex8 *MX_DOT_I2C4(Complex8 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*1 by COMPLEX*8: x87 sums */
Complex8 *MX_DOT_I1C4(Complex8 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*8 by INTEGER*8: A conjugated, rounded every term */
Complex8 *MX_DOT_C4J(Complex8 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*16 by INTEGER*8: A conjugated, rounded every term */
Complex16 *MX_DOT_CJ(Complex16 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*8 by COMPLEX*16: rounded every term */
Complex16 *MX_DOT_JC(Complex16 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*8 by COMPLEX*8: rounded every term */
Complex8 *MX_DOT_JC4(Complex8 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* LOGICAL*4 by LOGICAL*4: OR of ANDs, 32 bits */
uint32_t MX_DOT_L4L4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* LOGICAL*4 by LOGICAL*2: OR of ANDs, 32 bits */
uint32_t MX_DOT_L4L2(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* LOGICAL*4 by LOGICAL*1: OR of ANDs, 32 bits */
uint32_t MX_DOT_L4L1(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* LOGICAL*2 by LOGICAL*4: OR of ANDs, 32 bits */
uint32_t MX_DOT_L2L4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* LOGICAL*2 by LOGICAL*2: OR of ANDs, 16 bits */
uint32_t MX_DOT_L2L2(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* LOGICAL*2 by LOGICAL*1: OR of ANDs, 16 bits */
uint32_t MX_DOT_L2L1(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* LOGICAL*1 by LOGICAL*4: OR of ANDs, 32 bits */
uint32_t MX_DOT_L1L4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* LOGICAL*1 by LOGICAL*2: OR of ANDs, 16 bits */
uint32_t MX_DOT_L1L2(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* LOGICAL*1 by LOGICAL*1: OR of ANDs, 8 bits */
uint32_t MX_DOT_L1L1(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* LOGICAL*8 by LOGICAL*4: OR of ANDs, high word 0 */
uint64_t MX_DOT_LL4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* LOGICAL*8 by LOGICAL*2: OR of ANDs, high word 0 */
uint64_t MX_DOT_LL2(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* LOGICAL*8 by LOGICAL*1: OR of ANDs, high word 0 */
uint64_t MX_DOT_LL1(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* LOGICAL*4 by LOGICAL*8: OR of ANDs, high word 0 */
uint64_t MX_DOT_L4L(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* LOGICAL*2 by LOGICAL*8: OR of ANDs, high word 0 */
uint64_t MX_DOT_L2L(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* LOGICAL*1 by LOGICAL*8: OR of ANDs, high word 0 */
uint64_t MX_DOT_L1L(const ArrayDescriptor *a, const ArrayDescriptor *b);

/* ---- REAL, COMPLEX and REAL*16 routines (each its own kernel) ---- */
/* REAL*4 by REAL*4: x87 sum, unrounded */
long double _DOT_S4S4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*4 by REAL*8: x87 sum, unrounded */
long double _DOT_S4S(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*8 by REAL*4: x87 sum, unrounded */
long double _DOT_SS4(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*8 by REAL*8: x87 sum, unrounded */
long double _DOT_SS(const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*8 by COMPLEX*8: A conjugated */
Complex8 *_DOT_C4C4(Complex8 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*8 by COMPLEX*16: A conjugated, REAL*4 every term */
Complex8 *_DOT_C4C(Complex8 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*16 by COMPLEX*8: A conjugated */
Complex16 *_DOT_CC4(Complex16 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*16 by COMPLEX*16: A conjugated */
Complex16 *_DOT_CC(Complex16 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*8 by REAL*4: A conjugated */
Complex8 *_DOT_C4S4(Complex8 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*8 by REAL*8: A conjugated, REAL*4 every term */
Complex8 *_DOT_C4S(Complex8 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*16 by REAL*4: A conjugated */
Complex16 *_DOT_CS4(Complex16 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*16 by REAL*8: A conjugated */
Complex16 *_DOT_CS(Complex16 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*4 by COMPLEX*8: x87 sums */
Complex8 *_DOT_S4C4(Complex8 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*4 by COMPLEX*16: x87 sums */
Complex16 *_DOT_S4C(Complex16 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*8 by COMPLEX*8: REAL*4 every term */
Complex16 *_DOT_SC4(Complex16 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*8 by COMPLEX*16: x87 sums */
Complex16 *_DOT_SC(Complex16 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*16 by REAL*16: double-double */
DoubleDouble *_DOT_DD(DoubleDouble *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*16 by REAL*8: each operand read by its int_len */
DoubleDouble *_DOT_DS(DoubleDouble *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*8 by REAL*16: each operand read by its int_len */
DoubleDouble *_DOT_SD(DoubleDouble *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*16 by REAL*4: double-double */
DoubleDouble *_DOT_DS4(DoubleDouble *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*4 by REAL*16: double-double */
DoubleDouble *_DOT_S4D(DoubleDouble *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*16 by INTEGER*4: integer read by its int_len */
DoubleDouble *_DOT_DI4(DoubleDouble *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*4 by REAL*16: integer read by its int_len */
DoubleDouble *_DOT_I4D(DoubleDouble *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*16 by INTEGER*8: double-double */
DoubleDouble *_DOT_DJ(DoubleDouble *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*8 by REAL*16: double-double */
DoubleDouble *_DOT_JD(DoubleDouble *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*8 by REAL*16: REAL*4 every term */
Complex32 *_DOT_C4D(Complex32 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*16 by REAL*16: REAL*8 every term */
Complex32 *_DOT_CD(Complex32 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*32 by REAL*16: double-double */
Complex32 *_DOT_ZD(Complex32 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*16 by COMPLEX*8: REAL*4 every term */
Complex32 *_DOT_DC4(Complex32 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*16 by COMPLEX*16: REAL*8 every term */
Complex32 *_DOT_DC(Complex32 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* REAL*16 by COMPLEX*32: double-double */
Complex32 *_DOT_DZ(Complex32 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*32 by COMPLEX*32: double-double */
Complex32 *_DOT_ZZ(Complex32 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*32 by COMPLEX*8: double-double */
Complex32 *_DOT_ZC4(Complex32 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*32 by COMPLEX*16: double-double */
Complex32 *_DOT_ZC(Complex32 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*16 by COMPLEX*32: REAL*8 every term */
Complex32 *_DOT_CZ(Complex32 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*8 by COMPLEX*32: REAL*4 every term, COMPLEX*8 result */
Complex8 *_DOT_C4Z(Complex8 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* COMPLEX*32 by INTEGER*4: integer read by its int_len */
Complex32 *_DOT_ZI4(Complex32 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);
/* INTEGER*4 by COMPLEX*32: integer read by its int_len */
Complex32 *_DOT_I4Z(Complex32 *result, const ArrayDescriptor *a, const ArrayDescriptor *b);

#ifdef __cplusplus
}
#endif
#endif
