// IEEE_SET_FLAG with array arguments: one value per flag, or one value for
// all flags.
//
// Each exception has one slot (IEEE_ALL order): 0 untouched, +1 raise, -1
// clear. A FLAG element is recognised by its sw_bit; one that matches no
// exception is ignored. The slots are filled first, so a refused call (sizes
// that differ, or one exception given both values) writes nothing; then the
// status word is changed in one read and one write, also when no slot is set.
#include "ieee/arguments.h"

using f90::ieee::ArrayArg;

F90_API void set_flag_array(ArrayDescriptor* flag, ArrayDescriptor* flag_value)
    F90_SYMBOL(__A_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS);
F90_API void set_flag_array_scalar(ArrayDescriptor* flag, const int32_t* flag_value)
    F90_SYMBOL(__AS_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS);

namespace {

using Slots = int[f90::ieee::kExceptions];

void write_slots(const Slots& slot) {
  int32_t w = _morvex_getSW();
  for (int k = 0; k < f90::ieee::kExceptions; ++k) {
    const int32_t bit = ieee_exceptions_data[f90::ieee::kAllFirst + k].sw_bit;
    if (slot[k] > 0) w |= bit;
    if (slot[k] < 0) w &= ~bit;
  }
  _morvex_setSW(&w);
}

}  // namespace

void set_flag_array(ArrayDescriptor* flag, ArrayDescriptor* flag_value) {
  Slots slot = {};
  const ArrayArg flags(flag);
  const ArrayArg values(flag_value);
  if (flags.absent() || values.absent()) return;
  if (values.size() != flags.size()) {
    f90::ieee::report_conflict();
    return;
  }
  auto f = flags.elements();
  auto v = values.elements();
  for (const char *pf = f.next(), *pv = v.next(); pf != nullptr && pv != nullptr;
       pf = f.next(), pv = v.next()) {
    const int k = f90::ieee::slot_of<&f90::ieee::FlagType::sw_bit>(f90::ieee::sw_bit_of(pf));
    if (k < 0) continue;
    const int value = f90::ieee::logical_of(pv) ? 1 : -1;
    if (slot[k] == -value) {
      f90::ieee::report_conflict();
      return;
    }
    slot[k] = value;
  }
  write_slots(slot);
}

void set_flag_array_scalar(ArrayDescriptor* flag, const int32_t* flag_value) {
  Slots slot = {};
  const ArrayArg flags(flag);
  if (flags.absent()) return;
  const int value = *flag_value != 0 ? 1 : -1;
  auto f = flags.elements();
  for (const char* pf = f.next(); pf != nullptr; pf = f.next()) {
    const int k = f90::ieee::slot_of<&f90::ieee::FlagType::sw_bit>(f90::ieee::sw_bit_of(pf));
    if (k >= 0) slot[k] = value;
  }
  write_slots(slot);
}
