// RESHAPE: literal results with every descriptor word (rank written, assoc
// left clear for empty results), SHAPE and ORDER of every integer width, the
// exact sequence of 1408, 1409, 1417 and 1419 reports, PAD cycling, and
// random shapes of rank 3 to 7 with random ORDER permutations against a
// naive reference.
#include "construct_support.h"

namespace construct_test {
namespace {

const ElemType I4 = ElemType::integer(4);
const int32_t kUnset = int32_t(0xCCCCCCCC);
using ReshapeTest = ConstructTest;

// A rank-1 INTEGER array of the given width holding `v`.
struct Ints {
  TestArray a;
  Ints(int bytes, std::vector<int64_t> v, int32_t step = 1)
      : a(ElemType::integer(bytes), {static_cast<int32_t>(v.size())}, {}, {step}) {
    for (size_t k = 0; k < v.size(); ++k) std::memcpy(a.at_linear(k), &v[k], bytes);
  }
  ArrayDescriptor* desc() { return a.desc(); }
};

// SOURCE 1..count as INTEGER*4 of rank 1.
struct Source {
  TestArray a;
  explicit Source(int32_t count) : a(I4, {count}) {
    for (int32_t k = 0; k < count; ++k) a.set_linear<int32_t>(k, k + 1);
  }
  ArrayDescriptor* desc() { return a.desc(); }
};

TEST_F(ReshapeTest, LiteralResults) {
  struct Case {
    const char* what;
    int32_t source;
    std::vector<int64_t> shape;
    std::vector<int32_t> pad;  // empty: absent
    std::vector<int64_t> order;
    std::vector<int32_t> want;  // array element order
  } cases[] = {
      {"SHAPE (2, 3)", 6, {2, 3}, {}, {}, {1, 2, 3, 4, 5, 6}},
      {"ORDER (2, 1): second subscript fastest", 6, {2, 3}, {}, {2, 1}, {1, 4, 2, 5, 3, 6}},
      {"PAD (7, 8) cycles", 4, {3, 3}, {7, 8}, {}, {1, 2, 3, 4, 7, 8, 7, 8, 7}},
      {"SOURCE longer than the result", 9, {2, 2}, {}, {}, {1, 2, 3, 4}},
      {"rank 3 with ORDER (3, 1, 2)", 8, {2, 2, 2}, {}, {3, 1, 2}, {1, 3, 5, 7, 2, 4, 6, 8}},
  };
  for (const auto& c : cases) {
    Runtime::reset();
    Source source(c.source);
    Ints shape(4, c.shape), order(4, c.order);
    TestArray pad(I4, {static_cast<int32_t>(c.pad.size())});
    set_values(pad, c.pad);
    auto r = f90test::unallocated_result(I4, 5);  // the rank is RESHAPE's to write
    r->flags |= 0x12340000u;                       // bits 4-28 pass through
    f90::reshape(r.get(), source.desc(), shape.desc(), c.pad.empty() ? nullptr : pad.desc(),
                 c.order.empty() ? nullptr : order.desc());
    const int rank = static_cast<int>(c.shape.size());
    std::vector<uint32_t> want{addr(block()), 32, f90_flags(rank, 1, 0) | 0x12340000u, I4.type_word,
                               addr(block()), static_cast<uint32_t>(c.want.size() * 32)};
    for (int i = 0, stride = 1; i < rank; stride *= static_cast<int>(c.shape[i]), ++i)
      want.insert(want.end(), {1, static_cast<uint32_t>(c.shape[i]), static_cast<uint32_t>(stride)});
    want.push_back(0xDEADBEEF);
    EXPECT_EQ(words(r.get(), 7 + 3 * rank), want) << c.what;
    EXPECT_EQ(values<int32_t>(r.get(), I4), c.want) << c.what;
    EXPECT_TRUE(Runtime::reports().empty()) << c.what;
  }
}

TEST_F(ReshapeTest, ShapeAndOrderOfEveryWidth) {
  struct Case {
    const char* what;
    int shape_bytes, order_bytes;
    int32_t step;  // in elements
    std::vector<int64_t> shape;
    std::vector<int32_t> want_extents;
  } cases[] = {
      {"INTEGER*8, low word only", 8, 8, 1, {(int64_t{1} << 32) + 3, 2}, {3, 2}},
      {"INTEGER*2 section", 2, 2, -2, {2, 3}, {2, 3}},
      {"INTEGER*1 section", 1, 1, 3, {3, 2}, {3, 2}},
      {"INTEGER*4, reversed", 4, 4, -1, {1, 6}, {1, 6}},
  };
  for (const auto& c : cases) {
    Runtime::reset();
    Source source(6);
    Ints shape(c.shape_bytes, c.shape, c.step), order(c.order_bytes, {2, 1}, c.step);
    auto r = f90test::unallocated_result(I4, 2);
    f90::reshape(r.get(), source.desc(), shape.desc(), nullptr, order.desc());
    EXPECT_EQ(r->dim[0].extent, c.want_extents[0]) << c.what;
    EXPECT_EQ(r->dim[1].extent, c.want_extents[1]) << c.what;
    // ORDER (2, 1): result(i, j) is source element i * e1 + j.
    const int e0 = c.want_extents[0], e1 = c.want_extents[1];
    std::vector<int32_t> want(e0 * e1);
    for (int i = 0; i < e0; ++i)
      for (int j = 0; j < e1; ++j) want[i + e0 * j] = i * e1 + j + 1;
    EXPECT_EQ(values<int32_t>(r.get(), I4), want) << c.what;
    EXPECT_TRUE(Runtime::reports().empty()) << c.what;
  }
}

// Reports in their order and number; `stored` is what the result holds
// afterwards (kUnset where nothing was written).
TEST_F(ReshapeTest, Reports) {
  struct Case {
    const char* what;
    int32_t source;
    std::vector<int64_t> shape;
    std::vector<int64_t> order;  // empty: absent
    bool pad;                    // PAD (0) of extent 0 when true
    std::vector<int32_t> reports;
    std::vector<int32_t> stored;
  } cases[] = {
      {"empty SOURCE, no PAD", 0, {2}, {}, false, {1408, 1408}, {kUnset, kUnset}},
      {"empty SOURCE, empty PAD", 0, {2}, {}, true, {1408, 1408}, {kUnset, kUnset}},
      {"SOURCE short, no PAD", 2, {3}, {}, false, {1408}, {1, 2, kUnset}},
      {"ORDER (1, 1)", 4, {2, 2}, {1, 1}, false, {1417}, {kUnset, kUnset, kUnset, kUnset}},
      {"ORDER (3, 1)", 4, {2, 2}, {3, 1}, false, {1417, 1417}, {kUnset, kUnset, kUnset, kUnset}},
      {"ORDER (0, 2) and SOURCE short", 2, {2, 2}, {0, 2}, false, {1417, 1417, 1408},
       {kUnset, kUnset, kUnset, kUnset}},
      {"short ORDER (2)", 4, {2, 2}, {2}, false, {1417}, {kUnset, kUnset, kUnset, kUnset}},
      {"empty SHAPE: one element", 3, {}, {}, false, {1419}, {1}},
  };
  for (const auto& c : cases) {
    Runtime::reset();
    Source source(c.source);
    Ints shape(4, c.shape), order(4, c.order);
    TestArray pad(I4, {0});
    auto r = f90test::unallocated_result(I4, 0);
    f90::reshape(r.get(), source.desc(), shape.desc(), c.pad ? pad.desc() : nullptr,
                 c.order.empty() ? nullptr : order.desc());
    EXPECT_EQ(Runtime::numbers(), c.reports) << c.what;
    EXPECT_EQ(r->flags, f90_flags(static_cast<uint32_t>(c.shape.size()), 1, 0)) << c.what;
    EXPECT_EQ(values<int32_t>(r.get(), I4), c.stored) << c.what;
  }
}

TEST_F(ReshapeTest, EmptyResultsGetNeitherStorageNorAssoc) {
  struct Case {
    const char* what;
    std::vector<int64_t> shape;
    bool empty_order;
    std::vector<int32_t> reports;
    std::vector<uint32_t> dims;  // lower, extent, stride per dimension
    uint32_t alloc_size;
  } cases[] = {
      {"SHAPE (0, 5), SOURCE empty, no PAD", {0, 5}, false, {}, {1, 0, 1, 1, 5, 0}, 0},
      {"negative values count as 0", {-1, 3, -2}, false, {1409, 1409}, {1, 0, 1, 1, 3, 0, 1, 0, 0}, 0},
      {"ORDER of extent 0", {2, 2}, true, {}, {1, 2, 1, 1, 2, 2}, 128},
  };
  for (const auto& c : cases) {
    Runtime::reset();
    Source source(c.empty_order ? 4 : 0);
    Ints shape(c.shape.size() == 3 ? 1 : 4, c.shape), order(4, {});
    auto r = f90test::unallocated_result(I4, 0);
    f90::reshape(r.get(), source.desc(), shape.desc(), nullptr, c.empty_order ? order.desc() : nullptr);
    std::vector<uint32_t> want{0, 32, f90_flags(static_cast<uint32_t>(c.shape.size()), 0, 0), I4.type_word, 0,
                               c.alloc_size};
    want.insert(want.end(), c.dims.begin(), c.dims.end());
    EXPECT_EQ(words(r.get(), static_cast<int>(want.size())), want) << c.what;
    EXPECT_EQ(Runtime::numbers(), c.reports) << c.what;
    EXPECT_EQ(Runtime::allocation_calls(), 0) << c.what;
  }
}

TEST_F(ReshapeTest, PadCyclesThroughEveryDimension) {
  // A rank-7 PAD of extents (2,1,1,1,1,1,2), read backwards along its last
  // dimension: all four elements in array element order, then again.
  TestArray pad(I4, {2, 1, 1, 1, 1, 1, 2}, {}, {1, 1, 1, 1, 1, 1, -1});
  set_values<int32_t>(pad, {10, 11, 12, 13});
  TestArray scalar_pad(I4, {});
  scalar_pad.set_linear<int32_t>(0, 9);
  for (ArrayDescriptor* p : {pad.desc(), scalar_pad.desc()}) {
    Runtime::reset();
    Source source(1);
    Ints shape(4, {10});
    auto r = f90test::unallocated_result(I4, 1);
    f90::reshape(r.get(), source.desc(), shape.desc(), p, nullptr);
    const std::vector<int32_t> want =
        p == pad.desc() ? std::vector<int32_t>{1, 10, 11, 12, 13, 10, 11, 12, 13, 10}
                        : std::vector<int32_t>{1, 9, 9, 9, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(values<int32_t>(r.get(), I4), want);
  }
}

TEST_F(ReshapeTest, CallerResultKeepsEveryWord) {
  Source source(4);
  Ints shape(4, {2, 2});
  // PAD and ORDER beyond the ones given would fault: PAD's base is an
  // inaccessible page, ORDER lies against one.
  TestArray pad(I4, {3});
  f90test::GuardedBuffer no_pad(0);
  pad.desc()->base = no_pad.data();
  f90test::GuardedBuffer order_words(8);
  const int32_t order_values[] = {2, 1};
  std::memcpy(order_words.data(), order_values, 8);
  auto order = caller_result(I4, order_words.data(), {2}, {1});
  TestArray out(I4, {2, 2}, {0, -4}, {-1, 2});
  const auto before = words(out.desc(), 12);
  f90::reshape(out.desc(), source.desc(), shape.desc(), pad.desc(), order.get());
  EXPECT_EQ(words(out.desc(), 12), before);
  EXPECT_EQ(values<int32_t>(out.desc(), I4), (std::vector<int32_t>{1, 3, 2, 4}));
  EXPECT_TRUE(out.outside_untouched());
  EXPECT_TRUE(Runtime::reports().empty());
}

TEST_F(ReshapeTest, LimitsThatWouldOverrunTablesOrStorage) {
  // Eight SHAPE values: 1419 and nothing else, the result untouched.
  Source source(4);
  Ints eight(4, {1, 1, 1, 1, 1, 1, 1, 1});
  auto r = f90test::unallocated_result(I4, 1);
  const auto before = words(r.get(), 27);
  f90::reshape(r.get(), source.desc(), eight.desc(), nullptr, nullptr);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1419});
  EXPECT_EQ(words(r.get(), 27), before);

  // A SHAPE of 2^30 + 1 REAL*4 or 65536 x 65536 elements: 1205 without asking
  // the allocator, nothing stored.
  for (const std::vector<int64_t>& big : {std::vector<int64_t>{(1 << 30) + 1}, {65536, 65536}}) {
    Runtime::reset();
    Ints shape(4, big);
    auto rb = f90test::unallocated_result(ElemType::real(4), 1);
    f90::reshape(rb.get(), source.desc(), shape.desc(), nullptr, nullptr);
    EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1205});
    EXPECT_EQ(Runtime::allocation_calls(), 0);
    EXPECT_EQ(rb->base, nullptr);
  }

  // A caller's result smaller than SHAPE says receives no more than it holds.
  Runtime::reset();
  f90test::GuardedBuffer out_words(12);
  auto out = caller_result(I4, out_words.data(), {3}, {1});
  Ints shape(4, {2, 2});
  f90::reshape(out.get(), source.desc(), shape.desc(), nullptr, nullptr);
  EXPECT_EQ(values<int32_t>(out.get(), I4), (std::vector<int32_t>{1, 2, 3}));

  // The allocator's null: assoc set, nothing stored.
  Runtime::reset();
  Runtime::fail_allocation(1);
  auto rn = f90test::unallocated_result(I4, 1);
  f90::reshape(rn.get(), source.desc(), shape.desc(), nullptr, nullptr);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1205});
  EXPECT_EQ(words(rn.get(), 12), (std::vector<uint32_t>{0, 32, f90_flags(2, 1, 0), I4.type_word, 0, 128, 1, 2, 1,
                                                          1, 2, 2}));
}

TEST_F(ReshapeTest, CharacterAndDerivedElements) {
  TestArray chars(ElemType::character(5), {3});
  std::memcpy(chars.at_linear(0), "abcdefghijklmno", 15);
  Ints shape(4, {3, 1});
  auto r = f90test::unallocated_result(ElemType::character(5), 2);
  f90::reshape(r.get(), chars.desc(), shape.desc(), nullptr, nullptr);
  EXPECT_EQ(words(r.get(), 12), (std::vector<uint32_t>{addr(block()), 5, f90_flags(2, 1, 0),
                                                        ElemType::character(5).type_word, addr(block()), 120, 1, 3,
                                                        5, 1, 1, 15}));
  EXPECT_EQ(std::string(static_cast<char*>(r->base), 15), "abcdefghijklmno");

  Runtime::reset();
  const ElemType dt = ElemType::derived_words(3);
  TestArray items(dt, {2, 2}, {}, {-1, 2});
  fill_unique(items, 5);
  Ints order(4, {2, 1}), shape2(4, {2, 2});
  auto rd = f90test::unallocated_result(dt, 2);
  f90::reshape(rd.get(), items.desc(), shape2.desc(), nullptr, order.desc());
  const int from[] = {0, 2, 1, 3};  // result(i, j) = SOURCE element 2i + j
  for (int k = 0; k < 4; ++k)
    EXPECT_EQ(bytes_at(element(rd.get(), dt, k), dt), bytes_at(items.at_linear(from[k]), dt)) << k;
}

// Random SOURCE, PAD and result sections of rank 3 to 7, random ORDER
// permutations, every copy kind, against element-by-element indexing.
TEST_F(ReshapeTest, RandomOrdersMatchNaiveReference) {
  std::mt19937 rng(2113);
  const auto types = random_types();
  for (int trial = 0; trial < 300; ++trial) {
    Runtime::reset();
    const ElemType t = types[rng() % types.size()];
    const int rank = 3 + static_cast<int>(rng() % 5);
    RandomShape res(rng, rank, rank > 5 ? 3 : 4);
    // Now and then one dimension longer than a tile, so that tiles have edges.
    if (trial % 5 == 0) res.extent[rng() % rank] = 257 + static_cast<int32_t>(rng() % 40);
    int64_t n = 1;
    for (int32_t e : res.extent) n *= e;
    // A third of the SOURCEs are one strided run at least as long as the
    // result (moved in tiles when ORDER transposes).
    const int src_rank = trial % 3 == 0 ? 1 : static_cast<int>(rng() % 8);
    RandomShape src(rng, src_rank, src_rank > 4 ? 2 : 5);
    if (trial % 3 == 0) src.extent[0] = static_cast<int32_t>(n + rng() % 3);
    const int pad_rank = static_cast<int>(rng() % 8);
    const RandomShape pd(rng, pad_rank, pad_rank > 4 ? 2 : 3);
    TestArray source(t, src.extent, {}, src.step), pad(t, pd.extent, {}, pd.step);
    fill_unique(source, trial);
    fill_unique(pad, ~trial);
    std::vector<int64_t> shape_values(res.extent.begin(), res.extent.end());
    std::vector<int64_t> perm(rank);
    for (int d = 0; d < rank; ++d) perm[d] = d + 1;
    std::shuffle(perm.begin(), perm.end(), rng);
    Ints shape(8, shape_values), order(1 << (rng() % 4), perm);

    const bool caller = rng() % 2;
    TestArray out(t, res.extent, {}, res.step, 0xCC);
    auto alloc = f90test::unallocated_result(t, rank);
    ArrayDescriptor* r = caller ? out.desc() : alloc.get();
    f90::reshape(r, source.desc(), shape.desc(), pad.desc(), order.desc());
    ASSERT_TRUE(Runtime::reports().empty()) << "trial " << trial;

    // The k-th element in ORDER's subscript order comes from SOURCE, then PAD.
    std::vector<int64_t> idx(rank, 0);
    for (int64_t k = 0; k < n; ++k) {
      const std::string want = k < source.size() ? bytes_at(source.at_linear(k), t)
                                                 : bytes_at(pad.at_linear((k - source.size()) % pad.size()), t);
      int64_t linear = 0;
      for (int d = rank - 1; d >= 0; --d) linear = linear * res.extent[d] + idx[d];
      ASSERT_EQ(bytes_at(element(r, t, linear), t), want) << "trial " << trial << " k " << k;
      for (int j = 0; j < rank; ++j) {
        const int64_t d = perm[j] - 1;
        if (++idx[d] < res.extent[d]) break;
        idx[d] = 0;
      }
    }
    EXPECT_TRUE(out.outside_untouched()) << "trial " << trial;
  }
}

}  // namespace
}  // namespace construct_test
