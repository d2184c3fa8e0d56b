// Reference model of DOT_PRODUCT: the terms and running sums of each family,
// written out term by term, reading the operands through the decoded
// arrays' own addressing (never through the library's stride conversion).
#pragma once

#include <cstdint>
#include <vector>

#include "layout.h"

namespace fz {

// Operand kinds.
enum class DK : uint8_t { I1, I2, I4, J, S4, S, D, C4, C, Z, L1, L2, L4, L };

bool dk_complex(DK k);
// The element type of an operand of kind k.
Elem dk_elem(DK k);

// How the running sums are kept.
enum class Acc : uint8_t {
  kInt,       // integers: 32-bit sum cut to the wider kind, or 64-bit with INTEGER*8
  kLogical,   // OR of the ANDs of the 32-bit values (LOGICAL*8: low word)
  kX87,       // x87 registers for the whole loop; complex parts rounded at the end
  kStored,    // x87 terms, each new sum rounded to `round` bytes (4 or 8)
  kDD,        // double-double
  kDDStored,  // double-double terms, the sum kept as its high part (rounded to `round` bytes)
};

struct DotRule {
  DK a, b;          // operand kinds (A first)
  Acc acc;
  uint8_t round;    // kStored, kDDStored: REAL*4 (4) or REAL*8 (8) sums
  uint8_t out;      // bytes of the result: 4 eax, 8 edx:eax or REAL*8, 10 st(0), 4/8/16/32 slot
  bool out_complex; // slot of a complex result (parts of out/2 bytes)
};

// The result of the n first terms as the caller sees it: integer and
// logical results in eax (INTEGER*1/2 sign-extended, LOGICAL*1/2
// zero-extended) or edx:eax; REAL in st(0) as the 10 bytes of the x87 value
// (kX87) or rounded to the kind; COMPLEX, REAL*16 and COMPLEX*32 as the
// slot's bytes. A complex first operand is conjugated.
std::vector<uint8_t> model_dot(const DotRule& rule, const FArray& a, const FArray& b, int64_t n);

}  // namespace fz
