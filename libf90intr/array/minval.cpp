// MINVAL: the worker __minval and its 16 typed entries (_MINVAL_<type>
// with an array result, _MINVAL0_<type> returning the value).
#include "array/extremum.h"

namespace {
constexpr auto kDirection = f90::extremum::Dir::Min;
}

F90_EXTREMUM_ENTRY_POINTS(MINVAL, minval)
