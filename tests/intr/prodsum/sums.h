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

#include "f90/f90.h"
#include "descriptor_builder.h"
#include "f90/descriptor.h"
#include "value/types.h"

namespace sums {

using Desc = ArrayDescriptor;
using Bytes = std::vector<uint8_t>;
using DD = ::DoubleDouble;  // REAL*16


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
template <class T>
Call address(T* (*f)(T*, Desc*, const int32_t*, Desc*), size_t n) {
  return [f, n](Desc* s, const int32_t* d, Desc* m) {
    alignas(8) uint8_t slot[40];
    std::memset(slot, 0xEE, sizeof slot);
    T* at = reinterpret_cast<T*>(slot);
    EXPECT_EQ(f(at, s, d, m), at);
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

inline const std::vector<Entry>& entries() {
  static const std::vector<Entry> all = {
      {"SUM0_I1", f90test::ElemType::integer(1), false, value(_SUM0_I1)},
      {"SUM0_I2", f90test::ElemType::integer(2), false, value(_SUM0_I2)},
      {"SUM0_I4", f90test::ElemType::integer(4), false, value(_SUM0_I4)},
      {"SUM0_J", f90test::ElemType::integer(8), false, value(_SUM0_J)},
      {"SUM0_S4", f90test::ElemType::real(4), false, value(_SUM0_S4)},
      {"SUM0_S", f90test::ElemType::real(8), false, value(_SUM0_S)},
      {"SUM0_C4", f90test::ElemType::complex(8), false, address(_SUM0_C4, 8)},
      {"SUM0_C", f90test::ElemType::complex(16), false, address(_SUM0_C, 16)},
      {"SUM0_D", f90test::ElemType::real(16), false, address(_SUM0_D, 16)},
      {"SUM0_Z", f90test::ElemType::complex(32), false, address(_SUM0_Z, 32)},
      {"PROD0_I1", f90test::ElemType::integer(1), true, value(_PROD0_I1)},
      {"PROD0_I2", f90test::ElemType::integer(2), true, value(_PROD0_I2)},
      {"PROD0_I4", f90test::ElemType::integer(4), true, value(_PROD0_I4)},
      {"PROD0_J", f90test::ElemType::integer(8), true, value(_PROD0_J)},
      {"PROD0_S4", f90test::ElemType::real(4), true, value(_PROD0_S4)},
      {"PROD0_S", f90test::ElemType::real(8), true, value(_PROD0_S)},
      {"PROD0_C4", f90test::ElemType::complex(8), true, address(_PROD0_C4, 8)},
      {"PROD0_C", f90test::ElemType::complex(16), true, address(_PROD0_C, 16)},
      {"PROD0_D", f90test::ElemType::real(16), true, address(_PROD0_D, 16)},
      {"PROD0_Z", f90test::ElemType::complex(32), true, address(_PROD0_Z, 32)},
  };
  return all;
}

// An element's bytes as T and back; a long double rounded to T's format.
using f90test::load_bytes;
using f90test::store_bytes;
template <class T>
T rounded(long double x) {
  volatile T v = static_cast<T>(x);
  return v;
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
