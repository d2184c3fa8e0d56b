// The entry points the fuzz targets call, declared by their exported symbols
// exactly as compiled code sees them (cdecl, every argument by address).
#pragma once

#include <cstdint>

#include "f90/descriptor.h"

using AD = ArrayDescriptor;

#define FZ_ENTRY(sym) __asm__(#sym)

extern "C" {
// Inquiry and allocation status.
int32_t e_size(const AD*, const int32_t* dim) FZ_ENTRY(_SIZE);
int32_t e_size_4(const AD*, const int32_t* dim) FZ_ENTRY(_SIZE_4);
int64_t e_size_8(const AD*, const int32_t* dim) FZ_ENTRY(_SIZE_8);
void e_shape(AD* result, const AD* source) FZ_ENTRY(_SHAPE);
void e_lbound(AD* result, const AD* array) FZ_ENTRY(_LBOUND);
void e_ubound(AD* result, const AD* array) FZ_ENTRY(_UBOUND);
int32_t e_lbound0(const AD*, const int32_t* dim) FZ_ENTRY(_LBOUND0);
int32_t e_lbound0_4(const AD*, const int32_t* dim) FZ_ENTRY(_LBOUND0_4);
int64_t e_lbound0_8(const AD*, const int32_t* dim) FZ_ENTRY(_LBOUND0_8);
int32_t e_ubound0(const AD*, const int32_t* dim) FZ_ENTRY(_UBOUND0);
int32_t e_ubound0_4(const AD*, const int32_t* dim) FZ_ENTRY(_UBOUND0_4);
int64_t e_ubound0_8(const AD*, const int32_t* dim) FZ_ENTRY(_UBOUND0_8);
int32_t e_allocated(const AD*) FZ_ENTRY(_ALLOCATED);
int32_t e_allocated_4(const AD*) FZ_ENTRY(_ALLOCATED_4);
int64_t e_allocated_8(const AD*) FZ_ENTRY(_ALLOCATED_8);

// TRANSFER and TRANSPOSE.
void e_transfer(AD* result, const AD* source, const AD* mold, const int32_t* size)
    FZ_ENTRY(_TRANSFER);
int32_t e_transfer1_0_4(const AD* source, const AD* mold, const int32_t* size)
    FZ_ENTRY(_TRANSFER1_0_4);
int32_t e_transfer1_0(const AD* source, const AD* mold, const int32_t* size)
    FZ_ENTRY(_TRANSFER1_0);
double e_transfer2_0(const AD* source, const AD* mold, const int32_t* size) FZ_ENTRY(_TRANSFER2_0);
void* e_transfer4_0(void* slot, const AD* source, const AD* mold, const int32_t* size)
    FZ_ENTRY(_TRANSFER4_0);
void e_trans(AD* result, const AD* source) FZ_ENTRY(_TRANS);

// Shifts.
void e_cshift(AD* result, const AD* array, const AD* shift, const int32_t* dim) FZ_ENTRY(_CSHIFT);
void e_eoshift(AD* result, const AD* array, const AD* shift, const AD* boundary, const int32_t* dim)
    FZ_ENTRY(_EOSHIFT);

// Construction.
void e_pack(AD* result, const AD* array, const AD* mask, const AD* vector) FZ_ENTRY(_PACK);
void e_unpack(AD* result, const AD* vector, const AD* mask, const AD* field) FZ_ENTRY(_UNPACK);
void e_reshape(AD* result, const AD* source, const AD* shape, const AD* pad, const AD* order)
    FZ_ENTRY(_RESHAPE);
void e_spread(AD* result, const AD* source, const int32_t* dim, const int32_t* ncopies)
    FZ_ENTRY(_SPREAD);

// Value reductions: array-result forms (result, source, dim, mask) and
// scalar-result forms (source, dim, mask); the D scalar forms take a hidden
// result slot first.
#define FZ_VAL_ENTRIES(NAME, name)                                                           \
  void e_##name##_j(AD*, const AD*, const int32_t*, const AD*) FZ_ENTRY(_##NAME##_J);       \
  void e_##name##_i(AD*, const AD*, const int32_t*, const AD*) FZ_ENTRY(_##NAME##_I);       \
  void e_##name##_s(AD*, const AD*, const int32_t*, const AD*) FZ_ENTRY(_##NAME##_S);       \
  void e_##name##_d(AD*, const AD*, const int32_t*, const AD*) FZ_ENTRY(_##NAME##_D);       \
  void e_##name##_i4(AD*, const AD*, const int32_t*, const AD*) FZ_ENTRY(_##NAME##_I4);     \
  void e_##name##_i2(AD*, const AD*, const int32_t*, const AD*) FZ_ENTRY(_##NAME##_I2);     \
  void e_##name##_i1(AD*, const AD*, const int32_t*, const AD*) FZ_ENTRY(_##NAME##_I1);     \
  void e_##name##_s4(AD*, const AD*, const int32_t*, const AD*) FZ_ENTRY(_##NAME##_S4);     \
  int64_t e_##name##0_j(const AD*, const int32_t*, const AD*) FZ_ENTRY(_##NAME##0_J);       \
  int64_t e_##name##0_i(const AD*, const int32_t*, const AD*) FZ_ENTRY(_##NAME##0_I);       \
  double e_##name##0_s(const AD*, const int32_t*, const AD*) FZ_ENTRY(_##NAME##0_S);        \
  void* e_##name##0_d(void*, const AD*, const int32_t*, const AD*) FZ_ENTRY(_##NAME##0_D);  \
  int32_t e_##name##0_i4(const AD*, const int32_t*, const AD*) FZ_ENTRY(_##NAME##0_I4);     \
  int32_t e_##name##0_i2(const AD*, const int32_t*, const AD*) FZ_ENTRY(_##NAME##0_I2);     \
  int32_t e_##name##0_i1(const AD*, const int32_t*, const AD*) FZ_ENTRY(_##NAME##0_I1);     \
  float e_##name##0_s4(const AD*, const int32_t*, const AD*) FZ_ENTRY(_##NAME##0_S4);
FZ_VAL_ENTRIES(MAXVAL, maxval)
FZ_VAL_ENTRIES(MINVAL, minval)
#undef FZ_VAL_ENTRIES

// Logical reductions.
#define FZ_LOG_ENTRIES(NAME, name)                                                 \
  void e_##name(AD*, const AD*, const int32_t*) FZ_ENTRY(_##NAME);                \
  void e_##name##_4(AD*, const AD*, const int32_t*) FZ_ENTRY(_##NAME##_4);        \
  void e_##name##_8(AD*, const AD*, const int32_t*) FZ_ENTRY(_##NAME##_8);        \
  int32_t e_##name##0(const AD*, const int32_t*) FZ_ENTRY(_##NAME##0);            \
  int32_t e_##name##0_4(const AD*, const int32_t*) FZ_ENTRY(_##NAME##0_4);        \
  int64_t e_##name##0_8(const AD*, const int32_t*) FZ_ENTRY(_##NAME##0_8);
FZ_LOG_ENTRIES(ALL, all)
FZ_LOG_ENTRIES(ANY, any)
FZ_LOG_ENTRIES(COUNT, count)
#undef FZ_LOG_ENTRIES
}
