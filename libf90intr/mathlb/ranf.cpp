// RANF, RANSET, RANGET: the library's linear congruential generator.
//
// The whole state is the exported word _RANFI (initially 183608127), which
// compiled code may read and write directly; it is read from and written
// back to memory at every step, so such writes take effect at once. One
// step: _RANFI = _RANFI * 69069 + 1 modulo 2^32, output the top 24 bits.
// _RANF returns output / 2^24, a multiple of 2^-24 in [0, 1), exact in
// REAL*8. _RANSET(seed) sets the state (0 selects 183608127), _RANSET_ADR
// does so from *p (null selects 183608127; 0 behind a pointer is state 0);
// both return the new state. _RANGET and ranget_ return the state, and store
// it in *p when p is not null. Nothing is locked: concurrent callers share
// one sequence and may lose steps.
#include <cstdint>

#include "symbols.h"

F90_API uint32_t ranfi F90_SYMBOL(_RANFI);
uint32_t ranfi = 183608127u;

namespace {

constexpr uint32_t kDefaultSeed = 183608127u;

// The generator's own private steps.
int32_t next_output() {
  ranfi = ranfi * 69069u + 1u;
  return static_cast<int32_t>(ranfi >> 8);
}

void set_state(uint32_t s) { ranfi = s; }

int32_t report_state(int32_t* state) {
  if (state != nullptr) *state = static_cast<int32_t>(ranfi);
  return static_cast<int32_t>(ranfi);
}

}  // namespace

F90_API double ranf() F90_SYMBOL(_RANF);
F90_API int32_t ranset(int32_t seed) F90_SYMBOL(_RANSET);
F90_API int32_t ranset_adr(const int32_t* seed) F90_SYMBOL(_RANSET_ADR);
F90_API int32_t ranget(int32_t* state) F90_SYMBOL(_RANGET);
F90_API int32_t ranget_(int32_t* state);

// Multiplying by 2^-24 gives the quotient by 2^24 exactly.
double ranf() { return next_output() * (1.0 / 16777216.0); }

int32_t ranset(int32_t seed) {
  set_state(seed != 0 ? static_cast<uint32_t>(seed) : kDefaultSeed);
  return static_cast<int32_t>(ranfi);
}

int32_t ranset_adr(const int32_t* seed) {
  set_state(seed != nullptr ? static_cast<uint32_t>(*seed) : kDefaultSeed);
  return static_cast<int32_t>(ranfi);
}

int32_t ranget(int32_t* state) { return report_state(state); }
int32_t ranget_(int32_t* state) { return report_state(state); }
