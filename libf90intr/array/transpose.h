// TRANSPOSE(MATRIX): result(j, i) = source(i, j) for a rank-2 source of any
// element type.
#pragma once

#include "array/descriptor.h"

F90_API void transpose(ArrayDescriptor* result, ArrayDescriptor* source) F90_SYMBOL(_TRANS);
