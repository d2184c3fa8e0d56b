// Lane kernels of the searches (array/lanes.h says what each computes and
// why its comparisons are the x87's).
//
// Each kernel is written once, over GCC vector types of W bytes, and built
// twice: W = 16 under target("sse2") and W = 32 under target("avx2") (the
// integer extremes and the column locations a third time, W = 64 under
// AVX-512). The kernel bodies are always inlined into those wrappers,
// so every vector
// operation is compiled for the wrapper's instruction set; nothing outside
// a wrapper sees a vector type. The loops take four vectors a step, with
// independent accumulators, and finish the run element by element.
#include "array/lanes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <utility>

#include "chars/bytes.h"
#include "common/mask.h"
#include "sse2_exact.h"
#include "value/float_bits.h"

#if defined(__GNUC__) && !defined(__clang__)
// Vector types only cross always-inlined calls inside one wrapper.
#pragma GCC diagnostic ignored "-Wpsabi"
#endif

namespace f90::lanes {

namespace {

#define LANES_INLINE [[gnu::always_inline]] inline

template <class T, int W>
struct VecOf {
  typedef T type __attribute__((vector_size(W)));
};
template <class T, int W>
using Vec = typename VecOf<T, W>::type;

// A vector, or one element, read as bytes (any alignment).
template <class V>
LANES_INLINE V load(const void* p) {
  V v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
template <class V>
LANES_INLINE void store(void* p, V v) {
  std::memcpy(p, &v, sizeof v);
}

// Whether any lane of a comparison mask is set.
template <int W, class M>
LANES_INLINE bool nonzero(M m) {
  const auto w = (Vec<uint32_t, W>)m;
  uint32_t a = 0;
  for (int k = 0; k < W / 4; ++k) a |= w[k];
  return a != 0;
}

// x takes the place of c in the extreme's direction (scalars and lanes).
template <bool Max, class V>
LANES_INLINE V pick(V c, V x) {
  if constexpr (Max)
    return x > c ? x : c;
  else
    return x < c ? x : c;
}

// The lanes where x or y holds a NaN: a mask vector, or at W = 64 one bit a
// lane from one unordered compare into a mask register (GCC would build the
// 64-byte mask vectors lane by lane). has_nan tells whether an OR of them
// has any. The bits keep the mask's own width: GCC 12 can widen a 16-bit
// mask by a 16-bit store into a 32-bit slot (seen at -O1), leaving the
// upper half as it was.
template <int W, class V>
LANES_INLINE auto nan_lanes(V x, V y) {
#if defined(__GNUC__) && !defined(__clang__)
  using E = std::remove_cvref_t<decltype(x[0])>;
  if constexpr (W == 64 && std::is_same_v<E, double>)
    return __builtin_ia32_cmppd512_mask(x, y, 3, 0xff, 4);
  else if constexpr (W == 64 && std::is_same_v<E, float>)
    return __builtin_ia32_cmpps512_mask(x, y, 3, 0xffff, 4);
  else
#endif
    return (x != x) | (y != y);
}
template <int W, class M>
LANES_INLINE bool has_nan(M m) {
  if constexpr (std::is_integral_v<M>)
    return m != 0;
  else
    return nonzero<W>(m);
}

// The extreme of v's lanes, halving the vector (for REAL lanes GCC keeps
// the order of a lane loop: one x87 compare a lane). Which of equal values
// comes out does not matter (extreme's contract).
template <bool Max, int W, class T>
LANES_INLINE T lanes_extreme(Vec<T, W> v) {
  if constexpr (W > 16) {
    Vec<T, W / 2> lo, hi;
    std::memcpy(&lo, &v, W / 2);
    std::memcpy(&hi, reinterpret_cast<const char*>(&v) + W / 2, W / 2);
    return lanes_extreme<Max, W / 2, T>(pick<Max>(lo, hi));
  } else {
    T r = v[0];
    for (int k = 1; k < W / int(sizeof(T)); ++k) r = pick<Max>(r, T(v[k]));
    return r;
  }
}

template <int W, class T, bool Max>
LANES_INLINE void extreme_k(const T* p, int32_t n, T& best, bool& nan) {
  using V = Vec<T, W>;
  constexpr int32_t L = W / sizeof(T);
  constexpr bool real = std::is_floating_point_v<T>;
  // REAL lanes start from the infinity that every element but a NaN beats
  // or equals; integer lanes from the first vector of elements, or none
  // (zeros, not read) in a run shorter than a vector: a broadcast of the
  // first element GCC builds lane by lane at W = 64.
  T init;
  V b0{};
  if constexpr (real) {
    init = Max ? -__builtin_inf() : __builtin_inf();
    b0 += init;
  } else {
    init = load<T>(p);
    if (n >= L) b0 = load<V>(p);
  }
  // Two accumulators, each taking the extreme of a pair of vectors a step:
  // few enough registers for 32-bit code to keep every vector in one.
  V b1 = b0;
  decltype(nan_lanes<W>(b0, b0)) un{};
  int32_t i = 0;
  // 64-byte lanes: the first vector as it lies, then vectors from the first
  // line boundary on (a load across two lines costs two: 15-25% slower
  // from DRAM). The elements taken twice change no extreme.
  if constexpr (W == 64) {
    const uintptr_t mis = reinterpret_cast<uintptr_t>(p) % 64;
    if (n >= 2 * L && mis % sizeof(T) == 0) {
      const V x = load<V>(p);
      b0 = pick<Max>(b0, x);
      if constexpr (real) un |= nan_lanes<W>(x, x);
      i = int32_t((64 - mis) % 64 / sizeof(T));
    }
  }
  for (; n - i >= 4 * L; i += 4 * L) {
    const V x0 = load<V>(p + i), x1 = load<V>(p + i + L), x2 = load<V>(p + i + 2 * L),
            x3 = load<V>(p + i + 3 * L);
    if constexpr (real)
      un |= nan_lanes<W>(x0, x1) | nan_lanes<W>(x2, x3);
    b0 = pick<Max>(b0, pick<Max>(x0, x1));
    b1 = pick<Max>(b1, pick<Max>(x2, x3));
  }
  for (; n - i >= L; i += L) {
    const V x = load<V>(p + i);
    b0 = pick<Max>(b0, x);
    if constexpr (real) un |= nan_lanes<W>(x, x);
  }
  b0 = pick<Max>(b0, b1);
  T r = init;
  if (real || n >= L) r = pick<Max>(r, lanes_extreme<Max, W, T>(b0));
  bool seen = real && has_nan<W>(un);
  for (; i < n; ++i) {
    const T x = load<T>(p + i);
    if (real && x != x)
      seen = true;
    else
      r = pick<Max>(r, x);
  }
  best = r;
  nan = seen;
}

template <int W, class T>
LANES_INLINE int32_t find_equal_k(const T* p, int32_t n, T v) {
  using V = Vec<T, W>;
  constexpr int32_t L = W / sizeof(T);
  const V vv = V{} + v;
  int32_t i = 0;
  for (; n - i >= 4 * L; i += 4 * L) {
    const auto m = (load<V>(p + i) == vv) | (load<V>(p + i + L) == vv) |
                   (load<V>(p + i + 2 * L) == vv) | (load<V>(p + i + 3 * L) == vv);
    if (nonzero<W>(m)) break;
  }
  for (; i < n; ++i)
    if (load<T>(p + i) == v) return i;
  return n;
}

// ---- REAL*16 ----------------------------------------------------------------

LANES_INLINE bool tame(uint64_t hi, uint64_t lo) {
  if (((hi | lo) << 1) == 0) return true;  // both parts zeros
  const int eh = fp::exponent_field(fp::from_bits<double>(hi));
  return eh >= 1 && eh <= 2046 && eh - fp::exponent_field(fp::from_bits<double>(lo)) >= 55;
}

// The high parts of the pair of vectors at q into hi, the low parts into lo:
// one unpack each, so lane k holds element r16_element<W>(k) of the pair.
template <int W>
LANES_INLINE void r16_split(const char* q, Vec<double, W>& hi, Vec<double, W>& lo) {
  using D = Vec<double, W>;
  const D a = load<D>(q), b = load<D>(q + W);
  if constexpr (W == 16) {
    hi = __builtin_shufflevector(a, b, 0, 2);
    lo = __builtin_shufflevector(a, b, 1, 3);
  } else if constexpr (W == 32) {
    hi = __builtin_shufflevector(a, b, 0, 4, 2, 6);
    lo = __builtin_shufflevector(a, b, 1, 5, 3, 7);
  } else {
    hi = __builtin_shufflevector(a, b, 0, 8, 2, 10, 4, 12, 6, 14);
    lo = __builtin_shufflevector(a, b, 1, 9, 3, 11, 5, 13, 7, 15);
  }
}

// r16_split's inverse: the elements back at q, their bits unchanged.
template <int W>
LANES_INLINE void r16_join(char* q, Vec<double, W> hi, Vec<double, W> lo) {
  if constexpr (W == 16) {
    store(q, __builtin_shufflevector(hi, lo, 0, 2));
    store(q + W, __builtin_shufflevector(hi, lo, 1, 3));
  } else if constexpr (W == 32) {
    store(q, __builtin_shufflevector(hi, lo, 0, 4, 2, 6));
    store(q + W, __builtin_shufflevector(hi, lo, 1, 5, 3, 7));
  } else {
    store(q, __builtin_shufflevector(hi, lo, 0, 8, 2, 10, 4, 12, 6, 14));
    store(q + W, __builtin_shufflevector(hi, lo, 1, 9, 3, 11, 5, 13, 7, 15));
  }
}

// |v|: the sign bits cleared.
template <int W>
LANES_INLINE Vec<double, W> r16_abs(Vec<double, W> v) {
  using S = Vec<int64_t, W>;
  return (Vec<double, W>)((S)v & (S{} + INT64_MAX));
}

// One bit per 64-bit lane, from each lane's sign: one movmskpd. (Clang
// checks a builtin's instruction set where it is written, not where it is
// inlined: its builds, the sanitizers' and the fuzzers', take the lanes one
// by one.)
template <int W>
LANES_INLINE int lane_bits(Vec<int64_t, W> m) {
#if defined(__GNUC__) && !defined(__clang__)
  if constexpr (W == 16)
    return __builtin_ia32_movmskpd((Vec<double, 16>)m);
  else if constexpr (W == 32)
    return __builtin_ia32_movmskpd256((Vec<double, 32>)m);
#endif
  int bits = 0;
  for (int k = 0; k < W / 8; ++k) bits |= (m[k] < 0 ? 1 : 0) << k;
  return bits;
}

// One bit per lane of a < b (a <= b with OrEqual), as lane_bits of the
// comparison, which 64-byte lanes make in a mask register (in lanes GCC
// would compare them one by one on the x87).
template <int W, bool OrEqual = false>
LANES_INLINE int less_bits(Vec<double, W> a, Vec<double, W> b) {
#if defined(__GNUC__) && !defined(__clang__)
  if constexpr (W == 64)  // the predicates of < and <=; rounding as in MXCSR
    return __builtin_ia32_cmppd512_mask(a, b, OrEqual ? 2 : 1, 0xff, 4);
#endif
  return lane_bits<W>((Vec<int64_t, W>)(OrEqual ? a <= b : a < b));
}

// The filter of lanes.h over a pair of vectors at q, which hold P = W / 8
// elements: a bit set in the lane of each element passed over (x.hi +
// 4|x.lo| below c, greatest; x.hi - 4|x.lo| above c, least).
template <int W, bool Greatest>
LANES_INLINE int r16_pass(const char* q, Vec<double, W> c) {
  using D = Vec<double, W>;
  D hi, lo;
  r16_split<W>(q, hi, lo);
  const D mag = r16_abs<W>(lo) * (D{} + 4.0);
  return Greatest ? less_bits<W>(hi + mag, c) : less_bits<W>(c, hi - mag);
}

// The element of a pair held in lane k (the unpacks interleave the two
// vectors within each 16-byte part): 0 2 1 3 for 32-byte lanes, 0 4 1 5 2 6
// 3 7 for 64-byte lanes.
template <int W>
LANES_INLINE int r16_element(int k) {
  return (k & 1) * (W / 16) + (k >> 1);
}
// Its inverse: the lane that holds element e of a pair.
template <int W>
LANES_INLINE int r16_lane(int e) {
  return e < W / 16 ? 2 * e : 2 * (e - W / 16) + 1;
}

// The first element of the pair at q that the filter does not pass over,
// P when it passes over all.
template <int W, bool Greatest>
LANES_INLINE int32_t r16_first_in_pair(const char* q, Vec<double, W> c) {
  constexpr int P = W / 8;
  const auto m = r16_pass<W, Greatest>(q, c);
  int first = P;
  for (int k = 0; k < P; ++k)
    if ((m >> k & 1) == 0 && r16_element<W>(k) < first) first = r16_element<W>(k);
  return first;
}

template <int W, bool Greatest>
LANES_INLINE int32_t r16_first_candidate_k(const char* p, int32_t n, double ch) {
  using D = Vec<double, W>;
  constexpr int32_t P = W / 8;  // elements a pair of vectors
  constexpr int32_t G = 4;      // pairs a test
  // Copied into the lanes, not added to a zero vector: that would be an x87
  // addition, rounded to the caller's precision control.
  D c;
  for (int k = 0; k < P; ++k) c[k] = ch;
  int32_t i = 0;
  for (; n - i >= G * P; i += G * P) {
    const char* q = p + i * ptrdiff_t{16};
    const auto m = (r16_pass<W, Greatest>(q, c) & r16_pass<W, Greatest>(q + 2 * W, c)) &
                   (r16_pass<W, Greatest>(q + 4 * W, c) & r16_pass<W, Greatest>(q + 6 * W, c));
    if (m != (1 << P) - 1) break;
  }
  // The group that holds a candidate, or the last elements copied after
  // elements that every current value passes over (infinite high parts of
  // the sign that loses), pair by pair.
  const char* q = p + i * ptrdiff_t{16};
  alignas(32) char rest[G * P * 16];
  if (n - i < G * P) {
    const double pad[2] = {Greatest ? -__builtin_inf() : __builtin_inf(), 0.0};
    for (int32_t k = 0; k < G * P; ++k) std::memcpy(rest + k * 16, pad, 16);
    std::memcpy(rest, q, (n - i) * size_t{16});
    q = rest;
  }
  for (int32_t k = 0; k < G * P; k += P) {
    const int32_t e = r16_first_in_pair<W, Greatest>(q + k * 16, c);
    if (e < P) return i + k + e < n ? i + k + e : n;
  }
  return n;
}

// Whether the high part of the element at p is infinite or a NaN.
LANES_INLINE bool r16_special(const char* p) {
  return (load<uint32_t>(p + 4) & 0x7ff00000u) == 0x7ff00000u;
}

template <int W>
LANES_INLINE int32_t r16_first_special_k(const char* p, int32_t n) {
  using D = Vec<double, W>;
  constexpr int32_t P = W / 8;
  int32_t i = 0;
  for (; n - i >= 2 * P; i += 2 * P) {
    D hi, lo, hi2;
    r16_split<W>(p + i * ptrdiff_t{16}, hi, lo);
    r16_split<W>(p + (i + P) * ptrdiff_t{16}, hi2, lo);
    const D inf = D{} + __builtin_inf();
    if (lane_bits<W>((r16_abs<W>(hi) < inf) & (r16_abs<W>(hi2) < inf)) != (1 << P) - 1) break;
  }
  for (; i < n; ++i)
    if (r16_special(p + i * ptrdiff_t{16})) return i;
  return n;
}

// ---- LOGICAL lanes -----------------------------------------------------------

// The lanes of B-byte LOGICAL elements: U is the lane type, and mask(x) has
// an all-ones lane for every true element. 8-byte elements use 32-bit lanes:
// the even lane holds the truth of the element (either word non-zero), the
// odd lane is 0; `valid` marks the lanes that stand for elements.
template <int W, uint32_t B>
struct LogicalLanes {
  using U = std::conditional_t<B == 1, uint8_t, std::conditional_t<B == 2, uint16_t, uint32_t>>;
  using V = Vec<U, W>;
  static constexpr int32_t kElems = W / B;  // elements per vector
  LANES_INLINE static V mask(const char* p) {
    if constexpr (B == 8) {
      const auto x = load<Vec<uint64_t, W>>(p);
      const V w = (V)(x | (x >> 32));
      return (V)(w != 0) & valid();
    } else {
      return (V)(load<V>(p) != 0);
    }
  }
  // All ones for every false element.
  LANES_INLINE static V false_mask(const char* p) {
    if constexpr (B == 8) {
      const auto x = load<Vec<uint64_t, W>>(p);
      const V w = (V)(x | (x >> 32));
      return (V)(w == 0) & valid();
    } else {
      return (V)(load<V>(p) == 0);
    }
  }
  LANES_INLINE static V valid() {
    V v = {};
    for (int k = 0; k < W / int(sizeof(U)); ++k) v[k] = B == 8 && (k & 1) ? 0 : U(~U{0});
    return v;
  }
};

template <int W, uint32_t B>
LANES_INLINE uint64_t count_true_k(const char* p, int64_t n) {
  using LL = LogicalLanes<W, B>;
  using V = typename LL::V;
  constexpr int64_t L = LL::kElems;
  // A lane gains at most 4 a step: byte lanes are summed every 63 steps,
  // 16-bit lanes every 16383.
  constexpr int64_t kSteps = B == 1 ? 63 : B == 2 ? 16383 : int64_t{1} << 28;
  uint64_t total = 0;
  int64_t i = 0;
  while (n - i >= 4 * L) {
    int64_t steps = (n - i) / (4 * L);
    if (steps > kSteps) steps = kSteps;
    V acc = {};
    for (; steps > 0; --steps, i += 4 * L) {
      const char* q = p + i * B;
      acc -= (LL::mask(q) + LL::mask(q + W)) + (LL::mask(q + 2 * W) + LL::mask(q + 3 * W));
    }
    for (int k = 0; k < W / int(sizeof(typename LL::U)); ++k) total += acc[k];
  }
  for (; i < n; ++i) total += Logical<B>::truth(p + i * B) ? 1 : 0;
  return total;
}

template <int W, uint32_t B, bool Want>
LANES_INLINE int64_t find_truth_k(const char* p, int64_t n) {
  using LL = LogicalLanes<W, B>;
  using V = typename LL::V;
  constexpr int64_t L = LL::kElems;
  const V flip = Want ? V{} : LL::valid();
  // Eight vectors a step, one test of the lanes for all of them.
  int64_t i = 0;
  for (; n - i >= 8 * L; i += 8 * L) {
    const char* q = p + i * B;
    V m = ((LL::mask(q) ^ flip) | (LL::mask(q + W) ^ flip)) |
          ((LL::mask(q + 2 * W) ^ flip) | (LL::mask(q + 3 * W) ^ flip));
    q += 4 * W;
    m |= ((LL::mask(q) ^ flip) | (LL::mask(q + W) ^ flip)) |
         ((LL::mask(q + 2 * W) ^ flip) | (LL::mask(q + 3 * W) ^ flip));
    if (nonzero<W>(m)) break;
  }
  for (; i < n; ++i)
    if (Logical<B>::truth(p + i * B) == Want) return i;
  return n;
}

// ---- Columns -----------------------------------------------------------------

inline constexpr int32_t kRows = 8;
// A location search asks for its rows ahead of their loads: with kRows
// rows a power of two apart, the hardware's prefetchers left the loads
// waiting on L2 and beyond. Rows of 4- and 8-byte elements are read in runs
// of 16 KiB (a block's lines): each row 2 KiB ahead, into L1 (4 KiB and
// more ahead was slower again). The 1- and 2-byte kinds' runs are 4-8 KiB:
// the row of the next chunk, into L2 (2 KiB ahead did little from L3 and
// memory for them). Past the block or the array, a prefetch faults nothing.
// Every line of the Bytes a row gives a step (two or three for 64-byte
// lanes).
template <class T, int Bytes>
LANES_INLINE void ahead(const char* x, ptrdiff_t step) {
#pragma GCC unroll 3
  for (int b = 0; b < Bytes; b += 64) {
    if constexpr (sizeof(T) >= 4)
      __builtin_prefetch(x + b + 2048);
    else
      __builtin_prefetch(x + b + kRows * step, 0, 2);
  }
}

template <class T, Rule R>
LANES_INLINE bool takes(T c, T x) {
  switch (R) {
    case Rule::integer_max: return x > c;
    case Rule::integer_min: return x < c;
    case Rule::real_max: return !(c >= x);
    case Rule::real_min: return c > x;
  }
  return false;
}

// Lane masks of the same rule (all ones where x takes c's place).
template <Rule R, class V>
LANES_INLINE auto takes_lanes(V c, V x) {
  if constexpr (R == Rule::integer_max) return x > c;
  if constexpr (R == Rule::integer_min) return x < c;
  if constexpr (R == Rule::real_max) return !(c >= x);
  if constexpr (R == Rule::real_min) return c > x;
}

// A search for a location needs only the value of each column's current
// element, not its bits: the next current value is a maximum (minimum) that
// is computed apart from the mask, so that the chain from one row to the
// next is a single operation. real_max: c > x ? c : x takes x for a NaN c
// and for a NaN x, and an x equal to c leaves the same value; real_min:
// x < c ? x : c keeps c for a NaN x (a NaN c stays: nothing replaces it).
template <Rule R, class V>
LANES_INLINE V next_value(V c, V x) {
  if constexpr (R == Rule::integer_max) return x > c ? x : c;
  if constexpr (R == Rule::integer_min) return x < c ? x : c;
  if constexpr (R == Rule::real_max) return c > x ? c : x;
  if constexpr (R == Rule::real_min) return x < c ? x : c;
}

// Columns 0 .. n - 1 take their current elements (`bytes` bytes each) from
// `first`, at row `row` (at null: rows not kept).
template <class P>
LANES_INLINE void take_first(const char* first, int32_t n, size_t bytes, P row, void* best,
                             P* at) {
  std::memcpy(best, first, n * bytes);
  if (at != nullptr) std::fill_n(at, n, row);
}

// G neighbouring vectors of columns j .. j + G * L - 1 through rows
// r .. r + nr - 1 (row k0 + k + q at r + q * step): G independent chains of
// compare and select, so that their latencies overlap. The current values
// come from `first` at row row0 - 1 when it is given (the row before, laid
// out as a row), else from best and at.
// Rows are kept in `at` as P (32-bit rows, or the span rows of
// narrow_locations), in lanes as wide as the elements' (at least 32 bits
// but for those span rows), so that the comparison's mask selects them as
// it stands.
template <int W, class T, Rule R, bool Loc, int G, class P>
LANES_INLINE void column_group(const char* r, ptrdiff_t step, int32_t row0, int32_t nr,
                               int32_t j, const T* first, T* best, P* at) {
  using V = Vec<T, W>;
  constexpr int32_t L = W / sizeof(T);
  using E = std::conditional_t<sizeof(T) == 8, int64_t, std::conditional_t<sizeof(T) == 4, int32_t, P>>;
  using A = Vec<E, L * sizeof(E)>;
  using AP = Vec<P, L * sizeof(P)>;
  V c[G];
  A a[G];
#pragma GCC unroll 4
  for (int g = 0; g < G; ++g) {
    c[g] = load<V>((first != nullptr ? first : best) + j + g * L);
    if constexpr (Loc)
      a[g] = first != nullptr ? A{} + E(row0 - 1)
                              : __builtin_convertvector(load<AP>(at + j + g * L), A);
  }
  if constexpr (Loc) {
    // Narrow rows in 64-byte lanes: each row's vector is loaded once into a
    // register (folded into both the comparison and the extreme, it was read
    // twice, and the loads bounded the loop; the empty asm keeps GCC from
    // folding it, clang's fuzzing builds take the plain form). The rows step
    // by a 32-bit constant taken from memory (each lane's row stays below
    // its width's top, so no carry crosses a lane), which leaves the eighth
    // register for the row's vector. No rows are asked for ahead: these
    // blocks' rows span at most a few MiB, and the requests cost more than
    // they saved (a quarter slower at 1-4 MiB).
    constexpr bool kOnce = W == 64 && sizeof(T) < 4;
    A row = A{} + E(row0);
    for (int32_t q = 0; q < nr; ++q) {
      const char* x0 = r + q * step + j * ptrdiff_t{sizeof(T)};
      if constexpr (!kOnce) ahead<T, G * W>(x0, step);
#pragma GCC unroll 4
      for (int g = 0; g < G; ++g) {
        V x = load<V>(x0 + g * W);
#ifndef __clang__
        if constexpr (kOnce) asm("" : "+v"(x));
#endif
        a[g] = __builtin_convertvector(takes_lanes<R>(c[g], x), A) ? row : a[g];
        c[g] = next_value<R>(c[g], x);
      }
      if constexpr (kOnce) {
        using D = Vec<uint32_t, W>;
        row = (A)((D)row + ~uint32_t{0} / ((uint32_t{1} << 8 * sizeof(E)) - 1));
      } else {
        row += 1;
      }
    }
  } else {
    // Values only: a full chunk's rows unrolled (the caller passes
    // nr == kRows as a constant), one pointer stepping down the rows.
    const char* x0 = r + j * ptrdiff_t{sizeof(T)};
#pragma GCC unroll 8
    for (int32_t q = 0; q < nr; ++q, x0 += step)
#pragma GCC unroll 4
      for (int g = 0; g < G; ++g) {
        const V x = load<V>(x0 + g * W);
        c[g] = takes_lanes<R>(c[g], x) ? x : c[g];
      }
  }
#pragma GCC unroll 4
  for (int g = 0; g < G; ++g) {
    store(best + j + g * L, c[g]);
    if constexpr (Loc) store(at + j + g * L, __builtin_convertvector(a[g], AP));
  }
}

// A location search over a pair of neighbouring vectors of 8-byte elements
// (REAL*8, INTEGER*8) whose rows share one vector of 32-bit lanes (64-bit
// row lanes spill: 32-bit code has eight vector registers): per row, the
// two comparison masks are narrowed into one (a 32-bit shuffle of both,
// within 16-byte halves for W = 32, so the rows' lanes hold the columns in
// that order: put back when `at` is read and written), and one selection of
// the rows serves both.
template <int W, class T, Rule R>
LANES_INLINE void column_pair(const char* r, ptrdiff_t step, int32_t row0, int32_t nr, int32_t j,
                              const T* first, T* best, int32_t* at) {
  using V = Vec<T, W>;
  using A = Vec<int32_t, W>;
  constexpr int32_t L = W / sizeof(T);
  const auto order = [](A v) {
    if constexpr (W == 32)
      return __builtin_shufflevector(v, v, 0, 1, 4, 5, 2, 3, 6, 7);
    else
      return v;
  };
  const T* const from = first != nullptr ? first : best;
  V c0 = load<V>(from + j), c1 = load<V>(from + j + L);
  A a = first != nullptr ? A{} + (row0 - 1) : order(load<A>(at + j));
  A row = A{} + row0;
  for (int32_t q = 0; q < nr; ++q, row += 1) {
    const char* x0 = r + q * step + j * ptrdiff_t{sizeof(T)};
    const V x = load<V>(x0), y = load<V>(x0 + W);
    ahead<T, 2 * W>(x0, step);
    const auto t0 = takes_lanes<R>(c0, x), t1 = takes_lanes<R>(c1, y);
    const A m0 = (A)t0, m1 = (A)t1;
    // Shuffled as float lanes: one shufps (as 32-bit integers, three
    // instructions).
    using F = Vec<float, W>;
    A m;
    if constexpr (W == 32)
      m = (A)__builtin_shufflevector((F)m0, (F)m1, 0, 2, 8, 10, 4, 6, 12, 14);
    else
      m = (A)__builtin_shufflevector((F)m0, (F)m1, 0, 2, 4, 6);
    a = m < 0 ? row : a;
    if constexpr (std::is_integral_v<T>) {
      // INTEGER*8 has no lane minimum: the mask's own selection (a second
      // comparison otherwise, for the least).
      c0 = t0 ? x : c0;
      c1 = t1 ? y : c1;
    } else {
      c0 = next_value<R>(c0, x);
      c1 = next_value<R>(c1, y);
    }
  }
  store(best + j, c0);
  store(best + j + L, c1);
  store(at + j, order(a));
}

// `Loc`: keep the row of each column's current element in `at`. With
// `first`, the first chunk takes each column's current value from there, at
// row k0 - 1, and best and at are only written (rows > 0).
template <int W, class T, Rule R, bool Loc, class P>
LANES_INLINE void columns_pass(const char* p, ptrdiff_t step, int32_t k0, int32_t rows,
                               int32_t ncol, const T* first, T* best, P* at) {
  constexpr int32_t L = W / sizeof(T);
  if constexpr (W == 64) {
    // The columns before the first whose element starts a W-byte line, and
    // those after the last whole vector, in 16-byte lanes: the others'
    // loads then read whole lines (a load across two lines takes two of the
    // cache's reads, and rows a multiple of 4 KiB apart all cross at the
    // same place).
    int32_t head = static_cast<int32_t>((-reinterpret_cast<uintptr_t>(p) & (W - 1)) / sizeof(T));
    head = head < ncol ? head : ncol;
    const int32_t tail = (ncol - head) % L;
    if (head > 0) columns_pass<16, T, R, Loc>(p, step, k0, rows, head, first, best, at);
    if (tail > 0)
      columns_pass<16, T, R, Loc>(p + (ncol - tail) * ptrdiff_t{sizeof(T)}, step, k0, rows, tail,
                                  first != nullptr ? first + ncol - tail : nullptr,
                                  best + ncol - tail, at + ncol - tail);
    p += head * ptrdiff_t{sizeof(T)};
    if (first != nullptr) first += head;
    best += head;
    at += head;
    ncol -= head + tail;
  }
  // With rows too, 32-bit code has eight vector registers; three vectors a
  // step in 64-byte lanes of integers, whose comparisons and extremes take
  // the row's vectors from memory as they stand (REAL ones keep them in a
  // register, and the third vector spills).
  constexpr int G = !Loc ? 4 : W == 64 && std::is_integral_v<T> ? 3 : 2;
  // kRows rows at a time: each vector of current values is loaded and
  // stored once per kRows rows, which are read as kRows ascending streams.
  for (int32_t k = 0; k < rows; k += kRows) {
    const int32_t nr = rows - k < kRows ? rows - k : kRows;
    const char* r = p + k * step;
    const T* const from = k == 0 ? first : nullptr;
    int32_t j = 0;
    // (64-byte lanes keep the comparisons' masks in mask registers, and
    // 64-bit rows fit beside them.)
    if constexpr (Loc && sizeof(T) == 8 && W < 64) {
      for (; ncol - j >= 2 * L; j += 2 * L)
        column_pair<W, T, R>(r, step, k0 + k, nr, j, from, best, at);
    } else {
      if (!Loc && nr == kRows)  // a full chunk of a value search: rows unrolled
        for (; ncol - j >= G * L; j += G * L)
          column_group<W, T, R, Loc, G>(r, step, k0 + k, kRows, j, from, best, at);
      else
        for (; ncol - j >= G * L; j += G * L)
          column_group<W, T, R, Loc, G>(r, step, k0 + k, nr, j, from, best, at);
    }
    for (; ncol - j >= L; j += L)
      column_group<W, T, R, Loc, 1>(r, step, k0 + k, nr, j, from, best, at);
    for (; j < ncol; ++j) {
      if (from != nullptr)
        take_first(reinterpret_cast<const char*>(from + j), 1, sizeof(T), static_cast<P>(k0 - 1),
                   best + j, Loc ? at + j : nullptr);
      for (int32_t q = 0; q < nr; ++q) {
        const char* x = r + q * step + j * ptrdiff_t{sizeof(T)};
        T xv, cv;
        std::memcpy(&xv, x, sizeof xv);
        std::memcpy(&cv, best + j, sizeof cv);
        if (takes<T, R>(cv, xv)) {
          std::memcpy(best + j, x, sizeof(T));
          if constexpr (Loc) at[j] = static_cast<P>(k0 + k + q);
        }
      }
    }
  }
}

// Elements P * L .. P * L + L - 1 of v, L = sizeof...(I).
template <int P, class V, size_t... I>
LANES_INLINE auto piece(V v, std::index_sequence<I...>) {
  return __builtin_shufflevector(v, v, (P * sizeof...(I) + I)...);
}

// Pieces P .. of the 16-bit span rows h into the 32-bit rows at out.
template <int W, int P, class H>
LANES_INLINE void span_pieces(H h, int32_t* out, Vec<int32_t, W> origin, bool all) {
  using A = Vec<int32_t, W>;
  constexpr int L = W / 4;
  if constexpr (P * L < int(sizeof(H) / 2)) {
    const A s = __builtin_convertvector(piece<P>(h, std::make_index_sequence<L>()), A);
    store(out + P * L, s < 0 && !all ? load<A>(out + P * L) : s + origin);
    span_pieces<W, P + 1>(h, out, origin, all);
  }
}

// out[j] = origin + span[j] for the columns whose span row is not -1 (none
// taken in the span); out[j] unchanged for the others, unless `all` (the
// first span of a search from the row before it: its row, origin - 1). The
// rows are widened
// 16 bytes at a time (a vector of 32-bit lanes' worth for 64-byte lanes),
// through 16-bit lanes, each vector of 32-bit lanes from a 16-byte one (the
// compiler widens a shorter vector element by element).
template <int W, class T>
LANES_INLINE void span_rows(const T* span, int32_t n, int32_t origin, bool all, int32_t* out) {
  constexpr int32_t E = (W / 4 * sizeof(T) > 16 ? W / 4 * sizeof(T) : 16) / sizeof(T);
  const Vec<int32_t, W> o = Vec<int32_t, W>{} + origin;
  int32_t j = 0;
  for (; n - j >= E; j += E)
    span_pieces<W, 0>(__builtin_convertvector(load<Vec<T, E * sizeof(T)>>(span + j),
                                              Vec<int16_t, 2 * E>),
                      out + j, o, all);
  for (; j < n; ++j)
    if (all || span[j] >= 0) out[j] = origin + span[j];
}

// A location search of 1- or 2-byte elements keeps its rows in lanes of
// the element's own width: as rows within a span of rows short enough for
// them (a multiple of kRows), and `at` takes a span's rows once at its end.
// From `first`, the first span starts there, at span row -1.
template <int W, class T, Rule R>
LANES_INLINE void narrow_locations(const char* p, ptrdiff_t step, int32_t k0, int32_t rows,
                                   int32_t ncol, const T* first, T* best, int32_t* at) {
  constexpr int32_t kSpan = (int32_t{1} << (8 * sizeof(T) - 1)) / kRows * kRows - kRows;
  constexpr int32_t kSlice = 4096;  // columns a buffer of span rows
  alignas(32) T span[kSlice];
  for (int32_t j0 = 0; j0 < ncol; j0 += kSlice) {
    const int32_t nc = ncol - j0 < kSlice ? ncol - j0 : kSlice;
    for (int32_t s = 0; s < rows; s += kSpan) {
      const bool fresh = s == 0 && first != nullptr;
      if (!fresh) std::memset(span, 0xff, nc * sizeof(T));
      columns_pass<W, T, R, true>(p + s * step + j0 * ptrdiff_t{sizeof(T)}, step, 0,
                                  rows - s < kSpan ? rows - s : kSpan, nc,
                                  fresh ? first + j0 : nullptr, best + j0, span);
      span_rows<W>(span, nc, k0 + s, fresh, at + j0);
    }
  }
}

template <int W, class T, Rule R, bool Loc>
LANES_INLINE void columns_k(const char* p, ptrdiff_t step, int32_t k0, int32_t rows,
                            int32_t ncol, const T* first, T* best, int32_t* at) {
  if constexpr (Loc && sizeof(T) < 4)
    narrow_locations<W, T, R>(p, step, k0, rows, ncol, first, best, at);
  else
    columns_pass<W, T, R, Loc>(p, step, k0, rows, ncol, first, best, at);
}

template <int W>
LANES_INLINE void offset_rows_k(const int32_t* at, int32_t n, int32_t origin, char* out) {
  using A = Vec<int32_t, W>;
  constexpr int32_t L = W / 4;
  const A o = A{} + origin;
  int32_t j = 0;
  for (; n - j >= 2 * L; j += 2 * L) {
    store(out + 4 * j, load<A>(at + j) + o);
    store(out + 4 * (j + L), load<A>(at + j + L) + o);
  }
  for (; j < n; ++j) store(out + 4 * j, at[j] + origin);
}

// Sets the limits that a column's current element c gives the filter and
// the mirror bound: c.hi when c is tame, else the infinity that nothing
// passes under (the filter's); c.hi when c is tame and |c.hi| >= 2^-900,
// else the infinity that nothing wins over (the mirror bound's). Bits are
// copied, not values: no trip through the x87 stack.
template <bool Greatest>
LANES_INLINE void r16_set_limits(double* limit, double* win, const char* c) {
  uint64_t hi, lo;
  std::memcpy(&hi, c, 8);
  std::memcpy(&lo, c + 8, 8);
  const uint64_t inf = 0x7ff0000000000000ull, sign = 0x8000000000000000ull;
  const bool t = tame(hi, lo);
  const uint64_t l = t ? hi : inf | (Greatest ? sign : 0);
  const uint64_t w = t && fp::exponent_field(fp::from_bits<double>(hi)) >= 1023 - 900
                         ? hi
                         : inf | (Greatest ? 0 : sign);
  std::memcpy(limit, &l, 8);
  std::memcpy(win, &w, 8);
}

// Rows a REAL*16 chunk. The rows of a chunk are read as that many streams,
// which at a row step of a multiple of 4 KiB share one set of the L1 cache.
inline constexpr int32_t kR16Rows = 8;

// The better of hi and best in the search's direction: hi when it is
// greater (least: less), else best, so a NaN hi leaves best. One maxpd or
// minpd, whose latency is the chain of a chunk's rows (a compare and a blend
// would be twice as long); the clang builds take the blend.
template <int W, bool Greatest>
LANES_INLINE Vec<double, W> r16_better(Vec<double, W> hi, Vec<double, W> best) {
#if defined(__GNUC__) && !defined(__clang__)
  if constexpr (W == 16)
    return Greatest ? __builtin_ia32_maxpd(hi, best) : __builtin_ia32_minpd(hi, best);
  else if constexpr (W == 32)
    return Greatest ? __builtin_ia32_maxpd256(hi, best) : __builtin_ia32_minpd256(hi, best);
  else  // the last operand: MXCSR's rounding (no rounding happens here)
    return Greatest ? __builtin_ia32_maxpd512_mask(hi, best, best, 0xff, 4)
                    : __builtin_ia32_minpd512_mask(hi, best, best, 0xff, 4);
#else
  return (Greatest ? hi > best : hi < best) ? hi : best;
#endif
}

// What a pair of columns has seen of its rows so far, for the clear outcome
// of lanes.h: per column (lanes in r16_element order) the high part of the
// first element y of the best high part, the next best high part of the
// others (the current element's own when it is finite; NaN high parts left
// out), y's low part (value searches) or row (location searches, -1: the
// current element; 32-bit code has eight vector registers, too few for
// both), and the sum of the low parts' magnitudes.
// In 64-byte lanes y's low part is kept in `lo`, which each row updates in
// memory, by a masked store: location searches would need a ninth vector
// in registers, and would otherwise gather it from y's row, which has left
// L1 by then (12% of a 256 KiB search); value searches keep their state in
// registers that way (with the low part in a fifth, GCC spilled next and
// sum inside the row loop), so lo_or_row is then unused.
struct R16NoLow {};
template <int W, bool Loc>
struct R16Seen {
  Vec<double, W> best, next, lo_or_row, sum;
  [[no_unique_address]] std::conditional_t<W == 64, Vec<double, W>, R16NoLow> lo;
};

// The seen state of a pair whose current elements are at c.
template <int W, bool Greatest, bool Loc>
LANES_INLINE R16Seen<W, Loc> r16_seen_start(const char* c) {
  using D = Vec<double, W>;
  using S = Vec<int64_t, W>;
  const D inf = D{} + __builtin_inf();
  D hi, lo;
  r16_split<W>(c, hi, lo);
  // A current element whose high part is not finite stands for none taken.
  const auto finite = r16_abs<W>(hi) < inf;
  R16Seen<W, Loc> s{finite ? hi : (Greatest ? -inf : inf), Greatest ? -inf : inf,
                    Loc ? (D)(S{} - 1) : lo, finite ? r16_abs<W>(lo) : D{}, {}};
  if constexpr (W == 64) s.lo = lo;
  return s;
}

// The nr rows at x (step apart) into the seen state; `rows` holds each
// row's number in every lane (location searches).
template <int W, bool Greatest, bool Loc>
LANES_INLINE void r16_seen_rows(R16Seen<W, Loc>& s, const char* x, ptrdiff_t step, int32_t nr,
                                const Vec<int64_t, W>* rows) {
  using D = Vec<double, W>;
  D best = s.best, next = s.next, third = s.lo_or_row, sum = s.sum;
  // Two rows a step: fewer loop instructions beside the row's nine.
#pragma GCC unroll 2
  for (int32_t q = 0; q < nr; ++q) {
    D hi, lo;
    // The hardware prefetchers start a row's run afresh at every page:
    // 1 KiB ahead keeps the rows streaming from L2, L3 and memory.
    __builtin_prefetch(x + q * step + 1024);
    if constexpr (W == 64) __builtin_prefetch(x + q * step + 1024 + 64);  // two lines a row
    r16_split<W>(x + q * step, hi, lo);
    const auto wins = Greatest ? hi > best : hi < best;
    if constexpr (W == 64) {
#if defined(__GNUC__) && !defined(__clang__)
      // The same compare as wins, into a mask.
      __builtin_ia32_storeupd512_mask(
          reinterpret_cast<double*>(&s.lo), lo,
          Greatest ? __builtin_ia32_cmppd512_mask(best, hi, 1, 0xff, 4)
                   : __builtin_ia32_cmppd512_mask(hi, best, 1, 0xff, 4));
#else
      s.lo = wins ? lo : s.lo;
#endif
    }
    // The loser of hi and best (hi when it is a NaN, which then leaves next).
    next = r16_better<W, Greatest>(r16_better<W, !Greatest>(best, hi), next);
    best = r16_better<W, Greatest>(hi, best);
    if constexpr (Loc || W < 64) third = wins ? (Loc ? (D)rows[q] : lo) : third;
    sum += r16_abs<W>(lo);
  }
  s.best = best;
  s.next = next;
  if constexpr (Loc || W < 64) s.lo_or_row = third;
  s.sum = sum;
}

// The end of a pair's rows x (step apart; row numbers from row0): when
// every column's outcome is clear (lanes.h), y is what the rule ends on,
// and the columns take it (current elements at c, rows at `at`): true.
// Otherwise nothing is written. When `fresh` (r16_columns from `first`),
// the rows are row0 - 1 for a current element that stays (at holds
// nothing yet), and a location search leaves c alone.
template <int W, bool Greatest, bool Loc>
LANES_INLINE bool r16_seen_end(const R16Seen<W, Loc>& s, const char* x, ptrdiff_t step, char* c,
                               int32_t* at, int32_t row0, bool fresh) {
  using D = Vec<double, W>;
  constexpr int P = W / 8;
  const D four = D{} + 4.0, mag = r16_abs<W>(s.best);
  const int clear = (Greatest ? less_bits<W>(s.next + s.sum * four, s.best)
                              : less_bits<W>(s.best, s.next - s.sum * four)) &
                    less_bits<W>(s.sum, D{} + 0x1p1000) &
                    less_bits<W, true>(D{} + 0x1p-900, mag) &
                    less_bits<W>(mag, D{} + __builtin_inf());
  if (clear != (1 << P) - 1) return false;
  if constexpr (Loc) {
    using A = Vec<int32_t, W / 2>;
    using I = Vec<int32_t, W>;
    // y's rows in column order, and (but at W = 64, which kept them) y's
    // low parts in lane order, built in registers (a vector load of
    // scalars just stored would wait for them).
    A took;
    if constexpr (W == 16)
      took = __builtin_shufflevector((I)s.lo_or_row, (I)s.lo_or_row, 0, 2);
    else if constexpr (W == 32)
      took = __builtin_shufflevector((I)s.lo_or_row, (I)s.lo_or_row, 0, 4, 2, 6);
    else
      took = __builtin_shufflevector((I)s.lo_or_row, (I)s.lo_or_row, 0, 4, 8, 12, 2, 6, 10, 14);
    auto lo_of = [&](int e) {
      return load<double>((took[e] >= 0 ? x + took[e] * step : c) + e * 16 + 8);
    };
    // From `first`, c is scratch: the rows are the outcome.
    if (!fresh) {
      if constexpr (W == 16) {
        const double l0 = lo_of(0), l1 = lo_of(1);
        r16_join<W>(c, s.best, D{l0, l1});
      } else if constexpr (W == 32) {
        const double l0 = lo_of(0), l1 = lo_of(1), l2 = lo_of(2), l3 = lo_of(3);
        r16_join<W>(c, s.best, D{l0, l2, l1, l3});
      } else {
        r16_join<W>(c, s.best, s.lo);
      }
    }
    store(at, took >= 0 ? took + row0 : fresh ? A{} + (row0 - 1) : load<A>(at));
  } else if constexpr (W == 64) {
    r16_join<W>(c, s.best, s.lo);
  } else {
    r16_join<W>(c, s.best, s.lo_or_row);
  }
  return true;
}

// The filter and the mirror bound of lanes.h over the same chunk, for a
// pair whose outcome is not clear: a test of the filter over the pair's nr
// rows, then row by row; an element the filter does not pass over goes to
// rule(x, e, row, clear) (element x of the pair's column e), which takes
// it when the mirror bound says so (clear) or _morvex_qcompare does, and
// says whether it did.
template <int W, bool Greatest, class Rule>
LANES_INLINE void r16_filter_chunk(const char* x0, ptrdiff_t step, int32_t nr, const char* c,
                                   int32_t row0, Rule rule) {
  using D = Vec<double, W>;
  constexpr int32_t P = W / 8;
  constexpr int all = (1 << P) - 1;
  alignas(32) double lim[P], win[P];
  for (int e = 0; e < P; ++e)
    r16_set_limits<Greatest>(lim + r16_lane<W>(e), win + r16_lane<W>(e), c + e * 16);
  D limit = load<D>(lim);
  auto pass = r16_pass<W, Greatest>(x0, limit);
  for (int32_t q = 1; q < nr; ++q) pass &= r16_pass<W, Greatest>(x0 + q * step, limit);
  if (pass == all) return;
  const D inf = D{} + __builtin_inf(), four = D{} + 4.0;
  for (int32_t q = 0; q < nr; ++q) {
    const char* x = x0 + q * step;
    D hi, lo;
    r16_split<W>(x, hi, lo);
    const D mag = r16_abs<W>(lo) * four, over = load<D>(win);
    const int passed = Greatest ? less_bits<W>(hi + mag, limit) : less_bits<W>(limit, hi - mag);
    if (passed == all) continue;
    const int clear =
        (Greatest ? less_bits<W>(over, hi - mag) : less_bits<W>(hi + mag, over)) &
        less_bits<W>(r16_abs<W>(hi), inf);
    for (int e = 0; e < P; ++e) {
      const int lane = r16_lane<W>(e);
      if ((passed >> lane & 1) == 0 && rule(x + e * 16, e, row0 + q, (clear >> lane & 1) != 0))
        r16_set_limits<Greatest>(lim + lane, win + lane, c + e * 16);
    }
    limit = load<D>(lim);
  }
}

// REAL*16 columns, P = W / 8 columns a pair of vectors, up to kR16Pairs
// pairs at a time: each pair's seen state goes through all rows, kR16Rows
// rows a chunk (each chunk across the pairs, so that rows are read in long
// runs), and the pairs end on their clear outcome, or, when one has none,
// go through the rows again under the filter and the rule.
template <int W, bool Greatest, bool Loc>
LANES_INLINE void r16_columns_k(const char* p, ptrdiff_t step, int32_t k0, int32_t rows,
                                int32_t ncol, R16Rule takes, const char* first, char* cur,
                                int32_t* at) {
  using S = Vec<int64_t, W>;
  constexpr int32_t P = W / 8;
  constexpr int32_t kR16Pairs = 512 / P;  // 512 columns: 16 KiB of seen states (20 with lo)
  R16Seen<W, Loc> seen[kR16Pairs];
  S row_of[kR16Rows];
  const int32_t nv = ncol - ncol % P;  // columns in lanes
  // The current elements of the columns j .. j + n, when they come from
  // `first`, copied in before the rule reads them.
  auto copy_first = [&](int32_t j, int32_t n) {
    if (first != nullptr)
      take_first(first + j * ptrdiff_t{16}, n, 16, k0 - 1, cur + j * ptrdiff_t{16},
                 Loc ? at + j : nullptr);
  };
  // Element x of column j in row `row` to the rule (unless the mirror bound
  // has made the outcome clear); true when it is taken.
  auto rule = [&](const char* x, int32_t j, int32_t row, bool clear) {
    if (!clear && !takes(cur + j * ptrdiff_t{16}, x)) return false;
    std::memcpy(cur + j * ptrdiff_t{16}, x, 16);
    if constexpr (Loc) at[j] = row;
    return true;
  };
  for (int32_t j0 = 0; j0 < nv; j0 += kR16Pairs * P) {
    const int32_t np = (nv - j0 < kR16Pairs * P ? nv - j0 : kR16Pairs * P) / P;
    const char* const p0 = p + j0 * ptrdiff_t{16};
    const char* const c0 = (first != nullptr ? first : cur) + j0 * ptrdiff_t{16};
    for (int32_t i = 0; i < np; ++i)
      seen[i] = r16_seen_start<W, Greatest, Loc>(c0 + i * P * ptrdiff_t{16});
    for (int32_t k = 0; k < rows; k += kR16Rows) {
      const int32_t nr = rows - k < kR16Rows ? rows - k : kR16Rows;
      if constexpr (Loc)
        for (int32_t q = 0; q < nr; ++q) row_of[q] = S{} + (k + q);
      const char* r = p0 + k * step;
      // A whole chunk has a constant row count.
      for (int32_t i = 0; i < np; ++i)
        if (nr == kR16Rows)
          r16_seen_rows<W, Greatest, Loc>(seen[i], r + i * P * ptrdiff_t{16}, step, kR16Rows, row_of);
        else
          r16_seen_rows<W, Greatest, Loc>(seen[i], r + i * P * ptrdiff_t{16}, step, nr, row_of);
    }
    for (int32_t i = 0; i < np; ++i) {
      const int32_t j = j0 + i * P;
      char* const c = cur + j * ptrdiff_t{16};
      if (r16_seen_end<W, Greatest, Loc>(seen[i], p + j * ptrdiff_t{16}, step, c,
                                         Loc ? at + j : nullptr, k0, first != nullptr))
        continue;
      copy_first(j, P);
      for (int32_t k = 0; k < rows; k += kR16Rows)
        r16_filter_chunk<W, Greatest>(p + k * step + j * ptrdiff_t{16}, step,
                                      rows - k < kR16Rows ? rows - k : kR16Rows, c, k0 + k,
                                      [&](const char* x, int e, int32_t row, bool clear) {
                                        return rule(x, j + e, row, clear);
                                      });
    }
  }
  copy_first(nv, ncol - nv);
  for (int32_t j = nv; j < ncol; ++j)
    for (int32_t k = 0; k < rows; ++k) rule(p + k * step + j * ptrdiff_t{16}, j, k0 + k, false);
}

// The lanes h .. h + W/4 of a (signed 1- or 2-byte counts, h a multiple
// of W/4) as 32-bit lanes, one sign extension: vpmovsxbd/vpmovsxwd, or in
// 16-byte lanes each lane unpacked onto itself and shifted down (GCC 12's
// __builtin_convertvector widens bytes, and all but 64-byte vectors of
// words, element by element). Below 64-byte lanes the counts come from the
// 16 bytes that hold them, moved to the bottom by pshufd.
template <int W, class E, class S>
LANES_INLINE Vec<int32_t, W> widen(const S& a, int32_t h) {
  constexpr int P = W / 4 * int(sizeof(E));  // bytes widened
  using C = Vec<int32_t, W>;
  const char* const at = reinterpret_cast<const char*>(&a) + h * sizeof(E);
#if defined(__GNUC__) && !defined(__clang__)
  if constexpr (P >= 16) {  // words in 64-byte lanes (bytes keep 32-byte ones: count_columns)
    Vec<E, P> part;
    std::memcpy(&part, at, P);
    return __builtin_convertvector(part, C);
  } else {
    using Q = Vec<int32_t, 16>;
    Q q;
    const int32_t off = int32_t(h * sizeof(E)) % 16;
    std::memcpy(&q, at - off, 16);
    const int32_t k = off / 4;
    using X = Vec<std::conditional_t<sizeof(E) == 1, char, short>, 16>;
    const auto part = (X)__builtin_shuffle(q, Q{k, k + 1, k + 2, k + 3});
    if constexpr (W == 32 && sizeof(E) == 1) return __builtin_ia32_pmovsxbd256(part);
    if constexpr (W == 32 && sizeof(E) == 2) return __builtin_ia32_pmovsxwd256(part);
    if constexpr (W == 16 && sizeof(E) == 1) {
      const auto pairs = (Vec<short, 16>)__builtin_ia32_punpcklbw128(part, part);
      return __builtin_ia32_psradi128((Q)__builtin_ia32_punpcklwd128(pairs, pairs), 24);
    }
    if constexpr (W == 16 && sizeof(E) == 2)
      return __builtin_ia32_psradi128((Q)__builtin_ia32_punpcklwd128(part, part), 16);
  }
#else
  Vec<E, P> part;
  std::memcpy(&part, at, P);
  return __builtin_convertvector(part, C);
#endif
}

// G neighbouring vectors of columns j .. through the nr rows at r (step
// apart): each row adds its false elements to a lane of the element's own
// width (at most kRows, so even byte lanes hold the sum). 4- and 8-byte
// elements add the chunk's sum to the column counts, one 32-bit lane per
// column; 1- and 2-byte ones to their narrow sums at `part` (the chunk
// that starts a stretch stores it there), which count_columns_k widens into
// the counts once a stretch.
template <int W, uint32_t B, int G>
LANES_INLINE void count_group(const char* r, ptrdiff_t step, int32_t nr, int32_t j, bool truth,
                              uint32_t* count, char* part, bool first) {
  using LL = LogicalLanes<W, B>;
  using V = typename LL::V;
  constexpr int32_t L = LL::kElems;
  using C = Vec<int32_t, 4 * L>;  // one count per column
  // The sum as signed lanes of the element's width: an 8-byte element's
  // lane is (-falses, 0), which narrows to -falses.
  using S = Vec<std::conditional_t<B == 8, int64_t, std::make_signed_t<typename LL::U>>, W>;
  V acc[G] = {};
  const char* x = r + j * ptrdiff_t{B};
  for (int32_t q = 0; q < nr; ++q, x += step) {
    // 32- and 64-byte lanes: each row 1 KiB ahead, one prefetch a line
    // (the 8 rows' runs cross a page every 4 KiB, where the hardware's
    // prefetchers start afresh; from memory they left the loads waiting).
    if constexpr (W >= 32)
#pragma GCC unroll 4
      for (int g = 0; g < G; g += 64 / W > 1 ? 64 / W : 1) __builtin_prefetch(x + g * W + 1024);
#pragma GCC unroll 4
    for (int g = 0; g < G; ++g) acc[g] += LL::false_mask(x + g * W);
  }
#pragma GCC unroll 4
  for (int g = 0; g < G; ++g) {
    if constexpr (B < 4) {
      char* const at = part + (j + g * L) * ptrdiff_t{B};
      store(at, first ? acc[g] : load<V>(at) + acc[g]);
    } else {
      // acc holds -falses: COUNT adds nr - falses, ANY/ALL's false count falses.
      const C neg = __builtin_convertvector((S)acc[g], C);
      const C base = C{} + (truth ? nr : 0);
      store(count + j + g * L, load<C>(count + j + g * L) + (truth ? base + neg : -neg));
    }
  }
}

// The narrow sums of columns j .. j + n (n a multiple of W / B) over `rows`
// rows into their counts, a vector of W bytes at a time.
template <int W, uint32_t B>
LANES_INLINE void widen_sums(const char* part, int32_t j, int32_t n, int32_t rows, bool truth,
                             uint32_t* count) {
  using E = std::make_signed_t<typename LogicalLanes<W, B>::U>;
  using S = Vec<E, W>;
  using CW = Vec<int32_t, W>;
  constexpr int32_t L = W / int32_t{B};
  for (int32_t e = j + n; j < e; j += L) {
    const S a = load<S>(part + j * ptrdiff_t{B});
#pragma GCC unroll 4
    for (int32_t h = 0; h < L; h += W / 4) {
      const CW neg = widen<W, E>(a, h);
      uint32_t* const out = count + j + h;
      store(out, load<CW>(out) + (truth ? CW{} + rows + neg : -neg));
    }
  }
}

// 1- and 2-byte elements: columns in blocks of kNarrowColumns, rows in
// stretches of kNarrowRows whose sums (-128 at the least) a byte still
// holds. Widening each 8-row chunk's sums into the 32-bit counts had loaded
// and stored as many bytes of counts as a chunk of LOGICAL*1 reads.
inline constexpr int32_t kNarrowColumns = 4096, kNarrowRows = 128;

template <int W, uint32_t B>
LANES_INLINE void count_columns_k(const char* p, ptrdiff_t step, int32_t rows, int32_t ncol,
                                  bool truth, uint32_t* count) {
  constexpr int32_t L = LogicalLanes<W, B>::kElems;
  // Two vectors a step (two independent sums; for 64-byte lanes one
  // measured 10% slower in cache, as fast from memory); kRows rows at a
  // time, as columns_k walks them.
  constexpr int G = 2;
  constexpr int32_t kBlock = B < 4 ? kNarrowColumns : INT32_MAX;
  constexpr int32_t kStretch = B < 4 ? kNarrowRows : INT32_MAX;
  // The narrow sums lie 2 KiB from the rows' columns modulo 4 KiB: a store
  // to a sum and a load of its column at the same offset in a page wait on
  // each other (SSE2 LOGICAL*2 read 0.47 of memchr's rate with the sums
  // placed anyhow, 0.63 so).
  char room[B < 4 ? kNarrowColumns * B + 4096 : 1];
  char* part = nullptr;
  if constexpr (B < 4)
    part = room + ((reinterpret_cast<uintptr_t>(p) + 2048 - reinterpret_cast<uintptr_t>(room)) & 4095);
  for (int32_t c = 0; c < ncol; c += kBlock) {
    const int32_t nc = ncol - c < kBlock ? ncol - c : kBlock;
    const char* const pc = p + c * ptrdiff_t{B};
    uint32_t* const cc = count + c;
    // 64-byte lanes: the columns before the first row's first line
    // boundary in 16-byte vectors, so that each 64-byte load reads one line
    // (one across two costs two loads).
    int32_t head = 0;
    if constexpr (W == 64) {
      const int32_t mis = int32_t(reinterpret_cast<uintptr_t>(pc) % 64);
      if (mis % 16 == 0 && mis != 0 && nc >= (64 - mis) / int32_t{B} + G * L)
        head = (64 - mis) / int32_t{B};
    }
    // Columns the lanes take: the head, then whole vectors, then 16-byte
    // vectors (a misaligned block leaves 64 - 16 bytes of a row past its
    // 64-byte ones, and an element loop along a column walks its rows).
    const int32_t vectors = head + (nc - head) / L * L;
    const int32_t narrow = vectors + (nc - vectors) / (16 / B) * (16 / B);
    for (int32_t k0 = 0; k0 < rows; k0 += kStretch) {
      const int32_t stretch = rows - k0 < kStretch ? rows - k0 : kStretch;
      for (int32_t k = k0; k < k0 + stretch; k += kRows) {
        const int32_t nr = k0 + stretch - k < kRows ? k0 + stretch - k : kRows;
        const char* r = pc + k * step;
        const bool first = k == k0;
        int32_t j = 0;
        for (; j < head; j += 16 / B) count_group<16, B, 1>(r, step, nr, j, truth, cc, part, first);
        for (; vectors - j >= G * L; j += G * L)
          count_group<W, B, G>(r, step, nr, j, truth, cc, part, first);
        for (; j < vectors; j += L) count_group<W, B, 1>(r, step, nr, j, truth, cc, part, first);
        if constexpr (W > 16)
          for (; j < narrow; j += 16 / B) count_group<16, B, 1>(r, step, nr, j, truth, cc, part, first);
        for (; j < nc; ++j)
          for (int32_t q = 0; q < nr; ++q)
            cc[j] += Logical<B>::truth(r + q * step + j * ptrdiff_t{B}) == truth ? 1 : 0;
      }
      if constexpr (B < 4) {
        widen_sums<16, B>(part, 0, head, stretch, truth, cc);
        widen_sums<W, B>(part, head, vectors - head, stretch, truth, cc);
        widen_sums<16, B>(part, vectors, narrow - vectors, stretch, truth, cc);
      }
    }
  }
}

// ---- The two builds --------------------------------------------------------

template <class T, bool Max>
[[gnu::target("sse2")]] void extreme_sse2(const T* p, int32_t n, T& best, bool& nan) {
  extreme_k<16, T, Max>(p, n, best, nan);
}
template <class T, bool Max>
[[gnu::target("avx2")]] void extreme_avx2(const T* p, int32_t n, T& best, bool& nan) {
  extreme_k<32, T, Max>(p, n, best, nan);
}
// Integer extremes in 64-byte lanes: vpmaxsq/vpminsq, where AVX2 has only a
// compare and a blend for 64-bit elements. (REAL runs and find_equal keep
// 32-byte lanes: their comparison masks as 64-byte vectors GCC builds lane
// by lane.)
template <class T, bool Max>
[[gnu::target("avx512f,avx512bw,avx512vl,avx512dq")]] void extreme_avx512(const T* p, int32_t n,
                                                                          T& best, bool& nan) {
  extreme_k<64, T, Max>(p, n, best, nan);
}
template <class T>
[[gnu::target("sse2")]] int32_t find_equal_sse2(const T* p, int32_t n, const T& v) {
  return find_equal_k<16>(p, n, v);
}
template <class T>
[[gnu::target("avx2")]] int32_t find_equal_avx2(const T* p, int32_t n, const T& v) {
  return find_equal_k<32>(p, n, v);
}
template <uint32_t B>
[[gnu::target("sse2")]] uint64_t count_true_sse2(const char* p, int64_t n) {
  return count_true_k<16, B>(p, n);
}
template <uint32_t B>
[[gnu::target("avx2")]] uint64_t count_true_avx2(const char* p, int64_t n) {
  return count_true_k<32, B>(p, n);
}
template <uint32_t B, bool Want>
[[gnu::target("sse2")]] int64_t find_truth_sse2(const char* p, int64_t n) {
  return find_truth_k<16, B, Want>(p, n);
}
template <uint32_t B, bool Want>
[[gnu::target("avx2")]] int64_t find_truth_avx2(const char* p, int64_t n) {
  return find_truth_k<32, B, Want>(p, n);
}
template <class T, Rule R, bool Loc>
[[gnu::target("sse2")]] void columns_sse2(const char* p, ptrdiff_t step, int32_t k0, int32_t rows,
                                          int32_t ncol, const T* first, T* best, int32_t* at) {
  columns_k<16, T, R, Loc>(p, step, k0, rows, ncol, first, best, at);
}
template <class T, Rule R, bool Loc>
[[gnu::target("avx2")]] void columns_avx2(const char* p, ptrdiff_t step, int32_t k0, int32_t rows,
                                          int32_t ncol, const T* first, T* best, int32_t* at) {
  columns_k<32, T, R, Loc>(p, step, k0, rows, ncol, first, best, at);
}
// Location searches: the comparisons' masks in mask registers select the
// rows (one instruction a vector, no vector register held by a mask).
template <class T, Rule R>
[[gnu::target("avx512f,avx512bw,avx512vl,avx512dq")]] void columns_avx512(
    const char* p, ptrdiff_t step, int32_t k0, int32_t rows, int32_t ncol, const T* first,
    T* best, int32_t* at) {
  columns_k<64, T, R, true>(p, step, k0, rows, ncol, first, best, at);
}
[[gnu::target("sse2")]] void offset_rows_sse2(const int32_t* at, int32_t n, int32_t origin, char* out) {
  offset_rows_k<16>(at, n, origin, out);
}
[[gnu::target("avx2")]] void offset_rows_avx2(const int32_t* at, int32_t n, int32_t origin, char* out) {
  offset_rows_k<32>(at, n, origin, out);
}
template <uint32_t B>
[[gnu::target("sse2")]] void count_columns_sse2(const char* p, ptrdiff_t step, int32_t rows,
                                                int32_t ncol, bool truth, uint32_t* count) {
  count_columns_k<16, B>(p, step, rows, ncol, truth, count);
}
template <uint32_t B>
[[gnu::target("avx2")]] void count_columns_avx2(const char* p, ptrdiff_t step, int32_t rows,
                                                int32_t ncol, bool truth, uint32_t* count) {
  count_columns_k<32, B>(p, step, rows, ncol, truth, count);
}
// Each 64-byte load reads one line (count_columns_k's head).
template <uint32_t B>
[[gnu::target("avx512f,avx512bw,avx512vl,avx512dq")]] void count_columns_avx512(
    const char* p, ptrdiff_t step, int32_t rows, int32_t ncol, bool truth, uint32_t* count) {
  count_columns_k<64, B>(p, step, rows, ncol, truth, count);
}

template <bool Greatest>
[[gnu::target("sse2")]] int32_t r16_first_candidate_sse2(const char* p, int32_t n, double ch) {
  return r16_first_candidate_k<16, Greatest>(p, n, ch);
}
template <bool Greatest>
[[gnu::target("avx2")]] int32_t r16_first_candidate_avx2(const char* p, int32_t n, double ch) {
  return r16_first_candidate_k<32, Greatest>(p, n, ch);
}

template <bool Greatest, bool Loc>
[[gnu::target("sse2")]] void r16_columns_sse2(const char* p, ptrdiff_t step, int32_t k0, int32_t rows,
                                              int32_t ncol, R16Rule takes, const char* first,
                                              char* cur, int32_t* at) {
  r16_columns_k<16, Greatest, Loc>(p, step, k0, rows, ncol, takes, first, cur, at);
}
template <bool Greatest, bool Loc>
[[gnu::target("avx2")]] void r16_columns_avx2(const char* p, ptrdiff_t step, int32_t k0, int32_t rows,
                                              int32_t ncol, R16Rule takes, const char* first,
                                              char* cur, int32_t* at) {
  r16_columns_k<32, Greatest, Loc>(p, step, k0, rows, ncol, takes, first, cur, at);
}
// Eight columns a pair of 64-byte vectors: half the instructions a row,
// and the comparisons' masks in mask registers, not in the eight vector
// ones.
template <bool Greatest, bool Loc>
[[gnu::target("avx512f,avx512bw,avx512vl,avx512dq")]] void r16_columns_avx512(
    const char* p, ptrdiff_t step, int32_t k0, int32_t rows, int32_t ncol, R16Rule takes,
    const char* first, char* cur, int32_t* at) {
  r16_columns_k<64, Greatest, Loc>(p, step, k0, rows, ncol, takes, first, cur, at);
}

[[gnu::target("sse2")]] int32_t r16_first_special_sse2(const char* p, int32_t n) {
  return r16_first_special_k<16>(p, n);
}
[[gnu::target("avx2")]] int32_t r16_first_special_avx2(const char* p, int32_t n) {
  return r16_first_special_k<32>(p, n);
}

[[gnu::target("sse")]] uint32_t mxcsr() {
  uint32_t v;
  __asm__ volatile("stmxcsr %0" : "=m"(v));
  return v;
}

}  // namespace

// Bit tests of the CPU model libgcc fills in at load time.
Isa isa() {
  if (!x87::have_sse2()) return Isa::none;
  return morvex::chars::have_avx2() ? Isa::avx2 : Isa::sse2;
}

Isa real_isa() {
  const Isa i = isa();
  constexpr uint32_t kDenormalsAreZero = 0x40;
  return i == Isa::none || (mxcsr() & kDenormalsAreZero) != 0 ? Isa::none : i;
}

bool r16_tame(const char* p) {
  uint64_t hi, lo;
  std::memcpy(&hi, p, 8);
  std::memcpy(&lo, p + 8, 8);
  return tame(hi, lo);
}

// Without lanes every element is a candidate.
int32_t r16_first_candidate(Isa isa, const char* p, int32_t n, const char* c, bool greatest) {
  double ch;
  std::memcpy(&ch, c, 8);
  if (isa == Isa::avx2)
    return greatest ? r16_first_candidate_avx2<true>(p, n, ch)
                    : r16_first_candidate_avx2<false>(p, n, ch);
  if (isa == Isa::sse2)
    return greatest ? r16_first_candidate_sse2<true>(p, n, ch)
                    : r16_first_candidate_sse2<false>(p, n, ch);
  return 0;
}

int32_t r16_first_special(Isa isa, const char* p, int32_t n) {
  if (isa == Isa::avx2) return r16_first_special_avx2(p, n);
  if (isa == Isa::sse2) return r16_first_special_sse2(p, n);
  int32_t i = 0;
  while (i < n && !r16_special(p + i * ptrdiff_t{16})) ++i;
  return i;
}

bool wide_lanes = true;

// DQ turns a mask into lanes in one instruction (without it GCC compares
// lane by lane on the x87).
static bool wide() {
  return wide_lanes && morvex::chars::have_avx512() && __builtin_cpu_supports("avx512dq");
}

void r16_columns(Isa isa, const char* p, ptrdiff_t row_step, int32_t k0, int32_t rows,
                 int32_t ncol, bool greatest, R16Rule takes, const char* first, char* current,
                 int32_t* at) {
  using Kernel = void (*)(const char*, ptrdiff_t, int32_t, int32_t, int32_t, R16Rule,
                         const char*, char*, int32_t*);
  static constexpr Kernel kernels[3][2][2] = {
      {{r16_columns_sse2<false, false>, r16_columns_sse2<false, true>},
       {r16_columns_sse2<true, false>, r16_columns_sse2<true, true>}},
      {{r16_columns_avx2<false, false>, r16_columns_avx2<false, true>},
       {r16_columns_avx2<true, false>, r16_columns_avx2<true, true>}},
      {{r16_columns_avx512<false, false>, r16_columns_avx512<false, true>},
       {r16_columns_avx512<true, false>, r16_columns_avx512<true, true>}}};
  const int build = isa != Isa::avx2 ? 0 : wide() ? 2 : 1;
  kernels[build][greatest][at != nullptr](p, row_step, k0, rows, ncol, takes, first, current, at);
}

template <class T, bool Max>
void extreme(Isa isa, const T* p, int32_t n, T& best, bool& nan) {
  if (isa == Isa::avx2 && wide()) return extreme_avx512<T, Max>(p, n, best, nan);
  if (isa == Isa::avx2)
    extreme_avx2<T, Max>(p, n, best, nan);
  else
    extreme_sse2<T, Max>(p, n, best, nan);
}

template <class T>
int32_t find_equal(Isa isa, const T* p, int32_t n, const T& v) {
  return isa == Isa::avx2 ? find_equal_avx2<T>(p, n, v) : find_equal_sse2<T>(p, n, v);
}

template <uint32_t B>
uint64_t count_true(Isa isa, const char* p, int64_t n) {
  return isa == Isa::avx2 ? count_true_avx2<B>(p, n) : count_true_sse2<B>(p, n);
}

template <uint32_t B>
int64_t find_truth(Isa isa, const char* p, int64_t n, bool want) {
  if (isa == Isa::avx2) return want ? find_truth_avx2<B, true>(p, n) : find_truth_avx2<B, false>(p, n);
  return want ? find_truth_sse2<B, true>(p, n) : find_truth_sse2<B, false>(p, n);
}

// Each column's start from `first` where the kernels cannot take it as it
// stands: with no rows to run, or under real_min when a first element is a
// NaN (which the rule never takes: the column starts from its first element
// that is not, at that row; a column of NaNs keeps its first at k0 - 1).
// Then the kernels start from best and at.
template <class T, Rule R>
static bool start_columns(Isa isa, const char* p, ptrdiff_t step, int32_t k0, int32_t rows,
                          int32_t ncol, const T* first, T* best, int32_t* at) {
  bool nan = false;
  if constexpr (R == Rule::real_min) {
    T least;
    extreme<T, false>(isa, first, ncol, least, nan);
  }
  if (rows > 0 && !nan) return false;
  take_first(reinterpret_cast<const char*>(first), ncol, sizeof(T), k0 - 1, best, at);
  if constexpr (R == Rule::real_min) {
    for (int32_t j = 0; nan && j < ncol; ++j) {
      if (!std::isnan(best[j])) continue;
      const char* x = p + j * ptrdiff_t{sizeof(T)};
      for (int32_t k = 0; k < rows; ++k, x += step) {
        T v;
        std::memcpy(&v, x, sizeof(T));
        if (std::isnan(v)) continue;
        std::memcpy(best + j, x, sizeof(T));
        if (at != nullptr) at[j] = k0 + k;
        break;
      }
    }
  }
  return true;
}

template <class T, Rule R>
void columns(Isa isa, const char* p, ptrdiff_t row_step, int32_t k0, int32_t rows,
             int32_t ncol, const char* first_row, T* best, int32_t* at) {
  const T* first = reinterpret_cast<const T*>(first_row);
  if (first != nullptr && ncol > 0 &&
      start_columns<T, R>(isa, p, row_step, k0, rows, ncol, first, best, at))
    first = nullptr;
  if (at != nullptr) {
    // Blocks of rows from memory keep the 32-byte lanes: with the 64-byte
    // ones a 64 MiB search measured a quarter slower, and the 1- and 2-byte
    // kinds were slower from 16 MiB up. 8-byte elements take the 64-byte
    // lanes up to 16 MiB (a quarter faster there, from L3); at 64 and
    // 256 MiB most kinds lost in them.
    constexpr int64_t kWideBytes = int64_t{sizeof(T) == 8 ? 16 : 8} << 20;
    const int64_t span = int64_t{rows} * (row_step < 0 ? -row_step : row_step);
    if (isa == Isa::avx2 && wide() && span <= kWideBytes)
      columns_avx512<T, R>(p, row_step, k0, rows, ncol, first, best, at);
    else if (isa == Isa::avx2)
      columns_avx2<T, R, true>(p, row_step, k0, rows, ncol, first, best, at);
    else
      columns_sse2<T, R, true>(p, row_step, k0, rows, ncol, first, best, at);
  } else if (isa == Isa::avx2) {
    columns_avx2<T, R, false>(p, row_step, k0, rows, ncol, first, best, at);
  } else {
    columns_sse2<T, R, false>(p, row_step, k0, rows, ncol, first, best, at);
  }
}

void offset_rows(Isa isa, const int32_t* at, int32_t n, int32_t origin, char* out) {
  if (isa == Isa::avx2)
    offset_rows_avx2(at, n, origin, out);
  else
    offset_rows_sse2(at, n, origin, out);
}

template <uint32_t B>
void count_columns(Isa isa, const char* p, ptrdiff_t row_step, int32_t rows, int32_t ncol,
                   bool truth, uint32_t* count) {
  // LOGICAL*1 keeps the 32-byte lanes: run alone, its 64-byte form read
  // 0.42-0.55 of memchr's rate from 256 KiB to 64 MiB, the 32-byte one
  // 0.58-0.68 (LOGICAL*2 0.69-1.12 against 0.73-0.85).
  if constexpr (B != 1) {
    if (isa == Isa::avx2 && wide()) return count_columns_avx512<B>(p, row_step, rows, ncol, truth, count);
  }
  if (isa == Isa::avx2)
    count_columns_avx2<B>(p, row_step, rows, ncol, truth, count);
  else
    count_columns_sse2<B>(p, row_step, rows, ncol, truth, count);
}

// The element types of the searches.
#define F90_LANES_ELEMENT(T)                                                                 \
  template void extreme<T, true>(Isa, const T*, int32_t, T&, bool&);                         \
  template void extreme<T, false>(Isa, const T*, int32_t, T&, bool&);                        \
  template int32_t find_equal<T>(Isa, const T*, int32_t, const T&);
F90_LANES_ELEMENT(int8_t)
F90_LANES_ELEMENT(int16_t)
F90_LANES_ELEMENT(int32_t)
F90_LANES_ELEMENT(int64_t)
F90_LANES_ELEMENT(float)
F90_LANES_ELEMENT(double)
#undef F90_LANES_ELEMENT

#define F90_LANES_COLUMNS(T, R) \
  template void columns<T, R>(Isa, const char*, ptrdiff_t, int32_t, int32_t, int32_t, \
                              const char*, T*, int32_t*);
F90_LANES_COLUMNS(int8_t, Rule::integer_max)
F90_LANES_COLUMNS(int8_t, Rule::integer_min)
F90_LANES_COLUMNS(int16_t, Rule::integer_max)
F90_LANES_COLUMNS(int16_t, Rule::integer_min)
F90_LANES_COLUMNS(int32_t, Rule::integer_max)
F90_LANES_COLUMNS(int32_t, Rule::integer_min)
F90_LANES_COLUMNS(int64_t, Rule::integer_max)
F90_LANES_COLUMNS(int64_t, Rule::integer_min)
F90_LANES_COLUMNS(float, Rule::real_max)
F90_LANES_COLUMNS(float, Rule::real_min)
F90_LANES_COLUMNS(double, Rule::real_max)
F90_LANES_COLUMNS(double, Rule::real_min)
#undef F90_LANES_COLUMNS

#define F90_LANES_LOGICAL(B)                                                                  \
  template uint64_t count_true<B>(Isa, const char*, int64_t);                                 \
  template int64_t find_truth<B>(Isa, const char*, int64_t, bool);                            \
  template void count_columns<B>(Isa, const char*, ptrdiff_t, int32_t, int32_t, bool, uint32_t*);
F90_LANES_LOGICAL(1)
F90_LANES_LOGICAL(2)
F90_LANES_LOGICAL(4)
F90_LANES_LOGICAL(8)
#undef F90_LANES_LOGICAL

}  // namespace f90::lanes
