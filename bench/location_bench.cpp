// MAXLOC and MINLOC over 4M-element operands, as bytes read per second:
// compare with BM_reference_memchr/33554432 of the same run. The *_sizes
// forms run at every size of memory_sizes.h (the argument is the operand's
// bytes), against BM_reference_memchr and BM_reference_memcpy there.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <type_traits>

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

// MAXLOC of a rank-1 array into a caller's one-element result.
template <class T>
void run_rank1(benchmark::State& state, void (*entry)(ArrayDescriptor*, ArrayDescriptor*, ArrayDescriptor*),
               TestArray& a, ArrayDescriptor* mask, int64_t bytes) {
  TestArray r(ElemType::integer(4), {1});
  for (auto _ : state) {
    entry(r.desc(), a.desc(), mask);
    benchmark::DoNotOptimize(r.get<int32_t>({0}));
  }
  bytes_read(state, bytes);
}

void BM_maxloc_i4(benchmark::State& state) {
  TestArray a(ElemType::integer(4), {kN});
  a.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>((k * 2654435761u) >> 7); });
  run_rank1<int32_t>(state, _MAXLOC_I4, a, nullptr, int64_t{kN} * 4);
}
BENCHMARK(BM_maxloc_i4);

void BM_maxloc_r8(benchmark::State& state) {
  TestArray a(ElemType::real(8), {kN});
  a.fill_linear<double>([](int64_t k) { return double((k * 7919) % 100003) - 5e4; });
  run_rank1<double>(state, _MAXLOC_S, a, nullptr, int64_t{kN} * 8);
}
BENCHMARK(BM_maxloc_r8);

void BM_minloc_r8_masked(benchmark::State& state) {
  TestArray a(ElemType::real(8), {kN});
  a.fill_linear<double>([](int64_t k) { return double((k * 7919) % 100003) - 5e4; });
  TestArray m(ElemType::logical(4), {kN});
  m.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(k % 3 != 0); });
  run_rank1<double>(state, _MINLOC_S, a, m.desc(), int64_t{kN} * 12);
}
BENCHMARK(BM_minloc_r8_masked);

// A 2048 x 2048 REAL*8 array along DIM = 1 (down the contiguous columns) and
// DIM = 2 (across them), into a caller's result.
void BM_maxloc_r8_rank2_dim(benchmark::State& state) {
  TestArray a(ElemType::real(8), {2048, 2048});
  a.fill_linear<double>([](int64_t k) { return double((k * 7919) % 100003); });
  TestArray r(ElemType::integer(4), {2048});
  TestArray dim(ElemType::integer(4), {});
  dim.set_linear<int32_t>(0, static_cast<int32_t>(state.range(0)));
  for (auto _ : state) {
    _MAXLOC__S(r.desc(), a.desc(), dim.desc(), nullptr);
    benchmark::ClobberMemory();
  }
  bytes_read(state, int64_t{kN} * 8);
}
BENCHMARK(BM_maxloc_r8_rank2_dim)->Arg(1)->Arg(2);

void BM_maxloc_i4_sizes(benchmark::State& state) {
  const int32_t n = static_cast<int32_t>(state.range(0) / 4);
  TestArray a(ElemType::integer(4), {n});
  std::mt19937 bits(3);
  a.fill_linear<int32_t>([&](int64_t) { return static_cast<int32_t>(bits()); });
  run_rank1<int32_t>(state, _MAXLOC_I4, a, nullptr, state.range(0));
}
BENCHMARK(BM_maxloc_i4_sizes)->Apply(f90bench::memory_sizes);

// MAXLOC and MINLOC along DIM = 2 of an array of `bytes` bytes and 16 rows
// (4096 columns from 128 Ki elements up), its elements set by fill: every
// result element is a line across the rows.
using LocDimEntry = void (*)(ArrayDescriptor*, ArrayDescriptor*, ArrayDescriptor*, ArrayDescriptor*);
template <class Fill>
void dim2_locations(benchmark::State& state, int64_t bytes, ElemType type, LocDimEntry entry,
                    Fill&& fill) {
  const int32_t n = static_cast<int32_t>(bytes / type.bytes());
  const int32_t cols = n < 131072 ? n / 16 : 4096;
  TestArray a(type, {cols, n / cols});
  fill(a);
  TestArray r(ElemType::integer(4), {cols});
  TestArray dim(ElemType::integer(4), {});
  dim.set_linear<int32_t>(0, 2);
  for (auto _ : state) {
    entry(r.desc(), a.desc(), dim.desc(), nullptr);
    benchmark::ClobberMemory();
  }
  bytes_read(state, bytes);
}
// Random REAL*8 or INTEGER*4 elements.
template <class T>
void dim2_locations(benchmark::State& state, LocDimEntry entry) {
  const ElemType type = std::is_floating_point_v<T> ? ElemType::real(sizeof(T)) : ElemType::integer(sizeof(T));
  dim2_locations(state, state.range(0), type, entry, [](TestArray& a) {
    std::mt19937 bits(5);
    a.fill_linear<T>([&](int64_t) { return static_cast<T>(static_cast<int32_t>(bits())); });
  });
}
void BM_minloc_r8_dim2_sizes(benchmark::State& state) { dim2_locations<double>(state, _MINLOC__S); }
void BM_maxloc_r8_dim2_sizes(benchmark::State& state) { dim2_locations<double>(state, _MAXLOC__S); }
void BM_minloc_i4_dim2_sizes(benchmark::State& state) {
  dim2_locations<int32_t>(state, _MINLOC__I4);
}
void BM_maxloc_i4_dim2_sizes(benchmark::State& state) {
  dim2_locations<int32_t>(state, _MAXLOC__I4);
}
BENCHMARK(BM_minloc_r8_dim2_sizes)->Apply(f90bench::memory_sizes);
BENCHMARK(BM_maxloc_r8_dim2_sizes)->Apply(f90bench::memory_sizes);
BENCHMARK(BM_minloc_i4_dim2_sizes)->Apply(f90bench::memory_sizes);
BENCHMARK(BM_maxloc_i4_dim2_sizes)->Apply(f90bench::memory_sizes);

// Every element kind, MAXLOC and MINLOC, from 256 KiB (in cache) to
// 256 MiB: Args(kind, bytes, max); compare with BM_reference_memchr at the
// same size.
struct LocKind {
  ElemType type;
  void (*max)(ArrayDescriptor*, ArrayDescriptor*, ArrayDescriptor*);
  void (*min)(ArrayDescriptor*, ArrayDescriptor*, ArrayDescriptor*);
  LocDimEntry max_dim, min_dim;
};
const LocKind kLocKinds[] = {
    {ElemType::integer(1), _MAXLOC_I1, _MINLOC_I1, _MAXLOC__I1, _MINLOC__I1},
    {ElemType::integer(2), _MAXLOC_I2, _MINLOC_I2, _MAXLOC__I2, _MINLOC__I2},
    {ElemType::integer(4), _MAXLOC_I4, _MINLOC_I4, _MAXLOC__I4, _MINLOC__I4},
    {ElemType::integer(8), _MAXLOC_J, _MINLOC_J, _MAXLOC__J, _MINLOC__J},
    {ElemType::real(4), _MAXLOC_S4, _MINLOC_S4, _MAXLOC__S4, _MINLOC__S4},
    {ElemType::real(8), _MAXLOC_S, _MINLOC_S, _MAXLOC__S, _MINLOC__S},
    {ElemType::real(16), _MAXLOC_D, _MINLOC_D, _MAXLOC__D, _MINLOC__D},
};

// Random bytes; REAL elements made finite and REAL*16 pairs renormalised.
void random_elements(TestArray& a) {
  std::mt19937 bits(17);
  const int bytes = static_cast<int>(a.type().bytes());
  const bool real = a.type().code() == TYPE_REAL;
  for (int64_t k = 0; k < a.size(); ++k) {
    char* p = a.at_linear(k);
    for (int b = 0; b < bytes; b += 4) {
      const uint32_t w = bits();
      std::memcpy(p + b, &w, bytes - b < 4 ? bytes - b : 4);
    }
    if (!real) continue;
    if (bytes == 4) {
      const float f = static_cast<float>(static_cast<int32_t>(bits()));
      std::memcpy(p, &f, 4);
    } else {
      const double d = static_cast<double>(static_cast<int32_t>(bits()));
      std::memcpy(p, &d, 8);
      if (bytes == 16) {
        const double lo = std::ldexp(d, -60);
        std::memcpy(p + 8, &lo, 8);
      }
    }
  }
}

void BM_minloc_r16_dim2_sizes(benchmark::State& state) {
  dim2_locations(state, state.range(0), ElemType::real(16), _MINLOC__D, random_elements);
}
void BM_maxloc_r16_dim2_sizes(benchmark::State& state) {
  dim2_locations(state, state.range(0), ElemType::real(16), _MAXLOC__D, random_elements);
}
BENCHMARK(BM_minloc_r16_dim2_sizes)->Apply(f90bench::memory_sizes);
BENCHMARK(BM_maxloc_r16_dim2_sizes)->Apply(f90bench::memory_sizes);

void BM_location_kinds(benchmark::State& state) {
  const LocKind& k = kLocKinds[state.range(0)];
  const bool max = state.range(2) != 0;
  TestArray a(k.type, {static_cast<int32_t>(state.range(1) / k.type.bytes())});
  random_elements(a);
  run_rank1<int32_t>(state, max ? k.max : k.min, a, nullptr, state.range(1));
}
BENCHMARK(BM_location_kinds)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, benchmark::CreateRange(256 << 10, 256 << 20, 4), {0, 1}})
    ->ArgNames({"kind", "bytes", "max"});

// The same kinds but REAL*16 along DIM = 2, shaped as dim2_locations, from
// 256 KiB (the cache sizes) to 256 MiB: Args(kind, bytes, max).
void BM_location_dim2_kinds(benchmark::State& state) {
  const LocKind& k = kLocKinds[state.range(0)];
  dim2_locations(state, state.range(1), k.type, state.range(2) != 0 ? k.max_dim : k.min_dim,
                 random_elements);
}
BENCHMARK(BM_location_dim2_kinds)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5},
                   benchmark::CreateRange(256 << 10, 256 << 20, 4),
                   {0, 1}})
    ->ArgNames({"kind", "bytes", "max"});

}  // namespace
