// Lexical comparisons LGE, LGT, LLE, LLT and the equality tests, over one
// comparison in which the shorter operand counts as filled out with blanks
// and bytes collate as unsigned values (0xe9 sorts after 'z').
//
// The comparison finds the first differing byte within the common length;
// that byte decides (a's byte greater: a > b). When the common part agrees
// and one operand goes on, the rest of the longer one is compared with
// blanks: the first of its bytes that is not a blank decides, above 0x20
// it sorts after the blank, below 0x20 (a tab, say) before it. Only blanks
// left: equal. No byte past either length is read, and the scans stop at
// the first difference (they go a vector at a time where the CPU has one:
// chars/wide.h).
//
// Sign: negative for a > b, 0 for equal, positive for a < b.
#include <algorithm>
#include <cstdint>

#include "chars/bytes.h"
#include "chars/wide.h"
#include "char/character.h"

using namespace morvex::chars;

namespace morvex::chars {

int32_t compare_padded(const char* a_, const char* b_, int32_t len_a, int32_t len_b) {
  const Byte* a = reinterpret_cast<const Byte*>(a_);
  const Byte* b = reinterpret_cast<const Byte*>(b_);
  const uint32_t la = span(len_a), lb = span(len_b);
  const uint32_t common = std::min(la, lb);
  const uint32_t i = wide::first_difference(a, b, common);
  if (i < common) return a[i] > b[i] ? -1 : 1;
  if (la == lb) return 0;
  if (la < lb) {  // a ran out: its blanks against the rest of b
    const uint32_t j = la + wide::leading_blanks(b + la, lb - la);
    if (j == lb) return 0;
    return b[j] > kBlank ? 1 : -1;
  }
  const uint32_t j = lb + wide::leading_blanks(a + lb, la - lb);
  if (j == la) return 0;
  return a[j] > kBlank ? -1 : 1;
}

}  // namespace morvex::chars

int32_t _morvex_lge(const char* a, const char* b, int32_t len_a, int32_t len_b) {
  return compare_padded(a, b, len_a, len_b) <= 0;
}
int32_t _morvex_lgt(const char* a, const char* b, int32_t len_a, int32_t len_b) {
  return compare_padded(a, b, len_a, len_b) < 0;
}
int32_t _morvex_lle(const char* a, const char* b, int32_t len_a, int32_t len_b) {
  return compare_padded(a, b, len_a, len_b) >= 0;
}
int32_t _morvex_llt(const char* a, const char* b, int32_t len_a, int32_t len_b) {
  return compare_padded(a, b, len_a, len_b) > 0;
}
int32_t _morvex_cheq(const char* a, const char* b, int32_t len_a, int32_t len_b) {
  return compare_padded(a, b, len_a, len_b) == 0;
}
int32_t _morvex_chne(const char* a, const char* b, int32_t len_a, int32_t len_b) {
  return compare_padded(a, b, len_a, len_b) != 0;
}
