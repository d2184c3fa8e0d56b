// CSHIFT and EOSHIFT: the documented cases, every element layout into
// strided results, and random ranks 1 to 7 against a naive reference.
#include "array/shift.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "descriptor_builder.h"
#include "recording_runtime.h"
#include "result_words.h"

namespace {

using f90test::Descriptor;
using f90test::ElemType;
using f90test::Runtime;
using f90test::TestArray;
using ShiftTest = f90test::RecordingTest;

// A scalar SHIFT (or other integer) of the given byte width.
struct ScalarInt {
  int64_t value;
  Descriptor d;
  ScalarInt(int64_t v, int bytes = 4) : value(v), d(ElemType::integer(bytes), 0, true) {
    d->base = &value;  // little-endian: the low bytes come first
  }
  ArrayDescriptor* get() { return d.get(); }
};

// A rank-1 INTEGER*4 array holding `values`, every `step`-th element of
// its storage.
struct Ints : TestArray {
  Ints(std::vector<int32_t> values, int32_t step = 1)
      : TestArray(ElemType::integer(4), {static_cast<int32_t>(values.size())}, {}, {step}) {
    for (size_t k = 0; k < values.size(); ++k) set_linear<int32_t>(static_cast<int64_t>(k), values[k]);
  }
};

std::vector<int32_t> values_of(TestArray& a) {
  std::vector<int32_t> v;
  for (int64_t k = 0; k < a.size(); ++k) v.push_back(a.get_linear<int32_t>(k));
  return v;
}

// A rank-1 result whose elements hold 0x5A bytes, every other element of
// its storage (the bytes between them must stay 0xEE).
struct SpacedResult : TestArray {
  SpacedResult(ElemType t, int32_t n) : TestArray(t, {n}, {}, {2}, 0xEE) {
    for (int64_t k = 0; k < size(); ++k) std::memset(at_linear(k), 0x5A, t.bytes());
  }
};

TEST_F(ShiftTest, CircularShiftsOfOneToFive) {
  struct Case {
    int64_t shift;
    std::vector<int32_t> want;
  } cases[] = {
      {2, {3, 4, 5, 1, 2}}, {-1, {5, 1, 2, 3, 4}}, {7, {3, 4, 5, 1, 2}},
      {5, {1, 2, 3, 4, 5}}, {0, {1, 2, 3, 4, 5}},  {-5, {1, 2, 3, 4, 5}},
      {-12, {4, 5, 1, 2, 3}}, {INT32_MIN, {3, 4, 5, 1, 2}},
  };
  for (const auto& c : cases) {
    for (int width : {1, 2, 4, 8}) {
      if ((width == 1 && (c.shift < -128 || c.shift > 127)) || (width == 2 && c.shift < -32768))
        continue;
      Ints a({1, 2, 3, 4, 5});
      Ints r({0, 0, 0, 0, 0}, -3);
      ScalarInt s(c.shift, width);
      cshift(r.desc(), a.desc(), s.get(), nullptr);
      EXPECT_EQ(values_of(r), c.want) << c.shift << " width " << width;
      EXPECT_TRUE(r.outside_untouched());
    }
  }
  EXPECT_TRUE(Runtime::reports().empty());
}

TEST_F(ShiftTest, EndOffShiftsOfOneToFive) {
  struct Case {
    int64_t shift;
    std::vector<int32_t> want, want_nine;
  } cases[] = {
      {2, {3, 4, 5, 0, 0}, {3, 4, 5, 9, 9}},  {-2, {0, 0, 1, 2, 3}, {9, 9, 1, 2, 3}},
      {5, {0, 0, 0, 0, 0}, {9, 9, 9, 9, 9}},  {7, {0, 0, 0, 0, 0}, {9, 9, 9, 9, 9}},
      {-5, {0, 0, 0, 0, 0}, {9, 9, 9, 9, 9}}, {-7, {0, 0, 0, 0, 0}, {9, 9, 9, 9, 9}},
      {0, {1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}},  {INT32_MIN, {0, 0, 0, 0, 0}, {9, 9, 9, 9, 9}},
      {(1LL << 32) + 1, {2, 3, 4, 5, 0}, {2, 3, 4, 5, 9}},  // low word of an INTEGER*8
  };
  for (const auto& c : cases) {
    const int width = c.shift > INT32_MAX ? 8 : 4;
    Ints a({1, 2, 3, 4, 5});
    Ints r({-1, -1, -1, -1, -1}, 2);
    ScalarInt s(c.shift, width);
    eoshift(r.desc(), a.desc(), s.get(), nullptr, nullptr);
    EXPECT_EQ(values_of(r), c.want) << c.shift;
    ScalarInt nine(9);
    eoshift(r.desc(), a.desc(), s.get(), nine.get(), nullptr);
    EXPECT_EQ(values_of(r), c.want_nine) << c.shift;
    EXPECT_TRUE(r.outside_untouched());
  }
}

// Rank 2, extents (3, 4), DIM 2, SHIFT [1, 0, -1] (and BOUNDARY [7, 8, 9]).
TEST_F(ShiftTest, RowsShiftedByTheirOwnShift) {
  TestArray a(ElemType::integer(4), {3, 4});
  a.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(k); });  // a(i,j) = i + 3j
  Ints shift({1, 0, -1});
  Ints boundary({7, 8, 9}, 2);
  const int32_t dim = 2;
  const int32_t want_c[3][4] = {{3, 6, 9, 0}, {1, 4, 7, 10}, {11, 2, 5, 8}};
  const int32_t want_eo[3][4] = {{3, 6, 9, 7}, {1, 4, 7, 10}, {9, 2, 5, 8}};
  auto r = f90test::unallocated_result(ElemType::integer(4), 2);
  cshift(r.get(), a.desc(), shift.desc(), &dim);
  unsigned char* b = f90test::only_block(48);
  ASSERT_NE(b, nullptr);
  f90test::expect_words(r, {f90test::addr_word(b), 32, f90_flags(2, 1, 0),
                            ElemType::integer(4).type_word, f90test::addr_word(b), 384, 1, 3, 1,
                            1, 4, 3, f90test::kUnset});
  const int32_t* v = reinterpret_cast<int32_t*>(b);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 4; ++j) EXPECT_EQ(v[i + 3 * j], want_c[i][j]) << i << ", " << j;

  TestArray r2(ElemType::integer(4), {3, 4}, {}, {2, -1});
  eoshift(r2.desc(), a.desc(), shift.desc(), boundary.desc(), &dim);
  for (int64_t i = 0; i < 3; ++i)
    for (int64_t j = 0; j < 4; ++j) EXPECT_EQ(r2.get<int32_t>({i, j}), want_eo[i][j]) << i << ", " << j;
  EXPECT_TRUE(r2.outside_untouched());
}

// On ranks 2 and up a SHIFT is read by its low 32 bits and reduced without
// losing its sign; on rank 1 a 64-bit SHIFT is reduced whole.
TEST_F(ShiftTest, ShiftReductionOnHigherRanks) {
  const int64_t n = 4;
  struct Case {
    const char* what;
    int64_t shift;
    int width;
    int64_t acts_as;
  } cases[] = {
      {"n + 1", n + 1, 4, 1},         {"2n + 1", 2 * n + 1, 4, 1},   {"-n - 1", -n - 1, 4, n - 1},
      {"2n - 1", 2 * n - 1, 4, n - 1}, {"-2n - 3", -2 * n - 3, 2, n - 3}, {"-n", -n, 1, 0},
      {"2^32 + 1", (1LL << 32) + 1, 8, 1}, {"-2^32 - 1", -(1LL << 32) - 1, 8, n - 1},
      {"INT32_MAX", INT32_MAX, 4, INT32_MAX % n}, {"n", n, 4, 0}, {"n - 1", n - 1, 4, n - 1},
      {"-1", -1, 4, n - 1},
  };
  TestArray a(ElemType::real(8), {3, static_cast<int32_t>(n), 2});
  a.fill_linear<double>([](int64_t k) { return static_cast<double>(k); });
  const int32_t dim = 2;
  for (const auto& c : cases) {
    ScalarInt s(c.shift, c.width);
    TestArray r(ElemType::real(8), {3, static_cast<int32_t>(n), 2});
    cshift(r.desc(), a.desc(), s.get(), &dim);
    for (int64_t i = 0; i < 3; ++i)
      for (int64_t j = 0; j < n; ++j)
        for (int64_t k = 0; k < 2; ++k)
          ASSERT_EQ(r.get<double>({i, j, k}), a.get<double>({i, (j + c.acts_as) % n, k}))
              << c.what;
  }
  // Rank 1, extent 5: (2^32 + 1) rem 5 = 2, where the low word alone gives 1.
  Ints v({1, 2, 3, 4, 5});
  Ints r({0, 0, 0, 0, 0});
  ScalarInt big((1LL << 32) + 1, 8);
  cshift(r.desc(), v.desc(), big.get(), nullptr);
  EXPECT_EQ(values_of(r), (std::vector<int32_t>{3, 4, 5, 1, 2}));
  ScalarInt neg(-(1LL << 33) - 3, 8);  // a multiple of 5
  cshift(r.desc(), v.desc(), neg.get(), nullptr);
  EXPECT_EQ(values_of(r), (std::vector<int32_t>{1, 2, 3, 4, 5}));
}

TEST_F(ShiftTest, CharacterElements) {
  TestArray a(ElemType::character(3), {3});
  std::memcpy(a.at_linear(0), "abc", 3);
  std::memcpy(a.at_linear(1), "def", 3);
  std::memcpy(a.at_linear(2), "ghi", 3);
  ScalarInt one(1);
  auto r = f90test::unallocated_result(ElemType::character(3), 1);
  r->elem_len = 0;  // taken from ARRAY
  cshift(r.get(), a.desc(), one.get(), nullptr);
  unsigned char* b = f90test::only_block(9);
  ASSERT_NE(b, nullptr);
  f90test::expect_words(r, {f90test::addr_word(b), 3, f90_flags(1, 1, 0),
                            ElemType::character(3).type_word, f90test::addr_word(b), 72, 1, 3, 3,
                            f90test::kUnset});
  EXPECT_EQ(std::string(reinterpret_cast<char*>(b), 9), "defghiabc");

  TestArray e(ElemType::character(3), {3}, {}, {-1}, 0x00);
  ScalarInt minus_two(-2);
  eoshift(e.desc(), a.desc(), minus_two.get(), nullptr, nullptr);
  std::string got;
  for (int k = 0; k < 3; ++k) got.append(e.at_linear(k), 3);
  EXPECT_EQ(got, "      abc");
}

// EOSHIFT without BOUNDARY writes every byte of every boundary position:
// zero bytes of the element's kind, blanks for byte-laid characters and
// derived types, zero words for word-laid derived types.
TEST_F(ShiftTest, DefaultBoundaryOfEveryKind) {
  struct Case {
    const char* what;
    ElemType type;
    unsigned char boundary_byte;
  } cases[] = {
      {"INTEGER*1", ElemType::integer(1), 0},    {"LOGICAL*1", ElemType::logical(1), 0},
      {"INTEGER*2", ElemType::integer(2), 0},    {"LOGICAL*2", ElemType::logical(2), 0},
      {"INTEGER*4", ElemType::integer(4), 0},    {"REAL*4", ElemType::real(4), 0},
      {"LOGICAL*4", ElemType::logical(4), 0},    {"INTEGER*8", ElemType::integer(8), 0},
      {"REAL*8", ElemType::real(8), 0},          {"COMPLEX*8", ElemType::complex(8), 0},
      {"LOGICAL*8", ElemType::logical(8), 0},    {"REAL*16", ElemType::real(16), 0},
      {"COMPLEX*16", ElemType::complex(16), 0},  {"COMPLEX*32", ElemType::complex(32), 0},
      {"CHARACTER*7", ElemType::character(7), ' '},
      {"derived, 5 bytes", ElemType::derived_bytes(5), ' '},
      {"derived, 3 words", ElemType::derived_words(3), 0},
      {"96-bit REAL", ElemType::numeric(TYPE_REAL, 12), 0},
  };
  for (const auto& c : cases) {
    for (int64_t shift : {2, -3}) {
      const uint32_t eb = c.type.bytes();
      TestArray a(c.type, {5});
      for (auto& byte : a.storage()) byte = 0x11;
      SpacedResult r(c.type, 5);
      ScalarInt s(shift);
      eoshift(r.desc(), a.desc(), s.get(), nullptr, nullptr);
      for (int64_t k = 0; k < 5; ++k) {
        const bool boundary = shift > 0 ? k >= 5 - shift : k < -shift;
        const unsigned char* p = reinterpret_cast<unsigned char*>(r.at_linear(k));
        for (uint32_t b = 0; b < eb; ++b)
          ASSERT_EQ(p[b], boundary ? c.boundary_byte : 0x11) << c.what << " " << shift << " " << k;
      }
      EXPECT_TRUE(r.outside_untouched()) << c.what;
    }
  }
  EXPECT_TRUE(Runtime::reports().empty());
}

// Per-line shifts along DIM 2 of a tall matrix: the lines go in batches of
// neighbours, more than one batch here.
TEST_F(ShiftTest, ManyLinesAlongTheSecondDimension) {
  const int32_t rows = 1100, cols = 5, dim = 2;
  TestArray a(ElemType::integer(4), {rows, cols}, {}, {-1, 1});
  a.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(k); });
  TestArray shift(ElemType::integer(2), {rows}, {}, {3});
  shift.fill_linear<int16_t>([](int64_t k) { return static_cast<int16_t>(k % 15 - 7); });
  TestArray boundary(ElemType::integer(4), {rows});
  boundary.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(-k - 1); });
  TestArray rc(ElemType::integer(4), {rows, cols}), re(ElemType::integer(4), {rows, cols});
  cshift(rc.desc(), a.desc(), shift.desc(), &dim);
  eoshift(re.desc(), a.desc(), shift.desc(), boundary.desc(), &dim);
  for (int64_t i = 0; i < rows; ++i) {
    const int64_t s = i % 15 - 7;
    for (int64_t j = 0; j < cols; ++j) {
      ASSERT_EQ(rc.get<int32_t>({i, j}), a.get<int32_t>({i, ((j + s) % cols + cols) % cols}))
          << i << ", " << j;
      const int64_t from = j + s;
      const int32_t want = from >= 0 && from < cols ? a.get<int32_t>({i, from}) : -i - 1;
      ASSERT_EQ(re.get<int32_t>({i, j}), want) << i << ", " << j;
    }
  }
}

// Zero extents: nothing moves; a result without storage is still completed.
TEST_F(ShiftTest, EmptyOperands) {
  TestArray a(ElemType::integer(2), {3, 0});
  ScalarInt one(1);
  auto r = f90test::unallocated_result(ElemType::integer(2), 2);
  cshift(r.get(), a.desc(), one.get(), nullptr);
  f90test::expect_words(r, {0, 16, f90_flags(2, 1, 0), ElemType::integer(2).type_word, 0, 0, 1, 3,
                            2, 1, 0, 6, f90test::kUnset});
  auto r2 = f90test::unallocated_result(ElemType::integer(2), 2);
  eoshift(r2.get(), a.desc(), one.get(), nullptr, nullptr);
  EXPECT_EQ(r2->flags, f90_flags(2, 1, 0));
  EXPECT_EQ(Runtime::allocation_calls(), 0);

  // An empty SHIFT or BOUNDARY of rank 2 on a rank-3 ARRAY.
  TestArray b(ElemType::integer(4), {2, 2, 2});
  TestArray given(ElemType::integer(4), {2, 2, 2}, {}, {}, 0x77);
  TestArray empty2(ElemType::integer(4), {2, 0});
  TestArray full2(ElemType::integer(4), {2, 2});
  cshift(given.desc(), b.desc(), empty2.desc(), nullptr);
  eoshift(given.desc(), b.desc(), full2.desc(), empty2.desc(), nullptr);
  for (auto byte : given.storage()) ASSERT_EQ(byte, 0x77);
  EXPECT_TRUE(Runtime::reports().empty());
}

TEST_F(ShiftTest, DimOutOfRange) {
  TestArray a(ElemType::integer(4), {2, 3});
  ScalarInt one(1);
  for (int32_t dim : {0, 3, -1}) {
    TestArray r(ElemType::integer(4), {2, 3}, {}, {}, 0x77);
    Runtime::reset();
    cshift(r.desc(), a.desc(), one.get(), &dim);
    eoshift(r.desc(), a.desc(), one.get(), nullptr, &dim);
    EXPECT_EQ(Runtime::numbers(), (std::vector<int32_t>{1405, 1405})) << dim;
    for (auto byte : r.storage()) ASSERT_EQ(byte, 0x77);
  }
  // The result without storage is completed before DIM is looked at.
  Runtime::reset();
  const int32_t dim = 9;
  auto r = f90test::unallocated_result(ElemType::integer(4), 2);
  cshift(r.get(), a.desc(), one.get(), &dim);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1405});
  EXPECT_EQ(r->flags & F90_FLAG_ASSOC, 1u);
  unsigned char* blk = f90test::only_block(24);
  ASSERT_NE(blk, nullptr);
  for (int i = 0; i < 24; ++i) EXPECT_EQ(blk[i], 0xCC);
}

TEST_F(ShiftTest, AllocatorFailureStoresNothing) {
  TestArray a(ElemType::real(8), {4});
  ScalarInt one(1);
  Runtime::fail_allocation(1);
  auto r = f90test::unallocated_result(ElemType::real(8), 1);
  cshift(r.get(), a.desc(), one.get(), nullptr);
  Runtime::fail_allocation(2);
  auto r2 = f90test::unallocated_result(ElemType::real(8), 1);
  eoshift(r2.get(), a.desc(), one.get(), nullptr, nullptr);
  EXPECT_EQ(Runtime::numbers(), (std::vector<int32_t>{1205, 1205}));
  EXPECT_EQ(r->flags & F90_FLAG_ASSOC, 0u);
  EXPECT_EQ(r2->flags & F90_FLAG_ASSOC, 0u);
}

// ---------------------------------------------------------------------------
// Random operands against a naive reference.

// Address of element idx of a descriptor (strides in the element's units).
char* element(ArrayDescriptor* d, ElemType t, const std::vector<int64_t>& idx) {
  const int64_t unit = t.unit();
  int64_t off = 0;
  for (size_t i = 0; i < idx.size(); ++i) off += idx[i] * d->dim[i].stride * unit;
  return static_cast<char*>(d->base) + off;
}

int64_t read_shift(const char* p, int width, bool whole) {
  switch (width) {
    case 1: return static_cast<int8_t>(*p);
    case 2: { int16_t v; std::memcpy(&v, p, 2); return v; }
    case 8: {
      int64_t v;
      std::memcpy(&v, p, 8);
      return whole ? v : static_cast<int32_t>(static_cast<uint32_t>(v));
    }
    default: { int32_t v; std::memcpy(&v, p, 4); return v; }
  }
}

enum class Op { kCshift, kEoshift };

void random_trial(std::mt19937& rng, Op op, int trial) {
  const ElemType types[] = {ElemType::integer(1), ElemType::integer(2), ElemType::integer(4),
                            ElemType::real(8),    ElemType::real(16),   ElemType::complex(32),
                            ElemType::logical(1), ElemType::character(3), ElemType::character(0),
                            ElemType::derived_bytes(5), ElemType::derived_words(3)};
  const ElemType t = types[rng() % std::size(types)];
  const int rank = 1 + static_cast<int>(rng() % 7);
  std::vector<int32_t> ext(rank), step(rank), rstep(rank);
  for (int d = 0; d < rank; ++d) {
    ext[d] = 1 + static_cast<int32_t>(rng() % (rank > 4 ? 2 : 4));
    step[d] = static_cast<int32_t>(rng() % 5) - 2;
    if (step[d] == 0) step[d] = 1;
    rstep[d] = 1 + static_cast<int32_t>(rng() % 2);
  }
  const int dim = static_cast<int>(rng() % rank);
  const int32_t dim1 = dim + 1;
  const int64_t n = ext[dim];
  std::vector<int32_t> other;
  for (int d = 0; d < rank; ++d)
    if (d != dim) other.push_back(ext[d]);

  TestArray a(t, ext, {}, step);
  for (auto& byte : a.storage()) byte = static_cast<unsigned char>(rng());

  // SHIFT: a scalar or an array over the other dimensions.
  const int widths[] = {1, 2, 4, 8};
  const int sw = widths[rng() % 4];
  const bool shift_array = rank > 1 && rng() % 2 == 0;
  auto random_shift = [&]() -> int64_t {
    switch (rng() % 4) {
      case 0: return static_cast<int64_t>(rng() % 5) - 2;
      case 1: return static_cast<int64_t>(rng() % (4 * n + 3)) - 2 * n - 1;
      case 2: return static_cast<int64_t>(rng() % 200) - 100;
      default: return sw == 8 ? (static_cast<int64_t>(rng()) << 32 | rng()) : static_cast<int32_t>(rng());
    }
  };
  std::vector<int32_t> sstep(other.size());
  for (auto& s : sstep) s = static_cast<int32_t>(rng() % 3) - 1 == 0 ? 1 : -1;
  TestArray shift_arr(ElemType::integer(sw), shift_array ? other : std::vector<int32_t>{}, {}, sstep);
  for (int64_t k = 0; k < shift_arr.size(); ++k) {
    const int64_t v = random_shift();
    std::memcpy(shift_arr.at_linear(k), &v, static_cast<size_t>(sw));
  }

  // BOUNDARY (EOSHIFT): absent, a scalar, or an array over the other dims.
  const int bmode = op == Op::kEoshift ? static_cast<int>(rng() % 3) : 0;
  const bool boundary_array = bmode == 2 && rank > 1;
  TestArray bnd(t, boundary_array ? other : std::vector<int32_t>{}, {}, sstep);
  for (auto& byte : bnd.storage()) byte = static_cast<unsigned char>(rng());

  const bool allocate = rng() % 2 == 0;
  auto fresh = f90test::unallocated_result(t, rank);
  TestArray given(t, ext, {}, rstep, 0xE7);
  ArrayDescriptor* r = allocate ? fresh.get() : given.desc();
  const bool with_dim = dim != 0 || rng() % 2 == 0;
  if (op == Op::kCshift) {
    cshift(r, a.desc(), shift_arr.desc(), with_dim ? &dim1 : nullptr);
  } else {
    eoshift(r, a.desc(), shift_arr.desc(), bmode == 0 ? nullptr : bnd.desc(),
            with_dim ? &dim1 : nullptr);
  }
  ASSERT_TRUE(Runtime::reports().empty()) << trial;

  const uint32_t eb = t.bytes();
  if (eb == 0) return;  // zero-length elements: nothing to compare
  std::vector<char> want(eb);
  f90test::for_each_index(ext, [&](const std::vector<int64_t>& idx) {
    std::vector<int64_t> line;
    for (int d = 0; d < rank; ++d)
      if (d != dim) line.push_back(idx[d]);
    const char* sp = shift_arr.rank() == 0 ? shift_arr.at({}) : shift_arr.at(line);
    const int64_t v = read_shift(sp, sw, op == Op::kCshift && rank == 1);
    std::vector<int64_t> from = idx;
    const char* src = nullptr;
    if (op == Op::kCshift) {
      from[dim] = ((idx[dim] + v % n) % n + n) % n;
      src = a.at(from);
    } else {
      const int64_t s = v > n ? n : v < -n ? -n : v;
      from[dim] = idx[dim] + s;
      if (from[dim] >= 0 && from[dim] < n) {
        src = a.at(from);
      } else if (bmode != 0) {
        src = bnd.rank() == 0 ? bnd.at({}) : bnd.at(line);
      }
    }
    if (src != nullptr) {
      std::memcpy(want.data(), src, eb);
    } else {
      const int8_t code = t.code();
      std::memset(want.data(), code == TYPE_CHARACTER || code == TYPE_DERIVED_BYTES ? ' ' : 0, eb);
    }
    const char* got = element(r, t, idx);
    ASSERT_EQ(std::memcmp(got, want.data(), eb), 0) << "trial " << trial << " rank " << rank;
  });
  if (!allocate) {
    EXPECT_TRUE(given.outside_untouched()) << trial;
  }
}

TEST_F(ShiftTest, RandomRanksAgainstNaiveCshift) {
  std::mt19937 rng(77);
  for (int trial = 0; trial < 400; ++trial) {
    Runtime::reset();
    random_trial(rng, Op::kCshift, trial);
  }
}

TEST_F(ShiftTest, RandomRanksAgainstNaiveEoshift) {
  std::mt19937 rng(78);
  for (int trial = 0; trial < 400; ++trial) {
    Runtime::reset();
    random_trial(rng, Op::kEoshift, trial);
  }
}

}  // namespace
