// DOT_PRODUCT: the set-up, the element walk, the operand kinds and the
// arithmetic every kernel is built from.
//
// Every kernel reduces its two rank-1 descriptors with predot() (the body of
// the exported _PREDOT) to a count n, two first-element addresses and two
// element strides, and then walks both operands once, element i of each at
// (i - 1) * stride elements past its first. B's extent is never read: B is
// read for exactly n elements. n <= 0 reads nothing and gives the zero of
// the result kind.
//
// The families (one template each, the entries are one-line thunks):
// - integer_dot: INTEGER*1/2/4 pairs, 32-bit wrapping products and sum
//   (unsigned arithmetic), the result cut to the wider operand's width and
//   sign-extended. The order of the terms cannot change a wrapping sum, so a
//   contiguous run is summed four terms at a time.
// - integer8_dot: a pair with an INTEGER*8 side, 64-bit wrapping products
//   (_morvex_lmul) and sum.
// - logical_dot: OR of the elementwise ANDs of the raw 32-bit values (the
//   low word of a LOGICAL*8), never normalised.
// - value_dot: every pair with a REAL or COMPLEX side. A term is a product
//   of the two elements (a complex A conjugated); it goes into one running
//   sum (two for a complex result) whose storage the kernel chooses:
//     Register<X87>         an x87 register for the whole loop, never stored;
//     Stored<X87, T>        a REAL*4/REAL*8 variable: every new sum is
//                           rounded to T (a forced store) before the next term;
//   X87 arithmetic is one x87 operation per product, sum or difference, in
//   the caller's precision and rounding. The double-double arithmetic and
//   its sums are in real16/dot_real16.cpp (SSE2 doubles).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "array/descriptor.h"
#include "common/elem_calls.h"
#include "common/element_arith.h"
#include "common/inputs.h"
#include "value/types.h"
#include "x87.h"

namespace f90::dot {

// ---- set-up ----------------------------------------------------------------

// The element length in bits that picks a kernel and divides the stride.
inline uint32_t int_len(const ArrayDescriptor* d) {
  return (d->type_word & F90_TW_INT_LEN_MASK) >> F90_TW_INT_LEN_SHIFT;
}

// The descriptor's dimension-1 stride (storage units) as an element stride,
// by an arithmetic shift so that negative strides stay exact: 64 bits and
// 9..31 bits by 1 place, 128 by 2, 256 by 3, anything else unchanged.
inline int32_t element_step(const ArrayDescriptor* d) {
  const int32_t s = d->dim[0].stride;
  const uint32_t bits = int_len(d);
  if (bits == 64 || (bits > 8 && bits < 32)) return s >> 1;
  if (bits == 128) return s >> 2;
  if (bits == 256) return s >> 3;
  return s;
}

struct Operands {
  int32_t n;
  const char* a;
  int32_t a_step;
  const char* b;
  int32_t b_step;
};

// Whether both operands may be read (predot.cpp): each has storage, or no
// elements; and B, which is read for A's extent of elements whatever its
// own extent says, has a base when A has elements. Otherwise reports 1410.
bool operands_readable(const ArrayDescriptor* a, const ArrayDescriptor* b);

// Reads base, dimension 1's extent and stride and int_len; nothing else.
// An operand that may not be read is reported and gives no terms.
// Always inlined: an out-of-line copy would return the record through a
// hidden pointer that i386 callees pop (ret $4), which no function of the
// library may do.
[[gnu::always_inline]] inline Operands predot(const ArrayDescriptor* a,
                                              const ArrayDescriptor* b) {
  if (!operands_readable(a, b)) return {0, nullptr, 0, nullptr, 0};
  return {a->dim[0].extent, static_cast<const char*>(a->base), element_step(a),
          static_cast<const char*>(b->base), element_step(b)};
}

// Which of the 4-, 2- and 1-byte kernels an operand written I4 or L4 takes.
enum class Width { w4, w2, w1 };
inline Width width_of(const ArrayDescriptor* d) {
  const uint32_t bits = int_len(d);
  return bits == 32 ? Width::w4 : bits == 16 ? Width::w2 : Width::w1;
}

// Byte distance of one element step (32-bit wrap, as i386 addressing).
inline ptrdiff_t byte_step(int32_t step, uint32_t bytes) {
  return static_cast<ptrdiff_t>(static_cast<uint32_t>(step) * bytes);
}

// Calls f(A(i), B(i)) for i = 1..n, in order (pointers to the elements).
template <uint32_t BytesA, uint32_t BytesB, class F>
inline void walk(const Operands& o, F&& f) {
  const char* pa = o.a;
  const char* pb = o.b;
  const ptrdiff_t da = byte_step(o.a_step, BytesA), db = byte_step(o.b_step, BytesB);
  for (int32_t i = 0; i < o.n; ++i) {
    f(pa, pb);
    pa += da;
    pb += db;
  }
}

// ---- operand kinds -----------------------------------------------------------
//
// Each kind has kBytes and the reads its families need: bits() for the
// integer and logical families, x87() (an exact x87 value, or a pair) and
// dd() (the value widened to a double-double, or a pair).

template <class V>
struct Cx {
  V re, im;
};

template <class T>
struct Int {  // INTEGER*1, *2, *4: sign-extended to 32 bits
  static constexpr uint32_t kBytes = sizeof(T);
  static constexpr bool kComplex = false;
  static int32_t value(const char* p) { return load_bits<T>(p); }
  static uint32_t bits(const char* p) { return static_cast<uint32_t>(value(p)); }
  static long double x87(const char* p) { return value(p); }
  static DoubleDouble dd(const char* p) { return {static_cast<double>(value(p)), 0.0}; }
};
using I1 = Int<int8_t>;
using I2 = Int<int16_t>;
using I4 = Int<int32_t>;

// INTEGER*8. ToX87 is the libf90elem conversion the kernel names
// (_morvex_cvtlld for REAL*8 work, _morvex_cvtllf for REAL*4 work).
template <long double (*ToX87)(int64_t)>
struct Int8 {
  static constexpr uint32_t kBytes = 8;
  static constexpr bool kComplex = false;
  static int64_t value(const char* p) { return load_bits<int64_t>(p); }
  static long double x87(const char* p) { return ToX87(value(p)); }
  static DoubleDouble dd(const char* p) {
    DoubleDouble r;
    _morvex_ll2q(&r, value(p));
    return r;
  }
};
using J = Int8<_morvex_cvtlld>;
using J4 = Int8<_morvex_cvtllf>;

template <class T>
struct Logical {  // LOGICAL*1, *2, *4 zero-extended; LOGICAL*8 its low word
  static constexpr uint32_t kBytes = sizeof(T) == 8 ? 8 : sizeof(T);
  static uint32_t bits(const char* p) {
    if constexpr (sizeof(T) == 8)
      return load_bits<uint32_t>(p);
    else
      return load_bits<T>(p);
  }
};
using L1 = Logical<uint8_t>;
using L2 = Logical<uint16_t>;
using L4 = Logical<uint32_t>;
using L8 = Logical<uint64_t>;

template <class T>
struct Real {  // REAL*4, REAL*8
  static constexpr uint32_t kBytes = sizeof(T);
  static constexpr bool kComplex = false;
  static long double x87(const char* p) { return load_bits<T>(p); }
  static DoubleDouble dd(const char* p) { return {static_cast<double>(load_bits<T>(p)), 0.0}; }
};
using S4 = Real<float>;
using S = Real<double>;

struct D {  // REAL*16
  static constexpr uint32_t kBytes = 16;
  static constexpr bool kComplex = false;
  static DoubleDouble dd(const char* p) { return load_bits<DoubleDouble>(p); }
};

template <class T>
struct Complex {  // COMPLEX*8, COMPLEX*16
  static constexpr uint32_t kBytes = 2 * sizeof(T);
  static constexpr bool kComplex = true;
  static Cx<long double> x87(const char* p) { return {load_bits<T>(p), load_bits<T>(p + sizeof(T))}; }
  static Cx<DoubleDouble> dd(const char* p) {
    return {{static_cast<double>(load_bits<T>(p)), 0.0},
            {static_cast<double>(load_bits<T>(p + sizeof(T))), 0.0}};
  }
};
using C4 = Complex<float>;
using C = Complex<double>;

struct Z {  // COMPLEX*32
  static constexpr uint32_t kBytes = 32;
  static constexpr bool kComplex = true;
  static Cx<DoubleDouble> dd(const char* p) {
    return {load_bits<DoubleDouble>(p), load_bits<DoubleDouble>(p + 16)};
  }
};

// ---- integer and logical families ----------------------------------------------

// INTEGER*1/2/4 by INTEGER*1/2/4; R is the result's own type (the wider
// operand's), to which the 32-bit sum is cut before it is sign-extended.
template <class KA, class KB, class R>
inline int32_t integer_dot(const ArrayDescriptor* a, const ArrayDescriptor* b) {
  const Operands o = predot(a, b);
  uint32_t sum = 0;
  if (o.a_step == 1 && o.b_step == 1 && o.n > 0) {
    // Contiguous: four partial sums (wrapping addition is associative).
    const char* pa = o.a;
    const char* pb = o.b;
    uint32_t s1 = 0, s2 = 0, s3 = 0;
    int32_t n = o.n;
    for (; n >= 4; n -= 4, pa += 4 * KA::kBytes, pb += 4 * KB::kBytes) {
      sum += KA::bits(pa) * KB::bits(pb);
      s1 += KA::bits(pa + KA::kBytes) * KB::bits(pb + KB::kBytes);
      s2 += KA::bits(pa + 2 * KA::kBytes) * KB::bits(pb + 2 * KB::kBytes);
      s3 += KA::bits(pa + 3 * KA::kBytes) * KB::bits(pb + 3 * KB::kBytes);
    }
    for (; n > 0; --n, pa += KA::kBytes, pb += KB::kBytes) sum += KA::bits(pa) * KB::bits(pb);
    sum += s1 + s2 + s3;
  } else {
    walk<KA::kBytes, KB::kBytes>(o, [&](const char* pa, const char* pb) {
      sum += KA::bits(pa) * KB::bits(pb);
    });
  }
  return static_cast<R>(sum);
}

// A pair with an INTEGER*8 side: the other operand sign-extended to 64 bits.
template <class KA, class KB>
inline int64_t integer8_dot(const ArrayDescriptor* a, const ArrayDescriptor* b) {
  const Operands o = predot(a, b);
  uint64_t sum = 0;
  walk<KA::kBytes, KB::kBytes>(o, [&](const char* pa, const char* pb) {
    sum += static_cast<uint64_t>(_morvex_lmul(KA::value(pa), KB::value(pb)));
  });
  return static_cast<int64_t>(sum);
}

// LOGICAL by LOGICAL: the OR of the ANDs, cut to R (uint8_t, uint16_t,
// uint32_t) and zero-extended; a LOGICAL*8 result has high word 0.
template <class KA, class KB, class R>
inline R logical_dot(const ArrayDescriptor* a, const ArrayDescriptor* b) {
  const Operands o = predot(a, b);
  uint32_t v = 0;
  walk<KA::kBytes, KB::kBytes>(o, [&](const char* pa, const char* pb) {
    v |= KA::bits(pa) & KB::bits(pb);
  });
  return static_cast<R>(v);
}

// ---- REAL and COMPLEX families ---------------------------------------------------

// x87 arithmetic: each operation one x87 instruction in the caller's mode.
struct X87 {
  using V = long double;
  template <class K>
  static auto read(const char* p) { return K::x87(p); }
  static V zero() { return 0.0L; }
  static V mul(V x, V y) { return x * y; }
  static V add(V x, V y) { return x + y; }
  static V sub(V x, V y) { return x - y; }
};

// x in the caller's rounding mode, rounded to T by the x87 unit.
template <class T>
inline T x87_round(long double x) {
  return x87::round_to<T>(x);
}

// A running sum kept in the arithmetic's own value for the whole loop.
template <class A>
struct Register {
  typename A::V s = A::zero();
  void add(const typename A::V& t) { s = A::add(s, t); }
  void sub(const typename A::V& t) { s = A::sub(s, t); }
};

// A running sum stored as a T after every term.
template <class A, class T>
struct Stored;

template <class T>
struct Stored<X87, T> {
  T s = 0;
  void add(long double t) { s = x87_round<T>(s + t); }
  void sub(long double t) { s = x87_round<T>(s - t); }
};

template <class Sum>
struct Sums {
  Sum re, im;
};

// The real-by-real dot product: sum of A(i) x B(i).
template <class A, class KA, class KB, class Sum>
inline Sum real_dot(const ArrayDescriptor* a, const ArrayDescriptor* b) {
  const Operands o = predot(a, b);
  Sum sum;
  walk<KA::kBytes, KB::kBytes>(o, [&](const char* pa, const char* pb) {
    sum.add(A::mul(A::template read<KA>(pa), A::template read<KB>(pb)));
  });
  return sum;
}

// The dot product with a complex side, a complex A conjugated:
//   complex A, complex B: re += Re A Re B + Im A Im B, im += Re A Im B - Im A Re B
//                         (the term formed completely before it is added);
//   complex A, real b:    re += Re A b, im -= Im A b;
//   real a, complex B:    re += a Re B, im += a Im B.
template <class A, class KA, class KB, class Sum>
inline Sums<Sum> complex_run(const Operands& o, Sums<Sum> sums) {
  walk<KA::kBytes, KB::kBytes>(o, [&](const char* pa, const char* pb) {
    const auto x = A::template read<KA>(pa);
    const auto y = A::template read<KB>(pb);
    if constexpr (KA::kComplex && KB::kComplex) {
      sums.re.add(A::add(A::mul(x.re, y.re), A::mul(x.im, y.im)));
      sums.im.add(A::sub(A::mul(x.re, y.im), A::mul(x.im, y.re)));
    } else if constexpr (KA::kComplex) {
      sums.re.add(A::mul(x.re, y));
      sums.im.sub(A::mul(x.im, y));
    } else {
      sums.re.add(A::mul(x, y.re));
      sums.im.add(A::mul(x, y.im));
    }
  });
  return sums;
}
template <class A, class KA, class KB, class Sum>
inline Sums<Sum> complex_dot(const ArrayDescriptor* a, const ArrayDescriptor* b) {
  return complex_run<A, KA, KB>(predot(a, b), Sums<Sum>{});
}

// ---- results -----------------------------------------------------------------------

// A running sum as a part of the result slot of part type P.
template <class P>
inline P part(long double s) {  // an x87 register: rounded once, here
  return x87_round<P>(s);
}
template <class P>
inline P part(float s) {  // exact widening (or none)
  if constexpr (sizeof(P) == 16)
    return {static_cast<double>(s), 0.0};
  else
    return static_cast<P>(s);
}
template <class P>
inline P part(double s) {
  if constexpr (sizeof(P) == 16)
    return {s, 0.0};
  else
    return static_cast<P>(s);
}
template <class P>
inline P part(const DoubleDouble& s) {
  return s;
}

// Writes both parts to the caller's slot (bytes, never a typed store of the
// slot itself) and returns it.
template <class P, class Slot, class Sum>
inline Slot* deliver(Slot* slot, const Sums<Sum>& sums) {
  const P parts[2] = {part<P>(sums.re.s), part<P>(sums.im.s)};
  static_assert(sizeof parts == sizeof(Slot));
  std::memcpy(slot, parts, sizeof parts);
  return slot;
}

// The complex kernels: Part is the result's part type (float, double or
// DoubleDouble).
template <class P, class A, class KA, class KB, class Sum, class Slot>
inline Slot* complex_kernel(Slot* slot, const ArrayDescriptor* a, const ArrayDescriptor* b) {
  return deliver<P>(slot, complex_dot<A, KA, KB, Sum>(a, b));
}

}  // namespace f90::dot
