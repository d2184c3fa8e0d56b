// SSE2 double arithmetic that gives the x87's bits.
//
// Under a control word of 53-bit precision, an x87 addition, subtraction or
// multiplication of doubles rounds the exact result to 53 bits in the
// control word's rounding mode, as the SSE2 instruction does in the same
// mode. The two differ only where the x87's wider exponent range shows (a
// result beyond the double range, or one so small that SSE2 rounds it as a
// subnormal, to fewer bits) and in the NaN a computation ends with (the two
// units pick payloads differently). So a run of SSE2 arithmetic gives the
// bits of the same operations in the x87 when:
//   (1) the control word says 53 bits with every exception masked, and MXCSR
//       rounds as the control word says, every exception masked;
//   (2) afterwards MXCSR shows no overflow, no underflow, no invalid
//       operation and no denormal operand: no rounded result left the
//       normal range (a result that is tiny but exact is the same in both
//       units), and no flag but inexact would differ;
//   (3) the values the run ends with are not NaN (with a NaN operand the
//       payloads may differ; a NaN always reaches the end of a running sum).
// The caller runs the SSE2 form first and, when end() says no, the
// x87 form from the start: the result never depends on which one ran.
//
// Flags: in an accepted run the only flag either unit can raise is inexact.
// SSE2 raises it in MXCSR; end() raises it in the x87 status word when
// the SSE2 run did, as the x87 run would have. MXCSR is given back as it was.
#pragma once

#include <xmmintrin.h>

#include <cstdint>

#include "x87.h"

namespace x87 {

// The CPU check: __builtin_cpu_init is cheap once done, and a function-local
// static would pull in the C++ runtime's guard functions.
inline bool have_sse2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("sse2");
}

// begin() switches MXCSR to the control word's rounding, every exception
// masked and every flag clear, when SSE2 is present and the control word
// selects 53-bit precision with every exception masked; otherwise it returns
// false and changes nothing. end() gives MXCSR back and says whether the
// SSE2 run's bits are the x87's (then the x87 inexact flag is raised when the
// run raised it). No destructor: the callers stay free of unwinding code.
class Sse2AsX87 {
 public:
  bool begin() {
    const uint16_t cw = get_cw();
    if ((cw & 0x3f) != 0x3f || ((cw >> 8) & 3) != 2 || !have_sse2()) return false;
    saved_ = csr();
    set_csr(kMasks | (static_cast<uint32_t>((cw >> 10) & 3) << 13));
    return true;
  }

  // After the SSE2 run; nan: one of its final values is a NaN.
  bool end(bool nan) {
    const uint32_t flags = csr();
    set_csr(saved_);
    return accepted(flags, nan);
  }

  // Between begin() and end(), for a caller that runs in pieces and redoes
  // only a refused piece on the x87: says whether the SSE2 run since begin()
  // or the last checkpoint gave the x87's bits, as end() does, and clears
  // MXCSR's flags for the next piece.
  bool checkpoint(bool nan) {
    const uint32_t flags = csr();
    set_csr(flags & ~kFlags);
    return accepted(flags, nan);
  }

 private:
  static constexpr uint32_t kMasks = 0x1f80, kInvalid = 0x01, kDenormal = 0x02,
                            kOverflow = 0x08, kUnderflow = 0x10, kInexact = 0x20, kFlags = 0x3f;
  static bool accepted(uint32_t flags, bool nan) {
    if (nan || (flags & (kInvalid | kDenormal | kOverflow | kUnderflow)) != 0) return false;
    if (flags & kInexact) raise_x87_inexact();
    return true;
  }
  [[gnu::target("sse")]] static uint32_t csr() { return _mm_getcsr(); }
  [[gnu::target("sse")]] static void set_csr(uint32_t v) { _mm_setcsr(v); }
  // pi stored as REAL*4 is inexact: the x87 sets its precision flag.
  static void raise_x87_inexact() {
    float f;
    __asm__ volatile("fldpi\n\tfstps %0" : "=m"(f));
  }

  uint32_t saved_ = 0;
};

}  // namespace x87
