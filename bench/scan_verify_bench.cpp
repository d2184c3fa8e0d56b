// SCAN and VERIFY of libf90intr over 4 KiB strings with a 16-character set,
// and LEN_TRIM of a blank-padded 4 KiB string, each against the C library's
// nearest search measured in the same run: strcspn for SCAN (bytes outside
// the set until the first inside), strspn for VERIFY and for the blank run
// of LEN_TRIM, and memchr of an absent byte (the plain read-only scan rate).
// Every search here reads the whole string. Throughput is string bytes per
// second.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>

#include "f90/character.h"

namespace {

constexpr int kLen = 4096;
const char kSet[] = "aeiouAEIOU.,;:!?";  // 16 characters

// Bytes not in kSet (consonants), the last one in it: SCAN reads to the end.
std::string outside_then_hit() {
  std::mt19937 rng(25);
  const char consonants[] = "bcdfghjklmnpqrstvwxyz";
  std::string s(kLen, ' ');
  for (char& c : s) c = consonants[rng() % 21];
  s[kLen - 1] = 'e';
  return s;
}

// Bytes of kSet, the last one outside it: VERIFY reads to the end.
std::string inside_then_miss() {
  std::mt19937 rng(26);
  std::string s(kLen, ' ');
  for (char& c : s) c = kSet[rng() % 16];
  s[kLen - 1] = 'z';
  return s;
}

void set_bytes(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kLen);
}

void BM_scan_4k_set16(benchmark::State& state) {
  const std::string s = outside_then_hit();
  for (auto _ : state) {
    int32_t p = _SCAN(s.data(), kLen, kSet, 16, nullptr);
    benchmark::DoNotOptimize(p);
  }
  set_bytes(state);
}

void BM_scan_back_4k_set16(benchmark::State& state) {
  std::string s = outside_then_hit();
  s[kLen - 1] = 'b';
  s[0] = 'e';
  const int32_t back = 1;
  for (auto _ : state) {
    int32_t p = _SCAN(s.data(), kLen, kSet, 16, &back);
    benchmark::DoNotOptimize(p);
  }
  set_bytes(state);
}

void BM_reference_strcspn_4k_set16(benchmark::State& state) {
  const std::string s = outside_then_hit();
  for (auto _ : state) {
    size_t p = strcspn(s.c_str(), kSet);
    benchmark::DoNotOptimize(p);
  }
  set_bytes(state);
}

void BM_verify_4k_set16(benchmark::State& state) {
  const std::string s = inside_then_miss();
  for (auto _ : state) {
    int32_t p = _VERIFY(s.data(), kLen, kSet, 16, nullptr);
    benchmark::DoNotOptimize(p);
  }
  set_bytes(state);
}

void BM_reference_strspn_4k_set16(benchmark::State& state) {
  const std::string s = inside_then_miss();
  for (auto _ : state) {
    size_t p = strspn(s.c_str(), kSet);
    benchmark::DoNotOptimize(p);
  }
  set_bytes(state);
}

// 16 bytes of text and 4080 blanks.
std::string blank_padded() {
  std::string s(kLen, ' ');
  std::memcpy(s.data(), "Fortran text 16.", 16);
  return s;
}

void BM_len_trim_4k_padded(benchmark::State& state) {
  const std::string s = blank_padded();
  for (auto _ : state) {
    int32_t n = _LEN_TRIM_(s.data(), kLen);
    benchmark::DoNotOptimize(n);
  }
  set_bytes(state);
}

void BM_reference_strspn_blanks_4k(benchmark::State& state) {
  std::string s(kLen, ' ');
  s[kLen - 1] = 'x';
  for (auto _ : state) {
    size_t n = strspn(s.c_str(), " ");
    benchmark::DoNotOptimize(n);
  }
  set_bytes(state);
}

void BM_reference_memchr_absent_4k(benchmark::State& state) {
  const std::string s = blank_padded();
  for (auto _ : state) {
    const void* p = std::memchr(s.data(), '#', kLen);
    benchmark::DoNotOptimize(p);
  }
  set_bytes(state);
}

}  // namespace

BENCHMARK(BM_scan_4k_set16);
BENCHMARK(BM_scan_back_4k_set16);
BENCHMARK(BM_reference_strcspn_4k_set16);
BENCHMARK(BM_verify_4k_set16);
BENCHMARK(BM_reference_strspn_4k_set16);
BENCHMARK(BM_len_trim_4k_padded);
BENCHMARK(BM_reference_strspn_blanks_4k);
BENCHMARK(BM_reference_memchr_absent_4k);
