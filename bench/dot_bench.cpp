// DOT_PRODUCT over 4M-element operands.
// - MX_DOT_I4I4 reads 8 bytes a term: compare its bytes/s with
//   BM_reference_memchr/33554432 (a read-only scan of the same 32 MiB).
// - MX_DOT_SI4 adds its terms one after another into one x87 register:
//   compare its terms/s with BM_reference_x87_add_chain (sum_bench.cpp), the
//   rate of a dependent chain of x87 additions.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "descriptor_builder.h"
#include "f90/dotprod.h"

namespace {

using f90test::ElemType;
using f90test::TestArray;

constexpr int32_t kN = 4 << 20;

void rates(benchmark::State& state, int64_t terms, int64_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
  state.counters["terms/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * terms,
                                                 benchmark::Counter::kIsRate);
}

void BM_dot_i4i4(benchmark::State& state) {
  TestArray a(ElemType::integer(4), {kN}), b(ElemType::integer(4), {kN});
  a.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(k * 7919); });
  b.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(k % 1000 - 500); });
  for (auto _ : state) benchmark::DoNotOptimize(MX_DOT_I4I4(a.desc(), b.desc()));
  rates(state, kN, int64_t{kN} * 8);
}
BENCHMARK(BM_dot_i4i4);

void BM_dot_si4(benchmark::State& state) {
  TestArray a(ElemType::real(8), {kN}), b(ElemType::integer(4), {kN});
  a.fill_linear<double>([](int64_t k) { return double((k * 7919) % 100003) * 1e-3; });
  b.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(k % 1000 - 500); });
  for (auto _ : state) benchmark::DoNotOptimize(MX_DOT_SI4(a.desc(), b.desc()));
  rates(state, kN, int64_t{kN} * 12);
}
BENCHMARK(BM_dot_si4);

}  // namespace
