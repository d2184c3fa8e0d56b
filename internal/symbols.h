// How exported entry points get their symbols.
//
// Every exported function is extern "C", cdecl, and visible; everything else
// in the libraries is hidden (-fvisibility=hidden). Symbols that are not
// reserved C++ identifiers (`_morvex_dint`, `mvbits_`) are written as they
// are. Symbols that are (`_SIZE`, `__maxval`: underscore and capital, or a
// double underscore) are given to a readably named function with an asm
// label:
//
//   F90_API int32_t size_of(const ArrayDescriptor*, const int32_t*) F90_SYMBOL(_SIZE);
//
// Exported data objects use F90_API too. The version script of each library
// is the one list of what it exports.
#pragma once

#define F90_API extern "C" __attribute__((visibility("default")))
#define F90_SYMBOL(sym) __asm__(#sym)
#define F90_HIDDEN __attribute__((visibility("hidden")))
