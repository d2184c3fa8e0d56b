// Every COMPLEX*8 and COMPLEX*16 entry point, by value and by reference: the
// caller's control word comes back on every path under 0x127f, 0x037f and
// 0x0c7f; the x87 stack is left empty; a complex result fills its whole slot
// (the same result whatever the slot held before, and nothing written past
// it: the slot ends at an inaccessible page) and the slot's address is
// returned; each by-reference twin writes the same bytes as its by-value
// entry.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "complex_test_util.h"
#include "control_word.h"
#include "guard_page.h"

namespace {

using namespace ctest;

struct Z {
  double re, im;
};

Complex16 c16(Z z) { return {z.re, z.im}; }
Complex8 c8(Z z) { return {static_cast<float>(z.re), static_cast<float>(z.im)}; }

enum class Shape { kUnary, kBinary, kWithInt };

// An entry called with one or two complex values (and an INTEGER*4). A
// complex result goes to `slot` and the returned pointer comes back; a real
// result is written to `slot` as its 10 bytes and `slot` comes back.
struct Entry {
  const char* name;
  Shape shape;
  size_t bytes;  // complex result slot size; 0 for a real result in st(0)
  std::function<void*(void* slot, Z x, Z y, int32_t n)> call;
};

#define CPLX1(f, C, cv)                                                                \
  Entry {                                                                              \
#f, Shape::kUnary, sizeof(C),                                                      \
        [](void* s, Z x, Z, int32_t) -> void* { return f(static_cast<C*>(s), cv(x)); } \
  }
#define CPLX1_REF(f, C, cv)                                                      \
  Entry {                                                                        \
#f, Shape::kUnary, sizeof(C), [](void* s, Z x, Z, int32_t) -> void* {          \
          const C z = cv(x);                                                           \
          return f(static_cast<C*>(s), &z);                                            \
        } \
  }
#define CPLX2(f, C, cv)                                                                         \
  Entry {                                                                                       \
#f, Shape::kBinary, sizeof(C),                                                              \
        [](void* s, Z x, Z y, int32_t) -> void* { return f(static_cast<C*>(s), cv(x), cv(y)); } \
  }
#define CPLXN(f, C, cv)                                                                     \
  Entry {                                                                                   \
#f, Shape::kWithInt, sizeof(C),                                                         \
        [](void* s, Z x, Z, int32_t n) -> void* { return f(static_cast<C*>(s), cv(x), n); } \
  }
#define REAL1(f, cv)                                                             \
  Entry {                                                                        \
#f, Shape::kUnary, 0, [](void* s, Z x, Z, int32_t) -> void* {                  \
          const long double r = f(cv(x));                                              \
          std::memcpy(s, &r, 10);                                                      \
          return s;                                                                    \
        } \
  }
#define REAL1_REF(f, C, cv)                                                      \
  Entry {                                                                        \
#f, Shape::kUnary, 0, [](void* s, Z x, Z, int32_t) -> void* {                  \
          const C z = cv(x);                                                           \
          const long double r = f(&z);                                                 \
          std::memcpy(s, &r, 10);                                                      \
          return s;                                                                    \
        } \
  }

struct Twin {
  Entry by_value, by_ref;
};

#define TWIN_C(name, C, cv) \
  Twin { CPLX1(_morvex_##name, C, cv), CPLX1_REF(_morvex_I_##name, C, cv) }
#define TWIN_R(name, C, cv) \
  Twin { REAL1(_morvex_##name, cv), REAL1_REF(_morvex_I_##name, C, cv) }

const std::vector<Twin>& twins() {
  static const std::vector<Twin> t = {
      TWIN_R(dimag, Complex16, c16), TWIN_C(dconjg, Complex16, c16), TWIN_R(cdabs, Complex16, c16),
      TWIN_C(cdexp, Complex16, c16), TWIN_C(cdlog, Complex16, c16),  TWIN_C(cdsqrt, Complex16, c16),
      TWIN_C(cdsin, Complex16, c16), TWIN_C(cdcos, Complex16, c16),  TWIN_R(aimag, Complex8, c8),
      TWIN_C(conjg, Complex8, c8),   TWIN_R(cabs, Complex8, c8),     TWIN_C(cexp, Complex8, c8),
      TWIN_C(clog, Complex8, c8),    TWIN_C(csqrt, Complex8, c8),    TWIN_C(csin, Complex8, c8),
      TWIN_C(ccos, Complex8, c8),
  };
  return t;
}

// The by-value entries: the arithmetic and powers, and those with twins.
std::vector<Entry> by_value() {
  std::vector<Entry> e = {
      CPLX2(_morvex_cdmul, Complex16, c16),  CPLX2(_morvex_cddiv, Complex16, c16),
      CPLX2(_morvex_cdtocd, Complex16, c16), CPLXN(_morvex_cdtoi, Complex16, c16),
      CPLX2(_morvex_cmul, Complex8, c8),     CPLX2(_morvex_cdiv, Complex8, c8),
      CPLX2(_morvex_ctoc, Complex8, c8),     CPLXN(_morvex_ctoi, Complex8, c8),
  };
  for (const auto& t : twins()) e.push_back(t.by_value);
  return e;
}

std::vector<Entry> all_entries() {
  std::vector<Entry> e = by_value();
  for (const auto& t : twins()) e.push_back(t.by_ref);
  return e;
}

// Values that reach every branch and early exit: zeros of both signs, NaN
// and infinite parts, the SQRT sign cases, parts beyond the REAL*4 range
// and beyond the x87 sine's range, arguments whose exponentials overflow.
const std::vector<Z>& unary_args() {
  static const std::vector<Z> v = {
      {0, 0},       {-0.0, -0.0},   {1, 0},           {-1, 0},       {0, 1},       {0, -2},
      {3, 4},       {-3, 4},        {3, -4},          {-3, -4},      {-4, 0},      {0.5, -0.25},
      {kNaN, 0},    {0, kNaN},      {kNaN, kNaN},     {kInf, 0},     {-kInf, 1},   {1, kInf},
      {kInf, kInf}, {1e300, 1e300}, {1e-300, -1e300}, {1e38, -1e38}, {0, 1e19},    {1e19, 2},
      {710, 0.5},   {-746, 1},      {89, -1},         {2, 800},      {-1, 5e-324}, {1e-40, 1e-40},
  };
  return v;
}
const std::vector<Z>& binary_args() {
  static const std::vector<Z> v = {{0, 0},    {-0.0, 0}, {1, 1},           {-1, 0},
                                   {2, -3},   {0.5, 0},  {3, 0},           {0x1p21, 0},
                                   {kNaN, 0}, {0, kInf}, {1e300, -1e-300}, {1e30, 1e30}};
  return v;
}
const int32_t kExponents[] = {0, 1, -1, 2, -3, 31, INT_MAX, INT_MIN};

template <class F>
void for_each_argument(const Entry& e, F&& f) {
  switch (e.shape) {
    case Shape::kUnary:
      for (const Z& x : unary_args()) f(x, Z{}, 0);
      break;
    case Shape::kBinary:
      for (const Z& x : binary_args())
        for (const Z& y : binary_args()) f(x, y, 0);
      break;
    case Shape::kWithInt:
      for (const Z& x : unary_args())
        for (const int32_t n : kExponents) f(x, Z{}, n);
      break;
  }
}

std::string where(const Entry& e, Z x, Z y, int32_t n) {
  std::string s =
      std::string(e.name) + "((" + std::to_string(x.re) + ", " + std::to_string(x.im) + ")";
  if (e.shape == Shape::kBinary)
    s += ", (" + std::to_string(y.re) + ", " + std::to_string(y.im) + ")";
  if (e.shape == Shape::kWithInt) s += ", " + std::to_string(n);
  return s + ")";
}

class ComplexEntryForms : public f90test::ControlWordTest {};

TEST_F(ComplexEntryForms, EveryEntryIsListed) {
  EXPECT_EQ(by_value().size(), 24u);
  EXPECT_EQ(all_entries().size(), 40u);
}

TEST_F(ComplexEntryForms, ControlWordKeptOnEveryPathUnderThreeModes) {
  const uint16_t modes[] = {f90test::kCwLibrary, f90test::kCwLinux, f90test::kCwChopSingle};
  unsigned char slot[16];
  for (const auto& e : all_entries()) {
    for (const uint16_t cw : modes) {
      for_each_argument(e, [&](Z x, Z y, int32_t n) {
        expect_cw_kept([&] { e.call(slot, x, y, n); }, cw);
        if (HasFailure()) {
          ADD_FAILURE() << where(e, x, y, n) << " under 0x" << std::hex << cw;
          return;
        }
      });
    }
  }
}

TEST_F(ComplexEntryForms, X87StackLeftEmpty) {
  unsigned char slot[16];
  for (const auto& e : all_entries()) {
    for_each_argument(e, [&](Z x, Z y, int32_t n) {
      e.call(slot, x, y, n);
      ASSERT_EQ(f90test::tag_word(), 0xffff) << where(e, x, y, n);
    });
  }
}

// The slot ends where an inaccessible page begins; filled with two patterns
// in turn, it must come back the same and the entry must return its address.
TEST_F(ComplexEntryForms, ComplexResultsFillTheirWholeSlot) {
  for (const auto& e : all_entries()) {
    if (e.bytes == 0) continue;
    f90test::GuardedBuffer buf(e.bytes);
    for_each_argument(e, [&](Z x, Z y, int32_t n) {
      unsigned char first[16];
      std::memset(buf.data(), 0xCC, e.bytes);
      ASSERT_EQ(e.call(buf.data(), x, y, n), buf.data()) << where(e, x, y, n);
      std::memcpy(first, buf.data(), e.bytes);
      std::memset(buf.data(), 0x33, e.bytes);
      ASSERT_EQ(e.call(buf.data(), x, y, n), buf.data()) << where(e, x, y, n);
      EXPECT_EQ(std::memcmp(first, buf.data(), e.bytes), 0) << where(e, x, y, n);
    });
  }
}

TEST_F(ComplexEntryForms, ByReferenceTwinsWriteTheSameBytes) {
  const uint16_t modes[] = {f90test::kCwLibrary, f90test::kCwLinux};
  for (const uint16_t cw : modes) {
    for (const auto& t : twins()) {
      const size_t bytes = t.by_value.bytes ? t.by_value.bytes : 10;
      for_each_argument(t.by_value, [&](Z x, Z y, int32_t n) {
        unsigned char v[16], r[16];
        std::memset(v, 0xCC, sizeof v);
        std::memset(r, 0x33, sizeof r);
        f90test::under_cw(cw, [&] {
          t.by_value.call(v, x, y, n);
          return t.by_ref.call(r, x, y, n);
        });
        EXPECT_EQ(std::memcmp(v, r, bytes), 0)
            << where(t.by_ref, x, y, n) << " under 0x" << std::hex << cw;
      });
    }
  }
}

// ABS and AIMAG hand back st(0) unrounded: under 64-bit precision ABS of
// (1, 1) is sqrt(2) to 64 bits, not a REAL*8 or REAL*4.
TEST_F(ComplexEntryForms, RealResultsComeBackAtExtendedPrecision) {
  f90test::under_cw(f90test::kCwLinux, [] {
    const long double r16 = _morvex_cdabs({1, 1}), r8 = _morvex_cabs({1, 1});
    EXPECT_NE(r16, static_cast<long double>(stored<double>(r16)));
    EXPECT_NE(r8, static_cast<long double>(stored<double>(r8)));
    return 0;
  });
}

}  // namespace
