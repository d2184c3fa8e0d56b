// Cases the fuzz targets (fuzz/) found, kept as plain tests. Each input that
// failed is also committed to the target's seed corpus as regress-*, so the
// bounded fuzz run in CI replays it under clang's sanitizers, which flag an
// offset added to a null pointer (GCC's do not).
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "f90/f90.h"
#include "descriptor_builder.h"
#include "f90/messages.h"
#include "guard_page.h"
#include "recording_runtime.h"

namespace {

using AD = ArrayDescriptor;
using f90test::Descriptor;
using f90test::ElemType;
using f90test::GuardedDescriptor;
using f90test::Runtime;
using f90test::TestArray;


class FuzzRegressionTest : public ::testing::Test {
 protected:
  f90test::RuntimeScope scope;
};

// An array without storage: extents as given, base null (what a zero-sized
// allocation may leave), against a guard page.
GuardedDescriptor no_storage(ElemType t, std::vector<int32_t> extents) {
  Descriptor d(t, static_cast<int>(extents.size()), true);
  d->base = nullptr;
  for (size_t i = 0; i < extents.size(); ++i) d->dim[i] = {1, extents[i], 3 * static_cast<int32_t>(i + 1)};
  return GuardedDescriptor(d.get());
}

uint32_t word(const AD* r, int64_t elem, int w, uint32_t words) {
  uint32_t v;
  std::memcpy(&v, static_cast<const char*>(r->base) + 4 * (elem * words + w), 4);
  return v;
}

// Word-granular derived types move one word position at a time; each pass
// used to add the word's offset to every base, null ones included.
TEST_F(FuzzRegressionTest, WordPassesOverArgumentsWithoutStorage) {
  const ElemType d3 = ElemType::derived_words(3);
  const ElemType l4 = ElemType::logical(4);

  {  // UNPACK: VECTOR empty with a null base; every true position is short.
    GuardedDescriptor vector = no_storage(d3, {0});
    TestArray mask(l4, {4});
    for (int k = 0; k < 4; ++k) mask.set_linear<int32_t>(k, k % 2 == 0);
    TestArray field(d3, {});
    std::memcpy(field.at_linear(0), "\x07\0\0\0\x08\0\0\0\x09\0\0\0", 12);
    Descriptor r = f90test::unallocated_result(d3, 1);
    _UNPACK(r.get(), vector.get(), mask.desc(), field.desc());
    // Two short positions, reported in each of the three word passes.
    EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>(6, ERR_UNPACK_VECTOR_SHORT));
    for (int64_t k : {1, 3}) {
      for (int w = 0; w < 3; ++w) EXPECT_EQ(word(r.get(), k, w, 3), 7u + w) << k;
    }
    for (int64_t k : {0, 2}) EXPECT_EQ(word(r.get(), k, 0, 3), 0xCCCCCCCCu) << "left unwritten";
  }
  Runtime::reset();
  {  // RESHAPE: an empty SOURCE with a null base, PAD fills the result.
    const ElemType d4 = ElemType::derived_words(4);
    GuardedDescriptor source = no_storage(d4, {0, 3});
    TestArray pad(d4, {});
    std::memcpy(pad.at_linear(0), "\x01\0\0\0\x02\0\0\0\x03\0\0\0\x04\0\0\0", 16);
    TestArray shape(ElemType::integer(4), {2});
    shape.set_linear<int32_t>(0, 2);
    shape.set_linear<int32_t>(1, 2);
    Descriptor r = f90test::unallocated_result(d4, 2);
    _RESHAPE(r.get(), source.get(), shape.desc(), pad.desc(), nullptr);
    EXPECT_TRUE(Runtime::reports().empty());
    for (int64_t k = 0; k < 4; ++k) {
      for (int w = 0; w < 4; ++w) EXPECT_EQ(word(r.get(), k, w, 4), 1u + w);
    }
  }
  Runtime::reset();
  {  // PACK: an empty ARRAY with a null base gives a copy of VECTOR.
    GuardedDescriptor array = no_storage(d3, {2, 0});
    TestArray mask(l4, {2, 0});
    TestArray vector(d3, {2});
    for (int64_t k = 0; k < 2; ++k) {
      for (int w = 0; w < 3; ++w) {
        const uint32_t v = 10 * static_cast<uint32_t>(k) + w;
        std::memcpy(vector.at_linear(k) + 4 * w, &v, 4);
      }
    }
    Descriptor r = f90test::unallocated_result(d3, 1);
    _PACK(r.get(), array.get(), mask.desc(), vector.desc());
    EXPECT_TRUE(Runtime::reports().empty());
    ASSERT_EQ(r->dim[0].extent, 2);
    for (int64_t k = 0; k < 2; ++k) {
      for (int w = 0; w < 3; ++w) EXPECT_EQ(word(r.get(), k, w, 3), 10 * k + w);
    }
  }
}

// The vector searches started their integer lanes from the first element
// converted through a double: INTEGER*8 values near 2^63 came back as the
// most negative value (or anything: the conversion is out of range).
TEST_F(FuzzRegressionTest, Integer8SearchesKeepEveryBitOfTheFirstElement) {
  const int64_t big = INT64_MAX, near = (int64_t{1} << 62) + 1;
  for (int64_t first : {big, near, -big}) {
    SCOPED_TRACE(first);
    TestArray a(ElemType::integer(8), {37});
    a.fill_linear<int64_t>([&](int64_t) { return first; });
    EXPECT_EQ(_MINVAL0_J(a.desc(), nullptr, nullptr), first);
    EXPECT_EQ(_MAXVAL0_J(a.desc(), nullptr, nullptr), first);
    Descriptor r = f90test::unallocated_result(ElemType::integer(4), 1);
    _MINLOC_J(r.get(), a.desc(), nullptr);
    int32_t loc;
    std::memcpy(&loc, r->base, 4);
    EXPECT_EQ(loc, 1);
  }
}

}  // namespace
