// The block-moving paths of the movement routines against naive models:
// TRANSPOSE and RESHAPE with ORDER (2, 1) through the tiled and SSE2
// transposition, CSHIFT and EOSHIFT with per-line shifts along DIM 2 in tiles
// of lines, PACK through the 32-element mask chunks, TRANSFER gathering a
// strided SOURCE into a contiguous result. Each table has shapes around the
// tile and block edges and results of more than 4 MiB (stored past the
// caches), aligned and not, and compares every byte with the model built
// element by element from random bit patterns (NaN patterns included).
#include <gtest/gtest.h>
#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "array/construct.h"
#include "array/shift.h"
#include "array/transfer.h"
#include "array/transpose.h"
#include "descriptor_builder.h"
#include "guard_page.h"
#include "recording_runtime.h"

namespace {

using f90test::Descriptor;
using f90test::ElemType;
using f90test::Runtime;

// A routine's hidden path setting (widest instruction set, size limits),
// which a test changes to run the other paths, put back as it was when the
// test ends.
template <class T>
struct PathsAtEnd {
  T& setting;
  const T saved = setting;
  ~PathsAtEnd() { setting = saved; }
};

class MovesLarge : public ::testing::Test {
 protected:
  f90test::RuntimeScope scope;
};

// Contiguous storage for an m x n matrix (or a vector: n = 1) whose first
// element lies `offset` bytes into a 64-byte aligned block, so that a test
// can offer a routine an aligned or a misaligned operand.
struct Storage {
  std::vector<unsigned char> raw;
  char* base;
  Storage(int64_t bytes, int offset, std::mt19937& rng) : raw(static_cast<size_t>(bytes + 128)) {
    for (auto& b : raw) b = static_cast<unsigned char>(rng());
    const uintptr_t p = reinterpret_cast<uintptr_t>(raw.data());
    base = reinterpret_cast<char*>((p + 63) / 64 * 64 + static_cast<uintptr_t>(offset));
  }
  // The first byte outside the `bytes` from base that differs from
  // `before` (a copy of raw), or -1.
  int64_t changed_outside(const std::vector<unsigned char>& before, int64_t bytes) const {
    const int64_t lead = base - reinterpret_cast<const char*>(raw.data());
    for (int64_t k = 0; k < static_cast<int64_t>(raw.size()); ++k)
      if ((k < lead || k >= lead + bytes) && raw[k] != before[k]) return k;
    return -1;
  }
};

// A rank-2 descriptor over `base`, column-major and contiguous (strides in
// the element's storage units).
Descriptor matrix(ElemType t, char* base, int32_t m, int32_t n) {
  Descriptor d(t, 2, true);
  const int32_t u = static_cast<int32_t>(t.bytes() / t.unit());
  d->base = base;
  d->dim[0] = {1, m, u};
  d->dim[1] = {1, n, u * m};
  return d;
}

Descriptor vector_of(ElemType t, char* base, int32_t n, int32_t step) {
  Descriptor d(t, 1, true);
  d->base = base;
  d->dim[0] = {1, n, step * static_cast<int32_t>(t.bytes() / t.unit())};
  return d;
}

Descriptor scalar_of(ElemType t, void* base) {
  Descriptor d(t, 0, true);
  d->base = base;
  return d;
}

struct MatrixCase {
  const char* what;
  ElemType type;
  int32_t m, n;
  int offset;  // bytes past 64-byte alignment of the result
  int source_offset = 0;  // and of the source
};

// Shapes not multiples of the SSE2 blocks (4 x 8, 4 x 16), a tile edge
// (512 rows), tiles and panels (from 2 MiB) with the last panel short in
// rows and in columns, results above 16 MiB (streamed when aligned), rows
// that start inside a cache line (head columns) and sources whose columns
// start inside a 32- or 64-byte piece (lead rows); with AVX-512, REAL*8
// and 4-byte results whose rows are whole lines in strips of 8 x 8 and
// 16 x 16 squares (REAL*8 from 128 KiB to 16 MiB, claiming their
// destination lines ahead from 1 MiB; 4-byte ones to 2 MiB) and
// streamed panels of them above that (and, through the narrower paths,
// streamed panels of both shapes), with
// 4-12 rows left over in the last strip or panel, short last strips
// (fewer row groups than a strip has, so the skewed groups end early), and
// the last rows moved again with the rows before them (below the lead
// rows' overlap too).
const MatrixCase kMatrices[] = {
    {"REAL*8 4x8", ElemType::real(8), 4, 8, 0},
    {"REAL*8 7x13", ElemType::real(8), 7, 13, 0},
    {"REAL*8 515x9", ElemType::real(8), 515, 9, 8},
    {"REAL*8 1030x514 panels", ElemType::real(8), 1030, 514, 0},
    {"REAL*8 1030x514 panels, misaligned", ElemType::real(8), 1030, 514, 8},
    {"REAL*8 1029x515 odd rows", ElemType::real(8), 1029, 515, 0},
    {"REAL*4 5x17", ElemType::real(4), 5, 17, 4},
    {"REAL*4 1031x1040 panels", ElemType::real(4), 1031, 1040, 0},
    {"REAL*8 300x240 head", ElemType::real(8), 300, 240, 32, 16},
    {"REAL*8 400x392 head, short panels", ElemType::real(8), 400, 392, 16},
    {"REAL*8 1000x1096 head, short panels", ElemType::real(8), 1000, 1096, 48},
    {"REAL*8 1500x1408 head, lead, streamed", ElemType::real(8), 1500, 1408, 16, 8},
    {"REAL*8 1500x1408 misaligned", ElemType::real(8), 1500, 1408, 8},
    {"REAL*4 2100x2050 streamed", ElemType::real(4), 2100, 2050, 0},
    {"REAL*4 600x1008 head, short panels", ElemType::real(4), 600, 1008, 16},
    {"INTEGER*4 1100x1001 short panels, misaligned", ElemType::integer(4), 1100, 1001, 4},
    {"REAL*8 320x200 strips, head, lead 4, last columns", ElemType::real(8), 320, 200, 48, 32},
    {"REAL*8 1203x1000 strips, unaligned columns", ElemType::real(8), 1203, 1000, 0},
    {"REAL*8 1000x2104 streamed, lead 4", ElemType::real(8), 1000, 2104, 0, 32},
    {"REAL*8 2052x1024 streamed, lead 4, whole 512-row panels", ElemType::real(8), 2052, 1024, 0, 32},
    {"REAL*4 2052x2048 streamed, rows on lines, head 12, 4-row last panel", ElemType::real(4), 2052, 2048, 16, 16},
    {"INTEGER*4 2050x2052 streamed, rows inside lines", ElemType::integer(4), 2050, 2052, 0},
    {"REAL*4 1056x4096 streamed, head 12, lead 4, 12-row last group", ElemType::real(4), 1056, 4096, 16, 48},
    {"REAL*8 1030x2046 streamed, rows inside lines", ElemType::real(8), 1030, 2046, 0, 8},
    {"REAL*8 524x264 strips, head 6, unaligned columns, 4-row group", ElemType::real(8), 524, 264, 16, 16},
    {"REAL*8 1048x520 strips, lead 6, head 2, last rows", ElemType::real(8), 1048, 520, 48, 16},
    {"REAL*8 1056x168 strips, lead 6, head 2, short last strip, last rows", ElemType::real(8), 1056, 168, 48, 16},
    {"REAL*8 10x2000 strip of the last rows over the first", ElemType::real(8), 10, 2000, 0},
    {"REAL*8 16x1200 lead and last rows overlapping", ElemType::real(8), 16, 1200, 0, 16},
    {"REAL*8 5x4000 strips of 4 rows, last row alone", ElemType::real(8), 5, 4000, 0},
    {"INTEGER*4 530x272 strips, head 4, 12 last columns, last rows", ElemType::integer(4), 530, 272, 48},
    {"REAL*4 1040x304 strips, lead 4, 12-row group", ElemType::real(4), 1040, 304, 0, 48},
    {"INTEGER*2 33x70", ElemType::integer(2), 33, 70, 2},
    {"COMPLEX*16 300x130", ElemType::complex(16), 300, 130, 0},
    {"CHARACTER*3 41x29", ElemType::character(3), 41, 29, 1},
    {"derived, 3 words 19x23", ElemType::derived_words(3), 19, 23, 4},
};

// result(j, i) == source(i, j) for every element, byte for byte.
void expect_transposed(const MatrixCase& c, const char* src, const char* dst, const std::string& what) {
  const int64_t eb = c.type.bytes();
  for (int64_t j = 0; j < c.n; ++j)
    for (int64_t i = 0; i < c.m; ++i)
      ASSERT_EQ(std::memcmp(dst + (j + i * c.n) * eb, src + (i + j * c.m) * eb, eb), 0)
          << what << " (" << i << ", " << j << ")";
}

// Runs `move(dst, src)` (an m x n source into an n x m result) for every
// case, through every path the CPU has (the widest first), and checks the
// transposition and the bytes around the result.
template <class Move>
void transposition_table(uint32_t seed, Move&& move) {
  const PathsAtEnd<f90::PackIsa> restore{f90::transpose_isa_limit};
  std::mt19937 rng(seed);
  for (const f90::PackIsa limit : {f90::PackIsa::avx512, f90::PackIsa::avx2, f90::PackIsa::sse2, f90::PackIsa::none}) {
    f90::transpose_isa_limit = limit;
    for (const auto& c : kMatrices) {
      Runtime::reset();
      const int64_t bytes = int64_t{c.m} * c.n * c.type.bytes();
      Storage s(bytes, c.source_offset, rng), r(bytes, c.offset, rng);
      Descriptor src = matrix(c.type, s.base, c.m, c.n), dst = matrix(c.type, r.base, c.n, c.m);
      const std::vector<unsigned char> before(r.raw);
      move(c, dst.get(), src.get());
      const std::string what = std::string(c.what) + ", paths up to " + std::to_string(static_cast<int>(limit));
      ASSERT_TRUE(Runtime::reports().empty()) << what;
      expect_transposed(c, s.base, r.base, what);
      ASSERT_EQ(r.changed_outside(before, bytes), -1) << what;
    }
  }
}

TEST_F(MovesLarge, TransposeBlocksMatchTheElementModel) {
  transposition_table(34, [](const MatrixCase&, ArrayDescriptor* dst, ArrayDescriptor* src) {
    transpose(dst, src);
  });
}

TEST_F(MovesLarge, ReshapeWithOrderTwoOneIsTheTransposition) {
  transposition_table(35, [](const MatrixCase& c, ArrayDescriptor* dst, ArrayDescriptor* src) {
    int32_t shape_v[2] = {c.n, c.m}, order_v[2] = {2, 1};
    Descriptor shape = vector_of(ElemType::integer(4), reinterpret_cast<char*>(shape_v), 2, 1);
    Descriptor order = vector_of(ElemType::integer(4), reinterpret_cast<char*>(order_v), 2, 1);
    f90::reshape(dst, src, shape.get(), nullptr, order.get());
  });
}

// CSHIFT and EOSHIFT along DIM 2 of m x n matrices with a shift per line.
struct LineShiftCase {
  const char* what;
  ElemType type;
  int32_t m, n;  // m lines of n elements; past 512 lines (256 if streamed) more tiles
  int offset;
  int boundary;  // EOSHIFT: 0 absent, 1 scalar, 2 one per line
  int32_t run = 0;  // > 0: the shift changes only every `run` lines (64 result bytes of one or two sources)
  int32_t lda = 0;  // > m: ARRAY's columns lda elements apart (a section of a taller array)
  int32_t gap = 1;  // > 1: the result's elements gap apart along dimension 0 (lines not contiguous)
  // > 0: line i's shift is base + i % (1 + i / 8 % span) (each 8 lines 1 .. span consecutive shifts, in
  // turn: bands of lines with every window width, and wider ones), changing only every `run` lines if set
  int32_t span = 0, base = 0;
  int a_offset = 0;  // ARRAY's first element this many bytes into a 64-byte aligned block
};

const LineShiftCase kLineShifts[] = {
    {"REAL*8 small", ElemType::real(8), 9, 6, 0, 2},
    {"INTEGER*8 small, misaligned", ElemType::integer(8), 40, 30, 4, 1},
    {"COMPLEX*8 small", ElemType::complex(8), 33, 17, 0, 2},
    {"CHARACTER*8 small, blanks", ElemType::character(8), 30, 20, 8, 0},
    {"REAL*8 two tiles, streamed", ElemType::real(8), 1100, 500, 0, 0},
    {"REAL*8 two tiles, misaligned", ElemType::real(8), 1100, 500, 8, 2},
    {"REAL*8 odd lines, streamed", ElemType::real(8), 1025, 520, 0, 1},
    {"INTEGER*4 odd lines, streamed", ElemType::integer(4), 1027, 1030, 0, 1},
    {"REAL*8 few long lines, streamed", ElemType::real(8), 40, 14000, 0, 2},
    {"REAL*8 short columns, 4 indices at a time", ElemType::real(8), 203, 150, 8, 1},
    {"REAL*8 short columns, ARRAY's longer", ElemType::real(8), 203, 150, 8, 2, 0, 211},
    {"REAL*8 full tiles in the caches", ElemType::real(8), 600, 300, 0, 1},
    {"REAL*8 result with gaps", ElemType::real(8), 300, 120, 0, 2, 0, 0, 2},
    {"INTEGER*4 result with gaps", ElemType::integer(4), 250, 90, 4, 0, 0, 0, 3},
    {"CHARACTER*16 blanks, tiles", ElemType::character(16), 200, 40, 0, 0},
    {"COMPLEX*16 tiles", ElemType::complex(16), 150, 60, 4, 2},
    {"INTEGER*4 few long lines, streamed", ElemType::integer(4), 44, 24000, 0, 0},
    {"REAL*4 misaligned", ElemType::real(4), 301, 50, 4, 2},
    {"INTEGER*1 lines", ElemType::integer(1), 2050, 7, 1, 2},
    {"COMPLEX*32", ElemType::complex(32), 70, 33, 0, 1},
    {"CHARACTER*3 blanks", ElemType::character(3), 1030, 11, 3, 0},
    {"CHARACTER*4 blanks, long stretches", ElemType::character(4), 40, 400, 0, 0},
    {"derived, 3 words zero", ElemType::derived_words(3), 40, 9, 4, 0},
    {"derived, 5 bytes blanks", ElemType::derived_bytes(5), 17, 12, 1, 0},
    {"REAL*8 runs, streamed, head", ElemType::real(8), 264, 2100, 16, 2, 12},
    {"REAL*8 runs, columns off 64 bytes", ElemType::real(8), 201, 300, 8, 1, 9},
    {"INTEGER*4 runs, head", ElemType::integer(4), 208, 160, 8, 0, 12},
    {"REAL*4 runs, streamed", ElemType::real(4), 496, 2200, 0, 2, 20},
    {"REAL*8 bands of 1 to 8 shifts, last band short", ElemType::real(8), 203, 60, 0, 2, 0, 0, 1, 8, 7},
    {"REAL*8 bands entering the boundary at the start", ElemType::real(8), 203, 61, 8, 1, 0, 0, 1, 8, -20, 16},
    {"REAL*8 bands wrapping at the end", ElemType::real(8), 130, 45, 24, 0, 0, 0, 1, 7, 38, 8},
    {"REAL*8 bands beyond n", ElemType::real(8), 100, 50, 0, 2, 0, 0, 1, 5, 147},
    {"REAL*8 bands, two tiles, misaligned", ElemType::real(8), 1100, 43, 40, 2, 0, 0, 1, 7, -3, 4},
    {"REAL*8 bands in runs of 16", ElemType::real(8), 264, 100, 0, 1, 16, 0, 1, 7, 30},
    {"INTEGER*4 bands of 16 lines", ElemType::integer(4), 301, 50, 4, 2, 0, 0, 1, 8, 3, 12},
    {"REAL*8 bands of a section", ElemType::real(8), 200, 70, 0, 1, 0, 216, 1, 6, 10},
    {"REAL*8 bands of long lines, columns table filled again", ElemType::real(8), 40, 9000, 0, 2, 0, 0, 1, 10, 3000},
    {"INTEGER*4 bands of long lines entering the boundary", ElemType::integer(4), 48, 5000, 8, 1, 0, 0, 1, 4, -4100},
};

TEST_F(MovesLarge, PerLineShiftsAlongTheSecondDimension) {
  const PathsAtEnd<f90::ShiftPaths> restore_cshift{f90::cshift_paths}, restore_eoshift{f90::eoshift_paths};
  std::mt19937 rng(36);
  // Every path the CPU has: bands of lines (stored plainly and streamed), merged groups, SSE2 gathers,
  // plain moves, each at every size.
  const f90::ShiftPaths passes[] = {{f90::PackIsa::avx512, 0, 0, INT64_MAX},
                                    {f90::PackIsa::avx512, 0, 0, 0},
                                    {f90::PackIsa::avx512, 0, INT64_MAX, INT64_MAX},
                                    {f90::PackIsa::sse2, 0, INT64_MAX, INT64_MAX},
                                    {f90::PackIsa::none, 0, INT64_MAX, INT64_MAX}};
  for (const f90::ShiftPaths& pass : passes) {
    const f90::PackIsa limit = pass.isa;
    f90::cshift_paths = f90::eoshift_paths = pass;
    for (const bool circular : {true, false}) {
      for (const auto& c : kLineShifts) {
        Runtime::reset();
        const int64_t eb = c.type.bytes(), bytes = int64_t{c.m} * c.n * eb, lda = c.lda > 0 ? c.lda : c.m;
        Storage a(lda * c.n * eb + 64, c.a_offset, rng), r(bytes * c.gap, c.offset, rng), bnd(c.m * eb, 0, rng);
        Descriptor array = matrix(c.type, a.base, c.m, c.n), result = matrix(c.type, r.base, c.m, c.n);
        array->dim[1].stride = static_cast<int32_t>(lda * eb / c.type.unit());
        result->dim[0].stride *= c.gap;
        result->dim[1].stride *= c.gap;
        // Shifts in and beyond -n .. n, runs of equal ones and single ones.
        std::vector<int32_t> shift(c.m);
        for (int32_t i = 0; i < c.m; ++i) {
          const int32_t pick = static_cast<int32_t>(rng() % 6);  // half the lines repeat the last
          const int32_t at = c.run > 0 ? i / c.run : i;
          shift[i] = c.span > 0 ? c.base + at % (1 + at / 8 % c.span)
                     : pick == 0 || pick > 3 || (c.run > 0 && i % c.run != 0) ? shift[i > 0 ? i - 1 : 0]
                     : pick == 1 ? static_cast<int32_t>(rng() % (4 * c.n + 1)) - 2 * c.n
                     : pick == 2 ? static_cast<int32_t>(rng())
                                 : c.n / 3 + i % 7;
        }
        Descriptor sh = vector_of(ElemType::integer(4), reinterpret_cast<char*>(shift.data()), c.m, 1);
        Descriptor per_line = vector_of(c.type, bnd.base, c.m, 1);
        Descriptor one = scalar_of(c.type, bnd.base);
        const int32_t dim = 2;
        const std::vector<unsigned char> before(r.raw);  // the result's storage around it must stay
        if (circular) {
          cshift(result.get(), array.get(), sh.get(), &dim);
        } else {
          eoshift(result.get(), array.get(), sh.get(),
                  c.boundary == 0 ? nullptr : c.boundary == 1 ? one.get() : per_line.get(), &dim);
        }
        ASSERT_TRUE(Runtime::reports().empty()) << c.what;
        ASSERT_EQ(r.changed_outside(before, bytes * c.gap), -1) << c.what;
        const int8_t code = c.type.code();
        const char blank = code == TYPE_CHARACTER || code == TYPE_DERIVED_BYTES ? ' ' : 0;
        const std::vector<char> fill(static_cast<size_t>(eb), blank);
        for (int64_t i = 0; i < c.m; ++i) {
          const int64_t s = shift[i];
          for (int64_t k = 0; k < c.n; ++k) {
            const char* want;
            if (circular) {
              want = a.base + (i + ((k + s % c.n) % c.n + c.n) % c.n * lda) * eb;
            } else {
              const int64_t from = k + (s > c.n ? c.n : s < -c.n ? -c.n : s);
              want = from >= 0 && from < c.n ? a.base + (i + from * lda) * eb
                     : c.boundary == 0       ? fill.data()
                     : c.boundary == 1       ? bnd.base
                                             : bnd.base + i * eb;
            }
            ASSERT_EQ(std::memcmp(r.base + (i + k * c.m) * c.gap * eb, want, eb), 0)
                << (circular ? "CSHIFT " : "EOSHIFT ") << c.what << " line " << i << " k " << k << ", paths up to "
                << static_cast<int>(limit);
          }
        }
      }
    }
  }
}

// PACK of a contiguous ARRAY under contiguous LOGICAL*1 and *4 masks (read
// 32 at a time) and a strided one: all true (whole chunks moved as blocks),
// none, alternating, random, true only in the last partial chunk; with a
// VECTOR shorter than the selection (the chunk that would overflow goes
// element by element) and longer.
TEST_F(MovesLarge, PackChunksMatchTheSelection) {
  struct Case {
    const char* what;
    ElemType type, mask;
    int32_t n, mask_step;
    int pattern;          // 0 all, 1 none, 2 alternate, 3 random, 4 last partial chunk only
    int32_t vector_less;  // VECTOR's extent: the selection minus this (-1: no VECTOR)
  } cases[] = {
      {"REAL*8 all, LOGICAL*4", ElemType::real(8), ElemType::logical(4), 1000, 1, 0, -1},
      {"REAL*8 none", ElemType::real(8), ElemType::logical(4), 1000, 1, 1, -1},
      {"REAL*8 alternate, LOGICAL*1", ElemType::real(8), ElemType::logical(1), 999, 1, 2, -1},
      {"REAL*8 random, short VECTOR", ElemType::real(8), ElemType::logical(4), 5000, 1, 3, 17},
      {"REAL*8 random, long VECTOR", ElemType::real(8), ElemType::logical(1), 5000, 1, 3, -20},
      {"REAL*8 last chunk", ElemType::real(8), ElemType::logical(4), 70, 1, 4, -1},
      {"INTEGER*2 random, strided mask", ElemType::integer(2), ElemType::logical(4), 3000, -2, 3, -1},
      {"COMPLEX*32 all, short VECTOR", ElemType::complex(32), ElemType::logical(1), 300, 1, 0, 33},
      {"CHARACTER*3 random", ElemType::character(3), ElemType::logical(4), 400, 1, 3, -1},
      {"LOGICAL*8 mask, random", ElemType::real(4), ElemType::logical(8), 777, 1, 3, -1},
  };
  std::mt19937 rng(37);
  for (const auto& c : cases) {
    Runtime::reset();
    const int64_t eb = c.type.bytes(), mb = c.mask.bytes();
    Storage a(c.n * eb, 0, rng), m(c.n * mb * 2, 0, rng);
    std::vector<bool> truth(c.n);
    char* mbase = c.mask_step < 0 ? m.base + (c.n - 1) * mb * 2 : m.base;
    for (int32_t k = 0; k < c.n; ++k) {
      truth[k] = c.pattern == 0 ? true : c.pattern == 1 ? false : c.pattern == 2 ? k % 2 == 0
                 : c.pattern == 3 ? rng() % 2 == 0 : k >= c.n / 32 * 32 && k % 3 == 0;
      char* p = mbase + int64_t{k} * c.mask_step * mb;
      std::memset(p, 0, mb);
      if (truth[k]) p[rng() % mb] = static_cast<char>(1 + rng() % 255);  // any non-zero byte
    }
    std::vector<int64_t> selected;
    for (int32_t k = 0; k < c.n; ++k)
      if (truth[k]) selected.push_back(k);
    const int32_t count = static_cast<int32_t>(selected.size());
    const bool with_vector = c.vector_less != -1;
    const int32_t nv = with_vector ? std::max(count - c.vector_less, 0) : 0;
    Storage v(nv * eb + 1, 0, rng), r(std::max<int64_t>(c.n, nv) * eb + 1, 8, rng);
    Descriptor array = vector_of(c.type, a.base, c.n, 1);
    Descriptor mask = vector_of(c.mask, mbase, c.n, c.mask_step);
    Descriptor vec = vector_of(c.type, v.base, nv, 1);
    Descriptor result = vector_of(c.type, r.base, with_vector ? nv : c.n, 1);
    f90::pack(result.get(), array.get(), mask.get(), with_vector ? vec.get() : nullptr);
    ASSERT_TRUE(Runtime::reports().empty()) << c.what;
    const int32_t want_extent = with_vector ? nv : count;
    ASSERT_EQ(result->dim[0].extent, want_extent) << c.what;
    for (int32_t k = 0; k < want_extent; ++k) {
      const char* want = k < count ? a.base + selected[k] * eb : v.base + int64_t{k} * eb;
      ASSERT_EQ(std::memcmp(r.base + int64_t{k} * eb, want, eb), 0) << c.what << " element " << k;
    }
  }
}

// PACK of contiguous 4- and 8-byte elements into a contiguous result (moved
// 16 to 64 bytes at a time, some forms storing past the last selected
// element) and of 2-byte ones, under masks of every LOGICAL width, against
// an element model: ARRAY, MASK and the result each end
// at an inaccessible page, the result exactly as long as the selection or
// VECTOR's extent (also 3 short of the selection), so that a load past
// ARRAY or a store past the result faults; or, without VECTOR, 3 elements
// longer, which keep their contents.
// Lengths straddle the 4, 8, 16 and 32 element groups.
TEST_F(MovesLarge, PackCompressedIntoAnExactResult) {
  using f90test::GuardedBuffer;
  const PathsAtEnd<f90::PackIsa> restore{f90::pack_isa_limit};
  // pairs: the first two of every 32, so that a chunk's last stores pass
  // its selection while the next chunk selects just 16 bytes of REAL*8;
  // heads: the first eight and four of alternate chunks, just and not
  // enough INTEGER*4 (32 and 16 bytes) to cover what the AVX2 form stores
  // past a selection.
  enum Pattern { all, none, alternate, random_half, runs, pairs, heads };
  const ElemType types[] = {ElemType::integer(4), ElemType::real(8), ElemType::integer(2)};
  std::mt19937 rng(39);
  for (const ElemType& type : types) {
    for (const int pattern : {all, none, alternate, random_half, runs, pairs, heads}) {
      for (const int32_t n : {1, 3, 4, 5, 8, 9, 15, 16, 17, 31, 32, 33, 48, 63, 64, 65, 97, 130, 1000}) {
        // VECTOR's extent less the selection; -1 and -2: no VECTOR.
        for (const int32_t vector_more : {-2, -1, 0, 5, -3}) {
          Runtime::reset();
          const int64_t eb = type.bytes();
          const int mb = 1 << (n + pattern) % 4;  // LOGICAL*1, *2, *4 and *8 masks
          GuardedBuffer array(static_cast<size_t>(n * eb)), mask(static_cast<size_t>(n * mb));
          char* a = static_cast<char*>(array.data());
          char* m = static_cast<char*>(mask.data());
          for (int64_t k = 0; k < n * eb; ++k) a[k] = static_cast<char>(rng());  // NaN patterns too
          std::vector<int64_t> selected;
          bool run_value = rng() % 2 == 0;
          int32_t run_left = 0;
          for (int32_t k = 0; k < n; ++k) {
            if (run_left-- == 0) {
              run_value = !run_value;
              run_left = static_cast<int32_t>(rng() % 40);
            }
            const bool t = pattern == all ? true : pattern == none ? false : pattern == alternate ? k % 2 == 1
                           : pattern == random_half ? rng() % 2 == 0 : pattern == pairs ? k % 32 < 2
                           : pattern == heads ? k % 32 < 8 - k / 32 % 2 * 4 : run_value;
            std::memset(m + k * mb, 0, mb);
            if (t) m[k * mb + rng() % mb] = static_cast<char>(1 + rng() % 255);
            if (t) selected.push_back(k);
          }
          const int32_t count = static_cast<int32_t>(selected.size());
          const bool with_vector = vector_more >= 0 || vector_more == -3;
          const int32_t extent = with_vector ? std::max(count + vector_more, 0) : count;
          const int32_t supplied = vector_more == -2 ? count + 3 : extent;
          GuardedBuffer out(static_cast<size_t>(std::max(supplied, 1) * eb)), vec(static_cast<size_t>(std::max(extent, 1) * eb));
          char* r = static_cast<char*>(out.data()) + (out.size() - supplied * eb);  // ends at the page
          // Every path the CPU has, the widest first (each into a fresh result).
          for (const f90::PackIsa limit : {f90::PackIsa::avx512, f90::PackIsa::avx2, f90::PackIsa::ssse3,
                                           f90::PackIsa::sse2, f90::PackIsa::none}) {
            f90::pack_isa_limit = limit;
            for (int64_t k = 0; k < supplied * eb; ++k) r[k] = static_cast<char>(rng());
            const std::vector<char> spare(r + extent * eb, r + supplied * eb);
            char* v = static_cast<char*>(vec.data());
            for (int64_t k = 0; k < extent * eb; ++k) v[k] = static_cast<char>(rng());
            Descriptor ad = vector_of(type, a, n, 1);
            Descriptor md = vector_of(ElemType::logical(mb), m, n, 1);
            Descriptor vd = vector_of(type, v, extent, 1);
            Descriptor rd = vector_of(type, r, supplied, 1);
            f90::pack(rd.get(), ad.get(), md.get(), with_vector ? vd.get() : nullptr);
            const std::string what = std::to_string(eb) + "-byte, pattern " + std::to_string(pattern) +
                                     ", n " + std::to_string(n) + ", VECTOR " + std::to_string(vector_more) +
                                     ", paths up to " + std::to_string(static_cast<int>(limit));
            ASSERT_TRUE(Runtime::reports().empty()) << what;
            ASSERT_EQ(rd->dim[0].extent, extent) << what;
            for (int32_t k = 0; k < extent; ++k) {
              const char* want = k < count ? a + selected[k] * eb : v + int64_t{k} * eb;
              ASSERT_EQ(std::memcmp(r + int64_t{k} * eb, want, eb), 0) << what << " element " << k;
            }
            ASSERT_TRUE(std::equal(spare.begin(), spare.end(), r + extent * eb)) << what << ": past the extent";
          }
        }
      }
    }
  }
}

// TRANSFER of a strided SOURCE into a contiguous result (gathered in place:
// 4- and 8-byte elements two apart through AVX-512 and AVX2 masked loads, at
// any stride through SSE2; a result above 8 MiB streamed when aligned, the
// elements before its first line through SSE2 when it starts inside one), with
// SIZE cutting the stream inside an element, against the bytes of the stream.
TEST_F(MovesLarge, TransferGathersTheStream) {
  struct Case {
    const char* what;
    ElemType source, mold;
    int32_t n, step;  // SOURCE elements and their step
    int offset;       // of the result, when the test supplies it
    int32_t size;     // SIZE, or 0 for none
  } cases[] = {
      {"INTEGER*4 step 2 to REAL*8", ElemType::integer(4), ElemType::real(8), 1001, 2, 0, 0},
      {"INTEGER*4 step 2, streamed", ElemType::integer(4), ElemType::real(8), 2200000, 2, 0, 0},
      {"INTEGER*4 step 2, misaligned", ElemType::integer(4), ElemType::real(8), 2200000, 2, 4, 0},
      {"INTEGER*4 step 2, streamed, 48 bytes to a line", ElemType::integer(4), ElemType::real(8), 2200001, 2, 16, 0},
      {"REAL*8 step 2, streamed, 16 bytes to a line", ElemType::real(8), ElemType::real(8), 1100003, 2, 48, 0},
      {"REAL*8 step 2", ElemType::real(8), ElemType::integer(4), 1003, 2, 0, 0},
      {"REAL*8 step 2, streamed, misaligned", ElemType::real(8), ElemType::real(8), 1100005, 2, 8, 0},
      {"REAL*8 step -3, streamed", ElemType::real(8), ElemType::integer(4), 1100001, -3, 0, 0},
      {"REAL*8 step 3 to CHARACTER*3", ElemType::real(8), ElemType::character(3), 77, 3, 1, 0},
      {"INTEGER*4 step 2, SIZE inside an element", ElemType::integer(4), ElemType::character(3), 50, 2, 0, 7},
      {"REAL*4 step -2", ElemType::real(4), ElemType::integer(2), 333, -2, 2, 0},
      {"INTEGER*2 step 2", ElemType::integer(2), ElemType::integer(4), 101, 2, 0, 0},
  };
  std::mt19937 rng(38);
  for (const auto& c : cases) {
    Runtime::reset();
    const int64_t sb = c.source.bytes(), mb = c.mold.bytes();
    const int64_t span = int64_t{c.n} * std::abs(c.step) * sb;
    Storage s(span, 0, rng);
    char* first = c.step < 0 ? s.base + (int64_t{c.n} - 1) * -c.step * sb : s.base;
    std::vector<unsigned char> stream;
    for (int64_t k = 0; k < c.n; ++k) {
      const char* p = first + k * c.step * sb;
      stream.insert(stream.end(), p, p + sb);
    }
    const int64_t ts = static_cast<int64_t>(stream.size());
    const int64_t extent = c.size != 0 ? c.size : (ts + mb - 1) / mb;
    Storage r(extent * mb, c.offset, rng), mold_storage(mb, 0, rng);
    const std::vector<unsigned char> before(r.raw);
    Descriptor src = vector_of(c.source, first, c.n, c.step);
    Descriptor mold = vector_of(c.mold, mold_storage.base, 1, 1);
    Descriptor result = vector_of(c.mold, r.base, static_cast<int32_t>(extent), 1);
    transfer_array(result.get(), src.get(), mold.get(), c.size != 0 ? &c.size : nullptr);
    ASSERT_TRUE(Runtime::reports().empty()) << c.what;
    const int64_t lead = r.base - reinterpret_cast<char*>(r.raw.data());
    for (int64_t k = 0; k < static_cast<int64_t>(r.raw.size()); ++k) {
      const int64_t at = k - lead;
      const int want = at >= 0 && at < std::min(ts, extent * mb) ? stream[at] : before[k];
      ASSERT_EQ(r.raw[k], want) << c.what << " byte " << at;
    }
  }
}

// Operands whose storage ends (or, walked backwards, starts) at an
// inaccessible page: the wide loads of the SSE2 paths never touch a byte
// beyond the first or last element, whatever the count's remainder. In the
// sanitizer build the words between TRANSFER's SOURCE elements are poisoned
// too: they are not the routine's to read.
TEST_F(MovesLarge, NoLoadPassesTheEndsOfTheStorage) {
  using f90test::GuardedBuffer;
  using f90test::GuardSide;
  for (const int32_t n : {4, 8, 9, 12, 31, 64, 65}) {
    for (const GuardSide side : {GuardSide::after, GuardSide::before}) {
      Runtime::reset();
      const bool backwards = side == GuardSide::before;
      // TRANSFER: INTEGER*4 or INTEGER*8 two apart, the first or last one
      // against the page (element k holds the bytes of its index).
      for (const int eb : {4, 8}) {
        const ElemType t = ElemType::integer(eb);
        GuardedBuffer words((2 * n - 1) * eb, side);
        char* w = static_cast<char*>(words.data());
        for (int32_t k = 0; k < 2 * n - 1; ++k) std::memset(w + k * eb, k, eb);
        for (int32_t k = 1; k < 2 * n - 1; k += 2) ASAN_POISON_MEMORY_REGION(w + k * eb, eb);
        char* first = backwards ? w + 2 * (n - 1) * eb : w;
        Descriptor src = vector_of(t, first, n, backwards ? -2 : 2);
        std::vector<char> out(n * eb, -1);
        Descriptor mold = vector_of(t, out.data(), 1, 1);
        Descriptor result = vector_of(t, out.data(), n, 1);
        transfer_array(result.get(), src.get(), mold.get(), nullptr);
        for (int32_t k = 1; k < 2 * n - 1; k += 2) ASAN_UNPOISON_MEMORY_REGION(w + k * eb, eb);
        for (int32_t k = 0; k < n * eb; ++k)
          ASSERT_EQ(out[k], static_cast<char>(backwards ? 2 * (n - 1 - k / eb) : 2 * (k / eb))) << n << " " << eb;
      }

      // PACK: ARRAY and a LOGICAL*4 and *1 MASK against the page.
      for (const int mask_bytes : {4, 1}) {
        GuardedBuffer array(n * 8, side), mask(n * mask_bytes, side);
        double* a = static_cast<double*>(array.data());
        for (int32_t k = 0; k < n; ++k) a[k] = k;
        std::memset(mask.data(), 1, n * mask_bytes);
        std::vector<double> packed(n, -1);
        Descriptor ad = vector_of(ElemType::real(8), static_cast<char*>(array.data()), n, 1);
        Descriptor md = vector_of(ElemType::logical(mask_bytes), static_cast<char*>(mask.data()), n, 1);
        Descriptor rd = vector_of(ElemType::real(8), reinterpret_cast<char*>(packed.data()), n, 1);
        f90::pack(rd.get(), ad.get(), md.get(), nullptr);
        for (int32_t k = 0; k < n; ++k) ASSERT_EQ(packed[k], k) << n;
      }

      // TRANSPOSE and CSHIFT along DIM 2 of an n x 8 REAL*8 matrix.
      GuardedBuffer matrix_storage(n * 8 * 8, side), moved(n * 8 * 8, side);
      double* m = static_cast<double*>(matrix_storage.data());
      for (int32_t k = 0; k < 8 * n; ++k) m[k] = k;
      Descriptor md = matrix(ElemType::real(8), static_cast<char*>(matrix_storage.data()), n, 8);
      Descriptor td = matrix(ElemType::real(8), static_cast<char*>(moved.data()), 8, n);
      transpose(td.get(), md.get());
      const double* t = static_cast<const double*>(moved.data());
      for (int32_t i = 0; i < n; ++i)
        for (int32_t j = 0; j < 8; ++j) ASSERT_EQ(t[j + 8 * i], m[i + n * j]) << n;
      std::vector<int32_t> shifts(n);
      for (int32_t i = 0; i < n; ++i) shifts[i] = i;
      Descriptor sd = vector_of(ElemType::integer(4), reinterpret_cast<char*>(shifts.data()), n, 1);
      Descriptor cd = matrix(ElemType::real(8), static_cast<char*>(moved.data()), n, 8);
      const int32_t dim = 2;
      cshift(cd.get(), md.get(), sd.get(), &dim);
      for (int32_t i = 0; i < n; ++i)
        for (int32_t k = 0; k < 8; ++k) ASSERT_EQ(t[i + n * k], m[i + n * ((k + i) % 8)]) << n;
      ASSERT_TRUE(Runtime::reports().empty()) << n;
    }
  }
}

}  // namespace
