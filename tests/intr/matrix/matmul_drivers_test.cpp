// Every MATMUL entry point against a naive reference of the whole product
// built from the drivers' decompositions and the kernels' element models
// (models.h): the same-kind GEMV and GEMM paths, one kernel direct or
// transposed (the kernel's first operand then the driver's B: the zero skip
// tests A's elements, the REAL*16 product takes B's factor first), the real
// and imaginary parts strategy and the four calls with C stored at its kind
// in between. Bit-exact over rank pairs (2,2), (2,1), (1,2), both
// transposition flags, sections with non-unit and negative strides (and
// wide ones that make the kernels take the column order), m, n, k of 0 and
// 1, supplied and unallocated results, random operands with zeros,
// infinities and NaNs; the default-length integer and logical operands in
// each of their three widths.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <string>

#include "control_word.h"
#include "descriptor_builder.h"
#include "f90/matmul.h"
#include "models.h"
#include "recording_runtime.h"

namespace {

using namespace mxtest;
using f90test::ElemType;
using f90test::Runtime;
using f90test::RuntimeScope;
using f90test::TestArray;

using Driver = void(ArrayDescriptor*, const ArrayDescriptor*, const ArrayDescriptor*,
                    const int32_t*);
enum class How { same, one, parts, four };

struct DriverRow {
  const char* name;
  Driver* fn;
  Kd a, b, c;  // for a default-length operand its 4-byte kind
  How how;
  bool t;      // the kernel takes B first
};

constexpr bool T = true, F = false;
const DriverRow kDrivers[] = {
    {"_MATMUL_S4S4", _MATMUL_S4S4, Kd::r4, Kd::r4, Kd::r4, How::same, F},
    {"_MATMUL_SS", _MATMUL_SS, Kd::r8, Kd::r8, Kd::r8, How::same, F},
    {"_MATMUL_DD", _MATMUL_DD, Kd::r16, Kd::r16, Kd::r16, How::one, F},
    {"_MATMUL_C4C4", _MATMUL_C4C4, Kd::c8, Kd::c8, Kd::c8, How::same, F},
    {"_MATMUL_CC", _MATMUL_CC, Kd::c16, Kd::c16, Kd::c16, How::same, F},
    {"_MATMUL_ZZ", _MATMUL_ZZ, Kd::c32, Kd::c32, Kd::c32, How::same, F},
    {"_MATMUL_S4S", _MATMUL_S4S, Kd::r4, Kd::r8, Kd::r8, How::one, F},
    {"_MATMUL_SS4", _MATMUL_SS4, Kd::r8, Kd::r4, Kd::r8, How::one, T},
    {"_MATMUL_DS", _MATMUL_DS, Kd::r16, Kd::r8, Kd::r16, How::one, F},
    {"_MATMUL_DS4", _MATMUL_DS4, Kd::r16, Kd::r4, Kd::r16, How::one, F},
    {"_MATMUL_S4D", _MATMUL_S4D, Kd::r4, Kd::r16, Kd::r16, How::one, T},
    {"_MATMUL_C4S4", _MATMUL_C4S4, Kd::c8, Kd::r4, Kd::c8, How::parts, F},
    {"_MATMUL_S4C4", _MATMUL_S4C4, Kd::r4, Kd::c8, Kd::c8, How::parts, F},
    {"_MATMUL_C4S", _MATMUL_C4S, Kd::c8, Kd::r8, Kd::c16, How::parts, F},
    {"_MATMUL_SC4", _MATMUL_SC4, Kd::r8, Kd::c8, Kd::c16, How::parts, T},
    {"_MATMUL_CS4", _MATMUL_CS4, Kd::c16, Kd::r4, Kd::c16, How::parts, T},
    {"_MATMUL_S4C", _MATMUL_S4C, Kd::r4, Kd::c16, Kd::c16, How::parts, F},
    {"_MATMUL_CS", _MATMUL_CS, Kd::c16, Kd::r8, Kd::c16, How::parts, F},
    {"_MATMUL_SC", _MATMUL_SC, Kd::r8, Kd::c16, Kd::c16, How::parts, F},
    {"_MATMUL_CD", _MATMUL_CD, Kd::c16, Kd::r16, Kd::c32, How::parts, T},
    {"_MATMUL_DC", _MATMUL_DC, Kd::r16, Kd::c16, Kd::c32, How::parts, F},
    {"_MATMUL_ZS4", _MATMUL_ZS4, Kd::c32, Kd::r4, Kd::c32, How::parts, T},
    {"_MATMUL_S4Z", _MATMUL_S4Z, Kd::r4, Kd::c32, Kd::c32, How::parts, F},
    {"_MATMUL_ZS", _MATMUL_ZS, Kd::c32, Kd::r8, Kd::c32, How::parts, T},
    {"_MATMUL_SZ", _MATMUL_SZ, Kd::r8, Kd::c32, Kd::c32, How::parts, F},
    {"_MATMUL_ZD", _MATMUL_ZD, Kd::c32, Kd::r16, Kd::c32, How::parts, F},
    {"_MATMUL_DZ", _MATMUL_DZ, Kd::r16, Kd::c32, Kd::c32, How::parts, F},
    {"_MATMUL_C4C", _MATMUL_C4C, Kd::c8, Kd::c16, Kd::c16, How::four, F},
    {"_MATMUL_CC4", _MATMUL_CC4, Kd::c16, Kd::c8, Kd::c16, How::four, T},
    {"_MATMUL_ZC4", _MATMUL_ZC4, Kd::c32, Kd::c8, Kd::c32, How::four, F},
    {"_MATMUL_I4I4", _MATMUL_I4I4, Kd::i4, Kd::i4, Kd::i4, How::one, F},
    {"_MATMUL_L4L4", _MATMUL_L4L4, Kd::l4, Kd::l4, Kd::l4, How::one, F},
    {"_MATMUL_JJ", _MATMUL_JJ, Kd::i8, Kd::i8, Kd::i8, How::one, F},
    {"_MATMUL_JI4", _MATMUL_JI4, Kd::i8, Kd::i4, Kd::i8, How::one, F},
    {"_MATMUL_I4J", _MATMUL_I4J, Kd::i4, Kd::i8, Kd::i8, How::one, T},
    {"_MATMUL_LL", _MATMUL_LL, Kd::l8, Kd::l8, Kd::l8, How::one, F},
    {"_MATMUL_LL4", _MATMUL_LL4, Kd::l8, Kd::l4, Kd::l8, How::one, F},
    {"_MATMUL_L4L", _MATMUL_L4L, Kd::l4, Kd::l8, Kd::l8, How::one, T},
    {"_MATMUL_JS4", _MATMUL_JS4, Kd::i8, Kd::r4, Kd::r4, How::one, F},
    {"_MATMUL_S4J", _MATMUL_S4J, Kd::r4, Kd::i8, Kd::r4, How::one, T},
    {"_MATMUL_JS", _MATMUL_JS, Kd::i8, Kd::r8, Kd::r8, How::one, F},
    {"_MATMUL_SJ", _MATMUL_SJ, Kd::r8, Kd::i8, Kd::r8, How::one, T},
    {"_MATMUL_JD", _MATMUL_JD, Kd::i8, Kd::r16, Kd::r16, How::one, F},
    {"_MATMUL_DJ", _MATMUL_DJ, Kd::r16, Kd::i8, Kd::r16, How::one, T},
    {"_MATMUL_I4S4", _MATMUL_I4S4, Kd::i4, Kd::r4, Kd::r4, How::one, F},
    {"_MATMUL_S4I4", _MATMUL_S4I4, Kd::r4, Kd::i4, Kd::r4, How::one, T},
    {"_MATMUL_I4S", _MATMUL_I4S, Kd::i4, Kd::r8, Kd::r8, How::one, F},
    {"_MATMUL_SI4", _MATMUL_SI4, Kd::r8, Kd::i4, Kd::r8, How::one, T},
    {"_MATMUL_I4D", _MATMUL_I4D, Kd::i4, Kd::r16, Kd::r16, How::one, F},
    {"_MATMUL_DI4", _MATMUL_DI4, Kd::r16, Kd::i4, Kd::r16, How::one, T},
    {"_MATMUL_JC4", _MATMUL_JC4, Kd::i8, Kd::c8, Kd::c8, How::parts, F},
    {"_MATMUL_C4J", _MATMUL_C4J, Kd::c8, Kd::i8, Kd::c8, How::parts, T},
    {"_MATMUL_JC", _MATMUL_JC, Kd::i8, Kd::c16, Kd::c16, How::parts, F},
    {"_MATMUL_CJ", _MATMUL_CJ, Kd::c16, Kd::i8, Kd::c16, How::parts, T},
    {"_MATMUL_I4C4", _MATMUL_I4C4, Kd::i4, Kd::c8, Kd::c8, How::parts, F},
    {"_MATMUL_C4I4", _MATMUL_C4I4, Kd::c8, Kd::i4, Kd::c8, How::parts, T},
    {"_MATMUL_I4C", _MATMUL_I4C, Kd::i4, Kd::c16, Kd::c16, How::parts, F},
    {"_MATMUL_CI4", _MATMUL_CI4, Kd::c16, Kd::i4, Kd::c16, How::parts, T},
};
static_assert(std::size(kDrivers) == 58);

ElemType elem_type(Kd k) {
  const int b = static_cast<int>(bytes_of(k));
  if (is_logical(k)) return ElemType::logical(b);
  if (is_complex(k)) return ElemType::complex(b);
  if (k == Kd::r4 || k == Kd::r8 || k == Kd::r16) return ElemType::real(b);
  return ElemType::integer(b);
}
Kd narrower(Kd k, int bytes) {
  if (k == Kd::i4) return bytes == 2 ? Kd::i2 : bytes == 1 ? Kd::i1 : Kd::i4;
  if (k == Kd::l4) return bytes == 2 ? Kd::l2 : bytes == 1 ? Kd::l1 : Kd::l4;
  return k;
}

std::mt19937 rng(7102);
int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
Values values(7103);

void random_element(Kd k, char* p) {
  switch (k) {
    case Kd::i1: return store_bytes(p, values.make<int8_t>());
    case Kd::i2: return store_bytes(p, values.make<int16_t>());
    case Kd::i4: return store_bytes(p, values.make<int32_t>());
    case Kd::i8: return store_bytes(p, values.make<int64_t>());
    case Kd::l1: case Kd::l2: case Kd::l4: case Kd::l8: {
      // Mostly false; true as 1, as other bits, or (LOGICAL*8) in the high word only.
      uint64_t v = 0;
      switch (pick(0, 4)) {
        case 0: v = 1; break;
        case 1: v = static_cast<uint64_t>(pick(2, 255)) << (8 * pick(0, bytes_of(k) - 1)); break;
        case 2: v = uint64_t{1} << 40; break;
        default: break;
      }
      return std::memcpy(p, &v, bytes_of(k)), void();
    }
    case Kd::r4: return store_bytes(p, values.make<float>());
    case Kd::r8: return store_bytes(p, values.make<double>());
    case Kd::r16: return store_bytes(p, values.make<DoubleDouble>());
    default: {
      const Kd pk = part_of(k);
      random_element(pk, p);
      random_element(pk, p + bytes_of(pk));
    }
  }
}

void fill_random(TestArray& t, Kd k) {
  for (int64_t e = 0; e < t.size(); ++e) random_element(k, t.at_linear(e));
}

// An operand as the product uses it: element (r, c) of the matrix, its
// element strides, its rank after the transposition flag.
struct Used {
  TestArray* arr;
  bool transposed;
  int rank;     // as used
  int64_t s1, s2;
  char* at(int64_t r, int64_t c) const {
    if (arr->rank() == 1) return arr->at({r + c});  // a row or a column: one index is 0
    return transposed ? arr->at({c, r}) : arr->at({r, c});
  }
};

int64_t elem_stride(TestArray& t, int d) {
  return int64_t{t.desc()->dim[d].stride} * t.type().unit() / t.type().bytes();
}

Used used_operand(TestArray& t, bool transposed) {
  int64_t s1 = elem_stride(t, 0), s2 = t.rank() == 2 ? elem_stride(t, 1) : s1;
  if (transposed) std::swap(s1, s2);
  return {&t, transposed, transposed ? 2 : t.rank(), s1, s2};
}

// The reference product into `out` (element (i, j) at out(i, j)).
void reference(const DriverRow& d, Kd ka, Kd kb, Kd kc, bool t, const Used& a, const Used& b,
               int m, int n, int k, const std::function<char*(int, int)>& out) {
  std::vector<const char*> xs, ys;
  auto terms = [&](bool x_is_b, int i, int j, uint32_t xo, uint32_t yo) {
    xs.clear(), ys.clear();
    for (int l = 0; l < k; ++l) {
      const char* pa = a.at(i, l);
      const char* pb = b.at(l, j);
      xs.push_back((x_is_b ? pb : pa) + xo);
      ys.push_back((x_is_b ? pa : pb) + yo);
    }
  };
  if (d.how == How::same && (b.rank == 1 || a.rank == 1)) {
    // GEMV: the matrix element first, the vector element the multiplier.
    const bool a_vector = b.rank != 1;
    for (int j = 0; j < n; ++j)
      for (int i = 0; i < m; ++i) {
        terms(a_vector, i, j, 0, 0);
        model_element({ka, kb, kc}, xs, ys, false, out(i, j));
      }
    return;
  }
  // Kernel roles: X the first operand; strides doubled for complex views.
  const bool view = d.how == How::parts || d.how == How::four;
  const int64_t fa = view && is_complex(ka) ? 2 : 1, fb = view && is_complex(kb) ? 2 : 1;
  const Kd pa = view ? part_of(ka) : ka, pb = view ? part_of(kb) : kb, pc = view ? part_of(kc) : kc;
  const uint32_t ia = is_complex(ka) ? bytes_of(pa) : 0, ib = is_complex(kb) ? bytes_of(pb) : 0;
  const uint32_t ic = bytes_of(pc);
  const KernelModel km = t ? KernelModel{pb, pa, pc} : KernelModel{pa, pb, pc};
  const bool inner =
      !is_logical(kc) &&
      (t ? inner_order(k, m, b.s2 * fb, b.s1 * fb, a.s2 * fa, a.s1 * fa, bytes_of(pb), bytes_of(pa))
         : inner_order(k, n, a.s1 * fa, a.s2 * fa, b.s1 * fb, b.s2 * fb, bytes_of(pa), bytes_of(pb)));
  const uint32_t ix = t ? ib : ia, iy = t ? ia : ib;
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < m; ++i) {
      char* c = out(i, j);
      switch (d.how) {
        case How::same:
        case How::one:
          terms(t, i, j, 0, 0);
          model_element(km, xs, ys, inner, c);
          break;
        case How::parts:
          terms(t, i, j, 0, 0);
          model_element(km, xs, ys, inner, c);
          terms(t, i, j, ix, iy);
          model_element(km, xs, ys, inner, c + ic);
          break;
        case How::four:
          terms(t, i, j, 0, 0);
          model_element(km, xs, ys, inner, c);
          terms(t, i, j, ix, iy);
          model_gemm2_element(km, -1.0, xs, ys, c);
          terms(t, i, j, 0, iy);
          model_element(km, xs, ys, inner, c + ic);
          terms(t, i, j, ix, 0);
          model_gemm2_element(km, 1.0, xs, ys, c + ic);
          break;
      }
    }
}

struct Variant {
  const char* what;
  int a_rank, b_rank, flags;
};
const Variant kVariants[] = {
    {"(2,2)", 2, 2, 0},          {"(2,2) A^T", 2, 2, 1}, {"(2,2) B^T", 2, 2, 2},
    {"(2,2) A^T B^T", 2, 2, 3},  {"(2,1)", 2, 1, 0},     {"(1,2)", 1, 2, 0},
    {"rank-1 A^T", 1, 2, 1},     {"rank-1 B^T", 2, 1, 2},
};
struct Extents {
  int m, n, k;
};
const Extents kExtents[] = {{3, 4, 5}, {1, 1, 1}, {2, 3, 0}, {0, 2, 3},
                            {4, 0, 2}, {1, 5, 3}, {5, 1, 4}, {6, 5, 9}};
// Section steps of the descriptor's two dimensions.
const std::vector<int32_t> kSteps[] = {{1, 1}, {2, -1}, {-1, 3}, {1, 40}};

// One call of driver d and its comparison with the reference.
void check_case(const DriverRow& d, const Variant& v, Extents e, const std::vector<int32_t>& sa,
                const std::vector<int32_t>& sb, int result_form, int wa, int wb) {
  const bool ta = v.flags & 1, tb = v.flags & 2;
  // Extents as used follow the rank pair.
  if (v.a_rank == 1 && !ta) e.m = 1;  // (1,2)
  if (v.b_rank == 1 && !tb) e.n = 1;  // (2,1)
  if (v.a_rank == 1 && ta) e.m = 1;   // 1 x k
  if (v.b_rank == 1 && tb) e.k = 1;   // k = 1, B 1 x n
  const Kd ka = narrower(d.a, wa), kb = narrower(d.b, wb);
  bool t = d.t;
  Kd kc = d.c;
  if (std::string(d.name) == "_MATMUL_I4I4" || std::string(d.name) == "_MATMUL_L4L4") {
    t = bytes_of(ka) < bytes_of(kb);
    kc = t ? kb : ka;
  }
  // A rank-1 A is the k elements of a row; a rank-1 B the k elements of a
  // column, or the n of a row when transposed.
  auto shape = [](int rank, bool tr, int r, int c, int vector) {
    if (rank == 1) return std::vector<int32_t>{vector};
    return tr ? std::vector<int32_t>{c, r} : std::vector<int32_t>{r, c};
  };
  auto steps = [](int rank, const std::vector<int32_t>& s) {
    return rank == 1 ? std::vector<int32_t>{s[0]} : s;
  };
  TestArray a(elem_type(ka), shape(v.a_rank, ta, e.m, e.k, e.k), {}, steps(v.a_rank, sa));
  TestArray b(elem_type(kb), shape(v.b_rank, tb, e.k, e.n, tb ? e.n : e.k), {}, steps(v.b_rank, sb));
  fill_random(a, ka);
  fill_random(b, kb);
  const Used ua = used_operand(a, ta), ub = used_operand(b, tb);
  const int c_rank = (ua.rank == 2 && ub.rank == 2) ? 2 : 1;
  const std::vector<int32_t> c_ext = c_rank == 2 ? std::vector<int32_t>{e.m, e.n}
                                     : std::vector<int32_t>{ua.rank == 1 ? e.n : e.m};
  std::unique_ptr<TestArray> supplied;
  f90test::Descriptor fresh = f90test::unallocated_result(elem_type(kc), c_rank);
  ArrayDescriptor* result = fresh.get();
  if (result_form != 0) {
    supplied = std::make_unique<TestArray>(elem_type(kc), c_ext, std::vector<int32_t>{},
                                           result_form == 1 ? std::vector<int32_t>{1, 1}
                                                            : std::vector<int32_t>{-1, 2});
    result = supplied->desc();
  }
  RuntimeScope rt;
  const int32_t flags = v.flags;
  d.fn(result, a.desc(), b.desc(), v.flags != 0 || pick(0, 1) ? &flags : nullptr);
  const std::string where = std::string(d.name) + " " + v.what + " m" + std::to_string(e.m) +
                            " n" + std::to_string(e.n) + " k" + std::to_string(e.k) +
                            " widths " + std::to_string(wa) + std::to_string(wb) + " result " +
                            std::to_string(result_form);
  ASSERT_TRUE(Runtime::reports().empty()) << where << " reported " << Runtime::numbers()[0];
  if (supplied) {
    ASSERT_TRUE(supplied->outside_untouched()) << where;
  }

  const uint32_t cb = bytes_of(kc);
  auto actual = [&](int i, int j) -> char* {
    const int64_t s1 = int64_t{result->dim[0].stride} * elem_type(kc).unit() / cb;
    const int64_t s2 = c_rank == 2 ? int64_t{result->dim[1].stride} * elem_type(kc).unit() / cb : s1;
    return static_cast<char*>(result->base) + (i * s1 + j * s2) * int64_t{cb};
  };
  std::vector<char> want(static_cast<size_t>(std::max(e.m, 0)) * std::max(e.n, 0) * cb + 1);
  // The four calls read C between them: start from the result's own bytes.
  for (int j = 0; j < e.n; ++j)
    for (int i = 0; i < e.m; ++i) std::memcpy(&want[(j * e.m + i) * cb], actual(i, j), cb);
  reference(d, ka, kb, kc, t, ua, ub, e.m, e.n, e.k,
            [&](int i, int j) { return &want[(j * e.m + i) * cb]; });
  for (int j = 0; j < e.n; ++j)
    for (int i = 0; i < e.m; ++i)
      ASSERT_TRUE(same_element(kc, actual(i, j), &want[(j * e.m + i) * cb]))
          << where << " at " << i << "," << j;
}

TEST(MatmulDrivers, EveryDriverMatchesReference) {
  f90test::under_cw(f90test::kCwLibrary, [] {
    for (const DriverRow& d : kDrivers) {
      const bool family_a = d.a == Kd::i4 || d.a == Kd::l4, family_b = d.b == Kd::i4 || d.b == Kd::l4;
      int cases = 0;
      for (const Variant& v : kVariants)
        for (const Extents& e : kExtents)
          for (int round = 0; round < 2; ++round) {
            const int wa = family_a ? (1 << pick(0, 2)) : 4, wb = family_b ? (1 << pick(0, 2)) : 4;
            check_case(d, v, e, kSteps[pick(0, 3)], kSteps[pick(0, 3)], pick(0, 2), wa, wb);
            if (::testing::Test::HasFatalFailure()) return 0;
            ++cases;
          }
      EXPECT_EQ(cases, 128);
    }
    return 0;
  });
}

// The nine width pairs of the default-length integer and logical drivers.
TEST(MatmulDrivers, DefaultLengthPairsPickTheirKernel) {
  for (const char* name : {"_MATMUL_I4I4", "_MATMUL_L4L4"}) {
    const DriverRow* d = nullptr;
    for (const DriverRow& r : kDrivers)
      if (std::string(r.name) == name) d = &r;
    for (int wa : {4, 2, 1})
      for (int wb : {4, 2, 1})
        for (const Variant& v : {kVariants[0], kVariants[3]}) {
          check_case(*d, v, {4, 3, 5}, {1, 1}, {2, -1}, 1, wa, wb);
          check_case(*d, v, {7, 6, 9}, {1, 40}, {1, 1}, 0, wa, wb);
          if (::testing::Test::HasFatalFailure()) return;
        }
  }
}

// int_len 8 and 64 on a default-length INTEGER operand both select the
// 1-byte kernel: the same INTEGER*1 data gives the same product.
TEST(MatmulDrivers, OtherIntLenPicksTheOneByteKernel) {
  RuntimeScope rt;
  TestArray a(ElemType::integer(1), {3, 4}), b(ElemType::integer(4), {4, 2});
  for (int64_t e = 0; e < a.size(); ++e) store_bytes(a.at_linear(e), static_cast<int8_t>(e * 37 - 100));
  for (int64_t e = 0; e < b.size(); ++e) store_bytes(b.at_linear(e), static_cast<int32_t>(e * 1000 - 3));
  TestArray c8(ElemType::integer(4), {3, 2}), c64(ElemType::integer(4), {3, 2});
  _MATMUL_I4I4(c8.desc(), a.desc(), b.desc(), nullptr);
  // The same block described with int_len 64: strides then count pairs of
  // bytes, so they are doubled to reach the same elements.
  a.desc()->type_word = f90_type_word(TYPE_INTEGER, 64, 0, 0);
  a.desc()->dim[0].stride *= 2, a.desc()->dim[1].stride *= 2;
  _MATMUL_I4I4(c64.desc(), a.desc(), b.desc(), nullptr);
  EXPECT_TRUE(Runtime::reports().empty());
  for (int64_t e = 0; e < 6; ++e) {
    int32_t want = 0;
    const int i = static_cast<int>(e % 3), j = static_cast<int>(e / 3);
    for (int l = 0; l < 4; ++l)
      want += int32_t{load_bytes<int8_t>(a.at({i, l}))} * load_bytes<int32_t>(b.at({l, j}));
    EXPECT_EQ(load_bytes<int32_t>(c8.at_linear(e)), want) << e;
    EXPECT_EQ(load_bytes<int32_t>(c64.at_linear(e)), want) << e;
  }
}

// After a report from the set-up no kernel runs: a supplied result is not
// written, and a failed allocation leaves nothing to write into.
TEST(MatmulDrivers, NoKernelAfterASetUpReport) {
  for (const DriverRow& d : kDrivers) {
    const Kd ka = d.a, kb = d.b, kc = d.c;
    {
      RuntimeScope rt;  // k of A 3, rows of B 4: 1407
      TestArray a(elem_type(ka), {2, 3}), b(elem_type(kb), {4, 2}), c(elem_type(kc), {2, 2});
      d.fn(c.desc(), a.desc(), b.desc(), nullptr);
      EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1407}) << d.name;
      EXPECT_TRUE(std::all_of(c.storage().begin(), c.storage().end(),
                              [](unsigned char x) { return x == 0xAB; }))
          << d.name;
    }
    {
      RuntimeScope rt;  // two rank-1 operands: 1406
      TestArray a(elem_type(ka), {3}), b(elem_type(kb), {3}), c(elem_type(kc), {3});
      d.fn(c.desc(), a.desc(), b.desc(), nullptr);
      EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1406}) << d.name;
    }
    {
      RuntimeScope rt;  // the allocation fails: 1205, and nothing is stored
      TestArray a(elem_type(ka), {2, 3}), b(elem_type(kb), {3, 2});
      f90test::Descriptor r = f90test::unallocated_result(elem_type(kc), 2);
      Runtime::fail_allocation(1);
      d.fn(r.get(), a.desc(), b.desc(), nullptr);
      EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1205}) << d.name;
    }
  }
}

// Literal products that pin the strategies.
TEST(MatmulDrivers, LiteralProducts) {
  RuntimeScope rt;
  // (1+2i)(3+4i) = -5+10i through the four calls, in every result kind.
  {
    TestArray a(ElemType::complex(8), {1, 1}), b(ElemType::complex(16), {1, 1});
    TestArray c(ElemType::complex(16), {1, 1});
    store_bytes(a.at({0, 0}), std::array<float, 2>{1, 2});
    store_bytes(b.at({0, 0}), std::array<double, 2>{3, 4});
    _MATMUL_C4C(c.desc(), a.desc(), b.desc(), nullptr);
    EXPECT_EQ((load_bytes<std::array<double, 2>>(c.at({0, 0}))), (std::array<double, 2>{-5, 10}));
    TestArray a2(ElemType::complex(16), {1, 1}), b2(ElemType::complex(8), {1, 1});
    store_bytes(a2.at({0, 0}), std::array<double, 2>{1, 2});
    store_bytes(b2.at({0, 0}), std::array<float, 2>{3, 4});
    _MATMUL_CC4(c.desc(), a2.desc(), b2.desc(), nullptr);
    EXPECT_EQ((load_bytes<std::array<double, 2>>(c.at({0, 0}))), (std::array<double, 2>{-5, 10}));
    TestArray a3(ElemType::complex(32), {1, 1}), c3(ElemType::complex(32), {1, 1});
    store_bytes(a3.at({0, 0}), Z{{1, 0}, {2, 0}});
    _MATMUL_ZC4(c3.desc(), a3.desc(), b2.desc(), nullptr);
    const Z z = load_bytes<Z>(c3.at({0, 0}));
    EXPECT_EQ(z.re.hi, -5.0);
    EXPECT_EQ(z.im.hi, 10.0);
  }
  // A 2x1 COMPLEX*16 (1+i, 2-i) times a 1x2 REAL*8 (3, 4).
  {
    TestArray a(ElemType::complex(16), {2, 1}), b(ElemType::real(8), {1, 2});
    store_bytes(a.at({0, 0}), std::array<double, 2>{1, 1});
    store_bytes(a.at({1, 0}), std::array<double, 2>{2, -1});
    store_bytes(b.at({0, 0}), 3.0);
    store_bytes(b.at({0, 1}), 4.0);
    f90test::Descriptor r = f90test::unallocated_result(ElemType::complex(16), 2);
    _MATMUL_CS(r.get(), a.desc(), b.desc(), nullptr);
    const auto* p = static_cast<const double*>(r->base);
    EXPECT_EQ(std::vector<double>(p, p + 8), (std::vector<double>{3, 3, 6, -3, 4, 4, 8, -4}));
  }
  // COMPLEX*16 (1+2i) times REAL*16 2: the imaginary part 8 bytes into A and
  // 16 bytes into the COMPLEX*32 result.
  {
    TestArray a(ElemType::complex(16), {1, 1}), b(ElemType::real(16), {1, 1});
    TestArray c(ElemType::complex(32), {1, 1});
    store_bytes(a.at({0, 0}), std::array<double, 2>{1, 2});
    store_bytes(b.at({0, 0}), DoubleDouble{2, 0});
    _MATMUL_CD(c.desc(), a.desc(), b.desc(), nullptr);
    const Z z = load_bytes<Z>(c.at({0, 0}));
    EXPECT_EQ(z.re.hi, 2.0);
    EXPECT_EQ(z.im.hi, 4.0);
  }
  EXPECT_TRUE(Runtime::reports().empty());
}

}  // namespace
