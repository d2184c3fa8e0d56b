// MAXLOC and MINLOC: the parts of the engine that do not depend on the
// element type (DIM, result completion, zeroing, early exits, walks, the
// location store).
#include "array/location.h"
#include "common/inputs.h"

namespace f90::location {

namespace {

// DIM as compiled code passes it: a rank-0 integer of 1, 2, 4 or 8 bytes, of
// which only the low 32-bit word counts; any other length reads as 0.
int32_t read_dim(Desc d) {
  const char* p = d.base();
  if (p == nullptr) return 0;
  switch (d.int_len()) {
    case 8: return load<int8_t>(p);
    case 16: return load<int16_t>(p);
    case 32:
    case 64: return load<int32_t>(p);
    default: return 0;
  }
}

bool any_extent_empty(Desc d) {
  for (int i = 0; i < d.rank(); ++i)
    if (d.extent(i) <= 0) return true;
  return false;
}

// Byte stride of result dimension i (element stride times location width).
int64_t result_stride(const Plan& plan, int i) {
  return int64_t{plan.result.stride(i) / static_cast<int32_t>(plan.res_units)} * plan.width;
}

// Every element of the result, through its own extents and strides, set to 0.
void zero_result(const Plan& plan) {
  const Desc r = plan.result;
  WalkArray w{r.base(), {}};
  int32_t extent[F90_MAX_RANK] = {};
  for (int i = 0; i < r.rank(); ++i) {
    w.stride[i] = result_stride(plan, i);
    extent[i] = r.extent(i);
  }
  walk_runs(r.rank(), extent, std::array<WalkArray*, 1>{&w},
            [&](const std::array<char*, 1>& o, int64_t n) {
              char* p = o[0];
              if (w.stride[0] == plan.width) {  // a contiguous run: one fill
                std::memset(p, 0, static_cast<size_t>(n) * plan.width);
                return;
              }
              for (int64_t k = 0; k < n; ++k, p += w.stride[0]) store_location(p, plan.width, -1);
            });
}

int64_t source_stride(const Plan& plan, int i, uint32_t elem_bytes) {
  return int64_t{plan.source.stride(i) / static_cast<int32_t>(plan.src_units)} * elem_bytes;
}

// A MASK dimension beyond the MASK's rank does not move it.
int64_t mask_stride(const Plan& plan, int i) {
  const Desc m = plan.mask;
  return m.raw() != nullptr && i < m.rank() ? logical_byte_stride(m.stride(i), m.elem_len()) : 0;
}

}  // namespace

bool prepare(Plan& plan, ArrayDescriptor* result, ArrayDescriptor* source, ArrayDescriptor* dim,
             ArrayDescriptor* mask) {
  if (!inputs_readable(source, dim, mask)) return false;
  plan.result = Desc(result);
  plan.source = Desc(source);
  const Desc res = plan.result, src = plan.source;
  const int rank = src.rank();

  const uint32_t len = res.elem_len();
  plan.width = len == 8 || len == 16 || len == 32 || len == 64 ? len / 8 : 0;
  plan.res_units = len < 32 ? len / 8 : len / 32;

  // DIM is checked before anything is written: a bad one ends the call.
  plan.dim = -1;
  if (dim != nullptr && rank > 0) {
    const int32_t d = read_dim(Desc(dim));
    if (d < 1 || d > rank) {
      report(ERR_DIM_RANGE);
      return false;
    }
    plan.dim = d - 1;
  }

  const uint32_t int_len = src.int_len();
  plan.src_units = int_len < 32 ? int_len / 8 : int_len / 32;
  if (plan.src_units == 0) plan.src_units = 1;

  if (!res.assoc()) {
    // With DIM one location per line (rank - 1 dimensions: those other than
    // DIM); without DIM one per source dimension, in the caller's rank-1
    // result.
    int rrank = 1;
    int64_t extents[F90_MAX_RANK] = {rank};
    if (dim != nullptr) {
      rrank = rank > 1 ? rank - 1 : 0;
      for (int i = 0, j = 0; i < rank; ++i)
        if (i != plan.dim) extents[j++] = src.extent(i);
      res.set_rank(rrank);
    }
    const ResultElement elem{plan.res_units, plan.width, len, false};
    if (!complete_result(res, rrank, extents, elem, ResultRules::construction())) return false;
  }

  plan.store = plan.width != 0 && res.base() != nullptr;
  if (plan.store) zero_result(plan);

  // Nothing to search: the result keeps its zeroes.
  if (rank == 0 || any_extent_empty(src)) return false;
  if (any_extent_empty(res)) return false;
  plan.mask = Desc(nullptr);
  if (mask != nullptr) {
    const Desc m(mask);
    if (m.rank() > 0) {
      if (any_extent_empty(m)) return false;
      plan.mask = m;
    } else {
      // A scalar MASK decides for every element at once.
      const uint32_t bits = m.elem_len();
      if (bits != 8 && bits != 16 && bits != 32 && bits != 64) return false;
      if (!logical_true(m.base(), logical_bytes(bits))) return false;
    }
  }
  plan.none = plan.mask.raw() != nullptr ? -1 : 0;
  return true;
}

void store_subscripts(const Plan& plan, int64_t at) {
  const Desc res = plan.result, src = plan.source;
  // Only as many subscripts as the result holds.
  int count = src.rank();
  int64_t step = 0;
  if (res.rank() == 0) {
    count = 1;
  } else {
    step = result_stride(plan, 0);
    if (res.extent(0) < count) count = res.extent(0);
  }
  char* p = res.base();
  for (int k = 0; k < count; ++k, p += step) {
    const int64_t e = src.extent(k);
    store_location(p, plan.width, at < 0 ? -1 : at % e);
    if (at >= 0) at /= e;
  }
}

void whole_runs(const Plan& plan, uint32_t elem_bytes, Runs<2>& runs) {
  runs.arrays[0].base = plan.source.base();
  runs.arrays[1].base = plan.mask.raw() != nullptr ? plan.mask.base() : nullptr;
  for (int i = 0; i < plan.source.rank(); ++i)
    runs.add(plan.source.extent(i), {source_stride(plan, i, elem_bytes), mask_stride(plan, i)});
}

void dim_lines(const Plan& plan, uint32_t elem_bytes, extremum::Lines& l) {
  extremum::lay_out_lines(
      l, plan.source, plan.mask.raw() != nullptr ? plan.mask.base() : nullptr, plan.result,
      plan.dim, [&](int i) { return source_stride(plan, i, elem_bytes); },
      [&](int i) { return mask_stride(plan, i); }, [&](int j) { return result_stride(plan, j); });
}

}  // namespace f90::location
