// COUNT: the worker __count and its six entries (_COUNT, _COUNT_4, _COUNT_8 into a
// result descriptor; _COUNT0, _COUNT0_4, _COUNT0_8 returning the value).
#include "array/logical_reduction.h"

F90_LOGICAL_ENTRY_POINTS(COUNT, count, f90::logical::Op::Count)
