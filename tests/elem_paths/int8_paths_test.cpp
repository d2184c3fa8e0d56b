// INTEGER*8 divide and remainder: the integer forms against the x87 divide
// under a chopping, 64-bit-precision word that they replace. Operands of
// every width (so both the 32-bit forms and the wide ones run), the extremes
// and zero divisors; 2^20 pairs, 10^8 with F90_LONG_TESTS=1.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "f90/elemental.h"
#include "models.h"
#include "paths.h"

namespace {

using paths::Case;
using paths::integer;
using Pair = std::pair<int64_t, int64_t>;

const int64_t kSpecial[] = {0, 1, -1, 2, -2, 3, 7, -7, INT32_MAX, INT32_MIN, int64_t{1} << 32,
                            -(int64_t{1} << 32), INT64_MAX, INT64_MIN, INT64_MIN + 1,
                            int64_t{1} << 62, 0x123456789abcdefll, -0x123456789abcdefll};

// A value of random width: |v| below 2^k for a random k.
int64_t operand(uint64_t u) {
  const int width = static_cast<int>(u & 63);
  const int64_t v = static_cast<int64_t>(u) >> (63 - width);
  return (u >> 6) & 1 ? v : -v;
}

Pair pair_input(uint64_t i) {
  constexpr uint64_t n = std::size(kSpecial);
  if (i < n * n) return {kSpecial[i / n], kSpecial[i % n]};
  return {operand(paths::mix(2 * i)), operand(paths::mix(2 * i + 1))};
}

const Case<Pair> kCases[] = {
    {"ldiv", [](Pair p) { return integer(_morvex_ldiv(p.first, p.second)); },
     [](Pair p) { return integer(paths::old::ldiv(p.first, p.second)); }},
    {"lmod", [](Pair p) { return integer(_morvex_lmod(p.first, p.second)); },
     [](Pair p) { return integer(paths::old::lmod(p.first, p.second)); }},
    // Below 2^63 the unsigned forms are the signed ones.
    {"uldiv",
     [](Pair p) {
       return integer(static_cast<int64_t>(_morvex_uldiv(p.first & INT64_MAX, p.second & INT64_MAX)));
     },
     [](Pair p) { return integer(paths::old::ldiv(p.first & INT64_MAX, p.second & INT64_MAX)); }},
    {"ulmod",
     [](Pair p) {
       return integer(static_cast<int64_t>(_morvex_ulmod(p.first & INT64_MAX, p.second & INT64_MAX)));
     },
     [](Pair p) { return integer(paths::old::lmod(p.first & INT64_MAX, p.second & INT64_MAX)); }},
};

class Int8Paths : public ::testing::TestWithParam<Case<Pair>> {};

TEST_P(Int8Paths, SameResults) {
  const bool long_run = f90test::long_tests();
  paths::compare<Pair>(GetParam(), pair_input, long_run ? 100'000'000 : 1 << 20,
                       long_run ? paths::long_threads() : 1);
}

INSTANTIATE_TEST_SUITE_P(Int8, Int8Paths, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
