// Reference model of the character inquiries: LEN_TRIM, SCAN and VERIFY,
// byte by byte. Every byte code 0-255 is a character of its own; the blank
// is 0x20 only; a length below 1 is an empty string.
#pragma once

#include <cstdint>

namespace fz {

// The length without trailing blanks.
inline int64_t model_len_trim(const char* s, int64_t len) {
  int64_t n = len > 0 ? len : 0;
  while (n > 0 && s[n - 1] == ' ') --n;
  return n;
}

// SCAN (stop at a byte in SET) or VERIFY (stop at a byte outside it): the
// 1-based position of the first stop, of the last with BACK, 0 for none.
inline int64_t model_search(bool verify, const char* s, int64_t len, const char* set,
                            int64_t setlen, bool back) {
  if (len <= 0) return 0;
  auto in_set = [&](char c) {
    for (int64_t j = 0; j < setlen; ++j) {
      if (set[j] == c) return true;
    }
    return false;
  };
  for (int64_t k = 0; k < len; ++k) {
    const int64_t i = back ? len - 1 - k : k;
    if (in_set(s[i]) != verify) return i + 1;
  }
  return 0;
}

}  // namespace fz
