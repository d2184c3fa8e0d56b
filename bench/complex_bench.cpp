// COMPLEX*16 multiply, divide, EXP and ABS per call, as compiled code calls
// them once per element, against std::complex<double> doing the same over
// the same data in the same run (for multiply and divide the compiler's
// inline complex arithmetic, with __muldc3 and __divdc3 for its NaN
// recovery; std::exp and std::abs of the C library). Items are elements;
// compare items/s.
//
// g++ pushes each REAL*8 part as two 32-bit words, which the callee's 64-bit
// x87 loads then wait for; a caller that stores the parts with x87 stores
// does not pay that. EXP loads the round-to-nearest, 64-bit control word
// around its exponential step: BM_complex_reference_cw measures what one
// such switch and restore costs on this machine. Everything runs under
// control word 0x127f.
#include <benchmark/benchmark.h>

#include <complex>
#include <cstdint>
#include <random>
#include <vector>

#include "complex/complex.h"
#include "control_word.h"

namespace {

constexpr int kN = 1024;  // operands stay in L1

// Every benchmark runs under control word 0x127f, the mode compiled code
// runs in.
class LibraryMode {
 public:
  LibraryMode() : saved_(x87::get_cw()) { x87::set_cw(f90test::kCwLibrary); }
  ~LibraryMode() { x87::set_cw(saved_); }

 private:
  uint16_t saved_;
};

struct Operands {
  std::vector<Complex16> x, y, r;
  std::vector<std::complex<double>> cx, cy, cr;
  Operands() : x(kN), y(kN), r(kN), cx(kN), cy(kN), cr(kN) {
    std::mt19937_64 gen(42);
    std::uniform_real_distribution<double> part(-4.0, 4.0);
    for (int i = 0; i < kN; ++i) {
      x[i] = {part(gen), part(gen)};
      y[i] = {part(gen), part(gen)};
      cx[i] = {x[i].re, x[i].im};
      cy[i] = {y[i].re, y[i].im};
    }
  }
};

template <class Op>
void library_loop(benchmark::State& state, Op op) {
  Operands d;
  const LibraryMode mode;
  for (auto _ : state) {
    for (int i = 0; i < kN; ++i) op(&d.r[i], d.x[i], d.y[i]);
    benchmark::DoNotOptimize(d.r.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kN);
}

template <class Op>
void std_loop(benchmark::State& state, Op op) {
  Operands d;
  const LibraryMode mode;
  for (auto _ : state) {
    for (int i = 0; i < kN; ++i) d.cr[i] = op(d.cx[i], d.cy[i]);
    benchmark::DoNotOptimize(d.cr.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kN);
}

using C = std::complex<double>;

void BM_complex_cdmul(benchmark::State& s) { library_loop(s, _morvex_cdmul); }
void BM_complex_std_mul(benchmark::State& s) {
  std_loop(s, [](C a, C b) { return a * b; });
}
void BM_complex_cddiv(benchmark::State& s) { library_loop(s, _morvex_cddiv); }
void BM_complex_std_div(benchmark::State& s) {
  std_loop(s, [](C a, C b) { return a / b; });
}
void BM_complex_cdexp(benchmark::State& s) {
  library_loop(s, [](Complex16* r, Complex16 a, Complex16) { _morvex_cdexp(r, a); });
}
void BM_complex_std_exp(benchmark::State& s) {
  std_loop(s, [](C a, C) { return std::exp(a); });
}

void BM_complex_cdabs(benchmark::State& state) {
  Operands d;
  const LibraryMode mode;
  for (auto _ : state) {
    long double sum = 0;
    for (int i = 0; i < kN; ++i) sum += _morvex_cdabs(d.x[i]);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kN);
}
void BM_complex_std_abs(benchmark::State& state) {
  Operands d;
  const LibraryMode mode;
  for (auto _ : state) {
    long double sum = 0;
    for (int i = 0; i < kN; ++i) sum += std::abs(d.cx[i]);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kN);
}

// A control-word switch and restore, as EXP makes it.
void BM_complex_reference_cw(benchmark::State& state) {
  const LibraryMode mode;
  for (auto _ : state) {
    for (int i = 0; i < kN; ++i) {
      uint16_t saved;
      const uint16_t mode = 0x137f;
      __asm__ volatile("fnstcw %0\n\tfldcw %1\n\tfldcw %0" : "=m"(saved) : "m"(mode));
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kN);
}

BENCHMARK(BM_complex_cdmul);
BENCHMARK(BM_complex_std_mul);
BENCHMARK(BM_complex_cddiv);
BENCHMARK(BM_complex_std_div);
BENCHMARK(BM_complex_cdexp);
BENCHMARK(BM_complex_std_exp);
BENCHMARK(BM_complex_cdabs);
BENCHMARK(BM_complex_std_abs);
BENCHMARK(BM_complex_reference_cw);

}  // namespace
