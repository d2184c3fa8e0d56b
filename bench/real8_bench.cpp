// REAL*8 elementals against the C library's functions (the i386 libm), in
// the same run, both called through function pointers over the same 1024
// arguments, under control word 0x127f (the mode compiled code runs in).
//
// Each library benchmark reports ns per call and `libc/f90`: the C
// function's time per call divided by ours, measured interleaved right after
// the timed loop (above 1.0: faster than the C library).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "control_word.h"
#include "../libf90elem/elem/real8/real8.h"

namespace {

using Ours1 = long double (*)(double);
using Ours2 = long double (*)(double, double);
using Libc1 = double (*)(double);
using Libc2 = double (*)(double, double);

constexpr int kArgs = 1024;

struct Args {
  std::vector<double> x, y;
};

Args make_args(double xlo, double xhi, double ylo, double yhi) {
  std::mt19937_64 rng(12345);
  std::uniform_real_distribution<double> ux(xlo, xhi), uy(ylo, yhi);
  Args a;
  for (int i = 0; i < kArgs; ++i) {
    a.x.push_back(ux(rng));
    a.y.push_back(uy(rng));
  }
  return a;
}

// One pass over the arguments; the sum keeps every call live.
template <class F>
double pass(F f, const Args& a) {
  long double s = 0;
  for (int i = 0; i < kArgs; ++i) s += f(a.x[i], a.y[i]);
  return static_cast<double>(s);
}

template <class F>
double ns_per_call(F f, const Args& a) {
  double best = 1e30;
  for (int rep = 0; rep < 15; ++rep) {
    const auto t0 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(pass(f, a));
    const auto t1 = std::chrono::steady_clock::now();
    best = std::min(best, std::chrono::duration<double, std::nano>(t1 - t0).count() / kArgs);
  }
  return best;
}

template <class Ours, class Libc>
void run(benchmark::State& state, Ours ours, Libc libc, const Args& args, bool library) {
  const uint16_t saved = f90test::get_cw();
  f90test::set_cw(f90test::kCwLibrary);
  auto our_call = [ours](double x, double y) -> long double {
    if constexpr (std::is_same_v<Ours, Ours1>) {
      (void)y;
      return ours(x);
    } else {
      return ours(x, y);
    }
  };
  auto libc_call = [libc](double x, double y) -> long double {
    if constexpr (std::is_same_v<Libc, Libc1>) {
      (void)y;
      return libc(x);
    } else {
      return libc(x, y);
    }
  };
  for (auto _ : state) {
    benchmark::DoNotOptimize(library ? pass(our_call, args) : pass(libc_call, args));
  }
  state.counters["ns/call"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kArgs,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  if (library) {
    double ours_ns = 1e30, libc_ns = 1e30;
    for (int round = 0; round < 3; ++round) {
      ours_ns = std::min(ours_ns, ns_per_call(our_call, args));
      libc_ns = std::min(libc_ns, ns_per_call(libc_call, args));
    }
    state.counters["libc/f90"] = libc_ns / ours_ns;
  }
  f90test::set_cw(saved);
}

// Function pointers read through volatile objects, so neither side is
// inlined or folded.
template <class P>
P opaque(P p) {
  volatile P v = p;
  return v;
}

#define REAL8_PAIR(name, ours, libc, xlo, xhi, ylo, yhi)                                   \
  void BM_real8_##name##_f90(benchmark::State& s) {                                       \
    static const Args a = make_args(xlo, xhi, ylo, yhi);                                   \
    run(s, opaque(ours), opaque(libc), a, true);                                           \
  }                                                                                         \
  void BM_real8_##name##_libc(benchmark::State& s) {                                      \
    static const Args a = make_args(xlo, xhi, ylo, yhi);                                   \
    run(s, opaque(ours), opaque(libc), a, false);                                          \
  }                                                                                         \
  BENCHMARK(BM_real8_##name##_f90);                                                        \
  BENCHMARK(BM_real8_##name##_libc);

REAL8_PAIR(dexp, Ours1{_morvex_dexp}, Libc1{::exp}, -20.0, 20.0, 0.0, 0.0)
REAL8_PAIR(dlog, Ours1{_morvex_dlog}, Libc1{::log}, 1e-3, 1e3, 0.0, 0.0)
REAL8_PAIR(dsin, Ours1{_morvex_dsin}, Libc1{::sin}, -10.0, 10.0, 0.0, 0.0)
REAL8_PAIR(dcos, Ours1{_morvex_dcos}, Libc1{::cos}, -10.0, 10.0, 0.0, 0.0)
REAL8_PAIR(dtan, Ours1{_morvex_dtan}, Libc1{::tan}, -10.0, 10.0, 0.0, 0.0)
REAL8_PAIR(datan2, Ours2{_morvex_datan2}, Libc2{::atan2}, -10.0, 10.0, -10.0, 10.0)
REAL8_PAIR(dsinh, Ours1{_morvex_dsinh}, Libc1{::sinh}, -5.0, 5.0, 0.0, 0.0)
REAL8_PAIR(dtod, Ours2{_morvex_dtod}, Libc2{::pow}, 0.1, 10.0, -5.0, 5.0)
REAL8_PAIR(dsqrt, Ours1{_morvex_dsqrt}, Libc1{::sqrt}, 0.0, 1e6, 0.0, 0.0)

}  // namespace
