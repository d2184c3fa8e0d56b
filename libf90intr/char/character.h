// The character intrinsics of libf90intr: LEN_TRIM, SCAN, VERIFY, REPEAT,
// TRIM, the character-argument converter, and the _F90_ wrappers that take
// the lengths last (and hand STOP and PAUSE to the companion runtime).
#pragma once

#include <cstdint>

#include "array/descriptor.h"

F90_API int32_t len_trim(const char* s, int32_t len) F90_SYMBOL(_LEN_TRIM_);
F90_API int32_t len_trim_4(const char* s, int32_t len) F90_SYMBOL(_LEN_TRIM_4_);
F90_API int64_t len_trim_8(const char* s, int32_t len) F90_SYMBOL(_LEN_TRIM_8_);
F90_API int32_t f90_len_trim(const char* s, int32_t len) F90_SYMBOL(_F90_LEN_TRIM_);
F90_API int32_t f90_len_trim_4(const char* s, int32_t len) F90_SYMBOL(_F90_LEN_TRIM_4_);
F90_API int64_t f90_len_trim_8(const char* s, int32_t len) F90_SYMBOL(_F90_LEN_TRIM_8_);

F90_API int32_t scan(const char* s, int32_t len, const char* set, int32_t setlen,
                     const int32_t* back) F90_SYMBOL(_SCAN);
F90_API int32_t scan_4(const char* s, int32_t len, const char* set, int32_t setlen,
                       const int32_t* back) F90_SYMBOL(_SCAN_4);
F90_API int64_t scan_8(const char* s, int32_t len, const char* set, int32_t setlen,
                       const int32_t* back) F90_SYMBOL(_SCAN_8);
F90_API int32_t f90_scan(const char* s, const char* set, const int32_t* back, int32_t len,
                         int32_t setlen) F90_SYMBOL(_F90_SCAN);
F90_API int32_t f90_scan_4(const char* s, const char* set, const int32_t* back, int32_t len,
                           int32_t setlen) F90_SYMBOL(_F90_SCAN_4);
F90_API int64_t f90_scan_8(const char* s, const char* set, const int32_t* back, int32_t len,
                           int32_t setlen) F90_SYMBOL(_F90_SCAN_8);

F90_API int32_t verify(const char* s, int32_t len, const char* set, int32_t setlen,
                       const int32_t* back) F90_SYMBOL(_VERIFY);
F90_API int32_t verify_4(const char* s, int32_t len, const char* set, int32_t setlen,
                         const int32_t* back) F90_SYMBOL(_VERIFY_4);
F90_API int64_t verify_8(const char* s, int64_t len, const char* set, int64_t setlen,
                         const int32_t* back) F90_SYMBOL(_VERIFY_8);
F90_API int32_t f90_verify(const char* s, const char* set, const int32_t* back, int32_t len,
                           int32_t setlen) F90_SYMBOL(_F90_VERIFY);
F90_API int32_t f90_verify_4(const char* s, const char* set, const int32_t* back, int32_t len,
                             int32_t setlen) F90_SYMBOL(_F90_VERIFY_4);
F90_API int64_t f90_verify_8(const char* s, const char* set, const int32_t* back, int32_t len,
                             int32_t setlen) F90_SYMBOL(_F90_VERIFY_8);

F90_API void repeat(ArrayDescriptor* result, const char* s, int32_t len, const int32_t* ncopies)
    F90_SYMBOL(_REPEAT);
F90_API void f90_repeat(ArrayDescriptor* result, const char* s, const int32_t* ncopies,
                        int32_t len) F90_SYMBOL(_F90_REPEAT);
F90_API void trim(ArrayDescriptor* result, const char* s, int32_t len) F90_SYMBOL(_TRIM);
F90_API void character_argument(ArrayDescriptor* result, const char* s, int32_t len)
    F90_SYMBOL(__mx_CARG_S);

F90_API void f90_stop(const char* code, int32_t len) F90_SYMBOL(_F90_STOP);
F90_API void f90_pause(const char* message, int32_t len) F90_SYMBOL(_F90_PAUSE);
