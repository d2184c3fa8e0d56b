// TRANSPOSE(MATRIX): result(j, i) = source(i, j).
//
// The routine works in storage units (bytes for CHARACTER, byte-laid derived
// types and 8- or 16-bit elements; 32-bit words otherwise) and never converts
// strides to element strides: an element is u units at a source offset of
// i * s1 + j * s2 units and goes to j * r1 + i * r2 units in the result. The
// source's rank is not tested (the caller passes a rank-2 array).
//
// A result without storage is laid out n x m, contiguous, and allocated for
// n * m * (element bits) / 8 bytes (none when that is 0; 1205 and nothing
// stored above 0x7FFFFFFF bytes or when the allocator fails, the result then
// staying unassociated).
//
// The copy itself is transpose_block (array/transpose.h), which RESHAPE
// with an ORDER that transposes uses too.
#include "array/transpose.h"

#include <immintrin.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "array/construct.h"
#include "array/copy_kind.h"
#include "array/result.h"
#include "chars/bytes.h"
#include "common/inputs.h"
#include "sse2_exact.h"

namespace f90 {
namespace {

// The block is moved in tiles of kTileRows source elements along i (read
// as runs, each a few KiB) by a few columns along j, so that every
// destination cache line a tile writes is written whole within the tile
// and the source is read in long runs. (The SSE2 path below moves results
// larger than the caches by panels instead.)
constexpr int64_t kTileRows = 512;

// Element by element, for any size and strides: columns j0..j1 of each
// tile of rows; kBytes 0 means `bytes` at run time.
template <uint32_t kBytes>
void copy_tiles(char* dst, int64_t r1, int64_t r2, const char* src, int64_t s1, int64_t s2,
                int64_t m, int64_t n, uint32_t bytes) {
  const size_t size = kBytes != 0 ? kBytes : bytes;
  // Enough columns that a tile's destination rows are whole cache lines.
  const int64_t cols = size >= 64 ? 1 : static_cast<int64_t>(64 / size);
  const int64_t rows = std::max<int64_t>(16, kTileRows * 8 / static_cast<int64_t>(size));
  for (int64_t i0 = 0; i0 < m; i0 += rows) {
    const int64_t i1 = std::min(m, i0 + rows);
    for (int64_t j0 = 0; j0 < n; j0 += cols) {
      const int64_t j1 = std::min(n, j0 + cols);
      for (int64_t j = j0; j < j1; ++j) {
        const char* sp = src + i0 * s1 + j * s2;
        char* dp = dst + j * r1 + i0 * r2;
        for (int64_t i = i0; i < i1; ++i, sp += s1, dp += r2) std::memcpy(dp, sp, size);
      }
    }
  }
}

#define F90_LOAD(p) _mm_loadu_si128(reinterpret_cast<const __m128i*>(p))

// 4- or 8-byte elements, the source contiguous along i and the destination
// along j: moves rows i .. i+3 of the w columns whose first element of row
// i is at p (column stride s2) into the destination rows at q (row stride
// r2). w is a multiple of 16 / kBytes, at most 64 / kBytes: one destination
// line or a part of one. 8-byte elements as pairs of 16-byte loads and
// 64-bit interleaves, 4-byte ones as 4 x 4 squares through 32- and 64-bit
// interleaves: loads, interleaves and stores only, so every bit pattern
// passes unchanged.
template <uint32_t kBytes, bool kStream>
__attribute__((target("sse2"))) inline void four_rows(char* q, int64_t r2, const char* p, int64_t s2,
                                                      int64_t w) {
  if constexpr (kBytes == 8) {
    for (int c = 0; c < w; c += 2) {  // rows i and i + 1, columns c and c + 1
      const __m128i a = F90_LOAD(p + c * s2), b = F90_LOAD(p + (c + 1) * s2);
      store16<kStream>(q + c * 8, _mm_unpacklo_epi64(a, b));
      store16<kStream>(q + r2 + c * 8, _mm_unpackhi_epi64(a, b));
    }
    for (int c = 0; c < w; c += 2) {  // rows i + 2 and i + 3
      const __m128i a = F90_LOAD(p + c * s2 + 16), b = F90_LOAD(p + (c + 1) * s2 + 16);
      store16<kStream>(q + 2 * r2 + c * 8, _mm_unpacklo_epi64(a, b));
      store16<kStream>(q + 3 * r2 + c * 8, _mm_unpackhi_epi64(a, b));
    }
  } else {
    for (int c = 0; c < w; c += 4) {
      const __m128i a = F90_LOAD(p + c * s2), b = F90_LOAD(p + (c + 1) * s2);
      const __m128i e = F90_LOAD(p + (c + 2) * s2), f = F90_LOAD(p + (c + 3) * s2);
      const __m128i ab0 = _mm_unpacklo_epi32(a, b), ab1 = _mm_unpackhi_epi32(a, b);
      const __m128i ef0 = _mm_unpacklo_epi32(e, f), ef1 = _mm_unpackhi_epi32(e, f);
      store16<kStream>(q + c * 4, _mm_unpacklo_epi64(ab0, ef0));
      store16<kStream>(q + r2 + c * 4, _mm_unpackhi_epi64(ab0, ef0));
      store16<kStream>(q + 2 * r2 + c * 4, _mm_unpacklo_epi64(ab1, ef1));
      store16<kStream>(q + 3 * r2 + c * 4, _mm_unpackhi_epi64(ab1, ef1));
    }
  }
}

// Rows i .. i+3 of 8 columns of 8-byte elements (as four_rows, one whole
// destination line) through AVX2: two 4 x 4 squares, each four 32-byte
// loads, 64-bit interleaves within the 128-bit halves and exchanges of the
// halves, four 32-byte stores. Half the loads and stores of the SSE2 form;
// in the panels, whose buffer makes the loads aligned, 4 MiB measured 0.42
// of memcpy against 0.33 with SSE2. (In the tiles it was slower from 1 MiB
// on and no faster below.)
template <bool kStream>
__attribute__((target("avx2"))) inline void four_rows_avx2(char* q, int64_t r2, const char* p, int64_t s2) {
  for (int c = 0; c < 8; c += 4) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + c * s2));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + (c + 1) * s2));
    const __m256i e = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + (c + 2) * s2));
    const __m256i f = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + (c + 3) * s2));
    const __m256i ab0 = _mm256_unpacklo_epi64(a, b), ab1 = _mm256_unpackhi_epi64(a, b);
    const __m256i ef0 = _mm256_unpacklo_epi64(e, f), ef1 = _mm256_unpackhi_epi64(e, f);
    store32<kStream>(q + c * 8, _mm256_permute2x128_si256(ab0, ef0, 0x20));
    store32<kStream>(q + r2 + c * 8, _mm256_permute2x128_si256(ab1, ef1, 0x20));
    store32<kStream>(q + 2 * r2 + c * 8, _mm256_permute2x128_si256(ab0, ef0, 0x31));
    store32<kStream>(q + 3 * r2 + c * 8, _mm256_permute2x128_si256(ab1, ef1, 0x31));
  }
}

// Rows i .. i+3 of the columns at a and b (32 bytes of each) side by side
// in one register: the second through a masked broadcast, which the load
// unit does, so that no shuffle is spent on it. (The zero-masking forms
// here and below: the plain ones leave lanes undefined that this compiler
// then warns about.)
__attribute__((target("avx512f"), always_inline)) inline __m512i two_columns(const char* a, const char* b) {
  const __m512i low = _mm512_castsi256_si512(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a)));
  return _mm512_mask_broadcast_i64x4(low, 0xF0, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b)));
}

// 128-bit lanes of a and b: 0x88 takes lanes 0 and 2 of each, 0xDD lanes 1
// and 3.
#define lanes_of(a, b, imm) _mm512_maskz_shuffle_i64x2(0xFF, a, b, imm)

// Rows i .. i+7 of 8 columns of 8-byte elements, the even rows (kOdd
// false) or the odd ones, from the eight columns' 64-byte loads: 64-bit
// interleaves of column pairs (the 128-bit lane l of x01 then holds row 2l
// or 2l+1 of columns 0 and 1) and two rounds of lane exchanges, one 64-byte
// store per row. Four rows at a time, so that the eight registers of the
// 32-bit mode hold them without spills.
template <bool kOdd>
__attribute__((target("avx512f"), always_inline)) inline __m512i pair_rows(const char* c, ptrdiff_t s) {
  const __m512i a = _mm512_loadu_si512(c), b = _mm512_loadu_si512(c + s);
  return kOdd ? _mm512_maskz_unpackhi_epi64(0xFF, a, b) : _mm512_maskz_unpacklo_epi64(0xFF, a, b);
}

template <bool kStream, bool kOdd>
__attribute__((target("avx512f"), always_inline)) inline void half_square8(char* q, ptrdiff_t r2, const char* p,
                                                                           ptrdiff_t s2) {
  const auto pair = pair_rows<kOdd>;
  const __m512i x01 = pair(p, s2), x23 = pair(p + 2 * s2, s2);
  const __m512i a0 = lanes_of(x01, x23, 0x88), a1 = lanes_of(x01, x23, 0xDD);
  const __m512i x45 = pair(p + 4 * s2, s2), x67 = pair(p + 6 * s2, s2);
  const __m512i b0 = lanes_of(x45, x67, 0x88), b1 = lanes_of(x45, x67, 0xDD);
  q += kOdd ? r2 : 0;
  store64<kStream>(q, lanes_of(a0, b0, 0x88));
  store64<kStream>(q + 2 * r2, lanes_of(a1, b1, 0x88));
  store64<kStream>(q + 4 * r2, lanes_of(a0, b0, 0xDD));
  store64<kStream>(q + 6 * r2, lanes_of(a1, b1, 0xDD));
}

// Rows i .. i+7 of 8 columns of 8-byte elements (one destination line per
// row) through AVX-512. Read from the operand (kStream false): four rows at
// a time, columns (0, 2), (1, 3), (4, 6) and (5, 7) of the four rows paired
// in four registers, 64-bit interleaves of the pairs (the 128-bit lane l of
// lo01 then holds columns 0 and 1 of row 2l, for l = 0, 1, and columns 2
// and 3 of row 2l - 4 for l = 2, 3), one round of lane exchanges, one
// 64-byte store per row: 16 shuffles a square where half_square8's three
// rounds on whole columns take 24 (the strips: 0.70-0.78 of memcpy against
// 0.57-0.72). Streamed from the wide panels' buffer, half_square8's form
// measured faster (64 MiB: 0.85-1.09 of memcpy against 0.72-0.89). Loads,
// interleaves, stores only: every bit pattern passes.
template <bool kStream>
__attribute__((target("avx512f"))) inline void square8_avx512(char* q, ptrdiff_t r2, const char* p, ptrdiff_t s2) {
  if constexpr (kStream) {
    half_square8<kStream, false>(q, r2, p, s2);
    half_square8<kStream, true>(q, r2, p, s2);
  } else {
    for (int half = 0; half < 2; ++half, p += 32, q += 4 * r2) {
      const __m512i c02 = two_columns(p, p + 2 * s2), c13 = two_columns(p + s2, p + 3 * s2);
      const __m512i c46 = two_columns(p + 4 * s2, p + 6 * s2), c57 = two_columns(p + 5 * s2, p + 7 * s2);
      const __m512i lo01 = _mm512_maskz_unpacklo_epi64(0xFF, c02, c13);
      const __m512i lo45 = _mm512_maskz_unpacklo_epi64(0xFF, c46, c57);
      store64<kStream>(q, lanes_of(lo01, lo45, 0x88));
      store64<kStream>(q + 2 * r2, lanes_of(lo01, lo45, 0xDD));
      const __m512i hi01 = _mm512_maskz_unpackhi_epi64(0xFF, c02, c13);
      const __m512i hi45 = _mm512_maskz_unpackhi_epi64(0xFF, c46, c57);
      store64<kStream>(q + r2, lanes_of(hi01, hi45, 0x88));
      store64<kStream>(q + 3 * r2, lanes_of(hi01, hi45, 0xDD));
    }
  }
}

// Columns at p, p + s, p + 2s, p + 3s (16 bytes of each: four rows) in the
// four 128-bit lanes of one register, the last three through masked
// broadcasts.
__attribute__((target("avx512f"), always_inline)) inline __m512i four_columns(const char* p, ptrdiff_t s) {
  __m512i v = _mm512_castsi128_si512(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
  v = _mm512_mask_broadcast_i32x4(v, 0x00F0, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + s)));
  v = _mm512_mask_broadcast_i32x4(v, 0x0F00, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2 * s)));
  return _mm512_mask_broadcast_i32x4(v, 0xF000, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 3 * s)));
}

// Rows i .. i+15 of 16 columns of 4-byte elements (one destination line
// per row) through AVX-512, four rows at a time: columns c, c + 4, c + 8
// and c + 12 of the four rows in the lanes of one register, for c = 0 .. 3,
// and a 4 x 4 square of 32-bit interleaves within the lanes, which leaves
// lane l of each result holding columns 4l .. 4l+3 of one row. No lane
// exchanges; measured 0.55-0.65 of memcpy from 256 KiB to 2 MiB where
// pairs of 8-row column halves (as square8_avx512 pairs them), which need
// more registers than the 32-bit mode has, ran 0.5 (the SSE2 4 x 4
// squares: 0.3-0.5).
template <bool kStream>
__attribute__((target("avx512f"))) inline void square16_avx512(char* q, ptrdiff_t r2, const char* p, ptrdiff_t s2) {
  for (int r = 0; r < 4; ++r, p += 16, q += 4 * r2) {
    const __m512i c0 = four_columns(p, 4 * s2), c1 = four_columns(p + s2, 4 * s2);
    const __m512i c2 = four_columns(p + 2 * s2, 4 * s2), c3 = four_columns(p + 3 * s2, 4 * s2);
    const __m512i lo01 = _mm512_maskz_unpacklo_epi32(0xFFFF, c0, c1);
    const __m512i hi01 = _mm512_maskz_unpackhi_epi32(0xFFFF, c0, c1);
    const __m512i lo23 = _mm512_maskz_unpacklo_epi32(0xFFFF, c2, c3);
    const __m512i hi23 = _mm512_maskz_unpackhi_epi32(0xFFFF, c2, c3);
    store64<kStream>(q, _mm512_maskz_unpacklo_epi64(0xFF, lo01, lo23));
    store64<kStream>(q + r2, _mm512_maskz_unpackhi_epi64(0xFF, lo01, lo23));
    store64<kStream>(q + 2 * r2, _mm512_maskz_unpacklo_epi64(0xFF, hi01, hi23));
    store64<kStream>(q + 3 * r2, _mm512_maskz_unpackhi_epi64(0xFF, hi01, hi23));
  }
}

#undef lanes_of

// Rows i .. i+h-1 (h 4 or, with AVX-512, 8) of columns j .. j+w-1 (as
// four_rows): a whole destination line through the unrolled form, of 8-byte
// elements through AVX2 or AVX-512 where the CPU has it.
template <uint32_t kBytes, bool kStream, PackIsa kIsa>
__attribute__((always_inline)) inline void rows_of(char* q, int64_t r2, const char* p, int64_t s2, int64_t w,
                                                   int64_t h) {
  constexpr int64_t kCols = 64 / kBytes;
  if constexpr (kBytes == 8 && kIsa == PackIsa::avx512) {
    if (w == kCols && h == 8) return square8_avx512<kStream>(q, r2, p, s2);
  } else if constexpr (kBytes == 4 && kIsa == PackIsa::avx512) {
    if (w == kCols && h == 16) return square16_avx512<kStream>(q, r2, p, s2);
  }
  for (int64_t k = 0; k < h; k += 4, q += 4 * r2, p += 4 * kBytes) {
    if (w != kCols) {
      four_rows<kBytes, kStream>(q, r2, p, s2, w);
    } else if constexpr (kBytes == 8 && kIsa >= PackIsa::avx2) {
      four_rows_avx2<kStream>(q, r2, p, s2);
    } else {
      four_rows<kBytes, kStream>(q, r2, p, s2, kCols);
    }
  }
}

// The columns are taken in groups that fill destination lines: when every
// row starts at the same place in a line (a 16-byte aligned destination
// and a row stride of whole lines), the first group is the `head` columns
// up to the first line boundary and the others start on one, so no line is
// stored by two groups (which would fetch it twice and, streamed, write it
// out in halves). Width of the group at column j of nb.
template <uint32_t kBytes>
inline int64_t group_width(int64_t j, int64_t head, int64_t nb) {
  return j == 0 && head > 0 ? head : std::min<int64_t>(64 / kBytes, nb - j);
}

// A result that fits the L2 cache: m4 (a multiple of 4) rows by nw (a
// multiple of 64 / kBytes) columns in tiles of kTileRows rows by one
// destination line, each tile's source read as long runs.
template <uint32_t kBytes>
__attribute__((target("sse2"), noinline)) void blocks(char* dst, int64_t r2, const char* src, int64_t s2,
                                                      int64_t m4, int64_t nw) {
  constexpr int64_t kCols = 64 / kBytes;
  for (int64_t i0 = 0; i0 < m4; i0 += kTileRows) {
    const int64_t i1 = std::min(m4, i0 + kTileRows);
    for (int64_t j0 = 0; j0 < nw; j0 += kCols)
      for (int64_t i = i0; i < i1; i += 4)
        four_rows<kBytes, false>(dst + j0 * kBytes + i * r2, r2, src + j0 * s2 + i * kBytes, s2, kCols);
  }
}

// With AVX-512, results from kStripMinBytes up to the streamed panels move
// as strips of kStripGroups row groups across all the columns in squares
// of a line's elements (8 x 8 of 8-byte elements, 16 x 16 of 4-byte
// ones), each source line read whole and each destination line written
// whole. The squares of a strip are skewed: its row group k works
// kStripLag column groups behind group k - 1. So each source column gives
// up to kStripGroups consecutive lines in a short time, while the lines
// being stored at any time lie in different cache sets: with the groups
// abreast, 16 or 32 destination rows 2-4 KiB apart wait on the same set of
// the 12-way first-level cache, and a strip of 8 rows reads one line per
// column per pass (measured: loads alone 0.35-0.6 of memcpy for 8 rows,
// 0.7-0.95 for 16 or more; stores alone 0.45-0.6 with 16-32 rows abreast,
// 1.0-1.3 skewed; fetching the source or the destination lines a few
// squares ahead, slower there; but see kStripFetchBytes). Measured on
// REAL*8 results of 128 KiB to 8 MiB with both operands 16 bytes into a
// page, on a machine with a 1 MiB second-level cache: 0.70-0.78 of memcpy from 128 KiB to 4 MiB against
// 0.45-0.65 for strips of 8-32 rows abreast and for the tiles, 0.45-0.65
// at 8 MiB against 0.5; heights 24-64 and lags 1-3 were within a few
// hundredths of each other. REAL*4: 0.55-0.65 from 128 KiB to 2 MiB,
// 0.35-0.45 at 4-12 MiB (whose rows 4 KiB apart put the 16 lines of a
// square in one cache set), against 0.25-0.5 for the SSE2 tiles and
// panels. The last 4 rows of 8-byte elements (m4 not a multiple of 8) go
// through AVX2, the last 4-12 of 4-byte ones through SSE2.
//
// With a 2 MiB second-level cache, REAL*8 strips of 2 row groups one column
// group apart measured 0.63-0.68 of memcpy at 1 MiB (medians of four runs
// of 4-8 rounds) against 0.56-0.64 with 4 groups 2 apart, 0.63 at 1.25 MiB
// against 0.55, 0.68-0.74 at 256 KiB against 0.66-0.72, 0.65 at 512 KiB
// against 0.60 and 0.63 at 128 KiB against 0.645; at 1 MiB 2 groups 2
// apart, 3 groups 1 or 2 apart, 4 groups 3 apart and strips of one group
// came within 0.03 of them, 4 groups 1 apart and 6-8 groups 0.03-0.06
// below. REAL*4 keeps 4 groups 2 apart: 2 groups 1 apart measured 0.02-0.05
// slower at 1-1.25 MiB, 0.02-0.03 faster at 1.5-1.75 MiB.
//
// From kStripFetchBytes on, REAL*8 strips claim each destination line
// (PREFETCHW, which every processor with AVX-512 has) kFetchAhead squares
// before their row group stores it: past half the second-level cache the
// lines stored come back from the third level, and a store that waits for
// its line holds the squares behind it. Measured (REAL*8, 4-8 rounds,
// medians): 0.78-0.82 of memcpy at 1 MiB against 0.58-0.65, 0.89-0.92 at
// 1.25 MiB against 0.65, 0.85-0.88 at 1.5-1.75 MiB (against 0.70-0.75 for
// the wide panels); but 0.60-0.68 at 128-512 KiB against 0.63-0.70, so not
// below. 1, 3 or 4 squares ahead: within 0.03 of 2 at 1-1.25 MiB, slower
// below. REAL*4 strips measured 0.05 faster at 1.25 MiB with it and 0.05
// slower at 1 and 1.75 MiB, so fetch nothing.
constexpr int64_t kStripMinBytes = int64_t{128} << 10, kStripFetchBytes = int64_t{1} << 20;
constexpr ptrdiff_t kFetchAhead = 2;
template <uint32_t kBytes>
constexpr ptrdiff_t kStripGroups = kBytes == 8 ? 2 : 4;
template <uint32_t kBytes>
constexpr ptrdiff_t kStripLag = kBytes == 8 ? 1 : 2;
template <uint32_t kBytes, bool kFetch>
__attribute__((target("avx512f,prfchw"), noinline)) void strips_avx512(char* dst, int64_t r2, const char* src,
                                                                       int64_t s2, int64_t m4, int64_t nb, int64_t head) {
  constexpr ptrdiff_t kGroups = kStripGroups<kBytes>, kLag = kStripLag<kBytes>;
  constexpr ptrdiff_t kSide = 64 / kBytes, kRows = kGroups * kSide;  // of a square, of a strip
  // Offsets and counts in the pointers' width (the operands lie in the
  // address space); 64-bit ones cost the squares' loop a spill per square.
  const ptrdiff_t dr = static_cast<ptrdiff_t>(r2), sc = static_cast<ptrdiff_t>(s2);
  const ptrdiff_t h = static_cast<ptrdiff_t>(head), groups = static_cast<ptrdiff_t>(nb - head) / kSide;
  const ptrdiff_t end = h + kSide * groups;
  // From row group k to k + 1: kSide rows on, kLag column groups back.
  const ptrdiff_t next_q = kSide * dr - 64 * kLag, next_p = 64 - kSide * kLag * sc;
  for (ptrdiff_t i0 = 0; i0 < m4; i0 += kRows, dst += kRows * dr, src += 64 * kGroups) {
    const ptrdiff_t rows = std::min<ptrdiff_t>(static_cast<ptrdiff_t>(m4) - i0, kRows);
    const ptrdiff_t last = (rows - 1) / kSide;  // the strip's last row group
    // The head and last columns with the strip, so that the rows' first
    // and last lines are stored among the others.
    if (h > 0)
      for (ptrdiff_t i = 0; i < rows; i += 4) four_rows<kBytes, false>(dst + i * dr, dr, src + i * kBytes, sc, h);
    for (ptrdiff_t t = 0; t < groups + last * kLag; ++t) {
      // Row groups k0 .. k1 are at column groups t - k * kLag.
      const ptrdiff_t k0 = std::max<ptrdiff_t>(0, (t - groups + kLag) / kLag);
      const ptrdiff_t k1 = std::min(last, t / kLag), j = h + kSide * (t - k0 * kLag);
      ptrdiff_t q = j * kBytes + kSide * k0 * dr, p = j * sc + 64 * k0, g = t - k0 * kLag;
      for (ptrdiff_t k = k0; k <= k1; ++k, q += next_q, p += next_p, g -= kLag) {
        if (kSide * (k + 1) <= rows) {
          if constexpr (kFetch) {
            if (g + kFetchAhead < groups)
              for (ptrdiff_t r = 0; r < kSide; ++r) __builtin_prefetch(dst + q + r * dr + 64 * kFetchAhead, 1, 3);
          }
          if constexpr (kBytes == 8) {
            square8_avx512<false>(dst + q, dr, src + p, sc);
          } else {
            square16_avx512<false>(dst + q, dr, src + p, sc);
          }
        } else if constexpr (kBytes == 8) {  // the last 4 rows
          four_rows_avx2<false>(dst + q, dr, src + p, sc);
        } else {  // the last 4, 8 or 12 rows
          for (ptrdiff_t i = 0; i < rows - kSide * k; i += 4)
            four_rows<4, false>(dst + q + i * dr, dr, src + p + i * 4, sc, kSide);
        }
      }
    }
    if (end < nb)
      for (ptrdiff_t i = 0; i < rows; i += 4)
        four_rows<kBytes, false>(dst + end * kBytes + i * dr, dr, src + end * sc + i * kBytes, sc, nb - end);
  }
}

// The w columns of one part of a line (the head, or the last columns) of
// m4 rows, for the tiles.
template <uint32_t kBytes>
__attribute__((target("sse2"), noinline)) void narrow_group(char* dst, int64_t r2, const char* src, int64_t s2,
                                                            int64_t m4, int64_t w) {
  for (int64_t i = 0; i < m4; i += 4) four_rows<kBytes, false>(dst + i * r2, r2, src + i * kBytes, s2, w);
}

// The tiles with the head columns (when `head` > 0) and the last part of a
// line (when nb leaves one) before and after them. (The strips move those
// columns strip by strip: as whole groups of 8 whose stores cross lines,
// stored again by the aligned groups, they measured no faster.)
template <uint32_t kBytes>
void tiles(char* dst, int64_t r2, const char* src, int64_t s2, int64_t m4, int64_t nb, int64_t head) {
  constexpr int64_t kCols = 64 / kBytes;
  if (head > 0) narrow_group<kBytes>(dst, r2, src, s2, m4, head);
  const int64_t nw = (nb - head) / kCols * kCols, end = head + nw;
  blocks<kBytes>(dst + head * kBytes, r2, src + head * s2, s2, m4, nw);
  if (end < nb) narrow_group<kBytes>(dst + end * kBytes, r2, src + end * s2, s2, m4, nb - end);
}

// A column run of `bytes` (a multiple of 16; of 32 for the AVX2 form) from
// p into the 64-byte aligned buffer at b.
__attribute__((target("sse2"))) inline void copy_run(char* b, const char* p, int64_t bytes) {
  for (int64_t k = 0; k < bytes; k += 16) _mm_store_si128(reinterpret_cast<__m128i*>(b + k), F90_LOAD(p + k));
}

__attribute__((target("avx2"))) inline void copy_run_avx2(char* b, const char* p, int64_t bytes) {
  for (int64_t k = 0; k < bytes; k += 32)
    _mm256_store_si256(reinterpret_cast<__m256i*>(b + k), _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + k)));
}

__attribute__((target("sse2"))) inline void store_fence() { _mm_sfence(); }

// Results of kPanelBytes or more. Past the L2 cache the tiles above write
// each destination line alone, a row apart from the next (with a
// power-of-two row stride all of them in the same cache sets and each in a
// page of its own), and stores that miss that way wait for the memory one
// line at a time. So a panel of 128 rows by 256 bytes of columns is
// first copied, column by column (runs of 128 elements), into a
// buffer whose column stride is no power of two, and then written out
// along the destination rows, four rows at a time, each a run of 256
// bytes. Meanwhile the next panel's source lines are fetched, a few
// columns per group of four rows, so that its copy finds them in the
// cache. Measured on REAL*8 against the tiles and against panels of 32 to
// 128 columns by 256- to 2048-byte runs, with and without the fetch: this
// shape (1024-byte runs read, 256-byte runs written, a 35 KiB buffer; 512
// and 256 bytes, 37 KiB, for 4-byte elements) was the fastest from 1 MiB
// on; at 1 MiB the tiles still beat it. The first panel of a row holds the
// head columns and three lines.
constexpr int64_t kPanelBytes = int64_t{2} << 20;

// Results from which the panels' stores are streamed past the caches: with
// its source, the size of the last-level cache of the machines measured.
// Below that the destination stays in the cache (4 MiB measured 0.29-0.36
// of memcpy streamed, 0.39-0.48 stored plainly); above it streaming
// doubled the speed.
constexpr int64_t kStreamResult = int64_t{16} << 20;

// Results from which the column groups start on the destination's lines.
constexpr int64_t kLineGroupBytes = int64_t{512} << 10;

// The panels' shapes: the rows of a panel (the length of the column runs
// read), the bytes of its columns (the length of the runs written) and the
// cache the next panel is fetched into (the locality of
// __builtin_prefetch: 3 the first level, 2 the second). Streamed, the
// runs read are longer and fetched into the second level, which leaves the
// first level's miss buffers to the copy's own loads: measured at 32 and
// 256 MiB, REAL*4 results whose rows start on lines (then every run written
// is whole lines) 0.54-0.82 of memcpy with 512 rows by 128 bytes against
// 0.39-0.58 with the cached shape, other REAL*8 and REAL*4 results 0.38-0.68
// with 256 rows by 256 bytes against 0.37-0.56 (512 rows by 256 bytes,
// whose buffer is twice as large, 0.39-0.8; runs of 128 bytes that start
// inside lines were slower). The buffers are 35-70 KiB.
struct PanelShape {
  int64_t rows, run_bytes;
  int locality;
};
enum class Panels { cached, streamed, streamed_lines };
template <Panels kKind>
inline constexpr PanelShape kPanelShape = kKind == Panels::cached     ? PanelShape{128, 256, 3}
                                          : kKind == Panels::streamed ? PanelShape{256, 256, 2}
                                                                      : PanelShape{512, 128, 2};

template <uint32_t kBytes, Panels kKind, PackIsa kIsa>
__attribute__((always_inline)) inline void panels(char* dst, int64_t r2, const char* src, int64_t s2,
                                                  int64_t m4, int64_t nb, int64_t head) {
  constexpr bool kStream = kKind != Panels::cached;
  constexpr PanelShape kShape = kPanelShape<kKind>;
  constexpr int64_t kRows = kShape.rows, kPanelCols = kShape.run_bytes / kBytes, kCols = 64 / kBytes;
  constexpr int64_t kPanelStride = kRows * kBytes + 64;
  constexpr int64_t kLines = kRows * kBytes / 64 + 1;  // lines of a column run, at any alignment
  constexpr int64_t kFetchCols = (kPanelCols + kRows / 4 - 1) / (kRows / 4);
  const int64_t first = head > 0 ? head + kPanelCols - kCols : kPanelCols;
  alignas(64) char buf[kPanelCols * kPanelStride];
  for (int64_t i0 = 0; i0 < m4; i0 += kRows) {
    const int64_t rows = std::min(m4 - i0, kRows);
    for (int64_t j0 = 0, cols; j0 < nb; j0 += cols) {
      cols = std::min(nb - j0, j0 == 0 ? first : kPanelCols);
      for (int64_t j = 0; j < cols; ++j) {
        const char* p = src + (j0 + j) * s2 + i0 * kBytes;
        char* b = buf + j * kPanelStride;
        if constexpr (kBytes == 8 && kIsa == PackIsa::avx2) {
          copy_run_avx2(b, p, rows * kBytes);
        } else {
          copy_run(b, p, rows * kBytes);
        }
      }
      // The next panel: the next columns of these rows, or the first
      // columns of the next rows.
      int64_t next_i = i0, next_j = j0 + cols;
      if (next_j >= nb) next_i += kRows, next_j = 0;
      const int64_t fetch = next_i < m4 ? std::min(nb - next_j, kPanelCols) : 0;
      const char* next = fetch > 0 ? src + next_j * s2 + next_i * kBytes : src;
      int64_t fetched = 0;
      for (int64_t i = 0; i < rows; i += 4) {
        for (int64_t c = 0; c < kFetchCols && fetched < fetch; ++c, ++fetched)
          for (int64_t l = 0; l < kLines; ++l) __builtin_prefetch(next + fetched * s2 + l * 64, 0, kShape.locality);
        for (int64_t j = 0, w; j < cols; j += w) {
          w = j0 + j == 0 ? group_width<kBytes>(0, head, nb) : std::min(kCols, cols - j);
          rows_of<kBytes, kStream, kIsa>(dst + (j0 + j) * kBytes + (i0 + i) * r2, r2,
                                         buf + j * kPanelStride + i * kBytes, kPanelStride, w, 4);
        }
      }
    }
  }
  if constexpr (kStream) store_fence();
}

// The panels through SSE2, and those of 8-byte elements through AVX2:
// functions of their own, so that only a call that moves panels sets up
// the buffer's stack frame.
template <uint32_t kBytes, Panels kKind>
__attribute__((target("sse2"), noinline)) void panels_sse2(char* dst, int64_t r2, const char* src, int64_t s2,
                                                           int64_t m4, int64_t nb, int64_t head) {
  panels<kBytes, kKind, PackIsa::sse2>(dst, r2, src, s2, m4, nb, head);
}

template <Panels kKind>
__attribute__((target("avx2"), noinline)) void panels_avx2(char* dst, int64_t r2, const char* src, int64_t s2,
                                                           int64_t m4, int64_t nb, int64_t head) {
  panels<8, kKind, PackIsa::avx2>(dst, r2, src, s2, m4, nb, head);
}

// Of a panel move's three instances, the one for `kind`.
template <class Fn>
inline Fn of_kind(Panels kind, Fn cached, Fn streamed, Fn streamed_lines) {
  return kind == Panels::cached ? cached : kind == Panels::streamed ? streamed : streamed_lines;
}

// With AVX-512, from kWidePanelBytes4 (4-byte elements) or kWidePanelBytes8
// (REAL*8) on, the panels of 4- and 8-byte elements whose destination rows
// start on lines: the source is read as runs of kWideRows rows,
// kWideRunBytes of columns at a time, fetched kAhead columns ahead of the
// copy into the second-level cache, the buffer written out in squares of
// whole-line streamed stores (8 x 8 elements, 16 x 16 of 4-byte ones).
// Measured at 256 MiB: reading 1 KiB runs of 32 columns alone ran at 10-16
// GB/s, 2-4 KiB runs fetched ahead at 21-25, sequential reading at 30-38,
// while writing 256-byte runs of 128 rows ran at sequential speed (33-41
// GB/s); REAL*8 panels of 2 KiB runs by 32 columns fetched into the
// first-level cache moved 13.1-14.3 GB/s against 11.4-12.2 for the AVX2
// panels. Fetched into the second level (which leaves the first-level miss
// buffers to the copy's own loads), 4 KiB runs by 16 columns (the same 65
// KiB buffer) then measured 0.71-0.72 of memcpy at 256 MiB against
// 0.54-0.56, 1.37 at 64 MiB against 1.17 and 0.65 at 16 MiB against 0.62;
// fetching 4-8 columns ahead and 512 x 32 panels were within noise of it,
// 1024 x 16 panels slower at 256 MiB. REAL*4 (2 KiB runs by 32 columns, 66
// KiB): 0.69-0.72 at 256 MiB and 0.83-0.88 at 32 MiB against 0.52-0.54 and
// 0.64-0.73 for the SSE2 panels.
constexpr int64_t kWideRows = 512, kWideRunBytes = 128;

// Results from which those panels take over from the strips. 4-byte
// elements: where source and result no longer fit the second-level cache
// (2 MiB here), the strips' lines come from the third level more slowly
// than streamed stores drain; measured 0.61 of memcpy at 1.5 MiB against
// the strips' 0.68, 0.65 at 2 MiB against 0.64, 0.57-0.59 at 4 MiB and 0.57
// at 16 MiB against 0.53-0.56 and 0.54. REAL*8 strips, whose destination
// lines are fetched ahead (see kStripFetchBytes), stay faster up to the
// streamed results: against the panels, 0.81 of memcpy at 2 MiB against
// 0.78-0.80, 0.84 at 3 MiB against 0.74, 0.81 at 4 MiB against 0.72-0.73,
// 0.74-0.75 at 8 MiB against 0.72 and 0.73 at 16 MiB against 0.71 (3+3
// rounds, medians); on 23 shapes of 2-16 MiB with rows of 1-8 KiB,
// 10.8-14.1 GB/s against 8.3-12.8, level only with 2 MiB results of rows of
// 4-8 KiB. (One earlier run, of an earlier form of the fetch with the
// machine busier, measured the panels ahead at 2, 8 and 16 MiB by
// 0.05-0.09.) Cached stores from the same panels measured 0.54-0.55 from 2
// to 8 MiB, and 0.40 at 1 MiB.
constexpr int64_t kWidePanelBytes4 = int64_t{2} << 20, kWidePanelBytes8 = kStreamResult;

template <uint32_t kBytes>
__attribute__((target("avx512f"), noinline)) void panels_avx512(char* dst, int64_t r2, const char* src,
                                                                int64_t s2, int64_t m4, int64_t nb, int64_t head) {
  constexpr int64_t kRows = kWideRows, kPanelCols = kWideRunBytes / kBytes, kStride = kRows * kBytes + 64;
  constexpr int64_t kSide = 64 / kBytes, kAhead = 6;  // of a square
  const int64_t first = head > 0 ? head + kPanelCols - kSide : kPanelCols;
  alignas(64) char buf[kPanelCols * kStride];
  for (int64_t i0 = 0; i0 < m4; i0 += kRows) {
    const int64_t rows = std::min(m4 - i0, kRows), run = rows * kBytes;
    for (int64_t j0 = 0, cols; j0 < nb; j0 += cols) {
      cols = std::min(nb - j0, j0 == 0 ? first : kPanelCols);
      // The next panel: the next columns of these rows, or the first
      // columns of the next rows.
      int64_t next_i = i0, next_j = j0 + cols;
      if (next_j >= nb) next_i += kRows, next_j = 0;
      for (int64_t j = 0; j < cols; ++j) {
        const char* p = src + (j0 + j) * s2 + i0 * kBytes;
        const int64_t ahead = j + kAhead < cols ? j0 + j + kAhead : next_j + j + kAhead - cols;
        const char* f = j + kAhead < cols ? src + ahead * s2 + i0 * kBytes
                        : next_i < m4 && ahead < nb ? src + ahead * s2 + next_i * kBytes
                                                    : nullptr;
        char* b = buf + j * kStride;
        int64_t k = 0;
        for (; k + 64 <= run; k += 64) {
          if (f != nullptr) _mm_prefetch(f + k, _MM_HINT_T1);
          _mm512_store_si512(b + k, _mm512_loadu_si512(p + k));
        }
        if (k < run) copy_run(b + k, p + k, run - k);
      }
      for (int64_t i = 0; i < rows; i += kSide)
        for (int64_t j = 0, w; j < cols; j += w) {
          w = j0 + j == 0 ? group_width<kBytes>(0, head, nb) : std::min<int64_t>(kSide, cols - j);
          rows_of<kBytes, true, PackIsa::avx512>(dst + (j0 + j) * kBytes + (i0 + i) * r2, r2,
                                                 buf + j * kStride + i * kBytes, kStride, w,
                                                 std::min<int64_t>(kSide, rows - i));
        }
    }
  }
  store_fence();
}

#undef F90_LOAD

// The SSE2 squares for 4- and 8-byte elements where both sides are
// contiguous (s1 = r1 = bytes), the element tiles for the edges; false when
// they do not apply.
bool sse2_blocks(char* dst, int64_t r1, int64_t r2, const char* src, int64_t s1, int64_t s2,
                 int64_t m, int64_t n, uint32_t bytes) {
  const int64_t pair = 16 / bytes;  // columns of one 16-byte store
  const PackIsa isa = move_isa(transpose_isa_limit);
  if ((bytes != 8 && bytes != 4) || s1 != bytes || r1 != bytes || m < 4 || n < pair || isa == PackIsa::none)
    return false;
  const int64_t nb = n & -pair;  // pair is a power of two
  // Tiles for results that fit the L2 cache, panels for larger ones, their
  // stores streamed past the caches from kStreamResult on where the
  // destination rows are 16-byte aligned; the panels of 8-byte elements
  // through AVX2. From kLineGroupBytes on the column groups start on the
  // destination's lines (`head`); below, the narrower groups cost more than
  // they save (4-256 KiB measured up to 1.5 times slower with them).
  // With AVX-512, 4- and 8-byte elements whose destination rows start on
  // lines after the head columns move as strips (see kStripMinBytes) in
  // place of the tiles and of the panels below kWidePanelBytes8 (REAL*8)
  // or kWidePanelBytes4 (4-byte elements), and from there on through
  // panels_avx512, streamed.
  const int64_t result = m * n * bytes;
  const uintptr_t line = reinterpret_cast<uintptr_t>(dst) & 63;
  const bool lines = line % 16 == 0 && r2 % 64 == 0;
  const bool wide_panels =
      isa == PackIsa::avx512 && lines && result >= (bytes == 8 ? kWidePanelBytes8 : kWidePanelBytes4);
  const bool strips = isa == PackIsa::avx512 && lines && result >= kStripMinBytes && !wide_panels;
  const bool panel = wide_panels || (!strips && result >= kPanelBytes);
  const int64_t head = (result >= kLineGroupBytes || strips) && lines
                           ? std::min<int64_t>((64 - line) % 64 / bytes, nb)
                           : 0;
  const bool stream = result >= kStreamResult && line % 16 == 0 && r2 % 16 == 0;
  const Panels kind = !stream ? Panels::cached : lines ? Panels::streamed_lines : Panels::streamed;
  const bool avx2 = panel && !wide_panels && bytes == 8 && isa >= PackIsa::avx2;
  // The AVX-512 and AVX2 loads start on 64- or 32-byte boundaries where
  // every column does: the `lead` rows before the first such row move with
  // the edges.
  const uintptr_t align = strips || wide_panels ? 64 : 32, from = reinterpret_cast<uintptr_t>(src) & (align - 1);
  const int64_t lead = (strips || wide_panels || avx2) && from % bytes == 0 && s2 % align == 0
                           ? std::min<int64_t>((align - from) % align / bytes, m)
                           : 0;
  const int64_t m4 = lead + ((m - lead) & ~int64_t{3});
  char* const d = dst + lead * r2;
  const char* const s = src + lead * s1;
  const int64_t rows = m4 - lead;
  // The strips' lead rows: rows 0-7 with unaligned loads, rows lead-7
  // again with the aligned ones (measured 0.55 of memcpy at 256 KiB with
  // the lead rows moved element by element, 0.68 with aligned columns);
  // likewise the last rows m4.. as rows m-8 .. m-1.
  const int64_t side = 64 / bytes;  // of a square
  const bool first_strip = strips && lead > 0 && m4 >= side, last_strip = strips && m4 < m && m >= side;
  const auto strip = bytes == 4                   ? strips_avx512<4, false>
                     : result >= kStripFetchBytes ? strips_avx512<8, true>
                                                  : strips_avx512<8, false>;
  if (first_strip) strip(dst, r2, src, s2, side, nb, head);
  if (last_strip) strip(dst + (m - side) * r2, r2, src + (m - side) * s1, s2, side, nb, head);
  if (strips) {
    strip(d, r2, s, s2, rows, nb, head);
  } else if (!panel) {
    (bytes == 4 ? tiles<4> : tiles<8>)(d, r2, s, s2, rows, nb, head);
  } else if (wide_panels) {
    (bytes == 8 ? panels_avx512<8> : panels_avx512<4>)(d, r2, s, s2, rows, nb, head);
  } else if (avx2) {
    of_kind(kind, panels_avx2<Panels::cached>, panels_avx2<Panels::streamed>,
            panels_avx2<Panels::streamed_lines>)(d, r2, s, s2, rows, nb, head);
  } else if (bytes == 8) {
    of_kind(kind, panels_sse2<8, Panels::cached>, panels_sse2<8, Panels::streamed>,
            panels_sse2<8, Panels::streamed_lines>)(d, r2, s, s2, rows, nb, head);
  } else {
    of_kind(kind, panels_sse2<4, Panels::cached>, panels_sse2<4, Panels::streamed>,
            panels_sse2<4, Panels::streamed_lines>)(d, r2, s, s2, rows, nb, head);
  }
  // Columns nb.. of every row, then rows 0..lead and m4.. of the first nb
  // columns.
  const auto edge = bytes == 8 ? copy_tiles<8> : copy_tiles<4>;
  if (nb < n) edge(dst + nb * r1, r1, r2, src + nb * s2, s1, s2, m, n - nb, bytes);
  if (lead > 0 && !first_strip) edge(dst, r1, r2, src, s1, s2, lead, nb, bytes);
  if (m4 < m && !last_strip) edge(dst + m4 * r2, r1, r2, src + m4 * s1, s1, s2, m - m4, nb, bytes);
  return true;
}

}  // namespace

PackIsa transpose_isa_limit = PackIsa::avx512;

void transpose_block(char* dst, int64_t r1, int64_t r2, const char* src, int64_t s1, int64_t s2,
                     int64_t m, int64_t n, uint32_t bytes) {
  if (m <= 0 || n <= 0 || bytes == 0) return;
  // The same moves with i and j exchanged: i is made the index along which
  // the source is closer together, read in runs.
  if (std::llabs(s2) < std::llabs(s1)) {
    std::swap(m, n);
    std::swap(s1, s2);
    std::swap(r1, r2);
  }
  if (sse2_blocks(dst, r1, r2, src, s1, s2, m, n, bytes)) return;
  switch (bytes) {
    case 1: return copy_tiles<1>(dst, r1, r2, src, s1, s2, m, n, bytes);
    case 2: return copy_tiles<2>(dst, r1, r2, src, s1, s2, m, n, bytes);
    case 3: return copy_tiles<3>(dst, r1, r2, src, s1, s2, m, n, bytes);
    case 4: return copy_tiles<4>(dst, r1, r2, src, s1, s2, m, n, bytes);
    case 8: return copy_tiles<8>(dst, r1, r2, src, s1, s2, m, n, bytes);
    case 12: return copy_tiles<12>(dst, r1, r2, src, s1, s2, m, n, bytes);
    case 16: return copy_tiles<16>(dst, r1, r2, src, s1, s2, m, n, bytes);
    default: return copy_tiles<0>(dst, r1, r2, src, s1, s2, m, n, bytes);
  }
}

}  // namespace f90

namespace {

using f90::Desc;

struct Layout {
  int64_t unit;   // bytes per storage unit
  uint32_t u;     // units per element
  int64_t bits;   // element length in bits
};

Layout layout(Desc s) {
  const uint32_t int_len = s.int_len();
  switch (s.type_code()) {
    case TYPE_CHARACTER: return {1, s.elem_len(), int64_t{s.elem_len()} * 8};
    case TYPE_DERIVED_BYTES: return {1, s.elem_len() / 8, s.elem_len()};
    case TYPE_DERIVED_WORDS: return {4, s.elem_len() / 32, s.elem_len()};
    default: break;
  }
  if (int_len == 8 || int_len == 16) return {1, int_len / 8, int_len};
  return {4, int_len / 32, int_len};
}

// Completes an unassociated result; false after a 1205 report.
bool complete(Desc r, const Layout& l, bool character, int64_t m, int64_t n) {
  r.set_base(nullptr);
  r.set_alloc(nullptr, 0);
  const int64_t rows = std::max<int64_t>(m, 0), cols = std::max<int64_t>(n, 0);
  r.set_dim(0, 1, static_cast<int32_t>(n), static_cast<int32_t>(l.u));
  r.set_dim(1, 1, static_cast<int32_t>(m),
            static_cast<int32_t>(static_cast<uint32_t>(n) * l.u));  // wraps only when empty
  int64_t bits = 0;
  if (__builtin_mul_overflow(cols, l.bits, &bits) || __builtin_mul_overflow(bits, rows, &bits) ||
      bits / 8 > f90::kMaxResultBytes) {
    f90::report(ERR_ALLOC_FAILED);
    return false;
  }
  void* storage = nullptr;
  if (bits != 0) {
    storage = _F90ALLOC(static_cast<uint32_t>(bits / 8), 0);
    if (storage == nullptr) {
      f90::report(ERR_ALLOC_FAILED);
      return false;
    }
  }
  r.set_assoc(true);
  if (character) {
    CharDescriptor slot;
    f90::cptofcd(&slot, static_cast<char*>(storage), l.u);
    std::memcpy(r.raw(), &slot, sizeof slot);
  } else {
    r.set_base(storage);
  }
  r.set_alloc(storage, static_cast<uint32_t>(bits));
  return true;
}

}  // namespace

void transpose(ArrayDescriptor* result, ArrayDescriptor* source) {
  if (!f90::inputs_readable(source)) return;
  const Desc s(source), r(result);
  const Layout l = layout(s);
  const int64_t m = s.extent(0), n = s.extent(1);
  if (!r.assoc() && !complete(r, l, s.is_character(), m, n)) return;
  if (m <= 0 || n <= 0 || l.u == 0) return;

  const int64_t s1 = s.stride(0) * l.unit, s2 = s.stride(1) * l.unit;
  const int64_t r1 = r.stride(0) * l.unit, r2 = r.stride(1) * l.unit;
  f90::transpose_block(r.base(), r1, r2, s.base(), s1, s2, m, n, static_cast<uint32_t>(l.u * l.unit));
}
