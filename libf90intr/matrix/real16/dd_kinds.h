// Element kinds of the REAL*16 and COMPLEX*32 matrix kernels.
//
// Arithmetic: the double-double operations of libf90elem, inlined from the
// same source (internal real16/dd.h) into translation units compiled for SSE2 double
// arithmetic like libf90elem's own: every product and sum has the bits that
// _morvex_qmul and _morvex_qadd give, whatever the caller's x87 control word.
// Each product is one double-double multiply with the A factor first, each
// sum one double-double add with the running value first.
//
// Widening: an operand that is not REAL*16 becomes a double-double at each
// use, exactly: REAL*8 v as (v, 0), REAL*4 as its REAL*8 value, INTEGER*4/2/1
// sign-extended and converted to REAL*8 (exact), INTEGER*8 through
// _morvex_ll2q.
//
// Nonzero tests of a B element in column order: a REAL*16 b is used when
// _morvex_qcmp(b, 0) reports neither equal nor unordered, so zero and any b
// whose high part is infinite or NaN are skipped; a REAL*8 or REAL*4 b is
// used when it is ordered and not zero (an infinite b is used).
#pragma once

#include <cstdint>

#include "real16/dd.h"
#include "common/elem_calls.h"

namespace f90::matrix::real16 {

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

// Column order's test of a multiplier.
inline bool nonzero(const DD& b) { return !qcmp_equal(b, kZero); }
inline bool nonzero(double b) { return __builtin_islessgreater(b, 0.0); }
inline bool nonzero(float b) { return __builtin_islessgreater(b, 0.0f); }
inline bool nonzero(const Complex32& b) { return nonzero(b.re) || nonzero(b.im); }

// acc + a.b: one multiply (A factor first) and one add (running value first).
inline void multiply_add(DD& acc, const DD& a, const DD& b) {
  acc = morvex::dd::add(acc, morvex::dd::mul(a, b));
}

// One COMPLEX*32 term a.b added to acc, no conjugation, in the order of
// eight calls: ai.bi, ar.br, their difference, br.ai, ar.bi, their sum, then
// the real and the imaginary accumulation.
inline void complex_multiply_add(Complex32& acc, const Complex32& a, const Complex32& b) {
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

// A REAL*16 GEMM kind: A of type TA and B of type TB widened, C REAL*16.
template <class TA, class TB>
struct Real16Gemm {
  using A = TA;
  using B = TB;
  using C = DD;
  using Acc = DD;
  using Factor = DD;
  static constexpr int32_t kSa = sizeof(TA);
  static constexpr int32_t kSb = sizeof(TB);
  static Acc zero() { return kZero; }
  static Acc load(const C& c) { return c; }
  static C store(const Acc& s) { return s; }
  static bool passes(const B& b) { return nonzero(b); }
  static Factor factor(const B& b) { return widen(b); }
  static void term(Acc& s, const A& a, const Factor& b) { multiply_add(s, widen(a), b); }
};

// COMPLEX*32 by COMPLEX*32.
struct Complex32Gemm {
  using A = Complex32;
  using B = Complex32;
  using C = Complex32;
  using Acc = Complex32;
  using Factor = Complex32;
  static constexpr int32_t kSa = 32;
  static constexpr int32_t kSb = 32;
  static Acc zero() { return {kZero, kZero}; }
  static Acc load(const C& c) { return c; }
  static C store(const Acc& s) { return s; }
  static bool passes(const B& b) { return nonzero(b); }
  static Factor factor(const B& b) { return b; }
  static void term(Acc& s, const A& a, const Factor& b) { complex_multiply_add(s, a, b); }
};

}  // namespace f90::matrix::real16
