/* Value layouts of the multi-word kinds, as they travel by value and lie in
 * memory, and the element codes of the reduction workers.
 *
 * REAL*16 is a double-double: the value is hi + lo, |lo| <= ulp(hi) / 2.
 * Passed by value it takes four 4-byte stack slots, hi first; COMPLEX*32
 * takes eight (real part first). No alignment attributes: i386 aligns
 * double to 4 bytes inside structs, and the stack slots are 4 bytes. */
#ifndef F90_VALUES_H
#define F90_VALUES_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct DoubleDouble {
  double hi;
  double lo;
} DoubleDouble;

typedef struct Complex8 { /* COMPLEX*8 */
  float re;
  float im;
} Complex8;

typedef struct Complex16 { /* COMPLEX*16 */
  double re;
  double im;
} Complex16;

typedef struct Complex32 { /* COMPLEX*32: two REAL*16 */
  DoubleDouble re;
  DoubleDouble im;
} Complex32;

/* Element type codes that the MAXVAL, MINVAL, MAXLOC and MINLOC entries pass
 * to their workers (not the type codes of the type word). */
enum ElemCode {
  F90_ELEM_I1 = 7,
  F90_ELEM_I2 = 8,
  F90_ELEM_I4 = 15,
  F90_ELEM_I8 = 17,
  F90_ELEM_R8 = 18,
  F90_ELEM_R16 = 19,
  F90_ELEM_R4 = 20
};

/* Start-value selectors passed with the ElemCode to __maxval and __minval. */
enum ValKind {
  F90_VK_I8 = 1,
  F90_VK_I4 = 3,
  F90_VK_I2 = 4,
  F90_VK_I1 = 5,
  F90_VK_R16 = 6,
  F90_VK_R8 = 7,
  F90_VK_R4 = 8
};

#if defined(__i386__)
#ifdef __cplusplus
static_assert(sizeof(DoubleDouble) == 16 && sizeof(Complex32) == 32, "i386 layout");
static_assert(sizeof(Complex8) == 8 && sizeof(Complex16) == 16, "i386 layout");
#else
typedef char f90_check_double_double[sizeof(DoubleDouble) == 16 ? 1 : -1];
typedef char f90_check_complex32[sizeof(Complex32) == 32 ? 1 : -1];
typedef char f90_check_complex8[sizeof(Complex8) == 8 ? 1 : -1];
#endif
#endif

#ifdef __cplusplus
}
#endif
#endif
