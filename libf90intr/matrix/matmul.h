// The MATMUL entry points as one table: each driver is a plan (strategy,
// kernel(s), roles of the operands), and one routine runs every plan.
//
// A driver calls _premult once; after a report it returns without calling a
// kernel. Then, by its strategy:
//  - same_kind: GEMV when B has rank 1 (C = A.B), GEMV on B read transposed
//    when A has rank 1 (C = B^T.A), GEMM otherwise; the ranks are those of
//    the context, so an operand made rank 2 by a transposition flag takes the
//    GEMM path;
//  - one: one GEMM call;
//  - parts: one operand complex, the other real: the complex operand and the
//    result viewed as arrays of their parts (strides doubled in the context),
//    the kernel called on the real parts, then on the imaginary parts (bases
//    one part further); the real operand is the same in both calls;
//  - four: both complex, of different kinds: everything viewed as parts and
//    Re(C) = Re(X).Re(Y), Re(C) = Re(C) - Im(X).Im(Y) (GEMMX2),
//    Im(C) = Re(X).Im(Y), Im(C) = Im(C) + Im(X).Re(Y) (GEMMX2), in that order,
//    C stored at its kind between the calls.
// The kernel's operands X and Y are the driver's A and B, or B and A for a
// transposed plan, which computes C^T = B^T.A^T: M and N exchanged and every
// stride pair exchanged, no data copied. A kernel's first operand is always
// the wider kind, or the integer one.
//
// Kernel choice: a fixed kernel, or one of three by the `int_len` of one
// operand (32, 16, anything else: the 4-, 2- or 1-byte kernel), read from its
// descriptor after _premult; for the default-length integer and logical pairs
// by both operands' `int_len`, the wider one becoming the kernel's first
// operand (transposed when that is B).
#pragma once

#include <cstdint>

#include "f90/matmul.h"
#include "symbols.h"

namespace f90::matrix {

enum class Strategy : uint8_t { same_kind, one, parts, four };
// Which operand's int_len picks the kernel: none, A, B or both.
enum class SizedBy : uint8_t { none, a, b, both };

struct Plan {
  Strategy strategy;
  SizedBy sized;
  bool transposed;
  // [size index of A][size index of B] (0: 32 bits, 1: 16, 2: other); a
  // kernel sized by one operand fills that operand's row or column, a fixed
  // kernel entry [0][0].
  F90GemmKernel* gemm[3][3];
  F90GemvKernel* gemv;
  F90Gemm2Kernel* gemm2;
  // Bytes of one part of each complex array (the offset of its imaginary
  // part); 0 for a real operand.
  uint8_t a_part, b_part, c_part;
};

constexpr Plan one(F90GemmKernel* k, bool transposed = false) {
  return {Strategy::one, SizedBy::none, transposed, {{k}}, nullptr, nullptr, 0, 0, 0};
}
constexpr Plan same_kind(F90GemmKernel* gemm, F90GemvKernel* gemv) {
  return {Strategy::same_kind, SizedBy::none, false, {{gemm}}, gemv, nullptr, 0, 0, 0};
}
// The 4-, 2- and 1-byte kernels for A's int_len.
constexpr Plan by_a(F90GemmKernel* k4, F90GemmKernel* k2, F90GemmKernel* k1,
                    bool transposed = false) {
  return {Strategy::one, SizedBy::a, transposed, {{k4}, {k2}, {k1}}, nullptr, nullptr, 0, 0, 0};
}
// The same for B's int_len.
constexpr Plan by_b(F90GemmKernel* k4, F90GemmKernel* k2, F90GemmKernel* k1,
                    bool transposed = false) {
  return {Strategy::one, SizedBy::b, transposed, {{k4, k2, k1}}, nullptr, nullptr, 0, 0, 0};
}
// Both operands of the default-length family: kNM takes an N-byte first and
// an M-byte second operand.
constexpr Plan by_both(F90GemmKernel* k44, F90GemmKernel* k42, F90GemmKernel* k41,
                       F90GemmKernel* k22, F90GemmKernel* k21, F90GemmKernel* k11) {
  return {Strategy::one,
          SizedBy::both,
          false,
          {{k44, k42, k41}, {k42, k22, k21}, {k41, k21, k11}},
          nullptr,
          nullptr,
          0,
          0,
          0};
}
// A plan run on real and imaginary parts: part bytes of A, B and the result.
constexpr Plan parts(Plan p, uint8_t a_part, uint8_t b_part, uint8_t c_part) {
  p.strategy = Strategy::parts;
  p.a_part = a_part;
  p.b_part = b_part;
  p.c_part = c_part;
  return p;
}
constexpr Plan four(F90GemmKernel* gemm, F90Gemm2Kernel* gemm2, bool transposed, uint8_t a_part,
                    uint8_t b_part, uint8_t c_part) {
  return {Strategy::four, SizedBy::none, transposed, {{gemm}}, nullptr, gemm2,
          a_part,         b_part,        c_part};
}

// Runs one MATMUL entry point's plan.
void run_matmul(const Plan& plan, ArrayDescriptor* result, const ArrayDescriptor* a,
                const ArrayDescriptor* b, const int32_t* flags);

}  // namespace f90::matrix

// Defines one exported driver running `plan`.
#define F90_MATMUL_DRIVER(symbol, name, plan)                                         \
  F90_API void name(F90_MATMUL_ARGUMENTS) F90_SYMBOL(symbol);                         \
  void name(F90_MATMUL_ARGUMENTS) {                                                    \
    static constexpr ::f90::matrix::Plan kPlan = plan;                                \
    ::f90::matrix::run_matmul(kPlan, result, a, b, flags);                            \
  }
