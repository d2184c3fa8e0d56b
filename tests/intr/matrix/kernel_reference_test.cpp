// Every GEMM and GEMV kernel of the kernel table against a naive reference
// that follows the plain loops term by term, bit for bit: random operands
// with zeros, NaNs and infinities, layouts with non-unit, zero and negative
// strides, both loop orders, M, N, K of 0, 1 and negative, blocks large
// enough to split, under control words 0x127f, 0x037f and 0x007f. Bytes of
// C that are not elements must keep their fill.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "control_word.h"
#include "models.h"

namespace {

using namespace mxtest;

const KernelRow kKernels[] = {
    {"_SGEMMX", _SGEMMX, nullptr, Kd::r8, Kd::r8, Kd::r8},
    {"_S4GEMMX", _S4GEMMX, nullptr, Kd::r4, Kd::r4, Kd::r4},
    {"_S4SGEMMX", _S4SGEMMX, nullptr, Kd::r4, Kd::r8, Kd::r8},
    {"_CGEMMX", _CGEMMX, nullptr, Kd::c16, Kd::c16, Kd::c16},
    {"_C4GEMMX", _C4GEMMX, nullptr, Kd::c8, Kd::c8, Kd::c8},
    {"_I4SGEMMX", _I4SGEMMX, nullptr, Kd::i4, Kd::r8, Kd::r8},
    {"_I2SGEMMX", _I2SGEMMX, nullptr, Kd::i2, Kd::r8, Kd::r8},
    {"_I1SGEMMX", _I1SGEMMX, nullptr, Kd::i1, Kd::r8, Kd::r8},
    {"_I4S4GEMMX", _I4S4GEMMX, nullptr, Kd::i4, Kd::r4, Kd::r4},
    {"_I2S4GEMMX", _I2S4GEMMX, nullptr, Kd::i2, Kd::r4, Kd::r4},
    {"_I1S4GEMMX", _I1S4GEMMX, nullptr, Kd::i1, Kd::r4, Kd::r4},
    {"_I4GEMMX", _I4GEMMX, nullptr, Kd::i4, Kd::i4, Kd::i4},
    {"_I4I2GEMMX", _I4I2GEMMX, nullptr, Kd::i4, Kd::i2, Kd::i4},
    {"_I4I1GEMMX", _I4I1GEMMX, nullptr, Kd::i4, Kd::i1, Kd::i4},
    {"_I2GEMMX", _I2GEMMX, nullptr, Kd::i2, Kd::i2, Kd::i2},
    {"_I2I1GEMMX", _I2I1GEMMX, nullptr, Kd::i2, Kd::i1, Kd::i2},
    {"_I1GEMMX", _I1GEMMX, nullptr, Kd::i1, Kd::i1, Kd::i1},
    {"_JGEMMX", _JGEMMX, nullptr, Kd::i8, Kd::i8, Kd::i8},
    {"_JI4GEMMX", _JI4GEMMX, nullptr, Kd::i8, Kd::i4, Kd::i8},
    {"_JI2GEMMX", _JI2GEMMX, nullptr, Kd::i8, Kd::i2, Kd::i8},
    {"_JI1GEMMX", _JI1GEMMX, nullptr, Kd::i8, Kd::i1, Kd::i8},
    {"_LGEMMX", _LGEMMX, nullptr, Kd::l8, Kd::l8, Kd::l8},
    {"_LL4GEMMX", _LL4GEMMX, nullptr, Kd::l8, Kd::l4, Kd::l8},
    {"_LL2GEMMX", _LL2GEMMX, nullptr, Kd::l8, Kd::l2, Kd::l8},
    {"_LL1GEMMX", _LL1GEMMX, nullptr, Kd::l8, Kd::l1, Kd::l8},
    {"_L4GEMMX", _L4GEMMX, nullptr, Kd::l4, Kd::l4, Kd::l4},
    {"_L4L2GEMMX", _L4L2GEMMX, nullptr, Kd::l4, Kd::l2, Kd::l4},
    {"_L4L1GEMMX", _L4L1GEMMX, nullptr, Kd::l4, Kd::l1, Kd::l4},
    {"_L2GEMMX", _L2GEMMX, nullptr, Kd::l2, Kd::l2, Kd::l2},
    {"_L2L1GEMMX", _L2L1GEMMX, nullptr, Kd::l2, Kd::l1, Kd::l2},
    {"_L1GEMMX", _L1GEMMX, nullptr, Kd::l1, Kd::l1, Kd::l1},
    {"_SGEMVX", nullptr, _SGEMVX, Kd::r8, Kd::r8, Kd::r8},
    {"_S4GEMVX", nullptr, _S4GEMVX, Kd::r4, Kd::r4, Kd::r4},
    {"_CGEMVX", nullptr, _CGEMVX, Kd::c16, Kd::c16, Kd::c16},
    {"_C4GEMVX", nullptr, _C4GEMVX, Kd::c8, Kd::c8, Kd::c8},
};

const Layout kLayouts[] = {
    {3, 5, 4, 1, 3, 1, 4, 1, 3},                  // contiguous, small estimate
    {7, 6, 9, 1, 2000, 1, 9, 1, 7},               // A with a long leading dimension: column
    {7, 6, 9, 9, 1, 1, 9, 1, 7},                  // A stored row-wise: inner product
    {5, 4, 6, -1, 1500, -2, -13, -1, -9},         // negative strides, column
    {5, 4, 6, 6, -1, 2, -13, 2, 11},              // negative As2, row-wise: inner product
    {6, 3, 5, 0, 1000, 0, 3, 1, 6},               // zero strides in A and B, column
    {4, 3, 5, 0, 4, 3, 0, 3, 1},                  // zero strides, small estimate; C by rows
    {1, 4, 6, 3, 3, 1, 6, 1, 1},                  // As1 = As2 (one row)
    {1, 1, 1, 1, 1, 1, 1, 1, 1},
    {3, 2, 0, 1, 3000, 1, 1, 1, 3},               // K = 0, column
    {3, 2, 0, 2, 1, 1, 1, 1, 3},                  // K = 0, inner product
    {3, 2, -3, 1, 3000, 1, 1, 1, 3},              // K < 0
    {0, 3, 4, 1, 3000, 1, 4, 1, 1},               // M = 0
    {3, 0, 4, 1, 3000, 1, 4, 1, 3},               // N = 0
    {-1, 3, 4, 1, 3000, 1, 4, 1, 1},              // M < 0
    {3, -2, 4, 1, 3000, 1, 4, 1, 3},              // N < 0
    {600, 3, 70, 1, 600, 1, 70, 1, 600},          // column, several row and k blocks
    {3, 40, 5000, 5000, 1, 1, 5000, 1, 3},        // inner product, several column blocks
    {17, 13, 11, 11, 1, 1, 11, 1, 17},            // odd tile edges
};

const uint16_t kControlWords[] = {0x127f, 0x037f, 0x007f};

std::mt19937 rng(7104);

// Random values with the special cases the kernels must treat right.
void fill_random(StridedBlock& x, Kd kind) {
  std::uniform_int_distribution<int> pct(0, 99);
  std::uniform_int_distribution<uint32_t> bits;
  auto real_value = [&]() -> double {
    const int p = pct(rng);
    if (p < 8) return p < 4 ? 0.0 : -0.0;
    if (p < 11) return std::nan("");
    if (p < 13) return p == 11 ? INFINITY : -INFINITY;
    // Full 53-bit significands over a modest exponent range, so that the
    // 24-, 53- and 64-bit precisions round differently.
    const double sig = std::ldexp(static_cast<double>(bits(rng) >> 5) * 67108864.0 +
                                      static_cast<double>(bits(rng) >> 6), -53);
    return std::ldexp(p & 1 ? -sig : sig, static_cast<int>(bits(rng) % 24) - 12);
  };
  for (int32_t j = 0; j < x.cols(); ++j)
    for (int32_t i = 0; i < x.rows(); ++i) {
      char* p = x.at(i, j);
      switch (kind) {
        case Kd::r4: case Kd::c8:
          for (uint32_t part = 0; part < x.size(); part += 4) {
            const float f = static_cast<float>(real_value());
            std::memcpy(p + part, &f, 4);
          }
          break;
        case Kd::r8: case Kd::c16:
          for (uint32_t part = 0; part < x.size(); part += 8) {
            const double d = real_value();
            std::memcpy(p + part, &d, 8);
          }
          break;
        default: {
          // Integers: full-range values (products wrap) and some zeros;
          // logicals: raw bit patterns, half of them zero, some with only
          // the high word of a LOGICAL*8 set.
          uint32_t w[2] = {bits(rng), bits(rng)};
          const int p100 = pct(rng);
          if (p100 < (is_logical(kind) ? 45 : 10)) w[0] = w[1] = 0;
          else if (is_logical(kind) && p100 < 55) w[0] = 0;
          else if (!is_logical(kind) && p100 < 40) w[0] = w[0] % 7 - 3, w[1] = static_cast<int32_t>(w[0]) < 0 ? ~0u : 0;
          std::memcpy(p, w, x.size());
        }
      }
    }
}

class KernelReference : public f90test::ControlWordTest {};

TEST_F(KernelReference, EveryKernelMatchesThePlainLoopsBitForBit) {
  int checked = 0;
  for (const KernelRow& kr : kKernels) {
    for (const Layout& l : kLayouts) {
      const int32_t n = kr.gemv ? 1 : l.n;
      for (uint16_t cw : kControlWords) {
        StridedBlock a(bytes_of(kr.km.x), l.m, l.k, l.as1, l.as2, 0xA5);
        StridedBlock b(bytes_of(kr.km.y), l.k, n, l.bs1, l.bs2, 0xB5);
        StridedBlock got(bytes_of(kr.km.c), l.m, n, l.cs1, l.cs2, 0xC5);
        fill_random(a, kr.km.x);
        fill_random(b, kr.km.y);
        StridedBlock want = got;
        f90test::under_cw(cw, [&] {
          model_call(kr, l, a, b, want);
          return 0;
        });
        expect_cw_kept(
            [&] {
              if (kr.gemm)
                kr.gemm(&l.m, &l.n, &l.k, a.base(), &l.as1, &l.as2, b.base(), &l.bs1, &l.bs2,
                        got.base(), &l.cs1, &l.cs2);
              else
                kr.gemv(&l.m, &l.k, a.base(), &l.as1, &l.as2, b.base(), &l.bs1, got.base(),
                        &l.cs1);
            },
            cw);
        ASSERT_EQ(got.bytes(), want.bytes())
            << kr.name << " M=" << l.m << " N=" << l.n << " K=" << l.k << " As=" << l.as1 << ","
            << l.as2 << " cw=" << std::hex << cw;
        ++checked;
      }
    }
  }
  EXPECT_EQ(checked, 35 * 19 * 3);
}

}  // namespace
