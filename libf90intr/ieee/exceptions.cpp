// The IEEE_EXCEPTIONS module: its data, the SUPPORT inquiries, and the scalar
// GET and SET procedures for flags, halting modes and the whole status.
//
// Flag queries and settings use a FLAG's sw_bit, halting queries and
// settings its cw_bit; the scalar forms use the bits unexamined. Halting is
// the inverse of the exception's mask bit.
#include "ieee/ieee.h"

using f90::ieee::FlagType;
using f90::ieee::logical;

const FlagType ieee_exceptions_data[13] = {
    {0x01, 0x01}, {0x04, 0x04}, {0x08, 0x08}, {0x10, 0x10}, {0x20, 0x20},  // the five flags
    {0x04, 0x04}, {0x08, 0x08}, {0x01, 0x01},                              // IEEE_USUAL
    {0x04, 0x04}, {0x08, 0x08}, {0x01, 0x01}, {0x10, 0x10}, {0x20, 0x20},  // IEEE_ALL
};

F90_API void IEEE_EXCEPTIONS(void) {}

F90_API int32_t sp_support_flag(const FlagType* flag, const float* x)
    F90_SYMBOL(__SP_IEEE_SUPPORT_FLAG_in_IEEE_EXCEPTIONS);
F90_API int32_t dp_support_flag(const FlagType* flag, const double* x)
    F90_SYMBOL(__DP_IEEE_SUPPORT_FLAG_in_IEEE_EXCEPTIONS);
F90_API int32_t support_halting(const FlagType* flag)
    F90_SYMBOL(__IEEE_SUPPORT_HALTING_in_IEEE_EXCEPTIONS);
F90_API void get_flag(const FlagType* flag, int32_t* flag_value)
    F90_SYMBOL(__IEEE_GET_FLAG_in_IEEE_EXCEPTIONS);
F90_API void get_halting_mode(const FlagType* flag, int32_t* halting)
    F90_SYMBOL(__IEEE_GET_HALTING_MODE_in_IEEE_EXCEPTIONS);
F90_API void get_status(int32_t* status_value) F90_SYMBOL(__IEEE_GET_STATUS_in_IEEE_EXCEPTIONS);
F90_API void set_status(const int32_t* status_value)
    F90_SYMBOL(__IEEE_SET_STATUS_in_IEEE_EXCEPTIONS);
F90_API void set_flag_scalar(const FlagType* flag, const int32_t* flag_value)
    F90_SYMBOL(__S_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS);
F90_API void set_halting_mode_scalar(const FlagType* flag, const int32_t* halting)
    F90_SYMBOL(__S_IEEE_SET_HALTING_MODE_in_IEEE_EXCEPTIONS);

int32_t sp_support_flag(const FlagType*, const float* x) { return logical(x != nullptr); }
int32_t dp_support_flag(const FlagType*, const double*) { return 1; }
int32_t support_halting(const FlagType*) { return 1; }

void get_flag(const FlagType* flag, int32_t* flag_value) {
  *flag_value = logical((_morvex_getSW() & flag->sw_bit) != 0);
}

void get_halting_mode(const FlagType* flag, int32_t* halting) {
  *halting = logical((_morvex_getCW() & flag->cw_bit) == 0);
}

void get_status(int32_t* status_value) { *status_value = _morvex_getCSW(); }

// The word is handed back unchanged, from the caller's own variable.
void set_status(const int32_t* status_value) { _morvex_setCSW(status_value); }

void set_flag_scalar(const FlagType* flag, const int32_t* flag_value) {
  int32_t w = _morvex_getSW();
  w = *flag_value != 0 ? (w | flag->sw_bit) : (w & ~flag->sw_bit);
  _morvex_setSW(&w);
}

// HALTING true unmasks the exception (clears its mask bit).
void set_halting_mode_scalar(const FlagType* flag, const int32_t* halting) {
  int32_t w = _morvex_getCW();
  w = *halting != 0 ? (w & ~flag->cw_bit) : (w | flag->cw_bit);
  _morvex_setCW(&w);
}
