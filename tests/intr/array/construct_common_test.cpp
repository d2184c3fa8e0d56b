// What PACK, UNPACK, RESHAPE and SPREAD share: elements of no bytes, and
// descriptors read and written only as far as their rank.
#include "construct_support.h"

namespace construct_test {
namespace {

using ConstructionRoutines = ConstructTest;

// CHARACTER*0 elements need no storage: every routine completes its result
// without asking the allocator and moves nothing through the null base.
TEST_F(ConstructionRoutines, ZeroLengthCharactersNeedNoStorage) {
  const ElemType c0 = ElemType::character(0);
  TestArray source(c0, {3}), mask(ElemType::logical(4), {3}), scalar(c0, {});
  set_mask(mask, "101");
  TestArray shape(ElemType::integer(4), {1});
  shape.set_linear<int32_t>(0, 4);
  const int32_t dim = 1, nc = 2;
  struct Case {
    const char* what;
    std::function<void(ArrayDescriptor*)> call;
    int rank;
    uint32_t flags;
    int32_t extent0;
  } cases[] = {
      {"PACK", [&](ArrayDescriptor* r) { f90::pack(r, source.desc(), mask.desc(), nullptr); }, 1, f90_flags(1, 1, 0), 2},
      {"UNPACK", [&](ArrayDescriptor* r) { f90::unpack(r, source.desc(), mask.desc(), scalar.desc()); }, 1,
       f90_flags(1, 1, 0), 3},
      {"SPREAD", [&](ArrayDescriptor* r) { f90::spread(r, source.desc(), &dim, &nc); }, 2, f90_flags(2, 1, 0), 2},
      // RESHAPE leaves a result of no bytes without `assoc`.
      {"RESHAPE", [&](ArrayDescriptor* r) { f90::reshape(r, scalar.desc(), shape.desc(), scalar.desc(), nullptr); },
       1, f90_flags(1, 0, 0), 4},
  };
  for (const auto& c : cases) {
    Runtime::reset();
    auto r = f90test::unallocated_result(c0, c.rank);
    c.call(r.get());
    EXPECT_EQ(words(r.get(), 8), (std::vector<uint32_t>{0, 0, c.flags, c0.type_word, 0, 0, 1,
                                                         static_cast<uint32_t>(c.extent0)}))
        << c.what;
    EXPECT_EQ(Runtime::allocation_calls(), 0) << c.what;
    EXPECT_TRUE(Runtime::reports().empty()) << c.what;
  }
}

using f90test::GuardedDescriptor;

// Every descriptor holds only the words of its rank, against an
// inaccessible page: scalars (MASK, FIELD, SOURCE, PAD) have no dimension
// words to read, and results are written no further than their rank.
TEST_F(ConstructionRoutines, NoDescriptorWordBeyondItsRank) {
  const ElemType i4 = ElemType::integer(4);
  TestArray array(i4, {2, 2}), vector(i4, {4}), one(i4, {}), yes(ElemType::logical(4), {});
  TestArray mask(ElemType::logical(4), {2, 2}), shape(i4, {2});
  set_values<int32_t>(array, {1, 2, 3, 4});
  set_values<int32_t>(vector, {5, 6, 7, 8});
  one.set_linear<int32_t>(0, 9);
  yes.set_linear<int32_t>(0, 1);
  set_mask(mask, "0110");
  set_values<int32_t>(shape, {2, 2});
  const int32_t dim = 1, nc = 3;
  struct Case {
    const char* what;
    int rank;
    std::function<void(ArrayDescriptor*)> call;
    std::vector<int32_t> want;
  } cases[] = {
      {"PACK, scalar MASK", 1,
       [&](ArrayDescriptor* r) {
         GuardedDescriptor a(array.desc()), m(yes.desc()), v(vector.desc());
         f90::pack(r, a.get(), m.get(), v.get());
       },
       {1, 2, 3, 4}},
      {"UNPACK, scalar FIELD", 2,
       [&](ArrayDescriptor* r) {
         GuardedDescriptor v(vector.desc()), m(mask.desc()), f(one.desc());
         f90::unpack(r, v.get(), m.get(), f.get());
       },
       {9, 5, 6, 9}},
      {"RESHAPE, scalar SOURCE and PAD", 2,
       [&](ArrayDescriptor* r) {
         GuardedDescriptor s(one.desc()), sh(shape.desc()), p(yes.desc());
         f90::reshape(r, s.get(), sh.get(), p.get(), nullptr);
       },
       {9, 1, 1, 1}},
      {"SPREAD, scalar SOURCE", 1,
       [&](ArrayDescriptor* r) {
         GuardedDescriptor s(one.desc());
         f90::spread(r, s.get(), &dim, &nc);
       },
       {9, 9, 9}},
  };
  for (const auto& c : cases) {
    Runtime::reset();
    GuardedDescriptor r(f90test::unallocated_result(i4, c.rank).get());
    c.call(r.get());
    EXPECT_EQ(values<int32_t>(r.get(), i4), c.want) << c.what;
    EXPECT_TRUE(Runtime::reports().empty()) << c.what;
  }
}

}  // namespace
}  // namespace construct_test
