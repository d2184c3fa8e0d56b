// The character elementals of libf90elem.
//
// A character datum is a byte address and a byte length; the blank is 0x20
// and bytes collate as unsigned values. Arguments: the addresses of the
// character arguments (and of a character result) in the intrinsic's order,
// non-character arguments in their places among them, then the lengths in
// the order of the addresses -- except where a line below says otherwise.
// A negative length counts as 0. Nothing allocates and nothing adds a
// terminator: results go into storage the caller provides, and functions
// with a result of variable length return the number of bytes stored.
#pragma once

#include <cstdint>

#include "symbols.h"

// dst = src, cut to len_dst or filled out with blanks; overlap-safe.
F90_API void _morvex_casgn(char* dst, const char* src, int32_t len_dst, int32_t len_src);
// The same, and min(len_dst, len_src) cut to 8 bits in the byte before dst.
F90_API void _morvex_strcasgn(char* dst, const char* src, int32_t len_dst, int32_t len_src);
// a // b into dst, not filled out; returns min(len_dst, len_a + len_b).
F90_API int32_t _morvex_con(const char* a, const char* b, char* dst, int32_t len_a,
                            int32_t len_b, int32_t len_dst);

// INDEX: 1-based position of the first (with BACK: last) occurrence, 0 if none.
F90_API int32_t _morvex_index(const char* s, const char* sub, int32_t len_s, int32_t len_sub);
F90_API int32_t _morvex_I_index(const char* s, const char* sub, int32_t len_s, int32_t len_sub);
// back: address of a 32-bit LOGICAL (non-zero is true) or null (false).
F90_API int32_t _morvex_f90_index(const char* s, const char* sub, const int32_t* back,
                                  int32_t len_s, int32_t len_sub);
F90_API int64_t _morvex_f90_index_8(const char* s, const char* sub, const int32_t* back,
                                    int32_t len_s, int32_t len_sub);

F90_API int32_t _morvex_len(const char* s, int32_t len_s);
F90_API int32_t _morvex_I_len(const char* s, int32_t len_s);
F90_API int32_t _morvex_len_trim(const char* s, int32_t len_s);
// Returns the number of bytes stored at dst.
F90_API int32_t _morvex_trim(const char* src, char* dst, int32_t len_src, int32_t len_dst);
// ADJUSTL and ADJUSTR of len bytes into dst (which may be src); return len.
F90_API int32_t _morvex_adjustl(const char* src, char* dst, int32_t len);
F90_API int32_t _morvex_adjustr(const char* src, char* dst, int32_t len);

// As many whole copies as fit; returns the bytes stored, or for a negative
// ncopies the negative product (saturated to INT32_MIN) with nothing stored.
F90_API int32_t _morvex_repeat(const char* src, int32_t ncopies, char* dst, int32_t len_src,
                               int32_t len_dst);

// Comparisons with the shorter operand filled out with blanks: 1 or 0.
F90_API int32_t _morvex_lge(const char* a, const char* b, int32_t len_a, int32_t len_b);
F90_API int32_t _morvex_lgt(const char* a, const char* b, int32_t len_a, int32_t len_b);
F90_API int32_t _morvex_lle(const char* a, const char* b, int32_t len_a, int32_t len_b);
F90_API int32_t _morvex_llt(const char* a, const char* b, int32_t len_a, int32_t len_b);
F90_API int32_t _morvex_cheq(const char* a, const char* b, int32_t len_a, int32_t len_b);
F90_API int32_t _morvex_chne(const char* a, const char* b, int32_t len_a, int32_t len_b);

// ICHAR: the byte sign-extended (-128..127). CHAR: stores the low 8 bits of
// i at dst and returns 1, the result's length (note: i comes first).
F90_API int32_t _morvex_ichar(const char* c);
F90_API int32_t _morvex_I_ichar(const char* c);
F90_API int32_t _morvex_char(int32_t i, char* dst);

namespace morvex::chars {

// The comparison the six above share (not exported): negative when a > b,
// 0 when equal, positive when a < b, the shorter operand counting as filled
// out with blanks. The values are -1, 0 and 1.
int32_t compare_padded(const char* a, const char* b, int32_t len_a, int32_t len_b);

}  // namespace morvex::chars
