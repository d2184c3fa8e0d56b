// PRODUCT(ARRAY, DIM [, MASK]): _PROD_I1 ... _PROD_Z.
#include "prodsum/sumdim.h"

F90_DIM_ENTRIES(PROD, prod_dim, f90::prodsum::Op::product)
