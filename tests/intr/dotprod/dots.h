// Test support for DOT_PRODUCT: operand kinds, random operands (sections of
// any step), a type-erased call of any entry, and the naive reference: the
// sums written out from the rules of each family, reading the elements
// through the test's own section addressing (never through the library's
// stride conversion).
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "control_word.h"
#include "descriptor_builder.h"
#include "float_results.h"
#include "f90/descriptor.h"
#include "f90/dotprod.h"
#include "value/types.h"

namespace dots {

using f90test::ElemType;
using f90test::TestArray;
using AD = ArrayDescriptor;

enum class K { i1, i2, i4, j, s4, s, d, c4, c, z, l1, l2, l4, l };

inline ElemType elem_type(K k) {
  switch (k) {
    case K::i1: return ElemType::integer(1);
    case K::i2: return ElemType::integer(2);
    case K::i4: return ElemType::integer(4);
    case K::j: return ElemType::integer(8);
    case K::s4: return ElemType::real(4);
    case K::s: return ElemType::real(8);
    case K::d: return ElemType::real(16);
    case K::c4: return ElemType::complex(8);
    case K::c: return ElemType::complex(16);
    case K::z: return ElemType::complex(32);
    case K::l1: return ElemType::logical(1);
    case K::l2: return ElemType::logical(2);
    case K::l4: return ElemType::logical(4);
    case K::l: return ElemType::logical(8);
  }
  return ElemType::integer(4);
}
inline bool is_complex(K k) { return k == K::c4 || k == K::c || k == K::z; }

// A result as the bytes the caller sees: eax (4), edx:eax (8), st(0) (the
// 10 bytes of an x87 value) or the result slot.
struct Out {
  std::vector<uint8_t> bytes;
  std::string show() const {
    std::string s;
    char buf[4];
    for (uint8_t b : bytes) {
      std::snprintf(buf, sizeof buf, "%02x", b);
      s += buf;
    }
    return s;
  }
  bool operator==(const Out& o) const { return bytes == o.bytes; }
};
template <class T>
Out out_of(const T& v, size_t n = sizeof(T)) {
  Out o;
  o.bytes.resize(n);
  std::memcpy(o.bytes.data(), &v, n);
  return o;
}
inline Out out_of_x87(long double v) { return out_of(v, 10); }

using Call = std::function<Out(AD*, AD*)>;

// Type-erased calls of every entry form.
template <class R>
  requires std::is_arithmetic_v<R>
inline Call call(R (*f)(const AD*, const AD*)) {
  return [f](AD* a, AD* b) {
    if constexpr (std::is_same_v<R, long double>) {
      return out_of_x87(f(a, b));
    } else {
      return out_of(f(a, b));
    }
  };
}
// Slot results: the slot starts as 0xCC bytes, the routine must return its
// address and write all of it.
template <class Slot>
inline Call call(Slot* (*f)(Slot*, const AD*, const AD*)) {
  return [f](AD* a, AD* b) {
    Slot slot;
    std::memset(&slot, 0xCC, sizeof slot);
    Slot* r = f(&slot, a, b);
    EXPECT_EQ(r, &slot) << "the result pointer is returned";
    return out_of(slot);
  };
}

// ---- reading elements the test's way ----------------------------------------

inline int64_t int_at(TestArray& x, K k, int64_t i) {
  switch (k) {
    case K::i1: return x.get_linear<int8_t>(i);
    case K::i2: return x.get_linear<int16_t>(i);
    case K::i4: return x.get_linear<int32_t>(i);
    default: return x.get_linear<int64_t>(i);
  }
}
inline uint32_t logical_at(TestArray& x, K k, int64_t i) {
  switch (k) {
    case K::l1: return x.get_linear<uint8_t>(i);
    case K::l2: return x.get_linear<uint16_t>(i);
    case K::l4: return x.get_linear<uint32_t>(i);
    default: return static_cast<uint32_t>(x.get_linear<uint64_t>(i));
  }
}
// Real part (part 0) or imaginary part (part 1) of a REAL*4/8, COMPLEX*8/16
// or integer element, exactly.
inline long double x87_at(TestArray& x, K k, int64_t i, int part = 0) {
  const char* p = x.at_linear(i);
  switch (k) {
    case K::s4:
    case K::c4: {
      float v;
      std::memcpy(&v, p + 4 * part, 4);
      return v;
    }
    case K::s:
    case K::c: {
      double v;
      std::memcpy(&v, p + 8 * part, 8);
      return v;
    }
    default: return static_cast<long double>(int_at(x, k, i));
  }
}

// ---- random operands ----------------------------------------------------------

inline std::mt19937& rng() {
  static std::mt19937 g(20261209);
  return g;
}
inline int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng()); }
inline uint64_t bits64() {
  return (static_cast<uint64_t>(rng()()) << 32) | rng()();
}
// A finite double of either sign over a spread of exponents, with all 53
// bits of significand in use, so that sums round differently at 53 and 64 bits.
inline double random_double(int spread = 30) {
  const double m = std::ldexp(static_cast<double>(bits64() >> 11), -53) + 0.5;
  const double v = std::ldexp(m, pick(-spread, spread));
  return pick(0, 1) ? -v : v;
}
// Half of them normalised (|lo| below half an ulp of hi); the others not
// (lo up to the size of hi), as callers may pass them: the double-double
// product is then sensitive to the order of its operands.
inline morvex::DoubleDouble random_dd() {
  const double hi = random_double();
  if (pick(0, 1)) {
    const double lo = std::ldexp(random_double(0), std::ilogb(hi) - 54);
    return {hi + lo, lo - ((hi + lo) - hi)};
  }
  return {hi, std::ldexp(random_double(0), std::ilogb(hi) - pick(0, 50))};
}

inline void fill_random(TestArray& x, K k) {
  for (int64_t i = 0; i < x.size(); ++i) {
    char* p = x.at_linear(i);
    switch (k) {
      case K::i1:
      case K::i2:
      case K::i4:
      case K::j:
      case K::l1:
      case K::l2:
      case K::l4:
      case K::l: {
        uint64_t v = bits64();
        if (k == K::j && pick(0, 1)) v = static_cast<uint64_t>(static_cast<int64_t>(v) >> pick(0, 40));
        if ((k == K::l1 || k == K::l2 || k == K::l4 || k == K::l) && pick(0, 2) == 0) v = 0;
        std::memcpy(p, &v, elem_type(k).bytes());
        break;
      }
      case K::s4:
      case K::c4: {
        const float v[2] = {static_cast<float>(random_double()), static_cast<float>(random_double())};
        std::memcpy(p, v, k == K::s4 ? 4 : 8);
        break;
      }
      case K::s:
      case K::c: {
        const double v[2] = {random_double(), random_double()};
        std::memcpy(p, v, k == K::s ? 8 : 16);
        break;
      }
      case K::d:
      case K::z: {
        const morvex::DoubleDouble v[2] = {random_dd(), random_dd()};
        std::memcpy(p, v, k == K::d ? 16 : 32);
        break;
      }
    }
  }
}

// Two operands of n elements, A with step sa, B with step sb (in elements;
// negative walks downward), random contents. B's descriptor extent is set
// to a wrong value (B's extent must not be read); with n <= 0 both bases are
// null (nothing may be read).
struct Pair {
  std::unique_ptr<TestArray> a, b;
  int32_t n;
};
inline Pair random_pair(K ka, K kb, int32_t n, int32_t sa, int32_t sb) {
  const int32_t e = n > 0 ? n : 0;
  Pair p{std::make_unique<TestArray>(elem_type(ka), std::vector<int32_t>{e}, std::vector<int32_t>{1},
                                     std::vector<int32_t>{sa}),
         std::make_unique<TestArray>(elem_type(kb), std::vector<int32_t>{e}, std::vector<int32_t>{1},
                                     std::vector<int32_t>{sb}),
         n};
  fill_random(*p.a, ka);
  fill_random(*p.b, kb);
  p.a->desc()->dim[0].extent = n;
  p.b->desc()->dim[0].extent = n > 0 ? -7 : 1000;
  if (n <= 0) {
    p.a->desc()->base = nullptr;
    p.b->desc()->base = nullptr;
  }
  return p;
}

// A rank-1 array of kind k holding v (step: the section's step).
template <class T>
std::unique_ptr<TestArray> array_of(K k, std::vector<T> v, int32_t step = 1) {
  auto x = std::make_unique<TestArray>(elem_type(k), std::vector<int32_t>{static_cast<int32_t>(v.size())},
                                       std::vector<int32_t>{}, std::vector<int32_t>{step});
  for (size_t i = 0; i < v.size(); ++i) x->set_linear<T>(static_cast<int64_t>(i), v[i]);
  return x;
}

// Rounded to T by a forced store in the current rounding mode.
using f90test::stored;

// fn against reference(pair) on random operands: every count n (steps drawn
// from {1, 2, 3, -1, -3} once n exceeds min_strided), under 0x127f and
// 0x037f; the bits must agree, the control word come back unchanged, the
// bytes around the sections stay untouched, and n <= 0 give the kind's zero.
template <class Ref>
void check_against_reference(const std::string& name, const Call& fn, K ka, K kb, Ref&& reference,
                             std::initializer_list<int32_t> counts, int32_t min_strided) {
  const int32_t steps[] = {1, 2, 3, -1, -3};
  for (uint16_t cw : {f90test::kCwLibrary, f90test::kCwLinux}) {
    for (int32_t n : counts) {
      const int32_t sa = n > min_strided ? steps[pick(0, 4)] : 1;
      const int32_t sb = n > min_strided ? steps[pick(0, 4)] : 1;
      Pair p = random_pair(ka, kb, n, sa, sb);
      Out got, want;
      uint16_t cw_after = 0;
      f90test::under_cw(cw, [&] {
        got = fn(p.a->desc(), p.b->desc());
        cw_after = f90test::get_cw();
        want = reference(p);
      });
      ASSERT_EQ(got.show(), want.show())
          << name << " n=" << n << " steps " << sa << "," << sb << " cw=" << std::hex << cw;
      ASSERT_EQ(cw_after, cw) << name << ": control word changed";
      ASSERT_TRUE(p.a->outside_untouched() && p.b->outside_untouched()) << name;
      if (n <= 0) {
        for (uint8_t byte : got.bytes) ASSERT_EQ(byte, 0) << name << ": the zero of the kind";
      }
    }
  }
}

}  // namespace dots
