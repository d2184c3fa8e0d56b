// Shared pieces of the IEEE module procedures (IEEE_EXCEPTIONS,
// IEEE_ARITHMETIC, IEEE_FEATURES).
//
// The five IEEE exceptions are the x87 unit's invalid-operation, zero-divide,
// overflow, underflow and precision exceptions. A flag is the exception's bit
// in the status word; halting means the exception is unmasked in the control
// word. The library reaches both words only through the companion runtime's
// accessors (_morvex_getCW ... _morvex_setCSW), and every change is one read,
// one change in a local copy and one write.
#pragma once

#include <cstdint>

#include "f90/runtime.h"
#include "symbols.h"

namespace f90::ieee {

// IEEE_FLAG_TYPE: the exception's mask bit in the control word, then its flag
// bit in the status word (equal in every value the module defines).
struct FlagType {
  int32_t cw_bit;
  int32_t sw_bit;
};

inline constexpr int32_t kInvalid = 0x01;
inline constexpr int32_t kDivideByZero = 0x04;
inline constexpr int32_t kOverflow = 0x08;
inline constexpr int32_t kUnderflow = 0x10;
inline constexpr int32_t kInexact = 0x20;

// The array forms keep one slot per exception in the order of IEEE_ALL:
// divide by zero, overflow, invalid, underflow, inexact.
inline constexpr int kExceptions = 5;
// Position of IEEE_ALL's first element in the module data.
inline constexpr int kAllFirst = 8;

// Message numbers passed to _morvex_error.
inline constexpr int32_t kConflict = 5000;       // sizes differ, or a conflicting repetition
inline constexpr int32_t kUnderflowMode = 5001;  // gradual underflow control unsupported

// Logical results and arguments: default LOGICAL, any nonzero word is true.
inline int32_t logical(bool b) { return b ? 1 : 0; }

}  // namespace f90::ieee

// Module data of IEEE_EXCEPTIONS: IEEE_INVALID, IEEE_DIVIDE_BY_ZERO,
// IEEE_OVERFLOW, IEEE_UNDERFLOW, IEEE_INEXACT, then IEEE_USUAL (3) and
// IEEE_ALL (5).
F90_API const f90::ieee::FlagType ieee_exceptions_data[13] F90_SYMBOL(_D_in_IEEE_EXCEPTIONS);

// The x87 glue the IEEE procedures share.
F90_API void _morvex_signal(const int32_t* bits);
F90_API void _morvex_error(const int32_t* number);
F90_API int32_t _morvex_get_underflow(const int32_t* number);
F90_API void _morvex_set_underflow(const int32_t* mode, const int32_t* number);
F90_API int32_t _morvex_support_underflow(void);
