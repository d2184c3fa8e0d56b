// REPEAT, ICHAR and CHAR.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "char/character.h"
#include "guarded_string.h"

namespace {

using chartest::GuardedDest;
using chartest::GuardedSource;

TEST(CharRepeat, WholeCopiesThatFit) {
  const struct {
    const char* src;
    int ncopies, len_dst, want;
    const char* stored;  // bytes stored; the rest of dst stays '.'
  } cases[] = {
      {"ab", 3, 5, 4, "abab"},         {"ab", 3, 6, 6, "ababab"},
      {"ab", 3, 9, 6, "ababab"},       {"ab", 0, 4, 0, ""},
      {"ab", 1, 1, 0, ""},             {"x", 10, 7, 7, "xxxxxxx"},
      {"x", 5, 9, 5, "xxxxx"},         {"", 1000, 4, 0, ""},
      {"abcde", 2, 12, 10, "abcdeabcde"}, {"ab", -3, 8, -6, ""},
      {"ab", 3, -1, 0, ""},
  };
  for (const auto& c : cases) {
    GuardedSource src(c.src);
    GuardedDest dst(c.len_dst > 0 ? c.len_dst : 0);
    const int got = _morvex_repeat(src.p(), c.ncopies, dst.p(), src.len(), c.len_dst);
    EXPECT_EQ(got, c.want) << c.src << " x " << c.ncopies << " into " << c.len_dst;
    const std::string stored = c.stored;
    EXPECT_EQ(dst.str(), stored + std::string(dst.len() - stored.size(), '.'));
    EXPECT_TRUE(dst.front_intact());
  }
}

// ncopies x len_src beyond 32 bits must not pass for a small product: the
// copies stop at the end of dst (which ends at a guard page).
TEST(CharRepeat, ProductBeyond32Bits) {
  const std::string block(0x10000, 'q');
  GuardedSource src(block);
  const struct {
    int32_t ncopies, len_dst, want;
  } cases[] = {
      {0x10000, 0x20000, 0x20000},  // product 2^32: 0 in 32 bits
      {0x10001, 100000, 0x10000},   // product 2^32 + 2^16: 65536 in 32 bits
      {INT32_MAX, 0x30000, 0x30000},
  };
  for (const auto& c : cases) {
    GuardedDest dst(c.len_dst);
    EXPECT_EQ(_morvex_repeat(src.p(), c.ncopies, dst.p(), src.len(), c.len_dst), c.want)
        << c.ncopies;
    const std::string got = dst.str();
    EXPECT_EQ(got.find_first_not_of('q'), static_cast<size_t>(c.want) < got.size()
                                              ? static_cast<size_t>(c.want)
                                              : std::string::npos);
  }
}

TEST(CharRepeat, NegativeCountStoresNothing) {
  const std::string block(0x10000, 'q');
  GuardedSource src(block);
  GuardedDest dst(16);
  const struct {
    int32_t ncopies, len_src, want;
  } cases[] = {
      {-1, 0x10000, -0x10000},
      {INT32_MIN, 2, INT32_MIN},     // -2^32: 0 in 32 bits
      {-0xffff, 0x10000, INT32_MIN},  // -(2^32 - 2^16): +65536 in 32 bits
      {-5, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(_morvex_repeat(src.p(), c.ncopies, dst.p(), c.len_src, 16), c.want) << c.ncopies;
    EXPECT_EQ(dst.str(), std::string(16, '.'));
  }
}

TEST(CharIchar, SignExtendedByte) {
  const struct {
    unsigned char byte;
    int32_t want;
  } cases[] = {{0x00, 0}, {0x41, 65}, {0x7f, 127}, {0x80, -128}, {0xe9, -23}, {0xff, -1}};
  for (const auto& c : cases) {
    const char ch = static_cast<char>(c.byte);
    EXPECT_EQ(_morvex_ichar(&ch), c.want) << int(c.byte);
    EXPECT_EQ(_morvex_I_ichar(&ch), c.want) << int(c.byte);
  }
}

TEST(CharChar, StoresLowByteOnly) {
  const struct {
    int32_t i;
    unsigned char want;
  } cases[] = {{65, 'A'}, {0x1e9, 0xe9}, {-1, 0xff}, {-23, 0xe9}, {256, 0}};
  for (const auto& c : cases) {
    GuardedDest dst(1);
    EXPECT_EQ(_morvex_char(c.i, dst.p()), 1);
    EXPECT_EQ(static_cast<unsigned char>(dst.p()[0]), c.want) << c.i;
    EXPECT_TRUE(dst.front_intact());
  }
}

}  // namespace
