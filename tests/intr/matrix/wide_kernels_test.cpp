// The REAL*16, COMPLEX*32, INTEGER*8-by-real and GEMMX2 kernels against the
// kernels' element models (models.h) and GEMMX2 against its definition: the
// REAL*16 arithmetic through the exported double-double routines one call per
// operation, the x87 one in long double with a forced rounding per store.
// Bit-exact, over a table of shapes (empty ones too) and storage layouts
// (column order, row order, wide column strides that force the column loop
// order, backward sections), under control words 0x127f and 0x037f. Then the
// literal cases that pin the rules.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <type_traits>

#include "control_word.h"
#include "models.h"
#include "strided.h"
#include "x87.h"

namespace {

using namespace mxtest;
using f90test::kCwLibrary;
using f90test::kCwLinux;
using f90test::under_cw;

// The kind of an element type.
template <class T>
constexpr Kd kind_of() {
  if constexpr (std::is_same_v<T, Z>) return Kd::c32;
  else if constexpr (std::is_same_v<T, DoubleDouble>) return Kd::r16;
  else if constexpr (std::is_same_v<T, double>) return Kd::r8;
  else if constexpr (std::is_same_v<T, float>) return Kd::r4;
  else if constexpr (sizeof(T) == 8) return Kd::i8;
  else return sizeof(T) == 4 ? Kd::i4 : sizeof(T) == 2 ? Kd::i2 : Kd::i1;
}

// An element exactly widened to REAL*16, and the column order's test of it.
template <class T>
DoubleDouble wide(T v) { return mxtest::dd_value(kind_of<T>(), reinterpret_cast<const char*>(&v)); }
template <class T>
bool used(T v) { return mxtest::used(kind_of<T>(), reinterpret_cast<const char*>(&v)); }

struct Shape {
  int m, n, k;
};
const Shape kShapes[] = {{1, 1, 1}, {3, 2, 4}, {5, 7, 3}, {2, 3, 0}, {0, 3, 2},
                         {4, 0, 2}, {1, 6, 5}, {6, 1, 5}, {9, 8, 11}};

// Strides of a rows x cols matrix.
enum class Layout { columns, rows, wide, backwards };
const Layout kALayouts[] = {Layout::columns, Layout::rows, Layout::wide, Layout::backwards};
const Layout kBLayouts[] = {Layout::columns, Layout::backwards};
const Layout kCLayouts[] = {Layout::columns, Layout::backwards, Layout::rows};
void strides(Layout l, int rows, int cols, int32_t& s1, int32_t& s2) {
  switch (l) {
    case Layout::columns: s1 = 1, s2 = std::max(rows, 1); break;
    case Layout::rows: s1 = std::max(cols, 1), s2 = 1; break;
    case Layout::wide: s1 = 1, s2 = 2100; break;
    case Layout::backwards: s1 = -2, s2 = -(2 * std::max(rows, 1) + 1); break;
  }
}
template <class T>
Strided<T> make(Layout l, int rows, int cols) {
  int32_t s1 = 1, s2 = 1;
  strides(l, rows, cols, s1, s2);
  return Strided<T>(rows, cols, s1, s2);
}

const uint16_t kControlWords[] = {kCwLibrary, kCwLinux};

// A GEMM kernel with A of TA, B of TB, C of TC, and its model.
template <class TA, class TB, class TC>
struct GemmKernel {
  std::string name;
  std::function<void(const int32_t*, const int32_t*, const int32_t*, TA*, const int32_t*,
                     const int32_t*, TB*, const int32_t*, const int32_t*, TC*, const int32_t*,
                     const int32_t*)>
      call;
  KernelModel km{kind_of<TA>(), kind_of<TB>(), kind_of<TC>()};
};

template <class TA, class TB, class TC>
void check_gemm(const GemmKernel<TA, TB, TC>& kern, uint32_t seed) {
  Values v(seed);
  int cases = 0;
  for (uint16_t cw : kControlWords)
    for (const Shape& s : kShapes)
      for (Layout la : kALayouts)
        for (Layout lb : kBLayouts)
          for (Layout lc : kCLayouts) {
            auto a = make<TA>(la, s.m, s.k);
            auto b = make<TB>(lb, s.k, s.n);
            auto c = make<TC>(lc, s.m, s.n);
            fill(a, v);
            fill(b, v);
            const bool inner = inner_order(s.k, s.n, *a.s1(), *a.s2(), *b.s1(), *b.s2(),
                                           sizeof(TA), sizeof(TB));
            uint16_t after = 0;
            under_cw(cw, [&] {
              kern.call(&s.m, &s.n, &s.k, a.ptr(), a.s1(), a.s2(), b.ptr(), b.s1(), b.s2(),
                        c.ptr(), c.s1(), c.s2());
              after = x87::get_cw();
              return 0;
            });
            const std::string where = kern.name + " cw " + std::to_string(cw) + " m" +
                                      std::to_string(s.m) + " n" + std::to_string(s.n) + " k" +
                                      std::to_string(s.k) + " layouts " +
                                      std::to_string(int(la)) + std::to_string(int(lb)) +
                                      std::to_string(int(lc));
            ASSERT_EQ(after, cw) << where;
            ASSERT_TRUE(c.untouched_outside()) << where;
            Strided<TC> want = c;
            under_cw(cw, [&] {
              model_product(kern.km, a, b, want, s.m, s.n, s.k, inner);
              return 0;
            });
            for (int j = 0; j < s.n; ++j)
              for (int i = 0; i < s.m; ++i)
                ASSERT_TRUE(same(c.get(i, j), want.get(i, j))) << where << " at " << i << "," << j;
            ++cases;
          }
  EXPECT_GT(cases, 0);
}

template <class TA, class TB, class TC = DoubleDouble>
GemmKernel<TA, TB, TC> kernel(std::string name, auto fn) {
  return {name, [fn](auto... args) { fn(args...); }};
}

TEST(WideKernels, Real16MatchesReference) {
  check_gemm(kernel<DoubleDouble, DoubleDouble>("_DDGEMMX", _DDGEMMX), 1);
  check_gemm(kernel<DoubleDouble, DoubleDouble>("_DGEMMX", _DGEMMX), 2);
  check_gemm(kernel<DoubleDouble, double>("_DSGEMMX", _DSGEMMX), 3);
  check_gemm(kernel<DoubleDouble, float>("_DS4GEMMX", _DS4GEMMX), 4);
  check_gemm(kernel<double, DoubleDouble>("_SDGEMMX", _SDGEMMX), 5);
  check_gemm(kernel<float, DoubleDouble>("_S4DGEMMX", _S4DGEMMX), 6);
  check_gemm(kernel<int32_t, DoubleDouble>("_I4DGEMMX", _I4DGEMMX), 7);
  check_gemm(kernel<int16_t, DoubleDouble>("_I2DGEMMX", _I2DGEMMX), 8);
  check_gemm(kernel<int8_t, DoubleDouble>("_I1DGEMMX", _I1DGEMMX), 9);
  check_gemm(kernel<int64_t, DoubleDouble>("_JDGEMMX", _JDGEMMX), 10);
}

TEST(WideKernels, Complex32MatchesReference) {
  check_gemm(kernel<Z, Z, Z>("_ZGEMMX", _ZGEMMX), 11);
}

TEST(WideKernels, Integer8ByRealMatchesReference) {
  check_gemm(kernel<int64_t, double, double>("_JSGEMMX", _JSGEMMX), 12);
  check_gemm(kernel<int64_t, float, float>("_JS4GEMMX", _JS4GEMMX), 13);
}

TEST(WideKernels, ZgemvMatchesReference) {
  Values v(14);
  const int incs[] = {1, 3, -2};
  for (uint16_t cw : kControlWords)
    for (int m : {0, 1, 4, 7})
      for (int n : {-1, 0, 1, 5})
        for (Layout la : kALayouts)
          for (int incx : incs)
            for (int incy : incs) {
              auto a = make<Z>(la, m, std::max(n, 0));
              Strided<Z> x(std::max(n, 0), 1, incx, 1), y(m, 1, incy, 1);
              fill(a, v);
              fill(x, v);
              under_cw(cw, [&] {
                _ZGEMVX(&m, &n, a.ptr(), a.s1(), a.s2(), x.ptr(), x.s1(), y.ptr(), y.s1());
                return 0;
              });
              ASSERT_TRUE(y.untouched_outside());
              if (n == 0) {
                // y is not touched at all: its elements keep the fill.
                Strided<Z> fresh(m, 1, incy, 1);
                ASSERT_EQ(y.bytes(), fresh.bytes());
                continue;
              }
              Strided<Z> want(m, 1, incy, 1);
              model_product({Kd::c32, Kd::c32, Kd::c32}, a, x, want, m, 1, n, false);
              for (int i = 0; i < m; ++i)
                ASSERT_TRUE(same(y.get(i, 0), want.get(i, 0)))
                    << "m" << m << " n" << n << " i" << i;
            }
}

// GEMMX2: alpha.A.B + beta.C by the definition, scalars compared with
// "unordered counts as equal".
template <class TA, class TB, class TC>
struct Gemm2Kernel {
  std::string name;
  std::function<void(const int32_t*, const int32_t*, const int32_t*, TC*, TA*, const int32_t*,
                     const int32_t*, TB*, const int32_t*, const int32_t*, TC*, TC*,
                     const int32_t*, const int32_t*)>
      call;
  std::function<bool(TC, double)> equals;
  std::function<TC(TC, TC)> times;         // x.y
  std::function<TC(TC, TC, TA)> update;    // c + t.a
  std::function<TC(TC, TB)> temp;          // alpha.b
  std::vector<TC> scalars;
};

template <class TA, class TB, class TC>
void check_gemm2(const Gemm2Kernel<TA, TB, TC>& kern, uint32_t seed) {
  Values v(seed);
  const Shape shapes[] = {{3, 2, 4}, {1, 1, 1}, {4, 3, 0}, {0, 2, 2}, {5, 6, 7}};
  for (uint16_t cw : kControlWords)
    for (const Shape& s : shapes)
      for (TC alpha : kern.scalars)
        for (TC beta : kern.scalars)
          for (Layout lc : {Layout::columns, Layout::backwards}) {
            auto a = make<TA>(Layout::columns, s.m, s.k);
            auto b = make<TB>(Layout::backwards, s.k, s.n);
            auto c = make<TC>(lc, s.m, s.n);
            fill(a, v);
            fill(b, v);
            fill(c, v);
            Strided<TC> want = c;
            under_cw(cw, [&] {
              kern.call(&s.m, &s.n, &s.k, &alpha, a.ptr(), a.s1(), a.s2(), b.ptr(), b.s1(),
                        b.s2(), &beta, c.ptr(), c.s1(), c.s2());
              // The definition, on `want`.
              if (s.m == 0 || s.n == 0) return 0;
              const bool a0 = kern.equals(alpha, 0), b0 = kern.equals(beta, 0),
                         b1 = kern.equals(beta, 1);
              if ((a0 || s.k == 0) && b1) return 0;
              for (int j = 0; j < s.n; ++j) {
                for (int i = 0; i < s.m; ++i)
                  want.set(i, j, b0 ? TC{} : b1 ? want.get(i, j) : kern.times(beta, want.get(i, j)));
                if (a0) continue;
                for (int l = 0; l < s.k; ++l) {
                  if (!used(b.get(l, j))) continue;
                  const TC t = kern.temp(alpha, b.get(l, j));
                  for (int i = 0; i < s.m; ++i)
                    want.set(i, j, kern.update(want.get(i, j), t, a.get(i, l)));
                }
              }
              return 0;
            });
            ASSERT_TRUE(c.untouched_outside());
            for (int j = 0; j < s.n; ++j)
              for (int i = 0; i < s.m; ++i)
                ASSERT_TRUE(same(c.get(i, j), want.get(i, j)))
                    << kern.name << " cw " << cw << " m" << s.m << " n" << s.n << " k" << s.k
                    << " at " << i << "," << j;
          }
}

template <class TA, class TB>
Gemm2Kernel<TA, TB, DoubleDouble> real16_gemm2(std::string name, auto fn) {
  const double inf = INFINITY, nan = NAN;
  return {name,
          [fn](auto... args) { fn(args...); },
          [](DoubleDouble x, double c) { return qequal(x, {c, 0.0}); },
          [](DoubleDouble x, DoubleDouble y) { return qmul(x, y); },
          [](DoubleDouble c, DoubleDouble t, TA a) { return qadd(c, qmul(t, wide(a))); },
          [](DoubleDouble alpha, TB b) { return qmul(alpha, wide(b)); },
          {{0.0, 0.0}, {1.0, 0.0}, {-1.0, 0.0}, {2.5, 0x1p-60}, {inf, 0.0}, {nan, 0.0}}};
}

TEST(WideKernels, Gemm2MatchesDefinition) {
  check_gemm2(real16_gemm2<float, DoubleDouble>("_S4DGEMMX2", _S4DGEMMX2), 21);
  check_gemm2(real16_gemm2<DoubleDouble, double>("_DSGEMMX2", _DSGEMMX2), 22);
  check_gemm2(real16_gemm2<DoubleDouble, float>("_DS4GEMMX2", _DS4GEMMX2), 23);
  check_gemm2(Gemm2Kernel<float, double, double>{
                  "_S4SGEMMX2",
                  [](auto... args) { _S4SGEMMX2(args...); },
                  [](double x, double c) { return !(x < c || x > c); },
                  [](double x, double y) { return stored<double>((long double)x * y); },
                  [](double c, double t, float a) { return stored<double>((long double)a * t + c); },
                  [](double alpha, double b) { return stored<double>((long double)b * alpha); },
                  {0.0, 1.0, -1.0, 0.1, NAN}},
              24);
}

// ---- Literal cases.

constexpr int32_t kOne = 1, kTwo = 2, kThree = 3;

// 1 x 1 x 3 products: (1, x, 1) . (b0, b1, b2) with the given B strides, so
// that the column order runs with As2 = 700 and the inner-product order with
// As1 > As2.
TEST(WideKernels, Real16MultiplierTestsDifferByKind) {
  const double inf = INFINITY;
  DoubleDouble a[701 * 3] = {};
  a[0] = {1.0, 0.0};
  a[700] = {inf, 0.0};  // A(1,2), met by a zero or skipped B(2,1)
  a[1400] = {1.0, 0.0};
  const int32_t as1 = 1, as2 = 700, rs1 = 701, rs2 = 700;  // rs1 > rs2: inner product
  DoubleDouble b[3] = {{2.0, 0.0}, {inf, 0.0}, {3.0, 0.0}};
  DoubleDouble c{};
  // Column order skips B = (+Inf, 0): 2 + 3 and nothing from A(1,2).
  _DDGEMMX(&kOne, &kOne, &kThree, a, &as1, &as2, b, &kOne, &kThree, &c, &kOne, &kOne);
  EXPECT_EQ(c.hi, 5.0);
  EXPECT_EQ(c.lo, 0.0);
  // Inner-product order uses every term: not finite.
  _DDGEMMX(&kOne, &kOne, &kThree, a, &rs1, &rs2, b, &kOne, &kThree, &c, &kOne, &kOne);
  EXPECT_FALSE(std::isfinite(c.hi));
  // A REAL*8 infinity is used in column order: Inf . Inf.
  const double bd[3] = {2.0, inf, 3.0};
  _DSGEMMX(&kOne, &kOne, &kThree, a, &as1, &as2, bd, &kOne, &kThree, &c, &kOne, &kOne);
  EXPECT_FALSE(std::isfinite(c.hi));
  // A REAL*4 zero is skipped even against the infinite A(1,2).
  const float bf[3] = {2.0f, 0.0f, 3.0f};
  _DS4GEMMX(&kOne, &kOne, &kThree, a, &as1, &as2, bf, &kOne, &kThree, &c, &kOne, &kOne);
  EXPECT_EQ(c.hi, 5.0);
}

TEST(WideKernels, Complex32MultiplierUsedWhenEitherPartIs) {
  const double inf = INFINITY, nan = NAN;
  // A(1,1) = 1 + i, A(1,2) = Inf; column order (As2 = 300).
  std::vector<Z> a(301);
  a[0] = {{1.0, 0.0}, {1.0, 0.0}};
  a[300] = {{inf, 0.0}, {0.0, 0.0}};
  const int32_t as1 = 1, as2 = 300;
  struct Row {
    Z b1;        // B(2,1), met by A(1,2) = Inf
    bool finite; // C stays finite: B(2,1) skipped
  } rows[] = {
      {{{0.0, 0.0}, {2.0, 0.0}}, false},  // imaginary part nonzero: used
      {{{0.0, 0.0}, {nan, 0.0}}, true},   // zero and NaN: skipped
      {{{-0.0, 0.0}, {0.0, 0.0}}, true},  // zero: skipped
      {{{inf, 0.0}, {0.0, 0.0}}, true},   // infinite part counts as zero
  };
  for (const Row& r : rows) {
    Z b[2] = {{{2.0, 0.0}, {0.0, 0.0}}, r.b1};
    Z c{};
    _ZGEMMX(&kOne, &kOne, &kTwo, a.data(), &as1, &as2, b, &kOne, &kTwo, &c, &kOne, &kOne);
    EXPECT_EQ(std::isfinite(c.re.hi) && std::isfinite(c.im.hi), r.finite);
    if (r.finite) {
      EXPECT_EQ(c.re.hi, 2.0);  // (1 + i) . 2
      EXPECT_EQ(c.im.hi, 2.0);
    }
  }
}

TEST(WideKernels, Gemm2ScalarCases) {
  const double nan = NAN, inf = INFINITY;
  struct Row {
    const char* what;
    DoubleDouble alpha, beta;
    int32_t k;
    double want;  // C(1,1) after the call, from C = 5, A = 1, B = 1
  } rows[] = {
      {"alpha 0, beta 1: untouched", {0.0, 0.0}, {1.0, 0.0}, 1, 5.0},
      {"alpha 0, beta 0: zero", {0.0, 0.0}, {0.0, 0.0}, 1, 0.0},
      {"alpha 0, beta 2: doubled", {0.0, 0.0}, {2.0, 0.0}, 1, 10.0},
      {"K 0, alpha 3, beta 2: doubled", {3.0, 0.0}, {2.0, 0.0}, 0, 10.0},
      {"K 0, alpha 3, beta 1: untouched", {3.0, 0.0}, {1.0, 0.0}, 0, 5.0},
      {"alpha Inf acts as 0, beta 1", {inf, 0.0}, {1.0, 0.0}, 1, 5.0},
      {"alpha Inf acts as 0, beta 0", {inf, 0.0}, {0.0, 0.0}, 1, 0.0},
      {"alpha Inf acts as 0, beta 3", {inf, 0.0}, {3.0, 0.0}, 1, 15.0},
      {"beta NaN acts as 0", {2.0, 0.0}, {nan, 0.0}, 1, 2.0},
      {"alpha -1, beta 1", {-1.0, 0.0}, {1.0, 0.0}, 1, 4.0},
  };
  for (const Row& r : rows) {
    const DoubleDouble a{1.0, 0.0};
    const double b = 1.0;
    DoubleDouble c{5.0, 0.0};
    _DSGEMMX2(&kOne, &kOne, &r.k, &r.alpha, &a, &kOne, &kOne, &b, &kOne, &kOne, &r.beta, &c,
              &kOne, &kOne);
    EXPECT_EQ(c.hi, r.want) << r.what;
    // The REAL*8 form, where only NaN is unordered.
    if (!std::isinf(r.alpha.hi)) {
      const float af = 1.0f;
      double cd = 5.0;
      _S4SGEMMX2(&kOne, &kOne, &r.k, &r.alpha.hi, &af, &kOne, &kOne, &b, &kOne, &kOne,
                 &r.beta.hi, &cd, &kOne, &kOne);
      EXPECT_EQ(cd, r.want) << "_S4SGEMMX2 " << r.what;
    }
  }
  // alpha 0 and beta 0 clear a NaN in C.
  DoubleDouble c{nan, nan}, zero{0.0, 0.0};
  const DoubleDouble a{1.0, 0.0};
  const float b = 1.0f;
  _DS4GEMMX2(&kOne, &kOne, &kOne, &zero, &a, &kOne, &kOne, &b, &kOne, &kOne, &zero, &c, &kOne,
             &kOne);
  EXPECT_EQ(c.hi, 0.0);
  EXPECT_EQ(c.lo, 0.0);
}

// INTEGER*8 by REAL*4 rounds to REAL*4 after every term in both orders:
// 2^24 + 1 + 1 stays 2^24, where a register sum would give 2^24 + 2.
TEST(WideKernels, Integer8ByRealRoundsEveryTerm) {
  int64_t wide_a[6001] = {};
  wide_a[0] = int64_t{1} << 24;
  wide_a[3000] = 1;
  wide_a[6000] = 1;
  int64_t rows_a[3] = {int64_t{1} << 24, 1, 1};
  const float b[3] = {1.0f, 1.0f, 1.0f};
  const int32_t col_s1 = 1, col_s2 = 3000, row_s1 = 3, row_s2 = 1;
  for (uint16_t cw : kControlWords) {
    float c_col = -1.0f, c_row = -1.0f;
    under_cw(cw, [&] {
      _JS4GEMMX(&kOne, &kOne, &kThree, wide_a, &col_s1, &col_s2, b, &kOne, &kThree, &c_col,
                &kOne, &kOne);
      _JS4GEMMX(&kOne, &kOne, &kThree, rows_a, &row_s1, &row_s2, b, &kOne, &kThree, &c_row,
                &kOne, &kOne);
      return 0;
    });
    EXPECT_EQ(c_col, 16777216.0f) << cw;
    EXPECT_EQ(c_row, 16777216.0f) << cw;
  }
  // 2^62 + 1 is exact in the x87 unit: times 1.0 under 64-bit precision and
  // plus 0, it rounds once at the store, to 2^62.
  const int64_t big = (int64_t{1} << 62) + 1;
  const double one = 1.0;
  double c = -1.0;
  under_cw(kCwLinux, [&] {
    _JSGEMMX(&kOne, &kOne, &kOne, &big, &kOne, &kOne, &one, &kOne, &kOne, &c, &kOne, &kOne);
    return 0;
  });
  EXPECT_EQ(c, 0x1p62);
  // _JDGEMMX widens it exactly: (2^62, 1).
  const DoubleDouble bd{1.0, 0.0};
  DoubleDouble cd{};
  _JDGEMMX(&kOne, &kOne, &kOne, &big, &kOne, &kOne, &bd, &kOne, &kOne, &cd, &kOne, &kOne);
  EXPECT_EQ(cd.hi, 0x1p62);
  EXPECT_EQ(cd.lo, 1.0);
}

TEST(WideKernels, NegativeOrZeroExtentsWriteNothing) {
  const struct {
    int32_t m, n, k;
  } rows[] = {{0, 3, 2}, {3, 0, 2}, {-1, 3, 2}, {3, -2, 2}, {-1, -1, 2}};
  for (const auto& r : rows) {
    Strided<DoubleDouble> a(4, 4, 1, 4), b(4, 4, 1, 4), c(4, 4, 1, 4);
    Values v(5);
    fill(a, v);
    fill(b, v);
    _DDGEMMX(&r.m, &r.n, &r.k, a.ptr(), a.s1(), a.s2(), b.ptr(), b.s1(), b.s2(), c.ptr(), c.s1(),
             c.s2());
    Strided<DoubleDouble> fresh(4, 4, 1, 4);
    EXPECT_EQ(c.bytes(), fresh.bytes()) << r.m << " " << r.n;
  }
}

}  // namespace
