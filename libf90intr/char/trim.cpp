// TRIM(STRING) into a scalar CHARACTER result that the routine allocates:
// the string without its trailing blanks, `alloc_size` in bits.
//
// A result that already has storage reports 1220 and is replaced, as REPEAT
// does. An empty trimmed string allocates nothing: the datum {0, 0},
// `assoc` clear, alloc words 0. A failed allocation reports 1205 and leaves
// the same empty, unassociated result.
#include <cstring>

#include "array/result.h"
#include "char/character.h"
#include "chars/bytes.h"

void trim(ArrayDescriptor* result, const char* s, int32_t len) {
  using morvex::chars::Byte;
  const f90::Desc r(result);
  const uint32_t m = morvex::chars::trimmed_length(reinterpret_cast<const Byte*>(s),
                                                   morvex::chars::span(len));
  if (r.assoc()) f90::report(ERR_RESULT_ALLOCATED);
  if (m == 0) {
    r.set_assoc(false);
    f90::attach_result_storage(r, nullptr, 0, true, 0);
    return;
  }
  char* dst = f90::attach_character_result(r, m, f90::AllocSizeUnit::bits);
  if (dst != nullptr) std::memcpy(dst, s, m);
}
