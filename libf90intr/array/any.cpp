// ANY: the worker __any and its six entries (_ANY, _ANY_4, _ANY_8 into a
// result descriptor; _ANY0, _ANY0_4, _ANY0_8 returning the value).
#include "array/logical_reduction.h"

namespace {
constexpr auto kOp = f90::logical::Op::Any;
}

F90_LOGICAL_ARRAY_ENTRY(__any, any_worker, kOp)
F90_LOGICAL_ARRAY_ENTRY(_ANY, any_array, kOp)
F90_LOGICAL_ARRAY_ENTRY(_ANY_4, any_array_4, kOp)
F90_LOGICAL_ARRAY_ENTRY(_ANY_8, any_array_8, kOp)
F90_LOGICAL_SCALAR_ENTRY(_ANY0, any0, kOp, int32_t, 64)
F90_LOGICAL_SCALAR_ENTRY(_ANY0_4, any0_4, kOp, int32_t, 32)
F90_LOGICAL_SCALAR_ENTRY(_ANY0_8, any0_8, kOp, int64_t, 64)
