// REAL*8 elementals: the fisttp path against the chopping-word path, the
// bit-pattern FLOOR, CEILING and NINT, the new DSQRT first estimate and the
// branch-free DATAN2 quadrant against their previous forms. 2^20 inputs per function in the normal run
// (random bit patterns, arguments of ordinary size, the special values),
// 10^8 with F90_LONG_TESTS=1.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <utility>

#include "models.h"
#include "paths.h"
#include "real/float_bits.h"
#include "real8/constants8.h"
#include "real8/real8.h"

namespace {

using paths::Case;
using paths::integer;
using paths::real;
using Pair = std::pair<double, double>;

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::bit_cast<double>(0x7ff8000000000000ull);

const double kSpecial[] = {0.0,     -0.0,    kInf,    -kInf,   kNaN,
                           std::bit_cast<double>(0xfff0000000000001ull),
                           std::bit_cast<double>(1ull), std::bit_cast<double>(0x800fffffffffffffull),
                           0.5,     -0.5,    1.5,     -2.5,    0x1p52,  -0x1p52 + 0.5,
                           0x1p31,  -0x1p31, 0x1p63,  -0x1p63, 2147483647.5, -2147483648.5,
                           298156835.16176, 709.782712893384, -745.1332191019411,
                           0x1.fffffffffffffp1023, 0x1p-1022};

// Input i: the special values first, then random bit patterns and values of
// ordinary size (|x| in [2^-30, 2^30)) in turn.
double unary_input(uint64_t i) {
  constexpr uint64_t n = std::size(kSpecial);
  if (i < n) return kSpecial[i];
  const uint64_t u = paths::mix(i);
  if (i & 1) return std::bit_cast<double>(u);
  const uint64_t exponent = 993 + (u >> 52) % 60;
  return std::bit_cast<double>((u & 0x800fffffffffffffull) | (exponent << 52));
}

Pair binary_input(uint64_t i) {
  constexpr uint64_t n = std::size(kSpecial);
  if (i < n * n) return {kSpecial[i / n], kSpecial[i % n]};
  return {unary_input(n + 2 * i), unary_input(n + 2 * i + 1)};
}

// DSQRT as it was: the first estimate built as two 32-bit words read back as
// one double.
long double old_dsqrt(double x) {
  using namespace morvex::real;
  if (!(x < 0) && !(x > 0)) return x;
  if (x < 0) return kNaN;
  const int field = exponent_field(x);
  if (field == FloatBits<double>::kExponentMax) return x;
  long double unscale = 1.0L;
  if (field == 0) {
    x = x87::round_to<double>(x * 0x1p54L);
    unscale = 0x1p-27L;
  }
  const uint32_t high = static_cast<uint32_t>(bits_of(x) >> 32);
  const double y0 = from_bits<double>(static_cast<uint64_t>((high >> 1) + 0x1ff80000u) << 32);
  const long double v = x;
  const long double t1 = y0 + v / y0;
  const long double t2 = t1 * 0.25L + v / t1;
  const long double t3 = t2 + v / t2;
  const long double r = 0.25L * t3 + v / t3;
  return r * unscale;
}

const Case<double> kUnary[] = {
    {"dexp", [](double x) { return real(_morvex_dexp(x)); }, nullptr},
    {"dsin", [](double x) { return real(_morvex_dsin(x)); }, nullptr},
    {"dcos", [](double x) { return real(_morvex_dcos(x)); }, nullptr},
    {"dsind", [](double x) { return real(_morvex_dsind(x)); }, nullptr},
    {"dcosd", [](double x) { return real(_morvex_dcosd(x)); }, nullptr},
    {"dtan", [](double x) { return real(_morvex_dtan(x)); }, nullptr},
    {"dtand", [](double x) { return real(_morvex_dtand(x)); }, nullptr},
    {"dcot", [](double x) { return real(_morvex_dcot(x)); }, nullptr},
    {"dsqrt", [](double x) { return real(_morvex_dsqrt(x)); },
     [](double x) { return real(old_dsqrt(x)); }},
    {"f90floor", [](double x) { return real(_morvex_f90floor(x)); },
     [](double x) { return real(paths::old::floor_of(x)); }},
    {"f90ceil", [](double x) { return real(_morvex_f90ceil(x)); },
     [](double x) { return real(paths::old::ceil_of(x)); }},
    {"idfloor", [](double x) { return integer(_morvex_idfloor(x)); },
     [](double x) { return integer(paths::old::chop32(paths::old::floor_of(x))); }},
    {"idceil", [](double x) { return integer(_morvex_idceil(x)); },
     [](double x) { return integer(paths::old::chop32(paths::old::ceil_of(x))); }},
    {"idnint", [](double x) { return integer(_morvex_idnint(x)); },
     [](double x) { return integer(paths::old::nint32(x)); }},
    {"iidnnt", [](double x) { return integer(_morvex_iidnnt(x)); },
     [](double x) { return integer(static_cast<int16_t>(paths::old::nint32(x))); }},
    {"kidnnt", [](double x) { return integer(_morvex_kidnnt(x)); },
     [](double x) { return integer(paths::old::nint64(x)); }},
};

const Case<Pair> kBinary[] = {
    {"datan2", [](Pair p) { return real(_morvex_datan2(p.first, p.second)); },
     [](Pair p) {
       return real(paths::old::atan2_of(p.first, p.second, morvex::real8::kPi,
                                        morvex::real8::kHalfPi));
     }},
    {"dmod", [](Pair p) { return real(_morvex_dmod(p.first, p.second)); },
     [](Pair p) { return real(paths::old::mod_of(p.first, p.second, kNaN)); }},
};

uint64_t count() { return f90test::long_tests() ? 100'000'000 : 1 << 20; }
unsigned threads() { return f90test::long_tests() ? paths::long_threads() : 1; }

class Real8Paths : public ::testing::TestWithParam<Case<double>> {};
class Real8PairPaths : public ::testing::TestWithParam<Case<Pair>> {};

TEST_P(Real8Paths, SameBits) {
  paths::compare<double>(GetParam(), unary_input, count(), threads());
}
TEST_P(Real8PairPaths, SameBits) {
  paths::compare<Pair>(GetParam(), binary_input, count(), threads());
}

auto name = [](const auto& info) { return std::string(info.param.name); };
INSTANTIATE_TEST_SUITE_P(Real8, Real8Paths, ::testing::ValuesIn(kUnary), name);
INSTANTIATE_TEST_SUITE_P(Real8, Real8PairPaths, ::testing::ValuesIn(kBinary), name);

}  // namespace
