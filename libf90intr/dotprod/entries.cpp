// The DOT_PRODUCT entry points in front of the integer and logical kernels.
//
// An operand written I4 or L4 in an entry's name stands for the 4-, 2- and
// 1-byte kinds alike: the entry reads that operand's int_len and calls the
// kernel for 32 bits, for 16 bits, or (any other value, 8 included) for one
// byte. _DOT_I4I4 and _DOT_L4L4 pick the row by A and the column by B. The
// arguments go to the kernel unchanged and its result comes back unchanged
// (eax, edx:eax, st(0), or the slot it wrote). The entries with an INTEGER*8
// operand have one kernel each.
//
// This file is the dispatch table: one line per entry, kernels in the order
// 4-byte, 2-byte, 1-byte (row-major, A's width first, for the two-operand
// selections).
#include <array>

#include "dotprod/dot.h"
#include "f90/dotprod.h"

namespace {

using f90::dot::width_of;
using AD = ArrayDescriptor;

// The kernel K[width of `sel`] of three (4-, 2-, 1-byte), called with args.
template <auto... K, class... Args>
inline auto by_width(const AD* sel, Args... args) {
  static constexpr std::array kernels{K...};
  static_assert(kernels.size() == 3);
  return kernels[static_cast<int>(width_of(sel))](args...);
}

// The kernel K[3 * width of A + width of B] of nine.
template <auto... K, class... Args>
inline auto by_widths(const AD* a, const AD* b, Args... args) {
  static constexpr std::array kernels{K...};
  static_assert(kernels.size() == 9);
  return kernels[3 * static_cast<int>(width_of(a)) + static_cast<int>(width_of(b))](args...);
}

}  // namespace

// clang-format off
F90_API int64_t dot_jj(const AD* a, const AD* b) F90_SYMBOL(_DOT_JJ);
F90_API int64_t dot_ji4(const AD* a, const AD* b) F90_SYMBOL(_DOT_JI4);
F90_API int64_t dot_i4j(const AD* a, const AD* b) F90_SYMBOL(_DOT_I4J);
F90_API int32_t dot_i4i4(const AD* a, const AD* b) F90_SYMBOL(_DOT_I4I4);
F90_API Complex8* dot_c4j(Complex8* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_C4J);
F90_API Complex8* dot_c4i4(Complex8* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_C4I4);
F90_API Complex16* dot_cj(Complex16* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_CJ);
F90_API Complex16* dot_ci4(Complex16* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_CI4);
F90_API Complex16* dot_jc(Complex16* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_JC);
F90_API Complex16* dot_i4c(Complex16* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_I4C);
F90_API Complex8* dot_jc4(Complex8* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_JC4);
F90_API Complex8* dot_i4c4(Complex8* r, const AD* a, const AD* b) F90_SYMBOL(_DOT_I4C4);
F90_API double dot_js(const AD* a, const AD* b) F90_SYMBOL(_DOT_JS);
F90_API long double dot_i4s(const AD* a, const AD* b) F90_SYMBOL(_DOT_I4S);
F90_API float dot_js4(const AD* a, const AD* b) F90_SYMBOL(_DOT_JS4);
F90_API long double dot_i4s4(const AD* a, const AD* b) F90_SYMBOL(_DOT_I4S4);
F90_API float dot_s4j(const AD* a, const AD* b) F90_SYMBOL(_DOT_S4J);
F90_API long double dot_s4i4(const AD* a, const AD* b) F90_SYMBOL(_DOT_S4I4);
F90_API double dot_sj(const AD* a, const AD* b) F90_SYMBOL(_DOT_SJ);
F90_API long double dot_si4(const AD* a, const AD* b) F90_SYMBOL(_DOT_SI4);
F90_API uint32_t dot_l4l4(const AD* a, const AD* b) F90_SYMBOL(_DOT_L4L4);
F90_API uint64_t dot_ll4(const AD* a, const AD* b) F90_SYMBOL(_DOT_LL4);
F90_API uint64_t dot_l4l(const AD* a, const AD* b) F90_SYMBOL(_DOT_L4L);

int64_t dot_jj(const AD* a, const AD* b) { return MX_DOT_JJ(a, b); }
int64_t dot_ji4(const AD* a, const AD* b) { return by_width<MX_DOT_JI4, MX_DOT_JI2, MX_DOT_JI1>(b, a, b); }
int64_t dot_i4j(const AD* a, const AD* b) { return by_width<MX_DOT_I4J, MX_DOT_I2J, MX_DOT_I1J>(a, a, b); }
int32_t dot_i4i4(const AD* a, const AD* b) {
  return by_widths<MX_DOT_I4I4, MX_DOT_I4I2, MX_DOT_I4I1,
                   MX_DOT_I2I4, MX_DOT_I2I2, MX_DOT_I2I1,
                   MX_DOT_I1I4, MX_DOT_I1I2, MX_DOT_I1I1>(a, b, a, b);
}
Complex8* dot_c4j(Complex8* r, const AD* a, const AD* b) { return MX_DOT_C4J(r, a, b); }
Complex8* dot_c4i4(Complex8* r, const AD* a, const AD* b) { return by_width<MX_DOT_C4I4, MX_DOT_C4I2, MX_DOT_C4I1>(b, r, a, b); }
Complex16* dot_cj(Complex16* r, const AD* a, const AD* b) { return MX_DOT_CJ(r, a, b); }
Complex16* dot_ci4(Complex16* r, const AD* a, const AD* b) { return by_width<MX_DOT_CI4, MX_DOT_CI2, MX_DOT_CI1>(b, r, a, b); }
Complex16* dot_jc(Complex16* r, const AD* a, const AD* b) { return MX_DOT_JC(r, a, b); }
Complex16* dot_i4c(Complex16* r, const AD* a, const AD* b) { return by_width<MX_DOT_I4C, MX_DOT_I2C, MX_DOT_I1C>(a, r, a, b); }
Complex8* dot_jc4(Complex8* r, const AD* a, const AD* b) { return MX_DOT_JC4(r, a, b); }
Complex8* dot_i4c4(Complex8* r, const AD* a, const AD* b) { return by_width<MX_DOT_I4C4, MX_DOT_I2C4, MX_DOT_I1C4>(a, r, a, b); }
double dot_js(const AD* a, const AD* b) { return MX_DOT_JS(a, b); }
long double dot_i4s(const AD* a, const AD* b) { return by_width<MX_DOT_I4S, MX_DOT_I2S, MX_DOT_I1S>(a, a, b); }
float dot_js4(const AD* a, const AD* b) { return MX_DOT_JS4(a, b); }
long double dot_i4s4(const AD* a, const AD* b) { return by_width<MX_DOT_I4S4, MX_DOT_I2S4, MX_DOT_I1S4>(a, a, b); }
float dot_s4j(const AD* a, const AD* b) { return MX_DOT_S4J(a, b); }
long double dot_s4i4(const AD* a, const AD* b) { return by_width<MX_DOT_S4I4, MX_DOT_S4I2, MX_DOT_S4I1>(b, a, b); }
double dot_sj(const AD* a, const AD* b) { return MX_DOT_SJ(a, b); }
long double dot_si4(const AD* a, const AD* b) { return by_width<MX_DOT_SI4, MX_DOT_SI2, MX_DOT_SI1>(b, a, b); }
uint32_t dot_l4l4(const AD* a, const AD* b) {
  return by_widths<MX_DOT_L4L4, MX_DOT_L4L2, MX_DOT_L4L1,
                   MX_DOT_L2L4, MX_DOT_L2L2, MX_DOT_L2L1,
                   MX_DOT_L1L4, MX_DOT_L1L2, MX_DOT_L1L1>(a, b, a, b);
}
uint64_t dot_ll4(const AD* a, const AD* b) { return by_width<MX_DOT_LL4, MX_DOT_LL2, MX_DOT_LL1>(b, a, b); }
uint64_t dot_l4l(const AD* a, const AD* b) { return by_width<MX_DOT_L4L, MX_DOT_L2L, MX_DOT_L1L>(a, a, b); }
// clang-format on
