// The INTEGER*8 routines as compiled code declares them. Conversions to REAL
// are read as long double: the value st(0) holds, before any rounding store.
#pragma once

#include <cstdint>

extern "C" {
int64_t _morvex_lmul(int64_t, int64_t);
int64_t _morvex_slow_lmul(int64_t, int64_t);
int64_t _morvex_ldiv(int64_t, int64_t);
int64_t _morvex_slow_ldiv(int64_t, int64_t);
int64_t _morvex_lmod(int64_t, int64_t);
int64_t _morvex_slow_lmod(int64_t, int64_t);
uint64_t _morvex_uldiv(uint64_t, uint64_t);
uint64_t _morvex_slow_uldiv(uint64_t, uint64_t);
uint64_t _morvex_ulmod(uint64_t, uint64_t);
uint64_t _morvex_slow_ulmod(uint64_t, uint64_t);
int64_t _morvex_llshift(int64_t, int32_t);
int64_t _morvex_rlshift(int64_t, int32_t);
int64_t _morvex_arlshift(int64_t, int32_t);
int64_t _morvex_cvtdll(double);
int64_t _morvex_slow_cvtdll(double);
int64_t _morvex_cvtfll(float);
int64_t _morvex_slow_cvtfll(float);
long double _morvex_cvtlld(int64_t);
long double _morvex_slow_cvtlld(int64_t);
long double _morvex_cvtllf(int64_t);
long double _morvex_slow_cvtllf(int64_t);
long double _morvex_cvtulld(uint64_t);
long double _morvex_slow_cvtulld(uint64_t);
long double _morvex_cvtullf(uint64_t);
long double _morvex_slow_cvtullf(uint64_t);
}

namespace int8test {

inline constexpr int64_t kMax = INT64_MAX;
inline constexpr int64_t kMin = INT64_MIN;
inline constexpr int64_t p2(int n) { return static_cast<int64_t>(uint64_t{1} << n); }

}  // namespace int8test
