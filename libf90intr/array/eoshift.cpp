// EOSHIFT(ARRAY, SHIFT [, BOUNDARY] [, DIM]): every line along DIM shifted
// end-off, the vacated positions taking the line's boundary value.
//
// Element i of a result line is element i + s of the ARRAY line when that
// lies inside the line, else the boundary value; s is the line's SHIFT
// clamped to -n .. n (no remainder). SHIFT's width comes from the int_len of
// its type word (64 bits read by the low word, 16 and 8 sign-extended, else
// 32). SHIFT and BOUNDARY are scalars or, on ranks 2 to 7, arrays over the
// other dimensions giving each line its own value (BOUNDARY has ARRAY's
// element type; on a rank-2 ARRAY any BOUNDARY of non-zero rank is read per
// line, a SHIFT only of rank 1).
//
// Without BOUNDARY the value is a zero of the element's type, taken from the
// exported objects below by copy kind and type code, or blanks (0x20 bytes)
// for CHARACTER and byte-laid derived types of any length; word-laid
// derived types, which have no default, get zero words.
//
// When every line has the same shift and boundary, the result is one block
// of ARRAY and one block of boundary values (see shift.h); otherwise each
// line is filled and moved on its own, the boundary value of a word element
// being read once per line.
#include "array/shift.h"

// Default boundaries: all bytes zero, never written.
const unsigned char defaulti1[1] = {};
const unsigned char defaultl1[1] = {};
const unsigned char defaulti2[2] = {};
const unsigned char defaultl2[2] = {};
const unsigned char defaulti4[4] = {};
const unsigned char defaultr4[4] = {};
const unsigned char defaultl4[4] = {};
const unsigned char defaulti8[8] = {};
const unsigned char defaultr8[8] = {};
const unsigned char defaultc4[8] = {};
const unsigned char defaultl8[8] = {};
const unsigned char defaultc8[16] = {};
const unsigned char defaultr16[16] = {};

// EOSHIFT's paths (shift.h): defined here, for the tests that lower them.
f90::ShiftPaths f90::eoshift_paths;

namespace {

using f90::ShiftSetup;

// A boundary value: an element's bytes, or (value null) elements made of
// one repeated byte.
struct Boundary {
  const char* value;
  unsigned char fill;
};

const char* bytes_of(const unsigned char* object) { return reinterpret_cast<const char*>(object); }

// The boundary when BOUNDARY is absent. `pair` holds a COMPLEX*32 zero made
// of defaultr16 twice.
Boundary default_boundary(const f90::ElemClass& c, int8_t code, char (&pair)[32]) {
  switch (c.kind) {
    case f90::COPY_WORD:
      return {bytes_of(code == TYPE_INTEGER ? defaulti4 : code == TYPE_REAL ? defaultr4 : defaultl4), 0};
    case f90::COPY_2WORDS:
      return {bytes_of(code == TYPE_INTEGER ? defaulti8
                       : code == TYPE_REAL  ? defaultr8
                       : code == TYPE_COMPLEX ? defaultc4
                                              : defaultl8),
              0};
    case f90::COPY_NWORDS:
      if (c.units == 4) return {bytes_of(defaultc8), 0};
      return {nullptr, 0};  // a word length with no object: zero words
    case f90::COPY_8WORDS:
      std::memcpy(pair, defaultr16, 16);
      std::memcpy(pair + 16, defaultr16, 16);
      return {pair, 0};
    case f90::COPY_BYTES:
      if (code == TYPE_CHARACTER || code == TYPE_DERIVED_BYTES) return {nullptr, 0x20};
      if (c.units == 1) return {bytes_of(code == TYPE_INTEGER ? defaulti1 : defaultl1), 0};
      return {bytes_of(code == TYPE_INTEGER ? defaulti2 : defaultl2), 0};
    case f90::COPY_DERIVED_WORDS: break;
  }
  return {nullptr, 0};
}

int32_t clamp(int32_t v, int64_t n) {
  const int32_t m = static_cast<int32_t>(n);  // an extent
  return v > m ? m : v < -m ? -m : v;
}

// Stores the boundary value into n elements, `stride` bytes apart.
template <uint32_t K>
void fill_run(char* dst, int64_t stride, int64_t n, const Boundary& b, uint32_t bytes) {
  if (n <= 0 || bytes == 0) return;
  if (b.value != nullptr) {
    f90::Mover<K>::fill(dst, stride, b.value, n, bytes);
  } else if (stride == bytes) {
    std::memset(dst, b.fill, static_cast<size_t>(n * bytes));
  } else {
    for (int64_t i = 0; i < n; ++i, dst += stride) std::memset(dst, b.fill, bytes);
  }
}

template <uint32_t K>
void fill_block(f90::Block blk, const Boundary& b, uint32_t bytes) {
  if (blk.empty() || bytes == 0) return;
  f90::Runs<1> runs;  // only the result is walked
  blk.runs(runs);
  const int64_t ds = runs.arrays[0].stride[0];
  runs.walk([&](const std::array<char*, 1>& o, int64_t n) { fill_run<K>(o[0], ds, n, b, bytes); });
}

// Every line with the same shift s and boundary b.
template <uint32_t K>
void shift_all(const ShiftSetup& st, int64_t s, const Boundary& b) {
  const int64_t n = st.n();
  if (s >= 0) {
    fill_block<K>(f90::block_along_dim(st, n - s, 0, s), b, st.bytes());
    f90::move_block<K>(f90::block_along_dim(st, 0, s, n - s), st.bytes());
  } else {
    fill_block<K>(f90::block_along_dim(st, 0, 0, -s), b, st.bytes());
    f90::move_block<K>(f90::block_along_dim(st, -s, 0, n + s), st.bytes());
  }
}

// Each line with its own shift and boundary, along DIM 1. `boundary` walks
// with the lines when BOUNDARY is an array; `fixed` is the boundary
// otherwise.
template <uint32_t K>
void shift_lines(ShiftSetup st, f90::WalkArray boundary, bool per_line_boundary,
                 const Boundary& fixed) {
  const int64_t n = st.n(), rs = st.result.stride[st.dim], as = st.array.stride[st.dim];
  const uint32_t bytes = st.bytes();
  f90::walk_lines(
      st.rank, st.dim, st.extent,
      std::array<f90::WalkArray*, 4>{&st.result, &st.array, &st.shift, &boundary},
      [&](const std::array<char*, 4>& o) {
        const int64_t s = clamp(st.shift_arg.read(o[2]), n);
        Boundary b = per_line_boundary ? Boundary{o[3], 0} : fixed;
        alignas(8) char word_value[32];
        if constexpr (K != 0) {  // read once per line
          if (b.value != nullptr) {
            std::memcpy(word_value, b.value, K);
            b.value = word_value;
          }
        }
        if (s >= 0) {
          fill_run<K>(o[0] + (n - s) * rs, rs, s, b, bytes);
          f90::Mover<K>::line(o[0], rs, o[1] + s * as, as, n - s, bytes);
        } else {
          fill_run<K>(o[0], rs, -s, b, bytes);
          f90::Mover<K>::line(o[0] - s * rs, rs, o[1], as, n + s, bytes);
        }
      });
}

// The same along another DIM: tiles of neighbouring lines (shift.h), each
// line in three phases: the boundary value, result elements lo .. hi-1 from
// ARRAY (element k from k + s), the boundary value.
template <uint32_t K>
void shift_line_tiles(ShiftSetup st, f90::WalkArray boundary, bool per_line_boundary,
                      const Boundary& fixed) {
  const int32_t n = static_cast<int32_t>(st.n());
  const ptrdiff_t as = static_cast<ptrdiff_t>(st.array.stride[st.dim]), a0 = static_cast<ptrdiff_t>(st.array.stride[0]);
  const ptrdiff_t s0 = static_cast<ptrdiff_t>(st.shift.stride[0]), b0 = per_line_boundary ? boundary.stride[0] : 0;
  const f90::ShiftArg arg = st.shift_arg;
  // The boundary of line 0 (per line: its element, b0 bytes apart); fill
  // bytes have offset 0 (the tiles read them from an element of fill bytes).
  const f90::TilePhase value0 =
      fixed.value != nullptr || per_line_boundary ? f90::TilePhase{f90::TilePhase::fixed_value, {.element = fixed.value}}
                                                  : f90::TilePhase{f90::TilePhase::fill_bytes, {.off = 0}};
  f90::move_line_tiles<K>(
      st, std::array<f90::WalkArray*, 4>{&st.result, &st.array, &st.shift, &boundary},
      [=](const std::array<char*, 4>& o, ptrdiff_t count, f90::TileLine* line) {
        const char* sh = o[2];
        const char* bv = o[3];
        f90::TilePhase value = value0;
        for (ptrdiff_t at0 = 0; count > 0; --count, ++line, sh += s0, at0 += a0) {
          if (per_line_boundary) {
            value.element = bv;
            bv += b0;
          }
          const int32_t s = clamp(arg.read(sh), n);
          const f90::TilePhase from{f90::TilePhase::from_array, {at0 + s * as}};
          *line = {s < 0 ? -s : 0, s < 0 ? n : n - s, {value, from, value}, s};
        }
      },
      fixed.fill, f90::eoshift_paths, f90::BandEnds::boundary);
}

}  // namespace

void eoshift(ArrayDescriptor* result, ArrayDescriptor* array, ArrayDescriptor* shift,
             ArrayDescriptor* boundary, const int32_t* dim) {
  const f90::Desc sh(shift);
  const uint32_t len = sh.int_len();
  const uint32_t bits = len == 64 || len == 16 || len == 8 ? len : 32;
  ShiftSetup st;
  if (!f90::shift_setup(f90::Desc(result), f90::Desc(array), sh, boundary, dim, bits, st)) return;

  char pair[32];
  Boundary fixed{nullptr, 0};
  f90::WalkArray bwalk{nullptr, {}};
  bool per_line_boundary = false;
  if (boundary == nullptr) {
    fixed = default_boundary(st.elem, f90::Desc(array).type_code(), pair);
  } else {
    const f90::Desc bd(boundary);
    per_line_boundary = st.rank >= 2 && bd.rank() != 0;
    if (per_line_boundary) {
      const f90::ElemClass c = st.elem;
      bwalk = f90::walk_array_without(bd, st.dim, [&](int32_t s) { return c.byte_stride(s); });
    } else {
      fixed = {bd.base(), 0};
    }
  }

  f90::with_width<f90::Widths::any>(st.bytes(), [&](auto width) {
    constexpr uint32_t K = decltype(width)::value;
    if (!per_line_boundary && !st.per_line(sh.rank())) {
      shift_all<K>(st, clamp(st.shift_arg.first(), st.n()), fixed);
    } else if (st.dim == 0) {
      shift_lines<K>(st, bwalk, per_line_boundary, fixed);
    } else {
      shift_line_tiles<K>(st, bwalk, per_line_boundary, fixed);
    }
  });
}
