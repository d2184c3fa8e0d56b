// ALL: the worker __all and its six entries (_ALL, _ALL_4, _ALL_8 into a
// result descriptor; _ALL0, _ALL0_4, _ALL0_8 returning the value).
#include "array/logical_reduction.h"

F90_LOGICAL_ENTRY_POINTS(ALL, all, f90::logical::Op::All)
