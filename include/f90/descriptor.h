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

/* One dimension: lower bound, extent, stride multiplier in storage units. */
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
_Static_assert(sizeof(ArrayDescriptor) == 27 * 4, "27 words at rank 7");
_Static_assert(offsetof(ArrayDescriptor, dim) == 24, "word 6");
_Static_assert(sizeof(CharDescriptor) == 8, "two words");
#endif
#endif

#ifdef __cplusplus
}
#endif
#endif
