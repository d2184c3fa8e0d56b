// TRANSPOSE(MATRIX): result(j, i) = source(i, j) for a rank-2 source of any
// element type; and the transposing block move it is built on.
#pragma once

#include <cstdint>

#include "array/construct.h"
#include "array/descriptor.h"

F90_API void transpose(ArrayDescriptor* result, ArrayDescriptor* source) F90_SYMBOL(_TRANS);

namespace f90 {

// Moves an m x n block of elements of `bytes` bytes: the element at
// src + i*s1 + j*s2 goes to dst + j*r1 + i*r2 (byte strides), for every
// i < m and j < n. The two never overlap, so the order of the moves is
// free: tiles for the caches, and SSE2 loads, interleaves and stores (no
// arithmetic: every bit pattern passes unchanged) for 4- and 8-byte
// elements contiguous on both sides, streamed past the caches for a large
// destination. Nothing happens for m or n below 1 or 0-byte elements.
void transpose_block(char* dst, int64_t r1, int64_t r2, const char* src, int64_t s1, int64_t s2,
                     int64_t m, int64_t n, uint32_t bytes);

// transpose_block takes the widest of these instructions the CPU has (AVX2
// for 8-byte elements, AVX-512 for 4- and 8-byte ones), but never above
// transpose_isa_limit (the widest of all unless a test lowers it to run
// the narrower paths).
F90_HIDDEN extern PackIsa transpose_isa_limit;

}  // namespace f90
