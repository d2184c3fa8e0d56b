// The descriptor view, the storage-unit rule, the integer-result width rule
// and LOGICAL truth.
#include "array/descriptor.h"
#include "common/mask.h"

#include <gtest/gtest.h>

#include "descriptor_builder.h"
#include "guard_page.h"

namespace {

using f90test::ElemType;

struct UnitsCase {
  const char* what;
  ElemType type;
  uint32_t units;
  uint32_t unit_bytes;
};

TEST(ElemUnits, EveryTypeCodeAndLength) {
  const UnitsCase cases[] = {
      {"INTEGER*1", ElemType::integer(1), 1, 1},
      {"INTEGER*2", ElemType::integer(2), 2, 1},
      {"INTEGER*4", ElemType::integer(4), 1, 4},
      {"INTEGER*8", ElemType::integer(8), 2, 4},
      {"REAL*4", ElemType::real(4), 1, 4},
      {"REAL*8", ElemType::real(8), 2, 4},
      {"REAL*16", ElemType::real(16), 4, 4},
      {"COMPLEX*8", ElemType::complex(8), 2, 4},
      {"COMPLEX*16", ElemType::complex(16), 4, 4},
      {"COMPLEX*32", ElemType::complex(32), 8, 4},
      {"LOGICAL*1", ElemType::logical(1), 1, 1},
      {"LOGICAL*2", ElemType::logical(2), 2, 1},
      {"LOGICAL*4", ElemType::logical(4), 1, 4},
      {"LOGICAL*8", ElemType::logical(8), 2, 4},
      {"CHARACTER*7", ElemType::character(7), 7, 1},
      {"CHARACTER*0", ElemType::character(0), 0, 1},
      {"derived, 5 bytes", ElemType::derived_bytes(5), 5, 1},
      {"derived, 3 words", ElemType::derived_words(3), 3, 4},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(f90::elem_units(c.type.type_word, c.type.elem_len), c.units) << c.what;
    EXPECT_EQ(f90::unit_bytes(c.type.type_word), c.unit_bytes) << c.what;
  }
}

TEST(IntResultWidth, KindSelectorAndIntLen) {
  struct Case {
    uint32_t int_len, kind_sel, decl_len, width;
  } cases[] = {
      {32, 0, 0, 4}, {64, 0, 0, 8}, {16, 0, 0, 4}, {8, 0, 0, 4},
      // kind_sel set: decl_len decides, int_len is ignored
      {64, 1, 4, 4}, {32, 1, 8, 8}, {32, 7, 8, 8},
      {32, 1, 2, 0}, {16, 1, 2, 0}, {32, 1, 1, 0}, {32, 1, 0, 0},
  };
  for (const auto& c : cases) {
    const uint32_t tw = f90_type_word(TYPE_INTEGER, c.int_len, c.kind_sel, c.decl_len);
    EXPECT_EQ(f90::int_result_width(tw), c.width)
        << "int_len " << c.int_len << " kind_sel " << c.kind_sel << " decl_len " << c.decl_len;
  }
}

TEST(IntResultWidth, StoresSignExtendedOrNothing) {
  unsigned char buf[8];
  std::memset(buf, 0xAA, 8);
  f90::store_int_result(buf, 8, -3);
  int64_t v64;
  std::memcpy(&v64, buf, 8);
  EXPECT_EQ(v64, -3);

  std::memset(buf, 0xAA, 8);
  f90::store_int_result(buf, 4, -3);
  int32_t v32;
  std::memcpy(&v32, buf, 4);
  EXPECT_EQ(v32, -3);
  EXPECT_EQ(buf[4], 0xAA);

  std::memset(buf, 0xAA, 8);
  f90::store_int_result(buf, 0, -3);
  for (unsigned char b : buf) EXPECT_EQ(b, 0xAA);
}

// A LOGICAL of elem_len `bits` read by the mask reader.
bool truth_of_bits(const void* p, uint32_t bits) {
  return f90::logical_true(static_cast<const char*>(p), f90::logical_bytes(bits));
}

TEST(LogicalTruth, EveryWidth) {
  const uint8_t b1 = 0x80;
  const uint16_t b2 = 0x0100;
  const uint32_t b4 = 0x80000000u;
  const uint32_t hi_only[2] = {0, 1};
  const uint32_t lo_only[2] = {2, 0};
  const uint32_t zero[2] = {0, 0};
  EXPECT_TRUE(truth_of_bits(&b1, 8));
  EXPECT_TRUE(truth_of_bits(&b2, 16));
  EXPECT_TRUE(truth_of_bits(&b4, 32));
  EXPECT_TRUE(truth_of_bits(hi_only, 64));
  EXPECT_TRUE(truth_of_bits(lo_only, 64));
  EXPECT_FALSE(truth_of_bits(zero, 64));
  // Only the element's own bytes count.
  const uint32_t low_byte_zero = 0xFFFFFF00u;
  EXPECT_FALSE(truth_of_bits(&low_byte_zero, 8));
  EXPECT_TRUE(truth_of_bits(&low_byte_zero, 16));
}

TEST(DescView, FieldsAndElementStrides) {
  f90test::TestArray a(ElemType::integer(8), {3, 4}, {-1, 5}, {1, -2});
  a.desc()->flags |= OBJ_ALLOCATABLE << F90_FLAG_OBJ_KIND_SHIFT;
  f90::Desc d(a.desc());
  EXPECT_EQ(d.rank(), 2);
  EXPECT_TRUE(d.assoc());
  EXPECT_TRUE(d.is_allocatable());
  EXPECT_FALSE(d.is_pointer());
  EXPECT_FALSE(d.absent());
  EXPECT_EQ(d.type_code(), TYPE_INTEGER);
  EXPECT_EQ(d.int_len(), 64u);
  EXPECT_EQ(d.lower(0), -1);
  EXPECT_EQ(d.lower(1), 5);
  EXPECT_EQ(d.stride(0), 2);        // words
  EXPECT_EQ(d.elem_stride(0), 1);
  EXPECT_EQ(d.elem_stride(1), -6);  // every other column backwards
  EXPECT_EQ(d.byte_stride(1), -48);
  EXPECT_EQ(d.element_count(), 12);

  d.set_assoc(false);
  EXPECT_TRUE(d.absent());
  d.set_rank(7);
  EXPECT_EQ(d.rank(), 7);
  EXPECT_EQ(d.obj_kind(), uint32_t{OBJ_ALLOCATABLE});  // other fields kept
}

TEST(DescView, EmptyAndHugeElementCounts) {
  f90test::TestArray empty(ElemType::real(4), {5, 0, 3});
  EXPECT_EQ(f90::Desc(empty.desc()).element_count(), 0);

  f90test::Descriptor huge(ElemType::real(8), 7, true);
  for (int i = 0; i < 7; ++i) huge->dim[i] = {1, 0x7fffffff, 2};
  EXPECT_EQ(f90::Desc(huge.get()).element_count(), INT64_MAX);  // saturates
}

TEST(DescView, RankZeroReadsNoDimensionWords) {
  f90test::Descriptor scalar(ElemType::real(8), 0, true);
  f90test::GuardedDescriptor g(scalar.get());
  f90::Desc d(g.get());
  EXPECT_EQ(d.rank(), 0);
  EXPECT_EQ(d.element_count(), 1);  // faults if it touched a dimension
  EXPECT_EQ(d.elem_units(), 2u);
}

}  // namespace
