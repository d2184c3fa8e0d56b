// _ALL, ANY and COUNT: identities, widths, DIM, result layout, early exit.
#include <gtest/gtest.h>

#include "descriptor_builder.h"
#include "guard_page.h"
#include "recording_runtime.h"
#include "reductions.h"

namespace {

using f90test::ElemType;
using f90test::Runtime;
using f90test::TestArray;
using namespace red;

class Logical : public ::testing::Test {
 protected:
  f90test::RuntimeScope scope;
};

struct Reduction {
  const char* name;
  LogicalEntry array;
  int32_t (*scalar)(Desc*, const int32_t*);
  int64_t (*scalar8)(Desc*, const int32_t*);
  int32_t (*scalar4)(Desc*, const int32_t*);
  ElemType result;
};
const Reduction kAll{"ALL", _ALL, _ALL0, _ALL0_8, _ALL0_4, ElemType::logical(4)};
const Reduction kAny{"ANY", _ANY, _ANY0, _ANY0_8, _ANY0_4, ElemType::logical(4)};
const Reduction kCount{"COUNT", _COUNT, _COUNT0, _COUNT0_8, _COUNT0_4, ElemType::integer(4)};

// A LOGICAL*4 mask of the given shape with truth(k) in array element order.
void set_truth(TestArray& m, bool (*truth)(int64_t)) {
  for (int64_t k = 0; k < m.size(); ++k) {
    const uint64_t v = truth(k) ? 1 : 0;
    std::memcpy(m.at_linear(k), &v, m.type().bytes());
  }
}

TEST_F(Logical, ScalarFormsOverEveryMaskWidth) {
  struct Case {
    std::vector<uint64_t> v;
    int32_t all, any, count;
  } cases[] = {
      {{1, 1, 1}, 1, 1, 3}, {{1, 0, 1}, 0, 1, 2}, {{0, 0, 0}, 0, 0, 0}, {{}, 1, 0, 0},
  };
  for (int bytes : {1, 2, 4, 8}) {
    for (const auto& c : cases) {
      TestArray m(ElemType::logical(bytes), {static_cast<int32_t>(c.v.size())});
      for (size_t k = 0; k < c.v.size(); ++k) {
        // A true element with only its highest byte set (LOGICAL*8: high word).
        const uint64_t v = c.v[k] << (8 * bytes - 1);
        std::memcpy(m.at_linear(static_cast<int64_t>(k)), &v, bytes);
      }
      for (const Reduction* r : {&kAll, &kAny, &kCount}) {
        const int32_t want = r == &kAll ? c.all : r == &kAny ? c.any : c.count;
        EXPECT_EQ(r->scalar(m.desc(), nullptr), want) << r->name << bytes;
        EXPECT_EQ(r->scalar4(m.desc(), nullptr), want) << r->name << bytes;
        EXPECT_EQ(r->scalar8(m.desc(), nullptr), int64_t{want}) << r->name << bytes;
      }
    }
  }
  EXPECT_TRUE(Runtime::reports().empty());
}

TEST_F(Logical, EmptyMaskGivesTheIdentityEverywhere) {
  const int32_t one = 1;
  for (const Reduction* r : {&kAll, &kAny, &kCount}) {
    TestArray m(ElemType::logical(4), {0, 3});
    TestArray res(r->result, {3}, {}, {}, 0x77);
    r->array(res.desc(), m.desc(), &one);  // DIM along the empty dimension
    for (int64_t j = 0; j < 3; ++j) EXPECT_EQ(res.get<int32_t>({j}), r == &kAll ? 1 : 0) << r->name;
    // Along the other dimension the result is empty: laid out, nothing allocated.
    auto e = f90test::unallocated_result(r->result, 1);
    const int32_t two = 2;
    r->array(e.get(), m.desc(), &two);
    EXPECT_EQ(e->base, nullptr);
    EXPECT_EQ(e->dim[0].extent, 0);
    EXPECT_EQ(e->flags & F90_FLAG_ASSOC, 0u);
    EXPECT_EQ(Runtime::allocation_calls(), 0);
  }
}

// Every result element holds its own line's outcome, whatever it held
// before, for every DIM of a rank-3 mask of unequal extents.
TEST_F(Logical, DimLinesOfARankThreeMask) {
  TestArray m(ElemType::logical(2), {3, 4, 5}, {}, {1, -2, 1});
  set_truth(m, [](int64_t k) { return (k * 7) % 5 < 2 || k == 3; });
  for (int32_t dim = 1; dim <= 3; ++dim) {
    std::vector<int32_t> ext{3, 4, 5};
    ext.erase(ext.begin() + (dim - 1));
    for (const Reduction* r : {&kAll, &kAny, &kCount}) {
      TestArray res(r->result, ext, {}, {}, 0x77);
      r->array(res.desc(), m.desc(), &dim);
      f90test::for_each_index(ext, [&](const std::vector<int64_t>& j) {
        int32_t all = 1, any = 0, count = 0;
        for (int64_t i = 0; i < (dim == 1 ? 3 : dim == 2 ? 4 : 5); ++i) {
          std::vector<int64_t> at = j;
          at.insert(at.begin() + (dim - 1), i);
          const bool t = m.get<int16_t>(at) != 0;
          all &= t;
          any |= t;
          count += t;
        }
        EXPECT_EQ(res.get<int32_t>(j), r == &kAll ? all : r == &kAny ? any : count) << r->name << dim;
      });
    }
  }
}

TEST_F(Logical, CompletedResultsOfEveryWidth) {
  // 300 x 2: DIM = 1 gives lines of 300 (all true) and 150 true elements.
  TestArray m(ElemType::logical(1), {300, 2});
  set_truth(m, [](int64_t k) { return k < 300 || k % 2 == 0; });
  const int32_t dim = 1;
  struct Case {
    ElemType type;
    uint32_t unit;  // bytes per stride unit
    uint64_t first, second;
  } cases[] = {
      {ElemType::integer(1), 1, 44, 150},  // the low 8 bits of 300
      {ElemType::integer(2), 1, 300, 150},
      {ElemType::integer(4), 4, 300, 150},
      {ElemType::integer(8), 4, 300, 150},
  };
  for (const auto& c : cases) {
    Runtime::reset();
    auto r = f90test::unallocated_result(c.type, 1);
    _COUNT_4(r.get(), m.desc(), &dim);
    ASSERT_EQ(Runtime::allocations().size(), 1u);
    EXPECT_EQ(Runtime::allocations()[0].bytes, 2 * c.type.bytes());
    EXPECT_EQ(r->dim[0].lower, 1);
    EXPECT_EQ(r->dim[0].extent, 2);
    EXPECT_EQ(static_cast<uint32_t>(r->dim[0].stride) * c.unit, c.type.bytes());
    EXPECT_EQ(r->alloc_size, 16 * c.type.bytes());
    EXPECT_EQ(result_elem(r.get(), 0, c.type.bytes(), c.unit), c.first);
    EXPECT_EQ(result_elem(r.get(), 1, c.type.bytes(), c.unit), c.second);
  }
  auto any8 = f90test::unallocated_result(ElemType::logical(8), 1);
  _ANY_8(any8.get(), m.desc(), &dim);
  EXPECT_EQ(result_elem(any8.get(), 0, 8, 4), 1u);  // 1 in the low word, 0 in the high
}

TEST_F(Logical, DimRules) {
  TestArray m(ElemType::logical(4), {2, 3});
  set_truth(m, [](int64_t k) { return k != 3; });  // (1,1) (1,0) (1,1) by rows
  const int32_t two = 2, one = 1, zero = 0, three = 3;
  auto r = f90test::unallocated_result(ElemType::logical(4), 1);
  _ALL(r.get(), m.desc(), &two);
  ASSERT_EQ(r->dim[0].extent, 2);  // one element per row
  EXPECT_EQ(result_elem(r.get(), 0, 4, 4), 1u);
  EXPECT_EQ(result_elem(r.get(), 1, 4, 4), 0u);
  TestArray v(ElemType::logical(4), {4});
  set_truth(v, [](int64_t k) { return k != 2; });
  EXPECT_EQ(_COUNT0(v.desc(), &one), 3);  // DIM = 1 on rank 1: a scalar
  EXPECT_TRUE(Runtime::reports().empty());
  // Rank 1 goes on after the report; rank 2 ends the call untouched.
  EXPECT_EQ(_COUNT0(v.desc(), &three), 3);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1405});
  for (const int32_t* bad : {&zero, &three}) {
    Runtime::reset();
    TestArray res(ElemType::integer(4), {3}, {}, {}, 0x77);
    _COUNT(res.desc(), m.desc(), bad);
    EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1405});
    EXPECT_EQ(res.get<uint32_t>({0}), 0x77777777u);
  }
}

TEST_F(Logical, Logical8SectionIsReadThroughItsStride) {
  TestArray m(ElemType::logical(8), {4}, {}, {2});
  set_truth(m, [](int64_t k) { return k == 0 || k == 3; });
  // The parent's elements between the section's are true.
  for (int64_t k = 0; k < 3; ++k) std::memset(m.at_linear(k) + 8, 0xff, 8);
  EXPECT_EQ(_ALL0(m.desc(), nullptr), 0);
  EXPECT_EQ(_ANY0(m.desc(), nullptr), 1);
  EXPECT_EQ(_COUNT0(m.desc(), nullptr), 2);
}

// The whole-mask scans stop at the deciding element: the elements after it
// lie on an inaccessible page.
TEST_F(Logical, ScalarScansStopAtTheDecidingElement) {
  f90test::GuardedBuffer buf(12);
  uint32_t* w = static_cast<uint32_t*>(buf.data());
  TestArray shape(ElemType::logical(4), {10, 2});
  Desc d = *shape.desc();
  d.base = w;
  w[0] = 1, w[1] = 0, w[2] = 1;
  EXPECT_EQ(_ALL0(&d, nullptr), 0);
  w[1] = 1;
  EXPECT_EQ(_ANY0(&d, nullptr), 1);
}

TEST_F(Logical, AllocationFailureStoresNothing) {
  TestArray m(ElemType::logical(4), {3, 3});
  const int32_t dim = 1;
  auto r = f90test::unallocated_result(ElemType::integer(4), 1);
  Runtime::fail_allocation(1);
  _COUNT(r.get(), m.desc(), &dim);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1205});
  EXPECT_EQ(r->base, nullptr);
}

// Result sizes are worked out in 64 bits: 2^26 elements of 8 bytes are
// asked for (and refused here), 2^28 are beyond what i386 can hold.
TEST_F(Logical, LargeResultSizesDoNotWrap) {
  struct Case {
    int32_t lines;
    int calls;  // allocator calls expected
  } cases[] = {{1 << 26, 1}, {1 << 28, 0}};
  for (const auto& c : cases) {
    Runtime::reset();
    f90test::Descriptor m(ElemType::logical(4), 2, true);  // a broadcast MASK
    uint32_t t = 1;
    m->base = &t;
    m->dim[0] = {1, 1, 0};
    m->dim[1] = {1, c.lines, 0};
    auto r = f90test::unallocated_result(ElemType::integer(8), 1);
    Runtime::fail_allocation(1);
    const int32_t dim = 1;
    _COUNT_8(r.get(), m.get(), &dim);
    EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1205});
    EXPECT_EQ(Runtime::allocation_calls(), c.calls);
    EXPECT_EQ(r->base, nullptr);
  }
}

}  // namespace
