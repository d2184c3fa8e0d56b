// SUM and PRODUCT along a dimension: every entry against a naive reference
// (each result element takes its terms in increasing DIM index and is brought
// to its element's format after every term; bit-exact), value tables for the
// per-term rounding and wrap-around, the DIM and allocation reports, and
// results or MASKs that do not match the source.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <memory>
#include <random>

#include "control_word.h"
#include "f90/f90.h"
#include "recording_runtime.h"
#include "sums.h"

namespace {

using f90test::ElemType;
using f90test::Runtime;
using f90test::TestArray;
using sums::DD;
using sums::load_bytes;
using sums::store_bytes;
using sums::rounded;
using Desc = ArrayDescriptor;
using Index = std::vector<int64_t>;
using Bytes = std::vector<uint8_t>;
using DimFn = void (*)(Desc*, Desc*, const int32_t*, Desc*);

struct DimEntry {
  const char* name;
  ElemType type;
  bool product;
  DimFn fn;
};
const std::vector<DimEntry> kEntries = {
    {"SUM_I1", ElemType::integer(1), false, _SUM_I1},
    {"SUM_I2", ElemType::integer(2), false, _SUM_I2},
    {"SUM_I4", ElemType::integer(4), false, _SUM_I4},
    {"SUM_J", ElemType::integer(8), false, _SUM_J},
    {"SUM_S4", ElemType::real(4), false, _SUM_S4},
    {"SUM_S", ElemType::real(8), false, _SUM_S},
    {"SUM_C4", ElemType::complex(8), false, _SUM_C4},
    {"SUM_C", ElemType::complex(16), false, _SUM_C},
    {"SUM_D", ElemType::real(16), false, _SUM_D},
    {"SUM_Z", ElemType::complex(32), false, _SUM_Z},
    {"PROD_I1", ElemType::integer(1), true, _PROD_I1},
    {"PROD_I2", ElemType::integer(2), true, _PROD_I2},
    {"PROD_I4", ElemType::integer(4), true, _PROD_I4},
    {"PROD_J", ElemType::integer(8), true, _PROD_J},
    {"PROD_S4", ElemType::real(4), true, _PROD_S4},
    {"PROD_S", ElemType::real(8), true, _PROD_S},
    {"PROD_C4", ElemType::complex(8), true, _PROD_C4},
    {"PROD_C", ElemType::complex(16), true, _PROD_C},
    {"PROD_D", ElemType::real(16), true, _PROD_D},
    {"PROD_Z", ElemType::complex(32), true, _PROD_Z},
};

const DimEntry& entry(const std::string& name) {
  for (const auto& e : kEntries)
    if (name == e.name) return e;
  throw std::runtime_error(name);
}

std::mt19937 rng(20261208);
int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }


// One term into the running value `r` (an element of the entry's type),
// written out naively per kind.
void naive_step(const DimEntry& e, char* r, const char* s) {
  const ElemType t = e.type;
  const uint32_t n = t.bytes();
  const bool prod = e.product;
  if (t.code() == TYPE_INTEGER) {
    uint64_t a = 0, b = 0;
    std::memcpy(&a, r, n);
    std::memcpy(&b, s, n);
    const uint64_t v = prod ? a * b : a + b;  // low n bytes are right modulo 2^(8n)
    std::memcpy(r, &v, n);
  } else if (t.code() == TYPE_REAL && n <= 8) {
    const long double a = n == 4 ? load_bytes<float>(r) : load_bytes<double>(r);
    const long double b = n == 4 ? load_bytes<float>(s) : load_bytes<double>(s);
    const long double v = prod ? a * b : a + b;
    n == 4 ? store_bytes(r, rounded<float>(v)) : store_bytes(r, rounded<double>(v));
  } else if (t.code() == TYPE_COMPLEX && n <= 16) {
    const bool single = n == 8;
    auto part = [&](const char* p, int i) -> long double {
      return single ? load_bytes<float>(p + 4 * i) : load_bytes<double>(p + 8 * i);
    };
    const long double a = part(r, 0), b = part(r, 1), c = part(s, 0), d = part(s, 1);
    const long double re = prod ? a * c - b * d : a + c;
    const long double im = prod ? a * d + c * b : b + d;
    if (single) {
      store_bytes(r, rounded<float>(re));
      store_bytes(r + 4, rounded<float>(im));
    } else {
      store_bytes(r, rounded<double>(re));
      store_bytes(r + 8, rounded<double>(im));
    }
  } else if (n == 16) {
    DD v;
    prod ? _morvex_qmul(&v, load_bytes<DD>(r), load_bytes<DD>(s)) : _morvex_qadd(&v, load_bytes<DD>(r), load_bytes<DD>(s));
    store_bytes(r, v);
  } else {
    const DD A = load_bytes<DD>(r), B = load_bytes<DD>(r + 16), C = load_bytes<DD>(s), D = load_bytes<DD>(s + 16);
    DD re, im;
    if (!prod) {
      _morvex_qadd(&re, A, C);
      _morvex_qadd(&im, B, D);
    } else {
      DD t1, t2, t3, t4;
      _morvex_qmul(&t1, B, D);
      _morvex_qmul(&t2, A, C);
      _morvex_qsub(&re, t2, t1);
      _morvex_qmul(&t3, C, B);
      _morvex_qmul(&t4, A, D);
      _morvex_qadd(&im, t4, t3);
    }
    store_bytes(r, re);
    store_bytes(r + 16, im);
  }
}

Bytes identity(const DimEntry& e) {
  Bytes b(e.type.bytes(), 0);
  const ElemType t = e.type;
  if (!e.product) return b;
  if (t.code() == TYPE_INTEGER) b[0] = 1;
  else if (t.bytes() == 4 || (t.code() == TYPE_COMPLEX && t.bytes() == 8)) store_bytes(reinterpret_cast<char*>(b.data()), 1.0f);
  else store_bytes(reinterpret_cast<char*>(b.data()), 1.0);
  return b;
}

// The expected result elements in the result's array element order.
std::vector<Bytes> reference(const DimEntry& e, TestArray& a, int dim, TestArray* m) {
  std::vector<int32_t> rext = a.extents();
  rext.erase(rext.begin() + (dim - 1));
  std::vector<Bytes> out;
  f90test::for_each_index(rext, [&](const Index& ri) {
    Bytes acc = identity(e);
    for (int64_t i = 0; i < a.extents()[dim - 1]; ++i) {
      Index at = ri;
      at.insert(at.begin() + (dim - 1), i);
      if (sums::mask_truth(m, at)) naive_step(e, reinterpret_cast<char*>(acc.data()), a.at(at));
    }
    out.push_back(acc);
  });
  return out;
}

// Element k (array element order) of a result the routine completed.
const char* completed_at(Desc* r, uint32_t bytes, int64_t k) {
  const char* p = static_cast<const char*>(r->base);
  return p + k * bytes;
}

class AlongDim : public f90test::ControlWordTest {
 protected:
  f90test::RuntimeScope scope;
};

TEST_F(AlongDim, RandomShapesEveryDimMasksAndResults) {
  for (int iter = 0; iter < 40; ++iter) {
    const bool wide = iter % 5 == 0;  // longer rows: blocks of result elements and their tail
    const int rank = wide ? pick(2, 3) : pick(1, 7);
    std::vector<int32_t> ext, lower, step;
    const int32_t steps[] = {-2, -1, 1, 1, 2};
    for (int i = 0; i < rank; ++i) {
      ext.push_back(wide ? pick(5, 11) : pick(0, 15) == 0 ? 0 : pick(1, rank > 4 ? 2 : 4));
      lower.push_back(pick(-2, 2));
      step.push_back(steps[pick(0, 4)]);
    }
    const int mask_kind = pick(0, 2);  // none, conforming, scalar
    const int mbytes = 1 << pick(0, 3);
    std::unique_ptr<TestArray> mask;
    if (mask_kind) {
      mask = mask_kind == 1 ? std::make_unique<TestArray>(ElemType::logical(mbytes), ext, lower, step)
                            : std::make_unique<TestArray>(ElemType::logical(mbytes), std::vector<int32_t>{});
      for (int64_t k = 0; k < mask->size(); ++k) {  // LOGICAL*8: sometimes the high word only
        const uint64_t v = pick(0, 3) == 0 ? 0 : mbytes == 8 && pick(0, 1) ? 1ull << 40 : 1 + (1ull << 40);
        std::memcpy(mask->at_linear(k), &v, mbytes);
      }
    }
    for (int dim = 1; dim <= rank; ++dim) {
      std::vector<int32_t> rext = ext, rlow = lower, rstep;
      rext.erase(rext.begin() + (dim - 1));
      rlow.erase(rlow.begin() + (dim - 1));
      for (size_t i = 0; i < rext.size(); ++i) rstep.push_back(steps[pick(0, 4)]);
      const bool supplied = pick(0, 1);
      for (const DimEntry& e : kEntries) {
        TestArray a(e.type, ext, lower, step);
        sums::random_fill(a, e.product, rng);
        const auto want = reference(e, a, dim, mask.get());
        std::string where = std::string(e.name) + " rank " + std::to_string(rank) + " dim " +
                            std::to_string(dim) + " mask " + std::to_string(mask_kind) + "/" +
                            std::to_string(mbytes) + " iteration " + std::to_string(iter);
        if (supplied) {
          TestArray r(e.type, rext, rlow, rstep, 0x5A);
          e.fn(r.desc(), a.desc(), &dim, mask ? mask->desc() : nullptr);
          for (size_t k = 0; k < want.size(); ++k)
            ASSERT_EQ(Bytes(r.at_linear(k), r.at_linear(k) + e.type.bytes()), want[k]) << where << " element " << k;
          ASSERT_TRUE(r.outside_untouched()) << where;
        } else {
          auto rd = f90test::unallocated_result(e.type, rank - 1);
          e.fn(rd.get(), a.desc(), &dim, mask ? mask->desc() : nullptr);
          ASSERT_TRUE(rd->flags & F90_FLAG_ASSOC) << where;
          for (int k = 0; k < rank - 1; ++k) ASSERT_EQ(rd->dim[k].extent, rext[k]) << where;
          for (size_t k = 0; k < want.size(); ++k) {
            const char* p = completed_at(rd.get(), e.type.bytes(), static_cast<int64_t>(k));
            ASSERT_EQ(Bytes(p, p + e.type.bytes()), want[k]) << where << " element " << k;
          }
        }
        ASSERT_TRUE(a.outside_untouched()) << where;
      }
    }
    Runtime::reset();
  }
  EXPECT_TRUE(Runtime::reports().empty());
}

// Element values with the x87's special cases among ordinary ones: NaN,
// infinities, signed zeros, values near the kind's overflow and underflow
// thresholds (so that rounded partial results overflow or turn subnormal).
void special_fill(TestArray& a, std::mt19937& g) {
  const ElemType t = a.type();
  const bool single = t.bytes() == 4 || (t.code() == TYPE_COMPLEX && t.bytes() == 8);
  const double big = single ? 3e38 : 1.7e308, tiny = single ? 1.5e-38 : 2.5e-308;
  const double specials[] = {NAN, INFINITY, -INFINITY, -0.0, big, -big, tiny, -tiny * 0.75, 1.0, 3.0};
  auto part = [&]() -> double {
    const int k = std::uniform_int_distribution<int>(0, 40)(g);
    return k < 10 ? specials[k] : sums::random_part(g, false);
  };
  for (int64_t k = 0; k < a.size(); ++k) {
    char* p = a.at_linear(k);
    for (uint32_t i = 0; i < t.bytes() / (single ? 4 : 8); ++i)
      single ? store_bytes(p + 4 * i, static_cast<float>(part())) : store_bytes(p + 8 * i, part());
  }
}

// Long lines, so that several blocks of result elements are in flight, with
// their tails, a skewed start where DIM is the closer-packed dimension, and
// blocks wider than the cache's share: each result element must still get
// the bits of its terms taken one by one, under every rounding mode and
// precision. Values include NaN, infinities and results that overflow or
// become subnormal after rounding to the kind.
TEST_F(AlongDim, LongLinesSpecialValuesEveryControlWord) {
  struct Shape {
    std::vector<int32_t> ext, step;
    int dim;
    bool masked;
  };
  const std::vector<Shape> shapes = {
      {{512, 37}, {1, 1}, 1, false},   // DIM packed, columns 4 KiB apart: skewed, tail of 5
      {{700, 37}, {1, 1}, 1, false},   // columns not a power of two apart
      {{700, 37}, {-1, 2}, 1, true},   // the same backwards, strided, masked
      {{530, 17}, {2, 1}, 1, false},   // a stride of two elements along DIM
      {{40, 9}, {1, 1}, 1, true},      // too short to skew
      {{37, 300}, {1, 1}, 2, false},   // neighbouring lines: one block
      {{3, 9, 70}, {1, -1, 1}, 3, true},
      {{33000, 2}, {1, 1}, 2, false},  // more neighbouring lines than one block holds
  };
  const uint16_t words[] = {f90test::kCwLibrary, f90test::kCwLinux, 0x0a7f /* up, 53 bits */,
                            0x067f /* down, 53 bits */, 0x0e7f /* toward zero, 53 bits */,
                            0x0f7f /* toward zero, 64 bits */, f90test::kCwChopSingle};
  const char* kinds[] = {"SUM_S", "PROD_S", "SUM_S4", "PROD_S4", "SUM_C", "PROD_C4", "SUM_C4"};
  for (const Shape& sh : shapes) {
    std::unique_ptr<TestArray> mask;
    if (sh.masked) {
      mask = std::make_unique<TestArray>(ElemType::logical(4), sh.ext);
      for (int64_t k = 0; k < mask->size(); ++k) mask->set_linear<uint32_t>(k, pick(0, 3) != 0);
    }
    for (const char* name : kinds) {
      const DimEntry& e = entry(name);
      TestArray a(e.type, sh.ext, {}, sh.step);
      special_fill(a, rng);
      for (uint16_t cw : words) {
        f90test::set_cw(cw);
        const auto want = reference(e, a, sh.dim, mask.get());
        auto rd = f90test::unallocated_result(e.type, static_cast<int>(sh.ext.size()) - 1);
        e.fn(rd.get(), a.desc(), &sh.dim, mask ? mask->desc() : nullptr);
        EXPECT_EQ(f90test::get_cw(), cw);
        f90test::set_cw(f90test::kCwLibrary);
        size_t wrong = 0, first = want.size();
        for (size_t k = 0; k < want.size(); ++k) {
          const char* p = completed_at(rd.get(), e.type.bytes(), static_cast<int64_t>(k));
          if (Bytes(p, p + e.type.bytes()) != want[k] && wrong++ == 0) first = k;
        }
        EXPECT_EQ(wrong, 0u) << name << " extents " << sh.ext[0] << "x" << sh.ext[1] << " dim "
                             << sh.dim << " control word " << std::hex << cw << std::dec
                             << " first wrong element " << first;
      }
    }
  }
  EXPECT_TRUE(Runtime::reports().empty());
}

// The boundary of the REAL sums' and products' SSE2 blocks (53-bit control
// words): lines whose running value overflows, meets or becomes a subnormal,
// meets NaNs of different payloads (the two units keep different ones), or
// zeros of both signs, among clean lines, so that some blocks of lines are
// refused and redone on the x87 while their neighbours are not. Every element
// must be the naive model's, and MXCSR must come back as it was.
TEST_F(AlongDim, Sse2BlocksMatchTheX87AtTheirBoundary) {
  const double nan1 = std::bit_cast<double>(0x7ff8000000000001ull),
               nan2 = std::bit_cast<double>(0x7ffc0000000000f0ull),
               negnan = std::bit_cast<double>(0xfff8000000000100ull), big = 0x1.fffffffffffffp1023;
  const float fnan1 = std::bit_cast<float>(0x7fc00001u), fnan2 = std::bit_cast<float>(0x7fe000f0u),
              fbig = 0x1.fffffep127f;
  struct Row {
    const char* entry;
    std::vector<double> terms;  // REAL*4 rows: floats held as doubles
  };
  const std::vector<Row> rows = {
      {"SUM_S", {1.5e308, 1.5e308, -1.5e308, -1.5e308}},  // overflows mid-line
      {"SUM_S", {big, 0x1p970}},                          // a half-ulp tie past the top
      {"SUM_S", {-big, -0x1p970, big}},
      {"SUM_S", {0x1p-1074, 0x1p-1074, 3.0, -3.0}},       // subnormal terms
      {"SUM_S", {0x1p-1022, -0x1p-1023, 1.0}},            // subnormal running value
      {"SUM_S", {0x1.0000000000001p-1022, -0x1p-1022}},   // exactly subnormal at the end
      {"SUM_S", {nan1, 1.0, nan2}},                       // NaN first and last
      {"SUM_S", {nan2, 2.0, nan1}},
      {"SUM_S", {negnan, nan1}},
      {"SUM_S", {1.0, 2.0, nan1}},
      {"SUM_S", {INFINITY, -INFINITY}},
      {"SUM_S", {-0.0, -0.0}},
      {"SUM_S", {0.0, -0.0}},
      {"SUM_S", {-0.0}},
      {"SUM_S", {1.0, 0x1p-60, 0x1p-53, 0x1p-53, -1.0}},  // rounding at every term
      {"SUM_S4", {3e38, 3e38, -3e38}},
      {"SUM_S4", {fbig, 0x1p103}},
      {"SUM_S4", {0x1p-149, 0x1p-149, 1.0}},
      {"SUM_S4", {0x1p-126, -0x1p-127, 2.0}},
      {"SUM_S4", {fnan1, 1.0, fnan2}},
      {"SUM_S4", {fnan2, fnan1}},
      {"SUM_S4", {-0.0, -0.0}},
      {"SUM_S4", {0.0, -0.0}},
      {"SUM_S4", {1.0, 0x1p-30, 0x1p-24, 0x1p-24, -1.0}},
      {"PROD_S", {1e200, 1e200, 1e-200}},                     // overflows mid-line
      {"PROD_S", {0x1p-600, 0x1p-600, 0x1p700}},              // underflows to zero
      {"PROD_S", {0x1.8p-537, 0x1.8p-537}},                   // rounded as a subnormal
      {"PROD_S", {0x1p-540, 0x1p-530}},                       // exactly subnormal
      {"PROD_S", {0x1p-1074, 3.0}},                           // subnormal term
      {"PROD_S", {nan1, 2.0, nan2}},
      {"PROD_S", {INFINITY, 0.0}},
      {"PROD_S", {-0.0, 3.0, -2.0}},
      {"PROD_S", {0x1.0000000000001p0, 0x1.0000000000001p0, 0x1.fffffffffffffp-1}},
      {"PROD_S4", {3e38, 10.0, 0.1}},
      {"PROD_S4", {0x1.8p-75, 0x1.8p-75}},
      {"PROD_S4", {0x1p-100, 0x1p-40}},
      {"PROD_S4", {fnan1, 2.0, fnan2}},
      {"PROD_S4", {0x1.000002p0, 0x1.000002p0, 0x1.fffffep-1}},
  };
  // Both layouts (DIM 1: groups of lines and a remainder, short and skewed
  // long lines; DIM 2: one buffer of lines, a remainder group, steps past a
  // group's turn; both: more lines than one buffer, with the last line alone
  // dirty, after the NaN scan's full vectors); the row's lines are `dirty`,
  // its terms the last of `lead` more (the identity, which changes no bit).
  struct Layout {
    int dim;
    int32_t lines;
    std::vector<int32_t> dirty;
    int32_t lead;
  };
  const std::vector<Layout> layouts = {
      {1, 50, {3, 40}, 0},   {1, 19, {18}, 510},  {1, 2071, {1100, 2070}, 0},
      {2, 1000, {3, 990}, 0}, {2, 1003, {1002}, 19}, {2, 2100, {2050}, 0}};
  const uint16_t words[] = {f90test::kCwLibrary, 0x027f, 0x067f /* down */, 0x0a7f /* up */,
                            0x0e7f /* toward zero */, f90test::kCwLinux};
  for (const Row& row : rows) {
    const DimEntry& e = entry(row.entry);
    const bool single = e.type.bytes() == 4, sum = row.entry[0] == 'S';
    for (const Layout& l : layouts) {
      const auto n = static_cast<int32_t>(row.terms.size()) + l.lead;
      TestArray a(e.type, l.dim == 1 ? std::vector<int32_t>{n, l.lines} : std::vector{l.lines, n});
      for (int32_t j = 0; j < l.lines; ++j) {
        const bool dirty = std::find(l.dirty.begin(), l.dirty.end(), j) != l.dirty.end();
        for (int32_t i = 0; i < n; ++i) {
          const double v = dirty ? (i < l.lead ? (sum ? 0.0 : 1.0) : row.terms[i - l.lead])
                           : sum ? std::ldexp(pick(-1000, 1000), pick(-8, 8))
                                 : 1.0 + std::ldexp(pick(-1000, 1000), -20);
          char* p = a.at(l.dim == 1 ? Index{i, j} : Index{j, i});
          single ? store_bytes(p, static_cast<float>(v)) : store_bytes(p, v);
        }
      }
      for (uint16_t cw : words) {
        f90test::set_cw(cw);
        const auto want = reference(e, a, l.dim, nullptr);
        TestArray r(e.type, {l.lines});
        const uint32_t csr = 0x7f80 | 0x01;  // toward zero, invalid flag raised: kept as it is
        uint32_t saved_csr = 0, csr_after = 0;
        __asm__ volatile("stmxcsr %0\n\tldmxcsr %1" : "=m"(saved_csr) : "m"(csr));
        e.fn(r.desc(), a.desc(), &l.dim, nullptr);
        __asm__ volatile("stmxcsr %0\n\tldmxcsr %1" : "=m"(csr_after) : "m"(saved_csr));
        f90test::set_cw(f90test::kCwLibrary);
        EXPECT_EQ(csr_after, csr) << row.entry << " control word " << std::hex << cw;
        for (int32_t j = 0; j < l.lines; ++j)
          EXPECT_EQ(Bytes(r.at({j}), r.at({j}) + e.type.bytes()), want[j])
              << row.entry << " first term " << row.terms[0] << " dim " << l.dim << " line " << j
              << " control word " << std::hex << cw;
      }
    }
  }
  EXPECT_TRUE(Runtime::reports().empty());
}

// The x87 inexact flag after an SSE2 block: raised when a term was rounded,
// as the x87 walk would, and left clear when every sum was exact.
TEST_F(AlongDim, Sse2BlocksRaiseTheX87InexactFlagAsTheX87Would) {
  const struct {
    const char* entry;
    double term;
    bool inexact;
  } cases[] = {{"SUM_S", 0x1p-60, true}, {"SUM_S", 0.5, false}, {"SUM_S4", 0x1p-30, true},
               {"SUM_S4", 0.25, false}};
  for (const auto& c : cases) {
    const DimEntry& e = entry(c.entry);
    TestArray a(e.type, {8, 40});
    for (int64_t k = 0; k < a.size(); ++k)
      e.type.bytes() == 4 ? store_bytes(a.at_linear(k), static_cast<float>(k % 8 == 3 ? c.term : 1.0))
                          : store_bytes(a.at_linear(k), k % 8 == 3 ? c.term : 1.0);
    TestArray r(e.type, {40});
    const int32_t dim = 1;
    uint16_t status = 0;
    __asm__ volatile("fnclex");
    e.fn(r.desc(), a.desc(), &dim, nullptr);
    __asm__ volatile("fnstsw %0" : "=m"(status));
    EXPECT_EQ((status & 0x20) != 0, c.inexact) << c.entry << " " << c.term;
  }
}

// Two-term columns: source (2, 3) along DIM 1, column j holding terms[j].
struct Case {
  const char* entry;
  std::vector<std::vector<double>> terms;  // per term, the element's parts
  std::vector<double> want;                // the result's parts
};

void store_parts(char* p, ElemType t, const std::vector<double>& parts) {
  if (t.code() == TYPE_INTEGER) {
    const int64_t v = static_cast<int64_t>(parts[0]);
    std::memcpy(p, &v, t.bytes());
  } else if (t.bytes() == 4 || (t.code() == TYPE_COMPLEX && t.bytes() == 8)) {
    for (size_t i = 0; i < parts.size(); ++i) store_bytes(p + 4 * i, static_cast<float>(parts[i]));
  } else {
    std::memcpy(p, parts.data(), 8 * parts.size());
  }
}

TEST_F(AlongDim, PerTermRoundingAndWrapAround) {
  const double inf = INFINITY, e24 = 0x1p-24, e53 = 0x1p-53, e60 = 0x1p-60;
  const std::vector<Case> cases = {
      {"SUM_I1", {{100}, {100}}, {-56}},
      {"PROD_I1", {{16}, {16}, {3}}, {0}},
      {"PROD_I2", {{300}, {300}}, {24464}},
      {"SUM_I2", {{32767}, {1}}, {-32768}},
      {"PROD_I4", {{65536}, {65536}}, {0}},
      {"SUM_I4", {{2147483647}, {1}}, {-2147483648.0}},
      {"SUM_J", {{4294967295.0}, {1}}, {4294967296.0}},
      {"PROD_J", {{2147483648.0}, {2147483648.0}}, {0x1p62}},
      {"PROD_J", {{-3}, {5}}, {-15}},
      // Rounded to the element after every term: the small terms are lost...
      {"SUM_S4", {{1}, {e24}, {e24}}, {1}},
      // ...unless they come first.
      {"SUM_S4", {{e24}, {e24}, {1}}, {1 + 2 * e24}},
      {"SUM_S", {{1}, {e53}, {e53}}, {1}},
      {"SUM_S", {{-0.0}, {-0.0}}, {0.0}},
      {"PROD_S", {{2}, {-0.0}}, {-0.0}},
      {"SUM_S4", {{3e38}, {3e38}}, {inf}},
      {"SUM_C4", {{1, 0}, {e24, 0}, {e24, 0}}, {1, 0}},
      {"PROD_C", {{0, 1}, {0, 1}}, {-1, 0}},
      {"PROD_C4", {{0, 2}, {3, 0}, {0, -1}}, {6, 0}},
      {"SUM_C", {{-0.0, -0.0}}, {0.0, 0.0}},
      {"SUM_D", {{1, 0}, {e60, 0}, {e60, 0}}, {1, 2 * e60}},
      {"PROD_D", {{3, 0}, {1.0 / 3, 0}}, {1, -0x1p-54}},
      {"PROD_Z", {{0, 0, 1, 0}, {0, 0, 1, 0}}, {-1, 0, 0, 0}},
      {"SUM_Z", {{1, 0, 2, 0}, {e60, 0, e60, 0}}, {1, e60, 2, e60}},
  };
  for (const Case& c : cases) {
    const DimEntry& e = entry(c.entry);
    const int32_t n = static_cast<int32_t>(c.terms.size());
    TestArray a(e.type, {n, 2}, {}, {-1, 1});  // DIM backwards in memory
    for (int32_t i = 0; i < n; ++i)
      for (int64_t j = 0; j < 2; ++j) store_parts(a.at({i, j}), e.type, c.terms[i]);
    Bytes want(e.type.bytes());
    if (std::string(c.entry) == "PROD_D") {
      DD t;
      _morvex_qmul(&t, DD{1, 0}, DD{3, 0});
      DD u;
      _morvex_qmul(&u, t, DD{1.0 / 3, 0});
      store_bytes(reinterpret_cast<char*>(want.data()), u);
    } else {
      store_parts(reinterpret_cast<char*>(want.data()), e.type, c.want);
    }
    TestArray r(e.type, {2});
    const int32_t dim = 1;
    e.fn(r.desc(), a.desc(), &dim, nullptr);
    for (int64_t j = 0; j < 2; ++j)
      EXPECT_EQ(Bytes(r.at({j}), r.at({j}) + e.type.bytes()), want) << c.entry << " " << c.want[0];
  }
  EXPECT_TRUE(Runtime::reports().empty());
}

TEST_F(AlongDim, EmptyDimOrFalseMaskGivesTheIdentity) {
  for (const DimEntry& e : kEntries) {
    TestArray a(e.type, {0, 4});
    auto rd = f90test::unallocated_result(e.type, 1);
    const int32_t dim = 1;
    e.fn(rd.get(), a.desc(), &dim, nullptr);
    ASSERT_EQ(rd->dim[0].extent, 4) << e.name;
    for (int k = 0; k < 4; ++k) {
      const char* p = completed_at(rd.get(), e.type.bytes(), k);
      EXPECT_EQ(Bytes(p, p + e.type.bytes()), identity(e)) << e.name;
    }
    TestArray b(e.type, {3, 2});
    sums::random_fill(b, e.product, rng);
    TestArray off(ElemType::logical(4), {});
    off.set_linear<uint32_t>(0, 0);
    TestArray r(e.type, {3});
    const int32_t dim2 = 2;
    e.fn(r.desc(), b.desc(), &dim2, off.desc());
    for (int64_t k = 0; k < 3; ++k) EXPECT_EQ(Bytes(r.at({k}), r.at({k}) + e.type.bytes()), identity(e)) << e.name;
    // Another extent 0: an empty result with no storage.
    TestArray c(e.type, {3, 0});
    auto rc = f90test::unallocated_result(e.type, 1);
    e.fn(rc.get(), c.desc(), &dim, nullptr);
    EXPECT_TRUE(rc->flags & F90_FLAG_ASSOC);
    EXPECT_EQ(rc->base, nullptr);
    EXPECT_EQ(rc->dim[0].extent, 0);
  }
  EXPECT_TRUE(Runtime::reports().empty());
}

TEST_F(AlongDim, ReportsStoreNothing) {
  const DimEntry& e = entry("SUM_I4");
  TestArray a(ElemType::integer(4), {2, 3});
  a.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(k); });
  for (int32_t dim : {0, -1, 3, INT32_MIN}) {
    Runtime::reset();
    TestArray r(ElemType::integer(4), {3}, {}, {}, 0x77);
    e.fn(r.desc(), a.desc(), &dim, nullptr);
    EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1405}) << dim;
    EXPECT_EQ(r.get_linear<uint32_t>(0), 0x77777777u) << dim;
    auto rd = f90test::unallocated_result(e.type, 1);
    e.fn(rd.get(), a.desc(), &dim, nullptr);
    EXPECT_FALSE(rd->flags & F90_FLAG_ASSOC) << dim;
  }
  Runtime::reset();
  Runtime::fail_allocation(1);
  auto rd = f90test::unallocated_result(e.type, 1);
  const int32_t dim = 1;
  e.fn(rd.get(), a.desc(), &dim, nullptr);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1205});
  EXPECT_FALSE(rd->flags & F90_FLAG_ASSOC);
}

// Results and MASKs that do not match the source: nothing is stored or read
// outside what exists.
TEST_F(AlongDim, MismatchedResultAndMask) {
  const int32_t dim = 1;
  TestArray a(ElemType::real(8), {3, 5});
  a.fill_linear<double>([](int64_t k) { return static_cast<double>(k + 1); });
  {  // a result of 2 elements for 5 columns: the first two columns only
    TestArray r(ElemType::real(8), {2}, {}, {-2});
    _SUM_S(r.desc(), a.desc(), &dim, nullptr);
    EXPECT_EQ(r.get<double>({0}), 1 + 2 + 3);
    EXPECT_EQ(r.get<double>({1}), 4 + 5 + 6);
    EXPECT_TRUE(r.outside_untouched());
  }
  {  // a 2 x 3 MASK on a 3 x 5 source: missing MASK elements are false
    TestArray m(ElemType::logical(2), {2, 3});
    m.fill_linear<uint16_t>([](int64_t) { return uint16_t{1}; });
    TestArray r(ElemType::real(8), {5});
    _SUM_S(r.desc(), a.desc(), &dim, m.desc());
    const double want[] = {1 + 2, 4 + 5, 7 + 8, 0, 0};
    for (int64_t j = 0; j < 5; ++j) EXPECT_EQ(r.get<double>({j}), want[j]) << j;
  }
  {  // a MASK of another rank without elements: every term false
    TestArray m(ElemType::logical(4), {0});
    TestArray r(ElemType::real(8), {5});
    _PROD_S(r.desc(), a.desc(), &dim, m.desc());
    for (int64_t j = 0; j < 5; ++j) EXPECT_EQ(r.get<double>({j}), 1.0) << j;
  }
  {  // a supplied result with no storage receives nothing
    TestArray r(ElemType::real(8), {5});
    r.desc()->base = nullptr;
    _SUM_S(r.desc(), a.desc(), &dim, nullptr);
    for (int64_t j = 0; j < 5; ++j) EXPECT_EQ(r.get<uint64_t>({j}), 0xABABABABABABABABull) << j;
  }
  EXPECT_TRUE(Runtime::reports().empty());
}

}  // namespace
