// Walkers over arrays that move together, the one family every routine
// walks with:
// - walk_lines: whole lines along one dimension;
// - walk_runs and Runs<N>: array element order as runs along the first
//   dimension, Runs<N> merging the dimensions that every array steps
//   through as through one, so that a contiguous array is a single run;
// - walk_blocks: blocks of neighbouring lines;
// - RunCursor: one array in element order, advanced by any count, for
//   routines that pair elements of arrays of different shapes.
//
// A line is the set of elements along one dimension `dim` at fixed indices in
// every other dimension. walk_lines() visits the lines of a principal array
// (and of every array walked with it: result, SHIFT, BOUNDARY, MASK...) in
// the order of the other dimensions, first fastest, and hands the callback
// the byte address of each array's line origin. The line itself (the stride
// along `dim` and its n elements) is the callback's business, so its inner
// loop stays a plain stride loop.
//
// Every array is addressed through its own byte strides, given per dimension
// of the principal array; an array that has no extent along some dimension
// (a SHIFT of rank one less, walked alongside) has stride 0 there.
// Origins are formed afresh for each line as the sum of per-level offsets.
//
// A callback may return bool: false ends the walk at once (a consumer that
// is full, such as TRANSFER's result, need not visit the remaining lines).
#pragma once

#include <array>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "array/copy_kind.h"
#include "array/descriptor.h"

namespace f90 {

struct WalkArray {
  char* base;
  int64_t stride[F90_MAX_RANK];  // bytes, per dimension of the principal array
};

// Calls f(args...); true unless f returns false.
template <class F, class... A>
inline bool walk_call(F& f, A&&... a) {
  if constexpr (std::is_same_v<std::invoke_result_t<F&, A...>, bool>) {
    return f(std::forward<A>(a)...);
  } else {
    f(std::forward<A>(a)...);
    return true;
  }
}

// Calls f(origins) for every line along `dim` (0-based) of an array of rank
// `rank` (1..7) with the given extents; origins is a std::array<char*, N>.
// Nothing is visited when any extent other than `dim`'s is 0 or less.
template <size_t N, class F>
void walk_lines(int rank, int dim, const int32_t* extent, const std::array<WalkArray*, N>& arrays,
                F&& f) {
  // The other dimensions, in increasing order.
  int other[F90_MAX_RANK];
  int m = 0;
  for (int d = 0; d < rank; ++d) {
    if (d == dim) continue;
    if (extent[d] <= 0) return;
    other[m++] = d;
  }
  std::array<char*, N> origin;
  for (size_t a = 0; a < N; ++a) origin[a] = arrays[a]->base;

  if (m == 0) {  // rank 1: one line
    walk_call(f, origin);
    return;
  }
  if (m == 1) {  // rank 2: the other dimension in increasing index
    const int d = other[0];
    for (int32_t j = 0; j < extent[d]; ++j) {
      std::array<char*, N> o;
      for (size_t a = 0; a < N; ++a) o[a] = arrays[a]->base + int64_t{j} * arrays[a]->stride[d];
      if (!walk_call(f, o)) return;
    }
    return;
  }
  // Ranks 3-7: an odometer over the other dimensions.
  int32_t count[F90_MAX_RANK] = {};
  int64_t partial[N][F90_MAX_RANK] = {};
  while (true) {
    for (size_t a = 0; a < N; ++a) {
      int64_t off = 0;
      for (int k = 0; k < m; ++k) off += partial[a][k];
      origin[a] = arrays[a]->base + off;
    }
    if (!walk_call(f, origin)) return;
    int k = 0;
    for (; k < m; ++k) {
      const int d = other[k];
      if (++count[k] < extent[d]) {
        for (size_t a = 0; a < N; ++a) partial[a][k] += arrays[a]->stride[d];
        break;
      }
      count[k] = 0;
      for (size_t a = 0; a < N; ++a) partial[a][k] = 0;
    }
    if (k == m) return;
  }
}

// Calls f(origins, n) for every run along dimension 0 of arrays walked in
// array element order (first index fastest): the runs of the element-order
// routines (PACK, UNPACK, RESHAPE, SPREAD). n is extent[0].
template <size_t N, class F>
void walk_runs(int rank, const int32_t* extent, const std::array<WalkArray*, N>& arrays, F&& f) {
  if (rank == 0) {
    std::array<char*, N> o;
    for (size_t a = 0; a < N; ++a) o[a] = arrays[a]->base;
    walk_call(f, o, int64_t{1});
    return;
  }
  if (extent[0] <= 0) return;
  const int64_t n = extent[0];
  walk_lines(rank, 0, extent, arrays,
             [&](const std::array<char*, N>& o) -> bool { return walk_call(f, o, n); });
}

// The walkers' one dimension merging. Appends a dimension of extent e > 0,
// in which array a steps stride[a] bytes, to the `rank` dimensions held in
// extent[] and stride_at(a, k) (an int64_t&): a dimension of extent 1 moves
// nothing and is dropped; one that every array steps through as through a
// continuation of the last (stride[a] == stride_at(a, last) * extent[last])
// joins it while the joined extent fits E. Products are checked for
// overflow, so no merge ever rests on a wrapped value. Element order is
// unchanged; all dimensions dropped leaves rank 0, a single element.
template <class E, size_t N, class StrideAt>
inline void merge_dimension(int& rank, E* extent, StrideAt&& stride_at, E e,
                            const std::array<int64_t, N>& stride) {
  if (e == 1) return;
  if (rank > 0) {
    const int k = rank - 1;
    E joined;
    bool joins = !__builtin_mul_overflow(extent[k], e, &joined);
    for (size_t a = 0; a < N && joins; ++a) {
      int64_t span;
      joins = !__builtin_mul_overflow(stride_at(a, k), int64_t{extent[k]}, &span) && stride[a] == span;
    }
    if (joins) {
      extent[k] = joined;
      return;
    }
  }
  extent[rank] = e;
  for (size_t a = 0; a < N; ++a) stride_at(a, rank) = stride[a];
  ++rank;
}

// Runs of N arrays walked together in array element order, with adjacent
// dimensions merged (merge_dimension) wherever every array steps through
// them as through one: a contiguous array becomes a single run, whatever its
// rank. The visiting order is unchanged.
template <size_t N>
struct Runs {
  int rank = 0;
  int32_t extent[F90_MAX_RANK] = {};
  std::array<WalkArray, N> arrays{};

  // Adds the next dimension of the walk (extents > 0).
  void add(int32_t e, const std::array<int64_t, N>& stride) {
    merge_dimension(rank, extent, [&](size_t a, int k) -> int64_t& { return arrays[a].stride[k]; },
                    e, stride);
  }

  // Calls f(origins, n) for each run, in order (walk_runs).
  template <class F>
  void walk(F&& f) {
    std::array<WalkArray*, N> p;
    for (size_t a = 0; a < N; ++a) p[a] = &arrays[a];
    walk_runs(rank, extent, p, f);
  }
};


// Blocks of neighbouring lines: for every line along dimension `across`
// (visited as walk_lines visits them), f(origins, count) for each run of up
// to `block` consecutive indices along it, with the origins of the first of
// them. A routine then takes element k along another dimension of every line
// of the block before element k + 1, so that consecutive accesses touch
// neighbouring memory instead of one element per line, far apart. A
// dimension the routine walks itself inside the block is given extent 1.
template <size_t N, class F>
void walk_blocks(int rank, int across, const int32_t* extent,
                 const std::array<WalkArray*, N>& arrays, int64_t block, F&& f) {
  const int64_t width = extent[across];
  walk_lines(rank, across, extent, arrays, [&](const std::array<char*, N>& o) {
    for (int64_t j0 = 0; j0 < width; j0 += block) {
      std::array<char*, N> first;
      for (size_t a = 0; a < N; ++a) first[a] = o[a] + j0 * arrays[a]->stride[across];
      f(first, width - j0 < block ? width - j0 : block);
    }
  });
}

// A classified array (principal array, result, BOUNDARY) walked through its
// own dimensions.
inline WalkArray walk_array(Desc d, const ElemClass& c) {
  WalkArray w{d.base(), {}};
  for (int i = 0; i < d.rank(); ++i) w.stride[i] = c.byte_stride(d.stride(i));
  return w;
}

// A value argument (SHIFT, MASK...) walked through its own dimensions, its
// strides in its own storage units.
inline WalkArray walk_array(Desc d) {
  WalkArray w{d.base(), {}};
  for (int i = 0; i < d.rank(); ++i) w.stride[i] = d.byte_stride(i);
  return w;
}

// An array of rank one less than the principal array (SHIFT, BOUNDARY) whose
// dimensions are the principal's dimensions other than `dim`, in order:
// stride 0 along `dim`. `to_bytes` converts one descriptor stride.
template <class StrideFn>
WalkArray walk_array_without(Desc d, int dim, StrideFn&& to_bytes) {
  WalkArray w{d.base(), {}};
  for (int i = 0, p = 0; i < d.rank(); ++i, ++p) {
    if (p == dim) ++p;
    if (p >= F90_MAX_RANK) break;  // more dimensions than the principal array has
    w.stride[p] = to_bytes(d.stride(i));
  }
  return w;
}

}  // namespace f90

namespace f90 {

// A LOGICAL MASK walked through its first `dims` dimensions (the rest, and
// every dimension of a scalar MASK, have stride 0), its strides read by its
// element width (elem_len, in bits).
inline WalkArray walk_mask(Desc mask, int dims) {
  WalkArray w{mask.base(), {}};
  const int n = dims < mask.rank() ? dims : mask.rank();
  for (int i = 0; i < n; ++i) w.stride[i] = logical_byte_stride(mask.stride(i), mask.elem_len());
  return w;
}

// Walks an array in array element order as runs along its first dimension,
// for routines that pair the elements of two arrays of different shapes
// (RESHAPE): at() is the current element, step() the byte stride along the
// run and left() the elements remaining in it; advance(m) moves on by
// m <= left() elements. Its dimensions are merged as every walker's are
// (merge_dimension, in 64 bits), so that a contiguous array is a single run. A cyclic cursor starts again at its first
// element after its last; any other stops there (left() is then 0).
// Line origins are formed afresh from the counters for every line.
class RunCursor {
 public:
  // `extent` and `stride` (bytes) per dimension; rank 0 is one element.
  // Always inlined: its callers build it from arrays filled only up to
  // `rank`, which the loop below never reads past.
  [[gnu::always_inline]] RunCursor(int rank, const int64_t* extent, const int64_t* stride, char* base, bool cyclic)
      : base_(base), line_(base), cyclic_(cyclic) {
    for (int k = 0; k < rank; ++k) {
      if (extent[k] <= 0) {  // an empty array: no element at all
        rank_ = 1;
        extent_[0] = 0;
        stride_[0] = 0;
        return;
      }
      merge_dimension(rank_, extent_, [&](size_t, int j) -> int64_t& { return stride_[j]; },
                      extent[k], std::array<int64_t, 1>{stride[k]});
    }
    if (rank_ == 0) {
      rank_ = 1;
      extent_[0] = 1;
      stride_[0] = 0;
    }
  }

  char* at() const { return line_ + pos_ * stride_[0]; }
  int64_t step() const { return stride_[0]; }
  int64_t left() const { return extent_[0] - pos_; }
  // True for a cursor over a single element, which every step revisits.
  bool single() const { return rank_ == 1 && extent_[0] == 1; }

  void advance(int64_t m) {
    pos_ += m;
    if (pos_ < extent_[0]) return;
    int k = 1;
    for (; k < rank_; ++k) {
      if (++count_[k] < extent_[k]) break;
      count_[k] = 0;
    }
    if (k == rank_ && !cyclic_) return;  // past the last element: left() is 0
    pos_ = 0;
    int64_t off = 0;
    for (int j = 1; j < rank_; ++j) off += count_[j] * stride_[j];
    line_ = base_ + off;
  }

 private:
  char* base_;
  char* line_;
  bool cyclic_;
  int rank_ = 0;
  int64_t pos_ = 0;
  int64_t extent_[F90_MAX_RANK] = {};
  int64_t stride_[F90_MAX_RANK] = {};
  int64_t count_[F90_MAX_RANK] = {};
};

}  // namespace f90
