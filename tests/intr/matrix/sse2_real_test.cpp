// The SSE2 lanes of _SGEMMX and _S4GEMMX: taken exactly when the control
// word selects 53-bit precision and the operands are in range, and bit for
// bit the plain x87 loops either way: in each of the four rounding modes,
// at the exponent boundaries of the REAL*8 operand scan (products near
// 2^+-1000 just inside and just outside), with subnormal products, NaNs,
// infinities and subnormal operands, REAL*4 sums that overflow at the store,
// under 0x037f and 0x007f. The caller's MXCSR is kept.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "control_word.h"
#include "matrix/sse2_real.h"
#include "models.h"

namespace {

using namespace mxtest;

uint32_t mxcsr() {
  uint32_t v;
  __asm__ volatile("stmxcsr %0" : "=m"(v));
  return v;
}

// How the operands are made: in-range values scaled by 2^scale_a and
// 2^scale_b, with one special element planted in A when `plant` is given.
struct Case {
  const char* what;
  int scale_a, scale_b;
  double plant;  // 0: none
  int32_t k;
  bool lanes;  // under a 53-bit control word
};

const Case kReal8Cases[] = {
    {"in range", 0, 0, 0.0, 40, true},
    {"products near 2^+1000, inside", 500, 494, 0.0, 40, true},
    {"products near 2^+1000, sums outside", 500, 510, 0.0, 40, false},
    {"products near 2^-1000, inside", -500, -500, 0.0, 40, true},
    {"subnormal products", -520, -540, 0.0, 40, false},
    {"a NaN", 0, 0, NAN, 40, false},
    {"an infinity", 0, 0, INFINITY, 40, false},
    {"a subnormal operand", 0, 0, 0x1p-1060, 40, false},
    {"a tiny normal operand, products normal", 0, 0, 0x1p-1000, 40, true},
    {"a tiny normal operand, products subnormal", 0, 0, 0x1p-1020, 40, false},
    {"too small to scan", 0, 0, 0.0, 2, false},
};

// REAL*4 values never leave the double range: only NaN and infinity (and
// the control word) keep the lanes out.
const Case kReal4Cases[] = {
    {"in range", 0, 0, 0.0, 40, true},
    {"sums that overflow REAL*4", 60, 60, 0.0, 40, true},
    {"products below the REAL*4 range", -60, -70, 0.0, 40, true},
    {"a subnormal operand", 0, 0, 0x1p-140, 40, true},
    {"a NaN", 0, 0, NAN, 40, false},
    {"an infinity", 0, 0, -INFINITY, 40, false},
    {"too small to scan", 0, 0, 0.0, 2, false},
};

// Rounding mode and precision fields of the control words tried.
const uint16_t kLaneWords[] = {0x127f, 0x167f, 0x1a7f, 0x1e7f};  // nearest, down, up, chop
const uint16_t kX87Words[] = {0x037f, 0x007f};

template <class T>
void fill(StridedBlock& x, int scale, std::mt19937& gen) {
  std::uniform_int_distribution<uint32_t> bits;
  for (int32_t j = 0; j < x.cols(); ++j)
    for (int32_t i = 0; i < x.rows(); ++i) {
      const uint32_t r = bits(gen);
      double v = 0.0;
      if (r % 13 == 0) {
        v = r % 2 ? -0.0 : 0.0;
      } else {
        // A full 53-bit significand in [0.5, 1), an exponent within +-8.
        const double sig = std::ldexp(static_cast<double>(bits(gen) >> 5) * 67108864.0 +
                                          static_cast<double>(bits(gen) >> 6),
                                      -53) * 0.5 + 0.5;
        v = std::ldexp(r & 1 ? -sig : sig, static_cast<int>(r >> 8) % 17 - 8 + scale);
      }
      const T t = static_cast<T>(v);
      std::memcpy(x.at(i, j), &t, sizeof t);
    }
}

class Sse2Lanes : public f90test::ControlWordTest {
 protected:
  template <class T, size_t N>
  void check(const KernelRow& kernel, const Case (&cases)[N],
             bool (*exact)(const f90::matrix::GemmCall&, uint16_t)) {
    const uint32_t size = bytes_of(kernel.km.x);
    std::mt19937 gen(1234);
    for (const Case& c : cases) {
      // Both loop orders: A by columns with a long leading dimension (column
      // order), and A by rows (inner product). M and N odd: the tile edges.
      const int32_t m = 37, n = 29;
      const Layout layouts[] = {{m, n, c.k, 1, 300, 1, c.k, 1, m},
                                {m, n, c.k, c.k, 1, 1, c.k, 1, m}};
      for (const Layout& l : layouts) {
        StridedBlock a(size, l.m, l.k, l.as1, l.as2, 0xA5);
        StridedBlock b(size, l.k, l.n, l.bs1, l.bs2, 0xB5);
        fill<T>(a, c.scale_a, gen);
        fill<T>(b, c.scale_b, gen);
        if (c.plant != 0.0) {
          const T planted = static_cast<T>(c.plant);
          std::memcpy(a.at(l.m / 2, l.k / 2), &planted, sizeof planted);
        }
        for (bool lane_word : {true, false}) {
          for (uint16_t cw : lane_word ? std::vector<uint16_t>(std::begin(kLaneWords),
                                                               std::end(kLaneWords))
                                       : std::vector<uint16_t>(std::begin(kX87Words),
                                                               std::end(kX87Words))) {
            const f90::matrix::GemmCall g{l.m, l.n, l.k, reinterpret_cast<uintptr_t>(a.base()),
                                          l.as1, l.as2, reinterpret_cast<uintptr_t>(b.base()),
                                          l.bs1, l.bs2, 0, l.cs1, l.cs2};
            EXPECT_EQ(exact(g, cw), lane_word && c.lanes)
                << kernel.name << ": " << c.what << " cw=" << std::hex << cw;
            StridedBlock got(size, l.m, l.n, l.cs1, l.cs2, 0xC5);
            StridedBlock want = got;
            f90test::under_cw(cw, [&] {
              model_call(kernel, l, a, b, want);
              return 0;
            });
            const uint32_t csr = mxcsr();
            expect_cw_kept(
                [&] {
                  kernel.gemm(&l.m, &l.n, &l.k, a.base(), &l.as1, &l.as2, b.base(), &l.bs1,
                              &l.bs2, got.base(), &l.cs1, &l.cs2);
                },
                cw);
            EXPECT_EQ(mxcsr(), csr);
            ASSERT_EQ(got.bytes(), want.bytes())
                << kernel.name << ": " << c.what << " As=" << l.as1 << "," << l.as2
                << " cw=" << std::hex << cw;
          }
        }
      }
    }
  }
};

TEST_F(Sse2Lanes, Real8OnlyWhenProvenAndTheBitsOfThePlainLoopsEverywhere) {
  check<double>({"_SGEMMX", _SGEMMX, nullptr, Kd::r8, Kd::r8, Kd::r8}, kReal8Cases,
                f90::matrix::sse2_real8_exact);
}

TEST_F(Sse2Lanes, Real4OnlyWhenProvenAndTheBitsOfThePlainLoopsEverywhere) {
  check<float>({"_S4GEMMX", _S4GEMMX, nullptr, Kd::r4, Kd::r4, Kd::r4}, kReal4Cases,
               f90::matrix::sse2_real4_exact);
}

}  // namespace
