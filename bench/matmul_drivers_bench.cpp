// MATMUL entry points at 500 x 500 against their kernel called directly on
// the same storage in the same run (the driver's own cost: _premult and the
// kernel choice), and, when the build found gfortran -m32, against
// gfortran -O2's MATMUL of the same arrays (its library is free to use SSE or
// AVX and blocking; the x87 kernels here round as the x87 does). Items are
// terms (M.N.K); compare items/s.
#include <benchmark/benchmark.h>

#include <complex>
#include <cstdint>
#include <random>
#include <vector>

#include "f90/descriptor.h"
#include "f90/matmul.h"

#if defined(F90_BENCH_GFORTRAN)
extern "C" {
void gf_matmul_r8(int32_t n, const double* a, const double* b, double* c);
void gf_matmul_c8(int32_t n, const std::complex<double>* a, const std::complex<double>* b,
                  std::complex<double>* c);
void gf_matmul_i4(int32_t n, const int32_t* a, const int32_t* b, int32_t* c);
}
#endif

namespace {

constexpr int32_t kN = 500;

template <class T>
std::vector<T> random_matrix(uint32_t seed) {
  std::mt19937 gen(seed);
  std::uniform_int_distribution<int> u(-99, 99);
  std::vector<T> m(static_cast<size_t>(kN) * kN);
  for (auto& x : m) {
    if constexpr (std::is_same_v<T, std::complex<double>>)
      x = {u(gen) / 8.0, u(gen) / 8.0};
    else
      x = static_cast<T>(u(gen));
  }
  return m;
}

// A contiguous kN x kN descriptor of elements of `bits` bits.
ArrayDescriptor square(void* base, uint32_t code, uint32_t bits) {
  const int32_t unit = static_cast<int32_t>(bits / 32);
  return {base, bits, f90_flags(2, 1, OBJ_PLAIN), f90_type_word(code, bits, 0, 0),
          nullptr, 0, {{1, kN, unit}, {1, kN, unit * kN}}};
}

template <class T>
struct Operands {
  std::vector<T> a = random_matrix<T>(1), b = random_matrix<T>(2), c = std::vector<T>(a.size());
};

void report(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * int64_t{kN} * kN * kN);
}

template <class T>
void driver(benchmark::State& state, F90MatmulDriver* fn, uint32_t code, uint32_t bits) {
  Operands<T> d;
  ArrayDescriptor a = square(d.a.data(), code, bits), b = square(d.b.data(), code, bits),
                  c = square(d.c.data(), code, bits);
  for (auto _ : state) {
    fn(&c, &a, &b, nullptr);
    benchmark::ClobberMemory();
  }
  report(state);
}

template <class T>
void kernel(benchmark::State& state, F90GemmKernel* fn) {
  Operands<T> d;
  const int32_t one = 1;
  for (auto _ : state) {
    fn(&kN, &kN, &kN, d.a.data(), &one, &kN, d.b.data(), &one, &kN, d.c.data(), &one, &kN);
    benchmark::ClobberMemory();
  }
  report(state);
}

void BM_MATMUL_SS(benchmark::State& s) { driver<double>(s, _MATMUL_SS, TYPE_REAL, 64); }
void BM_MATMUL_SS_kernel_SGEMMX(benchmark::State& s) { kernel<double>(s, _SGEMMX); }
void BM_MATMUL_CC(benchmark::State& s) {
  driver<std::complex<double>>(s, _MATMUL_CC, TYPE_COMPLEX, 128);
}
void BM_MATMUL_CC_kernel_CGEMMX(benchmark::State& s) { kernel<std::complex<double>>(s, _CGEMMX); }
void BM_MATMUL_I4I4(benchmark::State& s) { driver<int32_t>(s, _MATMUL_I4I4, TYPE_INTEGER, 32); }
void BM_MATMUL_I4I4_kernel_I4GEMMX(benchmark::State& s) { kernel<int32_t>(s, _I4GEMMX); }

BENCHMARK(BM_MATMUL_SS)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MATMUL_SS_kernel_SGEMMX)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MATMUL_CC)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MATMUL_CC_kernel_CGEMMX)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MATMUL_I4I4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MATMUL_I4I4_kernel_I4GEMMX)->Unit(benchmark::kMillisecond);

#if defined(F90_BENCH_GFORTRAN)
template <class T, class F>
void gfortran(benchmark::State& state, F fn) {
  Operands<T> d;
  for (auto _ : state) {
    fn(kN, d.a.data(), d.b.data(), d.c.data());
    benchmark::ClobberMemory();
  }
  report(state);
}
void BM_MATMUL_SS_gfortran(benchmark::State& s) { gfortran<double>(s, gf_matmul_r8); }
void BM_MATMUL_CC_gfortran(benchmark::State& s) { gfortran<std::complex<double>>(s, gf_matmul_c8); }
void BM_MATMUL_I4I4_gfortran(benchmark::State& s) { gfortran<int32_t>(s, gf_matmul_i4); }
BENCHMARK(BM_MATMUL_SS_gfortran)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MATMUL_CC_gfortran)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MATMUL_I4I4_gfortran)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
