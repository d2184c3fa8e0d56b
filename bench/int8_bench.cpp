// INTEGER*8 multiply, divide and REAL*8 -> INTEGER*8 conversion per call,
// each against the same operation written inline in C++ in the same run:
// the inline forms give the library's results for every operand (wrapping
// product; INT64_MAX for a zero divisor; saturation and NaN handling of the
// conversion), so the comparison is of like with like.
// Arg 0: operands inside the 32-bit range; arg 1: operands outside it.
// Compare items_per_second of the _library and _inline rows of the same arg.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "f90/f90.h"


namespace {

constexpr int kN = 512;

struct Operands {
  std::vector<int64_t> a, b;
  std::vector<double> x;
};

Operands make_operands(bool wide) {
  std::mt19937_64 g(wide ? 2 : 1);
  Operands o;
  for (int i = 0; i < kN; ++i) {
    int64_t a, b;
    if (wide) {
      a = static_cast<int64_t>(g() | (uint64_t{1} << 40)) >> (g() % 20);
      b = static_cast<int64_t>((g() >> 24) | (uint64_t{1} << 33));
    } else {
      a = static_cast<int32_t>(g());
      b = static_cast<int32_t>(g() >> 40) | 1;
    }
    o.a.push_back(a);
    o.b.push_back(b);
    o.x.push_back(wide ? static_cast<double>(a) * 1.25 : static_cast<double>(b) * 1.25);
  }
  return o;
}

template <class Op>
void run(benchmark::State& state, Op op) {
  const Operands o = make_operands(state.range(0) != 0);
  for (auto _ : state) {
    int64_t acc = 0;
    for (int i = 0; i < kN; ++i) {
      acc ^= op(o, i);
    }
    benchmark::DoNotOptimize(acc);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kN);
}

void BM_lmul_library(benchmark::State& s) {
  run(s, [](const Operands& o, int i) { return _morvex_lmul(o.a[i], o.b[i]); });
}
void BM_lmul_inline(benchmark::State& s) {
  run(s, [](const Operands& o, int i) {
    return static_cast<int64_t>(static_cast<uint64_t>(o.a[i]) * static_cast<uint64_t>(o.b[i]));
  });
}
void BM_ldiv_library(benchmark::State& s) {
  run(s, [](const Operands& o, int i) { return _morvex_ldiv(o.a[i], o.b[i]); });
}
void BM_ldiv_inline(benchmark::State& s) {
  run(s, [](const Operands& o, int i) {
    const int64_t a = o.a[i], b = o.b[i];
    if (b == 0) return INT64_MAX;
    if (a == INT64_MIN && b == -1) return INT64_MIN;
    return a / b;
  });
}
void BM_cvtdll_library(benchmark::State& s) {
  run(s, [](const Operands& o, int i) { return _morvex_cvtdll(o.x[i]); });
}
void BM_cvtdll_inline(benchmark::State& s) {
  run(s, [](const Operands& o, int i) {
    const double x = o.x[i];
    if (!(x < 0x1p63)) return INT64_MAX;  // NaN included
    if (x <= -0x1p63) return INT64_MIN;
    return static_cast<int64_t>(x);
  });
}

BENCHMARK(BM_lmul_library)->Arg(0)->Arg(1);
BENCHMARK(BM_lmul_inline)->Arg(0)->Arg(1);
BENCHMARK(BM_ldiv_library)->Arg(0)->Arg(1);
BENCHMARK(BM_ldiv_inline)->Arg(0)->Arg(1);
BENCHMARK(BM_cvtdll_library)->Arg(0)->Arg(1);
BENCHMARK(BM_cvtdll_inline)->Arg(0)->Arg(1);

}  // namespace
