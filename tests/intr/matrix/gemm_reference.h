// The naive reference of the GEMM and GEMV kernels: the plain loops of
// each order, term by term, on the x87 unit under the control word in force;
// strided test matrices with every byte outside their elements filled.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "common/elem_calls.h"
#include "f90/matmul.h"
#include "matrix/kernel.h"
#include "models.h"

namespace gemm_reference {

using f90::matrix::LoopOrder;

// The element kinds and their reading are the driver models' (models.h).
using Kind = mxtest::Kd;
using mxtest::bytes_of;
using mxtest::is_complex;
using mxtest::is_logical;
inline bool is_int(Kind k) { return mxtest::is_small_int(k) || k == Kind::i8; }

struct KernelRow {
  const char* name;
  F90GemmKernel* gemm;
  F90GemvKernel* gemv;
  Kind a, b, c;
};

// M, N, K and the element strides of A, B and C. For a GEMV kernel, N is
// its column count K here, x is B's first column (incx = Bs1) and y C's
// (incy = Cs1).
struct Layout {
  int32_t m, n, k, as1, as2, bs1, bs2, cs1, cs2;
};

// A strided matrix in a buffer of its own, every byte outside its elements
// holding a fill.
struct Matrix {
  std::vector<unsigned char> buf;
  int64_t origin = 0;  // byte offset of element (0,0)
  int32_t rows = 0, cols = 0, s1 = 0, s2 = 0;
  uint32_t size = 0;

  Matrix(Kind kind, int32_t r, int32_t c, int32_t st1, int32_t st2, unsigned char fill)
      : rows(r > 0 ? r : 0), cols(c > 0 ? c : 0), s1(st1), s2(st2), size(bytes_of(kind)) {
    int64_t lo = 0, hi = 0;
    if (rows > 0 && cols > 0) {
      for (int64_t ri : {int64_t{0}, int64_t{rows - 1}})
        for (int64_t ci : {int64_t{0}, int64_t{cols - 1}}) {
          lo = std::min(lo, ri * s1 + ci * s2);
          hi = std::max(hi, ri * s1 + ci * s2);
        }
    }
    origin = (-lo + 2) * size;
    buf.assign(static_cast<size_t>((hi - lo + 5) * size), fill);
  }
  char* at(int64_t i, int64_t j) {
    return reinterpret_cast<char*>(buf.data()) + origin + (i * s1 + j * s2) * size;
  }
  char* base() { return reinterpret_cast<char*>(buf.data()) + origin; }
};

// ---- the reference: the plain loops ----------------------------------------

// A real element or a complex element's part at p, exactly.
inline long double real_at(Kind k, const char* p) { return mxtest::x87_value(mxtest::part_of(k), p); }
inline uint32_t part_bytes(Kind k) { return bytes_of(mxtest::part_of(k)); }

// x rounded to the kind of k's parts by a store, at p.
inline void store_real(Kind k, char* p, long double x) {
  if (part_bytes(k) == 4)
    mxtest::st(p, mxtest::stored<float>(x));
  else
    mxtest::st(p, mxtest::stored<double>(x));
}

using mxtest::int_value;

inline bool passes(long double b) { return b < 0 || b > 0; }  // unordered fails both

inline void reference(const KernelRow& kr, const Layout& l, LoopOrder order, Matrix& a, Matrix& b,
               Matrix& c) {
  const int32_t m = l.m, n = kr.gemv ? 1 : l.n, k = l.k;
  // GEMV: N = 0 leaves y untouched, N < 0 zeroes it (the k loop is empty).
  if (m <= 0 || (kr.gemv ? k == 0 : n <= 0)) return;
  for (int32_t j = 0; j < n; ++j)
    for (int32_t i = 0; i < m; ++i) {
      if (is_logical(kr.c)) {
        uint32_t lo = 0;
        for (int32_t t = 0; t < k; ++t) {
          uint32_t bw = 0, aw = 0;
          std::memcpy(&bw, b.at(t, j), std::min(4u, bytes_of(kr.b)));
          std::memcpy(&aw, a.at(i, t), std::min(4u, bytes_of(kr.a)));
          if (bw != 0) lo |= aw;
        }
        const uint32_t w[2] = {lo, 0};
        std::memcpy(c.at(i, j), w, bytes_of(kr.c));
      } else if (is_int(kr.c)) {
        // Products by libf90elem's INTEGER*8 multiplication, sums modulo 2^64.
        uint64_t low = 0;
        for (int32_t t = 0; t < k; ++t)
          low += static_cast<uint64_t>(_morvex_lmul(int_value(kr.a, a.at(i, t)), int_value(kr.b, b.at(t, j))));
        std::memcpy(c.at(i, j), &low, bytes_of(kr.c));
      } else if (!is_complex(kr.c)) {
        if (order == LoopOrder::inner_product) {
          long double s = 0.0L;
          for (int32_t t = 0; t < k; ++t) s = s + real_at(kr.a, a.at(i, t)) * real_at(kr.b, b.at(t, j));
          store_real(kr.c, c.at(i, j), s);
        } else {
          store_real(kr.c, c.at(i, j), 0.0L);
          for (int32_t t = 0; t < k; ++t) {
            const long double bv = real_at(kr.b, b.at(t, j));
            if (!passes(bv)) continue;
            store_real(kr.c, c.at(i, j), bv * real_at(kr.a, a.at(i, t)) + real_at(kr.c, c.at(i, j)));
          }
        }
      } else {
        const uint32_t h = part_bytes(kr.c);
        if (order == LoopOrder::inner_product) {
          long double re = 0.0L, im = 0.0L;
          for (int32_t t = 0; t < k; ++t) {
            const long double ar = real_at(kr.a, a.at(i, t)), ai = real_at(kr.a, a.at(i, t) + h);
            const long double br = real_at(kr.b, b.at(t, j)), bi = real_at(kr.b, b.at(t, j) + h);
            re = re + (ar * br - ai * bi);
            im = im + (ar * bi + ai * br);
          }
          store_real(kr.c, c.at(i, j), re);
          store_real(kr.c, c.at(i, j) + h, im);
        } else {
          store_real(kr.c, c.at(i, j), 0.0L);
          store_real(kr.c, c.at(i, j) + h, 0.0L);
          for (int32_t t = 0; t < k; ++t) {
            const long double br = real_at(kr.b, b.at(t, j)), bi = real_at(kr.b, b.at(t, j) + h);
            if (!passes(br) && !passes(bi)) continue;
            const long double ar = real_at(kr.a, a.at(i, t)), ai = real_at(kr.a, a.at(i, t) + h);
            const long double re = (ar * br - ai * bi) + real_at(kr.c, c.at(i, j));
            const long double im = (ai * br + ar * bi) + real_at(kr.c, c.at(i, j) + h);
            store_real(kr.c, c.at(i, j), re);
            store_real(kr.c, c.at(i, j) + h, im);
          }
        }
      }
    }
}

// The order a call takes: GEMV kernels and logical kernels have only the
// column order; integer kernels give the same bits in either.
inline LoopOrder expected_order(const KernelRow& kr, const Layout& l) {
  if (kr.gemv || is_logical(kr.c)) return LoopOrder::column;
  const f90::matrix::GemmCall g{l.m, l.n, l.k, 0, l.as1, l.as2, 0, l.bs1, l.bs2,
                                 0, l.cs1, l.cs2};
  return f90::matrix::loop_order(g, static_cast<int32_t>(bytes_of(kr.a)),
                                 static_cast<int32_t>(bytes_of(kr.b)));
}

}  // namespace gemm_reference
