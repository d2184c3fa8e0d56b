// The ten element kinds of SUM and PRODUCT: accumulator, identity and the
// step that combines one term into the accumulator (the accumulator always
// the left operand).
//
// Each kind K gives:
//   Work                    the accumulator a walk carries from term to term;
//   kBytes                  bytes per element;
//   kRunsMatter             true when the accumulator is rounded at the end of
//                           every innermost run (the walk must then keep the
//                           runs as the source's dimensions make them);
//   identity(w), term(w, p), end_run(w);
//   optionally unmasked(w, p, ps, n): a whole unmasked run at once, for the
//   kinds whose arithmetic is associative (wrapping integers), where the
//   order of the terms cannot change the result.
//   read(p), write(w, p): a running value kept in an element of the kind
//   itself (the forms along DIM): write brings it to the element's format
//   (narrowed, rounded) and stores it, read takes it back.
//   optionally in_place(r, p): read, term and write of one term into the
//   element at r as one step, for the kinds where the x87 can combine the
//   element in memory directly (one load, one operation, one rounding store:
//   the same bits as read, term, write).
//
// - INTEGER*1/2/4: a 32-bit working accumulator (unsigned: every sum and
//   product wraps); INTEGER*1/2 narrow it to their width at the end of every
//   run, which, as the arithmetic is modulo 2^32, never changes the result.
// - INTEGER*8: 64-bit wrapping sum; the product calls _morvex_lmul per term.
// - REAL*4/8: one x87 register value (long double) for the whole call, each
//   term one addition or multiplication rounded as the caller's control word
//   selects, never rounded to the element's format.
// - COMPLEX*8/16: both parts in x87 registers during a run, rounded to the
//   element's format at its end. The product (R, I) x (a, b) forms I*b, R*a,
//   R*b, R*a - I*b, I*a, R*b + I*a, each rounded once, from the old R and I.
// - REAL*16 and COMPLEX*32: the double-double arithmetic of libf90elem, one
//   call per operation, operand order as below; no rounding of their own.
//
// Every operation is the element arithmetic of common/element_arith.h
// (Arith<K>): this table adds the accumulator, the runs and the narrowing
// that SUM and PRODUCT need around it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "common/element_arith.h"
#include "x87.h"

namespace f90::prodsum {

enum class Op { sum, product };

// One term into the accumulator by the kind's arithmetic A.
template <class A, Op O>
inline typename A::Value combine_term(const typename A::Value& w, const char* p) {
  return O == Op::sum ? A::add(w, A::load(p)) : A::mul(w, A::load(p));
}

// A run of n terms into four partial results, combined at the end: only for
// arithmetic where the order of the terms cannot change the result.
template <class W, class Value, class Combine>
inline W four_partials(W w, W identity, const char* p, ptrdiff_t ps, int32_t n, Value value,
                       Combine combine) {
  W a0 = w, a1 = identity, a2 = identity, a3 = identity;
  for (; n >= 4; n -= 4, p += 4 * ps) {
    a0 = combine(a0, value(p));
    a1 = combine(a1, value(p + ps));
    a2 = combine(a2, value(p + 2 * ps));
    a3 = combine(a3, value(p + 3 * ps));
  }
  for (; n > 0; --n, p += ps) a0 = combine(a0, value(p));
  return combine(combine(a0, a1), combine(a2, a3));
}

// INTEGER*1, *2 and *4.
template <class T, Op O>
struct SmallInteger {
  using Work = uint32_t;
  static constexpr uint32_t kBytes = sizeof(T);
  static constexpr bool kRunsMatter = false;
  static constexpr Work kIdentity = O == Op::sum ? 0u : 1u;

  using A = arith::SmallInteger<T>;
  static Work combine(Work a, Work b) { return O == Op::sum ? A::add(a, b) : A::mul(a, b); }
  static Work value(const char* p) { return A::load(p); }
  static void identity(Work& w) { w = kIdentity; }
  static void term(Work& w, const char* p) { w = combine(w, value(p)); }
  // Narrowed to the element's width, widened again with its sign.
  static void end_run(Work& w) { w = static_cast<uint32_t>(int32_t{static_cast<T>(w)}); }
  static void unmasked(Work& w, const char* p, ptrdiff_t ps, int32_t n) {
    w = four_partials(w, kIdentity, p, ps, n, value, combine);
  }
  static int32_t result(const Work& w) { return int32_t{static_cast<T>(w)}; }
  static Work read(const char* p) { return value(p); }
  static void write(Work w, char* p) {
    const T v = static_cast<T>(w);
    std::memcpy(p, &v, sizeof v);
  }
};

// INTEGER*8.
template <Op O>
struct Integer8 {
  using Work = uint64_t;
  static constexpr uint32_t kBytes = 8;
  static constexpr bool kRunsMatter = false;

  static void identity(Work& w) { w = O == Op::sum ? 0u : 1u; }
  static void term(Work& w, const char* p) { w = combine_term<arith::Integer8, O>(w, p); }
  static void end_run(Work&) {}
  // The sum only: the product stays one call of _morvex_lmul per term.
  static void unmasked(Work& w, const char* p, ptrdiff_t ps, int32_t n) requires(O == Op::sum) {
    w = four_partials(w, uint64_t{0}, p, ps, n, load_bits<uint64_t>,
                      [](uint64_t a, uint64_t b) { return a + b; });
  }
  static int64_t result(const Work& w) { return static_cast<int64_t>(w); }
  static Work read(const char* p) { return load_bits<uint64_t>(p); }
  static void write(Work w, char* p) { std::memcpy(p, &w, sizeof w); }
};

// REAL*4 and REAL*8.
template <class T, Op O>
struct Real {
  using Work = long double;
  static constexpr uint32_t kBytes = sizeof(T);
  static constexpr bool kRunsMatter = false;

  static void identity(Work& w) { w = O == Op::sum ? T{0} : T{1}; }
  static void term(Work& w, const char* p) { w = combine_term<arith::Real<T>, O>(w, p); }
  static void end_run(Work&) {}
  static long double result(const Work& w) { return w; }
  static Work read(const char* p) { return load_bits<T>(p); }
  // Rounded to the element's format in the caller's rounding mode.
  static void write(Work w, char* p) {
    const T v = x87::round_to<T>(w);
    std::memcpy(p, &v, sizeof v);
  }
  static void in_place(char* r, const char* p) {
    x87::combine_in_memory<O == Op::product>(*reinterpret_cast<T*>(r),
                                             *reinterpret_cast<const T*>(p));
  }
};

// COMPLEX*8 and COMPLEX*16 (T the part's type).
template <class T, Op O>
struct Complex {
  using A = arith::Complex<T>;
  using Work = typename A::Value;
  static constexpr uint32_t kBytes = 2 * sizeof(T);
  static constexpr bool kRunsMatter = true;

  static void identity(Work& w) { w = O == Op::sum ? A::zero() : A::one(); }
  static void term(Work& w, const char* p) { w = combine_term<A, O>(w, p); }
  static void end_run(Work& w) { w = A::template settle<Rounding::at_every_store>(w); }
  static void store(const Work& w, void* out) { A::store(static_cast<char*>(out), w); }
  static Work read(const char* p) { return A::load(p); }
  static void write(const Work& w, char* p) { store(w, p); }
  // The sum part by part (the product needs both old parts for each new one).
  static void in_place(char* r, const char* p) requires(O == Op::sum) {
    T* rp = reinterpret_cast<T*>(r);
    const T* pp = reinterpret_cast<const T*>(p);
    x87::combine_in_memory<false>(rp[0], pp[0]);
    x87::combine_in_memory<false>(rp[1], pp[1]);
  }
};

// REAL*16.
template <Op O>
struct Real16 {
  using Work = DoubleDouble;
  static constexpr uint32_t kBytes = 16;
  static constexpr bool kRunsMatter = false;

  static void identity(Work& w) { w = {O == Op::sum ? 0.0 : 1.0, 0.0}; }
  static void term(Work& w, const char* p) { w = combine_term<arith::Real16, O>(w, p); }
  static void end_run(Work&) {}
  static void store(const Work& w, void* out) { std::memcpy(out, &w, sizeof w); }
  static Work read(const char* p) { return load_bits<Work>(p); }
  static void write(const Work& w, char* p) { store(w, p); }
};

// COMPLEX*32.
template <Op O>
struct Complex32 {
  using A = arith::Complex32;
  using Work = typename A::Value;
  static constexpr uint32_t kBytes = 32;
  static constexpr bool kRunsMatter = false;

  static void identity(Work& w) { w = O == Op::sum ? A::zero() : A::one(); }
  // The product (A, B) x (c, d): A*c - B*d and A*d + c*B, from the old A and B.
  static void term(Work& w, const char* p) { w = combine_term<A, O>(w, p); }
  static void end_run(Work&) {}
  static void store(const Work& w, void* out) { std::memcpy(out, &w, sizeof w); }
  static Work read(const char* p) { return load_bits<Work>(p); }
  static void write(const Work& w, char* p) { store(w, p); }
};

}  // namespace f90::prodsum
