// Element arithmetic table and dispatcher: each kind against a naive model
// of its arithmetic (wrapping integers, x87 values with and without rounding
// to the kind, the complex product formula, LOGICAL or/and).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "common/dispatch.h"
#include "common/element_arith.h"
#include "control_word.h"

namespace {

using f90::Arith;
using f90::ElemKind;
using f90::Rounding;

template <class T>
std::array<char, sizeof(T)> bytes_of(T v) {
  std::array<char, sizeof(T)> b;
  std::memcpy(b.data(), &v, sizeof v);
  return b;
}

TEST(ElementDispatch, KindOfEveryTypeAndSize) {
  struct Row {
    int32_t code;
    uint32_t bytes;
    bool known;
    ElemKind kind;
  };
  const Row rows[] = {
      {TYPE_INTEGER, 1, true, ElemKind::i1},  {TYPE_INTEGER, 2, true, ElemKind::i2},
      {TYPE_INTEGER, 4, true, ElemKind::i4},  {TYPE_INTEGER, 8, true, ElemKind::i8},
      {TYPE_INTEGER, 16, false, {}},          {TYPE_INTEGER, 3, false, {}},
      {TYPE_REAL, 2, false, {}},              {TYPE_REAL, 4, true, ElemKind::r4},
      {TYPE_REAL, 8, true, ElemKind::r8},     {TYPE_REAL, 16, true, ElemKind::r16},
      {TYPE_REAL, 32, false, {}},             {TYPE_COMPLEX, 4, false, {}},
      {TYPE_COMPLEX, 8, true, ElemKind::c8},  {TYPE_COMPLEX, 16, true, ElemKind::c16},
      {TYPE_COMPLEX, 32, true, ElemKind::c32}, {TYPE_COMPLEX, 64, false, {}},
      {TYPE_LOGICAL, 1, true, ElemKind::l1},  {TYPE_LOGICAL, 2, true, ElemKind::l2},
      {TYPE_LOGICAL, 4, true, ElemKind::l4},  {TYPE_LOGICAL, 8, true, ElemKind::l8},
      {TYPE_LOGICAL, 0, false, {}},           {TYPE_CHARACTER, 1, false, {}},
      {TYPE_DERIVED_BYTES, 4, false, {}},     {0, 4, false, {}},
  };
  for (const Row& r : rows) {
    ElemKind k{};
    EXPECT_EQ(f90::kind_of(r.code, r.bytes, k), r.known) << r.code << " " << r.bytes;
    if (!r.known) continue;
    EXPECT_EQ(k, r.kind) << r.code << " " << r.bytes;
    // The typed callable sees the same kind, and its arithmetic has the size.
    uint32_t seen = 0;
    EXPECT_TRUE(f90::with_type(r.code, r.bytes, [&](auto kc) {
      EXPECT_EQ(decltype(kc)::value, r.kind);
      seen = Arith<decltype(kc)::value>::kBytes;
    }));
    EXPECT_EQ(seen, r.bytes);
  }
}

TEST(ElementDispatch, WidthCallsOnlyTheSixSizes) {
  for (uint32_t b = 0; b <= 40; ++b) {
    uint32_t seen = 0;
    const bool called = f90::with_width(b, [&](auto w) { seen = decltype(w)::value; });
    const bool expected = b == 1 || b == 2 || b == 4 || b == 8 || b == 16 || b == 32;
    EXPECT_EQ(called, expected) << b;
    EXPECT_EQ(seen, expected ? b : 0u) << b;
  }
}

// Integers: loads sign-extend, + and * wrap, stores narrow.
template <ElemKind K, class T>
void check_integer_kind(std::mt19937& rng) {
  using A = Arith<K>;
  for (int n = 0; n < 2000; ++n) {
    const T a = static_cast<T>(rng() ^ (uint64_t{rng()} << 32));
    const T b = static_cast<T>(rng() ^ (uint64_t{rng()} << 32));
    const auto ba = bytes_of(a), bb = bytes_of(b);
    const auto va = A::load(ba.data()), vb = A::load(bb.data());
    char out[sizeof(T)];
    A::store(out, A::add(va, vb));
    T got;
    std::memcpy(&got, out, sizeof got);
    EXPECT_EQ(got, static_cast<T>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b)));
    A::store(out, A::mul(va, vb));
    std::memcpy(&got, out, sizeof got);
    EXPECT_EQ(got, static_cast<T>(static_cast<uint64_t>(static_cast<int64_t>(a)) *
                                  static_cast<uint64_t>(static_cast<int64_t>(b))));
    EXPECT_EQ(A::nonzero(va), a != 0);
  }
  char out[sizeof(T)];
  A::store(out, A::zero());
  EXPECT_EQ(std::memcmp(out, bytes_of(T{0}).data(), sizeof(T)), 0);
  A::store(out, A::one());
  EXPECT_EQ(std::memcmp(out, bytes_of(T{1}).data(), sizeof(T)), 0);
}

TEST(ElementArith, IntegersWrapLikeTheirWidth) {
  std::mt19937 rng(7);
  check_integer_kind<ElemKind::i1, int8_t>(rng);
  check_integer_kind<ElemKind::i2, int16_t>(rng);
  check_integer_kind<ElemKind::i4, int32_t>(rng);
  check_integer_kind<ElemKind::i8, int64_t>(rng);
}

class ElementArithCw : public f90test::ControlWordTest {};

// Under a 64-bit precision word, 1 + 2^-30 survives in the register but not
// in a REAL*4: the policy decides where the rounding to the kind happens.
TEST_F(ElementArithCw, RoundingPolicyOfRealKinds) {
  f90test::under_cw(f90test::kCwLinux, [] {
    using A4 = Arith<ElemKind::r4>;
    const auto one = bytes_of(1.0f), tiny = bytes_of(0x1p-30f);
    const long double sum = A4::add(A4::load(one.data()), A4::load(tiny.data()));
    EXPECT_EQ(A4::settle<Rounding::at_final_store>(sum), 1.0L + 0x1p-30L);
    EXPECT_EQ(A4::settle<Rounding::at_every_store>(sum), 1.0L);
    // Rounded once at the end vs at every step: (1 + 2^-30) - 1.
    const auto minus_one = bytes_of(-1.0f);
    const long double once = A4::add(sum, A4::load(minus_one.data()));
    const long double every =
        A4::add(A4::settle<Rounding::at_every_store>(sum), A4::load(minus_one.data()));
    char out[4];
    A4::store(out, once);
    float f;
    std::memcpy(&f, out, 4);
    EXPECT_EQ(f, 0x1p-30f);
    A4::store(out, every);
    std::memcpy(&f, out, 4);
    EXPECT_EQ(f, 0.0f);

    using A8 = Arith<ElemKind::r8>;
    const auto d1 = bytes_of(1.0), d2 = bytes_of(0x1p-60);
    const long double s8 = A8::add(A8::load(d1.data()), A8::load(d2.data()));
    EXPECT_EQ(A8::settle<Rounding::at_final_store>(s8), 1.0L + 0x1p-60L);
    EXPECT_EQ(A8::settle<Rounding::at_every_store>(s8), 1.0L);
    return 0;
  });
}

TEST(ElementArith, UnorderedCountsAsZero) {
  const long double nan = std::numeric_limits<long double>::quiet_NaN();
  const long double inf = std::numeric_limits<long double>::infinity();
  struct Row {
    long double v;
    bool nonzero;
  };
  const Row rows[] = {{0.0L, false}, {-0.0L, false}, {nan, false}, {-nan, false},
                      {inf, true},   {-inf, true},   {0x1p-1074L, true}, {-1.0L, true}};
  for (const Row& r : rows) {
    EXPECT_EQ(Arith<ElemKind::r8>::nonzero(r.v), r.nonzero) << static_cast<double>(r.v);
    EXPECT_EQ((Arith<ElemKind::c16>::nonzero({r.v, 0.0L})), r.nonzero);
    EXPECT_EQ((Arith<ElemKind::c16>::nonzero({0.0L, r.v})), r.nonzero);
    EXPECT_EQ((Arith<ElemKind::c8>::nonzero({nan, r.v})), r.nonzero);
    const double d = static_cast<double>(r.v);
    EXPECT_EQ(Arith<ElemKind::r16>::nonzero({d, 1.0}), r.nonzero) << "high part decides";
    EXPECT_EQ((Arith<ElemKind::c32>::nonzero({{0.0, 0.0}, {d, 0.0}})), r.nonzero);
  }
}

// The complex product against the textbook formula at extended precision.
TEST_F(ElementArithCw, ComplexProductIsTheTextbookFormula) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> u(-1e3, 1e3);
  using C = Arith<ElemKind::c16>;
  for (int n = 0; n < 1000; ++n) {
    const double a = u(rng), b = u(rng), c = u(rng), d = u(rng);
    const C::Value p = C::mul({a, b}, {c, d});
    const long double re = static_cast<long double>(a) * c - static_cast<long double>(b) * d;
    const long double im = static_cast<long double>(a) * d + static_cast<long double>(b) * c;
    EXPECT_EQ(p.re, re);
    EXPECT_EQ(p.im, im);
    char out[16];
    C::store(out, p);
    double parts[2];
    std::memcpy(parts, out, 16);
    EXPECT_EQ(parts[0], static_cast<double>(re));
    EXPECT_EQ(parts[1], static_cast<double>(im));
  }
}

// REAL*16 and COMPLEX*32 go through libf90elem: compare with exact double
// products (each part's error-free sum) and with the library's own product.
TEST(ElementArith, DoubleDoubleKindsUseTheElementalArithmetic) {
  using Q = Arith<ElemKind::r16>;
  const f90::DoubleDouble three{3.0, 0.0}, tiny{0x1p-80, 0.0};
  const f90::DoubleDouble s = Q::add(three, tiny);
  EXPECT_EQ(s.hi, 3.0);
  EXPECT_EQ(s.lo, 0x1p-80);
  const f90::DoubleDouble p = Q::mul({1.0 + 0x1p-30, 0.0}, {1.0 + 0x1p-30, 0.0});
  EXPECT_EQ(p.hi + 0.0, 1.0 + 0x1p-29);
  EXPECT_EQ(p.lo, 0x1p-60);

  using Z = Arith<ElemKind::c32>;
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> u(-10, 10);
  for (int n = 0; n < 200; ++n) {
    const f90::Complex32 w{{u(rng), 0.0}, {u(rng), 0.0}}, x{{u(rng), 0.0}, {u(rng), 0.0}};
    const f90::Complex32 got = Z::mul(w, x);
    f90::Complex32 ref;
    _morvex_cqmul(&ref, w, x);
    EXPECT_NEAR(got.re.hi, ref.re.hi, std::fabs(ref.re.hi) * 0x1p-100 + 1e-300);
    EXPECT_NEAR(got.im.hi, ref.im.hi, std::fabs(ref.im.hi) * 0x1p-100 + 1e-300);
    const f90::Complex32 sum = Z::add(w, x);
    EXPECT_EQ(sum.re.hi + sum.re.lo, (w.re.hi + x.re.hi));
  }
}

TEST(ElementArith, LogicalIsOrAndWithTheWordRule) {
  using L8 = Arith<ElemKind::l8>;
  const auto high_only = bytes_of(uint64_t{1} << 32), zero = bytes_of(uint64_t{0});
  EXPECT_TRUE(L8::load(high_only.data()));
  EXPECT_FALSE(L8::load(zero.data()));
  char out[8];
  std::memset(out, 0x55, 8);
  L8::store(out, L8::mul(true, L8::add(false, true)));
  EXPECT_EQ(std::memcmp(out, bytes_of(uint64_t{1}).data(), 8), 0);
  L8::store(out, L8::mul(true, false));
  EXPECT_EQ(std::memcmp(out, zero.data(), 8), 0);
  using L2 = Arith<ElemKind::l2>;
  const auto two = bytes_of(uint16_t{0x100});
  EXPECT_TRUE(L2::load(two.data()));
  EXPECT_FALSE(L2::zero());
  EXPECT_TRUE(L2::one());
}

}  // namespace
