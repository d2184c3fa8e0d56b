// The lane kernels of both builds, SSE2 and AVX2 (when the CPU has them),
// against plain element loops over the same random runs: the entry-point
// tests reach only the widest build this machine has.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "array/lanes.h"
#include "common/mask.h"

namespace {

using f90::lanes::Isa;
using f90::lanes::Rule;

std::mt19937 rng(31337);
int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

std::vector<Isa> builds() {
  std::vector<Isa> v;
  if (f90::lanes::isa() != Isa::none) v.push_back(Isa::sse2);
  if (f90::lanes::isa() == Isa::avx2) v.push_back(Isa::avx2);
  return v;
}

// Random elements of few values (ties), some NaNs for REAL kinds.
template <class T>
std::vector<T> run(int n, bool nans) {
  std::vector<T> v(n);
  for (T& x : v) {
    x = static_cast<T>(pick(-20, 20));
    if constexpr (std::is_floating_point_v<T>)
      if (nans && pick(0, 30) == 0) x = std::nan("");
  }
  return v;
}

template <class T>
void extreme_and_find_equal() {
  for (const Isa isa : builds()) {
    for (int trial = 0; trial < 200; ++trial) {
      const int n = pick(1, 300);
      const bool nans = pick(0, 1);
      const std::vector<T> v = run<T>(n, nans);
      for (const bool max : {true, false}) {
        T best;
        bool nan = false;
        if (max)
          f90::lanes::extreme<T, true>(isa, v.data(), n, best, nan);
        else
          f90::lanes::extreme<T, false>(isa, v.data(), n, best, nan);
        bool any_nan = false;
        T want = max ? -INFINITY : INFINITY;
        if constexpr (!std::is_floating_point_v<T>) want = v[0];
        for (T x : v) {
          if (x != x)
            any_nan = true;
          else if (max ? x > want : x < want)
            want = x;
        }
        ASSERT_EQ(nan, any_nan) << int(isa) << " trial " << trial;
        if (any_nan) continue;  // best is of no use then
        ASSERT_EQ(best, want) << int(isa) << " trial " << trial;
        int first = 0;
        while (v[first] != want) ++first;
        ASSERT_EQ(f90::lanes::find_equal<T>(isa, v.data(), n, want), first);
      }
      const T absent = 99;
      ASSERT_EQ(f90::lanes::find_equal<T>(isa, v.data(), n, absent), n);
    }
  }
}

TEST(Lanes, ExtremeAndFindEqualOfEveryElementType) {
  extreme_and_find_equal<int8_t>();
  extreme_and_find_equal<int16_t>();
  extreme_and_find_equal<int32_t>();
  extreme_and_find_equal<int64_t>();
  extreme_and_find_equal<float>();
  extreme_and_find_equal<double>();
}

template <uint32_t B>
void logical_runs() {
  for (const Isa isa : builds()) {
    for (int trial = 0; trial < 200; ++trial) {
      const int n = pick(0, 600);
      const int density = pick(0, 4);  // none .. all true
      std::vector<char> p(n * B + 1, 0);
      for (int k = 0; k < n; ++k)
        if (pick(1, 4) <= density) p[k * B + pick(0, B - 1)] = static_cast<char>(1 << pick(0, 7));
      uint64_t count = 0;
      int64_t first_true = n, first_false = n;
      for (int k = n - 1; k >= 0; --k) {
        const bool t = f90::Logical<B>::truth(p.data() + k * B);
        count += t;
        (t ? first_true : first_false) = k;
      }
      ASSERT_EQ(f90::lanes::count_true<B>(isa, p.data(), n), count) << B << " trial " << trial;
      ASSERT_EQ(f90::lanes::find_truth<B>(isa, p.data(), n, true), first_true) << B;
      ASSERT_EQ(f90::lanes::find_truth<B>(isa, p.data(), n, false), first_false) << B;
    }
  }
}

TEST(Lanes, LogicalCountsAndSearchesOfEveryWidth) {
  logical_runs<1>();
  logical_runs<2>();
  logical_runs<4>();
  logical_runs<8>();
}

// Per-column reductions against each column's element loop under the rule.
template <class T, Rule R>
void columns_against_loops() {
  for (const Isa isa : builds()) {
    for (int trial = 0; trial < 60; ++trial) {
      const int cols = pick(1, 70), rows = pick(1, 20), k0 = pick(0, 3);
      const std::vector<T> a = run<T>(cols * rows, R == Rule::real_max || R == Rule::real_min);
      std::vector<T> best = run<T>(cols, false), want = best;
      std::vector<int32_t> at(cols, -1), want_at(cols, -1);
      for (int j = 0; j < cols; ++j)
        for (int k = 0; k < rows; ++k) {
          const T c = want[j], x = a[k * cols + j];
          bool takes = false;
          switch (R) {
            case Rule::integer_max: takes = x > c; break;
            case Rule::integer_min: takes = x < c; break;
            case Rule::real_max: takes = !(c >= x); break;
            case Rule::real_min: takes = c > x; break;
          }
          if (takes) want[j] = x, want_at[j] = k0 + k;
        }
      std::vector<T> values = best;
      f90::lanes::columns<T, R>(isa, reinterpret_cast<const char*>(a.data()), cols * sizeof(T), k0,
                                rows, cols, values.data(), nullptr);
      f90::lanes::columns<T, R>(isa, reinterpret_cast<const char*>(a.data()), cols * sizeof(T), k0,
                                rows, cols, best.data(), at.data());
      for (int j = 0; j < cols; ++j) {
        ASSERT_EQ(std::memcmp(&values[j], &want[j], sizeof(T)), 0) << int(isa) << " column " << j;
        ASSERT_EQ(at[j], want_at[j]) << int(isa) << " column " << j;
      }
    }
  }
}

TEST(Lanes, ColumnsUnderEveryRule) {
  columns_against_loops<int8_t, Rule::integer_max>();
  columns_against_loops<int16_t, Rule::integer_min>();
  columns_against_loops<int32_t, Rule::integer_max>();
  columns_against_loops<int64_t, Rule::integer_min>();
  columns_against_loops<float, Rule::real_max>();
  columns_against_loops<double, Rule::real_max>();
  columns_against_loops<float, Rule::real_min>();
  columns_against_loops<double, Rule::real_min>();
}

// Rows past the 8-row chunks (whose sums byte lanes hold), columns past
// two vectors a step, densities from none to all true.
template <uint32_t B>
void logical_columns() {
  for (const Isa isa : builds()) {
    for (int trial = 0; trial < 100; ++trial) {
      const int cols = pick(1, 140), rows = pick(1, 20), density = pick(0, 4);
      const bool truth = pick(0, 1);
      std::vector<char> m(cols * rows * B, 0);
      for (int e = 0; e < cols * rows; ++e)
        if (pick(1, 4) <= density) m[e * B + pick(0, B - 1)] = static_cast<char>(1 << pick(0, 7));
      std::vector<uint32_t> count(cols, 5);
      f90::lanes::count_columns<B>(isa, m.data(), cols * B, rows, cols, truth, count.data());
      for (int j = 0; j < cols; ++j) {
        uint32_t want = 5;
        for (int k = 0; k < rows; ++k)
          want += f90::Logical<B>::truth(m.data() + (k * cols + j) * B) == truth;
        ASSERT_EQ(count[j], want) << B << " " << int(isa) << " column " << j;
      }
    }
  }
}

TEST(Lanes, LogicalColumnsOfEveryWidth) {
  logical_columns<1>();
  logical_columns<2>();
  logical_columns<4>();
  logical_columns<8>();
}

// The REAL*16 filter: the AVX2 lanes and the element loop (every other
// build) pass over the same elements.
TEST(Lanes, Real16FilterOfEveryBuild) {
  for (int trial = 0; trial < 300; ++trial) {
    const int n = pick(1, 80);
    std::vector<double> v(2 * n);
    for (int k = 0; k < n; ++k) {
      v[2 * k] = pick(-8, 8) * 0.5;
      const int kind = pick(0, 5);
      v[2 * k + 1] = kind == 0 ? std::ldexp(v[2 * k], -53) : kind == 1 ? INFINITY
                                                                        : std::ldexp(v[2 * k], -60);
      if (kind == 2) v[2 * k] = std::nan("");
    }
    const double c[2] = {pick(-4, 4) * 0.5, 0.0};
    const char* p = reinterpret_cast<const char*>(v.data());
    const char* cp = reinterpret_cast<const char*>(c);
    for (const bool greatest : {true, false}) {
      const int32_t loop = f90::lanes::r16_first_candidate(Isa::sse2, p, n, cp, greatest);
      if (f90::lanes::isa() == Isa::avx2) {
        ASSERT_EQ(f90::lanes::r16_first_candidate(Isa::avx2, p, n, cp, greatest), loop) << trial;
      }
    }
  }
}

}  // namespace
