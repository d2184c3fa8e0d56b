// The libf90elem entry points that libf90intr calls, in their exact i386
// forms: the public header is their one declaration. The libraries are
// linked separately; these symbols are bound when the program is loaded.
//
// Results through a hidden pointer (REAL*16, COMPLEX*32) take the result
// slot as an explicit first parameter and return it. A REAL*16 argument
// takes four stack slots (hi first), a COMPLEX*32 eight. long double results
// are left in st(0) at extended precision.
#pragma once

#include <cstdint>

#include "f90/elemental.h"
#include "symbols.h"
#include "value/types.h"
