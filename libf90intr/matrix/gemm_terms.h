// The element kinds of the GEMM and GEMV kernels whose arithmetic runs in
// the x87 unit or in integer registers (kinds in the sense of
// matrix/kernel.h).
//
// Real and complex (x87): elements are loaded exactly (integers by an
// integer load after sign extension); products and sums run at the
// precision and in the rounding mode of the caller's control word. The
// running value is an x87 register value (long double): the inner-product
// order rounds it once, at the store; the column order at every store. A
// multiplier passes the column order's test when it compares ordered and
// unequal with zero: +-0 and NaN are skipped, +-Inf is used; a complex
// multiplier passes when either part does. Each term is one x87 product
// added to the running value, s + a.b; the column order's b.a + c is the
// same operation (both are commutative, NaN propagation included).
//
// Integer: 32-bit two's-complement products and sums that wrap (64-bit for
// INTEGER*8, each product the low 64 bits of the two's-complement product,
// the bits _morvex_lmul returns), stored cut to C's width; a multiplier is
// skipped exactly when it is 0.
//
// Logical: raw bit patterns; C(i,j) is the OR of A(i,l) over every l whose
// B(l,j) has a nonzero bit at B's width (the low word only for LOGICAL*8).
// With a LOGICAL*8 A and C the low words are ORed, A's high word is never
// read and C's high word is 0.
#pragma once

#include <cstdint>
#include <type_traits>

#include "common/element_arith.h"
#include "x87.h"

namespace f90::matrix {

// An element of a real or integer kind as an exact x87 value: INTEGER*1
// and INTEGER*2 sign-extended to 32 bits first.
template <class V>
inline long double x87_value(V v) {
  if constexpr (std::is_integral_v<V>)
    return static_cast<long double>(int32_t{v});
  else
    return static_cast<long double>(v);
}

// Real A (REAL*4/8 or INTEGER*1/2/4), REAL*4/8 B; C has B's kind.
template <class TA, class TB>
struct RealKind {
  using A = TA;
  using B = TB;
  using C = TB;
  using Acc = long double;
  using Factor = long double;
  static constexpr int32_t kSa = sizeof(A), kSb = sizeof(B);

  static Acc zero() { return 0.0L; }
  static Acc load(const C& c) { return c; }
  static C store(const Acc& s) { return x87::round_to<C>(s); }
  static bool passes(const B& b) { return x87_nonzero(b); }
  static Factor factor(const B& b) { return b; }
  static void term(Acc& s, const A& a, const Factor& b) { s = s + x87_value(a) * b; }
};

// COMPLEX*8 and COMPLEX*16 (T the part's type), no conjugation: the real
// part gains ar.br - ai.bi, the imaginary part ar.bi + ai.br.
template <class T>
struct ComplexKind {
  struct Pair {
    T re, im;
  };
  struct Value {
    long double re, im;
  };
  using A = Pair;
  using B = Pair;
  using C = Pair;
  using Acc = Value;
  using Factor = Value;
  static constexpr int32_t kSa = sizeof(Pair), kSb = sizeof(Pair);

  static Acc zero() { return {0.0L, 0.0L}; }
  static Acc load(const C& c) { return {c.re, c.im}; }
  static C store(const Acc& s) { return {x87::round_to<T>(s.re), x87::round_to<T>(s.im)}; }
  static bool passes(const B& b) { return x87_nonzero(b.re) || x87_nonzero(b.im); }
  static Factor factor(const B& b) { return {b.re, b.im}; }
  static void term(Acc& s, const A& a, const Factor& b) {
    const long double ar = a.re, ai = a.im;
    s.re = s.re + (ar * b.re - ai * b.im);
    s.im = s.im + (ar * b.im + ai * b.re);
  }
};

// INTEGER*1/2/4 A and B (C has A's kind, the wider one): 32-bit wrapping.
template <class TA, class TB>
struct IntegerKind {
  using A = TA;
  using B = TB;
  using C = TA;
  using Acc = uint32_t;
  using Factor = uint32_t;
  static constexpr int32_t kSa = sizeof(A), kSb = sizeof(B);

  static Acc zero() { return 0; }
  static Acc load(const C& c) { return static_cast<uint32_t>(int32_t{c}); }
  static C store(const Acc& s) { return static_cast<C>(s); }
  static bool passes(const B& b) { return b != 0; }
  static Factor factor(const B& b) { return static_cast<uint32_t>(int32_t{b}); }
  static void term(Acc& s, const A& a, const Factor& b) { s += static_cast<uint32_t>(int32_t{a}) * b; }
};

// INTEGER*8 A, INTEGER*8/4/2/1 B sign-extended to 64 bits; sums modulo 2^64.
template <class TB>
struct Integer8Kind {
  using A = int64_t;
  using B = TB;
  using C = int64_t;
  using Acc = uint64_t;
  using Factor = uint64_t;
  static constexpr int32_t kSa = 8, kSb = sizeof(B);

  static Acc zero() { return 0; }
  static Acc load(const C& c) { return static_cast<uint64_t>(c); }
  static C store(const Acc& s) { return static_cast<int64_t>(s); }
  static bool passes(const B& b) { return b != 0; }
  static Factor factor(const B& b) { return static_cast<uint64_t>(int64_t{b}); }
  static void term(Acc& s, const A& a, const Factor& b) { s += static_cast<uint64_t>(a) * b; }
};

// LOGICAL A of WA bytes (C the same), LOGICAL B of WB bytes; column order
// only, so the running value is C's carrying word taken up from memory.
template <uint32_t WA, uint32_t WB>
struct LogicalKind {
  // The element as raw bits, and the word that carries its value: the whole
  // element, or the low word of a LOGICAL*8.
  template <uint32_t W>
  using Bits = std::conditional_t<W == 1, uint8_t,
                                  std::conditional_t<W == 2, uint16_t,
                                                     std::conditional_t<W == 4, uint32_t, uint64_t>>>;
  template <uint32_t W>
  using Word = std::conditional_t<W == 8, uint32_t, Bits<W>>;
  using A = Bits<WA>;
  using B = Bits<WB>;
  using C = Bits<WA>;
  using Acc = Word<WA>;
  using Factor = bool;
  static constexpr int32_t kSa = WA, kSb = WB;

  static Acc zero() { return 0; }
  static Acc load(const C& c) { return static_cast<Acc>(c); }
  static C store(const Acc& s) { return s; }  // a LOGICAL*8's high word 0
  static bool passes(const B& b) { return static_cast<Word<WB>>(b) != 0; }
  static Factor factor(const B&) { return true; }
  static void term(Acc& s, const A& a, const Factor&) { s |= static_cast<Acc>(a); }
};

}  // namespace f90::matrix
