// The rules that tell the kernels apart, pinned with literal cases: the
// loop-order rule and its wrapping estimate, where the two orders differ
// (rounding at every store, skipped zero and NaN multipliers), the integer
// wrap and sign extension, the logical low-word rules.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "control_word.h"
#include "f90/matmul.h"
#include "matrix/kernel.h"

namespace {

using f90::matrix::GemmCall;
using f90::matrix::LoopOrder;
using f90::matrix::loop_order;

struct OrderCase {
  int32_t m, n, k, as1, as2, bs1, bs2, sa, sb;
  LoopOrder want;
};

TEST(LoopOrderRule, PicksByStridesAndTheWrappingEstimate) {
  const auto inner = LoopOrder::inner_product, column = LoopOrder::column;
  const OrderCase cases[] = {
      {2, 2, 2, 1, 2, 1, 2, 8, 8, inner},           // est 64
      {2, 2, 2, 2, 1, 1, 2, 8, 8, inner},           // row-wise A
      {64, 16, 16, 1, 64, 1, 16, 8, 8, column},     // 8192 + 2048
      {64, 16, 16, 1, 64, 1, 16, 4, 4, inner},      // 4096 + 1024
      {4, 2, 16, 1, 63, 1, 1, 8, 8, column},        // 8064 + 128 = 8192
      {4, 1, 1, 1, 8190, 1, 1, 1, 1, inner},        // 8190 + 1
      {4, 1, 1, 1, 8192, 0, 0, 1, 1, column},       // 8192 + 0
      {4, 1, 65536, 1, 65536, 0, 1, 8, 8, inner},   // K*As2 wraps to 0
      {4, 3, 10, 1, 101, 1, -1000000, 8, 8, inner}, // signed max: K*Bs1 = 10, 8160
      {4, 3, 10, 1, 101, 1, 5, 8, 8, column},       // max is N*Bs2 = 15: 8200
      {4, 3, 10, 1, 4, 1, 100000000, 8, 8, inner},  // 3e8 * 8 wraps negative
      {1, 3, 10, 5, 5, 1, 10, 8, 8, inner},         // As1 = As2
      {3, 3, 3000, -1, 3, 1, 3000, 8, 8, column},   // As1 < As2 with a negative As1
  };
  for (const OrderCase& c : cases) {
    const GemmCall g{c.m, c.n, c.k, 0, c.as1, c.as2, 0, c.bs1, c.bs2, 0, 1, 1};
    EXPECT_EQ(loop_order(g, c.sa, c.sb), c.want)
        << "K=" << c.k << " As=" << c.as1 << "," << c.as2 << " Bs=" << c.bs1 << "," << c.bs2;
  }
}

class KernelCases : public f90test::ControlWordTest {};

// C = A.B for a 1 x 1 result of a 1 x K row and a K column, A's row given
// the leading dimension lda (lda large selects the column order).
double sgemm_1x1(const std::vector<double>& a_row, const std::vector<double>& b_col, int32_t lda) {
  std::vector<double> a(a_row.size() * lda);
  for (size_t t = 0; t < a_row.size(); ++t) a[t * lda] = a_row[t];
  const int32_t m = 1, n = 1, k = static_cast<int32_t>(a_row.size()), one = 1;
  const int32_t ldb = k;
  double c = 99.0;
  _SGEMMX(&m, &n, &k, a.data(), &one, &lda, b_col.data(), &one, &ldb, &c, &one, &one);
  return c;
}

TEST_F(KernelCases, InnerProductRoundsOnceColumnOrderAtEveryStore) {
  const double tiny = std::ldexp(1.0, -60);
  const std::vector<double> a{1, 1, -1}, b{1, tiny, 1};
  // lda 1: As1 = As2 (inner product); lda 342: est = 3*342*8 + 3*8 = 8232.
  f90test::under_cw(0x037f, [&] {
    EXPECT_EQ(sgemm_1x1(a, b, 1), tiny);
    EXPECT_EQ(sgemm_1x1(a, b, 342), 0.0);
    return 0;
  });
  EXPECT_EQ(sgemm_1x1(a, b, 1), 0.0);  // 53 bits: 1 + 2^-60 is 1 in both
  EXPECT_EQ(sgemm_1x1(a, b, 342), 0.0);
}

TEST_F(KernelCases, ColumnOrderSkipsZeroAndNanMultipliersButUsesInfinities) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double a0, b0;  // the term under test, then the term 2 * 3
    bool column_finite, inner_nan;
  } cases[] = {
      {5.0, nan, true, true},   // NaN multiplier: skipped in column order
      {inf, 0.0, true, true},   // 0 * Inf: skipped in column order
      {inf, -0.0, true, true},
      {1.0, inf, false, false},  // an infinite multiplier is used
  };
  for (const Case& c : cases) {
    const double col = sgemm_1x1({c.a0, 2.0}, {c.b0, 3.0}, 600);
    const double inn = sgemm_1x1({c.a0, 2.0}, {c.b0, 3.0}, 1);
    EXPECT_EQ(std::isfinite(col), c.column_finite) << c.a0 << " " << c.b0;
    if (c.column_finite) {
      EXPECT_EQ(col, 6.0);
    }
    EXPECT_EQ(std::isnan(inn), c.inner_nan) << c.a0 << " " << c.b0;
  }
}

TEST_F(KernelCases, ComplexMultiplierIsUsedWhenEitherPartIsOrderedAndNonzero) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double br, bi;
    bool used;
  } cases[] = {{0.0, 2.0, true}, {0.0, nan, false}, {nan, nan, false}, {nan, 1.0, true},
               {-0.0, 0.0, false}, {inf, 0.0, true}};
  for (const Case& c : cases) {
    // A = (1, 1) in a column of a 1 x 1 x 1 product with a long leading
    // dimension (column order); C starts from 0 and gains (1,1)*(br,bi).
    const int32_t one = 1, lda = 1000;
    std::vector<double> a(2 * lda, 0.0);
    a[0] = 1.0, a[1] = 1.0;
    const double b[2] = {c.br, c.bi};
    double out[2] = {7, 7};
    _CGEMMX(&one, &one, &one, a.data(), &one, &lda, b, &one, &one, out, &one, &one);
    if (c.used) {
      EXPECT_FALSE(out[0] == 0.0 && out[1] == 0.0 && !std::signbit(out[0])) << c.br << "," << c.bi;
    } else {
      EXPECT_EQ(out[0], 0.0) << c.br << "," << c.bi;
      EXPECT_EQ(out[1], 0.0);
      EXPECT_FALSE(std::signbit(out[0]) || std::signbit(out[1]));
    }
  }
}

TEST_F(KernelCases, IntegerResultsWrapAtTheirWidth) {
  const int32_t m = 1, n = 1, k = 2, one = 1, two = 2;
  const int16_t a16[2] = {200, 100}, b16[2] = {100, 200};  // 20000 + 20000
  int16_t c16 = 0;
  _I2GEMMX(&m, &n, &k, a16, &one, &one, b16, &one, &two, &c16, &one, &one);
  EXPECT_EQ(c16, -25536);

  const int64_t a64[2] = {int64_t{1} << 40, 3};
  const int32_t b32[2] = {-1, -5};
  int64_t c64 = 0;
  _JI4GEMMX(&m, &n, &k, a64, &one, &one, b32, &one, &two, &c64, &one, &one);
  EXPECT_EQ(c64, -(int64_t{1} << 40) - 15);

  const int64_t big[2] = {INT64_C(0x7fffffffffffffff), 2};
  const int64_t two64[2] = {2, INT64_C(0x4000000000000000)};
  _JGEMMX(&m, &n, &k, big, &one, &one, two64, &one, &two, &c64, &one, &one);
  EXPECT_EQ(static_cast<uint64_t>(c64), UINT64_C(0xfffffffffffffffe) + UINT64_C(0x8000000000000000));
}

TEST_F(KernelCases, LogicalKernelsOrRawBitsAndTestLowWords) {
  const int32_t m = 1, n = 1, k = 2, one = 1, two = 2;
  const uint32_t a4[2] = {2, 1}, b4[2] = {7, 0x80000000u};
  uint32_t c4 = 0xffffffffu;
  _L4GEMMX(&m, &n, &k, a4, &one, &one, b4, &one, &two, &c4, &one, &one);
  EXPECT_EQ(c4, 3u);

  // LOGICAL*8: B's second element has only its high word set (ignored);
  // A's high words are never read, C's high word is 0.
  const uint32_t a8[4] = {4, 0xdead, 8, 0xbeef}, b8[4] = {1, 0, 0, 1};
  uint32_t c8[2] = {0xffffffffu, 0xffffffffu};
  _LGEMMX(&m, &n, &k, a8, &one, &one, b8, &one, &two, c8, &one, &one);
  EXPECT_EQ(c8[0], 4u);
  EXPECT_EQ(c8[1], 0u);
}

TEST_F(KernelCases, GemvLeavesYAloneForNZeroAndZeroesItForNNegative) {
  const int32_t m = 3, one = 1;
  const double a[3] = {1, 2, 3}, x[1] = {5};
  double y[3] = {9, 9, 9};
  const int32_t zero = 0, minus = -2;
  _SGEMVX(&m, &zero, a, &one, &m, x, &one, y, &one);
  EXPECT_EQ(y[0], 9.0);
  _SGEMVX(&m, &minus, a, &one, &m, x, &one, y, &one);
  EXPECT_EQ(y[0], 0.0);
  EXPECT_EQ(y[2], 0.0);
  _SGEMVX(&m, &one, a, &one, &m, x, &one, y, &one);
  EXPECT_EQ(y[2], 15.0);
}

}  // namespace
