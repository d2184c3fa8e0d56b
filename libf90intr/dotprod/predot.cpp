// _PREDOT: the set-up every DOT_PRODUCT kernel starts with. It reads A's
// dimension-1 extent (the number of terms), both bases, and both dimension-1
// strides turned into element strides by each operand's own int_len (see
// element_step); nothing else of either descriptor. The kernels of this
// folder call the same inline set-up directly.
#include "dotprod/dot.h"
#include "f90/dotprod.h"

namespace f90::dot {

bool operands_readable(const ArrayDescriptor* a, const ArrayDescriptor* b) {
  if (!inputs_readable(a, b)) return false;
  if (a->dim[0].extent > 0 && b->base == nullptr) {
    report(ERR_NOT_PRESENT);
    return false;
  }
  return true;
}

}  // namespace f90::dot

F90_API void predot(const ArrayDescriptor* a, const ArrayDescriptor* b, int32_t* count,
                    const void** a_first, int32_t* a_step, const void** b_first,
                    int32_t* b_step) F90_SYMBOL(_PREDOT);

void predot(const ArrayDescriptor* a, const ArrayDescriptor* b, int32_t* count,
            const void** a_first, int32_t* a_step, const void** b_first, int32_t* b_step) {
  const f90::dot::Operands o = f90::dot::predot(a, b);
  *count = o.n;
  *a_first = o.a;
  *a_step = o.a_step;
  *b_first = o.b;
  *b_step = o.b_step;
}
