// Character assignment (casgn, strcasgn) and concatenation (con).
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "char/character.h"
#include "guarded_string.h"

namespace {

using chartest::GuardedDest;
using chartest::GuardedSource;

struct AssignCase {
  const char* src;
  int len_src;  // may be negative: counts as 0
  int len_dst;
  const char* want;
};

TEST(CharAssign, CutOrFilledOutWithBlanks) {
  const AssignCase cases[] = {
      {"abc", 3, 5, "abc  "},      {"abc", 3, 2, "ab"},
      {"abc", 3, 3, "abc"},        {"", 0, 4, "    "},
      {"abc", -7, 3, "   "},       {"abc", 3, 0, ""},
      {"abcdefghijk", 11, 9, "abcdefghi"},
      {"x", 1, 13, "x            "},
  };
  for (const auto& c : cases) {
    GuardedSource src(std::string_view(c.src, c.len_src > 0 ? c.len_src : 0));
    GuardedDest dst(c.len_dst);
    _morvex_casgn(dst.p(), src.p(), c.len_dst, c.len_src);
    EXPECT_EQ(dst.str(), c.want) << c.src << " into " << c.len_dst;
    EXPECT_TRUE(dst.front_intact());
  }
}

TEST(CharAssign, NegativeDestinationLengthStoresNothing) {
  GuardedDest dst(0);
  _morvex_casgn(dst.p(), "abc", -1, 3);
  EXPECT_TRUE(dst.front_intact());
}

// Assignments within one variable "0123456789": dst and src offsets.
struct OverlapCase {
  int dst, src, len_dst, len_src;
  const char* want;
};

TEST(CharAssign, OverlapInBothDirections) {
  const OverlapCase cases[] = {
      {1, 0, 4, 4, "0012356789"},  // shift right by one: not a repeated '0'
      {0, 1, 4, 4, "1234456789"},  // shift left by one
      {2, 0, 6, 3, "01012   89"},  // right, blanks past the source
      {0, 2, 5, 3, "234  56789"},  // left, blanks over the old source
      {3, 0, 7, 7, "0120123456"},  // right by three, word-sized run
      {0, 0, 7, 5, "01234  789"},  // onto itself, filled out
      {1, 0, 9, 9, "0012345678"},
  };
  for (const auto& c : cases) {
    std::string buf = "0123456789";
    _morvex_casgn(buf.data() + c.dst, buf.data() + c.src, c.len_dst, c.len_src);
    EXPECT_EQ(buf, c.want) << "dst " << c.dst << " src " << c.src;
  }
}

// Any placement of dst and src in one buffer gives what a copy of the
// source taken beforehand would give.
TEST(CharAssign, OverlapMatchesCopyOfSource) {
  std::mt19937 rng(7);
  for (int iter = 0; iter < 4000; ++iter) {
    std::string buf(64, ' ');
    for (auto& ch : buf) ch = static_cast<char>('A' + rng() % 26);
    const int s = rng() % 40, d = rng() % 40, ls = rng() % 24, ld = rng() % 24;
    std::string want = buf;
    const std::string src = buf.substr(s, ls);
    for (int i = 0; i < ld; ++i) want[d + i] = i < ls ? src[i] : ' ';
    _morvex_casgn(buf.data() + d, buf.data() + s, ld, ls);
    ASSERT_EQ(buf, want) << "dst " << d << " src " << s << " ld " << ld << " ls " << ls;
  }
}

TEST(CharAssign, StrcasgnStoresLengthByteBeforeDestination) {
  struct Case {
    int len_src, len_dst;
    unsigned char want_byte;
  } cases[] = {{5, 3, 3}, {3, 5, 3}, {300, 300, 300 & 0xff}, {-4, 2, 0}, {2, -1, 0}};
  const std::string text(300, 'h');
  for (const auto& c : cases) {
    GuardedSource src(std::string_view(text).substr(0, c.len_src > 0 ? c.len_src : 0));
    GuardedDest dst(c.len_dst > 0 ? c.len_dst : 0);
    _morvex_strcasgn(dst.p(), src.p(), c.len_dst, c.len_src);
    EXPECT_EQ(dst.before(), c.want_byte) << c.len_src << " into " << c.len_dst;
    EXPECT_TRUE(dst.front_intact(GuardedDest::kFront - 1));
  }
  GuardedSource hello("hello");
  GuardedDest dst(3);
  _morvex_strcasgn(dst.p(), hello.p(), 3, 5);
  EXPECT_EQ(dst.str(), "hel");
}

// A source that covers the length byte is read before that byte is stored.
TEST(CharAssign, StrcasgnSourceCoveringLengthByte) {
  std::string buf = "Xabcdef";
  _morvex_strcasgn(buf.data() + 2, buf.data(), 4, 4);  // length byte at buf[1]
  EXPECT_EQ(buf.substr(2, 4), "Xabc");
  EXPECT_EQ(buf[1], 4);
}

struct ConCase {
  const char *a, *b;
  int len_dst;
  const char* want;  // the bytes stored; the rest stays '.'
};

TEST(CharConcat, StoresWhatFitsAndReturnsCount) {
  const ConCase cases[] = {
      {"abc", "de", 4, "abcd"}, {"abc", "de", 2, "ab"},  {"abc", "de", 3, "abc"},
      {"abc", "de", 7, "abcde"}, {"", "de", 5, "de"},    {"abc", "", 5, "abc"},
      {"", "", 0, ""},           {"abcdefgh", "ijklmnop", 13, "abcdefghijklm"},
  };
  for (const auto& c : cases) {
    GuardedSource a(c.a), b(c.b);
    GuardedDest dst(c.len_dst);
    const int got = _morvex_con(a.p(), b.p(), dst.p(), a.len(), b.len(), c.len_dst);
    const std::string want = c.want;
    EXPECT_EQ(got, static_cast<int>(want.size())) << c.a << "//" << c.b;
    EXPECT_EQ(dst.str(), want + std::string(c.len_dst - want.size(), '.'));
    EXPECT_TRUE(dst.front_intact());
  }
}

TEST(CharConcat, NegativeLengthsCountAsZero) {
  GuardedSource a("abc"), b("de");
  GuardedDest dst(4);
  EXPECT_EQ(_morvex_con(a.p(), b.p(), dst.p(), -1, 2, 4), 2);
  EXPECT_EQ(dst.str(), "de..");
  EXPECT_EQ(_morvex_con(a.p(), b.p(), dst.p(), 3, 2, -4), 0);
  EXPECT_EQ(dst.str(), "de..");
}

}  // namespace
