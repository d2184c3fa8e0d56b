// INDEX forward and with BACK, all four entry names.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "char/character.h"
#include "guarded_string.h"

namespace {

using chartest::GuardedSource;

struct IndexCase {
  const char* s;
  const char* sub;
  int forward, backward;
};

const int32_t kTrue = 1, kFalse = 0;

TEST(CharIndex, Table) {
  const IndexCase cases[] = {
      {"abcabc", "bc", 2, 5},
      {"abc", "", 1, 4},
      {"", "", 1, 1},
      {"ab", "abc", 0, 0},
      {"abc", "abc", 1, 1},
      {"abc", "d", 0, 0},
      {"aaaa", "aa", 1, 3},
      {"abababab", "abab", 1, 5},
      {"xxxxxxxxxxxxxxxxab", "ab", 17, 17},  // found in the last word
      {"abxxxxxxxxxxxxxxxx", "ab", 1, 1},
      {"aaaaaaaaaaaaaaaaab", "aab", 16, 16},  // many near misses
      {"a\xe9z\xe9z", "\xe9z", 2, 4},
      {"ab ab  ", "b ", 2, 5},
  };
  for (const auto& c : cases) {
    GuardedSource s(c.s), sub(c.sub);
    SCOPED_TRACE(std::string(c.sub) + " in " + c.s);
    EXPECT_EQ(_morvex_index(s.p(), sub.p(), s.len(), sub.len()), c.forward);
    EXPECT_EQ(_morvex_I_index(s.p(), sub.p(), s.len(), sub.len()), c.forward);
    EXPECT_EQ(_morvex_f90_index(s.p(), sub.p(), nullptr, s.len(), sub.len()), c.forward);
    EXPECT_EQ(_morvex_f90_index(s.p(), sub.p(), &kFalse, s.len(), sub.len()), c.forward);
    EXPECT_EQ(_morvex_f90_index(s.p(), sub.p(), &kTrue, s.len(), sub.len()), c.backward);
    EXPECT_EQ(_morvex_f90_index_8(s.p(), sub.p(), &kTrue, s.len(), sub.len()), c.backward);
    EXPECT_EQ(_morvex_f90_index_8(s.p(), sub.p(), nullptr, s.len(), sub.len()), c.forward);
  }
}

TEST(CharIndex, AnyNonZeroLogicalIsTrue) {
  GuardedSource s("abcabc"), sub("bc");
  for (int32_t back : {1, -1, 2, INT32_MIN, 0x100})
    EXPECT_EQ(_morvex_f90_index(s.p(), sub.p(), &back, 6, 2), 5) << back;
}

TEST(CharIndex, NegativeLengthsCountAsZero) {
  GuardedSource s("abc"), sub("a");
  EXPECT_EQ(_morvex_index(s.p(), sub.p(), -3, 1), 0);
  EXPECT_EQ(_morvex_index(s.p(), sub.p(), 3, -1), 1);
  EXPECT_EQ(_morvex_f90_index(s.p(), sub.p(), &kTrue, 3, -1), 4);
  EXPECT_EQ(_morvex_f90_index(s.p(), sub.p(), &kTrue, -3, -1), 1);
  EXPECT_EQ(_morvex_f90_index_8(s.p(), sub.p(), &kTrue, -3, 1), 0);
}

int naive_index(const std::string& s, const std::string& sub, bool back) {
  if (sub.size() > s.size()) return 0;
  const int last = static_cast<int>(s.size() - sub.size());
  for (int k = 0; k <= last; ++k) {
    const int start = back ? last - k : k;
    if (s.compare(start, sub.size(), sub) == 0) return start + 1;
  }
  return 0;
}

// Random strings over a small alphabet (many partial matches), every length
// and so every alignment, each ending at a guard page.
TEST(CharIndex, MatchesPlainSearch) {
  std::mt19937 rng(11);
  const char alphabet[] = {'a', 'b', ' ', '\xe9'};
  auto text = [&](int n) {
    std::string t(n, 'a');
    for (auto& ch : t) ch = alphabet[rng() % (rng() % 2 ? 2 : 4)];
    return t;
  };
  for (int iter = 0; iter < 6000; ++iter) {
    const std::string s = text(rng() % 48), sub = text(rng() % 7);
    GuardedSource gs(s), gsub(sub);
    const int f = _morvex_index(gs.p(), gsub.p(), gs.len(), gsub.len());
    const int b = _morvex_f90_index(gs.p(), gsub.p(), &kTrue, gs.len(), gsub.len());
    ASSERT_EQ(f, naive_index(s, sub, false)) << '"' << sub << "\" in \"" << s << '"';
    ASSERT_EQ(b, naive_index(s, sub, true)) << '"' << sub << "\" in \"" << s << '"';
  }
}

// Long strings, screened a vector of starts at a time: substrings that open
// with a run of one byte (screened on the byte that ends the run), that are
// one byte repeated, or that are cut from the string itself.
TEST(CharIndex, LongStringsAndRunSubstrings) {
  std::mt19937 rng(12);
  for (int iter = 0; iter < 3000; ++iter) {
    const int n = static_cast<int>(rng() % 400);
    std::string s(n, 'a');
    const int letters = 1 + static_cast<int>(rng() % 3);
    for (auto& ch : s)
      if (rng() % 8 == 0) ch = static_cast<char>('a' + rng() % letters);
    std::string sub;
    switch (rng() % 3) {
      case 0: sub = std::string(rng() % 12, 'a') + "b" + std::string(rng() % 12, 'a'); break;
      case 1: sub = std::string(1 + rng() % 40, 'a'); break;
      default: {
        const size_t at = n ? rng() % n : 0, len = rng() % 70;
        sub = s.substr(at, len);
      }
    }
    GuardedSource gs(s), gsub(sub);
    ASSERT_EQ(_morvex_index(gs.p(), gsub.p(), gs.len(), gsub.len()), naive_index(s, sub, false))
        << '"' << sub << "\" in \"" << s << '"';
    ASSERT_EQ(_morvex_f90_index(gs.p(), gsub.p(), &kTrue, gs.len(), gsub.len()),
              naive_index(s, sub, true))
        << '"' << sub << "\" in \"" << s << '"';
  }
}

}  // namespace
