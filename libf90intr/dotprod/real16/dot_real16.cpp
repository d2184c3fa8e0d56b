// DOT_PRODUCT with a REAL*16 or COMPLEX*32 operand, in double-double
// arithmetic: every product that of _morvex_qmul of the two widened factors
// (the factor from A first), every addition to a running sum that of
// _morvex_qadd (sum first, term second), the conjugated imaginary term of a
// complex A with a real B subtracted as by _morvex_qsub, a complex-by-complex
// term formed by _morvex_qadd (real part) and _morvex_qsub (imaginary part)
// before it is added. The operations are libf90elem's own source (real16/
// dd.h) inlined into this SSE2-double translation unit, so the bits are
// those of the exported routines whatever the caller's control word. REAL*4, REAL*8 and INTEGER*4 values widen to (value, +0);
// INTEGER*8 values by _morvex_ll2q.
//
// Where a routine's running sums are REAL*8 or REAL*4 variables (those with
// a COMPLEX*8 or COMPLEX*16 side and a REAL*16 or COMPLEX*32 other side,
// except with COMPLEX*32 first), each term is added to (s, +0) and only the
// high part of the new sum is kept (rounded to REAL*4 for the COMPLEX*8
// ones); the result's parts are then (s, +0), and _DOT_C4Z writes its two
// REAL*4 sums as a COMPLEX*8.
//
// _DOT_DS and _DOT_SD read each operand by its own int_len (128 bits as
// REAL*16, 64 as REAL*8; any other length as the letter in the name says),
// so either operand order of a caller gives the same value. The routines
// with an INTEGER*4 side read it by its int_len (32, 16 or any other: 4, 2
// or 1 bytes), as the integer entries do.
//
// The results are exact double-double sums and products under the control
// word the double-double arithmetic expects (round to nearest, 53 bits).
#include "dotprod/dot.h"
#include "f90/dotprod.h"
#include "real16/dd.h"

using namespace f90::dot;
using AD = ArrayDescriptor;
namespace f90::dot {

// Double-double arithmetic: libf90elem's operations, inlined (always: an
// out-of-line function returning a struct would pop its hidden pointer).
struct DD {
  using V = DoubleDouble;
  template <class K>
  MORVEX_DD_INLINE static auto read(const char* p) { return K::dd(p); }
  MORVEX_DD_INLINE static V zero() { return {0.0, 0.0}; }
  MORVEX_DD_INLINE static V mul(V x, V y) { return morvex::dd::mul(x, y); }
  MORVEX_DD_INLINE static V add(V x, V y) { return morvex::dd::add(x, y); }
  MORVEX_DD_INLINE static V sub(V x, V y) { return morvex::dd::sub(x, y); }
};

// A REAL*8 or REAL*4 running sum: each new sum is the double-double sum of
// (s, +0) and the term, of which only the high part is kept (REAL*4: rounded
// to REAL*4 in the caller's rounding mode, by the x87 unit).
template <class T>
struct Stored<DD, T> {
  T s = 0;
  void add(const DoubleDouble& t) { s = keep(DD::add({static_cast<double>(s), 0.0}, t)); }
  void sub(const DoubleDouble& t) { s = keep(DD::sub({static_cast<double>(s), 0.0}, t)); }
  static T keep(const DoubleDouble& v) {
    if constexpr (sizeof(T) == 4)
      return x87_round<float>(v.hi);
    else
      return v.hi;
  }
};

}  // namespace f90::dot

// Parts of a REAL*16 or COMPLEX*32 result.
using Q = f90::DoubleDouble;
using RD = Register<DD>;
using R8 = Stored<DD, double>;
using R4 = Stored<DD, float>;

namespace {

// The REAL*16 result slot from a double-double sum.
DoubleDouble* deliver_real(DoubleDouble* slot, const RD& sum) {
  std::memcpy(slot, &sum.s, sizeof *slot);
  return slot;
}

template <class KA, class KB>
DoubleDouble* real16_kernel(DoubleDouble* slot, const AD* a, const AD* b) {
  return deliver_real(slot, real_dot<DD, KA, KB, RD>(a, b));
}

// f(kind) with the INTEGER kind that the operand's int_len says.
template <class F>
auto with_integer(const AD* d, F&& f) {
  switch (width_of(d)) {
    case Width::w4: return f(I4{});
    case Width::w2: return f(I2{});
    default: return f(I1{});
  }
}

// f(kind) with REAL*16 for int_len 128, REAL*8 for 64, Default otherwise.
template <class Default, class F>
auto with_real(const AD* d, F&& f) {
  const uint32_t bits = int_len(d);
  if (bits == 128) return f(D{});
  if (bits == 64) return f(S{});
  return f(Default{});
}

}  // namespace

// clang-format off
F90_API DoubleDouble* dot_dd(DoubleDouble* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_DD);
F90_API DoubleDouble* dot_ds(DoubleDouble* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_DS);
F90_API DoubleDouble* dot_sd(DoubleDouble* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_SD);
F90_API DoubleDouble* dot_ds4(DoubleDouble* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_DS4);
F90_API DoubleDouble* dot_s4d(DoubleDouble* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_S4D);
F90_API DoubleDouble* dot_di4(DoubleDouble* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_DI4);
F90_API DoubleDouble* dot_i4d(DoubleDouble* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_I4D);
F90_API DoubleDouble* dot_dj(DoubleDouble* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_DJ);
F90_API DoubleDouble* dot_jd(DoubleDouble* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_JD);
F90_API Complex32* dot_c4d(Complex32* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_C4D);
F90_API Complex32* dot_cd(Complex32* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_CD);
F90_API Complex32* dot_zd(Complex32* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_ZD);
F90_API Complex32* dot_zi4(Complex32* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_ZI4);
F90_API Complex32* dot_dc4(Complex32* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_DC4);
F90_API Complex32* dot_dc(Complex32* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_DC);
F90_API Complex32* dot_dz(Complex32* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_DZ);
F90_API Complex32* dot_i4z(Complex32* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_I4Z);
F90_API Complex32* dot_zz(Complex32* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_ZZ);
F90_API Complex32* dot_zc4(Complex32* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_ZC4);
F90_API Complex32* dot_zc(Complex32* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_ZC);
F90_API Complex32* dot_cz(Complex32* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_CZ);
F90_API Complex8* dot_c4z(Complex8* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_C4Z);

DoubleDouble* dot_dd(DoubleDouble* r, const AD* a, const AD* b) { return real16_kernel<D, D>(r, a, b); }
DoubleDouble* dot_ds(DoubleDouble* r, const AD* a, const AD* b) {
  return with_real<D>(a, [&](auto ka) { return with_real<S>(b, [&](auto kb) { return real16_kernel<decltype(ka), decltype(kb)>(r, a, b); }); });
}
DoubleDouble* dot_sd(DoubleDouble* r, const AD* a, const AD* b) {
  return with_real<S>(a, [&](auto ka) { return with_real<D>(b, [&](auto kb) { return real16_kernel<decltype(ka), decltype(kb)>(r, a, b); }); });
}
DoubleDouble* dot_ds4(DoubleDouble* r, const AD* a, const AD* b) { return real16_kernel<D, S4>(r, a, b); }
DoubleDouble* dot_s4d(DoubleDouble* r, const AD* a, const AD* b) { return real16_kernel<S4, D>(r, a, b); }
DoubleDouble* dot_di4(DoubleDouble* r, const AD* a, const AD* b) {
  return with_integer(b, [&](auto k) { return real16_kernel<D, decltype(k)>(r, a, b); });
}
DoubleDouble* dot_i4d(DoubleDouble* r, const AD* a, const AD* b) {
  return with_integer(a, [&](auto k) { return real16_kernel<decltype(k), D>(r, a, b); });
}
DoubleDouble* dot_dj(DoubleDouble* r, const AD* a, const AD* b) { return real16_kernel<D, J>(r, a, b); }
DoubleDouble* dot_jd(DoubleDouble* r, const AD* a, const AD* b) { return real16_kernel<J, D>(r, a, b); }

Complex32* dot_c4d(Complex32* r, const AD* a, const AD* b) { return complex_kernel<Q, DD, C4, D, R4>(r, a, b); }
Complex32* dot_cd(Complex32* r, const AD* a, const AD* b) { return complex_kernel<Q, DD, C, D, R8>(r, a, b); }
Complex32* dot_zd(Complex32* r, const AD* a, const AD* b) { return complex_kernel<Q, DD, Z, D, RD>(r, a, b); }
Complex32* dot_zi4(Complex32* r, const AD* a, const AD* b) {
  return with_integer(b, [&](auto k) { return complex_kernel<Q, DD, Z, decltype(k), RD>(r, a, b); });
}
Complex32* dot_dc4(Complex32* r, const AD* a, const AD* b) { return complex_kernel<Q, DD, D, C4, R4>(r, a, b); }
Complex32* dot_dc(Complex32* r, const AD* a, const AD* b) { return complex_kernel<Q, DD, D, C, R8>(r, a, b); }
Complex32* dot_dz(Complex32* r, const AD* a, const AD* b) { return complex_kernel<Q, DD, D, Z, RD>(r, a, b); }
Complex32* dot_i4z(Complex32* r, const AD* a, const AD* b) {
  return with_integer(a, [&](auto k) { return complex_kernel<Q, DD, decltype(k), Z, RD>(r, a, b); });
}
Complex32* dot_zz(Complex32* r, const AD* a, const AD* b) { return complex_kernel<Q, DD, Z, Z, RD>(r, a, b); }
Complex32* dot_zc4(Complex32* r, const AD* a, const AD* b) { return complex_kernel<Q, DD, Z, C4, RD>(r, a, b); }
Complex32* dot_zc(Complex32* r, const AD* a, const AD* b) { return complex_kernel<Q, DD, Z, C, RD>(r, a, b); }
Complex32* dot_cz(Complex32* r, const AD* a, const AD* b) { return complex_kernel<Q, DD, C, Z, R8>(r, a, b); }
Complex8* dot_c4z(Complex8* r, const AD* a, const AD* b) { return complex_kernel<float, DD, C4, Z, R4>(r, a, b); }
// clang-format on
