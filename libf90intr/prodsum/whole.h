// The walk of the whole-array SUM and PRODUCT routines (_SUM0_<t>,
// _PROD0_<t>): every element of the source, or every element whose MASK
// element is true, combined one at a time into the accumulator of the
// element kind (kinds.h), starting from the identity.
//
// Order of the terms: array element order, except for a masked rank-2 source,
// which is walked row by row (A(1,1), A(1,2), ..., A(2,1), ...). An innermost
// run is one pass along dimension 1 (along dimension 2 for the masked rank-2
// rows); the complex kinds round their accumulator at the end of each, so for
// them the runs are kept exactly as the source's dimensions make them. For
// every other kind neighbouring dimensions that the source (and MASK) step
// through as one are merged into longer runs: the order of terms is the same.
//
// DIM only goes to the set-up: a DIM outside 1..rank is reported (1405) and,
// should the report return, the whole array is reduced all the same.
//
// MASK: element bytes 8 (the low-order word is tested), 4, 2 or 1; any other
// size is read as 32-bit words. A MASK of another rank than the source's is
// one value for every element. A MASK element that does not exist (a MASK of
// the source's rank with a smaller extent, or a MASK of another rank with no
// element at all) is never read and counts as false.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <type_traits>

#include "prodsum/kinds.h"
#include "prodsum/presum.h"
#include "common/mask.h"
#include "common/walk.h"
#include "common/walk.h"

namespace f90::prodsum {

// One run of n terms (byte strides ps, ms), the accumulator kept in a local
// for the run.
template <class K, class M>
inline void run(typename K::Work& acc, const char* p, ptrdiff_t ps, const char* m, ptrdiff_t ms,
                int32_t n) {
  typename K::Work a = acc;
  if constexpr (std::is_same_v<M, NoMask> &&
                requires(typename K::Work & w, const char* q, ptrdiff_t s, int32_t c) {
                  K::unmasked(w, q, s, c);
                }) {
    K::unmasked(a, p, ps, n);
  } else {
    for (; n > 0; --n, p += ps, m += ms)
      if (M::truth(m)) K::term(a, p);
  }
  K::end_run(a);
  acc = a;
}

// The source and MASK in bytes, over the source's rank.
struct WholeGeometry {
  int rank = 0;
  int32_t extent[F90_MAX_RANK] = {};
  WalkArray src{}, mask{};
};

template <class K, class M>
void walk(typename K::Work& acc, WholeGeometry& g) {
  for (int k = 0; k < g.rank; ++k)
    if (g.extent[k] < 1) return;  // no element: the accumulator keeps the identity

  if (!std::is_same_v<M, NoMask> && g.rank == 2) {  // row by row
    const ptrdiff_t ps = static_cast<ptrdiff_t>(g.src.stride[1]);
    const ptrdiff_t ms = static_cast<ptrdiff_t>(g.mask.stride[1]);
    for (int32_t i = 0; i < g.extent[0]; ++i)
      run<K, M>(acc, g.src.base + i * g.src.stride[0], ps, g.mask.base + i * g.mask.stride[0], ms,
                g.extent[1]);
    return;
  }
  auto each_run = [&](const std::array<char*, 2>& o, int64_t n, const WalkArray& s,
                      const WalkArray& m) {
    run<K, M>(acc, o[0], static_cast<ptrdiff_t>(s.stride[0]), o[1],
              static_cast<ptrdiff_t>(m.stride[0]), static_cast<int32_t>(n));
  };
  if constexpr (K::kRunsMatter) {
    walk_runs(g.rank, g.extent, std::array<WalkArray*, 2>{&g.src, &g.mask},
              [&](const std::array<char*, 2>& o, int64_t n) { each_run(o, n, g.src, g.mask); });
  } else {
    Runs<2> runs;
    runs.arrays[0].base = g.src.base;
    runs.arrays[1].base = g.mask.base;
    for (int k = 0; k < g.rank; ++k) runs.add(g.extent[k], {g.src.stride[k], g.mask.stride[k]});
    runs.walk([&](const std::array<char*, 2>& o, int64_t n) {
      each_run(o, n, runs.arrays[0], runs.arrays[1]);
    });
  }
}

// Reduces the whole source into `acc` (set to the identity first).
template <class K>
void reduce_whole(typename K::Work& acc, ArrayDescriptor* source, const int32_t* dim,
                  ArrayDescriptor* mask) {
  ReductionSetup s;
  presum(0, nullptr, source, dim, mask, s);  // every field read below is written
  K::identity(acc);

  WholeGeometry g;
  g.rank = s.src_rank;
  g.src.base = s.src_base;
  for (int k = 0; k < g.rank; ++k) {
    g.extent[k] = s.src_extent[k];
    g.src.stride[k] = int64_t{s.src_stride[k]} * K::kBytes;
  }
  if (s.mask_present == 0) return walk<K, NoMask>(acc, g);

  const Desc m(mask);
  if (m.rank() == g.rank) {
    for (int k = 0; k < g.rank; ++k) g.extent[k] = std::min(g.extent[k], s.mask_extent[k]);
  } else if (m.element_count() == 0) {
    return;  // no MASK value at all
  }
  auto masked = [&](auto word, int64_t unit, char* base) {
    g.mask.base = base;
    for (int k = 0; k < g.rank; ++k) g.mask.stride[k] = int64_t{s.mask_stride[k]} * unit;
    walk<K, decltype(word)>(acc, g);
  };
  by_mask_bytes(s, masked);
}

// The two entry forms: the value in a register (integers, REAL*4/8), or
// stored once, after the walk, at the caller's address, which is returned.
template <class K>
inline auto value_form(ArrayDescriptor* source, const int32_t* dim, ArrayDescriptor* mask) {
  typename K::Work acc;
  reduce_whole<K>(acc, source, dim, mask);
  return K::result(acc);
}
template <class K>
inline void address_form(void* out, ArrayDescriptor* source, const int32_t* dim,
                         ArrayDescriptor* mask) {
  typename K::Work acc;
  reduce_whole<K>(acc, source, dim, mask);
  K::store(acc, out);
}

}  // namespace f90::prodsum

// Rows of the tables of sum0.cpp and prod0.cpp: the exported symbol, its
// thunk, the result type and the element kind of kinds.h. Values come back
// in registers; COMPLEX and REAL*16 results through the caller's slot.
#define F90_WHOLE_VALUE_ENTRY(sym, name, R, ...)                                            \
  F90_API R name(ArrayDescriptor* s, const int32_t* d, ArrayDescriptor* m) F90_SYMBOL(sym); \
  R name(ArrayDescriptor* s, const int32_t* d, ArrayDescriptor* m) {                        \
    return f90::prodsum::value_form<__VA_ARGS__>(s, d, m);                                  \
  }
#define F90_WHOLE_ADDRESS_ENTRY(sym, name, R, ...)                                  \
  F90_API R* name(R* out, ArrayDescriptor* s, const int32_t* d, ArrayDescriptor* m) \
      F90_SYMBOL(sym);                                                              \
  R* name(R* out, ArrayDescriptor* s, const int32_t* d, ArrayDescriptor* m) {       \
    f90::prodsum::address_form<__VA_ARGS__>(out, s, d, m);                          \
    return out;                                                                     \
  }
