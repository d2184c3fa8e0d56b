// The search shared by SCAN and VERIFY.
//
// SET becomes a 256-bit membership table built on the stack at every call,
// one bit per byte code (every code 0-255 is a character of its own; a byte
// of 128-255 stands for nothing else). Code c lives in byte (c & 15) + 16 *
// (c >> 7) at bit (c >> 4) & 7: the low nibble picks a byte of one of two
// 16-byte rows, so a vector byte shuffle (pshufb) looks up sixteen bytes at
// once. SCAN stops at a byte in SET, VERIFY at a byte outside it.
//
// The string is read once, from the front or from the back, thirty-two
// bytes a step with AVX2 or with two SSSE3 steps (chosen once by a CPU
// check), the rest byte by byte. Nothing outside the string is read.
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

struct SetBits {
  alignas(16) Byte row[32];

  SetBits(const Byte* set, uint32_t setlen) {
    std::memset(row, 0, sizeof row);
    for (uint32_t i = 0; i < setlen; ++i) {
      const Byte c = set[i];
      row[(c & 15) + ((c >> 7) << 4)] |= static_cast<Byte>(1u << ((c >> 4) & 7));
    }
  }
  bool has(Byte c) const { return (row[(c & 15) + ((c >> 7) << 4)] >> ((c >> 4) & 7)) & 1; }
};

// The instruction sets the passes come in.
enum class Isa { scalar, ssse3, avx2 };
// The best one this CPU has.
Isa best_isa();

// 1-based position of the first (with back: last) stop among s[0..n), 0 if
// none, by the pass for `isa` (which the CPU must have).
uint32_t find_stop(Isa isa, bool back, const Byte* s, uint32_t n, const SetBits& set, Stop stop);

// BACK: a null pointer or a zero word is false.
inline bool back_given(const int32_t* back) { return back != nullptr && *back != 0; }

// SCAN (stop in_set) or VERIFY (stop outside_set) of s[0..len) against
// set[0..setlen); lengths below 1 count as empty. SCAN with an empty SET
// finds nothing; VERIFY with an empty SET stops at the first (last) byte.
// A string longer than the address space cannot exist: the 64-bit forms
// search at most 2^32 - 1 bytes.
template <class Index>
Index search(Stop stop, const char* s, Index len, const char* set, Index setlen, bool back) {
  if (len <= 0) return 0;
  if (setlen <= 0) {
    if (stop == Stop::in_set) return 0;
    setlen = 0;
  }
  const auto clamp = [](Index v) {
    return static_cast<uint64_t>(v) > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(v);
  };
  const SetBits bits(reinterpret_cast<const Byte*>(set), clamp(setlen));
  const Byte* p = reinterpret_cast<const Byte*>(s);
  const uint32_t n = clamp(len);
  return static_cast<Index>(find_stop(best_isa(), back, p, n, bits, stop));
}

}  // namespace f90::chars
