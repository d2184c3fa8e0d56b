// DOT_PRODUCT kernels for INTEGER by INTEGER.
//
// INTEGER*1/2/4 pairs: 32-bit wrapping products and sum, the result cut to
// the wider operand's width and sign-extended into eax. Pairs with an
// INTEGER*8 side: the other operand sign-extended, 64-bit wrapping products
// (_morvex_lmul) and sum, the result in edx:eax.
#include "dotprod/dot.h"
#include "f90/dotprod.h"

using namespace f90::dot;
using AD = ArrayDescriptor;

F90_API int32_t MX_DOT_I4I4(const AD* a, const AD* b) { return integer_dot<I4, I4, int32_t>(a, b); }
F90_API int32_t MX_DOT_I4I2(const AD* a, const AD* b) { return integer_dot<I4, I2, int32_t>(a, b); }
F90_API int32_t MX_DOT_I4I1(const AD* a, const AD* b) { return integer_dot<I4, I1, int32_t>(a, b); }
F90_API int32_t MX_DOT_I2I4(const AD* a, const AD* b) { return integer_dot<I2, I4, int32_t>(a, b); }
F90_API int32_t MX_DOT_I2I2(const AD* a, const AD* b) { return integer_dot<I2, I2, int16_t>(a, b); }
F90_API int32_t MX_DOT_I2I1(const AD* a, const AD* b) { return integer_dot<I2, I1, int16_t>(a, b); }
F90_API int32_t MX_DOT_I1I4(const AD* a, const AD* b) { return integer_dot<I1, I4, int32_t>(a, b); }
F90_API int32_t MX_DOT_I1I2(const AD* a, const AD* b) { return integer_dot<I1, I2, int16_t>(a, b); }
F90_API int32_t MX_DOT_I1I1(const AD* a, const AD* b) { return integer_dot<I1, I1, int8_t>(a, b); }

F90_API int64_t MX_DOT_JJ(const AD* a, const AD* b) { return integer8_dot<J, J>(a, b); }
F90_API int64_t MX_DOT_JI4(const AD* a, const AD* b) { return integer8_dot<J, I4>(a, b); }
F90_API int64_t MX_DOT_JI2(const AD* a, const AD* b) { return integer8_dot<J, I2>(a, b); }
F90_API int64_t MX_DOT_JI1(const AD* a, const AD* b) { return integer8_dot<J, I1>(a, b); }
F90_API int64_t MX_DOT_I4J(const AD* a, const AD* b) { return integer8_dot<I4, J>(a, b); }
F90_API int64_t MX_DOT_I2J(const AD* a, const AD* b) { return integer8_dot<I2, J>(a, b); }
F90_API int64_t MX_DOT_I1J(const AD* a, const AD* b) { return integer8_dot<I1, J>(a, b); }
