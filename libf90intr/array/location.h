// MAXLOC and MINLOC: one engine for both directions and the seven element
// types, with DIM and MASK.
//
// Without DIM the result holds one subscript per source dimension, those of
// the first greatest (least) element in array element order; with DIM it
// holds, for every line along DIM, the position of the first greatest (least)
// element of that line. Positions count from 1 at each dimension's first
// element, whatever the lower bounds; 0 means that no element was considered
// (an empty source or a MASK with no true element).
//
// The locations are 1, 2, 4 or 8 bytes wide, as the result's elem_len says
// (8, 16, 32 or 64 bits); a position that the width cannot hold is truncated
// to its low bits; 8-byte locations are sign-extended. A result of any other
// elem_len receives nothing.
//
// Comparison rules, shared with MAXVAL and MINVAL (extremum.h), and the one
// place where a location search departs from them:
// - the first considered element always becomes the current value, so every
//   value the element type can hold is found (MAXLOC of the most negative
//   integer, of -Inf or of -HUGE; MINLOC of +Inf or of HUGE); later elements
//   replace it only when strictly greater (smaller), so ties keep the first;
// - REAL*4/8 MAXLOC replaces unless current >= element: a NaN is taken, and
//   the next considered element replaces it. MINLOC replaces when
//   current > element and never takes a NaN: its first current value is the
//   first considered element that is not a NaN;
// - REAL*16 never takes an element whose high part is a NaN or infinite, and
//   replaces when _morvex_qcompare(element, current) is 1 (MAXLOC) or -1
//   (MINLOC).
// When nothing takes the current value, an unmasked search stores position 1
// and a masked one 0 (every subscript 1, or every subscript 0).
//
// Faults of the argument list are reported through _lerror at level 4 and
// end the call before anything is stored: 1405 for a DIM outside 1..rank,
// 1205 when the result cannot be allocated (more than 0x7FFFFFFF bytes, or
// the allocator returns null; the descriptor is then marked associated with
// a null base), 1223 for an element code outside the seven (reported only
// when there is something to search).
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "array/extremum.h"

namespace f90::location {

using extremum::Dir;
using extremum::ElemCode;
using extremum::load;

// The part of a call that does not depend on the element type.
struct Plan {
  Desc result{nullptr};
  Desc source{nullptr};
  Desc mask{nullptr};     // an array MASK; null for an unmasked search
  int dim = -1;           // 0-based DIM; -1 without DIM
  uint32_t width = 0;     // bytes per location: 1, 2, 4 or 8; 0 stores nothing
  uint32_t res_units = 0; // storage units per location (the result's stride unit)
  uint32_t src_units = 1; // storage units per source element
  int64_t none = 0;       // position recorded before any element is taken
  bool store = false;     // the result can receive locations (width, base)
};

// Set-up of a call: the location width, DIM (1405), result completion
// (1205), zeroing, and the early exits. Returns true when the source is to
// be searched.
bool prepare(Plan& plan, ArrayDescriptor* result, ArrayDescriptor* source, ArrayDescriptor* dim,
             ArrayDescriptor* mask);

// Stores position + 1 (32 bits) at p, at the given width.
inline void store_location(char* p, uint32_t width, int64_t position) {
  const int32_t v = static_cast<int32_t>(position + 1);
  switch (width) {
    case 1: *reinterpret_cast<unsigned char*>(p) = static_cast<unsigned char>(v); return;
    case 2: {
      const uint16_t h = static_cast<uint16_t>(v);
      std::memcpy(p, &h, 2);
      return;
    }
    case 4: std::memcpy(p, &v, 4); return;
    case 8: {
      const int64_t w = v;
      std::memcpy(p, &w, 8);
      return;
    }
    default: return;
  }
}

// Without DIM: the subscripts of the element at linear position `at` (array
// element order; negative for none) go to result elements 1 .. rank.
void store_subscripts(const Plan& plan, int64_t at);

// Walks for a source element of `elem_bytes` bytes: the whole source as runs
// in array element order (source, mask), or the lines along DIM (source,
// mask, result with stride 0 along DIM).
void whole_runs(const Plan& plan, uint32_t elem_bytes, Runs<2>& runs);
void dim_lines(const Plan& plan, uint32_t elem_bytes, extremum::Lines& lines);

// ---- The search of each element type ---------------------------------------
//
// Locator<Ops> keeps the current value and its position. step() considers
// one element at a given position; line() considers n elements (byte strides
// ps and ms) at positions index0, index0 + 1, ...; the mask is tested by
// line() and by the caller of step().

template <class Ops>
struct Locator;

// The current value held by value (integers, REAL*4/8), its position, and
// whether an element has been taken; Derived::takes(state, x) decides.
template <class Derived, class T>
struct HeldValue {
  static constexpr uint32_t kBytes = sizeof(T);
  struct State {
    T value;  // REAL*4/8 at storage precision, compared on the x87 unit
    int64_t at;
    bool taken;
  };
  static void begin(State& s, int64_t none) {
    s.value = 0;
    s.at = none;
    s.taken = false;
  }
  static void step(State& s, const char* p, int64_t index) {
    const T x = load<T>(p);
    if (Derived::takes(s, x)) {
      s.value = x;
      s.at = index;
      s.taken = true;
    }
  }
};

template <class T, Dir D>
struct Locator<extremum::IntegerOps<T, D>> : HeldValue<Locator<extremum::IntegerOps<T, D>>, T> {
  using Ops = extremum::IntegerOps<T, D>;
  using Base = HeldValue<Locator, T>;
  using State = typename Base::State;
  using Base::step;
  static bool takes(const State& s, T x) { return !s.taken || Ops::beats(s.value, x); }
  template <class M>
  static void line(State& s, const char* p, ptrdiff_t ps, const char* m, ptrdiff_t ms, int32_t n,
                   int64_t index0) {
    if constexpr (std::is_same_v<M, NoMask>) {
      if (n <= 0) return;
      int32_t i = 0;
      if (!s.taken) {
        step(s, p, index0);
        p += ps;
        i = 1;
      }
      // Blocks: the block's extreme by MAXVAL's line loop; only a block that
      // beats the current value is searched again (in cache) for its first
      // element equal to the new extreme.
      constexpr int32_t kBlock = extremum::kSearchBlockBytes / sizeof(T);
      while (i < n) {
        const int32_t nb = n - i < kBlock ? n - i : kBlock;
        typename Ops::State block{s.value, true};
        Ops::template line<NoMask>(block, p, ps, nullptr, 0, nb);
        if (block.best != s.value) {
          int32_t j = 0;
          if (ps == sizeof(T) && lanes::isa() != lanes::Isa::none) {
            j = lanes::find_equal<T>(lanes::isa(), reinterpret_cast<const T*>(p), nb, block.best);
          } else {
            for (const char* q = p; load<T>(q) != block.best; q += ps) ++j;
          }
          s.value = block.best;
          s.at = index0 + i + j;
        }
        i += nb;
        p += nb * ps;
      }
    } else {
      for (int32_t i = 0; i < n; ++i, p += ps, m += ms)
        if (M::truth(m)) step(s, p, index0 + i);
    }
  }
};

template <class T, Dir D>
struct Locator<extremum::RealOps<T, D>> : HeldValue<Locator<extremum::RealOps<T, D>>, T> {
  using Ops = extremum::RealOps<T, D>;
  using Base = HeldValue<Locator, T>;
  using State = typename Base::State;
  using Base::step;
  // The first current value: any element for MAXLOC, one that is not a NaN
  // for MINLOC (which never takes a NaN).
  static bool takes(const State& s, T x) {
    return s.taken ? Ops::replaces(s.value, x) : D == Dir::Max || !std::isnan(x);
  }
  template <class M>
  static void line(State& s, const char* p, ptrdiff_t ps, const char* m, ptrdiff_t ms, int32_t n,
                   int64_t index0) {
    int32_t i = 0;
    for (; !s.taken && i < n; ++i, p += ps, m += ms)
      if (M::truth(m)) step(s, p, index0 + i);
    if constexpr (std::is_same_v<M, NoMask>) {
      if (ps == sizeof(T) && n - i >= extremum::kLaneRun) {
        if (const lanes::Isa isa = lanes::real_isa(); isa != lanes::Isa::none) {
          const int32_t k = Ops::last_replacing(isa, s.value, p, n - i);
          if (k >= 0) s.at = index0 + i + k;
          return;
        }
      }
    }
    // The current value stays on the x87 stack while the elements stream
    // past it; it changes only at a replacing element.
    while (i < n) {
      const int32_t k = Ops::template first_replacing<M>(s.value, p, ps, m, ms, n - i);
      if (k == n - i) return;
      p += k * ps;
      m += k * ms;
      i += k;
      s.value = load<T>(p);
      s.at = index0 + i;
      ++i;
      p += ps;
      m += ms;
    }
  }
};

template <Dir D>
struct Locator<extremum::Real16Ops<D>> {
  using Ops = extremum::Real16Ops<D>;
  static constexpr uint32_t kBytes = 16;
  struct State {
    const char* current;  // the element holding the current value; null before one
    int64_t at;
  };
  static void begin(State& s, int64_t none) {
    s.current = nullptr;
    s.at = none;
  }
  static void step(State& s, const char* p, int64_t index) {
    if (!Ops::finite_hi(p)) return;
    if (s.current == nullptr || Ops::beats(s.current, p)) {
      s.current = p;
      s.at = index;
    }
  }
  template <class M>
  static void line(State& s, const char* p, ptrdiff_t ps, const char* m, ptrdiff_t ms, int32_t n,
                   int64_t index0) {
    if constexpr (std::is_same_v<M, NoMask>) {
      if (ps == 16 && n >= extremum::kLaneRun) {
        if (const lanes::Isa isa = lanes::isa(); isa != lanes::Isa::none) {
          const int32_t k = Ops::last_taken(isa, s.current, p, n);
          if (k >= 0) s.at = index0 + k;
          return;
        }
      }
    }
    for (int32_t i = 0; i < n; ++i, p += ps, m += ms)
      if (M::truth(m)) step(s, p, index0 + i);
  }
};

// ---- Walks -----------------------------------------------------------------

// Without DIM: one search over the whole source in array element order.
template <class L, class M>
void locate_whole(const Plan& plan) {
  Runs<2> runs;
  whole_runs(plan, L::kBytes, runs);
  const ptrdiff_t ps = static_cast<ptrdiff_t>(runs.arrays[0].stride[0]);
  const ptrdiff_t ms = static_cast<ptrdiff_t>(runs.arrays[1].stride[0]);
  typename L::State st;
  L::begin(st, plan.none);
  int64_t index0 = 0;
  runs.walk([&](const std::array<char*, 2>& o, int64_t n) {
    L::template line<M>(st, o[0], ps, o[1], ms, static_cast<int32_t>(n), index0);
    index0 += n;
  });
  store_subscripts(plan, st.at);
}

// With DIM, the adapter of extremum::reduce_along_dim: one search per line,
// its position stored in the line's result element.
template <class L>
struct LocationLines {
  using State = typename L::State;
  int64_t none;
  uint32_t width;
  void begin(State& s) const { L::begin(s, none); }
  template <class M>
  void line(State& s, const char* p, ptrdiff_t ps, const char* m, ptrdiff_t ms, int32_t n) const {
    L::template line<M>(s, p, ps, m, ms, n, 0);
  }
  void step(State& s, const char* p, int32_t k) const { L::step(s, p, k); }
  void finish(const State& s, char* out) const { store_location(out, width, s.at); }
  // Lanes (extremum::reduce_blocks_lanes): every line's first element is
  // taken at row 0 (with no MASK the position recorded before any is taken
  // is 0 too), then the element type's rule; MINLOC of REAL elements never
  // takes a NaN, and the lanes start a line from its first element that is
  // not one.
  using LaneElem = typename L::Ops::LaneElem;
  static constexpr lanes::Rule kLaneRule = L::Ops::kLaneRule;
  static constexpr bool kLocation = true;
  static constexpr bool kFromFirstRow = true;
  template <class T>
  void lanes_start(T*, int32_t) const {}
  template <class T>
  void lanes_finish(char* out, int64_t rs, const T*, const int32_t* at, int32_t nb) const {
    // A contiguous INTEGER*4 result takes the positions through the lanes
    // (the block's search ran in them, so the CPU has them).
    if (width == 4 && rs == 4) {
      lanes::offset_rows(lanes::isa(), at, nb, 1, out);
      return;
    }
    // One loop per location width.
    with_width(width, [&](auto w) {
      for (int32_t j = 0; j < nb; ++j, out += rs) store_location(out, w.value, at[j]);
    });
  }
};

template <class L, class M>
void locate(const Plan& plan) {
  if (plan.dim < 0) {
    locate_whole<L, M>(plan);
    return;
  }
  extremum::Lines lines;
  dim_lines(plan, L::kBytes, lines);
  extremum::reduce_along_dim<LocationLines<L>, M>(LocationLines<L>{plan.none, plan.width}, lines,
                                                  plan.dim);
}

// The worker: __maxloc / __minloc.
template <Dir D>
void run(ArrayDescriptor* result, ArrayDescriptor* source, ArrayDescriptor* dim,
         ArrayDescriptor* mask, int32_t code) {
  Plan plan;
  if (!prepare(plan, result, source, dim, mask)) return;
  const bool known = extremum::with_element_ops<D>(code, [&](auto ops) {
    using L = Locator<decltype(ops)>;
    if (!plan.store) return;  // nothing could receive a location
    if (plan.mask.raw() == nullptr) {
      locate<L, NoMask>(plan);
      return;
    }
    with_logical(logical_bytes(plan.mask.elem_len()),
                 [&](auto m) { locate<L, decltype(m)>(plan); });
  });
  if (!known) report(ERR_UNSUPPORTED_TYPE);
}

// The DIM form's arguments: a LOGICAL in the DIM position with no MASK
// given is the MASK (compiled code passes MAXLOC(ARRAY, MASK) that way).
inline void settle_dim_and_mask(ArrayDescriptor*& dim, ArrayDescriptor*& mask) {
  if (mask == nullptr && dim != nullptr && Desc(dim).type_code() == TYPE_LOGICAL) {
    mask = dim;
    dim = nullptr;
  }
}

}  // namespace f90::location

// Rows of the entry tables of MAXLOC and MINLOC (maxloc.cpp, minloc.cpp),
// for the direction kDirection of the including file; each row names its
// exported symbol and its thunk: the worker, the form without DIM (result,
// source, mask) and the form with a DIM position (result, source, dim, mask).
#define F90_LOCATION_WORKER(sym, name)                                                       \
  F90_API void name(ArrayDescriptor* r, ArrayDescriptor* s, ArrayDescriptor* d,              \
                    ArrayDescriptor* m, int32_t code) F90_SYMBOL(sym);                       \
  void name(ArrayDescriptor* r, ArrayDescriptor* s, ArrayDescriptor* d, ArrayDescriptor* m,  \
            int32_t code) {                                                                  \
    f90::location::run<kDirection>(r, s, d, m, code);                                        \
  }
#define F90_LOCATION_ENTRY(sym, name, code)                                                  \
  F90_API void name(ArrayDescriptor* r, ArrayDescriptor* s, ArrayDescriptor* m)              \
      F90_SYMBOL(sym);                                                                       \
  void name(ArrayDescriptor* r, ArrayDescriptor* s, ArrayDescriptor* m) {                    \
    f90::location::run<kDirection>(r, s, nullptr, m, f90::extremum::code);                   \
  }
#define F90_LOCATION_DIM_ENTRY(sym, name, code)                                              \
  F90_API void name(ArrayDescriptor* r, ArrayDescriptor* s, ArrayDescriptor* d,              \
                    ArrayDescriptor* m) F90_SYMBOL(sym);                                     \
  void name(ArrayDescriptor* r, ArrayDescriptor* s, ArrayDescriptor* d, ArrayDescriptor* m) { \
    f90::location::settle_dim_and_mask(d, m);                                                \
    f90::location::run<kDirection>(r, s, d, m, f90::extremum::code);                         \
  }
