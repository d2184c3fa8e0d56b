// MAXVAL, MINVAL, MAXLOC, MINLOC, COUNT, ANY and ALL over long operands,
// past the lane widths and the search blocks, against the naive models:
// random lengths (many at the block edges), contiguous runs and sections,
// NaNs placed on purpose (one, last, many, all; quiet and signalling), ties,
// signed zeros, infinities, ascending and descending runs; the whole array,
// and lines along DIM = 1 and DIM = 2 (lines next to each other); and a
// MXCSR that reads subnormal operands as zero, under which the searches must
// still order subnormals as the x87 unit does.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

#include "control_word.h"
#include "descriptor_builder.h"
#include "locations.h"
#include "random_arrays.h"
#include "recording_runtime.h"
#include "reductions.h"

namespace {

using f90test::ElemType;
using f90test::Runtime;
using f90test::TestArray;
using red::Desc;
using red::Index;
using red::with;
using red::without;

std::mt19937 rng(20261209);
int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

// How the elements of an operand are drawn.
enum Fill { kTies, kAscending, kDescending, kOneNaN, kLastNaN, kManyNaN, kAllNaN, kZeros, kSpecials };
constexpr int kFills = 9;

// Lengths around the lane widths and the search blocks (16 KiB: 1024 to
// 16384 elements), and random ones.
int64_t random_length() {
  static const int64_t edges[] = {1,    15,   16,   17,   63,   64,    65,    1025,
                                  2047, 2049, 4095, 4097, 8193, 16383, 16385, 20000};
  const int k = pick(0, 5);
  return k == 0 ? edges[pick(0, 15)] : k == 1 ? pick(1, 20000) : pick(1, 3000);
}

// A NaN of either sign, quiet or signalling, with a payload.
uint64_t nan_bits(int bytes) {
  if (bytes == 4) {
    const uint32_t quiet = pick(0, 1) ? 0x00400000u : 0;
    return (pick(0, 1) ? 0x80000000u : 0) | 0x7f800000u | quiet | static_cast<uint32_t>(pick(1, 255));
  }
  const uint64_t quiet = pick(0, 1) ? 0x0008000000000000ull : 0;
  return (pick(0, 1) ? 0x8000000000000000ull : 0) | 0x7ff0000000000000ull | quiet |
         static_cast<uint64_t>(pick(1, 255));
}

// Element k of n, of code `code` and `bytes` bytes, into p.
void element(int32_t code, int bytes, Fill f, int64_t k, int64_t n, int64_t nan_at, char* p) {
  const bool real = code == red::R4 || code == red::R8 || code == red::R16;
  if (!real) {
    const int bits = bytes * 8;
    int64_t v = pick(-6, 6);
    if (f == kAscending || f == kDescending) {
      v = k * 250 / n - 125;  // non-decreasing, with ties for the narrow kinds
      if (f == kDescending) v = -v;
    } else if (f == kSpecials) {
      // The kind's extremes, and (INTEGER*8) values that a double cannot hold.
      const int64_t lo = bits == 64 ? INT64_MIN : -(int64_t{1} << (bits - 1));
      const int64_t odd = bits == 64 ? (int64_t{1} << 60) + 1 : 0;
      const int64_t specials[] = {lo, lo + 1, -lo - 1, 0, -1, odd, -odd, odd + 2};
      v = specials[pick(0, 7)];
    }
    std::memcpy(p, &v, bytes);
    return;
  }
  double x = pick(-12, 12) * 0.5;
  bool nan = false;
  switch (f) {
    case kAscending: x = static_cast<double>(k) * 0.25 - 100; break;
    case kDescending: x = 100 - static_cast<double>(k) * 0.25; break;
    case kOneNaN: nan = k == nan_at; break;
    case kLastNaN: nan = k == n - 1; break;
    case kManyNaN: nan = pick(0, 9) == 0; break;
    case kAllNaN: nan = true; break;
    case kZeros: x = pick(0, 3) == 0 ? -1.0 : pick(0, 1) ? 0.0 : -0.0; break;
    case kSpecials: {
      const double s[] = {INFINITY, -INFINITY, 0.0, -0.0, 1e-310, -1e-310, 1e300, -1e300, 1.0};
      x = s[pick(0, 8)];
      if (code == red::R4 && std::fabs(x) == 1e-310) x = std::copysign(1e-40, x);
      if (code == red::R4 && std::fabs(x) == 1e300) x = std::copysign(3e38, x);
      break;
    }
    default: break;
  }
  if (code == red::R16) {
    const double hi = nan ? std::nan("") : x;
    const red::Real16 v{hi, hi == 0 || !std::isfinite(hi) ? 0.0 : pick(-1, 1) * std::ldexp(hi, -60)};
    std::memcpy(p, &v, 16);
  } else if (nan) {
    const uint64_t b = nan_bits(bytes);
    std::memcpy(p, &b, bytes);
  } else if (code == red::R4) {
    const float v = static_cast<float>(x);
    std::memcpy(p, &v, 4);
  } else {
    std::memcpy(p, &x, 8);
  }
}

// A random operand of n elements: a contiguous rank-1 array, a section
// (step 2 or -1), or a contiguous rank-2 array of about n elements.
red::Shape random_layout(int64_t n) {
  red::Shape s;
  const int form = pick(0, 9);
  if (form < 6) return {{static_cast<int32_t>(n)}, {1}, {1}};
  if (form < 8) return {{static_cast<int32_t>(n)}, {pick(-3, 3)}, {form == 6 ? 2 : -1}};
  const int32_t a = pick(1, 80);
  return {{a, static_cast<int32_t>((n + a - 1) / a)}, {1, 1}, {1, 1}};
}

void fill(TestArray& a, int32_t code, Fill f) {
  const int64_t n = a.size();
  const int64_t nan_at = n > 0 ? pick(0, static_cast<int>(n - 1)) : 0;
  for (int64_t k = 0; k < n; ++k)
    element(code, static_cast<int>(a.type().bytes()), f, k, n, nan_at, a.at_linear(k));
}

bool mask_at(TestArray* m, int64_t k) {
  if (m == nullptr) return true;
  uint64_t v = 0;
  std::memcpy(&v, m->at_linear(k), m->type().bytes());
  return v != 0;
}

// ---- Whole arrays ------------------------------------------------------------

TEST(LongSearch, WholeArrayValuesAgainstTheModel) {
  f90test::RuntimeScope scope;
  for (int trial = 0; trial < 700; ++trial) {
    const red::Kind& k = red::kKinds[trial % 6];
    const bool max = pick(0, 1);
    const Fill f = static_cast<Fill>(pick(0, kFills - 1));
    const red::Shape s = random_layout(random_length());
    TestArray src(k.type, s.ext, s.lower, s.step);
    fill(src, k.code, f);
    auto mask = pick(0, 4) == 0 ? red::random_mask(pick, s, false) : nullptr;
    std::vector<uint64_t> v;
    for (int64_t e = 0; e < src.size(); ++e) {
      if (!mask_at(mask.get(), e)) continue;
      uint64_t b = 0;
      std::memcpy(&b, src.at_linear(e), k.type.bytes());
      v.push_back(b);
    }
    auto r = f90test::unallocated_result(k.type, 0);
    (max ? k.max : k.min)(r.get(), src.desc(), nullptr, mask ? mask->desc() : nullptr);
    ASSERT_EQ(red::result_elem(r.get(), 0, k.type.bytes(), k.type.unit()), red::model_value(k, max, v))
        << k.name << (max ? " MAXVAL" : " MINVAL") << " trial " << trial << " fill " << f
        << " size " << src.size() << (mask ? " masked" : "");
  }
  EXPECT_TRUE(Runtime::reports().empty());
}

TEST(LongSearch, WholeArrayLocationsAgainstTheModel) {
  f90test::RuntimeScope scope;
  for (int trial = 0; trial < 800; ++trial) {
    const loc::Entries& e = loc::kEntries[trial % 8];
    const bool max = pick(0, 1);
    const Fill f = static_cast<Fill>(pick(0, kFills - 1));
    const red::Shape s = random_layout(random_length());
    TestArray src(e.type, s.ext, s.lower, s.step);
    fill(src, e.code, f);
    auto mask = pick(0, 4) == 0 ? red::random_mask(pick, s, false) : nullptr;
    loc::Seq seq;
    for (int64_t k = 0; k < src.size(); ++k)
      if (mask_at(mask.get(), k)) seq.push_back({k, src.at_linear(k)});
    const int64_t at = loc::model_position(e, max, seq, mask ? -1 : 0);
    const int rank = static_cast<int>(s.ext.size());
    auto r = f90test::unallocated_result(ElemType::integer(4), 1);
    (max ? e.max : e.min)(r.get(), src.desc(), mask ? mask->desc() : nullptr);
    int64_t q = at;
    for (int d = 0; d < rank; ++d) {
      const int64_t sub = at < 0 ? -1 : q % s.ext[d];
      if (at >= 0) q /= s.ext[d];
      ASSERT_EQ(static_cast<int32_t>(red::result_elem(r.get(), d, 4, 4)), sub + 1)
          << e.name << (max ? " MAXLOC" : " MINLOC") << " trial " << trial << " fill " << f
          << " size " << src.size() << (mask ? " masked" : "") << " subscript " << d;
    }
  }
  EXPECT_TRUE(Runtime::reports().empty());
}

// INTEGER*8 runs whose first element a double cannot hold: the lanes must
// start from its exact value.
TEST(LongSearch, IntegerEightFirstElementKeptExact) {
  f90test::RuntimeScope scope;
  const int64_t big = (int64_t{1} << 60) + 255;  // rounds up as a double
  const struct {
    int64_t first, rest;
  } rows[] = {{INT64_MAX, 0}, {big, 1}, {-big, -1}, {INT64_MIN, 0}, {big - 256, big - 255}};
  for (const auto& row : rows) {
    TestArray a(ElemType::integer(8), {100});
    for (int64_t k = 0; k < 100; ++k) a.set_linear<int64_t>(k, k == 0 ? row.first : row.rest);
    const int64_t hi = row.first > row.rest ? row.first : row.rest;
    const int64_t lo = row.first < row.rest ? row.first : row.rest;
    EXPECT_EQ(_MAXVAL0_J(a.desc(), nullptr, nullptr), hi) << row.first;
    EXPECT_EQ(_MINVAL0_J(a.desc(), nullptr, nullptr), lo) << row.first;
    auto r = f90test::unallocated_result(ElemType::integer(4), 1);
    _MAXLOC_J(r.get(), a.desc(), nullptr);
    EXPECT_EQ(red::result_elem(r.get(), 0, 4, 4), row.first >= row.rest ? 1u : 2u) << row.first;
    _MINLOC_J(r.get(), a.desc(), nullptr);
    EXPECT_EQ(red::result_elem(r.get(), 0, 4, 4), row.first <= row.rest ? 1u : 2u) << row.first;
  }
  EXPECT_TRUE(Runtime::reports().empty());
}

// ---- REAL*16 ---------------------------------------------------------------------

// MAXVAL and MINVAL of REAL*16 runs: the element the location model finds
// (the first finite one taken, then _morvex_qcompare's order), or the start
// value when no element has a finite high part.
TEST(LongSearch, Real16ValuesAgainstTheLocationModel) {
  f90test::RuntimeScope scope;
  const loc::Entries& e = loc::entries("D");
  const uint64_t starts[2][2] = {{0x43dffc0000000000ull, 0}, {0xc3dffc0000000000ull, 1ull << 63}};
  for (int trial = 0; trial < 300; ++trial) {
    const bool max = pick(0, 1);
    const Fill f = static_cast<Fill>(pick(0, kFills - 1));
    const int64_t n = random_length();
    TestArray src(e.type, {static_cast<int32_t>(n)});
    fill(src, e.code, f);
    loc::Seq seq;
    for (int64_t k = 0; k < n; ++k) seq.push_back({k, src.at_linear(k)});
    const int64_t at = loc::model_position(e, max, seq, -1);
    uint64_t want[2];
    if (at >= 0)
      std::memcpy(want, src.at_linear(at), 16);
    else
      std::memcpy(want, starts[max], 16);
    red::Real16 got;
    (max ? _MAXVAL0_D : _MINVAL0_D)(&got, src.desc(), nullptr, nullptr);
    ASSERT_EQ(std::memcmp(&got, want, 16), 0) << (max ? "MAXVAL" : "MINVAL") << " trial " << trial
                                              << " fill " << f << " size " << n;
    // The same elements as m neighbouring lines along DIM = 2.
    const int32_t m = pick(1, 40), rows = static_cast<int32_t>(n / m);
    if (rows == 0) continue;
    TestArray wide(e.type, {m, rows});
    std::memcpy(wide.at_linear(0), src.at_linear(0), int64_t{m} * rows * 16);
    const int32_t dim = 2;
    TestArray r(e.type, {m});
    (max ? _MAXVAL_D : _MINVAL_D)(r.desc(), wide.desc(), &dim, nullptr);
    for (int32_t j = 0; j < m; ++j) {
      loc::Seq line;
      for (int64_t k = 0; k < rows; ++k) line.push_back({k, wide.at({j, k})});
      const int64_t k = loc::model_position(e, max, line, -1);
      const void* w = k >= 0 ? static_cast<const void*>(wide.at({j, k})) : starts[max];
      ASSERT_EQ(std::memcmp(r.at_linear(j), w, 16), 0)
          << (max ? "MAXVAL" : "MINVAL") << " DIM=2 trial " << trial << " line " << j;
    }
  }
  EXPECT_TRUE(Runtime::reports().empty());
}

// Elements whose high part is below the current one's and that still beat
// it (the low parts decide), equal high parts, signed zeros, and high or low
// parts that are infinite or NaN, at every position of a vector group and
// of the tail: the lanes may pass over only what _morvex_qcompare rejects.
TEST(LongSearch, Real16LowPartsDecide) {
  f90test::RuntimeScope scope;
  const double below = 1 - 0x1p-53;  // the double under 1
  struct Row {
    const char* what;
    red::Real16 current, x;
    bool x_greater;
  };
  const Row rows[] = {
      // 1 - 2^-56 against 1 - 2^-55: the high part alone says less.
      {"low part lifts", {1.0, -0x1p-55}, {below, 0x1p-54 + 0x1p-55 + 0x1p-56}, true},
      {"low part of 2^-55 is tame", {1.0, -0x1p-56}, {below, 0x1p-55}, false},
      {"infinite low part", {1.0, 0.0}, {0.5, INFINITY}, true},
      {"NaN low part", {1.0, 0.0}, {0.5, NAN}, false},
      {"huge low part", {1.0, 0.0}, {-1.0, 4.0}, true},
      {"across a binade", {2.0, -0x1p-53}, {2 - 0x1p-52, 0x1p-53 + 0x1p-54}, true},
      {"equal high parts, low part greater", {1.0, 0x1p-60}, {1.0, 0x1p-59}, true},
      {"equal high parts, low part less", {1.0, 0x1p-60}, {1.0, 0x1p-61}, false},
      {"equal parts", {1.0, 0x1p-60}, {1.0, 0x1p-60}, false},
      {"low parts of both signs", {1.0, -0x1p-60}, {1.0, 0x1p-60}, true},
      {"zeros", {1.0, 0.0}, {0.0, -0.0}, false},
      {"negative zero against zero", {0.0, 0.0}, {-0.0, 0.0}, false},
      {"subnormal low part over zero", {-0.0, -0.0}, {0.0, 0x1p-1074}, true},
      {"NaN high part", {1.0, 0.0}, {NAN, 0.0}, false},
      {"infinite high part", {1.0, 0.0}, {INFINITY, 0.0}, false},
  };
  for (const Row& row : rows) {
    for (const bool max : {true, false}) {
      for (const int64_t at : {1, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 95, 98, 99}) {
        // current, then 99 elements that lose to it, x among them at `at`.
        TestArray a(ElemType::real(16), {100});
        for (int64_t k = 0; k < 100; ++k) {
          red::Real16 v = k == 0 ? row.current : k == at ? row.x : red::Real16{row.current.hi - 1, 0.0};
          if (!max) v = {-v.hi, -v.lo};
          std::memcpy(a.at_linear(k), &v, 16);
        }
        const int64_t want = row.x_greater ? at : 0;
        auto r = f90test::unallocated_result(ElemType::integer(4), 1);
        (max ? _MAXLOC_D : _MINLOC_D)(r.get(), a.desc(), nullptr);
        EXPECT_EQ(red::result_elem(r.get(), 0, 4, 4), static_cast<uint64_t>(want + 1))
            << row.what << (max ? " MAXLOC" : " MINLOC") << " at " << at;
        red::Real16 got;
        (max ? _MAXVAL0_D : _MINVAL0_D)(&got, a.desc(), nullptr, nullptr);
        EXPECT_EQ(std::memcmp(&got, a.at_linear(want), 16), 0)
            << row.what << (max ? " MAXVAL" : " MINVAL") << " at " << at;
        // Along DIM = 2 of 21 neighbouring lines (five vectors of lines and
        // one more), line j with the losing elements turned by 5 j rows.
        TestArray wide(ElemType::real(16), {21, 100});
        for (int32_t j = 0; j < 21; ++j)
          for (int64_t k = 0; k < 100; ++k) {
            const int64_t from = k == 0 ? 0 : (k - 1 + 99 - 5 * j % 99) % 99 + 1;
            std::memcpy(wide.at({j, k}), a.at_linear(from), 16);
          }
        const int32_t dim = 2;
        TestArray v(ElemType::real(16), {21});
        (max ? _MAXVAL_D : _MINVAL_D)(v.desc(), wide.desc(), &dim, nullptr);
        loc::DimArg dim_arg(2);
        auto l = f90test::unallocated_result(ElemType::integer(4), 1);
        (max ? _MAXLOC__D : _MINLOC__D)(l.get(), wide.desc(), dim_arg.desc(), nullptr);
        for (int32_t j = 0; j < 21; ++j) {
          const int64_t x_row = (at - 1 + 5 * j) % 99 + 1;
          const int64_t w = row.x_greater ? x_row : 0;
          EXPECT_EQ(red::result_elem(l.get(), j, 4, 4), static_cast<uint64_t>(w + 1))
              << row.what << (max ? " MAXLOC" : " MINLOC") << " DIM=2 line " << j << " at " << at;
          EXPECT_EQ(std::memcmp(v.at_linear(j), wide.at({j, w}), 16), 0)
              << row.what << (max ? " MAXVAL" : " MINVAL") << " DIM=2 line " << j << " at " << at;
        }
      }
    }
  }
  EXPECT_TRUE(Runtime::reports().empty());
}

// ---- Lines along DIM -----------------------------------------------------------

// A rank-2 or rank-3 operand whose first extent is long (many lines next to
// each other for DIM = 2, long contiguous lines for DIM = 1): random, or at
// the widths of the blocks of lines (2048 and 4096), with few rows then;
// second extents around the row chunks of the lanes (8 and 64 rows).
red::Shape random_block_shape() {
  const int32_t kWide[] = {2047, 2048, 2049, 4095, 4096, 4097, 6151};
  const int32_t across = pick(0, 7) == 0 ? kWide[pick(0, 6)] : pick(1, 700);
  const int32_t along = across > 700 ? pick(1, 10) : pick(0, 5) == 0 ? pick(62, 66) : pick(1, 40);
  red::Shape s{{across, along}, {1, 1}, {1, 1}};
  if (pick(0, 3) == 0) {
    s.ext.push_back(pick(1, 3));
    s.lower.push_back(1);
    s.step.push_back(1);
  }
  if (pick(0, 5) == 0) s.step[0] = -1;
  return s;
}


TEST(LongSearch, LinesAlongDimAgainstTheModels) {
  f90test::RuntimeScope scope;
  for (int trial = 0; trial < 500; ++trial) {
    const bool location = trial % 2 == 1;
    const loc::Entries& e = loc::kEntries[(trial / 2) % 8];
    const red::Kind& k = red::kKinds[(trial / 2) % 6];
    const ElemType type = location ? e.type : k.type;
    const int32_t code = location ? e.code : k.code;
    const bool max = pick(0, 1);
    const Fill f = static_cast<Fill>(pick(0, kFills - 1));
    const red::Shape s = random_block_shape();
    const int rank = static_cast<int>(s.ext.size());
    TestArray src(type, s.ext, s.lower, s.step);
    fill(src, code, f);
    auto mask = pick(0, 5) == 0 ? red::random_mask(pick, s, false) : nullptr;
    Desc* m = mask ? mask->desc() : nullptr;
    const int32_t dim = pick(1, 2);
    const std::vector<int32_t> rext = without(s.ext, dim - 1);
    const ElemType rtype = location ? ElemType::integer(4) : type;
    auto r = f90test::unallocated_result(rtype, rank - 1);
    // Locations into every second element of a result of the caller's too
    // (only a contiguous one takes the block's positions in lanes).
    std::unique_ptr<TestArray> given;
    if (location && pick(0, 2) == 0) {
      std::vector<int32_t> st(rext.size(), 1);
      st[0] = 2;
      given = std::make_unique<TestArray>(rtype, rext, std::vector<int32_t>{}, st);
    }
    Desc* out = given ? given->desc() : r.get();
    if (location) {
      loc::DimArg dim_arg(dim);
      (max ? e.max_dim : e.min_dim)(out, src.desc(), dim_arg.desc(), m);
    } else {
      (max ? k.max : k.min)(r.get(), src.desc(), &dim, m);
    }
    ASSERT_TRUE(Runtime::reports().empty());
    int64_t pos = 0;
    f90test::for_each_index(rext, [&](const Index& j) {
      std::vector<uint64_t> v;
      loc::Seq seq;
      for (int64_t i = 0; i < s.ext[dim - 1]; ++i) {
        const Index at = with(j, dim - 1, i);
        if (!red::truth(mask.get(), at)) continue;
        uint64_t b = 0;
        std::memcpy(&b, src.at(at), location ? 0 : type.bytes());
        v.push_back(b);
        seq.push_back({i, src.at(at)});
      }
      const uint64_t got = red::result_elem(out, pos, rtype.bytes(), rtype.unit());
      const uint64_t want = location ? static_cast<uint32_t>(loc::model_position(e, max, seq, mask ? -1 : 0) + 1)
                                     : red::model_value(k, max, v);
      ASSERT_EQ(got, want) << (location ? e.name : k.name) << (location ? " LOC" : " VAL")
                           << (max ? " max" : " min") << " trial " << trial << " fill " << f
                           << " dim " << dim << " line " << pos << (mask ? " masked" : "");
      ++pos;
    });
  }
}

// ---- ALL, ANY, COUNT --------------------------------------------------------

// A LOGICAL operand of the shape: none, one, half, all but one or all of its
// elements true (true values with only the high byte or word set too).
std::unique_ptr<TestArray> logical_operand(const red::Shape& s, int bytes) {
  auto m = std::make_unique<TestArray>(ElemType::logical(bytes), s.ext, s.lower, s.step);
  const int64_t n = m->size();
  const int density = pick(0, 4);
  const int64_t odd = n > 0 ? pick(0, static_cast<int>(n - 1)) : 0;
  for (int64_t k = 0; k < n; ++k) {
    bool t = density == 2 ? pick(0, 1) == 1 : density >= 3;
    if (density == 1 || density == 3) t = (k == odd) != (density == 3);
    const uint64_t v = !t ? 0 : pick(0, 1) ? 1 : 1ull << (8 * bytes - 1);
    std::memcpy(m->at_linear(k), &v, bytes);
  }
  return m;
}

TEST(LongSearch, AllAnyCountAgainstCounts) {
  f90test::RuntimeScope scope;
  const red::LogicalEntry entries[3] = {_ALL, _ANY, _COUNT};
  for (int trial = 0; trial < 600; ++trial) {
    const int op = trial % 3;
    const int bytes = 1 << pick(0, 3);
    const bool lines = pick(0, 1);
    const red::Shape s = lines ? random_block_shape() : random_layout(random_length());
    auto mask = logical_operand(s, bytes);
    const int rank = static_cast<int>(s.ext.size());
    const int32_t dim = lines ? pick(1, 2) : 0;
    const std::vector<int32_t> rext = lines ? without(s.ext, dim - 1) : std::vector<int32_t>{};
    // COUNT into INTEGER*4 along DIM = 2 of a rank-2 MASK: counted straight into the result.
    const ElemType rt = op == 2 ? ElemType::integer(trial % 2 ? 8 : 4) : ElemType::logical(4);
    auto r = f90test::unallocated_result(rt, lines ? rank - 1 : 0);
    entries[op](r.get(), mask->desc(), lines ? &dim : nullptr);
    ASSERT_TRUE(Runtime::reports().empty());
    int64_t pos = 0;
    auto check = [&](uint64_t count, uint64_t n) {
      const uint64_t want = op == 0 ? count == n : op == 1 ? count > 0 : count;
      ASSERT_EQ(red::result_elem(r.get(), pos, rt.bytes(), rt.unit()), want)
          << "op " << op << " trial " << trial << " bytes " << bytes << " dim " << dim << " at " << pos;
      ++pos;
    };
    if (!lines) {
      uint64_t count = 0;
      for (int64_t k = 0; k < mask->size(); ++k) count += mask_at(mask.get(), k);
      check(count, static_cast<uint64_t>(mask->size()));
      continue;
    }
    f90test::for_each_index(rext, [&](const Index& j) {
      uint64_t count = 0;
      for (int64_t i = 0; i < s.ext[dim - 1]; ++i) count += red::truth(mask.get(), with(j, dim - 1, i));
      check(count, static_cast<uint64_t>(s.ext[dim - 1]));
    });
  }
}

// ---- Subnormal operands read as zero by the SSE unit -------------------------

// MXCSR with DAZ set for the scope; the searches still order subnormals as
// the x87 unit does: MAXVAL of zeros and one positive subnormal is the
// subnormal, and its location is found.
struct DenormalsAreZero {
  uint32_t saved = f90test::get_mxcsr();
  DenormalsAreZero() { f90test::set_mxcsr(saved | 0x40); }
  ~DenormalsAreZero() { f90test::set_mxcsr(saved); }
};

TEST(LongSearch, SubnormalsUnderDenormalsAreZero) {
  f90test::RuntimeScope scope;
  struct Row {
    const char* name;
    ElemType type;
    uint64_t tiny;  // a positive subnormal
    red::ArrayEntry maxval;
    loc::LocEntry maxloc;
  };
  const Row rows[] = {
      {"S4", ElemType::real(4), 0x00000005u, _MAXVAL_S4, _MAXLOC_S4},
      {"S", ElemType::real(8), 0x0000000000000005ull, _MAXVAL_S, _MAXLOC_S},
  };
  DenormalsAreZero daz;
  for (const Row& row : rows) {
    for (const int64_t at : {0, 37, 199}) {
      TestArray src(row.type, {200});
      for (int64_t k = 0; k < 200; ++k) {
        const uint64_t b = k == at ? row.tiny : 0;
        std::memcpy(src.at_linear(k), &b, row.type.bytes());
      }
      auto v = f90test::unallocated_result(row.type, 0);
      row.maxval(v.get(), src.desc(), nullptr, nullptr);
      EXPECT_EQ(red::result_elem(v.get(), 0, row.type.bytes(), row.type.unit()), row.tiny) << row.name;
      auto l = f90test::unallocated_result(ElemType::integer(4), 1);
      row.maxloc(l.get(), src.desc(), nullptr);
      EXPECT_EQ(red::result_elem(l.get(), 0, 4, 4), static_cast<uint64_t>(at + 1)) << row.name;
      // Along DIM = 2 of a 100 x 2 array: the subnormal's line finds it.
      TestArray wide(row.type, {100, 2});
      for (int64_t k = 0; k < 200; ++k) std::memcpy(wide.at_linear(k), src.at_linear(k), row.type.bytes());
      const int32_t dim = 2;
      auto d = f90test::unallocated_result(row.type, 1);
      row.maxval(d.get(), wide.desc(), &dim, nullptr);
      EXPECT_EQ(red::result_elem(d.get(), at % 100, row.type.bytes(), row.type.unit()), row.tiny)
          << row.name << " DIM=2";
    }
  }
  EXPECT_TRUE(Runtime::reports().empty());
}

}  // namespace
