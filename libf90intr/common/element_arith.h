// Element arithmetic by kind: how one element of each kind is loaded,
// stored, combined, and tested for zero, for the routines that compute with
// elements (SUM, PRODUCT, MATMUL, DOT_PRODUCT).
//
//   using A = Arith<ElemKind::r8>;
//   A::Value acc = A::zero();
//   acc = A::add(acc, A::mul(A::load(pa), A::load(pb)));
//   acc = A::settle<Rounding::every_store>(acc);   // identity for at_final_store
//   A::store(out, acc);
//
// Each Arith<K> gives Storage (the element as it lies in memory, moved as
// bits), Value (what the arithmetic carries), kBytes, load, store, zero,
// one, add, mul, settle<R> and nonzero.
//
// - INTEGER*1/2/4: a 32-bit wrapping value (unsigned), loaded with the
//   element's sign, stored narrowed. INTEGER*8: 64-bit wrapping; the product
//   is _morvex_lmul.
// - REAL*4/8: an x87 value (long double). Each + and * is one x87 operation
//   rounded as the caller's control word says. Rounding to the kind happens
//   where the routine's policy says: Rounding::at_final_store keeps the value
//   unrounded until store(); Rounding::at_every_store rounds it to the kind
//   (a forced store and reload) at every settle(), as a value written back to
//   the result element after every step would be.
// - COMPLEX*8/16: both parts as x87 values. The product (R, I) x (a, b)
//   forms I*b, R*a, R*b, R*a - I*b, I*a, R*b + I*a, each rounded once, from
//   the old R and I.
// - REAL*16, COMPLEX*32: libf90elem's double-double arithmetic, one call per
//   operation (never rounded further); the COMPLEX*32 product in the order
//   I*d, R*c, R*d, R*c - I*d, c*I, R*d + c*I.
// - LOGICAL: true/false; add is .OR., mul is .AND.; store writes 1 or 0 in
//   the element's width; a LOGICAL*8 is true when either word is non-zero.
//
// nonzero(v) is the x87 test of a value against zero, where an unordered
// comparison (a NaN) counts as equal: NaN is "zero". A complex value is
// nonzero when either part is; a REAL*16 by its high part.
#pragma once

#include <cstdint>
#include <cstring>

#include "common/dispatch.h"
#include "common/elem_calls.h"
#include "common/mask.h"
#include "value/types.h"
#include "x87.h"

namespace f90 {

enum class Rounding { at_final_store, at_every_store };

template <class T>
inline T load_bits(const char* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
template <class T>
inline void store_bits(char* p, const T& v) {
  std::memcpy(p, &v, sizeof v);
}

// The x87 zero test: false for +-0 and for NaN.
inline bool x87_nonzero(long double v) { return v < 0 || v > 0; }

namespace arith {

template <class T>
struct SmallInteger {
  using Storage = T;
  using Value = uint32_t;
  static constexpr uint32_t kBytes = sizeof(T);
  static Value load(const char* p) { return static_cast<uint32_t>(int32_t{load_bits<T>(p)}); }
  static void store(char* p, Value v) { store_bits(p, static_cast<T>(v)); }
  static Value zero() { return 0; }
  static Value one() { return 1; }
  static Value add(Value a, Value b) { return a + b; }
  static Value mul(Value a, Value b) { return a * b; }
  template <Rounding>
  static Value settle(Value v) { return v; }
  static bool nonzero(Value v) { return v != 0; }
};

struct Integer8 {
  using Storage = int64_t;
  using Value = uint64_t;
  static constexpr uint32_t kBytes = 8;
  static Value load(const char* p) { return load_bits<uint64_t>(p); }
  static void store(char* p, Value v) { store_bits(p, v); }
  static Value zero() { return 0; }
  static Value one() { return 1; }
  static Value add(Value a, Value b) { return a + b; }
  static Value mul(Value a, Value b) {
    return static_cast<uint64_t>(_morvex_lmul(static_cast<int64_t>(a), static_cast<int64_t>(b)));
  }
  template <Rounding>
  static Value settle(Value v) { return v; }
  static bool nonzero(Value v) { return v != 0; }
};

template <class T>
struct Real {
  using Storage = T;
  using Value = long double;
  static constexpr uint32_t kBytes = sizeof(T);
  static Value load(const char* p) { return load_bits<T>(p); }
  // Rounded to the kind in the caller's rounding mode.
  static void store(char* p, Value v) { store_bits(p, x87::round_to<T>(v)); }
  static Value zero() { return T{0}; }
  static Value one() { return T{1}; }
  static Value add(Value a, Value b) { return a + b; }
  static Value mul(Value a, Value b) { return a * b; }
  template <Rounding R>
  static Value settle(Value v) {
    if constexpr (R == Rounding::at_every_store) return x87::round_to<T>(v);
    return v;
  }
  static bool nonzero(Value v) { return x87_nonzero(v); }
};

template <class T>
struct Complex {
  using Storage = T[2];
  struct Value {
    long double re, im;
  };
  static constexpr uint32_t kBytes = 2 * sizeof(T);
  static Value load(const char* p) { return {load_bits<T>(p), load_bits<T>(p + sizeof(T))}; }
  static void store(char* p, const Value& v) {
    store_bits(p, x87::round_to<T>(v.re));
    store_bits(p + sizeof(T), x87::round_to<T>(v.im));
  }
  static Value zero() { return {T{0}, T{0}}; }
  static Value one() { return {T{1}, T{0}}; }
  static Value add(const Value& a, const Value& b) { return {a.re + b.re, a.im + b.im}; }
  static Value mul(const Value& w, const Value& x) {
    const long double p1 = w.im * x.im;
    const long double p2 = w.re * x.re;
    const long double p3 = w.re * x.im;
    const long double re = p2 - p1;
    const long double p4 = w.im * x.re;
    return {re, p3 + p4};
  }
  template <Rounding R>
  static Value settle(const Value& v) {
    if constexpr (R == Rounding::at_every_store)
      return {x87::round_to<T>(v.re), x87::round_to<T>(v.im)};
    return v;
  }
  static bool nonzero(const Value& v) { return x87_nonzero(v.re) || x87_nonzero(v.im); }
};

struct Real16 {
  using Storage = DoubleDouble;
  using Value = DoubleDouble;
  static constexpr uint32_t kBytes = 16;
  static Value load(const char* p) { return load_bits<DoubleDouble>(p); }
  static void store(char* p, const Value& v) { store_bits(p, v); }
  static Value zero() { return {0.0, 0.0}; }
  static Value one() { return {1.0, 0.0}; }
  static Value add(const Value& a, const Value& b) {
    Value r;
    _morvex_qadd(&r, a, b);
    return r;
  }
  static Value mul(const Value& a, const Value& b) {
    Value r;
    _morvex_qmul(&r, a, b);
    return r;
  }
  template <Rounding>
  static Value settle(const Value& v) { return v; }
  static bool nonzero(const Value& v) { return v.hi < 0 || v.hi > 0; }
};

struct Complex32 {
  using Storage = f90::Complex32;
  using Value = f90::Complex32;
  static constexpr uint32_t kBytes = 32;
  static Value load(const char* p) { return load_bits<Value>(p); }
  static void store(char* p, const Value& v) { store_bits(p, v); }
  static Value zero() { return {{0.0, 0.0}, {0.0, 0.0}}; }
  static Value one() { return {{1.0, 0.0}, {0.0, 0.0}}; }
  static Value add(const Value& a, const Value& b) {
    Value r;
    _morvex_qadd(&r.re, a.re, b.re);
    _morvex_qadd(&r.im, a.im, b.im);
    return r;
  }
  static Value mul(const Value& w, const Value& x) {
    DoubleDouble t1, t2, t3, t5;
    Value r;
    _morvex_qmul(&t1, w.im, x.im);
    _morvex_qmul(&t2, w.re, x.re);
    _morvex_qmul(&t3, w.re, x.im);
    _morvex_qsub(&r.re, t2, t1);
    _morvex_qmul(&t5, x.re, w.im);
    _morvex_qadd(&r.im, t3, t5);
    return r;
  }
  template <Rounding>
  static Value settle(const Value& v) { return v; }
  static bool nonzero(const Value& v) {
    return v.re.hi < 0 || v.re.hi > 0 || v.im.hi < 0 || v.im.hi > 0;
  }
};

template <uint32_t Bytes>
struct LogicalKind {
  using Value = bool;
  static constexpr uint32_t kBytes = Bytes;
  static Value load(const char* p) { return Logical<Bytes>::truth(p); }
  static void store(char* p, Value v) {
    std::memset(p, 0, Bytes);
    if (v) *p = 1;
  }
  static Value zero() { return false; }
  static Value one() { return true; }
  static Value add(Value a, Value b) { return a || b; }
  static Value mul(Value a, Value b) { return a && b; }
  template <Rounding>
  static Value settle(Value v) { return v; }
  static bool nonzero(Value v) { return v; }
};

}  // namespace arith

template <ElemKind K>
struct ArithOf;
template <> struct ArithOf<ElemKind::i1> { using type = arith::SmallInteger<int8_t>; };
template <> struct ArithOf<ElemKind::i2> { using type = arith::SmallInteger<int16_t>; };
template <> struct ArithOf<ElemKind::i4> { using type = arith::SmallInteger<int32_t>; };
template <> struct ArithOf<ElemKind::i8> { using type = arith::Integer8; };
template <> struct ArithOf<ElemKind::r4> { using type = arith::Real<float>; };
template <> struct ArithOf<ElemKind::r8> { using type = arith::Real<double>; };
template <> struct ArithOf<ElemKind::r16> { using type = arith::Real16; };
template <> struct ArithOf<ElemKind::c8> { using type = arith::Complex<float>; };
template <> struct ArithOf<ElemKind::c16> { using type = arith::Complex<double>; };
template <> struct ArithOf<ElemKind::c32> { using type = arith::Complex32; };
template <> struct ArithOf<ElemKind::l1> { using type = arith::LogicalKind<1>; };
template <> struct ArithOf<ElemKind::l2> { using type = arith::LogicalKind<2>; };
template <> struct ArithOf<ElemKind::l4> { using type = arith::LogicalKind<4>; };
template <> struct ArithOf<ElemKind::l8> { using type = arith::LogicalKind<8>; };

// The arithmetic of kind K.
template <ElemKind K>
using Arith = typename ArithOf<K>::type;

}  // namespace f90
