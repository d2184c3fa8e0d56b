// TRANSFER(SOURCE, MOLD [, SIZE]) against a naive model.
// needs: _TRANSFER _TRANSFER1_0_4 _TRANSFER1_0 _TRANSFER2_0 _TRANSFER4_0
//
// Model: SOURCE's bytes in array element order form a stream. A scalar
// result (scalar MOLD, SIZE absent) takes MOLD's byte length from the stream
// (only SOURCE's bytes when SOURCE is a scalar; a SOURCE array repeats); an
// array result of SIZE elements, or of the stream's length rounded up to
// whole MOLD elements, takes the stream's first bytes, the rest of its
// storage left as it was. Empty operands give zero bytes of the right size;
// SIZE below 1 gives an empty result; an array MOLD of zero-length elements
// without SIZE is reported (1418) and gives an empty result. The scalar
// entries return the leading 4, 8 or 32 bytes of the scalar result, zero
// beyond MOLD's length, and allocate nothing.
#include <climits>
#include <cmath>
#include <cstring>

#include "entries.h"
#include "harness.h"
#include "recording_runtime.h"

using namespace fz;

namespace {

bool byte_granular(const Elem& e) {
  const int c = e.code();
  return c == TYPE_CHARACTER || c == TYPE_DERIVED_BYTES ||
         ((c == TYPE_INTEGER || c == TYPE_LOGICAL) && e.int_len() < 32);
}

uint32_t transfer_bytes(const Elem& e) {
  switch (e.code()) {
    case TYPE_CHARACTER: return e.elem_len;
    case TYPE_DERIVED_BYTES: return e.elem_len / 8;
    case TYPE_DERIVED_WORDS: return (e.elem_len / 32) * 4;
    default: return byte_granular(e) ? e.elem_len / 8 : (e.int_len() / 32) * 4;
  }
}

bool has_zero_extent(const FArray& a) {
  for (int i = 0; i < a.rank(); ++i) {
    if (a.shape.extent[i] == 0) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FDP in(data, size);
  Arena& arena = Arena::instance();
  arena.begin();

  const Elem se = pick_elem(in, kAllTypes);
  const Elem me = pick_elem(in, kAllTypes);
  FArray source = place_array(in, se, pick_shape(in, 0, 3, 256), kArgLayout);
  Rng rng(in.ConsumeIntegral<uint64_t>());
  fill_random(source, rng);
  // MOLD's elements are never read: its storage stays closed.
  FArray mold = place_array(in, me, pick_shape(in, 0, 2, 64), kArgLayout);

  const uint32_t sb = transfer_bytes(se), mb = transfer_bytes(me);
  trace("sb %u mb %u\n", sb, mb);
  const bool mold_scalar = mold.rank() == 0;
  const int64_t Ts = (source.rank() == 0 ? 1 : source.count) * int64_t{sb};
  std::vector<uint8_t> stream;
  for (int64_t k = 0; k < (source.rank() == 0 ? 1 : source.count); ++k) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(source.at_linear(k));
    stream.insert(stream.end(), p, p + sb);
  }

  // SIZE: absent, small, non-positive, or (for a result the routine
  // allocates) huge.
  const int which = in.ConsumeIntegralInRange<int>(0, 9);
  bool has_size = which >= 6;
  int32_t size_v = 0;
  if (has_size) {
    switch (which) {
      case 6: size_v = in.ConsumeIntegralInRange<int32_t>(INT32_MIN, 0); break;
      case 7:  // more than 2^31 bytes, never allocated
        size_v = mb >= 2 ? INT32_MAX - in.ConsumeIntegralInRange<int32_t>(0, 2) : 3;
        break;
      default: size_v = in.ConsumeIntegralInRange<int32_t>(1, 40); break;
    }
  }
  const bool source_empty =
      (source.rank() == 0 && byte_granular(se) && sb == 0) || (source.rank() > 0 && has_zero_extent(source));
  const bool mold_empty = (mold_scalar && byte_granular(me) && mb == 0) || (!mold_scalar && has_zero_extent(mold));
  const bool operands_empty = source_empty || (has_size && mold_empty);
  const int result_rank = (mold_scalar && !has_size) ? 0 : 1;
  const uint32_t unit = byte_granular(me) ? mb : mb / 4;

  int64_t Tr;
  if (has_size) {
    Tr = int64_t{mb} * size_v;
  } else if (mold_scalar) {
    Tr = mb;
  } else {
    Tr = mb == 0 ? 0 : (Ts + mb - 1) / mb * mb;
  }
  const int64_t elements = result_rank == 0 ? 1 : has_size ? std::max(size_v, 0) : (mb ? Tr / mb : 0);

  // Scalar entries: scalar MOLD, SIZE absent.
  const int scalar_entry = (result_rank == 0 && in.ConsumeBool()) ? in.ConsumeIntegralInRange<int>(1, 4) : 0;
  Elem re = me;
  Shape rs = vector_shape(static_cast<int32_t>(elements), in.ConsumeIntegralInRange<int32_t>(-2, 2));
  rs.rank = result_rank;
  const bool supply = scalar_entry == 0 && elements <= 256 && !(mold_empty && !has_size && !mold_scalar) &&
                      !(has_size && size_v < 1) && in.ConsumeBool();
  Result r;
  if (scalar_entry == 0) r = supply ? supplied_result(in, re, rs) : unassociated(in, re, result_rank);
  const bool fail_alloc = scalar_entry == 0 && !r.supplied && arm_allocation_failure(in);
  open(source);
  const int32_t* size_arg = has_size ? int_arg(size_v) : nullptr;
  trace_descriptor("SOURCE", source.desc);
  trace_descriptor("MOLD", mold.desc);
  trace("SIZE %s %d, entry %d\n", has_size ? "present" : "absent", size_v, scalar_entry);

  // The bytes of the scalar result: the stream repeated (a SOURCE array) or
  // cut (a scalar SOURCE) to MOLD's length; zeros where nothing arrives.
  std::vector<uint8_t> scalar_bytes(mb, 0);
  if (!source_empty && Ts > 0) {
    const int64_t take = source.rank() == 0 ? std::min<int64_t>(sb, mb) : mb;
    for (int64_t i = 0; i < take; ++i) scalar_bytes[i] = stream[i % Ts];
  }

  if (scalar_entry != 0) {
    arena.snapshot();
    uint8_t got[32] = {}, want[32] = {};
    size_t width = 0;
    switch (scalar_entry) {
      case 1: { const int32_t v = e_transfer1_0_4(source.desc, mold.desc, nullptr); std::memcpy(got, &v, 4); width = 4; break; }
      case 2: { const int32_t v = e_transfer1_0(source.desc, mold.desc, nullptr); std::memcpy(got, &v, 4); width = 4; break; }
      case 3: { const double v = e_transfer2_0(source.desc, mold.desc, nullptr); std::memcpy(got, &v, 8); width = 8; break; }
      default: {
        alignas(8) uint8_t slot[32];
        std::memset(slot, 0x5A, sizeof slot);
        void* back = e_transfer4_0(slot, source.desc, mold.desc, nullptr);
        FZ_CHECK(back == slot, "TRANSFER4_0: returned %p, not the slot %p", back, static_cast<void*>(slot));
        std::memcpy(got, slot, 32);
        width = 32;
        break;
      }
    }
    arena.check_unchanged();
    check_reports("TRANSFER scalar", {});
    FZ_CHECK(f90test::Runtime::allocation_calls() == 0, "TRANSFER scalar entry allocated");
    if (mb > 0) std::memcpy(want, scalar_bytes.data(), std::min<size_t>(mb, width));
    if (width == 8) {
      // The value travels through the x87 stack: a signalling NaN arrives quiet.
      double w;
      std::memcpy(&w, want, 8);
      if (std::isnan(w)) want[6] |= 0x08;
    }
    for (size_t i = 0; i < width; ++i) {
      FZ_CHECK(got[i] == want[i], "TRANSFER scalar entry %d: byte %zu is %02x, expected %02x", scalar_entry, i,
               got[i], want[i]);
    }
    arena.end();
    return 0;
  }

  snapshot(r);
  e_transfer(r.desc, source.desc, mold.desc, size_arg);

  const int64_t ext = elements;
  ElemsExpect elems(mb, result_rank, &ext);
  std::vector<int32_t> reports;
  auto words_untouched = [&] { return DescExpect::unchanged(r.desc_before, result_rank); };

  // Step 1: a supplied result with no room does nothing.
  if (r.supplied && result_rank >= 1 && rs.extent[0] == 0) {
    verify("TRANSFER", r, words_untouched(), -1, false, elems, {});
    arena.end();
    return 0;
  }
  // SIZE below 1: an empty result, nothing allocated.
  if (has_size && size_v < 1) {
    DescExpect d = words_untouched();
    if (!r.supplied) {
      d.exact(0, 0);
      d.dim(0, 1, 0, static_cast<int32_t>(unit));
    }
    verify("TRANSFER", r, d, -1, false, elems, {});
    arena.end();
    return 0;
  }
  // Empty paths that give an empty array result without storage.
  const bool zero_mold_array = !has_size && !source_empty && byte_granular(me) && mb == 0 && !mold_scalar;
  if ((!has_size && source_empty && !mold_scalar) || zero_mold_array) {
    if (zero_mold_array) reports.push_back(ERR_TRANSFER_ZERO_MOLD);
    DescExpect d = words_untouched();
    if (!r.supplied) {
      d.exact(0, 0);
      if (me.code() == TYPE_CHARACTER) d.exact(1, mb);
      d.dim(0, 1, 0, static_cast<int32_t>(unit));
    }
    verify("TRANSFER", r, d, -1, false, elems, reports);
    arena.end();
    return 0;
  }
  // A scalar MOLD of zero length with a non-empty SOURCE: a zero-length
  // result; whether storage of 0 bytes is obtained is the routine's choice.
  if (!has_size && mold_scalar && mb == 0 && byte_granular(me) && !source_empty) {
    DescExpect d = words_untouched();
    if (!r.supplied) {
      d.storage(0);
      for (int w = 1; w < 6; ++w) d.any(w);
    }
    verify("TRANSFER", r, d, 0, true, elems, {});
    arena.end();
    return 0;
  }

  // Every other path completes and fills the result.
  // A failed request (of 0 bytes too: whether one is made for an empty
  // result is the routine's choice) is reported and nothing is stored.
  if (!r.supplied && (Tr > INT32_MAX || (fail_alloc && (Tr > 0 || f90test::Runtime::allocation_calls() > 0)))) {
    verify_allocation_failure("TRANSFER", r, {ERR_ALLOC_FAILED});
    arena.end();
    return 0;
  }
  const bool zeros = operands_empty;  // empty operands: zero bytes of the right size
  std::vector<uint8_t> zero(mb, 0);
  if (result_rank == 0) {
    if (zeros) {
      if (r.supplied) elems.any(0); else elems.set(0, zero.data());
    } else if (Ts == 0) {
      // Nothing to repeat: the value is the routine's choice.
      elems.any(0);
    } else if (source.rank() == 0 && sb < mb) {
      // Only SOURCE's bytes arrive; the rest of the element keeps its bytes.
      if (!r.supplied) {
        // In fresh storage those bytes are the allocator's; compare the
        // leading bytes only.
        elems.any(0);
      } else {
        elems.any(0);
      }
    } else {
      elems.set(0, scalar_bytes.data());
    }
  } else {
    const int64_t moved = zeros ? 0 : std::min(Ts, Tr);
    for (int64_t k = 0; k < elements; ++k) {
      if (zeros) {
        if (r.supplied) elems.any(k); else elems.set(k, zero.data());
      } else if ((k + 1) * mb <= moved) {
        elems.set(k, stream.data() + k * mb);
      } else if (k * mb < moved) {
        elems.any(k);  // the partly filled last element: checked below
      }
    }
  }
  DescExpect d = words_untouched();
  const bool zero_optional = Tr == 0;
  if (!r.supplied) {
    d.storage(0);
    d.storage(4);
    d.exact(1, me.elem_len);
    if (me.code() == TYPE_CHARACTER) d.exact(1, mb);
    uint32_t flags;
    std::memcpy(&flags, &r.desc_before[8], 4);
    d.exact(2, flags | F90_FLAG_ASSOC);
    d.exact(5, static_cast<uint32_t>(Tr) * 8u);
    if (result_rank == 1) d.dim(0, 1, static_cast<int32_t>(elements), static_cast<int32_t>(unit));
  }
  verify("TRANSFER", r, d, Tr, zero_optional, elems, {});

  // The partly written elements: their leading bytes come from the stream.
  const char* base = r.supplied ? r.arr.base : static_cast<const char*>(r.desc->base);
  if (base != nullptr && !zeros) {
    const int32_t stride = r.supplied ? r.arr.stride[0] : static_cast<int32_t>(unit);
    const uint32_t ub = byte_granular(me) ? 1 : 4;
    if (result_rank == 0 && source.rank() == 0 && sb < mb && sb > 0) {
      uint8_t got[64];
      read_raw(got, base, sb);
      FZ_CHECK(std::memcmp(got, stream.data(), sb) == 0, "TRANSFER: scalar result's leading bytes differ");
    } else if (result_rank == 1 && Ts < Tr && mb > 0 && Ts % mb != 0) {
      const int64_t k = Ts / mb;
      uint8_t got[64];
      read_raw(got, base + k * stride * int64_t{ub}, Ts % mb);
      FZ_CHECK(std::memcmp(got, stream.data() + k * mb, Ts % mb) == 0, "TRANSFER: last element's leading bytes differ");
    }
  }
  arena.end();
  return 0;
}
