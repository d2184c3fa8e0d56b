// ALL, ANY and COUNT: the parts of the skeleton that do not depend on the
// reduction or the MASK width (DIM, result completion, identity fill, walks).
#include "array/logical_reduction.h"
#include "common/inputs.h"

namespace f90::logical {

void store(char* p, uint32_t bytes, uint64_t v) {
  switch (bytes) {
    case 1: { const uint8_t b = static_cast<uint8_t>(v); std::memcpy(p, &b, 1); return; }
    case 2: { const uint16_t h = static_cast<uint16_t>(v); std::memcpy(p, &h, 2); return; }
    case 8: std::memcpy(p, &v, 8); return;
    default: { const uint32_t w = static_cast<uint32_t>(v); std::memcpy(p, &w, 4); return; }
  }
}

// Sets the first `rank` dimensions' worth of result elements to v.
static void fill(const Plan& plan, int rank, uint64_t v) {
  const Desc r = plan.result;
  WalkArray w{r.base(), {}};
  int32_t extent[F90_MAX_RANK] = {};
  for (int i = 0; i < rank; ++i) {
    extent[i] = r.extent(i);
    w.stride[i] = byte_stride(plan.rbytes, r.stride(i));
  }
  const int64_t s = w.stride[0];
  // One loop per result width (little-endian: the low bytes), one memset
  // for a contiguous run of zeros.
  walk_runs(rank, extent, std::array<WalkArray*, 1>{&w},
            [&](const std::array<char*, 1>& o, int64_t n) {
              if (v == 0 && s == plan.rbytes) {
                std::memset(o[0], 0, static_cast<size_t>(n) * plan.rbytes);
                return;
              }
              with_width(plan.rbytes, [&](auto b) {
                if constexpr (b.value <= 8) {
                  char* p = o[0];
                  for (int64_t k = 0; k < n; ++k, p += s) std::memcpy(p, &v, b.value);
                }
              });
            });
}

bool prepare(Plan& plan, ArrayDescriptor* result, ArrayDescriptor* mask, const int32_t* dim,
             uint64_t identity) {
  if (!inputs_readable(mask)) return false;
  plan.result = Desc(result);
  plan.mask = Desc(mask);
  const Desc m = plan.mask, r = plan.result;
  const int rank = m.rank();

  // DIM picks the line dimension of a MASK of rank 2 or more; a bad one
  // there ends the call. For rank 1 it is checked and the scan goes on.
  plan.dim = 0;
  if (dim != nullptr) {
    const bool bad = *dim < 1 || *dim > rank;
    if (bad) report(ERR_DIM_RANGE);
    if (rank > 1) {
      if (bad) return false;
      plan.dim = *dim - 1;
    }
  }
  plan.lines = dim != nullptr && rank > 1 && r.rank() > 0;
  plan.result_dims = plan.lines ? (r.rank() < rank - 1 ? r.rank() : rank - 1) : 0;
  plan.rbytes = width_of(r);
  plan.mbytes = width_of(m);

  int fill_rank = r.rank();
  if (!r.assoc()) {
    int64_t extents[F90_MAX_RANK];
    int64_t count = 1;
    for (int i = 0, j = 0; j < plan.result_dims; ++i) {
      if (i == plan.dim) continue;
      extents[j++] = m.extent(i);
      count *= m.extent(i) > 0 ? m.extent(i) : 0;
    }
    if (!complete_result_descriptor(r, plan.result_dims, extents)) return false;
    // An empty result is laid out but left without storage and unassociated.
    if (count == 0) r.set_assoc(false);
    fill_rank = plan.result_dims;
  }
  if (r.base() == nullptr) return false;
  fill(plan, fill_rank, identity);

  for (int i = 0; i < rank; ++i)
    if (m.extent(i) <= 0) return false;
  return true;
}

void mask_runs(const Plan& plan, Runs<1>& runs) {
  runs.arrays[0].base = plan.mask.base();
  for (int i = 0; i < plan.mask.rank(); ++i)
    runs.add(plan.mask.extent(i), {byte_stride(plan.mbytes, plan.mask.stride(i))});
}

void mask_lines(const Plan& plan, Lines& l) {
  const Desc m = plan.mask, r = plan.result;
  l.rank = m.rank();
  l.mask.base = m.base();
  l.res.base = r.base();
  for (int i = 0, j = 0; i < l.rank; ++i) {
    l.extent[i] = m.extent(i);
    l.mask.stride[i] = byte_stride(plan.mbytes, m.stride(i));
    if (i == plan.dim) continue;
    l.res.stride[i] = j < plan.result_dims ? byte_stride(plan.rbytes, r.stride(j)) : 0;
    ++j;
  }
}

}  // namespace f90::logical
