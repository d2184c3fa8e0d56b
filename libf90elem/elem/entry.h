// Entry forms of the elemental functions.
//
// Each function has a by-value entry `_morvex_<name>` written out in its
// family's file. Its by-reference twin `_morvex_I_<name>` takes every
// argument by address, loads the values, calls the by-value entry and
// returns its result unchanged; one macro line per twin defines it, naming
// both entries whole (a by-reference name may forward to a by-value entry of
// another name, as the REAL*4 logarithms' generic and specific names do):
//
//   MORVEX_BY_REF(long double, _morvex_I_dmod, _morvex_dmod, double, double)
//
// For results through a hidden pointer (REAL*16 and every COMPLEX kind) the
// twin lets the by-value entry write into a temporary of its own frame, then
// copies every byte to the caller's slot and returns the caller's pointer:
//
//   MORVEX_BY_REF_HIDDEN(Complex16, _morvex_I_cdexp, _morvex_cdexp, Complex16)
//
// Hidden result pointers are always an explicit first parameter and are
// returned: a struct returned by value would make the callee pop it.
#pragma once

#include <cstdint>
#include <cstring>

#include "symbols.h"
#include "value/types.h"

#define MORVEX_REF_PARAMS_1(A1) const A1* a1
#define MORVEX_REF_PARAMS_2(A1, A2) const A1 *a1, const A2 *a2
#define MORVEX_REF_PARAMS_3(A1, A2, A3) const A1 *a1, const A2 *a2, const A3 *a3
#define MORVEX_REF_ARGS_1 *a1
#define MORVEX_REF_ARGS_2 *a1, *a2
#define MORVEX_REF_ARGS_3 *a1, *a2, *a3
#define MORVEX_ARGC_(_1, _2, _3, N, ...) N
#define MORVEX_ARGC(...) MORVEX_ARGC_(__VA_ARGS__, 3, 2, 1, 0)
#define MORVEX_CAT_(a, b) a##b
#define MORVEX_CAT(a, b) MORVEX_CAT_(a, b)

// ref(const A1*, ...) -> R, forwarding to value(A1, ...): both names are
// written whole in the row that defines them.
#define MORVEX_BY_REF(R, ref, value, ...)                                                 \
  F90_API R ref(MORVEX_CAT(MORVEX_REF_PARAMS_, MORVEX_ARGC(__VA_ARGS__))(__VA_ARGS__)) { \
    return value(MORVEX_CAT(MORVEX_REF_ARGS_, MORVEX_ARGC(__VA_ARGS__)));                \
  }

// ref(R* res, const A1*, ...) -> R*, through a temporary.
#define MORVEX_BY_REF_HIDDEN(R, ref, value, ...)                                              \
  F90_API R* ref(R* res, MORVEX_CAT(MORVEX_REF_PARAMS_, MORVEX_ARGC(__VA_ARGS__))(__VA_ARGS__)) { \
    R tmp;                                                                                    \
    value(&tmp, MORVEX_CAT(MORVEX_REF_ARGS_, MORVEX_ARGC(__VA_ARGS__)));                      \
    std::memcpy(res, &tmp, sizeof tmp);                                                       \
    return res;                                                                               \
  }
