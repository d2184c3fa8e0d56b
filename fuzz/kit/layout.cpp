#include "layout.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "check.h"

namespace fz {

Elem Elem::numeric(int code, uint32_t bytes) {
  Elem e;
  const uint32_t bits = bytes * 8;
  e.type_word = static_cast<uint32_t>(code) | (bits << 12);
  e.elem_len = bits;
  if (bits == 8 || bits == 16) {
    e.units = bytes;
    e.unit = 1;
    e.grain = bytes;
    e.align = bytes;
  } else {
    e.units = bits / 32;
    e.unit = 4;
    e.grain = e.units;
    e.align = 4;
  }
  return e;
}

Elem Elem::character(uint32_t len) {
  Elem e;
  e.type_word = TYPE_CHARACTER | (8u << 12);
  e.elem_len = len;
  e.units = len;
  return e;
}

Elem Elem::derived_bytes(uint32_t bytes) {
  Elem e;
  e.type_word = TYPE_DERIVED_BYTES;
  e.elem_len = bytes * 8;
  e.units = bytes;
  return e;
}

Elem Elem::derived_words(uint32_t words) {
  Elem e;
  e.type_word = TYPE_DERIVED_WORDS;
  e.elem_len = words * 32;
  e.units = words;
  e.unit = 4;
  e.align = 4;
  return e;
}

Elem pick_elem(FDP& in, uint32_t set) {
  struct Choice {
    uint32_t family;
    int code;
    uint32_t bytes;
  };
  static const Choice kChoices[] = {
      {kIntegers, TYPE_INTEGER, 1},  {kIntegers, TYPE_INTEGER, 2},  {kIntegers, TYPE_INTEGER, 4},
      {kIntegers, TYPE_INTEGER, 8},  {kReals, TYPE_REAL, 4},        {kReals, TYPE_REAL, 8},
      {kReals, TYPE_REAL, 16},       {kComplexes, TYPE_COMPLEX, 8}, {kComplexes, TYPE_COMPLEX, 16},
      {kComplexes, TYPE_COMPLEX, 32}, {kLogicals, TYPE_LOGICAL, 1}, {kLogicals, TYPE_LOGICAL, 2},
      {kLogicals, TYPE_LOGICAL, 4},  {kLogicals, TYPE_LOGICAL, 8},  {kCharacters, TYPE_CHARACTER, 0},
      {kDerived, TYPE_DERIVED_BYTES, 0}, {kDerived, TYPE_DERIVED_WORDS, 0},
  };
  const Choice* allowed[sizeof kChoices / sizeof kChoices[0]];
  size_t n = 0;
  for (const Choice& c : kChoices) {
    if (c.family & set) allowed[n++] = &c;
  }
  FZ_CHECK(n > 0, "pick_elem: empty type set");
  const Choice& c = *allowed[in.ConsumeIntegralInRange<size_t>(0, n - 1)];
  Elem e;
  switch (c.code) {
    case TYPE_CHARACTER: e = Elem::character(in.ConsumeIntegralInRange<uint32_t>(0, 9)); break;
    case TYPE_DERIVED_BYTES: e = Elem::derived_bytes(in.ConsumeIntegralInRange<uint32_t>(0, 13)); break;
    case TYPE_DERIVED_WORDS: e = Elem::derived_words(in.ConsumeIntegralInRange<uint32_t>(0, 5)); break;
    default:
      e = Elem::numeric(c.code, c.bytes);
      if (in.ConsumeBool()) {  // an explicit kind: kind_sel non-zero, decl_len the byte length
        e.type_word |= (in.ConsumeIntegralInRange<uint32_t>(1, 7) << 9) | (c.bytes << 24);
      }
      break;
  }
  if (in.ConsumeBool()) e.type_word |= F90_TW_TYPE_FLAG;
  return e;
}

int64_t Shape::count() const {
  int64_t n = 1;
  for (int i = 0; i < rank; ++i) {
    if (extent[i] <= 0) return 0;
    n *= extent[i];
  }
  return n;
}

Shape pick_shape(FDP& in, int min_rank, int max_rank, int64_t max_count) {
  Shape s;
  s.rank = in.ConsumeIntegralInRange<int>(min_rank, max_rank);
  for (int i = 0; i < s.rank; ++i) {
    const uint8_t b = in.ConsumeIntegral<uint8_t>();
    int32_t e;
    if (b % 16 == 0) {
      e = 0;
    } else if (b < 160) {
      e = 1 + (b % 4);
    } else {
      e = 1 + (b % 48);
    }
    s.extent[i] = e;
    int32_t l;
    switch (in.ConsumeIntegralInRange<int>(0, 9)) {
      case 0: l = 0; break;
      case 1: l = in.ConsumeIntegralInRange<int32_t>(-4, 4); break;
      case 2: l = INT32_MIN; break;
      case 3: l = INT32_MAX; break;
      case 4: l = static_cast<int32_t>(int64_t{INT32_MAX} - (e > 0 ? e : 1) + 1); break;
      case 5: l = in.ConsumeIntegral<int32_t>(); break;
      default: l = 1; break;
    }
    s.lower[i] = l;
  }
  // Keep the element count under the cap by halving the largest extent (an
  // empty array's other extents too: its layout still spans them).
  while (true) {
    int64_t n = 1;
    for (int i = 0; i < s.rank; ++i) n *= std::max(s.extent[i], 1);
    if (n <= max_count) break;
    int big = 0;
    for (int i = 1; i < s.rank; ++i) {
      if (s.extent[i] > s.extent[big]) big = i;
    }
    s.extent[big] /= 2;
  }
  return s;
}

char* FArray::at(const int64_t* idx) const {
  int64_t off = 0;
  for (int i = 0; i < shape.rank; ++i) off += idx[i] * stride[i];
  return base + off * elem.unit;
}

char* FArray::at_linear(int64_t k) const {
  int64_t off = 0;
  for (int i = 0; i < shape.rank; ++i) {
    const int64_t e = shape.extent[i];
    off += (k % e) * stride[i];
    k /= e;
  }
  return base + off * elem.unit;
}

namespace {

uint32_t draw_flag_bits(FDP& in) {
  // spare_flag, obj_kind and bits 4-28 (never the rank or assoc).
  uint32_t bits = in.ConsumeBool() ? (in.ConsumeIntegral<uint32_t>() & 0x1ffffffeu) : 0;
  return bits;
}

}  // namespace

FArray place_array(FDP& in, const Elem& e, const Shape& s, LayoutOpts opts) {
  FArray a;
  a.elem = e;
  a.shape = s;
  a.count = s.count();
  const bool plain = opts.contiguous || in.ConsumeIntegralInRange<int>(0, 3) == 0;  // natural layout
  for (int attempt = 0; attempt < 2; ++attempt) {
    int64_t span = e.units;  // units covered by the lower dimensions
    for (int i = 0; i < s.rank; ++i) {
      int32_t step = 1;
      int64_t pad = 0;
      if (!plain && attempt == 0) {
        const int lo = opts.negative ? -3 : 1;
        step = in.ConsumeIntegralInRange<int32_t>(lo, 3);
        if (step == 0 && !opts.zero_steps) step = 1;
        if (opts.padding && in.ConsumeIntegralInRange<int>(0, 3) == 0) {
          pad = int64_t{e.grain} * in.ConsumeIntegralInRange<int>(1, 3);
        }
      }
      int64_t g = span + pad;
      if (g == 0) g = e.grain;  // zero-length elements: any spacing
      a.stride[i] = static_cast<int32_t>(step * g);
      if (s.extent[i] > 0) span = (int64_t{s.extent[i]} - 1) * std::abs(int64_t{a.stride[i]}) + span;
    }
    if (span * e.unit <= static_cast<int64_t>(Arena::kSlotBytes) / 2) break;
    FZ_CHECK(attempt == 0, "place_array: natural layout of %lld units too large",
             static_cast<long long>(span));
  }
  int64_t lo = 0, hi = 0;
  for (int i = 0; i < s.rank; ++i) {
    const int64_t reach = (int64_t{s.extent[i]} - 1) * a.stride[i];
    if (s.extent[i] <= 0) continue;
    lo += std::min<int64_t>(0, reach);
    hi += std::max<int64_t>(0, reach);
  }
  Arena& arena = Arena::instance();
  const uint8_t fill = in.ConsumeIntegral<uint8_t>();
  if (a.count == 0) {
    // No element: the base points at guarded memory, or is null.
    a.block = arena.block(0, 1, fill);
    a.base = in.ConsumeBool() ? a.block : nullptr;
  } else {
    const size_t bytes = static_cast<size_t>((hi - lo) * e.unit + e.bytes());
    a.block = arena.block(bytes, e.align, fill);
    a.base = a.block - lo * e.unit;
  }
  // The descriptor.
  a.desc = arena.descriptor(s.rank, 0);
  a.desc->base = a.base;
  a.desc->elem_len = e.elem_len;
  uint32_t flags = draw_flag_bits(in);
  // A pointer or an allocatable with storage is as good as a plain array.
  a.desc->flags = flags | F90_FLAG_ASSOC | (static_cast<uint32_t>(s.rank) << F90_FLAG_RANK_SHIFT);
  a.desc->type_word = e.type_word;
  a.desc->alloc_base = in.ConsumeBool() ? a.base : nullptr;
  a.desc->alloc_size = in.ConsumeIntegral<uint32_t>();
  for (int i = 0; i < s.rank; ++i) {
    a.desc->dim[i].lower = s.lower[i];
    a.desc->dim[i].extent = s.extent[i];
    a.desc->dim[i].stride = a.stride[i];
  }
  return a;
}

void open(const FArray& a) {
  if (a.elem.bytes() == 0) return;
  for (int64_t k = 0; k < a.count; ++k) Arena::unpoison(a.at_linear(k), a.elem.bytes());
}

ArrayDescriptor* unassociated_result(FDP& in, const Elem& e, int rank) {
  const uint32_t pattern = 0xDEAD0000u | in.ConsumeIntegral<uint16_t>();
  ArrayDescriptor* d = Arena::instance().descriptor(rank, pattern);
  d->elem_len = e.elem_len;
  d->flags = (draw_flag_bits(in) & ~F90_FLAG_ASSOC) | (static_cast<uint32_t>(rank) << F90_FLAG_RANK_SHIFT);
  d->type_word = e.type_word;
  return d;
}

void fill_random(const FArray& a, Rng& rng) {
  const uint32_t n = a.elem.bytes();
  for (int64_t k = 0; k < a.count; ++k) {
    char* p = a.at_linear(k);
    Arena::unpoison(p, n);
    for (uint32_t i = 0; i < n; ++i) p[i] = static_cast<char>(rng.next());
  }
}

void store_logical(char* p, uint32_t bits, bool value, Rng& rng) {
  const uint32_t bytes = bits / 8;
  std::memset(p, 0, bytes);
  if (!value) return;
  switch (rng.below(4)) {
    case 0: p[0] = 1; break;                                    // canonical
    case 1: std::memset(p, 0xff, bytes); break;                 // all ones
    case 2: p[bytes - 1] = static_cast<char>(0x80); break;      // only the top byte
    default: p[rng.below(bytes)] = static_cast<char>(1 + rng.below(255)); break;
  }
}

bool read_logical(const char* p, uint32_t bits) {
  for (uint32_t i = 0; i < bits / 8; ++i) {
    if (p[i] != 0) return true;
  }
  return false;
}

void fill_logical(const FArray& a, Rng& rng, uint32_t chance256) {
  const uint32_t bits = a.elem.bytes() * 8;
  for (int64_t k = 0; k < a.count; ++k) {
    char* p = a.at_linear(k);
    Arena::unpoison(p, a.elem.bytes());
    store_logical(p, bits, rng.below(256) < chance256, rng);
  }
}

int64_t read_int(const char* p, uint32_t bytes) {
  switch (bytes) {
    case 1: { int8_t v; std::memcpy(&v, p, 1); return v; }
    case 2: { int16_t v; std::memcpy(&v, p, 2); return v; }
    case 4: { int32_t v; std::memcpy(&v, p, 4); return v; }
    default: { int64_t v; std::memcpy(&v, p, 8); return v; }
  }
}

int32_t* int_arg(int32_t v) {
  char* p = Arena::instance().block(4, 4, 0);
  Arena::unpoison(p, 4);
  std::memcpy(p, &v, 4);
  return reinterpret_cast<int32_t*>(p);
}

void store_int(char* p, uint32_t bytes, int64_t v) { std::memcpy(p, &v, bytes); }

Shape vector_shape(int32_t extent, int32_t lower) {
  Shape s;
  s.rank = 1;
  s.extent[0] = extent;
  s.lower[0] = lower;
  return s;
}

void unlinear(int64_t k, int rank, const int64_t* extent, int64_t* idx) {
  for (int i = 0; i < rank; ++i) {
    idx[i] = extent[i] > 0 ? k % extent[i] : 0;
    k = extent[i] > 0 ? k / extent[i] : 0;
  }
}

FArray reduction_mask(FDP& in, Rng& rng, const Shape& shape, int choice) {
  if (choice == 0) return FArray{};
  static const uint32_t kWidths[] = {1, 2, 4, 8};
  Shape ms = shape;
  if (choice == 1) ms.rank = 0;
  FArray mask = place_array(in, Elem::numeric(TYPE_LOGICAL, kWidths[in.ConsumeIntegralInRange<int>(0, 3)]),
                            ms, kArgLayout);
  static const uint32_t kChance[] = {0, 40, 128, 220, 256};
  fill_logical(mask, rng, kChance[in.ConsumeIntegralInRange<int>(0, 4)]);
  return mask;
}

}  // namespace fz
