// RESHAPE(SOURCE, SHAPE [, PAD] [, ORDER]): an array of the shape SHAPE
// holds, filled with SOURCE's elements in array element order and, when
// SOURCE runs out, with PAD's elements in array element order, PAD starting
// again at its first element after its last. With ORDER the result is filled
// in permuted subscript order: result dimension ORDER(1) varies fastest.
//
// SHAPE and ORDER are rank-1 INTEGER arrays of any width (8- and 16-bit
// values sign-extended, the low word of a 64-bit value). At most seven SHAPE
// values; sizes are counted in 64 bits, so a result above 0x7FFFFFFF bytes
// is reported (1205) rather than allocated short.
//
// Reports, in this order and multiplicity: 1419 for an empty SHAPE (the
// result is then a rank-0 array of one element) or one of more than seven
// values (nothing more is done); 1409 for each negative SHAPE value (it
// counts as 0); 1408 when SOURCE is empty and no usable PAD is given, and
// again when the result has more elements than SOURCE and no usable PAD is
// given; 1417 for each ORDER value outside 1 .. rank and for each result
// dimension no ORDER value names (ORDER is read only as far as its extent).
// After a 1417 nothing is moved; without a usable PAD the result elements
// after SOURCE's are left unwritten.
//
// A completed result gets the rank of SHAPE; an empty one gets no storage
// and its `assoc` bit stays clear. A caller's result keeps every descriptor
// word, and no more elements are stored than its extents hold.
//
// The elements are paired as runs: SOURCE, PAD and the result are each
// walked as runs along their first walker dimension (contiguous dimensions
// merged), and each step moves the longest piece common to the current runs,
// as one block where both sides are contiguous.
#include <algorithm>
#include <cstdlib>

#include "array/construct.h"
#include "array/copy_kind.h"
#include "array/result.h"
#include "array/transpose.h"
#include "common/inputs.h"
#include "common/walk.h"

namespace f90 {
namespace {

// Element i of a rank-1 INTEGER array (SHAPE, ORDER) as a 32-bit value.
class IntegerVector {
 public:
  explicit IntegerVector(Desc d) : base_(d.base()), bits_(d.int_len()) {
    int32_t divisor = (bits_ == 64 || bits_ == 16) ? 2 : bits_ == 8 ? 1 : int32_t(bits_ / 32);
    if (divisor == 0) divisor = 1;
    step_ = d.stride(0) / divisor;
  }

  int32_t operator[](int64_t i) const {
    switch (bits_) {
      case 8: return static_cast<int8_t>(base_[i * step_]);
      case 16: return load<int16_t>(base_ + 2 * i * step_);
      case 64: return load<int32_t>(base_ + 8 * i * step_);  // the low word
      default: return load<int32_t>(base_ + 4 * i * step_);
    }
  }

 private:
  template <class T>
  static T load(const char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  const char* base_;
  uint32_t bits_;
  int32_t step_;
};

// The walker dimensions of an array: extents and byte strides.
struct Walker {
  int rank = 0;
  int64_t extent[F90_MAX_RANK] = {};
  int64_t stride[F90_MAX_RANK] = {};

  Walker() = default;
  Walker(Desc d, const ElemClass& c) : rank(d.rank()) {
    for (int k = 0; k < rank; ++k) {
      extent[k] = d.extent(k);
      stride[k] = c.byte_stride(d.stride(k));
    }
  }
  RunCursor cursor(char* base, bool cyclic) const {
    return RunCursor(rank, extent, stride, base, cyclic);
  }
};

// Moves `count` elements from src to dst, both walked as runs.
template <uint32_t K>
void move_elements(RunCursor& dst, RunCursor& src, int64_t count, uint32_t bytes) {
  while (count > 0) {
    int64_t m = std::min(count, dst.left());
    if (m <= 0 || src.left() <= 0) return;  // an array ended early: nothing past it
    if (src.single() && m > 1) {
      // A one-element PAD: its element fills the whole run.
      Mover<K>::fill(dst.at(), dst.step(), src.at(), m, bytes);
    } else {
      m = std::min(m, src.left());
      Mover<K>::line(dst.at(), dst.step(), src.at(), src.step(), m, bytes);
      src.advance(m);
    }
    dst.advance(m);
    count -= m;
  }
}

// Moves the elements of a SOURCE that is one run (first element `src`, byte
// step `src_step`) into the result walker's dimensions when the walker's
// first dimension is not the one that is closest together in the result (an
// ORDER that transposes): SOURCE is viewed in the walker's shape and each
// pair of lines over walker dimension 0 and the dimension of the smallest
// result stride moves as one transposing block (transpose_block: tiled, so
// that both sides stream). Returns false, moving nothing, when the walker's
// first dimension is already the closest. `bytes` is the size of one move.
bool move_transposed(const Walker& out, char* dst, const char* src, int64_t src_step, uint32_t bytes) {
  int64_t e[F90_MAX_RANK], ds[F90_MAX_RANK], ss[F90_MAX_RANK];
  int m = 0;
  int64_t span = src_step;
  for (int k = 0; k < out.rank; ++k) {
    if (out.extent[k] == 1) continue;
    e[m] = out.extent[k];
    ds[m] = out.stride[k];
    ss[m] = span;
    span *= out.extent[k];
    ++m;
  }
  if (m < 2) return false;
  int j = 1;
  for (int k = 2; k < m; ++k)
    if (std::llabs(ds[k]) < std::llabs(ds[j])) j = k;
  if (std::llabs(ds[j]) >= std::llabs(ds[0])) return false;

  // One block for each pair of lines along walker dimension 0 (dimension j,
  // walked by the block, given extent 1).
  int32_t outer[F90_MAX_RANK];
  WalkArray wd{dst, {}}, ws{const_cast<char*>(src), {}};
  for (int k = 0; k < m; ++k) {
    outer[k] = k == j ? 1 : static_cast<int32_t>(e[k]);
    wd.stride[k] = ds[k];
    ws.stride[k] = ss[k];
  }
  const int64_t n0 = e[0], nj = e[j], d0 = ds[0], dj = ds[j], s0 = ss[0], sj = ss[j];
  walk_lines(m, 0, outer, std::array<WalkArray*, 2>{&wd, &ws}, [&](const std::array<char*, 2>& o) {
    transpose_block(o[0], dj, d0, o[1], s0, sj, n0, nj, bytes);
  });
  return true;
}

int64_t saturating_product(const int64_t* v, int n) {
  int64_t p = 1;
  for (int i = 0; i < n; ++i) {
    if (v[i] <= 0) return 0;
    if (__builtin_mul_overflow(p, v[i], &p)) p = INT64_MAX;
  }
  return p;
}

}  // namespace

extern "C" void reshape(ArrayDescriptor* result_d, ArrayDescriptor* source_d,
                        ArrayDescriptor* shape_d, ArrayDescriptor* pad_d,
                        ArrayDescriptor* order_d) {
  if (!inputs_readable(source_d, shape_d, pad_d, order_d)) return;
  const Desc result(result_d), source(source_d), shape(shape_d), pad(pad_d), order(order_d);

  // SHAPE: at most seven values, negative ones reported and counted as 0.
  const int32_t shape_size = shape.extent(0);
  if (shape_size > F90_MAX_RANK) {
    report(ERR_RESHAPE_EMPTY_SHAPE);
    return;
  }
  const int n = shape_size > 0 ? shape_size : 0;
  if (n == 0) report(ERR_RESHAPE_EMPTY_SHAPE);
  int64_t shape_value[F90_MAX_RANK];
  bool result_empty = false;
  const IntegerVector shape_reader(shape);
  for (int i = 0; i < n; ++i) {
    int32_t v = shape_reader[i];
    if (v < 0) {
      report(ERR_RESHAPE_NEGATIVE_SHAPE);
      v = 0;
    }
    shape_value[i] = v;
    if (v == 0) result_empty = true;
  }

  bool source_empty = false;
  for (int i = 0; i < source.rank(); ++i)
    if (source.extent(i) <= 0) source_empty = true;
  bool pad_usable = pad_d != nullptr;
  if (pad_usable)
    for (int i = 0; i < pad.rank(); ++i)
      if (pad.extent(i) <= 0) pad_usable = false;
  const bool order_empty = order_d != nullptr && order.extent(0) <= 0;
  const int64_t S = source.element_count();
  const int64_t N = saturating_product(shape_value, n);

  const ElemClass c = classify(source);
  if (!result.assoc()) {
    result.set_rank(n);
    const ResultElement elem{c.units, c.elem_bytes(), source.elem_len(), source.is_character()};
    if (!complete_result(result, n, shape_value, elem,
                         ResultRules::construction(ResultAssoc::storage_requested, !order_empty)))
      return;  // 1205: nothing is stored
  }
  if (result_empty || order_empty) return;

  if (source_empty && !pad_usable) report(ERR_RESHAPE_SOURCE_SHORT);

  // The result walker: result dimension ORDER(k) is walker dimension k.
  const int r = result.rank();
  const Walker in_order(result, c);
  Walker out;
  out.rank = r;
  bool order_bad = false;
  if (order_d == nullptr) {
    out = in_order;
  } else {
    bool named[F90_MAX_RANK] = {};
    const IntegerVector order_reader(order);
    const int given = std::min<int64_t>(r, order.extent(0));
    for (int k = 0; k < given; ++k) {
      const int64_t d = int64_t{order_reader[k]} - 1;
      if (d < 0 || d >= r) {
        report(ERR_RESHAPE_ORDER);
        order_bad = true;
        continue;
      }
      named[d] = true;
      out.extent[k] = in_order.extent[d];
      out.stride[k] = in_order.stride[d];
    }
    for (int j = 0; j < r; ++j) {
      if (!named[j]) {
        report(ERR_RESHAPE_ORDER);
        order_bad = true;
      }
    }
  }

  if (!pad_usable && N > S) report(ERR_RESHAPE_SOURCE_SHORT);
  if (order_bad) return;

  // Never more elements than the result's own extents hold.
  const int64_t result_size = saturating_product(in_order.extent, r);
  const int64_t stored = std::min(N, result_size);
  const int64_t from_source = std::min(S, stored);
  const int64_t from_pad = pad_usable ? stored - from_source : 0;
  const Walker src(source, c);
  const Walker pad_walker = pad_usable ? Walker(pad, c) : Walker();

  with_moves(c, [&](auto k, uint32_t off) {
    constexpr uint32_t K = decltype(k)::value;
    RunCursor from = src.cursor(word_at(source.base(), off), false);
    if (stored == result_size && from_source == stored && from.left() >= stored &&
        move_transposed(out, word_at(result.base(), off), from.at(), from.step(),
                        K != 0 ? K : c.elem_bytes()))
      return;
    RunCursor dst = out.cursor(word_at(result.base(), off), false);
    move_elements<K>(dst, from, from_source, c.elem_bytes());
    if (from_pad > 0) {
      RunCursor cycle = pad_walker.cursor(word_at(pad.base(), off), true);
      move_elements<K>(dst, cycle, from_pad, c.elem_bytes());
    }
  });
}

}  // namespace f90
