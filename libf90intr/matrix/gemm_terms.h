// The element arithmetic of the GEMM and GEMV kernels whose work runs in
// the x87 unit or in integer registers (the Terms classes of gemm_loops.h).
//
// Real and complex (x87): elements are loaded exactly (integers by an
// integer load after sign extension); products and sums run at the
// precision and in the rounding mode of the caller's control word. The
// inner-product order keeps its running sums in x87 registers (long double)
// and rounds once, at the store; the column order rounds to C's kind at
// every store. A multiplier passes the column order's test when it compares
// ordered and unequal with zero: +-0 and NaN are skipped, +-Inf is used; a
// complex multiplier passes when either part does.
//
// Integer: 32-bit two's-complement products and sums that wrap (64-bit for
// INTEGER*8, the low 64 bits of each product), stored cut to C's width; a
// multiplier is skipped exactly when it is 0.
//
// Logical: raw bit patterns; C(i,j) is the OR of A(i,l) over every l whose
// B(l,j) has a nonzero bit at B's width (the low word only for LOGICAL*8).
// With a LOGICAL*8 A and C the low words are ORed, A's high word is never
// read and C's high word stays 0.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "x87.h"

namespace f90::matmul {

template <class V>
inline V load(const char* p) {
  V v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

template <class V>
inline void store_bits(char* p, V v) {
  std::memcpy(p, &v, sizeof v);
}

// An element of a real or integer kind as an exact x87 value: INTEGER*1
// and INTEGER*2 sign-extended to 32 bits first.
template <class V>
inline long double x87_value(const char* p) {
  if constexpr (sizeof(V) < 4 && std::is_integral_v<V>)
    return static_cast<long double>(int32_t{load<V>(p)});
  else
    return static_cast<long double>(load<V>(p));
}

// Rounds x to C's kind as the store does, and stores it.
template <class V>
inline void store_rounded(char* p, long double x) {
  store_bits(p, x87::round_to<V>(x));
}

// The column order's nonzero test of a real multiplier: unordered counts
// as zero.
inline bool x87_nonzero(long double b) { return __builtin_islessgreater(b, 0.0L); }

// Real A (REAL*4/8 or INTEGER*1/2/4), REAL*4/8 B; C has B's kind.
template <class TA, class TB>
struct RealTerms {
  using TC = TB;
  static constexpr uint32_t kA = sizeof(TA), kB = sizeof(TB), kC = sizeof(TC);
  using Sum = long double;
  using Multiplier = long double;

  static Sum zero() { return static_cast<long double>(TC{0}); }
  static void add(Sum& s, const char* pa, const char* pb) {
    s = s + x87_value<TA>(pa) * x87_value<TB>(pb);
  }
  static void store(char* pc, const Sum& s) { store_rounded<TC>(pc, s); }
  static void store_zero(char* pc) { store_bits(pc, TC{0}); }
  static bool multiplier(const char* pb, Multiplier& mu) {
    mu = x87_value<TB>(pb);
    return x87_nonzero(mu);
  }
  static void update(char* pc, const char* pa, const Multiplier& mu) {
    store_rounded<TC>(pc, mu * x87_value<TA>(pa) + x87_value<TC>(pc));
  }
};

// COMPLEX*8 and COMPLEX*16 (T the part's type), no conjugation.
template <class T>
struct ComplexTerms {
  static constexpr uint32_t kA = 2 * sizeof(T), kB = kA, kC = kA;
  struct Sum {
    long double re, im;
  };
  using Multiplier = Sum;

  static Sum zero() { return {static_cast<long double>(T{0}), static_cast<long double>(T{0})}; }
  static void add(Sum& s, const char* pa, const char* pb) {
    const long double ar = x87_value<T>(pa), ai = x87_value<T>(pa + sizeof(T));
    const long double br = x87_value<T>(pb), bi = x87_value<T>(pb + sizeof(T));
    s.re = s.re + (ar * br - ai * bi);
    s.im = s.im + (ar * bi + ai * br);
  }
  static void store(char* pc, const Sum& s) {
    store_rounded<T>(pc, s.re);
    store_rounded<T>(pc + sizeof(T), s.im);
  }
  static void store_zero(char* pc) {
    store_bits(pc, T{0});
    store_bits(pc + sizeof(T), T{0});
  }
  static bool multiplier(const char* pb, Multiplier& mu) {
    mu = {x87_value<T>(pb), x87_value<T>(pb + sizeof(T))};
    return x87_nonzero(mu.re) || x87_nonzero(mu.im);
  }
  static void update(char* pc, const char* pa, const Multiplier& mu) {
    const long double ar = x87_value<T>(pa), ai = x87_value<T>(pa + sizeof(T));
    const long double re = (ar * mu.re - ai * mu.im) + x87_value<T>(pc);
    const long double im = (ai * mu.re + ar * mu.im) + x87_value<T>(pc + sizeof(T));
    store_rounded<T>(pc + sizeof(T), im);
    store_rounded<T>(pc, re);
  }
};

// INTEGER*1/2/4 A and B (C has A's kind, the wider one): 32-bit wrapping.
template <class TA, class TB>
struct IntegerTerms {
  static constexpr uint32_t kA = sizeof(TA), kB = sizeof(TB), kC = sizeof(TA);
  using Sum = uint32_t;
  using Multiplier = uint32_t;

  static uint32_t value_a(const char* p) { return static_cast<uint32_t>(int32_t{load<TA>(p)}); }
  static uint32_t value_b(const char* p) { return static_cast<uint32_t>(int32_t{load<TB>(p)}); }
  static Sum zero() { return 0; }
  static void add(Sum& s, const char* pa, const char* pb) { s += value_a(pa) * value_b(pb); }
  static void store(char* pc, const Sum& s) { store_bits(pc, static_cast<TA>(s)); }
  static void store_zero(char* pc) { store_bits(pc, TA{0}); }
  static bool multiplier(const char* pb, Multiplier& mu) {
    mu = value_b(pb);
    return mu != 0;
  }
  static void update(char* pc, const char* pa, const Multiplier& mu) {
    store_bits(pc, static_cast<TA>(mu * value_a(pa) + value_a(pc)));
  }
};

// INTEGER*8 A, INTEGER*8/4/2/1 B sign-extended to 64 bits: each product is
// the low 64 bits of the two's-complement product (what _morvex_lmul
// returns), sums wrap modulo 2^64.
template <class TB>
struct Integer8Terms {
  static constexpr uint32_t kA = 8, kB = sizeof(TB), kC = 8;
  using Sum = uint64_t;
  using Multiplier = uint64_t;

  static uint64_t value_b(const char* p) { return static_cast<uint64_t>(int64_t{load<TB>(p)}); }
  static Sum zero() { return 0; }
  static void add(Sum& s, const char* pa, const char* pb) {
    s += load<uint64_t>(pa) * value_b(pb);
  }
  static void store(char* pc, const Sum& s) { store_bits(pc, s); }
  static void store_zero(char* pc) { store_bits(pc, uint64_t{0}); }
  static bool multiplier(const char* pb, Multiplier& mu) {
    mu = value_b(pb);
    return mu != 0;
  }
  static void update(char* pc, const char* pa, const Multiplier& mu) {
    store_bits(pc, load<uint64_t>(pc) + load<uint64_t>(pa) * mu);
  }
};

// LOGICAL A of WA bytes (C the same), LOGICAL B of WB bytes; the column
// order only.
template <uint32_t WA, uint32_t WB>
struct LogicalTerms {
  static constexpr uint32_t kA = WA, kB = WB, kC = WA;
  using Multiplier = bool;
  // The word that carries a LOGICAL value of W bytes: the whole element,
  // or the low word of a LOGICAL*8.
  template <uint32_t W>
  using Word = std::conditional_t<W == 1, uint8_t, std::conditional_t<W == 2, uint16_t, uint32_t>>;

  static void store_zero(char* pc) {
    std::memset(pc, 0, WA);
  }
  static bool multiplier(const char* pb, Multiplier& mu) {
    mu = load<Word<WB>>(pb) != 0;
    return mu;
  }
  // The low word of a LOGICAL*8 C is ORed; its high word was zeroed and
  // stays so.
  static void update(char* pc, const char* pa, const Multiplier&) {
    store_bits(pc, static_cast<Word<WA>>(load<Word<WA>>(pc) | load<Word<WA>>(pa)));
  }
};

}  // namespace f90::matmul
