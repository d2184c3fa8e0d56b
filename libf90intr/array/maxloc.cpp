// MAXLOC: the worker __maxloc and its 16 typed entries (_MAXLOC_<type>
// without DIM, _MAXLOC__<type> with a DIM position).
#include "array/location.h"

namespace {
constexpr auto kDirection = f90::extremum::Dir::Max;
}

F90_LOCATION_ENTRY_POINTS(MAXLOC, maxloc)
