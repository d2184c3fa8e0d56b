// ASSOCIATED(POINTER [, TARGET]) and NULL(MOLD): descriptor words only.
#pragma once

#include <cstdint>

#include "array/descriptor.h"

F90_API int32_t associated(ArrayDescriptor* pointer, ArrayDescriptor* target)
    F90_SYMBOL(_ASSOCIATED);
F90_API int32_t associated_4(ArrayDescriptor* pointer, ArrayDescriptor* target)
    F90_SYMBOL(_ASSOCIATED_4);
F90_API int64_t associated_8(ArrayDescriptor* pointer, ArrayDescriptor* target)
    F90_SYMBOL(_ASSOCIATED_8);

F90_API void null_pointer(ArrayDescriptor* result, ArrayDescriptor* mold) F90_SYMBOL(_NULL);
