// x87 control and status word accessors for the IEEE procedures.
//
// The control word is set with fldcw. The status word's exception flags can
// only be written through the environment: fnstenv, change the flags in the
// stored copy, fldenv. The combined state word packs the control word in the
// low 16 bits and the status word's exception flags in the high 16 bits.
//
// Raising a flag whose exception is unmasked (halting) makes the next
// waiting x87 instruction trap, as the exception itself would have.
#include <cstdint>

#include "f90/runtime.h"
#include "symbols.h"
#include "x87.h"

namespace {

constexpr uint32_t kExceptionFlags = 0x3f;

void write_status_flags(uint32_t flags) {
  x87::Env env;
  x87::store_env(env);  // masks all exceptions; fldenv restores the saved word
  env.sw = (env.sw & ~kExceptionFlags) | (flags & kExceptionFlags);
  x87::load_env(env);
}

}  // namespace

F90_API int32_t _morvex_getCW(void) { return x87::get_cw(); }

F90_API void _morvex_setCW(const int32_t* cw) { x87::set_cw(static_cast<uint16_t>(*cw)); }

F90_API int32_t _morvex_getSW(void) { return x87::get_sw(); }

F90_API void _morvex_setSW(const int32_t* sw) { write_status_flags(static_cast<uint32_t>(*sw)); }

F90_API int32_t _morvex_getCSW(void) {
  return static_cast<int32_t>(x87::get_cw() | ((x87::get_sw() & kExceptionFlags) << 16));
}

F90_API void _morvex_setCSW(const int32_t* csw) {
  const uint32_t w = static_cast<uint32_t>(*csw);
  x87::set_cw(static_cast<uint16_t>(w & 0xffff));
  write_status_flags(w >> 16);
}
