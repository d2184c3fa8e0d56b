// EXPONENT, FRACTION, NEAREST, RRSPACING, SCALE, SET_EXPONENT and SPACING
// against naive value-level references: the model's e and f come from the
// x87 fxtract of the exactly loaded value, SCALE from exact extended
// scaling rounded as the model rounds, NEAREST from the gap between
// neighbours. The library entries are called with their REAL arguments as
// bit patterns, so that no signalling NaN or subnormal is loaded by the
// caller, and every call must leave the x87 exception flags as it found
// them. F90_LONG_TESTS=1 sweeps every REAL*4 pattern.
#include "f90/model.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "control_word.h"
#include "float_results.h"
#include "recording_runtime.h"
#include "x87.h"

namespace {

using f90test::long_tests;

template <class T>
using U = std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>;

template <class T>
struct K;
template <>
struct K<float> {
  static constexpr int kDigits = 24, kMinExp = -125, kMaxExp = 128;  // model: e in [-125, 128]
  static constexpr uint32_t kQuietNaN = 0x7fc00000u;
};
template <>
struct K<double> {
  static constexpr int kDigits = 53, kMinExp = -1021, kMaxExp = 1024;
  static constexpr uint64_t kQuietNaN = 0x7ff8000000000000ull;
};

template <class T>
T val(U<T> u) { return std::bit_cast<T>(u); }
template <class T>
U<T> pat(T x) { return std::bit_cast<U<T>>(x); }

// 2^n, exact in the extended range (fscale).
long double pow2(int n) { return x87::scale(1.0L, n); }

// ---------------------------------------------------------------- references

// e and f of a nonzero finite x (f carries the sign).
template <class T>
void model_parts(T x, int& e, long double& f) {
  long double ex;
  const long double sig = x87::extract(static_cast<long double>(x), ex);  // [1, 2)
  e = static_cast<int>(ex) + 1;
  f = sig / 2;
}

template <class T>
int ref_exponent(T x) {
  if (x == 0 || std::isnan(x)) return 0;
  if (std::isinf(x)) return K<T>::kMaxExp + 1;
  int e;
  long double f;
  model_parts(x, e, f);
  return e;
}

template <class T>
T ref_fraction(T x) {
  if (x == 0) return 0;
  if (std::isnan(x)) return x;
  if (std::isinf(x)) return val<T>(K<T>::kQuietNaN);
  int e;
  long double f;
  model_parts(x, e, f);
  return static_cast<T>(f);
}

// SCALE: exact value, overflow to the signed infinity, a subnormal outcome
// truncated from a normal X and rounded half up from a subnormal X.
template <class T>
T ref_scale(T x, int64_t i) {
  if (i == 0 || std::isnan(x) || std::isinf(x)) return x;
  if (x == 0) return 0;
  const bool neg = std::signbit(x);
  const long double ax = std::fabs(static_cast<long double>(x));
  const int e = ref_exponent(x);
  if (e + i > K<T>::kMaxExp) return neg ? -std::numeric_limits<T>::infinity()
                                        : std::numeric_limits<T>::infinity();
  const int lowest = K<T>::kMinExp - K<T>::kDigits;  // units of the smallest subnormal: 2^lowest
  if (e + i < lowest - 2) return neg ? -T(0) : T(0);
  const long double v = ax * pow2(static_cast<int>(i));
  if (v >= std::numeric_limits<T>::min()) return static_cast<T>(neg ? -v : v);
  const long double units = v * pow2(-lowest);
  const bool subnormal_x = ax < std::numeric_limits<T>::min();
  const long double n = subnormal_x ? std::floor(units + 0.5L) : std::floor(units);
  const long double r = n * pow2(lowest);
  return static_cast<T>(neg ? -r : r);
}

template <class T>
T ref_spacing(T x) {
  if (std::isnan(x)) return x;
  if (std::isinf(x)) return std::numeric_limits<T>::infinity();
  if (x == 0) return std::numeric_limits<T>::min();
  const long double s = pow2(ref_exponent(x) - K<T>::kDigits);
  return s < std::numeric_limits<T>::min() ? std::numeric_limits<T>::min() : static_cast<T>(s);
}

template <class T>
T ref_rrspacing(T x) {
  if (std::isnan(x) || std::isinf(x)) return val<T>(K<T>::kQuietNaN);
  if (x == 0) return 0;
  return static_cast<T>(std::fabs(static_cast<long double>(x)) *
                        pow2(K<T>::kDigits - ref_exponent(x)));
}

// NEAREST toward the sign of s (s > 0 up), with the library's rules for
// outcomes that are not normal.
template <class T>
T ref_nearest(T x, bool up) {
  const T tiny = std::numeric_limits<T>::min();
  const T inf = std::numeric_limits<T>::infinity();
  if (std::isnan(x)) return x;
  if (x == 0) return up ? tiny : -tiny;
  const bool neg = std::signbit(x);
  const bool away = up != neg;
  const long double ax = std::fabs(static_cast<long double>(x));
  if (std::isinf(x)) return away ? x : (neg ? -std::numeric_limits<T>::max() : std::numeric_limits<T>::max());
  const int lowest = K<T>::kMinExp - K<T>::kDigits;
  const int e = ref_exponent(x);
  const long double gap_up = pow2(std::max(e - K<T>::kDigits, lowest));
  const bool power = ax == pow2(e - 1);
  const long double gap_down = power ? pow2(std::max(e - 1 - K<T>::kDigits, lowest)) : gap_up;
  const long double y = away ? ax + gap_up : ax - gap_down;
  if (y > std::numeric_limits<T>::max()) return neg ? -inf : inf;
  if (y >= tiny) return static_cast<T>(neg ? -y : y);
  if (away && ax < tiny) return static_cast<T>(neg ? -y : y);
  return 0;
}

// ---------------------------------------------------------------- calling

uint16_t flags() { return x87::get_sw() & 0x3f; }

template <class T>
using Fn1 = long double (*)(U<T>);
template <class T>
using FnI = long double (*)(U<T>, int32_t);
template <class T>
using FnI8 = long double (*)(U<T>, int64_t);

// An entry retyped to take its REAL arguments as bit patterns (the stack
// slots are the same).
template <class F, class G>
F retype(G g) {
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(g));
}

// The entries of one kind, typed as the bit patterns they are called with.
template <class T>
struct Entries;
template <>
struct Entries<float> {
  static inline const Fn1<float> fraction = retype<Fn1<float>>(&_FRACTION_4);
  static inline const Fn1<float> spacing = retype<Fn1<float>>(&_SPACING_4);
  static inline const Fn1<float> rrspacing = retype<Fn1<float>>(&_RRSPACING_4);
  static inline const FnI<float> scale[2] = {retype<FnI<float>>(&_SCALE_4),
                                             retype<FnI<float>>(&_SCALE_4_I4)};
  static inline const FnI8<float> scale8 = retype<FnI8<float>>(&_SCALE_4_I8);
  static inline const FnI<float> set_exponent[2] = {
      retype<FnI<float>>(&_SET_EXPONENT_4),
      retype<FnI<float>>(&_SET_EXPONENT_4_I4)};
  static inline const FnI8<float> set_exponent8 =
      retype<FnI8<float>>(&_SET_EXPONENT_4_I8);
  static inline const auto exponent = retype<int32_t (*)(uint32_t)>(&_EXPONENT_4);
  static inline const auto nearest = retype<long double (*)(uint32_t, uint32_t)>(&_NEAREST_4);
};
template <>
struct Entries<double> {
  static inline const Fn1<double> fraction = retype<Fn1<double>>(&_FRACTION);
  static inline const Fn1<double> spacing = retype<Fn1<double>>(&_SPACING);
  static inline const Fn1<double> rrspacing = retype<Fn1<double>>(&_RRSPACING);
  static inline const FnI<double> scale[2] = {retype<FnI<double>>(&_SCALE),
                                              retype<FnI<double>>(&_SCALE_8_I4)};
  static inline const FnI8<double> scale8 = retype<FnI8<double>>(&_SCALE_8_I8);
  static inline const FnI<double> set_exponent[2] = {
      retype<FnI<double>>(&_SET_EXPONENT),
      retype<FnI<double>>(&_SET_EXPONENT_8_I4)};
  static inline const FnI8<double> set_exponent8 =
      retype<FnI8<double>>(&_SET_EXPONENT_8_I8);
  static inline const auto exponent = retype<int32_t (*)(uint64_t)>(&_EXPONENT);
  static inline const auto nearest =
      retype<long double (*)(uint64_t, uint64_t)>(&_NEAREST);
};

// The stored REAL result of an st(0) value that must already be of the kind.
template <class T>
U<T> stored(long double r) {
  volatile T t = static_cast<T>(r);
  return pat<T>(t);
}

template <class T>
bool same(U<T> got, T want) {
  if (std::isnan(want)) return std::isnan(val<T>(got));
  return got == pat<T>(want);
}

template <class T>
std::string show(U<T> u) {
  char b[64];
  std::snprintf(b, sizeof b, "%#llx (%La)", static_cast<unsigned long long>(u),
                static_cast<long double>(val<T>(u)));
  return b;
}

// Checks one pattern against every one-argument reference and SCALE /
// SET_EXPONENT at the given I; returns the number of failures (reporting
// at most a few).
template <class T, class Counts>
int check_pattern(U<T> u, const Counts& is, int& shown) {
  using E = Entries<T>;
  const T x = val<T>(u);
  int bad = 0;
  auto fail = [&](const char* what, long long i, U<T> got, T want) {
    ++bad;
    if (shown++ < 10)
      ADD_FAILURE() << what << "(" << show<T>(u) << ", " << i << ") gave " << show<T>(got)
                    << ", want " << show<T>(pat<T>(want));
  };
  x87::clear_exceptions();
  const int32_t ex = E::exponent(u);
  const long double fr = E::fraction(u), sp = E::spacing(u), rr = E::rrspacing(u);
  if (flags()) fail("flags of the 1-argument calls", flags(), 0, 0);
  if (ex != ref_exponent(x)) fail("EXPONENT", 0, static_cast<U<T>>(ex), T(ref_exponent(x)));
  if (!same<T>(stored<T>(fr), ref_fraction(x))) fail("FRACTION", 0, stored<T>(fr), ref_fraction(x));
  if (!same<T>(stored<T>(sp), ref_spacing(x))) fail("SPACING", 0, stored<T>(sp), ref_spacing(x));
  if (!same<T>(stored<T>(rr), ref_rrspacing(x))) fail("RRSPACING", 0, stored<T>(rr), ref_rrspacing(x));
  for (int32_t i : is) {
    x87::clear_exceptions();
    const long double s = E::scale[0](u, i);
    const long double se = E::set_exponent[0](u, i);
    if (flags()) fail("flags of SCALE/SET_EXPONENT", i, 0, 0);
    const T want = ref_scale(x, i);
    if (!same<T>(stored<T>(s), want)) fail("SCALE", i, stored<T>(s), want);
    const T want_se = ref_scale(ref_fraction(x), i);
    if (!same<T>(stored<T>(se), want_se)) fail("SET_EXPONENT", i, stored<T>(se), want_se);
  }
  for (uint32_t up = 0; up < 2; ++up) {
    const U<T> s = up ? pat<T>(T(1)) : pat<T>(T(-2));
    x87::clear_exceptions();
    const long double n = E::nearest(u, s);
    if (flags()) fail("flags of NEAREST", up, 0, 0);
    const T want = ref_nearest(x, up);
    if (!same<T>(stored<T>(n), want)) fail(up ? "NEAREST up" : "NEAREST down", 0, stored<T>(n), want);
  }
  return bad;
}

// Patterns worth covering in every kind: each exponent field with edge
// significands, both signs.
template <class T>
std::vector<U<T>> edge_patterns() {
  constexpr int F = std::numeric_limits<T>::digits - 1;
  constexpr int kFields = sizeof(T) == 4 ? 256 : 2048;
  const U<T> fraction = (U<T>{1} << F) - 1;
  std::vector<U<T>> v;
  for (int e = 0; e < kFields; ++e) {
    for (U<T> f : {U<T>{0}, U<T>{1}, U<T>{2}, U<T>{3}, fraction, fraction - 1, U<T>{1} << (F - 1),
                   (U<T>{1} << (F - 1)) - 1, (U<T>{1} << (F - 1)) + 1, U<T>{0x5a5a5a5} & fraction}) {
      const U<T> p = (static_cast<U<T>>(e) << F) | f;
      v.push_back(p);
      v.push_back(p | (U<T>{1} << (8 * sizeof(T) - 1)));
    }
  }
  return v;
}

template <class T>
std::vector<int32_t> scale_counts() {
  constexpr int range = sizeof(T) == 4 ? 160 : 1100;
  std::vector<int32_t> is = {INT32_MIN, INT32_MIN + 1, -100000, 100000, INT32_MAX};
  for (int i = -40; i <= 40; ++i) is.push_back(i);
  for (int i = -2 * range; i <= 2 * range; i += sizeof(T) == 4 ? 7 : 61) is.push_back(i);
  return is;
}

class ModelTest : public f90test::ControlWordTest {};

TEST_F(ModelTest, Real4EdgePatternsAgainstReference) {
  const auto is = scale_counts<float>();
  int shown = 0, bad = 0;
  for (uint16_t cw : {f90test::kCwLibrary, f90test::kCwLinux}) {
    f90test::set_cw(cw);
    for (uint32_t u : edge_patterns<float>()) bad += check_pattern<float>(u, is, shown);
  }
  EXPECT_EQ(bad, 0);
}

TEST_F(ModelTest, Real8EdgePatternsAgainstReference) {
  const auto is = scale_counts<double>();
  int shown = 0, bad = 0;
  for (uint16_t cw : {f90test::kCwLibrary, f90test::kCwLinux}) {
    f90test::set_cw(cw);
    for (uint64_t u : edge_patterns<double>()) bad += check_pattern<double>(u, is, shown);
  }
  EXPECT_EQ(bad, 0);
}

// A spread of REAL*4 patterns in CI, every one with F90_LONG_TESTS=1; SCALE
// and SET_EXPONENT of each by the counts that take it to the edges of the
// normal range (1 - E and around it, 254 - E, 255 - E) and a few others.
// F90_LONG_SHARD=k/n splits the long sweep over n processes.
TEST_F(ModelTest, Real4Sweep) {
  const f90test::Shard shard = long_tests() ? f90test::long_shard() : f90test::Shard{0, 4093};
  int shown = 0;
  uint64_t bad = 0;
  for (uint64_t u = shard.first; u < (uint64_t{1} << 32); u += shard.step) {
    const int32_t e = static_cast<int32_t>((u >> 23) & 0xff);
    const int32_t is[] = {-e - 24, -e - 1, -e, 1 - e, 2 - e, 3 - e, 254 - e, 255 - e, -1, 1, 30};
    bad += check_pattern<float>(static_cast<uint32_t>(u), is, shown);
  }
  EXPECT_EQ(bad, 0u);
}

// Every REAL*4 subnormal and the lowest normal binades, scaled by every I
// from -30 to 30 (the rounding and truncation rules at the boundary).
TEST_F(ModelTest, Real4ScaleAcrossTheSubnormalBoundary) {
  int shown = 0;
  uint64_t bad = 0;
  const uint32_t step = long_tests() ? 1 : 509;
  for (uint32_t u = 0; u < 0x02000000u; u += step) {
    for (uint32_t sign : {0u, 0x80000000u}) {
      const uint32_t p = u | sign;
      const float x = val<float>(p);
      for (int32_t i = -30; i <= 30; ++i) {
        const long double s = Entries<float>::scale[1](p, i);
        const float want = ref_scale(x, i);
        if (!same<float>(stored<float>(s), want) && shown++ < 10)
          ADD_FAILURE() << "SCALE(" << show<float>(p) << ", " << i << ") gave "
                        << show<float>(stored<float>(s));
        bad += !same<float>(stored<float>(s), want);
      }
    }
  }
  EXPECT_EQ(bad, 0u);
}

TEST_F(ModelTest, LiteralCases) {
  using E4 = Entries<float>;
  using E8 = Entries<double>;
  auto f4 = [](long double r) { return stored<float>(r); };
  auto f8 = [](long double r) { return stored<double>(r); };
  const uint32_t one4 = pat(1.0f), minsub4 = 1, maxsub4 = 0x007fffff, tiny4 = 0x00800000;
  const uint64_t one8 = pat(1.0), minsub8 = 1;
  EXPECT_EQ(E4::exponent(one4), 1);
  EXPECT_EQ(E4::exponent(pat(0.75f)), 0);
  EXPECT_EQ(E4::exponent(0), 0);
  EXPECT_EQ(E4::exponent(maxsub4), -126);
  EXPECT_EQ(E4::exponent(minsub4), -148);
  EXPECT_EQ(E8::exponent(minsub8), -1073);
  EXPECT_EQ(E4::exponent(0x7f800000u), 129);
  EXPECT_EQ(E8::exponent(0x7ff0000000000000ull), 1025);
  EXPECT_EQ(E4::exponent(0x7f800001u), 0);  // NaN
  EXPECT_EQ(f4(E4::fraction(pat(3.0f))), pat(0.75f));
  EXPECT_EQ(f4(E4::fraction(pat(-0.0f))), pat(0.0f));
  EXPECT_TRUE(std::isnan(val<float>(f4(E4::fraction(0x7f800000u)))));
  EXPECT_TRUE(std::isnan(val<float>(f4(E4::fraction(0xff800000u)))));
  EXPECT_EQ(f4(E4::fraction(minsub4)), pat(0.5f));
  EXPECT_EQ(f4(E4::scale[0](pat(1.5f), 3)), pat(12.0f));
  EXPECT_EQ(f4(E4::scale[0](one4, 200)), 0x7f800000u);
  EXPECT_EQ(f4(E4::scale[0](pat(-1.0f), -130)), 0x80080000u);  // -2^-130
  EXPECT_EQ(f4(E4::scale[0](pat(-1.0f), -1000)), 0x80000000u);
  EXPECT_EQ(f4(E4::scale[0](3, -1)), 2u);  // half up
  EXPECT_EQ(f4(E4::scale[0](pat(-0.0f), 5)), 0u);
  EXPECT_EQ(f4(E4::scale[0](0x7f800000u, -5)), 0x7f800000u);
  EXPECT_EQ(f4(E4::scale[0](0x00400000u, 300)), 0x7f800000u);   // subnormal past the top
  EXPECT_EQ(f4(E4::scale[0](0x80000001u, 1000)), 0xff800000u);
  EXPECT_EQ(f4(E4::scale8(one4, int64_t{1} << 32)), 0x7f800000u);
  EXPECT_EQ(f4(E4::scale8(one4, INT32_MAX)), 0x7f800000u);
  EXPECT_EQ(f4(E4::scale8(one4, -(int64_t{1} << 32))), 0u);
  EXPECT_EQ(f8(E8::scale[0](one8, INT32_MAX)), 0x7ff0000000000000ull);
  EXPECT_EQ(f8(E8::scale8(one8, int64_t{1} << 32)), 0x7ff0000000000000ull);
  EXPECT_EQ(f8(E8::scale8(one8, INT64_MIN)), 0u);
  EXPECT_EQ(f4(E4::set_exponent[0](pat(10.0f), 1)), pat(1.25f));
  EXPECT_EQ(f4(E4::set_exponent8(pat(10.0f), (int64_t{1} << 32) + 1)), 0x7f800000u);
  EXPECT_EQ(f4(E4::spacing(one4)), pat(0x1p-23f));
  EXPECT_EQ(f8(E8::spacing(one8)), pat(0x1p-52));
  EXPECT_EQ(f4(E4::spacing(0)), tiny4);
  EXPECT_EQ(f4(E4::spacing(tiny4)), tiny4);
  EXPECT_EQ(f4(E4::rrspacing(one4)), pat(0x1p23f));
  EXPECT_EQ(f8(E8::rrspacing(one8)), pat(0x1p52));
  EXPECT_EQ(f4(E4::nearest(one4, one4)), pat(1.0f + 0x1p-23f));
  EXPECT_EQ(f4(E4::nearest(one4, pat(-1.0f))), pat(1.0f - 0x1p-24f));
  EXPECT_EQ(f4(E4::nearest(0, pat(-1.0f))), 0x80800000u);
  EXPECT_EQ(f4(E4::nearest(tiny4, pat(-1.0f))), 0u);
  EXPECT_EQ(f4(E4::nearest(0x7f7fffffu, one4)), 0x7f800000u);
  EXPECT_EQ(f4(E4::nearest(minsub4, one4)), 2u);       // away from zero: stepped
  EXPECT_EQ(f4(E4::nearest(0x80000002u, one4)), 0u);    // toward zero: +0.0
  EXPECT_EQ(f4(E4::nearest(0x7f800000u, one4)), 0x7f800000u);
  EXPECT_EQ(f4(E4::nearest(0x7f800000u, pat(-1.0f))), 0x7f7fffffu);
}

// Signalling NaNs and subnormals are never loaded: no flag after any call,
// under both control words; NaN arguments give NaN, and NEAREST with a NaN
// S reports nothing.
TEST_F(ModelTest, NaNArgumentsRaiseNothing) {
  f90test::RuntimeScope rt;
  using E4 = Entries<float>;
  using E8 = Entries<double>;
  const uint32_t snan4 = 0x7f800001u, neg_snan4 = 0xff800123u;
  const uint64_t snan8 = 0x7ff0000000000001ull;
  for (uint16_t cw : {f90test::kCwLibrary, f90test::kCwLinux}) {
    f90test::set_cw(cw);
    for (uint32_t x : {snan4, neg_snan4, 0x7fc00000u}) {
      x87::clear_exceptions();
      const long double r[] = {E4::fraction(x), E4::spacing(x), E4::rrspacing(x),
                               E4::scale[0](x, 3), E4::scale[0](x, 0), E4::set_exponent[0](x, 2),
                               E4::nearest(x, pat(1.0f)), E4::nearest(pat(1.0f), x)};
      EXPECT_EQ(flags(), 0) << std::hex << x;
      for (long double v : r) {
        long double copy = v;  // an 80-bit store raises nothing
        EXPECT_TRUE(copy != copy);
      }
    }
    x87::clear_exceptions();
    const long double r8[] = {E8::fraction(snan8), E8::spacing(snan8), E8::scale[0](snan8, -4),
                              E8::nearest(snan8, pat(1.0)), E8::nearest(pat(1.0), snan8)};
    EXPECT_EQ(flags(), 0);
    for (long double v : r8) EXPECT_TRUE(v != v);
    EXPECT_EQ(E8::exponent(snan8), 0);
  }
  EXPECT_TRUE(f90test::Runtime::reports().empty());
}

TEST_F(ModelTest, NearestWithZeroSReportsAndStepsDown) {
  f90test::RuntimeScope rt;
  const long double a = Entries<float>::nearest(pat(1.0f), 0x80000000u);
  const long double b = Entries<double>::nearest(pat(1.0), 0);
  const long double c = Entries<float>::nearest(0, 0);
  EXPECT_EQ(stored<float>(a), pat(1.0f - 0x1p-24f));
  EXPECT_EQ(stored<double>(b), pat(1.0 - 0x1p-53));
  EXPECT_EQ(stored<float>(c), 0x80800000u);
  EXPECT_EQ(f90test::Runtime::numbers(), (std::vector<int32_t>{1415, 1415, 1415}));
}

// The REAL*16 S of the REAL*4 and REAL*8 forms counts by the sign of its sum.
TEST_F(ModelTest, NearestWithReal16S) {
  f90test::RuntimeScope rt;
  struct Case {
    F90Real16 s;
    int dir;  // 1 up, -1 down, 0 zero (reported, down)
  } cases[] = {{{1.0, -0x1p-60}, 1}, {{-1.0, 0x1p-60}, -1}, {{0.0, -0x1p-1000}, -1},
               {{-0.0, 0x1p-1070}, 1}, {{0x1p-1070, -0x1p-1070}, 0}, {{0.0, 0.0}, 0},
               {{1.0, -3.0}, -1}};
  int zeros = 0;
  for (const Case& c : cases) {
    const float up = 1.0f + 0x1p-23f, down = 1.0f - 0x1p-24f;
    EXPECT_EQ(_NEAREST_4_16(1.0f, c.s), c.dir > 0 ? up : down) << c.s.hi << " " << c.s.lo;
    EXPECT_EQ(_NEAREST_8_16(1.0, c.s), c.dir > 0 ? 1.0 + 0x1p-52 : 1.0 - 0x1p-53);
    zeros += c.dir == 0;
  }
  EXPECT_EQ(f90test::Runtime::numbers().size(), 2u * zeros);
}

// ---------------------------------------------------------------- REAL*16

bool same16(const F90Real16& a, const F90Real16& b) {
  return pat(a.hi) == pat(b.hi) && pat(a.lo) == pat(b.lo);
}

TEST_F(ModelTest, Real16Forms) {
  F90Real16 r;
  const F90Real16 x = {3.0, 0x1p-60};
  EXPECT_EQ(_EXPONENT_16(x), 2);
  EXPECT_EQ(_EXPONENT_16(F90Real16{0.0, 0.0}), 0);
  EXPECT_EQ(_EXPONENT_16(F90Real16{0x1p-1074, 0.0}), -1073);
  EXPECT_EQ(_FRACTION_16(&r, x), &r);
  EXPECT_TRUE(same16(r, {0.75, 0x1p-62}));
  _FRACTION_16(&r, F90Real16{-INFINITY, 0.0});
  EXPECT_TRUE(std::isnan(r.hi));
  _FRACTION_16(&r, F90Real16{NAN, 0.0});
  EXPECT_TRUE(std::isnan(r.hi));
  _SCALE_16(&r, x, 4);
  EXPECT_TRUE(same16(r, {48.0, 0x1p-56}));
  _SCALE_16_I8(&r, x, int64_t{1} << 40);
  EXPECT_TRUE(std::isinf(r.hi) && r.hi > 0);
  _SCALE_16_I4(&r, x, -3);
  EXPECT_TRUE(same16(r, {0.375, 0x1p-63}));
  _SET_EXPONENT_16(&r, x, 1);
  EXPECT_TRUE(same16(r, {1.5, 0x1p-61}));
  _SET_EXPONENT_16_I8(&r, x, 0);
  EXPECT_TRUE(same16(r, {0.75, 0x1p-62}));
  // RRSPACING of REAL*16 is the REAL*8 one of the high part.
  for (double hi : {3.0, -0x1.fffffp-900, 0x1p-1060, 1e300}) {
    _RRSPACING_16(&r, F90Real16{hi, hi * 0x1p-70});
    EXPECT_EQ(r.hi, _RRSPACING(hi));
    EXPECT_EQ(pat(r.lo), 0u);
  }
  _SPACING_16(&r, F90Real16{1.0, 0.0});
  EXPECT_TRUE(same16(r, {0x1p-109, 0.0}));
  _SPACING_16(&r, F90Real16{-0.0, 0.0});
  EXPECT_TRUE(same16(r, {0x1p-1022, 0.0}));
  _SPACING_16(&r, F90Real16{0x1p-950, 0.0});
  EXPECT_TRUE(same16(r, {0x1p-1022, 0.0}));
  _SPACING_16(&r, F90Real16{-0x1.8p-900, 0.0});
  EXPECT_TRUE(same16(r, {0x1p-1009, 0.0}));
  _SPACING_16(&r, F90Real16{INFINITY, 0.0});
  EXPECT_TRUE(std::isinf(r.hi));
}

TEST_F(ModelTest, Real16Nearest) {
  f90test::RuntimeScope rt;
  F90Real16 r;
  struct Case {
    F90Real16 x;
    double s;
    F90Real16 want;
  } cases[] = {
      {{0.0, 0.0}, 1.0, {0x1p-1022, 0.0}},
      {{-0.0, 0.0}, 0.0, {-0x1p-1022, 0.0}},
      // lo zero (either sign) becomes 2^(e_hi - 106) toward s, then steps out.
      {{1.0, 0.0}, 1.0, {1.0, 0x1.0000000000001p-106}},
      {{1.0, -0.0}, 1.0, {1.0, 0x1.0000000000001p-106}},
      {{1.0, 0.0}, -1.0, {1.0, -0x1.0000000000001p-106}},
      {{-4.0, 0.0}, -2.0, {-4.0, -0x1.0000000000001p-104}},
      // lo nonzero: one unit of lo toward s.
      {{1.0, 0x1p-60}, 1.0, {1.0, 0x1.0000000000001p-60}},
      {{1.0, 0x1p-60}, -1.0, {1.0, 0x1.fffffffffffffp-61}},
      {{1.0, -0x1p-60}, 1.0, {1.0, -0x1.fffffffffffffp-61}},
      // hi near the bottom: the power of two as a subnormal, then the smallest subnormal.
      {{0x1p-950, 0.0}, 1.0, {0x1p-950, 0x1p-1056 + 0x1p-1074}},
      {{0x1p-1000, 0.0}, -1.0, {0x1p-1000, -0x1p-1073}},
      {{0x1p-1060, 0.0}, 1.0, {0x1p-1060, 0x1p-1073}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(_NEAREST_16(&r, c.x, F90Real16{c.s, 123.0}), &r);
    EXPECT_TRUE(same16(r, c.want)) << c.x.hi << " " << c.x.lo << " " << c.s << ": " << std::hexfloat
                                   << r.hi << " " << r.lo;
    _NEAREST_16_8(&r, c.x, c.s);
    EXPECT_TRUE(same16(r, c.want));
  }
  _NEAREST_16_8(&r, F90Real16{NAN, 0.0}, 1.0);
  EXPECT_TRUE(std::isnan(r.hi));
  _NEAREST_16_8(&r, F90Real16{1.0, 0.0}, NAN);
  EXPECT_TRUE(std::isnan(r.hi));
  EXPECT_TRUE(f90test::Runtime::reports().empty());
}

TEST(Real16Constants, ExactBytes) {
  struct Case {
    const F90Real16* object;
    uint64_t hi;
  } cases[] = {{&huge_real16_f90_y, 0x43dffc0000000000ull},
               {&huge_real16_f90_y_ieee, 0x43dffc0000000000ull},
               {&tiny_real16_f90_y, 0x4330000000000000ull},
               {&tiny_real16_f90_ieee, 0x4330000000000000ull},
               {&QUAD_ZERO, 0},
               {&Qnan, 0x43dfffe000000000ull}};
  for (const Case& c : cases) {
    uint64_t words[2];
    std::memcpy(words, c.object, 16);
    EXPECT_EQ(words[0], c.hi);
    EXPECT_EQ(words[1], 0u);
  }
  EXPECT_EQ(Qnan.hi, 9223231299366420480.0);
  EXPECT_EQ(huge_real16_f90_y.hi, 9218868437227405312.0);
}

}  // namespace
