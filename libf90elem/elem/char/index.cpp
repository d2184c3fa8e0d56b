// INDEX, forward and with BACK.
//
// Forward: try the start positions 0, 1, ... while start + len_sub <=
// len_s and return start + 1 at the first full match, 0 when none matches.
// With BACK true the starts run from len_s - len_sub down to 0. An empty
// substring is found at once: at 1 going forward, at len_s + 1 going back.
//
// Each start is first screened on two bytes of the substring, a vector of
// starts at a time (chars/wide.h); only starts that pass both are compared
// in full. The two are the first byte and the last byte that differs from
// it (the last byte when all are the same), so that a substring that opens
// with a run of one byte, in a string of that byte, is screened out on the
// byte that ends the run. The positions tried and the answer are those of
// the plain search.
//
// BACK is a 32-bit LOGICAL: any non-zero value is true; a null address
// (BACK absent) is false. The _8 form returns the same value in 64 bits;
// it alone can hold len_s + 1 for an empty substring in a string of
// 2^31 - 1 bytes (the 32-bit form wraps).
#include <cstdint>

#include "chars/bytes.h"
#include "chars/wide.h"
#include "char/character.h"

using namespace morvex::chars;

namespace {

// Offset of the second screened byte: the last that differs from the first,
// or the last of all (lsub >= 1).
uint32_t screen_gap(const Byte* sub, uint32_t lsub) {
  uint32_t k = lsub - 1;
  while (k > 0 && sub[k] == sub[0]) --k;
  return k == 0 ? lsub - 1 : k;
}

bool rest_matches(const Byte* s, const Byte* sub, uint32_t lsub) {
  // The first byte has been screened already.
  return wide::first_difference(s + 1, sub + 1, lsub - 1) == lsub - 1;
}

int32_t search_forward(const Byte* s, const Byte* sub, uint32_t ls, uint32_t lsub) {
  if (lsub == 0) return 1;
  if (lsub > ls) return 0;
  const uint32_t starts = ls - lsub + 1, gap = screen_gap(sub, lsub);
  for (uint32_t i = 0; i < starts; ++i) {
    i += wide::find_pair(s + i, starts - i, sub[0], sub[gap], gap);
    if (i == starts) break;
    if (rest_matches(s + i, sub, lsub)) return static_cast<int32_t>(i + 1);
  }
  return 0;
}

int64_t search_backward(const Byte* s, const Byte* sub, uint32_t ls, uint32_t lsub) {
  if (lsub == 0) return int64_t{ls} + 1;
  if (lsub > ls) return 0;
  const uint32_t gap = screen_gap(sub, lsub);
  for (uint32_t starts = ls - lsub + 1; starts > 0;) {
    const uint32_t i = wide::rfind_pair(s, starts, sub[0], sub[gap], gap);
    if (i == kNone) break;
    if (rest_matches(s + i, sub, lsub)) return static_cast<int32_t>(i + 1);
    starts = i;
  }
  return 0;
}

int64_t index_of(const char* s, const char* sub, const int32_t* back, int32_t len_s,
                 int32_t len_sub) {
  const Byte* bs = reinterpret_cast<const Byte*>(s);
  const Byte* bsub = reinterpret_cast<const Byte*>(sub);
  if (back != nullptr && *back != 0) return search_backward(bs, bsub, span(len_s), span(len_sub));
  return search_forward(bs, bsub, span(len_s), span(len_sub));
}

}  // namespace

int32_t _morvex_index(const char* s, const char* sub, int32_t len_s, int32_t len_sub) {
  return static_cast<int32_t>(index_of(s, sub, nullptr, len_s, len_sub));
}

// The by-reference name: the same arguments (characters go by address in
// both forms), so the same code.
int32_t _morvex_I_index(const char* s, const char* sub, int32_t len_s, int32_t len_sub)
    __attribute__((alias("_morvex_index")));

int32_t _morvex_f90_index(const char* s, const char* sub, const int32_t* back, int32_t len_s,
                          int32_t len_sub) {
  return static_cast<int32_t>(index_of(s, sub, back, len_s, len_sub));
}

int64_t _morvex_f90_index_8(const char* s, const char* sub, const int32_t* back, int32_t len_s,
                            int32_t len_sub) {
  return index_of(s, sub, back, len_s, len_sub);
}
