// The byte scans a vector at a time (chars/wide.h) against naive models, for
// every instruction set the CPU has and the word scans: lengths across the
// vector widths, differences and matches at every offset near a vector's
// end, ranges ending at a guard page (a load past the end faults).
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "chars/wide.h"
#include "guarded_string.h"

namespace {

using chartest::GuardedSource;
using morvex::chars::Byte;
using morvex::chars::kNone;
namespace chars = morvex::chars;
namespace wide = morvex::chars::wide;

const Byte* bytes(const GuardedSource& g) { return reinterpret_cast<const Byte*>(g.p()); }

struct Tier {
  const char* name;
  bool present;
  std::function<uint32_t(const Byte*, const Byte*, uint32_t)> first_difference;
  std::function<uint32_t(const Byte*, uint32_t)> leading_blanks;
  std::function<uint32_t(const Byte*, uint32_t, Byte, Byte, uint32_t)> find_pair, rfind_pair;
};

std::vector<Tier> tiers() {
  return {
      {"words", true, chars::first_difference, chars::leading_blanks, chars::find_pair,
       chars::rfind_pair},
      {"sse2", x87::have_sse2(), wide::first_difference_sse2, wide::leading_blanks_sse2,
       wide::find_pair_sse2, wide::rfind_pair_sse2},
      {"avx2", x87::have_sse2() && chars::have_avx2(), wide::first_difference_avx2,
       wide::leading_blanks_avx2, wide::find_pair_avx2, wide::rfind_pair_avx2},
      {"dispatched", true, wide::first_difference, wide::leading_blanks, wide::find_pair,
       wide::rfind_pair},
  };
}

uint32_t naive_difference(const std::string& a, const std::string& b, uint32_t n) {
  uint32_t i = 0;
  while (i < n && a[i] == b[i]) ++i;
  return i;
}

// Lengths around multiples of the vector widths and of four of them.
uint32_t pick_length(std::mt19937& rng) {
  const uint32_t bases[] = {0, 16, 32, 64, 128, 256};
  const int d = static_cast<int>(rng() % 9) - 4;
  return static_cast<uint32_t>(
      std::max(0, static_cast<int>(bases[rng() % 6]) + d + static_cast<int>(rng() % 3) * 16));
}

TEST(WideScan, FirstDifferenceAndLeadingBlanks) {
  std::mt19937 rng(34);
  for (const Tier& t : tiers()) {
    if (!t.present) continue;
    for (int iter = 0; iter < 4000; ++iter) {
      const uint32_t n = pick_length(rng);
      std::string a(n, ' ');
      for (auto& c : a) c = static_cast<char>(rng() % 3 == 0 ? 0xe9 : 'a' + rng() % 4);
      std::string b = a, blanks(n, ' ');
      if (n > 0 && rng() % 4 != 0) {  // one difference, or none
        const uint32_t at = rng() % 2 ? rng() % n : n - 1 - rng() % std::min<uint32_t>(n, 40);
        b[at] = static_cast<char>(b[at] ^ (1 << rng() % 8));
        blanks[at] = 'x';
      }
      GuardedSource ga(a), gb(b), gblank(blanks);
      ASSERT_EQ(t.first_difference(bytes(ga), bytes(gb), n), naive_difference(a, b, n))
          << t.name << " length " << n;
      ASSERT_EQ(t.leading_blanks(bytes(gblank), n),
                naive_difference(blanks, std::string(n, ' '), n))
          << t.name << " length " << n;
    }
  }
}

TEST(WideScan, FirstAndLastPairOfScreenedBytes) {
  std::mt19937 rng(35);
  for (const Tier& t : tiers()) {
    if (!t.present) continue;
    for (int iter = 0; iter < 4000; ++iter) {
      const uint32_t gap = rng() % 20, count = pick_length(rng);
      // Dense hits over two letters, or a few planted among other letters.
      const bool dense = iter % 3 == 0;
      std::string s(count + gap, 'a');
      for (auto& c : s) c = static_cast<char>(dense ? 'a' + rng() % 2 : 'b' + rng() % 4);
      const Byte first = 'a', last = static_cast<Byte>(dense ? 'a' + rng() % 2 : 'b');
      for (uint32_t k = dense || count == 0 ? 3 : rng() % 3; k < 3; ++k) {
        const uint32_t at = rng() % count;
        s[at] = static_cast<char>(first);
        if (rng() % 4) s[at + gap] = static_cast<char>(last);
      }
      uint32_t want_first = count, want_last = kNone;
      for (uint32_t i = 0; i < count; ++i) {
        if (static_cast<Byte>(s[i]) == first && static_cast<Byte>(s[i + gap]) == last) {
          if (want_first == count) want_first = i;
          want_last = i;
        }
      }
      GuardedSource gs(s);
      ASSERT_EQ(t.find_pair(bytes(gs), count, first, last, gap), want_first)
          << t.name << " count " << count << " gap " << gap;
      ASSERT_EQ(t.rfind_pair(bytes(gs), count, first, last, gap), want_last)
          << t.name << " count " << count << " gap " << gap;
    }
  }
}

}  // namespace
