// Wrapping for the few routines written directly in i386 instructions: a
// global function symbol with its type and size, in .text. Arguments are at
// 4(%esp), 8(%esp)... on entry; eax, ecx and edx are free, every other
// register must be preserved; results in eax or edx:eax; plain `ret`.
#pragma once

#define MORVEX_ASM_FUNCTION(name, body) \
  __asm__(".text\n"                     \
          ".globl " #name "\n"          \
          ".type " #name ", @function\n" \
          ".p2align 4\n" #name ":\n" body ".size " #name ", .-" #name "\n")
