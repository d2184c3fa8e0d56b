// Descriptors a compiler can still produce but that push every limit: extents
// whose product passes 2^31 or 2^32 (broadcast arrays with stride 0 hold them
// in a few bytes), NCOPIES and SHAPE values near 2^31, DIM of every value
// outside its range, rank 7 everywhere. Each is answered by a report, never
// by a crash, a wrapped allocation or a store outside the result. Every
// argument descriptor sits against an inaccessible page, so a routine that
// reads a dimension beyond the rank faults.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
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


const ElemType I1 = ElemType::integer(1), I2 = ElemType::integer(2), I4 = ElemType::integer(4);
const ElemType I8 = ElemType::integer(8), R8 = ElemType::real(8), L1 = ElemType::logical(1);
const ElemType L8 = ElemType::logical(8), L4 = ElemType::logical(4);

// An array whose every element is the one element at `storage`: strides 0,
// any extents (what compiled code passes for a broadcast scalar).
std::unique_ptr<GuardedDescriptor> broadcast(ElemType t, const std::vector<int32_t>& extents,
                                             void* storage) {
  Descriptor d(t, static_cast<int>(extents.size()), true);
  d->base = storage;
  for (size_t i = 0; i < extents.size(); ++i) d->dim[i] = {1, extents[i], 0};
  return std::make_unique<GuardedDescriptor>(d.get());
}

std::unique_ptr<GuardedDescriptor> guarded(const ArrayDescriptor* d) {
  return std::make_unique<GuardedDescriptor>(d);
}

// A rank-1 INTEGER*4 (or *8) array of values.
struct IntVector {
  std::vector<int64_t> v;
  std::unique_ptr<TestArray> a;
  std::unique_ptr<GuardedDescriptor> g;
  IntVector(std::vector<int64_t> values, int bytes = 4) : v(std::move(values)) {
    a = std::make_unique<TestArray>(ElemType::integer(bytes), std::vector<int32_t>{static_cast<int32_t>(v.size())});
    for (size_t k = 0; k < v.size(); ++k) {
      if (bytes == 8) a->set_linear<int64_t>(static_cast<int64_t>(k), v[k]);
      else a->set_linear<int32_t>(static_cast<int64_t>(k), static_cast<int32_t>(v[k]));
    }
    g = guarded(a->desc());
  }
  AD* desc() { return g->get(); }
};

class HostileTest : public ::testing::Test {
 protected:
  f90test::RuntimeScope scope;
};

// ---- Results too large to hold: 1205, no allocator call (a wrapped size
// would obtain a small block and then overrun it), nothing stored.

struct Oversized {
  const char* name;
  ElemType result_type;
  int result_rank;
  std::function<void(AD* result)> call;
};

TEST_F(HostileTest, ResultsBeyond2GiBAreReportedAndNothingIsAllocated) {
  static char one[32] = {1};  // the single element behind every broadcast array
  static int32_t shift1 = 1, dim1 = 1, dim2 = 2, big = INT32_MAX, count65536 = 65536;
  // 65536 x 65537 one-byte elements: 2^32 + 65536 bytes, 65536 in 32 bits.
  const std::vector<int32_t> wraps = {65536, 65537};
  // A reduction along `dim` of a broadcast source, MASK absent where it has one.
  auto along = [&](ElemType t, std::vector<int32_t> extents, const int32_t* dim, auto f) {
    return std::function<void(AD*)>([=](AD* r) {
      auto s = broadcast(t, extents, one);
      if constexpr (std::is_invocable_v<decltype(f), AD*, AD*, const int32_t*>) f(r, s->get(), dim);
      else f(r, s->get(), dim, nullptr);
    });
  };
  std::vector<Oversized> cases = {
      {"TRANSPOSE I1 65536x65537", I1, 2,
       [&](AD* r) { auto s = broadcast(I1, wraps, one); _TRANS(r, s->get()); }},
      {"TRANSPOSE I8 65536x32768", I8, 2,
       [&](AD* r) { auto s = broadcast(I8, {65536, 32768}, one); _TRANS(r, s->get()); }},
      {"CSHIFT I1 65536x65537", I1, 2,
       [&](AD* r) {
         auto a = broadcast(I1, wraps, one);
         auto s = broadcast(I4, {}, &shift1);
         _CSHIFT(r, a->get(), s->get(), &dim2);
       }},
      {"EOSHIFT R8 65536x65537", R8, 2,
       [&](AD* r) {
         auto a = broadcast(R8, wraps, one);
         auto s = broadcast(I4, {}, &shift1);
         _EOSHIFT(r, a->get(), s->get(), nullptr, &dim1);
       }},
      {"PACK I1 65536x65537, MASK true", I1, 1,
       [&](AD* r) {
         auto a = broadcast(I1, wraps, one);
         auto m = broadcast(L1, {}, one);
         _PACK(r, a->get(), m->get(), nullptr);
       }},
      {"UNPACK I1 into MASK 65536x65537", I1, 2,
       [&](AD* r) {
         static char zero[8] = {};
         auto v = broadcast(I1, {0}, one);
         auto m = broadcast(L1, wraps, zero);
         auto f = broadcast(I1, {}, one);
         _UNPACK(r, v->get(), m->get(), f->get());
       }},
      {"RESHAPE I1 to 65536x65537", I1, 2,
       [&](AD* r) {
         auto s = broadcast(I1, {1}, one);
         auto pad = broadcast(I1, {}, one);
         IntVector shape({65536, 65537});
         _RESHAPE(r, s->get(), shape.desc(), pad->get(), nullptr);
       }},
      {"RESHAPE I2 to SHAPE 2^31-1", I2, 1,
       [&](AD* r) {
         auto s = broadcast(I2, {1}, one);
         auto pad = broadcast(I2, {}, one);
         IntVector shape({INT32_MAX}, 8);
         _RESHAPE(r, s->get(), shape.desc(), pad->get(), nullptr);
       }},
      {"SPREAD I1 of 2 with NCOPIES 2^31-1", I1, 2,
       [&](AD* r) {
         auto s = broadcast(I1, {2}, one);
         _SPREAD(r, s->get(), &dim1, &big);
       }},
      {"SPREAD I1 of 65537 with NCOPIES 65536", I1, 2,
       [&](AD* r) {
         auto s = broadcast(I1, {65537}, one);
         _SPREAD(r, s->get(), &dim2, &count65536);
       }},
      {"MAXVAL I1 along DIM 1 of 2x65536x65537", I1, 2, along(I1, {2, 65536, 65537}, &dim1, _MAXVAL_I1)},
      {"MINVAL R8 along DIM 2 of 65536x3x8192", R8, 2, along(R8, {65536, 3, 8192}, &dim2, _MINVAL_S)},
      {"ALL into LOGICAL*1 along DIM 1 of 2x65536x65537", L1, 2, along(L1, {2, 65536, 65537}, &dim1, _ALL)},
      {"COUNT into INTEGER*8 along DIM 1 of 2x32768x16384", I8, 2, along(L8, {2, 32768, 16384}, &dim1, _COUNT_8)},
      {"TRANSFER to INTEGER*4 with SIZE 2^30+1", I4, 1,
       [&](AD* r) {
         static int32_t size = (1 << 30) + 1;  // 2^32 + 4 bytes, 4 in 32 bits
         auto s = broadcast(I4, {}, one);
         auto m = broadcast(I4, {}, one);
         _TRANSFER(r, s->get(), m->get(), &size);
       }},
      {"SUM I1 along DIM 1 of 2x65536x65537", I1, 2, along(I1, {2, 65536, 65537}, &dim1, _SUM_I1)},
      {"PRODUCT R8 along DIM 2 of 65536x3x8192", R8, 2, along(R8, {65536, 3, 8192}, &dim2, _PROD_S)},
      {"MAXLOC with DIM 1 of 2x65536x65537, INTEGER*8 locations", I8, 2,
       [&](AD* r) {
         static int32_t dim_value = 1;
         auto s = broadcast(I1, {2, 65536, 65537}, one);
         auto d = broadcast(I4, {}, &dim_value);
         _MAXLOC__I1(r, s->get(), d->get(), nullptr);
       }},
      {"MATMUL R8 65536x2 by 2x65536", R8, 2,
       [&](AD* r) {
         auto a = broadcast(R8, {65536, 2}, one);
         auto b = broadcast(R8, {2, 65536}, one);
         _MATMUL_SS(r, a->get(), b->get(), nullptr);
       }},
      {"MATMUL I4 46341x1 by 1x46341", I4, 2,
       [&](AD* r) {
         auto a = broadcast(I4, {46341, 1}, one);
         auto b = broadcast(I4, {1, 46341}, one);
         _MATMUL_I4I4(r, a->get(), b->get(), nullptr);
       }},
      {"MATMUL COMPLEX*32 outer product of 16384 and 16384 by TRANSPOSE_B", ElemType::complex(32), 2,
       [&](AD* r) {
         static const int32_t transpose_b = MATMUL_TRANSPOSE_B;
         auto a = broadcast(ElemType::complex(32), {16384, 1}, one);
         auto b = broadcast(ElemType::complex(32), {16384}, one);
         _MATMUL_ZZ(r, a->get(), b->get(), &transpose_b);
       }},
      {"TRANSFER of 65536x65537 bytes to an INTEGER*1 array", I1, 1,
       [&](AD* r) {
         auto s = broadcast(I1, wraps, one);
         auto m = broadcast(I1, {1}, one);
         _TRANSFER(r, s->get(), m->get(), nullptr);
       }},
  };
  for (Oversized& c : cases) {
    SCOPED_TRACE(c.name);
    Runtime::reset();
    Descriptor r = f90test::unallocated_result(c.result_type, c.result_rank);
    GuardedDescriptor gr(r.get());
    c.call(gr.get());
    EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{ERR_ALLOC_FAILED});
    EXPECT_EQ(Runtime::allocation_calls(), 0);
    if (gr.get()->flags & F90_FLAG_ASSOC) {
      EXPECT_EQ(gr.get()->base, nullptr);
    }
  }
}

TEST_F(HostileTest, NcopiesNear2To31WithNothingToCopyAllocatesNothing) {
  struct Case {
    int32_t ncopies;
    std::vector<int32_t> source;  // extents of a broadcast SOURCE
    int32_t extent;               // the new dimension's extent
  };
  static char one[8] = {7};
  const Case cases[] = {
      {INT32_MAX, {0}, INT32_MAX},       // empty SOURCE: a result with no elements
      {INT32_MAX - 1, {3, 0}, INT32_MAX - 1},
      {INT32_MIN, {5}, 0},               // below 1 counts as 0
      {-1, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ncopies);
    Runtime::reset();
    const int rank = static_cast<int>(c.source.size()) + 1;
    Descriptor r = f90test::unallocated_result(I4, rank);
    GuardedDescriptor gr(r.get());
    auto s = broadcast(I4, c.source, one);
    const int32_t dim = rank;
    _SPREAD(gr.get(), s->get(), &dim, &c.ncopies);
    EXPECT_TRUE(Runtime::reports().empty());
    EXPECT_EQ(Runtime::allocation_calls(), 0);
    EXPECT_TRUE(gr.get()->flags & F90_FLAG_ASSOC);
    EXPECT_EQ(gr.get()->base, nullptr);
    EXPECT_EQ(gr.get()->dim[rank - 1].extent, c.extent);
  }
}

TEST_F(HostileTest, ShapeValuesNear2To31) {
  static char one[8] = {7};
  struct Case {
    const char* name;
    std::vector<int64_t> shape;
    int bytes;  // SHAPE's element width
    std::vector<int32_t> reports;
  };
  const Case cases[] = {
      {"2^31-1 x 2 of INTEGER*4", {INT32_MAX, 2}, 4, {ERR_ALLOC_FAILED}},
      {"2^31-1 and 0: empty", {INT32_MAX, 0}, 4, {}},
      {"-2^31: negative", {INT32_MIN, 1}, 4, {ERR_RESHAPE_NEGATIVE_SHAPE}},
      {"2^32+3 in INTEGER*8 is 3", {(int64_t{1} << 32) + 3}, 8, {}},
      {"2^31 in INTEGER*8 reads as -2^31", {int64_t{1} << 31}, 8, {ERR_RESHAPE_NEGATIVE_SHAPE}},
      {"eight values", {1, 1, 1, 1, 1, 1, 1, 1}, 4, {ERR_RESHAPE_EMPTY_SHAPE}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Runtime::reset();
    IntVector shape(c.shape, c.bytes);
    const int rank = std::min<int>(static_cast<int>(c.shape.size()), 7);
    Descriptor r = f90test::unallocated_result(I4, rank);
    GuardedDescriptor gr(r.get());
    auto s = broadcast(I4, {4}, one);
    auto pad = broadcast(I4, {}, one);
    _RESHAPE(gr.get(), s->get(), shape.desc(), pad->get(), nullptr);
    EXPECT_EQ(Runtime::numbers(), c.reports);
    for (const f90test::Allocation& a : Runtime::allocations()) {
      EXPECT_LE(a.bytes, 16u);
    }
  }
}

// ---- Bounds near 2^31: an upper bound beyond 2^31-1 is exact from UBOUND0_8
// and wraps in 32-bit results.

TEST_F(HostileTest, UpperBoundsBeyond2To31) {
  struct Case {
    int32_t lower, extent;
    int64_t exact;
    int32_t wrapped;
  };
  const Case cases[] = {
      {INT32_MAX, 2, int64_t{INT32_MAX} + 1, INT32_MIN},
      {INT32_MAX, INT32_MAX, int64_t{INT32_MAX} * 2 - 1, -3},
      {INT32_MIN, 1, INT32_MIN, INT32_MIN},
      {INT32_MAX, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.lower) + " + " + std::to_string(c.extent));
    Runtime::reset();
    Descriptor a(I4, 2, true);
    static char one[4];
    a->base = one;
    a->dim[0] = {5, 1, 0};
    a->dim[1] = {c.lower, c.extent, 0};
    GuardedDescriptor ga(a.get());
    const int32_t two = 2;
    EXPECT_EQ(_UBOUND0_8(ga.get(), &two), c.exact);
    EXPECT_EQ(_UBOUND0(ga.get(), &two), c.wrapped);
    Descriptor r = f90test::unallocated_result(I4, 1);
    _UBOUND(r.get(), ga.get());
    ASSERT_EQ(r->dim[0].extent, 2);
    int32_t v[2];
    std::memcpy(v, r->base, 8);
    EXPECT_EQ(v[0], 5);
    EXPECT_EQ(v[1], c.wrapped);
    EXPECT_TRUE(Runtime::reports().empty());
  }
}

// ---- DIM of every out-of-range value, on rank-7 arguments.

struct DimCall {
  const char* name;
  int high;  // DIM may be 1 .. high
  std::function<void(const int32_t* dim)> call;
};

TEST_F(HostileTest, EveryOutOfRangeDimIsReportedOnRank7Arguments) {
  const std::vector<int32_t> ext7 = {2, 1, 2, 1, 2, 1, 2};
  TestArray a7(I4, ext7);
  a7.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(k); });
  TestArray r7(R8, ext7);
  r7.fill_linear<double>([](int64_t k) { return static_cast<double>(k); });
  TestArray m7(L1, ext7);
  m7.fill_linear<uint8_t>([](int64_t k) { return static_cast<uint8_t>(k & 1); });
  TestArray s6(I4, {2, 1, 2, 1, 2, 1});
  GuardedDescriptor ga(a7.desc()), gr(r7.desc()), gm(m7.desc()), gs6(s6.desc());
  static int32_t shift = 1, two = 2;
  auto shift_d = broadcast(I4, {}, &shift);
  // A caller's result for the reductions along DIM: rank 6, 8 elements.
  TestArray res6(I4, {2, 1, 2, 1, 2, 1}, {}, {}, 0x5A);
  TestArray res6r(R8, {2, 1, 2, 1, 2, 1}, {}, {}, 0x5A);
  TestArray res6l(L1, {2, 1, 2, 1, 2, 1}, {}, {}, 0x5A);
  TestArray res7(I4, ext7, {}, {}, 0x5A);
  std::vector<DimCall> calls = {
      {"SIZE", 7, [&](const int32_t* d) { EXPECT_EQ(_SIZE(ga.get(), d), 0); }},
      {"SIZE_8", 7, [&](const int32_t* d) { EXPECT_EQ(_SIZE_8(ga.get(), d), 0); }},
      {"LBOUND0", 7, [&](const int32_t* d) { EXPECT_EQ(_LBOUND0(ga.get(), d), 0); }},
      {"LBOUND0_8", 7, [&](const int32_t* d) { EXPECT_EQ(_LBOUND0_8(ga.get(), d), 0); }},
      {"UBOUND0", 7, [&](const int32_t* d) { EXPECT_EQ(_UBOUND0(ga.get(), d), 0); }},
      {"UBOUND0_8", 7, [&](const int32_t* d) { EXPECT_EQ(_UBOUND0_8(ga.get(), d), 0); }},
      {"CSHIFT", 7, [&](const int32_t* d) { _CSHIFT(res7.desc(), ga.get(), shift_d->get(), d); }},
      {"EOSHIFT", 7, [&](const int32_t* d) { _EOSHIFT(res7.desc(), ga.get(), shift_d->get(), nullptr, d); }},
      {"SPREAD", 7, [&](const int32_t* d) { _SPREAD(res7.desc(), gs6.get(), d, &two); }},
      {"MAXVAL_I4", 7, [&](const int32_t* d) { _MAXVAL_I4(res6.desc(), ga.get(), d, gm.get()); }},
      {"MINVAL_S", 7, [&](const int32_t* d) { _MINVAL_S(res6r.desc(), gr.get(), d, nullptr); }},
      {"MAXVAL0_S", 7, [&](const int32_t* d) { EXPECT_EQ(_MAXVAL0_S(gr.get(), d, nullptr), -1.7976931348623157e308); }},
      {"MINVAL0_I4", 7, [&](const int32_t* d) { EXPECT_EQ(_MINVAL0_I4(ga.get(), d, gm.get()), INT32_MAX); }},
      {"ALL", 7, [&](const int32_t* d) { _ALL(res6l.desc(), gm.get(), d); }},
      {"ANY_4", 7, [&](const int32_t* d) { _ANY_4(res6l.desc(), gm.get(), d); }},
      {"ALL0", 7, [&](const int32_t* d) { _ALL0(gm.get(), d); }},
      {"COUNT0_8", 7, [&](const int32_t* d) { _COUNT0_8(gm.get(), d); }},
      {"SUM_I4", 7, [&](const int32_t* d) { _SUM_I4(res6.desc(), ga.get(), d, gm.get()); }},
      {"PROD_S", 7, [&](const int32_t* d) { _PROD_S(res6r.desc(), gr.get(), d, nullptr); }},
      {"SUM_I4 into a result to complete", 7,
       [&](const int32_t* d) {
         Descriptor r = f90test::unallocated_result(I4, 6);
         const std::vector<uint32_t> before(reinterpret_cast<uint32_t*>(r.get()),
                                            reinterpret_cast<uint32_t*>(r.get()) + 24);
         _SUM_I4(r.get(), ga.get(), d, nullptr);
         EXPECT_EQ(std::memcmp(before.data(), r.get(), 96), 0) << "result descriptor written";
       }},
      // The whole-array forms report DIM and reduce the whole array all the same.
      {"SUM0_I4", 7, [&](const int32_t* d) { EXPECT_EQ(_SUM0_I4(ga.get(), d, nullptr), 120); }},
      {"PROD0_S", 7,
       [&](const int32_t* d) { EXPECT_EQ(_PROD0_S(gr.get(), d, gm.get()), 2027025.0L); }},
      {"MAXLOC__I4", 7,
       [&](const int32_t* d) {
         auto dim_desc = broadcast(I4, {}, const_cast<int32_t*>(d));
         _MAXLOC__I4(res6.desc(), ga.get(), dim_desc->get(), gm.get());
       }},
      {"MINLOC__S with DIM as INTEGER*8", 7,
       [&](const int32_t* d) {
         int64_t wide = *d;  // only the low word counts
         wide |= int64_t{0x7fff} << 32;
         auto dim_desc = broadcast(I8, {}, &wide);
         _MINLOC__S(res6.desc(), gr.get(), dim_desc->get(), nullptr);
       }},
  };
  for (DimCall& c : calls) {
    const int high = c.high;
    const std::vector<int32_t> bad = {0, -1, high + 1, high + 2, 8, 100, INT32_MIN, INT32_MAX, INT32_MIN + 1};
    for (int32_t dim : bad) {
      SCOPED_TRACE(std::string(c.name) + " DIM " + std::to_string(dim));
      Runtime::reset();
      std::vector<unsigned char> before6 = res6.storage(), before6l = res6l.storage(), before7 = res7.storage(),
                                 before6r = res6r.storage();
      int32_t d = dim;
      c.call(&d);
      EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{ERR_DIM_RANGE});
      EXPECT_EQ(Runtime::allocation_calls(), 0);
      // Nothing is moved into a caller's result after the report.
      EXPECT_EQ(res6.storage(), before6);
      EXPECT_EQ(res6l.storage(), before6l);
      EXPECT_EQ(res7.storage(), before7);
      EXPECT_EQ(res6r.storage(), before6r);
    }
  }
}

// ---- Rank 7 everywhere: every argument and result descriptor of rank 7
// against a guard page, the results checked against the elements.

TEST_F(HostileTest, Rank7ArgumentsAndResults) {
  const std::vector<int32_t> ext = {2, 2, 1, 2, 1, 1, 2};
  const int64_t n = 16;
  TestArray a(I4, ext, {-3, 0, 5, 1, 1, 7, -1}, {1, -1, 2, 1, -2, 1, 3});
  a.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(100 + k); });
  GuardedDescriptor ga(a.desc());
  static int32_t one = 1, seven = 7, two = 2;
  auto shift_d = broadcast(I4, {}, &one);

  auto fresh = [&](ElemType t, int rank) {
    Descriptor r = f90test::unallocated_result(t, rank);
    return std::make_unique<GuardedDescriptor>(r.get());
  };
  auto elem = [](AD* r, int64_t k) {
    char* p = static_cast<char*>(r->base);
    for (uint32_t i = 0; i < (r->flags >> F90_FLAG_RANK_SHIFT); ++i) {
      p += (k % r->dim[i].extent) * r->dim[i].stride * 4;
      k /= r->dim[i].extent;
    }
    int32_t v;
    std::memcpy(&v, p, 4);
    return v;
  };

  {  // SHAPE, LBOUND, UBOUND of rank 7.
    auto r = fresh(I4, 1);
    _SHAPE(r->get(), ga.get());
    ASSERT_EQ(r->get()->dim[0].extent, 7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(elem(r->get(), i), ext[i]);
    auto lb = fresh(I4, 1), ub = fresh(I4, 1);
    _LBOUND(lb->get(), ga.get());
    _UBOUND(ub->get(), ga.get());
    const int32_t lower[] = {-3, 0, 5, 1, 1, 7, -1};
    for (int i = 0; i < 7; ++i) {
      EXPECT_EQ(elem(lb->get(), i), lower[i]);
      EXPECT_EQ(elem(ub->get(), i), lower[i] + ext[i] - 1);
    }
  }
  {  // CSHIFT along DIM 7 by 1: the two planes exchange.
    auto r = fresh(I4, 7);
    _CSHIFT(r->get(), ga.get(), shift_d->get(), &seven);
    for (int64_t k = 0; k < n; ++k) EXPECT_EQ(elem(r->get(), k), 100 + (k + 8) % 16) << k;
  }
  {  // EOSHIFT along DIM 7 by 1: the upper plane becomes 0.
    auto r = fresh(I4, 7);
    _EOSHIFT(r->get(), ga.get(), shift_d->get(), nullptr, &seven);
    for (int64_t k = 0; k < n; ++k) EXPECT_EQ(elem(r->get(), k), k < 8 ? 108 + k : 0) << k;
  }
  {  // PACK with a true scalar MASK: array element order.
    auto r = fresh(I4, 1);
    static char t = 1;
    auto m = broadcast(L1, {}, &t);
    _PACK(r->get(), ga.get(), m->get(), nullptr);
    ASSERT_EQ(r->get()->dim[0].extent, n);
    for (int64_t k = 0; k < n; ++k) EXPECT_EQ(elem(r->get(), k), 100 + k);
  }
  {  // UNPACK into a rank-7 MASK shape, every other position true.
    TestArray m(L1, ext);
    m.fill_linear<uint8_t>([](int64_t k) { return static_cast<uint8_t>(k % 2); });
    GuardedDescriptor gm(m.desc());
    TestArray v(I4, {8});
    v.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(200 + k); });
    GuardedDescriptor gv(v.desc());
    auto r = fresh(I4, 7);
    _UNPACK(r->get(), gv.get(), gm.get(), ga.get());
    for (int64_t k = 0; k < n; ++k) EXPECT_EQ(elem(r->get(), k), k % 2 ? 200 + k / 2 : 100 + k) << k;
  }
  {  // RESHAPE rank 7 to rank 7 with ORDER reversing the dimensions.
    IntVector shape({2, 1, 1, 2, 1, 2, 2});
    IntVector order({7, 6, 5, 4, 3, 2, 1});
    auto r = fresh(I4, 7);
    _RESHAPE(r->get(), ga.get(), shape.desc(), nullptr, order.desc());
    EXPECT_TRUE(Runtime::reports().empty());
    // Position p in the order's walk, last subscript fastest.
    const int64_t e[7] = {2, 1, 1, 2, 1, 2, 2};
    for (int64_t p = 0; p < n; ++p) {
      int64_t idx[7], q = p;
      for (int d = 6; d >= 0; --d) {
        idx[d] = q % e[d];
        q /= e[d];
      }
      int64_t k = 0, mul = 1;
      for (int d = 0; d < 7; ++d) {
        k += idx[d] * mul;
        mul *= e[d];
      }
      EXPECT_EQ(elem(r->get(), k), 100 + p) << p;
    }
  }
  {  // SPREAD of a rank-6 SOURCE along DIM 7; of a rank-7 SOURCE: 1405.
    TestArray s(I4, {2, 1, 2, 1, 1, 2});
    s.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(k); });
    GuardedDescriptor gs(s.desc());
    auto r = fresh(I4, 7);
    _SPREAD(r->get(), gs.get(), &seven, &two);
    for (int64_t k = 0; k < 16; ++k) EXPECT_EQ(elem(r->get(), k), k % 8);
    Runtime::reset();
    auto r8 = fresh(I4, 7);
    _SPREAD(r8->get(), ga.get(), &one, &two);
    EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{ERR_DIM_RANGE});
    EXPECT_EQ(Runtime::allocation_calls(), 0);
  }
  {  // MAXVAL along DIM 7, COUNT along DIM 7, ALL over everything.
    Runtime::reset();
    auto r = fresh(I4, 6);
    _MAXVAL_I4(r->get(), ga.get(), &seven, nullptr);
    for (int64_t k = 0; k < 8; ++k) EXPECT_EQ(elem(r->get(), k), 108 + k);
    TestArray m(L1, ext);
    m.fill_linear<uint8_t>([](int64_t k) { return static_cast<uint8_t>(k != 3); });
    GuardedDescriptor gm(m.desc());
    auto c = fresh(I8, 6);
    _COUNT_8(c->get(), gm.get(), &seven);
    for (int64_t k = 0; k < 8; ++k) {
      char* p = static_cast<char*>(c->get()->base);
      int64_t q = k, v;
      for (int i = 0; i < 6; ++i) {
        p += (q % c->get()->dim[i].extent) * c->get()->dim[i].stride * 4;
        q /= c->get()->dim[i].extent;
      }
      std::memcpy(&v, p, 8);
      EXPECT_EQ(v, k == 3 ? 1 : 2) << k;
    }
    EXPECT_EQ(_COUNT0_8(gm.get(), nullptr), 15);
    EXPECT_EQ(_ALL0(gm.get(), &seven), 0);
    EXPECT_TRUE(Runtime::reports().empty());
  }
  {  // TRANSFER of a rank-7 SOURCE into an INTEGER*8 array.
    auto r = fresh(I8, 1);
    static int64_t mold = 0;
    auto m = broadcast(I8, {1}, &mold);
    _TRANSFER(r->get(), ga.get(), m->get(), nullptr);
    ASSERT_EQ(r->get()->dim[0].extent, 8);
    for (int64_t k = 0; k < 8; ++k) {
      int64_t v;
      std::memcpy(&v, static_cast<char*>(r->get()->base) + 8 * k, 8);
      EXPECT_EQ(v, (int64_t{101 + 2 * k} << 32) | (100 + 2 * k));
    }
  }
}

// ---- The entry points of MATMUL, DOT_PRODUCT, the character routines, the
// IEEE settings with array arguments and DATE_AND_TIME's VALUES, and the
// results of SUM and MAXLOC, under descriptors a compiler can still produce:
// rank 7, ranks and shapes that do not conform, extents whose product passes
// 2^32, lengths at the limits. Each row states the reports (level, number)
// it must make; every descriptor and every caller's result lies against a
// guard page, so a read past a descriptor's rank or a store past a result
// faults.

struct HostileRow {
  const char* name;
  std::vector<f90test::Report> reports;
  std::function<void()> call;
};

TEST_F(HostileTest, NewerEntryPointsAnswerHostileDescriptors) {
  static double x = 3.0, y = 5.0;
  static char byte_one = 1;
  static int32_t flag_words[2] = {8, 8};  // IEEE_OVERFLOW
  const int32_t transpose_a = MATMUL_TRANSPOSE_A, seven = 7;
  const f90test::Report shape{4, ERR_MATMUL_SHAPE}, rank{4, ERR_MATMUL_RANK};
  const f90test::Report conflict{0, ERR_IEEE_CONFLICT}, alloc{4, ERR_ALLOC_FAILED};

  // A caller's REAL*8 result of the given extents against a guard page,
  // checked after the call to be exactly as before (when `keep`).
  struct Out {
    std::unique_ptr<TestArray> a;
    std::unique_ptr<GuardedDescriptor> g;
    std::vector<unsigned char> before;
    Out(ElemType t, std::vector<int32_t> e) {
      a = std::make_unique<TestArray>(t, e, std::vector<int32_t>{}, std::vector<int32_t>{}, 0x5A);
      g = guarded(a->desc());
      before = a->storage();
    }
    AD* get() { return g->get(); }
    bool untouched() { return a->storage() == before; }
  };

  std::vector<HostileRow> rows = {
      // MATMUL: ranks after the flags, results of the wrong rank or shape.
      {"MATMUL rank-7 A without a flag", {rank}, [&] {
         auto a = broadcast(R8, {2, 2, 1, 1, 1, 1, 1}, &x);
         auto b = broadcast(R8, {2, 2}, &y);
         Out r(R8, {2, 2});
         _MATMUL_SS(r.get(), a->get(), b->get(), nullptr);
         EXPECT_TRUE(r.untouched());
       }},
      {"MATMUL rank-7 B without a flag", {rank}, [&] {
         auto a = broadcast(R8, {2, 2}, &x);
         auto b = broadcast(R8, {2, 1, 1, 1, 1, 1, 1}, &y);
         Out r(R8, {2});
         _MATMUL_SS(r.get(), a->get(), b->get(), nullptr);
         EXPECT_TRUE(r.untouched());
       }},
      {"MATMUL rank-0 A with TRANSPOSE_A", {rank}, [&] {
         auto a = broadcast(R8, {}, &x);
         auto b = broadcast(R8, {1, 2}, &y);
         Descriptor r = f90test::unallocated_result(R8, 2);
         _MATMUL_SS(r.get(), a->get(), b->get(), &transpose_a);
         EXPECT_EQ(Runtime::allocation_calls(), 0);
       }},
      {"MATMUL rank-7 A with TRANSPOSE_A: its first two dimensions", {}, [&] {
         auto a = broadcast(R8, {3, 1, 1, 1, 1, 1, 1}, &x);  // used as 1 x 3
         auto b = broadcast(R8, {3, 2}, &y);
         Out r(R8, {1, 2});
         _MATMUL_SS(r.get(), a->get(), b->get(), &transpose_a);
         for (int64_t k = 0; k < 2; ++k) EXPECT_EQ(r.a->get_linear<double>(k), 45.0);
       }},
      {"MATMUL rank-0 result", {shape}, [&] {
         auto a = broadcast(R8, {2, 2}, &x);
         auto b = broadcast(R8, {2, 2}, &y);
         Out r(R8, {});
         _MATMUL_SS(r.get(), a->get(), b->get(), nullptr);
         EXPECT_TRUE(r.untouched());
       }},
      {"MATMUL rank-1 result of a 2x2 product", {shape}, [&] {
         auto a = broadcast(R8, {2, 2}, &x);
         auto b = broadcast(R8, {2, 2}, &y);
         Out r(R8, {4});
         _MATMUL_SS(r.get(), a->get(), b->get(), nullptr);
         EXPECT_TRUE(r.untouched());
       }},
      {"MATMUL 2x3 result of a 2x2 product", {shape}, [&] {
         auto a = broadcast(ElemType::complex(16), {2, 2}, &x);
         auto b = broadcast(ElemType::complex(16), {2, 2}, &x);
         Out r(ElemType::complex(16), {2, 3});
         _MATMUL_CC(r.get(), a->get(), b->get(), nullptr);
         EXPECT_TRUE(r.untouched());
       }},
      {"MATMUL inner extents 3 and 65537", {shape}, [&] {
         auto a = broadcast(I4, {2, 3}, &byte_one);
         auto b = broadcast(I4, {65537, 2}, &byte_one);
         Descriptor r = f90test::unallocated_result(I4, 2);
         _MATMUL_I4I4(r.get(), a->get(), b->get(), nullptr);
       }},
      // DOT_PRODUCT: only dimension 1 counts; B, read for A's extent whatever
      // its own, must have storage when A has elements.
      {"DOT rank-7 operands of 3 x 65536 x 65537 x ...", {}, [&] {
         auto a = broadcast(R8, {3, 65536, 65537, 1, 1, 1, 1}, &x);
         auto b = broadcast(R8, {3, 65536, 65537, 1, 1, 1, 1}, &y);
         EXPECT_EQ(_DOT_SS(a->get(), b->get()), 45.0L);
       }},
      {"DOT empty B without storage for A of 3", {{4, ERR_NOT_PRESENT}}, [&] {
         TestArray a(ElemType::complex(16), {3});
         Descriptor bd(ElemType::complex(16), 1, true);
         bd->base = nullptr;
         bd->dim[0] = {1, 0, 4};
         GuardedDescriptor ga(a.desc()), gb(bd.get());
         Complex16 slot{9, 9};
         EXPECT_EQ(_DOT_CC(&slot, ga.get(), gb.get()), &slot);
         EXPECT_EQ(slot.re, 0.0);
         EXPECT_EQ(slot.im, 0.0);
       }},
      {"_PREDOT B of extent 0 without storage for A of 65537", {{4, ERR_NOT_PRESENT}}, [&] {
         auto a = broadcast(R8, {65537}, &x);
         auto b = broadcast(R8, {0}, nullptr);
         int32_t count = -1, as = 7, bs = 7;
         const void *pa = &x, *pb = &y;
         _PREDOT(a->get(), b->get(), &count, &pa, &as, &pb, &bs);
         EXPECT_EQ(count, 0);
       }},
      {"DOT A of extent -2^31", {}, [&] {
         auto a = broadcast(ElemType::real(16), {INT32_MIN}, &x);
         auto b = broadcast(ElemType::real(16), {0}, &y);
         DoubleDouble slot{9, 9};
         _DOT_DD(&slot, a->get(), b->get());
         EXPECT_EQ(slot.hi, 0.0);
       }},
      // Character routines: lengths at the limits.
      {"REPEAT 2^31-1 copies of 2 bytes", {alloc}, [&] {
         f90test::GuardedBuffer s(2);
         Descriptor r = f90test::unallocated_result(ElemType::character(1), 0);
         const int32_t n = INT32_MAX;
         _REPEAT(r.get(), static_cast<char*>(s.data()), 2, &n);
         EXPECT_EQ(Runtime::allocation_calls(), 0);
         EXPECT_EQ(r->base, nullptr);
       }},
      {"REPEAT 65537 copies of 65536 bytes (2^32 + 65536)", {alloc}, [&] {
         f90test::GuardedBuffer s(65536);
         Descriptor r = f90test::unallocated_result(ElemType::character(1), 0);
         const int32_t n = 65537;
         _F90_REPEAT(r.get(), static_cast<char*>(s.data()), &n, 65536);
         EXPECT_EQ(Runtime::allocation_calls(), 0);
       }},
      {"Character argument of length 2^31-1", {alloc}, [&] {
         f90test::GuardedBuffer s(0);  // nothing may be read
         Descriptor r = f90test::unallocated_result(ElemType::character(1), 0);
         __mx_CARG_S(r.get(), static_cast<char*>(s.data()), INT32_MAX);
         EXPECT_EQ(Runtime::allocation_calls(), 0);
       }},
      {"TRIM, LEN_TRIM, SCAN, VERIFY of length -2^31", {}, [&] {
         f90test::GuardedBuffer s(0);
         char* p = static_cast<char*>(s.data());
         Descriptor r = f90test::unallocated_result(ElemType::character(1), 0);
         _TRIM(r.get(), p, INT32_MIN);
         EXPECT_EQ(Runtime::allocation_calls(), 0);
         EXPECT_EQ(_LEN_TRIM_(p, INT32_MIN), 0);
         EXPECT_EQ(_SCAN(p, INT32_MIN, p, INT32_MIN, nullptr), 0);
         EXPECT_EQ(_VERIFY_8(p, INT64_MIN, p, 0, nullptr), 0);
         EXPECT_EQ(_F90_VERIFY(p, p, nullptr, INT32_MIN, 5), 0);
       }},
      // IEEE settings with array arguments: sizes in 64 bits, rank 7.
      {"IEEE_SET_FLAG: FLAG of 65536 x 65537, FLAG_VALUE of 65536", {conflict}, [&] {
         static int32_t t = 1;
         auto f = broadcast(ElemType::derived_words(2), {65536, 65537}, flag_words);
         auto v = broadcast(L4, {65536}, &t);
         f90test::Fpu::simulate(0x37f, 0);
         __A_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS(f->get(), v->get());
         EXPECT_EQ(f90test::Fpu::writes(), 0);
       }},
      {"IEEE_SET_HALTING_MODE: FLAG of 65536 x 65537 equal elements", {conflict}, [&] {
         static int32_t t = 1;
         auto f = broadcast(ElemType::derived_words(2), {65536, 65537}, flag_words);
         auto v = broadcast(L4, {65536, 65537}, &t);
         f90test::Fpu::simulate(0x37f, 0);
         __A_IEEE_SET_HALTING_MODE_in_IEEE_EXCEPTIONS(f->get(), v->get());
         EXPECT_EQ(f90test::Fpu::writes(), 0);
       }},
      {"IEEE_SET_FLAG: rank-7 FLAG, rank-1 FLAG_VALUE of the same size", {}, [&] {
         static int32_t t = 1;
         auto f = broadcast(ElemType::derived_words(2), {1, 2, 1, 1, 1, 1, 3}, flag_words);
         auto v = broadcast(L4, {6}, &t);
         f90test::Fpu::simulate(0x37f, 0);
         __A_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS(f->get(), v->get());
         EXPECT_EQ(f90test::Fpu::sw() & 0x3f, 8);
       }},
      // DATE_AND_TIME: VALUES of rank 7 and of 2^32 elements.
      {"DATE_AND_TIME VALUES rank 7, 3 along dimension 1", {}, [&] {
         Out v(I4, {3, 1, 1, 1, 1, 1, 1});
         _DATE_AND_TIME(nullptr, 0, nullptr, 0, nullptr, 0, v.get());
         EXPECT_GE(v.a->get_linear<int32_t>(0), 1970);
         EXPECT_TRUE(v.a->outside_untouched());
       }},
      {"DATE_AND_TIME VALUES of 65536 x 65537 repeated elements", {}, [&] {
         static int64_t one_value = 0;
         auto v = broadcast(I8, {65536, 65537}, &one_value);
         _DATE_AND_TIME(nullptr, 0, nullptr, 0, nullptr, 0, v->get());
         EXPECT_GE(one_value, 0);  // the milliseconds, stored last
       }},
      // SUM and MAXLOC: a caller's result of the wrong shape receives
      // nothing outside its own elements.
      {"SUM along DIM 1 into a result of 1 for 3 lines", {}, [&] {
         TestArray s(I4, {2, 3});
         s.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(k); });
         GuardedDescriptor gs(s.desc());
         Out r(I4, {1});
         static const int32_t one = 1;
         _SUM_I4(r.get(), gs.get(), &one, nullptr);
         EXPECT_EQ(r.a->get_linear<int32_t>(0), 1);
         EXPECT_TRUE(r.a->outside_untouched());
       }},
      {"MAXLOC of a rank-7 source into a result of 2", {}, [&] {
         TestArray s(I4, {1, 2, 1, 1, 1, 1, 2});
         s.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(k == 3 ? 9 : k); });
         GuardedDescriptor gs(s.desc());
         Out r(I4, {2});
         _MAXLOC_I4(r.get(), gs.get(), nullptr);
         EXPECT_EQ(r.a->get_linear<int32_t>(0), 1);
         EXPECT_EQ(r.a->get_linear<int32_t>(1), 2);
         EXPECT_TRUE(r.a->outside_untouched());
       }},
      {"PRODUCT along DIM 7 of a rank-7 source into a rank-6 result", {}, [&] {
         auto s = broadcast(R8, {1, 1, 1, 1, 1, 2, 3}, &x);
         Out r(R8, {1, 1, 1, 1, 1, 2});
         _PROD_S(r.get(), s->get(), &seven, nullptr);
         for (int64_t k = 0; k < 2; ++k) EXPECT_EQ(r.a->get_linear<double>(k), 27.0);
       }},
  };
  for (HostileRow& row : rows) {
    SCOPED_TRACE(row.name);
    Runtime::reset();
    row.call();
    EXPECT_EQ(Runtime::reports(), row.reports);
  }
}

}  // namespace
