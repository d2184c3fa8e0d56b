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
#include "matrix/kernel.h"
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

// Stores an x87 value at p rounded to T (REAL*4 or REAL*8) by the store
// instruction itself, in the caller's rounding mode: the stored bits are
// the only form of the value the compiler sees afterwards.
template <class T>
inline void store_rounded(uintptr_t p, long double v) {
  T* q = reinterpret_cast<T*>(p);
  if constexpr (sizeof(T) == 8)
    __asm__("fstpl %0" : "=m"(*q) : "t"(v) : "st");
  else
    __asm__("fstps %0" : "=m"(*q) : "t"(v) : "st");
}

// The running values of a 2 x 2 tile of C over k = 1..K (K >= 1), each
// started from +0 and taking s + A(i,k).B(k,j) term by term, held in four
// x87 registers: the instructions a compiler would emit for the plain
// loop, without its spills of the running values to memory between terms.
// LDA loads an A element (flds, fldl, fildl, filds), MULB multiplies by a
// B element in memory (fmuls, fmull). out: s00, s10, s01, s11.
#define F90_TILE22_LOOP(LDA, MULB)                                                           \
  "fldz\n\tfldz\n\tfldz\n\tfldz\n"                                                       \
  "1:\n\t" LDA " (%[pa])\n\t" MULB " (%[pb])\n\tfaddp %%st, %%st(1)\n\t"                     \
  LDA " (%[pa],%[da])\n\t" MULB " (%[pb])\n\tfaddp %%st, %%st(2)\n\t"                       \
  LDA " (%[pa])\n\t" MULB " (%[pb],%[db])\n\tfaddp %%st, %%st(3)\n\t"                       \
  LDA " (%[pa],%[da])\n\t" MULB " (%[pb],%[db])\n\tfaddp %%st, %%st(4)\n\t"                 \
  "addl %[ak], %[pa]\n\taddl %[bk], %[pb]\n\tdecl %[k]\n\tjnz 1b\n\t"                        \
  "fstpt %[s0]\n\tfstpt %[s1]\n\tfstpt %[s2]\n\tfstpt %[s3]"

template <class TA, class TB>
inline void x87_tile22(uintptr_t pa, uintptr_t da, uintptr_t ak, uintptr_t pb, uintptr_t db,
                       uintptr_t bk, int32_t k, long double out[4]) {
#define F90_TILE22_OPERANDS                                                                 \
  : [pa] "+r"(pa), [pb] "+r"(pb), [k] "+rm"(k), [s0] "=m"(out[0]), [s1] "=m"(out[1]),      \
    [s2] "=m"(out[2]), [s3] "=m"(out[3])                                                    \
  : [da] "r"(da), [db] "r"(db), [ak] "rm"(ak), [bk] "rm"(bk)                               \
  : "cc", "memory", "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)"
  constexpr bool b8 = sizeof(TB) == 8;
  if constexpr (std::is_same_v<TA, double>) {
    if constexpr (b8) __asm__ volatile(F90_TILE22_LOOP("fldl", "fmull") F90_TILE22_OPERANDS);
    else __asm__ volatile(F90_TILE22_LOOP("fldl", "fmuls") F90_TILE22_OPERANDS);
  } else if constexpr (std::is_same_v<TA, float>) {
    if constexpr (b8) __asm__ volatile(F90_TILE22_LOOP("flds", "fmull") F90_TILE22_OPERANDS);
    else __asm__ volatile(F90_TILE22_LOOP("flds", "fmuls") F90_TILE22_OPERANDS);
  } else if constexpr (std::is_same_v<TA, int32_t>) {
    if constexpr (b8) __asm__ volatile(F90_TILE22_LOOP("fildl", "fmull") F90_TILE22_OPERANDS);
    else __asm__ volatile(F90_TILE22_LOOP("fildl", "fmuls") F90_TILE22_OPERANDS);
  } else {
    static_assert(std::is_same_v<TA, int16_t>);
    if constexpr (b8) __asm__ volatile(F90_TILE22_LOOP("filds", "fmull") F90_TILE22_OPERANDS);
    else __asm__ volatile(F90_TILE22_LOOP("filds", "fmuls") F90_TILE22_OPERANDS);
  }
#undef F90_TILE22_OPERANDS
}
#undef F90_TILE22_LOOP

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
  static void put(uintptr_t p, const Acc& s) { store_rounded<C>(p, s); }
  static bool passes(const B& b) { return x87_nonzero(b); }
  static Factor factor(const B& b) { return b; }
  static void term(Acc& s, const A& a, const Factor& b) { s = s + x87_value(a) * b; }
  // INTEGER*1 has no x87 load: it takes the plain loop.
  static constexpr bool kTile22 = !std::is_same_v<A, int8_t>;
  static void tile22(uintptr_t pa, uintptr_t da, uintptr_t ak, uintptr_t pb, uintptr_t db,
                     uintptr_t bk, int32_t k, Acc out[4]) requires kTile22 {
    x87_tile22<A, B>(pa, da, ak, pb, db, bk, k, out);
  }
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
  static void put(uintptr_t p, const Acc& s) {
    store_rounded<T>(p, s.re);
    store_rounded<T>(p + sizeof(T), s.im);
  }
  static bool passes(const B& b) { return x87_nonzero(b.re) || x87_nonzero(b.im); }
  static Factor factor(const B& b) { return {b.re, b.im}; }
  static void term(Acc& s, const A& a, const Factor& b) {
    const long double ar = a.re, ai = a.im;
    s.re = s.re + (ar * b.re - ai * b.im);
    s.im = s.im + (ar * b.im + ai * b.re);
  }
};

// A complex element is read part by part (each part straight into the x87
// unit), not as one 8- or 16-byte block, which would go through integer
// registers and stall the part loads behind it.
template <>
inline ComplexKind<double>::Pair load_elem<ComplexKind<double>::Pair>(uintptr_t p) {
  return {load_elem<double>(p), load_elem<double>(p + 8)};
}
template <>
inline ComplexKind<float>::Pair load_elem<ComplexKind<float>::Pair>(uintptr_t p) {
  return {load_elem<float>(p), load_elem<float>(p + 4)};
}

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
