// RESHAPE(SOURCE, SHAPE [, PAD] [, ORDER]) against a naive model.
// needs: _RESHAPE
//
// Model: the result has the n SHAPE values as extents (n = 0 is reported,
// 1419, and gives a rank-0 result of one element; n > 7 is reported and
// nothing else happens). Its N elements, visited in array element order of
// the dimensions ORDER(1), ORDER(2)... (first fastest), take SOURCE's
// elements in array element order, then PAD's, PAD repeating. Reports:
// 1409 for each negative SHAPE value (which then counts as 0), 1408 when
// SOURCE is empty without a usable PAD and again when N exceeds SOURCE's size
// without one (the PAD phase is then skipped), 1417 for each ORDER value out
// of range and for each result dimension no ORDER value names (nothing is
// moved then). An empty result, or an empty ORDER, moves nothing; a result
// the routine completes gets storage and assoc only when it has bytes and
// ORDER is not empty. Results above 0x7FFFFFFF bytes: 1205, nothing stored.
#include <algorithm>
#include <climits>

#include "entries.h"
#include "harness.h"

using namespace fz;

namespace {

// The integer widths of SHAPE and ORDER elements.
const uint32_t kIntWidths[] = {1, 2, 4, 8};

// Places a rank-1 INTEGER array holding `values`; 8-byte elements may carry
// any high word (only the low word counts).
FArray int_vector(FDP& in, uint32_t width, const std::vector<int64_t>& values) {
  const Elem e = Elem::numeric(TYPE_INTEGER, width);
  FArray a = place_array(in, e, vector_shape(static_cast<int32_t>(values.size()),
                                             in.ConsumeIntegralInRange<int32_t>(-1, 1)),
                         kResultLayout);  // distinct elements: no zero stride
  const bool junk_high = width == 8 && in.ConsumeBool();
  for (size_t i = 0; i < values.size(); ++i) {
    char* p = a.at_linear(static_cast<int64_t>(i));
    Arena::unpoison(p, width);
    int64_t v = values[i];
    if (junk_high) v = static_cast<int64_t>((static_cast<uint64_t>(in.ConsumeIntegral<uint32_t>()) << 32) |
                                            static_cast<uint32_t>(v));
    store_int(p, width, v);
  }
  return a;
}

// The value of element i as the routine reads it: the low 32 bits, taken
// as signed; narrower elements sign-extended.
int32_t int_value(const FArray& a, int64_t i) {
  return static_cast<int32_t>(read_int(a.at_linear(i), a.elem.bytes()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FDP in(data, size);
  Arena& arena = Arena::instance();
  arena.begin();

  const Elem e = pick_elem(in, kAllTypes);
  const Shape ss = pick_shape(in, 0, 7, 256);
  FArray source = place_array(in, e, ss, kArgLayout);
  Rng rng(in.ConsumeIntegral<uint64_t>());
  fill_random(source, rng);
  const int64_t S = source.count;

  // SHAPE: n values of some width.
  int n;
  switch (in.ConsumeIntegralInRange<int>(0, 15)) {
    case 0: n = 0; break;
    case 1: n = in.ConsumeIntegralInRange<int>(8, 9); break;
    default: n = in.ConsumeIntegralInRange<int>(1, 7); break;
  }
  const uint32_t sw = kIntWidths[in.ConsumeIntegralInRange<int>(0, 3)];
  std::vector<int64_t> shape_vals(static_cast<size_t>(n));
  bool negative = false;
  for (int i = 0; i < n; ++i) {
    const int c = in.ConsumeIntegralInRange<int>(0, 19);
    int64_t v = c == 0 ? 0 : c == 1 ? -in.ConsumeIntegralInRange<int64_t>(1, 100) : 1 + c % 4;
    if (v < 0) negative = true;
    shape_vals[i] = v;
  }
  // Keep N small: halve the largest value until the product fits.
  auto product = [&] {
    int64_t p = 1;
    for (int i = 0; i < std::min(n, 7); ++i) p *= std::max<int64_t>(shape_vals[i], 1);
    return p;
  };
  while (product() > kMaxElements) *std::max_element(shape_vals.begin(), shape_vals.end()) /= 2;
  // Now and then a value near 2^31 that makes the result too large to hold.
  bool hostile = false;
  if (n >= 1 && n <= 7 && e.bytes() >= 2 && !negative && in.ConsumeIntegralInRange<int>(0, 15) == 0) {
    bool zero = false;
    for (int64_t v : shape_vals) zero |= v == 0;
    if (!zero && sw >= 4) {
      shape_vals[in.ConsumeIntegralInRange<int>(0, n - 1)] = INT32_MAX - in.ConsumeIntegralInRange<int>(0, 2);
      hostile = true;
    }
  }
  FArray shape = int_vector(in, sw, shape_vals);

  // PAD.
  const bool has_pad = in.ConsumeBool();
  FArray pad;
  if (has_pad) {
    pad = place_array(in, e, pick_shape(in, 0, 3, 16), kArgLayout);
    fill_random(pad, rng);
  }
  // ORDER: a permutation, or not.
  const bool has_order = in.ConsumeBool();
  FArray order;
  const int r = std::min(n, 7);
  if (has_order) {
    std::vector<int64_t> perm(static_cast<size_t>(r));
    for (int i = 0; i < r; ++i) perm[i] = i + 1;
    for (int i = r - 1; i > 0; --i) std::swap(perm[i], perm[in.ConsumeIntegralInRange<int>(0, i)]);
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
      case 0: if (r > 0) perm[in.ConsumeIntegralInRange<int>(0, r - 1)] = in.ConsumeIntegralInRange<int64_t>(-2, 9); break;
      case 1: perm.resize(static_cast<size_t>(in.ConsumeIntegralInRange<int>(0, r))); break;
      case 2: perm.push_back(in.ConsumeIntegralInRange<int64_t>(1, 7)); break;
      default: break;
    }
    order = int_vector(in, kIntWidths[in.ConsumeIntegralInRange<int>(0, 3)], perm);
  }

  // The result: the caller's rank is n; only a well-formed call can have
  // storage supplied.
  Shape rs;
  rs.rank = r;
  int64_t rext[F90_MAX_RANK] = {};
  for (int i = 0; i < r; ++i) {
    rext[i] = std::max<int64_t>(shape_vals[i], 0);
    rs.extent[i] = static_cast<int32_t>(rext[i]);
    rs.lower[i] = in.ConsumeIntegralInRange<int32_t>(-2, 2);
  }
  const bool can_supply = n >= 1 && n <= 7 && !negative && !hostile;
  Result res = can_supply && in.ConsumeBool() ? supplied_result(in, e, rs) : unassociated(in, e, r);
  const bool fail_alloc = !res.supplied && arm_allocation_failure(in);
  open(source);
  if (has_pad) open(pad);
  trace_descriptor("SOURCE", source.desc);
  trace_descriptor("SHAPE", shape.desc);
  trace_descriptor("PAD", has_pad ? pad.desc : nullptr);
  trace_descriptor("ORDER", has_order ? order.desc : nullptr);
  snapshot(res);

  e_reshape(res.desc, source.desc, shape.desc, has_pad ? pad.desc : nullptr,
            has_order ? order.desc : nullptr);

  // ---- The model.
  if (n > 7) {
    verify_untouched("RESHAPE", {ERR_RESHAPE_EMPTY_SHAPE});
    arena.end();
    return 0;
  }
  std::vector<int32_t> reports;
  if (n == 0) reports.push_back(ERR_RESHAPE_EMPTY_SHAPE);
  int64_t N = 1;
  bool result_empty = false;
  for (int i = 0; i < n; ++i) {
    int64_t v = int_value(shape, i);
    if (v < 0) {
      reports.push_back(ERR_RESHAPE_NEGATIVE_SHAPE);
      v = 0;
    }
    rext[i] = v;
    if (v == 0) result_empty = true;
    N = N > (int64_t{1} << 40) ? N : N * v;
  }
  const bool source_empty = S == 0;
  const bool pad_empty = has_pad && pad.rank() >= 1 && pad.count == 0;
  const bool pad_usable = has_pad && !pad_empty;
  const bool order_empty = has_order && order.count == 0;
  const int64_t bytes = N * e.bytes();

  if (!res.supplied) {
    if (bytes > INT32_MAX && !order_empty) {
      reports.push_back(ERR_ALLOC_FAILED);
      verify_allocation_failure("RESHAPE", res, reports);
      arena.end();
      return 0;
    }
    if (fail_alloc && bytes >= 1 && !order_empty) {
      // The routine may stop at the failure or go on reporting.
      std::vector<int32_t> stop = reports;
      stop.push_back(ERR_ALLOC_FAILED);
      Reports options(stop);
      if (!result_empty && !order_empty) {
        std::vector<int32_t> go_on = stop;
        if (source_empty && !pad_usable) go_on.push_back(ERR_RESHAPE_SOURCE_SHORT);
        options.also(go_on);
        if (!pad_usable && N > S) {
          std::vector<int32_t> more = go_on;
          more.push_back(ERR_RESHAPE_SOURCE_SHORT);
          options.also(more);
        }
      }
      verify_allocation_failure("RESHAPE", res, options);
      arena.end();
      return 0;
    }
  }

  // The result descriptor.
  const bool allocates = !res.supplied && bytes >= 1 && !order_empty;
  DescExpect d;
  if (res.supplied) {
    d = DescExpect::unchanged(res.desc_before, r);
  } else {
    d = completed(res, r, rext, e.units, allocates ? bytes : 0);
    uint32_t flags;
    std::memcpy(&flags, &res.desc_before[8], 4);
    flags = (flags & ~(7u << F90_FLAG_RANK_SHIFT)) | (static_cast<uint32_t>(n) << F90_FLAG_RANK_SHIFT);
    d.exact(2, allocates ? flags | F90_FLAG_ASSOC : flags);
    // With nothing allocated the size word has no consumer.
    if (allocates) d.exact(5, static_cast<uint32_t>(bytes) * 8u); else d.any(5);
    if (e.code() == TYPE_CHARACTER) d.exact(1, e.units);
  }
  ElemsExpect elems(e.bytes(), r, rext);

  if (!result_empty && !order_empty) {
    if (source_empty && !pad_usable) reports.push_back(ERR_RESHAPE_SOURCE_SHORT);
    // ORDER: walker dimension k is result dimension perm[k].
    int perm[F90_MAX_RANK];
    bool bad_order = false;
    for (int k = 0; k < r; ++k) perm[k] = k;
    if (has_order) {
      int named[F90_MAX_RANK];
      std::fill(named, named + r, -1);
      for (int k = 0; k < r && k < order.count; ++k) {
        const int64_t dd = int64_t{int_value(order, k)} - 1;
        if (dd < 0 || dd >= r) {
          reports.push_back(ERR_RESHAPE_ORDER);
          bad_order = true;
        } else {
          named[dd] = 1;
          perm[k] = static_cast<int>(dd);
        }
      }
      for (int j = 0; j < r; ++j) {
        if (named[j] != 1) {
          reports.push_back(ERR_RESHAPE_ORDER);
          bad_order = true;
        }
      }
    }
    const bool short_report = !pad_usable && N > S;
    if (!bad_order) {
      if (short_report) reports.push_back(ERR_RESHAPE_SOURCE_SHORT);
      const int64_t C = std::min(S, N);
      const int64_t fill = pad_usable ? N : C;
      int64_t wext[F90_MAX_RANK], widx[F90_MAX_RANK], idx[F90_MAX_RANK];
      for (int k = 0; k < r; ++k) wext[k] = rext[perm[k]];
      for (int64_t p = 0; p < fill; ++p) {
        unlinear(p, r, wext, widx);
        for (int k = 0; k < r; ++k) idx[perm[k]] = widx[k];
        int64_t lin = 0, mul = 1;
        for (int i = 0; i < r; ++i) {
          lin += idx[i] * mul;
          mul *= rext[i];
        }
        elems.set(lin, p < C ? source.at_linear(p) : pad.at_linear((p - C) % pad.count));
      }
    } else if (short_report) {
      // Whether the routine still reports the short SOURCE after a bad ORDER
      // is its choice: nothing is moved either way.
      std::vector<int32_t> with = reports;
      with.push_back(ERR_RESHAPE_SOURCE_SHORT);
      Reports options(reports);
      options.also(with);
      verify("RESHAPE", res, d, allocates ? bytes : -1, false, elems, options);
      arena.end();
      return 0;
    }
  }
  verify("RESHAPE", res, d, allocates ? bytes : -1, false, elems, reports);
  arena.end();
  return 0;
}
