// DOT_PRODUCT set-up, dispatching entries and the integer, logical and
// integer-by-real kernels: every kernel against a naive reference over random
// sections under both control words, the dispatch table, the stride rule and
// the literal cases that pin each family's rule.
#include <gtest/gtest.h>

#include "control_word.h"
#include "dots.h"
#include "guard_page.h"

namespace {

using namespace dots;
using f90test::kCwLibrary;
using f90test::kCwLinux;

// How a kernel sums, as the reference computes it.
enum class Fam {
  narrow,      // 32-bit wrapping sum, cut to `bytes`, sign-extended
  wide,        // 64-bit wrapping sum
  x87,         // x87 register sum, st(0) unrounded
  stored,      // sum rounded to `bytes` (4 or 8) after every term
  cx_x87,      // complex x87 register sums, parts rounded once to `bytes`
  cx_stored,   // complex sums rounded to `bytes` after every term
  logical,     // OR of ANDs, cut to `bytes`
};

struct Row {
  const char* name;
  Call fn;
  K a, b;
  Fam fam;
  int bytes;  // result width (see Fam)
};

template <class T>
Out as_int_result(uint64_t sum, int bytes, bool sign) {
  int64_t v;
  const int sh = 64 - 8 * bytes;
  if (sign)
    v = static_cast<int64_t>(sum << sh) >> sh;
  else
    v = static_cast<int64_t>((sum << sh) >> sh);
  return out_of(static_cast<T>(v));
}

Out reference(const Row& r, Pair& p) {
  TestArray& a = *p.a;
  TestArray& b = *p.b;
  const int64_t n = p.n > 0 ? p.n : 0;
  switch (r.fam) {
    case Fam::narrow: {
      int64_t s = 0;
      for (int64_t i = 0; i < n; ++i) s = (s + int_at(a, r.a, i) * int_at(b, r.b, i)) & 0xffffffff;
      return as_int_result<int32_t>(static_cast<uint64_t>(s), r.bytes, true);
    }
    case Fam::wide: {
      uint64_t s = 0;
      for (int64_t i = 0; i < n; ++i)
        s += static_cast<uint64_t>(int_at(a, r.a, i)) * static_cast<uint64_t>(int_at(b, r.b, i));
      return out_of(s);
    }
    case Fam::x87: {
      long double s = 0;
      for (int64_t i = 0; i < n; ++i) s = s + x87_at(a, r.a, i) * x87_at(b, r.b, i);
      return out_of_x87(s);
    }
    case Fam::stored: {
      if (r.bytes == 4) {
        float s = 0;
        for (int64_t i = 0; i < n; ++i) s = stored<float>(s + x87_at(a, r.a, i) * x87_at(b, r.b, i));
        return out_of(s);
      }
      double s = 0;
      for (int64_t i = 0; i < n; ++i) s = stored<double>(s + x87_at(a, r.a, i) * x87_at(b, r.b, i));
      return out_of(s);
    }
    case Fam::cx_x87:
    case Fam::cx_stored: {
      // The complex operand conjugated when it is A.
      const bool conj = is_complex(r.a);
      long double re = 0, im = 0;
      for (int64_t i = 0; i < n; ++i) {
        const long double k = conj ? x87_at(b, r.b, i) : x87_at(a, r.a, i);
        TestArray& c = conj ? a : b;
        const K kc = conj ? r.a : r.b;
        const long double cre = x87_at(c, kc, i, 0), cim = x87_at(c, kc, i, 1);
        re = re + k * cre;
        im = conj ? im - k * cim : im + k * cim;
        if (r.fam == Fam::cx_stored) {
          re = r.bytes == 4 ? stored<float>(re) : stored<double>(re);
          im = r.bytes == 4 ? stored<float>(im) : stored<double>(im);
        }
      }
      if (r.bytes == 4) return out_of(Complex8{stored<float>(re), stored<float>(im)});
      return out_of(Complex16{stored<double>(re), stored<double>(im)});
    }
    case Fam::logical: {
      uint32_t v = 0;
      for (int64_t i = 0; i < n; ++i) v |= logical_at(a, r.a, i) & logical_at(b, r.b, i);
      if (r.bytes == 8) return out_of(uint64_t{v});
      return as_int_result<uint32_t>(v, r.bytes, false);
    }
  }
  return {};
}

// clang-format off
const Row kKernels[] = {
  {"MX_DOT_I4I4", call(MX_DOT_I4I4), K::i4, K::i4, Fam::narrow, 4},
  {"MX_DOT_I4I2", call(MX_DOT_I4I2), K::i4, K::i2, Fam::narrow, 4},
  {"MX_DOT_I4I1", call(MX_DOT_I4I1), K::i4, K::i1, Fam::narrow, 4},
  {"MX_DOT_I2I4", call(MX_DOT_I2I4), K::i2, K::i4, Fam::narrow, 4},
  {"MX_DOT_I2I2", call(MX_DOT_I2I2), K::i2, K::i2, Fam::narrow, 2},
  {"MX_DOT_I2I1", call(MX_DOT_I2I1), K::i2, K::i1, Fam::narrow, 2},
  {"MX_DOT_I1I4", call(MX_DOT_I1I4), K::i1, K::i4, Fam::narrow, 4},
  {"MX_DOT_I1I2", call(MX_DOT_I1I2), K::i1, K::i2, Fam::narrow, 2},
  {"MX_DOT_I1I1", call(MX_DOT_I1I1), K::i1, K::i1, Fam::narrow, 1},
  {"MX_DOT_JJ", call(MX_DOT_JJ), K::j, K::j, Fam::wide, 8},
  {"MX_DOT_JI4", call(MX_DOT_JI4), K::j, K::i4, Fam::wide, 8},
  {"MX_DOT_JI2", call(MX_DOT_JI2), K::j, K::i2, Fam::wide, 8},
  {"MX_DOT_JI1", call(MX_DOT_JI1), K::j, K::i1, Fam::wide, 8},
  {"MX_DOT_I4J", call(MX_DOT_I4J), K::i4, K::j, Fam::wide, 8},
  {"MX_DOT_I2J", call(MX_DOT_I2J), K::i2, K::j, Fam::wide, 8},
  {"MX_DOT_I1J", call(MX_DOT_I1J), K::i1, K::j, Fam::wide, 8},
  {"MX_DOT_I4S", call(MX_DOT_I4S), K::i4, K::s, Fam::x87, 8},
  {"MX_DOT_I2S", call(MX_DOT_I2S), K::i2, K::s, Fam::x87, 8},
  {"MX_DOT_I1S", call(MX_DOT_I1S), K::i1, K::s, Fam::x87, 8},
  {"MX_DOT_SI4", call(MX_DOT_SI4), K::s, K::i4, Fam::x87, 8},
  {"MX_DOT_SI2", call(MX_DOT_SI2), K::s, K::i2, Fam::x87, 8},
  {"MX_DOT_SI1", call(MX_DOT_SI1), K::s, K::i1, Fam::x87, 8},
  {"MX_DOT_I4S4", call(MX_DOT_I4S4), K::i4, K::s4, Fam::x87, 4},
  {"MX_DOT_I2S4", call(MX_DOT_I2S4), K::i2, K::s4, Fam::x87, 4},
  {"MX_DOT_I1S4", call(MX_DOT_I1S4), K::i1, K::s4, Fam::x87, 4},
  {"MX_DOT_S4I4", call(MX_DOT_S4I4), K::s4, K::i4, Fam::x87, 4},
  {"MX_DOT_S4I2", call(MX_DOT_S4I2), K::s4, K::i2, Fam::x87, 4},
  {"MX_DOT_S4I1", call(MX_DOT_S4I1), K::s4, K::i1, Fam::x87, 4},
  {"MX_DOT_JS", call(MX_DOT_JS), K::j, K::s, Fam::stored, 8},
  {"MX_DOT_SJ", call(MX_DOT_SJ), K::s, K::j, Fam::stored, 8},
  {"MX_DOT_JS4", call(MX_DOT_JS4), K::j, K::s4, Fam::stored, 4},
  {"MX_DOT_S4J", call(MX_DOT_S4J), K::s4, K::j, Fam::stored, 4},
  {"MX_DOT_C4I4", call(MX_DOT_C4I4), K::c4, K::i4, Fam::cx_x87, 4},
  {"MX_DOT_C4I2", call(MX_DOT_C4I2), K::c4, K::i2, Fam::cx_x87, 4},
  {"MX_DOT_C4I1", call(MX_DOT_C4I1), K::c4, K::i1, Fam::cx_x87, 4},
  {"MX_DOT_CI4", call(MX_DOT_CI4), K::c, K::i4, Fam::cx_x87, 8},
  {"MX_DOT_CI2", call(MX_DOT_CI2), K::c, K::i2, Fam::cx_x87, 8},
  {"MX_DOT_CI1", call(MX_DOT_CI1), K::c, K::i1, Fam::cx_x87, 8},
  {"MX_DOT_I4C", call(MX_DOT_I4C), K::i4, K::c, Fam::cx_x87, 8},
  {"MX_DOT_I2C", call(MX_DOT_I2C), K::i2, K::c, Fam::cx_x87, 8},
  {"MX_DOT_I1C", call(MX_DOT_I1C), K::i1, K::c, Fam::cx_x87, 8},
  {"MX_DOT_I4C4", call(MX_DOT_I4C4), K::i4, K::c4, Fam::cx_x87, 4},
  {"MX_DOT_I2C4", call(MX_DOT_I2C4), K::i2, K::c4, Fam::cx_x87, 4},
  {"MX_DOT_I1C4", call(MX_DOT_I1C4), K::i1, K::c4, Fam::cx_x87, 4},
  {"MX_DOT_C4J", call(MX_DOT_C4J), K::c4, K::j, Fam::cx_stored, 4},
  {"MX_DOT_CJ", call(MX_DOT_CJ), K::c, K::j, Fam::cx_stored, 8},
  {"MX_DOT_JC", call(MX_DOT_JC), K::j, K::c, Fam::cx_stored, 8},
  {"MX_DOT_JC4", call(MX_DOT_JC4), K::j, K::c4, Fam::cx_stored, 4},
  {"_DOT_LL", call(_DOT_LL), K::l, K::l, Fam::logical, 8},
  {"MX_DOT_LL4", call(MX_DOT_LL4), K::l, K::l4, Fam::logical, 8},
  {"MX_DOT_LL2", call(MX_DOT_LL2), K::l, K::l2, Fam::logical, 8},
  {"MX_DOT_LL1", call(MX_DOT_LL1), K::l, K::l1, Fam::logical, 8},
  {"MX_DOT_L4L", call(MX_DOT_L4L), K::l4, K::l, Fam::logical, 8},
  {"MX_DOT_L2L", call(MX_DOT_L2L), K::l2, K::l, Fam::logical, 8},
  {"MX_DOT_L1L", call(MX_DOT_L1L), K::l1, K::l, Fam::logical, 8},
  {"MX_DOT_L4L4", call(MX_DOT_L4L4), K::l4, K::l4, Fam::logical, 4},
  {"MX_DOT_L4L2", call(MX_DOT_L4L2), K::l4, K::l2, Fam::logical, 4},
  {"MX_DOT_L4L1", call(MX_DOT_L4L1), K::l4, K::l1, Fam::logical, 4},
  {"MX_DOT_L2L4", call(MX_DOT_L2L4), K::l2, K::l4, Fam::logical, 4},
  {"MX_DOT_L2L2", call(MX_DOT_L2L2), K::l2, K::l2, Fam::logical, 2},
  {"MX_DOT_L2L1", call(MX_DOT_L2L1), K::l2, K::l1, Fam::logical, 2},
  {"MX_DOT_L1L4", call(MX_DOT_L1L4), K::l1, K::l4, Fam::logical, 4},
  {"MX_DOT_L1L2", call(MX_DOT_L1L2), K::l1, K::l2, Fam::logical, 2},
  {"MX_DOT_L1L1", call(MX_DOT_L1L1), K::l1, K::l1, Fam::logical, 1},
};
// clang-format on

class DotKernels : public f90test::ControlWordTest {};

// Every kernel on random sections (n from -2 to 300, steps -3..3 but not 0),
// under the library's control word and the process default, bit for bit.
TEST_F(DotKernels, MatchNaiveReference) {
  for (const Row& r : kKernels)
    check_against_reference(r.name, r.fn, r.a, r.b, [&](Pair& p) { return reference(r, p); },
                            {-2, 0, 1, 2, 3, 5, 8, 33, 300}, 8);
}

// The zero of every result kind when A's extent is 0 or negative, with both
// bases null.
TEST_F(DotKernels, EmptyGivesZeroOfTheKind) {
  for (const Row& r : kKernels) {
    for (int32_t n : {0, -1, INT32_MIN}) {
      Pair p = random_pair(r.a, r.b, n, 1, 1);
      const Out got = r.fn(p.a->desc(), p.b->desc());
      const Out want = reference(r, p);
      for (uint8_t byte : want.bytes) ASSERT_EQ(byte, 0) << "a zero of the kind has no set bit";
      EXPECT_EQ(got.show(), want.show()) << r.name << " n=" << n;
    }
  }
}

// ---- the dispatch table ---------------------------------------------------------

// Each dispatching entry, the operand(s) that select, and its kernels in
// the order 4-, 2-, 1-byte (row-major for two selecting operands).
struct Dispatch {
  const char* name;
  Call entry;
  K a, b;  // the kinds the operands have apart from the selecting width
  char select;  // 'A', 'B', '2' (A then B) or '-' (one kernel)
  std::vector<Call> kernels;
};

// clang-format off
const std::vector<Dispatch>& dispatch_table() {
  static const std::vector<Dispatch> t = {
    {"_DOT_JJ", call(_DOT_JJ), K::j, K::j, '-', {call(MX_DOT_JJ)}},
    {"_DOT_JI4", call(_DOT_JI4), K::j, K::i4, 'B', {call(MX_DOT_JI4), call(MX_DOT_JI2), call(MX_DOT_JI1)}},
    {"_DOT_I4J", call(_DOT_I4J), K::i4, K::j, 'A', {call(MX_DOT_I4J), call(MX_DOT_I2J), call(MX_DOT_I1J)}},
    {"_DOT_I4I4", call(_DOT_I4I4), K::i4, K::i4, '2',
     {call(MX_DOT_I4I4), call(MX_DOT_I4I2), call(MX_DOT_I4I1), call(MX_DOT_I2I4), call(MX_DOT_I2I2),
      call(MX_DOT_I2I1), call(MX_DOT_I1I4), call(MX_DOT_I1I2), call(MX_DOT_I1I1)}},
    {"_DOT_C4J", call(_DOT_C4J), K::c4, K::j, '-', {call(MX_DOT_C4J)}},
    {"_DOT_C4I4", call(_DOT_C4I4), K::c4, K::i4, 'B', {call(MX_DOT_C4I4), call(MX_DOT_C4I2), call(MX_DOT_C4I1)}},
    {"_DOT_CJ", call(_DOT_CJ), K::c, K::j, '-', {call(MX_DOT_CJ)}},
    {"_DOT_CI4", call(_DOT_CI4), K::c, K::i4, 'B', {call(MX_DOT_CI4), call(MX_DOT_CI2), call(MX_DOT_CI1)}},
    {"_DOT_JC", call(_DOT_JC), K::j, K::c, '-', {call(MX_DOT_JC)}},
    {"_DOT_I4C", call(_DOT_I4C), K::i4, K::c, 'A', {call(MX_DOT_I4C), call(MX_DOT_I2C), call(MX_DOT_I1C)}},
    {"_DOT_JC4", call(_DOT_JC4), K::j, K::c4, '-', {call(MX_DOT_JC4)}},
    {"_DOT_I4C4", call(_DOT_I4C4), K::i4, K::c4, 'A', {call(MX_DOT_I4C4), call(MX_DOT_I2C4), call(MX_DOT_I1C4)}},
    {"_DOT_JS", call(_DOT_JS), K::j, K::s, '-', {call(MX_DOT_JS)}},
    {"_DOT_I4S", call(_DOT_I4S), K::i4, K::s, 'A', {call(MX_DOT_I4S), call(MX_DOT_I2S), call(MX_DOT_I1S)}},
    {"_DOT_JS4", call(_DOT_JS4), K::j, K::s4, '-', {call(MX_DOT_JS4)}},
    {"_DOT_I4S4", call(_DOT_I4S4), K::i4, K::s4, 'A', {call(MX_DOT_I4S4), call(MX_DOT_I2S4), call(MX_DOT_I1S4)}},
    {"_DOT_S4J", call(_DOT_S4J), K::s4, K::j, '-', {call(MX_DOT_S4J)}},
    {"_DOT_S4I4", call(_DOT_S4I4), K::s4, K::i4, 'B', {call(MX_DOT_S4I4), call(MX_DOT_S4I2), call(MX_DOT_S4I1)}},
    {"_DOT_SJ", call(_DOT_SJ), K::s, K::j, '-', {call(MX_DOT_SJ)}},
    {"_DOT_SI4", call(_DOT_SI4), K::s, K::i4, 'B', {call(MX_DOT_SI4), call(MX_DOT_SI2), call(MX_DOT_SI1)}},
    {"_DOT_L4L4", call(_DOT_L4L4), K::l4, K::l4, '2',
     {call(MX_DOT_L4L4), call(MX_DOT_L4L2), call(MX_DOT_L4L1), call(MX_DOT_L2L4), call(MX_DOT_L2L2),
      call(MX_DOT_L2L1), call(MX_DOT_L1L4), call(MX_DOT_L1L2), call(MX_DOT_L1L1)}},
    {"_DOT_LL4", call(_DOT_LL4), K::l, K::l4, 'B', {call(MX_DOT_LL4), call(MX_DOT_LL2), call(MX_DOT_LL1)}},
    {"_DOT_L4L", call(_DOT_L4L), K::l4, K::l, 'A', {call(MX_DOT_L4L), call(MX_DOT_L2L), call(MX_DOT_L1L)}},
  };
  return t;
}
// clang-format on

// The kernel index that an int_len selects: 32, 16, anything else.
int width_index(uint32_t bits) { return bits == 32 ? 0 : bits == 16 ? 1 : 2; }

void set_int_len(AD* d, uint32_t bits) {
  d->type_word = (d->type_word & ~F90_TW_INT_LEN_MASK) | (bits << F90_TW_INT_LEN_SHIFT);
}

// The entry's result equals that of the kernel its operands' int_len picks,
// and (with these random operands) differs from every other kernel's, for
// int_len 32, 16, 8 and lengths no kernel has (0, 24, 64, 4095). The
// selecting operands are 4-byte arrays whose descriptors are relabelled:
// every kernel then reads the same bytes in its own width (stride 2 units,
// so that no int_len makes the element step 0).
TEST_F(DotKernels, DispatchTable) {
  const uint32_t lengths[] = {32, 16, 8, 0, 24, 64, 4095};
  for (const Dispatch& d : dispatch_table()) {
    for (uint32_t la : lengths) {
      for (uint32_t lb : lengths) {
        if (d.select == '-' && (la != 32 || lb != 32)) continue;
        if (d.select == 'A' && lb != 32) continue;
        if (d.select == 'B' && la != 32) continue;
        size_t want = 0;
        if (d.select == 'A') want = width_index(la);
        if (d.select == 'B') want = width_index(lb);
        if (d.select == '2') want = 3 * width_index(la) + width_index(lb);
        // Random operands on which the picked kernel's result differs from
        // every other kernel's (drawn again until it does), so that a wrong
        // pick cannot pass.
        for (int attempt = 0;; ++attempt) {
          ASSERT_LT(attempt, 200) << d.name << ": no operands tell the kernels apart";
          Pair p = random_pair(d.a, d.b, 3, 2, 2);
          if (d.select == 'A' || d.select == '2') set_int_len(p.a->desc(), la);
          if (d.select == 'B' || d.select == '2') set_int_len(p.b->desc(), lb);
          std::vector<Out> by_kernel;
          for (const Call& k : d.kernels) by_kernel.push_back(k(p.a->desc(), p.b->desc()));
          bool unique = true;
          for (size_t k = 0; k < by_kernel.size(); ++k)
            if (k != want && by_kernel[k] == by_kernel[want]) unique = false;
          if (!unique) continue;
          const Out got = d.entry(p.a->desc(), p.b->desc());
          EXPECT_EQ(got.show(), by_kernel[want].show()) << d.name << " int_len " << la << "," << lb;
          break;
        }
      }
    }
  }
}

// ---- the set-up ------------------------------------------------------------------

TEST(DotSetup, ElementStrideFromIntLen) {
  struct Case {
    uint32_t int_len;
    int32_t stride, step;
  } cases[] = {
      {8, 3, 3},     {8, -3, -3},   {16, 2, 1},    {16, -6, -3},  {24, 4, 2},   {9, -1, -1},
      {32, 5, 5},    {32, -5, -5},  {64, 4, 2},    {64, -3, -2},  {128, 8, 2},  {128, -4, -1},
      {256, 8, 1},   {256, -24, -3}, {0, 7, 7},    {48, 7, 7},    {4095, -7, -7},
  };
  for (const Case& c : cases) {
    TestArray a(ElemType::real(8), {4});
    TestArray b(ElemType::integer(4), {9});
    set_int_len(b.desc(), c.int_len);
    b.desc()->dim[0].stride = c.stride;
    a.desc()->dim[0].extent = 11;
    f90test::GuardedDescriptor ga(a.desc()), gb(b.desc());  // rank 1: 9 words, then a guard page
    int32_t n = 0, as = 0, bs = 0;
    const void *af = nullptr, *bf = nullptr;
    _PREDOT(ga.get(), gb.get(), &n, &af, &as, &bf, &bs);
    EXPECT_EQ(n, 11);
    EXPECT_EQ(as, 1);
    EXPECT_EQ(bs, c.step) << "int_len " << c.int_len << " stride " << c.stride;
    EXPECT_EQ(af, a.desc()->base);
    EXPECT_EQ(bf, b.desc()->base);
  }
}

// ---- literal cases ----------------------------------------------------------------


TEST_F(DotKernels, LiteralCases) {
  {  // the 16-bit result of a 32-bit sum, sign-extended through the entry
    auto a = array_of<int16_t>(K::i2, {30000, 30000});
    auto b = array_of<int16_t>(K::i2, {2, 2});
    EXPECT_EQ(_DOT_I4I4(a->desc(), b->desc()), -11072);
  }
  {
    auto a = array_of<int32_t>(K::i4, {2147483647});
    auto b = array_of<int32_t>(K::i4, {2});
    EXPECT_EQ(MX_DOT_I4I4(a->desc(), b->desc()), -2);
  }
  {  // INTEGER*2 by INTEGER*1: MX_DOT_I2I1, sign-extended from 16 bits
    auto a = array_of<int16_t>(K::i2, {-300, 200});
    auto b = array_of<int8_t>(K::i1, {100, -128});
    EXPECT_EQ(_DOT_I4I4(a->desc(), b->desc()), static_cast<int16_t>(-30000 - 25600));
  }
  {  // complex first operand conjugated, second not
    auto c = array_of<Complex8>(K::c4, {{1.0f, 2.0f}});
    auto k = array_of<int32_t>(K::i4, {3});
    Complex8 r{};
    EXPECT_EQ(_DOT_C4I4(&r, c->desc(), k->desc()), &r);
    EXPECT_EQ(r.re, 3.0f);
    EXPECT_EQ(r.im, -6.0f);
    EXPECT_EQ(_DOT_I4C4(&r, k->desc(), c->desc()), &r);
    EXPECT_EQ(r.re, 3.0f);
    EXPECT_EQ(r.im, 6.0f);
  }
  for (uint16_t cw : {kCwLibrary, kCwLinux}) {  // rounded to REAL*8 every term
    auto a = array_of<int64_t>(K::j, {int64_t{1} << 53, 1, 1});
    auto b = array_of<double>(K::s, {1.0, 1.0, 1.0});
    f90test::under_cw(cw, [&] { EXPECT_EQ(_DOT_JS(a->desc(), b->desc()), 0x1p53); });
  }
  {  // x87 register sum kept unrounded: 2^53 + 1 + 1 under 64-bit precision
    auto a = array_of<int32_t>(K::i4, {1, 1, 1});
    auto b = array_of<double>(K::s, {0x1p53, 1.0, 1.0});
    f90test::under_cw(kCwLinux, [&] { EXPECT_EQ(_DOT_I4S(a->desc(), b->desc()), 0x1p53L + 2); });
    f90test::under_cw(kCwLibrary, [&] { EXPECT_EQ(_DOT_I4S(a->desc(), b->desc()), 0x1p53L); });
  }
  {  // logical values combined bit by bit, not normalised
    auto a = array_of<uint32_t>(K::l4, {2});
    auto b = array_of<uint32_t>(K::l4, {1});
    EXPECT_EQ(_DOT_L4L4(a->desc(), b->desc()), 0u);
    auto c = array_of<uint16_t>(K::l2, {257});
    auto d = array_of<uint8_t>(K::l1, {1});
    EXPECT_EQ(_DOT_L4L4(c->desc(), d->desc()), 1u);
    auto e = array_of<uint16_t>(K::l2, {0x8001});
    auto f = array_of<uint16_t>(K::l2, {0x8000});
    EXPECT_EQ(_DOT_L4L4(e->desc(), f->desc()), 0x8000u) << "zero-extended, not sign-extended";
  }
  {  // LOGICAL*8: high words never read, result high word 0
    auto a = array_of<uint64_t>(K::l, {0xffffffff00000000ull, 0x1234567800000005ull});
    auto b = array_of<uint64_t>(K::l, {0xffffffffffffffffull, 0xffffffff00000004ull});
    EXPECT_EQ(_DOT_LL(a->desc(), b->desc()), 4u);
  }
}

// B is read for exactly A's extent: a longer B has its surplus ignored, and
// a B that ends at a guard page is not read past its end.
TEST_F(DotKernels, BReadForExactlyN) {
  f90test::GuardedBuffer guard(3 * 4);
  const int32_t vb[3] = {5, 6, 7};
  std::memcpy(guard.data(), vb, sizeof vb);
  auto a = array_of<int32_t>(K::i4, {1, 10, 100});
  auto b = array_of<int32_t>(K::i4, {0, 0, 0});
  b->desc()->base = guard.data();
  b->desc()->dim[0].extent = 0;
  EXPECT_EQ(_DOT_I4I4(a->desc(), b->desc()), 5 + 60 + 700);
  auto longer = array_of<int32_t>(K::i4, {5, 6, 7, 1000, 1000});
  EXPECT_EQ(_DOT_I4I4(a->desc(), longer->desc()), 765);
  // A negative stride walks B downward from its first element.
  auto down = array_of<int32_t>(K::i4, {5, 6, 7}, -1);
  ASSERT_EQ(down->desc()->dim[0].stride, -1);
  ASSERT_GT(static_cast<char*>(down->desc()->base), down->at_linear(2));
  EXPECT_EQ(_DOT_I4I4(a->desc(), down->desc()), 765);
}

}  // namespace
