// REAL*16 decomposition (frexpl) and scaling by a power of two (ldexpl).
//
// frexpl(x, &e): x = f * 2^e with |f.hi| in [0.5, 1). The high part keeps
// its sign and fraction bits and gets the exponent of 0.5; a subnormal high
// part is normalised first, so e agrees with the REAL*8 model (2^-1074 gives
// e = -1073). The low part is scaled by 2^-e exactly; one that would become
// subnormal is dropped to +0, and a zero or NaN low part is kept as it is.
// A zero or NaN high part gives (+0, +0) and e = 0; an infinite one gives
// +-0.5 and e = 1025.
//
// ldexpl(x, n) scales each part by 2^n on its own, with no renormalisation:
// each part overflows, underflows or becomes subnormal by itself.
#include <bit>
#include <cmath>

#include "real16/parts.h"
#include "real16/real16.h"

namespace dd = morvex::dd;
using dd::DD;
using dd::store;

namespace {

constexpr uint64_t kHalfExponent = uint64_t{1022} << 52;

// The biased exponent and fraction bits of a non-zero finite x, a subnormal
// one normalised: |x| = 1.fraction * 2^(exponent - 1023), with exponent <= 0
// for a subnormal x.
struct Normalised {
  int exponent;
  uint64_t fraction;
};

Normalised normalise(double x) {
  const uint64_t b = dd::bits(x);
  const int e = dd::biased_exponent(x);
  const uint64_t f = b & dd::kFractionBits;
  if (e != 0) return {e, f};
  const int lead = 63 - std::countl_zero(f);  // the highest set bit, 0..51
  return {lead - 51, (f << (52 - lead)) & dd::kFractionBits};
}

// lo * 2^-e for a low part, +0 where that would be subnormal.
double scale_low(double lo, int e) {
  if (lo == 0.0 || std::isnan(lo) || std::isinf(lo)) return lo;
  const Normalised n = normalise(lo);
  const int exponent = n.exponent - e;
  const uint64_t sign = dd::bits(lo) & dd::kSignBit;
  if (exponent <= 0) return 0.0;
  if (exponent >= 2047) return dd::from_bits(sign | uint64_t{2047} << 52);
  return dd::from_bits(sign | static_cast<uint64_t>(exponent) << 52 | n.fraction);
}

}  // namespace

DoubleDouble* _morvex_frexpl(DoubleDouble* res, DoubleDouble x, int32_t* e) {
  if (x.hi == 0.0 || std::isnan(x.hi)) {
    *e = 0;
    return store(res, {0.0, 0.0});
  }
  const Normalised n = normalise(x.hi);
  const int exponent = n.exponent - 1022;
  const uint64_t sign = dd::bits(x.hi) & dd::kSignBit;
  *e = exponent;
  return store(res, {dd::from_bits(sign | kHalfExponent | n.fraction), scale_low(x.lo, exponent)});
}

DoubleDouble* _morvex_ldexpl(DoubleDouble* res, DoubleDouble x, int32_t n) {
  return store(res, {dd::scale_pow2(x.hi, n), dd::scale_pow2(x.lo, n)});
}
