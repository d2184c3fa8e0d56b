// Naive models of the MATMUL kernels, one element at a time, for the kernel
// and driver tests: the terms (x_l, y_l) of one C element (x from the kernel's first
// operand, y from its second, both given as element addresses) combined in
// the kernel's arithmetic and loop order, written straight from the kernel
// definitions:
//  - x87 real and complex kernels: inner-product order sums in a long double
//    and rounds once; column order skips y that is zero or NaN (a complex y
//    when both parts are) and rounds at every store;
//  - INTEGER*1/2/4: 32-bit wrapping sum, stored truncated; INTEGER*8:
//    64-bit wrapping, y sign-extended; LOGICAL: OR of x over the nonzero y;
//  - REAL*16 and COMPLEX*32: the exported double-double routines, x widened
//    first; INTEGER*8 by REAL*8/REAL*4: rounded after every term;
//  - GEMMX2 with beta = 1: temp = alpha.y, C + temp.x.
// Kinds are the test's own enum; the kernel follows from (x, y, C) kinds.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "descriptor_builder.h"
#include "float_results.h"
#include "strided.h"

namespace mxtest {

enum class Kd : uint8_t { i1, i2, i4, i8, l1, l2, l4, l8, r4, r8, r16, c8, c16, c32 };

inline uint32_t bytes_of(Kd k) {
  switch (k) {
    case Kd::i1: case Kd::l1: return 1;
    case Kd::i2: case Kd::l2: return 2;
    case Kd::i4: case Kd::l4: case Kd::r4: return 4;
    case Kd::i8: case Kd::l8: case Kd::r8: case Kd::c8: return 8;
    case Kd::r16: case Kd::c16: return 16;
    case Kd::c32: return 32;
  }
  return 0;
}
inline bool is_complex(Kd k) { return k == Kd::c8 || k == Kd::c16 || k == Kd::c32; }
inline bool is_logical(Kd k) { return k == Kd::l1 || k == Kd::l2 || k == Kd::l4 || k == Kd::l8; }
inline bool is_small_int(Kd k) { return k == Kd::i1 || k == Kd::i2 || k == Kd::i4; }
// The real kind of a complex kind's parts.
inline Kd part_of(Kd k) { return k == Kd::c8 ? Kd::r4 : k == Kd::c16 ? Kd::r8 : k == Kd::c32 ? Kd::r16 : k; }

using f90test::load_bytes;
using f90test::store_bytes;
// Rounded to T by a forced store in the current rounding mode.
using f90test::stored;

inline int64_t int_value(Kd k, const char* p) {
  switch (k) {
    case Kd::i1: return load_bytes<int8_t>(p);
    case Kd::i2: return load_bytes<int16_t>(p);
    case Kd::i4: return load_bytes<int32_t>(p);
    default: return load_bytes<int64_t>(p);
  }
}
// An element of a real or integer kind as the x87 unit loads it (exact).
inline long double x87_value(Kd k, const char* p) {
  if (k == Kd::r4) return load_bytes<float>(p);
  if (k == Kd::r8) return load_bytes<double>(p);
  return static_cast<long double>(int_value(k, p));
}
// An element widened exactly to REAL*16.
inline DoubleDouble dd_value(Kd k, const char* p) {
  if (k == Kd::r16) return load_bytes<DoubleDouble>(p);
  if (k == Kd::r4 || k == Kd::r8) return {static_cast<double>(x87_value(k, p)), 0.0};
  if (k == Kd::i8) {
    DoubleDouble r;
    _morvex_ll2q(&r, load_bytes<int64_t>(p));
    return r;
  }
  return {static_cast<double>(int_value(k, p)), 0.0};
}

// The column order's nonzero test of a multiplier y.
inline bool used(Kd k, const char* p) {
  switch (k) {
    case Kd::r4: case Kd::r8: {
      const long double v = x87_value(k, p);
      return v < 0 || v > 0;
    }
    case Kd::r16: return !qequal(load_bytes<DoubleDouble>(p), DoubleDouble{0.0, 0.0});
    case Kd::c8: case Kd::c16: case Kd::c32: {
      const Kd pk = part_of(k);
      return used(pk, p) || used(pk, p + bytes_of(pk));
    }
    case Kd::l8: return load_bytes<uint32_t>(p) != 0;  // the low word only
    default: {
      for (uint32_t i = 0; i < bytes_of(k); ++i)
        if (p[i] != 0) return true;
      return false;
    }
  }
}

// The order a GEMM kernel takes: inner-product when As1 >= As2 or the
// working-set estimate is below 8192 bytes.
inline bool inner_order(int64_t k, int64_t n, int64_t xs1, int64_t xs2, int64_t ys1, int64_t ys2,
                        int64_t sx, int64_t sy) {
  if (xs1 >= xs2) return true;
  const auto wrap = [](int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v)); };
  const int32_t nb = wrap(n * ys2), kb = wrap(k * ys1);
  return wrap(int64_t{wrap(k * xs2)} * sx + int64_t{std::max(nb, kb)} * sy) < 8192;
}

// The eight-call COMPLEX*32 term, acc + a.b.
inline Z zterm(Z acc, Z a, Z b) {
  const DoubleDouble p1 = qmul(a.im, b.im), p2 = qmul(a.re, b.re), r = qsub(p2, p1);
  const DoubleDouble p3 = qmul(b.re, a.im), p4 = qmul(a.re, b.im), t = qadd(p4, p3);
  return {qadd(acc.re, r), qadd(acc.im, t)};
}

struct KernelModel {
  Kd x, y, c;
};

// One C element from its terms, into `out` (bytes_of(c) bytes).
inline void model_element(const KernelModel& km, const std::vector<const char*>& xs,
                          const std::vector<const char*>& ys, bool inner, char* out) {
  const size_t k = xs.size();
  const Kd c = km.c;
  if (is_logical(c)) {
    // x has C's kind; LOGICAL*8: the low word of x, the high word of C zero.
    uint64_t acc = 0;
    for (size_t l = 0; l < k; ++l) {
      if (!used(km.y, ys[l])) continue;
      uint64_t v = 0;
      std::memcpy(&v, xs[l], c == Kd::l8 ? 4 : bytes_of(c));
      acc |= v;
    }
    std::memcpy(out, &acc, bytes_of(c));
    return;
  }
  if (is_small_int(c)) {
    uint32_t s = 0;
    for (size_t l = 0; l < k; ++l)
      s += static_cast<uint32_t>(int_value(km.x, xs[l])) * static_cast<uint32_t>(int_value(km.y, ys[l]));
    std::memcpy(out, &s, bytes_of(c));
    return;
  }
  if (c == Kd::i8) {
    uint64_t s = 0;
    for (size_t l = 0; l < k; ++l)
      s += static_cast<uint64_t>(int_value(km.x, xs[l])) * static_cast<uint64_t>(int_value(km.y, ys[l]));
    store_bytes(out, s);
    return;
  }
  if (c == Kd::r16) {
    DoubleDouble s{0.0, 0.0};
    for (size_t l = 0; l < k; ++l)
      if (inner || used(km.y, ys[l])) s = qadd(s, qmul(dd_value(km.x, xs[l]), dd_value(km.y, ys[l])));
    store_bytes(out, s);
    return;
  }
  if (c == Kd::c32) {
    Z s{{0.0, 0.0}, {0.0, 0.0}};
    for (size_t l = 0; l < k; ++l)
      if (inner || used(km.y, ys[l])) s = zterm(s, load_bytes<Z>(xs[l]), load_bytes<Z>(ys[l]));
    store_bytes(out, s);
    return;
  }
  if (km.x == Kd::i8) {  // INTEGER*8 by real: rounded after every term
    long double s = 0;
    for (size_t l = 0; l < k; ++l)
      if (inner || used(km.y, ys[l])) {
        const long double v = x87_value(km.x, xs[l]) * x87_value(km.y, ys[l]) + s;
        s = c == Kd::r4 ? stored<float>(v) : stored<double>(v);
      }
    if (c == Kd::r4) store_bytes(out, static_cast<float>(s)); else store_bytes(out, static_cast<double>(s));
    return;
  }
  auto round_c = [&](long double v) -> long double {
    return c == Kd::r4 || c == Kd::c8 ? stored<float>(v) : stored<double>(v);
  };
  if (is_complex(c)) {
    const Kd p = part_of(c);
    const uint32_t h = bytes_of(p);
    long double re = 0, im = 0;
    for (size_t l = 0; l < k; ++l) {
      const long double ar = x87_value(p, xs[l]), ai = x87_value(p, xs[l] + h);
      const long double br = x87_value(p, ys[l]), bi = x87_value(p, ys[l] + h);
      if (inner) {
        re = re + (ar * br - ai * bi);
        im = im + (ar * bi + ai * br);
      } else if (used(c, ys[l])) {
        re = round_c((ar * br - ai * bi) + re);
        im = round_c((ai * br + ar * bi) + im);
      }
    }
    if (p == Kd::r4) {
      store_bytes(out, stored<float>(re)), store_bytes(out + 4, stored<float>(im));
    } else {
      store_bytes(out, stored<double>(re)), store_bytes(out + 8, stored<double>(im));
    }
    return;
  }
  long double s = 0;
  for (size_t l = 0; l < k; ++l) {
    if (inner)
      s = s + x87_value(km.x, xs[l]) * x87_value(km.y, ys[l]);
    else if (used(km.y, ys[l]))
      s = round_c(x87_value(km.y, ys[l]) * x87_value(km.x, xs[l]) + s);
  }
  if (c == Kd::r4) store_bytes(out, stored<float>(s)); else store_bytes(out, stored<double>(s));
}

// C (m x n) = A.B by model_element, term l of C(i,j) being (A(i,l), B(l,j)).
inline void model_product(const KernelModel& km, const StridedBlock& a, const StridedBlock& b,
                          StridedBlock& c, int32_t m, int32_t n, int32_t k, bool inner) {
  std::vector<const char*> xs, ys;
  for (int32_t j = 0; j < n; ++j)
    for (int32_t i = 0; i < m; ++i) {
      xs.clear(), ys.clear();
      for (int32_t l = 0; l < k; ++l) xs.push_back(a.at(i, l)), ys.push_back(b.at(l, j));
      model_element(km, xs, ys, inner, c.at(i, j));
    }
}

// A GEMM or GEMV kernel of the table, called straight.
struct KernelRow {
  const char* name;
  F90GemmKernel* gemm;
  F90GemvKernel* gemv;
  KernelModel km;  // A, B, C
};

// M, N, K and the element strides of A, B and C. For a GEMV kernel, N is
// its column count K here, x is B's first column (incx = Bs1) and y C's
// (incy = Cs1).
struct Layout {
  int32_t m, n, k, as1, as2, bs1, bs2, cs1, cs2;
};

// The kernel's call modelled: GEMV kernels and logical kernels have only the
// column order; a GEMV of N = 0 leaves y untouched, N < 0 zeroes it.
inline void model_call(const KernelRow& kr, const Layout& l, const StridedBlock& a,
                       const StridedBlock& b, StridedBlock& c) {
  if (kr.gemv && l.k == 0) return;
  const bool inner = !kr.gemv && !is_logical(kr.km.c) &&
                     inner_order(l.k, l.n, l.as1, l.as2, l.bs1, l.bs2, bytes_of(kr.km.x),
                                 bytes_of(kr.km.y));
  model_product(kr.km, a, b, c, l.m, kr.gemv ? 1 : l.n, l.k, inner);
}

// A GEMMX2 element with beta = 1 and alpha = +-1 (the drivers' four calls):
// `inout` holds C(i,j) before and after.
inline void model_gemm2_element(const KernelModel& km, double alpha,
                                const std::vector<const char*>& xs,
                                const std::vector<const char*>& ys, char* inout) {
  if (km.c == Kd::r16) {
    DoubleDouble c = load_bytes<DoubleDouble>(inout);
    const DoubleDouble a{alpha, 0.0};
    for (size_t l = 0; l < xs.size(); ++l)
      if (used(km.y, ys[l])) c = qadd(c, qmul(qmul(a, dd_value(km.y, ys[l])), dd_value(km.x, xs[l])));
    store_bytes(inout, c);
    return;
  }
  double c = load_bytes<double>(inout);
  for (size_t l = 0; l < xs.size(); ++l)
    if (used(km.y, ys[l])) {
      const double t = stored<double>(x87_value(km.y, ys[l]) * alpha);
      c = stored<double>(x87_value(km.x, xs[l]) * t + c);
    }
  store_bytes(inout, c);
}

// Equal results: bits, with any NaN equal to any NaN in a floating part.
inline bool same_element(Kd k, const char* p, const char* q) {
  switch (k) {
    case Kd::r4: return same(load_bytes<float>(p), load_bytes<float>(q));
    case Kd::r8: return same(load_bytes<double>(p), load_bytes<double>(q));
    case Kd::r16: return same(load_bytes<DoubleDouble>(p), load_bytes<DoubleDouble>(q));
    case Kd::c8: case Kd::c16: case Kd::c32: {
      const Kd pk = part_of(k);
      return same_element(pk, p, q) && same_element(pk, p + bytes_of(pk), q + bytes_of(pk));
    }
    default: return std::memcmp(p, q, bytes_of(k)) == 0;
  }
}

}  // namespace mxtest
