#include "harness.h"

#include <cstring>

#include "check.h"
#include "recording_runtime.h"

namespace fz {

Result supplied_result(FDP& in, const Elem& e, const Shape& s, LayoutOpts opts) {
  Result r;
  r.supplied = true;
  r.elem = e;
  r.rank = s.rank;
  r.arr = place_array(in, e, s, opts);
  r.desc = r.arr.desc;
  open(r.arr);
  return r;
}

Result unassociated(FDP& in, const Elem& e, int rank) {
  Result r;
  r.elem = e;
  r.rank = rank;
  r.desc = unassociated_result(in, e, rank);
  return r;
}

Result any_result(FDP& in, const Elem& e, const Shape& s) {
  return in.ConsumeBool() ? supplied_result(in, e, s) : unassociated(in, e, s.rank);
}

void snapshot(Result& r) {
  Arena& a = Arena::instance();
  trace_descriptor(r.supplied ? "result (supplied)" : "result (unassociated)", r.desc);
  a.snapshot();
  r.desc_before = descriptor_bytes(r.desc, r.rank);
}

DescExpect completed(const Result& r, int rank, const int64_t* extent, uint32_t first_stride,
                     int64_t bytes) {
  DescExpect d = DescExpect::unchanged(r.desc_before, rank);
  d.rank = rank;
  if (bytes > 0) {
    d.storage(0);
    d.storage(4);
  } else {
    d.exact(0, 0);
    d.exact(4, 0);
  }
  if (r.elem.code() == TYPE_CHARACTER) d.exact(1, r.elem.elem_len);
  uint32_t flags;
  std::memcpy(&flags, &r.desc_before[8], 4);
  d.exact(2, flags | F90_FLAG_ASSOC);
  d.exact(5, static_cast<uint32_t>(bytes) * 8u);
  uint64_t stride = first_stride;
  for (int i = 0; i < rank; ++i) {
    d.dim(i, 1, static_cast<int32_t>(extent[i]), static_cast<int32_t>(stride));
    stride *= static_cast<uint64_t>(extent[i] > 0 ? extent[i] : 0);
  }
  return d;
}

DescExpect result_words(const Result& r, int rank, const int64_t* extent, uint32_t first_stride,
                        int64_t bytes) {
  return r.supplied ? DescExpect::unchanged(r.desc_before, rank)
                    : completed(r, rank, extent, first_stride, bytes);
}

void verify(const char* what, Result& r, const DescExpect& d, int64_t alloc_bytes,
            bool zero_optional, const ElemsExpect& elems, const Reports& reports) {
  Arena& a = Arena::instance();
  trace_descriptor("result after", r.desc);
  a.mark_output(r.desc);
  if (r.supplied) a.mark_output(r.arr.block);
  a.check_unchanged();
  check_reports(what, reports);
  if (r.supplied) {
    FZ_CHECK(f90test::Runtime::allocation_calls() == 0, "%s: allocated for a supplied result",
             what);
    check_descriptor(what, r.desc, d, nullptr);
    check_elements(what, r.arr.base, r.arr.stride, r.elem.unit, elems, r.arr.block,
                   a.recorded(r.arr.block));
    return;
  }
  void* storage = check_allocation(what, alloc_bytes, zero_optional);
  check_descriptor(what, r.desc, d, storage);
  if (storage == nullptr || alloc_bytes <= 0) return;
  int32_t stride[F90_MAX_RANK] = {};
  for (int i = 0; i < elems.rank(); ++i) stride[i] = static_cast<int32_t>(d.w[8 + 3 * i].value);
  const std::vector<uint8_t> before(static_cast<size_t>(alloc_bytes), 0xCC);
  check_elements(what, static_cast<const char*>(storage), stride, r.elem.unit, elems,
                 static_cast<const char*>(storage), before);
}

void verify_untouched(const char* what, const Reports& reports) {
  Arena::instance().check_unchanged();
  check_reports(what, reports);
  FZ_CHECK(f90test::Runtime::allocation_calls() == 0, "%s: allocated, none expected", what);
}

bool arm_allocation_failure(FDP& in) {
  if (in.ConsumeIntegralInRange<int>(0, 7) != 0) return false;
  f90test::Runtime::fail_allocation(1);
  return true;
}

void verify_allocation_failure(const char* what, Result& r, const Reports& reports) {
  Arena& a = Arena::instance();
  a.mark_output(r.desc);
  a.check_unchanged();
  check_reports(what, reports);
  FZ_CHECK(f90test::Runtime::allocations().empty(), "%s: storage obtained after a failure", what);
  const std::vector<uint8_t> now = descriptor_bytes(r.desc, r.rank);
  uint32_t base, flags;
  std::memcpy(&base, &now[0], 4);
  std::memcpy(&flags, &now[8], 4);
  FZ_CHECK(!(flags & F90_FLAG_ASSOC) || base == 0,
           "%s: associated result with base 0x%08x after a failed allocation", what, base);
}

int64_t element_count(int rank, const int64_t* extent) {
  int64_t count = 1;
  for (int j = 0; j < rank; ++j) count *= extent[j] > 0 ? extent[j] : 0;
  return count;
}

bool ended_on_dim(const char* what, bool refused) {
  if (!refused) return false;
  verify_untouched(what, {ERR_DIM_RANGE});
  Arena::instance().end();
  return true;
}

bool ended_on_allocation(const char* what, Result& r, bool failing, int64_t bytes) {
  if (!failing || bytes <= 0) return false;
  verify_allocation_failure(what, r, {ERR_ALLOC_FAILED});
  Arena::instance().end();
  return true;
}

}  // namespace fz
