// REAL*16 and COMPLEX*32 matrix products: _DDGEMMX and _ZGEMMX on square
// column-order matrices of 100 and 200 (the column loop order), against the
// same terms formed by a plain loop that calls the exported double-double
// routines once per operation (_morvex_qmul then _morvex_qadd per REAL*16
// term; the eight calls per COMPLEX*32 term). Items are terms (M.N.K);
// compare items/s.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "f90/matmul.h"
#include "real16/real16.h"

namespace {

struct Z {
  DoubleDouble re, im;
};

template <class T>
std::vector<T> random_matrix(int n, uint32_t seed);

template <>
std::vector<DoubleDouble> random_matrix<DoubleDouble>(int n, uint32_t seed) {
  std::mt19937_64 gen(seed);
  std::uniform_real_distribution<double> u(0.5, 2.0);
  std::vector<DoubleDouble> m(static_cast<size_t>(n) * n);
  for (auto& x : m) {
    const double h = u(gen);
    x = {h, h * 0x1p-57};
  }
  return m;
}

template <>
std::vector<Z> random_matrix<Z>(int n, uint32_t seed) {
  auto re = random_matrix<DoubleDouble>(n, seed), im = random_matrix<DoubleDouble>(n, seed + 1);
  std::vector<Z> m(re.size());
  for (size_t i = 0; i < m.size(); ++i) m[i] = {re[i], im[i]};
  return m;
}

void BM_matmul_DDGEMMX(benchmark::State& state) {
  const int32_t n = static_cast<int32_t>(state.range(0)), one = 1;
  auto a = random_matrix<DoubleDouble>(n, 1), b = random_matrix<DoubleDouble>(n, 2);
  std::vector<DoubleDouble> c(a.size());
  for (auto _ : state) {
    _DDGEMMX(&n, &n, &n, a.data(), &one, &n, b.data(), &one, &n, c.data(), &one, &n);
    benchmark::DoNotOptimize(c.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * int64_t{n} * n * n);
}

// The column order by hand, one _morvex_qmul and one _morvex_qadd per term.
void BM_matmul_DD_reference_calls(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  auto a = random_matrix<DoubleDouble>(n, 1), b = random_matrix<DoubleDouble>(n, 2);
  std::vector<DoubleDouble> c(a.size());
  for (auto _ : state) {
    for (int j = 0; j < n; ++j) {
      for (int i = 0; i < n; ++i) c[j * n + i] = {0.0, 0.0};
      for (int l = 0; l < n; ++l) {
        const DoubleDouble bv = b[j * n + l];
        for (int i = 0; i < n; ++i) {
          DoubleDouble p;
          _morvex_qmul(&p, a[l * n + i], bv);
          _morvex_qadd(&c[j * n + i], c[j * n + i], p);
        }
      }
    }
    benchmark::DoNotOptimize(c.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * int64_t{n} * n * n);
}

void BM_matmul_ZGEMMX(benchmark::State& state) {
  const int32_t n = static_cast<int32_t>(state.range(0)), one = 1;
  auto a = random_matrix<Z>(n, 3), b = random_matrix<Z>(n, 5);
  std::vector<Z> c(a.size());
  for (auto _ : state) {
    _ZGEMMX(&n, &n, &n, a.data(), &one, &n, b.data(), &one, &n, c.data(), &one, &n);
    benchmark::DoNotOptimize(c.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * int64_t{n} * n * n);
}

void BM_matmul_Z_reference_calls(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  auto a = random_matrix<Z>(n, 3), b = random_matrix<Z>(n, 5);
  std::vector<Z> c(a.size());
  for (auto _ : state) {
    for (int j = 0; j < n; ++j) {
      for (int i = 0; i < n; ++i) c[j * n + i] = {{0.0, 0.0}, {0.0, 0.0}};
      for (int l = 0; l < n; ++l) {
        const Z bv = b[j * n + l];
        for (int i = 0; i < n; ++i) {
          const Z av = a[l * n + i];
          Z& cv = c[j * n + i];
          DoubleDouble p1, p2, r, p3, p4, t;
          _morvex_qmul(&p1, av.im, bv.im);
          _morvex_qmul(&p2, av.re, bv.re);
          _morvex_qsub(&r, p2, p1);
          _morvex_qmul(&p3, bv.re, av.im);
          _morvex_qmul(&p4, av.re, bv.im);
          _morvex_qadd(&t, p4, p3);
          _morvex_qadd(&cv.re, cv.re, r);
          _morvex_qadd(&cv.im, cv.im, t);
        }
      }
    }
    benchmark::DoNotOptimize(c.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * int64_t{n} * n * n);
}

BENCHMARK(BM_matmul_DDGEMMX)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_matmul_DD_reference_calls)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_matmul_ZGEMMX)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_matmul_Z_reference_calls)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace
