// IEEE_SELECTED_REAL_KIND([P] [, R]): SELECTED_REAL_KIND restricted to the
// IEEE kinds, REAL*4 and REAL*8.
//
// Both arguments absent give 4; otherwise SELECTED_REAL_KIND decides, with
// the same pointers. REAL*16 is no IEEE kind: a precision that only it meets
// (16 to 31 digits) is not available, -1, or -3 when the range is not met
// either (SELECTED_REAL_KIND then says -2, whose range rule is the same for
// REAL*8 and REAL*16). Any other kind and every failure code pass unchanged.
#include <cstdint>

#include "symbols.h"

F90_API int32_t selected_real_kind(const int32_t* p, const int32_t* r) F90_SYMBOL(_SELECTED_REAL_KIND);
F90_API int32_t ieee_selected_real_kind(const int32_t* p, const int32_t* r)
    F90_SYMBOL(__IEEE_SELECTED_REAL_KIND_in_IEEE_ARITHMETIC);

namespace {
constexpr int32_t kLargestIeeeDigits = 15;  // REAL*8
}

int32_t ieee_selected_real_kind(const int32_t* p, const int32_t* r) {
  if (p == nullptr && r == nullptr) return 4;
  const int32_t kind = selected_real_kind(p, r);
  if (p != nullptr && *p > kLargestIeeeDigits) {
    if (kind > 8) return -1;
    if (kind == -2) return -3;
  }
  return kind;
}
