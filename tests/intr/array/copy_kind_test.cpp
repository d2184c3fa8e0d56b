// Element classification, movers and the line walkers.
#include "array/copy_kind.h"

#include <gtest/gtest.h>

#include <random>

#include "descriptor_builder.h"
#include "common/walk.h"

namespace {

using f90::ElemClass;
using f90test::ElemType;

TEST(CopyKind, ClassifiesEveryElementType) {
  struct Case {
    const char* what;
    ElemType type;
    f90::CopyKind kind;
    uint32_t units, bytes;
    bool byte_address, scaled;
  } cases[] = {
      {"INTEGER*1", ElemType::integer(1), f90::COPY_BYTES, 1, 1, true, false},
      {"LOGICAL*1", ElemType::logical(1), f90::COPY_BYTES, 1, 1, true, false},
      {"INTEGER*2", ElemType::integer(2), f90::COPY_BYTES, 2, 2, true, false},
      {"LOGICAL*2", ElemType::logical(2), f90::COPY_BYTES, 2, 2, true, false},
      {"INTEGER*4", ElemType::integer(4), f90::COPY_WORD, 1, 4, false, true},
      {"REAL*4", ElemType::real(4), f90::COPY_WORD, 1, 4, false, true},
      {"LOGICAL*4", ElemType::logical(4), f90::COPY_WORD, 1, 4, false, true},
      {"INTEGER*8", ElemType::integer(8), f90::COPY_2WORDS, 2, 8, false, true},
      {"REAL*8", ElemType::real(8), f90::COPY_2WORDS, 2, 8, false, true},
      {"COMPLEX*8", ElemType::complex(8), f90::COPY_2WORDS, 2, 8, false, true},
      {"LOGICAL*8", ElemType::logical(8), f90::COPY_2WORDS, 2, 8, false, true},
      {"REAL*16", ElemType::real(16), f90::COPY_NWORDS, 4, 16, false, true},
      {"COMPLEX*16", ElemType::complex(16), f90::COPY_NWORDS, 4, 16, false, true},
      {"COMPLEX*32", ElemType::complex(32), f90::COPY_8WORDS, 8, 32, false, true},
      {"CHARACTER*7", ElemType::character(7), f90::COPY_BYTES, 7, 7, true, false},
      {"CHARACTER*0", ElemType::character(0), f90::COPY_BYTES, 0, 0, true, false},
      {"derived 12 bytes, words", ElemType::derived_words(3), f90::COPY_DERIVED_WORDS, 3, 12, false, false},
      {"derived 12 bytes, bytes", ElemType::derived_bytes(12), f90::COPY_BYTES, 12, 12, true, false},
  };
  for (const auto& c : cases) {
    const ElemClass e = f90::classify(c.type.type_word, c.type.elem_len);
    EXPECT_EQ(e.kind, c.kind) << c.what;
    EXPECT_EQ(e.units, c.units) << c.what;
    EXPECT_EQ(e.elem_bytes(), c.bytes) << c.what;
    EXPECT_EQ(e.byte_address, c.byte_address) << c.what;
    EXPECT_EQ(e.scale_strides, c.scaled) << c.what;
  }
}

TEST(CopyKind, ByteStridesPerKind) {
  const ElemClass r8 = f90::classify(ElemType::real(8).type_word, 64);
  EXPECT_EQ(r8.byte_stride(2), 8);
  EXPECT_EQ(r8.byte_stride(-6), -24);
  EXPECT_EQ(r8.byte_stride(3), 8);  // truncated to whole elements
  const ElemClass z = f90::classify(ElemType::complex(32).type_word, 256);
  EXPECT_EQ(z.byte_stride(16), 64);
  const ElemClass ch = f90::classify(ElemType::character(7).type_word, 7);
  EXPECT_EQ(ch.byte_stride(-14), -14);
  const ElemClass dw = f90::classify(ElemType::derived_words(3).type_word, 96);
  EXPECT_EQ(dw.byte_stride(6), 24);  // words, not divided
}

TEST(CopyKind, SignallingNaNMovesBitForBit) {
  const uint64_t snan = 0x7ff0000000000001ull;
  uint64_t out = 0;
  f90::Mover<8>::one(reinterpret_cast<char*>(&out),
                                    reinterpret_cast<const char*>(&snan), 8);
  EXPECT_EQ(out, snan);
}

TEST(CopyKind, LineMovesStridedAndContiguous) {
  int32_t src[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  int32_t dst[8] = {};
  // Every other source element, backwards into a contiguous destination.
  f90::Mover<4>::line(reinterpret_cast<char*>(dst), 4,
                                   reinterpret_cast<char*>(src + 6), -8, 4, 4);
  EXPECT_EQ(std::vector<int32_t>(dst, dst + 4), (std::vector<int32_t>{7, 5, 3, 1}));
  char csrc[] = "abcdefghi", cdst[10] = {};
  f90::Mover<0>::line(cdst, 3, csrc, 3, 3, 3);
  EXPECT_STREQ(cdst, "abcdefghi");
  // Three-byte elements six bytes apart, by the run-time size.
  char gdst[4] = {};
  f90::Mover<0>::line(gdst, 1, csrc, 2, 3, 1);
  EXPECT_STREQ(gdst, "ace");
}

// Copies a random section of rank 1..7 line by line along a random DIM into
// another random section, and checks every element against the indexing of
// the test kit (the naive reference).
TEST(Walk, LinesOfRandomSectionsMatchNaiveIndexing) {
  std::mt19937 rng(12345);
  for (int trial = 0; trial < 300; ++trial) {
    const int rank = 1 + static_cast<int>(rng() % 7);
    std::vector<int32_t> ext(rank), step_a(rank), step_b(rank);
    for (int d = 0; d < rank; ++d) {
      ext[d] = static_cast<int32_t>(rng() % (rank > 4 ? 3 : 5));
      if (trial % 10 != 0 && ext[d] == 0) ext[d] = 1;
      step_a[d] = static_cast<int32_t>(rng() % 5) - 2;
      if (step_a[d] == 0) step_a[d] = 1;
      step_b[d] = 1 + static_cast<int32_t>(rng() % 2);
    }
    const int dim = static_cast<int>(rng() % rank);
    f90test::TestArray a(ElemType::real(8), ext, {}, step_a);
    f90test::TestArray b(ElemType::real(8), ext, {}, step_b, 0x00);
    a.fill_linear<double>([](int64_t k) { return static_cast<double>(k) + 0.5; });

    const ElemClass c = f90::classify(f90::Desc(a.desc()));
    f90::WalkArray wa = f90::walk_array(f90::Desc(a.desc()), c);
    f90::WalkArray wb = f90::walk_array(f90::Desc(b.desc()), c);
    std::array<f90::WalkArray*, 2> arrays{&wb, &wa};
    int64_t lines = 0;
    f90::walk_lines(rank, dim, ext.data(), arrays, [&](const std::array<char*, 2>& o) {
      ++lines;
      f90::Mover<8>::line(o[0], wb.stride[dim], o[1], wa.stride[dim], ext[dim], 8);
    });
    int64_t want_lines = 1;
    for (int d = 0; d < rank; ++d)
      if (d != dim) want_lines *= ext[d];
    EXPECT_EQ(lines, want_lines) << "trial " << trial;
    for (int64_t k = 0; k < a.size(); ++k)
      ASSERT_EQ(b.get_linear<double>(k), static_cast<double>(k) + 0.5) << "trial " << trial;
    EXPECT_TRUE(b.outside_untouched()) << "trial " << trial;
  }
}

TEST(Walk, RunsFollowArrayElementOrder) {
  f90test::TestArray a(ElemType::integer(4), {3, 2, 2}, {}, {1, -1, 2});
  a.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(k); });
  const ElemClass c = f90::classify(f90::Desc(a.desc()));
  f90::WalkArray wa = f90::walk_array(f90::Desc(a.desc()), c);
  std::vector<int32_t> seen;
  f90::walk_runs(3, a.extents().data(), std::array<f90::WalkArray*, 1>{&wa},
                 [&](const std::array<char*, 1>& o, int64_t n) {
                   for (int64_t i = 0; i < n; ++i) {
                     int32_t v;
                     std::memcpy(&v, o[0] + i * wa.stride[0], 4);
                     seen.push_back(v);
                   }
                 });
  std::vector<int32_t> want(12);
  for (int i = 0; i < 12; ++i) want[i] = i;
  EXPECT_EQ(seen, want);
}

TEST(Walk, ShiftArrayOfLowerRankWalksAlongside) {
  // A rank-3 principal array walked along dim 1 with a rank-2 SHIFT-like
  // array whose dimensions are the principal's dims 0 and 2.
  f90test::TestArray shift(ElemType::integer(2), {2, 3});
  shift.fill_linear<int16_t>([](int64_t k) { return static_cast<int16_t>(10 * k); });
  f90::WalkArray ws = f90::walk_array_without(f90::Desc(shift.desc()), 1,
                                              [](int32_t s) { return int64_t{s}; });
  const int32_t ext[] = {2, 4, 3};
  std::vector<int16_t> seen;
  f90::walk_lines(3, 1, ext, std::array<f90::WalkArray*, 1>{&ws},
                  [&](const std::array<char*, 1>& o) {
                    int16_t v;
                    std::memcpy(&v, o[0], 2);
                    seen.push_back(v);
                  });
  EXPECT_EQ(seen, (std::vector<int16_t>{0, 10, 20, 30, 40, 50}));
}

TEST(CopyKind, MovesWholeByWidthOrByWordPosition) {
  struct Case {
    const char* what;
    ElemType type;
    std::vector<std::pair<uint32_t, uint32_t>> calls;  // mover width, byte offset
  } cases[] = {
      {"INTEGER*1", ElemType::integer(1), {{1, 0}}},
      {"LOGICAL*2", ElemType::logical(2), {{2, 0}}},
      {"REAL*4", ElemType::real(4), {{4, 0}}},
      {"REAL*8", ElemType::real(8), {{8, 0}}},
      {"COMPLEX*16", ElemType::complex(16), {{16, 0}}},
      {"COMPLEX*32", ElemType::complex(32), {{32, 0}}},
      {"CHARACTER*3", ElemType::character(3), {{0, 0}}},
      {"CHARACTER*8", ElemType::character(8), {{8, 0}}},
      {"CHARACTER*0", ElemType::character(0), {{0, 0}}},
      {"derived, 12 bytes", ElemType::derived_bytes(12), {{0, 0}}},
      {"derived, 3 words", ElemType::derived_words(3), {{4, 0}, {4, 4}, {4, 8}}},
      {"derived, 2 words", ElemType::derived_words(2), {{4, 0}, {4, 4}}},
      {"derived, 0 words", ElemType::derived_words(0), {}},
      // A 96-bit element of the 128-bit kind: its own three words, never four.
      {"INTEGER of 96 bits", {f90_type_word(TYPE_INTEGER, 96, 0, 0), 96}, {{4, 0}, {4, 4}, {4, 8}}},
  };
  for (const auto& c : cases) {
    std::vector<std::pair<uint32_t, uint32_t>> calls;
    f90::with_moves(f90::classify(c.type.type_word, c.type.elem_len), [&](auto w, uint32_t off) {
      calls.emplace_back(decltype(w)::value, off);
    });
    EXPECT_EQ(calls, c.calls) << c.what;
  }
}

TEST(Walk, MergeDimensionDropsUnitExtentsAndJoinsOnlyWithoutOverflow) {
  struct Case {
    const char* what;
    std::vector<int32_t> extent;
    std::vector<int64_t> stride;  // bytes
    std::vector<int32_t> want_extent;
    std::vector<int64_t> want_stride;
  } cases[] = {
      {"contiguous 3-D", {3, 4, 5}, {8, 24, 96}, {60}, {8}},
      {"gap after dim 0", {3, 4}, {8, 32}, {3, 4}, {8, 32}},
      {"extent 1 anywhere", {1, 3, 1, 4}, {800, 8, -5, 24}, {12}, {8}},
      {"all extents 1", {1, 1}, {8, 16}, {}, {}},
      {"backwards, continued", {4, 2}, {-8, -32}, {8}, {-8}},
      {"joined extent past INT32_MAX", {65536, 65536}, {1, 65536}, {65536, 65536}, {1, 65536}},
      {"span overflows", {2, 2}, {INT64_C(1) << 62, INT64_MIN}, {2, 2}, {INT64_C(1) << 62, INT64_MIN}},
  };
  for (const auto& c : cases) {
    f90::Runs<1> runs;
    for (size_t d = 0; d < c.extent.size(); ++d) runs.add(c.extent[d], {c.stride[d]});
    ASSERT_EQ(runs.rank, static_cast<int>(c.want_extent.size())) << c.what;
    for (int d = 0; d < runs.rank; ++d) {
      EXPECT_EQ(runs.extent[d], c.want_extent[d]) << c.what << " dim " << d;
      EXPECT_EQ(runs.arrays[0].stride[d], c.want_stride[d]) << c.what << " dim " << d;
    }
  }
  // The cursor merges in 64 bits: the same 65536 x 65536 is one run there.
  const int64_t ext[] = {65536, 65536}, stride[] = {1, 65536};
  char b;
  EXPECT_EQ(f90::RunCursor(2, ext, stride, &b, false).left(), INT64_C(1) << 32);
}

TEST(Walk, RunCursorMergesContiguousDimensionsAndCycles) {
  // 2 x 3 x 2 elements of 4 bytes: dimensions 0 and 1 contiguous, dimension
  // 2 backwards. Two runs of six, then (cyclic) the first again.
  char buf[64];
  const int64_t ext[] = {2, 3, 2}, stride[] = {4, 8, -24};
  f90::RunCursor c(3, ext, stride, buf + 24, true);
  EXPECT_EQ(c.left(), 6);
  EXPECT_EQ(c.step(), 4);
  c.advance(4);
  EXPECT_EQ(c.at(), buf + 24 + 16);
  c.advance(2);
  EXPECT_EQ(c.at(), buf);
  EXPECT_EQ(c.left(), 6);
  c.advance(6);
  EXPECT_EQ(c.at(), buf + 24);
  f90::RunCursor once(3, ext, stride, buf + 24, false);
  once.advance(6);
  once.advance(6);
  EXPECT_EQ(once.left(), 0);
  const int64_t scalar_ext[] = {1};
  EXPECT_TRUE(f90::RunCursor(0, scalar_ext, stride, buf, true).single());
}

}  // namespace
