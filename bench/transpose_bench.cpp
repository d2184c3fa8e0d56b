// TRANSPOSE of a 2000 x 2000 REAL*8 matrix into a caller-supplied result;
// compare its bytes per second with BM_reference_memcpy in the same run.
// BM_transpose_sizes: near-square m x n matrices at every memory size;
// BM_transpose_real4_sizes the same of REAL*4.
#include <benchmark/benchmark.h>

#include <vector>

#include "descriptor_builder.h"
#include "memory_sizes.h"
#include "array/transpose.h"

namespace {

// An m x n REAL matrix (elements of sizeof(T) bytes) into an n x m result.
template <class T>
void transpose_real(benchmark::State& state, int32_t m, int32_t n) {
  const f90test::ElemType type = f90test::ElemType::real(sizeof(T));
  const int32_t u = sizeof(T) / 4;  // storage units (words) of an element
  std::vector<T> a(static_cast<size_t>(m) * n), b(a.size());
  for (size_t i = 0; i < a.size(); ++i) a[i] = static_cast<T>(i);
  f90test::Descriptor src(type, 2, true), dst(type, 2, true);
  src->base = a.data();
  src->dim[0] = {1, m, u};
  src->dim[1] = {1, n, u * m};
  dst->base = b.data();
  dst->dim[0] = {1, n, u};
  dst->dim[1] = {1, m, u * n};
  for (auto _ : state) {
    transpose(dst.get(), src.get());
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * m * n * static_cast<int64_t>(sizeof(T)));
}

void BM_transpose_real8(benchmark::State& state) {
  const int32_t n = static_cast<int32_t>(state.range(0));
  transpose_real<double>(state, n, n);
}
BENCHMARK(BM_transpose_real8)->Arg(2000);

void BM_transpose_sizes(benchmark::State& state) {
  const f90bench::MatrixShape s = f90bench::matrix_of(state.range(0), 8);
  transpose_real<double>(state, s.m, s.n);
}
BENCHMARK(BM_transpose_sizes)->Apply(f90bench::memory_sizes);

// The same of REAL*4 (the 4-byte elements' paths).
void BM_transpose_real4_sizes(benchmark::State& state) {
  const f90bench::MatrixShape s = f90bench::matrix_of(state.range(0), 4);
  transpose_real<float>(state, s.m, s.n);
}
BENCHMARK(BM_transpose_real4_sizes)->Apply(f90bench::memory_sizes);

}  // namespace
