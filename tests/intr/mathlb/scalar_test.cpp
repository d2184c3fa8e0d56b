// The bit counts, the random-number generator and the COMPLEX*16 and
// INTEGER*8 generic elementals, against naive references: bit counts by a
// loop over the bits, the generator by 64-bit arithmetic on the recurrence,
// the complex functions by their formulas over libf90elem's REAL*8 results,
// IDIM and ISIGN in 128-bit arithmetic.
#include "f90/model.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "common/elem_calls.h"
#include "control_word.h"
#include "x87.h"

namespace {

std::vector<uint64_t> bit_values() {
  std::vector<uint64_t> v = {0, 1, 2, 3, 7, 0x80000000u, 0xffffffffu, 0x7fffffffu, 0x100000000ull,
                             ~0ull, 1ull << 63, 0x8000000080000000ull, 0x00000001ffffffffull};
  for (int i = 0; i < 64; ++i) {
    v.push_back(1ull << i);
    v.push_back((1ull << i) - 1);
    v.push_back(~(1ull << i));
  }
  std::mt19937_64 rng(28);
  for (int i = 0; i < 2000; ++i) v.push_back(rng() >> (rng() % 64));
  return v;
}

int naive_ones(uint64_t x, int width) {
  int n = 0;
  for (int i = 0; i < width; ++i) n += (x >> i) & 1;
  return n;
}

int naive_leading_zeros(uint64_t x, int width) {
  int n = 0;
  for (int i = width - 1; i >= 0 && !((x >> i) & 1); --i) ++n;
  return n;
}

TEST(BitCounts, BothWidthsAgainstBitLoops) {
  for (uint64_t v : bit_values()) {
    const int32_t w = static_cast<int32_t>(v);
    const int64_t d = static_cast<int64_t>(v);
    const int ones32 = naive_ones(v & 0xffffffffu, 32), ones64 = naive_ones(v, 64);
    EXPECT_EQ(_POPCNT_I4(w), ones32) << std::hex << v;
    EXPECT_EQ(_POPCNT_4(w), ones32);
    EXPECT_EQ(_POPCNT(d), ones64) << std::hex << v;
    EXPECT_EQ(_POPPAR_I4(w), ones32 & 1);
    EXPECT_EQ(_POPPAR_4(w), ones32 & 1);
    EXPECT_EQ(_POPPAR(d), ones64 & 1);
    EXPECT_EQ(_LEADZ_I4(w), naive_leading_zeros(v & 0xffffffffu, 32)) << std::hex << v;
    EXPECT_EQ(_LEADZ_4(w), naive_leading_zeros(v & 0xffffffffu, 32));
    EXPECT_EQ(_LEADZ(d), naive_leading_zeros(v, 64)) << std::hex << v;
  }
  EXPECT_EQ(_POPCNT_I4(-1), 32);
  EXPECT_EQ(_POPPAR_I4(7), 1);
  EXPECT_EQ(_LEADZ_I4(0), 32);
  EXPECT_EQ(_LEADZ_I4(1), 31);
  EXPECT_EQ(_LEADZ(1), 63);
  EXPECT_EQ(_LEADZ(0), 64);
}

// The recurrence s = s * 69069 + 1 mod 2^32 and the output s >> 8.
struct NaiveGenerator {
  uint64_t s;
  uint32_t next() {
    s = (s * 69069 + 1) % (uint64_t{1} << 32);
    return static_cast<uint32_t>(s >> 8);
  }
};

TEST(RandomNumbers, SequenceFromTheDefaultAndFromSeeds) {
  // The state is a word of the library that programs read and write.
  _RANFI = 183608127u;
  EXPECT_EQ(_RANF(), 11274476.0 / 16777216.0);
  EXPECT_EQ(_RANFI, 183608127u * 69069u + 1u);
  for (int32_t seed : {0, 1, -1, 12345, INT32_MIN, 183608127}) {
    const int32_t state = _RANSET(seed);
    const uint32_t start = seed == 0 ? 183608127u : static_cast<uint32_t>(seed);
    EXPECT_EQ(static_cast<uint32_t>(state), start);
    EXPECT_EQ(_RANFI, start);
    NaiveGenerator g{start};
    for (int i = 0; i < 1000; ++i) {
      const double r = _RANF();
      ASSERT_EQ(r, g.next() / 16777216.0) << "seed " << seed << " step " << i;
      ASSERT_LT(r, 1.0);
      ASSERT_GE(r, 0.0);
    }
    int32_t got = 7;
    EXPECT_EQ(static_cast<uint32_t>(_RANGET(&got)), g.s);
    EXPECT_EQ(static_cast<uint32_t>(got), g.s);
    EXPECT_EQ(static_cast<uint32_t>(_RANGET(nullptr)), g.s);
    EXPECT_EQ(static_cast<uint32_t>(ranget_(nullptr)), g.s);
  }
  // A write straight into the state takes effect at the next call.
  _RANFI = 0;
  EXPECT_EQ(_RANF(), 0.0);  // 0 * 69069 + 1 = 1, output 0
  EXPECT_EQ(_RANFI, 1u);
  _RANFI = 0xffffffffu;  // the largest output: 0xffffffff * 69069 + 1 wraps
  EXPECT_LT(_RANF(), 1.0);
  const int32_t zero = 0, seed = 99;
  EXPECT_EQ(_RANSET_ADR(&zero), 0);
  EXPECT_EQ(_RANSET_ADR(nullptr), 183608127);
  EXPECT_EQ(_RANSET_ADR(&seed), 99);
  int32_t out = 0;
  EXPECT_EQ(ranget_(&out), 99);
  EXPECT_EQ(out, 99);
  _RANSET(0);
}

// ------------------------------------------------------------ complex

uint64_t bits(double x) { return std::bit_cast<uint64_t>(x); }

bool same(const F90Complex16& a, double re, double im) {
  auto eq = [](double x, double y) {
    return std::isnan(x) ? std::isnan(y) : bits(x) == bits(y);
  };
  return eq(a.re, re) && eq(a.im, im);
}

// The formulas over libf90elem's REAL*8 functions, each part one x87
// product rounded to REAL*8 by its store.
double rounded(long double v) {
  volatile double d = static_cast<double>(v);
  return d;
}
void ref_ccos(double x, double y, double& re, double& im) {
  const long double c = _morvex_dcos(x), ch = _morvex_dcosh(y);
  const long double s = _morvex_dsin(x), sh = _morvex_dsinh(y);
  re = rounded(ch * c);
  im = rounded(-(sh * s));
}
void ref_cexp(double x, double y, double& re, double& im) {
  re = rounded(_morvex_dexp(x) * _morvex_dcos(y));
  im = rounded(_morvex_dexp(x) * _morvex_dsin(y));
}
void ref_csin(double x, double y, double& re, double& im) {
  re = rounded(_morvex_dsin(x) * _morvex_dcosh(y));
  im = rounded(_morvex_dcos(x) * _morvex_dsinh(y));
}

TEST(ComplexElementals, BitExactToTheirFormulas) {
  using Fn = F90Complex16* (*)(F90Complex16*, double, double);
  using FnRef = F90Complex16* (*)(F90Complex16*, const F90Complex16*);
  using Ref = void (*)(double, double, double&, double&);
  struct Case {
    const char* name;
    Fn by_value;
    FnRef by_ref;
    Ref ref;
  } fns[] = {{"CCOS", _CCOS, _CCOS_, ref_ccos},
             {"CEXP", _CEXP, _CEXP_, ref_cexp},
             {"CSIN", _CSIN, _CSIN_, ref_csin}};
  std::vector<double> parts = {0.0, -0.0, 1.0, -1.0, 0.5, 3.0, -2.75, 1e-300, 700.0, -700.0,
                               710.0, 1e10, INFINITY, NAN};
  std::mt19937_64 rng(6);
  std::uniform_real_distribution<double> u(-20.0, 20.0);
  for (int i = 0; i < 40; ++i) parts.push_back(u(rng));
  for (uint16_t cw : {f90test::kCwLibrary, f90test::kCwLinux}) {
    for (const Case& f : fns) {
      for (double x : parts) {
        for (double y : parts) {
          F90Complex16 a, b;
          const F90Complex16 z = {x, y};
          double re, im;
          f90test::under_cw(cw, [&] {
            EXPECT_EQ(f.by_value(&a, x, y), &a);
            EXPECT_EQ(f.by_ref(&b, &z), &b);
            f.ref(x, y, re, im);
            return 0;
          });
          EXPECT_TRUE(same(a, re, im)) << f.name << "(" << x << ", " << y << ") cw " << cw;
          EXPECT_TRUE(same(b, re, im)) << f.name << "_ (" << x << ", " << y << ")";
        }
      }
    }
  }
  F90Complex16 r;
  _CCOS(&r, 0.0, 0.0);
  EXPECT_TRUE(same(r, 1.0, -0.0));
  _CEXP(&r, 0.0, 0.0);
  EXPECT_TRUE(same(r, 1.0, 0.0));
  _CSIN(&r, 0.0, 0.0);
  EXPECT_TRUE(same(r, 0.0, 0.0));
}

TEST(ComplexElementals, ConjgAndAimagMoveBits) {
  // Parts as patterns (a signalling NaN must not pass through the x87 here).
  const struct {
    uint64_t re, im, conj_im;
  } cases[] = {{bits(1.0), bits(2.0), bits(-2.0)},
               {bits(1.0), bits(-0.0), 0},
               {bits(-3.0), 0, bits(-0.0)},
               {0x7ff0000000000001ull, 0x7ff0000000000002ull, 0xfff0000000000002ull}};
  for (const auto& c : cases) {
    F90Complex16 z, r;
    const uint64_t in[2] = {c.re, c.im};
    std::memcpy(&z, in, sizeof z);
    EXPECT_EQ(_CONJG_(&r, &z), &r);
    uint64_t out[2];
    std::memcpy(out, &r, sizeof out);
    EXPECT_EQ(out[0], c.re);
    EXPECT_EQ(out[1], c.conj_im);
  }
  const F90Complex16 z = {1.0, -2.5};
  EXPECT_EQ(_AIMAG_(&z), -2.5);
  // A signalling NaN or subnormal imaginary part comes back without a flag.
  for (uint64_t im : {0x7ff0000000000002ull, 0x8000000000000003ull}) {
    F90Complex16 w;
    const uint64_t in[2] = {0, im};
    std::memcpy(&w, in, sizeof w);
    x87::clear_exceptions();
    const long double v = _AIMAG_(&w);
    EXPECT_EQ(x87::get_sw() & 0x3f, 0) << std::hex << im;
    if (im >> 63)
      EXPECT_EQ(v, -0x3p-1074L);
    else
      EXPECT_TRUE(v != v);
  }
}

TEST(Int8Elementals, DimAndSign) {
  constexpr int64_t kMax = INT64_MAX, kMin = INT64_MIN;
  struct {
    int64_t a, b, dim, sign;
  } cases[] = {
      {5, 3, 2, 5},           {3, 5, 0, 3},          {5, -1, 6, -5},
      {-5, 0, 0, 5},          {-5, -2, 0, -5},       {0, -7, 7, 0},
      {kMax, -1, kMin, -kMax},  // the difference wraps
      {kMin, 1, 0, kMin},       // |most negative| stays most negative
      {kMin, -1, 0, kMin},      {kMin, kMin, 0, kMin},
      {kMax, kMin, -1, -kMax},  {-1, kMin, kMax, -1},
      {int64_t{1} << 40, (int64_t{1} << 40) - 1, 1, int64_t{1} << 40},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(_IDIM_(&c.a, &c.b), c.dim) << c.a << " " << c.b;
    EXPECT_EQ(_ISIGN_(&c.a, &c.b), c.sign) << c.a << " " << c.b;
  }
}

}  // namespace
