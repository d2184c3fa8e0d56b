// Whole-array SUM and PRODUCT: identities, wrap-around, the x87 accumulator
// of REAL*4/8, the per-run rounding of COMPLEX, the double-double kinds,
// MASK readings, DIM, and MASKs that do not match the source.
#include <gtest/gtest.h>

#include <cmath>

#include "control_word.h"
#include "guard_page.h"
#include "recording_runtime.h"
#include "sums.h"

namespace {

using f90test::ElemType;
using f90test::Runtime;
using f90test::TestArray;
using namespace sums;

class Whole : public f90test::ControlWordTest {
 protected:
  f90test::RuntimeScope scope;
};

const Entry& entry(const std::string& name) {
  for (const auto& e : entries())
    if (name == e.name) return e;
  throw std::runtime_error(name);
}

// Element k of `a` from a double (REAL, COMPLEX as (re, im), REAL*16 and
// COMPLEX*32 as (hi, lo) pairs) or an integer, at the element's width.
void put(TestArray& a, int64_t k, const std::vector<double>& parts) {
  const ElemType t = a.type();
  char* p = a.at_linear(k);
  if (t.code() == TYPE_INTEGER) {
    const int64_t v = static_cast<int64_t>(parts[0]);
    std::memcpy(p, &v, t.bytes());
  } else if (t.bytes() == 4 || (t.code() == TYPE_COMPLEX && t.bytes() == 8)) {
    for (size_t i = 0; i < parts.size(); ++i) {
      const float f = static_cast<float>(parts[i]);
      std::memcpy(p + 4 * i, &f, 4);
    }
  } else {
    std::memcpy(p, parts.data(), 8 * parts.size());
  }
}

Bytes identity(const Entry& e) {
  const double one = e.product ? 1 : 0;
  const uint32_t n = e.type.bytes();
  if (e.type.code() == TYPE_INTEGER) return n == 8 ? bytes_of(int64_t(one)) : bytes_of(int32_t(one));
  if (e.type.code() == TYPE_REAL && n <= 8) return bytes_of(static_cast<long double>(one), 10);
  if (n == 8) return bytes_of(std::array<float, 2>{float(one), 0});
  std::vector<double> v(n / 8, 0.0);
  v[0] = one;
  return Bytes(reinterpret_cast<uint8_t*>(v.data()), reinterpret_cast<uint8_t*>(v.data()) + n);
}

TEST_F(Whole, NothingTakenGivesTheIdentity) {
  for (const auto& e : entries()) {
    TestArray empty(e.type, {3, 0});
    TestArray hollow(e.type, {2, 0, 3});  // middle extent 0
    TestArray full(e.type, {2, 3});       // 0xAB garbage: any term taken shows
    TestArray no(ElemType::logical(4), {}, {}, {}, 0);
    TestArray none(ElemType::logical(8), {2, 3}, {}, {}, 0);
    empty.desc()->dim[1].extent = -4;
    const std::pair<Desc*, Desc*> cases[] = {{empty.desc(), nullptr}, {hollow.desc(), nullptr},
                                             {full.desc(), no.desc()}, {full.desc(), none.desc()}};
    for (const auto& [src, mask] : cases)
      expect_cw_kept([&] { EXPECT_EQ(e.call(src, nullptr, mask), identity(e)) << e.name; },
                     f90test::kCwLinux);
  }
  EXPECT_TRUE(Runtime::reports().empty());
}

// Integer sums and products wrap; INTEGER*1/2 come back sign-extended.
TEST_F(Whole, IntegersWrap) {
  const int64_t min64 = INT64_MIN, max64 = INT64_MAX;
  struct Case {
    const char* entry;
    std::vector<int64_t> v;
    std::vector<int32_t> shape;
    int64_t expected;
  } cases[] = {
      {"SUM0_I4", {2147483647, 1}, {2}, INT32_MIN},
      {"PROD0_I4", {65536, 65536}, {2}, 0},
      {"PROD0_I4", {-1, INT32_MIN}, {2}, INT32_MIN},
      {"SUM0_I1", {100, 100}, {2}, -56},
      {"SUM0_I1", {127, 1}, {2}, -128},
      {"SUM0_I1", {100, 100, -100}, {1, 3}, 100},  // narrowed after every run
      {"SUM0_I1", {-1}, {1}, -1},
      {"PROD0_I1", {16, 16}, {2}, 0},
      {"PROD0_I1", {-128, -1}, {2}, -128},
      {"PROD0_I1", {3, 3, 3, 3, 3}, {5}, -13},
      {"SUM0_I2", {32767, 1}, {2}, -32768},
      {"PROD0_I2", {300, 300}, {2}, 24464},
      {"PROD0_I2", {1000, 1000}, {2}, 16960},
      {"PROD0_I2", {-32768, -1}, {2}, -32768},
      {"PROD0_I2", std::vector<int64_t>(10, 3), {10}, -6487},  // 3^10 mod 2^16
      {"SUM0_J", {max64, 1}, {2}, min64},
      {"SUM0_J", {0xffffffffLL, 1}, {2}, 0x100000000LL},
      {"SUM0_J", std::vector<int64_t>(7, 1LL << 62), {7}, -(1LL << 62)},
      {"PROD0_J", {1LL << 32, 1LL << 32}, {2}, 0},
      {"PROD0_J", {-1, min64}, {2}, min64},
      {"PROD0_J", {1LL << 31, 1LL << 31}, {2}, 1LL << 62},
      {"PROD0_J", {(1LL << 32) + 1, (1LL << 32) - 1}, {2}, -1},
  };
  for (const auto& c : cases) {
    const Entry& e = entry(c.entry);
    TestArray a(e.type, c.shape);
    for (size_t k = 0; k < c.v.size(); ++k) std::memcpy(a.at_linear(k), &c.v[k], e.type.bytes());
    const Bytes want = e.type.bytes() == 8 ? bytes_of(c.expected) : bytes_of(int32_t(c.expected));
    EXPECT_EQ(e.call(a.desc(), nullptr, nullptr), want) << c.entry << " -> " << c.expected;
  }
}

// REAL*4/8: one x87 accumulator, rounded only as the control word says,
// with the register's exponent range, handed back unrounded.
TEST_F(Whole, RealAccumulatorStaysInTheRegister) {
  const double huge4 = 3.4028234663852886e38;
  struct Case {
    const char* entry;
    std::vector<double> v;
    uint16_t cw;
    long double expected;
  } cases[] = {
      {"SUM0_S4", {1, 0x1p-24, 0x1p-24}, 0x037f, 1 + 0x1p-23L},
      {"SUM0_S4", {1, 0x1p-24, 0x1p-24}, 0x007f, 1},
      {"SUM0_S4", {1, 0x1p-30}, 0x037f, 1 + 0x1p-30L},  // not rounded to REAL*4
      {"SUM0_S", {1, 0x1p-53, 0x1p-53}, 0x037f, 1 + 0x1p-52L},
      {"SUM0_S", {1, 0x1p-53, 0x1p-53}, 0x027f, 1},
      {"SUM0_S4", {huge4, huge4, -huge4}, 0x007f, huge4},
      {"PROD0_S4", {0x1p100, 0x1p100, 0x1p-100}, 0x007f, 0x1p100L},
      {"PROD0_S", {0x1p-600, 0x1p-600, 0x1p600, 0x1p600}, 0x027f, 1},
      {"SUM0_S4", {-0.0}, 0x037f, 0.0L},
      {"PROD0_S", {0.1}, 0x037f, static_cast<long double>(0.1)},
      {"SUM0_S", {INFINITY, -INFINITY}, 0x037f, NAN},
      {"PROD0_S", {2, NAN, 3}, 0x037f, NAN},
  };
  for (const auto& c : cases) {
    const Entry& e = entry(c.entry);
    TestArray a(e.type, {int32_t(c.v.size())});
    for (size_t k = 0; k < c.v.size(); ++k) put(a, k, {c.v[k]});
    Bytes got;
    expect_cw_kept([&] { got = e.call(a.desc(), nullptr, nullptr); }, c.cw);
    long double x;
    std::memcpy(&x, got.data(), 10);
    if (std::isnan(c.expected))
      EXPECT_TRUE(std::isnan(x)) << c.entry;
    else
      EXPECT_EQ(got, bytes_of(c.expected, 10)) << c.entry << " " << double(x);
  }
}

// The masked rank-2 walk goes row by row; COMPLEX rounds at the end of each
// run (a column, or a row when masked), so shapes with the same elements in
// the same memory give different results.
TEST_F(Whole, OrderAndRuns) {
  const double big = 0x1p24;
  struct Case {
    const char* entry;
    std::vector<std::vector<double>> v;
    std::vector<int32_t> shape;
    bool masked;
    std::vector<double> expected;
  } cases[] = {
      {"SUM0_S", {{1}, {-1}, {0x1p-60}, {0}}, {2, 2}, false, {0x1p-60}},
      {"SUM0_S", {{1}, {-1}, {0x1p-60}, {0}}, {2, 2}, true, {0}},
      {"SUM0_C4", {{big, 0}, {1, 0}, {1, 0}}, {3}, false, {big + 2, 0}},
      {"SUM0_C4", {{big, 0}, {1, 0}, {1, 0}}, {3, 1}, false, {big + 2, 0}},
      {"SUM0_C4", {{big, 0}, {1, 0}, {1, 0}}, {1, 3}, true, {big + 2, 0}},
      {"SUM0_C4", {{big, 0}, {1, 0}, {1, 0}}, {1, 3}, false, {big, 0}},
      {"SUM0_C4", {{big, 0}, {1, 0}, {1, 0}}, {3, 1}, true, {big, 0}},
      {"SUM0_C4", {{-0.0, -0.0}}, {1}, false, {0, 0}},
      {"PROD0_C4", {{0x1p100, 0}, {0x1p100, 0}, {0x1p-100, 0}}, {3}, false, {0x1p100, 0}},
      {"PROD0_C4", {{0x1p100, 0}, {0x1p100, 0}, {0x1p-100, 0}}, {1, 3}, false, {INFINITY, NAN}},
      {"PROD0_C", {{0x1p600, 0}, {0x1p600, 0}, {0x1p-600, 0}}, {3}, false, {0x1p600, 0}},
      {"PROD0_C", {{0x1p600, 0}, {0x1p600, 0}, {0x1p-600, 0}}, {1, 3}, false, {INFINITY, NAN}},
      {"PROD0_C4", {{INFINITY, 0}}, {1}, false, {INFINITY, NAN}},
      {"PROD0_C", {{1, 2}, {3, 4}}, {2}, false, {-5, 10}},  // both parts from the old value
  };
  for (const auto& c : cases) {
    const Entry& e = entry(c.entry);
    TestArray a(e.type, c.shape);
    TestArray m(ElemType::logical(4), c.shape, {}, {}, 1);
    for (size_t k = 0; k < c.v.size(); ++k) put(a, k, c.v[k]);
    const Bytes got = e.call(a.desc(), nullptr, c.masked ? m.desc() : nullptr);
    for (size_t i = 0; i < c.expected.size(); ++i) {
      long double r = 0;
      float f = 0;
      double x = 0;
      if (got.size() == 10) {
        std::memcpy(&r, got.data(), 10);
        x = static_cast<double>(r);
      } else if (got.size() == 8) {
        std::memcpy(&f, &got[4 * i], 4);
        x = f;
      } else {
        std::memcpy(&x, &got[8 * i], 8);
      }
      if (std::isnan(c.expected[i]))
        EXPECT_TRUE(std::isnan(x)) << c.entry << " part " << i;
      else
        EXPECT_EQ(bytes_of(x), bytes_of(c.expected[i])) << c.entry << " part " << i << ": " << x;
    }
  }
}

TEST_F(Whole, DoubleDoubleKinds) {
  struct Case {
    const char* entry;
    std::vector<std::vector<double>> v;  // (hi, lo) per part
    std::vector<double> expected;        // NaN: that part's hi and lo are NaN
  } cases[] = {
      {"SUM0_D", {{0x1p53, 1.5}}, {0x1p53 + 2, -0.5}},  // renormalised by the first step
      {"SUM0_D", {{-0.0, -0.0}, {-0.0, -0.0}}, {0, 0}},
      {"SUM0_D", {{INFINITY, 0}, {1, 0}}, {NAN, NAN}},
      {"PROD0_D", {{3, 0}, {0.5, 0}}, {1.5, 0}},
      {"SUM0_Z", {{INFINITY, 0, 1, 0}, {1, 0, 2, 0}}, {NAN, NAN, 3, 0}},
      {"PROD0_Z", {{1, 0, 2, 0}, {3, 0, 4, 0}}, {-5, 0, 10, 0}},
  };
  for (const auto& c : cases) {
    const Entry& e = entry(c.entry);
    TestArray a(e.type, {int32_t(c.v.size())});
    for (size_t k = 0; k < c.v.size(); ++k) put(a, k, c.v[k]);
    const Bytes got = e.call(a.desc(), nullptr, nullptr);
    for (size_t i = 0; i < c.expected.size(); ++i) {
      double x;
      std::memcpy(&x, &got[8 * i], 8);
      if (std::isnan(c.expected[i]))
        EXPECT_TRUE(std::isnan(x)) << c.entry << " word " << i;
      else
        EXPECT_EQ(bytes_of(x), bytes_of(c.expected[i])) << c.entry << " word " << i;
    }
  }
}

// LOGICAL*1/2/4/8 MASKs of the same truth agree; LOGICAL*8 tests its low
// word only; an element of another size is read as a 32-bit word.
TEST_F(Whole, MaskReadings) {
  TestArray src(ElemType::integer(4), {4});
  for (int k = 0; k < 4; ++k) put(src, k, {double(10 * (k + 1))});
  struct Case {
    int bytes;
    uint64_t on, off;
  } cases[] = {{1, 1, 0}, {2, 0x100, 0}, {4, 0x80000000u, 0}, {8, 1, 1ull << 32}, {8, 0xffffffffu, 0}};
  for (const auto& c : cases) {
    TestArray m(ElemType::logical(c.bytes), {4}, {}, {}, 0);
    for (int k = 0; k < 4; ++k) std::memcpy(m.at_linear(k), k % 2 ? &c.off : &c.on, c.bytes);
    EXPECT_EQ(_SUM0_I4(src.desc(), nullptr, m.desc()), 40) << "LOGICAL*" << c.bytes;
    EXPECT_EQ(_PROD0_I4(src.desc(), nullptr, m.desc()), 300) << "LOGICAL*" << c.bytes;
  }
  // 24-bit elements: strides halved to 32-bit words, each word tested whole.
  uint32_t words[16] = {0x01000000u, 7, 0, 7, 0x100u, 7, 0, 7};
  Desc odd{words, 24, f90_flags(1, 1, OBJ_PLAIN), f90_type_word(TYPE_LOGICAL, 24, 0, 0),
           nullptr, 0, {{1, 4, 4}}};
  EXPECT_EQ(_SUM0_I4(src.desc(), nullptr, &odd), 40);
}

// DIM only goes to the set-up: in range it changes nothing; out of range it
// is reported and the whole array is still reduced.
TEST_F(Whole, DimIsCheckedOnly) {
  TestArray a(ElemType::integer(4), {2, 3});
  for (int k = 0; k < 6; ++k) put(a, k, {double(k + 1)});
  TestArray scalar(ElemType::real(8), {});
  put(scalar, 0, {2.5});
  struct Case {
    Desc* src;
    int32_t dim;
    bool reported;
  } cases[] = {{a.desc(), 1, false}, {a.desc(), 2, false}, {a.desc(), 0, true},
               {a.desc(), 3, true},  {a.desc(), -5, true}, {scalar.desc(), 1, true}};
  for (const auto& c : cases) {
    Runtime::reset();
    if (c.src == a.desc())
      EXPECT_EQ(_SUM0_I4(c.src, &c.dim, nullptr), 21);
    else
      EXPECT_EQ(_PROD0_S(c.src, &c.dim, nullptr), 2.5L);
    EXPECT_EQ(Runtime::numbers(), c.reported ? std::vector<int32_t>{1405} : std::vector<int32_t>{});
  }
}

// A stride of 0 repeats an element; a MASK smaller than the source is never
// read past its extents (its missing elements count as false); a MASK of
// another rank with no element at all is false.
TEST_F(Whole, UnusualGeometry) {
  double v[2] = {0.75, 7};
  Desc zero{v, 64, f90_flags(1, 1, OBJ_PLAIN), f90_type_word(TYPE_REAL, 64, 0, 0), nullptr, 0,
            {{1, 5, 0}}};
  EXPECT_EQ(_SUM0_S(&zero, nullptr, nullptr), 3.75L);

  TestArray src(ElemType::real(8), {3, 4});
  for (int k = 0; k < 12; ++k) put(src, k, {double(1 << k)});
  f90test::GuardedBuffer mask_bytes(4);  // LOGICAL*1, 2 x 2, against a guard page
  std::memset(mask_bytes.data(), 1, 4);
  Desc small{mask_bytes.data(), 8, f90_flags(2, 1, OBJ_PLAIN), f90_type_word(TYPE_LOGICAL, 8, 0, 0),
             nullptr, 0, {{1, 2, 1}, {1, 2, 2}}};
  EXPECT_EQ(_SUM0_S(src.desc(), nullptr, &small), 1 + 2 + 8 + 16);
  Desc empty{nullptr, 32, f90_flags(1, 1, OBJ_PLAIN), f90_type_word(TYPE_LOGICAL, 32, 0, 0),
             nullptr, 0, {{1, 0, 1}}};
  EXPECT_EQ(_PROD0_S(src.desc(), nullptr, &empty), 1.0L);
  EXPECT_TRUE(Runtime::reports().empty());
}

// The result is written once, after the last term is read.
TEST_F(Whole, ResultMayOverlapTheSource) {
  double v[4] = {1, 2, 3, 4};  // two COMPLEX*16 elements
  Desc d{v, 128, f90_flags(1, 1, OBJ_PLAIN), f90_type_word(TYPE_COMPLEX, 128, 0, 0), nullptr, 0,
         {{1, 2, 4}}};
  Complex16* slot = reinterpret_cast<Complex16*>(&v[1]);
  EXPECT_EQ(_SUM0_C(slot, &d, nullptr, nullptr), slot);
  EXPECT_EQ(v[1], 4.0);
  EXPECT_EQ(v[2], 6.0);
}

}  // namespace
