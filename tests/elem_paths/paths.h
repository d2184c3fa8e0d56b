// Bit-for-bit comparison of the two code paths of libf90elem.
//
// The library stores truncated integers with fisttp when the CPU has it and
// with fistp under a chopping control word otherwise (x87_trunc.h); the flag
// that picks the path is set at load time. This program takes every object
// from the static archive, so the entry points it calls read the flag it
// sets: a case runs its function with the flag cleared (the chopping-word
// path, the library's code before fisttp) and again with it set, and the two
// results must have the same bits. Where a change does not depend on the
// flag (a rounding done on the bit pattern, a store of a value that is
// already integral, a new first estimate) the case names a reference model:
// the previous algorithm, kept here.
//
// Every comparison runs under control words 0x127f, 0x037f and 0x137f (the
// exhaustive REAL*4 runs: every argument under 0x127f, the mode compiled
// code runs in, and 10^8 of them spread over the whole range under the
// other two; the previous path's two mode switches make a call cost up to
// 80 ns in this program, which puts three full sweeps per function past
// what a long run can take). The
// inputs of a run come in chunks; with several threads, all threads finish
// the cleared-flag half of a round before the flag is set, and the other
// way round.
#pragma once

#include <gtest/gtest.h>

#include <barrier>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "control_word.h"
#include "float_results.h"
#include "x87_trunc.h"

namespace paths {

inline constexpr uint16_t kControlWords[] = {0x127f, 0x037f, 0x137f};

// A result as its bits: an x87 value (10 bytes), or an integer (tagged so
// that it never equals a real).
struct Result {
  uint64_t low = 0;
  uint32_t high = 0;
  bool operator==(const Result&) const = default;
};

inline Result real(long double v) {
  Result r;
  std::memcpy(&r.low, &v, 8);
  uint16_t e;
  std::memcpy(&e, reinterpret_cast<const char*>(&v) + 8, 2);
  r.high = e;
  return r;
}

inline Result integer(int64_t v) { return {static_cast<uint64_t>(v), 0x10000u}; }

inline std::string show(const Result& r) {
  std::ostringstream s;
  s << std::hex << r.high << ':' << r.low;
  return s.str();
}

template <class In>
struct Case {
  const char* name;
  Result (*ours)(In);
  Result (*model)(In);  // null: ours with the flag cleared
};

// A well-mixed 64-bit value from an index (splitmix64): input i of a run
// is the same in both halves of a comparison.
inline uint64_t mix(uint64_t i) {
  uint64_t z = i * 0x9e3779b97f4a7c15ull + 0x9e3779b97f4a7c15ull;
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return z ^ (z >> 31);
}

template <class In>
void PrintTo(const Case<In>& c, std::ostream* os) {
  *os << c.name;
}

// Input number i of a run.
template <class In>
using Generator = std::function<In(uint64_t)>;

template <class In>
std::string describe(const In& x) {
  std::ostringstream s;
  if constexpr (requires { x.first; }) {
    s << f90test::show(x.first) << ", " << f90test::show(x.second);
  } else {
    s << f90test::show(x);
  }
  return s.str();
}

// Runs `c` over inputs 0 .. count-1 of `gen` under each of `words`.
template <class In>
void compare(const Case<In>& c, const Generator<In>& gen, uint64_t count, unsigned threads = 1,
             std::initializer_list<uint16_t> words = {kControlWords[0], kControlWords[1],
                                                      kControlWords[2]}) {
  if (!x87::cpu_has_fisttp()) GTEST_SKIP() << "no fisttp on this CPU: one path only";
  // Large chunks in the threaded runs: every round waits for the slowest
  // thread, which on a loaded machine is one that was descheduled.
  const uint64_t kChunk = threads > 1 ? 1 << 20 : 1 << 16;
  const uint64_t chunks = (count + kChunk - 1) / kChunk;
  const bool saved_flag = x87::g_have_fisttp;
  for (const uint16_t cw : words) {
    x87::g_have_fisttp = false;
    std::barrier cleared(threads, []() noexcept { x87::g_have_fisttp = true; });
    std::barrier set(threads, []() noexcept { x87::g_have_fisttp = false; });
    std::vector<uint64_t> mismatches(threads);
    std::vector<std::string> first(threads);
    auto work = [&](unsigned t) {
      const uint16_t saved_cw = x87::get_cw();
      x87::set_cw(cw);
      std::vector<Result> want(kChunk);
      for (uint64_t round = 0; round * threads < chunks; ++round) {
        const uint64_t chunk = round * threads + t;
        const uint64_t lo = chunk * kChunk;
        const uint64_t hi = chunk < chunks ? std::min(lo + kChunk, count) : lo;
        for (uint64_t i = lo; i < hi; ++i) {
          const In x = gen(i);
          want[i - lo] = c.model ? c.model(x) : c.ours(x);
        }
        cleared.arrive_and_wait();
        for (uint64_t i = lo; i < hi; ++i) {
          const In x = gen(i);
          const Result got = c.ours(x);
          if (got != want[i - lo] && mismatches[t]++ == 0)
            first[t] = describe(x) + ": " + show(got) + " against " + show(want[i - lo]);
        }
        set.arrive_and_wait();
      }
      x87::set_cw(saved_cw);
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t) pool.emplace_back(work, t);
    work(0);
    for (auto& th : pool) th.join();
    for (unsigned t = 0; t < threads; ++t)
      EXPECT_EQ(mismatches[t], 0u) << c.name << " under 0x" << std::hex << cw << std::dec
                                   << ", first at " << first[t];
  }
  x87::g_have_fisttp = saved_flag;
}

// Threads for the long runs (the machine is shared: a few at most).
inline unsigned long_threads() {
  const unsigned n = std::thread::hardware_concurrency();
  return n < 2 ? 1 : n < 8 ? n / 2 : 4;
}

}  // namespace paths
