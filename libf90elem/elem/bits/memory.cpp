// Reads and writes of 1, 2 or 4 bytes at an address.
//
//   _morvex_byte/word/long(p) and their _morvex_I_ names: the value at p,
//       sign-extended (the by-reference names take the same address).
//   _morvex_wbyte/wword/wlong(p, v): store v's low 8/16/32 bits at p and
//       return them sign-extended.
//   _morvex_I_wbyte/wword/wlong(p, q): copy 1/2/4 bytes from q to p.
// Exactly the named bytes are touched; p needs no alignment.
#include <cstdint>
#include <cstring>

#include "symbols.h"

namespace {

template <class T>
int32_t load(const void* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

template <class T>
int32_t store(void* p, int32_t value) {
  const T v = static_cast<T>(value);
  std::memcpy(p, &v, sizeof v);
  return v;
}

}  // namespace

F90_API int32_t _morvex_byte(const void* p) { return load<int8_t>(p); }
F90_API int32_t _morvex_word(const void* p) { return load<int16_t>(p); }
F90_API int32_t _morvex_long(const void* p) { return load<int32_t>(p); }
F90_API int32_t _morvex_I_byte(const void* p) { return load<int8_t>(p); }
F90_API int32_t _morvex_I_word(const void* p) { return load<int16_t>(p); }
F90_API int32_t _morvex_I_long(const void* p) { return load<int32_t>(p); }

F90_API int32_t _morvex_wbyte(void* p, int32_t v) { return store<int8_t>(p, v); }
F90_API int32_t _morvex_wword(void* p, int32_t v) { return store<int16_t>(p, v); }
F90_API int32_t _morvex_wlong(void* p, int32_t v) { return store<int32_t>(p, v); }

F90_API void _morvex_I_wbyte(void* p, const void* q) { std::memcpy(p, q, 1); }
F90_API void _morvex_I_wword(void* p, const void* q) { std::memcpy(p, q, 2); }
F90_API void _morvex_I_wlong(void* p, const void* q) { std::memcpy(p, q, 4); }
