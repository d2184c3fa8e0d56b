// ALL: the worker __all and its six entries (_ALL, _ALL_4, _ALL_8 into a
// result descriptor; _ALL0, _ALL0_4, _ALL0_8 returning the value).
#include "array/logical_reduction.h"

namespace {
constexpr auto kOp = f90::logical::Op::All;
}

F90_LOGICAL_ARRAY_ENTRY(__all, all_worker, kOp)
F90_LOGICAL_ARRAY_ENTRY(_ALL, all_array, kOp)
F90_LOGICAL_ARRAY_ENTRY(_ALL_4, all_array_4, kOp)
F90_LOGICAL_ARRAY_ENTRY(_ALL_8, all_array_8, kOp)
F90_LOGICAL_SCALAR_ENTRY(_ALL0, all0, kOp, int32_t, 64)
F90_LOGICAL_SCALAR_ENTRY(_ALL0_4, all0_4, kOp, int32_t, 32)
F90_LOGICAL_SCALAR_ENTRY(_ALL0_8, all0_8, kOp, int64_t, 64)
