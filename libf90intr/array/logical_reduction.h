// ALL, ANY and COUNT: one reduction skeleton over a LOGICAL MASK of 1, 2, 4
// or 8 bytes per element, into a LOGICAL (ALL, ANY) or INTEGER (COUNT)
// result of 1, 2, 4 or 8 bytes.
//
// Every result element is first set to the identity (ALL true, ANY false,
// COUNT 0). Without DIM, or into a rank-0 result, the whole MASK is scanned
// into the one element at the result's base; with DIM and an array result,
// each line along DIM gives one element. ALL stops a line (a whole scan) at
// its first false element and stores 0, ANY at its first true one and stores
// 1; COUNT counts the true elements and stores the count's low 8, 16 or 32
// bits, or all 64 bits, by the result's width. An element is true when
// non-zero (LOGICAL*8: either word).
//
// Result elements are addressed through the result's strides, which for a
// result laid out here (or any contiguous caller result) is contiguous.
#pragma once

#include <cstdint>
#include <cstring>

#include <type_traits>

#include "array/descriptor.h"
#include "array/lanes.h"
#include "array/result.h"
#include "common/dispatch.h"
#include "common/mask.h"
#include "common/walk.h"

namespace f90::logical {

enum class Op { All, Any, Count };

// Bytes of an operand's element by its int_len: 8, 16 and 64 bits directly,
// anything else as 32 bits.
inline uint32_t width_of(Desc d) {
  const uint32_t bits = d.int_len();
  return bits == 8 || bits == 16 || bits == 64 ? bits / 8 : 4;
}

// Byte distance of a descriptor stride for elements of `bytes` bytes: the
// stride counts bytes (8- and 16-bit elements) or words and is first turned
// into whole elements.
inline int64_t byte_stride(uint32_t bytes, int32_t stride) {
  const int32_t units = bytes == 2 || bytes == 8 ? 2 : 1;
  return int64_t{stride / units} * bytes;
}

struct Plan {
  Desc result{nullptr};
  Desc mask{nullptr};
  uint32_t rbytes = 4, mbytes = 4;  // element widths of result and MASK
  bool lines = false;  // one result element per line along `dim`
  int dim = 0;
  int result_dims = 0;  // result dimensions that stand for MASK dimensions
};

// Checks DIM, completes an unassociated result and sets every result
// element to `identity`. Returns false when there is nothing more to do: a
// report that ends the call, no result storage, or an empty MASK.
bool prepare(Plan& plan, ArrayDescriptor* result, ArrayDescriptor* mask, const int32_t* dim,
             uint64_t identity);

// Stores v into a result element of `bytes` bytes (its low bits).
void store(char* p, uint32_t bytes, uint64_t v);

// The walks: the whole MASK as runs, or its lines along DIM with the
// result walked alongside (stride 0 along DIM). Structures travel through
// references: one returned by value would make the callee pop its hidden
// pointer.
void mask_runs(const Plan& plan, Runs<1>& runs);
struct Lines {
  int rank = 0;
  int32_t extent[F90_MAX_RANK] = {};
  WalkArray mask{}, res{};
};
void mask_lines(const Plan& plan, Lines& lines);

// Contiguous runs of at least this many elements go to the lane kernels,
// which read a LOGICAL*8 by the either-word rule.
inline constexpr int64_t kLaneRun = 64;
template <class M>
inline lanes::Isa lanes_for(ptrdiff_t s, int64_t n) {
  if constexpr (std::is_same_v<M, Logical<M::kBytes>>) {
    if (s == M::kBytes && n >= kLaneRun) return lanes::isa();
  }
  return lanes::Isa::none;
}

// Number of true elements of a line (n < 2^31).
template <class M>
inline uint32_t count_true(const char* p, ptrdiff_t s, int64_t n) {
  if (const lanes::Isa isa = lanes_for<M>(s, n); isa != lanes::Isa::none)
    return static_cast<uint32_t>(lanes::count_true<M::kBytes>(isa, p, n));
  uint32_t c = 0;
  for (; n > 0; --n, p += s) c += M::truth(p) ? 1u : 0u;
  return c;
}

// Whether a line has an element whose truth is `want`.
template <class M, bool want>
inline bool find(const char* p, ptrdiff_t s, int64_t n) {
  if (const lanes::Isa isa = lanes_for<M>(s, n); isa != lanes::Isa::none)
    return lanes::find_truth<M::kBytes>(isa, p, n, want) < n;
  for (; n > 0; --n, p += s)
    if (M::truth(p) == want) return true;
  return false;
}

// A line's outcome: the value its result element takes.
template <Op op, class M>
inline uint64_t line_value(const char* p, ptrdiff_t s, int64_t n) {
  if constexpr (op == Op::All) return find<M, false>(p, s, n) ? 0 : 1;
  if constexpr (op == Op::Any) return find<M, true>(p, s, n) ? 1 : 0;
  if constexpr (op == Op::Count) return count_true<M>(p, s, n);
}

// The lines along DIM in blocks of neighbouring lines, when the elements of
// neighbouring lines lie next to each other (a dimension other than DIM is
// contiguous): the lanes count, for every line of a block, its elements of
// the deciding truth (true for ANY and COUNT, false for ALL) row by row, and
// ALL and ANY stop a block once each of its lines is decided. False when the
// lanes cannot serve.
template <Op op, class M>
bool scan_blocks(const Plan& plan, Lines& l) {
  constexpr uint32_t B = M::kBytes;
  const int d = plan.dim;
  int across = -1;
  for (int i = 0; i < l.rank && across < 0; ++i)
    if (i != d && l.mask.stride[i] == B && l.extent[i] >= 4) across = i;
  if (across < 0 || lanes_for<M>(B, kLaneRun) == lanes::Isa::none) return false;
  const lanes::Isa isa = lanes::isa();
  // Rows read in runs of up to 16 KiB (LOGICAL*4), as reduce_blocks_lanes
  // reads them.
  constexpr int32_t kBlock = 4096, kRows = 64;
  int32_t extent[F90_MAX_RANK];
  for (int i = 0; i < l.rank; ++i) extent[i] = l.extent[i];
  extent[d] = 1;  // walked inside each block
  const int32_t n = l.extent[d];
  const ptrdiff_t step = static_cast<ptrdiff_t>(l.mask.stride[d]);
  const ptrdiff_t rs = static_cast<ptrdiff_t>(l.res.stride[across]);
  // COUNT into a contiguous, aligned 4-byte result of a rank-2 MASK (whose
  // lines each have an element of their own, already 0): the lanes count
  // straight into it, with no block of counts to clear and copy out.
  const bool direct = op == Op::Count && plan.rbytes == 4 && rs == 4 && l.rank == 2 &&
                      reinterpret_cast<uintptr_t>(l.res.base) % 4 == 0;
  std::array<WalkArray*, 2> arrays{&l.mask, &l.res};
  walk_blocks(l.rank, across, extent, arrays, kBlock,
              [&](const std::array<char*, 2>& o, int64_t count) {
                const int32_t nb = static_cast<int32_t>(count);
                uint32_t found[kBlock];
                uint32_t* const sums = direct ? reinterpret_cast<uint32_t*>(o[1]) : found;
                if (!direct) std::memset(found, 0, nb * sizeof found[0]);
                for (int32_t k = 0; k < n; k += kRows) {
                  const int32_t rows = n - k < kRows ? n - k : kRows;
                  lanes::count_columns<B>(isa, o[0] + k * step, step, rows, nb, op != Op::All,
                                          sums);
                  if constexpr (op != Op::Count) {
                    int32_t j = 0;
                    while (j < nb && found[j] != 0) ++j;
                    if (j == nb) break;
                  }
                }
                if (direct) return;
                // One loop per result width (little-endian: the low bytes).
                char* out = o[1];
                const ptrdiff_t step_out = rs;  // a local: the stores cannot alias it
                with_width(plan.rbytes, [&](auto w) {
                  if constexpr (w.value <= 8) {
                    const auto value = [&](int32_t j) -> uint64_t {
                      return op == Op::Count ? found[j] : (found[j] != 0) == (op == Op::Any);
                    };
                    const auto write = [&](auto step) {
                      for (int32_t j = 0; j < nb; ++j) {
                        const uint64_t v = value(j);
                        std::memcpy(out + j * step, &v, w.value);
                      }
                    };
                    // A contiguous result: a constant step, a loop the compiler vectorises.
                    if (step_out == w.value)
                      write(std::integral_constant<ptrdiff_t, ptrdiff_t{w.value}>{});
                    else
                      write(step_out);
                  }
                });
              });
  return true;
}

template <Op op, class M>
void scan(const Plan& plan) {
  if (plan.lines) {
    Lines l;
    mask_lines(plan, l);
    if (scan_blocks<op, M>(plan, l)) return;
    const ptrdiff_t s = static_cast<ptrdiff_t>(l.mask.stride[plan.dim]);
    const int64_t n = l.extent[plan.dim];
    std::array<WalkArray*, 2> arrays{&l.mask, &l.res};
    walk_lines(l.rank, plan.dim, l.extent, arrays, [&](const std::array<char*, 2>& o) {
      store(o[1], plan.rbytes, line_value<op, M>(o[0], s, n));
    });
    return;
  }
  // One outcome for the whole MASK; ALL and ANY stop at the first element
  // that decides it.
  Runs<1> runs;
  mask_runs(plan, runs);
  const ptrdiff_t s = static_cast<ptrdiff_t>(runs.arrays[0].stride[0]);
  uint64_t count = 0;
  bool decided = false;
  runs.walk([&](const std::array<char*, 1>& o, int64_t n) {
    if (decided) return;
    if constexpr (op == Op::Count)
      count += count_true<M>(o[0], s, n);
    else
      decided = find<M, op == Op::Any>(o[0], s, n);
  });
  if constexpr (op == Op::Count)
    store(plan.result.base(), plan.rbytes, count);
  else
    store(plan.result.base(), plan.rbytes, (op == Op::All) != decided ? 1 : 0);
}

// The worker: __all, __any, __count.
template <Op op>
void run(ArrayDescriptor* result, ArrayDescriptor* mask, const int32_t* dim) {
  Plan plan;
  if (!prepare(plan, result, mask, dim, op == Op::All ? 1 : 0)) return;
  with_logical(logical_bytes(plan.mbytes * 8), [&](auto m) { scan<op, decltype(m)>(plan); });
}

// Scalar entry: a rank-0 result of `bits` bits around an 8-byte slot.
template <Op op, uint32_t bits>
uint64_t scalar_entry(ArrayDescriptor* mask, const int32_t* dim) {
  uint64_t slot = 0;
  ArrayDescriptor d;
  scalar_result_descriptor(d, &slot, bits,
                           f90_type_word(op == Op::Count ? TYPE_INTEGER : TYPE_LOGICAL, bits, 0, 0));
  d.alloc_base = &slot;
  run<op>(&d, mask, dim);
  return slot;
}

}  // namespace f90::logical

// Rows of the entry tables of ALL, ANY and COUNT (all.cpp, any.cpp,
// count.cpp); each row names its exported symbol and its thunk. The worker
// and the array forms take (result, MASK, DIM); the scalar forms (MASK, DIM)
// return the value, computed in `bits` bits: the default form the low word
// of a 64-bit result, _4 a 32-bit one, _8 64 bits.
#define F90_LOGICAL_ARRAY_ENTRY(sym, name, OP)                                                  \
  F90_API void name(ArrayDescriptor* r, ArrayDescriptor* m, const int32_t* d) F90_SYMBOL(sym); \
  void name(ArrayDescriptor* r, ArrayDescriptor* m, const int32_t* d) {                        \
    f90::logical::run<OP>(r, m, d);                                                             \
  }
#define F90_LOGICAL_SCALAR_ENTRY(sym, name, OP, R, bits)                                        \
  F90_API R name(ArrayDescriptor* m, const int32_t* d) F90_SYMBOL(sym);                        \
  R name(ArrayDescriptor* m, const int32_t* d) {                                                \
    return static_cast<R>(f90::logical::scalar_entry<OP, bits>(m, d));                          \
  }
