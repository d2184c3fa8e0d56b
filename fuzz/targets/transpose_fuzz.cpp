// TRANSPOSE(SOURCE) against a naive model.
// needs: _TRANS
//
// Model: result(j, i) = SOURCE(i, j) for a rank-2 SOURCE of m x n elements
// of any type; a result the routine completes is n x m, contiguous, with
// storage only when it has bytes (1205 and nothing stored when the
// allocator fails).
#include "entries.h"
#include "harness.h"

using namespace fz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FDP in(data, size);
  Arena& arena = Arena::instance();
  arena.begin();

  const Elem e = pick_elem(in, kAllTypes);
  const Shape ss = pick_shape(in, 2, 2);
  FArray source = place_array(in, e, ss, kArgLayout);
  Rng rng(in.ConsumeIntegral<uint64_t>());
  fill_random(source, rng);
  const int64_t m = ss.extent[0], n = ss.extent[1];

  Shape rs;
  rs.rank = 2;
  rs.extent[0] = static_cast<int32_t>(n);
  rs.extent[1] = static_cast<int32_t>(m);
  rs.lower[0] = in.ConsumeIntegralInRange<int32_t>(-2, 2);
  rs.lower[1] = in.ConsumeIntegralInRange<int32_t>(-2, 2);
  Result r = any_result(in, e, rs);
  const bool fail_alloc = !r.supplied && arm_allocation_failure(in);
  open(source);
  trace_descriptor("SOURCE", source.desc);
  snapshot(r);

  e_trans(r.desc, source.desc);

  const int64_t bytes = n * m * e.bytes();
  if (fail_alloc && bytes > 0) {
    verify_allocation_failure("TRANSPOSE", r, {ERR_ALLOC_FAILED});
    arena.end();
    return 0;
  }
  const int64_t rext[2] = {n, m};
  ElemsExpect elems(e.bytes(), 2, rext);
  for (int64_t j = 0; j < n; ++j) {
    for (int64_t i = 0; i < m; ++i) {
      const int64_t idx[2] = {i, j};
      elems.set(j + i * n, source.at(idx));
    }
  }
  const DescExpect d = r.supplied ? DescExpect::unchanged(r.desc_before, 2)
                                  : completed(r, 2, rext, e.units, bytes);
  verify("TRANSPOSE", r, d, bytes, false, elems, {});
  arena.end();
  return 0;
}
