// MATMUL cases the fuzz target (fuzz/targets/matmul_fuzz.cpp) found, kept as
// plain tests. The failing inputs are also in fuzz/corpus/matmul/ as
// regress-*, so the bounded fuzz run replays them under clang's sanitizers,
// which flag an offset added to a null pointer (GCC's do not).
#include <gtest/gtest.h>

#include <vector>

#include "descriptor_builder.h"
#include "f90/f90.h"
#include "guard_page.h"
#include "recording_runtime.h"

namespace {

using f90test::Descriptor;
using f90test::ElemType;
using f90test::GuardedDescriptor;
using f90test::Runtime;
using f90test::TestArray;

// An empty array whose base is null, as an empty allocation may leave it.
GuardedDescriptor no_storage(ElemType t, std::vector<int32_t> extents) {
  Descriptor d(t, static_cast<int>(extents.size()), true);
  d->base = nullptr;
  for (size_t i = 0; i < extents.size(); ++i) d->dim[i] = {1, extents[i], 4};
  return GuardedDescriptor(d.get());
}

// The drivers that split complex data into real and imaginary parts used to
// add the imaginary part's offset to every base, null ones included, before
// the kernels returned on the empty product.
TEST(MatmulFuzzRegression, ComplexPartsOfEmptyArraysWithoutStorage) {
  struct Driver {
    const char* name;
    F90MatmulDriver* fn;
    ElemType a, b, c;
  };
  const ElemType s4 = ElemType::real(4), s8 = ElemType::real(8), s16 = ElemType::real(16);
  const ElemType c8 = ElemType::complex(8), c16 = ElemType::complex(16), c32 = ElemType::complex(32);
  const ElemType i4 = ElemType::integer(4), j = ElemType::integer(8);
  const Driver drivers[] = {
      {"S4C", _MATMUL_S4C, s4, c16, c16},   {"C4S4", _MATMUL_C4S4, c8, s4, c8},
      {"CD", _MATMUL_CD, c16, s16, c32},    {"ZS4", _MATMUL_ZS4, c32, s4, c32},
      {"C4C", _MATMUL_C4C, c8, c16, c16},   {"CC4", _MATMUL_CC4, c16, c8, c16},
      {"ZC4", _MATMUL_ZC4, c32, c8, c32},   {"JC4", _MATMUL_JC4, j, c8, c8},
      {"CI4", _MATMUL_CI4, c16, i4, c16},   {"SZ", _MATMUL_SZ, s8, c32, c32},
  };
  for (const Driver& d : drivers) {
    // m = 0 (A and the result without storage) and n = 0 (B and the result).
    for (int empty = 0; empty < 2; ++empty) {
      for (bool supplied : {true, false}) {
        SCOPED_TRACE(std::string(d.name) + (empty ? " n = 0" : " m = 0") +
                     (supplied ? ", supplied result" : ", result to complete"));
        Runtime::reset();
        TestArray full_a(d.a, {2, 3}), full_b(d.b, {3, 2});
        GuardedDescriptor a = empty == 0 ? no_storage(d.a, {0, 3}) : GuardedDescriptor(full_a.desc());
        GuardedDescriptor b = empty == 1 ? no_storage(d.b, {3, 0}) : GuardedDescriptor(full_b.desc());
        const std::vector<int32_t> rext = empty == 0 ? std::vector<int32_t>{0, 2} : std::vector<int32_t>{2, 0};
        GuardedDescriptor r = supplied ? no_storage(d.c, rext)
                                       : GuardedDescriptor(f90test::unallocated_result(d.c, 2).get());
        d.fn(r.get(), a.get(), b.get(), nullptr);
        EXPECT_TRUE(Runtime::reports().empty());
        EXPECT_EQ(Runtime::allocation_calls(), 0);
        EXPECT_EQ(r.get()->base, nullptr);
        EXPECT_TRUE(r.get()->flags & F90_FLAG_ASSOC);
        EXPECT_EQ(r.get()->dim[0].extent, rext[0]);
        EXPECT_EQ(r.get()->dim[1].extent, rext[1]);
      }
    }
  }
}

}  // namespace
