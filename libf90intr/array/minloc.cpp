// MINLOC: the worker __minloc and its 16 typed entries (_MINLOC_<type>
// without DIM, _MINLOC__<type> with a DIM position).
#include "array/location.h"

namespace {
constexpr auto kDirection = f90::extremum::Dir::Min;
}

F90_LOCATION_ENTRY_POINTS(MINLOC, minloc)
