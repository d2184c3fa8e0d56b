// The clock and date entry points: CLOCK, DATE and JDATE (element/), and
// DATE_AND_TIME, SYSTEM_CLOCK, CPU_TIME and SECNDS (subrtn/).
#pragma once

#include <cstdint>

#include "array/descriptor.h"

F90_API void clock_text(char* buf, int32_t len) F90_SYMBOL(_CLOCK_);
F90_API void f90_clock_text(char* buf, int32_t len) F90_SYMBOL(_F90_CLOCK_);
F90_API void date_text(char* buf, int32_t len) F90_SYMBOL(_DATE_);
F90_API void f90_date_text(char* buf, int32_t len) F90_SYMBOL(_F90_DATE_);
F90_API void jdate_text(char* buf, int32_t len) F90_SYMBOL(_JDATE_);
F90_API void f90_jdate_text(char* buf, int32_t len) F90_SYMBOL(_F90_JDATE_);

F90_API void date_and_time(char* date, int32_t datelen, char* time, int32_t timelen, char* zone,
                           int32_t zonelen, ArrayDescriptor* values) F90_SYMBOL(_DATE_AND_TIME);
F90_API void f90_date_and_time(char* date, char* time, char* zone, ArrayDescriptor* values,
                               int32_t datelen, int32_t timelen, int32_t zonelen)
    F90_SYMBOL(_F90_DATE_AND_TIME);

F90_API void system_clock(int32_t* count, int32_t* rate, int32_t* max) F90_SYMBOL(_SYSTEM_CLOCK);
F90_API int32_t sysclock(int32_t* count) F90_SYMBOL(_sysclock);
F90_API void system_clock_8(int64_t* count, int64_t* rate, int64_t* max)
    F90_SYMBOL(_SYSTEM_CLOCK_8);
F90_API int64_t sysclock_8(int64_t* count, int64_t* scratch) F90_SYMBOL(_sysclock_8);

F90_API void cpu_time(float* seconds) F90_SYMBOL(_CPU_TIME);
F90_API void cpu_time_s(double* seconds) F90_SYMBOL(_CPU_TIME_S);

F90_API long double secnds_s4(const float* x) F90_SYMBOL(_SECNDS_S4);
F90_API long double secnds_s(const double* x) F90_SYMBOL(_SECNDS_S);
