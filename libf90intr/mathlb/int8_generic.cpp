// IDIM and ISIGN of INTEGER*8 arguments passed by reference.
//
// IDIM(A, B): A - B when A >= B (signed comparison), else 0; the difference
// wraps modulo 2^64. ISIGN(A, B): |A| (two's complement, so -2^63 stays
// -2^63), negated when B < 0; B = 0 counts as positive.
#include <cstdint>

#include "symbols.h"

F90_API int64_t idim_(const int64_t* a, const int64_t* b) F90_SYMBOL(_IDIM_);
F90_API int64_t isign_(const int64_t* a, const int64_t* b) F90_SYMBOL(_ISIGN_);

int64_t idim_(const int64_t* a, const int64_t* b) {
  if (*a < *b) return 0;
  return static_cast<int64_t>(static_cast<uint64_t>(*a) - static_cast<uint64_t>(*b));
}

int64_t isign_(const int64_t* a, const int64_t* b) {
  const uint64_t m = *a < 0 ? 0 - static_cast<uint64_t>(*a) : static_cast<uint64_t>(*a);
  return static_cast<int64_t>(*b < 0 ? 0 - m : m);
}
