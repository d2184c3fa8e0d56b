// The loop of SUM and PRODUCT along a dimension (_SUM_<t>, _PROD_<t>): one
// template over the element kinds of kinds.h.
//
// After the set-up (which checks DIM, completes and allocates a result that
// arrived without storage, and moves dimension DIM to position 0) every result
// element is set to the identity, then the source elements are combined into
// the result elements in place: the result element is the running value,
// brought to the element's format after every term (REAL*4/8 and COMPLEX
// rounded, INTEGER*1/2 narrowed). Each result element receives its terms one
// at a time in increasing DIM index. The result elements along the result's
// first dimension are taken in blocks, the DIM index sweeping each block
// before the next: a term into each element of the block, then the next
// term into each. As long as distinct result elements do not share storage
// this gives the bits of the plain order (DIM outside, the lines inside),
// and several result elements are in flight at once. A block is a few
// lines when DIM is the closer-packed dimension (each line then a stream
// through the source, trailing the one before it by a few elements), and as
// many as stay in the second-level cache when the lines are neighbours.
//
// REAL*4, REAL*8 and the COMPLEX*8/16 sums and the REAL products combine each
// term into the result element in memory: one load, one x87 operation with
// the source element and one store that rounds to the element's kind.
//
// The unmasked REAL*4 and REAL*8 sums and products run up to 8 KiB of
// lines at a time in SSE2 instead when that gives the same bits
// (internal/sse2_exact.h): the running values are copied into a buffer of
// the kind, each term goes in as the x87 step does it (the running value and
// the term widened to double, which is exact; addsd or mulsd rounding to 53
// bits; the store rounding to the kind) and the buffer is copied back. The
// running values of a group of 8 lines stay in the xmm registers while the
// group takes its terms: a whole line when DIM is the closer-packed
// dimension, kSse2Steps terms per turn of the groups when the lines are
// neighbours. Why the bits are the x87's: under a control word of 53-bit
// precision, every exception masked (Sse2AsX87::begin refuses any other, and
// mirrors its rounding into MXCSR), the x87's fadd and fmul round the exact
// result to 53 bits in that rounding, as addsd and mulsd do; the two differ
// only where the x87's wider exponent range shows, that is where a rounded
// result is beyond the double range or subnormal, and in which NaN payload an
// operation on two NaNs keeps. REAL*8: the fstp of an in-range 53-bit value
// is exact, so both give the same double. REAL*4: both round the same 53-bit
// value to float once more (cvtsd2ss and fstps, same rounding), so no
// double-rounding argument is needed. After each run of lines MXCSR is read:
// overflow or underflow (a rounded result left the normal range), denormal
// operand (a subnormal term or running value), invalid (infinities of
// opposite signs, zero times infinity, a signalling NaN) or a NaN among the
// final values (a NaN, once in, stays to the end of its line) refuse the
// run, which is then redone on the x87 path from the result elements,
// untouched since the SSE2 run wrote only the buffer. The source is only
// read, so the redo sees the same terms (a result that shares storage with
// its source is not a conforming call). Accepted runs raise the x87 inexact
// flag where the SSE2 run raised it.
//
// Positions after the set-up: source position 0 is DIM; source position k
// (k >= 1) corresponds to result position k - 1. Unused positions are filled
// with extent 1 and stride 0, so every rank goes through one 7-deep nest.
//
// Guarded inputs (never a fault of a conforming call):
// - after a 1405 or 1205 report nothing is stored;
// - a result without storage (null base) receives nothing;
// - terms go only to result elements that exist: a supplied result smaller
//   than the source's shape without DIM leaves the excess source elements
//   unread;
// - MASK elements that do not exist (a MASK of the source's rank with smaller
//   extents, or a MASK of another rank with no element) count as false;
// - a source with a null base has no terms.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include <cstring>
#include <emmintrin.h>
#include <type_traits>

#include "prodsum/kinds.h"
#include "prodsum/presum.h"
#include "common/mask.h"
#include "common/walk.h"
#include "sse2_exact.h"

namespace f90::prodsum {

// Geometry of one call in bytes, all seven positions filled.
struct DimGeometry {
  int32_t extent[F90_MAX_RANK];      // source, position 0 = DIM; clipped
  int32_t res_extent[F90_MAX_RANK];  // result, for the identity fill
  int64_t src[F90_MAX_RANK], res[F90_MAX_RANK], mask[F90_MAX_RANK];
  char* src_base;
  char* res_base;
  const char* mask_base;
};

template <class K>
inline void put_identity(char* r) {
  typename K::Work w;
  K::identity(w);
  K::write(w, r);
}

// One term into its result element.
template <class K, class M>
inline void take(char* r, const char* s, const char* m) {
  if (!M::truth(m)) return;
  if constexpr (requires { K::in_place(r, s); }) {
    K::in_place(r, s);
  } else {
    typename K::Work w = K::read(r);
    K::term(w, s);
    K::write(w, r);
  }
}

template <class K>
void fill_identity(const DimGeometry& g) {
  // Lines along result position 0, positions 1 to 5 outside it.
  WalkArray r{g.res_base, {}};
  for (int k = 0; k < F90_MAX_RANK - 1; ++k) r.stride[k] = g.res[k];
  walk_lines(F90_MAX_RANK - 1, 0, g.res_extent, std::array<WalkArray*, 1>{&r},
             [&](const std::array<char*, 1>& o) {
               for (int32_t j = 0; j < g.res_extent[0]; ++j) put_identity<K>(o[0] + j * g.res[0]);
             });
}

// One plane of source positions 0 (DIM) and 1, by value so that its loops
// keep the geometry in registers.
struct Plane {
  int32_t n0, n1;
  int64_t r0, s0, s1, m0, m1;
  int32_t block;  // result elements (lines along DIM) taken together
  int32_t skew;   // DIM indices by which each line of a block trails the one before
};

// Lines in flight when DIM steps through memory more closely than the result's
// first dimension: each step of a line waits for its previous store, so
// enough lines must be open to cover that latency; every open line is one
// stream through the source, trailing the one before by a few elements
// (spreading_skew, below).
inline constexpr int32_t kLinesInFlight = 16;
// Otherwise the lines are neighbours in memory and a block of them is as
// wide as keeps its result elements in the second-level cache while the DIM
// index sweeps the source in runs long enough to stream from memory.
inline constexpr int64_t kBlockBytes = 256 << 10;

// One step of `count` open lines: a term into each, the lines r0, s1, m1
// bytes apart.
template <class K, class M>
inline void take_row(char* r, const char* s, const char* m, int32_t count, ptrdiff_t r0,
                     ptrdiff_t s1, ptrdiff_t m1) {
#pragma GCC unroll 4
  for (int32_t q = 0; q < count; ++q, r += r0, s += s1, m += m1) take<K, M>(r, s, m);
}

// A block of lines taken together: at every step, one term into each open
// line. Line q of the block takes DIM index t - q * skew at step t, so each
// result element still receives its terms one at a time in increasing DIM
// index, rounded at each; the open lines only let the load-operate-store
// steps of different elements overlap, where one element's steps wait on
// each other. The skew keeps the open lines' source elements in different
// cache sets when the lines start a power of two apart.
template <class K, class M>
inline void take_block(char* rl, const char* sl, const char* ml, int32_t width, const Plane& p) {
  const ptrdiff_t r0 = static_cast<ptrdiff_t>(p.r0), s0 = static_cast<ptrdiff_t>(p.s0),
                  m0 = static_cast<ptrdiff_t>(p.m0);
  // From one line's element to the next line's at the same step.
  const ptrdiff_t s1 = static_cast<ptrdiff_t>(p.s1 - p.skew * p.s0),
                  m1 = static_cast<ptrdiff_t>(p.m1 - p.skew * p.m0);
  const int64_t last = p.n0 - 1;
  // Lines lo .. hi - 1 are open at step t; rl, sl, ml address line lo's.
  int32_t lo = 0, hi = 0;
  for (int64_t t = 0; lo < width; ++t, sl += s0, ml += m0) {
    while (hi < width && int64_t{hi} * p.skew <= t) ++hi;
    if (lo == 0 && hi == width) {  // every line open until line 0's last term
      if constexpr (requires { K::open_lines(rl, sl, width, last, s0, s1); }) {
        const int64_t n = last - t;
        K::open_lines(rl, sl, width, n, s0, s1);
        t += n;
        sl += n * s0;
        ml += n * m0;
      } else {
        for (; t < last; ++t, sl += s0, ml += m0) take_row<K, M>(rl, sl, ml, width, r0, s1, m1);
      }
    }
    take_row<K, M>(rl, sl, ml, hi - lo, r0, s1, m1);
    // Lines whose last term this step was close.
    for (; lo < hi && t - int64_t{lo} * p.skew == last; ++lo, rl += r0, sl += s1, ml += m1) {
    }
  }
}

// A value of the kind in an xmm register's low lane, moved as an integer (a
// value the compiler moves itself may go through the x87, which quiets a
// signalling NaN), and the kind's scalar SSE operation.
template <class T>
struct Lane;
template <>
struct Lane<double> {
  using V = __m128d;
  [[gnu::target("sse2"), gnu::always_inline]] static V load(const void* p) {
    return _mm_castsi128_pd(_mm_loadl_epi64(static_cast<const __m128i*>(p)));
  }
  [[gnu::target("sse2"), gnu::always_inline]] static void store(void* p, V v) {
    _mm_storel_epi64(static_cast<__m128i*>(p), _mm_castpd_si128(v));
  }
  template <Op O>
  [[gnu::target("sse2"), gnu::always_inline]] static V op(V a, V b) {
    return O == Op::sum ? _mm_add_sd(a, b) : _mm_mul_sd(a, b);
  }
};
template <>
struct Lane<float> {
  using V = __m128;
  [[gnu::target("sse2"), gnu::always_inline]] static V load(const void* p) {
    uint32_t b;
    std::memcpy(&b, p, sizeof b);
    return _mm_castsi128_ps(_mm_cvtsi32_si128(static_cast<int>(b)));
  }
  [[gnu::target("sse2"), gnu::always_inline]] static void store(void* p, V v) {
    const auto b = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_castps_si128(v)));
    std::memcpy(p, &b, sizeof b);
  }
  template <Op O>
  [[gnu::target("sse2"), gnu::always_inline]] static V op(V a, V b) {
    return O == Op::sum ? _mm_add_ss(a, b) : _mm_mul_ss(a, b);
  }
};

// Eight lines, written out: the compiler would keep a few of the eight
// running values in memory. MOV moves a value of the kind (movsd, movss), OP
// is its addition or multiplication; w is the kind's bytes.
#define F90_GROUP_OF_8(MOV, OP)                                                             \
  __asm__ volatile(                                                                         \
      MOV " (%[run]), %%xmm0\n\t" MOV " %c[o1](%[run]), %%xmm1\n\t"                           \
      MOV " %c[o2](%[run]), %%xmm2\n\t" MOV " %c[o3](%[run]), %%xmm3\n\t"                     \
      MOV " %c[o4](%[run]), %%xmm4\n\t" MOV " %c[o5](%[run]), %%xmm5\n\t"                     \
      MOV " %c[o6](%[run]), %%xmm6\n\t" MOV " %c[o7](%[run]), %%xmm7\n"                        \
      "1:\n\t" OP " (%[s]), %%xmm0\n\t" OP " (%[s],%[s1]), %%xmm1\n\t"                       \
      OP " (%[s],%[s1],2), %%xmm2\n\t" OP " (%[s],%[s3]), %%xmm3\n\t"                         \
      OP " (%[s4]), %%xmm4\n\t" OP " (%[s4],%[s1]), %%xmm5\n\t"                               \
      OP " (%[s4],%[s1],2), %%xmm6\n\t" OP " (%[s4],%[s3]), %%xmm7\n\t"                       \
      "add %[s0], %[s]\n\tadd %[s0], %[s4]\n\tdec %[n]\n\tjnz 1b\n\t"                         \
      MOV " %%xmm0, (%[run])\n\t" MOV " %%xmm1, %c[o1](%[run])\n\t"                           \
      MOV " %%xmm2, %c[o2](%[run])\n\t" MOV " %%xmm3, %c[o3](%[run])\n\t"                     \
      MOV " %%xmm4, %c[o4](%[run])\n\t" MOV " %%xmm5, %c[o5](%[run])\n\t"                     \
      MOV " %%xmm6, %c[o6](%[run])\n\t" MOV " %%xmm7, %c[o7](%[run])"                           \
      : [s] "+r"(s), [s4] "+r"(s4), [n] "+r"(n)                                                \
      : [run] "r"(run), [s1] "r"(s1), [s3] "r"(s3), [s0] "g"(s0), [o1] "i"(w), [o2] "i"(2 * w), \
        [o3] "i"(3 * w), [o4] "i"(4 * w), [o5] "i"(5 * w), [o6] "i"(6 * w), [o7] "i"(7 * w)    \
      : "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7", "cc", "memory")

// A group of G <= 8 lines (i386 has 8 xmm registers) takes n >= 1 steps
// with its running values in registers, one per line, then they go back to
// run. Line q's term at a step is q * s1 bytes after line 0's, the next
// step's s0 bytes after it.
template <class T, Op O, int G>
[[gnu::target("sse2"), gnu::always_inline]] inline void group_steps(T* run, const char* s,
                                                                    int32_t n, ptrdiff_t s0,
                                                                    ptrdiff_t s1) {
  if constexpr (G == 8) {
    const char* s4 = s + 4 * s1;
    const ptrdiff_t s3 = 3 * s1;
    constexpr int w = sizeof(T);
    if constexpr (w == 8 && O == Op::sum) {
      F90_GROUP_OF_8("movsd", "addsd");
    } else if constexpr (w == 8) {
      F90_GROUP_OF_8("movsd", "mulsd");
    } else if constexpr (O == Op::sum) {
      F90_GROUP_OF_8("movss", "addss");
    } else {
      F90_GROUP_OF_8("movss", "mulss");
    }
  } else {
    using L = Lane<T>;
    typename L::V a[G];
#pragma GCC unroll 8
    for (int q = 0; q < G; ++q) a[q] = L::load(run + q);
    for (; n > 0; --n, s += s0) {
#pragma GCC unroll 8
      for (int q = 0; q < G; ++q) a[q] = L::template op<O>(a[q], L::load(s + q * s1));
    }
#pragma GCC unroll 8
    for (int q = 0; q < G; ++q) L::store(run + q, a[q]);
  }
}
#undef F90_GROUP_OF_8

// group_steps for a group of g lines, 1 <= g <= G.
template <class T, Op O, int G>
[[gnu::target("sse2"), gnu::always_inline]] inline void group_of(int32_t g, T* run, const char* s,
                                                                 int32_t n, ptrdiff_t s0,
                                                                 ptrdiff_t s1) {
  if constexpr (G > 1) {
    if (g < G) return group_of<T, O, G - 1>(g, run, s, n, s0, s1);
  }
  group_steps<T, O, G>(run, s, n, s0, s1);
}

// Lines of a group, and steps a group of neighbouring REAL*8 lines takes
// before the next group (REAL*4: twice as many): the block's running values
// are read and written once per kSse2Steps terms each, while the source
// streams kSse2Steps rows at a time (more streams measured slower from the
// third-level cache on; REAL*4, whose group covers half as many bytes of a
// row, measured slower with as few).
inline constexpr int32_t kSse2Group = 8;
inline constexpr int64_t kSse2Steps = 8;

// One term of a REAL sum or product into a running value of the kind, in
// SSE2 (see the opening comment): widened to double (exact), added or
// multiplied rounding to 53 bits, stored rounding to the kind.
template <class T, Op O>
struct Sse2Real {
  using Value = T;
  [[gnu::target("sse2")]] static void in_place(char* r, const char* p) {
    T& rv = *reinterpret_cast<T*>(r);
    const T& pv = *reinterpret_cast<const T*>(p);
    if constexpr (sizeof(T) == 8) {
      if constexpr (O == Op::sum) {
        __asm__("movsd %0, %%xmm0\n\taddsd %1, %%xmm0\n\tmovsd %%xmm0, %0"
                : "+m"(rv) : "m"(pv) : "xmm0");
      } else {
        __asm__("movsd %0, %%xmm0\n\tmulsd %1, %%xmm0\n\tmovsd %%xmm0, %0"
                : "+m"(rv) : "m"(pv) : "xmm0");
      }
    } else if constexpr (O == Op::sum) {
      __asm__(
          "cvtss2sd %0, %%xmm0\n\tcvtss2sd %1, %%xmm1\n\taddsd %%xmm1, %%xmm0\n\t"
          "cvtsd2ss %%xmm0, %%xmm0\n\tmovss %%xmm0, %0"
          : "+m"(rv) : "m"(pv) : "xmm0", "xmm1");
    } else {
      __asm__(
          "cvtss2sd %0, %%xmm0\n\tcvtss2sd %1, %%xmm1\n\tmulsd %%xmm1, %%xmm0\n\t"
          "cvtsd2ss %%xmm0, %%xmm0\n\tmovss %%xmm0, %0"
          : "+m"(rv) : "m"(pv) : "xmm0", "xmm1");
    }
  }
  // n steps of `width` lines, every one open: their running values (at r,
  // one after another) in registers a group at a time. With one group it
  // takes all n steps at once; with several, kSse2Steps (REAL*4: twice as
  // many) before the next.
  // REAL*4 adds and multiplies in single precision there (addss, mulss):
  // that rounds the exact result once to 24 bits where in_place rounds it
  // to 53 bits and then to 24, the same value, as a product of two floats
  // is exact in 53 bits, a sum of two rounds innocuously twice (53 >=
  // 2 * 24 + 2 in round-to-nearest; directed roundings compose), and the
  // same flags, both raised by SSE on the same exact result.
  [[gnu::target("sse2"), gnu::flatten]] static void open_lines(char* r, const char* s,
                                                              int32_t width, int64_t n,
                                                              ptrdiff_t s0, ptrdiff_t s1) {
    T* run = reinterpret_cast<T*>(r);
    const int64_t k = width > kSse2Group ? kSse2Steps * 8 / sizeof(T) : n;
    for (int64_t t = 0; t < n; t += k, s += k * s0) {
      const auto steps = static_cast<int32_t>(std::min(k, n - t));
      for (int32_t q = 0; q < width; q += kSse2Group)
        group_of<T, O, kSse2Group>(std::min(kSse2Group, width - q), run + q, s + q * s1, steps,
                                   s0, s1);
    }
  }
};

// The SSE2 form of a kind's unmasked blocks, where there is one (void: none).
template <class K, class M>
struct Sse2Form {
  using type = void;
};
template <class T, Op O>
struct Sse2Form<Real<T, O>, NoMask> {
  using type = Sse2Real<T, O>;
};

// Lines run in SSE2 at once at most: their running values sit in a buffer
// of 8 KiB on the stack.
template <class T>
inline constexpr int32_t kSse2Lines = 8192 / sizeof(T);

// Lines of a plane (at most kSse2Lines, in blocks of p.block) in SSE2 into a
// buffer; false (the result elements untouched) when MXCSR or a NaN says the
// bits may not be the x87's.
template <class S>
[[gnu::target("sse2"), gnu::flatten]] bool take_lines_sse2(char* rl, const char* sl, int32_t width,
                                                          const Plane& p, x87::Sse2AsX87& mode) {
  using T = typename S::Value;
  T run[kSse2Lines<T>];
  if (p.r0 == sizeof(T)) {
    std::memcpy(run, rl, width * sizeof(T));
  } else {
    for (int32_t q = 0; q < width; ++q) std::memcpy(run + q, rl + q * p.r0, sizeof(T));
  }
  Plane b = p;
  b.r0 = sizeof(T);
  for (int32_t j0 = 0; j0 < width; j0 += p.block) {
    const char* sb = sl + int64_t{j0} * p.s1;
    take_block<S, NoMask>(reinterpret_cast<char*>(run + j0), sb, sb, std::min(p.block, width - j0),
                          b);
  }
  // NaN by an unordered SSE2 comparison, which raises nothing on the quiet
  // NaNs arithmetic leaves (an x87 comparison would touch the x87 flags).
  const char* v = reinterpret_cast<const char*>(run);
  const int32_t bytes = width * static_cast<int32_t>(sizeof(T));
  __m128 unordered = _mm_setzero_ps();
  int32_t i = 0;
  for (; i + 16 <= bytes; i += 16) {
    if constexpr (sizeof(T) == 8) {
      const __m128d x = _mm_loadu_pd(reinterpret_cast<const double*>(v + i));
      unordered = _mm_or_ps(unordered, _mm_castpd_ps(_mm_cmpunord_pd(x, x)));
    } else {
      const __m128 x = _mm_loadu_ps(reinterpret_cast<const float*>(v + i));
      unordered = _mm_or_ps(unordered, _mm_cmpunord_ps(x, x));
    }
  }
  for (; i < bytes; i += sizeof(T)) {  // the last one to three values
    if constexpr (sizeof(T) == 8) {
      const __m128d x = Lane<double>::load(v + i);
      unordered = _mm_or_ps(unordered, _mm_castpd_ps(_mm_cmpunord_sd(x, x)));
    } else {
      const __m128 x = _mm_load_ss(reinterpret_cast<const float*>(v + i));
      unordered = _mm_or_ps(unordered, _mm_cmpunord_ss(x, x));
    }
  }
  const bool nan = _mm_movemask_ps(unordered) != 0;
  if (!mode.checkpoint(nan)) return false;
  if (p.r0 == sizeof(T)) {
    std::memcpy(rl, run, width * sizeof(T));
  } else {
    for (int32_t q = 0; q < width; ++q) std::memcpy(rl + q * p.r0, run + q, sizeof(T));
  }
  return true;
}

// The lines of a plane in blocks: at every step, one term into each open
// line of the block. `sse2` (null: x87 only) runs the kind's SSE2 form first,
// as many blocks at once as its buffer holds; lines it refuses are redone on
// the x87.
template <class K, class M>
inline void take_plane(char* r, const char* s, const char* m, const Plane p,
                       x87::Sse2AsX87* sse2) {
  using S = typename Sse2Form<K, M>::type;
  int32_t chunk = p.block;
  if constexpr (!std::is_void_v<S>) {
    // Whole blocks, or one block the buffer holds whole (its lines are fewer).
    constexpr int32_t lines = kSse2Lines<typename S::Value>;
    if (sse2 != nullptr) chunk = p.block < lines ? lines / p.block * p.block : lines;
  }
  for (int32_t j0 = 0; j0 < p.n1; j0 += chunk) {
    const int32_t width = std::min(chunk, p.n1 - j0);
    char* rl = r + int64_t{j0} * p.r0;
    const char* sl = s + int64_t{j0} * p.s1;
    const char* ml = m + int64_t{j0} * p.m1;
    if constexpr (!std::is_void_v<S>) {
      if (sse2 != nullptr && take_lines_sse2<S>(rl, sl, width, p, *sse2)) continue;
    }
    for (int32_t b0 = 0; b0 < width; b0 += p.block)
      take_block<K, M>(rl + int64_t{b0} * p.r0, sl + int64_t{b0} * p.s1, ml + int64_t{b0} * p.m1,
                       std::min(p.block, width - b0), p);
  }
}

// The skew (in DIM indices) that puts the elements the open lines take at one
// step in the most distinct sets of a 64-set cache of 64-byte lines: lines
// that start a multiple of 4 KiB apart would otherwise all compete for one
// set. The smallest such skew, and only one whose ramp (the steps before
// every line is open) is at most a quarter of the line.
inline int32_t spreading_skew(int64_t s0, int64_t s1, int32_t n0, int32_t lines) {
  int32_t best = 0, best_sets = 0;
  for (int32_t k = 0; k <= 16 && int64_t{k} * lines * 4 <= n0; ++k) {
    const int64_t apart = s1 - k * s0;  // bytes from one line's element to the next one's
    uint64_t sets = 0;
    for (int32_t q = 0; q < lines; ++q) sets |= uint64_t{1} << (((q * apart) >> 6) & 63);
    const int n = __builtin_popcountll(sets);
    if (n > best_sets) {
      best = k;
      best_sets = n;
    }
    if (n == lines) break;
  }
  return best;
}

template <class K, class M>
void accumulate(const DimGeometry& g) {
  for (int k = 0; k < F90_MAX_RANK; ++k)
    if (g.extent[k] < 1) return;
  // Lines are blocked only when they are distinct result elements (a result
  // of stride 0 keeps the plain order: DIM outside, the lines inside).
  const bool blocked = g.res[0] != 0;
  const bool closer = std::llabs(g.src[0]) < std::llabs(g.src[1]);  // DIM is the closer-packed
  // The SSE2 form needs blocked lines; it keeps a group of lines in
  // registers, and its blocks are one group, or as many neighbouring lines as
  // its buffer holds.
  using S = typename Sse2Form<K, M>::type;
  x87::Sse2AsX87 mode;
  x87::Sse2AsX87* sse2 = nullptr;
  int32_t sse2_lines = 0;
  if constexpr (!std::is_void_v<S>) {
    if (blocked && mode.begin()) sse2 = &mode;
    sse2_lines = kSse2Lines<typename S::Value>;
  }
  int32_t block = g.extent[1], skew = 0;
  if (blocked && closer) {
    block = sse2 != nullptr ? kSse2Group : kLinesInFlight;
    skew = spreading_skew(g.src[0], g.src[1], g.extent[0], block);
  } else if (blocked) {
    block = sse2 != nullptr
                ? sse2_lines
                : static_cast<int32_t>(std::max<int64_t>(kLinesInFlight, kBlockBytes / K::kBytes));
  }
  const Plane plane{g.extent[0], g.extent[1], g.res[0], g.src[0], g.src[1], g.mask[0], g.mask[1],
                    block, skew};
  // Source positions 2 to 6 outside the nest over positions 0 and 1: lines
  // along position 0, with position 1 (walked below) given extent 1.
  int32_t outer[F90_MAX_RANK];
  WalkArray ws{g.src_base, {}}, wr{g.res_base, {}}, wm{const_cast<char*>(g.mask_base), {}};
  for (int k = 0; k < F90_MAX_RANK; ++k) {
    outer[k] = k == 1 ? 1 : g.extent[k];
    ws.stride[k] = g.src[k];
    wr.stride[k] = k >= 2 ? g.res[k - 1] : 0;
    wm.stride[k] = g.mask[k];
  }
  walk_lines(F90_MAX_RANK, 0, outer, std::array<WalkArray*, 3>{&ws, &wr, &wm},
             [&](const std::array<char*, 3>& o) { take_plane<K, M>(o[1], o[0], o[2], plane, sse2); });
  if (sse2 != nullptr) mode.end(false);  // every block already judged
}

template <class K>
void reduce_along_dim(ArrayDescriptor* result, ArrayDescriptor* source, const int32_t* dim,
                      ArrayDescriptor* mask) {
  ReductionSetup s{};  // entries the set-up does not write stay extent 0, stride 0
  if (presum(1, result, source, dim, mask, s) != SetupStatus::ok) return;
  if (s.res_base == nullptr) return;

  DimGeometry g{};
  const int n = s.src_rank;
  g.src_base = s.src_base;
  g.res_base = s.res_base;
  for (int k = 0; k < F90_MAX_RANK; ++k) {
    g.extent[k] = k < n ? s.src_extent[k] : 1;
    g.src[k] = k < n ? int64_t{s.src_stride[k]} * K::kBytes : 0;
    g.res_extent[k] = k < n - 1 ? s.res_extent[k] : 1;
    g.res[k] = k < n - 1 ? int64_t{s.res_stride[k]} * K::kBytes : 0;
  }
  for (int k = 1; k < F90_MAX_RANK; ++k) g.extent[k] = std::min(g.extent[k], g.res_extent[k - 1]);
  if (g.src_base == nullptr) g.extent[0] = 0;

  fill_identity<K>(g);
  if (s.mask_present == 0) {
    g.mask_base = g.src_base;  // never read
    return accumulate<K, NoMask>(g);
  }

  const Desc md(mask);
  if (md.rank() == n) {
    for (int k = 0; k < n; ++k) g.extent[k] = std::min(g.extent[k], s.mask_extent[k]);
  } else if (md.element_count() == 0) {
    return;  // no MASK value at all: every term is false
  }
  auto masked = [&](auto word, int64_t unit, const char* base) {
    g.mask_base = base;
    for (int k = 0; k < F90_MAX_RANK; ++k) g.mask[k] = k < n ? int64_t{s.mask_stride[k]} * unit : 0;
    accumulate<K, decltype(word)>(g);
  };
  by_mask_bytes(s, masked);
}

}  // namespace f90::prodsum

// One row of the tables of sum.cpp and prod.cpp: the exported symbol, its
// thunk (result, source, DIM, MASK) and the element kind of kinds.h.
#define F90_DIM_ENTRY(sym, name, ...)                                                          \
  F90_API void name(ArrayDescriptor* r, ArrayDescriptor* s, const int32_t* d,                  \
                    ArrayDescriptor* m) F90_SYMBOL(sym);                                       \
  void name(ArrayDescriptor* r, ArrayDescriptor* s, const int32_t* d, ArrayDescriptor* m) {    \
    f90::prodsum::reduce_along_dim<__VA_ARGS__>(r, s, d, m);                                   \
  }
