// SELECTED_REAL_KIND([P] [, R]): the smallest real kind with at least P
// decimal digits and a decimal exponent range of at least R.
//
// P absent counts as 1, R absent as 0. The rows of the kind table are
// walked in order: kr is the first kind whose range reaches R, kp the first
// whose precision reaches P, looked for only when P > 0. No kp and no kr:
// -3; no kp (every P <= 0 included): -1; no kr: -2; otherwise the larger of
// the two. The INTEGER*8 forms return the same value sign-extended.
#include <cstdint>

#include "symbols.h"

namespace {

struct RealKind {
  int32_t kind, precision, range;
};
constexpr RealKind kRealKinds[] = {{4, 6, 37}, {8, 15, 307}, {16, 31, 307}};

int32_t select_real_kind(const int32_t* p_arg, const int32_t* r_arg) {
  const int32_t p = p_arg ? *p_arg : 1;
  const int32_t r = r_arg ? *r_arg : 0;
  int32_t kp = 0, kr = 0;
  for (const RealKind& k : kRealKinds) {
    if (kr == 0 && k.range >= r) kr = k.kind;
    if (kp == 0 && p > 0 && k.precision >= p) kp = k.kind;
  }
  if (kp == 0 && kr == 0) return -3;
  if (kp == 0) return -1;
  if (kr == 0) return -2;
  return kp > kr ? kp : kr;
}

}  // namespace

F90_API int32_t selected_real_kind_(const int32_t* p, const int32_t* r)
    F90_SYMBOL(_SELECTED_REAL_KIND_);
F90_API int32_t selected_real_kind_4_(const int32_t* p, const int32_t* r)
    F90_SYMBOL(_SELECTED_REAL_KIND_4_);
F90_API int64_t selected_real_kind_8_(const int32_t* p, const int32_t* r)
    F90_SYMBOL(_SELECTED_REAL_KIND_8_);
F90_API int32_t selected_real_kind(const int32_t* p, const int32_t* r)
    F90_SYMBOL(_SELECTED_REAL_KIND);
F90_API int32_t selected_real_kind_4(const int32_t* p, const int32_t* r)
    F90_SYMBOL(_SELECTED_REAL_KIND_4);
F90_API int64_t selected_real_kind_8(const int32_t* p, const int32_t* r)
    F90_SYMBOL(_SELECTED_REAL_KIND_8);

int32_t selected_real_kind_(const int32_t* p, const int32_t* r) { return select_real_kind(p, r); }
int32_t selected_real_kind_4_(const int32_t* p, const int32_t* r) { return select_real_kind(p, r); }
int64_t selected_real_kind_8_(const int32_t* p, const int32_t* r) { return select_real_kind(p, r); }
int32_t selected_real_kind(const int32_t* p, const int32_t* r) { return select_real_kind(p, r); }
int32_t selected_real_kind_4(const int32_t* p, const int32_t* r) { return select_real_kind(p, r); }
int64_t selected_real_kind_8(const int32_t* p, const int32_t* r) { return select_real_kind(p, r); }
