// REPEAT(STRING, NCOPIES) into a scalar CHARACTER result that the routine
// allocates.
//
// NCOPIES < 0 reports 1414 and leaves the datum {0, 0}, allocating nothing.
// NCOPIES = 0 or an empty STRING (a negative length counts as 0) gives the
// datum {0, 0} with `assoc` and the alloc words as they were. Otherwise a
// result that already has storage reports 1220 and is replaced; the size
// n x len is formed in 64 bits (above 0x7FFFFFFF bytes: 1205, nothing
// allocated or copied) and `alloc_size` counts bytes.
//
// The copies double: the string once, then what is already there, so a long
// result of a short string takes few block copies.
#include <cstring>

#include "array/result.h"
#include "char/character.h"
#include "chars/bytes.h"

void repeat(ArrayDescriptor* result, const char* s, int32_t len, const int32_t* ncopies) {
  const f90::Desc r(result);
  const int32_t n = *ncopies;
  if (n < 0) {
    f90::report(ERR_REPEAT_NEGATIVE);
    f90::set_character_datum(r, nullptr, 0);
    return;
  }
  const uint32_t ls = morvex::chars::span(len);
  if (n == 0 || ls == 0) {
    f90::set_character_datum(r, nullptr, 0);
    return;
  }
  if (r.assoc()) f90::report(ERR_RESULT_ALLOCATED);
  const int64_t bytes = int64_t{n} * ls;
  char* dst = f90::attach_character_result(r, bytes, f90::AllocSizeUnit::bytes);
  if (dst == nullptr) return;

  const uint32_t total = static_cast<uint32_t>(bytes);
  if (ls == 1) {
    std::memset(dst, s[0], total);
    return;
  }
  std::memcpy(dst, s, ls);
  for (uint32_t done = ls; done < total;) {
    const uint32_t k = done < total - done ? done : total - done;
    std::memcpy(dst + done, dst, k);
    done += k;
  }
}

void f90_repeat(ArrayDescriptor* result, const char* s, const int32_t* ncopies, int32_t len) {
  repeat(result, s, len, ncopies);
}
