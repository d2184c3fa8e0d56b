// CSHIFT(ARRAY, SHIFT [, DIM]): every line along DIM rotated by its shift.
//
// Element i of a result line is element (i + s) mod n of the ARRAY line, n
// the extent along DIM and s the line's shift reduced to 0 <= s < n: ARRAY
// elements s .. n-1 go to result elements 0 .. n-s-1 and elements 0 .. s-1
// wrap round to n-s .. n-1.
//
// SHIFT is a scalar or, on ranks 2 to 7, an array over the other dimensions
// giving each line its own shift; its width comes from its elem_len (64, 16
// or 8 bits, else 32). On a rank-1 ARRAY the whole SHIFT value is reduced,
// a 64-bit one with the INTEGER*8 remainder. On other ranks the low 32 bits
// of each SHIFT element are reduced in 64-bit arithmetic, by subtraction or
// addition of n for -n <= v < 2n and by a remainder only beyond.
//
// A shift shared by every line moves the two rectangular blocks of the
// result at once (see shift.h); per-line shifts move each line in two runs,
// along an outer DIM in tiles of neighbouring lines.
#include "array/shift.h"
#include "common/elem_calls.h"

// CSHIFT's paths (shift.h): defined here, for the tests that lower them.
f90::ShiftPaths f90::cshift_paths;

namespace {

using f90::ShiftSetup;

// A SHIFT element v reduced to 0 .. n-1 (n > 0 an extent).
int64_t reduce(int32_t v, int64_t n) {
  if (static_cast<uint32_t>(v) < static_cast<uint32_t>(n)) return v;  // 0 <= v < n, one compare
  if (v >= n) return v < 2 * n ? v - n : v % n;
  if (v >= 0) return v;
  if (v >= -n) return v + n;
  const int64_t s = v % n;
  return s < 0 ? s + n : s;
}

// The shift of a rank-1 ARRAY of extent n: the whole SHIFT value rem n,
// made positive.
int64_t rank1_shift(const f90::ShiftArg& shift, int64_t n) {
  int64_t s;
  if (shift.width == 64) {
    int64_t v;
    std::memcpy(&v, shift.base, 8);
    s = static_cast<int32_t>(static_cast<uint32_t>(_morvex_lmod(v, n)));
  } else {
    s = shift.first() % n;
  }
  return s < 0 ? s + n : s;
}

template <uint32_t K>
void rotate_all(const ShiftSetup& st, int64_t s) {
  const int64_t n = st.n();
  f90::move_block<K>(f90::block_along_dim(st, n - s, 0, s), st.bytes());
  f90::move_block<K>(f90::block_along_dim(st, 0, s, n - s), st.bytes());
}

// Per-line shifts along DIM 1: each line in its two runs.
template <uint32_t K>
void rotate_lines(ShiftSetup st) {
  const int64_t n = st.n(), rs = st.result.stride[st.dim], as = st.array.stride[st.dim];
  const uint32_t bytes = st.bytes();
  f90::walk_lines(st.rank, st.dim, st.extent,
                  std::array<f90::WalkArray*, 3>{&st.result, &st.array, &st.shift},
                  [&](const std::array<char*, 3>& o) {
                    const int64_t s = reduce(st.shift_arg.read(o[2]), n);
                    f90::Mover<K>::line(o[0] + (n - s) * rs, rs, o[1], as, s, bytes);
                    f90::Mover<K>::line(o[0], rs, o[1] + s * as, as, n - s, bytes);
                  });
}

// Per-line shifts along another DIM: tiles of neighbouring lines (shift.h),
// each line in two phases: result element k takes ARRAY element k + s
// before the line's split n - s, k + s - n from there. Offsets and
// indices in the pointers' width: a tile's lines lie in ARRAY.
template <uint32_t K>
void rotate_line_tiles(ShiftSetup st) {
  const int32_t n = static_cast<int32_t>(st.n());
  const ptrdiff_t as = static_cast<ptrdiff_t>(st.array.stride[st.dim]), wrap = n * as;
  const ptrdiff_t a0 = static_cast<ptrdiff_t>(st.array.stride[0]), s0 = static_cast<ptrdiff_t>(st.shift.stride[0]);
  const f90::ShiftArg arg = st.shift_arg;
  f90::move_line_tiles<K>(
      st, std::array<f90::WalkArray*, 3>{&st.result, &st.array, &st.shift},
      [=](const std::array<char*, 3>& o, ptrdiff_t count, f90::TileLine* line) {
        const char* sh = o[2];
        for (ptrdiff_t at0 = 0; count > 0; --count, ++line, sh += s0, at0 += a0) {
          const int32_t s = static_cast<int32_t>(reduce(arg.read(sh), n));
          const ptrdiff_t at = at0 + s * as;
          const f90::TilePhase before{f90::TilePhase::from_array, {at}};
          const f90::TilePhase after{f90::TilePhase::from_array, {at - wrap}};
          *line = {n - s, n, {before, after, after}, s};
        }
      },
      0, f90::cshift_paths, f90::BandEnds::wrap);
}

// The small-call path: a contiguous rank-1 ARRAY rotated into a contiguous
// result the caller supplies is two block moves, so it skips the general
// set-up (which then gives the same result). False when it does not apply.
bool rotate_vector(ArrayDescriptor* result, ArrayDescriptor* array, ArrayDescriptor* shift,
                   const int32_t* dim, uint32_t bits) {
  const f90::Desc r(result), a(array);
  if (!r.assoc() || a.rank() != 1 || r.rank() != 1 || (dim != nullptr && *dim != 1) ||
      a.absent() || f90::Desc(shift).absent())
    return false;
  const f90::ElemClass c = f90::classify(a);
  const int64_t bytes = c.elem_bytes(), n = a.extent(0);
  if (bytes == 0 || n <= 0 || r.extent(0) <= 0 || c.byte_stride(a.stride(0)) != bytes ||
      c.byte_stride(r.stride(0)) != bytes)
    return false;
  const int64_t s = rank1_shift(f90::ShiftArg{f90::Desc(shift).base(), bits}, n);
  std::memcpy(r.base(), a.base() + s * bytes, static_cast<size_t>((n - s) * bytes));
  std::memcpy(r.base() + (n - s) * bytes, a.base(), static_cast<size_t>(s * bytes));
  return true;
}

}  // namespace

void cshift(ArrayDescriptor* result, ArrayDescriptor* array, ArrayDescriptor* shift,
            const int32_t* dim) {
  const f90::Desc sh(shift);
  const uint32_t len = sh.elem_len();
  const uint32_t bits = len == 64 || len == 16 || len == 8 ? len : 32;
  if (rotate_vector(result, array, shift, dim, bits)) return;
  ShiftSetup st;
  if (!f90::shift_setup(f90::Desc(result), f90::Desc(array), sh, nullptr, dim, bits, st)) return;

  f90::with_width<f90::Widths::any>(st.bytes(), [&](auto width) {
    constexpr uint32_t K = decltype(width)::value;
    if (st.rank == 1) {
      rotate_all<K>(st, rank1_shift(st.shift_arg, st.n()));
    } else if (st.per_line(sh.rank())) {
      if (st.dim == 0) {
        rotate_lines<K>(st);
      } else {
        rotate_line_tiles<K>(st);
      }
    } else {
      rotate_all<K>(st, reduce(st.shift_arg.first(), st.n()));
    }
  });
}
