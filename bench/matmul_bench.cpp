// GEMM and GEMV kernels against the x87 peak measured in the same run.
//
// The peak: seven independent register-only x87 chains (s = s*m; s = s + m,
// every operand in a register), operations per second. Each kernel reports
// GFLOP/s (2 M N K per product, 2 M N per GEMV; a complex term counts 8)
// and `peak`, its flop rate over that operation rate. Square contiguous
// matrices of 250, 500, 1000 and 2000, operands in range (no zero, NaN or
// infinity), under the control word the counter name gives:
//   _SGEMMX/column_*: A stored by columns (the column order);
//   _SGEMMX/inner_*:  A stored by rows, As1 = n, As2 = 1 (the inner-product
//                   order); *_x87 keeps to the x87 kernel (one subnormal
//                   in A), *_lanes lets in-range operands take the SSE2
//                   lanes (0x127f);
//   _CGEMMX, _I4GEMMX (column order), _SGEMVX.
// gfortran/matmul: gfortran -m32 -O2's MATMUL on the same REAL*8 matrices,
// built only when a 32-bit gfortran is found.
#include <benchmark/benchmark.h>

#include <chrono>
#include <initializer_list>
#include <cstdint>
#include <random>
#include <vector>

#include "f90/matmul.h"
#include "x87.h"

#ifdef F90_BENCH_GFORTRAN
extern "C" void f90bench_gfortran_matmul(const double* a, const double* b, double* c,
                                         const int32_t* n);
#endif

namespace {

// Operations per second of seven independent x87 chains held in registers.
double x87_peak() {
  static const double peak = [] {
    const double m = 0.5;
    const uint32_t iters = 1000000;
    double best = 0;
    for (int rep = 0; rep < 40; ++rep) {  // the best of many: the machine is shared
      const auto t0 = std::chrono::steady_clock::now();
      uint32_t count = iters;
      __asm__ volatile(
          "fld1\n\tfld1\n\tfld1\n\tfld1\n\tfld1\n\tfld1\n\tfld1\n\t"
          "fldl %1\n"
          "1:\n\t"
          "fmul %%st, %%st(1)\n\tfmul %%st, %%st(2)\n\tfmul %%st, %%st(3)\n\t"
          "fmul %%st, %%st(4)\n\tfmul %%st, %%st(5)\n\tfmul %%st, %%st(6)\n\t"
          "fmul %%st, %%st(7)\n\t"
          "fadd %%st, %%st(1)\n\tfadd %%st, %%st(2)\n\tfadd %%st, %%st(3)\n\t"
          "fadd %%st, %%st(4)\n\tfadd %%st, %%st(5)\n\tfadd %%st, %%st(6)\n\t"
          "fadd %%st, %%st(7)\n\t"
          "decl %0\n\t"
          "jnz 1b\n\t"
          "fstp %%st(0)\n\tfstp %%st(0)\n\tfstp %%st(0)\n\tfstp %%st(0)\n\t"
          "fstp %%st(0)\n\tfstp %%st(0)\n\tfstp %%st(0)\n\tfstp %%st(0)"
          : "+r"(count)
          : "m"(m)
          : "cc", "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)");
      const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
      best = std::max(best, 14.0 * iters / s);
    }
    return best;
  }();
  return peak;
}

template <class T>
std::vector<T> random_values(size_t n, uint32_t seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(0.5, 2.0);
  std::vector<T> v(n);
  for (auto& x : v) x = static_cast<T>(u(gen));
  return v;
}

void report(benchmark::State& state, double flops_per_call) {
  const double flops = flops_per_call * static_cast<double>(state.iterations());
  state.counters["GFLOPS"] = benchmark::Counter(flops / 1e9, benchmark::Counter::kIsRate);
  state.counters["peak"] = benchmark::Counter(flops / x87_peak(), benchmark::Counter::kIsRate);
}

// REAL*8 product; row_wise stores A by rows (the inner-product order).
// x87_only plants one subnormal in A (a value like any other to the x87
// kernel), which keeps _SGEMMX off the SSE2 lanes.
void BM_SGEMMX(benchmark::State& state, bool row_wise, bool x87_only) {
  const int32_t n = static_cast<int32_t>(state.range(0));
  const uint16_t cw = static_cast<uint16_t>(state.range(1));
  const int32_t one = 1, as1 = row_wise ? n : 1, as2 = row_wise ? 1 : n;
  auto a = random_values<double>(size_t(n) * n, 1);
  const auto b = random_values<double>(size_t(n) * n, 2);
  if (x87_only) a[0] = 0x1p-1060;
  std::vector<double> c(size_t(n) * n);
  const uint16_t saved = x87::get_cw();
  x87::set_cw(cw);
  for (auto _ : state) {
    _SGEMMX(&n, &n, &n, a.data(), &as1, &as2, b.data(), &one, &n, c.data(), &one, &n);
    benchmark::ClobberMemory();
  }
  x87::set_cw(saved);
  report(state, 2.0 * n * n * n);
}

void BM_CGEMMX(benchmark::State& state) {
  const int32_t n = static_cast<int32_t>(state.range(0)), one = 1;
  const auto a = random_values<double>(2 * size_t(n) * n, 1);
  const auto b = random_values<double>(2 * size_t(n) * n, 2);
  std::vector<double> c(2 * size_t(n) * n);
  for (auto _ : state) {
    _CGEMMX(&n, &n, &n, a.data(), &one, &n, b.data(), &one, &n, c.data(), &one, &n);
    benchmark::ClobberMemory();
  }
  report(state, 8.0 * n * n * n);
}

void BM_I4GEMMX(benchmark::State& state) {
  const int32_t n = static_cast<int32_t>(state.range(0)), one = 1;
  std::vector<int32_t> a(size_t(n) * n), b(a.size()), c(a.size());
  std::mt19937 gen(3);
  for (auto& x : a) x = static_cast<int32_t>(gen() % 100) + 1;
  for (auto& x : b) x = static_cast<int32_t>(gen() % 100) + 1;
  for (auto _ : state) {
    _I4GEMMX(&n, &n, &n, a.data(), &one, &n, b.data(), &one, &n, c.data(), &one, &n);
    benchmark::ClobberMemory();
  }
  report(state, 2.0 * n * n * n);
}

void BM_SGEMVX(benchmark::State& state) {
  const int32_t n = static_cast<int32_t>(state.range(0)), one = 1;
  const auto a = random_values<double>(size_t(n) * n, 1), x = random_values<double>(n, 2);
  std::vector<double> y(n);
  for (auto _ : state) {
    _SGEMVX(&n, &n, a.data(), &one, &n, x.data(), &one, y.data(), &one);
    benchmark::ClobberMemory();
  }
  report(state, 2.0 * n * n);
}

#ifdef F90_BENCH_GFORTRAN
void BM_gfortran_matmul(benchmark::State& state) {
  const int32_t n = static_cast<int32_t>(state.range(0));
  const auto a = random_values<double>(size_t(n) * n, 1), b = random_values<double>(size_t(n) * n, 2);
  std::vector<double> c(size_t(n) * n);
  const uint16_t saved = x87::get_cw();
  x87::set_cw(x87::CW_NEAREST_DOUBLE);
  for (auto _ : state) {
    f90bench_gfortran_matmul(a.data(), b.data(), c.data(), &n);
    benchmark::ClobberMemory();
  }
  x87::set_cw(saved);
  report(state, 2.0 * n * n * n);
}
BENCHMARK(BM_gfortran_matmul)->Name("gfortran/matmul")->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)
    ->Unit(benchmark::kMillisecond)->MinTime(0.5);
#endif

void square_sizes(benchmark::internal::Benchmark* b, std::initializer_list<int> words) {
  for (int cw : words)
    for (int n : {250, 500, 1000, 2000}) b->Args({n, cw});
  b->ArgNames({"n", "cw"})->Unit(benchmark::kMillisecond)->MinTime(0.5);
}
void x87_words(benchmark::internal::Benchmark* b) { square_sizes(b, {0x127f, 0x037f}); }
void lane_words(benchmark::internal::Benchmark* b) { square_sizes(b, {0x127f}); }

BENCHMARK_CAPTURE(BM_SGEMMX, column_x87, false, true)->Apply(x87_words);
BENCHMARK_CAPTURE(BM_SGEMMX, inner_x87, true, true)->Apply(x87_words);
BENCHMARK_CAPTURE(BM_SGEMMX, column_lanes, false, false)->Apply(lane_words);
BENCHMARK_CAPTURE(BM_SGEMMX, inner_lanes, true, false)->Apply(lane_words);
BENCHMARK(BM_CGEMMX)->Arg(250)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_I4GEMMX)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);
BENCHMARK(BM_SGEMVX)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
