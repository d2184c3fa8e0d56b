// INDEX and the padded comparison on 4 KiB strings, with the C library's
// memmem and memcmp measured in the same run as references. Throughput is
// the bytes of the searched (or compared) string per second.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>

#include "f90/f90.h"

namespace {

constexpr int kLen = 4096;

// Lower-case text with words and blanks, the same in every run.
std::string text(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string t(n, ' ');
  for (auto& ch : t) ch = rng() % 6 == 0 ? ' ' : static_cast<char>('a' + rng() % 26);
  return t;
}

enum Needle { kAtEnd, kAbsent, kPeriodic };

struct SearchData {
  std::string hay, needle;
  explicit SearchData(int kind) {
    if (kind == kPeriodic) {  // every start matches the first 7 bytes and the last
      hay.assign(kLen, 'a');
      needle = std::string(7, 'a') + "b" + std::string(8, 'a');
      hay.replace(kLen - 16, 16, needle);
      return;
    }
    hay = text(kLen, 1);
    needle = hay.substr(kLen - 16, 16);
    if (kind == kAbsent) hay[kLen - 1] = '#';
  }
};

void BM_char_index(benchmark::State& state) {
  const SearchData d(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    int pos = _morvex_index(d.hay.data(), d.needle.data(), kLen, 16);
    benchmark::DoNotOptimize(pos);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kLen);
}

void BM_reference_memmem(benchmark::State& state) {
  const SearchData d(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const void* p = memmem(d.hay.data(), kLen, d.needle.data(), 16);
    benchmark::DoNotOptimize(p);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kLen);
}

void BM_char_index_back(benchmark::State& state) {
  const SearchData d(static_cast<int>(state.range(0)));
  // Searching backward for a needle at the start walks the whole string.
  std::string hay(d.hay.rbegin(), d.hay.rend());
  const std::string needle(d.needle.rbegin(), d.needle.rend());
  const int32_t back = 1;
  for (auto _ : state) {
    int pos = _morvex_f90_index(hay.data(), needle.data(), &back, kLen, 16);
    benchmark::DoNotOptimize(pos);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kLen);
}

BENCHMARK(BM_char_index)->ArgName("needle_end0_absent1_periodic2")->DenseRange(0, 2);
BENCHMARK(BM_char_index_back)->ArgName("needle_end0_absent1_periodic2")->DenseRange(0, 2);
BENCHMARK(BM_reference_memmem)->ArgName("needle_end0_absent1_periodic2")->DenseRange(0, 2);

// Equal strings (the whole length is read) and strings that differ in
// their last byte; the padded case compares 2 KiB of text followed by
// 2 KiB of blanks against the 2 KiB of text alone.
enum Pair { kEqual, kLastDiffers, kPadded };

struct ComparePair {
  std::string a, b;
  std::string b_filled;  // b filled out with blanks to a's length
  explicit ComparePair(int kind) : a(text(kLen, 2)), b(a) {
    if (kind == kLastDiffers) b[kLen - 1] ^= 1;
    if (kind == kPadded) {
      a.replace(kLen / 2, kLen / 2, std::string(kLen / 2, ' '));
      b = a.substr(0, kLen / 2);
    }
    b_filled = b + std::string(a.size() - b.size(), ' ');
  }
};

void BM_char_compare(benchmark::State& state) {
  const ComparePair p(static_cast<int>(state.range(0)));
  const int la = static_cast<int>(p.a.size()), lb = static_cast<int>(p.b.size());
  for (auto _ : state) {
    int r = _morvex_lle(p.a.data(), p.b.data(), la, lb);
    benchmark::DoNotOptimize(r);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kLen);
}

void BM_reference_memcmp(benchmark::State& state) {
  const ComparePair p(static_cast<int>(state.range(0)));
  // memcmp has no padding: in the padded case it compares a with b already
  // filled out with blanks, the same 4 KiB.
  for (auto _ : state) {
    int r = std::memcmp(p.a.data(), p.b_filled.data(), kLen);
    benchmark::DoNotOptimize(r);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kLen);
}

BENCHMARK(BM_char_compare)->ArgName("equal0_lastdiffers1_padded2")->DenseRange(0, 2);
BENCHMARK(BM_reference_memcmp)->ArgName("equal0_lastdiffers1_padded2")->DenseRange(0, 2);

}  // namespace
