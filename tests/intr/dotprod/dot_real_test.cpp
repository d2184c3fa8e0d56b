// DOT_PRODUCT of REAL, COMPLEX and REAL*16 operands: the 38 routines against
// a naive reference of the terms and running sums as the rules state them
// (x87 sums in a register or rounded every term; double-double products and
// sums by libf90elem's routines in the stated operand order), on random
// sections under both control words, and the literal cases that pin the
// conjugation and the rounding of each kind of running sum.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>

#include "common/elem_calls.h"
#include "control_word.h"
#include "dots.h"

namespace {

using namespace dots;
using f90test::kCwLibrary;
using f90test::kCwLinux;
// The double-double value of libf90elem's routines (the reference's arithmetic).
using Q = morvex::DoubleDouble;

// Where the running sums live, and what the result's parts are.
enum class Sum { reg, r4, r8 };  // a register (x87 or double-double), or REAL*4/REAL*8 per term
enum class Part { f, d, q };     // float, double or double-double parts

struct Row {
  const char* name;
  Call fn;
  K a, b;     // the operands' actual kinds
  bool dd;    // double-double arithmetic
  Sum sum;
  Part part;
  bool complex_result;
};

// ---- the reference ------------------------------------------------------------------

Q qmul(Q x, Q y) {
  Q r;
  _morvex_qmul(&r, x, y);
  return r;
}
Q qadd(Q x, Q y) {
  Q r;
  _morvex_qadd(&r, x, y);
  return r;
}
Q qsub(Q x, Q y) {
  Q r;
  _morvex_qsub(&r, x, y);
  return r;
}

// Part `part` of element i widened to a double-double.
Q dd_at(TestArray& x, K k, int64_t i, int part) {
  const char* p = x.at_linear(i);
  Q v{0.0, 0.0};
  switch (k) {
    case K::d:
    case K::z: std::memcpy(&v, p + 16 * part, 16); return v;
    case K::j: _morvex_ll2q(&v, int_at(x, k, i)); return v;
    default: return {static_cast<double>(x87_at(x, k, i, part)), 0.0};
  }
}

template <class V>
struct Terms {
  V re, im;
  bool subtract_im;  // complex A by real b: Im A b is subtracted
};

// The term of element i: conjugated complex A.
template <class V, class Get, class Mul, class Add, class Sub>
Terms<V> term(const Row& r, int64_t i, Get get, Mul mul, Add add, Sub sub) {
  const bool ca = is_complex(r.a), cb = is_complex(r.b);
  const V ar = get(0, i, 0), br = get(1, i, 0);
  if (ca && cb) {
    const V ai = get(0, i, 1), bi = get(1, i, 1);
    return {add(mul(ar, br), mul(ai, bi)), sub(mul(ar, bi), mul(ai, br)), false};
  }
  if (ca) return {mul(ar, br), mul(get(0, i, 1), br), true};
  if (cb) return {mul(ar, br), mul(ar, get(1, i, 1)), false};
  return {mul(ar, br), V{}, false};
}

Out reference(const Row& r, Pair& p) {
  const int64_t n = p.n > 0 ? p.n : 0;
  TestArray* ops[2] = {p.a.get(), p.b.get()};
  const K kinds[2] = {r.a, r.b};
  if (!r.dd) {
    auto get = [&](int op, int64_t i, int part) { return x87_at(*ops[op], kinds[op], i, part); };
    long double re = 0, im = 0;
    for (int64_t i = 0; i < n; ++i) {
      const Terms<long double> t = term<long double>(
          r, i, get, [](long double x, long double y) { return x * y; },
          [](long double x, long double y) { return x + y; },
          [](long double x, long double y) { return x - y; });
      re = re + t.re;
      im = t.subtract_im ? im - t.im : im + t.im;
      if (r.sum == Sum::r4) {
        re = stored<float>(re);
        im = stored<float>(im);
      }
    }
    if (!r.complex_result) return out_of_x87(re);
    if (r.part == Part::f) return out_of(Complex8{stored<float>(re), stored<float>(im)});
    return out_of(Complex16{stored<double>(re), stored<double>(im)});
  }
  auto get = [&](int op, int64_t i, int part) { return dd_at(*ops[op], kinds[op], i, part); };
  Q re{0.0, 0.0}, im{0.0, 0.0};
  for (int64_t i = 0; i < n; ++i) {
    const Terms<Q> t = term<Q>(r, i, get, qmul, qadd, qsub);
    re = qadd(re, t.re);
    im = t.subtract_im ? qsub(im, t.im) : qadd(im, t.im);
    if (r.sum == Sum::r8) {
      re = {re.hi, 0.0};
      im = {im.hi, 0.0};
    } else if (r.sum == Sum::r4) {
      re = {stored<float>(re.hi), 0.0};
      im = {stored<float>(im.hi), 0.0};
    }
  }
  if (!r.complex_result) return out_of(re);
  if (r.part == Part::f) return out_of(Complex8{static_cast<float>(re.hi), static_cast<float>(im.hi)});
  return out_of(Complex32{{re.hi, re.lo}, {im.hi, im.lo}});
}

// clang-format off
const Row kRoutines[] = {
  {"_DOT_S4S4", call(_DOT_S4S4), K::s4, K::s4, false, Sum::reg, Part::f, false},
  {"_DOT_S4S", call(_DOT_S4S), K::s4, K::s, false, Sum::reg, Part::d, false},
  {"_DOT_SS4", call(_DOT_SS4), K::s, K::s4, false, Sum::reg, Part::d, false},
  {"_DOT_SS", call(_DOT_SS), K::s, K::s, false, Sum::reg, Part::d, false},
  {"_DOT_C4C4", call(_DOT_C4C4), K::c4, K::c4, false, Sum::reg, Part::f, true},
  {"_DOT_C4C", call(_DOT_C4C), K::c4, K::c, false, Sum::r4, Part::f, true},
  {"_DOT_CC4", call(_DOT_CC4), K::c, K::c4, false, Sum::reg, Part::d, true},
  {"_DOT_CC", call(_DOT_CC), K::c, K::c, false, Sum::reg, Part::d, true},
  {"_DOT_C4S4", call(_DOT_C4S4), K::c4, K::s4, false, Sum::reg, Part::f, true},
  {"_DOT_C4S", call(_DOT_C4S), K::c4, K::s, false, Sum::r4, Part::f, true},
  {"_DOT_CS4", call(_DOT_CS4), K::c, K::s4, false, Sum::reg, Part::d, true},
  {"_DOT_CS", call(_DOT_CS), K::c, K::s, false, Sum::reg, Part::d, true},
  {"_DOT_S4C4", call(_DOT_S4C4), K::s4, K::c4, false, Sum::reg, Part::f, true},
  {"_DOT_S4C", call(_DOT_S4C), K::s4, K::c, false, Sum::reg, Part::d, true},
  {"_DOT_SC4", call(_DOT_SC4), K::s, K::c4, false, Sum::r4, Part::d, true},
  {"_DOT_SC", call(_DOT_SC), K::s, K::c, false, Sum::reg, Part::d, true},
  {"_DOT_DD", call(_DOT_DD), K::d, K::d, true, Sum::reg, Part::q, false},
  {"_DOT_DS", call(_DOT_DS), K::d, K::s, true, Sum::reg, Part::q, false},
  {"_DOT_DS (REAL*8 first)", call(_DOT_DS), K::s, K::d, true, Sum::reg, Part::q, false},
  {"_DOT_SD", call(_DOT_SD), K::s, K::d, true, Sum::reg, Part::q, false},
  {"_DOT_SD (REAL*16 first)", call(_DOT_SD), K::d, K::s, true, Sum::reg, Part::q, false},
  {"_DOT_DS4", call(_DOT_DS4), K::d, K::s4, true, Sum::reg, Part::q, false},
  {"_DOT_S4D", call(_DOT_S4D), K::s4, K::d, true, Sum::reg, Part::q, false},
  {"_DOT_DI4", call(_DOT_DI4), K::d, K::i4, true, Sum::reg, Part::q, false},
  {"_DOT_DI4 (INTEGER*2)", call(_DOT_DI4), K::d, K::i2, true, Sum::reg, Part::q, false},
  {"_DOT_I4D", call(_DOT_I4D), K::i4, K::d, true, Sum::reg, Part::q, false},
  {"_DOT_I4D (INTEGER*1)", call(_DOT_I4D), K::i1, K::d, true, Sum::reg, Part::q, false},
  {"_DOT_DJ", call(_DOT_DJ), K::d, K::j, true, Sum::reg, Part::q, false},
  {"_DOT_JD", call(_DOT_JD), K::j, K::d, true, Sum::reg, Part::q, false},
  {"_DOT_C4D", call(_DOT_C4D), K::c4, K::d, true, Sum::r4, Part::q, true},
  {"_DOT_CD", call(_DOT_CD), K::c, K::d, true, Sum::r8, Part::q, true},
  {"_DOT_ZD", call(_DOT_ZD), K::z, K::d, true, Sum::reg, Part::q, true},
  {"_DOT_ZI4", call(_DOT_ZI4), K::z, K::i4, true, Sum::reg, Part::q, true},
  {"_DOT_ZI4 (INTEGER*1)", call(_DOT_ZI4), K::z, K::i1, true, Sum::reg, Part::q, true},
  {"_DOT_DC4", call(_DOT_DC4), K::d, K::c4, true, Sum::r4, Part::q, true},
  {"_DOT_DC", call(_DOT_DC), K::d, K::c, true, Sum::r8, Part::q, true},
  {"_DOT_DZ", call(_DOT_DZ), K::d, K::z, true, Sum::reg, Part::q, true},
  {"_DOT_I4Z", call(_DOT_I4Z), K::i4, K::z, true, Sum::reg, Part::q, true},
  {"_DOT_I4Z (INTEGER*2)", call(_DOT_I4Z), K::i2, K::z, true, Sum::reg, Part::q, true},
  {"_DOT_ZZ", call(_DOT_ZZ), K::z, K::z, true, Sum::reg, Part::q, true},
  {"_DOT_ZC4", call(_DOT_ZC4), K::z, K::c4, true, Sum::reg, Part::q, true},
  {"_DOT_ZC", call(_DOT_ZC), K::z, K::c, true, Sum::reg, Part::q, true},
  {"_DOT_CZ", call(_DOT_CZ), K::c, K::z, true, Sum::r8, Part::q, true},
  {"_DOT_C4Z", call(_DOT_C4Z), K::c4, K::z, true, Sum::r4, Part::f, true},
};
// clang-format on

class DotReal : public f90test::ControlWordTest {};

TEST_F(DotReal, MatchNaiveReference) {
  for (const Row& r : kRoutines)
    check_against_reference(r.name, r.fn, r.a, r.b, [&](Pair& p) { return reference(r, p); },
                            {-1, 0, 1, 2, 3, 7, 40, 200}, 3);
}

// _DOT_CC under every rounding mode at 53 bits (where SSE2 lanes may serve)
// and at 64 bits, on operands at the edges of the double range: the result
// and the x87 exception flags are those of the x87 loop (the reference).
TEST_F(DotReal, ComplexSumsAtTheRangeEdges) {
  const Row& cc = *std::find_if(std::begin(kRoutines), std::end(kRoutines),
                                [](const Row& r) { return std::string(r.name) == "_DOT_CC"; });
  const double nan1 = std::bit_cast<double>(0x7ff8000000000123ull);
  const double nan2 = std::bit_cast<double>(0xfff8000000000456ull);
  const double inf = HUGE_VAL;
  struct Case {
    const char* what;
    std::vector<double> a, b;  // re, im, re, im ...
  } cases[] = {
      {"ordinary", {1.5, -2.25, 3.0, 0.1}, {0.3, 7.0, -1e-3, 2.0}},
      {"products overflow", {0x1p1000, 1.0, 1.0, 1.0}, {0x1p100, 1.0, 1.0, 1.0}},
      {"sum overflows", {0x1p1023, 0.0, 0x1p1023, 0.0}, {1.5, 0.0, 1.5, 0.0}},
      {"products underflow", {0x1p-540, 0x1.8p-540, 1.0, 1.0}, {0x1.4p-540, 3.0, 1.0, 1.0}},
      {"tiny exact product", {0x1p-1070, 0.0, 0.0, 0.0}, {0.5, 0.0, 0.0, 0.0}},
      {"subnormal operand", {0x1p-1060, 0.0, 1.0, 1.0}, {1.0, 0.0, 1.0, 1.0}},
      {"NaN payloads", {nan1, 1.0, 2.0, 3.0}, {4.0, nan2, 1.0, 1.0}},
      {"infinities", {inf, 1.0, 1.0, 1.0}, {2.0, 1.0, 1.0, 1.0}},
      {"inf - inf", {inf, 0.0, inf, 0.0}, {1.0, 0.0, -1.0, 0.0}},
      {"near the bound", {0x1p511, 0x1p-511, 1.0, 1.0}, {0x1p511, 0x1p-511, 1.0, 1.0}},
  };
  for (const Case& c : cases) {
    auto a = array_of<Complex16>(K::c, {{c.a[0], c.a[1]}, {c.a[2], c.a[3]}});
    auto b = array_of<Complex16>(K::c, {{c.b[0], c.b[1]}, {c.b[2], c.b[3]}});
    Pair p{std::move(a), std::move(b), 2};
    for (uint16_t cw : {0x027f, 0x067f, 0x0a7f, 0x0e7f, 0x037f, 0x0f7f}) {
      Out got, want;
      uint16_t sw_got = 0, sw_want = 0;
      f90test::under_cw(cw, [&] {
        f90test::clear_fp_exceptions();
        got = cc.fn(p.a->desc(), p.b->desc());
        sw_got = f90test::get_sw() & 0x3f;
        f90test::clear_fp_exceptions();
        want = reference(cc, p);
        sw_want = f90test::get_sw() & 0x3f;
        f90test::clear_fp_exceptions();
      });
      EXPECT_EQ(got.show(), want.show()) << c.what << " cw=" << std::hex << cw;
      EXPECT_EQ(sw_got, sw_want) << c.what << " cw=" << std::hex << cw << ": x87 flags";
    }
  }
}

// ---- literal cases ----------------------------------------------------------------


const Q kOne{1.0, 0.0}, kZero{0.0, 0.0};
// A REAL*16 result part (the header's type) equal to y, bit for bit.
bool same(const ::DoubleDouble& x, const Q& y) { return std::memcmp(&x, &y, 16) == 0; }

TEST_F(DotReal, FirstOperandConjugated) {
  auto zi = array_of<Complex32>(K::z, {{kZero, kOne}});
  auto ci = array_of<Complex16>(K::c, {{0.0, 1.0}});
  auto c4i = array_of<Complex8>(K::c4, {{0.0f, 1.0f}});
  Complex32 r;
  EXPECT_EQ(_DOT_ZZ(&r, zi->desc(), zi->desc()), &r);
  EXPECT_TRUE(same(r.re, kOne) && same(r.im, kZero));
  _DOT_CZ(&r, ci->desc(), zi->desc());
  EXPECT_TRUE(same(r.re, kOne) && same(r.im, kZero));
  _DOT_ZC(&r, zi->desc(), ci->desc());
  EXPECT_TRUE(same(r.re, kOne) && same(r.im, kZero));
  Complex8 r8;
  EXPECT_EQ(_DOT_C4Z(&r8, c4i->desc(), zi->desc()), &r8);
  EXPECT_EQ(r8.re, 1.0f);
  EXPECT_EQ(r8.im, 0.0f);

  auto z12 = array_of<Complex32>(K::z, {{{1.0, 0.0}, {2.0, 0.0}}});
  auto three = array_of<int32_t>(K::i4, {3});
  _DOT_ZI4(&r, z12->desc(), three->desc());
  EXPECT_TRUE(same(r.re, {3.0, 0.0}) && same(r.im, {-6.0, 0.0}));
  _DOT_I4Z(&r, three->desc(), z12->desc());
  EXPECT_TRUE(same(r.re, {3.0, 0.0}) && same(r.im, {6.0, 0.0}));
}

TEST_F(DotReal, RunningSumsRoundedWhereStated) {
  for (uint16_t cw : {kCwLibrary, kCwLinux}) {
    f90test::under_cw(cw, [&] {
      auto a = array_of<Complex8>(K::c4, {{1e8f, 0.0f}, {1.0f, 0.0f}, {-1e8f, 0.0f}});
      auto b4 = array_of<Complex8>(K::c4, {{1, 0}, {1, 0}, {1, 0}});
      auto b8 = array_of<Complex16>(K::c, {{1, 0}, {1, 0}, {1, 0}});
      Complex8 r;
      _DOT_C4C4(&r, a->desc(), b4->desc());  // x87 registers: the 1 survives
      EXPECT_EQ(r.re, 1.0f);
      EXPECT_EQ(r.im, 0.0f);
      _DOT_C4C(&r, a->desc(), b8->desc());  // REAL*4 every term: it does not
      EXPECT_EQ(r.re, 0.0f);
      EXPECT_EQ(r.im, 0.0f);
    });
  }
  auto x = array_of<double>(K::s, {1.0 + 0x1p-30});
  auto one = array_of<Complex8>(K::c4, {{1.0f, 0.0f}});
  Complex16 r16;
  EXPECT_EQ(_DOT_SC4(&r16, x->desc(), one->desc()), &r16);
  EXPECT_EQ(r16.re, 1.0);
  EXPECT_EQ(r16.im, 0.0);

  // The low part of a REAL*8 running sum is dropped; a double-double one keeps it.
  auto q = array_of<Q>(K::d, {{1.0, 0x1p-60}});
  auto c1 = array_of<Complex16>(K::c, {{1.0, 0.0}});
  auto z1 = array_of<Complex32>(K::z, {{kOne, kZero}});
  Complex32 r;
  _DOT_CD(&r, c1->desc(), q->desc());
  EXPECT_TRUE(same(r.re, kOne));
  _DOT_ZD(&r, z1->desc(), q->desc());
  EXPECT_TRUE(same(r.re, {1.0, 0x1p-60}));

  // The x87 REAL sum comes back unrounded in st(0) under 64-bit precision.
  auto big = array_of<double>(K::s, {0x1p53, 1.0, 1.0});
  auto ones = array_of<double>(K::s, {1.0, 1.0, 1.0});
  f90test::under_cw(kCwLinux, [&] { EXPECT_EQ(_DOT_SS(big->desc(), ones->desc()), 0x1p53L + 2); });
}

}  // namespace
