// Truncating integer stores of x87 values without a control-word switch
// (libf90elem only: the flag lives there).
//
// fisttp stores st(0) as an integer rounded toward zero whatever the control
// word says: the same result and the same flags as fistp under a chopping
// word, the integer indefinite (0x80000000, INT64_MIN) for NaN, infinities
// and values out of range. It is an x87 instruction of the SSE3 set and
// touches no SSE register. Loading a chopping word around fistp costs a few
// cycles in one code layout and 100-200 in another on current AMD CPUs, so
// the library picks fisttp when the CPU has it.
//
// The choice is made once, when the library is loaded (elem/cpu.cpp), into a
// flag tested by a branch that is always taken the same way. Before that,
// and on a CPU without SSE3, the chopping-word path runs: both paths give the
// same bits, so a call from another library's constructor is right either
// way. Tests clear the flag to compare the two paths.
#pragma once

#include <cstdint>

#include "symbols.h"
#include "x87.h"

namespace x87 {

// True when the CPU has fisttp (set at load time).
F90_HIDDEN extern bool g_have_fisttp;

// The CPU check behind g_have_fisttp.
inline bool cpu_has_fisttp() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("sse3");
}

// x rounded toward zero and stored as a 32-bit integer.
inline int32_t trunc32(long double x) {
  if (__builtin_expect(g_have_fisttp, 1)) {
    int32_t r;
    // fisttp pops x: an input the asm pops is given in st(0) and clobbered.
    __asm__("fisttpl %0" : "=m"(r) : "t"(x) : "st");
    return r;
  }
  return fist32_under(x, CW_CHOP_DOUBLE);
}

// x rounded toward zero and stored as a 64-bit integer.
inline int64_t trunc64(long double x) {
  if (__builtin_expect(g_have_fisttp, 1)) {
    int64_t r;
    __asm__("fisttpll %0" : "=m"(r) : "t"(x) : "st");
    return r;
  }
  return fist64_under(x, CW_CHOP_DOUBLE);
}

// x rounded toward zero, |x| < 2^31: the integral value is returned in the
// register and also stored in n (fisttp, then fild of the stored integer;
// the old path rounds with frndint and stores with fist under the chopping
// word: the same value).
inline long double trunc_int32(long double x, int32_t& n) {
  if (__builtin_expect(g_have_fisttp, 1)) {
    __asm__("fisttpl %0\n\tfildl %0" : "=m"(n), "+t"(x));
    return x;
  }
  return rndint_fist32_under(x, CW_CHOP_DOUBLE, n);
}

}  // namespace x87
