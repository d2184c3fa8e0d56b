// GEMM kernels of the logical kinds: C(i,j) is the bitwise OR of A(i,l) over
// every l whose B(l,j) has a nonzero bit pattern at B's width (a LOGICAL*8 B
// by its low word only); all zero bits when there is none. Values are raw
// bit patterns, never normalised. With a LOGICAL*8 A and C the low words are
// ORed, A's high word is never read and C's high word is 0. One loop order.
#include "matrix/gemm_loops.h"
#include "matrix/gemm_terms.h"
#include "matrix/kernels.h"

using namespace f90::matrix;

void lgemmx(F90_GEMM_PARAMS) { gemm_by_columns<LogicalKind<8, 8>>(F90_GEMM_READ); }
void ll4gemmx(F90_GEMM_PARAMS) { gemm_by_columns<LogicalKind<8, 4>>(F90_GEMM_READ); }
void ll2gemmx(F90_GEMM_PARAMS) { gemm_by_columns<LogicalKind<8, 2>>(F90_GEMM_READ); }
void ll1gemmx(F90_GEMM_PARAMS) { gemm_by_columns<LogicalKind<8, 1>>(F90_GEMM_READ); }
void l4gemmx(F90_GEMM_PARAMS) { gemm_by_columns<LogicalKind<4, 4>>(F90_GEMM_READ); }
void l4l2gemmx(F90_GEMM_PARAMS) { gemm_by_columns<LogicalKind<4, 2>>(F90_GEMM_READ); }
void l4l1gemmx(F90_GEMM_PARAMS) { gemm_by_columns<LogicalKind<4, 1>>(F90_GEMM_READ); }
void l2gemmx(F90_GEMM_PARAMS) { gemm_by_columns<LogicalKind<2, 2>>(F90_GEMM_READ); }
void l2l1gemmx(F90_GEMM_PARAMS) { gemm_by_columns<LogicalKind<2, 1>>(F90_GEMM_READ); }
void l1gemmx(F90_GEMM_PARAMS) { gemm_by_columns<LogicalKind<1, 1>>(F90_GEMM_READ); }
