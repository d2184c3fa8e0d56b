// SUM(ARRAY [, DIM] [, MASK]) to one scalar: _SUM0_I1 ... _SUM0_Z.
#include "prodsum/whole.h"

F90_WHOLE_ENTRIES(SUM0, sum0, f90::prodsum::Op::sum)
