// UNPACK(VECTOR, MASK, FIELD): an array of MASK's shape whose elements at
// MASK's true positions are VECTOR's elements in order and whose other
// elements are FIELD's (FIELD's single element when it is a scalar).
//
// One pass over MASK, FIELD and the result in array element order, so the
// k-th true position receives VECTOR's k-th element. When VECTOR runs out
// first, every further true position is reported (1420) and left unwritten;
// VECTOR is never read past its extent and the false positions still receive
// FIELD. Elements move by FIELD's copy kind (VECTOR and the result share
// it); elements that move by word position take one whole pass per word, so
// a shortage is reported once per pass.
#include <algorithm>
#include <array>

#include "array/construct.h"
#include "array/copy_kind.h"
#include "common/inputs.h"
#include "common/mask.h"
#include "array/result.h"
#include "common/walk.h"

namespace f90 {
namespace {

// VECTOR's side of the walk: the next element, its byte stride, and how
// many elements are left.
struct VectorSupply {
  const char* next;
  ptrdiff_t step;
  int64_t left;
};

template <uint32_t K, class Mask>
void scatter_run(VectorSupply& v, char* r, ptrdiff_t rs, const char* f, ptrdiff_t fs,
                 const char* m, ptrdiff_t ms, int64_t n, uint32_t bytes) {
  for (int64_t i = 0; i < n; ++i, r += rs, f += fs, m += ms) {
    if (!Mask::truth(m)) {
      Mover<K>::one(r, f, bytes);
    } else if (v.left > 0) {
      Mover<K>::one(r, v.next, bytes);
      v.next += v.step;
      --v.left;
    } else {
      report(ERR_UNPACK_VECTOR_SHORT);
    }
  }
}

}  // namespace

extern "C" void unpack(ArrayDescriptor* result_d, ArrayDescriptor* vector_d,
                       ArrayDescriptor* mask_d, ArrayDescriptor* field_d) {
  if (!inputs_readable(vector_d, mask_d, field_d)) return;
  const Desc result(result_d), vector(vector_d), mask(mask_d), field(field_d);
  const int rank = mask.rank();

  int32_t extent[F90_MAX_RANK];
  int64_t shape[F90_MAX_RANK];
  bool empty = false;
  for (int i = 0; i < rank; ++i) {
    extent[i] = mask.extent(i);
    shape[i] = extent[i];
    if (extent[i] <= 0) empty = true;
  }
  if (result.assoc())
    for (int i = 0; i < std::min(rank, result.rank()); ++i)
      if (result.extent(i) <= 0) empty = true;

  const ElemClass c = classify(field);
  if (!result.assoc()) {
    const ResultElement elem{c.units, c.elem_bytes(), field.elem_len(), field.is_character()};
    if (!complete_result(result, rank, shape, elem, ResultRules::construction())) return;  // 1205: nothing is stored
  }
  if (empty) return;

  const WalkArray wr = walk_array(result, c);
  const WalkArray wf = field.rank() == 0 ? WalkArray{field.base(), {}} : walk_array(field, c);
  WalkArray wm = walk_mask(mask, rank);
  const ptrdiff_t rs = static_cast<ptrdiff_t>(wr.stride[0]);
  const ptrdiff_t fs = static_cast<ptrdiff_t>(wf.stride[0]);
  const ptrdiff_t ms = static_cast<ptrdiff_t>(wm.stride[0]);
  const ptrdiff_t vs = static_cast<ptrdiff_t>(c.byte_stride(vector.stride(0)));

  with_moves(c, [&](auto k, uint32_t off) {
    constexpr uint32_t K = decltype(k)::value;
    VectorSupply v{word_at(vector.base(), off), vs, std::max<int64_t>(vector.extent(0), 0)};
    WalkArray r = wr, f = wf;
    r.base += off;
    f.base += off;
    with_logical(logical_bytes(mask.elem_len()), [&](auto w) {
      walk_runs(rank, extent, std::array<WalkArray*, 3>{&r, &f, &wm},
                [&](const std::array<char*, 3>& o, int64_t n) {
                  scatter_run<K, decltype(w)>(v, o[0], rs, o[1], fs, o[2], ms, n,
                                                     c.elem_bytes());
                });
    });
  });
}

}  // namespace f90
