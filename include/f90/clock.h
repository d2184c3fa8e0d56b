/* Clock and date routines of libf90intr: CLOCK, DATE, JDATE, DATE_AND_TIME,
 * SYSTEM_CLOCK, CPU_TIME and SECNDS. Character outputs are (address, byte
 * length): filled out with blanks, never NUL-terminated, never written past
 * the length; a null address or a length of 0 or less gets nothing. */
#ifndef F90_CLOCK_H
#define F90_CLOCK_H

#include <stdint.h>

#include "f90/descriptor.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Local time of day as HH:MM:SS. */
void _CLOCK_(char *buf, int32_t len);
/* _CLOCK_ under the wrapper name. */
void _F90_CLOCK_(char *buf, int32_t len);
/* Local date as MM/DD/YY. */
void _DATE_(char *buf, int32_t len);
/* _DATE_ under the wrapper name. */
void _F90_DATE_(char *buf, int32_t len);
/* Two-digit year and day of the year as YYDDD and three blanks. */
void _JDATE_(char *buf, int32_t len);
/* _JDATE_ under the wrapper name. */
void _F90_JDATE_(char *buf, int32_t len);

/* DATE_AND_TIME: CCYYMMDD, hhmmss.sss, +hhmm and eight INTEGER*4 or INTEGER*8
 * VALUES along dimension 1; every argument may be null (absent). */
void _DATE_AND_TIME(char *date, int32_t datelen, char *time, int32_t timelen, char *zone,
                    int32_t zonelen, ArrayDescriptor *values);
/* DATE_AND_TIME with the lengths last. */
void _F90_DATE_AND_TIME(char *date, char *time, char *zone, ArrayDescriptor *values,
                        int32_t datelen, int32_t timelen, int32_t zonelen);

/* SYSTEM_CLOCK, INTEGER*4: microseconds since the first call, rate 1000000,
 * max 2147483647; null arguments are skipped. */
void _SYSTEM_CLOCK(int32_t *count, int32_t *rate, int32_t *max);
/* The INTEGER*4 count, stored through count (when not null) and returned. */
int32_t _sysclock(int32_t *count);
/* SYSTEM_CLOCK, INTEGER*8: microseconds of the time of day modulo 2^31. */
void _SYSTEM_CLOCK_8(int64_t *count, int64_t *rate, int64_t *max);
/* The INTEGER*8 count, stored and returned; scratch gets the time >> 31. */
int64_t _sysclock_8(int64_t *count, int64_t *scratch);

/* CPU_TIME: user time of the process in seconds, REAL*4. */
void _CPU_TIME(float *seconds);
/* CPU_TIME, REAL*8. */
void _CPU_TIME_S(double *seconds);

/* SECNDS: seconds since local midnight less *x, at extended precision. */
long double _SECNDS_S4(const float *x);
/* SECNDS of a REAL*8 x, at extended precision. */
long double _SECNDS_S(const double *x);

#ifdef __cplusplus
}
#endif
#endif
