// LGE, LGT, LLE, LLT, equality and inequality over the padded comparison.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "char/character.h"
#include "guarded_string.h"

namespace {

using chartest::GuardedSource;

// order: -1 when a > b, 0 equal, 1 when a < b (the comparison's sign).
struct CompareCase {
  std::string a, b;
  int order;
};

const CompareCase kCases[] = {
    {"ab", "ab   ", 0},
    {"ab", "ab", 0},
    {"", "", 0},
    {"", "    ", 0},
    {"ab", "ab!", 1},       // the filling blank sorts below '!'
    {"ab", "ab\t", -1},     // ... and above a tab
    {"ab", "ab   \t", -1},  // blanks skipped, then the tab decides
    {"ab", "ab    x", 1},
    {"ab\t", "ab", 1},
    {"ab!", "ab", -1},
    {std::string("a\0", 2), "a", 1},
    {"\xe9", "z", -1},  // unsigned: 0xe9 above 'z'
    {"z", "\x80", 1},
    {"ab ", "ab\x80", 1},
    {"abc", "abd", 1},
    {"abd", "abc", -1},
    {"", "a", 1},
    {"abcdefghijklmnopq", "abcdefghijklmnopr", 1},  // difference past the word loop
    {"abcdefghijklmnopq       ", "abcdefghijklmnopq", 0},
    {"abcdefghzjklmnopq", "abcdefghijklmnopq", -1},
    {"abcdezgh", "abcdefgh", -1},  // difference in the second word of a step
};

int lexical(const char* a, const char* b, int la, int lb) {
  return morvex::chars::compare_padded(a, b, la, lb);
}

TEST(CharCompare, SignOfComparison) {
  for (const auto& c : kCases) {
    GuardedSource a(c.a), b(c.b);
    EXPECT_EQ(lexical(a.p(), b.p(), a.len(), b.len()), c.order) << '"' << c.a << "\" vs \"" << c.b << '"';
    EXPECT_EQ(lexical(b.p(), a.p(), b.len(), a.len()), -c.order) << '"' << c.b << "\" vs \"" << c.a << '"';
  }
}

TEST(CharCompare, EntryPointsFollowTheOrder) {
  for (const auto& c : kCases) {
    GuardedSource a(c.a), b(c.b);
    const int la = a.len(), lb = b.len();
    SCOPED_TRACE('"' + c.a + "\" vs \"" + c.b + '"');
    EXPECT_EQ(_morvex_lge(a.p(), b.p(), la, lb), c.order <= 0 ? 1 : 0);
    EXPECT_EQ(_morvex_lgt(a.p(), b.p(), la, lb), c.order < 0 ? 1 : 0);
    EXPECT_EQ(_morvex_lle(a.p(), b.p(), la, lb), c.order >= 0 ? 1 : 0);
    EXPECT_EQ(_morvex_llt(a.p(), b.p(), la, lb), c.order > 0 ? 1 : 0);
    EXPECT_EQ(_morvex_cheq(a.p(), b.p(), la, lb), c.order == 0 ? 1 : 0);
    EXPECT_EQ(_morvex_chne(a.p(), b.p(), la, lb), c.order != 0 ? 1 : 0);
  }
}

TEST(CharCompare, NegativeLengthIsEmpty) {
  GuardedSource a("   "), b("x");
  EXPECT_EQ(_morvex_cheq(a.p(), b.p(), 3, -2), 1);
  EXPECT_EQ(_morvex_llt(a.p(), b.p(), -1, 1), 1);
}

// Reference: fill the shorter operand out with blanks, compare bytes unsigned.
int padded_reference(std::string a, std::string b) {
  const size_t n = std::max(a.size(), b.size());
  a.resize(n, ' ');
  b.resize(n, ' ');
  for (size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x != y) return x > y ? -1 : 1;
  }
  return 0;
}

// b shares a random prefix with a, so the padding rules are reached often;
// both end at guard pages, so a read past either length faults.
TEST(CharCompare, MatchesBlankPaddedReference) {
  std::mt19937 rng(3);
  const char alphabet[] = {' ', ' ', ' ', '\t', 'a', '\xe9', '!'};
  auto text = [&](int n) {
    std::string t(n, ' ');
    for (auto& ch : t) ch = alphabet[rng() % sizeof alphabet];
    return t;
  };
  for (int iter = 0; iter < 8000; ++iter) {
    const std::string a = text(rng() % 40);
    const std::string b = a.substr(0, rng() % (a.size() + 1)) + text(rng() % 12);
    GuardedSource ga(a), gb(b);
    ASSERT_EQ(lexical(ga.p(), gb.p(), ga.len(), gb.len()), padded_reference(a, b))
        << '"' << a << "\" vs \"" << b << '"';
  }
}

// Long operands, compared a vector at a time: a difference or a non-blank in
// the longer operand's tail at any offset, often near the end of a vector.
TEST(CharCompare, LongOperandsMatchReference) {
  std::mt19937 rng(4);
  for (int iter = 0; iter < 6000; ++iter) {
    std::string a(rng() % 300, 'q');
    for (auto& ch : a) ch = static_cast<char>('a' + rng() % 26);
    std::string b = a.substr(0, rng() % (a.size() + 1));
    if (rng() % 2) b += std::string(rng() % 200, ' ');
    std::string& longer = a.size() > b.size() ? a : b;
    const size_t common = std::min(a.size(), b.size());
    if (rng() % 3 == 0 && !longer.empty()) {  // one byte changed anywhere
      const size_t at = rng() % longer.size();
      longer[at] = static_cast<char>(rng() % 2 ? '\t' : '\xe9');
    } else if (rng() % 2 && common > 0) {  // or in the common part, near its end
      const size_t at = common - 1 - rng() % std::min<size_t>(common, 40);
      b[at] = static_cast<char>(b[at] + 1);
    }
    GuardedSource ga(a), gb(b);
    ASSERT_EQ(lexical(ga.p(), gb.p(), ga.len(), gb.len()), padded_reference(a, b))
        << a.size() << " vs " << b.size();
  }
}

}  // namespace
