// The entry check every array routine applies to its input arrays.
//
// Calling an intrinsic with an unallocated allocatable or a disassociated
// pointer is a fatal argument error of the caller; compiled code can still
// do it. Each routine checks its input arrays once at entry (never its
// result, whose clear association asks for allocation): a pointer or
// allocatable without storage is reported as 1410, as the inquiry functions
// do. The routine then returns without touching its result.
#pragma once

#include "array/descriptor.h"

namespace f90 {

// True when `a` may be read: absent optional arguments (null) pass.
inline bool input_readable(const ArrayDescriptor* a) {
  if (a == nullptr) return true;
  return !Desc(const_cast<ArrayDescriptor*>(a)).absent();
}

// Checks every input array in order; reports 1410 once and returns false at
// the first that may not be read.
template <class... Arrays>
bool inputs_readable(const Arrays*... arrays) {
  if ((input_readable(arrays) && ...)) return true;
  report(ERR_NOT_PRESENT);
  return false;
}

}  // namespace f90
