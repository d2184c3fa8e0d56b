// x87 primitives used by the elemental functions and the companion runtime.
//
// Each helper is one asm block, so that a control-word switch and the
// operation it guards cannot be separated by the compiler. Values the x87
// keeps "in a register" are long double. The caller's control word is saved
// in the helper's own stack frame, so every helper is reentrant and the word
// on return is always the caller's.
#pragma once

#include <cstdint>

namespace x87 {

// Control words (all six exception masks set).
inline constexpr uint16_t CW_CHOP_DOUBLE = 0x1e7f;       // toward zero, 53 bits
inline constexpr uint16_t CW_NEAREST_EXTENDED = 0x137f;  // nearest, 64 bits
inline constexpr uint16_t CW_NEAREST_DOUBLE = 0x127f;    // nearest, 53 bits: the expected mode
inline constexpr uint16_t CW_EP = 0x0f3f;                // toward zero, 64 bits (x87 INTEGER*8 divide)

inline uint16_t get_cw() {
  uint16_t cw;
  __asm__ volatile("fnstcw %0" : "=m"(cw));
  return cw;
}

inline void set_cw(uint16_t cw) { __asm__ volatile("fldcw %0" : : "m"(cw)); }

inline uint16_t get_sw() {
  uint16_t sw;
  __asm__ volatile("fnstsw %0" : "=m"(sw));
  return sw;
}

inline void clear_exceptions() { __asm__ volatile("fnclex"); }

// The 28-byte protected-mode environment that fnstenv/fldenv move.
struct Env {
  uint32_t cw, sw, tag, ip, cs, dp, ds;
};

inline void store_env(Env& e) { __asm__ volatile("fnstenv %0" : "=m"(e)); }
// fnstenv masks all exceptions as a side effect: reload the control word.
inline void load_env(const Env& e) { __asm__ volatile("fldenv %0" : : "m"(e)); }

// Rounds x to an integral value under `mode` (frndint) and also stores that
// value as a 32-bit integer in n (fistl; out of range gives 0x80000000), under
// the one mode switch: the integral value stays in the register for the
// arithmetic that follows, the integer serves tests on n.
inline long double rndint_fist32_under(long double x, uint16_t mode, int32_t& n) {
  uint16_t saved;
  __asm__ volatile("fnstcw %1\n\tfldcw %3\n\tfrndint\n\tfistl %0\n\tfldcw %1"
                   : "=m"(n), "=m"(saved), "+t"(x)
                   : "m"(mode));
  return x;
}

// Stores x as a 32-bit integer under `mode` (fistpl); out of range gives 0x80000000.
inline int32_t fist32_under(long double x, uint16_t mode) {
  uint16_t saved;
  int32_t r;
  // fistp pops x: an input the asm pops is given in st(0) and clobbered.
  __asm__ volatile("fnstcw %1\n\tfldcw %3\n\tfistpl %0\n\tfldcw %1"
                   : "=m"(r), "=m"(saved)
                   : "t"(x), "m"(mode)
                   : "st");
  return r;
}

// Stores an integral x as a 32-bit integer (fistpl) in the caller's mode:
// for a value that is already integral (or infinite) the rounding mode
// cannot matter, so no switch is needed. Out of range gives 0x80000000.
inline int32_t store_int32(long double x) {
  int32_t r;
  __asm__("fistpl %0" : "=m"(r) : "t"(x) : "st");
  return r;
}

// The same for a 64-bit integer (fistpll); out of range gives INT64_MIN.
inline int64_t store_int64(long double x) {
  int64_t r;
  __asm__("fistpll %0" : "=m"(r) : "t"(x) : "st");
  return r;
}

// fxtract: splits x into its significand (returned, in [1, 2) for finite
// nonzero x) and its unbiased exponent (stored in e), both exact.
inline long double extract(long double x, long double& e) {
  __asm__("fxtract" : "+t"(x), "=u"(e));
  return x;
}

// Stores x as a 64-bit integer under `mode` (fistpll); out of range gives INT64_MIN.
inline int64_t fist64_under(long double x, uint16_t mode) {
  uint16_t saved;
  int64_t r;
  // fistp pops x: an input the asm pops is given in st(0) and clobbered.
  __asm__ volatile("fnstcw %1\n\tfldcw %3\n\tfistpll %0\n\tfldcw %1"
                   : "=m"(r), "=m"(saved)
                   : "t"(x), "m"(mode)
                   : "st");
  return r;
}

// e^v by the x87 exponential step, the whole step under `mode` (the
// hyperbolic functions and the complex exponentials load CW_NEAREST_EXTENDED):
// t = v * log2(e) with the unit's own log2(e), n = t rounded to an integral
// value, 2^(t - n) - 1 by f2xm1, plus 1, scaled by 2^n. Infinite v gives NaN
// (t - n is Inf - Inf); a result beyond the extended range gives an infinity
// or zero.
inline long double exp_under(long double v, uint16_t mode) {
  uint16_t saved;
  __asm__ volatile(
      "fnstcw %1\n\t"
      "fldcw %2\n\t"
      "fldl2e\n\t"
      "fmulp\n\t"               // t
      "fld %%st(0)\n\t"         // t, t
      "frndint\n\t"             // n, t
      "fxch\n\t"                // t, n
      "fsub %%st(1), %%st\n\t"  // t - n, n
      "f2xm1\n\t"               // 2^(t-n) - 1, n
      "fld1\n\t"
      "faddp\n\t"               // 2^(t-n), n
      "fscale\n\t"              // 2^t, n
      "fstp %%st(1)\n\t"
      "fldcw %1"
      : "+t"(v), "=m"(saved)
      : "m"(mode));
  return v;
}

// Plain primitives (no mode change).
inline long double sqrt(long double x) { __asm__("fsqrt" : "+t"(x)); return x; }
inline long double rndint(long double x) { __asm__("frndint" : "+t"(x)); return x; }
inline long double sin(long double x) { __asm__("fsin" : "+t"(x)); return x; }
inline long double cos(long double x) { __asm__("fcos" : "+t"(x)); return x; }
inline long double abs(long double x) { __asm__("fabs" : "+t"(x)); return x; }

// c ? a : b without a branch (fcmovne): a sign or a quotient that depends on
// the argument would make a branch that random arguments mispredict.
inline long double select(bool c, long double a, long double b) {
  __asm__("testb %2, %2\n\tfcmovne %%st(1), %%st" : "+t"(b) : "u"(a), "q"(c) : "cc");
  return b;
}

// fsincos: returns sin, stores cos. Beyond the instruction's range
// (|x| >= 2^63) it pushes nothing and leaves x, as fsin and fcos do: x is
// then duplicated, so both results are x and the stack stays balanced.
inline long double sincos(long double x, long double& c) {
  long double s;
  __asm__("fsincos\n\t"
          "fnstsw %%ax\n\t"
          "testw $0x400, %%ax\n\t"
          "jz 1f\n\t"
          "fld %%st(0)\n"
          "1:"
          : "=t"(c), "=u"(s)
          : "0"(x)
          : "eax", "cc");
  return s;
}

// fptan: tan(x); the 1.0 it pushes is popped.
inline long double tan(long double x) {
  __asm__("fptan\n\tfstp %%st(0)" : "+t"(x));
  return x;
}

// fptan for a finite x of any size: true with x = tan(x) when |x| < 2^63;
// false with x unchanged when x is beyond fptan's range (C2 set, nothing
// pushed, so there is no 1.0 to pop).
inline bool tan_in_range(long double& x) {
  uint16_t sw;
  __asm__("fptan\n\t"
          "fnstsw %%ax\n\t"
          "testw $0x400, %%ax\n\t"
          "jnz 1f\n\t"
          "fstp %%st(0)\n"
          "1:"
          : "+t"(x), "=a"(sw)
          :
          : "cc");
  return (sw & 0x400) == 0;
}

// fpatan: atan(y / x) with the quadrant of (x, y).
inline long double atan2(long double y, long double x) {
  long double r;
  __asm__("fpatan" : "=t"(r) : "0"(x), "u"(y) : "st(1)");
  return r;
}

// fyl2x: y * log2(x).
inline long double yl2x(long double x, long double y) {
  long double r;
  __asm__("fyl2x" : "=t"(r) : "0"(x), "u"(y) : "st(1)");
  return r;
}

// f2xm1: 2^x - 1 for |x| <= 1.
inline long double f2xm1(long double x) { __asm__("f2xm1" : "+t"(x)); return x; }

// fscale: x * 2^trunc(n).
inline long double scale(long double x, long double n) {
  __asm__("fscale" : "+t"(x) : "u"(n));
  return x;
}

// fprem: partial remainder of x by y (repeats until complete).
inline long double prem(long double x, long double y) {
  __asm__("1: fprem\n\tfnstsw %%ax\n\ttestw $0x400, %%ax\n\tjnz 1b" : "+t"(x) : "u"(y) : "eax", "cc");
  return x;
}

// fprem1: IEEE partial remainder (repeats until complete).
inline long double prem1(long double x, long double y) {
  __asm__("1: fprem1\n\tfnstsw %%ax\n\ttestw $0x400, %%ax\n\tjnz 1b" : "+t"(x) : "u"(y) : "eax", "cc");
  return x;
}

// The significand width the control word's precision field selects for the
// results of +, -, *, / and fsqrt: 24, 53 or 64 bits.
inline int precision_bits(uint16_t cw) {
  switch (cw & 0x0300) {
    case 0x0000: return 24;
    case 0x0200: return 53;
    default: return 64;
  }
}

// x * 1.0: the product is rounded to the precision and in the rounding mode
// of the control word in force.
inline long double times_one(long double x) {
  __asm__("fld1\n\tfmulp" : "+t"(x));
  return x;
}

// Forces a value to be rounded to its declared format (a store and reload):
// g++ may keep float and double values at extended precision otherwise.
template <class T>
inline T round_to(long double x) {
  volatile T v = static_cast<T>(x);
  return v;
}

// r = r + s (Product: r * s) for a REAL*4 or REAL*8 value kept in memory:
// one load of r, one x87 operation with s from memory, one store that rounds
// to T in the control word's rounding mode. The running value never stays
// in a register between steps, so it is rounded to T exactly once per step
// whatever the compiler does around it. st(7) is given up for the push.
template <bool Product, class T>
inline void combine_in_memory(T& r, const T& s) {
  static_assert(sizeof(T) == 4 || sizeof(T) == 8);
  if constexpr (sizeof(T) == 4 && Product) {
    __asm__("flds %0\n\tfmuls %1\n\tfstps %0" : "+m"(r) : "m"(s) : "st(7)");
  } else if constexpr (sizeof(T) == 4) {
    __asm__("flds %0\n\tfadds %1\n\tfstps %0" : "+m"(r) : "m"(s) : "st(7)");
  } else if constexpr (Product) {
    __asm__("fldl %0\n\tfmull %1\n\tfstpl %0" : "+m"(r) : "m"(s) : "st(7)");
  } else {
    __asm__("fldl %0\n\tfaddl %1\n\tfstpl %0" : "+m"(r) : "m"(s) : "st(7)");
  }
}

// RAII save of the caller's control word for the duration of a block that
// loads another mode. The restore runs on every path out of the block.
// The compiler may move plain floating-point arithmetic across the switch, so
// every operation the mode must govern inside the scope has to be one of the
// asm helpers above (asm volatile blocks keep their order).
class ModeScope {
 public:
  explicit ModeScope(uint16_t mode) : saved_(get_cw()) { set_cw(mode); }
  ~ModeScope() { set_cw(saved_); }
  ModeScope(const ModeScope&) = delete;
  ModeScope& operator=(const ModeScope&) = delete;

 private:
  uint16_t saved_;
};

}  // namespace x87
