// What the CSHIFT and EOSHIFT targets share: ARRAY, DIM, SHIFT (a scalar or
// one value per line, of every integer width) and the result, decoded from
// the input, and the per-line addressing of the model.
#pragma once

#include <climits>

#include "array/shift.h"
#include "entries.h"
#include "harness.h"

namespace fz {

struct ShiftCall {
  Elem e;
  FArray array;
  int rank = 0;
  bool has_dim = false;
  int32_t dim = 1;
  bool dim_ok = true;
  int d = 0;  // 0-based shift dimension (0 when DIM is bad)
  FArray shift;
  Shape line_shape;  // ARRAY's shape without dimension d (rank - 1)
  Result result;
  bool fail_alloc = false;
};

// Shift values: small, around the extent, or extreme, in the given width.
inline int64_t pick_shift_value(FDP& in, int64_t n, uint32_t width) {
  int64_t v;
  switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 0: v = in.ConsumeBool() ? INT32_MAX - in.ConsumeIntegralInRange<int>(0, 2)
                                 : INT32_MIN + in.ConsumeIntegralInRange<int>(0, 2); break;
    case 1: v = in.ConsumeIntegral<int64_t>(); break;
    case 2: v = (int64_t{1} << 32) + in.ConsumeIntegralInRange<int>(-2, 2); break;
    default: v = in.ConsumeIntegralInRange<int64_t>(-2 * n - 2, 2 * n + 2); break;
  }
  // Keep the value representable in the width (as compiled code would).
  if (width == 1) v = static_cast<int8_t>(v);
  if (width == 2) v = static_cast<int16_t>(v);
  if (width == 4) v = static_cast<int32_t>(v);
  return v;
}

// The paths both routines may take, for this call: the widest the CPU has
// or a narrower set, and the bands of lines at the default sizes, with
// results streamed, or never, so that the small operands here reach every
// path.
inline void pick_paths(FDP& in) {
  static const f90::PackIsa kIsas[] = {f90::PackIsa::avx512, f90::PackIsa::avx2, f90::PackIsa::sse2,
                                       f90::PackIsa::none};
  f90::ShiftPaths p;
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 1: p.band_stream_bytes = 0; break;
    case 2: p.gather_from = 0, p.gather_below = INT64_MAX; break;
    case 3: p.isa = kIsas[in.ConsumeIntegralInRange<int>(1, 3)]; break;
    default: break;
  }
  f90::cshift_paths = f90::eoshift_paths = p;
}

inline ShiftCall decode_shift_call(FDP& in, Rng& rng, bool with_shift_lines) {
  ShiftCall c;
  c.e = pick_elem(in, kAllTypes);
  const Shape as = pick_shape(in, 1, 7);
  c.rank = as.rank;
  c.array = place_array(in, c.e, as, kArgLayout);
  fill_random(c.array, rng);
  c.has_dim = in.ConsumeIntegralInRange<int>(0, 3) != 0;
  if (c.has_dim) {
    c.dim = in.ConsumeIntegralInRange<int>(0, 7) == 0 ? (in.ConsumeBool() ? in.ConsumeIntegral<int32_t>() : 0)
                                                      : in.ConsumeIntegralInRange<int32_t>(1, c.rank);
  }
  c.dim_ok = c.dim >= 1 && c.dim <= c.rank;
  c.d = c.dim_ok ? c.dim - 1 : 0;
  c.line_shape.rank = c.rank - 1;
  for (int i = 0, k = 0; i < c.rank; ++i) {
    if (i == c.d) continue;
    c.line_shape.extent[k] = as.extent[i];
    c.line_shape.lower[k++] = in.ConsumeIntegralInRange<int32_t>(-2, 2);
  }
  static const uint32_t kWidths[] = {1, 2, 4, 8};
  const uint32_t sw = kWidths[in.ConsumeIntegralInRange<int>(0, 3)];
  Shape ss = c.line_shape;
  if (!(with_shift_lines && c.rank >= 2 && in.ConsumeBool())) ss.rank = 0;
  c.shift = place_array(in, Elem::numeric(TYPE_INTEGER, sw), ss, kArgLayout);
  const int64_t n = as.extent[c.d];
  // Per-line values independent, or now and then neighbours' values within
  // a few of each other (bands of lines: consecutive shifts in turn).
  const int32_t span = c.shift.count > 1 && in.ConsumeBool() ? in.ConsumeIntegralInRange<int32_t>(1, 9) : 0;
  const int64_t base = span > 0 ? pick_shift_value(in, n, 4) : 0;
  for (int64_t k = 0; k < c.shift.count; ++k) {
    char* p = c.shift.at_linear(k);
    Arena::unpoison(p, sw);
    store_int(p, sw, span > 0 ? base + k % span : pick_shift_value(in, n, sw));
  }
  (void)rng;
  Shape rs = as;
  for (int i = 0; i < rs.rank; ++i) rs.lower[i] = in.ConsumeIntegralInRange<int32_t>(-2, 2);
  c.result = any_result(in, c.e, rs);
  c.fail_alloc = !c.result.supplied && arm_allocation_failure(in);
  pick_paths(in);
  return c;
}

// The 0-based indices, in ARRAY's other dimensions, of the line that holds
// the element with indices idx.
inline void line_index(const ShiftCall& c, const int64_t* idx, int64_t* lidx) {
  for (int i = 0, k = 0; i < c.rank; ++i) {
    if (i != c.d) lidx[k++] = idx[i];
  }
}

// After the call: a failed allocation, or every element of the result as
// `expect(k, idx, lidx, n, elems)` sets it (element k in array element order,
// its indices, its line's indices, the line length), with a DIM outside
// 1..rank reported (the empty test comes first: an empty ARRAY may leave
// before DIM is looked at) and nothing moved then.
template <class Expect>
void check_shift(const char* what, ShiftCall& c, Expect&& expect) {
  Result& r = c.result;
  const FArray& a = c.array;
  const int64_t bytes = a.count * c.e.bytes();
  if (c.fail_alloc && bytes > 0) {
    verify_allocation_failure(what, r, {ERR_ALLOC_FAILED});
    return;
  }
  int64_t ext[F90_MAX_RANK];
  for (int i = 0; i < c.rank; ++i) ext[i] = a.shape.extent[i];
  ElemsExpect elems(c.e.bytes(), c.rank, ext);
  const bool empty = a.count == 0;
  Reports reports;
  if (!c.dim_ok) {
    reports = empty ? Reports({}).also({ERR_DIM_RANGE}) : Reports({ERR_DIM_RANGE});
  } else if (!empty) {
    int64_t idx[F90_MAX_RANK], lidx[F90_MAX_RANK];
    for (int64_t k = 0; k < a.count; ++k) {
      unlinear(k, c.rank, ext, idx);
      line_index(c, idx, lidx);
      expect(k, idx, lidx, ext[c.d], elems);
    }
  }
  const DescExpect d = r.supplied ? DescExpect::unchanged(r.desc_before, c.rank)
                                  : completed(r, c.rank, ext, c.e.units, bytes);
  verify(what, r, d, bytes, false, elems, reports);
}

}  // namespace fz
