// LEN_TRIM: the length without trailing blanks (0x20 only), 0 for a length
// below 1 or an all-blank string. The three result kinds and the _F90_
// names share the scan of libf90elem's LEN_TRIM (chars/bytes.h).
#include "char/character.h"
#include "chars/bytes.h"

namespace {

int32_t trimmed(const char* s, int32_t len) {
  using morvex::chars::Byte;
  return static_cast<int32_t>(
      morvex::chars::trimmed_length(reinterpret_cast<const Byte*>(s), morvex::chars::span(len)));
}

}  // namespace

int32_t len_trim(const char* s, int32_t len) { return trimmed(s, len); }
int32_t len_trim_4(const char* s, int32_t len) { return trimmed(s, len); }
int64_t len_trim_8(const char* s, int32_t len) { return trimmed(s, len); }
int32_t f90_len_trim(const char* s, int32_t len) { return trimmed(s, len); }
int32_t f90_len_trim_4(const char* s, int32_t len) { return trimmed(s, len); }
int64_t f90_len_trim_8(const char* s, int32_t len) { return trimmed(s, len); }
