// SIZE, SHAPE, LBOUND, UBOUND and ALLOCATED against a naive model.
// needs: _SIZE _SIZE_4 _SIZE_8 _SHAPE _LBOUND _UBOUND _LBOUND0 _LBOUND0_4 _LBOUND0_8
// needs: _UBOUND0 _UBOUND0_4 _UBOUND0_8 _ALLOCATED _ALLOCATED_4 _ALLOCATED_8
//
// The inquiries read descriptor words only, so the array's extents may be
// anything a compiler can write, products beyond 2^32 included; its base
// points at an inaccessible page. Model:
// - a pointer or allocatable without storage is reported (1410) and the words
//   are used as they stand; a DIM outside 1..rank is reported (1405) and the
//   scalar forms then return 0 without reading a dimension;
// - SIZE: the extent, or the product of all extents (32-bit wrapping for
//   _SIZE/_SIZE_4, 64-bit for _SIZE_8);
// - LBOUND: the lower bound, 1 for an empty dimension; UBOUND: lower + extent
//   - 1 (32-bit wrapping; exact in 64 bits for _UBOUND0_8), 0 for an empty
//   dimension;
// - SHAPE/LBOUND/UBOUND arrays: one value per dimension stored contiguously
//   from base in the width the result's type word gives (64, 32 or nothing;
//   a 32-bit upper bound wraps, a 64-bit one may be exact or the wrapped
//   value sign-extended);
// - ALLOCATED: 1 exactly for an allocatable with storage.
#include <climits>

#include "entries.h"
#include "harness.h"

using namespace fz;

namespace {

enum Entry {
  kSize, kSize4, kSize8, kShape, kLbound, kUbound, kLbound0, kLbound04, kLbound08,
  kUbound0, kUbound04, kUbound08, kAllocated, kAllocated4, kAllocated8, kEntries
};

int32_t lbound_of(int32_t l, int32_t e) { return e != 0 ? l : 1; }
int32_t ubound_of(int32_t l, int32_t e) {
  return e != 0 ? static_cast<int32_t>(static_cast<uint32_t>(l) + static_cast<uint32_t>(e) - 1u) : 0;
}
int64_t ubound_of_64(int32_t l, int32_t e) { return e != 0 ? int64_t{l} + e - 1 : 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FDP in(data, size);
  Arena& arena = Arena::instance();
  arena.begin();

  // The array: only its words matter.
  const int rank = in.ConsumeIntegralInRange<int>(0, 7);
  ArrayDescriptor* a = arena.descriptor(rank, 0);
  a->base = arena.block(0, 1, 0);
  a->elem_len = 32;
  a->type_word = f90_type_word(TYPE_REAL, 32, 0, 0);
  const uint32_t obj_kind = in.ConsumeIntegralInRange<uint32_t>(0, 3);
  const bool assoc = in.ConsumeIntegralInRange<int>(0, 3) != 0;
  a->flags = (in.ConsumeIntegral<uint32_t>() & 0x1ffffff2u) | (obj_kind << 2) | (assoc ? 1u : 0u) |
             (static_cast<uint32_t>(rank) << F90_FLAG_RANK_SHIFT);
  a->alloc_base = nullptr;
  a->alloc_size = 0;
  for (int i = 0; i < rank; ++i) {
    int32_t e;
    switch (in.ConsumeIntegralInRange<int>(0, 5)) {
      case 0: e = 0; break;
      case 1: e = in.ConsumeIntegralInRange<int32_t>(0, INT32_MAX); break;
      case 2: e = 65536; break;
      default: e = in.ConsumeIntegralInRange<int32_t>(1, 9); break;
    }
    int32_t l;
    switch (in.ConsumeIntegralInRange<int>(0, 4)) {
      case 0: l = in.ConsumeIntegral<int32_t>(); break;
      case 1: l = INT32_MAX - in.ConsumeIntegralInRange<int32_t>(0, 3); break;
      case 2: l = INT32_MIN + in.ConsumeIntegralInRange<int32_t>(0, 3); break;
      default: l = in.ConsumeIntegralInRange<int32_t>(-5, 5); break;
    }
    a->dim[i] = {l, e, in.ConsumeIntegral<int32_t>()};
  }
  const bool absent = (obj_kind & 3) != 0 && !assoc;

  const Entry entry = static_cast<Entry>(in.ConsumeIntegralInRange<int>(0, kEntries - 1));
  const bool has_dim = in.ConsumeBool();
  int32_t dim = in.ConsumeIntegralInRange<int>(0, 4) == 0 ? in.ConsumeIntegral<int32_t>()
                                                         : in.ConsumeIntegralInRange<int32_t>(0, rank + 1);
  const int32_t* dim_arg = int_arg(dim);
  const bool dim_ok = dim >= 1 && dim <= rank;

  // Array results: a type word for 64-bit, 32-bit or no values.
  uint32_t rtw;
  switch (in.ConsumeIntegralInRange<int>(0, 4)) {
    case 0: rtw = f90_type_word(TYPE_INTEGER, 64, 0, 0); break;
    case 1: rtw = f90_type_word(TYPE_INTEGER, 32, in.ConsumeIntegralInRange<uint32_t>(1, 7), 4); break;
    case 2: rtw = f90_type_word(TYPE_INTEGER, 64, in.ConsumeIntegralInRange<uint32_t>(1, 7), 8); break;
    case 3: {
      const uint32_t b = in.ConsumeBool() ? 2 : 1;
      rtw = f90_type_word(TYPE_INTEGER, 8 * b, in.ConsumeIntegralInRange<uint32_t>(1, 7), b);
      break;
    }
    default: rtw = f90_type_word(TYPE_INTEGER, 32, 0, 0); break;
  }
  const uint32_t kind_sel = (rtw >> 9) & 7, decl_len = rtw >> 24, rint_len = (rtw >> 12) & 0xfff;
  const uint32_t width = kind_sel ? (decl_len == 8 ? 8 : decl_len == 4 ? 4 : 0) : (rint_len == 64 ? 8 : 4);
  const uint32_t slot = width == 8 ? 8 : 4;  // bytes per value in the storage obtained
  Elem re = Elem::numeric(TYPE_INTEGER, slot);
  re.type_word = rtw;
  const bool array_form = entry == kShape || entry == kLbound || entry == kUbound;
  Result r;
  if (array_form) {
    if (in.ConsumeBool()) {
      r = unassociated(in, re, 1);
    } else {
      // A supplied result: values go contiguously from base, whatever its
      // stride says.
      r.supplied = true;
      r.elem = re;
      r.rank = 1;
      r.arr.elem = re;
      r.arr.shape = vector_shape(rank);
      r.arr.count = rank;
      r.arr.stride[0] = static_cast<int32_t>(re.units);
      r.arr.block = arena.block(static_cast<size_t>(rank) * slot, 4, in.ConsumeIntegral<uint8_t>());
      r.arr.base = r.arr.block;
      Arena::unpoison(r.arr.block, static_cast<size_t>(rank) * slot);
      r.desc = arena.descriptor(1, 0);
      r.desc->base = r.arr.base;
      r.desc->elem_len = slot * 8;
      r.desc->flags = F90_FLAG_ASSOC | (1u << F90_FLAG_RANK_SHIFT);
      r.desc->type_word = rtw;
      r.desc->dim[0] = {1, rank, in.ConsumeIntegral<int32_t>()};
    }
  }
  const bool fail_alloc = array_form && !r.supplied && arm_allocation_failure(in);
  trace_descriptor("ARRAY", a);
  trace("entry %d dim %s %d\n", entry, has_dim ? "present" : "absent", dim);
  if (array_form) {
    snapshot(r);
  } else {
    arena.snapshot();
  }

  const int32_t* d = has_dim ? dim_arg : nullptr;
  std::vector<int32_t> reports;
  if (absent && entry < kAllocated) reports.push_back(ERR_NOT_PRESENT);
  const char* what = "inquiry";
  int64_t got = 0, want = 0;
  bool scalar = true;
  switch (entry) {
    case kSize:
    case kSize4:
    case kSize8: {
      what = "SIZE";
      got = entry == kSize ? e_size(a, d) : entry == kSize4 ? e_size_4(a, d) : e_size_8(a, d);
      if (has_dim) {
        if (!dim_ok) reports.push_back(ERR_DIM_RANGE);
        want = dim_ok ? a->dim[dim - 1].extent : 0;
      } else {
        uint64_t p = 1;
        for (int i = 0; i < rank; ++i) p *= static_cast<uint64_t>(int64_t{a->dim[i].extent});
        want = entry == kSize8 ? static_cast<int64_t>(p) : static_cast<int32_t>(static_cast<uint32_t>(p));
      }
      break;
    }
    case kLbound0:
    case kLbound04:
    case kLbound08:
    case kUbound0:
    case kUbound04:
    case kUbound08: {
      const bool lower = entry <= kLbound08;
      what = lower ? "LBOUND0" : "UBOUND0";
      switch (entry) {
        case kLbound0: got = e_lbound0(a, dim_arg); break;
        case kLbound04: got = e_lbound0_4(a, dim_arg); break;
        case kLbound08: got = e_lbound0_8(a, dim_arg); break;
        case kUbound0: got = e_ubound0(a, dim_arg); break;
        case kUbound04: got = e_ubound0_4(a, dim_arg); break;
        default: got = e_ubound0_8(a, dim_arg); break;
      }
      if (!dim_ok) {
        reports.push_back(ERR_DIM_RANGE);
        want = 0;
      } else {
        const int32_t l = a->dim[dim - 1].lower, e = a->dim[dim - 1].extent;
        want = lower ? lbound_of(l, e) : entry == kUbound08 ? ubound_of_64(l, e) : ubound_of(l, e);
      }
      break;
    }
    case kAllocated:
    case kAllocated4:
    case kAllocated8: {
      what = "ALLOCATED";
      got = entry == kAllocated ? e_allocated(a) : entry == kAllocated4 ? e_allocated_4(a) : e_allocated_8(a);
      want = (obj_kind == OBJ_ALLOCATABLE && assoc) ? 1 : 0;
      break;
    }
    default: {
      scalar = false;
      what = entry == kShape ? "SHAPE" : entry == kLbound ? "LBOUND" : "UBOUND";
      if (entry == kShape) e_shape(r.desc, a);
      if (entry == kLbound) e_lbound(r.desc, a);
      if (entry == kUbound) e_ubound(r.desc, a);
      break;
    }
  }
  if (scalar) {
    arena.check_unchanged();
    check_reports(what, reports);
    FZ_CHECK(got == want, "%s: returned %lld, expected %lld", what, static_cast<long long>(got),
             static_cast<long long>(want));
    arena.end();
    return 0;
  }

  // Array forms.
  const int64_t bytes = int64_t{rank} * slot;
  const bool always_allocates = entry != kShape;  // LBOUND/UBOUND ask even for 0 bytes
  if (fail_alloc && (bytes > 0 || always_allocates)) {
    reports.push_back(ERR_ALLOC_FAILED);
    verify_allocation_failure(what, r, reports);
    arena.end();
    return 0;
  }
  const int64_t n = rank;
  ElemsExpect elems(slot, 1, &n);
  bool wraps = false;
  if (width != 0) {
    for (int i = 0; i < rank; ++i) {
      const int32_t l = a->dim[i].lower, e = a->dim[i].extent;
      const int64_t v = entry == kShape ? e : entry == kLbound ? lbound_of(l, e) : ubound_of(l, e);
      uint8_t buf[8] = {};
      store_int(reinterpret_cast<char*>(buf), width, v);
      elems.set(i, buf);
      // A 64-bit upper bound beyond 2^31-1: the wrapped 32-bit value
      // sign-extended, or the exact bound; either is accepted.
      if (entry == kUbound && width == 8 && v != ubound_of_64(l, e)) {
        elems.any(i);
        wraps = true;
      }
    }
  }
  DescExpect dx;
  if (r.supplied) {
    dx = DescExpect::unchanged(r.desc_before, 1);
  } else {
    dx = completed(r, 1, &n, rint_len / 32, bytes);
    if (always_allocates) {
      // The storage of a 0-byte request is the routine's base; alloc_base and
      // alloc_size are the routine's to record or not.
      dx.storage(0);
      dx.any(4);
      dx.any(5);
    }
  }
  verify(what, r, dx, bytes, always_allocates, elems, reports);
  if (wraps) {
    // Each such element is one of the two readings.
    const char* base = r.supplied ? r.arr.base : static_cast<const char*>(r.desc->base);
    for (int i = 0; i < rank; ++i) {
      const int32_t l = a->dim[i].lower, e = a->dim[i].extent;
      int64_t v;
      read_raw(reinterpret_cast<uint8_t*>(&v), base + 8 * i, 8);
      FZ_CHECK(v == ubound_of(l, e) || v == ubound_of_64(l, e), "UBOUND: element %d is %lld", i,
               static_cast<long long>(v));
    }
  }
  arena.end();
  return 0;
}
