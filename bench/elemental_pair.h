// Per-call timing of a library elemental against the C library's function,
// shared by the REAL*4 and REAL*8 benchmarks: both are called through
// function pointers over the same 1024 arguments of type T, under control
// word 0x127f (the mode compiled code runs in).
//
// Each library benchmark reports ns per call and `libc/f90`: the C
// function's time per call divided by ours, measured interleaved right after
// the timed loop (above 1.0: faster than the C library).
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>
#include <type_traits>
#include <vector>

#include "control_word.h"

namespace elembench {

constexpr int kArgs = 1024;

template <class T>
struct Args {
  std::vector<T> x, y;
};

template <class T>
Args<T> make_args(double xlo, double xhi, double ylo, double yhi) {
  std::mt19937_64 rng(12345);
  std::uniform_real_distribution<double> ux(xlo, xhi), uy(ylo, yhi);
  Args<T> a;
  for (int i = 0; i < kArgs; ++i) {
    a.x.push_back(static_cast<T>(ux(rng)));
    a.y.push_back(static_cast<T>(uy(rng)));
  }
  return a;
}

// One pass over the arguments; the sum keeps every call live.
template <class T, class F>
double pass(F f, const Args<T>& a) {
  long double s = 0;
  for (int i = 0; i < kArgs; ++i) s += f(a.x[i], a.y[i]);
  return static_cast<double>(s);
}

template <class T, class F>
double ns_per_call(F f, const Args<T>& a) {
  double best = 1e30;
  for (int rep = 0; rep < 15; ++rep) {
    const auto t0 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(pass(f, a));
    const auto t1 = std::chrono::steady_clock::now();
    best = std::min(best, std::chrono::duration<double, std::nano>(t1 - t0).count() / kArgs);
  }
  return best;
}

// f(x) or f(x, y), whichever f takes.
template <class T, class Fn>
auto caller(Fn f) {
  return [f](T x, T y) -> long double {
    if constexpr (std::is_invocable_v<Fn, T>) {
      (void)y;
      return f(x);
    } else {
      return f(x, y);
    }
  };
}

template <class T, class Ours, class Libc>
void run(benchmark::State& state, Ours ours, Libc libc, const Args<T>& args, bool library) {
  const uint16_t saved = f90test::get_cw();
  f90test::set_cw(f90test::kCwLibrary);
  const auto our_call = caller<T>(ours);
  const auto libc_call = caller<T>(libc);
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

}  // namespace elembench

// BM_<prefix>_<name>_f90 and BM_<prefix>_<name>_libc over arguments of type
// T: x uniform in [xlo, xhi], y in [ylo, yhi].
#define ELEMENTAL_PAIR(T, prefix, name, ours, libc, xlo, xhi, ylo, yhi)                    \
  void BM_##prefix##_##name##_f90(benchmark::State& s) {                                 \
    static const auto a = elembench::make_args<T>(xlo, xhi, ylo, yhi);                   \
    elembench::run<T>(s, elembench::opaque(ours), elembench::opaque(libc), a, true);      \
  }                                                                                        \
  void BM_##prefix##_##name##_libc(benchmark::State& s) {                                \
    static const auto a = elembench::make_args<T>(xlo, xhi, ylo, yhi);                   \
    elembench::run<T>(s, elembench::opaque(ours), elembench::opaque(libc), a, false);     \
  }                                                                                        \
  BENCHMARK(BM_##prefix##_##name##_f90);                                                  \
  BENCHMARK(BM_##prefix##_##name##_libc);
