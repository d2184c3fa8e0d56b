// The strided 2-D view (32-bit wrapping addresses), the LOGICAL reader with
// its LOGICAL*8 rule, and the IEEE bit fields, against naive models.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "common/mask.h"
#include "common/view2d.h"
#include "descriptor_builder.h"
#include "value/float_bits.h"

namespace {

// Naive model: the byte offset reduced modulo 2^32 with 64-bit arithmetic.
uintptr_t model_address(uintptr_t base, int64_t i, int64_t j, int64_t s1, int64_t s2,
                        int64_t bytes) {
  const int64_t off = (i * s1 + j * s2) * bytes;
  return static_cast<uintptr_t>(static_cast<uint32_t>(base + static_cast<uint64_t>(off)));
}

TEST(View2D, AddressesWrapIn32Bits) {
  struct Row {
    int32_t i, j, s1, s2;
    uint32_t bytes;
  };
  const Row rows[] = {
      {0, 0, 1, 3, 8},           {2, 1, 1, 3, 8},           {2, 1, -1, -3, 4},
      {5, 7, 3, 100, 16},        {1, 1, INT32_MAX, 1, 1},   {3, 2, INT32_MIN, 7, 4},
      {70000, 70000, 40000, -40000, 32}, {-1, 0, 5, 0, 2},  {123, 456, -7, 1 << 20, 8},
  };
  char* const base = reinterpret_cast<char*>(uintptr_t{0x40001000});
  for (const Row& r : rows) {
    const f90::View2D v{base, r.s1, r.s2, r.bytes};
    const uintptr_t want = model_address(0x40001000, r.i, r.j, r.s1, r.s2, r.bytes);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(v.at(r.i, r.j)), want) << r.i << "," << r.j;
    EXPECT_EQ(reinterpret_cast<uintptr_t>(v.transposed().at(r.j, r.i)), want);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(v.column(r.j).at(r.i)), want);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(v.row(r.i).at(r.j)), want);
  }
}

TEST(View2D, ElementStridesFromADescriptor) {
  // A 3 x 4 REAL*8 section: every other element of dimension 1 backwards,
  // every third of dimension 2; the view agrees with the builder's addresses.
  f90test::TestArray a(f90test::ElemType::real(8), {3, 4}, {}, {-2, 3});
  const f90::View2D v = f90::View2D::of(f90::Desc(a.desc()));
  EXPECT_EQ(v.bytes, 8u);
  EXPECT_EQ(v.s1, -2);
  for (int64_t j = 0; j < 4; ++j)
    for (int64_t i = 0; i < 3; ++i)
      EXPECT_EQ(v.at(static_cast<int32_t>(i), static_cast<int32_t>(j)), a.at({i, j}));
  // A rank-1 array is one column.
  f90test::TestArray b(f90test::ElemType::integer(2), {5}, {}, {3});
  const f90::View2D w = f90::View2D::of(f90::Desc(b.desc()));
  EXPECT_EQ(w.s2, 0);
  for (int64_t i = 0; i < 5; ++i) EXPECT_EQ(w.column(0).at(static_cast<int32_t>(i)), b.at({i}));
}

TEST(LogicalReader, EveryWidthAndTheLogical8Rule) {
  struct Row {
    uint64_t bits;
    bool either, low;
  };
  const Row rows[] = {{0, false, false},
                      {1, true, true},
                      {uint64_t{1} << 32, true, false},
                      {uint64_t{1} << 63, true, false},
                      {0x80000000u, true, true}};
  for (const Row& r : rows) {
    char p[8];
    std::memcpy(p, &r.bits, 8);
    EXPECT_EQ((f90::Logical<8, f90::Logical8::either_word>::truth(p)), r.either) << r.bits;
    EXPECT_EQ((f90::Logical<8, f90::Logical8::low_word>::truth(p)), r.low) << r.bits;
    EXPECT_EQ(f90::Logical<4>::truth(p), (r.bits & 0xffffffffu) != 0);
    EXPECT_EQ(f90::Logical<2>::truth(p), (r.bits & 0xffffu) != 0);
    EXPECT_EQ(f90::Logical<1>::truth(p), (r.bits & 0xffu) != 0);
  }
  // Sizes other than 1, 2 and 8 read a 32-bit word.
  for (uint32_t bytes : {0u, 1u, 2u, 3u, 4u, 5u, 8u, 16u}) {
    uint32_t seen = 0;
    f90::with_logical(bytes, [&](auto m) { seen = decltype(m)::kBytes; });
    EXPECT_EQ(seen, bytes == 1 || bytes == 2 || bytes == 8 ? bytes : 4u) << bytes;
  }
}

TEST(FloatBits, FieldsAndMakeRoundTrip) {
  struct Row {
    double x;
    int sign, exponent;
    uint64_t fraction;
  };
  const Row rows[] = {{1.0, 0, 1023, 0},
                      {-2.0, 1, 1024, 0},
                      {1.5, 0, 1023, uint64_t{1} << 51},
                      {std::numeric_limits<double>::denorm_min(), 0, 0, 1},
                      {-0.0, 1, 0, 0},
                      {std::numeric_limits<double>::infinity(), 0, 2047, 0},
                      {std::numeric_limits<double>::max(), 0, 2046, (uint64_t{1} << 52) - 1}};
  for (const Row& r : rows) {
    EXPECT_EQ(fp::sign_bit(r.x), r.sign) << r.x;
    EXPECT_EQ(fp::exponent_field(r.x), r.exponent) << r.x;
    EXPECT_EQ(fp::fraction_field(r.x), r.fraction) << r.x;
    EXPECT_EQ(fp::bits_of(fp::make<double>(r.sign, r.exponent, r.fraction)), fp::bits_of(r.x));
    // The same fields against frexp where the value is normal.
    if (r.exponent > 0 && r.exponent < 2047) {
      int e;
      std::frexp(r.x, &e);
      EXPECT_EQ(r.exponent - 1022, e);
    }
  }
  // A signalling NaN keeps its payload through make.
  const float snan = fp::make<float>(1, 255, 1);
  EXPECT_EQ(fp::bits_of(snan), 0xff800001u);
  EXPECT_EQ(fp::exponent_field(snan), 255);
  EXPECT_EQ(fp::fraction_field(snan), 1u);
  const fp::Real16Parts q = fp::parts_of(fp::from_parts({0x3ff0000000000000ull, 0x3c90000000000000ull}));
  EXPECT_EQ(q.hi, 0x3ff0000000000000ull);
  EXPECT_EQ(q.lo, 0x3c90000000000000ull);
}

}  // namespace
