// The character-argument converter: a freshly allocated copy of the string
// followed by a NUL, the datum's length counting the NUL (len + 1, a
// negative length counting as 0) and `alloc_size` in bytes. A result that
// already has storage reports 1220 and is replaced; a failed allocation
// reports 1205 and leaves the result empty and unassociated.
#include <cstring>

#include "array/result.h"
#include "char/character.h"
#include "chars/bytes.h"

void character_argument(ArrayDescriptor* result, const char* s, int32_t len) {
  const f90::Desc r(result);
  if (r.assoc()) f90::report(ERR_RESULT_ALLOCATED);
  const uint32_t ls = morvex::chars::span(len);
  char* dst = f90::attach_character_result(r, int64_t{ls} + 1, f90::AllocSizeUnit::bytes);
  if (dst == nullptr) return;
  if (ls != 0) std::memcpy(dst, s, ls);
  dst[ls] = '\0';
}
