// DOT_PRODUCT of REAL*4, REAL*8, COMPLEX*8 and COMPLEX*16 operands, in the
// x87 unit under the caller's control word.
//
// Each product is one x87 multiplication of the two exactly loaded factors;
// a complex-by-complex term (A conjugated) is formed completely before it is
// added. The running sums are x87 registers for the whole loop, rounded once
// at the end to the result's kind; a REAL result is returned in st(0)
// unrounded. Three routines keep REAL*4 sums instead, rounded after every
// term: _DOT_C4C, _DOT_C4S (COMPLEX*8 results) and _DOT_SC4, which widens
// its two REAL*4 sums exactly into a COMPLEX*16 result.
//
// _DOT_CC runs its terms in the two lanes of SSE2 registers (real part,
// imaginary part) under a 53-bit control word, and keeps that result only
// where it is the x87's (internal/sse2_exact.h: no result left the normal
// range, no NaN); otherwise the x87 loop computes it from the start. A lane
// forms Re A Re B + Im A Im B and Re A Im B + (-(Im A Re B)), which is the
// x87's Re A Im B - Im A Re B in every rounding mode, and adds it to its sum:
// the same operations in the same order, one running sum per part.
#include <emmintrin.h>

#include <cmath>

#include "dotprod/dot.h"
#include "f90/dotprod.h"
#include "sse2_exact.h"

using namespace f90::dot;
using AD = ArrayDescriptor;
using R = Register<X87>;
using R4 = Stored<X87, float>;

namespace {

// The terms of _DOT_CC in SSE2 lanes: (re, im) summed over all n terms.
[[gnu::target("sse2")]] void dot_cc_sse2(const Operands& o, long double& re, long double& im) {
  const ptrdiff_t da = byte_step(o.a_step, 16), db = byte_step(o.b_step, 16);
  const char* pa = o.a;
  const char* pb = o.b;
  const __m128d flip_im = _mm_set_pd(-0.0, 0.0);
  __m128d sum = _mm_setzero_pd();
  for (int32_t k = 0; k < o.n; ++k, pa += da, pb += db) {
    const __m128d x = _mm_loadu_pd(reinterpret_cast<const double*>(pa));
    const __m128d y = _mm_loadu_pd(reinterpret_cast<const double*>(pb));
    const __m128d p1 = _mm_mul_pd(_mm_unpacklo_pd(x, x), y);
    const __m128d p2 = _mm_mul_pd(_mm_unpackhi_pd(x, x), _mm_shuffle_pd(y, y, 1));
    sum = _mm_add_pd(sum, _mm_add_pd(p1, _mm_xor_pd(p2, flip_im)));
  }
  double parts[2];
  _mm_storeu_pd(parts, sum);
  re = parts[0];
  im = parts[1];
}

}  // namespace

// clang-format off
F90_API long double dot_s4s4(const AD* a, const AD* b) F90_SYMBOL(_DOT_S4S4);
F90_API long double dot_s4s(const AD* a, const AD* b) F90_SYMBOL(_DOT_S4S);
F90_API long double dot_ss4(const AD* a, const AD* b) F90_SYMBOL(_DOT_SS4);
F90_API long double dot_ss(const AD* a, const AD* b) F90_SYMBOL(_DOT_SS);
F90_API Complex8* dot_c4c4(Complex8* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_C4C4);
F90_API Complex8* dot_c4c(Complex8* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_C4C);
F90_API Complex16* dot_cc4(Complex16* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_CC4);
F90_API Complex16* dot_cc(Complex16* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_CC);
F90_API Complex8* dot_c4s4(Complex8* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_C4S4);
F90_API Complex8* dot_c4s(Complex8* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_C4S);
F90_API Complex16* dot_cs4(Complex16* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_CS4);
F90_API Complex16* dot_cs(Complex16* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_CS);
F90_API Complex8* dot_s4c4(Complex8* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_S4C4);
F90_API Complex16* dot_s4c(Complex16* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_S4C);
F90_API Complex16* dot_sc4(Complex16* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_SC4);
F90_API Complex16* dot_sc(Complex16* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_SC);

long double dot_s4s4(const AD* a, const AD* b) { return real_dot<X87, S4, S4, R>(a, b).s; }
long double dot_s4s(const AD* a, const AD* b) { return real_dot<X87, S4, S, R>(a, b).s; }
long double dot_ss4(const AD* a, const AD* b) { return real_dot<X87, S, S4, R>(a, b).s; }
long double dot_ss(const AD* a, const AD* b) { return real_dot<X87, S, S, R>(a, b).s; }
Complex8* dot_c4c4(Complex8* r, const AD* a, const AD* b) { return complex_kernel<float, X87, C4, C4, R>(r, a, b); }
Complex8* dot_c4c(Complex8* r, const AD* a, const AD* b) { return complex_kernel<float, X87, C4, C, R4>(r, a, b); }
Complex16* dot_cc4(Complex16* r, const AD* a, const AD* b) { return complex_kernel<double, X87, C, C4, R>(r, a, b); }
Complex16* dot_cc(Complex16* r, const AD* a, const AD* b) {
  const Operands o = predot(a, b);
  x87::Sse2AsX87 mode;
  if (o.n > 0 && mode.begin()) {
    Sums<R> sums;
    dot_cc_sse2(o, sums.re.s, sums.im.s);
    if (mode.end(std::isnan(sums.re.s) || std::isnan(sums.im.s))) return deliver<double>(r, sums);
  }
  return deliver<double>(r, complex_run<X87, C, C>(o, Sums<R>{}));
}
Complex8* dot_c4s4(Complex8* r, const AD* a, const AD* b) { return complex_kernel<float, X87, C4, S4, R>(r, a, b); }
Complex8* dot_c4s(Complex8* r, const AD* a, const AD* b) { return complex_kernel<float, X87, C4, S, R4>(r, a, b); }
Complex16* dot_cs4(Complex16* r, const AD* a, const AD* b) { return complex_kernel<double, X87, C, S4, R>(r, a, b); }
Complex16* dot_cs(Complex16* r, const AD* a, const AD* b) { return complex_kernel<double, X87, C, S, R>(r, a, b); }
Complex8* dot_s4c4(Complex8* r, const AD* a, const AD* b) { return complex_kernel<float, X87, S4, C4, R>(r, a, b); }
Complex16* dot_s4c(Complex16* r, const AD* a, const AD* b) { return complex_kernel<double, X87, S4, C, R>(r, a, b); }
Complex16* dot_sc4(Complex16* r, const AD* a, const AD* b) { return complex_kernel<double, X87, S, C4, R4>(r, a, b); }
Complex16* dot_sc(Complex16* r, const AD* a, const AD* b) { return complex_kernel<double, X87, S, C, R>(r, a, b); }
// clang-format on
