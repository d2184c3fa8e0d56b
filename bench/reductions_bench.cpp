// MAXVAL, MINVAL, COUNT and ANY over 4M-element operands, as bytes read per
// second: compare with BM_reference_memchr/33554432 of the same run. The
// *_sizes forms run at every size of memory_sizes.h (the argument is the
// operand's bytes), against BM_reference_memchr and BM_reference_memcpy at
// the same sizes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

#include "memory_sizes.h"

#include "f90/f90.h"
#include "descriptor_builder.h"
#include "f90/descriptor.h"


namespace {

using f90test::ElemType;
using f90test::TestArray;

constexpr int32_t kN = 4 << 20;

void bytes_read(benchmark::State& state, int64_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
}

void BM_maxval_i4(benchmark::State& state) {
  TestArray a(ElemType::integer(4), {kN});
  a.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>((k * 2654435761u) >> 7); });
  for (auto _ : state) benchmark::DoNotOptimize(_MAXVAL0_I4(a.desc(), nullptr, nullptr));
  bytes_read(state, int64_t{kN} * 4);
}
BENCHMARK(BM_maxval_i4);

void BM_maxval_r8(benchmark::State& state) {
  TestArray a(ElemType::real(8), {kN});
  a.fill_linear<double>([](int64_t k) { return double((k * 7919) % 100003) - 5e4; });
  for (auto _ : state) benchmark::DoNotOptimize(_MAXVAL0_S(a.desc(), nullptr, nullptr));
  bytes_read(state, int64_t{kN} * 8);
}
BENCHMARK(BM_maxval_r8);

// Random renormalised REAL*16 pairs: a high part of 32 random bits over
// 2^16, the low part 2^-60 of it.
void random_r16(TestArray& a, unsigned seed) {
  std::mt19937 bits(seed);
  for (int64_t k = 0; k < a.size(); ++k) {
    const double hi = std::ldexp(static_cast<double>(bits()), -16);
    const DoubleDouble v{hi, std::ldexp(hi, -60)};
    std::memcpy(a.at_linear(k), &v, 16);
  }
}

// REAL*16 over 16 MiB.
void BM_maxval_r16(benchmark::State& state) {
  const int32_t n = kN / 4;
  TestArray a(ElemType::real(16), {n});
  random_r16(a, 9);
  DoubleDouble out;
  for (auto _ : state) benchmark::DoNotOptimize(_MAXVAL0_D(&out, a.desc(), nullptr, nullptr));
  bytes_read(state, int64_t{n} * 16);
}
BENCHMARK(BM_maxval_r16);

void BM_minval_r8_masked(benchmark::State& state) {
  TestArray a(ElemType::real(8), {kN});
  a.fill_linear<double>([](int64_t k) { return double((k * 7919) % 100003) - 5e4; });
  TestArray m(ElemType::logical(4), {kN});
  m.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(k % 3 != 0); });
  for (auto _ : state) benchmark::DoNotOptimize(_MINVAL0_S(a.desc(), nullptr, m.desc()));
  bytes_read(state, int64_t{kN} * 12);
}
BENCHMARK(BM_minval_r8_masked);

// Random truth values, half of them true (T: the element's integer).
template <class T = int32_t>
void random_truth(TestArray& m) {
  std::mt19937 bits(12345);
  m.fill_linear<T>([&](int64_t) { return static_cast<T>(bits() & 1); });
}

void BM_count_l4(benchmark::State& state) {
  TestArray m(ElemType::logical(4), {kN});
  random_truth(m);
  for (auto _ : state) benchmark::DoNotOptimize(_COUNT0(m.desc(), nullptr));
  bytes_read(state, int64_t{kN} * 4);
}
BENCHMARK(BM_count_l4);

void BM_any_l4_finds_nothing(benchmark::State& state) {
  TestArray m(ElemType::logical(4), {kN}, {}, {}, 0);
  for (auto _ : state) benchmark::DoNotOptimize(_ANY0(m.desc(), nullptr));
  bytes_read(state, int64_t{kN} * 4);
}
BENCHMARK(BM_any_l4_finds_nothing);

// A 2048 x 2048 REAL*8 array along DIM = 1 (down the contiguous columns) and
// DIM = 2 (across them), into a caller-supplied result.
void BM_maxval_r8_rank2_dim(benchmark::State& state) {
  const int32_t dim = static_cast<int32_t>(state.range(0));
  TestArray a(ElemType::real(8), {2048, 2048});
  a.fill_linear<double>([](int64_t k) { return double((k * 7919) % 100003); });
  TestArray r(ElemType::real(8), {2048});
  for (auto _ : state) {
    _MAXVAL_S(r.desc(), a.desc(), &dim, nullptr);
    benchmark::ClobberMemory();
  }
  bytes_read(state, int64_t{kN} * 8);
}
BENCHMARK(BM_maxval_r8_rank2_dim)->Arg(1)->Arg(2);

// ---- At every memory size -----------------------------------------------------

int32_t elements(benchmark::State& state, int64_t bytes_each) {
  return static_cast<int32_t>(state.range(0) / bytes_each);
}

void BM_maxval_r8_sizes(benchmark::State& state) {
  const int32_t n = elements(state, 8);
  TestArray a(ElemType::real(8), {n});
  std::mt19937 bits(7);
  a.fill_linear<double>([&](int64_t) { return std::ldexp(static_cast<double>(bits()), -16) - 3e4; });
  for (auto _ : state) benchmark::DoNotOptimize(_MAXVAL0_S(a.desc(), nullptr, nullptr));
  bytes_read(state, state.range(0));
}
BENCHMARK(BM_maxval_r8_sizes)->Apply(f90bench::memory_sizes);

void BM_count_l4_sizes(benchmark::State& state) {
  TestArray m(ElemType::logical(4), {elements(state, 4)});
  random_truth(m);
  for (auto _ : state) benchmark::DoNotOptimize(_COUNT0(m.desc(), nullptr));
  bytes_read(state, state.range(0));
}
BENCHMARK(BM_count_l4_sizes)->Apply(f90bench::memory_sizes);

// ALL of an all-true operand: the scan never stops early.
void BM_all_l4_sizes(benchmark::State& state) {
  TestArray m(ElemType::logical(4), {elements(state, 4)});
  m.fill_linear<int32_t>([](int64_t) { return 1; });
  for (auto _ : state) benchmark::DoNotOptimize(_ALL0(m.desc(), nullptr));
  bytes_read(state, state.range(0));
}
BENCHMARK(BM_all_l4_sizes)->Apply(f90bench::memory_sizes);

// MAXVAL along DIM = 2 of an array of 16 rows (4096 columns from 1 MiB
// up), its elements set by fill: every result element is a line across the
// rows.
template <class Fill>
void maxval_dim2(benchmark::State& state, ElemType type,
                 void (*entry)(ArrayDescriptor*, ArrayDescriptor*, const int32_t*, ArrayDescriptor*),
                 Fill&& fill) {
  const int32_t n = elements(state, type.bytes());
  const int32_t rows = n < 65536 ? 16 : n / 4096;
  TestArray a(type, {n / rows, rows});
  fill(a);
  TestArray r(type, {n / rows});
  const int32_t dim = 2;
  for (auto _ : state) {
    entry(r.desc(), a.desc(), &dim, nullptr);
    benchmark::ClobberMemory();
  }
  bytes_read(state, state.range(0));
}

void BM_maxval_r8_dim2_sizes(benchmark::State& state) {
  maxval_dim2(state, ElemType::real(8), _MAXVAL_S, [](TestArray& a) {
    std::mt19937 bits(11);
    a.fill_linear<double>([&](int64_t) { return std::ldexp(static_cast<double>(bits()), -16); });
  });
}
BENCHMARK(BM_maxval_r8_dim2_sizes)->Apply(f90bench::memory_sizes);

void BM_maxval_r16_sizes(benchmark::State& state) {
  TestArray a(ElemType::real(16), {elements(state, 16)});
  random_r16(a, 13);
  DoubleDouble out;
  for (auto _ : state) benchmark::DoNotOptimize(_MAXVAL0_D(&out, a.desc(), nullptr, nullptr));
  bytes_read(state, state.range(0));
}
BENCHMARK(BM_maxval_r16_sizes)->Apply(f90bench::memory_sizes);

void BM_maxval_r16_dim2_sizes(benchmark::State& state) {
  maxval_dim2(state, ElemType::real(16), _MAXVAL_D, [](TestArray& a) { random_r16(a, 15); });
}
BENCHMARK(BM_maxval_r16_dim2_sizes)->Apply(f90bench::memory_sizes);

// COUNT along DIM = 2 of a LOGICAL array of 16 rows (4096 columns from
// 256 KiB up), half of its elements true; T is the element's integer.
template <class T>
void count_dim2(benchmark::State& state) {
  const int32_t n = elements(state, sizeof(T));
  const int32_t rows = n < 65536 * 4 / int32_t(sizeof(T)) ? 16 : n / 4096;
  TestArray m(ElemType::logical(sizeof(T)), {n / rows, rows});
  random_truth<T>(m);
  TestArray r(ElemType::integer(4), {n / rows});
  const int32_t dim = 2;
  for (auto _ : state) {
    _COUNT(r.desc(), m.desc(), &dim);
    benchmark::ClobberMemory();
  }
  bytes_read(state, state.range(0));
}
void BM_count_l1_dim2_sizes(benchmark::State& state) { count_dim2<int8_t>(state); }
void BM_count_l2_dim2_sizes(benchmark::State& state) { count_dim2<int16_t>(state); }
void BM_count_l4_dim2_sizes(benchmark::State& state) { count_dim2<int32_t>(state); }
BENCHMARK(BM_count_l1_dim2_sizes)->Apply(f90bench::memory_sizes);
BENCHMARK(BM_count_l2_dim2_sizes)->Apply(f90bench::memory_sizes);
BENCHMARK(BM_count_l4_dim2_sizes)->Apply(f90bench::memory_sizes);

// Every element kind, MAXVAL and MINVAL, from 256 KiB to 256 MiB:
// Args(kind, bytes, max); compare with BM_reference_memchr at the same size.
struct ValKind {
  ElemType type;
  void (*max)(ArrayDescriptor*, ArrayDescriptor*, const int32_t*, ArrayDescriptor*);
  void (*min)(ArrayDescriptor*, ArrayDescriptor*, const int32_t*, ArrayDescriptor*);
};
const ValKind kValKinds[] = {
    {ElemType::integer(1), _MAXVAL_I1, _MINVAL_I1}, {ElemType::integer(2), _MAXVAL_I2, _MINVAL_I2},
    {ElemType::integer(4), _MAXVAL_I4, _MINVAL_I4}, {ElemType::integer(8), _MAXVAL_J, _MINVAL_J},
    {ElemType::real(4), _MAXVAL_S4, _MINVAL_S4},    {ElemType::real(8), _MAXVAL_S, _MINVAL_S},
    {ElemType::real(16), _MAXVAL_D, _MINVAL_D},
};

void BM_value_kinds(benchmark::State& state) {
  const ValKind& k = kValKinds[state.range(0)];
  const bool max = state.range(2) != 0;
  TestArray a(k.type, {static_cast<int32_t>(state.range(1) / k.type.bytes())});
  std::mt19937 bits(19);
  const int bytes = static_cast<int>(k.type.bytes());
  for (int64_t e = 0; e < a.size(); ++e) {
    const double d = static_cast<double>(static_cast<int32_t>(bits()));
    const int64_t i = static_cast<int32_t>(bits());
    char* p = a.at_linear(e);
    if (k.type.code() != TYPE_REAL) {
      std::memcpy(p, &i, bytes);
    } else if (bytes == 4) {
      const float f = static_cast<float>(d);
      std::memcpy(p, &f, 4);
    } else {
      std::memcpy(p, &d, 8);
      if (bytes == 16) {
        const double lo = std::ldexp(d, -60);
        std::memcpy(p + 8, &lo, 8);
      }
    }
  }
  TestArray r(k.type, {});
  for (auto _ : state) {
    (max ? k.max : k.min)(r.desc(), a.desc(), nullptr, nullptr);
    benchmark::ClobberMemory();
  }
  bytes_read(state, state.range(1));
}
BENCHMARK(BM_value_kinds)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, benchmark::CreateRange(256 << 10, 256 << 20, 4), {0, 1}})
    ->ArgNames({"kind", "bytes", "max"});

}  // namespace
