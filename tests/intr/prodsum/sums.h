// The whole-array SUM and PRODUCT entries as compiled code calls them, and a
// uniform way to call any of them: the result's bytes as the routine hands
// them back (value forms: INTEGER*1/2/4 as the 32-bit eax, INTEGER*8 as 8
// bytes, REAL*4/8 as the 10-byte x87 register value).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "descriptor_builder.h"
#include "f90/descriptor.h"
#include "value/types.h"

namespace sums {

using Desc = ArrayDescriptor;
using Bytes = std::vector<uint8_t>;
using DD = morvex::DoubleDouble;

extern "C" {
#define SUMS_DECLARE(PFX)                                                                   \
  int32_t PFX##_I1(Desc*, const int32_t*, Desc*) __asm__("_" #PFX "_I1");                   \
  int32_t PFX##_I2(Desc*, const int32_t*, Desc*) __asm__("_" #PFX "_I2");                   \
  int32_t PFX##_I4(Desc*, const int32_t*, Desc*) __asm__("_" #PFX "_I4");                   \
  int64_t PFX##_J(Desc*, const int32_t*, Desc*) __asm__("_" #PFX "_J");                     \
  long double PFX##_S4(Desc*, const int32_t*, Desc*) __asm__("_" #PFX "_S4");               \
  long double PFX##_S(Desc*, const int32_t*, Desc*) __asm__("_" #PFX "_S");                 \
  void* PFX##_C4(void*, Desc*, const int32_t*, Desc*) __asm__("_" #PFX "_C4");              \
  void* PFX##_C(void*, Desc*, const int32_t*, Desc*) __asm__("_" #PFX "_C");                \
  void* PFX##_D(void*, Desc*, const int32_t*, Desc*) __asm__("_" #PFX "_D");                \
  void* PFX##_Z(void*, Desc*, const int32_t*, Desc*) __asm__("_" #PFX "_Z");
SUMS_DECLARE(SUM0)
SUMS_DECLARE(PROD0)
DD* qadd(DD*, DD, DD) __asm__("_morvex_qadd");
DD* qsub(DD*, DD, DD) __asm__("_morvex_qsub");
DD* qmul(DD*, DD, DD) __asm__("_morvex_qmul");
}

template <class T>
Bytes bytes_of(const T& v, size_t n = sizeof(T)) {
  Bytes b(n);
  std::memcpy(b.data(), &v, n);
  return b;
}

using Call = std::function<Bytes(Desc*, const int32_t*, Desc*)>;

template <class R>
Call value(R (*f)(Desc*, const int32_t*, Desc*)) {
  return [f](Desc* s, const int32_t* d, Desc* m) {
    const R v = f(s, d, m);
    return bytes_of(v, std::is_same_v<R, long double> ? 10 : sizeof(R));
  };
}
// Result-address form: the slot is written in its first n bytes only and
// the routine returns the slot's address.
inline Call address(void* (*f)(void*, Desc*, const int32_t*, Desc*), size_t n) {
  return [f, n](Desc* s, const int32_t* d, Desc* m) {
    uint8_t slot[40];
    std::memset(slot, 0xEE, sizeof slot);
    EXPECT_EQ(f(slot, s, d, m), slot);
    for (size_t i = n; i < sizeof slot; ++i) EXPECT_EQ(slot[i], 0xEE) << "byte " << i;
    return Bytes(slot, slot + n);
  };
}

struct Entry {
  const char* name;
  f90test::ElemType type;
  bool product;
  Call call;
};

#define SUMS_ENTRIES(PFX, P)                                                                  \
  {#PFX "_I1", f90test::ElemType::integer(1), P, value(PFX##_I1)},                             \
      {#PFX "_I2", f90test::ElemType::integer(2), P, value(PFX##_I2)},                         \
      {#PFX "_I4", f90test::ElemType::integer(4), P, value(PFX##_I4)},                         \
      {#PFX "_J", f90test::ElemType::integer(8), P, value(PFX##_J)},                           \
      {#PFX "_S4", f90test::ElemType::real(4), P, value(PFX##_S4)},                            \
      {#PFX "_S", f90test::ElemType::real(8), P, value(PFX##_S)},                              \
      {#PFX "_C4", f90test::ElemType::complex(8), P, address(PFX##_C4, 8)},                    \
      {#PFX "_C", f90test::ElemType::complex(16), P, address(PFX##_C, 16)},                    \
      {#PFX "_D", f90test::ElemType::real(16), P, address(PFX##_D, 16)},                       \
      {#PFX "_Z", f90test::ElemType::complex(32), P, address(PFX##_Z, 32)}

inline const std::vector<Entry>& entries() {
  static const std::vector<Entry> all = {SUMS_ENTRIES(SUM0, false), SUMS_ENTRIES(PROD0, true)};
  return all;
}

// Random element values for the reference tests: integers as raw bits, reals
// with spread exponents (sums) or near 1 (products), double-double low parts
// far below their high parts.
inline double random_part(std::mt19937& g, bool product) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(g); };
  const double m = 1 + pick(0, 4095) / 4096.0;
  return (pick(0, 1) ? -1 : 1) * (product ? m * 0.75 : std::ldexp(m, pick(-40, 40)));
}
inline void random_fill(f90test::TestArray& a, bool product, std::mt19937& g) {
  const f90test::ElemType t = a.type();
  for (int64_t k = 0; k < a.size(); ++k) {
    char* p = a.at_linear(k);
    if (t.code() == TYPE_INTEGER) {
      const uint64_t v = (uint64_t{g()} << 32 | g()) | (product ? 1 : 0);
      std::memcpy(p, &v, t.bytes());
    } else if (t.bytes() == 4 || (t.code() == TYPE_COMPLEX && t.bytes() == 8)) {
      for (uint32_t i = 0; i < t.bytes() / 4; ++i) {
        const float f = static_cast<float>(random_part(g, product));
        std::memcpy(p + 4 * i, &f, 4);
      }
    } else {
      const bool dd = t.bytes() == 32 || (t.code() == TYPE_REAL && t.bytes() == 16);
      for (uint32_t i = 0; i < t.bytes() / 8; ++i) {
        const double d = dd && i % 2 ? random_part(g, false) * 0x1p-70 : random_part(g, product);
        std::memcpy(p + 8 * i, &d, 8);
      }
    }
  }
}

// A MASK element (null MASK: true; rank 0: its one element for every index).
inline bool mask_truth(f90test::TestArray* m, const std::vector<int64_t>& at) {
  if (m == nullptr) return true;
  uint32_t v = 0;  // LOGICAL*8: the low-order word only
  std::memcpy(&v, m->rank() == 0 ? m->at_linear(0) : m->at(at), std::min(4u, m->type().bytes()));
  return v != 0;
}

}  // namespace sums
