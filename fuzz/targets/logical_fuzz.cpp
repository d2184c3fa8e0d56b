// ALL, ANY and COUNT, every entry point, against a naive model.
// needs: _ALL _ALL_4 _ALL_8 _ALL0 _ALL0_4 _ALL0_8 _ANY _ANY_4 _ANY_8 _ANY0 _ANY0_4 _ANY0_8
// needs: _COUNT _COUNT_4 _COUNT_8 _COUNT0 _COUNT0_4 _COUNT0_8
//
// Model: each result element (the whole MASK, or one line along DIM) is
// ALL: 1 unless the line holds a false element; ANY: 1 when it holds a true
// one; COUNT: the number of true elements, stored in the result's width (the
// low bits for 8 and 16 bits, sign-extended for 64). An element is true when
// any of its bytes is non-zero. An empty MASK gives the identity everywhere.
// A DIM outside 1..rank is reported (1405); with a MASK of rank 2 or more
// nothing is written then, with rank 1 the routine may go on with DIM 1.
// A result the routine completes gets storage only when it has bytes (and
// assoc only then).
#include <cstring>

#include "entries.h"
#include "harness.h"
#include "recording_runtime.h"

using namespace fz;

namespace {

enum Op { kAll, kAny, kCount };

int64_t identity(Op op) { return op == kAll ? 1 : 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FDP in(data, size);
  Arena& arena = Arena::instance();
  arena.begin();

  const Op op = static_cast<Op>(in.ConsumeIntegralInRange<int>(0, 2));
  const int variant = in.ConsumeIntegralInRange<int>(0, 2);  // default, _4, _8
  const bool scalar_form = in.ConsumeBool();
  static const uint32_t kWidths[] = {1, 2, 4, 8};
  const Elem me = Elem::numeric(TYPE_LOGICAL, kWidths[in.ConsumeIntegralInRange<int>(0, 3)]);
  const Shape ms = pick_shape(in, 1, 7);
  const int rank = ms.rank;
  FArray mask = place_array(in, me, ms, kArgLayout);
  Rng rng(in.ConsumeIntegral<uint64_t>());
  static const uint32_t kChance[] = {0, 3, 40, 128, 250, 256};
  fill_logical(mask, rng, kChance[in.ConsumeIntegralInRange<int>(0, 5)]);

  const bool has_dim = in.ConsumeBool();
  const int32_t dim = in.ConsumeIntegralInRange<int>(0, 7) == 0 ? in.ConsumeIntegral<int32_t>()
                                                               : in.ConsumeIntegralInRange<int32_t>(1, rank);
  const bool dim_bad = has_dim && (dim < 1 || dim > rank);
  const bool along = !scalar_form && has_dim && !dim_bad && rank >= 2;
  const int d = along ? dim - 1 : 0;

  // The result: LOGICAL (ALL, ANY) or INTEGER (COUNT) of 1, 2, 4 or 8 bytes.
  const uint32_t rbytes = kWidths[in.ConsumeIntegralInRange<int>(0, 3)];
  const Elem re = Elem::numeric(op == kCount ? TYPE_INTEGER : TYPE_LOGICAL, rbytes);
  Shape rs;
  rs.rank = along ? rank - 1 : 0;
  int64_t rext[F90_MAX_RANK] = {};
  for (int i = 0, j = 0; i < rank && along; ++i) {
    if (i == d) continue;
    rext[j] = ms.extent[i];
    rs.extent[j] = ms.extent[i];
    rs.lower[j++] = in.ConsumeIntegralInRange<int32_t>(-2, 2);
  }
  Result r;
  if (!scalar_form) {
    // A result the caller supplies is contiguous.
    r = in.ConsumeBool() ? supplied_result(in, re, rs, kContiguous) : unassociated(in, re, rs.rank);
  }
  const bool fail_alloc = !scalar_form && !r.supplied && arm_allocation_failure(in);
  const int32_t* dim_arg = has_dim ? int_arg(dim) : nullptr;
  open(mask);
  trace_descriptor("MASK", mask.desc);
  trace("op %d variant %d %s, DIM %s %d\n", op, variant, scalar_form ? "scalar" : "array",
        has_dim ? "present" : "absent", dim);

  // The model: one value per line.
  int64_t line_count = 1;
  for (int i = 0; i < rs.rank; ++i) line_count *= rext[i];
  std::vector<int64_t> value(static_cast<size_t>(line_count), identity(op));
  {
    int64_t ext[F90_MAX_RANK], idx[F90_MAX_RANK];
    for (int i = 0; i < rank; ++i) ext[i] = ms.extent[i];
    for (int64_t p = 0; p < mask.count; ++p) {
      unlinear(p, rank, ext, idx);
      int64_t l = 0, mul = 1;
      for (int i = 0; i < rank && along; ++i) {
        if (i == d) continue;
        l += idx[i] * mul;
        mul *= ext[i];
      }
      const bool t = read_logical(mask.at(idx), me.bytes() * 8);
      if (op == kAll && !t) value[l] = 0;
      if (op == kAny && t) value[l] = 1;
      if (op == kCount && t) ++value[l];
    }
  }

  if (scalar_form) {
    arena.snapshot();
    int64_t got = 0;
    const AD* m = mask.desc;
#define FZ_CALL0(name)                                                        \
  (variant == 0 ? int64_t{e_##name##0(m, dim_arg)}                            \
   : variant == 1 ? int64_t{e_##name##0_4(m, dim_arg)} : e_##name##0_8(m, dim_arg))
    got = op == kAll ? FZ_CALL0(all) : op == kAny ? FZ_CALL0(any) : FZ_CALL0(count);
#undef FZ_CALL0
    arena.check_unchanged();
    FZ_CHECK(f90test::Runtime::allocation_calls() == 0, "scalar logical reduction allocated");
    if (dim_bad && rank >= 2) {
      check_reports("logical scalar", {ERR_DIM_RANGE});
    } else {
      check_reports("logical scalar", dim_bad ? Reports({ERR_DIM_RANGE}) : Reports());
      FZ_CHECK(got == value[0], "op %d scalar: returned %lld, expected %lld", op, static_cast<long long>(got),
               static_cast<long long>(value[0]));
    }
    arena.end();
    return 0;
  }

  snapshot(r);
  const AD* m = mask.desc;
  switch (op * 3 + variant) {
    case 0: e_all(r.desc, m, dim_arg); break;
    case 1: e_all_4(r.desc, m, dim_arg); break;
    case 2: e_all_8(r.desc, m, dim_arg); break;
    case 3: e_any(r.desc, m, dim_arg); break;
    case 4: e_any_4(r.desc, m, dim_arg); break;
    case 5: e_any_8(r.desc, m, dim_arg); break;
    case 6: e_count(r.desc, m, dim_arg); break;
    case 7: e_count_4(r.desc, m, dim_arg); break;
    default: e_count_8(r.desc, m, dim_arg); break;
  }
  const char* what = op == kAll ? "ALL" : op == kAny ? "ANY" : "COUNT";
  if (dim_bad) {
    // Rank 2 or more: nothing is written. Rank 1: the routine may leave as
    // well, or go on with DIM 1.
    bool left = f90test::Runtime::allocation_calls() == 0 &&
                descriptor_bytes(r.desc, r.rank) == r.desc_before;
    if (left && r.supplied) {
      std::vector<uint8_t> now(static_cast<size_t>(r.arr.count) * rbytes);
      read_raw(now.data(), r.arr.block, now.size());
      left = std::equal(now.begin(), now.end(), arena.recorded(r.arr.block).begin());
    }
    if (rank >= 2 || left) {
      verify_untouched(what, {ERR_DIM_RANGE});
      arena.end();
      return 0;
    }
  }
  const int64_t bytes = line_count * rbytes;
  if (fail_alloc && bytes > 0) {
    verify_allocation_failure(what, r, dim_bad ? Reports({ERR_DIM_RANGE, ERR_ALLOC_FAILED}) : Reports({ERR_ALLOC_FAILED}));
    arena.end();
    return 0;
  }
  ElemsExpect elems(rbytes, rs.rank, rext);
  for (int64_t l = 0; l < line_count; ++l) {
    uint8_t b[8];
    store_int(reinterpret_cast<char*>(b), 8, value[l]);  // low bytes: the truncated count
    elems.set(l, b);
  }
  DescExpect dx;
  if (r.supplied) {
    dx = DescExpect::unchanged(r.desc_before, rs.rank);
  } else {
    dx = completed(r, rs.rank, rext, re.units, bytes);
    if (bytes == 0) {
      uint32_t flags;
      std::memcpy(&flags, &r.desc_before[8], 4);
      dx.exact(2, flags);  // nothing allocated: assoc stays clear
    }
  }
  verify(what, r, dx, bytes, false, elems, dim_bad ? Reports({ERR_DIM_RANGE}) : Reports());
  arena.end();
  return 0;
}
