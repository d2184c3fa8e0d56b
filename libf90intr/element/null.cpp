// NULL(MOLD): the result takes MOLD's element length, rank, bounds, strides
// and type word and becomes disassociated (assoc clear, base and alloc_base
// 0). Its other flag bits and alloc_size stay as the caller set them.
#include "element/association.h"

void null_pointer(ArrayDescriptor* result, ArrayDescriptor* mold) {
  const f90::Desc r(result);
  const f90::Desc m(mold);
  r.set_elem_len(m.elem_len());
  r.set_rank(m.rank());
  for (int i = 0; i < m.rank(); ++i) r.set_dim(i, m.lower(i), m.extent(i), m.stride(i));
  r.set_type_word(m.type_word());
  r.set_assoc(false);
  r.set_base(nullptr);
  result->alloc_base = nullptr;
}
