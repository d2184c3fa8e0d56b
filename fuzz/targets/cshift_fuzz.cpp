// CSHIFT(ARRAY, SHIFT [, DIM]) against a naive model.
// needs: _CSHIFT _morvex_lmod
//
// Model: element i of every line along DIM of the result is element
// (i + s) mod n of the same line of ARRAY, s being the line's SHIFT (one
// value, or one per line) reduced into 0..n-1. A rank-1 ARRAY takes an
// INTEGER*8 SHIFT whole; the per-line values of higher ranks are read by
// their low 32 bits. An empty ARRAY moves nothing; a DIM outside 1..rank is
// reported (1405) after the result has been completed and nothing is moved.
#include "shift_common.h"

using namespace fz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FDP in(data, size);
  Arena& arena = Arena::instance();
  arena.begin();
  Rng rng(in.ConsumeIntegral<uint64_t>());
  ShiftCall c = decode_shift_call(in, rng, true);
  Result& r = c.result;
  const int32_t* dim_arg = c.has_dim ? int_arg(c.dim) : nullptr;
  open(c.array);
  open(c.shift);
  trace_descriptor("ARRAY", c.array.desc);
  trace_descriptor("SHIFT", c.shift.desc);
  trace("DIM %s %d\n", c.has_dim ? "present" : "absent", c.dim);
  snapshot(r);

  e_cshift(r.desc, c.array.desc, c.shift.desc, dim_arg);

  const FArray& a = c.array;
  const int64_t bytes = a.count * c.e.bytes();
  if (c.fail_alloc && bytes > 0) {
    verify_allocation_failure("CSHIFT", r, {ERR_ALLOC_FAILED});
    arena.end();
    return 0;
  }
  int64_t ext[F90_MAX_RANK];
  for (int i = 0; i < c.rank; ++i) ext[i] = a.shape.extent[i];
  ElemsExpect elems(c.e.bytes(), c.rank, ext);
  const bool empty = a.count == 0;
  Reports reports;
  if (!c.dim_ok) {
    // The empty test comes first: an empty ARRAY may leave before DIM is
    // looked at.
    reports = empty ? Reports({}).also({ERR_DIM_RANGE}) : Reports({ERR_DIM_RANGE});
  } else if (!empty) {
    const int64_t n = ext[c.d];
    const uint32_t sw = c.shift.elem.bytes();
    int64_t idx[F90_MAX_RANK], lidx[F90_MAX_RANK], src[F90_MAX_RANK];
    for (int64_t k = 0; k < a.count; ++k) {
      unlinear(k, c.rank, ext, idx);
      line_index(c, idx, lidx);
      int64_t v;
      if (c.rank == 1 || c.shift.rank() == 0) {
        v = read_int(c.shift.base, sw);
        if (c.rank >= 2 && sw == 8) v = static_cast<int32_t>(v);
      } else {
        v = static_cast<int32_t>(read_int(c.shift.at(lidx), sw));
      }
      const int64_t s = ((v % n) + n) % n;
      std::copy(idx, idx + c.rank, src);
      src[c.d] = (idx[c.d] + s) % n;
      elems.set(k, a.at(src));
    }
  }
  const DescExpect d = r.supplied ? DescExpect::unchanged(r.desc_before, c.rank)
                                  : completed(r, c.rank, ext, c.e.units, bytes);
  verify("CSHIFT", r, d, bytes, false, elems, reports);
  arena.end();
  return 0;
}
