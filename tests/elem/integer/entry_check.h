// Calls integer elemental entries the way compiled code does and checks the
// raw register result.
//
// By-value entries are declared with raw slot types: a narrow argument goes
// in a 32-bit slot whose upper bits hold noise (the entry must read only the
// kind's low bits), and the raw 32-bit result must be the kind's value
// sign-extended. Each by-reference twin is called with every argument at the
// very end of a page followed by an inaccessible page, so reading one byte
// more than the kind's width faults.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <type_traits>

#include "guard_page.h"

namespace inttest {

// Raw slot / register type of kind T.
template <class T>
using Raw = std::conditional_t<sizeof(T) == 8, uint64_t, uint32_t>;

template <class T, int N>
struct Fn;
template <class T>
struct Fn<T, 1> {
  using Value = Raw<T> (*)(Raw<T>);
  using Ref = Raw<T> (*)(const T*);
};
template <class T>
struct Fn<T, 2> {
  using Value = Raw<T> (*)(Raw<T>, Raw<T>);
  using Ref = Raw<T> (*)(const T*, const T*);
};
template <class T>
struct Fn<T, 3> {
  using Value = Raw<T> (*)(Raw<T>, Raw<T>, Raw<T>);
  using Ref = Raw<T> (*)(const T*, const T*, const T*);
};

template <class T, int N>
struct Case {
  std::array<T, N> args;
  T want;
};

// The slot a compiled caller might pass: the kind's bits, noise above them.
template <class T>
Raw<T> slot(T v, uint32_t noise) {
  if constexpr (sizeof(T) >= 4) {
    return static_cast<Raw<T>>(v);
  } else {
    const uint32_t bits = static_cast<std::make_unsigned_t<T>>(v);
    return bits | (noise << (8 * sizeof(T)));
  }
}

// The raw result expected in eax (or edx:eax): the value sign-extended.
template <class T>
Raw<T> extended(T v) {
  return static_cast<Raw<T>>(static_cast<std::conditional_t<sizeof(T) == 8, int64_t, int32_t>>(v));
}

template <class T, int N>
Raw<T> call_value(typename Fn<T, N>::Value f, const std::array<T, N>& a, uint32_t noise) {
  if constexpr (N == 1) return f(slot(a[0], noise));
  if constexpr (N == 2) return f(slot(a[0], noise), slot(a[1], ~noise));
  if constexpr (N == 3) return f(slot(a[0], noise), slot(a[1], ~noise), slot(a[2], noise ^ 0x5a5a));
}

template <class T, int N>
Raw<T> call_ref(typename Fn<T, N>::Ref f, const std::array<T, N>& a) {
  std::array<std::unique_ptr<f90test::GuardedBuffer>, N> bufs;
  std::array<const T*, N> p;
  for (int k = 0; k < N; ++k) {
    bufs[k] = std::make_unique<f90test::GuardedBuffer>(sizeof(T));
    std::memcpy(bufs[k]->data(), &a[k], sizeof(T));
    p[k] = static_cast<const T*>(bufs[k]->data());
  }
  if constexpr (N == 1) return f(p[0]);
  if constexpr (N == 2) return f(p[0], p[1]);
  if constexpr (N == 3) return f(p[0], p[1], p[2]);
}

// Checks every case through the by-value entry (with two noise patterns in
// the slots' upper bits) and, when there is one, the by-reference twin.
template <class T, int N>
void check(const char* name, typename Fn<T, N>::Value value, typename Fn<T, N>::Ref ref,
           std::initializer_list<Case<T, N>> cases) {
  for (const auto& c : cases) {
    const Raw<T> want = extended(c.want);
    ::testing::Message args;
    for (T a : c.args) args << +a << " ";
    EXPECT_EQ((call_value<T, N>(value, c.args, 0)), want) << name << "(" << args << ")";
    EXPECT_EQ((call_value<T, N>(value, c.args, 0xa5c3)), want)
        << name << "(" << args << ") with noise above the kind's bits";
    if (ref) {
      EXPECT_EQ((call_ref<T, N>(ref, c.args)), want) << "I_" << name << "(" << args << ")";
    }
  }
}

inline constexpr int64_t p2(int n) { return static_cast<int64_t>(uint64_t{1} << n); }

}  // namespace inttest

// Declares _morvex_<name> and _morvex_I_<name> with raw types for kind T.
#define INTTEST_DECLARE(N, name, T)                                                        \
  extern "C" inttest::Raw<T> _morvex_##name(INTTEST_RAW_##N(inttest::Raw<T>));            \
  extern "C" inttest::Raw<T> _morvex_I_##name(INTTEST_RAW_##N(const T*));
#define INTTEST_DECLARE_VALUE(N, name, T) \
  extern "C" inttest::Raw<T> _morvex_##name(INTTEST_RAW_##N(inttest::Raw<T>));
#define INTTEST_RAW_1(S) S
#define INTTEST_RAW_2(S) S, S
#define INTTEST_RAW_3(S) S, S, S

// check() of an entry and its twin.
#define INTTEST_CHECK(N, name, T, ...) \
  inttest::check<T, N>(#name, _morvex_##name, _morvex_I_##name, {__VA_ARGS__})
#define INTTEST_CHECK_VALUE(N, name, T, ...) \
  inttest::check<T, N>(#name, _morvex_##name, nullptr, {__VA_ARGS__})
// The same with a named table (one table for several names of a function).
#define INTTEST_CHECK_TABLE(N, name, T, table) \
  inttest::check<T, N>(#name, _morvex_##name, _morvex_I_##name, table)

namespace inttest {
template <class T, int N>
using Table = std::initializer_list<Case<T, N>>;
}
