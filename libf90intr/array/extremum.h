// MAXVAL and MINVAL: one engine for both directions and the seven element
// types, with DIM and MASK.
//
// The engine reduces either the whole source into the single element at the
// result's base (scalar entries, a rank-1 source, or no DIM), or each line
// along DIM into one element of an array result. The element type and the
// mask width are decided once per call; each (type, direction, mask width)
// has its own line loop.
//
// Comparison rules (they make the result depend on the visiting order, which
// is therefore always DIM order within a line, array element order overall):
// - integers: the first considered element is taken, later ones replace it
//   when strictly greater (smaller); so the result is the extreme value, and
//   the start value only when nothing was considered;
// - REAL*4/8 start from -HUGE (MAXVAL) or +HUGE (MINVAL) on the x87 unit.
//   MAXVAL replaces unless current >= element, so a NaN is taken and the next
//   considered element replaces it: the result is a NaN exactly when the last
//   considered element is one. MINVAL replaces when current > element, so
//   NaNs are skipped. Equal values never replace (the first is kept, which
//   decides between +0 and -0);
// - REAL*16 skips NaN and infinite elements, takes the first finite one and
//   replaces it when _morvex_qcompare(element, current) is 1 (MAXVAL) or -1
//   (MINVAL). With no finite element the result is the start value built
//   from huge_real16_f90_y_ieee (negated with _morvex_qneg for MAXVAL).
// The result element is always copied from the chosen element's bits (a
// signalling NaN is not quieted), or from the start value.
#pragma once

#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>

#include "common/elem_calls.h"
#include "array/copy_kind.h"
#include "array/descriptor.h"
#include "array/lanes.h"
#include "array/result.h"
#include "common/dispatch.h"
#include "common/mask.h"
#include "common/walk.h"

namespace f90::extremum {

// Element type codes passed by the entry points (shared with MAXLOC/MINLOC).
enum ElemCode : int32_t {
  ELEM_I1 = 7,
  ELEM_I2 = 8,
  ELEM_I4 = 15,
  ELEM_I8 = 17,
  ELEM_R8 = 18,
  ELEM_R16 = 19,
  ELEM_R4 = 20,
};

// Start-value selectors; only ELEM_I4 (VK_I4, VK_I2, other: INTEGER*1's
// bound) and ELEM_R8 (VK_R8, other: REAL*4's bound) read them.
enum ValKind : int32_t {
  VK_I8 = 1,
  VK_I4 = 3,
  VK_I2 = 4,
  VK_I1 = 5,
  VK_R16 = 6,
  VK_R8 = 7,
  VK_R4 = 8,
};

enum class Dir { Max, Min };

using Real16 = DoubleDouble;

}  // namespace f90::extremum

// This library's REAL*16 model constant (read through the GOT: a program may
// hold a copy).
F90_API const morvex::DoubleDouble huge_real16_f90_y_ieee;

namespace f90::extremum {

// What a result holds when no element is considered: the bits of one
// element of the reduction's type.
struct Start {
  alignas(8) unsigned char bytes[16];
};

// Start value for a valid element code (REAL*16: reads the model constant).
// Structures travel through references here: a structure returned by value
// would make the callee pop its hidden pointer.
void start_value(Start& start, Dir dir, int32_t code, int32_t valkind);

// The part of a call that does not depend on the element type.
struct Plan {
  Desc result{nullptr};
  Desc source{nullptr};
  Desc mask{nullptr};  // an array mask; null when every element is considered
  ElemClass cls{};     // the source element (addressing of source and result)
  bool whole = false;  // one reduction into the element at the result's base
  bool scalar = false;
  bool empty = false;  // nothing to consider: the result gets the start value
  int dim = 0;         // DIM index of a reduction along DIM
};

// Checks DIM, completes an unassociated result and reads a scalar MASK.
// Returns false when the call must end (after a 1405 or 1205 report).
bool prepare(Plan& plan, ArrayDescriptor* result, ArrayDescriptor* source, const int32_t* dim,
             ArrayDescriptor* mask, int32_t scalar_flag);

// Sets the result to the start value: the element at the base for a scalar
// call, every element of the result otherwise.
void fill_start(const Plan& plan, const Start& start, uint32_t bytes);

// Walks of a reduction: the whole source as runs (source, mask), or the
// lines along DIM (source, mask, result with stride 0 along DIM).
void whole_runs(const Plan& plan, Runs<2>& runs);
struct Lines {
  int rank = 0;
  int32_t extent[F90_MAX_RANK] = {};
  WalkArray src{}, mask{}, res{};
};
void dim_lines(const Plan& plan, Lines& lines);

// Lays out the lines along the 0-based dimension `dim` of `src`, walked
// with a MASK at `mask_base` and a result whose dimension j is the source's
// j-th dimension other than DIM (stride 0 along DIM). The byte strides come
// from src_stride(i) and mask_stride(i) for source dimension i, and from
// res_stride(j) for result dimension j < the result's rank (0 beyond it: a
// caller's result of lower rank is not read past its rank).
template <class SrcStride, class MaskStride, class ResStride>
void lay_out_lines(Lines& l, Desc src, char* mask_base, Desc res, int dim, SrcStride&& src_stride,
                   MaskStride&& mask_stride, ResStride&& res_stride) {
  l.rank = src.rank();
  l.src.base = src.base();
  l.mask.base = mask_base;
  l.res.base = res.base();
  for (int i = 0, j = 0; i < l.rank; ++i) {
    l.extent[i] = src.extent(i);
    l.src.stride[i] = src_stride(i);
    l.mask.stride[i] = mask_stride(i);
    if (i == dim) continue;
    l.res.stride[i] = j < res.rank() ? res_stride(j) : 0;
    ++j;
  }
}

// Lines along DIM of rank 1 less, for reducing a block of neighbouring lines
// at once: `across` is the dimension (of the reduced shape) walked inside the
// block, and the DIM strides step every line of the block forward together.
struct Blocks {
  Lines lines;       // the source's shape without DIM
  int across = 0;
  int32_t n = 0;     // elements per line (extent along DIM)
  int64_t src_step = 0, mask_step = 0;  // byte strides along DIM
};
// True when the lines are better reduced in blocks: some other dimension is
// closer-packed in the source than DIM itself.
bool block_lines(const Plan& plan, const Lines& lines, Blocks& blocks);
// The same for lines along the 0-based dimension `dim`.
bool block_lines(int dim, const Lines& lines, Blocks& blocks);

template <class T>
inline T load(const char* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// ---- The element types -----------------------------------------------------

// Contiguous runs of at least this many elements go to the lane kernels
// (shorter ones cost less in the element loops than the calls).
inline constexpr int32_t kLaneRun = 64;
// The searches for a position take a block's extreme by the lanes and
// search a block again only when its extreme replaces the current value:
// blocks small enough to be read again from the L1 cache.
inline constexpr int32_t kSearchBlockBytes = 16 << 10;

template <class T, Dir D>
struct IntegerOps {
  static constexpr uint32_t kBytes = sizeof(T);
  // Lines across in blocks (reduce_blocks): the lanes' element and rule.
  using LaneElem = T;
  static constexpr lanes::Rule kLaneRule =
      D == Dir::Max ? lanes::Rule::integer_max : lanes::Rule::integer_min;
  struct State {
    T best;
    bool any;
  };
  static void begin(State& s, const Start&) {
    s.best = D == Dir::Max ? std::numeric_limits<T>::min() : std::numeric_limits<T>::max();
    s.any = false;
  }
  static void step(State& s, const char* p) {
    const T x = load<T>(p);
    s.best = pick(s.best, x);
    s.any = true;
  }
  // A line: the extreme does not depend on the order, so four independent
  // accumulators hide the compare-and-select latency.
  template <class M>
  static void line(State& s, const char* p, ptrdiff_t ps, const char* m, ptrdiff_t ms,
                   int32_t n) {
    if constexpr (std::is_same_v<M, NoMask>) {
      if (n <= 0) return;
      s.any = true;
      if (ps == sizeof(T) && n >= kLaneRun) {
        if (const lanes::Isa isa = lanes::isa(); isa != lanes::Isa::none) {
          T m;
          bool nan;
          lanes::extreme<T, D == Dir::Max>(isa, reinterpret_cast<const T*>(p), n, m, nan);
          s.best = pick(s.best, m);
          return;
        }
      }
      T b0 = s.best, b1 = b0, b2 = b0, b3 = b0;
      // Contiguous lines use constant offsets: fewer live registers.
      const ptrdiff_t q = ps == sizeof(T) ? ptrdiff_t{sizeof(T)} : ps;
      for (int32_t i = n >> 2; i > 0; --i, p += 4 * q) {
        b0 = pick(b0, load<T>(p));
        b1 = pick(b1, load<T>(p + q));
        b2 = pick(b2, load<T>(p + 2 * q));
        b3 = pick(b3, load<T>(p + 3 * q));
      }
      for (n &= 3; n > 0; --n, p += ps) b0 = pick(b0, load<T>(p));
      s.best = pick(pick(b0, b1), pick(b2, b3));
    } else {
      for (; n > 0; --n, p += ps, m += ms)
        if (M::truth(m)) step(s, p);
    }
  }
  // Whether x takes the place of the current value c: strictly greater
  // (smaller), so equal values keep the first.
  static bool beats(T c, T x) { return D == Dir::Max ? x > c : x < c; }
  static T pick(T a, T b) { return beats(a, b) ? b : a; }
  static void finish(const State& s, char* out, const Start& start) {
    if (s.any)
      std::memcpy(out, &s.best, sizeof(T));
    else
      std::memcpy(out, start.bytes, sizeof(T));
  }
};

template <class T, Dir D>
struct RealOps {
  static constexpr uint32_t kBytes = sizeof(T);
  using LaneElem = T;
  static constexpr lanes::Rule kLaneRule =
      D == Dir::Max ? lanes::Rule::real_max : lanes::Rule::real_min;
  struct State {
    T value;         // compared on the x87 unit
    const char* at;  // the element holding it; null for the start value
  };
  static void begin(State& s, const Start& start) {
    s.value = load<T>(reinterpret_cast<const char*>(start.bytes));
    s.at = nullptr;
  }
  // Whether x takes the place of the current value c.
  static bool replaces(T c, T x) { return D == Dir::Max ? !(c >= x) : c > x; }
  static void step(State& s, const char* p) {
    const T x = load<T>(p);
    if (replaces(s.value, x)) {
      s.value = x;
      s.at = p;
    }
  }
  // The position of the first considered element of a line that replaces c
  // (n when none does): c stays put on the x87 stack while the elements
  // stream past it.
  template <class M>
  static int32_t first_replacing(T c, const char* p, ptrdiff_t ps, const char* m, ptrdiff_t ms,
                                 int32_t n) {
    for (int32_t i = 0; i < n; ++i, p += ps, m += ms)
      if (M::truth(m) && replaces(c, load<T>(p))) return i;
    return n;
  }
  template <class M>
  static void line(State& s, const char* p, ptrdiff_t ps, const char* m, ptrdiff_t ms,
                   int32_t n) {
    if constexpr (std::is_same_v<M, NoMask>) {
      if (ps == sizeof(T) && n >= kLaneRun) {
        if (const lanes::Isa isa = lanes::real_isa(); isa != lanes::Isa::none) {
          const int32_t k = last_replacing(isa, s.value, p, n);
          if (k >= 0) s.at = p + k * ptrdiff_t{sizeof(T)};
          return;
        }
      }
    }
    while (n > 0) {
      const int32_t k = first_replacing<M>(s.value, p, ps, m, ms, n);
      if (k == n) return;
      p += k * ps;
      m += k * ms;
      s.value = load<T>(p);
      s.at = p;
      n -= k + 1;
      p += ps;
      m += ms;
    }
  }
  // The contiguous elements p[0..n) of a search whose current value is c,
  // in blocks: a block's extreme from the lanes, and only a block whose
  // extreme replaces c is searched again (in cache) for its first element of
  // that value, which is the one the element loop would end with (later
  // equal values never replace it). A block holding a NaN goes through the
  // element loop. Returns the position of the element that holds the
  // current value at the end (c is its value), -1 when none replaced c.
  static int32_t last_replacing(lanes::Isa isa, T& c, const char* p, int32_t n) {
    constexpr int32_t kBlock = kSearchBlockBytes / sizeof(T);
    constexpr ptrdiff_t kSize = sizeof(T);
    int32_t found = -1;
    for (int32_t i = 0; i < n;) {
      const char* q = p + i * kSize;
      if (D == Dir::Max && c != c) {  // a NaN taken: the next element replaces it
        c = load<T>(q);
        found = i++;
        continue;
      }
      const int32_t nb = n - i < kBlock ? n - i : kBlock;
      T m;
      bool nan;
      lanes::extreme<T, D == Dir::Max>(isa, reinterpret_cast<const T*>(q), nb, m, nan);
      if (nan) {
        for (int32_t k = 0; k < nb;) {
          k += first_replacing<NoMask>(c, q + k * kSize, kSize, nullptr, 0, nb - k);
          if (k == nb) break;
          c = load<T>(q + k * kSize);
          found = i + k++;
        }
      } else if (replaces(c, m)) {
        const int32_t j = lanes::find_equal<T>(isa, reinterpret_cast<const T*>(q), nb, m);
        c = load<T>(q + j * kSize);
        found = i + j;
      }
      i += nb;
    }
    return found;
  }
  static void finish(const State& s, char* out, const Start& start) {
    std::memcpy(out, s.at != nullptr ? s.at : reinterpret_cast<const char*>(start.bytes),
                sizeof(T));
  }
};

template <Dir D>
struct Real16Ops {
  static constexpr uint32_t kBytes = 16;
  // Lines across in blocks: lanes::r16_columns, with kLaneRule naming the
  // direction only.
  using LaneElem = Real16;
  static constexpr lanes::Rule kLaneRule =
      D == Dir::Max ? lanes::Rule::real_max : lanes::Rule::real_min;
  struct State {
    const char* at;  // the current element; null until a finite one is seen
  };
  static void begin(State& s, const Start&) { s.at = nullptr; }
  // Elements whose high part is a NaN or infinite are never taken.
  static bool finite_hi(const char* p) {
    return (load<uint32_t>(p + 4) & 0x7ff00000u) != 0x7ff00000u;
  }
  // Whether the element at p takes the place of the one at current.
  static bool beats(const char* current, const char* p) {
    const int32_t c = _morvex_qcompare(load<Real16>(p), load<Real16>(current));
    return D == Dir::Max ? c > 0 : c < 0;
  }
  static void step(State& s, const char* p) {
    if (!finite_hi(p)) return;
    if (s.at == nullptr || beats(s.at, p)) s.at = p;
  }
  // step()'s rule for lanes::r16_columns, whose current element c has a
  // high part that is not finite until one is taken. (Built for SSE2, which
  // the lanes imply: the arguments are then stored as the 8-byte words that
  // _morvex_qcompare reads, not as halves it would wait on.)
  [[gnu::target("sse2")]] static bool column_takes(const char* c, const char* x) {
    return finite_hi(x) && (!finite_hi(c) || beats(c, x));
  }
  // The contiguous elements p[0..n) of a search whose current element is
  // `current` (null before one is taken), each considered as step() does;
  // while the current element is tame, the lanes pass over the elements that
  // _morvex_qcompare cannot let replace it (lanes.h says why). Returns the
  // position of the last element taken, -1 when none was.
  static int32_t last_taken(lanes::Isa isa, const char*& current, const char* p, int32_t n) {
    int32_t found = -1;
    for (int32_t i = 0; i < n; ++i) {
      if (current != nullptr && lanes::r16_tame(current)) {
        i += lanes::r16_first_candidate(isa, p + i * ptrdiff_t{16}, n - i, current, D == Dir::Max);
        if (i == n) break;
      }
      const char* q = p + i * ptrdiff_t{16};
      if (finite_hi(q) && (current == nullptr || beats(current, q))) {
        current = q;
        found = i;
      }
    }
    return found;
  }
  template <class M>
  static void line(State& s, const char* p, ptrdiff_t ps, const char* m, ptrdiff_t ms,
                   int32_t n) {
    if constexpr (std::is_same_v<M, NoMask>) {
      if (ps == 16 && n >= kLaneRun) {
        if (const lanes::Isa isa = lanes::isa(); isa != lanes::Isa::none) {
          last_taken(isa, s.at, p, n);
          return;
        }
      }
    }
    for (; n > 0; --n, p += ps, m += ms)
      if (M::truth(m)) step(s, p);
  }
  static void finish(const State& s, char* out, const Start& start) {
    std::memcpy(out, s.at != nullptr ? s.at : reinterpret_cast<const char*>(start.bytes), 16);
  }
};

// ---- Loops -------------------------------------------------------------------

// One line of n elements (byte strides ps, ms), into the state, by the
// element type's own loop.
template <class Ops, class M>
inline void reduce_line(typename Ops::State& state, const char* p, ptrdiff_t ps, const char* m,
                        ptrdiff_t ms, int64_t n) {
  typename Ops::State s = state;
  Ops::template line<M>(s, p, ps, m, ms, static_cast<int32_t>(n));
  state = s;
}

// Lines along DIM, each reduced by an adapter A (MAXVAL/MINVAL here,
// MAXLOC/MINLOC in location.h) that holds one State per line:
//   begin(State&), line<M>(State&, p, ps, m, ms, n) for a whole line,
//   step(State&, p, k) for the element at position k of a line (its mask
//   already tested), finish(State&, out) into the line's result element.
// When another dimension is closer-packed in the source than DIM, kBlock
// neighbouring lines are reduced together: the inner loop runs across the
// lines, the outer one along DIM, so each line still sees its elements in
// DIM order.
// reduce_blocks of unmasked lines whose elements lie next to each other
// across the block: the lanes keep every line's current element (and row),
// and walk the block row by row. A adds to the adapter interface:
//   LaneElem (void: no lanes), kLaneRule, kLocation (rows are kept),
//   kFromFirstRow (each line starts from its first element, which the
//   kernels read in the block's first row, not from a start value),
//   lanes_start(best, nb) for the others, and lanes_finish(out, rs, best,
//   at, nb) for the block's results (byte stride rs).
// False (nothing done) when the lanes cannot serve.
template <class A>
bool reduce_blocks_lanes(const A& a, Blocks& b) {
  using T = typename A::LaneElem;
  if constexpr (std::is_void_v<T>) {
    return false;
  } else {
    const int across = b.across;
    if (b.lines.src.stride[across] != int64_t{sizeof(T)} || b.n <= 0) return false;
    const lanes::Isa isa = std::is_floating_point_v<T> ? lanes::real_isa() : lanes::isa();
    if (isa == lanes::Isa::none) return false;
    // Blocks wide enough that each row is read in runs of 16 KiB (a few
    // pages, which the prefetchers follow; 4 KiB runs start cold at every
    // page from L3 and memory), at most 4096 lines (32 KiB of state).
    constexpr int32_t kBlock = (16 << 10) / sizeof(T) < 4096 ? (16 << 10) / sizeof(T) : 4096;
    const int64_t rs = b.lines.res.stride[across];
    std::array<WalkArray*, 3> arrays{&b.lines.src, &b.lines.mask, &b.lines.res};
    walk_blocks(b.lines.rank, across, b.lines.extent, arrays, kBlock,
                [&](const std::array<char*, 3>& o, int64_t count) {
                  T best[kBlock];
                  int32_t at[kBlock];
                  const int32_t nb = static_cast<int32_t>(count);
                  const char* first = nullptr;
                  int32_t k0 = 0;
                  if constexpr (A::kFromFirstRow) {
                    first = o[0];
                    k0 = 1;
                  } else {
                    a.lanes_start(best, nb);
                  }
                  const char* const p = o[0] + k0 * b.src_step;
                  int32_t* const rows = A::kLocation ? at : nullptr;
                  if constexpr (std::is_same_v<T, Real16>) {
                    constexpr bool kMax = A::kLaneRule == lanes::Rule::real_max;
                    lanes::r16_columns(isa, p, b.src_step, k0, b.n - k0, nb, kMax,
                                       Real16Ops<kMax ? Dir::Max : Dir::Min>::column_takes, first,
                                       reinterpret_cast<char*>(best), rows);
                  } else {
                    lanes::columns<T, A::kLaneRule>(isa, p, b.src_step, k0, b.n - k0, nb, first,
                                                    best, rows);
                  }
                  a.lanes_finish(o[2], rs, best, at, nb);
                });
    return true;
  }
}

template <class A, class M>
void reduce_blocks(const A& a, Blocks& b) {
  if constexpr (std::is_same_v<M, NoMask>) {
    if (reduce_blocks_lanes(a, b)) return;
  }
  constexpr int32_t kBlock = 256;
  const int across = b.across;
  const int64_t ss = b.lines.src.stride[across], ms = b.lines.mask.stride[across],
                rs = b.lines.res.stride[across];
  std::array<WalkArray*, 3> arrays{&b.lines.src, &b.lines.mask, &b.lines.res};
  walk_blocks(b.lines.rank, across, b.lines.extent, arrays, kBlock,
              [&](const std::array<char*, 3>& o, int64_t count) {
                typename A::State st[kBlock];
                const int32_t nb = static_cast<int32_t>(count);
                for (int32_t j = 0; j < nb; ++j) a.begin(st[j]);
                const char* ps = o[0];
                const char* pm = o[1];
                for (int32_t k = 0; k < b.n; ++k, ps += b.src_step, pm += b.mask_step) {
                  const char* q = ps;
                  const char* qm = pm;
                  for (int32_t j = 0; j < nb; ++j, q += ss, qm += ms)
                    if (M::truth(qm)) a.step(st[j], q, k);
                }
                char* out = o[2];
                for (int32_t j = 0; j < nb; ++j, out += rs) a.finish(st[j], out);
              });
}

template <class A, class M>
void reduce_along_dim(const A& a, Lines& lines, int d) {
  Blocks blocks;
  if (block_lines(d, lines, blocks)) {
    reduce_blocks<A, M>(a, blocks);
    return;
  }
  const ptrdiff_t ps = static_cast<ptrdiff_t>(lines.src.stride[d]);
  const ptrdiff_t ms = static_cast<ptrdiff_t>(lines.mask.stride[d]);
  const int32_t n = lines.extent[d];
  std::array<WalkArray*, 3> arrays{&lines.src, &lines.mask, &lines.res};
  walk_lines(lines.rank, d, lines.extent, arrays, [&](const std::array<char*, 3>& o) {
    typename A::State st;
    a.begin(st);
    a.template line<M>(st, o[0], ps, o[1], ms, n);
    a.finish(st, o[2]);
  });
}

// The adapter of a value reduction: every line starts from the start value.
template <class Ops>
struct ValueLines {
  using State = typename Ops::State;
  const Start& start;
  void begin(State& s) const { Ops::begin(s, start); }
  template <class M>
  void line(State& s, const char* p, ptrdiff_t ps, const char* m, ptrdiff_t ms, int32_t n) const {
    reduce_line<Ops, M>(s, p, ps, m, ms, n);
  }
  void step(State& s, const char* p, int32_t) const { Ops::step(s, p); }
  void finish(const State& s, char* out) const { Ops::finish(s, out, start); }
  // Lanes (reduce_blocks_lanes): REAL lines start from the start value,
  // integer and REAL*16 lines from their first element.
  using LaneElem = typename Ops::LaneElem;
  static constexpr lanes::Rule kLaneRule = Ops::kLaneRule;
  static constexpr bool kLocation = false;
  static constexpr bool kFromFirstRow = !std::is_floating_point_v<LaneElem>;
  template <class T>
  void lanes_start(T* best, int32_t nb) const {
    for (int32_t j = 0; j < nb; ++j) std::memcpy(best + j, start.bytes, sizeof(T));
  }
  template <class T>
  void lanes_finish(char* out, int64_t rs, const T* best, const int32_t*, int32_t nb) const {
    if (rs == int64_t{sizeof(T)}) {
      std::memcpy(out, best, nb * sizeof(T));
      if constexpr (std::is_same_v<T, Real16>) {
        // Lines that took no element (no finite high part) have the start
        // value; the lanes find them.
        const char* p = reinterpret_cast<const char*>(best);
        const lanes::Isa isa = lanes::isa();
        for (int32_t j = lanes::r16_first_special(isa, p, nb); j < nb;
             j += 1 + lanes::r16_first_special(isa, p + (j + 1) * ptrdiff_t{16}, nb - j - 1))
          std::memcpy(out + j * ptrdiff_t{16}, start.bytes, 16);
      }
      return;
    }
    for (int32_t j = 0; j < nb; ++j, out += rs) {
      const char* v = reinterpret_cast<const char*>(best + j);
      // A REAL*16 line that took no element (no finite high part).
      if constexpr (std::is_same_v<T, Real16>)
        if (!Real16Ops<Dir::Max>::finite_hi(v)) v = reinterpret_cast<const char*>(start.bytes);
      std::memcpy(out, v, sizeof(T));
    }
  }
};

template <class Ops, class M>
void reduce(const Plan& plan, const Start& start) {
  if (plan.whole) {
    Runs<2> runs;
    whole_runs(plan, runs);
    const ptrdiff_t ps = static_cast<ptrdiff_t>(runs.arrays[0].stride[0]);
    const ptrdiff_t ms = static_cast<ptrdiff_t>(runs.arrays[1].stride[0]);
    typename Ops::State st;
    Ops::begin(st, start);
    runs.walk([&](const std::array<char*, 2>& o, int64_t n) {
      reduce_line<Ops, M>(st, o[0], ps, o[1], ms, n);
    });
    Ops::finish(st, plan.result.base(), start);
    return;
  }
  Lines lines;
  dim_lines(plan, lines);
  reduce_along_dim<ValueLines<Ops>, M>(ValueLines<Ops>{start}, lines, plan.dim);
}

template <class Ops>
void execute(const Plan& plan, const Start& start) {
  if (plan.empty) {
    fill_start(plan, start, Ops::kBytes);
    return;
  }
  if (plan.result.base() == nullptr) return;
  if (plan.mask.raw() == nullptr) {
    reduce<Ops, NoMask>(plan, start);
    return;
  }
  with_logical(logical_bytes(plan.mask.elem_len()),
               [&](auto m) { reduce<Ops, decltype(m)>(plan, start); });
}

// The element kind of an ElemCode; false for any other code.
inline bool kind_of_code(int32_t code, ElemKind& kind) {
  switch (code) {
    case ELEM_I1: kind = ElemKind::i1; return true;
    case ELEM_I2: kind = ElemKind::i2; return true;
    case ELEM_I4: kind = ElemKind::i4; return true;
    case ELEM_I8: kind = ElemKind::i8; return true;
    case ELEM_R4: kind = ElemKind::r4; return true;
    case ELEM_R8: kind = ElemKind::r8; return true;
    case ELEM_R16: kind = ElemKind::r16; return true;
    default: return false;
  }
}

// The operations of the ordered kinds in direction D (void for the others).
template <ElemKind K, Dir D> struct OrderedOps { using type = void; };
template <Dir D> struct OrderedOps<ElemKind::i1, D> { using type = IntegerOps<int8_t, D>; };
template <Dir D> struct OrderedOps<ElemKind::i2, D> { using type = IntegerOps<int16_t, D>; };
template <Dir D> struct OrderedOps<ElemKind::i4, D> { using type = IntegerOps<int32_t, D>; };
template <Dir D> struct OrderedOps<ElemKind::i8, D> { using type = IntegerOps<int64_t, D>; };
template <Dir D> struct OrderedOps<ElemKind::r4, D> { using type = RealOps<float, D>; };
template <Dir D> struct OrderedOps<ElemKind::r8, D> { using type = RealOps<double, D>; };
template <Dir D> struct OrderedOps<ElemKind::r16, D> { using type = Real16Ops<D>; };

// Calls f(Ops{}) with the operations of the element type of `code` in
// direction D, through the library's kind dispatcher; false (nothing
// called) for any other code. MAXLOC and MINLOC dispatch through it too.
template <Dir D, class F>
bool with_element_ops(int32_t code, F&& f) {
  ElemKind kind;
  bool called = false;
  if (kind_of_code(code, kind))
    with_kind(kind, [&](auto k) {
      using Ops = typename OrderedOps<decltype(k)::value, D>::type;
      if constexpr (!std::is_void_v<Ops>) {
        f(Ops{});
        called = true;
      }
    });
  return called;
}

// The worker: __maxval / __minval.
template <Dir D>
void run(ArrayDescriptor* result, ArrayDescriptor* source, const int32_t* dim,
         ArrayDescriptor* mask, int32_t scalar_flag, int32_t code, int32_t valkind) {
  Plan plan;
  if (!prepare(plan, result, source, dim, mask, scalar_flag)) return;
  const bool known = with_element_ops<D>(code, [&](auto ops) {
    Start start;
    start_value(start, D, code, valkind);
    execute<decltype(ops)>(plan, start);
  });
  // With nothing to reduce the code is not looked at.
  if (!known && !plan.empty) report(ERR_UNSUPPORTED_TYPE);
}

// ---- Entry points ----------------------------------------------------------

// Scalar-result entry: a rank-0 result around a slot preset to the start
// value, reduced with the scalar flag set; returns the slot's bits as T.
template <Dir D, class T, int32_t kCode, int32_t kValKind, int32_t kTypeCode>
T scalar_entry(ArrayDescriptor* source, const int32_t* dim, ArrayDescriptor* mask) {
  Start slot;
  start_value(slot, D, kCode, kValKind);
  ArrayDescriptor d;
  scalar_result_descriptor(d, slot.bytes, source->elem_len,
                           (source->type_word & ~F90_TW_TYPE_CODE_MASK) | kTypeCode);
  run<D>(&d, source, dim, mask, 1, kCode, kValKind);
  return load<T>(reinterpret_cast<const char*>(slot.bytes));
}

// The REAL*16 scalar entry: the 16 bytes go to the caller's slot, whose
// address is returned.
template <Dir D>
Real16* scalar_entry_r16(Real16* out, ArrayDescriptor* source, const int32_t* dim,
                         ArrayDescriptor* mask) {
  Start slot;
  start_value(slot, D, ELEM_R16, VK_R16);
  ArrayDescriptor d;
  scalar_result_descriptor(d, slot.bytes, source->elem_len,
                           (source->type_word & ~F90_TW_TYPE_CODE_MASK) | TYPE_REAL);
  run<D>(&d, source, dim, mask, 1, ELEM_R16, VK_R16);
  std::memcpy(out, slot.bytes, 16);
  return out;
}

}  // namespace f90::extremum

// Rows of the entry tables of MAXVAL and MINVAL (maxval.cpp, minval.cpp),
// for the direction kDirection of the including file; each row names its
// exported symbol and its thunk. Array forms (result, source, dim, mask);
// scalar forms (source, dim, mask) returning the value; INTEGER*1/2 come back
// sign-extended to 32 bits; the REAL*16 scalar form writes the caller's slot.
#define F90_EXTREMUM_WORKER(sym, name)                                                        \
  F90_API void name(ArrayDescriptor* r, ArrayDescriptor* s, const int32_t* d,                 \
                    ArrayDescriptor* m, int32_t scalar_flag, int32_t code, int32_t valkind)   \
      F90_SYMBOL(sym);                                                                        \
  void name(ArrayDescriptor* r, ArrayDescriptor* s, const int32_t* d, ArrayDescriptor* m,     \
            int32_t scalar_flag, int32_t code, int32_t valkind) {                             \
    f90::extremum::run<kDirection>(r, s, d, m, scalar_flag, code, valkind);                   \
  }
#define F90_EXTREMUM_ARRAY_ENTRY(sym, name, code, vk)                                         \
  F90_API void name(ArrayDescriptor* r, ArrayDescriptor* s, const int32_t* d,                 \
                    ArrayDescriptor* m) F90_SYMBOL(sym);                                      \
  void name(ArrayDescriptor* r, ArrayDescriptor* s, const int32_t* d, ArrayDescriptor* m) {   \
    f90::extremum::run<kDirection>(r, s, d, m, 0, f90::extremum::code, f90::extremum::vk);    \
  }
#define F90_EXTREMUM_SCALAR_ENTRY(sym, name, R, T, code, vk, tc)                              \
  F90_API R name(ArrayDescriptor* s, const int32_t* d, ArrayDescriptor* m) F90_SYMBOL(sym);   \
  R name(ArrayDescriptor* s, const int32_t* d, ArrayDescriptor* m) {                          \
    return f90::extremum::scalar_entry<kDirection, T, f90::extremum::code, f90::extremum::vk, \
                                       tc>(s, d, m);                                          \
  }
#define F90_EXTREMUM_SCALAR_R16_ENTRY(sym, name)                                              \
  F90_API morvex::DoubleDouble* name(morvex::DoubleDouble* out, ArrayDescriptor* s,           \
                                     const int32_t* d, ArrayDescriptor* m) F90_SYMBOL(sym);   \
  morvex::DoubleDouble* name(morvex::DoubleDouble* out, ArrayDescriptor* s, const int32_t* d, \
                             ArrayDescriptor* m) {                                            \
    return f90::extremum::scalar_entry_r16<kDirection>(out, s, d, m);                         \
  }
