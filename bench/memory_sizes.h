// The operand sizes of the memory-speed benchmarks: 4 KiB (L1) to 256 MiB
// (far past L3), a factor of four apart. The references (memcpy, and the
// read-only memchr scan) run at the same sizes, so each family's figure at a
// size is a ratio to a reference measured in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

namespace f90bench {

inline constexpr int64_t kMemoryMinBytes = int64_t{4} << 10;
inline constexpr int64_t kMemoryMaxBytes = int64_t{256} << 20;

// Adds one argument per size, in bytes; a benchmark whose elements are
// `element_bytes` wide divides the argument by that to get its extent.
inline void memory_sizes(benchmark::internal::Benchmark* b) {
  for (int64_t bytes = kMemoryMinBytes; bytes <= kMemoryMaxBytes; bytes *= 4) b->Arg(bytes);
}

// A near-square m x n matrix of `bytes` bytes of `element_bytes`-byte
// elements (m = n or m = 2n: the sizes are powers of two), for the
// benchmarks that walk a rank-2 operand at every memory size.
struct MatrixShape {
  int32_t m, n;
};
inline MatrixShape matrix_of(int64_t bytes, int64_t element_bytes) {
  const int64_t count = bytes / element_bytes;
  int64_t n = 1;
  while (n * n * 4 <= count) n *= 2;
  return {static_cast<int32_t>(count / n), static_cast<int32_t>(n)};
}

}  // namespace f90bench
