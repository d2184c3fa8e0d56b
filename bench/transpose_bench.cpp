// TRANSPOSE of a 2000 x 2000 REAL*8 matrix into a caller-supplied result;
// compare its bytes per second with BM_reference_memcpy in the same run.
// BM_transpose_sizes: near-square m x n matrices at every memory size.
#include <benchmark/benchmark.h>

#include <vector>

#include "descriptor_builder.h"
#include "memory_sizes.h"
#include "array/transpose.h"

namespace {

// An m x n REAL*8 matrix into an n x m result.
void transpose_real8(benchmark::State& state, int32_t m, int32_t n) {
  const f90test::ElemType r8 = f90test::ElemType::real(8);
  std::vector<double> a(static_cast<size_t>(m) * n), b(a.size());
  for (size_t i = 0; i < a.size(); ++i) a[i] = static_cast<double>(i);
  f90test::Descriptor src(r8, 2, true), dst(r8, 2, true);
  src->base = a.data();
  src->dim[0] = {1, m, 2};
  src->dim[1] = {1, n, 2 * m};
  dst->base = b.data();
  dst->dim[0] = {1, n, 2};
  dst->dim[1] = {1, m, 2 * n};
  for (auto _ : state) {
    transpose(dst.get(), src.get());
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * m * n * 8);
}

void BM_transpose_real8(benchmark::State& state) {
  const int32_t n = static_cast<int32_t>(state.range(0));
  transpose_real8(state, n, n);
}
BENCHMARK(BM_transpose_real8)->Arg(2000);

void BM_transpose_sizes(benchmark::State& state) {
  const f90bench::MatrixShape s = f90bench::matrix_of(state.range(0), 8);
  transpose_real8(state, s.m, s.n);
}
BENCHMARK(BM_transpose_sizes)->Apply(f90bench::memory_sizes);

}  // namespace
