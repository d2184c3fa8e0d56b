// SPREAD(SOURCE, DIM, NCOPIES) against a naive model.
// needs: _SPREAD
//
// Model: the result has SOURCE's dimensions with a new one of extent
// max(NCOPIES, 0) inserted at DIM; result(..., j, ...) = SOURCE(...) for
// every j. A DIM outside 1..rank+1, or a SOURCE of rank 7, is reported
// (1405) and nothing else happens. A result that would exceed 0x7FFFFFFF
// bytes is reported (1205) and nothing is stored.
#include <climits>

#include "entries.h"
#include "harness.h"

using namespace fz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FDP in(data, size);
  Arena& arena = Arena::instance();
  arena.begin();

  const Elem e = pick_elem(in, kAllTypes);
  const Shape ss = pick_shape(in, 0, 7, kMaxElements / 4);
  const int r = ss.rank;
  FArray source = place_array(in, e, ss, kArgLayout);
  Rng rng(in.ConsumeIntegral<uint64_t>());
  fill_random(source, rng);

  int32_t dim;
  switch (in.ConsumeIntegralInRange<int>(0, 5)) {
    case 0: dim = in.ConsumeIntegral<int32_t>(); break;
    case 1: dim = in.ConsumeBool() ? 0 : r + 2; break;
    default: dim = in.ConsumeIntegralInRange<int32_t>(1, r + 1); break;
  }
  const bool bad_dim = dim < 1 || dim > r + 1 || r == 7;

  // NCOPIES: small, non-positive, or (for a result the routine allocates, or
  // an empty SOURCE) near 2^31.
  int32_t ncopies;
  const int choice = in.ConsumeIntegralInRange<int>(0, 9);
  if (choice == 0) {
    ncopies = in.ConsumeIntegralInRange<int32_t>(INT32_MIN, 0);
  } else if (choice == 1 && (source.count == 0 || source.count * e.bytes() >= 2)) {
    // Only where nothing is moved: an empty SOURCE, or more than 2^31 bytes.
    ncopies = INT32_MAX - in.ConsumeIntegralInRange<int32_t>(0, 3);
  } else {
    ncopies = in.ConsumeIntegralInRange<int32_t>(0, 4);
  }
  const int64_t nc = ncopies > 0 ? ncopies : 0;
  const int d = bad_dim ? 0 : dim - 1;

  // The result's shape.
  Shape rs;
  rs.rank = bad_dim ? std::min(r + 1, 7) : r + 1;
  int64_t rext[F90_MAX_RANK] = {};
  for (int i = 0, k = 0; i < rs.rank; ++i) {
    rext[i] = (!bad_dim && i == d) ? nc : ss.extent[k++];
    rs.extent[i] = static_cast<int32_t>(rext[i]);
    rs.lower[i] = in.ConsumeIntegralInRange<int32_t>(-2, 2);
  }
  int64_t count = 1, span = 1;
  for (int i = 0; i < rs.rank; ++i) {
    count *= rext[i];
    span *= std::max<int64_t>(rext[i], 1);
  }
  const bool huge = span > kMaxElements * 4;
  Result res = (huge || bad_dim || !in.ConsumeBool()) ? unassociated(in, e, rs.rank)
                                                      : supplied_result(in, e, rs);
  const bool fail_alloc = !res.supplied && arm_allocation_failure(in);
  open(source);
  const int32_t* dim_arg = int_arg(dim);
  const int32_t* nc_arg = int_arg(ncopies);
  trace_descriptor("SOURCE", source.desc);
  trace("DIM %d NCOPIES %d\n", dim, ncopies);
  snapshot(res);

  e_spread(res.desc, source.desc, dim_arg, nc_arg);

  if (bad_dim) {
    verify_untouched("SPREAD", {ERR_DIM_RANGE});
    arena.end();
    return 0;
  }
  const int64_t bytes = count * e.bytes();
  if (bytes > INT32_MAX || (fail_alloc && bytes > 0 && nc > 0)) {
    verify_allocation_failure("SPREAD", res, {ERR_ALLOC_FAILED});
    arena.end();
    return 0;
  }

  ElemsExpect elems(e.bytes(), rs.rank, rext);
  int64_t idx[F90_MAX_RANK], sidx[F90_MAX_RANK];
  for (int64_t k = 0; k < count; ++k) {
    unlinear(k, rs.rank, rext, idx);
    for (int i = 0, m = 0; i < rs.rank; ++i) {
      if (i != d) sidx[m++] = idx[i];
    }
    elems.set(k, source.at(sidx));
  }
  const int64_t alloc = nc > 0 ? bytes : 0;
  verify("SPREAD", res, result_words(res, rs.rank, rext, e.units, alloc), alloc, false, elems, {});
  arena.end();
  return 0;
}
