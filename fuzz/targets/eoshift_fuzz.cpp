// EOSHIFT(ARRAY, SHIFT [, BOUNDARY] [, DIM]) against a naive model.
// needs: _EOSHIFT
//
// Model: element i of every line along DIM of the result is element i + s of
// the same line of ARRAY when that lies inside the line, else the line's
// boundary value; s is the line's SHIFT (read by its low 32 bits) clamped to
// -n..n. The boundary is BOUNDARY's element for the line (or its only
// element), or, without BOUNDARY, zero bytes, or blanks for CHARACTER and
// byte-laid derived types. A DIM outside 1..rank is reported (1405) after the
// result has been completed and nothing is moved.
#include <algorithm>

#include "shift_common.h"

using namespace fz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FDP in(data, size);
  Arena& arena = Arena::instance();
  arena.begin();
  Rng rng(in.ConsumeIntegral<uint64_t>());
  ShiftCall c = decode_shift_call(in, rng, true);
  Result& r = c.result;
  const FArray& a = c.array;

  // BOUNDARY: absent, a scalar, or one value per line.
  const int bchoice = in.ConsumeIntegralInRange<int>(0, 2);
  FArray boundary;
  if (bchoice != 0) {
    Shape bs = c.line_shape;
    if (bchoice == 1 || c.rank == 1) bs.rank = 0;
    boundary = place_array(in, c.e, bs, kArgLayout);
    fill_random(boundary, rng);
  }
  const int32_t* dim_arg = c.has_dim ? int_arg(c.dim) : nullptr;
  open(a);
  open(c.shift);
  if (bchoice != 0) open(boundary);
  trace_descriptor("ARRAY", a.desc);
  trace_descriptor("SHIFT", c.shift.desc);
  trace_descriptor("BOUNDARY", bchoice ? boundary.desc : nullptr);
  trace("DIM %s %d\n", c.has_dim ? "present" : "absent", c.dim);
  snapshot(r);

  e_eoshift(r.desc, a.desc, c.shift.desc, bchoice ? boundary.desc : nullptr, dim_arg);

  // The default boundary: blanks for CHARACTER and byte-laid derived types,
  // zero bytes for everything else.
  const bool blanks = c.e.code() == TYPE_CHARACTER || c.e.code() == TYPE_DERIVED_BYTES;
  const std::vector<uint8_t> deflt(c.e.bytes(), blanks ? 0x20 : 0);
  const uint32_t sw = c.shift.elem.bytes();
  check_shift("EOSHIFT", c, [&](int64_t k, const int64_t* idx, const int64_t* lidx, int64_t n,
                                ElemsExpect& elems) {
    const char* shift_elem = (c.rank == 1 || c.shift.rank() == 0) ? c.shift.base : c.shift.at(lidx);
    const int64_t v = static_cast<int32_t>(read_int(shift_elem, sw));
    const int64_t s = std::clamp<int64_t>(v, -n, n);
    const int64_t from = idx[c.d] + s;
    if (from >= 0 && from < n) {
      int64_t src[F90_MAX_RANK];
      std::copy(idx, idx + c.rank, src);
      src[c.d] = from;
      elems.set(k, a.at(src));
    } else if (bchoice == 0) {
      elems.set(k, deflt.data());
    } else {
      elems.set(k, boundary.rank() == 0 ? boundary.base : boundary.at(lidx));
    }
  });
  arena.end();
  return 0;
}
