// SUM(ARRAY, DIM [, MASK]): _SUM_I1 ... _SUM_Z.
#include "prodsum/sumdim.h"

F90_DIM_ENTRIES(SUM, sum_dim, f90::prodsum::Op::sum)
