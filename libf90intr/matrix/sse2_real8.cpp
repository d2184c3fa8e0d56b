// REAL*8 x REAL*8 products (_SGEMMX) in SSE2 lanes, where that gives the
// x87's bits exactly; everything else takes the x87 kernel.
//
// When the lanes are used:
//  (1) the CPU has SSE2;
//  (2) the caller's x87 control word selects 53-bit precision;
//  (3) a scan of the A and B elements the product reads finds no NaN, no
//      infinity and no subnormal, and, with EA, EB the largest biased
//      exponents of A and of B and FA, FB the smallest among their nonzero
//      elements:
//        EA + EB - 2046 + 2 + ceil(log2 K) <= 1020   (no overflow)
//        FA + FB - 2046 >= -1022                      (no tiny product)
//  (4) the product is large enough for the scan to be worth it.
// The lanes then run in the rounding mode of the control word (MXCSR's
// rounding field set from it, no flush-to-zero, no denormals-are-zero,
// every exception masked); the caller's MXCSR is restored afterwards.
//
// Why the bits are the x87's. Under 53-bit precision an x87 +, - or * rounds
// its exact result to 53 significant bits in the selected mode, as an SSE2
// double operation does; the two differ only where the x87's wider exponent
// range matters: a result of magnitude 2^1024 or more (the SSE2 result is
// an infinity, the x87's a finite value) or below 2^-1022 (the SSE2 result
// is rounded to a subnormal's coarser spacing). Neither occurs:
//  - every nonzero product a.b has |a.b| >= 2^(FA-1023) 2^(FB-1023) >=
//    2^-1022 by (3), so it is a normal double, rounded alike in both;
//  - every value formed is a double, hence a multiple of 2^-1074; a sum of
//    two of them is a multiple of 2^-1074 too, so when its exact value lies
//    below 2^-1022 in magnitude it is a subnormal double exactly and
//    neither unit rounds it; at or above 2^-1022 both round it alike;
//  - every product is below 2^(EA-1022+EB-1022) and every running value,
//    a sum of at most K of them each rounded up by at most a factor
//    (1 + 2^-52) per step, is below 2^(EA+EB-2044) K (1 + 2^-52)^(2K),
//    less than 2^1021 by (3): nothing reaches 2^1024.
// The x87's final store of an in-range 53-bit value to REAL*8 is exact, so
// both store the same bits. Zeros follow the same IEEE sign rules in both
// units, and the column order's skipping of zero multipliers is unchanged
// (there is no NaN). The order of the terms and of the operations is the
// x87 kernel's: each lane holds a different C element, never a part of one.
#include <emmintrin.h>

#include <cstdint>

#include "matrix/gemm_loops.h"
#include "matrix/gemm_terms.h"
#include "matrix/kernels.h"
#include "matrix/sse2_real8.h"
#include "x87.h"

namespace f90::matrix {
namespace {

// Largest and smallest nonzero biased exponent of the elements of a
// rows x cols strided matrix; false on a NaN, an infinity or a subnormal.
struct ExponentRange {
  int32_t largest = 0, smallest = 0x7ff;
};

bool scan(uintptr_t base, int32_t rows, int32_t s1, int32_t cols, int32_t s2,
          ExponentRange& r) {
  const uintptr_t di = step(s1, 8), dj = step(s2, 8);
  for (int32_t j = 0; j < cols; ++j, base += dj) {
    uintptr_t p = base;
    for (int32_t i = 0; i < rows; ++i, p += di) {
      const uint64_t bits = load_elem<uint64_t>(p);
      const int32_t e = static_cast<int32_t>((bits >> 52) & 0x7ff);
      if (e == 0x7ff) return false;
      if (e == 0) {
        if ((bits << 1) != 0) return false;  // subnormal
        continue;
      }
      r.largest = e > r.largest ? e : r.largest;
      r.smallest = e < r.smallest ? e : r.smallest;
    }
  }
  return true;
}

// The SSE2 kind: REAL*8 arithmetic as the x87 kind's, with two-lane hooks
// for the 2 x 2 inner-product tile and for a run of the column order.
struct Sse2Real8 : RealKind<double, double> {
  using Acc = double;
  static Acc zero() { return 0.0; }
  static C store(const Acc& s) { return s; }
  static void term(Acc& s, const A& a, const Factor& b) { s = s + a * b; }

  // out: s00, s10, s01, s11; lanes hold (s(i,j), s(i+1,j)).
  __attribute__((target("sse2"), noinline)) static void tile22(uintptr_t pa, uintptr_t da,
                                                               uintptr_t ak, uintptr_t pb,
                                                               uintptr_t db, uintptr_t bk,
                                                               int32_t k, double out[4]) {
    __m128d s0 = _mm_setzero_pd(), s1 = _mm_setzero_pd();
    for (int32_t l = 0; l < k; ++l, pa += ak, pb += bk) {
      const __m128d a = _mm_loadh_pd(_mm_load_sd(reinterpret_cast<const double*>(pa)),
                                     reinterpret_cast<const double*>(pa + da));
      const __m128d b0 = _mm_load1_pd(reinterpret_cast<const double*>(pb));
      const __m128d b1 = _mm_load1_pd(reinterpret_cast<const double*>(pb + db));
      s0 = _mm_add_pd(s0, _mm_mul_pd(a, b0));
      s1 = _mm_add_pd(s1, _mm_mul_pd(a, b1));
    }
    _mm_storeu_pd(out, s0);
    _mm_storeu_pd(out + 2, s1);
  }

  // out: s(i..i+1, j), s(i..i+1, j+1), s(i..i+1, j+2), s(i..i+1, j+3).
  __attribute__((target("sse2"), noinline)) static void tile24(uintptr_t pa, uintptr_t da,
                                                               uintptr_t ak, uintptr_t pb,
                                                               uintptr_t db, uintptr_t bk,
                                                               int32_t k, double out[8]) {
    __m128d s0 = _mm_setzero_pd(), s1 = _mm_setzero_pd(), s2 = _mm_setzero_pd(),
            s3 = _mm_setzero_pd();
    const uintptr_t db2 = db + db, db3 = db2 + db;
    for (int32_t l = 0; l < k; ++l, pa += ak, pb += bk) {
      const __m128d a = _mm_loadh_pd(_mm_load_sd(reinterpret_cast<const double*>(pa)),
                                     reinterpret_cast<const double*>(pa + da));
      s0 = _mm_add_pd(s0, _mm_mul_pd(a, _mm_load1_pd(reinterpret_cast<const double*>(pb))));
      s1 = _mm_add_pd(s1, _mm_mul_pd(a, _mm_load1_pd(reinterpret_cast<const double*>(pb + db))));
      s2 = _mm_add_pd(s2, _mm_mul_pd(a, _mm_load1_pd(reinterpret_cast<const double*>(pb + db2))));
      s3 = _mm_add_pd(s3, _mm_mul_pd(a, _mm_load1_pd(reinterpret_cast<const double*>(pb + db3))));
    }
    _mm_storeu_pd(out, s0);
    _mm_storeu_pd(out + 2, s1);
    _mm_storeu_pd(out + 4, s2);
    _mm_storeu_pd(out + 6, s3);
  }

  // C(i, j) = b_t.A(i, k_t) + C(i, j) for t = 0 .. n-1 (n <= kRunTerms, k_t
  // increasing), for len elements, two at a time. An SSE2 register holds a
  // REAL*8 exactly, so C's running value stays in it between the n terms.
  static constexpr int kRunTerms = 4;
  static void run_terms(uintptr_t pc, uintptr_t ci, const uintptr_t* pa, uintptr_t ai,
                        int32_t len, const long double* f, int n) {
    switch (n) {
      case 1: run_n<1>(pc, ci, pa, ai, len, f); break;
      case 2: run_n<2>(pc, ci, pa, ai, len, f); break;
      case 3: run_n<3>(pc, ci, pa, ai, len, f); break;
      default: run_n<4>(pc, ci, pa, ai, len, f); break;
    }
  }

  template <int N>
  __attribute__((target("sse2"), noinline)) static void run_n(uintptr_t pc, uintptr_t ci,
                                                              const uintptr_t* pa, uintptr_t ai,
                                                              int32_t len, const long double* f) {
    __m128d b[N];
    const double* a[N];
    for (int t = 0; t < N; ++t) {
      b[t] = _mm_set1_pd(static_cast<double>(f[t]));
      a[t] = reinterpret_cast<const double*>(pa[t]);
    }
    int32_t i = 0;
    if (ci == 8 && ai == 8) {  // both contiguous: whole vectors
      double* c = reinterpret_cast<double*>(pc);
      for (; i + 4 <= len; i += 4) {  // two independent chains of N terms
        __m128d r0 = _mm_loadu_pd(c + i), r1 = _mm_loadu_pd(c + i + 2);
        for (int t = 0; t < N; ++t) {
          r0 = _mm_add_pd(_mm_mul_pd(b[t], _mm_loadu_pd(a[t] + i)), r0);
          r1 = _mm_add_pd(_mm_mul_pd(b[t], _mm_loadu_pd(a[t] + i + 2)), r1);
        }
        _mm_storeu_pd(c + i, r0);
        _mm_storeu_pd(c + i + 2, r1);
      }
      for (; i + 2 <= len; i += 2) {
        __m128d r = _mm_loadu_pd(c + i);
        for (int t = 0; t < N; ++t) r = _mm_add_pd(_mm_mul_pd(b[t], _mm_loadu_pd(a[t] + i)), r);
        _mm_storeu_pd(c + i, r);
      }
    } else {
      for (; i + 2 <= len; i += 2) {
        const uintptr_t ao = static_cast<uintptr_t>(i) * ai;
        double* c0 = reinterpret_cast<double*>(pc + static_cast<uintptr_t>(i) * ci);
        double* c1 = reinterpret_cast<double*>(reinterpret_cast<uintptr_t>(c0) + ci);
        __m128d r = _mm_loadh_pd(_mm_load_sd(c0), c1);
        for (int t = 0; t < N; ++t) {
          const uintptr_t p = reinterpret_cast<uintptr_t>(a[t]) + ao;
          const __m128d av = _mm_loadh_pd(_mm_load_sd(reinterpret_cast<const double*>(p)),
                                          reinterpret_cast<const double*>(p + ai));
          r = _mm_add_pd(_mm_mul_pd(b[t], av), r);
        }
        _mm_storel_pd(c0, r);
        _mm_storeh_pd(c1, r);
      }
    }
    if (i < len) {  // the last odd element: one lane
      const uintptr_t ao = static_cast<uintptr_t>(i) * ai;
      double* c0 = reinterpret_cast<double*>(pc + static_cast<uintptr_t>(i) * ci);
      __m128d r = _mm_load_sd(c0);
      for (int t = 0; t < N; ++t)
        r = _mm_add_sd(
            _mm_mul_sd(b[t], _mm_load_sd(reinterpret_cast<const double*>(
                                 reinterpret_cast<uintptr_t>(a[t]) + ao))),
            r);
      _mm_storel_pd(c0, r);
    }
  }
};

__attribute__((target("sse2"))) uint32_t enter_lanes(uint16_t cw) {
  const uint32_t saved = _mm_getcsr();
  // All exceptions masked, flags clear, no FTZ/DAZ; rounding as the x87's.
  _mm_setcsr(0x1f80u | ((static_cast<uint32_t>(cw) >> 10 & 3u) << 13));
  return saved;
}

__attribute__((target("sse2"))) void leave_lanes(uint32_t saved) { _mm_setcsr(saved); }

// A load and a bit test of the CPU model libgcc fills in at load time.
bool cpu_has_sse2() { return __builtin_cpu_supports("sse2"); }

}  // namespace

bool sse2_real8_exact(const GemmCall& g, uint16_t cw) {
  if (!cpu_has_sse2() || (cw & 0x0300) != 0x0200) return false;
  if (g.m <= 0 || g.n <= 0 || g.k <= 0) return false;
  if (int64_t{g.m} * g.n * g.k < (int64_t{1} << 15)) return false;  // the scan would dominate
  ExponentRange ra, rb;
  if (!scan(g.a, g.m, g.as1, g.k, g.as2, ra) || !scan(g.b, g.k, g.bs1, g.n, g.bs2, rb))
    return false;
  if (ra.largest == 0 || rb.largest == 0) return true;  // every product is zero
  const int32_t log2_k = 32 - __builtin_clz(static_cast<uint32_t>(g.k));  // >= ceil(log2 K)
  return ra.largest + rb.largest - 2046 + 2 + log2_k <= 1020 &&
         ra.smallest + rb.smallest - 2046 >= -1022;
}

void sse2_real8_gemm(const GemmCall& g, uint16_t cw) {
  const uint32_t saved = enter_lanes(cw);
  gemm<Sse2Real8>(g);
  leave_lanes(saved);
}

}  // namespace f90::matrix
