// REAL*4 EXP, LOG, SIN, the power x**y (ftof) and SQRT, per call, against
// the C library's expf, logf, sinf, powf and sqrtf in the same run. The
// arguments cycle through a small table so that no call repeats its
// predecessor's work; each result is stored as a REAL*4, as a caller would.
#include <benchmark/benchmark.h>

#include <cmath>

#include "real4/real4.h"

namespace {

constexpr int kArgs = 64;

struct Args {
  float exp[kArgs], log[kArgs], sin[kArgs], base[kArgs], power[kArgs], sqrt[kArgs];
  Args() {
    for (int i = 0; i < kArgs; ++i) {
      exp[i] = -10.0f + 0.3137f * i;          // -10 .. 9.8
      log[i] = 0.0137f + 1.571f * i;          // 0.01 .. 99
      sin[i] = -10.0f + 0.3111f * i;          // several periods
      base[i] = 0.11f + 0.1543f * i;          // 0.11 .. 9.8
      power[i] = -2.95f + 0.0917f * i;        // non-integral, -2.95 .. 2.83
      sqrt[i] = 0.37f + 15.73f * i;           // 0.37 .. 991
    }
  }
};
const Args args;

template <class F>
void run(benchmark::State& state, F f) {
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f(i));
    i = (i + 1) & (kArgs - 1);
  }
  state.SetItemsProcessed(state.iterations());
}

float stored(long double r) { return static_cast<float>(r); }

void BM_real4_exp(benchmark::State& s) {
  run(s, [](int i) { return stored(_morvex_exp(args.exp[i])); });
}
void BM_libc_expf(benchmark::State& s) {
  run(s, [](int i) { return expf(args.exp[i]); });
}
void BM_real4_alog(benchmark::State& s) {
  run(s, [](int i) { return stored(_morvex_alog(args.log[i])); });
}
void BM_libc_logf(benchmark::State& s) {
  run(s, [](int i) { return logf(args.log[i]); });
}
void BM_real4_sin(benchmark::State& s) {
  run(s, [](int i) { return stored(_morvex_sin(args.sin[i])); });
}
void BM_libc_sinf(benchmark::State& s) {
  run(s, [](int i) { return sinf(args.sin[i]); });
}
void BM_real4_ftof(benchmark::State& s) {
  run(s, [](int i) { return stored(_morvex_ftof(args.base[i], args.power[i])); });
}
void BM_libc_powf(benchmark::State& s) {
  run(s, [](int i) { return powf(args.base[i], args.power[i]); });
}
void BM_real4_sqrt(benchmark::State& s) {
  run(s, [](int i) { return stored(_morvex_sqrt(args.sqrt[i])); });
}
void BM_libc_sqrtf(benchmark::State& s) {
  run(s, [](int i) { return sqrtf(args.sqrt[i]); });
}

BENCHMARK(BM_real4_exp);
BENCHMARK(BM_libc_expf);
BENCHMARK(BM_real4_alog);
BENCHMARK(BM_libc_logf);
BENCHMARK(BM_real4_sin);
BENCHMARK(BM_libc_sinf);
BENCHMARK(BM_real4_ftof);
BENCHMARK(BM_libc_powf);
BENCHMARK(BM_real4_sqrt);
BENCHMARK(BM_libc_sqrtf);

}  // namespace
