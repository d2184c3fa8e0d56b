// Character assignment and concatenation.
//
// casgn: dst = src for n = min(len_dst, len_src) bytes, then len_dst - n
// blanks. Overlap-safe: when dst lies before src, or at or beyond the end of
// src (addresses compared unsigned), the bytes go forward and the blanks
// after them; when dst starts inside the source bytes (a shift to the right
// within one variable) the blanks go first, from the end of dst toward its
// front, and then the bytes from last to first.
//
// strcasgn: the same assignment for a destination with a length byte in
// front of it; that byte gets min(len_dst, len_src) cut to 8 bits. It is
// stored after the assignment, so that a source which covers the byte in
// front of dst is read before the store changes it.
//
// con: a // b into dst, not filled out with blanks: min(len_a, len_dst)
// bytes of a, then as many bytes of b as there is room left; the bytes of
// dst past the returned count are left as they were.
#include <algorithm>
#include <cstdint>

#include "chars/bytes.h"
#include "char/character.h"

using namespace morvex::chars;

namespace {

void assign(char* dst_, const char* src_, int32_t len_dst, int32_t len_src) {
  Byte* dst = reinterpret_cast<Byte*>(dst_);
  const Byte* src = reinterpret_cast<const Byte*>(src_);
  const uint32_t ld = span(len_dst), ls = span(len_src);
  const uint32_t n = std::min(ld, ls);
  const uintptr_t d = reinterpret_cast<uintptr_t>(dst), s = reinterpret_cast<uintptr_t>(src);
  if (d < s || d - s >= ls) {
    copy_up(dst, src, n);
    fill(dst + n, ld - n, kBlank);
  } else {
    // dst starts inside the source. Any blanks lie past the source's end
    // (n = ls there), so storing them first loses nothing.
    fill(dst + n, ld - n, kBlank);
    copy_down(dst, src, n);
  }
}

}  // namespace

void _morvex_casgn(char* dst, const char* src, int32_t len_dst, int32_t len_src) {
  assign(dst, src, len_dst, len_src);
}

void _morvex_strcasgn(char* dst, const char* src, int32_t len_dst, int32_t len_src) {
  assign(dst, src, len_dst, len_src);
  dst[-1] = static_cast<char>(std::min(span(len_dst), span(len_src)) & 0xffu);
}

int32_t _morvex_con(const char* a, const char* b, char* dst_, int32_t len_a, int32_t len_b,
                    int32_t len_dst) {
  Byte* dst = reinterpret_cast<Byte*>(dst_);
  const uint32_t ld = span(len_dst);
  const uint32_t na = std::min(span(len_a), ld);
  const uint32_t nb = std::min(span(len_b), ld - na);
  copy_up(dst, reinterpret_cast<const Byte*>(a), na);
  copy_up(dst + na, reinterpret_cast<const Byte*>(b), nb);
  return static_cast<int32_t>(na + nb);
}
