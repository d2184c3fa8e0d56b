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

namespace f90::matmul {

F90_API void i4gemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_I4GEMMX);
F90_API void i4i2gemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_I4I2GEMMX);
F90_API void i4i1gemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_I4I1GEMMX);
F90_API void i2gemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_I2GEMMX);
F90_API void i2i1gemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_I2I1GEMMX);
F90_API void i1gemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_I1GEMMX);
F90_API void jgemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_JGEMMX);
F90_API void ji4gemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_JI4GEMMX);
F90_API void ji2gemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_JI2GEMMX);
F90_API void ji1gemmx(F90_GEMM_ARGUMENTS) F90_SYMBOL(_JI1GEMMX);

void i4gemmx(F90_GEMM_ARGUMENTS) { run_gemm<IntegerTerms<int32_t, int32_t>>(F90_GEMM_READ); }
void i4i2gemmx(F90_GEMM_ARGUMENTS) { run_gemm<IntegerTerms<int32_t, int16_t>>(F90_GEMM_READ); }
void i4i1gemmx(F90_GEMM_ARGUMENTS) { run_gemm<IntegerTerms<int32_t, int8_t>>(F90_GEMM_READ); }
void i2gemmx(F90_GEMM_ARGUMENTS) { run_gemm<IntegerTerms<int16_t, int16_t>>(F90_GEMM_READ); }
void i2i1gemmx(F90_GEMM_ARGUMENTS) { run_gemm<IntegerTerms<int16_t, int8_t>>(F90_GEMM_READ); }
void i1gemmx(F90_GEMM_ARGUMENTS) { run_gemm<IntegerTerms<int8_t, int8_t>>(F90_GEMM_READ); }
void jgemmx(F90_GEMM_ARGUMENTS) { run_gemm<Integer8Terms<int64_t>>(F90_GEMM_READ); }
void ji4gemmx(F90_GEMM_ARGUMENTS) { run_gemm<Integer8Terms<int32_t>>(F90_GEMM_READ); }
void ji2gemmx(F90_GEMM_ARGUMENTS) { run_gemm<Integer8Terms<int16_t>>(F90_GEMM_READ); }
void ji1gemmx(F90_GEMM_ARGUMENTS) { run_gemm<Integer8Terms<int8_t>>(F90_GEMM_READ); }

}  // namespace f90::matmul
