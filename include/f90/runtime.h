/* The companion runtime (libf90rt): error reporter, result allocator, STOP and
 * PAUSE, and the x87 control/status word accessors. */
#ifndef F90_RUNTIME_H
#define F90_RUNTIME_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Reports message `number` at `level`. Level 0 prints and returns; level 4
 * prints and ends the program with exit status 2. */
void _lerror(int32_t level, int32_t number);

/* Returns `bytes` bytes of storage aligned to 8 (a valid block for 0 bytes),
 * or null. The caller owns the block; release it with free(). `flags` is 0. */
void *_F90ALLOC(uint32_t bytes, int32_t flags);

/* STOP and PAUSE with a character message (address, length in bytes). */
void _STOP(const char *msg, int32_t len);
void _PAUSE(const char *msg, int32_t len);

/* x87 control word, status word, and the combined floating-point state. */
int32_t _morvex_getCW(void);
void _morvex_setCW(const int32_t *cw);
int32_t _morvex_getSW(void);
void _morvex_setSW(const int32_t *sw);
int32_t _morvex_getCSW(void);
void _morvex_setCSW(const int32_t *csw);

#ifdef __cplusplus
}
#endif
#endif
