// Entry points of the element-order construction intrinsics, for the
// library's own tests. Every argument is passed by address; an absent
// optional argument is a null pointer.
#pragma once

#include <cstdint>

#include "f90/descriptor.h"
#include "symbols.h"

namespace f90 {

// PACK(ARRAY, MASK [, VECTOR]); MASK is rank 0 or ARRAY's shape.
F90_API void pack(ArrayDescriptor* result, ArrayDescriptor* array, ArrayDescriptor* mask,
                  ArrayDescriptor* vector) F90_SYMBOL(_PACK);

// The instruction sets PACK's gathers may use, in increasing order. PACK
// takes the widest the CPU allows, but never above pack_isa_limit (the
// widest of all unless a test lowers it to run the narrower paths).
enum class PackIsa { none, sse2, ssse3, avx2, avx512 };
F90_HIDDEN extern PackIsa pack_isa_limit;

// UNPACK(VECTOR, MASK, FIELD); FIELD is rank 0 or MASK's shape.
F90_API void unpack(ArrayDescriptor* result, ArrayDescriptor* vector, ArrayDescriptor* mask,
                    ArrayDescriptor* field) F90_SYMBOL(_UNPACK);

// RESHAPE(SOURCE, SHAPE [, PAD] [, ORDER]).
F90_API void reshape(ArrayDescriptor* result, ArrayDescriptor* source, ArrayDescriptor* shape,
                     ArrayDescriptor* pad, ArrayDescriptor* order) F90_SYMBOL(_RESHAPE);

// SPREAD(SOURCE, DIM, NCOPIES).
F90_API void spread(ArrayDescriptor* result, ArrayDescriptor* source, const int32_t* dim,
                    const int32_t* ncopies) F90_SYMBOL(_SPREAD);

}  // namespace f90
