/* MATMUL: the set-up _premult with its MatmulContext record, and the GEMM
 * and GEMV kernels the MATMUL entry points call (exported as well).
 *
 * Kernels take every argument by reference; counts and strides are 32-bit
 * INTEGERs, strides count elements of the array's own kind and may be zero
 * or negative. Arrays are addresses of their first element (kinds as each
 * line says). A kernel checks nothing, reports nothing, allocates nothing;
 * C (y) must not overlap A or B (x). The kernels return nothing.
 *
 *   GEMM (M, N, K, A, As1, As2, B, Bs1, Bs2, C, Cs1, Cs2): C = A.B,
 *        A M x K, B K x N, C M x N; A(i,k) lies (i-1)*As1 + (k-1)*As2
 *        elements past A.
 *   GEMV (M, N, A, As1, As2, x, incx, y, incy): y = A.x, A M x N.
 *   GEMMX2 (M, N, K, alpha, A, As1, As2, B, Bs1, Bs2, beta, C, Cs1, Cs2):
 *        C = alpha.A.B + beta.C.
 * A kernel named _<a><b>... takes A of kind a and B of kind b. REAL*16
 * elements are (high, low) pairs of doubles, COMPLEX*32 elements (real,
 * imaginary) pairs of REAL*16. */
#ifndef F90_MATMUL_H
#define F90_MATMUL_H

#include <stdint.h>

#include "f90/descriptor.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Transposition flags, the fifth argument of _premult. */
#define MATMUL_TRANSPOSE_A 1
#define MATMUL_TRANSPOSE_B 2

/* The record _premult fills for a MATMUL entry point: 21 words; extents in
 * elements, strides in elements. A rank-1 operand is a matrix with a second
 * extent of 1 and a second stride equal to its first. */
typedef struct MatmulContext {
  void *a_base, *b_base, *c_base;
  int32_t a_rank, b_rank, c_rank;
  int32_t a_ext1, a_ext2, b_ext1, b_ext2, c_ext1, c_ext2;
  int32_t m, n, k;
  int32_t a_stride1, a_stride2, b_stride1, b_stride2, c_stride1, c_stride2;
} MatmulContext;

#if defined(__i386__)
#ifdef __cplusplus
static_assert(sizeof(MatmulContext) == 21 * 4, "21 words");
static_assert(offsetof(MatmulContext, m) == 12 * 4, "word 13");
#else
_Static_assert(sizeof(MatmulContext) == 21 * 4, "21 words");
#endif
#endif

/* Checks ranks and shapes, completes and allocates a result without
 * storage, fills *ctx. Reports 1406, 1407 or 1205 at level 4; returns 0
 * when *ctx is complete, else the number reported (ctx then incomplete). */
int32_t _premult(ArrayDescriptor *result, const ArrayDescriptor *a, const ArrayDescriptor *b,
                 MatmulContext *ctx, int32_t flags);

#define F90_GEMM_ARGUMENTS                                                                   \
  const int32_t *m, const int32_t *n, const int32_t *k, const void *a, const int32_t *as1,  \
      const int32_t *as2, const void *b, const int32_t *bs1, const int32_t *bs2, void *c,   \
      const int32_t *cs1, const int32_t *cs2
#define F90_GEMV_ARGUMENTS                                                                   \
  const int32_t *m, const int32_t *n, const void *a, const int32_t *as1, const int32_t *as2, \
      const void *x, const int32_t *incx, void *y, const int32_t *incy
#define F90_GEMM2_ARGUMENTS                                                                  \
  const int32_t *m, const int32_t *n, const int32_t *k, const void *alpha, const void *a,   \
      const int32_t *as1, const int32_t *as2, const void *b, const int32_t *bs1,            \
      const int32_t *bs2, const void *beta, void *c, const int32_t *cs1, const int32_t *cs2

/* The signatures of every GEMM and GEMV kernel. */
typedef void F90GemmKernel(F90_GEMM_ARGUMENTS);
typedef void F90GemvKernel(F90_GEMV_ARGUMENTS);

/* x87 real kernels; C has B's kind. */
void _SGEMMX(F90_GEMM_ARGUMENTS);    /* REAL*8 x REAL*8 -> REAL*8 */
void _S4GEMMX(F90_GEMM_ARGUMENTS);   /* REAL*4 x REAL*4 -> REAL*4 */
void _S4SGEMMX(F90_GEMM_ARGUMENTS);  /* REAL*4 x REAL*8 -> REAL*8 */
void _I4SGEMMX(F90_GEMM_ARGUMENTS);  /* INTEGER*4 x REAL*8 -> REAL*8 */
void _I2SGEMMX(F90_GEMM_ARGUMENTS);  /* INTEGER*2 x REAL*8 -> REAL*8 */
void _I1SGEMMX(F90_GEMM_ARGUMENTS);  /* INTEGER*1 x REAL*8 -> REAL*8 */
void _I4S4GEMMX(F90_GEMM_ARGUMENTS); /* INTEGER*4 x REAL*4 -> REAL*4 */
void _I2S4GEMMX(F90_GEMM_ARGUMENTS); /* INTEGER*2 x REAL*4 -> REAL*4 */
void _I1S4GEMMX(F90_GEMM_ARGUMENTS); /* INTEGER*1 x REAL*4 -> REAL*4 */

/* x87 complex kernels, no conjugation. */
void _CGEMMX(F90_GEMM_ARGUMENTS);  /* COMPLEX*16 x COMPLEX*16 -> COMPLEX*16 */
void _C4GEMMX(F90_GEMM_ARGUMENTS); /* COMPLEX*8 x COMPLEX*8 -> COMPLEX*8 */

/* Integer kernels, wrapping; C has A's kind. */
void _I4GEMMX(F90_GEMM_ARGUMENTS);   /* INTEGER*4 x INTEGER*4 -> INTEGER*4 */
void _I4I2GEMMX(F90_GEMM_ARGUMENTS); /* INTEGER*4 x INTEGER*2 -> INTEGER*4 */
void _I4I1GEMMX(F90_GEMM_ARGUMENTS); /* INTEGER*4 x INTEGER*1 -> INTEGER*4 */
void _I2GEMMX(F90_GEMM_ARGUMENTS);   /* INTEGER*2 x INTEGER*2 -> INTEGER*2 */
void _I2I1GEMMX(F90_GEMM_ARGUMENTS); /* INTEGER*2 x INTEGER*1 -> INTEGER*2 */
void _I1GEMMX(F90_GEMM_ARGUMENTS);   /* INTEGER*1 x INTEGER*1 -> INTEGER*1 */
void _JGEMMX(F90_GEMM_ARGUMENTS);    /* INTEGER*8 x INTEGER*8 -> INTEGER*8 */
void _JI4GEMMX(F90_GEMM_ARGUMENTS);  /* INTEGER*8 x INTEGER*4 -> INTEGER*8 */
void _JI2GEMMX(F90_GEMM_ARGUMENTS);  /* INTEGER*8 x INTEGER*2 -> INTEGER*8 */
void _JI1GEMMX(F90_GEMM_ARGUMENTS);  /* INTEGER*8 x INTEGER*1 -> INTEGER*8 */

/* Logical kernels, OR of raw bits; C has A's kind. */
void _LGEMMX(F90_GEMM_ARGUMENTS);    /* LOGICAL*8 x LOGICAL*8 -> LOGICAL*8 */
void _LL4GEMMX(F90_GEMM_ARGUMENTS);  /* LOGICAL*8 x LOGICAL*4 -> LOGICAL*8 */
void _LL2GEMMX(F90_GEMM_ARGUMENTS);  /* LOGICAL*8 x LOGICAL*2 -> LOGICAL*8 */
void _LL1GEMMX(F90_GEMM_ARGUMENTS);  /* LOGICAL*8 x LOGICAL*1 -> LOGICAL*8 */
void _L4GEMMX(F90_GEMM_ARGUMENTS);   /* LOGICAL*4 x LOGICAL*4 -> LOGICAL*4 */
void _L4L2GEMMX(F90_GEMM_ARGUMENTS); /* LOGICAL*4 x LOGICAL*2 -> LOGICAL*4 */
void _L4L1GEMMX(F90_GEMM_ARGUMENTS); /* LOGICAL*4 x LOGICAL*1 -> LOGICAL*4 */
void _L2GEMMX(F90_GEMM_ARGUMENTS);   /* LOGICAL*2 x LOGICAL*2 -> LOGICAL*2 */
void _L2L1GEMMX(F90_GEMM_ARGUMENTS); /* LOGICAL*2 x LOGICAL*1 -> LOGICAL*2 */
void _L1GEMMX(F90_GEMM_ARGUMENTS);   /* LOGICAL*1 x LOGICAL*1 -> LOGICAL*1 */

/* GEMV kernels, rounded at every store. */
void _SGEMVX(F90_GEMV_ARGUMENTS);  /* REAL*8 */
void _S4GEMVX(F90_GEMV_ARGUMENTS); /* REAL*4 */
void _CGEMVX(F90_GEMV_ARGUMENTS);  /* COMPLEX*16 */
void _C4GEMVX(F90_GEMV_ARGUMENTS); /* COMPLEX*8 */

/* Kernels with a REAL*16, COMPLEX*32 or INTEGER*8-by-real side, and the
 * GEMMX2 forms C = alpha.A.B + beta.C (alpha and beta of C's kind). REAL*16
 * elements are (high, low) pairs of doubles, COMPLEX*32 elements (real,
 * imaginary) pairs of REAL*16. */
typedef void F90Gemm2Kernel(F90_GEMM2_ARGUMENTS);
void _DDGEMMX(F90_GEMM_ARGUMENTS);    /* REAL*16 x REAL*16 -> REAL*16 */
void _DGEMMX(F90_GEMM_ARGUMENTS);     /* REAL*16 x REAL*16 -> REAL*16, as _DDGEMMX */
void _DSGEMMX(F90_GEMM_ARGUMENTS);    /* REAL*16 x REAL*8 -> REAL*16 */
void _DS4GEMMX(F90_GEMM_ARGUMENTS);   /* REAL*16 x REAL*4 -> REAL*16 */
void _SDGEMMX(F90_GEMM_ARGUMENTS);    /* REAL*8 x REAL*16 -> REAL*16 */
void _S4DGEMMX(F90_GEMM_ARGUMENTS);   /* REAL*4 x REAL*16 -> REAL*16 */
void _I4DGEMMX(F90_GEMM_ARGUMENTS);   /* INTEGER*4 x REAL*16 -> REAL*16 */
void _I2DGEMMX(F90_GEMM_ARGUMENTS);   /* INTEGER*2 x REAL*16 -> REAL*16 */
void _I1DGEMMX(F90_GEMM_ARGUMENTS);   /* INTEGER*1 x REAL*16 -> REAL*16 */
void _JDGEMMX(F90_GEMM_ARGUMENTS);    /* INTEGER*8 x REAL*16 -> REAL*16 */
void _ZGEMMX(F90_GEMM_ARGUMENTS);     /* COMPLEX*32 x COMPLEX*32 -> COMPLEX*32 */
void _ZGEMVX(F90_GEMV_ARGUMENTS);     /* COMPLEX*32 */
void _JSGEMMX(F90_GEMM_ARGUMENTS);    /* INTEGER*8 x REAL*8 -> REAL*8, rounded every term */
void _JS4GEMMX(F90_GEMM_ARGUMENTS);   /* INTEGER*8 x REAL*4 -> REAL*4, rounded every term */
void _S4SGEMMX2(F90_GEMM2_ARGUMENTS); /* REAL*4 x REAL*8; REAL*8 C, alpha, beta */
void _S4DGEMMX2(F90_GEMM2_ARGUMENTS); /* REAL*4 x REAL*16; REAL*16 C, alpha, beta */
void _DSGEMMX2(F90_GEMM2_ARGUMENTS);  /* REAL*16 x REAL*8; REAL*16 C, alpha, beta */
void _DS4GEMMX2(F90_GEMM2_ARGUMENTS); /* REAL*16 x REAL*4; REAL*16 C, alpha, beta */
/* End of the kernels with a REAL*16, COMPLEX*32 or INTEGER*8-by-real side. */

/* MATMUL(A, B) entry points _MATMUL_<A><B>: (result, A, B, pointer to the
 * transposition flags MATMUL_TRANSPOSE_A | MATMUL_TRANSPOSE_B, or null).
 * I4 and L4 take a default-length INTEGER or LOGICAL of 4, 2 or 1 bytes, as
 * the operand's type word says. A result without storage is shaped and
 * allocated; errors go to _lerror (1406 ranks, 1407 shapes, 1205
 * allocation). */
#define F90_MATMUL_ARGUMENTS                                                                \
  ArrayDescriptor *result, const ArrayDescriptor *a, const ArrayDescriptor *b,               \
      const int32_t *flags
typedef void F90MatmulDriver(F90_MATMUL_ARGUMENTS);
void _MATMUL_S4S4(F90_MATMUL_ARGUMENTS);   /* REAL*4 x REAL*4 */
void _MATMUL_SS(F90_MATMUL_ARGUMENTS);     /* REAL*8 x REAL*8 */
void _MATMUL_DD(F90_MATMUL_ARGUMENTS);     /* REAL*16 x REAL*16 */
void _MATMUL_C4C4(F90_MATMUL_ARGUMENTS);   /* COMPLEX*8 x COMPLEX*8 */
void _MATMUL_CC(F90_MATMUL_ARGUMENTS);     /* COMPLEX*16 x COMPLEX*16 */
void _MATMUL_ZZ(F90_MATMUL_ARGUMENTS);     /* COMPLEX*32 x COMPLEX*32 */
void _MATMUL_S4S(F90_MATMUL_ARGUMENTS);    /* REAL*4 x REAL*8 */
void _MATMUL_SS4(F90_MATMUL_ARGUMENTS);    /* REAL*8 x REAL*4 */
void _MATMUL_DS(F90_MATMUL_ARGUMENTS);     /* REAL*16 x REAL*8 */
void _MATMUL_DS4(F90_MATMUL_ARGUMENTS);    /* REAL*16 x REAL*4 */
void _MATMUL_S4D(F90_MATMUL_ARGUMENTS);    /* REAL*4 x REAL*16 */
void _MATMUL_C4S4(F90_MATMUL_ARGUMENTS);   /* COMPLEX*8 x REAL*4 */
void _MATMUL_S4C4(F90_MATMUL_ARGUMENTS);   /* REAL*4 x COMPLEX*8 */
void _MATMUL_C4S(F90_MATMUL_ARGUMENTS);    /* COMPLEX*8 x REAL*8 */
void _MATMUL_SC4(F90_MATMUL_ARGUMENTS);    /* REAL*8 x COMPLEX*8 */
void _MATMUL_CS4(F90_MATMUL_ARGUMENTS);    /* COMPLEX*16 x REAL*4 */
void _MATMUL_S4C(F90_MATMUL_ARGUMENTS);    /* REAL*4 x COMPLEX*16 */
void _MATMUL_CS(F90_MATMUL_ARGUMENTS);     /* COMPLEX*16 x REAL*8 */
void _MATMUL_SC(F90_MATMUL_ARGUMENTS);     /* REAL*8 x COMPLEX*16 */
void _MATMUL_CD(F90_MATMUL_ARGUMENTS);     /* COMPLEX*16 x REAL*16 */
void _MATMUL_DC(F90_MATMUL_ARGUMENTS);     /* REAL*16 x COMPLEX*16 */
void _MATMUL_ZS4(F90_MATMUL_ARGUMENTS);    /* COMPLEX*32 x REAL*4 */
void _MATMUL_S4Z(F90_MATMUL_ARGUMENTS);    /* REAL*4 x COMPLEX*32 */
void _MATMUL_ZS(F90_MATMUL_ARGUMENTS);     /* COMPLEX*32 x REAL*8 */
void _MATMUL_SZ(F90_MATMUL_ARGUMENTS);     /* REAL*8 x COMPLEX*32 */
void _MATMUL_ZD(F90_MATMUL_ARGUMENTS);     /* COMPLEX*32 x REAL*16 */
void _MATMUL_DZ(F90_MATMUL_ARGUMENTS);     /* REAL*16 x COMPLEX*32 */
void _MATMUL_C4C(F90_MATMUL_ARGUMENTS);    /* COMPLEX*8 x COMPLEX*16 */
void _MATMUL_CC4(F90_MATMUL_ARGUMENTS);    /* COMPLEX*16 x COMPLEX*8 */
void _MATMUL_ZC4(F90_MATMUL_ARGUMENTS);    /* COMPLEX*32 x COMPLEX*8 */
void _MATMUL_I4I4(F90_MATMUL_ARGUMENTS);   /* INTEGER*4/2/1 x INTEGER*4/2/1 */
void _MATMUL_L4L4(F90_MATMUL_ARGUMENTS);   /* LOGICAL*4/2/1 x LOGICAL*4/2/1 */
void _MATMUL_JJ(F90_MATMUL_ARGUMENTS);     /* INTEGER*8 x INTEGER*8 */
void _MATMUL_JI4(F90_MATMUL_ARGUMENTS);    /* INTEGER*8 x INTEGER*4/2/1 */
void _MATMUL_I4J(F90_MATMUL_ARGUMENTS);    /* INTEGER*4/2/1 x INTEGER*8 */
void _MATMUL_LL(F90_MATMUL_ARGUMENTS);     /* LOGICAL*8 x LOGICAL*8 */
void _MATMUL_LL4(F90_MATMUL_ARGUMENTS);    /* LOGICAL*8 x LOGICAL*4/2/1 */
void _MATMUL_L4L(F90_MATMUL_ARGUMENTS);    /* LOGICAL*4/2/1 x LOGICAL*8 */
void _MATMUL_JS4(F90_MATMUL_ARGUMENTS);    /* INTEGER*8 x REAL*4 */
void _MATMUL_S4J(F90_MATMUL_ARGUMENTS);    /* REAL*4 x INTEGER*8 */
void _MATMUL_JS(F90_MATMUL_ARGUMENTS);     /* INTEGER*8 x REAL*8 */
void _MATMUL_SJ(F90_MATMUL_ARGUMENTS);     /* REAL*8 x INTEGER*8 */
void _MATMUL_JD(F90_MATMUL_ARGUMENTS);     /* INTEGER*8 x REAL*16 */
void _MATMUL_DJ(F90_MATMUL_ARGUMENTS);     /* REAL*16 x INTEGER*8 */
void _MATMUL_I4S4(F90_MATMUL_ARGUMENTS);   /* INTEGER*4/2/1 x REAL*4 */
void _MATMUL_S4I4(F90_MATMUL_ARGUMENTS);   /* REAL*4 x INTEGER*4/2/1 */
void _MATMUL_I4S(F90_MATMUL_ARGUMENTS);    /* INTEGER*4/2/1 x REAL*8 */
void _MATMUL_SI4(F90_MATMUL_ARGUMENTS);    /* REAL*8 x INTEGER*4/2/1 */
void _MATMUL_I4D(F90_MATMUL_ARGUMENTS);    /* INTEGER*4/2/1 x REAL*16 */
void _MATMUL_DI4(F90_MATMUL_ARGUMENTS);    /* REAL*16 x INTEGER*4/2/1 */
void _MATMUL_JC4(F90_MATMUL_ARGUMENTS);    /* INTEGER*8 x COMPLEX*8 */
void _MATMUL_C4J(F90_MATMUL_ARGUMENTS);    /* COMPLEX*8 x INTEGER*8 */
void _MATMUL_JC(F90_MATMUL_ARGUMENTS);     /* INTEGER*8 x COMPLEX*16 */
void _MATMUL_CJ(F90_MATMUL_ARGUMENTS);     /* COMPLEX*16 x INTEGER*8 */
void _MATMUL_I4C4(F90_MATMUL_ARGUMENTS);   /* INTEGER*4/2/1 x COMPLEX*8 */
void _MATMUL_C4I4(F90_MATMUL_ARGUMENTS);   /* COMPLEX*8 x INTEGER*4/2/1 */
void _MATMUL_I4C(F90_MATMUL_ARGUMENTS);    /* INTEGER*4/2/1 x COMPLEX*16 */
void _MATMUL_CI4(F90_MATMUL_ARGUMENTS);    /* COMPLEX*16 x INTEGER*4/2/1 */
/* End of the MATMUL entry points. */


#ifdef __cplusplus
}
#endif
#endif
