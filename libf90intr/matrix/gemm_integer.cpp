// GEMM kernels of the integer kinds. C has the kind of A, the wider operand.
//
// INTEGER*4/2/1: elements sign-extended to 32 bits, products and sums in
// wrapping 32-bit arithmetic, C stored cut to its width: every C(i,j) is the
// exact sum modulo 2^width, read as signed. INTEGER*8: B sign-extended to 64
// bits, each product the low 64 bits of the two's-complement product, sums
// modulo 2^64. Wrapping arithmetic gives the same bits in any order, so the
// loop-order rule only decides how memory is walked.
#include "matrix/gemm_loops.h"
#include "matrix/gemm_terms.h"
#include "matrix/kernels.h"

using namespace f90::matrix;

void i4gemmx(F90_GEMM_PARAMS) { gemm<IntegerKind<int32_t, int32_t>>(F90_GEMM_READ); }
void i4i2gemmx(F90_GEMM_PARAMS) { gemm<IntegerKind<int32_t, int16_t>>(F90_GEMM_READ); }
void i4i1gemmx(F90_GEMM_PARAMS) { gemm<IntegerKind<int32_t, int8_t>>(F90_GEMM_READ); }
void i2gemmx(F90_GEMM_PARAMS) { gemm<IntegerKind<int16_t, int16_t>>(F90_GEMM_READ); }
void i2i1gemmx(F90_GEMM_PARAMS) { gemm<IntegerKind<int16_t, int8_t>>(F90_GEMM_READ); }
void i1gemmx(F90_GEMM_PARAMS) { gemm<IntegerKind<int8_t, int8_t>>(F90_GEMM_READ); }
void jgemmx(F90_GEMM_PARAMS) { gemm<Integer8Kind<int64_t>>(F90_GEMM_READ); }
void ji4gemmx(F90_GEMM_PARAMS) { gemm<Integer8Kind<int32_t>>(F90_GEMM_READ); }
void ji2gemmx(F90_GEMM_PARAMS) { gemm<Integer8Kind<int16_t>>(F90_GEMM_READ); }
void ji1gemmx(F90_GEMM_PARAMS) { gemm<Integer8Kind<int8_t>>(F90_GEMM_READ); }
