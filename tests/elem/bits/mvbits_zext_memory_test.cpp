// MVBITS under its four names (aliasing included), zero extension, and the
// memory-access functions (exact widths, at the edge of an inaccessible page).
#include <gtest/gtest.h>

#include <cstring>

#include "guard_page.h"
#include "integer/entry_check.h"

extern "C" {
using MvbitsFn = void (*)(const int32_t*, const int32_t*, const int32_t*, int32_t*, const int32_t*);
void mvbits(const int32_t*, const int32_t*, const int32_t*, int32_t*, const int32_t*);
void MVBITS(const int32_t*, const int32_t*, const int32_t*, int32_t*, const int32_t*);
void mvbits_(const int32_t*, const int32_t*, const int32_t*, int32_t*, const int32_t*);
void MVBITS_(const int32_t*, const int32_t*, const int32_t*, int32_t*, const int32_t*);

uint32_t _morvex_zext(uint32_t);
uint32_t _morvex_izext(uint32_t);
uint32_t _morvex_izext2(uint32_t);
uint32_t _morvex_jzext(uint32_t);
uint32_t _morvex_jzext2(uint32_t);
uint32_t _morvex_jzext4(uint32_t);
uint64_t _morvex_kzext(uint32_t);
uint32_t _morvex_I_zext(const int32_t*);
uint32_t _morvex_I_izext(const int8_t*);
uint32_t _morvex_I_izext2(const int16_t*);
uint32_t _morvex_I_jzext(const int8_t*);
uint32_t _morvex_I_jzext2(const int16_t*);
uint32_t _morvex_I_jzext4(const int32_t*);
uint64_t _morvex_I_kzext(const int64_t*);

uint32_t _morvex_byte(const void*);
uint32_t _morvex_word(const void*);
uint32_t _morvex_long(const void*);
uint32_t _morvex_I_byte(const void*);
uint32_t _morvex_I_word(const void*);
uint32_t _morvex_I_long(const void*);
uint32_t _morvex_wbyte(void*, uint32_t);
uint32_t _morvex_wword(void*, uint32_t);
uint32_t _morvex_wlong(void*, uint32_t);
void _morvex_I_wbyte(void*, const void*);
void _morvex_I_wword(void*, const void*);
void _morvex_I_wlong(void*, const void*);
}

namespace {

struct MoveCase {
  int32_t from, frompos, len, to, topos, want;
};

const MoveCase kMoves[] = {
    {-1, 0, 32, 0x12345678, 0, -1},
    {-1, 0, 0, 0x12345678, 4, 0x12345678},  // LEN = 0 leaves TO unchanged
    {0x000000ab, 0, 8, 0x12345678, 8, 0x1234ab78},
    {0x0000ab00, 8, 8, 0, 24, static_cast<int32_t>(0xab000000)},
    {static_cast<int32_t>(0x80000000), 28, 4, 0, 0, 8},  // FROM shifted arithmetically, then masked
    {0x0f, 0, 4, -1, 30, static_cast<int32_t>(0xffffffff)},
    {0x5, 0, 3, 0, 31, static_cast<int32_t>(0x80000000)},  // bits shifted past bit 31 are lost
    {0x3, 32, 2, 0, 36, 0x30},                             // positions modulo 32
};

TEST(Mvbits, FourNamesOneBehaviour) {
  const std::pair<const char*, MvbitsFn> names[] = {
      {"mvbits", mvbits}, {"MVBITS", MVBITS}, {"mvbits_", mvbits_}, {"MVBITS_", MVBITS_}};
  for (const auto& [name, fn] : names) {
    for (const auto& c : kMoves) {
      int32_t to = c.to;
      fn(&c.from, &c.frompos, &c.len, &to, &c.topos);
      EXPECT_EQ(to, c.want) << name << " from " << c.from << " pos " << c.frompos << " len " << c.len;
    }
  }
}

TEST(Mvbits, FromAndPositionsMayBeTheSameVariableAsTo) {
  int32_t v = 0x000000f0;
  const int32_t four = 4, eight = 8, zero = 0;
  mvbits(&v, &four, &four, &v, &eight);  // bits 4..7 (0xf) to bits 8..11
  EXPECT_EQ(v, 0x00000ff0);
  int32_t w = 0x00000003;  // also serves as FROMPOS and LEN
  mvbits(&w, &zero, &w, &w, &eight);
  EXPECT_EQ(w, 0x00000303);
  int32_t pos = 2;
  MVBITS(&pos, &zero, &four, &pos, &pos);  // TOPOS read before TO is written
  EXPECT_EQ(pos, 0x0000000a);
}

TEST(ZeroExtend, ByValueAndByReference) {
  EXPECT_EQ(_morvex_zext(0xffffffff), 65535u);
  EXPECT_EQ(_morvex_zext(0x12348765), 0x8765u);
  EXPECT_EQ(_morvex_izext(0xffffff80), 128u);
  EXPECT_EQ(_morvex_izext(0x12345680), 128u);
  EXPECT_EQ(_morvex_jzext(0xffffffff), 255u);
  EXPECT_EQ(_morvex_izext2(0xffffffff), 65535u);
  EXPECT_EQ(_morvex_jzext2(0xabcd8000), 0x8000u);
  EXPECT_EQ(_morvex_jzext4(0xfffffffb), 0xfffffffbu);
  EXPECT_EQ(_morvex_kzext(0xffffffff), 4294967295u);  // high word 0

  f90test::GuardedBuffer b1(1), b2(2), b4(4), b8(8);
  const int8_t byte = static_cast<int8_t>(0x80);
  const int16_t half = -1;
  const int32_t word = -5;
  const int64_t dword = -1;
  std::memcpy(b1.data(), &byte, 1);
  std::memcpy(b2.data(), &half, 2);
  std::memcpy(b4.data(), &word, 4);
  std::memcpy(b8.data(), &dword, 8);
  EXPECT_EQ(_morvex_I_izext(static_cast<const int8_t*>(b1.data())), 128u);
  EXPECT_EQ(_morvex_I_jzext(static_cast<const int8_t*>(b1.data())), 128u);
  EXPECT_EQ(_morvex_I_izext2(static_cast<const int16_t*>(b2.data())), 65535u);
  EXPECT_EQ(_morvex_I_jzext2(static_cast<const int16_t*>(b2.data())), 65535u);
  EXPECT_EQ(_morvex_I_zext(static_cast<const int32_t*>(b4.data())), 65531u);
  EXPECT_EQ(_morvex_I_jzext4(static_cast<const int32_t*>(b4.data())), 0xfffffffbu);
  EXPECT_EQ(_morvex_I_kzext(static_cast<const int64_t*>(b8.data())), 4294967295u);
}

TEST(MemoryAccess, ReadsSignExtendExactWidths) {
  f90test::GuardedBuffer b1(1), b2(2), b4(4);
  const unsigned char bytes[4] = {0x80, 0xfe, 0x34, 0x92};
  std::memcpy(b1.data(), bytes, 1);
  std::memcpy(b2.data(), bytes, 2);
  std::memcpy(b4.data(), bytes, 4);
  using Read = uint32_t (*)(const void*);
  const struct {
    const char* name;
    Read fn;
    void* at;
    uint32_t want;
  } reads[] = {
      {"byte", _morvex_byte, b1.data(), 0xffffff80}, {"I_byte", _morvex_I_byte, b1.data(), 0xffffff80},
      {"word", _morvex_word, b2.data(), 0xfffffe80}, {"I_word", _morvex_I_word, b2.data(), 0xfffffe80},
      {"long", _morvex_long, b4.data(), 0x9234fe80}, {"I_long", _morvex_I_long, b4.data(), 0x9234fe80},
  };
  for (const auto& r : reads) EXPECT_EQ(r.fn(r.at), r.want) << r.name;
}

TEST(MemoryAccess, WritesStoreLowBitsAndReturnThemSignExtended) {
  f90test::GuardedBuffer b1(1), b2(2), b4(4);
  EXPECT_EQ(_morvex_wbyte(b1.data(), 0x1ff), 0xffffffffu);
  EXPECT_EQ(*static_cast<unsigned char*>(b1.data()), 0xff);
  EXPECT_EQ(_morvex_wbyte(b1.data(), 0x17f), 0x7fu);
  EXPECT_EQ(_morvex_wword(b2.data(), 0x18000), 0xffff8000u);
  uint16_t h;
  std::memcpy(&h, b2.data(), 2);
  EXPECT_EQ(h, 0x8000);
  EXPECT_EQ(_morvex_wlong(b4.data(), 0x89abcdef), 0x89abcdefu);
  uint32_t w;
  std::memcpy(&w, b4.data(), 4);
  EXPECT_EQ(w, 0x89abcdefu);

  // The by-reference forms copy exactly 1, 2 or 4 bytes, source and
  // destination both against inaccessible pages.
  f90test::GuardedBuffer s1(1), s2(2), s4(4);
  std::memcpy(s1.data(), "\x5a", 1);
  std::memcpy(s2.data(), "\x12\x34", 2);
  std::memcpy(s4.data(), "\x01\x02\x03\x04", 4);
  _morvex_I_wbyte(b1.data(), s1.data());
  _morvex_I_wword(b2.data(), s2.data());
  _morvex_I_wlong(b4.data(), s4.data());
  EXPECT_EQ(std::memcmp(b1.data(), "\x5a", 1), 0);
  EXPECT_EQ(std::memcmp(b2.data(), "\x12\x34", 2), 0);
  EXPECT_EQ(std::memcmp(b4.data(), "\x01\x02\x03\x04", 4), 0);
}

}  // namespace
