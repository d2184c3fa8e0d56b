// UNPACK(VECTOR, MASK, FIELD) against a naive model.
// needs: _UNPACK
//
// Model: positions in MASK's array element order; the k-th true position
// takes VECTOR's k-th element, a false position takes FIELD's element there
// (FIELD's only element when it is a scalar). When VECTOR runs out, each
// further true position is reported (1420, once per word pass for a derived
// type laid out in words) and left unwritten.
#include "entries.h"
#include "harness.h"

using namespace fz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FDP in(data, size);
  Arena& arena = Arena::instance();
  arena.begin();

  const Elem e = pick_elem(in, kAllTypes);
  static const uint32_t kWidths[] = {1, 2, 4, 8};
  const Elem me = Elem::numeric(TYPE_LOGICAL, kWidths[in.ConsumeIntegralInRange<int>(0, 3)]);
  const Shape ms = pick_shape(in, 1, 7);
  FArray mask = place_array(in, me, ms, kArgLayout);
  Rng rng(in.ConsumeIntegral<uint64_t>());
  static const uint32_t kChance[] = {0, 20, 128, 230, 256};
  fill_logical(mask, rng, kChance[in.ConsumeIntegralInRange<int>(0, 4)]);
  std::vector<bool> truth(static_cast<size_t>(mask.count));
  int64_t t = 0;
  for (int64_t k = 0; k < mask.count; ++k) {
    truth[k] = read_logical(mask.at_linear(k), me.bytes() * 8);
    t += truth[k];
  }

  // VECTOR: as long as the true count, longer, or short.
  int32_t vn;
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: vn = static_cast<int32_t>(t); break;
    case 1: vn = static_cast<int32_t>(t + in.ConsumeIntegralInRange<int>(1, 4)); break;
    case 2: vn = static_cast<int32_t>(t > 0 ? in.ConsumeIntegralInRange<int64_t>(0, t - 1) : 0); break;
    default: vn = in.ConsumeIntegralInRange<int32_t>(0, 6); break;
  }
  FArray vector = place_array(in, e, vector_shape(vn, in.ConsumeIntegralInRange<int32_t>(-2, 2)), kArgLayout);
  fill_random(vector, rng);

  // FIELD: a scalar or MASK's shape.
  Shape fs = ms;
  if (in.ConsumeIntegralInRange<int>(0, 3) == 0) fs.rank = 0;
  for (int i = 0; i < fs.rank; ++i) fs.lower[i] = in.ConsumeIntegralInRange<int32_t>(-3, 3);
  FArray field = place_array(in, e, fs, kArgLayout);
  fill_random(field, rng);

  Shape rs = ms;
  for (int i = 0; i < rs.rank; ++i) rs.lower[i] = in.ConsumeIntegralInRange<int32_t>(-3, 3);
  Result r = any_result(in, e, rs);
  const bool fail_alloc = !r.supplied && arm_allocation_failure(in);
  open(mask);
  open(vector);
  open(field);
  trace_descriptor("VECTOR", vector.desc);
  trace_descriptor("MASK", mask.desc);
  trace_descriptor("FIELD", field.desc);
  snapshot(r);

  e_unpack(r.desc, vector.desc, mask.desc, field.desc);

  const int64_t bytes = mask.count * e.bytes();
  if (fail_alloc && bytes > 0) {
    verify_allocation_failure("UNPACK", r, {ERR_ALLOC_FAILED});
    arena.end();
    return 0;
  }

  int64_t ext[F90_MAX_RANK];
  for (int i = 0; i < ms.rank; ++i) ext[i] = ms.extent[i];
  ElemsExpect elems(e.bytes(), ms.rank, ext);
  std::vector<int32_t> reports;
  if (mask.count > 0) {
    int64_t next = 0;
    int64_t short_positions = 0;
    for (int64_t k = 0; k < mask.count; ++k) {
      if (truth[k]) {
        if (next < vn) {
          elems.set(k, vector.at_linear(next++));
        } else {
          ++short_positions;
        }
      } else {
        elems.set(k, fs.rank == 0 ? field.base : field.at_linear(k));
      }
    }
    const int64_t passes = e.code() == TYPE_DERIVED_WORDS ? e.units : 1;
    reports.assign(static_cast<size_t>(short_positions * passes), ERR_UNPACK_VECTOR_SHORT);
  }
  const DescExpect d = r.supplied ? DescExpect::unchanged(r.desc_before, r.rank)
                                  : completed(r, ms.rank, ext, e.units, bytes);
  verify("UNPACK", r, d, bytes, false, elems, reports);
  arena.end();
  return 0;
}
