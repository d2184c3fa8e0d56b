// INTEGER*8 multiply: the low 64 bits of a * b, wrapping without report.
//
// _morvex_lmul takes one 32 x 32 -> 64-bit signed multiply when both
// operands lie in the 32-bit signed range (the high word of each is the sign
// extension of its low word), and otherwise forms the low 64 bits of the
// full product: a.lo * b.lo (unsigned, 64-bit) plus the low words of the
// cross products a.hi * b.lo and a.lo * b.hi added into the high word. It is
// written in i386 instructions: a compiled call costs about as much again as
// the multiply itself.
//
// _morvex_slow_lmul is the software form: the product of the magnitudes,
// negated when exactly one operand is negative. Both give the low 64 bits of
// the exact product for every pair, e.g. lmul(2^32, 2^32) = 0 and
// lmul(-1, -2^63) = -2^63.
#include "int8/asm_function.h"
#include "int8/int8.h"

using namespace morvex::int8;

// a at 4(%esp) (low) and 8(%esp) (high), b at 12(%esp) and 16(%esp).
MORVEX_ASM_FUNCTION(_morvex_lmul,
    "  movl 4(%esp), %eax\n"
    "  movl 12(%esp), %ecx\n"
    "  movl %eax, %edx\n"
    "  sarl $31, %edx\n"
    "  cmpl 8(%esp), %edx\n"        // a in the 32-bit range?
    "  jne 1f\n"
    "  movl %ecx, %edx\n"
    "  sarl $31, %edx\n"
    "  cmpl 16(%esp), %edx\n"       // b in the 32-bit range?
    "  jne 1f\n"
    "  imull %ecx\n"                // edx:eax = a.lo * b.lo, signed
    "  ret\n"
    "1:\n"
    "  movl 8(%esp), %edx\n"
    "  imull %ecx, %edx\n"          // a.hi * b.lo (low word)
    "  pushl %ebx\n"
    "  movl 20(%esp), %ebx\n"       // b.hi
    "  imull %eax, %ebx\n"          // a.lo * b.hi (low word)
    "  addl %edx, %ebx\n"
    "  mull %ecx\n"                 // edx:eax = a.lo * b.lo, unsigned
    "  addl %ebx, %edx\n"
    "  popl %ebx\n"
    "  ret\n");

F90_API int64_t _morvex_slow_lmul(int64_t a, int64_t b) {
  return negate_if(magnitude(a) * magnitude(b), (a < 0) != (b < 0));
}
