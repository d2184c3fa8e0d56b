// x87 control-word fixture: each test starts under 0x127f (round to nearest,
// 53-bit precision: the mode the library expects) with clear exception flags,
// and checks that calls hand back the control word they were given.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "x87.h"

namespace f90test {

using x87::get_cw;
using x87::get_sw;
using x87::set_cw;
inline void clear_fp_exceptions() { x87::clear_exceptions(); }

inline constexpr uint16_t kCwLibrary = 0x127f;   // nearest, 53 bits
inline constexpr uint16_t kCwLinux = 0x037f;     // nearest, 64 bits (process default)
inline constexpr uint16_t kCwChopSingle = 0x0c7f;  // toward zero, 24 bits

class ControlWordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = get_cw();
    clear_fp_exceptions();
    set_cw(kCwLibrary);
  }
  void TearDown() override { set_cw(saved_); }

  // Runs f under control word `cw` and expects the same word afterwards.
  template <class F>
  void expect_cw_kept(F&& f, uint16_t cw = kCwLibrary) {
    set_cw(cw);
    f();
    const uint16_t after = get_cw();
    set_cw(kCwLibrary);
    EXPECT_EQ(after, cw) << "control word changed by the call";
  }

 private:
  uint16_t saved_ = kCwLinux;
};

// The x87 tag word: 0xffff when every register is empty (a routine that
// leaves a value on the stack, or pops one too many, changes it).
inline uint16_t tag_word() {
  x87::Env env;
  x87::store_env(env);
  set_cw(static_cast<uint16_t>(env.cw));  // fnstenv masked every exception
  return static_cast<uint16_t>(env.tag);
}

// Runs f with control word `cw` in force and restores the previous word.
template <class F>
auto under_cw(uint16_t cw, F&& f) {
  const uint16_t saved = get_cw();
  set_cw(cw);
  struct Restore {
    uint16_t w;
    ~Restore() { set_cw(w); }
  } restore{saved};
  return f();
}

// MXCSR, the SSE unit's control and status word.
inline uint32_t get_mxcsr() {
  uint32_t v;
  __asm__ volatile("stmxcsr %0" : "=m"(v));
  return v;
}
inline void set_mxcsr(uint32_t v) { __asm__ volatile("ldmxcsr %0" : : "m"(v)); }

// Runs f with MXCSR `csr` in force and restores the previous one.
template <class F>
auto under_mxcsr(uint32_t csr, F&& f) {
  struct Restore {
    uint32_t w;
    ~Restore() { set_mxcsr(w); }
  } restore{get_mxcsr()};
  set_mxcsr(csr);
  return f();
}

}  // namespace f90test
