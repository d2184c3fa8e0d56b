// MAXLOC and MINLOC: comparison rules per element type, masks, DIM, location
// widths, result layout, argument settling of the DIM form and the failure
// paths, through the exported entries.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "control_word.h"
#include "guard_page.h"
#include "locations.h"
#include "recording_runtime.h"

namespace {

using f90test::ElemType;
using f90test::Runtime;
using f90test::TestArray;
using loc::DimArg;
using loc::entries;
using red::bits_of;
using red::Desc;
using red::Real16;
using namespace loc;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kHuge = std::numeric_limits<double>::max();
const double kNaN = std::nan("");

class Location : public f90test::ControlWordTest {
 protected:
  f90test::RuntimeScope scope;
};

// Element k (array element order, 0-based) of a result through its
// strides, as the unsigned bits of a `width`-byte location.
uint64_t location_at(const Desc* r, int64_t k, int width) {
  return red::result_elem(r, k, width, width < 4 ? 1 : 4);
}

// Every location of a result (one for rank 0).
std::vector<uint64_t> locations(const Desc* r, int width) {
  const int rank = static_cast<int>(r->flags >> F90_FLAG_RANK_SHIFT);
  int64_t n = 1;
  for (int i = 0; i < rank; ++i) n *= r->dim[i].extent;
  std::vector<uint64_t> v;
  for (int64_t k = 0; k < n; ++k) v.push_back(location_at(r, k, width));
  return v;
}

// A rank-1 source of `type` from element bits (low bytes of each word).
void fill_bits(TestArray& a, const std::vector<uint64_t>& v) {
  for (size_t k = 0; k < v.size(); ++k)
    std::memcpy(a.at_linear(static_cast<int64_t>(k)), &v[k], a.type().bytes());
}

std::unique_ptr<TestArray> logical_mask(const std::vector<int>& m, int bytes = 4) {
  if (m.empty()) return nullptr;
  auto a = std::make_unique<TestArray>(ElemType::logical(bytes),
                                       std::vector<int32_t>{static_cast<int32_t>(m.size())},
                                       std::vector<int32_t>{}, std::vector<int32_t>{}, 0);
  for (size_t k = 0; k < m.size(); ++k) a->storage()[k * bytes] = static_cast<unsigned char>(m[k]);
  return a;
}

// MAXLOC / MINLOC of a rank-1 source without DIM, result laid out by the
// library: the one location.
uint64_t locate(const char* type, bool max, const std::vector<uint64_t>& v,
                const std::vector<int>& mask = {}) {
  const auto& e = entries(type);
  TestArray a(e.type, {static_cast<int32_t>(v.size())});
  fill_bits(a, v);
  auto m = logical_mask(mask);
  auto r = f90test::unallocated_result(ElemType::integer(4), 1);
  (max ? e.max : e.min)(r.get(), a.desc(), m ? m->desc() : nullptr);
  EXPECT_TRUE(Runtime::reports().empty());
  EXPECT_EQ(r->dim[0].extent, 1);
  return location_at(r.get(), 0, 4);
}

uint64_t I(int64_t v) { return static_cast<uint64_t>(v); }
uint64_t D(double v) { return bits_of(v); }
uint64_t F(float v) { return bits_of(v); }

struct Case {
  const char* type;
  bool max;
  std::vector<uint64_t> v;
  std::vector<int> mask;  // empty: no MASK
  uint64_t want;
};

TEST_F(Location, ComparisonRulesPerType) {
  const Case cases[] = {
      // Ties keep the first; strict signed comparison.
      {"I4", true, {I(5), I(9), I(9), I(2)}, {}, 2},
      {"I2", false, {I(-9), I(-5), I(-300)}, {}, 3},
      // INTEGER*8: high words signed, low words unsigned.
      {"J", true, {I(0xffffffff), I(0x100000000), I(-0x100000000), I(-1)}, {}, 2},
      {"I", false, {I(0xffffffff), I(0x100000000), I(-0x100000000), I(-1)}, {}, 3},
      // Values at and beyond -HUGE / HUGE of the kind are found: the first
      // considered element is always taken.
      {"I1", true, {I(-128), I(-128)}, {}, 1},
      {"I1", true, {I(-128), I(-128)}, {1, 1}, 1},
      {"I1", true, {I(-128), I(-127)}, {}, 2},
      {"I4", true, {I(INT32_MIN), I(-INT32_MAX)}, {}, 2},
      {"I4", false, {I(INT32_MAX)}, {1}, 1},
      {"J", true, {I(INT64_MIN), I(INT64_MIN + 1)}, {}, 2},
      {"J", false, {I(INT64_MAX)}, {1}, 1},
      {"S", true, {D(-kInf), D(-kHuge)}, {}, 2},
      {"S", false, {D(kInf), D(kHuge)}, {}, 2},
      {"S", true, {D(-kInf)}, {1}, 1},
      {"S4", false, {F(INFINITY)}, {1}, 1},
      {"S", true, {D(-kHuge), D(-kHuge)}, {1, 1}, 1},
      // MAXLOC takes a NaN and the next element after it; MINLOC passes over
      // NaNs.
      {"S", true, {D(1.0), D(kNaN), D(0.5)}, {}, 3},
      {"S", true, {D(kNaN), D(2.0)}, {}, 2},
      {"S", true, {D(2.0), D(kNaN)}, {}, 2},
      {"S", true, {D(kNaN)}, {1}, 1},
      {"S", false, {D(1.0), D(kNaN), D(0.5)}, {}, 3},
      {"S", false, {D(kNaN), D(2.0)}, {}, 2},
      {"S", false, {D(kNaN), D(kInf)}, {}, 2},
      {"S4", false, {F(NAN)}, {}, 1},
      {"S4", false, {F(NAN)}, {1}, 0},
      {"S4", true, {F(1.5f), F(NAN), F(-7.0f), F(-8.0f)}, {}, 3},
      // Equal values, signed zeros included, keep the first.
      {"S", true, {D(-0.0), D(0.0)}, {}, 1},
      {"S", false, {D(0.0), D(-0.0)}, {}, 1},
      // The mask counts every element.
      {"I4", true, {I(7), I(3), I(8)}, {0, 1, 1}, 3},
      {"I4", true, {I(7), I(3), I(8)}, {1, 1, 0}, 1},
      {"S", true, {D(7), D(3)}, {0, 0}, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(locate(c.type, c.max, c.v, c.mask), c.want)
        << c.type << (c.max ? " MAXLOC" : " MINLOC") << " of " << c.v.size() << " masked "
        << !c.mask.empty() << " first " << c.v[0];
  }
}

// REAL*16 through _morvex_qcompare: the first element with a finite high
// part is taken, NaN and infinite high parts never are, the low part
// decides between equal high parts.
TEST_F(Location, Real16) {
  struct R16Case {
    bool max;
    std::vector<Real16> v;
    std::vector<int> mask;
    uint64_t want;
  } cases[] = {
      {true, {{kNaN, 0}}, {}, 1},
      {true, {{kNaN, 0}}, {1}, 0},
      {false, {{1e20, 0}, {1e19, 0}}, {}, 2},
      {false, {{1e20, 0}}, {1}, 1},
      {true, {{-1e20, 0}}, {1}, 1},
      {true, {{kInf, 0}, {1.0, 0}}, {}, 2},
      {false, {{-kInf, 0}, {kNaN, 0}, {3.0, 0}}, {}, 3},
      {true, {{1.0, 0}, {1.0, 0x1p-80}, {1.0, 0x1p-80}}, {}, 2},
      {false, {{1.0, 0}, {1.0, -0x1p-80}, {0.5, 0}}, {1, 1, 0}, 2},
      {true, {{2.0, 0}, {2.0, 0}, {1.0, 0}}, {}, 1},
  };
  for (const auto& c : cases) {
    const auto& e = entries("D");
    TestArray a(e.type, {static_cast<int32_t>(c.v.size())});
    for (size_t k = 0; k < c.v.size(); ++k) a.set_linear(static_cast<int64_t>(k), c.v[k]);
    auto m = logical_mask(c.mask, 1);
    auto r = f90test::unallocated_result(ElemType::integer(4), 1);
    expect_cw_kept([&] { (c.max ? e.max : e.min)(r.get(), a.desc(), m ? m->desc() : nullptr); });
    EXPECT_EQ(location_at(r.get(), 0, 4), c.want) << (c.max ? "MAXLOC " : "MINLOC ") << c.v[0].hi;
  }
}

// A completed result: strides in the location's own units, one location per
// source dimension, the same locations at every width while they fit, the
// position cut to the width when it does not.
TEST_F(Location, EveryLocationWidth) {
  TestArray src(ElemType::integer(4), {3, 300});
  src.fill_linear<int32_t>([](int64_t k) { return k == 2 + 3 * 299 ? 50 : int32_t(k % 7); });
  struct Width {
    int bytes;
    int32_t stride;  // of result dimension 1, in the width's storage units
    uint64_t column;  // the second location as stored: position 300
  } widths[] = {{1, 1, 44}, {2, 2, 300}, {4, 1, 300}, {8, 2, 300}};
  for (const auto& w : widths) {
    auto r = f90test::unallocated_result(ElemType::integer(w.bytes), 1);
    _MAXLOC_I4(r.get(), src.desc(), nullptr);
    ASSERT_EQ(Runtime::allocations().size(), 1u);
    EXPECT_EQ(Runtime::allocations()[0].bytes, 2u * w.bytes);
    EXPECT_EQ(r->dim[0].lower, 1);
    EXPECT_EQ(r->dim[0].extent, 2);
    EXPECT_EQ(r->dim[0].stride, w.stride) << w.bytes;
    EXPECT_EQ(r->alloc_size, 16u * w.bytes);
    EXPECT_EQ(r->flags & F90_FLAG_ASSOC, 1u);
    EXPECT_EQ(locations(r.get(), w.bytes), (std::vector<uint64_t>{3, w.column})) << w.bytes;
    Runtime::reset();
  }
}

// DIM is read at its own width (only the low word of an INTEGER*8); a value
// outside 1..rank is reported before anything is written.
TEST_F(Location, DimValuesAndRange) {
  TestArray src(ElemType::integer(4), {2, 3});
  src.fill_linear<int32_t>([](int64_t k) { return int32_t(k * 3 % 5); });
  struct DimCase {
    int64_t value;
    int bytes;
    bool ok;
  } cases[] = {
      {2, 1, true},           {2, 2, true},  {0x100000002ll, 8, true}, {0x0102, 1, true},
      {0, 4, false},          {3, 4, false}, {-1, 8, false},           {0x10003, 2, false},
      {0x80000001ll, 8, false},
  };
  for (const auto& c : cases) {
    Runtime::reset();
    DimArg dim(c.value, c.bytes);
    auto r = f90test::unallocated_result(ElemType::integer(4), 1);
    _MAXLOC__I4(r.get(), src.desc(), dim.desc(), nullptr);
    if (c.ok) {
      EXPECT_TRUE(Runtime::reports().empty()) << c.value;
      EXPECT_EQ(r->dim[0].extent, 2) << c.value;
    } else {
      EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1405}) << c.value;
      EXPECT_EQ(r->flags & F90_FLAG_ASSOC, 0u);
      EXPECT_EQ(r.word(0), 0xDEADBEEFu);  // the result is not touched
      EXPECT_EQ(Runtime::allocation_calls(), 0);
    }
  }
  // A DIM of another length reads as 0; a supplied result keeps its bytes.
  TestArray odd(ElemType::integer(4), {});
  odd.descriptor()->type_word = f90_type_word(TYPE_INTEGER, 24, 0, 0);
  odd.set_linear<int32_t>(0, 1);
  TestArray res(ElemType::integer(4), {3}, {}, {}, 0x11);
  Runtime::reset();
  _MINLOC__I4(res.desc(), src.desc(), odd.desc(), nullptr);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1405});
  EXPECT_EQ(res.get<uint32_t>({0}), 0x11111111u);
}

// The DIM form: a LOGICAL in the DIM position with no MASK is the MASK;
// with a MASK present it is read as DIM.
TEST_F(Location, DimFormSettlesItsArguments) {
  TestArray src(ElemType::integer(4), {2, 2});
  red::fill_values<int32_t>(src, {1, 9, 5, 3});
  TestArray m(ElemType::logical(4), {2, 2}, {}, {}, 0);
  m.set_linear<int32_t>(0, 1);
  m.set_linear<int32_t>(2, 1);  // 9 masked out: MAXLOC at (1, 2)
  struct Form {
    uint32_t type_word_low;  // replaces the low byte of the DIM position's type word
    bool give_mask;
    std::vector<uint64_t> want;
  } forms[] = {
      {TYPE_LOGICAL, false, {1, 2}},
      {TYPE_LOGICAL | 0x100, false, {1, 2}},  // a higher bit does not matter
      {0x85, false, {2, 1}},  // read as a DIM (its first element, 1): a line per column
      {TYPE_LOGICAL, true, {2, 1}},
  };
  for (const auto& f : forms) {
    TestArray pos(ElemType::logical(4), {2, 2}, {}, {}, 0);
    std::memcpy(pos.storage().data(), m.storage().data(), 16);
    pos.descriptor()->type_word = (pos.descriptor()->type_word & ~0x1ffu) | f.type_word_low;
    TestArray one(ElemType::logical(4), {}, {}, {}, 1);  // scalar .TRUE. as the MASK
    auto r = f90test::unallocated_result(ElemType::integer(4), 1);
    _MAXLOC__I4(r.get(), src.desc(), pos.desc(), f.give_mask ? one.desc() : nullptr);
    EXPECT_EQ(locations(r.get(), 4), f.want) << std::hex << f.type_word_low << f.give_mask;
  }
}

// Nothing to search. With DIM the result may itself be empty: nothing
// allocated, still associated.
TEST_F(Location, EmptySourcesAndMasks) {
  TestArray empty(ElemType::real(4), {3, 0, 2});
  DimArg three(3);
  auto rd = f90test::unallocated_result(ElemType::integer(4), 2);
  _MINLOC__S4(rd.get(), empty.desc(), three.desc(), nullptr);
  EXPECT_EQ(rd->flags & F90_FLAG_ASSOC, 1u);
  EXPECT_EQ(rd->base, nullptr);
  EXPECT_EQ(rd->alloc_size, 0u);
  EXPECT_EQ(Runtime::allocation_calls(), 0);
  EXPECT_EQ(rd->dim[0].extent, 3);
  EXPECT_EQ(rd->dim[1].extent, 0);

  // An empty MASK, and a scalar one of no LOGICAL width, consider nothing.
  TestArray src(ElemType::integer(1), {2, 2});
  TestArray m0(ElemType::logical(4), {2, 0});
  TestArray odd(ElemType::logical(4), {}, {}, {}, 1);
  odd.descriptor()->elem_len = 24;
  for (Desc* m : {m0.desc(), odd.desc()}) {
    TestArray res(ElemType::integer(4), {2}, {}, {}, 0x77);
    _MAXLOC_I1(res.desc(), src.desc(), m);
    EXPECT_EQ(res.get<int32_t>({0}), 0);
    EXPECT_EQ(res.get<int32_t>({1}), 0);
  }
  EXPECT_TRUE(Runtime::reports().empty());
}

TEST_F(Location, AllocationFailures) {
  TestArray src(ElemType::integer(4), {3, 3});
  DimArg one(1);
  auto r = f90test::unallocated_result(ElemType::integer(8), 1);
  Runtime::fail_allocation(1);
  _MAXLOC__I4(r.get(), src.desc(), one.desc(), nullptr);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1205});
  EXPECT_EQ(r->base, nullptr);
  EXPECT_EQ(r->alloc_base, nullptr);
  EXPECT_EQ(r->flags & F90_FLAG_ASSOC, 1u);
  EXPECT_EQ(r->alloc_size, 3u * 8 * 8);

  // 65536 x 65536 lines of 8-byte locations: 2^35 bytes, beyond i386; the
  // allocator is not asked (a 32-bit size would wrap to 0).
  TestArray one_elem(ElemType::integer(4), {1});
  f90test::Descriptor huge(ElemType::integer(4), 3, true);
  huge->base = one_elem.at_linear(0);
  huge->dim[0] = {1, 65536, 0};
  huge->dim[1] = {1, 65536, 0};
  huge->dim[2] = {1, 2, 0};
  DimArg three(3);
  auto rh = f90test::unallocated_result(ElemType::integer(8), 2);
  Runtime::reset();
  _MINLOC__I4(rh.get(), huge.get(), three.desc(), nullptr);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1205});
  EXPECT_EQ(Runtime::allocation_calls(), 0);
  EXPECT_EQ(rh->base, nullptr);
}

// Codes outside the seven are reported once, and only with something to
// search; results of no location width, or with no storage, receive nothing.
TEST_F(Location, UnknownCodesAndUnusableResults) {
  TestArray src(ElemType::integer(4), {3, 2, 2});
  src.fill_linear<int32_t>([](int64_t k) { return int32_t(k); });
  TestArray res(ElemType::integer(4), {3}, {}, {}, 0x66);
  __maxloc(res.desc(), src.desc(), nullptr, nullptr, 16);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1223});
  EXPECT_EQ(res.get<int32_t>({2}), 0);  // zeroed, nothing located
  TestArray empty(ElemType::integer(4), {0});
  Runtime::reset();
  __minloc(res.desc(), empty.desc(), nullptr, nullptr, 21);
  EXPECT_TRUE(Runtime::reports().empty());

  // elem_len 24: no location width, nothing stored (the layout is still
  // written, with no storage).
  TestArray odd(ElemType::integer(4), {3}, {}, {}, 0x66);
  odd.descriptor()->elem_len = 24;
  _MAXLOC_I4(odd.desc(), src.desc(), nullptr);
  EXPECT_EQ(odd.get<uint32_t>({0}), 0x66666666u);
  auto r = f90test::unallocated_result(ElemType::integer(4), 1);
  r->elem_len = 24;
  _MAXLOC_I4(r.get(), src.desc(), nullptr);
  EXPECT_EQ(Runtime::allocation_calls(), 0);
  EXPECT_EQ(r->base, nullptr);
  // A caller's result shorter than the source's rank takes only as many
  // subscripts as it holds.
  TestArray three(ElemType::integer(4), {3}, {}, {}, 0x66);
  three.descriptor()->dim[0].extent = 2;
  _MAXLOC_I4(three.desc(), src.desc(), nullptr);
  EXPECT_EQ(three.get<int32_t>({0}), 3);
  EXPECT_EQ(three.get<int32_t>({1}), 2);
  EXPECT_EQ(three.get<uint32_t>({2}), 0x66666666u);
  // An associated result with no storage.
  f90test::Descriptor nobase(ElemType::integer(4), 1, true);
  nobase->base = nullptr;
  nobase->dim[0] = {1, 3, 1};
  _MINLOC_I4(nobase.get(), src.desc(), nullptr);
  EXPECT_TRUE(Runtime::reports().empty());
}

// No dimension triple beyond a descriptor's rank is read, and the control
// word comes back as it was given.
TEST_F(Location, NoWordPastARankIsRead) {
  TestArray src(ElemType::real(8), {4, 3});
  src.fill_linear<double>([](int64_t k) { return double((k * 5) % 7); });
  TestArray mask(ElemType::logical(4), {4, 3}, {}, {}, 0);
  mask.fill_linear<int32_t>([](int64_t k) { return int32_t(k != 4); });
  TestArray dim_res(ElemType::integer(4), {3});
  DimArg one(1);
  f90test::GuardedDescriptor gs(src.desc()), gm(mask.desc()), gr(dim_res.desc()), gd(one.desc());
  expect_cw_kept([&] { _MAXLOC__S(gr.get(), gs.get(), gd.get(), gm.get()); }, f90test::kCwLinux);
  // Columns (0 5 3 1), (6 4 2 0) with the 6 masked out, (5 3 1 6).
  EXPECT_EQ(dim_res.get<int32_t>({0}), 2);
  EXPECT_EQ(dim_res.get<int32_t>({1}), 2);
  EXPECT_EQ(dim_res.get<int32_t>({2}), 4);
  TestArray v(ElemType::real(8), {5});
  v.fill_linear<double>([](int64_t k) { return double(k % 3); });
  auto r0 = f90test::unallocated_result(ElemType::integer(4), 0);
  f90test::GuardedDescriptor g0(r0.get()), gv(v.desc());
  _MAXLOC__S(g0.get(), gv.get(), gd.get(), nullptr);  // rank-0 result completed
  EXPECT_EQ(*static_cast<int32_t*>(g0.get()->base), 3);
  EXPECT_TRUE(Runtime::reports().empty());
}

// Long contiguous lines go through the blocked integer search and the x87
// scan: the first extreme far into the line, and a later equal one.
TEST_F(Location, LongLines) {
  const int32_t n = 10000;
  for (const char* t : {"I1", "I2", "I4", "J", "S4", "S"}) {
    const auto& e = entries(t);
    TestArray a(e.type, {n});
    for (int64_t k = 0; k < n; ++k) {
      const uint64_t v = e.code == red::R8 ? D(double(k % 50)) : e.code == red::R4 ? F(float(k % 50))
                                                                                     : I(k % 50);
      std::memcpy(a.at_linear(k), &v, e.type.bytes());
    }
    const uint64_t big = e.code == red::R8 ? D(100) : e.code == red::R4 ? F(100) : I(100);
    const uint64_t small = e.code == red::R8 ? D(-100) : e.code == red::R4 ? F(-100) : I(-100);
    for (int64_t k : {int64_t{4097}, int64_t{9001}}) std::memcpy(a.at_linear(k), &big, e.type.bytes());
    std::memcpy(a.at_linear(6000), &small, e.type.bytes());
    auto r = f90test::unallocated_result(ElemType::integer(4), 1);
    e.max(r.get(), a.desc(), nullptr);
    EXPECT_EQ(locations(r.get(), 4), std::vector<uint64_t>{4098}) << t;
    e.min(r.get(), a.desc(), nullptr);
    EXPECT_EQ(locations(r.get(), 4), std::vector<uint64_t>{6001}) << t;
  }
}

}  // namespace
