// Reference model of MATMUL on operands whose values make every order of
// summation exact (integers of any value, wrapping; real and complex parts
// small integers): C(i,j) = sum over k of A(i,k) B(k,j), written in the
// result's kind. LOGICAL products are the bitwise OR, at the result's width,
// of the elements of the kernel's first operand whose partner in the other
// operand is nonzero.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "dot_model.h"

namespace fz {

// Address of element (row, column), 0-based, of an operand as the product
// uses it.
using ElementAt = std::function<const char*(int64_t, int64_t)>;

struct MatmulRule {
  DK a, b, c;            // operand and result kinds
  bool logical_b_first;  // LOGICAL: B's bits are ORed where A is nonzero
};

// The m x n result elements in array element order (column-major), each in
// C's kind.
std::vector<uint8_t> model_matmul(const MatmulRule& rule, const ElementAt& a, const ElementAt& b,
                                  int64_t m, int64_t n, int64_t k);

uint32_t dk_size(DK k);

}  // namespace fz
