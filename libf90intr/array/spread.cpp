// SPREAD(SOURCE, DIM, NCOPIES): an array of rank r + 1 made from a SOURCE of
// rank r (0 to 6) by inserting, at position DIM, a dimension of NCOPIES
// copies: result(..., j, ...) = SOURCE(...) for every j.
//
// NCOPIES below 1 gives an empty result. DIM outside 1 .. r + 1, or a SOURCE
// of rank 7 (its result would need an eighth dimension), is reported (1405)
// and nothing more is done. Sizes are counted in 64 bits, so a result above
// 0x7FFFFFFF bytes is reported (1205) rather than allocated short.
//
// SOURCE is walked in array element order as runs along its first
// dimension, and every result element is stored through the result
// descriptor's own strides (a caller may pass a section). When the new
// dimension comes first, each SOURCE element is stored NCOPIES times along
// it; otherwise each SOURCE run is stored once per copy, as one block where
// both sides are contiguous.
#include <array>

#include "array/construct.h"
#include "array/copy_kind.h"
#include "array/result.h"
#include "common/inputs.h"
#include "common/walk.h"

namespace f90 {

extern "C" void spread(ArrayDescriptor* result_d, ArrayDescriptor* source_d, const int32_t* dim,
                       const int32_t* ncopies) {
  if (!inputs_readable(source_d)) return;
  const Desc result(result_d), source(source_d);
  const int r = source.rank();

  int32_t extent[F90_MAX_RANK];
  bool empty = false;
  for (int i = 0; i < r; ++i) {
    extent[i] = source.extent(i);
    if (extent[i] <= 0) empty = true;
  }
  if (result.assoc())
    for (int i = 0; i < result.rank(); ++i)
      if (result.extent(i) <= 0) empty = true;

  if (r >= F90_MAX_RANK || *dim < 1 || *dim > r + 1) {
    report(ERR_DIM_RANGE);
    return;
  }
  const int d = *dim - 1;
  const int32_t nc = *ncopies >= 1 ? *ncopies : 0;

  const ElemClass c = classify(source);
  if (!result.assoc()) {
    int64_t shape[F90_MAX_RANK];
    for (int i = 0; i <= r; ++i) shape[i] = i < d ? extent[i] : i == d ? nc : extent[i - 1];
    const ResultElement elem{c.units, c.elem_bytes(), source.elem_len(), source.is_character()};
    if (!complete_result(result, r + 1, shape, elem, ResultRules::construction())) return;  // 1205: nothing is stored
  }
  if (nc == 0 || empty) return;

  // Result dimensions other than d follow SOURCE's dimensions in order.
  const WalkArray ws = walk_array(source, c);
  WalkArray wr{result.base(), {}};
  for (int i = 0; i <= r; ++i)
    if (i != d) wr.stride[i < d ? i : i - 1] = c.byte_stride(result.stride(i));
  const ptrdiff_t copy_step = static_cast<ptrdiff_t>(c.byte_stride(result.stride(d)));
  const ptrdiff_t ss = static_cast<ptrdiff_t>(ws.stride[0]);
  const ptrdiff_t rs = static_cast<ptrdiff_t>(wr.stride[0]);
  const uint32_t bytes = c.elem_bytes();

  with_moves(c, [&](auto k, uint32_t off) {
    using M = Mover<decltype(k)::value>;
    WalkArray s = ws, t = wr;
    s.base += off;
    t.base += off;
    walk_runs(r, extent, std::array<WalkArray*, 2>{&s, &t},
              [&](const std::array<char*, 2>& o, int64_t n) {
                if (d == 0) {
                  for (int64_t i = 0; i < n; ++i) M::fill(o[1] + i * rs, copy_step, o[0] + i * ss, nc, bytes);
                } else {
                  for (int32_t j = 0; j < nc; ++j) M::line(o[1] + j * copy_step, rs, o[0], ss, n, bytes);
                }
              });
  });
}

}  // namespace f90
