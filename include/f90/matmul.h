/* MATMUL: the drivers, the set-up and the GEMM, GEMV and GEMMX2 kernels of
 * libf90intr (i386, cdecl).
 *
 * Kernel arguments all come by reference; counts and strides are INTEGER*4,
 * strides count elements of the array's own kind and may be zero or
 * negative. GEMM: (M, N, K, A, As1, As2, B, Bs1, Bs2, C, Cs1, Cs2) stores
 * C = A.B, A M x K, B K x N. GEMV: (M, N, A, As1, As2, x, incx, y, incy)
 * stores y = A.x. GEMMX2: (M, N, K, alpha, A, As1, As2, B, Bs1, Bs2, beta, C,
 * Cs1, Cs2) stores C = alpha.A.B + beta.C. A kernel named _<a><b>... takes A
 * of kind a and B of kind b. REAL*16 elements are (high, low) pairs of
 * doubles, COMPLEX*32 elements (real, imaginary) pairs of REAL*16. */
#ifndef F90_MATMUL_H
#define F90_MATMUL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Kernels with a REAL*16, COMPLEX*32 or INTEGER*8-by-real side, and GEMMX2. */
/* REAL*16 x REAL*16 -> REAL*16. */
void _DDGEMMX(const int32_t *m, const int32_t *n, const int32_t *k, const void *a,
              const int32_t *as1, const int32_t *as2, const void *b, const int32_t *bs1,
              const int32_t *bs2, void *c, const int32_t *cs1, const int32_t *cs2);
/* REAL*16 x REAL*16 -> REAL*16, the same as _DDGEMMX. */
void _DGEMMX(const int32_t *m, const int32_t *n, const int32_t *k, const void *a,
             const int32_t *as1, const int32_t *as2, const void *b, const int32_t *bs1,
             const int32_t *bs2, void *c, const int32_t *cs1, const int32_t *cs2);
/* REAL*16 x REAL*8 -> REAL*16. */
void _DSGEMMX(const int32_t *m, const int32_t *n, const int32_t *k, const void *a,
              const int32_t *as1, const int32_t *as2, const double *b, const int32_t *bs1,
              const int32_t *bs2, void *c, const int32_t *cs1, const int32_t *cs2);
/* REAL*16 x REAL*4 -> REAL*16. */
void _DS4GEMMX(const int32_t *m, const int32_t *n, const int32_t *k, const void *a,
               const int32_t *as1, const int32_t *as2, const float *b, const int32_t *bs1,
               const int32_t *bs2, void *c, const int32_t *cs1, const int32_t *cs2);
/* REAL*8 x REAL*16 -> REAL*16. */
void _SDGEMMX(const int32_t *m, const int32_t *n, const int32_t *k, const double *a,
              const int32_t *as1, const int32_t *as2, const void *b, const int32_t *bs1,
              const int32_t *bs2, void *c, const int32_t *cs1, const int32_t *cs2);
/* REAL*4 x REAL*16 -> REAL*16. */
void _S4DGEMMX(const int32_t *m, const int32_t *n, const int32_t *k, const float *a,
               const int32_t *as1, const int32_t *as2, const void *b, const int32_t *bs1,
               const int32_t *bs2, void *c, const int32_t *cs1, const int32_t *cs2);
/* INTEGER*4 x REAL*16 -> REAL*16. */
void _I4DGEMMX(const int32_t *m, const int32_t *n, const int32_t *k, const int32_t *a,
               const int32_t *as1, const int32_t *as2, const void *b, const int32_t *bs1,
               const int32_t *bs2, void *c, const int32_t *cs1, const int32_t *cs2);
/* INTEGER*2 x REAL*16 -> REAL*16. */
void _I2DGEMMX(const int32_t *m, const int32_t *n, const int32_t *k, const int16_t *a,
               const int32_t *as1, const int32_t *as2, const void *b, const int32_t *bs1,
               const int32_t *bs2, void *c, const int32_t *cs1, const int32_t *cs2);
/* INTEGER*1 x REAL*16 -> REAL*16. */
void _I1DGEMMX(const int32_t *m, const int32_t *n, const int32_t *k, const int8_t *a,
               const int32_t *as1, const int32_t *as2, const void *b, const int32_t *bs1,
               const int32_t *bs2, void *c, const int32_t *cs1, const int32_t *cs2);
/* INTEGER*8 x REAL*16 -> REAL*16. */
void _JDGEMMX(const int32_t *m, const int32_t *n, const int32_t *k, const int64_t *a,
              const int32_t *as1, const int32_t *as2, const void *b, const int32_t *bs1,
              const int32_t *bs2, void *c, const int32_t *cs1, const int32_t *cs2);
/* COMPLEX*32 x COMPLEX*32 -> COMPLEX*32. */
void _ZGEMMX(const int32_t *m, const int32_t *n, const int32_t *k, const void *a,
             const int32_t *as1, const int32_t *as2, const void *b, const int32_t *bs1,
             const int32_t *bs2, void *c, const int32_t *cs1, const int32_t *cs2);
/* COMPLEX*32 matrix times COMPLEX*32 vector. */
void _ZGEMVX(const int32_t *m, const int32_t *n, const void *a, const int32_t *as1,
             const int32_t *as2, const void *x, const int32_t *incx, void *y,
             const int32_t *incy);
/* INTEGER*8 x REAL*8 -> REAL*8, rounded after every term. */
void _JSGEMMX(const int32_t *m, const int32_t *n, const int32_t *k, const int64_t *a,
              const int32_t *as1, const int32_t *as2, const double *b, const int32_t *bs1,
              const int32_t *bs2, double *c, const int32_t *cs1, const int32_t *cs2);
/* INTEGER*8 x REAL*4 -> REAL*4, rounded after every term. */
void _JS4GEMMX(const int32_t *m, const int32_t *n, const int32_t *k, const int64_t *a,
               const int32_t *as1, const int32_t *as2, const float *b, const int32_t *bs1,
               const int32_t *bs2, float *c, const int32_t *cs1, const int32_t *cs2);
/* alpha.(REAL*4 x REAL*8) + beta.C, REAL*8 C, alpha, beta. */
void _S4SGEMMX2(const int32_t *m, const int32_t *n, const int32_t *k, const double *alpha,
                const float *a, const int32_t *as1, const int32_t *as2, const double *b,
                const int32_t *bs1, const int32_t *bs2, const double *beta, double *c,
                const int32_t *cs1, const int32_t *cs2);
/* alpha.(REAL*4 x REAL*16) + beta.C, REAL*16 C, alpha, beta. */
void _S4DGEMMX2(const int32_t *m, const int32_t *n, const int32_t *k, const void *alpha,
                const float *a, const int32_t *as1, const int32_t *as2, const void *b,
                const int32_t *bs1, const int32_t *bs2, const void *beta, void *c,
                const int32_t *cs1, const int32_t *cs2);
/* alpha.(REAL*16 x REAL*8) + beta.C, REAL*16 C, alpha, beta. */
void _DSGEMMX2(const int32_t *m, const int32_t *n, const int32_t *k, const void *alpha,
               const void *a, const int32_t *as1, const int32_t *as2, const double *b,
               const int32_t *bs1, const int32_t *bs2, const void *beta, void *c,
               const int32_t *cs1, const int32_t *cs2);
/* alpha.(REAL*16 x REAL*4) + beta.C, REAL*16 C, alpha, beta. */
void _DS4GEMMX2(const int32_t *m, const int32_t *n, const int32_t *k, const void *alpha,
                const void *a, const int32_t *as1, const int32_t *as2, const float *b,
                const int32_t *bs1, const int32_t *bs2, const void *beta, void *c,
                const int32_t *cs1, const int32_t *cs2);
/* End of the kernels with a REAL*16, COMPLEX*32 or INTEGER*8-by-real side. */

#ifdef __cplusplus
}
#endif
#endif
