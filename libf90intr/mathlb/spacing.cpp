// SPACING(X): the distance between X and the next number of its kind away
// from zero, 2^(e - digits + 1).
//
// REAL*4 and REAL*8: X * 2^-23 (2^-52) rounded to the kind, with sign and
// significand cleared. On the pattern: multiplying by a power of two moves
// the exponent field E down by 23 (52) exactly while the product stays
// normal; once E <= 23 (52) the product is subnormal or zero (or rounds up to
// the smallest normal), and the result is then the smallest normal number,
// as it is for a zero or subnormal X. An infinity gives +Inf, a NaN stays.
//
// REAL*16: zero (by qcompare with zero) gives (2^-1022, 0); otherwise
// p = qmul(X, (2^-109, 0)) keeps only the exponent field of its high part,
// low part 0, with (2^-1022, 0) for a zero outcome. A NaN X stays and an
// infinity gives +Inf as in the other kinds (qcompare counts both as zero).
#include "mathlb/model.h"

using namespace f90::model;

namespace {

template <class T>
constexpr UIntOf<T> spacing_bits(UIntOf<T> x) {
  using M = Model<T>;
  if (M::is_nan(x)) return x;
  const int e = M::field(x);
  if (e == M::kMaxField) return M::kInf;
  if (e <= M::kFractionBits) return M::kHidden;
  return M::with_field(0, e - M::kFractionBits, 0);
}

Real16Bits spacing16_bits(Real16Bits x) {
  constexpr Real16Bits kMinNormal = {M8::kHidden, 0};
  if (M8::field(x.hi) == M8::kMaxField) return {M8::is_nan(x.hi) ? x.hi : M8::kInf, 0};
  if (_morvex_qcompare(as_dd(x), DoubleDouble{0.0, 0.0}) == 0) return kMinNormal;
  DoubleDouble p;
  _morvex_qmul(&p, as_dd(x), DoubleDouble{std::bit_cast<double>(uint64_t{0x3920000000000000}), 0.0});
  const uint64_t field = as_bits(p).hi & M8::kInf;
  return field == 0 ? kMinNormal : Real16Bits{field, 0};
}

}  // namespace

F90_API long double spacing_4(uint32_t x) F90_SYMBOL(_SPACING_4);
F90_API long double spacing_8(uint64_t x) F90_SYMBOL(_SPACING);
F90_API long double spacing_8_named(uint64_t x) F90_SYMBOL(_SPACING_8);
F90_API Real16Bits* spacing_16(Real16Bits* res, Real16Bits x) F90_SYMBOL(_SPACING_16);

long double spacing_4(uint32_t x) { return to_st0<float>(spacing_bits<float>(x)); }
long double spacing_8(uint64_t x) { return to_st0<double>(spacing_bits<double>(x)); }
long double spacing_8_named(uint64_t x) { return to_st0<double>(spacing_bits<double>(x)); }
Real16Bits* spacing_16(Real16Bits* res, Real16Bits x) { return store(res, spacing16_bits(x)); }
