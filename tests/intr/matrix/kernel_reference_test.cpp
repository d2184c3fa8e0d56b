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

#include "common/elem_calls.h"
#include "control_word.h"
#include "f90/matmul.h"
#include "matrix/kernel.h"

namespace {

using f90::matrix::LoopOrder;

enum class Kind { i1, i2, i4, i8, r4, r8, c8, c16, l1, l2, l4, l8 };

uint32_t bytes_of(Kind k) {
  switch (k) {
    case Kind::i1: case Kind::l1: return 1;
    case Kind::i2: case Kind::l2: return 2;
    case Kind::i4: case Kind::l4: case Kind::r4: return 4;
    case Kind::i8: case Kind::l8: case Kind::r8: case Kind::c8: return 8;
    case Kind::c16: return 16;
  }
  return 0;
}
bool is_int(Kind k) { return k == Kind::i1 || k == Kind::i2 || k == Kind::i4 || k == Kind::i8; }
bool is_logical(Kind k) { return k == Kind::l1 || k == Kind::l2 || k == Kind::l4 || k == Kind::l8; }
bool is_complex(Kind k) { return k == Kind::c8 || k == Kind::c16; }

struct KernelRow {
  const char* name;
  F90GemmKernel* gemm;
  F90GemvKernel* gemv;
  Kind a, b, c;
};

const KernelRow kKernels[] = {
    {"_SGEMMX", _SGEMMX, nullptr, Kind::r8, Kind::r8, Kind::r8},
    {"_S4GEMMX", _S4GEMMX, nullptr, Kind::r4, Kind::r4, Kind::r4},
    {"_S4SGEMMX", _S4SGEMMX, nullptr, Kind::r4, Kind::r8, Kind::r8},
    {"_CGEMMX", _CGEMMX, nullptr, Kind::c16, Kind::c16, Kind::c16},
    {"_C4GEMMX", _C4GEMMX, nullptr, Kind::c8, Kind::c8, Kind::c8},
    {"_I4SGEMMX", _I4SGEMMX, nullptr, Kind::i4, Kind::r8, Kind::r8},
    {"_I2SGEMMX", _I2SGEMMX, nullptr, Kind::i2, Kind::r8, Kind::r8},
    {"_I1SGEMMX", _I1SGEMMX, nullptr, Kind::i1, Kind::r8, Kind::r8},
    {"_I4S4GEMMX", _I4S4GEMMX, nullptr, Kind::i4, Kind::r4, Kind::r4},
    {"_I2S4GEMMX", _I2S4GEMMX, nullptr, Kind::i2, Kind::r4, Kind::r4},
    {"_I1S4GEMMX", _I1S4GEMMX, nullptr, Kind::i1, Kind::r4, Kind::r4},
    {"_I4GEMMX", _I4GEMMX, nullptr, Kind::i4, Kind::i4, Kind::i4},
    {"_I4I2GEMMX", _I4I2GEMMX, nullptr, Kind::i4, Kind::i2, Kind::i4},
    {"_I4I1GEMMX", _I4I1GEMMX, nullptr, Kind::i4, Kind::i1, Kind::i4},
    {"_I2GEMMX", _I2GEMMX, nullptr, Kind::i2, Kind::i2, Kind::i2},
    {"_I2I1GEMMX", _I2I1GEMMX, nullptr, Kind::i2, Kind::i1, Kind::i2},
    {"_I1GEMMX", _I1GEMMX, nullptr, Kind::i1, Kind::i1, Kind::i1},
    {"_JGEMMX", _JGEMMX, nullptr, Kind::i8, Kind::i8, Kind::i8},
    {"_JI4GEMMX", _JI4GEMMX, nullptr, Kind::i8, Kind::i4, Kind::i8},
    {"_JI2GEMMX", _JI2GEMMX, nullptr, Kind::i8, Kind::i2, Kind::i8},
    {"_JI1GEMMX", _JI1GEMMX, nullptr, Kind::i8, Kind::i1, Kind::i8},
    {"_LGEMMX", _LGEMMX, nullptr, Kind::l8, Kind::l8, Kind::l8},
    {"_LL4GEMMX", _LL4GEMMX, nullptr, Kind::l8, Kind::l4, Kind::l8},
    {"_LL2GEMMX", _LL2GEMMX, nullptr, Kind::l8, Kind::l2, Kind::l8},
    {"_LL1GEMMX", _LL1GEMMX, nullptr, Kind::l8, Kind::l1, Kind::l8},
    {"_L4GEMMX", _L4GEMMX, nullptr, Kind::l4, Kind::l4, Kind::l4},
    {"_L4L2GEMMX", _L4L2GEMMX, nullptr, Kind::l4, Kind::l2, Kind::l4},
    {"_L4L1GEMMX", _L4L1GEMMX, nullptr, Kind::l4, Kind::l1, Kind::l4},
    {"_L2GEMMX", _L2GEMMX, nullptr, Kind::l2, Kind::l2, Kind::l2},
    {"_L2L1GEMMX", _L2L1GEMMX, nullptr, Kind::l2, Kind::l1, Kind::l2},
    {"_L1GEMMX", _L1GEMMX, nullptr, Kind::l1, Kind::l1, Kind::l1},
    {"_SGEMVX", nullptr, _SGEMVX, Kind::r8, Kind::r8, Kind::r8},
    {"_S4GEMVX", nullptr, _S4GEMVX, Kind::r4, Kind::r4, Kind::r4},
    {"_CGEMVX", nullptr, _CGEMVX, Kind::c16, Kind::c16, Kind::c16},
    {"_C4GEMVX", nullptr, _C4GEMVX, Kind::c8, Kind::c8, Kind::c8},
};

// M, N, K and the element strides of A, B and C. For a GEMV kernel, N is
// its column count K here, x is B's first column (incx = Bs1) and y C's
// (incy = Cs1).
struct Layout {
  int32_t m, n, k, as1, as2, bs1, bs2, cs1, cs2;
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

// A strided matrix in a buffer of its own, every byte outside its elements
// holding a fill.
struct Matrix {
  std::vector<unsigned char> buf;
  int64_t origin = 0;  // byte offset of element (0,0)
  int32_t rows = 0, cols = 0, s1 = 0, s2 = 0;
  uint32_t size = 0;

  Matrix(Kind kind, int32_t r, int32_t c, int32_t st1, int32_t st2, unsigned char fill)
      : rows(r > 0 ? r : 0), cols(c > 0 ? c : 0), s1(st1), s2(st2), size(bytes_of(kind)) {
    int64_t lo = 0, hi = 0;
    if (rows > 0 && cols > 0) {
      for (int64_t ri : {int64_t{0}, int64_t{rows - 1}})
        for (int64_t ci : {int64_t{0}, int64_t{cols - 1}}) {
          lo = std::min(lo, ri * s1 + ci * s2);
          hi = std::max(hi, ri * s1 + ci * s2);
        }
    }
    origin = (-lo + 2) * size;
    buf.assign(static_cast<size_t>((hi - lo + 5) * size), fill);
  }
  char* at(int64_t i, int64_t j) {
    return reinterpret_cast<char*>(buf.data()) + origin + (i * s1 + j * s2) * size;
  }
  char* base() { return reinterpret_cast<char*>(buf.data()) + origin; }
};

std::mt19937 rng(7104);

// Random values with the special cases the kernels must treat right.
void fill_random(Matrix& x, Kind kind) {
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
  for (int32_t j = 0; j < x.cols; ++j)
    for (int32_t i = 0; i < x.rows; ++i) {
      char* p = x.at(i, j);
      switch (kind) {
        case Kind::r4: case Kind::c8:
          for (uint32_t part = 0; part < x.size; part += 4) {
            const float f = static_cast<float>(real_value());
            std::memcpy(p + part, &f, 4);
          }
          break;
        case Kind::r8: case Kind::c16:
          for (uint32_t part = 0; part < x.size; part += 8) {
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
          else if (is_int(kind) && p100 < 40) w[0] = w[0] % 7 - 3, w[1] = static_cast<int32_t>(w[0]) < 0 ? ~0u : 0;
          std::memcpy(p, w, x.size);
        }
      }
    }
}

// ---- the reference: the plain loops ----------------------------------------

long double real_at(Kind k, const char* p) {
  switch (k) {
    case Kind::i1: { int8_t v; std::memcpy(&v, p, 1); return v; }
    case Kind::i2: { int16_t v; std::memcpy(&v, p, 2); return v; }
    case Kind::i4: { int32_t v; std::memcpy(&v, p, 4); return v; }
    case Kind::r4: case Kind::c8: { float v; std::memcpy(&v, p, 4); return v; }
    default: { double v; std::memcpy(&v, p, 8); return v; }
  }
}
uint32_t part_bytes(Kind k) { return is_complex(k) ? bytes_of(k) / 2 : bytes_of(k); }

void store_real(Kind k, char* p, long double x) {
  if (part_bytes(k) == 4) {
    volatile float f = static_cast<float>(x);
    const float v = f;
    std::memcpy(p, &v, 4);
  } else {
    volatile double d = static_cast<double>(x);
    const double v = d;
    std::memcpy(p, &v, 8);
  }
}

int64_t int_at(Kind k, const char* p) {
  switch (k) {
    case Kind::i1: { int8_t v; std::memcpy(&v, p, 1); return v; }
    case Kind::i2: { int16_t v; std::memcpy(&v, p, 2); return v; }
    case Kind::i4: { int32_t v; std::memcpy(&v, p, 4); return v; }
    default: { int64_t v; std::memcpy(&v, p, 8); return v; }
  }
}

bool passes(long double b) { return b < 0 || b > 0; }  // unordered fails both

void reference(const KernelRow& kr, const Layout& l, LoopOrder order, Matrix& a, Matrix& b,
               Matrix& c) {
  const int32_t m = l.m, n = kr.gemv ? 1 : l.n, k = l.k;
  // GEMV: N = 0 leaves y untouched, N < 0 zeroes it (the k loop is empty).
  if (m <= 0 || (kr.gemv ? k == 0 : n <= 0)) return;
  for (int32_t j = 0; j < n; ++j)
    for (int32_t i = 0; i < m; ++i) {
      if (is_logical(kr.c)) {
        uint32_t lo = 0;
        for (int32_t t = 0; t < k; ++t) {
          uint32_t bw = 0, aw = 0;
          std::memcpy(&bw, b.at(t, j), std::min(4u, bytes_of(kr.b)));
          std::memcpy(&aw, a.at(i, t), std::min(4u, bytes_of(kr.a)));
          if (bw != 0) lo |= aw;
        }
        const uint32_t w[2] = {lo, 0};
        std::memcpy(c.at(i, j), w, bytes_of(kr.c));
      } else if (is_int(kr.c)) {
        // Products by libf90elem's INTEGER*8 multiplication, sums modulo 2^64.
        uint64_t low = 0;
        for (int32_t t = 0; t < k; ++t)
          low += static_cast<uint64_t>(_morvex_lmul(int_at(kr.a, a.at(i, t)), int_at(kr.b, b.at(t, j))));
        std::memcpy(c.at(i, j), &low, bytes_of(kr.c));
      } else if (!is_complex(kr.c)) {
        if (order == LoopOrder::inner_product) {
          long double s = 0.0L;
          for (int32_t t = 0; t < k; ++t) s = s + real_at(kr.a, a.at(i, t)) * real_at(kr.b, b.at(t, j));
          store_real(kr.c, c.at(i, j), s);
        } else {
          store_real(kr.c, c.at(i, j), 0.0L);
          for (int32_t t = 0; t < k; ++t) {
            const long double bv = real_at(kr.b, b.at(t, j));
            if (!passes(bv)) continue;
            store_real(kr.c, c.at(i, j), bv * real_at(kr.a, a.at(i, t)) + real_at(kr.c, c.at(i, j)));
          }
        }
      } else {
        const uint32_t h = part_bytes(kr.c);
        if (order == LoopOrder::inner_product) {
          long double re = 0.0L, im = 0.0L;
          for (int32_t t = 0; t < k; ++t) {
            const long double ar = real_at(kr.a, a.at(i, t)), ai = real_at(kr.a, a.at(i, t) + h);
            const long double br = real_at(kr.b, b.at(t, j)), bi = real_at(kr.b, b.at(t, j) + h);
            re = re + (ar * br - ai * bi);
            im = im + (ar * bi + ai * br);
          }
          store_real(kr.c, c.at(i, j), re);
          store_real(kr.c, c.at(i, j) + h, im);
        } else {
          store_real(kr.c, c.at(i, j), 0.0L);
          store_real(kr.c, c.at(i, j) + h, 0.0L);
          for (int32_t t = 0; t < k; ++t) {
            const long double br = real_at(kr.b, b.at(t, j)), bi = real_at(kr.b, b.at(t, j) + h);
            if (!passes(br) && !passes(bi)) continue;
            const long double ar = real_at(kr.a, a.at(i, t)), ai = real_at(kr.a, a.at(i, t) + h);
            const long double re = (ar * br - ai * bi) + real_at(kr.c, c.at(i, j));
            const long double im = (ai * br + ar * bi) + real_at(kr.c, c.at(i, j) + h);
            store_real(kr.c, c.at(i, j), re);
            store_real(kr.c, c.at(i, j) + h, im);
          }
        }
      }
    }
}

// The order a call takes: GEMV kernels and logical kernels have only the
// column order; integer kernels give the same bits in either.
LoopOrder expected_order(const KernelRow& kr, const Layout& l) {
  if (kr.gemv || is_logical(kr.c)) return LoopOrder::column;
  const f90::matrix::GemmCall g{l.m, l.n, l.k, 0, l.as1, l.as2, 0, l.bs1, l.bs2,
                                 0, l.cs1, l.cs2};
  return f90::matrix::loop_order(g, static_cast<int32_t>(bytes_of(kr.a)),
                                 static_cast<int32_t>(bytes_of(kr.b)));
}

class KernelReference : public f90test::ControlWordTest {};

TEST_F(KernelReference, EveryKernelMatchesThePlainLoopsBitForBit) {
  int checked = 0;
  for (const KernelRow& kr : kKernels) {
    for (const Layout& l : kLayouts) {
      const int32_t n = kr.gemv ? 1 : l.n;
      for (uint16_t cw : kControlWords) {
        Matrix a(kr.a, l.m, l.k, l.as1, l.as2, 0xA5);
        Matrix b(kr.b, l.k, n, l.bs1, l.bs2, 0xB5);
        Matrix got(kr.c, l.m, n, l.cs1, l.cs2, 0xC5);
        fill_random(a, kr.a);
        fill_random(b, kr.b);
        Matrix want = got;
        f90test::under_cw(cw, [&] {
          reference(kr, l, expected_order(kr, l), a, b, want);
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
        ASSERT_EQ(got.buf, want.buf) << kr.name << " M=" << l.m << " N=" << l.n << " K=" << l.k
                                     << " As=" << l.as1 << "," << l.as2 << " cw=" << std::hex
                                     << cw;
        ++checked;
      }
    }
  }
  EXPECT_EQ(checked, 35 * 19 * 3);
}

}  // namespace
