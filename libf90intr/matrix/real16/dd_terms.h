// The element arithmetic of the REAL*16 and COMPLEX*32 kernels (the Terms
// classes of matrix/gemm_loops.h).
//
// Arithmetic: the double-double operations of libf90elem, inlined from the
// same source (internal real16/dd.h) into translation units compiled for
// SSE2 double arithmetic like libf90elem's own: every product and sum has
// the bits that _morvex_qmul and _morvex_qadd give, whatever the caller's
// x87 control word. Each product is one double-double multiply with the A
// factor first, each sum one double-double add with the running value
// first; the inner-product order adds every term, the column order adds C
// and the term and stores at once.
//
// Widening: an operand that is not REAL*16 becomes a double-double at each
// use, exactly: REAL*8 v as (v, 0), REAL*4 as its REAL*8 value, INTEGER*4/2/1
// sign-extended and converted to REAL*8 (exact), INTEGER*8 through
// _morvex_ll2q.
//
// Multipliers of the column order: a REAL*16 b is used when _morvex_qcmp(b, 0)
// reports neither equal nor unordered, so zero and any b whose high part is
// infinite or NaN are skipped; a REAL*8 or REAL*4 b is used when it is
// ordered and not zero (an infinite b is used); a COMPLEX*32 b when either
// part passes the REAL*16 test.
#pragma once

#include <cstdint>

#include "common/elem_calls.h"
#include "matrix/gemm_terms.h"
#include "real16/dd.h"

namespace f90::matmul::real16 {

using morvex::Complex32;
using DD = morvex::DoubleDouble;

inline constexpr DD kZero{0.0, 0.0};
inline constexpr DD kOne{1.0, 0.0};

// The bit the kernels read of _morvex_qcmp: set for equal and unordered.
inline bool qcmp_equal(const DD& x, const DD& y) { return (_morvex_qcmp(x, y) & 0x4000) != 0; }

// Exact widening of one element to REAL*16.
inline DD widen(const DD& v) { return v; }
inline DD widen(double v) { return {v, 0.0}; }
inline DD widen(float v) { return {static_cast<double>(v), 0.0}; }
inline DD widen(int32_t v) { return {static_cast<double>(v), 0.0}; }
inline DD widen(int16_t v) { return {static_cast<double>(v), 0.0}; }
inline DD widen(int8_t v) { return {static_cast<double>(v), 0.0}; }
inline DD widen(int64_t v) {
  DD r;
  _morvex_ll2q(&r, v);
  return r;
}

// The column order's test of a multiplier.
inline bool nonzero(const DD& b) { return !qcmp_equal(b, kZero); }
inline bool nonzero(double b) { return __builtin_islessgreater(b, 0.0); }
inline bool nonzero(float b) { return __builtin_islessgreater(b, 0.0f); }
inline bool nonzero(const Complex32& b) { return nonzero(b.re) || nonzero(b.im); }

// acc + a.b: one multiply (A factor first), one add (running value first).
inline void multiply_add(DD& acc, const DD& a, const DD& b) {
  acc = morvex::dd::add(acc, morvex::dd::mul(a, b));
}

// One COMPLEX*32 term a.b added to acc, no conjugation, as eight operations:
// ai.bi, ar.br, their difference, br.ai, ar.bi, their sum, then the real and
// the imaginary accumulation.
inline void multiply_add(Complex32& acc, const Complex32& a, const Complex32& b) {
  namespace dd = morvex::dd;
  const DD p1 = dd::mul(a.im, b.im);
  const DD p2 = dd::mul(a.re, b.re);
  const DD r = dd::sub(p2, p1);
  const DD p3 = dd::mul(b.re, a.im);
  const DD p4 = dd::mul(a.re, b.im);
  const DD t = dd::add(p4, p3);
  acc.re = dd::add(acc.re, r);
  acc.im = dd::add(acc.im, t);
}

// A of type TA times B of type TB, both widened to W (REAL*16 or COMPLEX*32),
// C of type W.
template <class TA, class TB, class W = DD>
struct WideTerms {
  static constexpr uint32_t kA = sizeof(TA), kB = sizeof(TB), kC = sizeof(W);
  using Sum = W;
  using Multiplier = W;
  static Sum zero() { return Sum{}; }
  static W a_value(const char* pa) {
    if constexpr (std::is_same_v<W, DD>) return widen(load<TA>(pa)); else return load<TA>(pa);
  }
  static void add(Sum& s, const char* pa, const char* pb) {
    if constexpr (std::is_same_v<W, DD>)
      multiply_add(s, a_value(pa), widen(load<TB>(pb)));
    else
      multiply_add(s, a_value(pa), load<TB>(pb));
  }
  static void store(char* pc, const Sum& s) { store_bits(pc, s); }
  static void store_zero(char* pc) { store_bits(pc, W{}); }
  static bool multiplier(const char* pb, Multiplier& mu) {
    const TB b = load<TB>(pb);
    if (!nonzero(b)) return false;
    if constexpr (std::is_same_v<W, DD>) mu = widen(b); else mu = b;
    return true;
  }
  static void update(char* pc, const char* pa, const Multiplier& mu) {
    W c = load<W>(pc);
    multiply_add(c, a_value(pa), mu);
    store_bits(pc, c);
  }
};

using Complex32Terms = WideTerms<Complex32, Complex32, Complex32>;

}  // namespace f90::matmul::real16
