// MINLOC: the worker __minloc and its 16 typed entries (_MINLOC_<type>
// without DIM, _MINLOC__<type> with a DIM position).
#include "array/location.h"

namespace {
constexpr auto kDirection = f90::extremum::Dir::Min;
}

F90_LOCATION_WORKER(__minloc, minloc_worker)
F90_LOCATION_ENTRY(_MINLOC_I4, minloc_i4, ELEM_I4)
F90_LOCATION_DIM_ENTRY(_MINLOC__I4, minloc_dim_i4, ELEM_I4)
F90_LOCATION_ENTRY(_MINLOC_I2, minloc_i2, ELEM_I2)
F90_LOCATION_DIM_ENTRY(_MINLOC__I2, minloc_dim_i2, ELEM_I2)
F90_LOCATION_ENTRY(_MINLOC_I1, minloc_i1, ELEM_I1)
F90_LOCATION_DIM_ENTRY(_MINLOC__I1, minloc_dim_i1, ELEM_I1)
F90_LOCATION_ENTRY(_MINLOC_I, minloc_i, ELEM_I8)
F90_LOCATION_DIM_ENTRY(_MINLOC__I, minloc_dim_i, ELEM_I8)
F90_LOCATION_ENTRY(_MINLOC_J, minloc_j, ELEM_I8)
F90_LOCATION_DIM_ENTRY(_MINLOC__J, minloc_dim_j, ELEM_I8)
F90_LOCATION_ENTRY(_MINLOC_S, minloc_s, ELEM_R8)
F90_LOCATION_DIM_ENTRY(_MINLOC__S, minloc_dim_s, ELEM_R8)
F90_LOCATION_ENTRY(_MINLOC_D, minloc_d, ELEM_R16)
F90_LOCATION_DIM_ENTRY(_MINLOC__D, minloc_dim_d, ELEM_R16)
F90_LOCATION_ENTRY(_MINLOC_S4, minloc_s4, ELEM_R4)
F90_LOCATION_DIM_ENTRY(_MINLOC__S4, minloc_dim_s4, ELEM_R4)
