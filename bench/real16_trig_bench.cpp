// REAL*16 SIN, COS and ATAN per call, against the C library's long double
// functions (64-bit x87 significand) and libquadmath's __float128 functions
// (113-bit software arithmetic) in the same run. The arguments cycle through
// a small table so that no call repeats its predecessor's work: angles up to
// about 100 radians for SIN and COS (so the reduction runs), and values over
// six decades for ATAN (every fold is taken).
#include <benchmark/benchmark.h>
#include <quadmath.h>

#include <cmath>
#include <cstdint>

#include "f90/f90.h"
#include "entry.h"

using morvex::DoubleDouble;


namespace {

constexpr int kArgs = 64;

struct Args {
  DoubleDouble angle[kArgs], ratio[kArgs];
  long double ld_angle[kArgs], ld_ratio[kArgs];
  __float128 q_angle[kArgs], q_ratio[kArgs];
  Args() {
    for (int i = 0; i < kArgs; ++i) {
      const double a = -97.3 + 3.07 * i;  // -97.3 .. 96.1
      const double r = std::pow(10.0, -3.0 + 0.097 * i) * (i % 2 ? -1 : 1);  // 1e-3 .. 1e3
      const double tail = 0x1p-60 * ((i % 7) - 3);
      angle[i] = {a, a * tail};
      ratio[i] = {r, r * tail};
      ld_angle[i] = static_cast<long double>(a) + a * tail;
      ld_ratio[i] = static_cast<long double>(r) + r * tail;
      q_angle[i] = static_cast<__float128>(a) + a * tail;
      q_ratio[i] = static_cast<__float128>(r) + r * tail;
    }
  }
};
const Args args;

template <class F>
void run(benchmark::State& state, F f) {
  int i = 0;
  for (auto _ : state) {
    f(i);
    i = (i + 1) & (kArgs - 1);
  }
  state.SetItemsProcessed(state.iterations());
}

template <DoubleDouble* (*F)(DoubleDouble*, DoubleDouble)>
void real16(benchmark::State& s, const DoubleDouble* x) {
  run(s, [x](int i) {
    DoubleDouble r;
    F(&r, x[i]);
    benchmark::DoNotOptimize(r);
  });
}

void BM_real16_sinl(benchmark::State& s) { real16<_morvex_sinl>(s, args.angle); }
void BM_libc_sinl(benchmark::State& s) {
  run(s, [](int i) { benchmark::DoNotOptimize(sinl(args.ld_angle[i])); });
}
void BM_quadmath_sinq(benchmark::State& s) {
  run(s, [](int i) { benchmark::DoNotOptimize(sinq(args.q_angle[i])); });
}

void BM_real16_cosl(benchmark::State& s) { real16<_morvex_cosl>(s, args.angle); }
void BM_libc_cosl(benchmark::State& s) {
  run(s, [](int i) { benchmark::DoNotOptimize(cosl(args.ld_angle[i])); });
}
void BM_quadmath_cosq(benchmark::State& s) {
  run(s, [](int i) { benchmark::DoNotOptimize(cosq(args.q_angle[i])); });
}

void BM_real16_atanl(benchmark::State& s) { real16<_morvex_atanl>(s, args.ratio); }
void BM_libc_atanl(benchmark::State& s) {
  run(s, [](int i) { benchmark::DoNotOptimize(atanl(args.ld_ratio[i])); });
}
void BM_quadmath_atanq(benchmark::State& s) {
  run(s, [](int i) { benchmark::DoNotOptimize(atanq(args.q_ratio[i])); });
}

BENCHMARK(BM_real16_sinl);
BENCHMARK(BM_libc_sinl);
BENCHMARK(BM_quadmath_sinq);
BENCHMARK(BM_real16_cosl);
BENCHMARK(BM_libc_cosl);
BENCHMARK(BM_quadmath_cosq);
BENCHMARK(BM_real16_atanl);
BENCHMARK(BM_libc_atanl);
BENCHMARK(BM_quadmath_atanq);

}  // namespace
