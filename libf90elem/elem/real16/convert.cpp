// Conversions between REAL*16 and 64-bit integers, and the REAL*16
// arithmetic with an INTEGER*8 operand.
//
// To REAL*16 (exact): a magnitude below 2^53 is the high part alone, with a
// +0 low part; a larger one is split into its bits above and below 2^53, each
// exact as a double, and added with the mixed addition. A negative value is
// the negation of its magnitude's result (so -1 gives (-1, -0)); the
// magnitude of -2^63 is 2^63.
//
// From REAL*16: truncation toward zero of the exact value. A high part of
// 2^63 or more in magnitude, infinite or NaN gives 0x8000000000000000 for
// INTEGER*8 (positive values included) and all ones for the unsigned
// conversion, which returns negative values as their two's complement bits.
#include "real16/dd.h"
#include "real16/real16.h"
#include "real16/rounding.h"

namespace dd = morvex::dd;
using dd::DD;
using dd::store;

namespace {

constexpr uint64_t kExactBits = (1ull << 53) - 1;

MORVEX_DD_INLINE DD from_magnitude(uint64_t m) {
  if (m <= kExactBits) return {dd::exact_double(m), 0.0};
  return dd::add_d({dd::exact_double(m & kExactBits), 0.0}, dd::exact_double(m & ~kExactBits));
}

MORVEX_DD_INLINE DD from_int64(int64_t n) {
  const uint64_t u = static_cast<uint64_t>(n);
  return n < 0 ? dd::neg(from_magnitude(0 - u)) : from_magnitude(u);
}

}  // namespace

DoubleDouble* _morvex_ll2q(DoubleDouble* res, int64_t n) { return store(res, from_int64(n)); }

DoubleDouble* _morvex_ull2q(DoubleDouble* res, uint64_t n) { return store(res, from_magnitude(n)); }

int64_t _morvex_q2ll(DoubleDouble x) { return dd::to_int64(x); }

uint64_t _morvex_q2ull(DoubleDouble x) {
  if (dd::biased_exponent(x.hi) >= dd::kBiased2To63) return UINT64_MAX;
  return dd::trunc_to_bits64(x);
}

DoubleDouble* _morvex_qaddk(DoubleDouble* res, DoubleDouble a, int64_t k) {
  return store(res, dd::add(a, from_int64(k)));
}

DoubleDouble* _morvex_qsubk(DoubleDouble* res, DoubleDouble a, int64_t k) {
  return store(res, dd::sub(a, from_int64(k)));
}

DoubleDouble* _morvex_ksubq(DoubleDouble* res, int64_t k, DoubleDouble b) {
  return store(res, dd::sub(from_int64(k), b));
}

DoubleDouble* _morvex_qmulk(DoubleDouble* res, DoubleDouble a, int64_t k) {
  return store(res, dd::mul(a, from_int64(k)));
}

DoubleDouble* _morvex_qdivk(DoubleDouble* res, DoubleDouble a, int64_t k) {
  return store(res, dd::div(a, from_int64(k)));
}

DoubleDouble* _morvex_kdivq(DoubleDouble* res, int64_t k, DoubleDouble b) {
  return store(res, dd::div(from_int64(k), b));
}
