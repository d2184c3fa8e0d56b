// CSHIFT and EOSHIFT: the entry points, the default boundaries, and the
// set-up and block moves the two routines share.
//
// Both shift every line of ARRAY along DIM. They classify ARRAY's element
// once (copy_kind.h), complete an unassociated result, return early for
// empty operands, check DIM and convert every stride to bytes before any
// element moves. When every line has the same shift (and, for EOSHIFT, the
// same boundary value), the lines move together: the result is a few
// rectangular blocks of ARRAY (and of boundary values), each moved in runs
// along dimension 0, so that contiguous arrays move as whole blocks whatever
// DIM is. Otherwise the lines along DIM 1 are visited one at a time
// (walk.h), and lines along another DIM move in tiles of neighbouring lines
// (move_tile below); with AVX-512, bands of 64 bytes of neighbouring lines
// whose shifts differ little move from a window of ARRAY's columns kept in
// registers (move_bands).
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "array/construct.h"
#include "array/copy_kind.h"
#include "array/descriptor.h"
#include "chars/bytes.h"
#include "common/walk.h"
#include "sse2_exact.h"

F90_API void cshift(ArrayDescriptor* result, ArrayDescriptor* array, ArrayDescriptor* shift,
                    const int32_t* dim) F90_SYMBOL(_CSHIFT);
F90_API void eoshift(ArrayDescriptor* result, ArrayDescriptor* array, ArrayDescriptor* shift,
                     ArrayDescriptor* boundary, const int32_t* dim) F90_SYMBOL(_EOSHIFT);

// EOSHIFT's boundary values when BOUNDARY is absent: zero bytes, by element
// kind (defaultr16's 16 bytes serve twice for a 32-byte COMPLEX*32).
F90_API const unsigned char defaulti1[1];
F90_API const unsigned char defaultl1[1];
F90_API const unsigned char defaulti2[2];
F90_API const unsigned char defaultl2[2];
F90_API const unsigned char defaulti4[4];
F90_API const unsigned char defaultr4[4];
F90_API const unsigned char defaultl4[4];
F90_API const unsigned char defaulti8[8];
F90_API const unsigned char defaultr8[8];
F90_API const unsigned char defaultc4[8];
F90_API const unsigned char defaultl8[8];
F90_API const unsigned char defaultc8[16];
F90_API const unsigned char defaultr16[16];

namespace f90 {

// A SHIFT argument: where its elements are and how they are read.
struct ShiftArg {
  const char* base;
  uint32_t width;  // bits read: 64, 16, 8 or 32

  // The element at p: 64-bit elements by their low 32 bits, 8- and 16-bit
  // ones sign-extended.
  int32_t read(const char* p) const {
    switch (width) {
      case 8: return static_cast<int8_t>(*p);
      case 16: { int16_t v; std::memcpy(&v, p, 2); return v; }
      default: { int32_t v; std::memcpy(&v, p, 4); return v; }  // 64-bit: low word first
    }
  }
  int32_t first() const { return read(base); }
};

// Everything the two routines know after their common set-up.
struct ShiftSetup {
  ElemClass elem;
  int rank;
  int dim;                           // 0-based
  int32_t extent[F90_MAX_RANK];      // ARRAY's
  WalkArray array, result;           // byte strides per dimension
  WalkArray shift;                   // byte strides of SHIFT's elements, 0 along DIM
  ShiftArg shift_arg;

  int64_t n() const { return extent[dim]; }
  // Bytes of the result.
  int64_t result_bytes() const {
    int64_t b = bytes();
    for (int d = 0; d < rank; ++d) b *= extent[d];
    return b;
  }
  // ARRAY's extents with DIM's set to 1: the dimensions a walk of the lines
  // along DIM steps through.
  void walk_extents(int32_t* out) const {
    for (int d = 0; d < rank; ++d) out[d] = d == dim ? 1 : extent[d];
  }
  uint32_t bytes() const { return elem.elem_bytes(); }
  // A per-line SHIFT or BOUNDARY has dimensions when its rank is 1 on a
  // rank-2 ARRAY (any other rank: read as a scalar), or any rank but 0 on
  // ranks 3 to 7.
  bool per_line(int arg_rank) const {
    return rank == 2 ? arg_rank == 1 : rank > 2 && arg_rank != 0;
  }
};

// Steps common to CSHIFT and EOSHIFT: classify ARRAY's element, complete
// the result, return false for empty operands (ARRAY, the result, SHIFT or
// BOUNDARY of rank 2 or more with a zero extent, each read only within its
// own rank), after reporting a bad DIM, or for elements of no bytes, and
// form the byte strides.
// `shift_bits` is the width of SHIFT's elements; `boundary` may be null.
bool shift_setup(Desc result, Desc array, Desc shift, const ArrayDescriptor* boundary,
                 const int32_t* dim, uint32_t shift_bits, ShiftSetup& out);

// A rectangular block of elements of two arrays (result and ARRAY): extents
// and byte strides per dimension.
struct Block {
  int rank;
  int32_t extent[F90_MAX_RANK];
  WalkArray dst, src;

  bool empty() const {
    for (int d = 0; d < rank; ++d)
      if (extent[d] <= 0) return true;
    return false;
  }
  // The block's first N arrays (dst, then src) as runs, dimensions that are
  // contiguous in each merged, so that contiguous arrays move in long runs.
  template <size_t N>
  void runs(Runs<N>& r) const {
    const WalkArray* w[2] = {&dst, &src};
    for (size_t a = 0; a < N; ++a) r.arrays[a].base = w[a]->base;
    for (int d = 0; d < rank; ++d) {
      std::array<int64_t, N> s;
      for (size_t a = 0; a < N; ++a) s[a] = w[a]->stride[d];
      r.add(extent[d], s);
    }
  }
};

// The block that spans `count` indices along DIM, from index `r_at` of the
// result and `a_at` of ARRAY, and every index of the other dimensions.
inline Block block_along_dim(const ShiftSetup& st, int64_t r_at, int64_t a_at, int64_t count) {
  Block b{st.rank, {}, st.result, st.array};
  for (int d = 0; d < st.rank; ++d) b.extent[d] = st.extent[d];
  b.extent[st.dim] = static_cast<int32_t>(count);
  b.dst.base += r_at * st.result.stride[st.dim];
  b.src.base += a_at * st.array.stride[st.dim];
  return b;
}

// Lines along a DIM other than the first move in tiles of up to
// kTileLines neighbours along dimension 0 (walk_blocks over the extents of
// walk_extents(), which gives DIM extent 1), index by index along DIM: for
// each index k, element k of every line of the tile, so that the result is
// written in runs of neighbouring elements (never one element per cache
// line of lines far apart, which a power-of-two stride would map to one
// cache set). Each line has up to three phases along DIM, each from ARRAY
// at a fixed offset from the index, or a fixed value: CSHIFT's two runs, or
// EOSHIFT's boundary, run and boundary. Between the indices where some line
// changes phase (a stretch), every line's source is fixed: the tile is then
// a few runs of neighbouring lines of one kind, and the inner loop of a run
// from ARRAY is one load of an offset and one element move per line.
//
// A result past the caches moves in tiles of kFarTileLines: with 2 KiB
// runs of REAL*8 the few ARRAY columns a stretch reads from stay in the
// first-level cache while the index advances, and the source fetched ahead
// arrives in time; measured at 16-256 MiB (power-of-two columns 32-128 KiB
// apart), 256 lines moved 1.3-1.8 times as fast as 1024 and 1.2-1.4 times
// as fast as 512. In the caches 512 and 1024 lines did equally well, 256
// slightly worse.
inline constexpr int64_t kTileLines = 512;
inline constexpr int64_t kFarTileLines = 256;

struct TilePhase {
  enum Kind : uint8_t { from_array, fixed_value, fill_bytes } kind;
  union {
    ptrdiff_t off;        // from_array: bytes from the index's ARRAY address (line's own included)
    const char* element;  // fixed_value: the value
  };
};

// One line of a tile: phase 0 on [0, p1), phase 1 on [p1, p2), phase 2 on
// [p2, n) (extents along DIM fit 32 bits). `shift`: at index k the line
// reads ARRAY's column k + shift (CSHIFT's reduced shift, wrapping at n;
// EOSHIFT's clamped one, whose columns outside 0 .. n-1 are its boundary,
// phase 0), which the bands of lines use (move_bands).
struct TileLine {
  int32_t p1, p2;
  TilePhase phase[3];
  int32_t shift;
};

// Neighbouring lines [first, first + count) of a tile with the same kind of
// source over a stretch (and, for fixed_value, the same value). A from_array
// run of a merged stretch (plan_merges) is `head` lines gathered, then
// `groups` groups of 64 result bytes (MergeGroup group0 on), then the rest
// gathered.
struct TileRun {
  int32_t first, count;
  TilePhase from;
  int32_t group0;
  int16_t groups, head;
};

// 64 bytes of neighbouring result lines (8 of 8-byte elements, 16 of 4-byte
// ones, from `line` of the tile on) over a stretch, when the lines read at
// most kMergeSources columns of ARRAY: source j is the 64 bytes at `at[j]`
// from ARRAY's address of the index (line 0 of the tile), its lane l being
// line `line` + l's element in that column, and the lines that read it are
// the bits of mask[j]. count 0: the lines read more columns and are
// gathered.
inline constexpr int kMergeSources = 2;
struct MergeGroup {
  int32_t at[kMergeSources];
  int32_t line;  // the group's first line in the tile
  uint16_t mask[kMergeSources];
  int32_t count;
};

// Lines of at most this many indices find their stretches from lists of
// phase changes by index (plan_events).
inline constexpr int64_t kEventIndices = 1024;

// Bands of lines (move_bands): bands whose shifts span at most kBandWindow
// consecutive values, reading ARRAY's columns through a table of
// kBandColumns offsets. Where a tile's columns (n indices and the spread of
// its bands' shifts) do not fit the table at once, it covers the columns of
// the next chunks of indices and is filled again when they are done (a
// 256 MiB CSHIFT of 4096-element lines, seven shifts a band: 0.80 of
// memcpy, against 0.32 when such lines went to the line gathers).
inline constexpr int64_t kBandColumns = 4103;
inline constexpr int kBandWindow = 7;

// One band of 64 / K lines: its least shift, how many consecutive shifts
// its lines span (0: not moved as a band), and per window slot j = 1 ..
// w-1 the 32-bit lanes of the lines whose shift is smin + j.
struct BandPlan {
  int32_t smin, w;
  uint16_t mask[kBandWindow];  // mask[kBandWindow - 1]: the lanes of the band's lines in the tile
};

// The per-line tables of one tile: each line's phases; over the current
// stretch its phase, the index where that ends and its ARRAY offset
// (from_array lines); the stretch's runs and merged groups.
struct TileSpace {
  TileLine line[kTileLines];
  uint8_t phase[kTileLines];
  int32_t next[kTileLines];
  ptrdiff_t off[kTileLines];
  TileRun run[kTileLines];
  MergeGroup group[kTileLines / 8];
  // The phase changes of the tile by index (plan_events): a list per
  // index of entries 2b (line b's p1) and 2b + 1 (its p2), -1 ending it.
  int16_t changes_at[kEventIndices + 1];
  int16_t then[2 * kTileLines];
  // The bands of the tile (move_bands): their plans, their boundary values
  // (EOSHIFT: 64 bytes per band, lane l line l's), and the byte offset from
  // a band's ARRAY address of each column the bands read.
  BandPlan band[kTileLines / 8 + 1];
  alignas(64) char ends[(kTileLines / 8 + 1) * 64];
  int32_t columns[kBandColumns];
};

// How many indices along DIM ahead gather_lines fetches the source of a
// large move: 8 measured best with the tiles of 1024 lines used before and
// again with kFarTileLines (4 slower, 16 within the noise), enough to hide
// the memory's latency.
inline constexpr int64_t kFetchAhead = 8;

// Element k of `count` lines whose result elements are contiguous (line i's
// at dk + i * K) and which all take ARRAY's elements (line i's at sk +
// off[i]). With SSE2, 4- and 8-byte elements are loaded one by one and
// interleaved into 16-byte stores (streamed past the caches with kStream:
// dk is then K-aligned, and the elements before the first 16-byte boundary
// move one by one): loads, interleaves and stores only, so every bit
// pattern passes. `ahead` > 0 asks for the source of index k + ahead, one
// cache line per 64 result bytes, to be fetched now: past the caches the
// lines of a tile come from columns far apart, each only a few KiB long,
// which the hardware prefetchers follow badly. The fetch is non-temporal: a
// source line serves only the next few indices, while it sits in the
// first-level cache, and need not displace the outer caches' contents
// (measured at 256 MiB: 0.59-0.62 of memcpy against 0.49-0.60 with a plain
// fetch; the same at 4-64 MiB).
template <uint32_t K, bool kStream>
__attribute__((target("sse2"))) inline void gather_lines(char* dk, const char* sk, const ptrdiff_t* off,
                                                         ptrdiff_t count, ptrdiff_t ahead) {
  const ptrdiff_t* const end = off + count;
  if constexpr (K == 4 || K == 8) {
    constexpr ptrdiff_t kLine = 64 / K, kPer = 16 / K;
    if (ahead != 0)
      for (const ptrdiff_t* p = off; p < end; p += kLine) {  // a hint: it may point past ARRAY, and never faults
        const uintptr_t at = reinterpret_cast<uintptr_t>(sk) + static_cast<uintptr_t>(ahead + *p);
        _mm_prefetch(reinterpret_cast<const char*>(at), _MM_HINT_NTA);
      }
    if constexpr (kStream)
      for (; off != end && (reinterpret_cast<uintptr_t>(dk) & 15) != 0; ++off, dk += K)
        Mover<K>::one(dk, sk + *off, K);
    for (; end - off >= 2 * kPer; off += 2 * kPer, dk += 32) {
      store16<kStream>(dk, gather16<K>([&](int j) { return sk + off[j]; }));
      store16<kStream>(dk + 16, gather16<K>([&](int j) { return sk + off[kPer + j]; }));
    }
    if (end - off >= kPer) {
      store16<kStream>(dk, gather16<K>([&](int j) { return sk + off[j]; }));
      off += kPer;
      dk += 16;
    }
  }
  for (; off != end; ++off, dk += K) Mover<K>::one(dk, sk + *off, K);
}

// `count` contiguous result elements (K bytes each) set to the element at
// `value`: 4- and 8-byte ones 16 bytes at a time, streamed past the caches
// with kStream as in gather_lines (dk K-aligned).
template <uint32_t K, bool kStream>
__attribute__((target("sse2"))) inline void fill_lines(char* dk, const char* value, ptrdiff_t count) {
  if constexpr (K == 4 || K == 8) {
    constexpr ptrdiff_t kPer = 16 / K;
    if constexpr (kStream)
      for (; count > 0 && (reinterpret_cast<uintptr_t>(dk) & 15) != 0; --count, dk += K) Mover<K>::one(dk, value, K);
    const __m128i v = gather16<K>([&](int) { return value; });
    for (; count >= kPer; count -= kPer, dk += 16) store16<kStream>(dk, v);
  }
  Mover<K>::fill(dk, K, value, count, K);
}

// fill_lines unstreamed, 32 bytes a store (AVX2): a 256 KiB EOSHIFT fills a
// third of its result, and 16-byte stores filled cached lines at a third
// of the rate of 32-byte ones.
template <uint32_t K>
[[gnu::target("avx2")]] inline void fill_lines_wide(char* dk, const char* value, ptrdiff_t count) {
  static_assert(K == 4 || K == 8);
  constexpr ptrdiff_t kPer = 32 / K;
  const __m256i v = _mm256_broadcastsi128_si256(gather16<K>([&](int) { return value; }));
  for (; count >= kPer; count -= kPer, dk += 32) store32<false>(dk, v);
  fill_lines<K, false>(dk, value, count);
}

// Indices k to k + 3 of `count` lines of 8-byte elements as gather_lines
// (not streamed), when ARRAY's columns lie as far apart as the result's
// (`rs`): each line's offset is loaded once for the four indices, four
// lines' elements built into 32-byte stores. Kernel alone, REAL*8 lines
// with seven shifts in turn, columns 2 KiB apart (in the second-level
// cache): 0.52-0.53 of memcpy against 0.46-0.47 index by index; columns
// 4 KiB apart or more fall in too few first-level cache sets (0.45 against
// 0.57-0.60), so move_tile uses it for columns less than 4 KiB apart only.
// The element at p in the low half of a vector, and into the high half of v
// (a load and a load-merge: gather16's two loads and an interleave made a
// 256 KiB CSHIFT 0.33 of memcpy against 0.39 so).
[[gnu::target("sse2"), gnu::always_inline]] inline __m128d low8(const char* p) {
  return _mm_load_sd(reinterpret_cast<const double*>(p));
}
[[gnu::target("sse2"), gnu::always_inline]] inline __m128d high8(__m128d v, const char* p) {
  return _mm_loadh_pd(v, reinterpret_cast<const double*>(p));
}

[[gnu::target("avx2")]] inline void gather_quads(char* dk, const char* sk, const ptrdiff_t* off, ptrdiff_t count,
                                                 ptrdiff_t rs) {
  const ptrdiff_t r2 = 2 * rs, r3 = 3 * rs;
  const ptrdiff_t* const end = off + count;
  for (; end - off >= 4; off += 4, dk += 32) {
    const char* q = sk + off[0];
    __m128d a0 = low8(q), a1 = low8(q + rs), a2 = low8(q + r2), a3 = low8(q + r3);
    q = sk + off[1];
    a0 = high8(a0, q), a1 = high8(a1, q + rs), a2 = high8(a2, q + r2), a3 = high8(a3, q + r3);
    q = sk + off[2];
    __m128d b0 = low8(q), b1 = low8(q + rs), b2 = low8(q + r2), b3 = low8(q + r3);
    q = sk + off[3];
    b0 = high8(b0, q), b1 = high8(b1, q + rs), b2 = high8(b2, q + r2), b3 = high8(b3, q + r3);
    _mm256_storeu_pd(reinterpret_cast<double*>(dk), _mm256_insertf128_pd(_mm256_castpd128_pd256(a0), b0, 1));
    _mm256_storeu_pd(reinterpret_cast<double*>(dk + rs), _mm256_insertf128_pd(_mm256_castpd128_pd256(a1), b1, 1));
    _mm256_storeu_pd(reinterpret_cast<double*>(dk + r2), _mm256_insertf128_pd(_mm256_castpd128_pd256(a2), b2, 1));
    _mm256_storeu_pd(reinterpret_cast<double*>(dk + r3), _mm256_insertf128_pd(_mm256_castpd128_pd256(a3), b3, 1));
  }
  for (; off != end; ++off, dk += 8)
    for (ptrdiff_t j = 0; j < r3 + rs; j += rs) Mover<8>::one(dk + j, sk + *off + j, 8);
}

// Stretches of at least this many indices move merged groups: planning a
// tile's groups (plan_merges) costs about as much as gathering one index
// of it, so at most a sixteenth more. Measured on 8-byte elements (256 KiB
// to 4 MiB), a group of one source moved 1.7-2.4 times as fast as the
// gather, of two 1.1-1.9 times, of three 0.8-1.45 times and of seven
// 0.5-0.8 times (each source is a 64-byte load; the lower figures where
// ARRAY's columns are not 64-byte aligned): kMergeSources is 2. Blending two
// sources from plain AVX2 loads, 32 bytes at a time, was as fast in a bare
// loop but 0.85 times as fast in these tiles.
inline constexpr int64_t kMergeStretch = 16;

// `merged` with the lanes of source j of a merged group loaded.
template <uint32_t K>
[[gnu::target("avx512f,avx512bw,avx512vl"), gnu::always_inline]] inline __m512i merge_source(
    __m512i merged, const char* s, const MergeGroup& g, int j) {
  if constexpr (K == 8) return _mm512_mask_loadu_epi64(merged, static_cast<__mmask8>(g.mask[j]), s + g.at[j]);
  return _mm512_mask_loadu_epi32(merged, g.mask[j], s + g.at[j]);
}

// One merged group at index k: `s` is ARRAY's address of the index (line 0
// of the tile), `d` the group's result. Lanes of another source are never
// read (masked loads); one source is a plain 64-byte copy. Streamed with
// kStream (d 64-byte aligned); `ahead` as in gather_lines.
template <uint32_t K, bool kStream>
[[gnu::target("avx512f,avx512bw,avx512vl"), gnu::always_inline]] inline void merge_group(
    char* d, const char* s, const MergeGroup& g, ptrdiff_t ahead) {
  static_assert(kMergeSources == 2);
  if (ahead != 0)
    for (int j = 0; j < g.count; ++j) _mm_prefetch(s + ahead + g.at[j], _MM_HINT_NTA);
  if (g.count == 1) {  // two 32-byte halves: 1.1-1.2 times as fast as one 64-byte move (256 KiB-1 MiB)
    const __m256i lo = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + g.at[0]));
    const __m256i hi = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + g.at[0] + 32));
    if constexpr (kStream) {
      _mm256_stream_si256(reinterpret_cast<__m256i*>(d), lo);
      _mm256_stream_si256(reinterpret_cast<__m256i*>(d + 32), hi);
    } else {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), lo);
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + 32), hi);
    }
    return;
  }
  const __m512i r = merge_source<K>(merge_source<K>(_mm512_setzero_si512(), s, g, 0), s, g, 1);
  store64<kStream>(d, r);
}

// Index k of a from_array run with merged groups (plan_merges): its head
// lines gathered, its groups merged or gathered, the rest gathered. `dk`,
// `sk` and `off` are the tile's result and ARRAY addresses at the index and
// its ARRAY offsets. Each group holds its own places, so that the loop steps
// one pointer and keeps it in registers (stepping a pointer per array
// spilled them to the stack, and the stores waited on the reloads).
template <uint32_t K, bool kStream>
[[gnu::target("avx512f,avx512bw,avx512vl")]] inline void merge_run(char* dk, const char* sk, const ptrdiff_t* off,
                                                                   const TileRun& run, const MergeGroup* g,
                                                                   ptrdiff_t ahead) {
  constexpr int32_t kLanes = 64 / K;
  gather_lines<K, kStream>(dk + run.first * K, sk, off + run.first, run.head, ahead);
  const MergeGroup* const last = g + run.groups;
  for (; g != last; ++g) {
    if (g->count != 0) {
      merge_group<K, kStream>(dk + g->line * K, sk, *g, ahead);
    } else {
      gather_lines<K, kStream>(dk + g->line * K, sk, off + g->line, kLanes, ahead);
    }
  }
  const int32_t rest = run.first + run.head + run.groups * kLanes;
  gather_lines<K, kStream>(dk + rest * K, sk, off + rest, run.first + run.count - rest, ahead);
}

// The columns of a group of 64 / K lines whose ARRAY offsets are off[0 ..]
// (line l's less l * K is its column's): m's sources and masks, or count 0
// for more than two columns. Lanes compared all at once: a loop over the
// lines, its tests mispredicted where neighbours read different columns,
// was a tenth of a 256 KiB shift in runs of equal shifts.
template <uint32_t K>
[[gnu::target("avx512f,avx512bw,avx512vl"), gnu::always_inline]] inline void group_sources(const ptrdiff_t* off,
                                                                                      MergeGroup& m) {
  static_assert(sizeof(ptrdiff_t) == 4 && kMergeSources == 2);
  constexpr uint32_t kAll = (1u << (64 / K)) - 1;
  uint32_t mask0, mask1 = 0;
  int32_t at1 = 0;
  if constexpr (K == 8) {
    const __m256i at = _mm256_sub_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(off)),
                                        _mm256_setr_epi32(0, 8, 16, 24, 32, 40, 48, 56));
    mask0 = _mm256_cmpeq_epi32_mask(at, _mm256_set1_epi32(off[0]));
    if (mask0 != kAll) {
      const int l = __builtin_ctz(~mask0);
      at1 = static_cast<int32_t>(off[l] - l * 8);
      mask1 = _mm256_cmpeq_epi32_mask(at, _mm256_set1_epi32(at1));
    }
  } else {
    const __m512i at = _mm512_sub_epi32(
        _mm512_loadu_si512(off), _mm512_setr_epi32(0, 4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 44, 48, 52, 56, 60));
    mask0 = _mm512_cmpeq_epi32_mask(at, _mm512_set1_epi32(off[0]));
    if (mask0 != kAll) {
      const int l = __builtin_ctz(~mask0);
      at1 = static_cast<int32_t>(off[l] - l * 4);
      mask1 = _mm512_cmpeq_epi32_mask(at, _mm512_set1_epi32(at1));
    }
  }
  m.at[0] = static_cast<int32_t>(off[0]);
  m.at[1] = at1;
  m.mask[0] = static_cast<uint16_t>(mask0);
  m.mask[1] = static_cast<uint16_t>(mask1);
  m.count = (mask0 | mask1) != kAll ? 0 : mask1 != 0 ? 2 : 1;
}

// Plans the from_array runs of a stretch as merged groups (every run's
// `groups` 0 where none merges). The run's lines are contiguous in the
// result and in ARRAY (their ARRAY offsets less the line's own place, line
// b's at b * K, are the column offsets). With `align` (rs a multiple of 64:
// required for streamed results) the groups start at the result's 64-byte
// boundaries (`dst`: the tile's result at index 0), `head` lines gathered
// before them: a 64-byte store across two cache lines costs the merge most
// of its gain. AVX-512 only (move_tile's `merge`), so that group_sources is
// inlined: a call per group was a thirtieth of a 256 KiB CSHIFT in which no
// group merges.
template <uint32_t K>
[[gnu::target("avx512f,avx512bw,avx512vl")]] void plan_merges(TileSpace& space, int64_t runs, const char* dst,
                                                              bool align) {
  constexpr int32_t kLanes = 64 / K;
  int32_t next = 0;
  for (int64_t r = 0; r < runs; ++r) {
    TileRun& run = space.run[r];
    run.groups = 0;
    if (run.from.kind != TilePhase::from_array) continue;
    const uintptr_t at = reinterpret_cast<uintptr_t>(dst + run.first * K);
    const int32_t head = align ? static_cast<int32_t>((-at & 63) / K) : 0;
    const int32_t groups = run.count > head ? (run.count - head) / kLanes : 0;
    bool any = false;
    for (int32_t g = 0; g < groups; ++g) {
      MergeGroup& m = space.group[next + g];
      m.line = run.first + head + g * kLanes;
      group_sources<K>(space.off + m.line, m);
      any = any || m.count != 0;
    }
    if (!any) continue;
    run.group0 = next;
    run.groups = static_cast<int16_t>(groups);
    run.head = static_cast<int16_t>(head);
    next += groups;
  }
}

// A tile of at most this many elements moves line by line, each phase of a
// line as one strided run: all of it is in the first-level cache anyway, and
// the line-by-line order needs no set-up. A stretch of fewer than
// kShortStretch indices in which lines of different kinds meet (EOSHIFT's
// lines entering the boundary one after another) moves element by element:
// its runs of neighbouring lines are short, and merging them anew for a few
// indices costs more than it saves.
inline constexpr int64_t kSmallTile = 4096;
inline constexpr int64_t kShortStretch = 8;

// The `count` lines of a small tile, line by line (result line b at dst +
// b * r0, its element k at + k * rs; ARRAY's at src + k * as + off), each
// phase a strided run: 8-byte elements through SSE2 registers with kSse2
// (one load and one store each, where the plain form moves two words), in
// 32-bit counts and steps (lines and indices fit 32 bits).
// `len` 8-byte elements from s (byte stride ss; 0 repeats one) to d (byte
// stride ds) through an SSE2 register.
__attribute__((target("sse2"))) inline void strided8(char* d, ptrdiff_t ds, const char* s, ptrdiff_t ss,
                                                     int32_t len) {
  for (; len > 0; --len, d += ds, s += ss) _mm_storel_epi64(reinterpret_cast<__m128i*>(d), load_low<8>(s));
}

template <uint32_t K, bool kSse2>
[[gnu::always_inline]] inline void by_line_body(char* dst, ptrdiff_t r0, ptrdiff_t rs, const char* src,
                                                ptrdiff_t as, int64_t n, const TileLine* line, int64_t count,
                                                uint32_t bytes, unsigned char fill) {
  const int32_t n32 = static_cast<int32_t>(n);
  for (const TileLine* const end = line + count; line != end; ++line, dst += r0) {
    const int32_t start[4] = {0, line->p1, line->p2, n32};
    for (int q = 0; q < 3; ++q) {
      const int32_t from = start[q], len = std::min(start[q + 1], n32) - from;
      if (len <= 0) continue;
      const TilePhase& p = line->phase[q];
      char* d = dst + from * rs;
      if (p.kind == TilePhase::from_array) {
        const char* s = src + from * as + p.off;
        if constexpr (kSse2 && K == 8) {
          strided8(d, rs, s, as, len);
        } else {
          Mover<K>::line(d, rs, s, as, len, bytes);
        }
      } else if (p.kind == TilePhase::fixed_value) {
        if constexpr (kSse2 && K == 8) {
          strided8(d, rs, p.element, 0, len);
        } else {
          Mover<K>::fill(d, rs, p.element, len, bytes);
        }
      } else {
        for (int32_t k = len; k > 0; --k, d += rs) std::memset(d, fill, bytes);
      }
    }
  }
}

template <uint32_t K>
__attribute__((target("sse2"))) void move_tile_by_line_sse2(char* dst, ptrdiff_t r0, ptrdiff_t rs, const char* src,
                                                            ptrdiff_t as, int64_t n, const TileLine* line,
                                                            int64_t count, uint32_t bytes, unsigned char fill) {
  by_line_body<K, true>(dst, r0, rs, src, as, n, line, count, bytes, fill);
}

template <uint32_t K>
void move_tile_by_line(char* dst, ptrdiff_t r0, ptrdiff_t rs, const char* src, ptrdiff_t as, int64_t n,
                       const TileLine* line, int64_t count, uint32_t bytes, unsigned char fill) {
  by_line_body<K, false>(dst, r0, rs, src, as, n, line, count, bytes, fill);
}

// A line's phase at index k (0 before p1, 1 before p2, else 2), without
// branches: neighbouring lines change phase at unrelated indices.
[[gnu::always_inline]] inline int phase_at(const TileLine& l, int32_t k) {
  return (k >= l.p1) * (1 + (k >= l.p2));
}

// Line b of a tile, whose phase ends at index k, takes the source of its
// phase at k (`regroup` set when its kind of source changes); returns its
// phase.
[[gnu::always_inline]] inline int take_phase(TileSpace& space, ptrdiff_t b, int32_t k, bool& regroup) {
  const TileLine& l = space.line[b];
  const int q = phase_at(l, k);
  const TilePhase& p = l.phase[q];
  const TilePhase& was = l.phase[space.phase[b]];
  regroup |= (p.kind != was.kind) | (p.kind == TilePhase::fixed_value && p.element != was.element);
  space.phase[b] = static_cast<uint8_t>(q);
  space.off[b] = p.off;
  return q;
}

// take_phase, and the index where the new phase ends (at most n).
[[gnu::always_inline]] inline int32_t next_phase(TileSpace& space, ptrdiff_t b, int32_t k, int32_t n,
                                                 bool& regroup) {
  const TileLine& l = space.line[b];
  const int q = take_phase(space, b, k, regroup);
  const int32_t next = q == 0 ? l.p1 : q == 1 ? l.p2 : n;
  space.next[b] = next;
  return next;
}

// Brings a tile to the stretch that starts at index k: the lines whose
// phase changes at k (every line at k = 0, as the tile starts with next
// and phase 0) take their new source (ARRAY offset in space.off). Returns
// the index where the stretch ends, the first index > k where some line
// changes phase (at most n); `regroup` becomes true when some line's kind
// of source changed (the runs are stale). Lines and indices fit 32 bits.
inline int64_t tile_stretch(TileSpace& space, int64_t count, int64_t k, int64_t n, bool& regroup) {
  const int32_t k32 = static_cast<int32_t>(k), n32 = static_cast<int32_t>(n);
  int32_t end = n32;
  for (ptrdiff_t b = 0, c = static_cast<ptrdiff_t>(count); b < c; ++b) {
    const int32_t next = space.next[b] <= k32 ? next_phase(space, b, k32, n32, regroup) : space.next[b];
    end = next < end ? next : end;
  }
  return end;
}

// Lists every line's phase changes at indices 1 .. n-1 by index, so that a
// tile of short lines (n <= kEventIndices) finds each stretch's lines and
// end without a pass over all its lines per stretch (tile_stretch): a
// tenth to a fifth of a 64-256 KiB shift, each line's test mispredicted
// where neighbouring lines change at different indices.
inline void plan_events(TileSpace& space, int64_t count, int64_t n) {
  std::memset(space.changes_at, 0xFF, static_cast<size_t>(n + 1) * sizeof space.changes_at[0]);
  const int32_t n32 = static_cast<int32_t>(n);
  const auto add = [&](int32_t k, int e) {
    space.then[e] = space.changes_at[k];
    space.changes_at[k] = static_cast<int16_t>(e);
  };
  for (int b = 0, c = static_cast<int>(count); b < c; ++b) {
    const TileLine& l = space.line[b];
    if (l.p1 > 0 && l.p1 < n32) add(l.p1, 2 * b);
    if (l.p2 > l.p1 && l.p2 > 0 && l.p2 < n32) add(l.p2, 2 * b + 1);
  }
}

// tile_stretch from the lists of plan_events.
inline int64_t events_stretch(TileSpace& space, int64_t count, int64_t k, int64_t n, bool& regroup) {
  const int32_t k32 = static_cast<int32_t>(k), n32 = static_cast<int32_t>(n);
  if (k32 == 0) {  // the tile's first stretch: its runs are planned anew
    for (ptrdiff_t b = 0, c = static_cast<ptrdiff_t>(count); b < c; ++b) {
      const TileLine& l = space.line[b];
      const int q = phase_at(l, 0);
      space.phase[b] = static_cast<uint8_t>(q);
      space.off[b] = l.phase[q].off;
    }
  } else {
    for (int e = space.changes_at[k32]; e >= 0; e = space.then[e]) take_phase(space, e >> 1, k32, regroup);
  }
  int32_t end = k32 + 1;
  while (end < n32 && space.changes_at[end] < 0) ++end;
  return end;
}

// Merges the lines of a tile into runs of neighbours with the same kind of
// source in their current phase (space.run); returns how many. The open
// run's source and first line stay in registers (counting in the table
// chained a store and a reload per line).
inline int64_t tile_runs(TileSpace& space, int64_t count) {
  const int32_t c = static_cast<int32_t>(count);
  int32_t r = 0, first = 0;
  TilePhase from = space.line[0].phase[space.phase[0]];
  for (int32_t b = 1; b < c; ++b) {
    const TilePhase& p = space.line[b].phase[space.phase[b]];
    if (p.kind == from.kind && (p.kind != TilePhase::fixed_value || p.element == from.element)) continue;
    space.run[r++] = {first, b - first, from, 0, 0, 0};
    first = b;
    from = p;
  }
  space.run[r++] = {first, c - first, from, 0, 0, 0};
  return r;
}

// Indices k .. end-1 of a tile element by element, each from its line's
// phase (move_tile_body's arguments), without a branch on the phase's kind:
// the source is bases[kind] + the phase's offset, where ARRAY's lines take
// the index's ARRAY address plus their offset, a boundary value its own
// address (bases[fixed_value] 0), and fill bytes a K-byte element of them
// (their offset 0). Neighbouring lines enter EOSHIFT's boundary at
// different indices: a test of each line's kind, mispredicted, made these
// few indices a sixth of a 256 KiB EOSHIFT. With kSse2, 4- and 8-byte
// elements of a contiguous result are stored 16 bytes at a time.
// Line b's source in move_short.
[[gnu::always_inline]] inline const char* short_source(const TileSpace& space, ptrdiff_t b, const uintptr_t* bases) {
  const TilePhase& p = space.line[b].phase[space.phase[b]];
  return reinterpret_cast<const char*>(bases[p.kind] + static_cast<uintptr_t>(p.off));
}

// move_short's lines of one index, 16 bytes at a time (4- or 8-byte
// elements, contiguous result); returns how many it moved.
template <uint32_t K>
__attribute__((target("sse2"))) inline ptrdiff_t short_pairs(char* d, const TileSpace& space, ptrdiff_t count,
                                                             const uintptr_t* bases) {
  constexpr ptrdiff_t kPer = 16 / K;
  ptrdiff_t b = 0;
  for (; count - b >= kPer; b += kPer, d += 16)
    store16<false>(d, gather16<K>([&](int j) { return short_source(space, b + j, bases); }));
  return b;
}

template <uint32_t K, bool kSse2>
[[gnu::always_inline]] inline void move_short(char* dst, ptrdiff_t r0, ptrdiff_t rs, const char* src, ptrdiff_t as,
                                              int64_t k, int64_t end, const TileSpace& space, ptrdiff_t count,
                                              unsigned char fill) {
  static_assert(TilePhase::from_array == 0 && TilePhase::fixed_value == 1 && TilePhase::fill_bytes == 2);
  char fill_element[K];
  std::memset(fill_element, fill, K);
  uintptr_t bases[3] = {0, 0, reinterpret_cast<uintptr_t>(fill_element)};
  for (; k < end; ++k) {
    char* d = dst + k * rs;
    bases[0] = reinterpret_cast<uintptr_t>(src + k * as);
    ptrdiff_t b = 0;
    if constexpr (kSse2 && (K == 4 || K == 8)) {
      if (r0 == static_cast<ptrdiff_t>(K)) {
        b = short_pairs<K>(d, space, count, bases);
        d += b * K;
      }
    }
    for (; b < count; ++b, d += r0) Mover<K>::one(d, short_source(space, b, bases), K);
  }
}

// Moves one tile of `count` lines (TileLine per line; result line b at
// dst + b * r0, its element k at + k * rs; ARRAY's at src + k * as + off).
// A fill phase stores `fill` in every byte. Always inlined into the two
// forms below, so that it is compiled with and without SSE2 moves. With
// `merge` (4- or 8-byte elements whose lines are contiguous in the result
// and in ARRAY, AVX-512) the long stretches move merged groups (merge_run).
template <uint32_t K, bool kStream, bool kSse2>
[[gnu::always_inline]] inline void move_tile_body(char* dst, ptrdiff_t r0, ptrdiff_t rs, const char* src,
                                                  ptrdiff_t as, int64_t n, TileSpace& space,
                                                  int64_t count, uint32_t bytes, unsigned char fill,
                                                  bool prefetch, bool merge, bool quads, bool wide) {
  const ptrdiff_t ahead = prefetch ? static_cast<ptrdiff_t>(kFetchAhead * as) : 0;
  const bool packed = K != 0 && r0 == static_cast<ptrdiff_t>(K);  // result lines contiguous
  int64_t runs = 0;
  bool regroup = true;
  const bool events = n <= kEventIndices;
  if (events) {
    plan_events(space, count, n);
  } else {
    std::memset(space.next, 0, static_cast<size_t>(count) * sizeof space.next[0]);
    std::memset(space.phase, 0, static_cast<size_t>(count));
  }
  for (int64_t k = 0; k < n;) {
    const int64_t end = events ? events_stretch(space, count, k, n, regroup) : tile_stretch(space, count, k, n, regroup);
    if (regroup && end - k < kShortStretch) {  // element by element, each from its line's phase
      if constexpr (K != 0) {
        move_short<K, kSse2>(dst, r0, rs, src, as, k, end, space, static_cast<ptrdiff_t>(count), fill);
        k = end;
        continue;
      }
      for (; k < end; ++k) {
        char* d = dst + k * rs;
        const char* sk = src + k * as;
        for (int64_t b = 0; b < count; ++b, d += r0) {
          const TilePhase& p = space.line[b].phase[space.phase[b]];
          if (p.kind == TilePhase::from_array) {
            Mover<K>::one(d, sk + space.off[b], bytes);
          } else if (p.kind == TilePhase::fixed_value) {
            Mover<K>::one(d, p.element, bytes);
          } else {
            std::memset(d, fill, bytes);
          }
        }
      }
      continue;
    }
    if (regroup) runs = tile_runs(space, count);
    regroup = false;
    bool merging = false;
    if constexpr (kSse2 && (K == 4 || K == 8)) {
      merging = merge && end - k >= kMergeStretch;
      if (merging) plan_merges<K>(space, runs, dst, (rs & 63) == 0);
    }
    if constexpr (kSse2 && K == 8 && !kStream) {  // a single run gathered: four indices at a time
      if (quads && runs == 1 && space.run[0].from.kind == TilePhase::from_array && !(merging && space.run[0].groups != 0))
        for (; end - k >= 4; k += 4) gather_quads(dst + k * rs, src + k * as, space.off, count, rs);
    }
    for (; k < end; ++k) {
      char* dk = dst + k * rs;
      const char* sk = src + k * as;
      for (int64_t r = 0; r < runs; ++r) {
        const TileRun& run = space.run[r];
        const ptrdiff_t* off = space.off + run.first;
        char* d = dk + run.first * r0;
        if (run.from.kind == TilePhase::from_array) {
          if constexpr (kSse2 && (K == 4 || K == 8)) {
            if (merging && run.groups != 0) {
              merge_run<K, kStream>(dk, sk, space.off, run, space.group + run.group0, ahead);
              continue;
            }
          }
          if constexpr (kSse2) {
            if (packed) {
              gather_lines<K, kStream>(d, sk, off, run.count, ahead);
              continue;
            }
          }
          for (int32_t i = 0; i < run.count; ++i, d += r0) Mover<K>::one(d, sk + off[i], bytes);
        } else if (run.from.kind == TilePhase::fixed_value) {
          if constexpr (kSse2) {
            if constexpr (!kStream && (K == 4 || K == 8)) {
              if (packed && wide) {
                fill_lines_wide<K>(d, run.from.element, run.count);
                continue;
              }
            }
            if (packed) {
              fill_lines<K, kStream>(d, run.from.element, run.count);
              continue;
            }
          }
          Mover<K>::fill(d, r0, run.from.element, run.count, bytes);
        } else if (packed) {
          std::memset(d, fill, static_cast<size_t>(run.count) * K);
        } else {
          for (int32_t i = 0; i < run.count; ++i, d += r0) std::memset(d, fill, bytes);
        }
      }
    }
  }
}

template <uint32_t K, bool kStream>
__attribute__((target("sse2"))) void move_tile_sse2(char* dst, ptrdiff_t r0, ptrdiff_t rs,
                                                    const char* src, ptrdiff_t as, int64_t n,
                                                    TileSpace& space, int64_t count,
                                                    uint32_t bytes, unsigned char fill, bool prefetch,
                                                    bool merge, bool quads, bool wide) {
  move_tile_body<K, kStream, true>(dst, r0, rs, src, as, n, space, count, bytes, fill, prefetch, merge, quads,
                                   wide);
  if constexpr (kStream) _mm_sfence();
}

template <uint32_t K>
void move_tile_plain(char* dst, ptrdiff_t r0, ptrdiff_t rs, const char* src, ptrdiff_t as, int64_t n,
                     TileSpace& space, int64_t count, uint32_t bytes, unsigned char fill) {
  move_tile_body<K, false, false>(dst, r0, rs, src, as, n, space, count, bytes, fill, false, false, false, false);
}

// Bands of lines. Where the result's lines and ARRAY's are contiguous (4-
// or 8-byte elements, AVX-512), 64 bytes of neighbouring lines (a band: 8
// lines of 8-byte elements, 16 of 4-byte ones) whose shifts span w <= 7
// consecutive values smin .. smin + w - 1 read, at index k, only the w
// ARRAY columns k + smin .. k + smin + w - 1 of the band. The band keeps
// these w 64-byte column slices in registers while k advances: per 64
// result bytes one slice is loaded (the column entering the window), the
// lanes of each line picked from the slice of its shift by w - 1 masked
// blends (masks fixed for the band), and 64 bytes stored. The loop is
// unrolled w times, so that the window turns by renaming the registers.
// A band reads column c at the offset columns[c] from its ARRAY address:
// c mod n times ARRAY's stride along DIM for CSHIFT; for EOSHIFT the same
// within 0 .. n-1, and outside it the tile's buffer of boundary values,
// laid out 64 bytes a band at ARRAY's band spacing, so that one table
// serves every band of the tile. Loads, blends and stores only: every bit
// pattern passes.
//
// The indices are walked in chunks of kBandChunk over all bands of the
// tile: with columns a power of two apart, walking one band along all n
// indices puts every slice it reads and every 64 bytes it writes in the
// same one or two first-level cache sets, and the misses do not overlap;
// a short chunk spreads them over the bands, at w - 1 slices reloaded per
// band and chunk. (Measured stand-alone at 256 KiB: chunks of 7 0.46 of
// memcpy, 14 0.57, 21 0.59, 28 0.50, whole lines 0.50-0.53. In the tiles:
// 14 within 0.05 of 21 either way from 64 KiB to 16 MiB, 32 lost at 4 MiB,
// 0.58 against 0.80; chunks of equal length, the last no shorter, gained
// nothing.)
//
// At 256 KiB (256 lines of 128 REAL*8, columns 2 KiB apart, everything in
// the second-level cache) the kernel's stores limit it. Measured on the
// kernel alone, ratio to memcpy: with its loads served from the first-level
// cache 0.55-0.62, with its stores kept there 0.58-0.86, both 0.78-0.96
// (six blends per 64 bytes of a band of seven shifts, two a cycle), neither
// 0.58-0.70; stores alone in a chunk's order, 64 bytes per band and column,
// 0.87-0.91 against 1.26 in sequence, 1.08 two neighbouring lines at a time
// (band_pair_kernel), 1.14 four. Where ARRAY lies off the result's 64-byte
// boundaries (heap blocks do: the benchmark's ARRAY is 16 bytes off) every
// slice load spans two lines: 0.46-0.52 against 0.58-0.70 aligned.
// Measured and lost: fetching the next band's slices (prefetcht0) or result
// lines (prefetchw) one or two bands ahead, 0.52-0.63 against 0.70, also
// with chunks of 10 to 128; bands in descending order; loads of aligned
// lines joined by valignd (a kernel per offset, 47 KB of code): +0-15%
// alone, within 0.03 either way in the tiles; results written to a buffer
// in the first-level cache and copied out in runs of 2, 4 or 8 bands or
// whole columns, 0.35-0.51 against 0.46-0.59; streamed stores 0.27; all
// the bands of a chunk in one call (the window primed in the loop), +5-10%
// alone, and shorter chunks then gained nothing. A band of seven shifts
// holds all eight vector registers, so bands move two at a time only where
// their windows are short.
inline constexpr int64_t kBandChunk = 21;

// Lines move in bands at every size but where the line gathers (move_tile_
// lines) do better: results of kGatherFromBytes up to kGatherBelowBytes.
// Measured on m x n REAL*8 matrices with seven shifts in each band (runs
// of 16 equal shifts; EOSHIFT), ratio to memcpy, bands against gathers:
// 16 KiB 0.23 against 0.12 (0.33 against 0.12; 0.22 against 0.14),
// 64 KiB 0.41 / 0.35 (0.49 / 0.41; 0.43 / 0.35), 256 KiB 0.45 / 0.37
// (0.55 / 0.50; 0.48 / 0.40), 1 MiB 0.64 / 0.71 (0.68 / 0.81; 0.74 /
// 0.93), 4 MiB 0.80 / 0.59 (0.82 / 0.68; 0.96 / 0.61), 16 MiB 0.81 / 0.34
// (0.71 / 0.44; 0.85 / 0.40), 64 MiB 1.38 / 0.52, 256 MiB even: the
// gathers win only where the result and ARRAY together outgrow the
// second-level cache but not the last-level one, and the gathers' results
// are not yet streamed (kStreamBytes). Tiles with bands hold kTileLines
// lines: each tile's edges cost two masked bands, fewer in fewer tiles (4
// MiB CSHIFT, when the edges went line by line: 0.70 of memcpy in tiles of
// 512 lines, 0.55 in tiles of 256, 0.38 of 128).
inline constexpr int64_t kGatherFromBytes = int64_t{512} << 10;
inline constexpr int64_t kGatherBelowBytes = int64_t{4} << 20;

// Bands of results of at least this many bytes (past the last-level cache)
// are streamed: at 64 MiB 1.15-1.22 of memcpy against 0.73-0.74 stored
// plainly, at 256 MiB even; at 4 and 16 MiB streaming lost (0.56-0.57
// against 0.70-0.72, 0.52 against 0.59).
inline constexpr int64_t kBandStreamBytes = int64_t{32} << 20;

// The paths CSHIFT and EOSHIFT may take, each routine's own: the widest
// instruction set the CPU has but never above `isa` (AVX-512 for the bands
// and merged groups, SSE2 for the gathers and fills), the result sizes
// [gather_from, gather_below) whose lines do not move in bands, and those
// from which bands are streamed. The tests change them to run every path
// with small operands; each is defined in its routine's file, so that a
// test program that sets it takes that routine from the static archive.
struct ShiftPaths {
  PackIsa isa = PackIsa::avx512;
  int64_t gather_from = kGatherFromBytes, gather_below = kGatherBelowBytes;
  int64_t band_stream_bytes = kBandStreamBytes;
};
F90_HIDDEN extern ShiftPaths cshift_paths;
F90_HIDDEN extern ShiftPaths eoshift_paths;

// How a tile's lines end, for move_bands: wrapping round (CSHIFT), in the
// boundary (EOSHIFT), or not moved in bands.
enum class BandEnds : uint8_t { none, wrap, boundary };

// Whether a tile's lines move in bands (move_line_tiles decides for all
// tiles), and their results are streamed past the caches.
struct TileBands {
  BandEnds ends;
  bool stream;
};

// The band kernels, one per window width w: zmm0 .. zmm(w-1) the window
// (slot j the column k + smin + j), k1 .. k(w-1) the lanes of slot j,
// zmm7 the blended result (k7 the lanes of a band at a tile's edge). `t` points at the column table's entry for
// k + smin; the first w - 1 columns are loaded before the loop, each step
// loads the next and stops after `steps` steps.
#define F90_BAND_LD_plain(g) "movl (%[t]), %[x]\n\tvmovdqu64 (%[s],%[x]), %%zmm" #g "\n\taddl $4, %[t]\n\t"
#define F90_BAND_LD_stream(g) F90_BAND_LD_plain(g)
#define F90_BAND_LD_masked(g) \
  "movl (%[t]), %[x]\n\tvmovdqu32 (%[s],%[x]), %%zmm" #g "%{%%k7%}%{z%}\n\taddl $4, %[t]\n\t"
#define F90_BAND_ST_plain(r) "vmovdqu64 %%zmm" #r ", (%[d])\n\t"
#define F90_BAND_ST_stream(r) "vmovntdq %%zmm" #r ", (%[d])\n\t"
#define F90_BAND_ST_masked(r) "vmovdqu32 %%zmm" #r ", (%[d])%{%%k7%}\n\t"
#define F90_BAND_VALID_plain ""
#define F90_BAND_VALID_stream ""
#define F90_BAND_VALID_masked "kmovw %[m7], %%k7\n\t"
#define F90_BAND_LOAD(kd, g) F90_BAND_LD_##kd(g)
#define F90_BAND_MASK(j) "kmovw %[m" #j "], %%k" #j "\n\t"
#define F90_BAND_BASE(a, b) "vpblendmd %%zmm" #b ", %%zmm" #a ", %%zmm7%{%%k1%}\n\t"
#define F90_BAND_BLEND(j, c) "vpblendmd %%zmm" #c ", %%zmm7, %%zmm7%{%%k" #j "%}\n\t"
#define F90_BAND_NEXT(kd, r) F90_BAND_ST_##kd(r) "addl %[rs], %[d]\n\tcmpl %[e], %[t]\n\tjae 2f\n\t"
#define F90_BAND_STEP1(st, a) F90_BAND_LOAD(st, a) F90_BAND_NEXT(st, a)
#define F90_BAND_STEP2(st, a, b) F90_BAND_LOAD(st, b) F90_BAND_BASE(a, b) F90_BAND_NEXT(st, 7)
#define F90_BAND_STEP3(st, a, b, c) F90_BAND_LOAD(st, c) F90_BAND_BASE(a, b) F90_BAND_BLEND(2, c) F90_BAND_NEXT(st, 7)
#define F90_BAND_STEP4(st, a, b, c, d)                                   \
  F90_BAND_LOAD(st, d) F90_BAND_BASE(a, b) F90_BAND_BLEND(2, c) F90_BAND_BLEND(3, d) F90_BAND_NEXT(st, 7)
#define F90_BAND_STEP5(st, a, b, c, d, e)                                                     \
  F90_BAND_LOAD(st, e) F90_BAND_BASE(a, b) F90_BAND_BLEND(2, c) F90_BAND_BLEND(3, d) F90_BAND_BLEND(4, e) \
  F90_BAND_NEXT(st, 7)
#define F90_BAND_STEP6(st, a, b, c, d, e, f)                                                  \
  F90_BAND_LOAD(st, f) F90_BAND_BASE(a, b) F90_BAND_BLEND(2, c) F90_BAND_BLEND(3, d) F90_BAND_BLEND(4, e) \
  F90_BAND_BLEND(5, f) F90_BAND_NEXT(st, 7)
#define F90_BAND_STEP7(st, a, b, c, d, e, f, g)                                               \
  F90_BAND_LOAD(st, g) F90_BAND_BASE(a, b) F90_BAND_BLEND(2, c) F90_BAND_BLEND(3, d) F90_BAND_BLEND(4, e) \
  F90_BAND_BLEND(5, f) F90_BAND_BLEND(6, g) F90_BAND_NEXT(st, 7)
#define F90_BAND_LOOP1(st) F90_BAND_STEP1(st, 0)
#define F90_BAND_LOOP2(st) F90_BAND_STEP2(st, 0, 1) F90_BAND_STEP2(st, 1, 0)
#define F90_BAND_LOOP3(st) F90_BAND_STEP3(st, 0, 1, 2) F90_BAND_STEP3(st, 1, 2, 0) F90_BAND_STEP3(st, 2, 0, 1)
#define F90_BAND_LOOP4(st)                                                             \
  F90_BAND_STEP4(st, 0, 1, 2, 3) F90_BAND_STEP4(st, 1, 2, 3, 0) F90_BAND_STEP4(st, 2, 3, 0, 1) \
  F90_BAND_STEP4(st, 3, 0, 1, 2)
#define F90_BAND_LOOP5(st)                                                                             \
  F90_BAND_STEP5(st, 0, 1, 2, 3, 4) F90_BAND_STEP5(st, 1, 2, 3, 4, 0) F90_BAND_STEP5(st, 2, 3, 4, 0, 1) \
  F90_BAND_STEP5(st, 3, 4, 0, 1, 2) F90_BAND_STEP5(st, 4, 0, 1, 2, 3)
#define F90_BAND_LOOP6(st)                                                                     \
  F90_BAND_STEP6(st, 0, 1, 2, 3, 4, 5) F90_BAND_STEP6(st, 1, 2, 3, 4, 5, 0)                    \
  F90_BAND_STEP6(st, 2, 3, 4, 5, 0, 1) F90_BAND_STEP6(st, 3, 4, 5, 0, 1, 2)                    \
  F90_BAND_STEP6(st, 4, 5, 0, 1, 2, 3) F90_BAND_STEP6(st, 5, 0, 1, 2, 3, 4)
#define F90_BAND_LOOP7(st)                                                                     \
  F90_BAND_STEP7(st, 0, 1, 2, 3, 4, 5, 6) F90_BAND_STEP7(st, 1, 2, 3, 4, 5, 6, 0)              \
  F90_BAND_STEP7(st, 2, 3, 4, 5, 6, 0, 1) F90_BAND_STEP7(st, 3, 4, 5, 6, 0, 1, 2)              \
  F90_BAND_STEP7(st, 4, 5, 6, 0, 1, 2, 3) F90_BAND_STEP7(st, 5, 6, 0, 1, 2, 3, 4)              \
  F90_BAND_STEP7(st, 6, 0, 1, 2, 3, 4, 5)
#define F90_BAND_SETUP1(st) F90_BAND_VALID_##st
#define F90_BAND_SETUP2(st) F90_BAND_SETUP1(st) F90_BAND_MASK(1) F90_BAND_LOAD(st, 0)
#define F90_BAND_SETUP3(st) F90_BAND_SETUP2(st) F90_BAND_MASK(2) F90_BAND_LOAD(st, 1)
#define F90_BAND_SETUP4(st) F90_BAND_SETUP3(st) F90_BAND_MASK(3) F90_BAND_LOAD(st, 2)
#define F90_BAND_SETUP5(st) F90_BAND_SETUP4(st) F90_BAND_MASK(4) F90_BAND_LOAD(st, 3)
#define F90_BAND_SETUP6(st) F90_BAND_SETUP5(st) F90_BAND_MASK(5) F90_BAND_LOAD(st, 4)
#define F90_BAND_SETUP7(st) F90_BAND_SETUP6(st) F90_BAND_MASK(6) F90_BAND_LOAD(st, 5)
#define F90_BAND_ASM(setup, loop)                                                                          \
  asm volatile(setup "1:\n\t" loop "jmp 1b\n2:\n\tvzeroupper\n\t"                                          \
               : [d] "+r"(d), [t] "+r"(t), [x] "=&r"(x)                                                    \
               : [s] "r"(s), [rs] "m"(rs), [e] "m"(end), [m1] "m"(m[0]), [m2] "m"(m[1]), [m3] "m"(m[2]), \
                 [m4] "m"(m[3]), [m5] "m"(m[4]), [m6] "m"(m[5]), [m7] "m"(m[6])                            \
               : "memory", "cc", "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7", "k1", "k2", \
                 "k3", "k4", "k5", "k6", "k7")
#define F90_BAND_WIDTH(w)                                                 \
  if constexpr (W == w) {                                                 \
    if constexpr (kStore == BandStore::plain) {                           \
      F90_BAND_ASM(F90_BAND_SETUP##w(plain), F90_BAND_LOOP##w(plain));    \
    } else if constexpr (kStore == BandStore::stream) {                   \
      F90_BAND_ASM(F90_BAND_SETUP##w(stream), F90_BAND_LOOP##w(stream));  \
    } else {                                                              \
      F90_BAND_ASM(F90_BAND_SETUP##w(masked), F90_BAND_LOOP##w(masked));  \
    }                                                                     \
  }

// `steps` (>= 1) indices of one band of window width W: the result's 64
// bytes at d, rs bytes apart, the band's ARRAY at s, the column table at
// its entry for the first index, the lanes of slots 1 .. W-1 in m[0 ..
// W-2]. kStore: plain stores; streamed (d and rs multiples of 64); or, for
// a band at a tile's edge, only the lanes of m[6] loaded and stored (the
// others may lie outside ARRAY and belong to other tiles' results).
enum class BandStore : uint8_t { plain, stream, masked };
template <int W, BandStore kStore>
[[gnu::target("avx512f")]] void band_kernel(char* d, ptrdiff_t rs, const char* s, const int32_t* t, ptrdiff_t steps,
                                            const uint16_t* m) {
  static_assert(W >= 1 && W <= kBandWindow && kBandWindow == 7);
  const int32_t* const end = t + (W - 1) + steps;
  ptrdiff_t x;
  F90_BAND_WIDTH(1) F90_BAND_WIDTH(2) F90_BAND_WIDTH(3) F90_BAND_WIDTH(4) F90_BAND_WIDTH(5) F90_BAND_WIDTH(6)
  F90_BAND_WIDTH(7)
}

// Two neighbouring whole bands whose shifts span at most two values each
// (a band of one shift reads, masked out, the column after its own): each
// step loads a column slice of each and stores 128 neighbouring bytes.
// zmm0/zmm1 the first band's window (k1 the lanes of its slot 1), zmm2/zmm3
// the second's (k2), zmm6/zmm7 the results; the second band's column table
// entry lies `db` bytes from the first's, its ARRAY 64 bytes further. The
// 64-byte stores of one band go to lines a column apart, in two
// first-level cache sets where the columns lie a power of two apart (see
// kBandChunk); two lines at a time moved a 256 KiB CSHIFT in runs of 16
// equal shifts at 0.70 of memcpy in the kernel alone against 0.59 a band at
// a time, and in the library at 0.56-0.59 against 0.53-0.57 (4 MiB 0.88
// against 0.82, 64 MiB 1.20 against 1.03, 256 MiB 0.89 against 0.69).
// Windows of four blended in place (pairs of bands of up to four shifts)
// were slower on such bands, 0.65 against 0.70; four bands of two at a time
// no better, 0.69-0.78 against 0.66-0.81.
#define F90_PAIR_LD(a, b)                                                                                \
  "movl (%[t]), %[x]\n\tvmovdqu64 (%[s],%[x]), %%zmm" #a "\n\tmovl (%[t],%[db]), %[x]\n\tvmovdqu64 64(%[s],%[x]), %%zmm" #b \
  "\n\taddl $4, %[t]\n\t"
#define F90_PAIR_ST_plain "vmovdqu64 %%zmm6, (%[d])\n\tvmovdqu64 %%zmm7, 64(%[d])\n\t"
#define F90_PAIR_ST_stream "vmovntdq %%zmm6, (%[d])\n\tvmovntdq %%zmm7, 64(%[d])\n\t"
#define F90_PAIR_STEP(st, a0, a1, b0, b1)                                                             \
  F90_PAIR_LD(a1, b1) "vpblendmd %%zmm" #a1 ", %%zmm" #a0 ", %%zmm6%{%%k1%}\n\tvpblendmd %%zmm" #b1 ", %%zmm" #b0 \
  ", %%zmm7%{%%k2%}\n\t" F90_PAIR_ST_##st "addl %[rs], %[d]\n\tcmpl %[e], %[t]\n\tjae 2f\n\t"
#define F90_PAIR_ASM(st)                                                                                    \
  asm volatile("kmovw %[m1], %%k1\n\tkmovw %[m2], %%k2\n\t" F90_PAIR_LD(0, 2) "1:\n\t" F90_PAIR_STEP(st, 0, 1, 2, 3) \
               F90_PAIR_STEP(st, 1, 0, 3, 2) "jmp 1b\n2:\n\tvzeroupper\n\t"                                \
               : [d] "+r"(d), [t] "+r"(t), [x] "=&r"(x)                                                     \
               : [s] "r"(s), [db] "r"(db), [rs] "m"(rs), [e] "m"(end), [m1] "m"(m1), [m2] "m"(m2)           \
               : "memory", "cc", "xmm0", "xmm1", "xmm2", "xmm3", "xmm6", "xmm7", "k1", "k2")

// `steps` (>= 1) indices of two neighbouring whole bands as band_kernel
// (plainly stored or streamed): the first band's result at d, ARRAY at s
// and column table entry at t, masks m1 and m2 the lanes of each band's
// slot 1 (0 for a band of one shift).
template <BandStore kStore>
[[gnu::target("avx512f")]] void band_pair_kernel(char* d, ptrdiff_t rs, const char* s, const int32_t* t,
                                                 ptrdiff_t db, ptrdiff_t steps, uint16_t m1, uint16_t m2) {
  static_assert(kStore != BandStore::masked);
  const int32_t* const end = t + 1 + steps;
  ptrdiff_t x;
  if constexpr (kStore == BandStore::plain) {
    F90_PAIR_ASM(plain);
  } else {
    F90_PAIR_ASM(stream);
  }
}
#undef F90_PAIR_ASM
#undef F90_PAIR_STEP
#undef F90_PAIR_ST_stream
#undef F90_PAIR_ST_plain
#undef F90_PAIR_LD
#undef F90_BAND_WIDTH
#undef F90_BAND_ASM
#undef F90_BAND_SETUP1
#undef F90_BAND_SETUP2
#undef F90_BAND_SETUP3
#undef F90_BAND_SETUP4
#undef F90_BAND_SETUP5
#undef F90_BAND_SETUP6
#undef F90_BAND_SETUP7
#undef F90_BAND_LOOP1
#undef F90_BAND_LOOP2
#undef F90_BAND_LOOP3
#undef F90_BAND_LOOP4
#undef F90_BAND_LOOP5
#undef F90_BAND_LOOP6
#undef F90_BAND_LOOP7
#undef F90_BAND_STEP1
#undef F90_BAND_STEP2
#undef F90_BAND_STEP3
#undef F90_BAND_STEP4
#undef F90_BAND_STEP5
#undef F90_BAND_STEP6
#undef F90_BAND_STEP7
#undef F90_BAND_NEXT
#undef F90_BAND_VALID_masked
#undef F90_BAND_VALID_stream
#undef F90_BAND_VALID_plain
#undef F90_BAND_ST_masked
#undef F90_BAND_ST_stream
#undef F90_BAND_ST_plain
#undef F90_BAND_LD_masked
#undef F90_BAND_LD_stream
#undef F90_BAND_LD_plain
#undef F90_BAND_BLEND
#undef F90_BAND_BASE
#undef F90_BAND_MASK
#undef F90_BAND_LOAD

using BandKernel = void (*)(char*, ptrdiff_t, const char*, const int32_t*, ptrdiff_t, const uint16_t*);
template <BandStore kStore>
inline constexpr BandKernel kBandKernels[kBandWindow + 1] = {
    nullptr,
    band_kernel<1, kStore>,
    band_kernel<2, kStore>,
    band_kernel<3, kStore>,
    band_kernel<4, kStore>,
    band_kernel<5, kStore>,
    band_kernel<6, kStore>,
    band_kernel<7, kStore>};

// Plans the bands of a tile whose first line's result is at dst (lines
// contiguous in the result and in ARRAY, K-byte elements): the bands lie
// at the result's 64-byte boundaries, the first from `first` (<= 0: lines
// before the tile take its lanes below -first) and the last ending past
// the tile where its lines do not fill it. Returns the number of bands
// (space.band; w 0 where the shifts span more than kBandWindow) and the
// least and greatest shift of the bands moved, lo > hi when none is.
template <uint32_t K>
int32_t plan_bands(TileSpace& space, int32_t count, const char* dst, int32_t& first, int32_t& lo, int32_t& hi) {
  constexpr int32_t kLines = 64 / K;
  constexpr uint32_t kLane = K == 8 ? 3u : 1u;  // a line's 32-bit lanes
  const uintptr_t at = reinterpret_cast<uintptr_t>(dst);
  const int32_t head = at % K == 0 ? static_cast<int32_t>((-at & 63) / K) : 0;
  first = head > 0 ? head - kLines : 0;
  const int32_t bands = (count - first + kLines - 1) / kLines;
  lo = INT32_MAX, hi = INT32_MIN;
  for (int32_t i = 0; i < bands; ++i) {
    const int32_t b0 = first + i * kLines, j0 = std::max(0, -b0), j1 = std::min(kLines, count - b0);
    const auto shift = [&](int32_t j) { return space.line[b0 + j].shift; };
    int32_t smin = shift(j0), smax = smin;
    for (int32_t j = j0 + 1; j < j1; ++j) smin = std::min(smin, shift(j)), smax = std::max(smax, shift(j));
    BandPlan& p = space.band[i];
    p.w = smax - smin < kBandWindow ? smax - smin + 1 : 0;
    if (p.w == 0) continue;
    p.smin = smin;
    std::memset(p.mask, 0, sizeof p.mask);
    for (int32_t j = j0; j < j1; ++j) {
      const int32_t slot = shift(j) - smin;
      if (slot > 0) p.mask[slot - 1] = static_cast<uint16_t>(p.mask[slot - 1] | kLane << (K / 4 * j));
      p.mask[kBandWindow - 1] = static_cast<uint16_t>(p.mask[kBandWindow - 1] | kLane << (K / 4 * j));
    }
    lo = std::min(lo, smin), hi = std::max(hi, smax);
  }
  return bands;
}

// Moves a tile's bands (see kBandChunk) and hands the other lines, in runs
// of neighbours (space.line compacted to their first), to rest(result,
// count). False, with nothing moved, when no band spans at most
// kBandWindow shifts, or the bands' shifts spread so far that the column
// table would be filled again for every few chunks.
// Result line b at dst + b * K, its element k at + k * rs; ARRAY's at src +
// k * as + b * K. Streamed with `stream` (rs a multiple of 64) where the
// bands lie at 64-byte boundaries; the bands at the tile's edges move only
// the tile's lanes.
template <uint32_t K, class Rest>
[[gnu::target("avx512f")]] bool move_bands(char* dst, ptrdiff_t rs, const char* src, ptrdiff_t as, int64_t n,
                                           TileSpace& space, int64_t count, unsigned char fill, BandEnds ends,
                                           bool stream, Rest&& rest) {
  constexpr int32_t kLines = 64 / K;
  constexpr uint16_t kFull = 0xFFFF;
  const int32_t c32 = static_cast<int32_t>(count);
  int32_t first, lo, hi;
  const int32_t bands = plan_bands<K>(space, c32, dst, first, lo, hi);
  constexpr int64_t kTable = kBandColumns;
  // The columns a chunk reads: `reach` past its first index and the spread
  // of the bands' shifts (a band of one shift in a pair reads one more).
  const int64_t spread = int64_t{hi} - lo, reach = spread + 1, width = reach + n;
  if (lo > hi || (width > kTable && reach + kBandChunk > kTable / 2)) return false;
  const int32_t n32 = static_cast<int32_t>(n);
  // Band i's result and ARRAY at index 0 (bases `first` lines before the tile's).
  char* const d0 = reinterpret_cast<char*>(reinterpret_cast<uintptr_t>(dst) + static_cast<uintptr_t>(first * K));
  const char* const s0 =
      reinterpret_cast<const char*>(reinterpret_cast<uintptr_t>(src) + static_cast<uintptr_t>(first * K));
  stream = stream && (reinterpret_cast<uintptr_t>(d0) & 63) == 0;
  // columns[i] is the offset of column lo + from + i (the index `from`
  // for the band of the least shift), in 32-bit arithmetic as addresses are.
  int64_t from = 0, upto = 0;
  const uint32_t step = static_cast<uint32_t>(as);
  const int32_t out = static_cast<int32_t>(reinterpret_cast<uintptr_t>(space.ends) - reinterpret_cast<uintptr_t>(s0));
  const auto fill_columns = [&](int64_t k0) {
    from = k0, upto = std::min(width, k0 + kTable);
    if (ends == BandEnds::wrap) {  // shifts 0 .. n-1
      for (int64_t i = from, c = (lo + from) % n32; i < upto; ++i, c = c + 1 == n32 ? 0 : c + 1)
        space.columns[i - from] = static_cast<int32_t>(static_cast<uint32_t>(c) * step);
    } else {
      for (int64_t i = from, c = lo + from; i < upto; ++i, ++c)
        space.columns[i - from] = c >= 0 && c < n32 ? static_cast<int32_t>(static_cast<uint32_t>(c) * step) : out;
    }
  };
  if (ends == BandEnds::boundary) {
    for (int32_t i = 0; i < bands; ++i) {
      if (space.band[i].w == 0) continue;
      const int32_t b0 = first + i * kLines;
      for (int32_t j = std::max(0, -b0), j1 = std::min(kLines, c32 - b0); j < j1; ++j) {
        const TilePhase& p = space.line[b0 + j].phase[0];
        char* e = space.ends + i * 64 + j * K;
        if (p.kind == TilePhase::fixed_value) {
          std::memcpy(e, p.element, K);
        } else {
          std::memset(e, fill, K);
        }
      }
    }
  }
  const BandKernel* const whole = stream ? kBandKernels<BandStore::stream> : kBandKernels<BandStore::plain>;
  const BandKernel* const edge = kBandKernels<BandStore::masked>;
  const auto pair = stream ? band_pair_kernel<BandStore::stream> : band_pair_kernel<BandStore::plain>;
  for (int64_t k0 = 0; k0 < n; k0 += kBandChunk) {
    const ptrdiff_t steps = static_cast<ptrdiff_t>(std::min(kBandChunk, n - k0));
    if (k0 == 0 || k0 + steps + reach > upto) fill_columns(k0);
    char* d = d0 + k0 * rs;
    const char* s = s0;
    for (int32_t i = 0; i < bands; ++i, d += 64, s += 64) {
      const BandPlan& p = space.band[i];
      if (p.w == 0) continue;
      const int32_t* const t = space.columns + (k0 - from + p.smin - lo);
      if (p.mask[kBandWindow - 1] != kFull) {
        edge[p.w](d, rs, s, t, steps, p.mask);
        continue;
      }
      if (p.w <= 2 && i + 1 < bands) {
        const BandPlan& q = space.band[i + 1];
        if (q.w != 0 && q.w <= 2 && q.mask[kBandWindow - 1] == kFull) {
          pair(d, rs, s, t, static_cast<ptrdiff_t>(q.smin - p.smin) * 4, steps, p.mask[0], q.mask[0]);
          ++i, d += 64, s += 64;
          continue;
        }
      }
      whole[p.w](d, rs, s, t, steps, p.mask);
    }
  }
  if (stream) _mm_sfence();
  // The lines of no band: runs between the bands moved.
  int32_t open = 0;
  const auto flush = [&](int32_t end) {
    if (end > open) {
      std::memmove(space.line, space.line + open, static_cast<size_t>(end - open) * sizeof(TileLine));
      rest(dst + open * static_cast<ptrdiff_t>(K), static_cast<int64_t>(end - open));
    }
  };
  for (int32_t i = 0; i < bands; ++i) {
    if (space.band[i].w == 0) continue;
    flush(std::max(0, first + i * kLines));
    open = std::min(c32, first + (i + 1) * kLines);
  }
  flush(c32);
  return true;
}

// move_tile_body, its element moves through SSE2 registers where `isa`
// (the instruction sets the routine may use on this CPU) has them (4- to
// 32-byte elements), and groups of 4- and 8-byte elements merged with
// AVX-512 where it has that and the lines are contiguous in
// the result and in ARRAY (a0: ARRAY's byte stride along dimension 0; a
// streamed result's rs a multiple of 64). `large`: the result is at least
// kStreamBytes, so that 4- and 8-byte elements contiguous along dimension 0
// are stored past the caches, their sources fetched ahead.
template <uint32_t K>
void move_tile_lines(char* dst, ptrdiff_t r0, ptrdiff_t rs, const char* src, ptrdiff_t a0, ptrdiff_t as, int64_t n,
                     TileSpace& space, int64_t count, uint32_t bytes, unsigned char fill, bool large, PackIsa isa) {
  const bool stream = (K == 4 || K == 8) && large && r0 == K && (rs & 15) == 0 &&
                      (reinterpret_cast<uintptr_t>(dst) & 15) == 0;
  const bool merge = (K == 4 || K == 8) && r0 == K && a0 == K && (!stream || (rs & 63) == 0) &&
                     isa == PackIsa::avx512;
  if (count * n <= kSmallTile) {
    if (K == 8 && isa >= PackIsa::sse2) {
      move_tile_by_line_sse2<K>(dst, r0, rs, src, as, n, space.line, count, bytes, fill);
    } else {
      move_tile_by_line<K>(dst, r0, rs, src, as, n, space.line, count, bytes, fill);
    }
  } else if (K >= 4 && isa >= PackIsa::sse2) {
    if (stream) {
      move_tile_sse2<K, true>(dst, r0, rs, src, as, n, space, count, bytes, fill, true, merge, false, false);
    } else {
      move_tile_sse2<K, false>(dst, r0, rs, src, as, n, space, count, bytes, fill, large, merge,
                               K == 8 && r0 == K && rs == as && rs > 0 && rs < 4096 && isa >= PackIsa::avx2,
                               isa >= PackIsa::avx2);
    }
  } else {
    move_tile_plain<K>(dst, r0, rs, src, as, n, space, count, bytes, fill);
  }
}

// A tile: its bands of lines (move_bands) where `bands` asks for them
// (move_line_tiles), every other line by move_tile_lines.
template <uint32_t K>
void move_tile(char* dst, ptrdiff_t r0, ptrdiff_t rs, const char* src, ptrdiff_t a0, ptrdiff_t as, int64_t n,
               TileSpace& space, int64_t count, uint32_t bytes, unsigned char fill, bool large, PackIsa isa,
               TileBands bands) {
  if constexpr (K == 4 || K == 8) {
    if (bands.ends != BandEnds::none) {
      const auto rest = [&](char* d, int64_t c) {
        move_tile_lines<K>(d, r0, rs, src, a0, as, n, space, c, bytes, fill, large, isa);
      };
      if (move_bands<K>(dst, rs, src, as, n, space, count, fill, bands.ends, bands.stream && (rs & 63) == 0, rest))
        return;
    }
  }
  move_tile_lines<K>(dst, r0, rs, src, a0, as, n, space, count, bytes, fill, large, isa);
}

// Lines along a DIM other than the first, in tiles of up to kTileLines
// neighbours along dimension 0 (move_tile). `arrays` starts with the
// result, ARRAY and SHIFT; describe(o, count, line) fills the TileLine of
// each of the `count` lines of the tile whose origins are `o` (a loop of
// its own, whose constants stay in registers: a call per line reloaded them
// after every store, a quarter of a 4 KiB shift). `paths`: the calling
// routine's; `ends`: how its lines end, for the bands of lines.
template <uint32_t K, size_t N, class Describe>
void move_line_tiles(const ShiftSetup& st, const std::array<WalkArray*, N>& arrays, Describe&& describe,
                     unsigned char fill, const ShiftPaths& paths, BandEnds ends) {
  const int64_t n = st.n(), rs = st.result.stride[st.dim], as = st.array.stride[st.dim];
  const int64_t r0 = st.result.stride[0], a0 = st.array.stride[0];
  const bool large = st.result_bytes() >= kStreamBytes;
  const PackIsa isa = move_isa(paths.isa);
  TileBands bands{ends, st.result_bytes() >= paths.band_stream_bytes};
  const bool gathers = st.result_bytes() >= paths.gather_from && st.result_bytes() < paths.gather_below;
  if ((K != 4 && K != 8) || r0 != K || a0 != K || gathers || isa != PackIsa::avx512)
    bands.ends = BandEnds::none;
  int32_t ext[F90_MAX_RANK] = {};
  st.walk_extents(ext);
  TileSpace space;
  const int64_t lines = large && bands.ends == BandEnds::none ? kFarTileLines : kTileLines;
  walk_blocks(st.rank, 0, ext, arrays, lines, [&](const std::array<char*, N>& o, int64_t count) {
    describe(o, static_cast<ptrdiff_t>(count), space.line);
    move_tile<K>(o[0], static_cast<ptrdiff_t>(r0), static_cast<ptrdiff_t>(rs), o[1], static_cast<ptrdiff_t>(a0),
                 static_cast<ptrdiff_t>(as), n, space, count, st.bytes(), fill, large, isa, bands);
  });
}

// Moves a block, run by run along dimension 0.
template <uint32_t K>
void move_block(const Block& b, uint32_t bytes) {
  if (b.empty() || bytes == 0) return;
  Runs<2> runs;
  b.runs(runs);
  const int64_t ds = runs.arrays[0].stride[0], ss = runs.arrays[1].stride[0];
  runs.walk([&](const std::array<char*, 2>& o, int64_t n) {
    Mover<K>::line(o[0], ds, o[1], ss, n, bytes);
  });
}

}  // namespace f90
