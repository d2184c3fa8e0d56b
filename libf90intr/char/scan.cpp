// SCAN(STRING, SET, BACK): the position of the first byte of STRING that is
// in SET (the last with BACK), 0 when none is or either is empty. The
// INTEGER*8 form takes 32-bit lengths; the _F90_ forms take the lengths
// last.
#include "char/character.h"
#include "char/set_search.h"

using f90::chars::back_given;
using f90::chars::search;
using f90::chars::Stop;

int32_t scan(const char* s, int32_t len, const char* set, int32_t setlen, const int32_t* back) {
  return search<int32_t>(Stop::in_set, s, len, set, setlen, back_given(back));
}
int32_t scan_4(const char* s, int32_t len, const char* set, int32_t setlen, const int32_t* back) {
  return search<int32_t>(Stop::in_set, s, len, set, setlen, back_given(back));
}
int64_t scan_8(const char* s, int32_t len, const char* set, int32_t setlen, const int32_t* back) {
  return search<int64_t>(Stop::in_set, s, len, set, setlen, back_given(back));
}

int32_t f90_scan(const char* s, const char* set, const int32_t* back, int32_t len, int32_t setlen) {
  return search<int32_t>(Stop::in_set, s, len, set, setlen, back_given(back));
}
int32_t f90_scan_4(const char* s, const char* set, const int32_t* back, int32_t len,
                   int32_t setlen) {
  return search<int32_t>(Stop::in_set, s, len, set, setlen, back_given(back));
}
int64_t f90_scan_8(const char* s, const char* set, const int32_t* back, int32_t len,
                   int32_t setlen) {
  return search<int64_t>(Stop::in_set, s, len, set, setlen, back_given(back));
}
