// DOT_PRODUCT kernels for LOGICAL by LOGICAL: the bitwise OR of the bitwise
// ANDs of the elements' raw values (LOGICAL*1/2 zero-extended, LOGICAL*8 by
// its low word alone), never normalised to 1. The result is cut to the wider
// operand's width and zero-extended into eax; with a LOGICAL*8 operand it is
// a LOGICAL*8 whose high word is 0. _DOT_LL is its own kernel.
#include "dotprod/dot.h"
#include "f90/dotprod.h"

using namespace f90::dot;
using AD = ArrayDescriptor;

F90_API uint32_t MX_DOT_L4L4(const AD* a, const AD* b) { return logical_dot<L4, L4, uint32_t>(a, b); }
F90_API uint32_t MX_DOT_L4L2(const AD* a, const AD* b) { return logical_dot<L4, L2, uint32_t>(a, b); }
F90_API uint32_t MX_DOT_L4L1(const AD* a, const AD* b) { return logical_dot<L4, L1, uint32_t>(a, b); }
F90_API uint32_t MX_DOT_L2L4(const AD* a, const AD* b) { return logical_dot<L2, L4, uint32_t>(a, b); }
F90_API uint32_t MX_DOT_L2L2(const AD* a, const AD* b) { return logical_dot<L2, L2, uint16_t>(a, b); }
F90_API uint32_t MX_DOT_L2L1(const AD* a, const AD* b) { return logical_dot<L2, L1, uint16_t>(a, b); }
F90_API uint32_t MX_DOT_L1L4(const AD* a, const AD* b) { return logical_dot<L1, L4, uint32_t>(a, b); }
F90_API uint32_t MX_DOT_L1L2(const AD* a, const AD* b) { return logical_dot<L1, L2, uint16_t>(a, b); }
F90_API uint32_t MX_DOT_L1L1(const AD* a, const AD* b) { return logical_dot<L1, L1, uint8_t>(a, b); }

F90_API uint64_t MX_DOT_LL4(const AD* a, const AD* b) { return logical_dot<L8, L4, uint32_t>(a, b); }
F90_API uint64_t MX_DOT_LL2(const AD* a, const AD* b) { return logical_dot<L8, L2, uint32_t>(a, b); }
F90_API uint64_t MX_DOT_LL1(const AD* a, const AD* b) { return logical_dot<L8, L1, uint32_t>(a, b); }
F90_API uint64_t MX_DOT_L4L(const AD* a, const AD* b) { return logical_dot<L4, L8, uint32_t>(a, b); }
F90_API uint64_t MX_DOT_L2L(const AD* a, const AD* b) { return logical_dot<L2, L8, uint32_t>(a, b); }
F90_API uint64_t MX_DOT_L1L(const AD* a, const AD* b) { return logical_dot<L1, L8, uint32_t>(a, b); }

F90_API uint64_t dot_ll(const AD* a, const AD* b) F90_SYMBOL(_DOT_LL);
uint64_t dot_ll(const AD* a, const AD* b) { return logical_dot<L8, L8, uint32_t>(a, b); }
