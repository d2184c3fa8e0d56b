// LEN, LEN_TRIM, TRIM, ADJUSTL and ADJUSTR.
#include <gtest/gtest.h>

#include <string>

#include "char/character.h"
#include "guarded_string.h"

namespace {

using chartest::GuardedDest;
using chartest::GuardedSource;

TEST(CharLen, LengthItselfNegativeAsZero) {
  GuardedSource s("abc");
  for (int n : {0, 3, 1000000})
    EXPECT_EQ(_morvex_len(s.p(), n), n);
  EXPECT_EQ(_morvex_len(s.p(), -5), 0);
  EXPECT_EQ(_morvex_I_len(s.p(), 3), 3);
  EXPECT_EQ(_morvex_I_len(s.p(), -5), 0);
}

TEST(CharLenTrim, Table) {
  const struct {
    const char* s;
    int want;
  } cases[] = {
      {"", 0},          {"   ", 0},         {"ab  ", 2},      {" ab", 3},
      {"a\t", 2},       {"a\t ", 2},        {"abcdefgh        ", 8},
      {"a         ", 1}, {"         a", 10}, {"\xe9   ", 1},    {"ab cd     ", 5},
  };
  for (const auto& c : cases) {
    GuardedSource s(c.s);
    EXPECT_EQ(_morvex_len_trim(s.p(), s.len()), c.want) << '"' << c.s << '"';
  }
  GuardedSource s("ab");
  EXPECT_EQ(_morvex_len_trim(s.p(), -2), 0);
}

TEST(CharTrim, CopiesWithoutTrailingBlanks) {
  const struct {
    const char* src;
    int len_dst;
    const char* want;  // bytes stored; the rest of dst stays '.'
  } cases[] = {
      {"ab  ", 4, "ab"},  {"   ", 3, ""},        {"ab  c", 3, "ab"},  // only the first len_dst bytes count
      {"abc", 2, "ab"},   {" a", 2, " a"},       {"", 3, ""},
      {"abcdefghij   ", 13, "abcdefghij"},       {"a\t  ", 4, "a\t"},
  };
  for (const auto& c : cases) {
    GuardedSource src(c.src);
    GuardedDest dst(c.len_dst);
    const std::string want = c.want;
    EXPECT_EQ(_morvex_trim(src.p(), dst.p(), src.len(), c.len_dst), static_cast<int>(want.size()))
        << '"' << c.src << '"';
    EXPECT_EQ(dst.str(), want + std::string(c.len_dst - want.size(), '.'));
    EXPECT_TRUE(dst.front_intact());
  }
}

struct AdjustCase {
  const char* src;
  const char* left;
  const char* right;
};

const AdjustCase kAdjust[] = {
    {"  ab", "ab  ", "  ab"},
    {"ab  ", "ab  ", "  ab"},
    {" a b ", "a b  ", "  a b"},
    {"    ", "    ", "    "},
    {"", "", ""},
    {"abc", "abc", "abc"},
    {"         x  y", "x  y         ", "         x  y"},
    {"x  y         ", "x  y         ", "         x  y"},
    {"\tab ", "\tab ", " \tab"},  // a tab is not a blank
};

TEST(CharAdjust, IntoSeparateDestination) {
  for (const auto& c : kAdjust) {
    GuardedSource src(c.src);
    GuardedDest l(src.len()), r(src.len());
    EXPECT_EQ(_morvex_adjustl(src.p(), l.p(), src.len()), src.len());
    EXPECT_EQ(_morvex_adjustr(src.p(), r.p(), src.len()), src.len());
    EXPECT_EQ(l.str(), c.left) << '"' << c.src << '"';
    EXPECT_EQ(r.str(), c.right) << '"' << c.src << '"';
    EXPECT_TRUE(l.front_intact());
    EXPECT_TRUE(r.front_intact());
  }
}

TEST(CharAdjust, InPlace) {
  for (const auto& c : kAdjust) {
    std::string l = c.src, r = c.src;
    const int n = static_cast<int>(l.size());
    _morvex_adjustl(l.data(), l.data(), n);
    _morvex_adjustr(r.data(), r.data(), n);
    EXPECT_EQ(l, c.left) << '"' << c.src << '"';
    EXPECT_EQ(r, c.right) << '"' << c.src << '"';
  }
}

TEST(CharAdjust, NegativeLengthStoresNothing) {
  GuardedSource src("  ab");
  GuardedDest dst(0);
  EXPECT_EQ(_morvex_adjustl(src.p(), dst.p(), -4), 0);
  EXPECT_EQ(_morvex_adjustr(src.p(), dst.p(), -4), 0);
  EXPECT_TRUE(dst.front_intact());
}

}  // namespace
