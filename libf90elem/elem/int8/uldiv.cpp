// Unsigned 64-bit divide and remainder.
//
// _morvex_uldiv / _morvex_ulmod read both operands as 0..2^64-1. When
// neither has bit 63 set they are the signed _morvex_ldiv / _morvex_lmod of
// the same words (so b = 0 gives 0x7fffffffffffffff); otherwise the software
// forms _morvex_slow_uldiv / _morvex_slow_ulmod, where
//   a < b        -> quotient 0, remainder a
//   b = 0        -> 0xffffffffffffffff for both
//   otherwise    -> the exact unsigned quotient and remainder.
// So uldiv(5, 0) = 0x7fffffffffffffff but uldiv(2^63, 0) = 0xffffffffffffffff.
#include "int8/int8.h"

using namespace morvex::int8;

namespace {

constexpr uint64_t kAllOnes = ~uint64_t{0};
constexpr uint64_t kBit63 = uint64_t{1} << 63;

uint64_t slow_uldiv(uint64_t a, uint64_t b) {
  if (a < b) return 0;
  if (b == 0) return kAllOnes;
  return a / b;
}

uint64_t slow_ulmod(uint64_t a, uint64_t b) {
  if (a < b) return a;
  if (b == 0) return kAllOnes;
  return a % b;
}

}  // namespace

F90_API uint64_t _morvex_slow_uldiv(uint64_t a, uint64_t b) { return slow_uldiv(a, b); }
F90_API uint64_t _morvex_slow_ulmod(uint64_t a, uint64_t b) { return slow_ulmod(a, b); }

F90_API uint64_t _morvex_uldiv(uint64_t a, uint64_t b) {
  if (((a | b) & kBit63) == 0) {
    return static_cast<uint64_t>(ldiv(static_cast<int64_t>(a), static_cast<int64_t>(b)));
  }
  return slow_uldiv(a, b);
}

F90_API uint64_t _morvex_ulmod(uint64_t a, uint64_t b) {
  if (((a | b) & kBit63) == 0) {
    return static_cast<uint64_t>(lmod(static_cast<int64_t>(a), static_cast<int64_t>(b)));
  }
  return slow_ulmod(a, b);
}
