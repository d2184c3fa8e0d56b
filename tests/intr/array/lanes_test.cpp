// The lane kernels of every build, SSE2, AVX2 and AVX-512 (when the CPU has
// them), against plain element loops over the same random runs: the
// entry-point tests reach only the widest build this machine has.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <cstring>
#include <random>
#include <span>
#include <vector>

#include "array/lanes.h"
#include "common/mask.h"
#include "control_word.h"
#include "f90/f90.h"

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

// builds() with Isa::avx2 twice on a CPU with AVX-512 F/BW/VL/DQ: 32-byte
// lanes, then 64-byte ones where a kernel has them (wide_lanes, which a
// WideLanes sets back to true at the end of a test).
std::vector<std::pair<Isa, bool>> wide_builds() {
  std::vector<std::pair<Isa, bool>> v;
  for (const Isa isa : builds()) v.push_back({isa, false});
  if (!v.empty() && v.back().first == Isa::avx2 && __builtin_cpu_supports("avx512f") &&
      __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
      __builtin_cpu_supports("avx512dq"))
    v.push_back({Isa::avx2, true});
  return v;
}
struct WideLanes {
  ~WideLanes() { f90::lanes::wide_lanes = true; }
};

// Random elements of few values (ties), some NaNs for REAL kinds (one in
// nan_odds + 1); INTEGER*8 ones apart in either word, so both take part in
// its comparisons.
template <class T>
std::vector<T> run(int n, bool nans, int nan_odds = 30) {
  std::vector<T> v(n);
  for (T& x : v) {
    x = static_cast<T>(pick(-20, 20));
    if constexpr (sizeof(T) == 8 && !std::is_floating_point_v<T>)
      x = x * (int64_t{1} << 32) + pick(-3, 3);
    if constexpr (std::is_floating_point_v<T>)
      if (nans && pick(0, nan_odds) == 0) x = std::nan("");
  }
  return v;
}

// n LOGICAL*B elements (and `pad` bytes), density / 4 true: one bit of one byte.
template <uint32_t B>
std::vector<char> logicals(int n, int density, int pad) {
  std::vector<char> p(n * B + pad, 0);
  for (int k = 0; k < n; ++k)
    if (pick(1, 4) <= density) p[k * B + pick(0, B - 1)] = static_cast<char>(1 << pick(0, 7));
  return p;
}

template <class T>
void extreme_and_find_equal() {
  const WideLanes restore;
  for (const auto& [isa, wide] : wide_builds()) {
    f90::lanes::wide_lanes = wide;
    for (int trial = 0; trial < 200; ++trial) {
      const int n = pick(1, 300), skip = pick(0, 16);  // runs at any offset from a line
      const bool nans = pick(0, 1);
      const std::vector<T> buf = run<T>(n + skip, nans);
      const std::span<const T> v(buf.data() + skip, n);
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
      const std::vector<char> p = logicals<B>(n, density, 1);
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

// Per-column reductions against each column's element loop under the rule;
// now and then past the spans of rows that the narrow kinds' locations keep
// in their own lanes, or past their 4096-column buffer. The block starts
// anywhere in a 64-byte line. Half the trials start from the row before
// (`first`, at row k0 - 1; no rows at all now and then): best and at then
// come in holding what every element would lose to, and real_min columns
// start from their first element that is not a NaN (some trials mostly
// NaNs, so that columns of NaNs only come up).
template <class T, Rule R>
void columns_against_loops() {
  const int spans[] = {119, 121, 129, 241, 32759, 32761, 32769, 65530};
  const WideLanes restore;
  for (const auto& [isa, wide] : wide_builds()) {
    f90::lanes::wide_lanes = wide;
    for (int trial = 0; trial < 60; ++trial) {
      const int edge = sizeof(T) > 2 ? 0 : pick(0, 9);
      // Past two 64-byte vectors of 1-byte elements now and then.
      const int cols = edge == 1 ? pick(4090, 4100) : pick(1, pick(0, 3) ? 70 : 300);
      const bool from_first = pick(0, 1) != 0;
      const int rows = edge == 2 ? spans[pick(0, 3) + (sizeof(T) == 2 ? 4 : 0)]
                                 : pick(from_first && pick(0, 5) == 0 ? 0 : 1, 20);
      const int k0 = pick(from_first ? 1 : 0, 3);
      const int skew = pick(0, 64 / sizeof(T) - 1);
      const bool real = R == Rule::real_max || R == Rule::real_min;
      const int odds = pick(0, 3) == 0 ? 1 : 30;
      const std::vector<T> a0 = run<T>(skew + cols * (rows + 1), real, odds);
      const T* const a = a0.data() + skew + cols;  // the row before: a - cols
      std::vector<T> best = run<T>(cols, false), want = best;
      std::vector<int32_t> at(cols, -1), want_at(cols, from_first ? k0 - 1 : -1);
      if (from_first) {
        std::copy(a - cols, a, want.begin());
        const T lose = R == Rule::integer_max ? std::numeric_limits<T>::lowest()
                       : R == Rule::integer_min ? std::numeric_limits<T>::max()
                       : R == Rule::real_max ? T(INFINITY) : T(-INFINITY);
        std::fill(best.begin(), best.end(), lose);
        std::fill(at.begin(), at.end(), rows + 7);
      }
      for (int j = 0; j < cols; ++j)
        for (int k = 0; k < rows; ++k) {
          const T c = want[j], x = a[k * cols + j];
          bool takes = false;
          switch (R) {
            case Rule::integer_max: takes = x > c; break;
            case Rule::integer_min: takes = x < c; break;
            case Rule::real_max: takes = !(c >= x); break;
            // From `first`, a NaN start stands for none taken yet.
            case Rule::real_min: takes = c > x || (from_first && c != c && x == x); break;
          }
          if (takes) want[j] = x, want_at[j] = k0 + k;
        }
      const char* const first = from_first ? reinterpret_cast<const char*>(a - cols) : nullptr;
      std::vector<T> values = best;
      f90::lanes::columns<T, R>(isa, reinterpret_cast<const char*>(a), cols * sizeof(T), k0, rows,
                                cols, first, values.data(), nullptr);
      f90::lanes::columns<T, R>(isa, reinterpret_cast<const char*>(a), cols * sizeof(T), k0, rows,
                                cols, first, best.data(), at.data());
      for (int j = 0; j < cols; ++j) {
        ASSERT_EQ(std::memcmp(&values[j], &want[j], sizeof(T)), 0)
            << int(isa) << wide << from_first << " column " << j;
        ASSERT_EQ(at[j], want_at[j]) << int(isa) << wide << " column " << j;
      }
    }
  }
}

TEST(Lanes, ColumnsUnderEveryRule) {
  columns_against_loops<int8_t, Rule::integer_max>();
  columns_against_loops<int8_t, Rule::integer_min>();
  columns_against_loops<int16_t, Rule::integer_max>();
  columns_against_loops<int16_t, Rule::integer_min>();
  columns_against_loops<int32_t, Rule::integer_max>();
  columns_against_loops<int32_t, Rule::integer_min>();
  columns_against_loops<int64_t, Rule::integer_max>();
  columns_against_loops<int64_t, Rule::integer_min>();
  columns_against_loops<float, Rule::real_max>();
  columns_against_loops<double, Rule::real_max>();
  columns_against_loops<float, Rule::real_min>();
  columns_against_loops<double, Rule::real_min>();
}

// Rows past the 8-row chunks (whose sums byte lanes hold) and past the
// 128-row stretches of the narrow sums, columns past a line's head, two
// vectors a step, 16-byte vectors and the 4096-column blocks of the narrow
// sums, densities from none to all true; the block starts anywhere in a
// 64-byte line.
template <uint32_t B>
void logical_columns() {
  const WideLanes restore;
  for (const auto& [isa, wide] : wide_builds()) {
    f90::lanes::wide_lanes = wide;
    for (int trial = 0; trial < 150; ++trial) {
      const int cols = trial % 10 == 0 ? pick(4090, 4200) : pick(1, pick(0, 1) ? 140 : 300);
      const int rows = trial % 10 == 1 ? pick(120, 300) : pick(1, 20), density = pick(0, 4);
      const bool truth = pick(0, 1);
      const std::vector<char> buf = logicals<B>(cols * rows + 128 / B, density, 0);
      const int line = int(reinterpret_cast<uintptr_t>(buf.data()) % 64);
      const char* const m = buf.data() + (64 - line) + pick(0, 64 / B - 1) * B;
      std::vector<uint32_t> count(cols, 5);
      f90::lanes::count_columns<B>(isa, m, cols * B, rows, cols, truth, count.data());
      for (int j = 0; j < cols; ++j) {
        uint32_t want = 5;
        for (int k = 0; k < rows; ++k)
          want += f90::Logical<B>::truth(m + (k * cols + j) * B) == truth;
        ASSERT_EQ(count[j], want) << B << " " << int(isa) << wide << " column " << j;
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

// The REAL*16 filter of both builds against the rule: it passes over the
// elements far on the losing side that come before the first planted edge,
// and over nothing that _morvex_qcompare would let replace the current
// element (an element with an infinite or NaN high part is never taken).
// The edges sit at every position of a vector group and of the tail.
TEST(Lanes, Real16FilterPassesOverOnlyWhatTheRuleRejects) {
  using DD = DoubleDouble;
  for (int trial = 0; trial < 3000; ++trial) {
    const bool greatest = trial & 1;
    const double up = greatest ? 1 : -1;  // toward the winning side
    // A tame current element: zeros of either sign, or a small value.
    DD c{0.0, 0.0};
    if (pick(0, 4) == 0) {
      c = {pick(0, 1) ? 0.0 : -0.0, pick(0, 1) ? 0.0 : -0.0};
    } else {
      c.hi = pick(1, 16) * (pick(0, 1) ? 0.25 : -0.25);
      c.lo = pick(-1, 1) * std::ldexp(c.hi, -56);
    }
    const double toward = std::nextafter(c.hi, -up * INFINITY);  // one step on the losing side
    const double ulp = std::fabs(c.hi - toward);
    const DD edges[] = {
        {c.hi, c.lo + up * std::ldexp(ulp, -8)},   // equal high parts, the low part wins
        {c.hi, c.lo - up * std::ldexp(ulp, -8)},   // equal high parts, the low part loses
        {c.hi, c.lo},                              // a tie
        {c.hi, -c.lo},                             // the low part's sign decides
        {toward, up * ulp * 1.5},                  // lifted past c by its low part
        {toward, up * ulp * 0.25},                 // lifted, not past c
        {toward, 0.0},
        {-0.0, 0.0}, {0.0, -0.0}, {-0.0, up * 0x1p-1074}, {up * 0x1p-1074, 0.0},
        {std::nan(""), 0.0}, {INFINITY, 0.0}, {-INFINITY, 0.0},
        {c.hi - up * 2, INFINITY}, {c.hi - up * 2, std::nan("")},
        {c.hi - up * 2, up * 8},                   // far below, lifted by a huge low part
        {c.hi - up * 2, -up * 8},
    };
    const int n = pick(1, 80);
    const int first = pick(0, n);  // the first edge; n: none
    std::vector<DD> v(n);
    for (int k = 0; k < n; ++k) {
      const double hi = c.hi - up * pick(1, 8);
      v[k] = {hi, pick(-1, 1) * std::ldexp(hi, -60)};
      if (k == first || (k > first && pick(0, 3) == 0)) v[k] = edges[pick(0, 17)];
    }
    const char* p = reinterpret_cast<const char*>(v.data());
    for (const Isa isa : builds()) {
      const int32_t at = f90::lanes::r16_first_candidate(isa, p, n, reinterpret_cast<const char*>(&c), greatest);
      ASSERT_GE(at, first) << int(isa) << " trial " << trial;
      ASSERT_LE(at, n);
      for (int k = 0; k < at; ++k) {
        const bool taken = std::isfinite(v[k].hi) && _morvex_qcompare(v[k], c) == (greatest ? 1 : -1);
        ASSERT_FALSE(taken) << int(isa) << " trial " << trial << " element " << k << " of " << n
                            << ": " << v[k].hi << " " << v[k].lo << " against " << c.hi << " " << c.lo;
      }
    }
  }
}

// REAL*16 columns of both builds against each column's element loop under
// the rule (_morvex_qcompare; a current element with an infinite or NaN high
// part stands for none taken yet), value and location searches. Coarse
// high parts: near ties decided by the low parts, signed zeros, infinite
// and NaN parts. Spread high parts (outcomes the lanes take themselves),
// some about 2^-900, with an edge of the bound planted near a column's
// extreme: its high part again, neighbours whose low parts reach across,
// NaN and infinite parts; under every rounding mode, with subnormal results
// flushed or operands read as zero (the rule then runs under the same
// MXCSR), and magnitudes down to the subnormal range.
template <int Wins>  // 1: the greater, -1: the less
bool r16_rule(const char* c, const char* x) {
  DoubleDouble a, b;
  std::memcpy(&a, x, 16);
  std::memcpy(&b, c, 16);
  return std::isfinite(a.hi) && (!std::isfinite(b.hi) || _morvex_qcompare(a, b) == Wins);
}

TEST(Lanes, Real16ColumnsOfEveryBuild) {
  const WideLanes restore;
  for (const auto& [isa, wide] : wide_builds()) {
    f90::lanes::wide_lanes = wide;
    for (int trial = 0; trial < 200; ++trial) {
      const bool greatest = trial & 1;
      const auto rule = greatest ? r16_rule<1> : r16_rule<-1>;
      // Some blocks wider than the kernel's 512-line limit buffer.
      const int cols = pick(0, 9) == 0 ? pick(500, 1100) : pick(1, 40);
      const int rows = pick(1, 20), k0 = pick(1, 3);
      const bool spread = trial % 4 >= 2, rows_kept = pick(0, 3) != 0;
      const double scales[] = {1.0, 0x1p-900, 0x1p-1012};
      const double scale = scales[pick(0, 2)], up = greatest ? 1 : -1;
      // As it is, rounding down, up, toward zero, flushing, reading as zero.
      const uint32_t csr_bits[] = {0, 0x2000, 0x4000, 0x6000, 0x8000, 0x40};
      const uint32_t csr = (f90test::get_mxcsr() & ~0xe040u) | csr_bits[pick(0, 5)];
      std::vector<DoubleDouble> a(cols * rows), cur(cols);
      auto element = [&] {
        if (spread) {
          const double hi = pick(-(1 << 20), 1 << 20) * std::ldexp(scale, -10);
          return DoubleDouble{hi, pick(-1, 1) * std::ldexp(hi, -60)};
        }
        DoubleDouble x{pick(-6, 6) * 0.25, 0.0};
        const double lifts[] = {0.0, -0.0, 0x1p-56, -0x1p-56, 0x1p-54, -0x1p-54, INFINITY, NAN};
        x.lo = lifts[pick(0, 7)] * (x.hi == 0 ? 0x1p-1000 : x.hi);
        if (pick(0, 25) == 0) x.hi = pick(0, 1) ? NAN : pick(0, 1) ? INFINITY : -INFINITY;
        return x;
      };
      for (DoubleDouble& x : a) x = element();
      for (DoubleDouble& c : cur) c = pick(0, 4) == 0 ? DoubleDouble{NAN, 0.0} : element();
      for (int j = 0; spread && j < cols; ++j) {
        if (pick(0, 2) != 0) continue;
        int e = 0;  // the column's extreme
        for (int k = 1; k < rows; ++k)
          if (up * a[k * cols + j].hi > up * a[e * cols + j].hi) e = k;
        const DoubleDouble y = a[e * cols + j];
        const double ulp = std::fabs(y.hi - std::nextafter(y.hi, 0.0));
        const double reach[] = {0.0, 0.125, 0.25, 0.5, 1.0, 4.0};
        DoubleDouble& x = a[pick(0, rows - 1) * cols + j];
        switch (pick(0, 5)) {
          case 0: x = {y.hi, y.lo + up * pick(-1, 1) * ulp * 0.25}; break;
          case 1: x = {std::nextafter(y.hi, up * INFINITY), -up * reach[pick(0, 5)] * ulp}; break;
          case 2: x = {std::nextafter(y.hi, -up * INFINITY), up * reach[pick(0, 5)] * ulp}; break;
          case 3: x = {y.hi + up * ulp * pick(1, 4), std::ldexp(y.hi, -pick(50, 56))}; break;
          case 4: x.hi = pick(0, 1) ? NAN : up * INFINITY; break;
          default: x.lo = pick(0, 1) ? NAN : INFINITY; break;
        }
      }
      // From the row before k0 (`first`): current elements and rows come in
      // unset, and a column that takes nothing keeps first's at k0 - 1.
      const bool from_first = pick(0, 1) != 0;
      const std::vector<DoubleDouble> start = cur;
      std::vector<DoubleDouble> want = cur;
      std::vector<int32_t> at(cols, -1), want_at(cols, from_first ? k0 - 1 : -1);
      // (current then holds an element that every row's would lose to.)
      if (from_first) std::fill(cur.begin(), cur.end(), DoubleDouble{up * 0x1p1000, 0.0});
      f90test::under_mxcsr(csr, [&] {
        for (int j = 0; j < cols; ++j)
          for (int k = 0; k < rows; ++k) {
            const char* x = reinterpret_cast<const char*>(&a[k * cols + j]);
            if (rule(reinterpret_cast<const char*>(&want[j]), x)) {
              std::memcpy(&want[j], x, 16);
              want_at[j] = k0 + k;
            }
          }
        f90::lanes::r16_columns(isa, reinterpret_cast<const char*>(a.data()), cols * 16, k0, rows,
                                cols, greatest, rule,
                                from_first ? reinterpret_cast<const char*>(start.data()) : nullptr,
                                reinterpret_cast<char*>(cur.data()), rows_kept ? at.data() : nullptr);
      });
      for (int j = 0; j < cols; ++j) {
        // (From `first`, a location search's current elements are scratch.)
        if (!from_first || !rows_kept) {
          ASSERT_EQ(std::memcmp(&cur[j], &want[j], 16), 0)
              << int(isa) << wide << " trial " << trial << " column " << j;
        }
        if (rows_kept) {
          ASSERT_EQ(at[j], want_at[j]) << int(isa) << wide << " trial " << trial << " column " << j;
        }
      }
    }
  }
}

}  // namespace
