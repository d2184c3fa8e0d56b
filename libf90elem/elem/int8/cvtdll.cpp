// REAL*8 and REAL*4 to INTEGER*8, truncating toward zero.
//
// Software forms _morvex_slow_cvtdll, _morvex_slow_cvtfll: decode the
// biased exponent e and the significand with its implicit bit; |x| >= 2^63
// (infinities and NaNs included) saturates by the sign bit alone:
//   sign clear -> 0x7fffffffffffffff, sign set -> 0x8000000000000000
// otherwise the significand is shifted into place (bits below the binary
// point dropped, zero for |x| < 1) and negated for a negative x.
//
// Fast forms _morvex_cvtdll, _morvex_cvtfll: the same truncation and
// saturation, except that every NaN gives 0x7fffffffffffffff (so -NaN gives
// 0x8000000000000000 only from the software form):
//   x >= 2^63 (the first value not below 2^63 - 1), +Inf, NaN -> 0x7fffffffffffffff
//   x <= -2^63, -Inf                                          -> 0x8000000000000000
// They are written in i386 instructions and decode the argument's words in
// integer registers, which truncates exactly as an x87 store under
// round-toward-zero would, and leaves the control word alone. Loading a
// pushed double into the x87 unit (an 8-byte load of two 4-byte stores that
// cannot be forwarded) and switching the control word twice cost several
// times the conversion itself.
#include "int8/asm_function.h"
#include "int8/ieee_format.h"
#include "int8/int8.h"

using namespace morvex::int8;

namespace {

template <class F, class Arg>
int64_t truncate(Arg x) {
  using Fmt = FloatBits<F>;
  using Bits = typename Fmt::UInt;
  const Bits bits = x.bits();
  const bool negative = (bits & kSignBit<F>) != 0;
  const int e = static_cast<int>(bits >> Fmt::kFractionBits) & Fmt::kExponentMax;
  if (e >= kSaturatingExponent<F>) return negative ? kMinInt : kMaxInt;
  if (e < Fmt::kBias) return 0;  // |x| < 1
  const uint64_t fraction_mask = (uint64_t{1} << Fmt::kFractionBits) - 1;
  const uint64_t significand =
      (static_cast<uint64_t>(bits) & fraction_mask) | (uint64_t{1} << Fmt::kFractionBits);
  // |x| = significand * 2^shift, -fraction bits <= shift <= 62 - fraction bits.
  const int shift = e - Fmt::kBias - Fmt::kFractionBits;
  const uint64_t m = shift >= 0 ? significand << shift : significand >> -shift;
  return negate_if(m, negative);
}

}  // namespace

// The common ends of both conversions: label 4 negates edx:eax when the
// sign bit of the argument word `hi` is set and returns; label 7 returns 0.
#define MORVEX_NEGATE_BY_SIGN_AND_RETURN(hi) \
  "4:\n"                                    \
  "  movl " hi ", %ecx\n"                   \
  "  sarl $31, %ecx\n"                      \
  "  xorl %ecx, %eax\n"                     \
  "  xorl %ecx, %edx\n"                     \
  "  subl %ecx, %eax\n"                     \
  "  sbbl %ecx, %edx\n"                     \
  "  ret\n"                                 \
  "7:\n"                                    \
  "  xorl %eax, %eax\n"                     \
  "  xorl %edx, %edx\n"                     \
  "  ret\n"

F90_API int64_t _morvex_slow_cvtdll(Real8Arg x) { return truncate<double>(x); }
F90_API int64_t _morvex_slow_cvtfll(Real4Arg x) { return truncate<float>(x); }

// x at 4(%esp) (low word) and 8(%esp) (high word: sign, 11-bit exponent,
// top 20 fraction bits). |x| = significand * 2^(e - 1075).
MORVEX_ASM_FUNCTION(_morvex_cvtdll,
    "  movl 8(%esp), %edx\n"
    "  movl %edx, %ecx\n"
    "  andl $0x7fffffff, %ecx\n"
    "  cmpl $0x43e00000, %ecx\n"    // |x| >= 2^63, Inf or NaN
    "  jae 8f\n"
    "  cmpl $0x3ff00000, %ecx\n"    // |x| < 1
    "  jb 7f\n"
    "  movl 4(%esp), %eax\n"
    "  andl $0x000fffff, %edx\n"
    "  shrl $20, %ecx\n"
    "  orl $0x00100000, %edx\n"     // edx:eax = significand
    "  subl $1075, %ecx\n"
    "  jae 2f\n"
    "  negl %ecx\n"                 // right by 1..52
    "  cmpl $32, %ecx\n"
    "  jae 3f\n"
    "  shrdl %cl, %edx, %eax\n"
    "  shrl %cl, %edx\n"
    "  jmp 4f\n"
    "3:\n"
    "  movl %edx, %eax\n"
    "  xorl %edx, %edx\n"
    "  shrl %cl, %eax\n"            // by count - 32
    "  jmp 4f\n"
    "2:\n"                          // left by 0..10
    "  shldl %cl, %eax, %edx\n"
    "  shll %cl, %eax\n"
    MORVEX_NEGATE_BY_SIGN_AND_RETURN("8(%esp)")
    "8:\n"                          // INT64_MAX unless a negative non-NaN
    "  movl $-1, %eax\n"
    "  movl $0x7fffffff, %edx\n"
    "  cmpl $0x7ff00000, %ecx\n"
    "  ja 9f\n"                     // NaN
    "  jb 6f\n"
    "  cmpl $0, 4(%esp)\n"
    "  jne 9f\n"                    // NaN with only low fraction bits
    "6:\n"
    "  testl $0x80000000, 8(%esp)\n"
    "  jz 9f\n"
    "  xorl %eax, %eax\n"
    "  movl $0x80000000, %edx\n"
    "9:\n"
    "  ret\n");

// x at 4(%esp): sign, 8-bit exponent, 23 fraction bits.
// |x| = significand * 2^(e - 150).
MORVEX_ASM_FUNCTION(_morvex_cvtfll,
    "  movl 4(%esp), %eax\n"
    "  movl %eax, %ecx\n"
    "  andl $0x7fffffff, %ecx\n"
    "  cmpl $0x5f000000, %ecx\n"    // |x| >= 2^63, Inf or NaN
    "  jae 8f\n"
    "  cmpl $0x3f800000, %ecx\n"    // |x| < 1
    "  jb 7f\n"
    "  andl $0x007fffff, %eax\n"
    "  shrl $23, %ecx\n"
    "  orl $0x00800000, %eax\n"     // eax = significand
    "  xorl %edx, %edx\n"
    "  subl $150, %ecx\n"
    "  jae 2f\n"
    "  negl %ecx\n"                 // right by 1..23
    "  shrl %cl, %eax\n"
    "  jmp 4f\n"
    "2:\n"                          // left by 0..39
    "  cmpl $32, %ecx\n"
    "  jae 3f\n"
    "  shldl %cl, %eax, %edx\n"
    "  shll %cl, %eax\n"
    "  jmp 4f\n"
    "3:\n"
    "  movl %eax, %edx\n"
    "  xorl %eax, %eax\n"
    "  shll %cl, %edx\n"            // by count - 32
    MORVEX_NEGATE_BY_SIGN_AND_RETURN("4(%esp)")
    "8:\n"
    "  movl $-1, %eax\n"
    "  movl $0x7fffffff, %edx\n"
    "  cmpl $0x7f800000, %ecx\n"
    "  ja 9f\n"                     // NaN
    "  testl $0x80000000, 4(%esp)\n"
    "  jz 9f\n"
    "  xorl %eax, %eax\n"
    "  movl $0x80000000, %edx\n"
    "9:\n"
    "  ret\n");
