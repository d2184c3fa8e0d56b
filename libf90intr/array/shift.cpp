// The set-up CSHIFT and EOSHIFT share, and the merging of block dimensions.
#include "array/shift.h"

#include "array/result.h"

namespace f90 {

namespace {

// True when any of the first `count` extents of d (at most d's own rank) is
// 0 or less.
bool has_empty_extent(Desc d, int count) {
  const int r = count < d.rank() ? count : d.rank();
  for (int i = 0; i < r; ++i)
    if (d.extent(i) <= 0) return true;
  return false;
}

}  // namespace

bool shift_setup(Desc result, Desc array, Desc shift, const ArrayDescriptor* boundary,
                 const int32_t* dim, uint32_t shift_bits, ShiftSetup& out) {
  out.rank = array.rank();
  out.elem = classify(array);
  const int rank = out.rank;

  // SHIFT's storage unit: elem_len/8 bytes below 32 bits, else elem_len/32
  // words; its element strides are its descriptor strides in those units.
  const uint32_t shift_len = shift.elem_len();
  const int32_t shift_units = static_cast<int32_t>(shift_len < 32 ? shift_len / 8 : shift_len / 32);
  const int64_t shift_bytes = shift_bits == 64 ? 8 : shift_bits == 16 ? 2 : shift_bits == 8 ? 1 : 4;

  if (!result.assoc()) {
    int64_t ext[F90_MAX_RANK];
    for (int i = 0; i < rank; ++i) ext[i] = array.extent(i);
    result.set_elem_len(array.elem_len());
    if (!complete_result_descriptor(result, rank, ext)) return false;
  }

  if (rank == 0 || has_empty_extent(array, rank) || has_empty_extent(result, rank)) return false;
  if (shift.rank() >= 2 && has_empty_extent(shift, rank - 1)) return false;
  if (boundary != nullptr) {
    const Desc b(const_cast<ArrayDescriptor*>(boundary));
    if (b.rank() >= 2 && has_empty_extent(b, rank - 1)) return false;
  }

  out.dim = 0;
  if (dim != nullptr) {
    if (*dim < 1 || *dim > rank) {
      report(ERR_DIM_RANGE);
      return false;
    }
    out.dim = *dim - 1;
  }
  if (out.elem.elem_bytes() == 0) return false;  // zero-length elements: nothing moves

  for (int i = 0; i < rank; ++i) out.extent[i] = array.extent(i);
  out.array = walk_array(array, out.elem);
  out.result = walk_array(result, out.elem);
  out.shift_arg = {shift.base(), shift_bits};
  if (out.per_line(shift.rank())) {
    out.shift = walk_array_without(shift, out.dim, [&](int32_t stride) {
      return int64_t{shift_units > 0 ? stride / shift_units : stride} * shift_bytes;
    });
  } else {
    out.shift = WalkArray{shift.base(), {}};  // read at its first element for every line
  }
  return true;
}

}  // namespace f90
