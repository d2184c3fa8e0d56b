/* Array descriptor, type word and character descriptor shared by compiled
 * code and the intrinsic library (i386 layout; every word is 32 bits).
 *
 * A descriptor of rank r occupies 6 + 3r words. Never copy one by value and
 * never read a dimension triple beyond its rank: callers may hand in only the
 * words their rank needs. */
#ifndef F90_DESCRIPTOR_H
#define F90_DESCRIPTOR_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define F90_MAX_RANK 7

/* One dimension: lower bound, extent, and stride in storage units.
 *
 * The storage unit of an array is the byte or the 32-bit word, fixed by its
 * element type:
 *   CHARACTER (type code 6)            bytes; elem_len bytes per element
 *   derived type in bytes (7)          bytes; elem_len / 8 per element
 *   derived type in words (8)          words; elem_len / 32 per element
 *   INTEGER, LOGICAL of 8 or 16 bits   bytes; 1 or 2 per element
 *   every other INTEGER, LOGICAL, REAL, COMPLEX (32 bits and more)
 *                                      words; int_len / 32 per element
 * The element with zero-based indices k0, k1 ... lies at
 *   base + (k0 * stride0 + k1 * stride1 + ...) * (1 or 4 bytes).
 * So an INTEGER*2 array with stride 2 is contiguous, and one with stride 1
 * overlaps its elements; a REAL*8 array with stride 2 is contiguous.
 * Strides may be negative or zero. */
typedef struct F90Dim {
  int32_t lower;
  int32_t extent;
  int32_t stride;
} F90Dim;

typedef struct ArrayDescriptor {
  void *base;          /* first element; for CHARACTER words 0-1 are a CharDescriptor */
  uint32_t elem_len;   /* element length in bits (bytes for CHARACTER) */
  uint32_t flags;      /* F90_FLAG_* fields, rank in bits 29-31 */
  uint32_t type_word;  /* F90_TW_* fields */
  void *alloc_base;    /* what the allocator returned, 0 if nothing */
  uint32_t alloc_size; /* size of that storage in bits */
  F90Dim dim[F90_MAX_RANK];
} ArrayDescriptor;

/* A character datum: address and length in bytes. */
typedef struct CharDescriptor {
  char *addr;
  uint32_t len;
} CharDescriptor;

/* flags word */
#define F90_FLAG_ASSOC 0x1u          /* storage present / caller supplies the result */
#define F90_FLAG_SPARE 0x2u          /* not interpreted */
#define F90_FLAG_OBJ_KIND_SHIFT 2
#define F90_FLAG_OBJ_KIND_MASK 0xCu
#define F90_FLAG_RANK_SHIFT 29

enum F90ObjKind { OBJ_PLAIN = 0, OBJ_POINTER = 1, OBJ_ALLOCATABLE = 2 };

/* type word */
#define F90_TW_TYPE_CODE_MASK 0xFFu
#define F90_TW_TYPE_FLAG 0x100u
#define F90_TW_KIND_SEL_SHIFT 9
#define F90_TW_KIND_SEL_MASK 0xE00u
#define F90_TW_INT_LEN_SHIFT 12
#define F90_TW_INT_LEN_MASK 0xFFF000u
#define F90_TW_DECL_LEN_SHIFT 24

enum F90TypeCode {
  TYPE_INTEGER = 2,
  TYPE_REAL = 3,
  TYPE_COMPLEX = 4,
  TYPE_LOGICAL = 5,
  TYPE_CHARACTER = 6,
  TYPE_DERIVED_BYTES = 7,
  TYPE_DERIVED_WORDS = 8
};

/* Builds a type word from its fields. */
static inline uint32_t f90_type_word(uint32_t type_code, uint32_t int_len_bits,
                                     uint32_t kind_sel, uint32_t decl_len) {
  return (type_code & 0xFFu) | ((kind_sel & 7u) << F90_TW_KIND_SEL_SHIFT) |
         ((int_len_bits & 0xFFFu) << F90_TW_INT_LEN_SHIFT) |
         ((decl_len & 0xFFu) << F90_TW_DECL_LEN_SHIFT);
}

/* Builds a flags word from its fields. */
static inline uint32_t f90_flags(uint32_t rank, uint32_t assoc, uint32_t obj_kind) {
  return (rank << F90_FLAG_RANK_SHIFT) | (assoc ? F90_FLAG_ASSOC : 0u) |
         ((obj_kind & 3u) << F90_FLAG_OBJ_KIND_SHIFT);
}

/* Words of a descriptor of the given rank. */
#define F90_DESCRIPTOR_WORDS(rank) (6 + 3 * (rank))

#if defined(__i386__)
#ifdef __cplusplus
static_assert(sizeof(void *) == 4, "i386 layout");
static_assert(sizeof(ArrayDescriptor) == 27 * 4, "27 words at rank 7");
static_assert(offsetof(ArrayDescriptor, elem_len) == 4, "word 1");
static_assert(offsetof(ArrayDescriptor, flags) == 8, "word 2");
static_assert(offsetof(ArrayDescriptor, type_word) == 12, "word 3");
static_assert(offsetof(ArrayDescriptor, alloc_base) == 16, "word 4");
static_assert(offsetof(ArrayDescriptor, alloc_size) == 20, "word 5");
static_assert(offsetof(ArrayDescriptor, dim) == 24, "word 6");
static_assert(sizeof(CharDescriptor) == 8, "two words");
#else
/* C99 has no _Static_assert: an array of negative size fails instead. */
typedef char f90_check_descriptor_words[sizeof(ArrayDescriptor) == 27 * 4 ? 1 : -1];
typedef char f90_check_descriptor_dim[offsetof(ArrayDescriptor, dim) == 24 ? 1 : -1];
typedef char f90_check_char_descriptor[sizeof(CharDescriptor) == 8 ? 1 : -1];
#endif
#endif

#ifdef __cplusplus
}
#endif
#endif
