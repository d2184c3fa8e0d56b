// REAL*16 arithmetic per call, as the array procedures call it once per
// element, against a plain double add and multiply over the same data in the
// same run. Items are elements; compare items/s.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "real16/real16.h"

namespace {

constexpr int kN = 1024;  // operands stay in L1

struct Operands {
  std::vector<DoubleDouble> a, b, r;
  std::vector<double> x, y, z;
  Operands() : a(kN), b(kN), r(kN), x(kN), y(kN), z(kN) {
    std::mt19937_64 gen(42);
    std::uniform_real_distribution<double> u(0.5, 2.0);
    for (int i = 0; i < kN; ++i) {
      x[i] = u(gen);
      y[i] = u(gen);
      a[i] = {x[i], x[i] * 0x1p-60};
      b[i] = {y[i], -y[i] * 0x1p-58};
    }
  }
};

template <class Op>
void dd_loop(benchmark::State& state, Op op) {
  Operands d;
  for (auto _ : state) {
    for (int i = 0; i < kN; ++i) op(&d.r[i], d.a[i], d.b[i]);
    benchmark::DoNotOptimize(d.r.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kN);
}

void BM_real16_qadd(benchmark::State& state) { dd_loop(state, _morvex_qadd); }
void BM_real16_qmul(benchmark::State& state) { dd_loop(state, _morvex_qmul); }
void BM_real16_qdiv(benchmark::State& state) { dd_loop(state, _morvex_qdiv); }

void BM_real16_qcompare(benchmark::State& state) {
  Operands d;
  for (auto _ : state) {
    int32_t s = 0;
    for (int i = 0; i < kN; ++i) s += _morvex_qcompare(d.a[i], d.b[i]);
    benchmark::DoNotOptimize(s);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kN);
}

// The references: one double operation per element over the same arrays.
template <class Op>
void double_loop(benchmark::State& state, Op op) {
  Operands d;
  for (auto _ : state) {
    for (int i = 0; i < kN; ++i) d.z[i] = op(d.x[i], d.y[i]);
    benchmark::DoNotOptimize(d.z.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kN);
}

void BM_reference_double_add(benchmark::State& state) {
  double_loop(state, [](double p, double q) { return p + q; });
}
void BM_reference_double_mul(benchmark::State& state) {
  double_loop(state, [](double p, double q) { return p * q; });
}

BENCHMARK(BM_real16_qadd);
BENCHMARK(BM_real16_qmul);
BENCHMARK(BM_real16_qdiv);
BENCHMARK(BM_real16_qcompare);
BENCHMARK(BM_reference_double_add);
BENCHMARK(BM_reference_double_mul);

}  // namespace
