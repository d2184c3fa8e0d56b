// The search shared by SCAN and VERIFY.
//
// SET becomes a table of 256 stop flags, one per byte code, built on the
// stack at every call: SCAN stops at a byte of SET, VERIFY at a byte outside
// it. Every code 0-255 is a character of its own (a byte of 128-255 stands
// for nothing else). The string is then searched once, from the front or
// from the back, eight bytes a step: their flags are OR-ed together and only
// a step with a flag set is looked at byte by byte.
//
// Positions are 1-based, 0 for none. Index is the width of the position
// counter: 32 bits, or 64 for the forms whose lengths are INTEGER*8.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

namespace f90::chars {

using Byte = unsigned char;

enum class Stop { in_set, outside_set };

class StopTable {
 public:
  StopTable(Stop stop, const Byte* set, uint32_t setlen) {
    const Byte member = stop == Stop::in_set ? 1 : 0;
    std::memset(flag_, member ^ 1, sizeof flag_);
    for (uint32_t i = 0; i < setlen; ++i) flag_[set[i]] = member;
  }
  Byte operator[](Byte c) const { return flag_[c]; }

 private:
  Byte flag_[256];
};

template <class Index>
Index first_stop(const Byte* s, Index n, const StopTable& t) {
  Index i = 0;
  for (; n - i >= 8; i += 8) {
    const Byte* p = s + i;
    if ((t[p[0]] | t[p[1]] | t[p[2]] | t[p[3]] | t[p[4]] | t[p[5]] | t[p[6]] | t[p[7]]) != 0) break;
  }
  for (; i < n; ++i)
    if (t[s[i]] != 0) return i + 1;
  return 0;
}

template <class Index>
Index last_stop(const Byte* s, Index n, const StopTable& t) {
  for (; n >= 8; n -= 8) {
    const Byte* p = s + n - 8;
    if ((t[p[0]] | t[p[1]] | t[p[2]] | t[p[3]] | t[p[4]] | t[p[5]] | t[p[6]] | t[p[7]]) != 0) break;
  }
  for (; n > 0; --n)
    if (t[s[n - 1]] != 0) return n;
  return 0;
}

// BACK: a null pointer or a zero word is false.
inline bool back_given(const int32_t* back) { return back != nullptr && *back != 0; }

// SCAN (stop in_set) or VERIFY (stop outside_set) of s[0..len) against
// set[0..setlen); lengths below 1 count as empty. SCAN with an empty SET
// finds nothing; VERIFY with an empty SET stops at the first (last) byte.
template <class Index>
Index search(Stop stop, const char* s, Index len, const char* set, Index setlen, bool back) {
  if (len <= 0) return 0;
  if (setlen <= 0) {
    if (stop == Stop::in_set) return 0;
    setlen = 0;
  }
  const StopTable table(stop, reinterpret_cast<const Byte*>(set), static_cast<uint32_t>(setlen));
  const Byte* p = reinterpret_cast<const Byte*>(s);
  using U = std::make_unsigned_t<Index>;
  const U n = static_cast<U>(len);
  return static_cast<Index>(back ? last_stop<U>(p, n, table) : first_stop<U>(p, n, table));
}

}  // namespace f90::chars
