// MAXLOC and MINLOC, every typed entry point in both forms, against the
// reference model of kit/location_model.h.
// needs: _MAXLOC_I4 _MAXLOC__I4 _MAXLOC_I2 _MAXLOC__I2 _MAXLOC_I1 _MAXLOC__I1 _MAXLOC_I _MAXLOC__I
// needs: _MAXLOC_J _MAXLOC__J _MAXLOC_S _MAXLOC__S _MAXLOC_D _MAXLOC__D _MAXLOC_S4 _MAXLOC__S4
// needs: _MINLOC_I4 _MINLOC__I4 _MINLOC_I2 _MINLOC__I2 _MINLOC_I1 _MINLOC__I1 _MINLOC_I _MINLOC__I
// needs: _MINLOC_J _MINLOC__J _MINLOC_S _MINLOC__S _MINLOC_D _MINLOC__D _MINLOC_S4 _MINLOC__S4
//
// Beyond the model: the DIM form takes a LOGICAL in the DIM position as the
// MASK when MASK is absent; DIM is a rank-0 integer of 1, 2, 4 or 8 bytes of
// which the low 32-bit word counts, reported (1405) outside 1..rank with
// nothing written; the result holds locations of 1, 2, 4 or 8 bytes, is
// zeroed first and keeps its zeroes when the source is empty or a scalar
// MASK is false; a result the routine completes is rank 1 of extent rank
// (no DIM) or the source's shape less DIM, contiguous, allocated when it
// has bytes (1205 and nothing stored when the allocator fails).
#include <cstring>

#include "f90/reductions.h"
#include "harness.h"
#include "location_model.h"
#include "values.h"

using namespace fz;

namespace {

using Whole = void (*)(ArrayDescriptor*, ArrayDescriptor*, ArrayDescriptor*);
using DimForm = void (*)(ArrayDescriptor*, ArrayDescriptor*, ArrayDescriptor*, ArrayDescriptor*);

struct Entry {
  const char* name;
  int code;         // the worker's element code
  int type;         // the source's type code
  Whole whole[2];   // MINLOC, MAXLOC
  DimForm dim[2];
};

const Entry kEntries[] = {
    {"I4", 15, TYPE_INTEGER, {_MINLOC_I4, _MAXLOC_I4}, {_MINLOC__I4, _MAXLOC__I4}},
    {"I2", 8, TYPE_INTEGER, {_MINLOC_I2, _MAXLOC_I2}, {_MINLOC__I2, _MAXLOC__I2}},
    {"I1", 7, TYPE_INTEGER, {_MINLOC_I1, _MAXLOC_I1}, {_MINLOC__I1, _MAXLOC__I1}},
    {"I", 17, TYPE_INTEGER, {_MINLOC_I, _MAXLOC_I}, {_MINLOC__I, _MAXLOC__I}},
    {"J", 17, TYPE_INTEGER, {_MINLOC_J, _MAXLOC_J}, {_MINLOC__J, _MAXLOC__J}},
    {"S", 18, TYPE_REAL, {_MINLOC_S, _MAXLOC_S}, {_MINLOC__S, _MAXLOC__S}},
    {"D", 19, TYPE_REAL, {_MINLOC_D, _MAXLOC_D}, {_MINLOC__D, _MAXLOC__D}},
    {"S4", 20, TYPE_REAL, {_MINLOC_S4, _MAXLOC_S4}, {_MINLOC__S4, _MAXLOC__S4}},
};

const uint32_t kWidths[] = {1, 2, 4, 8};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FDP in(data, size);
  Arena& arena = Arena::instance();
  arena.begin();

  const Entry& ent = kEntries[in.ConsumeIntegralInRange<size_t>(0, std::size(kEntries) - 1)];
  const bool max = in.ConsumeBool();
  const bool dim_form = in.ConsumeBool();
  const uint32_t bytes = location_elem_bytes(ent.code);
  Elem e = Elem::numeric(ent.type, bytes);
  if (in.ConsumeBool()) e.type_word |= F90_TW_TYPE_FLAG;
  const Shape ss = pick_shape(in, 1, 7);
  const int rank = ss.rank;
  FArray source = place_array(in, e, ss, kArgLayout);
  Rng rng(in.ConsumeIntegral<uint64_t>());
  fill_numeric(source, ent.type == TYPE_REAL ? Num::kReal : Num::kInt, bytes, 1, rng,
               in.ConsumeIntegralInRange<uint32_t>(0, 1));

  // MASK: absent, a scalar, or of the source's shape.
  const int mchoice = in.ConsumeIntegralInRange<int>(0, 2);
  FArray mask = reduction_mask(in, rng, ss, mchoice);

  // The DIM position of the DIM form: empty, an integer DIM (LOGICAL-typed
  // too when MASK is present: it is then still read as DIM), or the MASK
  // itself with the MASK position empty.
  int dchoice = dim_form ? in.ConsumeIntegralInRange<int>(0, 2) : 0;
  if (dchoice == 2 && mchoice == 0) dchoice = 0;
  FArray dimarr;
  int32_t dim_value = 0;
  if (dchoice == 1) {
    const uint32_t w = kWidths[in.ConsumeIntegralInRange<int>(0, 3)];
    const bool logical_typed = mchoice != 0 && in.ConsumeIntegralInRange<int>(0, 7) == 0;
    Shape ds;
    dimarr = place_array(in, Elem::numeric(logical_typed ? TYPE_LOGICAL : TYPE_INTEGER, w), ds,
                         kArgLayout);
    const int64_t v = in.ConsumeIntegralInRange<int>(0, 7) == 0 ? static_cast<int64_t>(rng.next())
                                                              : in.ConsumeIntegralInRange<int64_t>(1, rank);
    Arena::unpoison(dimarr.base, w);
    store_int(dimarr.base, w, v);
    dim_value = static_cast<int32_t>(read_int(dimarr.base, w < 4 ? w : 4));
  }
  const bool has_dim = dchoice == 1;
  const bool dim_bad = has_dim && (dim_value < 1 || dim_value > rank);
  const bool masked_arg = mchoice != 0;
  const bool mask_array = mchoice == 2;

  // The result.
  const uint32_t width = kWidths[in.ConsumeIntegralInRange<int>(0, 3)];
  const Elem re = Elem::numeric(TYPE_INTEGER, width);
  Shape rs;
  int64_t rext[F90_MAX_RANK] = {};
  const int dim = has_dim && !dim_bad ? dim_value - 1 : -1;
  if (!has_dim) {
    rs.rank = 1;
    rs.extent[0] = rank;
    rext[0] = rank;
  } else {
    rs.rank = rank - 1;
    for (int i = 0, j = 0; i < rank; ++i) {
      if (i == dim) continue;
      rext[j] = ss.extent[i];
      rs.extent[j++] = dim_bad ? 1 : ss.extent[i];
    }
  }
  for (int j = 0; j < rs.rank; ++j) rs.lower[j] = in.ConsumeIntegralInRange<int32_t>(-2, 2);
  Result r = any_result(in, re, rs);
  const bool fail_alloc = !r.supplied && arm_allocation_failure(in);

  open(source);
  if (masked_arg) open(mask);
  if (has_dim) open(dimarr);
  trace_descriptor("SOURCE", source.desc);
  trace_descriptor("MASK", masked_arg ? mask.desc : nullptr);
  trace("%s%s %s form, DIM choice %d value %d\n", max ? "MAXLOC_" : "MINLOC_", ent.name,
        dim_form ? "DIM" : "whole", dchoice, dim_value);

  if (tracing()) {
    for (int64_t k = 0; k < source.count && k < 16; ++k) {
      trace("  element %lld:", static_cast<long long>(k));
      for (uint32_t i = 0; i < bytes; ++i) trace(" %02x", static_cast<uint8_t>(source.at_linear(k)[i]));
      trace("\n");
    }
  }
  // The model.
  const bool scalar_false = mchoice == 1 && !read_logical(mask.base, mask.elem.bytes() * 8);
  std::vector<int32_t> locs;
  if (!dim_bad) {
    locs = model_locations(ent.code, max, source, mask_array ? &mask : nullptr, dim);
    if (scalar_false || source.count == 0) std::fill(locs.begin(), locs.end(), 0);
  }

  snapshot(r);
  ArrayDescriptor* m = masked_arg ? mask.desc : nullptr;
  if (!dim_form) {
    ent.whole[max](r.desc, source.desc, m);
  } else if (dchoice == 2) {
    ent.dim[max](r.desc, source.desc, m, nullptr);
  } else {
    ent.dim[max](r.desc, source.desc, has_dim ? dimarr.desc : nullptr, m);
  }

  const char* what = max ? "MAXLOC" : "MINLOC";
  if (ended_on_dim(what, dim_bad)) return 0;
  const int64_t count = element_count(rs.rank, rext);
  const int64_t alloc = count * width;
  if (ended_on_allocation(what, r, fail_alloc, alloc)) return 0;
  ElemsExpect elems(width, rs.rank, rext);
  for (int64_t k = 0; k < count; ++k) {
    const int64_t v = locs[static_cast<size_t>(k)];
    elems.set(k, &v);  // the low `width` bytes
  }
  verify(what, r, result_words(r, rs.rank, rext, re.units, alloc), alloc, false, elems, {});
  arena.end();
  return 0;
}
