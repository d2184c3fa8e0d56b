// REAL*8 x REAL*8 products (_SGEMMX) and REAL*4 x REAL*4 products
// (_S4GEMMX) in SSE2 lanes of doubles, where that gives the x87's bits
// exactly; everything else takes the x87 kernel.
//
// When the lanes are used for REAL*8:
//  (1) the CPU has SSE2;
//  (2) the caller's x87 control word selects 53-bit precision;
//  (3) a scan of the A and B elements the product reads finds no NaN, no
//      infinity and no subnormal, and, with EA, EB the largest biased
//      exponents of A and of B and FA, FB the smallest among their nonzero
//      elements:
//        EA + EB - 2046 + 2 + ceil(log2 K) <= 1020   (no overflow)
//        FA + FB - 2046 >= -1022                      (no tiny product)
//  (4) the product is large enough for the scan to be worth it (M, N >= 8,
//      M N K >= 2^15).
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
//
// REAL*4: the lanes carry each value as a double, and round it to REAL*4
// exactly where the x87 kernel stores (cvtpd2ps, in the same rounding mode:
// both are the IEEE conversion of the same double). Conditions (1), (2),
// (4) as above, and (3) reduced to: no NaN and no infinity among the A and
// B elements read. Why: a product of two REAL*4 values has at most 48
// significant bits and is exact in both units; its magnitude is at least
// 2^-149 2^-149 = 2^-298 when it is not zero and below 2^256; every value
// formed is a multiple of 2^-298, so a nonzero one is a normal double, and a
// running value stays below K 2^257 < 2^1024. So no value ever leaves the
// normal double range, where 53-bit x87 arithmetic and double arithmetic
// agree; a C element that a REAL*4 store rounds to an infinity is then an
// infinity in both, and adding finite products keeps it one in both.
#include <emmintrin.h>

#include <cstdint>

#include "matrix/gemm_loops.h"
#include "matrix/gemm_terms.h"
#include "matrix/kernels.h"
#include "matrix/sse2_real.h"
#include "x87.h"

namespace f90::matrix {
namespace {

// Largest and smallest nonzero biased exponent of the elements of a
// rows x cols strided matrix of REAL*8 (T = uint64_t) or REAL*4
// (T = uint32_t) bit patterns; false on a NaN or an infinity, and for REAL*8
// also on a subnormal.
struct ExponentRange {
  int32_t largest = 0, smallest = 0x7ff;
};

template <class Bits>
bool scan(uintptr_t base, int32_t rows, int32_t s1, int32_t cols, int32_t s2,
          ExponentRange& r) {
  constexpr int kShift = sizeof(Bits) == 8 ? 52 : 23;
  constexpr int32_t kMax = sizeof(Bits) == 8 ? 0x7ff : 0xff;
  const uintptr_t di = step(s1, sizeof(Bits)), dj = step(s2, sizeof(Bits));
  for (int32_t j = 0; j < cols; ++j, base += dj) {
    uintptr_t p = base;
    for (int32_t i = 0; i < rows; ++i, p += di) {
      const Bits bits = load_elem<Bits>(p);
      const int32_t e = static_cast<int32_t>((bits >> kShift) & kMax);
      if (e == kMax) return false;
      if (e == 0) {
        if (sizeof(Bits) == 8 && static_cast<Bits>(bits << 1) != 0) return false;
        continue;
      }
      r.largest = e > r.largest ? e : r.largest;
      r.smallest = e < r.smallest ? e : r.smallest;
    }
  }
  return true;
}

// Moving REAL*4 or REAL*8 elements into and out of two double lanes.
template <class T>
struct Lanes;

template <>
struct Lanes<double> {
  __attribute__((target("sse2"))) static __m128d pair(uintptr_t p0, uintptr_t p1) {
    return _mm_loadh_pd(_mm_load_sd(reinterpret_cast<const double*>(p0)),
                        reinterpret_cast<const double*>(p1));
  }
  __attribute__((target("sse2"))) static __m128d one(uintptr_t p) {
    return _mm_load_sd(reinterpret_cast<const double*>(p));
  }
  // Two neighbouring elements.
  __attribute__((target("sse2"))) static __m128d next_two(uintptr_t p) {
    return _mm_loadu_pd(reinterpret_cast<const double*>(p));
  }
  __attribute__((target("sse2"))) static void put_next_two(uintptr_t p, __m128d r) {
    _mm_storeu_pd(reinterpret_cast<double*>(p), r);
  }
  __attribute__((target("sse2"))) static __m128d both(uintptr_t p) {
    return _mm_load1_pd(reinterpret_cast<const double*>(p));
  }
  __attribute__((target("sse2"))) static void put_pair(uintptr_t p0, uintptr_t p1, __m128d r) {
    _mm_storel_pd(reinterpret_cast<double*>(p0), r);
    _mm_storeh_pd(reinterpret_cast<double*>(p1), r);
  }
  __attribute__((target("sse2"))) static void put_one(uintptr_t p, __m128d r) {
    _mm_storel_pd(reinterpret_cast<double*>(p), r);
  }
  // The value as the element's kind holds it: a double already is.
  __attribute__((target("sse2"))) static __m128d kind(__m128d r) { return r; }
};

template <>
struct Lanes<float> {
  __attribute__((target("sse2"))) static __m128d pair(uintptr_t p0, uintptr_t p1) {
    return _mm_cvtps_pd(_mm_unpacklo_ps(_mm_load_ss(reinterpret_cast<const float*>(p0)),
                                        _mm_load_ss(reinterpret_cast<const float*>(p1))));
  }
  __attribute__((target("sse2"))) static __m128d one(uintptr_t p) {
    return _mm_cvtps_pd(_mm_load_ss(reinterpret_cast<const float*>(p)));
  }
  // Two neighbouring elements (8 bytes).
  __attribute__((target("sse2"))) static __m128d next_two(uintptr_t p) {
    return _mm_cvtps_pd(_mm_castpd_ps(_mm_load_sd(reinterpret_cast<const double*>(p))));
  }
  __attribute__((target("sse2"))) static void put_next_two(uintptr_t p, __m128d r) {
    _mm_store_sd(reinterpret_cast<double*>(p), _mm_castps_pd(_mm_cvtpd_ps(r)));
  }
  __attribute__((target("sse2"))) static __m128d both(uintptr_t p) {
    return _mm_cvtps_pd(_mm_load1_ps(reinterpret_cast<const float*>(p)));
  }
  __attribute__((target("sse2"))) static void put_pair(uintptr_t p0, uintptr_t p1, __m128d r) {
    const __m128 f = _mm_cvtpd_ps(r);
    _mm_store_ss(reinterpret_cast<float*>(p0), f);
    _mm_store_ss(reinterpret_cast<float*>(p1), _mm_shuffle_ps(f, f, 1));
  }
  __attribute__((target("sse2"))) static void put_one(uintptr_t p, __m128d r) {
    _mm_store_ss(reinterpret_cast<float*>(p), _mm_cvtpd_ps(r));
  }
  // Rounded to REAL*4 and back: the value a REAL*4 store would leave.
  __attribute__((target("sse2"))) static __m128d kind(__m128d r) {
    return _mm_cvtps_pd(_mm_cvtpd_ps(r));
  }
};

// The SSE2 kind of REAL*T: the x87 kind's arithmetic (its edges and single
// elements still run there), with two-lane hooks for the inner-product
// tiles and for runs of the column order.
template <class T>
struct Sse2Real : RealKind<T, T> {
  using L = Lanes<T>;
  using Acc = double;  // exact for every running value (see above)
  static Acc zero() { return 0.0; }
  static T store(const Acc& s) { return x87::round_to<T>(s); }
  static void put(uintptr_t p, const Acc& s) { store_rounded<T>(p, s); }
  static void term(Acc& s, const T& a, const long double& b) { s = s + a * b; }

  // out: s(i..i+1, j), s(i..i+1, j+1).
  __attribute__((target("sse2"), noinline)) static void tile22(uintptr_t pa, uintptr_t da,
                                                               uintptr_t ak, uintptr_t pb,
                                                               uintptr_t db, uintptr_t bk,
                                                               int32_t k, double out[4]) {
    __m128d s0 = _mm_setzero_pd(), s1 = _mm_setzero_pd();
    for (int32_t l = 0; l < k; ++l, pa += ak, pb += bk) {
      const __m128d a = L::pair(pa, pa + da);
      s0 = _mm_add_pd(s0, _mm_mul_pd(a, L::both(pb)));
      s1 = _mm_add_pd(s1, _mm_mul_pd(a, L::both(pb + db)));
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
      const __m128d a = L::pair(pa, pa + da);
      s0 = _mm_add_pd(s0, _mm_mul_pd(a, L::both(pb)));
      s1 = _mm_add_pd(s1, _mm_mul_pd(a, L::both(pb + db)));
      s2 = _mm_add_pd(s2, _mm_mul_pd(a, L::both(pb + db2)));
      s3 = _mm_add_pd(s3, _mm_mul_pd(a, L::both(pb + db3)));
    }
    _mm_storeu_pd(out, s0);
    _mm_storeu_pd(out + 2, s1);
    _mm_storeu_pd(out + 4, s2);
    _mm_storeu_pd(out + 6, s3);
  }

  // C(i, j) = b_t.A(i, k_t) + C(i, j) for t = 0 .. n-1 (n <= kRunTerms, k_t
  // increasing), for len elements, two at a time; between terms each lane
  // holds exactly the value C would hold in memory (L::kind).
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
    for (int t = 0; t < N; ++t) b[t] = _mm_set1_pd(static_cast<double>(f[t]));
    int32_t i = 0;
    if (ci == sizeof(T) && ai == sizeof(T)) {  // both contiguous: four elements a step
      for (; i + 4 <= len; i += 4) {
        const uintptr_t ao = static_cast<uintptr_t>(i) * sizeof(T);
        __m128d r0 = L::next_two(pc + ao), r1 = L::next_two(pc + ao + 2 * sizeof(T));
        for (int t = 0; t < N; ++t) {
          r0 = _mm_add_pd(_mm_mul_pd(b[t], L::next_two(pa[t] + ao)), r0);
          r1 = _mm_add_pd(_mm_mul_pd(b[t], L::next_two(pa[t] + ao + 2 * sizeof(T))), r1);
          if (t + 1 < N) r0 = L::kind(r0), r1 = L::kind(r1);
        }
        L::put_next_two(pc + ao, r0);
        L::put_next_two(pc + ao + 2 * sizeof(T), r1);
      }
    }
    for (; i + 2 <= len; i += 2) {
      const uintptr_t ao = static_cast<uintptr_t>(i) * ai;
      const uintptr_t c0 = pc + static_cast<uintptr_t>(i) * ci;
      __m128d r = L::pair(c0, c0 + ci);
      for (int t = 0; t < N; ++t) {
        r = _mm_add_pd(_mm_mul_pd(b[t], L::pair(pa[t] + ao, pa[t] + ao + ai)), r);
        if (t + 1 < N) r = L::kind(r);
      }
      L::put_pair(c0, c0 + ci, r);
    }
    if (i < len) {  // the last odd element: one lane
      const uintptr_t ao = static_cast<uintptr_t>(i) * ai;
      const uintptr_t c0 = pc + static_cast<uintptr_t>(i) * ci;
      __m128d r = L::one(c0);
      for (int t = 0; t < N; ++t) {
        r = _mm_add_sd(_mm_mul_sd(b[t], L::one(pa[t] + ao)), r);
        if (t + 1 < N) r = L::kind(r);
      }
      L::put_one(c0, r);
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

// Conditions (1), (2) and (4).
bool lanes_worth_it(const GemmCall& g, uint16_t cw) {
  if (!cpu_has_sse2() || (cw & 0x0300) != 0x0200) return false;
  // The scan reads M K + K N elements for M N K terms: worth it only when
  // both M and N are at least 8 and there is some work.
  return g.m >= 8 && g.n >= 8 && g.k > 0 && int64_t{g.m} * g.n * g.k >= (int64_t{1} << 15);
}

}  // namespace

bool sse2_real8_exact(const GemmCall& g, uint16_t cw) {
  if (!lanes_worth_it(g, cw)) return false;
  ExponentRange ra, rb;
  if (!scan<uint64_t>(g.a, g.m, g.as1, g.k, g.as2, ra) ||
      !scan<uint64_t>(g.b, g.k, g.bs1, g.n, g.bs2, rb))
    return false;
  if (ra.largest == 0 || rb.largest == 0) return true;  // every product is zero
  const int32_t log2_k = 32 - __builtin_clz(static_cast<uint32_t>(g.k));  // >= ceil(log2 K)
  return ra.largest + rb.largest - 2046 + 2 + log2_k <= 1020 &&
         ra.smallest + rb.smallest - 2046 >= -1022;
}

bool sse2_real4_exact(const GemmCall& g, uint16_t cw) {
  ExponentRange ra, rb;
  return lanes_worth_it(g, cw) && scan<uint32_t>(g.a, g.m, g.as1, g.k, g.as2, ra) &&
         scan<uint32_t>(g.b, g.k, g.bs1, g.n, g.bs2, rb);
}

void sse2_real8_gemm(const GemmCall& g, uint16_t cw) {
  const uint32_t saved = enter_lanes(cw);
  gemm<Sse2Real<double>>(g);
  leave_lanes(saved);
}

void sse2_real4_gemm(const GemmCall& g, uint16_t cw) {
  const uint32_t saved = enter_lanes(cw);
  gemm<Sse2Real<float>>(g);
  leave_lanes(saved);
}

}  // namespace f90::matrix
