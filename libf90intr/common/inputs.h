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

// True when `a` may be read: absent optional arguments (null) pass. An array
// with elements but a null base has no storage to read them from, whatever
// its kind; an empty array may have a null base.
inline bool input_readable(const ArrayDescriptor* a) {
  if (a == nullptr) return true;
  const Desc d(const_cast<ArrayDescriptor*>(a));
  if (d.absent()) return false;
  return d.base() != nullptr || d.element_count() == 0;
}

// True when `a` is present for a routine that reads only its descriptor
// (TRANSFER's MOLD): only a pointer or allocatable without storage fails.
inline bool input_present(const ArrayDescriptor* a) {
  return a == nullptr || !Desc(const_cast<ArrayDescriptor*>(a)).absent();
}

// Checks every input array in order; reports 1410 once and returns false at
// the first that may not be read.
template <class... Arrays>
bool inputs_readable(const Arrays*... arrays) {
  if ((input_readable(arrays) && ...)) return true;
  report(ERR_NOT_PRESENT);
  return false;
}

// inputs_readable() for the `read` arrays, and for `descriptor_only`, whose
// elements are never read, only its presence.
template <class... Arrays>
bool inputs_readable_with(const ArrayDescriptor* descriptor_only, const Arrays*... read) {
  if (input_present(descriptor_only) && (input_readable(read) && ...)) return true;
  report(ERR_NOT_PRESENT);
  return false;
}

}  // namespace f90
