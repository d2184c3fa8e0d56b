// PACK(ARRAY, MASK [, VECTOR]) against a naive model.
// needs: _PACK
//
// Model: the elements of ARRAY whose MASK element is true, in array element
// order, go to result positions 0, 1, ...; with VECTOR the result has
// VECTOR's size and the positions after the gathered elements take VECTOR's
// elements at the same positions; nothing is stored at or beyond VECTOR's
// size when MASK has more true elements. Without VECTOR the extent becomes
// the true count (a scalar false MASK gives extent 0). A zero-sized ARRAY
// with VECTOR gives a copy of VECTOR.
#include <cstring>

#include "entries.h"
#include "harness.h"

using namespace fz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FDP in(data, size);
  Arena& arena = Arena::instance();
  arena.begin();

  const Elem e = pick_elem(in, kAllTypes);
  const Shape as = pick_shape(in, 1, 7);
  FArray array = place_array(in, e, as, kArgLayout);
  Rng rng(in.ConsumeIntegral<uint64_t>());
  fill_random(array, rng);

  // MASK: a scalar, or conformable with ARRAY.
  static const uint32_t kWidths[] = {1, 2, 4, 8};
  const Elem me = Elem::numeric(TYPE_LOGICAL, kWidths[in.ConsumeIntegralInRange<int>(0, 3)]);
  Shape ms = as;
  if (in.ConsumeIntegralInRange<int>(0, 4) == 0) ms.rank = 0;
  FArray mask = place_array(in, me, ms, kArgLayout);
  static const uint32_t kChance[] = {0, 20, 128, 230, 256};
  fill_logical(mask, rng, kChance[in.ConsumeIntegralInRange<int>(0, 4)]);

  // The true positions, in array element order.
  std::vector<int64_t> trues;
  const bool scalar_mask = ms.rank == 0;
  const bool scalar_true = scalar_mask && read_logical(mask.base, me.bytes() * 8);
  for (int64_t k = 0; k < array.count; ++k) {
    const bool t = scalar_mask ? scalar_true : read_logical(mask.at_linear(k), me.bytes() * 8);
    if (t) trues.push_back(k);
  }

  // VECTOR.
  const bool has_vector = in.ConsumeBool();
  FArray vector;
  int64_t n = array.count;
  if (has_vector) {
    Shape vs;
    vs.rank = 1;
    vs.lower[0] = in.ConsumeIntegralInRange<int32_t>(-2, 2);
    const int64_t t = static_cast<int64_t>(trues.size());
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
      case 0: vs.extent[0] = static_cast<int32_t>(t); break;
      case 1: vs.extent[0] = static_cast<int32_t>(t + in.ConsumeIntegralInRange<int>(1, 5)); break;
      case 2: vs.extent[0] = static_cast<int32_t>(t > 0 ? in.ConsumeIntegralInRange<int64_t>(0, t - 1) : 0); break;
      default: vs.extent[0] = in.ConsumeIntegralInRange<int32_t>(0, 8); break;
    }
    vector = place_array(in, e, vs, kArgLayout);
    fill_random(vector, rng);
    n = vector.count;
  }

  // The model.
  const bool array_empty = array.count == 0;
  const int64_t t = static_cast<int64_t>(trues.size());
  // Whether the zero-unit derived type counts its true elements is left
  // open: its elements move nothing either way.
  const bool zero_words = e.code() == TYPE_DERIVED_WORDS && e.units == 0;

  // The result: the caller supplies VECTOR's size, or room for the true
  // count (perhaps more).
  Shape rs;
  rs.rank = 1;
  rs.lower[0] = in.ConsumeIntegralInRange<int32_t>(-3, 3);
  if (has_vector) {
    rs.extent[0] = static_cast<int32_t>(n);
  } else {
    rs.extent[0] = static_cast<int32_t>(t + (array_empty ? 0 : in.ConsumeIntegralInRange<int>(0, 2)));
  }
  Result r = in.ConsumeBool() ? supplied_result(in, e, rs) : unassociated(in, e, 1);
  const bool fail_alloc = !r.supplied && arm_allocation_failure(in);
  open(array);
  open(mask);
  if (has_vector) open(vector);
  trace_descriptor("ARRAY", array.desc);
  trace_descriptor("MASK", mask.desc);
  trace_descriptor("VECTOR", has_vector ? vector.desc : nullptr);
  snapshot(r);

  e_pack(r.desc, array.desc, mask.desc, has_vector ? vector.desc : nullptr);

  const int64_t bytes = n * e.bytes();
  if (fail_alloc && bytes > 0) {
    verify_allocation_failure("PACK", r, {ERR_ALLOC_FAILED});
    arena.end();
    return 0;
  }

  const int64_t slots = r.supplied ? rs.extent[0] : n;
  ElemsExpect elems(e.bytes(), 1, &slots);
  int64_t final_extent;
  bool extent_open = false;
  const bool empty = array_empty || (r.supplied && rs.extent[0] == 0) || (has_vector && n == 0);
  if (empty) {
    final_extent = r.supplied ? rs.extent[0] : n;
    if (array_empty && has_vector && n >= 1 && !(r.supplied && rs.extent[0] == 0)) {
      for (int64_t k = 0; k < n; ++k) elems.set(k, vector.at_linear(k));
    }
  } else if (scalar_mask && !has_vector && !scalar_true) {
    final_extent = 0;
  } else {
    const int64_t stored = has_vector ? std::min(t, n) : t;
    for (int64_t p = 0; p < stored; ++p) elems.set(p, array.at_linear(trues[p]));
    if (!has_vector || t == n) {
      final_extent = t;
    } else {
      final_extent = n;
      for (int64_t k = t; k < n; ++k) elems.set(k, vector.at_linear(k));
    }
    extent_open = zero_words && !has_vector;
  }

  DescExpect d = result_words(r, 1, &n, e.units, bytes);
  d.exact(7, static_cast<uint32_t>(final_extent));
  if (extent_open) d.any(7);
  verify("PACK", r, d, bytes, false, elems, {});
  arena.end();
  return 0;
}
