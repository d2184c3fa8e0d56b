// ASSOCIATED(POINTER [, TARGET]).
//
// A pointer without storage is never associated. Without TARGET any pointer
// with storage is. With TARGET, a disassociated pointer target is not
// associated with anything; otherwise the two must address the same storage
// with the same layout: base, elem_len, rank, type code, and every extent and
// stride (lower bounds may differ).
#include "element/association.h"

namespace {

bool is_associated(ArrayDescriptor* pointer, ArrayDescriptor* target) {
  const f90::Desc p(pointer);
  if (!p.assoc()) return false;
  if (target == nullptr) return true;
  const f90::Desc t(target);
  if (t.is_pointer() && !t.assoc()) return false;
  if (p.base() != t.base() || p.elem_len() != t.elem_len() || p.rank() != t.rank() ||
      p.type_code() != t.type_code())
    return false;
  for (int i = 0; i < p.rank(); ++i)
    if (p.extent(i) != t.extent(i) || p.stride(i) != t.stride(i)) return false;
  return true;
}

}  // namespace

int32_t associated(ArrayDescriptor* pointer, ArrayDescriptor* target) {
  return is_associated(pointer, target) ? 1 : 0;
}
int32_t associated_4(ArrayDescriptor* pointer, ArrayDescriptor* target) {
  return is_associated(pointer, target) ? 1 : 0;
}
int64_t associated_8(ArrayDescriptor* pointer, ArrayDescriptor* target) {
  return is_associated(pointer, target) ? 1 : 0;
}
