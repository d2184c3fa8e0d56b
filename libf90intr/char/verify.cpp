// VERIFY(STRING, SET, BACK): the position of the first byte of STRING that
// is not in SET (the last with BACK), 0 when every byte is or STRING is
// empty; with an empty SET that is 1, or LEN with BACK. The INTEGER*8 form
// takes 64-bit lengths (its _F90_ form widens 32-bit ones); the _F90_ forms
// take the lengths last.
#include "char/character.h"
#include "char/set_search.h"

using f90::chars::back_given;
using f90::chars::search;
using f90::chars::Stop;

int32_t verify(const char* s, int32_t len, const char* set, int32_t setlen, const int32_t* back) {
  return search<int32_t>(Stop::outside_set, s, len, set, setlen, back_given(back));
}
int32_t verify_4(const char* s, int32_t len, const char* set, int32_t setlen,
                 const int32_t* back) {
  return search<int32_t>(Stop::outside_set, s, len, set, setlen, back_given(back));
}
int64_t verify_8(const char* s, int64_t len, const char* set, int64_t setlen,
                 const int32_t* back) {
  return search<int64_t>(Stop::outside_set, s, len, set, setlen, back_given(back));
}

int32_t f90_verify(const char* s, const char* set, const int32_t* back, int32_t len,
                   int32_t setlen) {
  return search<int32_t>(Stop::outside_set, s, len, set, setlen, back_given(back));
}
int32_t f90_verify_4(const char* s, const char* set, const int32_t* back, int32_t len,
                     int32_t setlen) {
  return search<int32_t>(Stop::outside_set, s, len, set, setlen, back_given(back));
}
int64_t f90_verify_8(const char* s, const char* set, const int32_t* back, int32_t len,
                     int32_t setlen) {
  return search<int64_t>(Stop::outside_set, s, len, set, setlen, back_given(back));
}
