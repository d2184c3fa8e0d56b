// LEN_TRIM, SCAN, VERIFY (every entry and wrapper against naive models, on
// random strings and sets of codes 0-255 placed against guard pages on both
// sides), and the allocated results of REPEAT, TRIM and the converter: their
// descriptor words, reports and what follows each report.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "f90/character.h"
#include "f90/messages.h"
#include "guard_page.h"
#include "recording_runtime.h"

namespace {

using f90test::GuardedBuffer;
using f90test::GuardSide;
using f90test::Runtime;
using f90test::RuntimeScope;

// ---- naive models --------------------------------------------------------

int64_t model_len_trim(const std::string& s, int32_t len) {
  int64_t n = len < 1 ? 0 : len;
  while (n > 0 && s[n - 1] == ' ') --n;
  return n;
}

bool in_set(unsigned char c, const std::string& set, int32_t setlen) {
  for (int32_t i = 0; i < setlen; ++i)
    if (static_cast<unsigned char>(set[i]) == c) return true;
  return false;
}

// SCAN (want_member) or VERIFY (!want_member), position by position.
int64_t model_search(bool want_member, const std::string& s, int32_t len, const std::string& set,
                     int32_t setlen, bool back) {
  if (len < 1) return 0;
  for (int32_t k = 0; k < len; ++k) {
    const int32_t i = back ? len - 1 - k : k;
    if (in_set(static_cast<unsigned char>(s[i]), set, setlen) == want_member) return i + 1;
  }
  return 0;
}

// ---- every entry, normalised to one signature -----------------------------

using Search = int64_t (*)(const char*, int32_t, const char*, int32_t, const int32_t*);

// The entries take (STRING, LEN, SET, SETLEN, BACK); the _F90_ wrappers
// (STRING, SET, BACK, LEN, SETLEN).
template <auto F>
int64_t by_lengths(const char* s, int32_t l, const char* t, int32_t tl, const int32_t* b) {
  return F(s, l, t, tl, b);
}
template <auto F>
int64_t wrapper(const char* s, int32_t l, const char* t, int32_t tl, const int32_t* b) {
  return F(s, t, b, l, tl);
}

struct SearchEntry {
  const char* name;
  bool scan;
  Search fn;
};

const SearchEntry kSearches[] = {
    {"_SCAN", true, by_lengths<_SCAN>},           {"_SCAN_4", true, by_lengths<_SCAN_4>},
    {"_SCAN_8", true, by_lengths<_SCAN_8>},       {"_F90_SCAN", true, wrapper<_F90_SCAN>},
    {"_F90_SCAN_4", true, wrapper<_F90_SCAN_4>},  {"_F90_SCAN_8", true, wrapper<_F90_SCAN_8>},
    {"_VERIFY", false, by_lengths<_VERIFY>},      {"_VERIFY_4", false, by_lengths<_VERIFY_4>},
    {"_VERIFY_8", false, by_lengths<_VERIFY_8>},  {"_F90_VERIFY", false, wrapper<_F90_VERIFY>},
    {"_F90_VERIFY_4", false, wrapper<_F90_VERIFY_4>},
    {"_F90_VERIFY_8", false, wrapper<_F90_VERIFY_8>},
};

using LenTrim = int64_t (*)(const char*, int32_t);
template <auto F>
int64_t len_trim(const char* s, int32_t l) {
  return F(s, l);
}
const std::pair<const char*, LenTrim> kLenTrims[] = {
    {"_LEN_TRIM_", len_trim<_LEN_TRIM_>},         {"_LEN_TRIM_4_", len_trim<_LEN_TRIM_4_>},
    {"_LEN_TRIM_8_", len_trim<_LEN_TRIM_8_>},     {"_F90_LEN_TRIM_", len_trim<_F90_LEN_TRIM_>},
    {"_F90_LEN_TRIM_4_", len_trim<_F90_LEN_TRIM_4_>},
    {"_F90_LEN_TRIM_8_", len_trim<_F90_LEN_TRIM_8_>},
};

// A string copied against a guard page on the given side.
struct Guarded {
  GuardedBuffer buf;
  Guarded(const std::string& s, GuardSide side) : buf(s.size(), side) {
    if (!s.empty()) std::memcpy(buf.data(), s.data(), s.size());
  }
  const char* get() const { return static_cast<const char*>(buf.data()); }
};

// ---- SCAN, VERIFY, LEN_TRIM ------------------------------------------------

TEST(CharacterSearch, LiteralCases) {
  const int32_t f = 0, t = 1, odd = -5;
  struct Case {
    bool scan;
    const char *s, *set;
    int32_t len, setlen;
    const int32_t* back;
    int64_t want;
  } cases[] = {
      {true, "FORTRAN", "TR", 7, 2, nullptr, 3},
      {true, "FORTRAN", "TR", 7, 2, &t, 5},
      {true, "FORTRAN", "TR", 7, 2, &odd, 5},  // any nonzero word is true
      {true, "FORTRAN", "TR", 7, 2, &f, 3},
      {true, "FORTRAN", "xyz", 7, 3, nullptr, 0},
      {true, "FORTRAN", "", 7, 0, nullptr, 0},  // empty SET
      {true, "FORTRAN", "F", 7, -1, &t, 0},     // negative SET length: empty
      {true, "", "", 0, 0, nullptr, 0},
      {true, "FORTRAN", "F", -7, 1, nullptr, 0},
      {false, "ABBA", "A", 4, 1, nullptr, 2},
      {false, "ABBA", "A", 4, 1, &t, 3},
      {false, "ABBA", "AB", 4, 2, &t, 0},
      {false, "ABBA", "", 4, 0, nullptr, 1},    // empty SET: 1, or LEN with BACK
      {false, "ABBA", "", 4, 0, &t, 4},
      {false, "ABBA", "A", 4, -3, &t, 4},
      {false, "", "", 0, 0, &t, 0},             // empty STRING: 0 even for an empty SET
      {false, "ABBA", "", -2, 0, nullptr, 0},   // negative length: 0
      {false, "ABBA", "", -2, 0, &t, 0},
      // Bytes 128-255 are characters of their own, not their code - 128.
      {true, "ab\xc1", "A", 3, 1, nullptr, 0},
      {true, "A\xc1", "\xc1", 2, 1, nullptr, 2},
      {false, "\xc1\x41", "A", 2, 1, nullptr, 1},
      {false, "\xff\x00\x80", "\x00\xff\x80", 3, 3, nullptr, 0},
  };
  for (const Case& c : cases) {
    for (const SearchEntry& e : kSearches) {
      if (e.scan != c.scan) continue;
      EXPECT_EQ(e.fn(c.s, c.len, c.set, c.setlen, c.back), c.want)
          << e.name << "('" << c.s << "', '" << c.set << "') len " << c.len;
    }
  }
}

TEST(CharacterSearch, RandomAgainstModelGuardedBothSides) {
  std::mt19937 rng(25);
  const int32_t t = 1, f = 0, neg = -1;
  const int32_t* backs[] = {nullptr, &f, &t, &neg};
  for (int round = 0; round < 1500; ++round) {
    // Small alphabets make hits likely; some draw from all 256 codes.
    const int alphabet = round % 3 == 0 ? 256 : 4 + static_cast<int>(rng() % 12);
    const int base = static_cast<int>(rng() % 256);
    auto draw = [&] { return static_cast<char>((base + static_cast<int>(rng() % alphabet)) & 0xff); };
    std::string s(rng() % 70, ' '), set(rng() % 20, ' ');
    for (char& c : s) c = draw();
    for (char& c : set) c = draw();
    const int32_t len = static_cast<int32_t>(s.size());
    const int32_t setlen = static_cast<int32_t>(set.size());
    const int32_t* back = backs[rng() % 4];
    const bool b = back != nullptr && *back != 0;
    for (GuardSide side : {GuardSide::after, GuardSide::before}) {
      const Guarded gs(s, side), gset(set, side);
      for (const SearchEntry& e : kSearches) {
        const int64_t want = model_search(e.scan, s, len, set, setlen, b);
        ASSERT_EQ(e.fn(gs.get(), len, gset.get(), setlen, back), want)
            << e.name << " round " << round << " len " << len << " setlen " << setlen;
      }
    }
  }
}

TEST(CharacterLenTrim, LiteralAndRandomGuardedBothSides) {
  struct Case {
    const char* s;
    int32_t len;
    int64_t want;
  } cases[] = {{"", 0, 0},          {"    ", 4, 0},     {"ab  ", -4, 0},  {"ab  ", 4, 2},
               {"ab\t", 3, 3},      {" a ", 3, 2},      {"abcdefgh", 8, 8}, {"a        ", 9, 1},
               {"\xa0 ", 2, 1},     {"x  \0  ", 6, 4}};
  for (const Case& c : cases)
    for (const auto& [name, fn] : kLenTrims) EXPECT_EQ(fn(c.s, c.len), c.want) << name << " '" << c.s << "'";
  std::mt19937 rng(2525);
  for (int round = 0; round < 400; ++round) {
    // Up to 300 bytes: blank tails of every length around the 32- and
    // 64-byte steps of the long-string scan.
    std::string s(rng() % 300, ' ');
    const size_t keep = s.empty() ? 0 : rng() % (s.size() + 1);
    for (size_t i = 0; i < keep; ++i) s[i] = static_cast<char>(rng() % 3 == 0 ? ' ' : rng() % 256);
    for (GuardSide side : {GuardSide::after, GuardSide::before}) {
      const Guarded g(s, side);
      for (const auto& [name, fn] : kLenTrims)
        ASSERT_EQ(fn(g.get(), static_cast<int32_t>(s.size())), model_len_trim(s, static_cast<int32_t>(s.size())))
            << name << " round " << round;
    }
  }
}

// ---- REPEAT, TRIM and the converter ---------------------------------------

// A rank-0 CHARACTER result descriptor with recognisable words.
ArrayDescriptor fresh_result(bool assoc) {
  ArrayDescriptor d{};
  d.base = reinterpret_cast<void*>(0x1111);
  d.elem_len = 0x2222;
  d.flags = f90_flags(0, assoc ? 1 : 0, OBJ_PLAIN);
  d.type_word = f90_type_word(TYPE_CHARACTER, 8, 0, 0);
  d.alloc_base = reinterpret_cast<void*>(0x3333);
  d.alloc_size = 0x4444;
  return d;
}

struct Words {
  const void* base;
  uint32_t len;
  bool assoc;
  const void* alloc_base;
  uint32_t alloc_size;
};

void expect_words(const ArrayDescriptor& d, const Words& w, const char* what) {
  EXPECT_EQ(d.base, w.base) << what;
  EXPECT_EQ(d.elem_len, w.len) << what;
  EXPECT_EQ((d.flags & F90_FLAG_ASSOC) != 0, w.assoc) << what;
  EXPECT_EQ(d.alloc_base, w.alloc_base) << what;
  EXPECT_EQ(d.alloc_size, w.alloc_size) << what;
  EXPECT_EQ(d.type_word, f90_type_word(TYPE_CHARACTER, 8, 0, 0)) << what;
}

// One block of want.size() bytes was allocated and holds want; the result
// is associated with it, alloc_size counting bytes x size_unit.
void expect_allocated(const ArrayDescriptor& r, const std::string& want, uint32_t size_unit,
                      const char* what) {
  ASSERT_EQ(Runtime::allocations().size(), 1u) << what;
  const uint32_t n = static_cast<uint32_t>(want.size());
  void* const block = Runtime::allocations()[0].block;
  EXPECT_EQ(Runtime::allocations()[0].bytes, n) << what;
  expect_words(r, {block, n, true, block, n * size_unit}, what);
  EXPECT_EQ(std::string(static_cast<const char*>(r.base), n), want) << what;
}

const void* const kOldAllocBase = reinterpret_cast<void*>(0x3333);

TEST(CharacterResults, RepeatTable) {
  using RepeatFn = void (*)(ArrayDescriptor*, const char*, int32_t, const int32_t*);
  const RepeatFn forms[] = {_REPEAT, [](ArrayDescriptor* r, const char* s, int32_t len, const int32_t* n) {
                              _F90_REPEAT(r, s, n, len);
                            }};
  struct Case {
    const char* what;
    std::string s;
    int32_t len, n;
    bool assoc_in;
    std::vector<int32_t> reports;
    bool allocates;
  } cases[] = {
      {"ab x 3", "ab", 2, 3, false, {}, true},
      {"one byte x 1000", "z", 1, 1000, false, {}, true},
      {"abc x 1000", "abc", 3, 1000, false, {}, true},
      {"seven bytes x 37", "1234567", 7, 37, false, {}, true},
      {"x 1", "hello", 5, 1, false, {}, true},
      {"x 0", "ab", 2, 0, false, {}, false},
      {"x 0, result associated", "ab", 2, 0, true, {}, false},
      {"empty string", "", 0, 5, false, {}, false},
      {"negative length", "ab", -2, 5, false, {}, false},
      {"negative NCOPIES", "ab", 2, -1, false, {ERR_REPEAT_NEGATIVE}, false},
      {"negative NCOPIES, empty", "", 0, -4, false, {ERR_REPEAT_NEGATIVE}, false},
      {"result associated", "ab", 2, 2, true, {ERR_RESULT_ALLOCATED}, true},
  };
  for (RepeatFn fn : forms) {
    for (const Case& c : cases) {
      RuntimeScope scope;
      ArrayDescriptor r = fresh_result(c.assoc_in);
      const Guarded g(c.s, GuardSide::after), h(c.s, GuardSide::before);
      fn(&r, c.len > 0 ? g.get() : h.get(), c.len, &c.n);
      EXPECT_EQ(Runtime::numbers(), c.reports) << c.what;
      if (!c.allocates) {
        EXPECT_EQ(Runtime::allocation_calls(), 0) << c.what;
        expect_words(r, {nullptr, 0, c.assoc_in, kOldAllocBase, 0x4444}, c.what);
        continue;
      }
      std::string want;
      for (int32_t k = 0; k < c.n; ++k) want += c.s;
      expect_allocated(r, want, 1, c.what);
    }
  }
}

TEST(CharacterResults, RepeatSizeLimitAndFailedAllocation) {
  struct Case {
    const char* what;
    int32_t len, n;
    int fail_at;        // 0: the allocator works
    int allocator_calls;
  } cases[] = {
      // 0x10000 x 0x10000 is 2^32 bytes: wraps to 0 in 32 bits.
      {"2^32 bytes", 0x10000, 0x10000, 0, 0},
      {"0x80000000 bytes", 2, 0x40000000, 0, 0},
      {"2^31+6 bytes", 0x7FFFFFFF, 2, 0, 0},
      {"exactly 0x7FFFFFFF bytes, allocator fails", 1, 0x7FFFFFFF, 1, 1},
      {"allocator fails", 3, 2, 1, 1},
  };
  for (const Case& c : cases) {
    RuntimeScope scope;
    if (c.fail_at != 0) Runtime::fail_allocation(c.fail_at);
    ArrayDescriptor r = fresh_result(false);
    const Guarded g("abc", GuardSide::after);
    _REPEAT(&r, g.get(), c.len, &c.n);
    EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{ERR_ALLOC_FAILED}) << c.what;
    EXPECT_EQ(Runtime::allocation_calls(), c.allocator_calls) << c.what;
    expect_words(r, {nullptr, 0, false, nullptr, 0}, c.what);
  }
}

TEST(CharacterResults, TrimTable) {
  struct Case {
    const char* what;
    std::string s;
    int32_t len;
    bool assoc_in;
    std::vector<int32_t> reports;
    std::string want;  // empty: nothing allocated
  } cases[] = {
      {"trailing blanks", "ab  ", 4, false, {}, "ab"},
      {"no blanks", "abc", 3, false, {}, "abc"},
      {"inner and leading blanks kept", "  a b  ", 7, false, {}, "  a b"},
      {"tab kept", "a\t ", 3, false, {}, "a\t"},
      {"all blank", "    ", 4, false, {}, ""},
      {"empty", "", 0, false, {}, ""},
      {"negative length", "ab", -1, false, {}, ""},
      {"result associated", "xy ", 3, true, {ERR_RESULT_ALLOCATED}, "xy"},
      {"result associated, all blank", "  ", 2, true, {ERR_RESULT_ALLOCATED}, ""},
  };
  for (const Case& c : cases) {
    RuntimeScope scope;
    ArrayDescriptor r = fresh_result(c.assoc_in);
    const Guarded g(c.s, GuardSide::after);
    _TRIM(&r, g.get(), c.len);
    EXPECT_EQ(Runtime::numbers(), c.reports) << c.what;
    if (c.want.empty()) {
      EXPECT_EQ(Runtime::allocation_calls(), 0) << c.what;
      expect_words(r, {nullptr, 0, false, nullptr, 0}, c.what);
      continue;
    }
    expect_allocated(r, c.want, 8, c.what);
  }
  RuntimeScope scope;
  Runtime::fail_allocation(1);
  ArrayDescriptor r = fresh_result(false);
  _TRIM(&r, "ab  ", 4);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{ERR_ALLOC_FAILED});
  expect_words(r, {nullptr, 0, false, nullptr, 0}, "failed allocation");
}

TEST(CharacterResults, ConverterTable) {
  struct Case {
    const char* what;
    std::string s;
    int32_t len;
    bool assoc_in;
    std::vector<int32_t> reports;
    std::string want;  // the bytes, NUL included
  } cases[] = {
      {"abc", "abc", 3, false, {}, std::string("abc\0", 4)},
      {"blanks kept", "a  ", 3, false, {}, std::string("a  \0", 4)},
      {"empty", "", 0, false, {}, std::string("\0", 1)},
      {"negative length", "abc", -3, false, {}, std::string("\0", 1)},
      {"result associated", "q", 1, true, {ERR_RESULT_ALLOCATED}, std::string("q\0", 2)},
  };
  for (const Case& c : cases) {
    RuntimeScope scope;
    ArrayDescriptor r = fresh_result(c.assoc_in);
    const Guarded g(c.s, GuardSide::before);
    __mx_CARG_S(&r, g.get(), c.len);
    EXPECT_EQ(Runtime::numbers(), c.reports) << c.what;
    expect_allocated(r, c.want, 1, c.what);
  }
  RuntimeScope scope;
  Runtime::fail_allocation(1);
  ArrayDescriptor r = fresh_result(true);
  __mx_CARG_S(&r, "abc", 3);
  EXPECT_EQ(Runtime::numbers(), (std::vector<int32_t>{ERR_RESULT_ALLOCATED, ERR_ALLOC_FAILED}));
  expect_words(r, {nullptr, 0, false, nullptr, 0}, "failed allocation");
}

TEST(CharacterStopPause, PassTheOperandThrough) {
  EXPECT_EXIT(_F90_STOP("halt 7xyz", 6), ::testing::ExitedWithCode(0), "STOP halt 7\n");
  EXPECT_EXIT(
      {
        if (std::freopen("/dev/null", "r", stdin) == nullptr) std::exit(9);
        _F90_PAUSE("wait herexx", 9);
        std::exit(3);
      },
      ::testing::ExitedWithCode(3), "PAUSE wait here\n");
}

}  // namespace
