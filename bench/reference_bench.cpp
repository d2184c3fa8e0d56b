// Physical references measured in the same run as the library benchmarks:
// memcpy bandwidth (moves compare against it), a read-only scan (reductions
// and dot products), the x87 multiply-add rate (MATMUL compares against it)
// and the x87 addition rate (SUM along DIM).
#include <benchmark/benchmark.h>

#include "memory_sizes.h"

#include <cstring>
#include <vector>

namespace {

void BM_reference_memcpy(benchmark::State& state) {
  const size_t bytes = static_cast<size_t>(state.range(0));
  std::vector<char> src(bytes, 1), dst(bytes);
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), bytes);
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}
// 32 MiB: out of cache, as the array benchmarks' 4M-element operands are;
// then every size of the memory-speed benchmarks.
BENCHMARK(BM_reference_memcpy)->Arg(32 << 20)->Apply(f90bench::memory_sizes);

// A read-only scan: memchr for a byte that is absent reads every byte once.
// Reductions and dot products read their operands once, so this, not
// memcpy (which moves twice the bytes), is their reference.
void BM_reference_memchr(benchmark::State& state) {
  const size_t bytes = static_cast<size_t>(state.range(0));
  std::vector<char> src(bytes, 1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::memchr(src.data(), 0, bytes));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_reference_memchr)->Arg(32 << 20)->Apply(f90bench::memory_sizes);

// Four independent x87 multiply-add chains over a small vector.
void BM_reference_x87_madd(benchmark::State& state) {
  const int n = 1024;
  std::vector<double> a(n, 1.0000001), b(n, 0.9999999);
  for (auto _ : state) {
    long double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    for (int i = 0; i < n; i += 4) {
      s0 += static_cast<long double>(a[i]) * b[i];
      s1 += static_cast<long double>(a[i + 1]) * b[i + 1];
      s2 += static_cast<long double>(a[i + 2]) * b[i + 2];
      s3 += static_cast<long double>(a[i + 3]) * b[i + 3];
    }
    benchmark::DoNotOptimize(s0 + s1 + s2 + s3);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * n);
  state.counters["madd/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * n,
                                                benchmark::Counter::kIsRate);
}
BENCHMARK(BM_reference_x87_madd);

// Six independent chains of x87 additions of REAL*8 operands from memory:
// the addition rate that reductions along DIM compare terms against.
void BM_reference_x87_add(benchmark::State& state) {
  const int n = 1200;
  std::vector<double> a(n, 1.0000001);
  for (auto _ : state) {
    long double s0 = 0, s1 = 0, s2 = 0, s3 = 0, s4 = 0, s5 = 0;
    for (int i = 0; i < n; i += 6) {
      s0 += a[i];
      s1 += a[i + 1];
      s2 += a[i + 2];
      s3 += a[i + 3];
      s4 += a[i + 4];
      s5 += a[i + 5];
    }
    benchmark::DoNotOptimize(s0 + s1 + s2 + s3 + s4 + s5);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * n);
}
BENCHMARK(BM_reference_x87_add);

}  // namespace
