// REAL*16 EXP, LOG, SQRT and the power x**y, per call, against the C
// library's long double functions (64-bit x87 significand) and libquadmath's
// __float128 functions (113-bit software arithmetic) in the same run. The
// arguments cycle through a small table so that no call repeats its
// predecessor's work.
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
  DoubleDouble dd[kArgs], dd_exp[kArgs];
  long double ld[kArgs], ld_exp[kArgs];
  __float128 q[kArgs], q_exp[kArgs];
  Args() {
    for (int i = 0; i < kArgs; ++i) {
      const double hi = 0.37 + 1.91 * i;        // 0.37 .. 120.7
      const double lo = hi * 0x1p-60 * ((i % 7) - 3);
      dd[i] = {hi, lo};
      ld[i] = static_cast<long double>(hi) + lo;
      q[i] = static_cast<__float128>(hi) + lo;
      const double e = -2.5 + 0.08 * i;          // exponents -2.5 .. 2.54
      dd_exp[i] = {e, 0.0};
      ld_exp[i] = e;
      q_exp[i] = e;
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

void BM_real16_expl(benchmark::State& s) {
  run(s, [](int i) {
    DoubleDouble r;
    _morvex_expl(&r, {args.dd[i].hi * 0.05, args.dd[i].lo * 0.05});
    benchmark::DoNotOptimize(r);
  });
}
void BM_libc_expl(benchmark::State& s) {
  run(s, [](int i) { benchmark::DoNotOptimize(expl(args.ld[i] * 0.05L)); });
}
void BM_quadmath_expq(benchmark::State& s) {
  run(s, [](int i) { benchmark::DoNotOptimize(expq(args.q[i] * static_cast<__float128>(0.05))); });
}

void BM_real16_logl(benchmark::State& s) {
  run(s, [](int i) {
    DoubleDouble r;
    _morvex_logl(&r, args.dd[i]);
    benchmark::DoNotOptimize(r);
  });
}
void BM_libc_logl(benchmark::State& s) {
  run(s, [](int i) { benchmark::DoNotOptimize(logl(args.ld[i])); });
}
void BM_quadmath_logq(benchmark::State& s) {
  run(s, [](int i) { benchmark::DoNotOptimize(logq(args.q[i])); });
}

void BM_real16_sqrtl(benchmark::State& s) {
  run(s, [](int i) {
    DoubleDouble r;
    _morvex_sqrtl(&r, args.dd[i]);
    benchmark::DoNotOptimize(r);
  });
}
void BM_libc_sqrtl(benchmark::State& s) {
  run(s, [](int i) { benchmark::DoNotOptimize(sqrtl(args.ld[i])); });
}
void BM_quadmath_sqrtq(benchmark::State& s) {
  run(s, [](int i) { benchmark::DoNotOptimize(sqrtq(args.q[i])); });
}

void BM_real16_powl(benchmark::State& s) {
  run(s, [](int i) {
    DoubleDouble r;
    _morvex_powl(&r, args.dd[i], args.dd_exp[i]);
    benchmark::DoNotOptimize(r);
  });
}
void BM_libc_powl(benchmark::State& s) {
  run(s, [](int i) { benchmark::DoNotOptimize(powl(args.ld[i], args.ld_exp[i])); });
}
void BM_quadmath_powq(benchmark::State& s) {
  run(s, [](int i) { benchmark::DoNotOptimize(powq(args.q[i], args.q_exp[i])); });
}

BENCHMARK(BM_real16_expl);
BENCHMARK(BM_libc_expl);
BENCHMARK(BM_quadmath_expq);
BENCHMARK(BM_real16_logl);
BENCHMARK(BM_libc_logl);
BENCHMARK(BM_quadmath_logq);
BENCHMARK(BM_real16_sqrtl);
BENCHMARK(BM_libc_sqrtl);
BENCHMARK(BM_quadmath_sqrtq);
BENCHMARK(BM_real16_powl);
BENCHMARK(BM_libc_powl);
BENCHMARK(BM_quadmath_powq);

}  // namespace
