// MAXVAL and MINVAL: start values, comparison rules, DIM, MASK, result
// layout and the failure paths, through the exported entries.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "control_word.h"
#include "descriptor_builder.h"
#include "guard_page.h"
#include "recording_runtime.h"
#include "reductions.h"

namespace {

using f90test::ElemType;
using f90test::Runtime;
using f90test::TestArray;
using namespace red;

constexpr uint64_t kNaN8 = 0x7ff8000000000000ull, kSNaN8 = 0x7ff0000000000001ull;
constexpr uint64_t kInf8 = 0x7ff0000000000000ull, kNegInf8 = 0xfff0000000000000ull;
constexpr uint32_t kNaN4 = 0x7fc00000u, kSNaN4 = 0x7f800001u, kNegInf4 = 0xff800000u;

class Extremum : public f90test::ControlWordTest {
 protected:
  f90test::RuntimeScope scope;
};

// Bits of a scalar entry's result for a source of the given type.
using ScalarCall = std::function<uint64_t(Desc*, const int32_t*, Desc*)>;
template <class R>
ScalarCall call(R (*f)(Desc*, const int32_t*, Desc*)) {
  return [f](Desc* s, const int32_t* d, Desc* m) {
    const R v = f(s, d, m);
    if constexpr (sizeof(R) == 4 && std::is_integral_v<R>) return uint64_t{static_cast<uint32_t>(v)};
    else return bits_of(v);
  };
}

struct StartCase {
  const char* what;
  ElemType type;
  ScalarCall max, min;
  uint64_t max_bits, min_bits;  // as the entry returns them (INTEGER*1/2 sign-extended)
};

const StartCase kStarts[] = {
    {"J", ElemType::integer(8), call(_MAXVAL0_J), call(_MINVAL0_J), 0x8000000000000001ull, 0x7fffffffffffffffull},
    {"I", ElemType::integer(8), call(_MAXVAL0_I), call(_MINVAL0_I), 0x8000000000000001ull, 0x7fffffffffffffffull},
    {"I4", ElemType::integer(4), call(_MAXVAL0_I4), call(_MINVAL0_I4), 0x80000001u, 0x7fffffffu},
    {"I2", ElemType::integer(2), call(_MAXVAL0_I2), call(_MINVAL0_I2), 0xffff8001u, 0x7fffu},
    {"I1", ElemType::integer(1), call(_MAXVAL0_I1), call(_MINVAL0_I1), 0xffffff81u, 0x7fu},
    {"S", ElemType::real(8), call(_MAXVAL0_S), call(_MINVAL0_S), 0xffefffffffffffffull, 0x7fefffffffffffffull},
    {"S4", ElemType::real(4), call(_MAXVAL0_S4), call(_MINVAL0_S4), 0xff7fffffu, 0x7f7fffffu},
};

TEST_F(Extremum, NothingConsideredGivesTheStartValue) {
  for (const auto& c : kStarts) {
    TestArray empty(c.type, {3, 0});
    TestArray one(c.type, {1}, {}, {}, 0);
    TestArray no(ElemType::logical(4), {}, {}, {}, 0);  // scalar MASK .FALSE.
    TestArray none(ElemType::logical(1), {1}, {}, {}, 0);
    for (Desc* m : {static_cast<Desc*>(nullptr), no.desc()}) {
      Desc* s = m == nullptr ? empty.desc() : one.desc();
      EXPECT_EQ(c.max(s, nullptr, m), c.max_bits) << c.what;
      EXPECT_EQ(c.min(s, nullptr, m), c.min_bits) << c.what;
    }
    EXPECT_EQ(c.max(one.desc(), nullptr, none.desc()), c.max_bits) << c.what << " all false";
  }
  EXPECT_TRUE(Runtime::reports().empty());
}

TEST_F(Extremum, ValKindPicksTheStartOfINTEGER4AndREAL8) {
  struct Case {
    int32_t code, valkind;
    uint64_t max_bits, min_bits;
  } cases[] = {
      {I4, 3, 0x80000001u, 0x7fffffffu},   {I4, 4, 0xffff8001u, 0x7fffu},
      {I4, 5, 0xffffff81u, 0x7fu},         {I4, 1, 0xffffff81u, 0x7fu},
      {R8, 7, 0xffefffffffffffffull, 0x7fefffffffffffffull},
      {R8, 8, 0xc7efffffe0000000ull, 0x47efffffe0000000ull},
      {I2, 3, 0x8001u, 0x7fffu},  // read only for INTEGER*4 and REAL*8
  };
  for (const auto& c : cases) {
    const ElemType t = c.code == R8 ? ElemType::real(8) : c.code == I2 ? ElemType::integer(2) : ElemType::integer(4);
    TestArray src(t, {0});
    for (int max = 0; max < 2; ++max) {
      uint64_t slot = 0x5a5a5a5a5a5a5a5aull;
      f90test::Descriptor r(t, 0, true);
      r->base = &slot;
      (max ? __maxval : __minval)(r.get(), src.desc(), nullptr, nullptr, 1, c.code, c.valkind);
      const uint64_t keep = t.bytes() == 8 ? 0 : 0x5a5a5a5a5a5a5a5aull << (8 * t.bytes());
      EXPECT_EQ(slot, (max ? c.max_bits : c.min_bits) | keep) << c.code << "/" << c.valkind;
    }
  }
}

TEST_F(Extremum, IntegerResults) {
  TestArray i4(ElemType::integer(4), {4});
  fill_values<int32_t>(i4, {INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN});
  EXPECT_EQ(_MAXVAL0_I4(i4.desc(), nullptr, nullptr), INT32_MIN);  // below the start value
  TestArray i2(ElemType::integer(2), {3});
  fill_values<int16_t>(i2, {-9, -5, -300});
  EXPECT_EQ(_MAXVAL0_I2(i2.desc(), nullptr, nullptr), -5);  // sign-extended in eax
  EXPECT_EQ(_MINVAL0_I2(i2.desc(), nullptr, nullptr), -300);
  TestArray i1(ElemType::integer(1), {3});
  fill_values<int8_t>(i1, {-128, -7, -100});
  EXPECT_EQ(_MAXVAL0_I1(i1.desc(), nullptr, nullptr), -7);
  EXPECT_EQ(_MINVAL0_I1(i1.desc(), nullptr, nullptr), -128);
  // INTEGER*8: the high words decide as signed, then the low words unsigned.
  TestArray i8(ElemType::integer(8), {4});
  fill_values<int64_t>(i8, {0xffffffffLL, 0x100000000LL, -0x100000000LL, -1});
  EXPECT_EQ(_MAXVAL0_J(i8.desc(), nullptr, nullptr), 0x100000000LL);
  EXPECT_EQ(_MAXVAL0_I(i8.desc(), nullptr, nullptr), 0x100000000LL);
  EXPECT_EQ(_MINVAL0_J(i8.desc(), nullptr, nullptr), -0x100000000LL);
}

// REAL*4/8 on the x87 unit: MAXVAL takes a NaN and drops it at the next
// element, MINVAL skips NaNs, equal values keep the first.
TEST_F(Extremum, RealComparisonRules) {
  const uint64_t five = bits_of(5.0), one = bits_of(1.0), pz = bits_of(0.0), nz = bits_of(-0.0);
  const uint64_t huge = 0x7fefffffffffffffull;
  struct Case {
    std::vector<uint64_t> v;
    uint64_t max, min;
  } cases[] = {
      {{five, kNaN8, one}, one, one},
      {{five, kNaN8}, kNaN8, five},
      {{kNaN8, kNegInf8}, kNegInf8, kNegInf8},
      {{kNaN8}, kNaN8, huge},
      {{kNegInf8, kNegInf8}, huge | (1ull << 63), kNegInf8},
      {{kInf8, one}, kInf8, one},
      {{pz, nz}, pz, pz},
      {{nz, pz}, nz, nz},
      {{one, kSNaN8}, kSNaN8, one},  // bits kept, not quieted
  };
  for (const auto& c : cases) {
    TestArray a(ElemType::real(8), {static_cast<int32_t>(c.v.size())});
    fill_values(a, c.v);
    EXPECT_EQ(bits_of(_MAXVAL0_S(a.desc(), nullptr, nullptr)) & ~0x0008000000000000ull,
              c.max & ~0x0008000000000000ull);
    // The array entry stores the element's own bits.
    uint64_t out = 0;
    f90test::Descriptor r(ElemType::real(8), 0, true);
    r->base = &out;
    _MAXVAL_S(r.get(), a.desc(), nullptr, nullptr);
    EXPECT_EQ(out, c.max);
    _MINVAL_S(r.get(), a.desc(), nullptr, nullptr);
    EXPECT_EQ(out, c.min);
  }
  TestArray s4(ElemType::real(4), {3});
  fill_values<uint32_t>(s4, {kNaN4, kNegInf4, kSNaN4});
  uint32_t out4 = 0;
  f90test::Descriptor r4(ElemType::real(4), 0, true);
  r4->base = &out4;
  _MAXVAL_S4(r4.get(), s4.desc(), nullptr, nullptr);
  EXPECT_EQ(out4, kSNaN4);
  _MINVAL_S4(r4.get(), s4.desc(), nullptr, nullptr);
  EXPECT_EQ(out4, kNegInf4);
  fill_values<float>(s4, {2.5f, 7.25f, -1.0f});
  EXPECT_EQ(_MAXVAL0_S4(s4.desc(), nullptr, nullptr), 7.25f);
}

TEST_F(Extremum, DimIsReadOnlyFromRankTwo) {
  TestArray v(ElemType::real(8), {3});
  fill_values<double>(v, {1, 9, 4});
  TestArray m(ElemType::real(8), {2, 3});
  m.fill_linear<double>([](int64_t k) { return k == 4 ? 42.0 : double(k); });
  const int32_t five = 5, two = 2, zero = 0, three = 3;
  EXPECT_EQ(_MAXVAL0_S(v.desc(), &five, nullptr), 9.0);
  EXPECT_TRUE(Runtime::reports().empty());
  EXPECT_EQ(_MAXVAL0_S(m.desc(), &two, nullptr), 42.0);  // the whole source
  EXPECT_TRUE(Runtime::reports().empty());
  for (const int32_t* bad : {&zero, &three}) {
    Runtime::reset();
    EXPECT_EQ(bits_of(_MAXVAL0_S(m.desc(), bad, nullptr)), 0xffefffffffffffffull);
    EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1405});
    auto r = f90test::unallocated_result(ElemType::real(8), 1);
    _MINVAL_S(r.get(), m.desc(), bad, nullptr);
    EXPECT_EQ(r->flags & F90_FLAG_ASSOC, 0u);  // left as it came
    EXPECT_EQ(Runtime::allocation_calls(), 0);
  }
}

TEST_F(Extremum, MaskWidthsAndScalarMasks) {
  TestArray src(ElemType::integer(4), {4});
  fill_values<int32_t>(src, {10, 40, 30, 20});
  struct Case {
    int bytes;
    uint64_t on;  // the value of a true element
  } cases[] = {{1, 1}, {2, 0x100}, {4, 0x80000000u}, {8, 1ull << 32}, {8, 1}};
  for (const auto& c : cases) {
    TestArray m(ElemType::logical(c.bytes), {4}, {}, {}, 0);
    std::memcpy(m.at_linear(2), &c.on, c.bytes);  // only the third element (30) is true
    EXPECT_EQ(_MAXVAL0_I4(src.desc(), nullptr, m.desc()), 30) << c.bytes;
    EXPECT_EQ(_MINVAL0_I4(src.desc(), nullptr, m.desc()), 30) << c.bytes;
  }
  TestArray yes(ElemType::logical(8), {}, {}, {}, 0);
  yes.set_linear<uint64_t>(0, 1ull << 32);
  EXPECT_EQ(_MAXVAL0_I4(src.desc(), nullptr, yes.desc()), 40);
}

TEST_F(Extremum, DimReductionCompletesAndFillsTheResult) {
  // INTEGER*2 of 3 x 4 x 2 along DIM = 2: a 3 x 2 result, strides in bytes.
  TestArray src(ElemType::integer(2), {3, 4, 2});
  src.fill_linear<int16_t>([](int64_t k) { return static_cast<int16_t>((k * 37) % 23 - 11); });
  auto r = f90test::unallocated_result(ElemType::integer(2), 2);
  const int32_t dim = 2;
  _MAXVAL_I2(r.get(), src.desc(), &dim, nullptr);
  ASSERT_EQ(Runtime::allocations().size(), 1u);
  EXPECT_EQ(Runtime::allocations()[0].bytes, 12u);
  EXPECT_EQ(r->flags >> 29, 2u);
  EXPECT_EQ(r->flags & F90_FLAG_ASSOC, 1u);
  EXPECT_EQ(r->alloc_size, 96u);
  const int32_t dims[] = {1, 3, 2, 1, 2, 6};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(static_cast<int32_t>(r.word(6 + i)), dims[i]) << i;
  for (int64_t i = 0; i < 3; ++i)
    for (int64_t k = 0; k < 2; ++k) {
      int16_t want = INT16_MIN;
      for (int64_t j = 0; j < 4; ++j) want = std::max(want, src.get<int16_t>({i, j, k}));
      EXPECT_EQ(static_cast<int16_t>(result_elem(r.get(), i + 3 * k, 2, 1)), want);
    }
}

// Both loop orders (along a contiguous DIM, and across contiguous lines for
// DIM = 2) on sections with negative strides, masked, into a caller section.
TEST_F(Extremum, RankTwoBothDimsOnSections) {
  for (int32_t dim : {1, 2}) {
    TestArray src(ElemType::real(8), {300, 5}, {}, {-2, -1});
    src.fill_linear<double>([](int64_t k) { return double((k * 7919) % 1000) - 500; });
    TestArray m(ElemType::logical(2), {300, 5}, {}, {1, -3}, 0);
    m.fill_linear<int16_t>([](int64_t k) { return static_cast<int16_t>(k % 3 != 0); });
    const int32_t n = dim == 1 ? 5 : 300;
    TestArray res(ElemType::real(8), {n}, {}, {-3});
    _MINVAL_S(res.desc(), src.desc(), &dim, m.desc());
    for (int64_t j = 0; j < n; ++j) {
      double want = std::numeric_limits<double>::max();
      for (int64_t i = 0; i < (dim == 1 ? 300 : 5); ++i) {
        const std::vector<int64_t> at = dim == 1 ? std::vector<int64_t>{i, j} : std::vector<int64_t>{j, i};
        if (m.get<int16_t>(at) != 0) want = std::min(want, src.get<double>(at));
      }
      EXPECT_EQ(res.get<double>({j}), want) << dim << " " << j;
    }
    EXPECT_TRUE(res.outside_untouched());
  }
}

TEST_F(Extremum, AllocationFailureStoresNothing) {
  TestArray src(ElemType::integer(4), {3, 3});
  const int32_t dim = 1;
  auto r = f90test::unallocated_result(ElemType::integer(4), 1);
  Runtime::fail_allocation(1);
  _MAXVAL_I4(r.get(), src.desc(), &dim, nullptr);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1205});
  EXPECT_EQ(r->base, nullptr);
}

TEST_F(Extremum, UnknownElementCode) {
  TestArray src(ElemType::integer(4), {3});
  int32_t slot = 77;
  f90test::Descriptor r(ElemType::integer(4), 0, true);
  r->base = &slot;
  __maxval(r.get(), src.desc(), nullptr, nullptr, 1, 16, 3);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1223});
  EXPECT_EQ(slot, 77);
  TestArray empty(ElemType::integer(4), {0});
  Runtime::reset();
  __minval(r.get(), empty.desc(), nullptr, nullptr, 1, 21, 3);
  EXPECT_TRUE(Runtime::reports().empty());
}

TEST_F(Extremum, NoWordPastARankIsRead) {
  TestArray src(ElemType::integer(4), {4, 3});
  src.fill_linear<int32_t>([](int64_t k) { return int32_t((k * 5) % 7); });
  TestArray mask(ElemType::logical(4), {4, 3}, {}, {}, 0);
  mask.fill_linear<int32_t>([](int64_t k) { return int32_t(k != 4); });
  TestArray dim_res(ElemType::integer(4), {3});
  f90test::GuardedDescriptor gs(src.desc()), gm(mask.desc()), gr(dim_res.desc());
  const int32_t dim = 1;
  expect_cw_kept([&] { _MAXVAL_I4(gr.get(), gs.get(), &dim, gm.get()); }, f90test::kCwLinux);
  // Columns (0 5 3 1), (6 4 2 0) with the 6 masked out, (5 3 1 6).
  EXPECT_EQ(dim_res.get<int32_t>({0}), 5);
  EXPECT_EQ(dim_res.get<int32_t>({1}), 4);
  EXPECT_EQ(dim_res.get<int32_t>({2}), 6);
  auto r0 = f90test::unallocated_result(ElemType::integer(4), 0);
  f90test::GuardedDescriptor g0(r0.get());
  _MINVAL_I4(g0.get(), gs.get(), nullptr, gm.get());  // rank-0 result completed
  EXPECT_EQ(*static_cast<int32_t*>(g0.get()->base), 0);
}

// REAL*16 through _morvex_qcompare: NaN and infinite elements are skipped,
// the first finite element is taken, the low part decides between equal
// high parts.
TEST_F(Extremum, Real16) {
  const Real16 start_max{-9218868437227405312.0, -0.0}, start_min{9218868437227405312.0, 0.0};
  const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
  struct Case {
    std::vector<Real16> v;
    Real16 max, min;
  } cases[] = {
      {{}, start_max, start_min},
      {{{1e20, 0}}, {1e20, 0}, {1e20, 0}},
      {{{-1e30, 0}, {-2e30, 0}}, {-1e30, 0}, {-2e30, 0}},
      {{{inf, 0}, {1.0, 0}}, {1.0, 0}, {1.0, 0}},
      {{{nan, 0}, {-inf, 0}}, start_max, start_min},
      {{{1.0, 0}, {1.0, 0x1p-80}, {1.0, -0x1p-80}}, {1.0, 0x1p-80}, {1.0, -0x1p-80}},
  };
  for (const auto& c : cases) {
    TestArray a(ElemType::real(16), {static_cast<int32_t>(c.v.size())});
    for (size_t k = 0; k < c.v.size(); ++k) a.set_linear(static_cast<int64_t>(k), c.v[k]);
    Real16 out{7, 7};
    EXPECT_EQ(_MAXVAL0_D(&out, a.desc(), nullptr, nullptr), &out);
    EXPECT_EQ(bits_of(out.hi), bits_of(c.max.hi));
    EXPECT_EQ(bits_of(out.lo), bits_of(c.max.lo));
    EXPECT_EQ(_MINVAL0_D(&out, a.desc(), nullptr, nullptr), &out);
    EXPECT_EQ(bits_of(out.hi), bits_of(c.min.hi));
    EXPECT_EQ(bits_of(out.lo), bits_of(c.min.lo));
  }
}

// REAL*16 along DIM: down contiguous lines (DIM = 1) and across them in
// blocks (DIM = 2), masked, against an exact comparison of hi + lo.
TEST_F(Extremum, Real16AlongDim) {
  const double inf = std::numeric_limits<double>::infinity();
  const Real16 v[] = {{3.0, 0}, {3.0, 0x1p-70}, {-1e25, 0}, {inf, 0}, {2.0, -0x1p-60}, {2.0, 0}};
  TestArray a(ElemType::real(16), {5, 7});
  a.fill_linear<Real16>([&](int64_t k) { return v[(k * 5) % 6]; });
  TestArray m(ElemType::logical(1), {5, 7});
  m.fill_linear<uint8_t>([](int64_t k) { return static_cast<uint8_t>(k % 4 != 1); });
  auto exact = [](const Real16& x) { return static_cast<__float128>(x.hi) + x.lo; };
  for (int32_t dim : {1, 2}) {
    auto r = f90test::unallocated_result(ElemType::real(16), 1);
    _MAXVAL_D(r.get(), a.desc(), &dim, m.desc());
    const int n = dim == 1 ? 7 : 5, len = dim == 1 ? 5 : 7;
    ASSERT_EQ(r->dim[0].extent, n);
    EXPECT_EQ(r->dim[0].stride, 4);
    for (int64_t j = 0; j < n; ++j) {
      const Real16* best = nullptr;
      for (int64_t i = 0; i < len; ++i) {
        const std::vector<int64_t> at = dim == 1 ? std::vector<int64_t>{i, j} : std::vector<int64_t>{j, i};
        const Real16 x = a.get<Real16>(at);
        if (m.get<uint8_t>(at) == 0 || std::isinf(x.hi)) continue;
        if (best == nullptr || exact(x) > exact(*best)) best = reinterpret_cast<const Real16*>(a.at(at));
      }
      Real16 got;
      std::memcpy(&got, static_cast<char*>(r->base) + 16 * j, 16);
      const Real16 want = best != nullptr ? *best : Real16{-9218868437227405312.0, -0.0};
      EXPECT_EQ(bits_of(got.hi), bits_of(want.hi)) << dim << " " << j;
      EXPECT_EQ(bits_of(got.lo), bits_of(want.lo)) << dim << " " << j;
    }
  }
}

TEST_F(Extremum, FalseScalarMaskWithDimFillsEveryElement) {
  TestArray src(ElemType::integer(8), {4, 3});
  TestArray no(ElemType::logical(2), {}, {}, {}, 0);
  TestArray res(ElemType::integer(8), {4}, {}, {-2});
  const int32_t dim = 2;
  _MINVAL_J(res.desc(), src.desc(), &dim, no.desc());
  for (int64_t j = 0; j < 4; ++j) EXPECT_EQ(res.get<int64_t>({j}), INT64_MAX);
  EXPECT_TRUE(res.outside_untouched());
}

}  // namespace
