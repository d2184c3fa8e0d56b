// MODULO of every kind and SELECTED_REAL_KIND, against naive references:
// integer MODULO by floor division in a wider type, real MODULO by the
// rounded quotient's floor, REAL*16 against __float128, and the kind
// selection as "the smallest kind that has both".
#include "f90/model.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <type_traits>

#include "control_word.h"

namespace {

// On magnitudes: |A| mod |P| exactly in unsigned arithmetic, then moved to
// the sign of P (P - r when the signs differ and r is not 0).
template <class T>
T ref_modulo_int(T a, T p) {
  using UT = std::make_unsigned_t<T>;
  if (p == 0) return 0;
  const UT ua = a < 0 ? UT(0) - UT(a) : UT(a), up = p < 0 ? UT(0) - UT(p) : UT(p);
  const UT r = ua % up;
  UT m = r;
  if (r != 0 && ((a < 0) != (p < 0))) m = up - r;
  return static_cast<T>(p < 0 ? UT(0) - m : m);
}

TEST(Modulo, IntegerKindsAgainstFloorDivision) {
  const int64_t edges[] = {0, 1, -1, 2, -2, 3, -3, 5, -5, 6, -6, 7, -7, INT32_MAX, INT32_MIN,
                           INT32_MIN + 1, INT64_MAX, INT64_MIN, INT64_MIN + 1,
                           int64_t{1} << 32, -(int64_t{1} << 32) - 1};
  std::mt19937_64 rng(27);
  std::vector<int64_t> values(std::begin(edges), std::end(edges));
  for (int i = 0; i < 60; ++i) values.push_back(static_cast<int64_t>(rng()) >> (rng() % 63));
  for (int64_t a : values) {
    for (int64_t p : values) {
      const int64_t got = _MODULO_J(&a, &p);
      EXPECT_EQ(got, ref_modulo_int<int64_t>(a, p)) << a << " " << p;
      const int32_t a4 = static_cast<int32_t>(a), p4 = static_cast<int32_t>(p);
      EXPECT_EQ(_MODULO_I4(&a4, &p4), ref_modulo_int<int32_t>(a4, p4)) << a4 << " " << p4;
    }
  }
  struct {
    int32_t a, p, want;
  } cases[] = {{7, -3, -2}, {-7, 3, 2}, {-6, 3, 0}, {5, 0, 0}, {INT32_MIN, -1, 0}};
  for (auto c : cases) {
    EXPECT_EQ(_MODULO_I4(&c.a, &c.p), c.want);
    const int64_t a = c.a, p = c.p;
    EXPECT_EQ(_MODULO_J(&a, &p), c.want);
  }
  const int64_t a = INT64_MIN, p = -1;
  EXPECT_EQ(_MODULO_J(&a, &p), 0);
}

// A - floor(A / P) * P with the quotient rounded to REAL*8 first; the floor
// of zero or NaN is +0.
template <class T>
long double ref_modulo_real(T a, T p) {
  if (p == 0 || std::isnan(p)) return std::numeric_limits<T>::quiet_NaN();
  volatile double q = static_cast<long double>(a) / p;
  long double f = std::floor(static_cast<double>(q));
  if (f == 0 || std::isnan(f)) f = 0;
  return a - f * static_cast<long double>(p);
}

bool same_bits(long double x, long double y) {
  if (std::isnan(x) || std::isnan(y)) return std::isnan(x) && std::isnan(y);
  return std::memcmp(&x, &y, 10) == 0;
}

TEST(Modulo, RealKindsAgainstReferenceUnderBothControlWords) {
  std::mt19937_64 rng(28);
  std::uniform_real_distribution<double> mag(-40.0, 40.0);
  std::vector<double> values = {0.0, -0.0, 1.0, -1.0, 1.5, -1.5, 3.0, -7.25, 1e300, -1e-300,
                                0x1p-1074, INFINITY, -INFINITY, NAN, 0.1, 2.0 / 3.0};
  for (int i = 0; i < 80; ++i) values.push_back(std::ldexp(mag(rng), static_cast<int>(mag(rng))));
  for (uint16_t cw : {f90test::kCwLibrary, f90test::kCwLinux}) {
    for (double a : values) {
      for (double p : values) {
        const float a4 = static_cast<float>(a), p4 = static_cast<float>(p);
        const long double got8 = f90test::under_cw(cw, [&] { return _MODULO_S(&a, &p); });
        const long double want8 = f90test::under_cw(cw, [&] { return ref_modulo_real(a, p); });
        EXPECT_TRUE(same_bits(got8, want8)) << std::hexfloat << a << " " << p << " cw " << cw;
        const long double got4 = f90test::under_cw(cw, [&] { return _MODULO_S4(&a4, &p4); });
        const long double want4 = f90test::under_cw(cw, [&] { return ref_modulo_real(a4, p4); });
        EXPECT_TRUE(same_bits(got4, want4)) << std::hexfloat << a4 << " " << p4 << " cw " << cw;
      }
    }
  }
  const float a4 = -1.5f, p4 = 1.0f, z4 = 0.0f;
  const double a = -1.5, p = 1.0, z = 0.0;
  EXPECT_EQ(_MODULO_S4(&a4, &p4), 0.5L);
  EXPECT_EQ(_MODULO_S(&a, &p), 0.5L);
  EXPECT_TRUE(std::isnan(_MODULO_S(&p, &z)));
  EXPECT_TRUE(std::isnan(_MODULO_S4(&p4, &z4)));
}

TEST(Modulo, Real16AgainstQuadAndZeroDivisor) {
  const uint16_t saved = f90test::get_cw();
  f90test::set_cw(f90test::kCwLibrary);
  std::mt19937_64 rng(16);
  std::uniform_real_distribution<double> u(-1000.0, 1000.0);
  for (int i = 0; i < 2000; ++i) {
    const F90Real16 a = {u(rng), u(rng) * 0x1p-60}, p = {u(rng) / 7, u(rng) * 0x1p-70};
    F90Real16 r;
    EXPECT_EQ(_MODULO_D(&r, &a, &p), &r);
    const __float128 qa = (__float128)a.hi + a.lo, qp = (__float128)p.hi + p.lo;
    const __float128 q = qa / qp;
    __float128 fl = (__float128)(int64_t)q;
    if (fl > q) fl -= 1;
    const __float128 frac = q - fl;
    if (frac < 1e-9 || frac > 1 - 1e-9) continue;  // too near a step of the floor
    const __float128 want = qa - fl * qp;
    const __float128 got = (__float128)r.hi + r.lo;
    const __float128 err = got > want ? got - want : want - got;
    const __float128 scale = qa < 0 ? -qa : qa;
    EXPECT_LE((double)(err / scale), 0x1p-100) << a.hi << " " << p.hi;
    const bool sign_ok = (double)want == 0 || ((r.hi < 0) == (p.hi < 0));
    EXPECT_TRUE(sign_ok) << a.hi << " " << p.hi;
  }
  const F90Real16 a = {-1.5, 0.0}, one = {1.0, 0.0}, zero = {-0.0, 0.0}, nan = {NAN, 1.0};
  F90Real16 r;
  _MODULO_D(&r, &a, &one);
  EXPECT_EQ(r.hi, 0.5);
  EXPECT_EQ(r.lo, 0.0);
  for (const F90Real16* p : {&zero, &nan}) {
    _MODULO_D(&r, &a, p);
    EXPECT_EQ(std::bit_cast<uint64_t>(r.hi), 0x7ff8000000000000ull);
    EXPECT_EQ(std::bit_cast<uint64_t>(r.lo), 0u);
  }
  f90test::set_cw(saved);
}

// The smallest of the kinds 4, 8, 16 with both the precision and the range;
// P <= 0 is never met.
int32_t ref_selected_real_kind(int32_t p, int32_t r) {
  struct {
    int32_t kind, precision, range;
  } kinds[] = {{4, 6, 37}, {8, 15, 307}, {16, 31, 307}};
  bool p_met = false, r_met = false;
  for (auto k : kinds) {
    p_met = p_met || (p > 0 && k.precision >= p);
    r_met = r_met || k.range >= r;
  }
  if (!p_met) return r_met ? -1 : -3;
  if (!r_met) return -2;
  for (auto k : kinds)
    if (k.precision >= p && k.range >= r) return k.kind;
  return 0;
}

TEST(SelectedRealKind, EveryPairAndAbsentArguments) {
  for (int32_t p = -1; p <= 40; ++p) {
    for (int32_t r = -1; r <= 400; ++r) {
      const int32_t want = ref_selected_real_kind(p, r);
      ASSERT_EQ(_SELECTED_REAL_KIND_(&p, &r), want) << p << " " << r;
      ASSERT_EQ(_SELECTED_REAL_KIND(&p, &r), want);
      ASSERT_EQ(_SELECTED_REAL_KIND_4_(&p, &r), want);
      ASSERT_EQ(_SELECTED_REAL_KIND_4(&p, &r), want);
      ASSERT_EQ(_SELECTED_REAL_KIND_8_(&p, &r), int64_t{want});
      ASSERT_EQ(_SELECTED_REAL_KIND_8(&p, &r), int64_t{want});
    }
    EXPECT_EQ(_SELECTED_REAL_KIND_(&p, nullptr), ref_selected_real_kind(p, 0));
  }
  for (int32_t r = -1; r <= 400; ++r)
    EXPECT_EQ(_SELECTED_REAL_KIND_(nullptr, &r), ref_selected_real_kind(1, r));
  struct {
    int32_t p, r, want;  // -9: absent
  } cases[] = {{-9, -9, 4}, {6, -9, 4}, {7, -9, 8}, {16, -9, 16}, {32, -9, -1}, {-9, 38, 8},
               {-9, 308, -2}, {32, 308, -3}, {0, -9, -1}, {7, 400, -2}};
  for (auto c : cases) {
    EXPECT_EQ(_SELECTED_REAL_KIND(c.p == -9 ? nullptr : &c.p, c.r == -9 ? nullptr : &c.r), c.want)
        << c.p << " " << c.r;
  }
  const int32_t neg = -1;
  EXPECT_EQ(_SELECTED_REAL_KIND_8(nullptr, &neg), 4);
  const int32_t big = 401;
  EXPECT_EQ(_SELECTED_REAL_KIND_8(&big, &big), -3);
}

}  // namespace
