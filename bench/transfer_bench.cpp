// TRANSFER of 32 MiB of INTEGER*4 to a REAL*8 array (word mode), contiguous
// and from a section with stride 2; compare with BM_reference_memcpy.
#include <benchmark/benchmark.h>

#include <vector>

#include "descriptor_builder.h"
#include "array/transfer.h"

namespace {

void BM_transfer_words(benchmark::State& state) {
  const int32_t step = static_cast<int32_t>(state.range(0));
  const int32_t n = (32 << 20) / 4;  // source elements
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
BENCHMARK(BM_transfer_words)->Arg(1)->Arg(2);

}  // namespace
