// REAL*4 elementals: the fisttp path against the chopping-word path, and the
// bit-pattern FLOOR, CEILING and NINT and the branch-free SQRT and ATAN2
// against their previous forms. The
// normal run takes 2^20 inputs per function (random bit patterns, arguments
// of ordinary size and the special values); F90_LONG_TESTS=1 takes every one
// of the 2^32 REAL*4 values (under 0x127f; 10^8 of them spread over the
// range under 0x037f and 0x137f), and 10^8 random pairs for the two-argument
// functions.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <utility>

#include "models.h"
#include "paths.h"
#include "real/float_bits.h"
#include "real4/constants4.h"
#include "real4/real4.h"

namespace {

using paths::Case;
using paths::integer;
using paths::real;
using Pair = std::pair<float, float>;

constexpr float kInf = std::numeric_limits<float>::infinity();

const float kSpecial[] = {0.0f,        -0.0f,       kInf,         -kInf,
                          std::bit_cast<float>(0x7fc00000u), std::bit_cast<float>(0xffc00001u),
                          std::bit_cast<float>(1u), std::bit_cast<float>(0x807fffffu),
                          0.5f,        -0.5f,       1.5f,         -2.5f,
                          0x1p23f,     -0x1p23f + 0.5f, 0x1p31f,  -0x1p31f,
                          0x1p63f,     -0x1p63f,    2147483520.0f, 6746518528.0f,
                          6746518528.0f * 1.0000001f, 88.72283f, -103.97208f, -87.33654f};

// Input i: the special values first, then random bit patterns and values of
// ordinary size (|x| in [2^-12, 2^12)) in turn.
float unary_input(uint64_t i) {
  constexpr uint64_t n = std::size(kSpecial);
  if (i < n) return kSpecial[i];
  const uint32_t u = static_cast<uint32_t>(paths::mix(i));
  if (i & 1) return std::bit_cast<float>(u);
  const uint32_t exponent = 115 + (u >> 8) % 24;
  return std::bit_cast<float>((u & 0x807fffffu) | (exponent << 23));
}

float every_input(uint64_t i) { return std::bit_cast<float>(static_cast<uint32_t>(i)); }

// 10^8 arguments spread over all bit patterns (43 * 10^8 is just above 2^32).
constexpr uint64_t kSpread = 100'000'000;
float spread_input(uint64_t i) { return std::bit_cast<float>(static_cast<uint32_t>(i * 43)); }

// Pairs: every special value against every other, then random pairs, with y
// an integer, a half or a value of ordinary size in turn.
Pair binary_input(uint64_t i) {
  constexpr uint64_t n = std::size(kSpecial);
  if (i < n * n) return {kSpecial[i / n], kSpecial[i % n]};
  const uint64_t u = paths::mix(i);
  const float x = (i & 1) ? std::bit_cast<float>(static_cast<uint32_t>(u))
                          : std::bit_cast<float>((static_cast<uint32_t>(u) & 0x807fffffu) |
                                                 (static_cast<uint32_t>(100 + (u >> 32) % 54) << 23));
  const int32_t k = static_cast<int32_t>(u >> 40) % 64 - 32;
  float y;
  switch ((u >> 32) & 3) {
    case 0: y = static_cast<float>(k); break;
    case 1: y = k + 0.5f; break;
    case 2: y = std::bit_cast<float>(static_cast<uint32_t>(u >> 32)); break;
    default: y = std::bit_cast<float>((static_cast<uint32_t>(u >> 32) & 0x807fffffu) |
                                       (static_cast<uint32_t>(110 + (u >> 24) % 30) << 23));
  }
  return {x, y};
}

// SQRT as it was: the exponent added to the bit pattern of the REAL*4
// root, and a branch on the parity of the exponent field.
long double old_sqrt(float x) {
  using namespace morvex::real;
  const auto add_to_exponent = [](float y, int k) {
    return from_bits<float>(bits_of(y) + (static_cast<uint32_t>(k) << 23));
  };
  if (!(x < 0) && !(x > 0)) return x;
  if (x < 0) return std::bit_cast<float>(0x7fc00000u);
  int e = exponent_field(x);
  if (e == FloatBits<float>::kExponentMax) return kInf;
  int unscale = 0;
  if (e == 0) {
    x = x87::round_to<float>(x * 0x1p24L);
    e = exponent_field(x);
    unscale = -12;
  }
  const float f = from_bits<float>((bits_of(x) & kFractionMask<float>) | (126u << 23));
  const long double y0 = f * static_cast<long double>(f32(0x3f1714ba)) + f32(0x3ed5a9a8);
  const long double h = (y0 + f / y0) * 0.5L;
  float y = x87::round_to<float>(0.5L * (h + f / h));
  if ((e & 1) == 0) return add_to_exponent(y, (e - 126) / 2 + unscale);
  y = x87::round_to<float>(y * static_cast<long double>(f64(0x3fe6a09e667f3bcd)));
  return add_to_exponent(y, (e - 125) / 2 + unscale);
}

const Case<float> kUnary[] = {
    {"sqrt", [](float x) { return real(_morvex_sqrt(x)); },
     [](float x) { return real(old_sqrt(x)); }},
    {"exp", [](float x) { return real(_morvex_exp(x)); }, nullptr},
    {"sin", [](float x) { return real(_morvex_sin(x)); }, nullptr},
    {"cos", [](float x) { return real(_morvex_cos(x)); }, nullptr},
    {"sind", [](float x) { return real(_morvex_sind(x)); }, nullptr},
    {"cosd", [](float x) { return real(_morvex_cosd(x)); }, nullptr},
    {"tan", [](float x) { return real(_morvex_tan(x)); }, nullptr},
    {"tand", [](float x) { return real(_morvex_tand(x)); }, nullptr},
    {"cot", [](float x) { return real(_morvex_cot(x)); }, nullptr},
    {"f90floorf", [](float x) { return real(_morvex_f90floorf(x)); },
     [](float x) { return real(paths::old::floor_of(x)); }},
    {"f90ceilf", [](float x) { return real(_morvex_f90ceilf(x)); },
     [](float x) { return real(paths::old::ceil_of(x)); }},
    {"ifloor", [](float x) { return integer(_morvex_ifloor(x)); },
     [](float x) { return integer(paths::old::chop32(paths::old::floor_of(x))); }},
    {"iceil", [](float x) { return integer(_morvex_iceil(x)); },
     [](float x) { return integer(paths::old::chop32(paths::old::ceil_of(x))); }},
    {"nint", [](float x) { return integer(_morvex_nint(x)); },
     [](float x) { return integer(paths::old::nint32(x)); }},
    {"inint", [](float x) { return integer(_morvex_inint(x)); },
     [](float x) { return integer(static_cast<int16_t>(paths::old::nint32(x))); }},
    {"knint", [](float x) { return integer(_morvex_knint(x)); },
     [](float x) { return integer(paths::old::nint64(x)); }},
};

const Case<Pair> kBinary[] = {
    {"atan2", [](Pair p) { return real(_morvex_atan2(p.first, p.second)); },
     [](Pair p) {
       return real(paths::old::atan2_of(p.first, p.second, morvex::real4::kPi,
                                        morvex::real4::kHalfPi));
     }},
    {"ftof", [](Pair p) { return real(_morvex_ftof(p.first, p.second)); }, nullptr},
    {"amod", [](Pair p) { return real(_morvex_amod(p.first, p.second)); },
     [](Pair p) {
       return real(paths::old::mod_of(p.first, p.second, std::bit_cast<float>(0x7fc00000u)));
     }},
};

class Real4Paths : public ::testing::TestWithParam<Case<float>> {};
class Real4PathsLong : public ::testing::TestWithParam<Case<float>> {};
class Real4PairPaths : public ::testing::TestWithParam<Case<Pair>> {};

TEST_P(Real4Paths, SameBits) { paths::compare<float>(GetParam(), unary_input, 1 << 20); }

TEST_P(Real4PathsLong, EveryArgument) {
  if (!f90test::long_tests()) GTEST_SKIP() << "F90_LONG_TESTS=1 runs all 2^32 arguments";
  paths::compare<float>(GetParam(), every_input, uint64_t{1} << 32, paths::long_threads(),
                        {paths::kControlWords[0]});
  paths::compare<float>(GetParam(), spread_input, kSpread, paths::long_threads(),
                        {paths::kControlWords[1], paths::kControlWords[2]});
}

TEST_P(Real4PairPaths, SameBits) {
  const uint64_t count = f90test::long_tests() ? 100'000'000 : 1 << 20;
  paths::compare<Pair>(GetParam(), binary_input, count,
                       f90test::long_tests() ? paths::long_threads() : 1);
}

auto name = [](const auto& info) { return std::string(info.param.name); };
INSTANTIATE_TEST_SUITE_P(Real4, Real4Paths, ::testing::ValuesIn(kUnary), name);
INSTANTIATE_TEST_SUITE_P(Real4, Real4PathsLong, ::testing::ValuesIn(kUnary), name);
INSTANTIATE_TEST_SUITE_P(Real4, Real4PairPaths, ::testing::ValuesIn(kBinary), name);

}  // namespace
