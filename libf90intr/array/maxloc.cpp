// MAXLOC: the worker __maxloc and its 16 typed entries (_MAXLOC_<type>
// without DIM, _MAXLOC__<type> with a DIM position).
#include "array/location.h"

namespace {
constexpr auto kDirection = f90::extremum::Dir::Max;
}

F90_LOCATION_WORKER(__maxloc, maxloc_worker)
F90_LOCATION_ENTRY(_MAXLOC_I4, maxloc_i4, ELEM_I4)
F90_LOCATION_DIM_ENTRY(_MAXLOC__I4, maxloc_dim_i4, ELEM_I4)
F90_LOCATION_ENTRY(_MAXLOC_I2, maxloc_i2, ELEM_I2)
F90_LOCATION_DIM_ENTRY(_MAXLOC__I2, maxloc_dim_i2, ELEM_I2)
F90_LOCATION_ENTRY(_MAXLOC_I1, maxloc_i1, ELEM_I1)
F90_LOCATION_DIM_ENTRY(_MAXLOC__I1, maxloc_dim_i1, ELEM_I1)
F90_LOCATION_ENTRY(_MAXLOC_I, maxloc_i, ELEM_I8)
F90_LOCATION_DIM_ENTRY(_MAXLOC__I, maxloc_dim_i, ELEM_I8)
F90_LOCATION_ENTRY(_MAXLOC_J, maxloc_j, ELEM_I8)
F90_LOCATION_DIM_ENTRY(_MAXLOC__J, maxloc_dim_j, ELEM_I8)
F90_LOCATION_ENTRY(_MAXLOC_S, maxloc_s, ELEM_R8)
F90_LOCATION_DIM_ENTRY(_MAXLOC__S, maxloc_dim_s, ELEM_R8)
F90_LOCATION_ENTRY(_MAXLOC_D, maxloc_d, ELEM_R16)
F90_LOCATION_DIM_ENTRY(_MAXLOC__D, maxloc_dim_d, ELEM_R16)
F90_LOCATION_ENTRY(_MAXLOC_S4, maxloc_s4, ELEM_R4)
F90_LOCATION_DIM_ENTRY(_MAXLOC__S4, maxloc_dim_s4, ELEM_R4)
