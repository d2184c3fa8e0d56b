// ANY: the worker __any and its six entries (_ANY, _ANY_4, _ANY_8 into a
// result descriptor; _ANY0, _ANY0_4, _ANY0_8 returning the value).
#include "array/logical_reduction.h"

F90_LOGICAL_ENTRY_POINTS(ANY, any, f90::logical::Op::Any)
