// TRANSFER(SOURCE, MOLD [, SIZE]).
#pragma once

#include <cstdint>

#include "array/descriptor.h"

// The worker: completes (when `assoc` is clear) and fills the result.
// `selector` says which entry point called (0, 1, 2 or 4) and is not used.
F90_API void transfer_worker(ArrayDescriptor* result, ArrayDescriptor* source,
                             ArrayDescriptor* mold, const int32_t* size, int32_t selector)
    F90_SYMBOL(__transfer);

F90_API void transfer_array(ArrayDescriptor* result, ArrayDescriptor* source,
                            ArrayDescriptor* mold, const int32_t* size) F90_SYMBOL(_TRANSFER);

// Scalar forms: the first 4 bytes as an integer, the first 8 as a REAL*8,
// the first 32 into the caller's slot (whose address is returned). Bytes
// beyond MOLD's element are 0.
F90_API int32_t transfer_word(ArrayDescriptor* source, ArrayDescriptor* mold,
                              const int32_t* size) F90_SYMBOL(_TRANSFER1_0);
F90_API int32_t transfer_word_4(ArrayDescriptor* source, ArrayDescriptor* mold,
                                const int32_t* size) F90_SYMBOL(_TRANSFER1_0_4);
F90_API double transfer_double(ArrayDescriptor* source, ArrayDescriptor* mold,
                               const int32_t* size) F90_SYMBOL(_TRANSFER2_0);
F90_API void* transfer_32_bytes(void* slot, ArrayDescriptor* source, ArrayDescriptor* mold,
                                const int32_t* size) F90_SYMBOL(_TRANSFER4_0);
