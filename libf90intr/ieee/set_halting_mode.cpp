// IEEE_SET_HALTING_MODE with array arguments.
//
// An exception named twice is refused whatever the HALTING values, and that
// check runs over all of FLAG before the sizes are compared; a refused call
// writes nothing. Then the control word is changed in one read and one
// write (also for empty arrays): each FLAG element in order unmasks its
// exception when its HALTING value is true and masks it when false. A FLAG
// element that matches no exception is ignored, so no other control-word
// bit can change.
#include "ieee/arguments.h"

using f90::ieee::ArrayArg;

F90_API void set_halting_mode_array(ArrayDescriptor* flag, ArrayDescriptor* halting)
    F90_SYMBOL(__A_IEEE_SET_HALTING_MODE_in_IEEE_EXCEPTIONS);

void set_halting_mode_array(ArrayDescriptor* flag, ArrayDescriptor* halting) {
  bool named[f90::ieee::kExceptions] = {};
  const ArrayArg flags(flag);
  if (flags.absent()) return;
  auto f = flags.elements();
  for (const char* pf = f.next(); pf != nullptr; pf = f.next()) {
    const int k = f90::ieee::slot_of<&f90::ieee::FlagType::cw_bit>(f90::ieee::cw_bit_of(pf));
    if (k < 0) continue;
    if (named[k]) {
      f90::ieee::report_conflict();
      return;
    }
    named[k] = true;
  }
  const ArrayArg values(halting);
  if (values.absent()) return;
  if (values.size() != flags.size()) {
    f90::ieee::report_conflict();
    return;
  }
  int32_t w = _morvex_getCW();
  f = flags.elements();
  auto v = values.elements();
  for (const char *pf = f.next(), *pv = v.next(); pf != nullptr && pv != nullptr;
       pf = f.next(), pv = v.next()) {
    const int32_t bit = f90::ieee::cw_bit_of(pf);
    if (f90::ieee::slot_of<&f90::ieee::FlagType::cw_bit>(bit) < 0) continue;
    w = f90::ieee::logical_of(pv) ? (w & ~bit) : (w | bit);
  }
  _morvex_setCW(&w);
}
