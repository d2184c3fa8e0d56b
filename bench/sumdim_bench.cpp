// SUM along DIM 1 and DIM 2 of a 2048 x 2048 REAL*8 array, as bytes of source
// read per second; compare with BM_sumdim_memcpy (the same 32 MiB copied) of
// the same run.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "f90/f90.h"
#include "descriptor_builder.h"
#include "f90/descriptor.h"


namespace {

using f90test::ElemType;
using f90test::TestArray;

constexpr int32_t kN = 2048;
constexpr int64_t kBytes = int64_t{kN} * kN * 8;

void BM_sumdim_memcpy(benchmark::State& state) {
  std::vector<char> from(kBytes, 1), to(kBytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), kBytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kBytes);
}
BENCHMARK(BM_sumdim_memcpy);

void BM_sumdim_r8(benchmark::State& state) {
  const int32_t dim = static_cast<int32_t>(state.range(0));
  TestArray a(ElemType::real(8), {kN, kN});
  a.fill_linear<double>([](int64_t k) { return double((k * 7919) % 100003) - 5e4; });
  TestArray r(ElemType::real(8), {kN});
  for (auto _ : state) {
    _SUM_S(r.desc(), a.desc(), &dim, nullptr);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kBytes);
}
BENCHMARK(BM_sumdim_r8)->Arg(1)->Arg(2);

}  // namespace
