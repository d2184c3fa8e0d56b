// Integer kinds as the elemental entries see them, and the macros that turn
// one template per family into its table of exported entries.
//
// INTEGER*1, *2 and *4 travel in one 32-bit slot and INTEGER*8 in two (low
// word first). A narrow argument is read as the sign extension of its low 8
// or 16 bits, and a narrow result is returned sign-extended from them, so a
// family template works on the kind's own type T and the entry converts
// slot -> T on the way in and T -> slot on the way out (C++20 defines both
// conversions as two's complement). Arithmetic that wraps is done in the
// unsigned register type Reg<T>: 32 bits for the narrow kinds, which the
// hardware works on in 32-bit registers, 64 bits for INTEGER*8.
#pragma once

#include <cstdint>
#include <type_traits>

#include "entry.h"
#include "symbols.h"

namespace morvex {

template <class T>
using Slot = std::conditional_t<(sizeof(T) <= 4), int32_t, int64_t>;
template <class T>
using Reg = std::conditional_t<(sizeof(T) <= 4), uint32_t, uint64_t>;
template <class T>
using Bits = std::make_unsigned_t<T>;  // the kind's bits, zero-extended
template <class T>
inline constexpr int kBitSize = 8 * static_cast<int>(sizeof(T));

// Two's complement wrapping in the kind.
template <class T>
constexpr T wrap(Reg<T> v) { return static_cast<T>(v); }
template <class T>
constexpr T wrapping_neg(T a) { return wrap<T>(Reg<T>{0} - static_cast<Reg<T>>(a)); }
template <class T>
constexpr T wrapping_sub(T a, T b) { return wrap<T>(static_cast<Reg<T>>(a) - static_cast<Reg<T>>(b)); }
template <class T>
constexpr T wrapping_mul(T a, T b) { return wrap<T>(static_cast<Reg<T>>(a) * static_cast<Reg<T>>(b)); }

}  // namespace morvex

#define MORVEX_INT_PARAMS_1(S) S a1
#define MORVEX_INT_PARAMS_2(S) S a1, S a2
#define MORVEX_INT_PARAMS_3(S) S a1, S a2, S a3
#define MORVEX_INT_ARGS_1(T) static_cast<T>(a1)
#define MORVEX_INT_ARGS_2(T) static_cast<T>(a1), static_cast<T>(a2)
#define MORVEX_INT_ARGS_3(T) static_cast<T>(a1), static_cast<T>(a2), static_cast<T>(a3)
#define MORVEX_INT_TYPES_1(T) T
#define MORVEX_INT_TYPES_2(T) T, T
#define MORVEX_INT_TYPES_3(T) T, T, T

// value(N slots) -> slot: fn<T> of the arguments read as kind T.
#define MORVEX_INT_VALUE(N, value, T, fn)                                       \
  F90_API ::morvex::Slot<T> value(MORVEX_INT_PARAMS_##N(::morvex::Slot<T>)) { \
    return fn<T>(MORVEX_INT_ARGS_##N(T));                                      \
  }

// The by-value entry and its by-reference twin, which reads exactly the
// kind's bytes at each argument address.
#define MORVEX_INT_ENTRY(N, value, ref, T, fn) \
  MORVEX_INT_VALUE(N, value, T, fn)            \
  MORVEX_BY_REF(::morvex::Slot<T>, ref, value, MORVEX_INT_TYPES_##N(T))
