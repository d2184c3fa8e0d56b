// MAXVAL and MINVAL: the parts of the engine that do not depend on the
// element type (start values, DIM, result completion, scalar MASK, walks).
#include "array/extremum.h"

namespace f90::extremum {

namespace {

template <class T>
void set(Start& s, T v) {
  std::memset(s.bytes, 0, sizeof s.bytes);
  std::memcpy(s.bytes, &v, sizeof v);
}

}  // namespace

// Integers start from -HUGE / HUGE of their kind (never the most negative
// value), reals from -HUGE / HUGE; ELEM_I4 and ELEM_R8 take the bound of the
// kind their ValKind names.
void start_value(Start& s, Dir dir, int32_t code, int32_t valkind) {
  const bool max = dir == Dir::Max;
  switch (code) {
    case ELEM_I1: return set<int8_t>(s, max ? -127 : 127);
    case ELEM_I2: return set<int16_t>(s, max ? -32767 : 32767);
    case ELEM_I4: {
      const int32_t huge = valkind == VK_I4 ? INT32_MAX : valkind == VK_I2 ? 32767 : 127;
      return set<int32_t>(s, max ? -huge : huge);
    }
    case ELEM_I8: return set<int64_t>(s, max ? -INT64_MAX : INT64_MAX);
    case ELEM_R4: return set<uint32_t>(s, max ? 0xff7fffffu : 0x7f7fffffu);
    case ELEM_R8: {
      const uint64_t huge = valkind == VK_R8 ? 0x7fefffffffffffffull : 0x47efffffe0000000ull;
      return set<uint64_t>(s, max ? huge | 0x8000000000000000ull : huge);
    }
    case ELEM_R16: {
      Real16 huge;
      std::memcpy(&huge, &huge_real16_f90_y_ieee, sizeof huge);
      if (max) _morvex_qneg(&huge, huge);
      return set(s, huge);
    }
    default: return set<uint64_t>(s, 0);
  }
}

static bool any_extent_empty(Desc d) {
  for (int i = 0; i < d.rank(); ++i)
    if (d.extent(i) <= 0) return true;
  return false;
}

bool prepare(Plan& plan, ArrayDescriptor* result, ArrayDescriptor* source, const int32_t* dim,
             ArrayDescriptor* mask, int32_t scalar_flag) {
  plan.result = Desc(result);
  plan.source = Desc(source);
  plan.scalar = scalar_flag != 0;
  const Desc src = plan.source;
  const int rank = src.rank();

  plan.empty = any_extent_empty(src) || (mask != nullptr && any_extent_empty(Desc(mask))) ||
               (plan.result.assoc() && !plan.scalar && any_extent_empty(plan.result));

  // DIM is read only for a source of rank 2 or more. A bad DIM leaves the
  // result as it came (the scalar entries' slots hold the start value).
  plan.dim = 0;
  if (dim != nullptr && rank >= 2) {
    if (*dim < 1 || *dim > rank) {
      report(ERR_DIM_RANGE);
      return false;
    }
    plan.dim = *dim - 1;
  }
  // A whole-array reduction: scalar entries (DIM ignored then), rank 1, and
  // no DIM (the rank-0 result of an array entry called without one).
  plan.whole = plan.scalar || dim == nullptr || rank <= 1;
  if (plan.whole) plan.dim = 0;

  plan.cls = classify(src);
  if (!plan.result.assoc()) {
    const int rrank = plan.whole ? 0 : rank - 1;
    int64_t extents[F90_MAX_RANK];
    for (int i = 0, j = 0; i < rank && !plan.whole; ++i)
      if (i != plan.dim) extents[j++] = src.extent(i);
    plan.result.set_rank(rrank);
    // Laid out with the source's element, not the result's type word.
    const uint32_t units = plan.cls.units;
    const ResultElement elem{units, units * (plan.cls.byte_address ? 1u : 4u), src.elem_len(),
                             plan.result.is_character()};
    if (!complete_result(plan.result, rrank, extents, elem)) return false;
    plan.result.set_elem_len(src.elem_len());
  }

  // A scalar MASK decides for every element at once.
  plan.mask = Desc(nullptr);
  if (mask != nullptr) {
    const Desc m(mask);
    if (m.rank() > 0) {
      plan.mask = m;
    } else if (!logical_true(m.base(), logical_bytes(m.elem_len()))) {
      plan.empty = true;
    }
  }
  return true;
}

void fill_start(const Plan& plan, const Start& start, uint32_t bytes) {
  const Desc r = plan.result;
  if (r.base() == nullptr) return;
  if (plan.scalar) {
    std::memcpy(r.base(), start.bytes, bytes);
    return;
  }
  // Every element, through the result's own extents and strides.
  WalkArray w{r.base(), {}};
  for (int i = 0; i < r.rank(); ++i) w.stride[i] = plan.cls.byte_stride(r.stride(i));
  int32_t extent[F90_MAX_RANK] = {};
  for (int i = 0; i < r.rank(); ++i) extent[i] = r.extent(i);
  walk_runs(r.rank(), extent, std::array<WalkArray*, 1>{&w},
            [&](const std::array<char*, 1>& o, int64_t n) {
              char* p = o[0];
              for (int64_t k = 0; k < n; ++k, p += w.stride[0]) std::memcpy(p, start.bytes, bytes);
            });
}

// Byte stride of a mask dimension: its own storage units, not divided.
static int64_t mask_stride(const Plan& plan, int i) {
  return plan.mask.raw() != nullptr && i < plan.mask.rank() ? plan.mask.byte_stride(i) : 0;
}

void whole_runs(const Plan& plan, Runs<2>& runs) {
  runs.arrays[0].base = plan.source.base();
  runs.arrays[1].base = plan.mask.raw() != nullptr ? plan.mask.base() : nullptr;
  for (int i = 0; i < plan.source.rank(); ++i)
    runs.add(plan.source.extent(i),
             {plan.cls.byte_stride(plan.source.stride(i)), mask_stride(plan, i)});
}

void dim_lines(const Plan& plan, Lines& l) {
  const Desc src = plan.source, res = plan.result;
  lay_out_lines(
      l, src, plan.mask.raw() != nullptr ? plan.mask.base() : nullptr, res, plan.dim,
      [&](int i) { return plan.cls.byte_stride(src.stride(i)); },
      [&](int i) { return mask_stride(plan, i); },
      [&](int j) { return plan.cls.byte_stride(res.stride(j)); });
}

bool block_lines(const Plan& plan, const Lines& lines, Blocks& b) {
  return block_lines(plan.dim, lines, b);
}

bool block_lines(int d, const Lines& lines, Blocks& b) {
  auto mag = [](int64_t s) { return s < 0 ? -s : s; };
  int across = -1;
  for (int i = 0; i < lines.rank; ++i)
    if (i != d && (across < 0 || mag(lines.src.stride[i]) < mag(lines.src.stride[across])))
      across = i;
  if (across < 0 || mag(lines.src.stride[across]) >= mag(lines.src.stride[d])) return false;

  b.n = lines.extent[d];
  b.src_step = lines.src.stride[d];
  b.mask_step = lines.mask.stride[d];
  b.across = across < d ? across : across - 1;
  Lines& r = b.lines;
  r.rank = lines.rank - 1;
  r.src.base = lines.src.base;
  r.mask.base = lines.mask.base;
  r.res.base = lines.res.base;
  for (int i = 0, j = 0; i < lines.rank; ++i) {
    if (i == d) continue;
    r.extent[j] = lines.extent[i];
    r.src.stride[j] = lines.src.stride[i];
    r.mask.stride[j] = lines.mask.stride[i];
    r.res.stride[j] = lines.res.stride[i];
    ++j;
  }
  return true;
}

}  // namespace f90::extremum
