// TRANSFER of 32 MiB of INTEGER*4 to a REAL*8 array (word mode), contiguous
// and from a section with stride 2; compare with BM_reference_memcpy.
// BM_transfer_stride2_sizes: the stride-2 section at every memory size
// (argument: the result's bytes), against BM_reference_memcpy at that size.
#include <benchmark/benchmark.h>

#include <vector>

#include "descriptor_builder.h"
#include "memory_sizes.h"
#include "array/transfer.h"

namespace {

// n INTEGER*4 source elements `step` apart into a REAL*8 result.
void transfer_words(benchmark::State& state, int32_t n, int32_t step) {
  std::vector<int32_t> a(static_cast<size_t>(n) * step, 1);
  std::vector<double> b(static_cast<size_t>(n) / 2);
  f90test::Descriptor src(f90test::ElemType::integer(4), 1, true);
  src->base = a.data();
  src->dim[0] = {1, n, step};
  f90test::Descriptor mold(f90test::ElemType::real(8), 1, true);
  mold->base = b.data();
  mold->dim[0] = {1, 1, 2};
  f90test::Descriptor dst(f90test::ElemType::real(8), 1, true);
  dst->base = b.data();
  dst->dim[0] = {1, n / 2, 2};
  for (auto _ : state) {
    transfer_array(dst.get(), src.get(), mold.get(), nullptr);
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * n * 4);
}

void BM_transfer_words(benchmark::State& state) {
  transfer_words(state, (32 << 20) / 4, static_cast<int32_t>(state.range(0)));
}
BENCHMARK(BM_transfer_words)->Arg(1)->Arg(2);

void BM_transfer_stride2_sizes(benchmark::State& state) {
  transfer_words(state, static_cast<int32_t>(state.range(0) / 4), 2);
}
BENCHMARK(BM_transfer_stride2_sizes)->Apply(f90bench::memory_sizes);

}  // namespace
