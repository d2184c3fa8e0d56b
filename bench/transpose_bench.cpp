// TRANSPOSE of a 2000 x 2000 REAL*8 matrix into a caller-supplied result;
// compare its bytes per second with BM_reference_memcpy in the same run.
#include <benchmark/benchmark.h>

#include <vector>

#include "descriptor_builder.h"
#include "array/transpose.h"

namespace {

void BM_transpose_real8(benchmark::State& state) {
  const int32_t n = static_cast<int32_t>(state.range(0));
  const f90test::ElemType r8 = f90test::ElemType::real(8);
  std::vector<double> a(static_cast<size_t>(n) * n), b(a.size());
  for (size_t i = 0; i < a.size(); ++i) a[i] = static_cast<double>(i);
  f90test::Descriptor src(r8, 2, true), dst(r8, 2, true);
  src->base = a.data();
  src->dim[0] = {1, n, 2};
  src->dim[1] = {1, n, 2 * n};
  dst->base = b.data();
  dst->dim[0] = {1, n, 2};
  dst->dim[1] = {1, n, 2 * n};
  for (auto _ : state) {
    transpose(dst.get(), src.get());
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * n * n * 8);
}
BENCHMARK(BM_transpose_real8)->Arg(2000);

}  // namespace
