// Whole-array SUM over 4M-element operands, as bytes read per second
// (compare with BM_reference_memcpy/33554432 of the same run) and as terms
// per second (compare REAL*8 with BM_reference_x87_add_chain: the terms of a
// REAL sum are added one after another into one register, so the latency of
// a dependent x87 addition bounds it).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "f90/f90.h"
#include "descriptor_builder.h"
#include "rates.h"
#include "f90/descriptor.h"


namespace {

using f90test::ElemType;
using f90test::TestArray;
using f90bench::rates;

constexpr int32_t kN = 4 << 20;

// One dependent chain of x87 additions over an in-cache vector.
void BM_reference_x87_add_chain(benchmark::State& state) {
  const int n = 1024;
  std::vector<double> a(n, 1.0000001);
  for (auto _ : state) {
    long double s = 0;
    for (int i = 0; i < n; ++i) s += a[i];
    benchmark::DoNotOptimize(s);
  }
  rates(state, n, int64_t{n} * 8);
}
BENCHMARK(BM_reference_x87_add_chain);

void BM_sum0_r8(benchmark::State& state) {
  TestArray a(ElemType::real(8), {kN});
  a.fill_linear<double>([](int64_t k) { return double((k * 7919) % 100003) - 5e4; });
  for (auto _ : state) benchmark::DoNotOptimize(_SUM0_S(a.desc(), nullptr, nullptr));
  rates(state, kN, int64_t{kN} * 8);
}
BENCHMARK(BM_sum0_r8);

// The same elements as a 2048 x 2048 section taking every other column: one
// run per column.
void BM_sum0_r8_section(benchmark::State& state) {
  TestArray a(ElemType::real(8), {2048, 2048}, {}, {1, 2});
  a.fill_linear<double>([](int64_t k) { return double(k % 1000); });
  for (auto _ : state) benchmark::DoNotOptimize(_SUM0_S(a.desc(), nullptr, nullptr));
  rates(state, kN, int64_t{kN} * 8);
}
BENCHMARK(BM_sum0_r8_section);

void BM_sum0_r8_masked(benchmark::State& state) {
  TestArray a(ElemType::real(8), {kN});
  a.fill_linear<double>([](int64_t k) { return double(k % 1000); });
  TestArray m(ElemType::logical(4), {kN});
  m.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(k % 3 != 0); });
  for (auto _ : state) benchmark::DoNotOptimize(_SUM0_S(a.desc(), nullptr, m.desc()));
  rates(state, kN, int64_t{kN} * 12);
}
BENCHMARK(BM_sum0_r8_masked);

void BM_sum0_i4(benchmark::State& state) {
  TestArray a(ElemType::integer(4), {kN});
  a.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>((k * 2654435761u) >> 7); });
  for (auto _ : state) benchmark::DoNotOptimize(_SUM0_I4(a.desc(), nullptr, nullptr));
  rates(state, kN, int64_t{kN} * 4);
}
BENCHMARK(BM_sum0_i4);

}  // namespace
