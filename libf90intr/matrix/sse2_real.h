// REAL*8 and REAL*4 products in SSE2 lanes where they are proven to give
// the x87's bits (the proof is in matrix/sse2_real.cpp).
#pragma once

#include <cstdint>

#include "matrix/kernel.h"

namespace f90::matrix {

// True when the product g, under x87 control word cw, may run in SSE2 lanes
// with the x87's bits: SSE2 present, 53-bit precision, operands scanned in
// range, and enough work to pay for the scan.
bool sse2_real8_exact(const GemmCall& g, uint16_t cw);

// Runs g in the lanes, in the rounding mode of cw (the caller's MXCSR is
// restored). Only after sse2_real8_exact(g, cw).
void sse2_real8_gemm(const GemmCall& g, uint16_t cw);

// The same for REAL*4 x REAL*4 (_S4GEMMX).
bool sse2_real4_exact(const GemmCall& g, uint16_t cw);
void sse2_real4_gemm(const GemmCall& g, uint16_t cw);

}  // namespace f90::matrix
