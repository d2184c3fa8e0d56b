// COUNT: the worker __count and its six entries (_COUNT, _COUNT_4, _COUNT_8 into a
// result descriptor; _COUNT0, _COUNT0_4, _COUNT0_8 returning the value).
#include "array/logical_reduction.h"

namespace {
constexpr auto kOp = f90::logical::Op::Count;
}

F90_LOGICAL_ARRAY_ENTRY(__count, count_worker, kOp)
F90_LOGICAL_ARRAY_ENTRY(_COUNT, count_array, kOp)
F90_LOGICAL_ARRAY_ENTRY(_COUNT_4, count_array_4, kOp)
F90_LOGICAL_ARRAY_ENTRY(_COUNT_8, count_array_8, kOp)
F90_LOGICAL_SCALAR_ENTRY(_COUNT0, count0, kOp, int32_t, 64)
F90_LOGICAL_SCALAR_ENTRY(_COUNT0_4, count0_4, kOp, int32_t, 32)
F90_LOGICAL_SCALAR_ENTRY(_COUNT0_8, count0_8, kOp, int64_t, 64)
