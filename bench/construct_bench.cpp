// RESHAPE, PACK and SPREAD over 4M REAL*8 elements (32 MB, out of cache),
// called through their exported symbols into caller-supplied results, so
// that the figures are the moves alone. Compare bytes_per_second with
// BM_reference_memcpy/33554432 of the same run. The *_sizes forms run at
// every memory size (argument: ARRAY's or SOURCE's bytes), against
// BM_reference_memcpy at the same size.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "f90/f90.h"
#include "descriptor_builder.h"
#include "memory_sizes.h"


namespace {

using f90test::ElemType;
using f90test::TestArray;

constexpr int32_t kSide = 2000;
constexpr int64_t kBytes = int64_t{kSide} * kSide * 8;

void report_bytes(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kBytes);
}

// RESHAPE of a 4M vector to 2000 x 2000, or of a 2000 x 2000 matrix with
// ORDER (2, 1) (the second subscript varying fastest: a transposition).
void BM_reshape(benchmark::State& state) {
  const bool with_order = state.range(0) != 0;
  TestArray source(ElemType::real(8), with_order ? std::vector<int32_t>{kSide, kSide}
                                                 : std::vector<int32_t>{kSide * kSide});
  TestArray result(ElemType::real(8), {kSide, kSide});
  TestArray shape(ElemType::integer(4), {2}), order(ElemType::integer(4), {2});
  shape.set_linear<int32_t>(0, kSide);
  shape.set_linear<int32_t>(1, kSide);
  order.set_linear<int32_t>(0, 2);
  order.set_linear<int32_t>(1, 1);
  for (auto _ : state) {
    _RESHAPE(result.desc(), source.desc(), shape.desc(), nullptr, with_order ? order.desc() : nullptr);
    benchmark::ClobberMemory();
  }
  report_bytes(state);
}
BENCHMARK(BM_reshape)->Arg(0)->Arg(1)->ArgName("order21")->Unit(benchmark::kMillisecond);

// PACK of 4M elements under a random LOGICAL*4 mask, half of it true.
void BM_pack_half_mask(benchmark::State& state) {
  TestArray array(ElemType::real(8), {kSide * kSide});
  TestArray mask(ElemType::logical(4), {kSide * kSide});
  std::mt19937 rng(1);
  for (int64_t k = 0; k < mask.size(); ++k) mask.set_linear<int32_t>(k, static_cast<int32_t>(rng() & 1));
  TestArray result(ElemType::real(8), {kSide * kSide});
  for (auto _ : state) {
    result.desc()->dim[0].extent = kSide * kSide;
    _PACK(result.desc(), array.desc(), mask.desc(), nullptr);
    benchmark::ClobberMemory();
  }
  report_bytes(state);
}
BENCHMARK(BM_pack_half_mask)->Unit(benchmark::kMillisecond);

// SPREAD of a 2000-vector to 2000 x 2000 along DIM 1 or DIM 2.
void BM_spread(benchmark::State& state) {
  const int32_t dim = static_cast<int32_t>(state.range(0)), ncopies = kSide;
  TestArray source(ElemType::real(8), {kSide});
  TestArray result(ElemType::real(8), {kSide, kSide});
  for (auto _ : state) {
    _SPREAD(result.desc(), source.desc(), &dim, &ncopies);
    benchmark::ClobberMemory();
  }
  report_bytes(state);
}
BENCHMARK(BM_spread)->Arg(1)->Arg(2)->ArgName("dim")->Unit(benchmark::kMillisecond);

// PACK of a REAL*8 vector of range(0) bytes under a random half-true
// LOGICAL*4 mask.
void BM_pack_sizes(benchmark::State& state) {
  const int32_t n = static_cast<int32_t>(state.range(0) / 8);
  TestArray array(ElemType::real(8), {n});
  TestArray mask(ElemType::logical(4), {n});
  std::mt19937 rng(1);
  for (int64_t k = 0; k < n; ++k) mask.set_linear<int32_t>(k, static_cast<int32_t>(rng() & 1));
  TestArray result(ElemType::real(8), {n});
  for (auto _ : state) {
    result.desc()->dim[0].extent = n;
    _PACK(result.desc(), array.desc(), mask.desc(), nullptr);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_pack_sizes)->Apply(f90bench::memory_sizes);

// RESHAPE with ORDER (2, 1) of a near-square m x n REAL*8 matrix of
// range(0) bytes to n x m: a transposition.
void BM_reshape_order21_sizes(benchmark::State& state) {
  const f90bench::MatrixShape s = f90bench::matrix_of(state.range(0), 8);
  TestArray source(ElemType::real(8), {s.m, s.n});
  TestArray result(ElemType::real(8), {s.n, s.m});
  TestArray shape(ElemType::integer(4), {2}), order(ElemType::integer(4), {2});
  shape.set_linear<int32_t>(0, s.n);
  shape.set_linear<int32_t>(1, s.m);
  order.set_linear<int32_t>(0, 2);
  order.set_linear<int32_t>(1, 1);
  for (auto _ : state) {
    _RESHAPE(result.desc(), source.desc(), shape.desc(), nullptr, order.desc());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_reshape_order21_sizes)->Apply(f90bench::memory_sizes);

}  // namespace
