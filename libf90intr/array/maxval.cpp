// MAXVAL: the worker __maxval and its 16 typed entries (_MAXVAL_<type>
// with an array result, _MAXVAL0_<type> returning the value).
#include "array/extremum.h"

namespace {
constexpr auto kDirection = f90::extremum::Dir::Max;
}

F90_EXTREMUM_ENTRY_POINTS(MAXVAL, maxval)
