// The MATMUL set-up every MATMUL entry point calls first.
#pragma once

#include <cstdint>

#include "f90/matmul.h"
#include "symbols.h"

namespace f90::matrix {

// Fills *ctx from the result and operand descriptors (transposition flags
// applied, strides in elements), completing and allocating a result that
// has no storage. Returns 0 when *ctx is complete; otherwise the message
// number it has reported (1406, 1407, 1205), and no kernel may be called
// with *ctx.
F90_API int32_t premult(ArrayDescriptor* result, const ArrayDescriptor* a,
                        const ArrayDescriptor* b, MatmulContext* ctx, int32_t flags)
    F90_SYMBOL(_premult);

}  // namespace f90::matrix
