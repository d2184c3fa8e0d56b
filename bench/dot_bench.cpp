// DOT_PRODUCT over 4M-element operands.
// - MX_DOT_I4I4 reads 8 bytes a term: compare its bytes/s with
//   BM_reference_memchr/33554432 (a read-only scan of the same 32 MiB).
// - MX_DOT_SI4 adds its terms one after another into one x87 register:
//   compare its terms/s with BM_reference_x87_add_chain (sum_bench.cpp), the
//   rate of a dependent chain of x87 additions. So do _DOT_SS and _DOT_CC
//   (one chain per part: the two parts of _DOT_CC run side by side).
// - _DOT_DD in terms/s, against BM_reference_dd_calls: the same terms by a
//   loop calling _morvex_qmul and _morvex_qadd per term.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "common/elem_calls.h"
#include "control_word.h"
#include "descriptor_builder.h"
#include "rates.h"
#include "f90/dotprod.h"

namespace {

using f90test::ElemType;
using f90test::TestArray;
using f90bench::rates;

constexpr int32_t kN = 4 << 20;

void BM_dot_i4i4(benchmark::State& state) {
  TestArray a(ElemType::integer(4), {kN}), b(ElemType::integer(4), {kN});
  a.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(k * 7919); });
  b.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(k % 1000 - 500); });
  for (auto _ : state) benchmark::DoNotOptimize(MX_DOT_I4I4(a.desc(), b.desc()));
  rates(state, kN, int64_t{kN} * 8);
}
BENCHMARK(BM_dot_i4i4);

void BM_dot_si4(benchmark::State& state) {
  TestArray a(ElemType::real(8), {kN}), b(ElemType::integer(4), {kN});
  a.fill_linear<double>([](int64_t k) { return double((k * 7919) % 100003) * 1e-3; });
  b.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(k % 1000 - 500); });
  for (auto _ : state) benchmark::DoNotOptimize(MX_DOT_SI4(a.desc(), b.desc()));
  rates(state, kN, int64_t{kN} * 12);
}
BENCHMARK(BM_dot_si4);

void BM_dot_ss(benchmark::State& state) {
  TestArray a(ElemType::real(8), {kN}), b(ElemType::real(8), {kN});
  a.fill_linear<double>([](int64_t k) { return double((k * 7919) % 100003) * 1e-3; });
  b.fill_linear<double>([](int64_t k) { return double(k % 1000) - 499.5; });
  for (auto _ : state) benchmark::DoNotOptimize(_DOT_SS(a.desc(), b.desc()));
  rates(state, kN, int64_t{kN} * 16);
}
BENCHMARK(BM_dot_ss);

// Under the control word given as the argument: 0x127f (53 bits, where the
// SSE2 lanes serve) and 0x037f (64 bits: the x87 loop).
void BM_dot_cc(benchmark::State& state) {
  TestArray a(ElemType::complex(16), {kN}), b(ElemType::complex(16), {kN});
  a.fill_linear<Complex16>([](int64_t k) { return Complex16{double(k % 977), 0.5 * double(k % 13)}; });
  b.fill_linear<Complex16>([](int64_t k) { return Complex16{1e-3 * double(k % 101), double(k % 7)}; });
  Complex16 r;
  f90test::under_cw(static_cast<uint16_t>(state.range(0)), [&] {
    for (auto _ : state) {
      _DOT_CC(&r, a.desc(), b.desc());
      benchmark::DoNotOptimize(r);
    }
  });
  rates(state, kN, int64_t{kN} * 32);
}
BENCHMARK(BM_dot_cc)->Arg(0x127f)->Arg(0x037f);

// REAL*16 operands: the double-double arithmetic expects control word 0x127f.
constexpr int32_t kNq = 1 << 20;
void fill_real16(TestArray& a, double scale) {
  a.fill_linear<DoubleDouble>([scale](int64_t k) {
    const double hi = scale * double(k % 1009 + 1);
    return DoubleDouble{hi, hi * 0x1p-60};
  });
}

void BM_dot_dd(benchmark::State& state) {
  TestArray a(ElemType::real(16), {kNq}), b(ElemType::real(16), {kNq});
  fill_real16(a, 1.25);
  fill_real16(b, 0.75);
  DoubleDouble r;
  f90test::under_cw(f90test::kCwLibrary, [&] {
    for (auto _ : state) {
      _DOT_DD(&r, a.desc(), b.desc());
      benchmark::DoNotOptimize(r);
    }
  });
  rates(state, kNq, int64_t{kNq} * 32);
}
BENCHMARK(BM_dot_dd);

void BM_reference_dd_calls(benchmark::State& state) {
  TestArray a(ElemType::real(16), {kNq}), b(ElemType::real(16), {kNq});
  fill_real16(a, 1.25);
  fill_real16(b, 0.75);
  const auto* pa = reinterpret_cast<const morvex::DoubleDouble*>(a.desc()->base);
  const auto* pb = reinterpret_cast<const morvex::DoubleDouble*>(b.desc()->base);
  f90test::under_cw(f90test::kCwLibrary, [&] {
    for (auto _ : state) {
      morvex::DoubleDouble s{0.0, 0.0}, t, u;
      for (int32_t i = 0; i < kNq; ++i) {
        _morvex_qmul(&t, pa[i], pb[i]);
        _morvex_qadd(&u, s, t);
        s = u;
      }
      benchmark::DoNotOptimize(s);
    }
  });
  rates(state, kNq, int64_t{kNq} * 32);
}
BENCHMARK(BM_reference_dd_calls);

}  // namespace
