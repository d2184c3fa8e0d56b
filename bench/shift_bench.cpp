// CSHIFT and EOSHIFT of 4M REAL*8 elements (32 MiB), contiguous, SHIFT
// 1000: rank 1, and a 2048 x 2048 matrix along DIM 1 and DIM 2 (with a
// scalar SHIFT, and with a SHIFT array giving every line its own shift).
// Compare bytes per second with BM_reference_memcpy/33554432.
// The *_sizes benchmarks run at every memory size (argument in bytes,
// against BM_reference_memcpy at the same size): m x n REAL*8 matrices
// shifted along DIM 2 with a SHIFT array giving every line its own shift,
// and a rank-1 CSHIFT by a scalar (at 4 KiB, the small-call cost).
#include <benchmark/benchmark.h>

#include <vector>

#include "descriptor_builder.h"
#include "memory_sizes.h"
#include "array/shift.h"

namespace {

using f90test::Descriptor;
using f90test::ElemType;

constexpr int32_t kElements = 4 << 20;

struct Operands {
  std::vector<double> a, r;
  std::vector<int32_t> shifts;
  Descriptor array{ElemType::real(8), 1, true}, result{ElemType::real(8), 1, true};
  Descriptor shift{ElemType::integer(4), 0, true};
  int32_t scalar = 1000;

  // rank 1, or rank 2 with n x n elements
  explicit Operands(int rank, bool per_line = false)
      : a(kElements, 1.5), r(kElements), shifts(2048) {
    for (auto* d : {&array, &result}) {
      (*d)->flags = f90_flags(static_cast<uint32_t>(rank), 1, 0);
      if (rank == 1) {
        (*d)->dim[0] = {1, kElements, 2};
      } else {
        (*d)->dim[0] = {1, 2048, 2};
        (*d)->dim[1] = {1, 2048, 4096};
      }
    }
    array->base = a.data();
    result->base = r.data();
    shift->base = &scalar;
    if (per_line) {
      for (size_t i = 0; i < shifts.size(); ++i) shifts[i] = static_cast<int32_t>(1000 + i % 7);
      shift->flags = f90_flags(1, 1, 0);
      shift->base = shifts.data();
      shift->dim[0] = {1, 2048, 1};
    }
  }
};

void report(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kElements * 8);
}

// range(0): 0 rank 1; 1 rank 2 DIM 1; 2 rank 2 DIM 2. range(1): per-line SHIFT.
void BM_cshift_real8(benchmark::State& state) {
  const int32_t dim = state.range(0) == 2 ? 2 : 1;
  Operands o(state.range(0) == 0 ? 1 : 2, state.range(1) != 0);
  for (auto _ : state) {
    cshift(o.result.get(), o.array.get(), o.shift.get(), &dim);
    benchmark::ClobberMemory();
  }
  report(state);
}
BENCHMARK(BM_cshift_real8)->Args({0, 0})->Args({1, 0})->Args({2, 0})->Args({1, 1})->Args({2, 1});

void BM_eoshift_real8(benchmark::State& state) {
  const int32_t dim = state.range(0) == 2 ? 2 : 1;
  Operands o(state.range(0) == 0 ? 1 : 2, state.range(1) != 0);
  for (auto _ : state) {
    eoshift(o.result.get(), o.array.get(), o.shift.get(), nullptr, &dim);
    benchmark::ClobberMemory();
  }
  report(state);
}
BENCHMARK(BM_eoshift_real8)->Args({0, 0})->Args({1, 0})->Args({2, 0})->Args({2, 1});

// A contiguous REAL*8 operand of `bytes` bytes: rank 1, or near-square
// m x n with one shift per line along DIM 2 (n / 3 + line / run % 7: every
// line its own shift with run 1, runs of `run` lines with equal shifts).
struct SizedOperands {
  std::vector<double> a, r;
  std::vector<int32_t> shifts;
  Descriptor array{ElemType::real(8), 1, true}, result{ElemType::real(8), 1, true};
  Descriptor shift{ElemType::integer(4), 0, true};
  int32_t scalar;

  SizedOperands(int64_t bytes, bool rank2, int32_t run = 1) : a(static_cast<size_t>(bytes / 8), 1.5), r(a.size()) {
    const int32_t count = static_cast<int32_t>(a.size());
    const f90bench::MatrixShape s = f90bench::matrix_of(bytes, 8);
    scalar = count / 3;
    for (auto* d : {&array, &result}) {
      (*d)->flags = f90_flags(rank2 ? 2 : 1, 1, 0);
      if (rank2) {
        (*d)->dim[0] = {1, s.m, 2};
        (*d)->dim[1] = {1, s.n, 2 * s.m};
      } else {
        (*d)->dim[0] = {1, count, 2};
      }
    }
    array->base = a.data();
    result->base = r.data();
    shift->base = &scalar;
    if (rank2) {
      shifts.resize(static_cast<size_t>(s.m));
      for (int32_t i = 0; i < s.m; ++i) shifts[i] = s.n / 3 + i / run % 7;
      shift->flags = f90_flags(1, 1, 0);
      shift->base = shifts.data();
      shift->dim[0] = {1, s.m, 1};
    }
  }
};

// range(0): bytes. Rank 2 along DIM 2 with one shift per line, or rank 1 by
// a scalar SHIFT (at 4 KiB mostly the cost of the call itself).
void cshift_sizes(benchmark::State& state, bool rank2, int32_t run = 1) {
  const int32_t dim = rank2 ? 2 : 1;
  SizedOperands o(state.range(0), rank2, run);
  for (auto _ : state) {
    cshift(o.result.get(), o.array.get(), o.shift.get(), &dim);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void BM_cshift_sizes(benchmark::State& state) { cshift_sizes(state, true); }
BENCHMARK(BM_cshift_sizes)->Apply(f90bench::memory_sizes);

// Runs of 16 lines with equal shifts: 64 bytes of the result take one or
// two columns of ARRAY where every line its own shift takes seven.
void BM_cshift_runs_sizes(benchmark::State& state) { cshift_sizes(state, true, 16); }
BENCHMARK(BM_cshift_runs_sizes)->Apply(f90bench::memory_sizes);

void BM_cshift_rank1_sizes(benchmark::State& state) { cshift_sizes(state, false); }
BENCHMARK(BM_cshift_rank1_sizes)->Apply(f90bench::memory_sizes);

void BM_eoshift_sizes(benchmark::State& state) {
  const int32_t dim = 2;
  SizedOperands o(state.range(0), true);
  for (auto _ : state) {
    eoshift(o.result.get(), o.array.get(), o.shift.get(), nullptr, &dim);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_eoshift_sizes)->Apply(f90bench::memory_sizes);

}  // namespace
