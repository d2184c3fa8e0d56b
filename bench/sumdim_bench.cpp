// SUM and PRODUCT along DIM 1 and DIM 2 of a REAL*8 array (and SUM of a
// REAL*4 one) of 4 KiB to 256 MiB (columns twice as long as rows are wide),
// as bytes of source read per second and as terms per second. References in the same run: BM_reference_memchr (the
// read-only scan) at the same sizes, and BM_reference_x87_add (terms against
// the x87 addition rate). Each runs under the library's control word
// (0x127f: 53 bits, where the sum runs in SSE2) and, as _x87, under the
// process default (0x037f: 64 bits, where it keeps the x87 path).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

#include "f90/f90.h"
#include "descriptor_builder.h"
#include "f90/descriptor.h"
#include "control_word.h"
#include "memory_sizes.h"

namespace {

using f90test::ElemType;
using f90test::TestArray;

using Entry = void (*)(ArrayDescriptor*, ArrayDescriptor*, const int32_t*, ArrayDescriptor*);

void reduce_along(benchmark::State& state, Entry fn, int32_t dim, uint16_t cw, int kind = 8) {
  const int64_t elements = state.range(0) / kind;
  const auto cols = static_cast<int32_t>(std::sqrt(static_cast<double>(elements / 2)));
  const auto rows = static_cast<int32_t>(elements / cols);
  TestArray a(ElemType::real(kind), {rows, cols});
  // Products of terms this close to 1 stay in range along the longest line.
  const bool product = fn == _PROD_S;
  auto value = [&](int64_t k) {
    const double v = double((k * 7919) % 100003) - 5e4;
    return product ? 1 + v * 0x1p-40 : v;
  };
  if (kind == 8) {
    a.fill_linear<double>(value);
  } else {
    a.fill_linear<float>([&](int64_t k) { return static_cast<float>(value(k)); });
  }
  TestArray r(ElemType::real(kind), {dim == 1 ? cols : rows});
  f90test::under_cw(cw, [&] {
    for (auto _ : state) {
      fn(r.desc(), a.desc(), &dim, nullptr);
      benchmark::ClobberMemory();
    }
  });
  const int64_t terms = int64_t{rows} * cols;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * terms * kind);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * terms);
}

// DIM 1: the lines are the contiguous columns.
void BM_sumdim_r8_dim1(benchmark::State& state) { reduce_along(state, _SUM_S, 1, f90test::kCwLibrary); }
void BM_sumdim_r8_dim1_x87(benchmark::State& state) { reduce_along(state, _SUM_S, 1, f90test::kCwLinux); }
// DIM 2: neighbouring lines, each term one stride of a column apart.
void BM_sumdim_r8_dim2(benchmark::State& state) { reduce_along(state, _SUM_S, 2, f90test::kCwLibrary); }
void BM_sumdim_r8_dim2_x87(benchmark::State& state) { reduce_along(state, _SUM_S, 2, f90test::kCwLinux); }
// PRODUCT, which shares the SUM's SSE2 path.
void BM_proddim_r8_dim1(benchmark::State& state) { reduce_along(state, _PROD_S, 1, f90test::kCwLibrary); }
void BM_proddim_r8_dim2(benchmark::State& state) { reduce_along(state, _PROD_S, 2, f90test::kCwLibrary); }
// REAL*4, which shares it too.
void BM_sumdim_r4_dim1(benchmark::State& state) { reduce_along(state, _SUM_S4, 1, f90test::kCwLibrary, 4); }
void BM_sumdim_r4_dim2(benchmark::State& state) { reduce_along(state, _SUM_S4, 2, f90test::kCwLibrary, 4); }
BENCHMARK(BM_sumdim_r8_dim1)->Apply(f90bench::memory_sizes);
BENCHMARK(BM_sumdim_r8_dim1_x87)->Apply(f90bench::memory_sizes);
BENCHMARK(BM_sumdim_r8_dim2)->Apply(f90bench::memory_sizes);
BENCHMARK(BM_sumdim_r8_dim2_x87)->Apply(f90bench::memory_sizes);
BENCHMARK(BM_proddim_r8_dim1)->Apply(f90bench::memory_sizes);
BENCHMARK(BM_proddim_r8_dim2)->Apply(f90bench::memory_sizes);
BENCHMARK(BM_sumdim_r4_dim1)->Apply(f90bench::memory_sizes);
BENCHMARK(BM_sumdim_r4_dim2)->Apply(f90bench::memory_sizes);

}  // namespace
