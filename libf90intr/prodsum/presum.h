// The set-up every SUM and PRODUCT routine runs first (_PRESUM), and the
// geometry it hands them.
//
// From the source, the optional DIM and MASK and, for the routines along DIM,
// the result descriptor, the set-up fills a ReductionSetup: base addresses
// with extents and strides counted in elements, so that the walks never read
// a descriptor. Along DIM it also completes and allocates a result that
// arrived without storage, and rotates the DIM-th dimension of the source and
// MASK geometry to the front (the walk then always reduces along position 0,
// and source positions 1..n-1 match result positions 0..n-2).
//
// Compiled code passes the sixteen fields as sixteen separate pointers; the
// library's own routines keep one ReductionSetup in their frame and pass
// fields_of(setup). Only the entries a call names are written: every other
// entry keeps what the caller left there.
#pragma once

#include <cstdint>

#include "array/descriptor.h"
#include "common/mask.h"
#include "common/walk.h"

namespace f90::prodsum {

struct ReductionSetup {
  int32_t src_rank;
  int32_t dim_present;
  int32_t dim_value;  // 1 after the rotation; not written without DIM
  int32_t mask_present;
  int32_t scalar_result;  // 1 for the whole-array routines
  char* src_base;
  int32_t src_extent[F90_MAX_RANK];
  int32_t src_stride[F90_MAX_RANK];  // elements
  char* res_base;                    // array form only
  int32_t res_extent[F90_MAX_RANK];
  int32_t res_stride[F90_MAX_RANK];  // elements
  char* mask_base;
  int32_t mask_extent[F90_MAX_RANK];  // 1 for a MASK of another rank
  int32_t mask_stride[F90_MAX_RANK];  // MASK elements; 0 for a MASK of another rank
  int32_t mask_bytes;                 // bytes per MASK element (int_len / 8)
  char* mask_base2;                   // the same address as mask_base
};

// One pointer per field, in the order _PRESUM takes them (arguments 6-21).
struct SetupFields {
  int32_t* src_rank;
  int32_t* dim_present;
  int32_t* dim_value;
  int32_t* mask_present;
  int32_t* scalar_result;
  char** src_base;
  int32_t* src_extent;
  int32_t* src_stride;
  char** res_base;
  int32_t* res_extent;
  int32_t* res_stride;
  char** mask_base;
  int32_t* mask_extent;
  int32_t* mask_stride;
  int32_t* mask_bytes;
  char** mask_base2;
};

inline SetupFields fields_of(ReductionSetup& s) {
  return {&s.src_rank,      &s.dim_present, &s.dim_value,  &s.mask_present,
          &s.scalar_result, &s.src_base,    s.src_extent,  s.src_stride,
          &s.res_base,      s.res_extent,   s.res_stride,  &s.mask_base,
          s.mask_extent,    s.mask_stride,  &s.mask_bytes, &s.mask_base2};
}

// What the set-up reported. After dim_range or alloc_failed no result base
// was written, nothing was rotated and, for dim_range, the result descriptor
// is untouched: an array-form caller must store nothing. A scalar-form caller
// still has every field its walk reads.
enum class SetupStatus { ok, dim_range, alloc_failed };

// Storage units per element for an element of `bits` bits: bytes below 32
// bits, 32-bit words from 32 bits on (0 for an element under 8 bits).
inline int32_t storage_units(uint32_t bits) {
  return static_cast<int32_t>(bits < 32 ? bits / 8 : bits / 32);
}

// Calls f(reader, bytes per unit of MASK stride, MASK base) for the set-up's
// MASK element size: 8 (the low-order word is tested), 4, 2 or 1 bytes from
// the second base; any other size as 32-bit words from the first.
template <class F>
inline void by_mask_bytes(const ReductionSetup& s, F&& f) {
  switch (s.mask_bytes) {
    case 8:
    case 4:
    case 2:
    case 1:
      return with_logical<Logical8::low_word>(static_cast<uint32_t>(s.mask_bytes), [&](auto m) {
        f(m, decltype(m)::kBytes, s.mask_base2);
      });
    default: return f(Logical<4>{}, 4, s.mask_base);
  }
}

// `array_result` 0: the whole-array form (`result` is not touched and may be
// null). Non-zero: the form along DIM.
SetupStatus presum(int32_t array_result, ArrayDescriptor* result, ArrayDescriptor* source,
                   const int32_t* dim, ArrayDescriptor* mask, const SetupFields& out);

inline SetupStatus presum(int32_t array_result, ArrayDescriptor* result, ArrayDescriptor* source,
                          const int32_t* dim, ArrayDescriptor* mask, ReductionSetup& setup) {
  return presum(array_result, result, source, dim, mask, fields_of(setup));
}

}  // namespace f90::prodsum

// _PRESUM: arguments 1-5 (flag, result, source, DIM, MASK), then one pointer
// per ReductionSetup field in its order.
F90_API void presum_entry(const int32_t*, ArrayDescriptor*, ArrayDescriptor*, const int32_t*,
                          ArrayDescriptor*, int32_t*, int32_t*, int32_t*, int32_t*, int32_t*,
                          char**, int32_t*, int32_t*, char**, int32_t*, int32_t*, char**, int32_t*,
                          int32_t*, int32_t*, char**) F90_SYMBOL(_PRESUM);
