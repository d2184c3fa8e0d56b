// _PRESUM: the shared set-up of SUM and PRODUCT.
//
// Steps, in order (every field of the first four is written before DIM is
// checked, so a whole-array caller can go on after a report):
//   1. source base, rank, extents and strides in elements (the descriptor's
//      stride divided by the storage units of its int_len, truncating);
//   2. DIM presence and value;
//   3. MASK base (twice), element bytes, and per source dimension its extent
//      and stride when the MASK has the source's rank, else extent 1 and
//      stride 0 (one MASK value governs every element); LOGICAL*2 and
//      LOGICAL*8 strides are halved from storage units to elements;
//   4. the scalar-result flag;
//   5. DIM outside 1..rank: 1405, and nothing more;
//   then, along DIM only: the result geometry from a supplied result, or a
//   completed and allocated one (the source's shape without DIM), the result
//   base, and the rotation of DIM to position 0.
//
// Sizes are computed in 64 bits: a result above 0x7FFFFFFF bytes is reported
// as 1205 without asking the allocator. A result to be completed without DIM
// has no shape to take: it is reported as 1405 and left untouched. Storage is
// laid out for the larger of the result's own element and the source's, so
// that a walk storing source elements never runs past the block.
#include "prodsum/presum.h"

#include "array/result.h"

namespace f90::prodsum {

namespace {

// Entries 0..d-1 rotate one place towards the end: entry d-1 comes first.
void rotate_front(int32_t* v, int d) {
  const int32_t moved = v[d - 1];
  for (int k = d - 1; k > 0; --k) v[k] = v[k - 1];
  v[0] = moved;
}

// Completes a result that arrived without storage: the source's dimensions
// without the DIM-th (d, 1-based), lower bounds 1, contiguous strides.
SetupStatus complete(Desc res, Desc src, int d, int32_t units, const SetupFields& out,
                     char*& block) {
  const int n = src.rank();
  const int m = n - 1;

  int64_t extents[F90_MAX_RANK] = {};
  uint32_t running = 1;  // wraps only for results too large to allocate
  out.res_stride[0] = 1;
  for (int k = 0; k < m; ++k) {
    const int s = k < d - 1 ? k : k + 1;
    extents[k] = src.extent(s);
    out.res_extent[k] = src.extent(s);
    out.res_stride[k] = static_cast<int32_t>(running);
    running *= extents[k] > 0 ? static_cast<uint32_t>(extents[k]) : 0u;
  }
  // Room for the larger of the source's and the result's element; the
  // dimensions are written even when the storage cannot be had.
  const uint32_t src_bytes = static_cast<uint32_t>(units) * (src.int_len() < 32 ? 1u : 4u);
  const uint32_t res_bytes = res.int_len() / 8;
  const ResultElement elem{static_cast<uint32_t>(units),
                           src_bytes > res_bytes ? src_bytes : res_bytes, 0, false};
  ResultRules rules;
  rules.layout_first = true;
  const bool ok = complete_result(res, m, extents, elem, rules);  // reports 1205 itself
  block = res.base();
  return ok ? SetupStatus::ok : SetupStatus::alloc_failed;
}

}  // namespace

SetupStatus presum(int32_t array_result, ArrayDescriptor* result, ArrayDescriptor* source,
                   const int32_t* dim, ArrayDescriptor* mask, const SetupFields& out) {
  const Desc src(source);
  const int n = src.rank();
  const int32_t units = storage_units(src.int_len());

  // 1. Source.
  *out.src_base = src.base();
  *out.src_rank = n;
  for (int i = 0; i < n; ++i) {
    out.src_extent[i] = src.extent(i);
    out.src_stride[i] = units > 0 ? src.stride(i) / units : 0;
  }

  // 2. DIM.
  int32_t d = 0;
  *out.dim_present = dim != nullptr;
  if (dim != nullptr) {
    d = *dim;
    *out.dim_value = d;
  }

  // 3. MASK.
  *out.mask_present = mask != nullptr;
  if (mask != nullptr) {
    const Desc m(mask);
    const uint32_t bits = m.int_len();
    *out.mask_base = m.base();
    *out.mask_bytes = static_cast<int32_t>(bits >> 3);
    *out.mask_base2 = m.base();
    const bool same_rank = m.rank() == n;
    const bool halve = bits > 32 || (bits > 8 && bits < 32);
    for (int i = 0; i < n; ++i) {
      out.mask_extent[i] = same_rank ? m.extent(i) : 1;
      const int32_t stride = same_rank ? m.stride(i) : 0;
      out.mask_stride[i] = halve ? stride >> 1 : stride;
    }
  }

  // 4. Scalar or array result.
  *out.scalar_result = array_result == 0;

  // 5. DIM check.
  if (dim != nullptr && (d < 1 || d > n)) {
    report(ERR_DIM_RANGE);
    return SetupStatus::dim_range;
  }
  if (array_result == 0) return SetupStatus::ok;

  // The result along DIM.
  const Desc res(result);
  char* block;
  if (res.assoc()) {
    block = res.base();
    for (int i = 0; i < res.rank(); ++i) {
      out.res_extent[i] = res.extent(i);
      out.res_stride[i] = units > 0 ? res.stride(i) / units : 0;
    }
  } else {
    if (dim == nullptr) {  // no dimension to leave out of the result's shape
      report(ERR_DIM_RANGE);
      return SetupStatus::dim_range;
    }
    const SetupStatus st = complete(res, src, d, units, out, block);
    if (st != SetupStatus::ok) return st;
  }
  *out.res_base = block;

  // Rotation of DIM to the front.
  if (dim != nullptr && d != 1) {
    rotate_front(out.src_extent, d);
    rotate_front(out.src_stride, d);
    if (mask != nullptr) {
      rotate_front(out.mask_extent, d);
      rotate_front(out.mask_stride, d);
    }
    *out.dim_value = 1;
  }
  return SetupStatus::ok;
}

}  // namespace f90::prodsum

// The exported set-up: the sixteen fields by pointer; no result.
void presum_entry(const int32_t* array_result, ArrayDescriptor* result, ArrayDescriptor* source,
                  const int32_t* dim, ArrayDescriptor* mask, int32_t* src_rank,
                  int32_t* dim_present, int32_t* dim_value, int32_t* mask_present,
                  int32_t* scalar_result, char** src_base, int32_t* src_extent, int32_t* src_stride,
                  char** res_base, int32_t* res_extent, int32_t* res_stride, char** mask_base,
                  int32_t* mask_extent, int32_t* mask_stride, int32_t* mask_bytes,
                  char** mask_base2) {
  f90::prodsum::presum(*array_result, result, source, dim, mask,
                       {src_rank, dim_present, dim_value, mask_present, scalar_result, src_base,
                        src_extent, src_stride, res_base, res_extent, res_stride, mask_base,
                        mask_extent, mask_stride, mask_bytes, mask_base2});
}
