// Pieces shared by the reductions (MAXVAL/MINVAL and ALL/ANY/COUNT): the
// merging of dimensions that a whole-array scan can walk as one longer run.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "array/descriptor.h"
#include "common/mask.h"
#include "array/walk.h"

namespace f90 {

// Runs of N arrays walked together in array element order, with adjacent
// dimensions merged wherever every array steps through them as through one
// (stride of the next = stride times extent): a contiguous array becomes a
// single run, whatever its rank. The visiting order is unchanged.
template <size_t N>
struct Runs {
  int rank = 0;
  int32_t extent[F90_MAX_RANK] = {};
  std::array<WalkArray, N> arrays{};

  // Adds the next dimension of the walk (extents > 0).
  void add(int32_t e, const std::array<int64_t, N>& stride) {
    if (rank > 0) {
      const int k = rank - 1;
      bool joins = int64_t{extent[k]} * e <= INT32_MAX;
      for (size_t a = 0; a < N && joins; ++a)
        joins = stride[a] == arrays[a].stride[k] * extent[k];
      if (joins) {
        extent[k] *= e;
        return;
      }
    }
    extent[rank] = e;
    for (size_t a = 0; a < N; ++a) arrays[a].stride[rank] = stride[a];
    ++rank;
  }

  // Calls f(origins, n) for each run, in order (walk_runs).
  template <class F>
  void walk(F&& f) {
    std::array<WalkArray*, N> p;
    for (size_t a = 0; a < N; ++a) p[a] = &arrays[a];
    walk_runs(rank, extent, p, f);
  }
};

}  // namespace f90
