/* Character intrinsics of libf90intr: LEN_TRIM, SCAN, VERIFY, REPEAT, TRIM,
 * the character-argument converter, and the _F90_ wrappers (lengths last).
 * A character argument is (address, byte length); a length below 1 is an
 * empty string. BACK is the address of a 32-bit LOGICAL, or null (false).
 * Positions are 1-based, 0 for none. Character results are rank-0
 * descriptors: words 0-1 receive the datum {address, length}. */
#ifndef F90_CHARACTER_H
#define F90_CHARACTER_H

#include <stdint.h>

#include "f90/descriptor.h"

#ifdef __cplusplus
extern "C" {
#endif

/* LEN_TRIM: the length without trailing blanks. */
int32_t _LEN_TRIM_(const char *s, int32_t len);
/* LEN_TRIM, INTEGER*4 result. */
int32_t _LEN_TRIM_4_(const char *s, int32_t len);
/* LEN_TRIM, INTEGER*8 result. */
int64_t _LEN_TRIM_8_(const char *s, int32_t len);
/* _LEN_TRIM_ under the wrapper name. */
int32_t _F90_LEN_TRIM_(const char *s, int32_t len);
/* _LEN_TRIM_4_ under the wrapper name. */
int32_t _F90_LEN_TRIM_4_(const char *s, int32_t len);
/* _LEN_TRIM_8_ under the wrapper name. */
int64_t _F90_LEN_TRIM_8_(const char *s, int32_t len);

/* SCAN: first (last with BACK) position of a byte in SET. */
int32_t _SCAN(const char *s, int32_t len, const char *set, int32_t setlen, const int32_t *back);
/* SCAN, INTEGER*4 result. */
int32_t _SCAN_4(const char *s, int32_t len, const char *set, int32_t setlen,
                const int32_t *back);
/* SCAN, INTEGER*8 result. */
int64_t _SCAN_8(const char *s, int32_t len, const char *set, int32_t setlen,
                const int32_t *back);
/* _SCAN with the lengths last. */
int32_t _F90_SCAN(const char *s, const char *set, const int32_t *back, int32_t len,
                  int32_t setlen);
/* _SCAN_4 with the lengths last. */
int32_t _F90_SCAN_4(const char *s, const char *set, const int32_t *back, int32_t len,
                    int32_t setlen);
/* _SCAN_8 with the lengths last. */
int64_t _F90_SCAN_8(const char *s, const char *set, const int32_t *back, int32_t len,
                    int32_t setlen);

/* VERIFY: first (last with BACK) position of a byte not in SET. */
int32_t _VERIFY(const char *s, int32_t len, const char *set, int32_t setlen,
                const int32_t *back);
/* VERIFY, INTEGER*4 result. */
int32_t _VERIFY_4(const char *s, int32_t len, const char *set, int32_t setlen,
                  const int32_t *back);
/* VERIFY, INTEGER*8 lengths and result. */
int64_t _VERIFY_8(const char *s, int64_t len, const char *set, int64_t setlen,
                  const int32_t *back);
/* _VERIFY with the lengths last. */
int32_t _F90_VERIFY(const char *s, const char *set, const int32_t *back, int32_t len,
                    int32_t setlen);
/* _VERIFY_4 with the lengths last. */
int32_t _F90_VERIFY_4(const char *s, const char *set, const int32_t *back, int32_t len,
                      int32_t setlen);
/* _VERIFY_8 with 32-bit lengths, last. */
int64_t _F90_VERIFY_8(const char *s, const char *set, const int32_t *back, int32_t len,
                      int32_t setlen);

/* REPEAT: *ncopies copies of the string into newly allocated storage. */
void _REPEAT(ArrayDescriptor *result, const char *s, int32_t len, const int32_t *ncopies);
/* _REPEAT with the length last. */
void _F90_REPEAT(ArrayDescriptor *result, const char *s, const int32_t *ncopies, int32_t len);
/* TRIM: the string without trailing blanks, in newly allocated storage. */
void _TRIM(ArrayDescriptor *result, const char *s, int32_t len);
/* A NUL-terminated copy of the string, length len + 1. */
void __mx_CARG_S(ArrayDescriptor *result, const char *s, int32_t len);

/* STOP with a character stop code: passed to the companion runtime. */
void _F90_STOP(const char *code, int32_t len);
/* PAUSE with a character message: passed to the companion runtime. */
void _F90_PAUSE(const char *message, int32_t len);

#ifdef __cplusplus
}
#endif
#endif
