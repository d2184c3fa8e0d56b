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
  const uint32_t sw = c.shift.elem.bytes();
  check_shift("CSHIFT", c, [&](int64_t k, const int64_t* idx, const int64_t* lidx, int64_t n,
                               ElemsExpect& elems) {
    int64_t v;
    if (c.rank == 1 || c.shift.rank() == 0) {
      v = read_int(c.shift.base, sw);
      if (c.rank >= 2 && sw == 8) v = static_cast<int32_t>(v);
    } else {
      v = static_cast<int32_t>(read_int(c.shift.at(lidx), sw));
    }
    const int64_t s = ((v % n) + n) % n;
    int64_t src[F90_MAX_RANK];
    std::copy(idx, idx + c.rank, src);
    src[c.d] = (idx[c.d] + s) % n;
    elems.set(k, a.at(src));
  });
  arena.end();
  return 0;
}
