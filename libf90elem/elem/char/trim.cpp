// LEN, LEN_TRIM, TRIM, ADJUSTL and ADJUSTR.
//
// LEN is the length itself (a negative length counts as 0). LEN_TRIM is
// the length less the trailing blanks. TRIM copies the first
// min(len_src, len_dst) bytes of src without their trailing blanks to the
// start of dst and returns how many it copied.
//
// ADJUSTL counts the leading blanks k, copies the len - k bytes after them to
// the start of dst in increasing order, then stores k blanks. ADJUSTR counts
// the trailing blanks k, copies the len - k bytes before them to the end of
// dst from last to first, then stores k blanks in front. Both return len and
// both work in place (dst == src): each byte moves toward the end it is
// copied from, so it is read before it is overwritten.
#include <cstdint>

#include "chars/bytes.h"
#include "char/character.h"

using namespace morvex::chars;

int32_t _morvex_len(const char*, int32_t len_s) { return static_cast<int32_t>(span(len_s)); }

// The by-reference name takes the same arguments: the same code.
int32_t _morvex_I_len(const char* s, int32_t len_s) __attribute__((alias("_morvex_len")));

int32_t _morvex_len_trim(const char* s, int32_t len_s) {
  return static_cast<int32_t>(trimmed_length(reinterpret_cast<const Byte*>(s), span(len_s)));
}

int32_t _morvex_trim(const char* src, char* dst, int32_t len_src, int32_t len_dst) {
  const uint32_t ls = span(len_src), ld = span(len_dst);
  const Byte* s = reinterpret_cast<const Byte*>(src);
  const uint32_t n = trimmed_length(s, ls < ld ? ls : ld);
  copy_up(reinterpret_cast<Byte*>(dst), s, n);
  return static_cast<int32_t>(n);
}

int32_t _morvex_adjustl(const char* src, char* dst, int32_t len) {
  const uint32_t n = span(len);
  const Byte* s = reinterpret_cast<const Byte*>(src);
  Byte* d = reinterpret_cast<Byte*>(dst);
  const uint32_t k = leading_blanks(s, n);
  copy_up(d, s + k, n - k);
  fill(d + n - k, k, kBlank);
  return static_cast<int32_t>(n);
}

int32_t _morvex_adjustr(const char* src, char* dst, int32_t len) {
  const uint32_t n = span(len);
  const Byte* s = reinterpret_cast<const Byte*>(src);
  Byte* d = reinterpret_cast<Byte*>(dst);
  const uint32_t kept = trimmed_length(s, n);
  copy_down(d + n - kept, s, kept);
  fill(d, n - kept, kBlank);
  return static_cast<int32_t>(n);
}
