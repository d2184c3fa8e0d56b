// PRODUCT(ARRAY [, DIM] [, MASK]) to one scalar: _PROD0_I1 ... _PROD0_Z.
#include "prodsum/whole.h"

F90_WHOLE_ENTRIES(PROD0, prod0, f90::prodsum::Op::product)
